// Applying exchange lines to HostState: the dispatch rows and their token counts, the running
// attributes, chains, dimensions, reference points and the reduction of "sl".
#include <gtest/gtest.h>

#include <cstdint>
#include <functional>
#include <limits>
#include <string>
#include <vector>

#include "HostStateScope.h"
#include "exchange/JwwGaibu.h"

namespace dovarin {
namespace {

const THostState& Read(const std::vector<std::string>& lines) {
    InitHostState();
    for (const std::string& line : lines) ParseExchangeText(line);
    return HostState;
}

// A line segment's ends.
std::vector<double> Ends(const TJwwEntLine& line) {
    return {line.X1, line.Y1, line.X2, line.Y2};
}

TEST(HostState, DefaultsAfterInit) {
    // Leftovers of an earlier case must not survive.
    for (const char* line : {"lg3", "ly4", "lc10 5", "lt2", "lw3", "cn0 5 5 5 5", "cc2", "pn4",
                             "pl", "1 2 3 4", "msg", "z3", "hhp3", "hp1 1 1"})
        ParseExchangeText(line);
    PutLine("x");
    const THostState& s = Read({});
    EXPECT_EQ(s.SelectedLines.size(), 0u);
    EXPECT_TRUE(s.EntityOrder.empty());
    EXPECT_TRUE(OutputBuffer.empty());
    ASSERT_EQ(s.HpPoints.size(), 100u);
    for (const HpPoint& p : s.HpPoints) EXPECT_FALSE(p.Set);
    for (double scale : s.LayerGroupScale) EXPECT_EQ(scale, 1.0);
    for (int n = 1; n <= 10; ++n) {
        EXPECT_EQ(s.TextTypes[n].Width, 3.0);
        EXPECT_EQ(s.TextTypes[n].Height, 3.0);
        EXPECT_EQ(s.TextTypes[n].Spacing, 0.0);
        EXPECT_EQ(s.TextTypes[n].Color, 2);
    }
    EXPECT_EQ(s.Cur.CurFontName, kDefaultFontName);
    EXPECT_EQ(s.HostFontName, "");
    EXPECT_EQ(s.Cur.CurLayerGroup, 0);
    EXPECT_EQ(s.LayerGroupValue.size(), 16u);
    EXPECT_EQ(s.LayerName.size(), 256u);
    EXPECT_EQ(Ends(s.PendingDimLine), (std::vector<double>{0, 0, 1, 0}));
    EXPECT_EQ(s.PendingDimLine.Color, 1);
    EXPECT_EQ(s.PendingDimLine.LineType, 1);
    EXPECT_EQ(s.SheetWidth, 1189);
    EXPECT_EQ(s.SheetHeight, 841);
    EXPECT_EQ(s.HpPointCount, 0);
    EXPECT_EQ(s.Cur.ChainCount, 0);
    // The host's attributes and the running ones start alike.
    const std::vector<double> host = {double(s.HostLayerGroup), double(s.HostLayer),
                                      double(s.HostLineColor),  double(s.HostLineType),
                                      double(s.HostLineWidth),  double(s.HostTextType),
                                      s.HostFreeTextWidth,      s.HostFreeTextHeight,
                                      s.HostFreeTextSpacing,    double(s.HostFreeTextColor)};
    const CurrentAttributes& c = s.Cur;
    const std::vector<double> current = {double(c.CurLayerGroup), double(c.CurLayer),
                                         double(c.CurLineColor),  double(c.CurLineType),
                                         double(c.CurLineWidth),  double(c.CurTextType),
                                         c.CurFreeTextWidth,      c.CurFreeTextHeight,
                                         c.CurFreeTextSpacing,    double(c.CurFreeTextColor)};
    const std::vector<double> defaults = {0, 0, 1, 1, 0, 1, 2.0, 2.0, 0.0, 1};
    EXPECT_EQ(host, defaults);
    EXPECT_EQ(current, defaults);
    EXPECT_EQ((std::vector<int>{c.CurHpLink, c.CurCcValue, c.CurAttributeFlags, c.CurPointColor,
                                c.CurColorValue, c.InChain, c.AfterMsg}),
              (std::vector<int>{0, 0, 0, 1, 0, 0, 0}));
    const FirstPendingFlags& f = s.FirstPending;
    EXPECT_TRUE(f.LayerGroup && f.Layer && f.LineColor && f.LineType && f.LineWidth && f.TextType);
}

TEST(HostState, FreeGivesTheListsBack) {
    Read({"1 2 3 4", "ci 1 2 3", "ch 1 2 1 0 \"x", "msg", "0 0 1 0", "cs 1 2 1 0 \"y"});
    PutLine("x");
    FreeHostState();
    const THostState& s = HostState;
    EXPECT_TRUE(s.HpPoints.empty() && s.LayerGroupValue.empty() && s.LayerGroupName.empty() &&
                s.LayerValue.empty() && s.LayerName.empty());
    EXPECT_TRUE(s.SelectedLines.empty() && s.Circles.empty() && s.Texts.empty() && s.Dims.empty() &&
                s.EntityOrder.empty());
    EXPECT_TRUE(OutputBuffer.empty());
    InitHostState();
    EXPECT_EQ(HostState.HpPoints.size(), 100u);
}

// Which kind of record a line becomes, by its key and its token count.
TEST(Reader, RowsByKeyAndTokenCount) {
    struct Row {
        std::string line;
        size_t lines, circles, arcs, texts, points, codePoints, blocks;
    };
    const Row rows[] = {
        {"1 2 3 4", 1, 0, 0, 0, 0, 0, 0},
        {"1 2 3 4 ", 0, 0, 0, 0, 0, 0, 0},  // T = 5: ignored, not a line
        {"1 2 3", 0, 0, 0, 0, 0, 0, 0},
        {"hs 1 2 3", 1, 0, 0, 0, 0, 0, 0},  // a key that fails its count falls to row 45
        {"pt 1 2 3", 1, 0, 0, 0, 0, 0, 0},
        {"ch 1 2 3", 1, 0, 0, 0, 0, 0, 0},
        {"ci 1 2 3", 0, 1, 0, 0, 0, 0, 0},
        {"ci 1 2 3 4", 0, 0, 0, 0, 0, 0, 0},
        {"ci 1 2 3 4 5 6 7", 0, 0, 1, 0, 0, 0, 0},
        {"ch 1 2 3 4 \"x", 0, 0, 0, 1, 0, 0, 0},
        {"ch 1 2 3 4 \"", 0, 0, 0, 1, 0, 0, 0},
        {"ch 1 2 3 4", 0, 0, 0, 0, 0, 0, 0},
        {"cx 1 2 3 4 \"x", 0, 0, 0, 0, 0, 0, 0},
        {"pt 1 2", 0, 0, 0, 0, 1, 0, 0},
        {"pt 1 2 3 4 5", 0, 0, 0, 0, 0, 1, 0},
        {"pt 1 2 3 4", 0, 0, 0, 0, 0, 0, 0},
        {"BL 1 2 name", 0, 0, 0, 0, 0, 0, 1},
        {"BL 1 2", 0, 0, 0, 0, 0, 0, 0},
        {"lg1 2 3", 0, 0, 0, 0, 0, 0, 0},  // an attribute record of any count stays one
        {"z1 2 3 4", 0, 0, 0, 0, 0, 0, 0},
        {"hp1 2 3 4", 0, 0, 0, 0, 0, 0, 0},
        {"hp1 2", 0, 0, 0, 0, 0, 0, 0},
    };
    for (size_t i = 0; i < std::size(rows); ++i) {
        const THostState& s = Read({rows[i].line});
        const Row& r = rows[i];
        EXPECT_EQ(s.SelectedLines.size(), r.lines) << " row " << i;
        EXPECT_EQ(s.Circles.size(), r.circles) << " row " << i;
        EXPECT_EQ(s.Arcs.size(), r.arcs) << " row " << i;
        EXPECT_EQ(s.Texts.size(), r.texts) << " row " << i;
        EXPECT_EQ(s.Points.size(), r.points) << " row " << i;
        EXPECT_EQ(s.CodePoints.size(), r.codePoints) << " row " << i;
        EXPECT_EQ(s.Blocks.size(), r.blocks) << " row " << i;
        EXPECT_EQ(s.EntityOrder.size(),
                  r.lines + r.circles + r.arcs + r.texts + r.points + r.codePoints + r.blocks)
            << " row " << i;
    }
    EXPECT_EQ(Ends(Read({"hs 1 2 3"}).SelectedLines[0]), (std::vector<double>{0, 1, 2, 3}));
    EXPECT_EQ(Ends(Read({"1 x 3 -4.5"}).SelectedLines[0]), (std::vector<double>{1, 0, 3, -4.5}));
}

TEST(Reader, Parameters) {
    const std::string scales16 = "hs 1 2 3 4 5 6 7 8 9 10 11 12 13 14 15 16";
    const THostState& s = Read({scales16, "hk 2.5 ", "hzs 420 297", "hcw 1 2 3 4 5 6 7 8 9 10",
                                "hch 2 2 2 2 2 2 2 2 2 2.5", "hcd 0 0 0 0 0 0 0 0 0 0.75",
                                "hcc 1 2 3 4 5 6 7 8 9 x", "bz", "hn 1 2 3 4", "file=C:\\a b.txt"});
    for (int g = 0; g < 16; ++g) EXPECT_EQ(s.LayerGroupScale[g], g + 1) << g;
    EXPECT_EQ(s.HkValue, 2.5);
    EXPECT_EQ(s.SheetWidth, 420);
    EXPECT_EQ(s.SheetHeight, 297);
    EXPECT_EQ(s.TextTypes[1].Width, 1);
    EXPECT_EQ(s.TextTypes[10].Width, 10);
    EXPECT_EQ(s.TextTypes[10].Height, 2.5);
    EXPECT_EQ(s.TextTypes[10].Spacing, 0.75);
    EXPECT_EQ(s.TextTypes[9].Color, 9);
    EXPECT_EQ(s.TextTypes[10].Color, 0);  // malformed number
    EXPECT_TRUE(s.BzFlag);
    EXPECT_EQ(s.HnValues[3], 4);
    EXPECT_EQ(s.HostFileName, "C:\\a b.txt");
    EXPECT_EQ(Read({"xfile=abc"}).HostFileName, "=abc");  // anywhere in the key; rest from byte 6
    // 15 scales (T = 16) are ignored.
    EXPECT_EQ(Read({"hs 2 2 2 2 2 2 2 2 2 2 2 2 2 2 2"}).LayerGroupScale[0], 1.0);
}

TEST(Reader, LayerGroupAndLayer) {
    struct Row {
        std::string key;
        int expected;
    };
    const Row rows[] = {{"lgA", 10}, {"lga", 10}, {"lgF", 15}, {"lg", 0}, {"lgG", 0}, {"lg7x", 7}};
    for (size_t i = 0; i < std::size(rows); ++i) {
        EXPECT_EQ(Read({rows[i].key}).Cur.CurLayerGroup, rows[i].expected) << " row " << i;
        const std::string layer = "ly" + rows[i].key.substr(2);
        EXPECT_EQ(Read({layer}).Cur.CurLayer, rows[i].expected) << " row " << i;
    }
    const THostState& s = Read({"lg2 5", "ly3 7", "lgn\"group name", "lyn\"layer x", "lg4", "ly1"});
    EXPECT_EQ(s.HostLayerGroup, 2);
    EXPECT_EQ(s.HostLayer, 3);
    EXPECT_EQ(s.Cur.CurLayerGroup, 4);
    EXPECT_EQ(s.Cur.CurLayer, 1);
    EXPECT_EQ(s.LayerGroupValue[2], 5);
    EXPECT_EQ(s.LayerValue[2 * 16 + 3], 7);
    EXPECT_EQ(s.LayerGroupName[2], "group name");
    EXPECT_EQ(s.LayerName[2 * 16 + 3], "layer x");
}

TEST(Reader, FirstOccurrenceOfAttributes) {
    const THostState& s = Read({"lc3", "lt2", "lw5", "cn4", "lc6", "lt7", "lw8", "cn9"});
    EXPECT_EQ(s.HostLineColor, 3);
    EXPECT_EQ(s.Cur.CurLineColor, 6);
    EXPECT_EQ(s.HostLineType, 2);
    EXPECT_EQ(s.Cur.CurLineType, 7);
    EXPECT_EQ(s.HostLineWidth, 5);
    EXPECT_EQ(s.Cur.CurLineWidth, 8);
    EXPECT_TRUE(s.LineWidthSeen);
    EXPECT_EQ(s.HostTextType, 4);
    EXPECT_EQ(s.Cur.CurTextType, 9);
    EXPECT_FALSE(Read({"lc1"}).LineWidthSeen);
}

TEST(Reader, ColourValueComesWithColourTen) {
    EXPECT_EQ(Read({"lc10 123"}).Cur.CurColorValue, 123);
    EXPECT_EQ(Read({"lc5 123"}).Cur.CurColorValue, 0);
    EXPECT_EQ(Read({"lc10"}).Cur.CurColorValue, 0);
}

TEST(Reader, TextTypeAndFont) {
    const THostState& s = Read({"cn0 3 4 0.5 2", "cn0 9 9 9 9", "cn\"$", "cn\"$<a b>\"", "cn\"$c"});
    EXPECT_EQ(s.HostTextType, 0);
    EXPECT_EQ(s.HostFreeTextWidth, 3);
    EXPECT_EQ(s.HostFreeTextHeight, 4);
    EXPECT_EQ(s.HostFreeTextSpacing, 0.5);
    EXPECT_EQ(s.HostFreeTextColor, 2);
    EXPECT_EQ(s.Cur.CurFreeTextWidth, 9);
    EXPECT_EQ(s.Cur.CurFreeTextColor, 9);
    EXPECT_EQ(s.HostFontName, "<a b>\"");  // the first non-empty name
    EXPECT_EQ(s.Cur.CurFontName, "c");
    // The free size needs all four values.
    EXPECT_EQ(Read({"cn0 3 4 0.5"}).HostFreeTextWidth, 2.0);
}

TEST(Reader, TextColourIsTheKeysThirdByte) {
    struct Row {
        std::string key;
        int expected;
    };
    const Row rows[] = {{"cc5", 5}, {"cc8", 8}, {"cc9", 0}, {"cc", 0}, {"cc12", 1}, {"ccx", 0}};
    for (size_t i = 0; i < std::size(rows); ++i)
        EXPECT_EQ(Read({rows[i].key}).Cur.CurCcValue, rows[i].expected) << " row " << i;
}

TEST(Reader, FlagsAndLinkBelongToTheNextEntityOnly) {
    const THostState& s = Read({"z3", "z5", "hhp7ln", "pn4", "1 2 3 4", "5 6 7 8", "pt 1 2"});
    ASSERT_EQ(s.SelectedLines.size(), 2u);
    EXPECT_EQ(s.SelectedLines[0].Flags, kFlagDimension | kFlagZ5);
    EXPECT_EQ(s.SelectedLines[0].HpLink, 7);
    EXPECT_EQ(s.SelectedLines[1].Flags, 0);
    EXPECT_EQ(s.SelectedLines[1].HpLink, 0);
    EXPECT_EQ(s.Points[0].Color, 4);  // a point takes the point colour
    struct Row {
        std::string key;
        int expected;
    };
    const Row links[] = {{"hhp12", 12}, {"hhp3ci", 3},   {"hhp4ch", 4},   {"hhpln", 0},
                         {"hhp", 0},    {"hhp12ln", 12}, {"hhp5lnci", 0}, {"hhp6ciln", 6}};
    for (size_t i = 0; i < std::size(links); ++i)
        EXPECT_EQ(Read({links[i].key}).Cur.CurHpLink, links[i].expected) << " row " << i;
}

TEST(Reader, ReferencePoints) {
    struct Row {
        std::string line;
        int n;  // the point set, 0 for none
        int kind;
    };
    const Row rows[] = {
        {"hp3ln 5 7", 3, 2},   {"hp3-  5 7", 3, 1},  {"hp2   5 7", 2, 0},  {"hp4ci 5 7", 4, 3},
        {"hp5ch 5 7", 5, 4},   {"hp99 5 7", 99, 0},  {"hp0 5 7", 0, 0},    {"hp100 5 7", 0, 0},
        {"hp-1 5 7", 0, 0},    {"hp3 5", 0, 0},      {"hp 5 7", 0, 0},     {"hp12- 5 7", 12, 1},
        {"hp12ln 5 7", 12, 2}, {"hp3-ln 5 7", 0, 0}, {"hp1ln- 5 7", 1, 2}, {"hp7ch 5 7 ", 7, 4},
        {"hp$a 5 7", 10, 0},
    };
    for (size_t i = 0; i < std::size(rows); ++i) {
        const THostState& s = Read({rows[i].line});
        int setCount = 0;
        for (const HpPoint& p : s.HpPoints) setCount += p.Set;
        EXPECT_EQ(setCount, rows[i].n ? 1 : 0) << " row " << i;
        EXPECT_EQ(s.HpPointCount, rows[i].n ? 1 : 0) << " row " << i;
        if (!rows[i].n) continue;
        const HpPoint& p = s.HpPoints[rows[i].n];
        EXPECT_TRUE(p.Set) << " row " << i;
        EXPECT_EQ(p.X, 5) << " row " << i;
        EXPECT_EQ(p.Y, 7) << " row " << i;
        EXPECT_EQ(p.Kind, rows[i].kind) << " row " << i;
    }
    const THostState& s = Read({"hp1 1 2", "hp1 3 4"});
    EXPECT_EQ(s.HpPointCount, 2);
    EXPECT_EQ(s.HpPoints[1].X, 3);
}

TEST(Reader, ChainsGiveTheirLinesOneNumber) {
    const THostState& s =
        Read({"pl", "0 0 1 0", "hk 1", "z1", "hp1 1 1", "1 0 1 1", "lc2", "1 1 0 1", "#", "pl",
              "0 0 2 2", "#", "0 0 3 3", "pl", "0 0 4 4", "ci 1 1 1", "0 0 5 5"});
    std::vector<int> chains;
    for (const TJwwEntLine& line : s.SelectedLines) chains.push_back(line.ChainNo());
    EXPECT_EQ(chains, (std::vector<int>{1, 1, 0, 2, 0, 3, 0}));
    EXPECT_EQ(s.Cur.ChainCount, 3);
}

// Counters past 2^31 records: the chain count and the reference-point count are 64-bit, and a
// line's 32-bit chain number goes round within 1 .. 2^31 - 1 instead of turning negative (which
// would drop the picked line's chain record). Started near the limit rather than fed 2^31 lines.
TEST(Reader, CountersDoNotWrap) {
    constexpr std::int64_t kIntMax = std::numeric_limits<int>::max();
    struct Row {
        std::int64_t chainsBefore;
        std::vector<int> chainNumbers;  // of the three chains that follow
    };
    const Row rows[] = {
        {kIntMax - 2, {static_cast<int>(kIntMax - 1), static_cast<int>(kIntMax), 1}},
        {kIntMax, {1, 2, 3}},
        {3 * kIntMax - 1, {static_cast<int>(kIntMax), 1, 2}},
    };
    for (size_t i = 0; i < std::size(rows); ++i) {
        const test_state::ScopedHostState fresh;
        HostState.Cur.ChainCount = rows[i].chainsBefore;
        HostState.HpPointCount = kIntMax;
        for (const char* line : {"pl", "0 0 1 1", "pl", "1 1 2 2", "pl", "2 2 3 3", "hp1 1 1"})
            ParseExchangeText(line);
        std::vector<int> chains;
        for (const TJwwEntLine& line : HostState.SelectedLines) chains.push_back(line.ChainNo());
        EXPECT_EQ(chains, rows[i].chainNumbers) << " row " << i;
        EXPECT_EQ(HostState.Cur.ChainCount, rows[i].chainsBefore + 3) << " row " << i;
        EXPECT_EQ(HostState.HpPointCount, kIntMax + 1) << " row " << i;
    }
}

TEST(Reader, DimensionAfterMsg) {
    const THostState& s = Read({"z3", "msg", "lc3", "0 0 10 0", "z3", "cs 5 1 1 0 \"10"});
    EXPECT_TRUE(s.SelectedLines.empty());
    ASSERT_EQ(s.Dims.size(), 1u);
    const TJwwEntDim& dim = s.Dims[0];
    EXPECT_EQ(Ends(dim.Line), (std::vector<double>{0, 0, 10, 0}));
    EXPECT_EQ(dim.Line.Flags, kFlagDimension);
    EXPECT_EQ(dim.Line.Color, 3);
    EXPECT_EQ(dim.Line.ChainNo(), 0);
    EXPECT_EQ(dim.Flags, kFlagDimension);
    EXPECT_EQ(dim.Extra, 0);
    EXPECT_EQ(dim.Text.Text, "10");
    EXPECT_EQ(dim.Text.Extra, 2);
    EXPECT_EQ(dim.Text.X, 5);
    ASSERT_EQ(s.EntityOrder.size(), 1u);
    EXPECT_EQ(s.EntityOrder[0].Kind, kEntDim);
    EXPECT_FALSE(s.Cur.AfterMsg);

    // Another text key after "msg" is an ordinary text; the line stays pending.
    const THostState& t = Read({"msg", "0 0 10 0", "ch 5 1 1 0 \"x", "cs 1 1 1 0 \"y"});
    EXPECT_TRUE(t.SelectedLines.empty());
    EXPECT_EQ(t.Texts.size(), 2u);
    EXPECT_EQ(Ends(t.PendingDimLine), (std::vector<double>{0, 0, 10, 0}));
    // "cs" right after "msg" takes the pending line as it is (here the default).
    EXPECT_EQ(Ends(Read({"msg", "cs 1 1 1 0 \"y"}).Dims[0].Line),
              (std::vector<double>{0, 0, 1, 0}));
    // "pl" clears the dimension marker.
    EXPECT_EQ(Read({"msg", "pl", "0 0 1 1"}).SelectedLines.size(), 1u);
}

TEST(Reader, TextFields) {
    const THostState& s =
        Read({"hcw 1 2 3 4 5 6 7 8 9 10", "hcc 1 2 3 4 5 6 7 8 9 10", "cn4", "cc3", "cn\"$font",
              "ch 1 2 3 4 \"A B  ", "cn0 5 6 0.5 7", "c2 1 2 0 1 A B", "cn11", "ct 1 2 1 0 \""});
    ASSERT_EQ(s.Texts.size(), 3u);
    const TJwwEntText& a = s.Texts[0];
    EXPECT_EQ(a.Text, "A B  ");
    EXPECT_EQ(a.Extra, 0);
    EXPECT_EQ(a.TextType, 4);
    EXPECT_EQ(a.Width, 4);
    EXPECT_EQ(a.Color, 4);  // the text type's colour
    EXPECT_EQ(a.CcValue, 3);
    EXPECT_EQ(a.FontName, "font");
    EXPECT_EQ(std::vector<double>({a.X, a.Y, a.DX, a.DY}), (std::vector<double>{1, 2, 3, 4}));
    const TJwwEntText& b = s.Texts[1];
    EXPECT_EQ(b.Text, "A");  // without the quote only the first word
    EXPECT_EQ(b.Extra, 9);
    EXPECT_EQ(b.Width, 5);
    EXPECT_EQ(b.Height, 6);
    EXPECT_EQ(b.Spacing, 0.5);
    EXPECT_EQ(b.Color, 7);
    const TJwwEntText& c = s.Texts[2];
    EXPECT_EQ(c.Text, "");
    EXPECT_EQ(c.TextType, 11);
    EXPECT_EQ(c.Width, 5);  // a type outside 1 .. 10 takes the free size
}

TEST(Reader, TextsKeepAtMost255BytesOfWholeCharacters) {
    const std::string ascii(300, 'a');
    EXPECT_EQ(Read({"ch 1 2 1 0 \"" + ascii}).Texts[0].Text, ascii.substr(0, 255));
    // 254 bytes, then テ across the 255th byte: cut before it.
    const std::string split = std::string(254, 'a') + "\x83\x65" + "bc";
    EXPECT_EQ(Read({"ch 1 2 1 0 \"" + split}).Texts[0].Text, std::string(254, 'a'));
    const std::string font(270, 'f');
    const THostState& s = Read({"cn\"$" + font, "ch 1 2 1 0 \"x"});
    EXPECT_EQ(s.Texts[0].FontName, font.substr(0, 255));
    EXPECT_EQ(s.Cur.CurFontName, font);
}

TEST(Reader, EntityFields) {
    const THostState& s =
        Read({"lg2", "ly3", "lc4", "lt5", "lw6", "lc10 77", "ci 1 2 3", "ci 1 2 3 4 5 6 7", "pn9",
              "pt 1 2 0.5 30 7", "BL 1 2 block name", "sc 1 2 3 4 5 6 7 8", "se 1 2 3 4 5 6 7 8 9",
              "so 1 2 3 4 5 6 7 8", "sg 1 2 3 4 5 6 7 8"});
    const TJwwEntCircle& circle = s.Circles[0];
    EXPECT_EQ(circle.LayerGroup, 2);
    EXPECT_EQ(circle.Layer, 3);
    EXPECT_EQ(circle.Color, 10);
    EXPECT_EQ(circle.LineType, 5);
    EXPECT_EQ(circle.LineWidth, 6);
    EXPECT_EQ(circle.Radius, 3);
    EXPECT_EQ(s.Arcs[0].Values, (std::array<double, 4>{4, 5, 6, 7}));
    const TJwwEntCodePoint& point = s.CodePoints[0];
    EXPECT_EQ(point.Color, 9);
    EXPECT_EQ(point.Scale, 0.5);
    EXPECT_EQ(point.Angle, 30);
    EXPECT_EQ(point.Code, 7);
    EXPECT_EQ(s.Blocks[0].Name, "block");
    EXPECT_EQ(s.Scs[0].Values[6], 7);
    EXPECT_EQ(s.Scs[0].Code, 8);
    EXPECT_EQ(s.Scs[0].Extra, 77);  // the colour value of line colour 10
    EXPECT_EQ(s.Ses[0].Code, 8);
    EXPECT_EQ(s.Sos[0].Values[7], 8);
    EXPECT_EQ(s.Sgs[0].Values[0], 1);
    std::vector<int> kinds, indices;
    for (const EntityOrderEntry& e : s.EntityOrder) kinds.push_back(e.Kind);
    EXPECT_EQ(kinds, (std::vector<int>{kEntCircle, kEntArc, kEntCodePoint, kEntBlk, kEntSc, kEntSe,
                                       kEntSo, kEntSg}));
}

TEST(Reader, EntityOrderIndexesEachKindsList) {
    const THostState& s = Read({"1 1 2 2", "ci 1 2 3", "3 3 4 4", "ci 4 5 6", "5 5 6 6"});
    std::vector<std::pair<int, int>> order;
    for (const EntityOrderEntry& e : s.EntityOrder) order.emplace_back(e.Kind, e.Index);
    EXPECT_EQ(order, (std::vector<std::pair<int, int>>{{1, 0}, {2, 0}, {1, 1}, {2, 1}, {1, 2}}));
}

TEST(Reader, SlIsReducedByItsCoincidingPoints) {
    // The values of P1 .. P4 after "sl"; most points are (a, a).
    struct Row {
        std::string values;
        int kind;
        std::vector<double> xs;  // the x of each kept point
    };
    const Row rows[] = {
        {"1 1 2 2", kEntSl2, {1, 2}},
        {"1 1 1 1 3 3", kEntSl2, {1, 3}},
        {"1 1 2 2 2 2", kEntSl2, {1, 2}},
        {"1 1 2 2 3 3", kEntSl3, {1, 2, 3}},
        {"1 1 1 1 1 1 4 4", kEntSl2, {1, 4}},
        {"1 1 2 2 2 2 2 2", kEntSl2, {1, 2}},
        {"1 1 1 1 3 3 3 3", kEntSl2, {1, 3}},
        {"1 1 2 2 3 3 1 1", kEntSl3, {1, 2, 3}},
        {"1 1 2 2 3 3 3 3", kEntSl3, {1, 2, 3}},
        {"1 1 2 2 1 1 4 4", kEntSl3, {1, 2, 4}},
        {"1 1 2 2 2 2 4 4", kEntSl3, {1, 2, 4}},
        {"1 1 1 1 3 3 4 4", kEntSl3, {1, 3, 4}},
        {"1 1 2 2 3 3 4 4", kEntSl4, {1, 2, 3, 4}},
        {"1 1 1.00000000001 1 3 3 4 4", kEntSl3, {1, 3, 4}},  // within 1e-10
        {"1 1 1.000000001 1 3 3 4 4", kEntSl4, {1, 1.000000001, 3, 4}},
    };
    for (size_t i = 0; i < std::size(rows); ++i) {
        const THostState& s = Read({"lc10 5", "sl " + rows[i].values});
        ASSERT_EQ(s.EntityOrder.size(), 1u) << " row " << i;
        EXPECT_EQ(s.EntityOrder[0].Kind, rows[i].kind) << " row " << i;
        std::vector<double> xs;
        int extra = -1;
        if (rows[i].kind == kEntSl2) {
            for (const SlPoint& p : s.Sl2s[0].Points) xs.push_back(p.X);
            extra = s.Sl2s[0].Extra;
        } else if (rows[i].kind == kEntSl3) {
            for (const SlPoint& p : s.Sl3s[0].Points) xs.push_back(p.X);
            extra = s.Sl3s[0].Extra;
        } else {
            for (const SlPoint& p : s.Sl4s[0].Points) xs.push_back(p.X);
            extra = s.Sl4s[0].Extra;
        }
        EXPECT_EQ(xs, rows[i].xs) << " row " << i;
        EXPECT_EQ(extra, 5) << " row " << i;
    }
    EXPECT_TRUE(Read({"sl 1 1 2 2 3 3 4"}).EntityOrder.empty());  // T = 8
}

// Which records end an open chain: the attribute records and every entity but a line segment.
// Parameters, names, flags, reference points and links, and ignored lines leave it open.
TEST(Reader, RecordsThatEndAChain) {
    const std::vector<std::string> ending = {
        "lg1",       "ly2", "lc3", "lt2",      "lw1",    "cn\"$x",         "cn2",
        "cc1",       "pn2", "#",   "ci 1 1 1", "pt 1 1", "ch 1 1 1 0 \"x", "BL 1 1 b",
        "sl 1 1 2 2"};
    const std::vector<std::string> leaving = {
        "hk 1",    "hs 1 2 3 4 5", "hzs 1 2", "bz",  "lgn\"a",    "lyn\"b", "z2",        "z5",
        "hp2 1 1", "hhp2",         "file=a",  "x y", "1 2 3 4 5", "",       "ci 1 1 1 1"};
    for (const auto& [records, chainNo] : {std::pair{ending, 0}, std::pair{leaving, 1}}) {
        for (const std::string& record : records) {
            const THostState& s = Read({"pl", "0 0 1 0", record, "1 0 1 1"});
            ASSERT_EQ(s.SelectedLines.size(), 2u) << record;
            EXPECT_EQ(s.SelectedLines[0].ChainNo(), 1) << record;
            EXPECT_EQ(s.SelectedLines[1].ChainNo(), chainNo) << record;
        }
    }
    // "msg" ends it too; the lines after it belong to the dimension.
    EXPECT_FALSE(Read({"pl", "0 0 1 0", "msg"}).Cur.InChain);
}

// "msg" holds through line segments, attribute records, flags and reference points; "pl", "#"
// and every other entity end it.
TEST(Reader, RecordsThatEndADimension) {
    const std::vector<std::string> keeping = {
        "lg1", "ly2", "lc3",     "lt2",  "lw1",  "cn\"$x", "cn0 1 1 0 1", "cc1",
        "pn2", "z3",  "hp2 1 1", "hhp2", "hk 1", "msg",    "0 0 5 5",     "x y"};
    const std::vector<std::string> ending = {"pl",       "#",          "ci 1 1 1",      "pt 1 1",
                                             "BL 1 1 b", "sl 1 1 2 2", "cv 1 1 1 0 \"x"};
    for (const auto& [records, dims] : {std::pair{keeping, 1u}, std::pair{ending, 0u}}) {
        for (const std::string& record : records) {
            const THostState& s = Read({"msg", "0 0 10 0", record, "cs 1 2 1 0 \"9"});
            EXPECT_EQ(s.Dims.size(), dims) << record;
            EXPECT_TRUE(s.SelectedLines.empty()) << record;
            EXPECT_FALSE(s.Cur.AfterMsg) << record;
        }
    }
}

// The line after "msg" is no entity, but it takes the flags and the link like one.
TEST(Reader, PendingDimensionLine) {
    const THostState& s = Read({"hcc 1 2 3 4 5 6 7 8 9 10", "cn6", "lc4", "msg", "z3", "hhp5",
                                "0 0 10 0", "z1", "lc7", "cs 1 2 1 0 \"9"});
    EXPECT_TRUE(s.SelectedLines.empty());
    ASSERT_EQ(s.Dims.size(), 1u);
    const TJwwEntDim& dim = s.Dims[0];
    EXPECT_EQ(dim.Line.Flags, kFlagDimension);
    EXPECT_EQ(dim.Line.HpLink, 5);
    EXPECT_EQ(dim.Line.Color, 4);
    EXPECT_EQ(dim.Flags, kFlagZ1);  // the dimension's own header
    EXPECT_EQ(dim.HpLink, 0);
    EXPECT_EQ(dim.Color, 7);
    EXPECT_EQ(dim.Text.Color, 6);  // the text type's colour
    EXPECT_EQ(dim.Text.Flags, kFlagZ1);
    EXPECT_EQ(s.Cur.CurAttributeFlags, 0);
    EXPECT_EQ(s.Cur.CurHpLink, 0);
    // The pending line alone resets the flags and the link.
    const THostState& t = Read({"msg", "z3", "hhp5", "0 0 10 0"});
    EXPECT_EQ(t.Cur.CurAttributeFlags, 0);
    EXPECT_EQ(t.Cur.CurHpLink, 0);
    EXPECT_TRUE(t.EntityOrder.empty());
    // A later "msg" with its "cs" but no line keeps the earlier pending line.
    const THostState& u = Read({"msg", "0 0 10 0", "#", "msg", "cs 1 2 1 0 \"9"});
    EXPECT_EQ(Ends(u.Dims[0].Line), (std::vector<double>{0, 0, 10, 0}));
}

// Values that come only with enough tokens leave the earlier value alone otherwise.
TEST(Reader, ValuesNeedTheirTokens) {
    EXPECT_EQ(Read({"lc10 5", "lc10"}).Cur.CurColorValue, 5);
    EXPECT_EQ(Read({"lc10 5", "lc10 "}).Cur.CurColorValue, 0);  // T = 2, empty value
    EXPECT_EQ(Read({"lc10 5", "lc3 7"}).Cur.CurColorValue, 5);
    EXPECT_EQ(Read({"lg2 5", "lg2"}).LayerGroupValue[2], 5);
    EXPECT_EQ(Read({"ly3 5", "ly3"}).LayerValue[3], 5);
    // The free size reaches the host fields only with the first text-type record.
    const THostState& s = Read({"cn3", "cn0 5 6 0.5 7"});
    EXPECT_EQ(s.HostTextType, 3);
    EXPECT_EQ(s.HostFreeTextWidth, 2.0);
    EXPECT_EQ(s.HostFreeTextColor, 1);
    EXPECT_EQ(s.Cur.CurTextType, 0);
    EXPECT_EQ(s.Cur.CurFreeTextWidth, 5);
    EXPECT_EQ(s.Cur.CurFreeTextColor, 7);
    // The font name: the first non-empty one is the host's.
    EXPECT_EQ(Read({"cn\"$", "cn\"$b", "cn\"$c"}).HostFontName, "b");
}

TEST(Reader, EntitiesOtherThanLinesEndChainAndDimension) {
    const THostState& s = Read({"msg", "pt 1 2", "0 0 1 1"});
    EXPECT_EQ(s.SelectedLines.size(), 1u);
    EXPECT_FALSE(s.Cur.AfterMsg);
}

}  // namespace
}  // namespace dovarin
