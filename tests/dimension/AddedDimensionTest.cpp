#include <gtest/gtest.h>

#include <algorithm>
#include <sstream>
#include <string>
#include <vector>

#include "HostStateScope.h"
#include "dimension/Dimension.h"
#include "dimension/RecordMatch.h"
#include "exchange/JwwGaibu.h"
#include "util/MyFunc.h"

namespace dovarin {
namespace {

using test::RecordNumbers;
using test::RecordsMatch;

const char kAllScalesOne[] = "hs 1 1 1 1 1 1 1 1 1 1 1 1 1 1 1 1";

std::string PointRecord(int n, Point p) {
    return "hp" + std::to_string(n) + " " + FormatReal(p.x) + " " + FormatReal(p.y);
}

// The host's text: scales, current attributes, the picked line with its flags, and the
// reference points Q (2), K (3) and V (4).
struct HostInput {
    std::string line = "0 0 0 10";
    std::vector<std::string> flags = {"z3"};
    Point q{100, 0};
    Point k{50, 20};
    Point v{40, 25};
    std::vector<std::string> before = {kAllScalesOne, "lg0", "ly0", "lc1", "lt1", "cn1"};
};

// Loads the host's text as the program does when the form is shown.
void LoadHost(const HostInput& input) {
    InitHostState();
    for (const std::string& record : input.before) ParseExchangeText(record);
    for (const std::string& flag : input.flags) ParseExchangeText(flag);
    if (!input.line.empty()) ParseExchangeText(input.line);
    ParseExchangeText(PointRecord(2, input.q));
    ParseExchangeText(PointRecord(3, input.k));
    ParseExchangeText(PointRecord(4, input.v));
    ResetWriterState();
}

struct Outcome {
    ConstructionResult result;
    std::vector<std::string> statuses;
    std::vector<std::size_t> entriesAtStatus;
    std::vector<std::string> lines;
};

Outcome Construct(const DimensionSettings& settings = {}) {
    Outcome run;
    run.result = BuildAddedDimension(settings, [&run](std::string_view text) {
        run.statuses.emplace_back(text);
        run.entriesAtStatus.push_back(OutputBuffer.size());
    });
    run.lines = OutputLines();
    return run;
}

Outcome ConstructFor(const HostInput& input, const DimensionSettings& settings = {}) {
    LoadHost(input);
    return Construct(settings);
}

// The records made of four numbers, in order: the picked line, the second extension line (when
// drawn), the dimension line (figure mode off), the leader, the horizontal line, the markers.
std::vector<std::vector<double>> Segments(const std::vector<std::string>& lines) {
    std::vector<std::vector<double>> segments;
    for (const std::string& line : lines) {
        std::vector<double> v = RecordNumbers(line);
        if (v.size() == 4) segments.push_back(v);
    }
    return segments;
}

void ExpectSegment(const std::vector<double>& actual, std::vector<double> expected,
                   const std::string& what) {
    ASSERT_EQ(actual.size(), 4u) << what;
    for (int i = 0; i < 4; ++i) EXPECT_NEAR(actual[i], expected[i], 1e-9) << what << " value " << i;
}

// Arrows 3 long at 15° at both ends of the horizontal dimension line (0, 20)-(100, 20).
const std::vector<std::string> kWorkedArrows = {
    "z3", "0 20 2.8977774788672 20.7764571353076",
    "z3", "0 20 2.8977774788672 19.2235428646924",
    "z3", "100 20 97.1022225211328 19.2235428646924",
    "z3", "100 20 97.1022225211328 20.7764571353076",
};

std::vector<std::string> Concat(std::vector<std::string> a, const std::vector<std::string>& b) {
    a.insert(a.end(), b.begin(), b.end());
    return a;
}

TEST(BuildAddedDimension, WorkedExample) {
    // Picked line (0, 0)-(0, 10), Q = (100, 0), K = (50, 20), V = (40, 25), all scales 1: the
    // line's end (0, 10) moves to (0, 22); "100" in text type 1 (width 3) has W = 4.5. As one
    // dimension figure, the dimension line and the value go out without segment, cc or z3.
    // clang-format off
    const std::vector<std::string> start = {
        "hd",
        "lg0", "ly0", "lc1", "lt1", "z3", "0 0 0 22",  // the picked line, lengthened
        "pn1", "cn\"$",                                 // the host's attributes, where changed
        "z3", "100 2 100 22",                           // second extension line
    };
    const std::vector<std::string> plain = {
        "z3", "0 20 100 20",                            // dimension line
        "cn1", "cc0", "z3", "cs 40 25 10 0 \"100",      // the value
    };
    const std::vector<std::string> figure = {"cn1", "msg", "0 20 100 20", "cs 40 25 10 0 \"100"};
    const std::vector<std::string> end = Concat({
        "z3", "50 20 45 24.5",                          // leader from the middle
        "z3", "39.5 24.5 45 24.5",                      // horizontal line under the value
    }, kWorkedArrows);
    // clang-format on
    for (const bool asFigure : {false, true}) {
        DimensionSettings settings;
        settings.DimensionFigure = asFigure;
        const Outcome run = ConstructFor(HostInput{}, settings);
        ASSERT_TRUE(run.result.Completed);
        EXPECT_TRUE(RecordsMatch(run.lines, Concat(Concat(start, asFigure ? figure : plain), end)))
            << " figure " << asFigure;
        // The construction lengthens its own copy of the picked line; HostState keeps it as read.
        EXPECT_EQ(HostState.SelectedLines[0].Y2, 10);
    }
}

TEST(OrientPickedLine, DimensionAngleAndBaseEnd) {
    struct Row {
        Point first, second;
        double a;
        bool turned;
    };
    const Row rows[] = {
        {{0, 0}, {10, 0}, 90, true},     // along +x: 270 before the turn
        {{10, 0}, {0, 0}, 90, false},    // along -x
        {{0, 0}, {0, 10}, 0, false},     // along +y
        {{0, 10}, {0, 0}, 0, true},      // along -y: 180 before the turn
        {{0, 0}, {10, 10}, 135, true},   // 45°
        {{0, 0}, {-10, 10}, 45, false},  // 135°
        {{0, 0}, {-10, -10}, 135, false}, {{0, 0}, {10, -10}, 45, true},
        {{0, 0}, {1, -1e-13}, 90, true},  // a hair below +x rounds to 360
        {{3, 4}, {3, 4}, 90, true},       // no direction: taken as +x
    };
    for (std::size_t i = 0; i < std::size(rows); ++i) {
        const Row& r = rows[i];
        const OrientedLine line = OrientPickedLine(r.first, r.second);
        EXPECT_NEAR(line.A, r.a, 1e-9) << " row " << i;
        EXPECT_EQ(line.turned, r.turned) << " row " << i;
        const Point base = r.turned ? r.second : r.first;
        const Point far = r.turned ? r.first : r.second;
        EXPECT_TRUE(line.B.x == base.x && line.B.y == base.y) << " row " << i;
        EXPECT_TRUE(line.P.x == far.x && line.P.y == far.y) << " row " << i;
    }
}

TEST(BuildAddedDimension, AxisAndObliqueDirections) {
    // In figure mode the dimension line and the text direction stand in two records after "msg".
    struct Row {
        const char* line;
        Point q, k;
        std::vector<double> dimensionLine;
        double dx, dy;
    };
    const double d = 7.0710678118654755;  // 10 cos 45°
    const Row rows[] = {
        {"0 0 10 0", {5, 100}, {20, 50}, {20, 0, 20, 100}, 0, 10},  // vertical text reads up
        {"10 0 0 0", {5, 100}, {20, 50}, {20, 0, 20, 100}, 0, 10},
        {"0 0 0 10", {100, 5}, {50, 20}, {0, 20, 100, 20}, 10, 0},
        {"0 10 0 0", {100, 5}, {50, 20}, {0, 20, 100, 20}, 10, 0},
        {"0 0 10 10", {20, 0}, {5, 25}, {15, 15, 25, 5}, d, -d},  // A = 135, text at 315
        {"0 0 -10 10", {-20, 0}, {-5, 25}, {-15, 15, -25, 5}, d, d},
        {"0 0 -10 -10", {-20, 0}, {-5, -25}, {-15, -15, -25, -5}, d, -d},
        {"0 0 10 -10", {20, 0}, {5, -25}, {15, -15, 25, -5}, d, d},
    };
    DimensionSettings settings;
    settings.DimensionFigure = true;
    for (std::size_t i = 0; i < std::size(rows); ++i) {
        HostInput input;
        input.line = rows[i].line;
        input.q = rows[i].q;
        input.k = rows[i].k;
        input.v = {30, 30};
        const Outcome run = ConstructFor(input, settings);
        const auto msg = std::find(run.lines.begin(), run.lines.end(), "msg");
        ASSERT_TRUE(msg != run.lines.end() && run.lines.end() - msg >= 3) << " row " << i;
        ExpectSegment(RecordNumbers(msg[1]), rows[i].dimensionLine, "row " + std::to_string(i));
        const std::string text = msg[2];
        const std::vector<double> header = RecordNumbers(text.substr(3, text.find('"') - 3));
        ExpectSegment(header, {30, 30, rows[i].dx, rows[i].dy}, "text of row " + std::to_string(i));
    }
}

TEST(BuildAddedDimension, LengtheningThePickedLine) {
    // In the frame of the picked line B lies at 0 and P at 10; K sets the dimension line's level.
    struct Row {
        const char* line;
        double level;      // K.y
        double overshoot;  // Edit6
        double x1, y1, x2, y2;
    };
    const Row rows[] = {
        {"0 0 0 10", 9, 2, 0, 0, 0, 11},    // nearer P: P reaches 2 beyond
        {"0 0 0 10", 1, 2, 0, 0, 0, 10},    // nearer B, between the ends: unchanged
        {"0 0 0 10", 15, 2, 0, 0, 0, 17},   // beyond P
        {"0 0 0 10", -5, 2, 0, -7, 0, 10},  // beyond B
        {"0 0 0 10", 7, 2, 0, 0, 0, 10},    // already reaches 2 beyond
        {"0 0 0 10", 5, 2, 0, 0, 0, 10},    // equally near: B considered, between the ends
        {"0 0 0 10", 9, 20, 0, 0, 0, 29},
        {"0 0 0 10", -5, 20, 0, -25, 0, 10},
        // Between the ends and nearer B with a long overshoot: the line already crosses the
        // dimension line, so B must not jump to 25 (or 23) past it.
        {"0 0 0 10", 5, 20, 0, 0, 0, 10},
        {"0 0 0 10", 3, 20, 0, 0, 0, 10},
        // Stored the other way round: P is the stored first end.
        {"0 10 0 0", 9, 2, 0, 11, 0, 0},
        {"0 10 0 0", -5, 2, 0, 10, 0, -7},
        {"0 10 0 0", 5, 20, 0, 10, 0, 0},
    };
    for (std::size_t i = 0; i < std::size(rows); ++i) {
        const Row& r = rows[i];
        HostInput input;
        input.line = r.line;
        input.k = {50, r.level};
        input.q = {100, r.level < 0 ? 10.0 : 0.0};
        DimensionSettings settings;
        settings.ExtensionOvershoot = r.overshoot;
        const Outcome run = ConstructFor(input, settings);
        ASSERT_TRUE(run.result.Completed) << " row " << i;
        // The picked line goes out again as it now stands.
        EXPECT_EQ(Segments(run.lines).at(0), (std::vector<double>{r.x1, r.y1, r.x2, r.y2}))
            << " row " << i;
    }
}

TEST(BuildAddedDimension, EqualDistanceConsidersTheBaseEnd) {
    // A picked line of no length is equally far from the dimension line at both ends. Turned
    // (taken as pointing along +x), its base end is the stored second one, and that end moves.
    HostInput input;
    input.line = "0 0 0 0";
    input.q = {5, 100};
    input.k = {5, 50};
    const Outcome run = ConstructFor(input);
    ASSERT_TRUE(run.result.Completed);
    ExpectSegment(Segments(run.lines).at(0), {0, 0, 7, 0}, "picked line");
}

TEST(BuildAddedDimension, LineInAnotherLayerGroupKeepsItsUnchangedEndExactly) {
    // Current group 0 at scale 2, the line's group 2 at scale 14: k = 1/7. x / 7 * 7 written with
    // 15 digits is 0.630399293426394, so only an end that is left alone keeps ...395 and 0.3.
    HostInput input;
    input.before = {"hs 2 1 14 1 1 1 1 1 1 1 1 1 1 1 1 1", "lg0", "ly0", "lc1", "lt1", "lg2"};
    const double x = 0.6303992934263946;
    input.line = "0.6303992934263946 0.3 0.6303992934263946 0.7";
    const Outcome run = ConstructFor(input);
    ASSERT_TRUE(run.result.Completed);
    const auto segments = Segments(run.lines);
    ASSERT_GE(segments.size(), 3u);
    EXPECT_EQ(segments[0][0], 0.630399293426395);
    EXPECT_EQ(segments[0][1], 0.3);
    ExpectSegment(segments[0], {x, 0.3, x, 168}, "picked line");  // (20 + 2 x 2) x 14 / 2
    ExpectSegment(segments[1], {100, 4, 100, 24}, "second extension line, gap 2 x 2");
    ExpectSegment(segments[2], {x / 7, 20, 100, 20}, "dimension line");
}

TEST(BuildAddedDimension, ValueTextType) {
    // Text type n has width n and spacing n / 10; "100" runs 1.5 widths and 2 half gaps.
    struct Row {
        int index;                // ComboBox3
        const char* hostType;     // the host's text type record
        const char* valueRecord;  // the text type of the value
        const char* restored;     // the record restoring the host's type, "" for none
        double run;               // W
    };
    const Row rows[] = {
        {0, "cn0 2.5 3.5 0.5 4", "cn0 2.5 3.5 0.5 4", "", 1.5 * 2.5 + 0.5},
        {0, "cn3", "cn3", "", 4.5 + 0.3},
        {0, "cn12", "cn1", nullptr, 1.5 + 0.1},  // outside 1..10: type 1
        {5, "cn1", "cn5", "cn1", 7.5 + 0.5},
        {4, "cn0 2.5 3.5 0.5 4", "cn4", "cn0 2.5 3.5 0.5 4", 6 + 0.4},
        {10, "cn2", "cn10", "cn2", 15 + 1},
    };
    for (std::size_t i = 0; i < std::size(rows); ++i) {
        const Row& r = rows[i];
        HostInput input;
        input.before = {kAllScalesOne,
                        "hcw 1 2 3 4 5 6 7 8 9 10",
                        "hch 1 2 3 4 5 6 7 8 9 10",
                        "hcd 0.1 0.2 0.3 0.4 0.5 0.6 0.7 0.8 0.9 1",
                        "hcc 1 2 3 4 5 6 7 8 1 2",
                        r.hostType};
        DimensionSettings settings;
        settings.ValueTextType = r.index;
        const Outcome run = ConstructFor(input, settings);
        std::vector<std::string> types;
        for (const std::string& line : run.lines) {
            if (line.rfind("cn", 0) == 0 && line.rfind("cn\"", 0) != 0) types.push_back(line);
        }
        ASSERT_FALSE(types.empty()) << " row " << i;
        EXPECT_EQ(types[0], r.valueRecord) << " row " << i;
        if (r.restored) {
            EXPECT_EQ(types.size(), *r.restored ? 2u : 1u) << " row " << i;
            if (*r.restored && types.size() == 2) {
                EXPECT_EQ(types[1], r.restored) << " row " << i;
            }
        }
        // The horizontal line covers the text with a margin of 0.5 on either side.
        const std::vector<double> horizontal = Segments(run.lines).at(4);
        EXPECT_NEAR(horizontal[2] - horizontal[0], r.run + 1, 1e-12) << " row " << i;
    }
}

TEST(BuildAddedDimension, SecondExtensionLine) {
    struct Row {
        Point q;
        bool drawn;
        std::vector<double> segment;
    };
    const Row rows[] = {
        {{100, 0}, true, {100, 2, 100, 22}},    // below the dimension line
        {{100, 40}, true, {100, 38, 100, 18}},  // above it: drawn downwards
        {{100, 17.5}, true, {100, 19.5, 100, 22}},
        {{100, 19}, false, {}},  // within the gap
        {{100, 22}, false, {}},  // exactly the gap away
    };
    for (std::size_t i = 0; i < std::size(rows); ++i) {
        HostInput input;
        input.q = rows[i].q;
        const Outcome run = ConstructFor(input);
        ASSERT_TRUE(run.result.Completed) << " row " << i;
        const auto segments = Segments(run.lines);
        ASSERT_GE(segments.size(), 3u);
        const std::string what = "row " + std::to_string(i);
        if (rows[i].drawn) {
            ExpectSegment(segments[1], rows[i].segment, what);
            ExpectSegment(segments[2], {0, 20, 100, 20}, what);
        } else {
            ExpectSegment(segments[1], {0, 20, 100, 20}, what);  // straight to the dimension line
        }
    }
}

TEST(BuildAddedDimension, LeaderRunsToTheNearerEndOfTheHorizontalLine) {
    // The middle M of the dimension line is (50, 20); the horizontal line is 5.5 long.
    struct Row {
        Point v;
        std::vector<double> leader;
    };
    const Row rows[] = {
        {{40, 25}, {50, 20, 45, 24.5}},    // before M: to U2
        {{45, 25}, {50, 20, 50, 24.5}},    // U2 exactly above M: still U2
        {{48, 25}, {50, 20, 47.5, 24.5}},  // straddling M: to U1
        {{60, 25}, {50, 20, 59.5, 24.5}},  // after M: to U1
    };
    for (std::size_t i = 0; i < std::size(rows); ++i) {
        HostInput input;
        input.v = rows[i].v;
        const Outcome run = ConstructFor(input);
        ExpectSegment(Segments(run.lines).at(3), rows[i].leader, "row " + std::to_string(i));
    }
}

TEST(BuildAddedDimension, ProgressTexts) {
    const Outcome run = ConstructFor(HostInput{});
    ASSERT_EQ(run.statuses.size(), 2u);
    EXPECT_EQ(run.statuses[0], kStatusWorking);
    EXPECT_EQ(run.statuses[1], kStatusWriting);
    EXPECT_EQ(run.entriesAtStatus[0], 0u);  // shown before the first record
    EXPECT_EQ(run.entriesAtStatus[1], OutputBuffer.size());
    // No callback at all is fine too.
    LoadHost(HostInput{});
    EXPECT_TRUE(BuildAddedDimension(DimensionSettings{}, nullptr).Completed);
}

// Everything a refused construction must leave alone.
std::string Snapshot() {
    const THostState& s = HostState;
    std::ostringstream out;
    out << std::hexfloat;
    for (const TJwwEntLine& l : s.SelectedLines) {
        out << l.LayerGroup << l.Flags << ' ' << l.X1 << ' ' << l.Y1 << ' ' << l.X2 << ' ' << l.Y2;
    }
    const CurrentAttributes& c = s.Cur;
    out << '|' << c.CurLayerGroup << c.CurLayer << c.CurLineColor << c.CurLineType << c.CurLineWidth
        << c.CurTextType << c.CurCcValue << c.CurPointColor << c.CurFontName;
    const FirstPendingFlags& f = s.FirstPending;
    out << '|' << f.LayerGroup << f.Layer << f.LineColor << f.LineType << f.LineWidth << f.TextType
        << f.TextColor << f.FontName << f.PointColor;
    return out.str();
}

TEST(BuildAddedDimension, Refusals) {
    struct Row {
        const char* what;
        std::vector<std::string> host;  // followed by K and V
        std::string_view message;
    };
    const std::string ones = kAllScalesOne;
    const std::string zero = "hs 0 1 1 1 1 1 1 1 1 1 1 1 1 1 1 1";
    const std::string q = "hp2 100 0";
    const std::string onLine = "hp2 0 50";  // Q on the picked line: L = 0
    // clang-format off
    const Row rows[] = {
        {"no line", {ones, "z3", q}, kMsgNoLine},
        {"a circle only", {ones, "z3", "ci 0 0 5", q}, kMsgNoLine},
        {"no line, scale 0", {zero, q}, kMsgNoLine},
        {"other flags only", {ones, "z1", "z2", "z4", "z5", "0 0 0 10", q}, kMsgNoDimensionAttribute},
        {"no flags", {ones, "0 0 0 10", q}, kMsgNoDimensionAttribute},
        {"only the first line counts", {ones, "0 0 0 10", "z3", "0 0 0 20", q}, kMsgNoDimensionAttribute},
        {"Q on the picked line", {ones, "z3", "0 0 0 10", onLine}, kMsgZeroDimension},
        {"Q on it, no attribute", {ones, "0 0 0 10", onLine}, kMsgNoDimensionAttribute},
        {"current group at scale 0", {zero, "z3", "0 0 0 10", q}, kMsgZeroScale},
        {"line's group at scale 0", {"hs 1 1 0 1 1 1 1 1 1 1 1 1 1 1 1 1", "lg0", "lg2", "z3", "0 0 0 10", q}, kMsgZeroScale},
        {"scale 0 before the attribute", {zero, "0 0 0 10", q}, kMsgZeroScale},
    };
    // clang-format on
    for (const Row& r : rows) {
        const test_state::ScopedHostState fresh;
        for (const std::string& record : r.host) ParseExchangeText(record);
        ParseExchangeText("hp3 50 20");
        ParseExchangeText("hp4 40 25");
        ResetWriterState();
        const std::string before = Snapshot();
        const Outcome run = Construct();
        EXPECT_FALSE(run.result.Completed) << r.what;
        EXPECT_EQ(run.result.RefusalMessage, r.message) << r.what;
        EXPECT_TRUE(OutputBuffer.empty()) << r.what;
        EXPECT_TRUE(run.statuses.empty()) << r.what;
        EXPECT_EQ(Snapshot(), before) << r.what;
    }
}

TEST(BuildAddedDimension, NumbersBeyondTheDoublesAreRefused) {
    // A number that leaves the range of doubles would reach the answer as "0" (or as garbage from
    // inf - inf): refused like a dimension of no length, with nothing appended. Huge numbers that
    // stay finite, or that feed nothing written, still give a drawing.
    struct Row {
        const char* what;
        HostInput host;
        DimensionSettings settings;
        bool refused;
    };
    const auto scales = [](const char* hs, const char* lineGroup) {
        return std::vector<std::string>{hs, "lg0", "ly0", "lc1", "lt1", lineGroup};
    };
    const char* tiny = "hs 1e-300 1 1 1 1 1 1 1 1 1 1 1 1 1 1 1";
    std::vector<Row> rows(9);
    rows[0] = {"k overflows", {}, {}, true};
    rows[0].host.before = scales("hs 1e300 1e-300 1 1 1 1 1 1 1 1 1 1 1 1 1 1", "lg1");
    rows[1] = {"coordinates at the edge", {}, {}, true};
    rows[1].host.line = "-1e308 -1e308 1e308 1e308";
    rows[1].host.q = {1e308, -1e308};
    rows[1].host.k = {-1e308, 1e308};
    rows[1].host.v = {1e308, 1e308};
    rows[2] = {"lengthened end beyond the doubles in the line's units", {}, {}, true};
    rows[2].host.before = scales(tiny, "lg1");
    rows[2].host.line = "0 0 0 1e300";  // (0, 0)-(0, 1) in the current group's units
    rows[2].host.k = {50, 1e10};
    rows[3] = {"horizontal line: 2 x Edit4 overflows", {}, {}, true};
    rows[3].settings.ValueGap = -1e308;
    rows[4] = {"arrow strokes of 1000 x 1e306", {}, {}, true};
    rows[4].host.before = {"hs 1e306 1 1 1 1 1 1 1 1 1 1 1 1 1 1 1"};
    rows[4].settings.ArrowLength = 1000;
    rows[5] = {"overshoot of reversed markers", {}, {}, true};
    rows[5].host.before = {"hs 10 1 1 1 1 1 1 1 1 1 1 1 1 1 1 1"};
    rows[5].host.q = {10, 0};
    rows[5].settings.ReverseOvershoot = 1e308;
    rows[6] = {"the same overshoot unused: markers fit", rows[5].host, rows[5].settings, false};
    rows[6].host.q = {100, 0};
    rows[7] = {"coordinates of 1e300", {}, {}, false};
    rows[7].host.line = "0 0 0 1e300";
    rows[7].host.q = {1e300, 0};
    rows[7].host.k = {5e299, 1e300};
    rows[8] = {"end-point scale 1e308: shapes reversed", {}, {}, false};
    rows[8].settings.StartMarker = rows[8].settings.EndMarker = 1;
    rows[8].settings.EndPointScale = 1e308;
    for (const Row& r : rows) {
        LoadHost(r.host);
        const std::string before = Snapshot();
        const Outcome run = Construct(r.settings);
        EXPECT_EQ(run.result.Completed, !r.refused) << r.what;
        if (r.refused) {
            EXPECT_EQ(run.result.RefusalMessage, kMsgZeroDimension) << r.what;
            EXPECT_TRUE(OutputBuffer.empty()) << r.what;
            EXPECT_EQ(Snapshot(), before) << r.what;
        }
    }
    // What the finite ones draw.
    const Outcome huge = ConstructFor(rows[7].host);
    EXPECT_NE(std::find(huge.lines.begin(), huge.lines.end(), "0 1E300 1E300 1E300"),
              huge.lines.end());
    const Outcome shapes = ConstructFor(HostInput{}, rows[8].settings);
    std::vector<std::string> points;
    for (const std::string& line : shapes.lines) {
        if (line.rfind("pt ", 0) == 0) points.push_back(line);
    }
    EXPECT_TRUE(RecordsMatch(points, {"pt 0 20 1E308 0 1", "pt 100 20 1E308 180 1"}));
}

TEST(BuildAddedDimension, MissingReferencePointsAreTheOrigin) {
    // Without hp4 the value stands at (0, 0); without hp2 too, Q = (0, 0) lies on the picked
    // line and the dimension has no length.
    for (const bool withMeasuredPoint : {true, false}) {
        const test_state::ScopedHostState fresh;
        for (const char* record : {kAllScalesOne, "lg0", "ly0", "lc1", "lt1", "cn1", "z3"}) {
            ParseExchangeText(record);
        }
        ParseExchangeText("0 0 0 10");
        if (withMeasuredPoint) ParseExchangeText("hp2 100 0");
        ParseExchangeText("hp3 50 20");
        ResetWriterState();
        const Outcome run = Construct();
        EXPECT_EQ(run.result.Completed, withMeasuredPoint);
        if (!withMeasuredPoint) {
            EXPECT_EQ(run.result.RefusalMessage, kMsgZeroDimension);
            continue;
        }
        EXPECT_NE(std::find(run.lines.begin(), run.lines.end(), "cs 0 0 10 0 \"100"),
                  run.lines.end());
    }
}

TEST(BuildAddedDimension, DimensionAttributeAmongOtherFlags) {
    HostInput input;
    input.flags = {"z1", "z3", "z5"};
    const Outcome run = ConstructFor(input);
    ASSERT_TRUE(run.result.Completed);
    const std::vector<std::string> picked(run.lines.begin() + 5, run.lines.begin() + 9);
    EXPECT_TRUE(RecordsMatch(picked, {"z1", "z3", "z5", "0 0 0 22"}));
}

// The picked line again, in a layer group the reader never gives (it keeps groups in 0..15).
void PickLineInGroup(int group) {
    TJwwEntLine line = HostState.SelectedLines[0];
    line.LayerGroup = group;
    HostState.SelectedLines = {};
    HostState.SelectedLines.Append(line, {"0", "0", "0", "10"});
}

TEST(BuildAddedDimension, LayerGroupOutsideTheTableCountsAsGroupZero) {
    // The scale table is never overrun.
    HostInput input;
    input.before = {"hs 1 5 5 5 5 5 5 5 5 5 5 5 5 5 5 5"};
    LoadHost(input);
    PickLineInGroup(99);
    const Outcome run = Construct();
    ASSERT_TRUE(run.result.Completed);
    EXPECT_EQ(Segments(run.lines).at(0)[3], 22);  // k = 1: group 0's scale on both sides

    LoadHost(input);
    PickLineInGroup(-1);
    HostState.LayerGroupScale[0] = 0;
    EXPECT_EQ(Construct().result.RefusalMessage, kMsgZeroScale);
    EXPECT_TRUE(OutputBuffer.empty());
}

}  // namespace
}  // namespace dovarin
