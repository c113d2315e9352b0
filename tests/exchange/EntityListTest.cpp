// The entity lists: records read back by index and in order over many pages and chunks, copies
// and giving memory back, and every field coming back exactly as the reader would have made it.
#include <gtest/gtest.h>

#include <cmath>
#include <cstdint>
#include <cstring>
#include <limits>
#include <string>
#include <tuple>
#include <vector>

#include "HostStateScope.h"
#include "exchange/JwwGaibu.h"

namespace dovarin {
namespace {

// Enough records for many pages and chunks of a list.
constexpr int kMany = 150000;

TEST(EntityList, RecordsComeBackByIndexAndInOrder) {
    EntityList<TJwwEntLine> lines;
    for (int i = 0; i < kMany; ++i) {
        TJwwEntLine line;
        line.Extra = i % 7;
        lines.Append(line, {std::to_string(i), "0", "1", "1"});
    }
    ASSERT_EQ(lines.size(), static_cast<size_t>(kMany));
    for (int i = 0; i < kMany; ++i) {
        const TJwwEntLine line = lines[i];
        ASSERT_EQ(line.X1, i) << i;
        ASSERT_EQ(line.Extra, i % 7) << i;
    }
    int counted = 0;
    for (const TJwwEntLine& line : lines)
        counted += line.X1 == counted && line.Extra == counted % 7;
    EXPECT_EQ(counted, kMany);
    EXPECT_EQ(lines[kMany - 1].X1, kMany - 1);
}

// A copy is a list of its own, fonts stored once and referred to afterwards included.
TEST(EntityList, CopyMoveAndClear) {
    const std::string fonts[] = {"<" + std::string(100, 'F') + ">",
                                 "<" + std::string(90, 'G') + ">"};
    EntityList<TJwwEntText> texts;
    for (int i = 0; i < 5000; ++i) {
        TJwwEntText text;
        text.FontName = fonts[i / 100 % 2];
        texts.Append(text, {"1", "2", "1", "0", std::string(40, 'a' + i % 26)});
    }
    EntityList<TJwwEntText> copy = texts;
    texts.Append(TJwwEntText{}, {"1", "2", "1", "0", "added"});
    EXPECT_EQ(texts[5000].Text, "added");
    ASSERT_EQ(copy.size(), 5000u);
    for (const int i : {0, 10, 99, 100, 3333, 4999}) {
        EXPECT_EQ(copy[i].Text, std::string(40, 'a' + i % 26)) << i;
        EXPECT_EQ(copy[i].FontName, fonts[i / 100 % 2]) << i;
    }
    EntityList<TJwwEntText> moved = std::move(copy);
    EXPECT_EQ(moved.size(), 5000u);
    EXPECT_TRUE(copy.empty());
    moved.clear();
    EXPECT_TRUE(moved.empty());
    moved.Append(TJwwEntText{}, {"1", "2", "1", "0", "again"});
    EXPECT_EQ(moved[0].Text, "again");
}

// Many rounds of filling and freeing HostState, as a test run does: each starts from nothing.
TEST(EntityList, HostStateRoundsStartClean) {
    const test_state::ScopedHostState restore;
    for (int round = 0; round < 30; ++round) {
        InitHostState();
        for (int i = 0; i < 20000; ++i) ParseExchangeText("1 2 3 4");
        ParseExchangeText("ch 1 2 1 0 \"x");
        ASSERT_EQ(HostState.SelectedLines.size(), 20000u);
        ASSERT_EQ(HostState.EntityOrder.size(), 20001u);
        FreeHostState();
    }
}

// ---- exactness -------------------------------------------------------------------------------

std::uint64_t Bits(double value) {
    std::uint64_t bits;
    std::memcpy(&bits, &value, sizeof bits);
    return bits;
}

double FromBits(std::uint64_t bits) {
    double value;
    std::memcpy(&value, &bits, sizeof value);
    return value;
}

// Every field, reals as their bits: -0.0 and a NaN's payload must come back as they went in.
auto Fields(const TJwwEntLine& l) {
    return std::make_tuple(l.HpLink, l.LayerGroup, l.Layer, l.Color, l.LineType, l.LineWidth,
                           l.Flags, l.Extra, Bits(l.X1), Bits(l.Y1), Bits(l.X2), Bits(l.Y2));
}
auto Fields(const TJwwEntText& t) {
    return std::make_tuple(t.HpLink, t.LayerGroup, t.Layer, t.Color, t.LineType, t.LineWidth,
                           t.Flags, t.Extra, t.CcValue, t.TextType, Bits(t.Width), Bits(t.Height),
                           Bits(t.Spacing), Bits(t.X), Bits(t.Y), Bits(t.DX), Bits(t.DY),
                           t.FontName, t.Text);
}
auto Fields(const TJwwEntDim& d) {
    return std::tuple_cat(std::make_tuple(d.HpLink, d.Flags, d.Extra), Fields(d.Line),
                          Fields(d.Text));
}

// Shared fields take any value.
constexpr int kInts[] = {0,
                         1,
                         -1,
                         63,
                         -64,
                         64,
                         -65,
                         123456789,
                         std::numeric_limits<int>::max(),
                         std::numeric_limits<int>::min()};
const double kReals[] = {0.0,
                         -0.0,
                         1,
                         126,
                         -1,
                         12.5,
                         0.1,
                         0.1 + 0.2,
                         1e-5,
                         -90984.2577738658,
                         9007199254740993.0,
                         std::numeric_limits<double>::max(),
                         std::numeric_limits<double>::denorm_min(),
                         std::numeric_limits<double>::infinity(),
                         -std::numeric_limits<double>::infinity(),
                         FromBits(0x7FF8000000000123),
                         FromBits(0xFFF0000000000001),
                         1e300};
// A font is kept as a text record keeps it: the last one is cut before its split character.
const std::string kFonts[] = {"", "a", std::string("a\0b", 3),
                              "<\x82\x6c\x82\x72 \x83\x53\x83\x56\x83\x62\x83\x4e>",
                              std::string(254, 'x') + "\x82\x6c" + std::string(44, 'y')};
// Own fields are the tokens they were read from, in any form; numbers the reader takes as 0 too.
const std::string kTokens[] = {"0",    "-0", "12.5",      "-90984.2577738658",
                               "1e5",  ".5", "00128.000", "+3",
                               "0x10", "",   "abc",       "12345678901234567890123",
                               "1E-5", "-",  "5.",        "\x83\x65\x83\x4c\x83\x58\x83\x67 A"};

// Entry k of a table for record i: runs of different lengths, so that fields now repeat, now
// change.
template <class Table>
auto Pick(const Table& table, int i, int k) {
    const int run = 1 + k % 5;
    return table[static_cast<std::size_t>(i / run + k) % std::size(table)];
}

void SetHeader(EntityHeader& h, int i, int k) {
    for (int* field : {&h.HpLink, &h.LayerGroup, &h.Layer, &h.Color, &h.LineType, &h.LineWidth,
                       &h.Flags, &h.Extra})
        *field = Pick(kInts, i, k++);
}

// A record to store, its tokens, and the record the list must give back.
template <class Record>
struct Case {
    Record stored, expected;
    std::vector<std::string> tokens;
};

// The own fields: token k of the record, as the reader makes a real, an integer or a text.
void Own(std::vector<std::string>& tokens, int i, int k, double& expected) {
    tokens.push_back(Pick(kTokens, i, k));
    expected = StrToFloatOrZero(tokens.back());
}
void Own(std::vector<std::string>& tokens, int i, int k, std::string& expected) {
    tokens.push_back(Pick(kTokens, i, k));
    expected = tokens.back();
}

Case<TJwwEntLine> MakeLine(int i, int k) {
    Case<TJwwEntLine> c;
    SetHeader(c.stored, i, k);
    c.expected = c.stored;
    for (double* field : {&c.expected.X1, &c.expected.Y1, &c.expected.X2, &c.expected.Y2})
        Own(c.tokens, i, k++, *field);
    return c;
}

Case<TJwwEntText> MakeText(int i, int k) {
    Case<TJwwEntText> c;
    TJwwEntText& t = c.stored;
    SetHeader(t, i, k);
    t.CcValue = Pick(kInts, i, k + 1);
    t.TextType = Pick(kInts, i, k + 2);
    for (double* field : {&t.Width, &t.Height, &t.Spacing}) *field = Pick(kReals, i, k++);
    t.FontName = Pick(kFonts, i, k + 3);
    c.expected = t;
    c.expected.FontName = TextFieldBytes(t.FontName);
    for (double* field : {&c.expected.X, &c.expected.Y, &c.expected.DX, &c.expected.DY})
        Own(c.tokens, i, k++, *field);
    Own(c.tokens, i, k, c.expected.Text);
    return c;
}

Case<TJwwEntDim> MakeDim(int i) {
    Case<TJwwEntDim> c;
    SetHeader(c.stored, i, 3);
    SetHeader(c.stored.Line, i, 1);
    int k = 5;
    for (double* field :
         {&c.stored.Line.X1, &c.stored.Line.Y1, &c.stored.Line.X2, &c.stored.Line.Y2})
        *field = Pick(kReals, i, k++);
    const Case<TJwwEntText> text = MakeText(i, 2);
    c.stored.Text = text.stored;
    c.expected = c.stored;
    c.expected.Text = text.expected;
    c.tokens = text.tokens;
    return c;
}

// Records stored and read back, by index and in order, over several pages.
template <class Record, class Make>
void ExpectExactRoundTrip(Make make) {
    EntityList<Record> list;
    std::vector<Record> expected;
    for (int i = 0; i < 300; ++i) {
        const Case<Record> c = make(i);
        const std::vector<std::string_view> tokens(c.tokens.begin(), c.tokens.end());
        list.Append(c.stored, tokens.data(), tokens.size());
        expected.push_back(c.expected);
    }
    ASSERT_EQ(list.size(), expected.size());
    for (std::size_t i = 0; i < expected.size(); ++i)
        ASSERT_EQ(Fields(list[i]), Fields(expected[i])) << " record " << i;
    std::size_t i = 0;
    for (const Record& record : list) ASSERT_EQ(Fields(record), Fields(expected[i++])) << i;
    EXPECT_EQ(i, expected.size());
}

TEST(EntityList, EveryFieldComesBackExactly) {
    ExpectExactRoundTrip<TJwwEntLine>([](int i) { return MakeLine(i, 0); });
    ExpectExactRoundTrip<TJwwEntText>([](int i) { return MakeText(i, 0); });
    ExpectExactRoundTrip<TJwwEntDim>(MakeDim);
}

// Ten thousand one-letter texts after a long font name keep the name, but do not store it each.
TEST(EntityList, RepeatedFontNameIsStoredOnce) {
    const std::string font = "<" + std::string(298, 'F') + ">";
    const test_state::ScopedHostState fresh;
    ParseExchangeText("cn\"$" + font);
    for (int i = 0; i < 10000; ++i) ParseExchangeText("ch 1 2 1 0 \"a");
    const THostState& s = HostState;
    ASSERT_EQ(s.Texts.size(), 10000u);
    for (const TJwwEntText& text : s.Texts) ASSERT_EQ(text.FontName, font.substr(0, 255));
    EXPECT_EQ(s.Texts[9999].FontName, font.substr(0, 255));
    EXPECT_EQ(s.Cur.CurFontName, font);
    EXPECT_LT(s.Texts.StoredBytes(), 10000u * 16);
}

// Each entry's index is its place in the list of its kind, by index and in order, over pages.
TEST(EntityList, EntityOrderIndexesEachKindsList) {
    EntityOrderList order;
    std::vector<EntityOrderEntry> expected;
    std::vector<std::int64_t> counts(kEntSg + 1);
    for (int i = 0; i < 3000; ++i) {
        const int kind = kEntLine + (i * 7 + i / 13) % kEntSg;
        expected.push_back({kind, counts[kind]++});
        order.push_back(expected.back());
    }
    ASSERT_EQ(order.size(), expected.size());
    std::size_t i = 0;
    for (const EntityOrderEntry& entry : order) {
        ASSERT_EQ(entry.Kind, expected[i].Kind) << i;
        ASSERT_EQ(entry.Index, expected[i].Index) << i;
        ++i;
    }
    for (std::size_t k :
         {std::size_t{0}, std::size_t{1023}, std::size_t{1024}, std::size_t{2999}}) {
        EXPECT_EQ(order[k].Kind, expected[k].Kind) << k;
        EXPECT_EQ(order[k].Index, expected[k].Index) << k;
    }
}

}  // namespace
}  // namespace dovarin
