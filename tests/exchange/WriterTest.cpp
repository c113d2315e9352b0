// The answer's records: the change-only rule, substitutions, degenerate records, text records and
// the chain logic of PutLineAttributes.
#include <gtest/gtest.h>

#include <array>
#include <functional>
#include <string>
#include <vector>

#include "exchange/JwwGaibu.h"
#include "util/MyFunc.h"

namespace dovarin {
namespace {

using Lines = std::vector<std::string>;

// A fresh writer after reading `input`, as the program starts it.
void StartWriter(const Lines& input = {}) {
    InitHostState();
    for (const std::string& line : input) ParseExchangeText(line);
    ResetWriterState();
}

Lines Written() {
    Lines lines;
    for (const OutputEntry& entry : OutputBuffer) lines.push_back(entry.Text);
    return lines;
}

TEST(Writer, AttributeRecordsOnlyOnChange) {
    struct Row {
        std::function<void()> calls;
        Lines expected;
    };
    const Row rows[] = {
        {[] { PutLayerGroup(0), PutLayerGroup(0), PutLayerGroup(10), PutLayerGroup(15); },
         {"lg0", "lgA", "lgF"}},
        {[] { PutLayer(0), PutLayer(0), PutLayer(11); }, {"ly0", "lyB"}},
        {[] { PutLayerGroup(16), PutLayer(255); }, {"lg10", "lyFF"}},  // no leading zeros
        // A group record forces the next layer record.
        {[] { PutLayer(3), PutLayerGroup(10), PutLayer(3), PutLayer(3); }, {"ly3", "lgA", "ly3"}},
        {[] { PutLayerGroup(1), PutLayer(2), PutLayerGroup(1), PutLayer(2); }, {"lg1", "ly2"}},
        {[] { PutLineColor(5), PutLineColor(5), PutLineColor(1); }, {"lc5", "lc1"}},
        {[] { PutLineColor(1); }, {"lc1"}},  // the first record is always written
        {[] { PutLineType(1), PutLineType(-2); }, {"lt1", "lt-2"}},
        {[] { PutTextColor(9), PutTextColor(0), PutTextColor(8), PutTextColor(-1); },
         {"cc0", "cc8", "cc0"}},
        {[] { PutPointColor(1), PutPointColor(1), PutPointColor(12); }, {"pn1", "pn12"}},
        {[] { PutPointColor(-3), PutLineColor(-12); }, {"pn-3", "lc-12"}},
        {[] { PutLineWidth(3); }, {}},  // the host's text held no line width
    };
    for (size_t i = 0; i < std::size(rows); ++i) {
        StartWriter();
        rows[i].calls();
        EXPECT_EQ(Written(), rows[i].expected) << " row " << i;
    }
}

TEST(Writer, LineWidthOnlyWhenTheHostUsesWidths) {
    StartWriter({"lw7", "lw2"});
    PutLineWidth(-1);
    PutLineWidth(7);
    PutLineWidth(30001);
    PutLineWidth(-5);
    PutLineWidth(30000);
    EXPECT_EQ(Written(), (Lines{"lw7", "lw0", "lw30000"}));
}

TEST(Writer, TextType) {
    struct Row {
        Lines input;
        std::function<void()> calls;
        Lines expected;
    };
    const Row rows[] = {
        {{}, [] { PutTextType(3, 0, 0, 0, 0), PutTextType(3, 5, 1, 1, 1); }, {"cn3"}},
        {{}, [] { PutTextType(1, 0, 0, 0, 0); }, {"cn1"}},
        {{},
         [] { PutTextType(0, 2, 2.5, 3, 0.5), PutTextType(0, 2, 2.5, 3, 0.5); },
         {"cn0 2.5 3 0.5 2"}},
        {{},
         [] { PutTextType(0, 2, 2.5, 3, 0.5), PutTextType(0, 3, 2.5, 3, 0.5); },
         {"cn0 2.5 3 0.5 2", "cn0 2.5 3 0.5 3"}},
        // A numbered type leaves the remembered free size alone.
        {{},
         [] { PutTextType(0, 2, 4, 4, 0), PutTextType(5, 0, 0, 0, 0), PutTextType(0, 2, 4, 4, 0); },
         {"cn0 4 4 0 2", "cn5", "cn0 4 4 0 2"}},
        {{"cn0 3 4 0.25 6"}, [] { PutTextType(11, 1, 9, 9, 9); }, {"cn0 3 4 0.25 6"}},
        {{"cn7"}, [] { PutTextType(-1, 1, 9, 9, 9); }, {"cn7"}},
    };
    for (size_t i = 0; i < std::size(rows); ++i) {
        StartWriter(rows[i].input);
        rows[i].calls();
        EXPECT_EQ(Written(), rows[i].expected) << " row " << i;
    }
}

TEST(Writer, FontName) {
    StartWriter();
    PutFontName("");
    PutFontName("");
    PutFontName("<>");
    EXPECT_EQ(Written(), (Lines{"cn\"$"}));

    StartWriter({"cn\"$<host font>"});
    PutFontName("<>");
    PutFontName("<host font>");
    PutFontName("other");
    PutFontName("");
    EXPECT_EQ(Written(), (Lines{"cn\"$<host font>", "cn\"$other", "cn\"$<host font>"}));
}

TEST(Writer, AttributeFlagsAlwaysWritten) {
    struct Row {
        int flags;
        Lines expected;
    };
    const Row rows[] = {
        {0, {}},
        {1, {"z1"}},
        {4, {"z3"}},
        {8, {"z4"}},
        {24, {"z5"}},
        {16, {"z5"}},
        {31, {"z1", "z2", "z3", "z5"}},
        {15, {"z1", "z2", "z3", "z4"}},
    };
    for (size_t i = 0; i < std::size(rows); ++i) {
        StartWriter();
        PutAttributeFlags(rows[i].flags);
        PutAttributeFlags(rows[i].flags);
        Lines twice = rows[i].expected;
        twice.insert(twice.end(), rows[i].expected.begin(), rows[i].expected.end());
        EXPECT_EQ(Written(), twice) << " row " << i;
    }
}

TEST(Writer, SegmentsAndPoints) {
    StartWriter();
    PutSegment(1, 1, 1.000000001, 1);  // shorter than the tolerance: dropped
    PutSegment(1, 1, 1.00000002, 1);
    PutSegment(0, 0, 0, 0);
    PutSegment(-1.5, 2, 1e15, 0.00001);
    PutPoint(12, 1, 2, 0, 45);
    PutPoint(-8, 1, 2, 1e-9, 0);
    PutPoint(-7, 1, 2, -2, 0);
    PutPoint(11, 1, 2, 0.5, 0);
    PutChainStart();
    PutChainEnd();
    EXPECT_EQ(Written(), (Lines{"1 1 1.00000002 1", "-1.5 2 1E15 1E-5", "pt 1 2 1 45 -3",
                                "pt 1 2 1 0 -3", "pt 1 2 -2 0 -7", "pt 1 2 0.5 0 11", "pl", "#"}));
}

// The tolerance itself: a segment needs less than 1e-8 on both axes to be dropped, a direction or
// a point scale at most 1e-8.
TEST(Writer, ZeroToleranceBounds) {
    struct Row {
        std::function<void()> call;
        Lines lines;
    };
    const Row rows[] = {
        {[] { PutSegment(0, 0, 1e-8, 0); }, {"0 0 1E-8 0"}},
        {[] { PutSegment(0, 0, 5e-9, 1); }, {"0 0 5E-9 1"}},
        {[] { PutSegment(0, 0, -5e-9, 5e-9); }, {"hq"}},
        {[] { PutPoint(0, 1, 2, 1e-8, 0); }, {"pt 1 2 1 0 0"}},
        {[] { PutPoint(0, 1, 2, -1e-8, 0); }, {"pt 1 2 1 0 0"}},
        {[] { PutPoint(0, 1, 2, 2e-8, 0); }, {"pt 1 2 2E-8 0 0"}},
        {[] { PutText(0, "a", 0, 0, 1e-8, 0); }, {"hq"}},
        {[] { PutText(0, "a", 0, 0, 0, -2e-8); }, {"ch 0 0 0 -2E-8 \"a"}},
        {[] { PutDimensionText("", 0, 0, 1e-8, 0, 0, 0, 1, 0); },
         {"msg", "0 0 1E-8 0", "cs 0 0 1 0 \"1E-8"}},
        {[] { PutDimensionText("x", 0, 0, 1, 0, 0, 0, 1e-8, -1e-8); }, {"hq"}},
        {[] { PutDimensionText("x", 0, 0, 1, 0, 0, 0, 0, 2e-8); },
         {"msg", "0 0 1 0", "cs 0 0 0 2E-8 \"x"}},
    };
    for (size_t i = 0; i < std::size(rows); ++i) {
        StartWriter();
        rows[i].call();
        EXPECT_EQ(OutputLines(), rows[i].lines) << " row " << i;
    }
}

TEST(Writer, TextRecords) {
    const std::string blanks = "  \x81\x40 \x81\x40";  // half- and full-width blanks
    struct Row {
        std::function<void()> call;
        Lines lines;
    };
    const Row rows[] = {
        {[] { PutText(2, "12.5", 10, 20, 10, 0); }, {"cs 10 20 10 0 \"12.5"}},
        {[] { PutText(9, " a ", 0, 0, 0, 1); }, {"c2 0 0 0 1 \" a "}},
        {[] { PutText(10, "a", 0, 0, 1, 0); }, {"ch 0 0 1 0 \"a"}},
        {[] { PutText(-1, "a", 0, 0, 1, 0); }, {"ch 0 0 1 0 \"a"}},
        {[] { PutText(0, "a", 0, 0, 1e-8, -1e-8); }, {"hq"}},
        {[blanks] { PutText(0, blanks, 0, 0, 1, 0); }, {"hq"}},
        {[] { PutDimensionText("", 0, 0, 3, 4, 1, 1, 1, 0); },
         {"msg", "0 0 3 4", "cs 1 1 1 0 \"5"}},
        {[] { PutDimensionText(" ", 0, 0, 12.3456789012, 0, 1, 1, 1, 0); },
         {"msg", "0 0 12.3456789012 0", "cs 1 1 1 0 \"12.3456789"}},
        // Far beyond the tolerance's grid the length is written as it is, not lost.
        {[] { PutDimensionText("", 0, 0, 1e305, 0, 1, 1, 1, 0); },
         {"msg", "0 0 1E305 0", "cs 1 1 1 0 \"1E305"}},
        {[] { PutDimensionText("x", 0, 0, 5e-9, 0, 1, 1, 1, 0); }, {"hq"}},
        {[] { PutDimensionText("x", 0, 0, 1, 0, 1, 1, 0, 0); }, {"hq"}},
    };
    for (size_t i = 0; i < std::size(rows); ++i) {
        StartWriter();
        rows[i].call();
        EXPECT_EQ(OutputLines(), rows[i].lines) << " row " << i;
    }
}

TEST(Writer, EntriesAreCutAfter255Bytes) {
    StartWriter();
    const std::string text = std::string(254, 'a') + "\x83\x65" + std::string(44, 'b');
    PutText(0, text, 0, 0, 1, 0);
    PutLine(std::string(300, 'x'));
    ASSERT_EQ(OutputBuffer.size(), 3u);
    EXPECT_EQ(OutputBuffer[0].Text, "ch 0 0 1 0 \"");  // the header is an entry of its own
    EXPECT_TRUE(OutputBuffer[0].JoinsNext);
    EXPECT_EQ(OutputBuffer[1].Text, text.substr(0, 255));  // ends in the lead byte of テ
    EXPECT_FALSE(OutputBuffer[1].JoinsNext);
    EXPECT_EQ(OutputBuffer[2].Text, std::string(255, 'x'));
}

// A font name ending in a double quote once made its record swallow the next one.
TEST(Writer, OnlyTextHeadersJoinTheNextEntry) {
    StartWriter();
    PutFontName("<\x82\x6c\x82\x72 \x83\x53\x83\x56\x83\x62\x83\x4e>\"");  // <ＭＳ ゴシック>"
    PutLine("abc\"");
    PutSegment(0, 0, 1, 1);
    PutText(0, "x\"", 0, 0, 1, 0);
    PutLine("#");
    EXPECT_EQ(OutputLines(), (Lines{"cn\"$<\x82\x6c\x82\x72 \x83\x53\x83\x56\x83\x62\x83\x4e>\"",
                                    "abc\"", "0 0 1 1", "ch 0 0 1 0 \"x\"", "#"}));
}

// Control bytes from the host's font name or a loaded prefix once ended the host's text (0x1A)
// or split a record (CR): no entry holds one, and a text of nothing else counts as blank.
TEST(Writer, NoControlByteInsideAnEntry) {
    struct Row {
        std::function<void()> call;
        Lines lines;
    };
    const Row rows[] = {
        {[] { PutFontName("<a\x7f\x82\x1a>"); }, {"cn\"$<a>"}},
        {[] { PutText(2, "2,700mm\x1a", 1, 2, 1, 0); }, {"cs 1 2 1 0 \"2,700mm"}},
        {[] { PutText(0, "\r\x7f\x81\x0d", 0, 0, 1, 0); }, {"hq"}},
        {[] { PutDimensionText("\x7f", 0, 0, 3, 4, 1, 1, 1, 0); },
         {"msg", "0 0 3 4", "cs 1 1 1 0 \"5"}},
        {[] { PutLine(std::string(300, '\t') + "#"); }, {"#"}},  // dropped before the cut
    };
    for (size_t i = 0; i < std::size(rows); ++i) {
        StartWriter();
        rows[i].call();
        EXPECT_EQ(OutputLines(), rows[i].lines) << " row " << i;
    }
}

// Picked lines with chains: lines 0 and 1 in chain 1, line 2 in none, line 3 in chain 2 followed
// by a circle, line 4 in chain 3, line 5 in chain 4 and last.
const Lines kChainedInput = {
    "lg1",     "ly2", "lc3",     "lt4",      "lw5", "pl",      "z3", "0 0 1 0", "1 0 1 1", "#",
    "2 2 3 3", "pl",  "4 4 5 5", "ci 0 0 1", "pl",  "6 6 7 7", "#",  "pl",      "8 8 9 9"};

TEST(Writer, LineAttributesAndChains) {
    struct Row {
        int line, orderPos, openIn;
        std::array<int, 5> attributes;  // layer group, layer, colour, line type, width
        Lines expected;                 // after the attribute records
        bool open;
        int openOut;
    };
    const std::array<int, 5> own = {-1, -1, -1, -1, -1};
    const Row rows[] = {
        {0, 0, 0, own, {"pl", "z3", "0 0 1 0"}, true, 1},
        {1, 1, 1, own, {"1 0 1 1", "#"}, false, 0},
        {1, 1, 0, own, {"pl", "1 0 1 1", "#"}, false, 0},
        {3, 3, 0, own, {"pl", "4 4 5 5", "#"}, false, 0},  // a circle follows
        {5, 6, 0, own, {"pl", "8 8 9 9", "#"}, false, 0},  // nothing follows
        {2, 2, 0, own, {"2 2 3 3"}, false, 0},
        {2, 2, 7, own, {"2 2 3 3", "#"}, false, 0},
        // Another chain still open: the new one starts without closing it.
        {3, 3, 1, own, {"pl", "4 4 5 5", "#"}, false, 0},
        {0, 0, 5, own, {"pl", "z3", "0 0 1 0"}, true, 1},
    };
    const Lines ownAttributes = {"lg1", "ly2", "lc3", "lt4", "lw5"};
    for (size_t i = 0; i < std::size(rows); ++i) {
        const Row& r = rows[i];
        StartWriter(kChainedInput);
        int open = r.openIn;
        const bool result =
            PutLineAttributes(r.line, r.orderPos, open, r.attributes[0], r.attributes[1],
                              r.attributes[2], r.attributes[3], r.attributes[4]);
        Lines expected = ownAttributes;
        expected.insert(expected.end(), r.expected.begin(), r.expected.end());
        EXPECT_EQ(Written(), expected) << " row " << i;
        EXPECT_EQ(result, r.open) << " row " << i;
        EXPECT_EQ(open, r.openOut) << " row " << i;
    }
}

TEST(Writer, LineAttributesOverrideTheLinesOwn) {
    StartWriter(kChainedInput);
    int open = 0;
    PutLineAttributes(2, 2, open, 10, 16, 7, -1, 30001);
    EXPECT_EQ(Written(), (Lines{"lgA", "ly2", "lc7", "lt4", "lw0", "2 2 3 3"}));
    // Layer group and layer 0 and 15 override; -1 keeps the line's own colour, -2 does not.
    OutputBuffer.clear();
    PutLineAttributes(2, 2, open, 0, 15, -1, -2, -2);
    EXPECT_EQ(Written(), (Lines{"lg0", "lyF", "lc3", "lt-2", "2 2 3 3"}));
    // No such line: nothing but the end of the open chain.
    open = 3;
    EXPECT_FALSE(PutLineAttributes(99, 0, open, -1, -1, -1, -1, -1));
    EXPECT_EQ(open, 0);
    EXPECT_EQ(Written().back(), "#");
}

TEST(Writer, AllPickedLinesInOrderKeepTheirChains) {
    StartWriter(kChainedInput);
    int open = 0;
    const int orderOfLine[] = {0, 1, 2, 3, 5, 6};
    for (int line = 0; line < 6; ++line)
        PutLineAttributes(line, orderOfLine[line], open, -1, -1, -1, -1, -1);
    EXPECT_EQ(Written(), (Lines{"lg1",     "ly2",     "lc3", "lt4",     "lw5",     "pl",      "z3",
                                "0 0 1 0", "1 0 1 1", "#",   "2 2 3 3", "pl",      "4 4 5 5", "#",
                                "pl",      "6 6 7 7", "#",   "pl",      "8 8 9 9", "#"}));
}

// Reading a picked line and writing it back gives the host's numbers again.
TEST(Writer, PickedLineRoundTrip) {
    const Lines lines = {
        "-90984.2577738658 21250.5480255399 -66133.2128935894 17849.7297147183",
        "0.0001 1E-5 -1E15 123456789012345",
        "0 -0.5 1234.56789012346 7",
    };
    for (size_t i = 0; i < lines.size(); ++i) {
        StartWriter({lines[i]});
        int open = 0;
        PutLineAttributes(0, 0, open, -1, -1, -1, -1, -1);
        EXPECT_EQ(Written().back(), lines[i]) << " row " << i;
    }
    // A non-canonical form comes back as the same numbers.
    StartWriter({"2.50 +3 .5 1e3"});
    int open = 0;
    PutLineAttributes(0, 0, open, -1, -1, -1, -1, -1);
    EXPECT_EQ(Written().back(), "2.5 3 0.5 1000");
}

TEST(Writer, ResetWriterStateForcesEveryAttributeAgain) {
    StartWriter({"lw1"});
    PutLayerGroup(0), PutLayer(0), PutLineColor(1), PutLineType(1), PutLineWidth(0);
    PutTextType(1, 0, 0, 0, 0), PutTextColor(0), PutFontName(""), PutPointColor(1);
    const size_t first = OutputBuffer.size();
    EXPECT_EQ(first, 9u);
    PutLayerGroup(0), PutLayer(0), PutLineColor(1), PutTextColor(0), PutPointColor(1);
    EXPECT_EQ(OutputBuffer.size(), first);
    ResetWriterState();
    PutLayerGroup(0), PutLayer(0), PutLineColor(1), PutLineType(1), PutLineWidth(0);
    PutTextType(1, 0, 0, 0, 0), PutTextColor(0), PutFontName(""), PutPointColor(1);
    EXPECT_EQ(OutputBuffer.size(), 2 * first);
}

// The reader moves every running attribute; the writer starts from fixed values all the same.
TEST(Writer, ResetWriterStateSetsTheStartingValues) {
    StartWriter({"lg5", "ly3", "lc10 123", "lt2", "lw9", "cn0 4 5 0.5 3", "cc3", "pn4",
                 "cn\"$<host font>", "lc5"});
    const CurrentAttributes& c = HostState.Cur;
    EXPECT_EQ(c.CurLayerGroup, 0);
    EXPECT_EQ(c.CurLayer, 0);
    EXPECT_EQ(c.CurLineColor, 1);
    EXPECT_EQ(c.CurLineType, 1);
    EXPECT_EQ(c.CurLineWidth, 0);
    EXPECT_EQ(c.CurTextType, 1);
    EXPECT_EQ(c.CurFreeTextWidth, 2.0);
    EXPECT_EQ(c.CurFreeTextHeight, 2.0);
    EXPECT_EQ(c.CurFreeTextSpacing, 0.0);
    EXPECT_EQ(c.CurFreeTextColor, 1);
    EXPECT_EQ(c.CurCcValue, 0);
    EXPECT_EQ(c.CurFontName,
              "<\x82\x6c\x82\x72 \x83\x53\x83\x56\x83\x62\x83\x4e>");  // <ＭＳ ゴシック>
    EXPECT_EQ(c.CurPointColor, 1);
    EXPECT_EQ(c.CurColorValue, 0);
    const FirstPendingFlags& f = HostState.FirstPending;
    const bool flags[] = {f.LayerGroup, f.Layer,     f.LineColor, f.LineType,  f.LineWidth,
                          f.TextType,   f.TextColor, f.FontName,  f.PointColor};
    for (size_t i = 0; i < std::size(flags); ++i) EXPECT_TRUE(flags[i]) << " flag " << i;
}

TEST(Writer, OutputLinesOfAnEmptyBufferIsHq) {
    StartWriter();
    EXPECT_EQ(OutputLines(), (Lines{"hq"}));
}

}  // namespace
}  // namespace dovarin
