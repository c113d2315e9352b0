// The entity lists: stable records, copies, giving memory back, and the compact storage giving
// back every field exactly as it went in.
#include <gtest/gtest.h>

#include <cmath>
#include <cstdint>
#include <cstring>
#include <limits>
#include <string>
#include <tuple>
#include <vector>

#include "exchange/JwwGaibu.h"

namespace dovarin {
namespace {

// Enough records for many pages and chunks of the encoded list.
constexpr int kMany = 150000;

TEST(BlockList, RecordsStayWhereTheyWereAdded) {
    EntityList<TJwwEntLine> lines;
    const TJwwEntLine* first = &lines.emplace_back();
    std::vector<const TJwwEntLine*> borders;
    for (int i = 1; i < kMany; ++i) {
        TJwwEntLine& line = lines.emplace_back();
        line.X1 = i;
        line.Extra = i % 7;
        if ((i & (i - 1)) == 0) borders.push_back(&line);  // powers of two: block starts
    }
    ASSERT_EQ(lines.size(), static_cast<size_t>(kMany));
    EXPECT_EQ(&lines[0], first);
    for (const TJwwEntLine* line : borders)
        EXPECT_EQ(&lines[static_cast<size_t>(line->X1)], line) << line->X1;
    for (int i = 1; i < kMany; ++i) ASSERT_EQ(lines[i].X1, i) << i;
    int counted = 0;
    for (const TJwwEntLine& line : lines) counted += line.X1 == counted;
    EXPECT_EQ(counted, kMany);
    EXPECT_EQ(lines.back().X1, kMany - 1);
}

TEST(BlockList, CopyMoveAndClear) {
    EntityList<TJwwEntText> texts;
    for (int i = 0; i < 5000; ++i) texts.emplace_back().Text = std::string(40, 'a' + i % 26);
    EntityList<TJwwEntText> copy = texts;
    texts[10].Text = "changed";
    EXPECT_EQ(copy[10].Text, std::string(40, 'a' + 10));
    EntityList<TJwwEntText> moved = std::move(copy);
    EXPECT_EQ(moved.size(), 5000u);
    EXPECT_TRUE(copy.empty());
    moved.clear();
    EXPECT_TRUE(moved.empty());
    moved.emplace_back().Text = "again";
    EXPECT_EQ(moved[0].Text, "again");
}

// Many rounds of filling and freeing HostState, as a test run does: each starts from nothing.
TEST(BlockList, HostStateRoundsStartClean) {
    for (int round = 0; round < 30; ++round) {
        InitHostState();
        for (int i = 0; i < 20000; ++i) ParseExchangeText("1 2 3 4");
        ParseExchangeText("ch 1 2 1 0 \"x");
        ASSERT_EQ(HostState.SelectedLineCount(), 20000u);
        ASSERT_EQ(HostState.EntityOrder.size(), 20001u);
        FreeHostState();
    }
    InitHostState();
}

// ---- exactness of the compact storage --------------------------------------------------------

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
                         127,
                         128,
                         -1,
                         12.5,
                         0.1,
                         0.1 + 0.2,
                         1e-5,
                         -90984.2577738658,
                         9007199254740992.0,
                         9007199254740994.0,
                         -9007199254740991.0,
                         std::numeric_limits<double>::max(),
                         std::numeric_limits<double>::denorm_min(),
                         std::numeric_limits<double>::infinity(),
                         -std::numeric_limits<double>::infinity(),
                         FromBits(0x7FF8000000000123),
                         FromBits(0xFFF0000000000001),
                         1e300};
const std::string kTexts[] = {"", "a", std::string(255, 'x'), std::string("a\0b", 3),
                              "<\x82\x6c\x82\x72 \x83\x53\x83\x56\x83\x62\x83\x4e>"};

// Field k of record i: runs of different lengths, so that fields now repeat, now change.
template <class Table>
auto Pick(const Table& table, int i, int k) {
    const int run = 1 + k % 5;
    return table[static_cast<std::size_t>(i / run + k) % std::size(table)];
}

TJwwEntLine MakeLine(int i, int k) {
    TJwwEntLine l;
    int* ints[] = {&l.HpLink,   &l.LayerGroup, &l.Layer, &l.Color,
                   &l.LineType, &l.LineWidth,  &l.Flags, &l.Extra};
    for (int* field : ints) *field = Pick(kInts, i, k++);
    for (double* field : {&l.X1, &l.Y1, &l.X2, &l.Y2}) *field = Pick(kReals, i, k++);
    return l;
}

TJwwEntText MakeText(int i, int k) {
    TJwwEntText t;
    static_cast<EntityHeader&>(t) = MakeLine(i, k);
    t.CcValue = Pick(kInts, i, k + 1);
    t.TextType = Pick(kInts, i, k + 2);
    for (double* field : {&t.Width, &t.Height, &t.Spacing, &t.X, &t.Y, &t.DX, &t.DY})
        *field = Pick(kReals, i, k++);
    t.FontName = Pick(kTexts, i, k + 3);
    t.Text = Pick(kTexts, i, k + 4);
    return t;
}

// Records pushed and read back, by index and in order, over several pages.
template <class Record, class Make>
void ExpectExactRoundTrip(Make make, const field_codec::RealHints& hints) {
    EntityList<Record> list;
    std::vector<Record> expected;
    for (int i = 0; i < 300; ++i) {
        expected.push_back(make(i));
        list.push_back(expected.back(), hints);
    }
    const EntityList<Record>& stored = list;
    ASSERT_EQ(stored.size(), expected.size());
    for (std::size_t i = 0; i < expected.size(); ++i)
        ASSERT_EQ(Fields(stored[i]), Fields(expected[i])) << " record " << i;
    std::size_t i = 0;
    for (const Record& record : stored) ASSERT_EQ(Fields(record), Fields(expected[i++])) << i;
    EXPECT_EQ(i, expected.size());
}

TEST(EntityStorage, EveryFieldComesBackExactly) {
    // With and without the short decimals a reader would hand over: a hint may only shorten.
    field_codec::RealHints none, decimals;
    for (const char* text :
         {"12.5", "-90984.2577738658", "0", "-0", ".000000000000001", "127", "-1", "00128.000"}) {
        ShortDecimal number;
        ASSERT_TRUE(ParseShortDecimal(text, number)) << text;
        decimals.Add(ShortDecimalValue(number), number);
    }
    for (const field_codec::RealHints* hints : {&none, &decimals}) {
        ExpectExactRoundTrip<TJwwEntLine>([](int i) { return MakeLine(i, 0); }, *hints);
        ExpectExactRoundTrip<TJwwEntText>([](int i) { return MakeText(i, 0); }, *hints);
        ExpectExactRoundTrip<TJwwEntDim>(
            [](int i) {
                TJwwEntDim d;
                static_cast<EntityHeader&>(d) = MakeLine(i, 3);
                d.Line = MakeLine(i, 1);
                d.Text = MakeText(i, 2);
                return d;
            },
            *hints);
    }
}

// Ten thousand one-letter texts after a long font name keep the name, but do not store it each.
TEST(EntityStorage, RepeatedFontNameIsStoredOnce) {
    const std::string font = "<" + std::string(250, 'F') + ">";
    InitHostState();
    ParseExchangeText("cn\"$" + font);
    for (int i = 0; i < 10000; ++i) ParseExchangeText("ch 1 2 1 0 \"a");
    const THostState& s = HostState;
    ASSERT_EQ(s.Texts.size(), 10000u);
    for (const TJwwEntText& text : s.Texts) ASSERT_EQ(text.FontName, font);
    EXPECT_EQ(s.Texts[9999].FontName, font);
    EXPECT_LT(s.Texts.StoredBytes(), 10000u * 16);
    InitHostState();
}

// Pairs the reader never makes (an index past 2^31, kinds outside 1 .. 15) come back as well.
TEST(EntityStorage, EntityOrderKeepsAnyPair) {
    const EntityOrderEntry pairs[] = {
        {kEntLine, 0},
        {kEntLine, 1},
        {kEntText, 0},
        {kEntLine, 2},
        {kEntLine, 1LL << 40},
        {kEntLine, 3},
        {0, 0},
        {99, -5},
        {-1, 3},
        {std::numeric_limits<int>::max(), std::numeric_limits<std::int64_t>::min()},
        {kEntSg, 1},
        {kEntSg, 0},
    };
    EntityOrderList order;
    std::vector<EntityOrderEntry> expected;
    for (int i = 0; i < 3000; ++i) {
        const EntityOrderEntry& pair = pairs[(i * 7 + i / 13) % std::size(pairs)];
        expected.push_back(pair);
        order.push_back(pair);
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
