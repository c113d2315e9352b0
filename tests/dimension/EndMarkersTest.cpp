#include <gtest/gtest.h>

#include <cmath>
#include <string>
#include <vector>

#include "dimension/Dimension.h"
#include "dimension/RecordMatch.h"
#include "exchange/JwwGaibu.h"

namespace dovarin {
namespace {

using test::RecordNumbers;
using test::RecordsMatch;

constexpr int kLineArrow = 0;

// The records DrawEndMarkers appends for F1-F2 on a fresh writer.
std::vector<std::string> Markers(Point f1, Point f2, double s, const DimensionSettings& settings) {
    InitHostState();
    ResetWriterState();
    DrawEndMarkers(f1, f2, s, settings);
    return OutputLines();
}

DimensionSettings MarkerSettings(int start, int end, double scale = 1, double length = 3,
                                 double angle = 15, double overshoot = 2) {
    DimensionSettings s;
    s.StartMarker = start;
    s.EndMarker = end;
    s.EndPointScale = scale;
    s.ArrowLength = length;
    s.ArrowAngle = angle;
    s.ReverseOvershoot = overshoot;
    return s;
}

// Whether the start marker at F1 = (0, 0) of a line along +x points inwards from outside: its
// first segment (overshoot or stroke) leaves towards -x, or its point record is turned to 0.
bool StartReversed(const std::vector<std::string>& lines) {
    for (const std::string& line : lines) {
        if (line.rfind("pt ", 0) == 0) {
            const std::vector<double> v = RecordNumbers(line.substr(3));
            return std::fabs(v.at(3)) < 1e-9;
        }
        const std::vector<double> v = RecordNumbers(line);
        if (v.size() == 4) return v[2] < 0;
    }
    ADD_FAILURE() << "no start marker";
    return false;
}

TEST(DrawEndMarkers, ReversedArrowsWithOvershoot) {
    // Two arrows of extent 2.898 each do not fit a line of 4: both point inwards from outside,
    // each after the dimension line's continuation by the overshoot.
    const std::vector<std::string> expected = {
        "z3", "0 0 -2 0",
        "z3", "0 0 -2.8977774788672 -0.776457135307562",
        "z3", "0 0 -2.8977774788672 0.776457135307562",
        "z3", "4 0 6 0",
        "z3", "4 0 6.8977774788672 0.776457135307562",
        "z3", "4 0 6.8977774788672 -0.776457135307562",
    };
    EXPECT_TRUE(RecordsMatch(Markers({0, 0}, {4, 0}, 1, MarkerSettings(0, 0)), expected));
}

TEST(DrawEndMarkers, OvershootOnlyWhenReversedAndLongEnough) {
    struct Row {
        double lineLength;
        double overshoot;  // paper mm
        double s;
        std::size_t records;
    };
    const Row rows[] = {
        {4, 2, 1, 12},       // reversed: overshoot at both ends
        {4, 0, 1, 8},        // reversed, no overshoot
        {4, 1e-11, 1, 8},    // r = 1e-11 is no length
        {4, 2e-11, 10, 10},  // r = 2e-10 is: flags go out, the writer drops the tiny segments
        {100, 5, 1, 8},      // fits: never an overshoot
    };
    for (std::size_t i = 0; i < std::size(rows); ++i) {
        const Row& r = rows[i];
        const auto lines =
            Markers({0, 0}, {r.lineLength, 0}, r.s, MarkerSettings(0, 0, 1, 3, 15, r.overshoot));
        EXPECT_EQ(lines.size(), r.records) << " row " << i;
    }
}

TEST(DrawEndMarkers, FitDecision) {
    struct Row {
        int start, end;
        double scale, length, angle, s;
        double lineLength;
        bool reversed;
    };
    const double diagonal = 1.7677669529663689;  // 1.25 x sqrt 2
    const Row rows[] = {
        // 2 x 3 cos 15° x 100 = 579.555
        {kLineArrow, kLineArrow, 1, 3, 15, 100, 579.5, true},
        {kLineArrow, kLineArrow, 1, 3, 15, 100, 579.6, false},
        // Exactly filling the line still fits.
        {2, 2, 1, 3, 15, 1, 2.5, false},
        {2, 2, 1, 3, 15, 1, 2.4999999, true},
        {8, 10, 1, 3, 15, 1, 2 * diagonal, false},
        {8, 10, 1, 3, 15, 1, std::nextafter(2 * diagonal, 0.0), true},
        // e scales the shape (15) but not the arrow (2.898): 17.898.
        {1, kLineArrow, 2, 3, 15, 1, 17.8, true},
        {1, kLineArrow, 2, 3, 15, 1, 18, false},
        {kLineArrow, 11, 2, 3, 15, 1, 18, false},
        // Above 90° the arrow's extent is negative: 7.5 - 1.5 = 6.
        {6, kLineArrow, 1, 3, 120, 1, 6.2, false},
        {6, kLineArrow, 1, 3, 120, 1, 5.9, true},
        // Different shapes add up, times s: (7.5 + 1.25) x 2.
        {9, 4, 1, 3, 15, 2, 17.4, true},
        {9, 4, 1, 3, 15, 2, 17.6, false},
        {3, 5, 1, 3, 15, 1, 2.4, true},
        {7, 7, 4, 3, 15, 1, 10, false},
        // Extents in plain doubles: 2 x 0.5 cos 10 deg x 10 is 9.8480775301220795 there; carried
        // in extended precision the sum came out 9.8480775301220813 and reversed the markers.
        {kLineArrow, kLineArrow, 1, 0.5, 10, 10, 9.8480775301220795, false},
        {kLineArrow, kLineArrow, 1, 0.5, 10, 10, 9.8480775301220777, true},
    };
    for (std::size_t i = 0; i < std::size(rows); ++i) {
        const Row& r = rows[i];
        ASSERT_EQ(Distance(0, 0, r.lineLength, 0), r.lineLength) << " row " << i;
        const auto lines = Markers({0, 0}, {r.lineLength, 0}, r.s,
                                   MarkerSettings(r.start, r.end, r.scale, r.length, r.angle));
        EXPECT_EQ(StartReversed(lines), r.reversed) << " row " << i;
    }
}

TEST(DrawEndMarkers, PointRecordsCarryCodeScaleAndAngle) {
    // The end-point scale goes out as entered, not times s; each kind is its own code.
    for (int kind = 1; kind <= 11; ++kind) {
        const auto lines = Markers({0, 0}, {1000, 0}, 10, MarkerSettings(kind, 12 - kind, 2.5));
        const std::vector<std::string> expected = {
            "z3",
            "pt 0 0 2.5 180 " + std::to_string(kind),
            "z3",
            "pt 1000 0 2.5 0 " + std::to_string(12 - kind),
        };
        EXPECT_TRUE(RecordsMatch(lines, expected)) << " kind " << kind;
    }
}

TEST(DrawEndMarkers, ReversedStartAngleWrapsBelowFullTurn) {
    // F2 -> F1 points at 200°: reversed, the start marker is turned to 380 - 360 = 20.
    const Point f2{0, 0};
    const Point f1 = RotatePoint({1, 0}, f2, 200);
    const auto lines = Markers(f1, f2, 1, MarkerSettings(1, 1, 1, 3, 15, 0));
    ASSERT_EQ(lines.size(), 4u);
    const std::vector<double> start = RecordNumbers(lines[1].substr(3));
    const std::vector<double> end = RecordNumbers(lines[3].substr(3));
    EXPECT_NEAR(start.at(3), 20, 1e-9);
    EXPECT_NEAR(end.at(3), 200, 1e-9);
}

}  // namespace
}  // namespace dovarin
