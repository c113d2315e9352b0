// Rounding and plane geometry. Rounding results that depend on the 80-bit intermediates were
// computed independently by emulating the x87 format with exact fractions.
#include <gtest/gtest.h>

#include <cmath>
#include <limits>

#include "util/MyFunc.h"

namespace dovarin {
namespace {

TEST(RoundToDigits, ModesOnTheMagnitudeInExtendedPrecision) {
    struct Row {
        int digits, mode;
        double x, expected;
    };
    const Row rows[] = {
        {1, 2, 1234.56, 1234.6},
        {1, 0, 1234.56, 1234.5},
        {1, 1, 1234.56, 1234.6},
        {1, 1, 2.04, 2.1},
        {1, 1, 2.005, 2.0},
        {0, 2, 2.5, 3},
        {2, 1, -1.234, -1.24},
        {3, 0, 0.0004, 0},
        {14, 2, 2.5, 3},
        {-3, 2, 7.5, 8},
        {0, 0, -7.9, -7},
        {1, 1, 2.01, 2.0},  // 0.1 of a unit is dropped
        {2, 1, 0.291, 0.29},
        {2, 2, 1.005, 1.0},
        {2, 0, 1.13, 1.12},
        {2, 2, 4.35, 4.35},
        {1, 2, 1.15, 1.1},      // doubles would give 1.2
        {2, 2, -2.675, -2.67},  // doubles would give -2.68
        {3, 2, 1e20, 1e20},     // doubles would give 9.999999999999998e19
        {13, 2, 0.1234567890123456, 0.1234567890123},
        {7, 5, 0, 0},
    };
    for (size_t i = 0; i < std::size(rows); ++i) {
        const Row& r = rows[i];
        EXPECT_EQ(RoundToDigits(r.digits, r.mode, r.x), r.expected) << " row " << i;
    }
}

TEST(RoundTenDigits, HalfAwayFromZeroOnTheTenDigitGrid) {
    struct Row {
        double x, expected;
    };
    const Row rows[] = {
        {0.12345678901234, 0.123456789},
        {-0.12345678901234, -0.123456789},
        {1.00000000005, 1.0000000001},
        {2.5e-11, 0},
        {5e-11, 1e-10},
        {1.5e-10, 1e-10},
        {-2.5e-10, -3e-10},
        {123.456789012345, 123.4567890123},
        {359.99999999995, 359.9999999999},
    };
    for (size_t i = 0; i < std::size(rows); ++i) {
        EXPECT_EQ(RoundTenDigits(rows[i].x), rows[i].expected) << " row " << i;
    }
}

TEST(Distance, SumsAndRootsWithoutOverflow) {
    EXPECT_EQ(Distance(0, 0, 3, 4), 5);
    EXPECT_EQ(Distance(Point{1, 1}, Point{-2, -3}), 5);
    EXPECT_EQ(Distance(0, 0, std::ldexp(3, 700), std::ldexp(4, 700)),
              std::ldexp(5, 700));  // the squares exceed a double
    EXPECT_EQ(Distance(7, 7, 7, 7), 0);
}

TEST(Direction, QuadrantsAndDegenerateVectors) {
    struct Row {
        double dx, dy, degrees;
    };
    const Row rows[] = {
        {1, 0, 0},
        {0, 1, 90},
        {-1, 0, 180},
        {0, -1, 270},
        {1, 1, 45},
        {-1, -1, 225},
        {0, 0, 0},
        {1e-11, -1e-11, 0},
        {1, -1e-17, 360},  // a hair below the x axis
                           // rounds to a whole turn
        {-3, 3, 135},
    };
    for (size_t i = 0; i < std::size(rows); ++i) {
        const Row& r = rows[i];
        EXPECT_EQ(DirectionDegrees(r.dx, r.dy), r.degrees) << " row " << i;
        const double radians = DirectionRadians(r.dx, r.dy);
        EXPECT_GE(radians, 0) << " row " << i;
        EXPECT_LT(static_cast<long double>(radians), kTwoPi) << " row " << i;
    }
    EXPECT_EQ(DirectionRadians(1e-11, -1e-11), 0);
    EXPECT_GT(DirectionRadians(1e-10, 0) + DirectionRadians(0, -1e-10), 0);  // not below the limit
    EXPECT_NEAR(DirectionRadians(0, -1), 1.5 * static_cast<double>(kPi), 1e-15);
}

TEST(NormalizeDegrees, IntoOneTurn) {
    struct Row {
        double angle, expected;
    };
    const Row rows[] = {
        {-90, 270},
        {720, 0},
        {359.99999999995, 0},
        {-360, 0},
        {450, 90},
        {-0.5, 359.5},
        {1080.25, 0.25},
        {-1e-300, 0},
        {-719, 1},
        {0, 0},
        {-359.99999999995, 0},
        {std::numeric_limits<double>::quiet_NaN(), 0},
        {std::numeric_limits<double>::infinity(), 0},
    };
    for (size_t i = 0; i < std::size(rows); ++i) {
        const double a = NormalizeDegrees(rows[i].angle);
        EXPECT_EQ(a, rows[i].expected) << " row " << i;
        EXPECT_FALSE(std::signbit(a)) << " row " << i;
    }
    for (double huge : {1e20, -1e20, 1e300, -1.7976931348623157e308, 9.3e18}) {
        const double a = NormalizeDegrees(huge);
        EXPECT_TRUE(a >= 0 && a < 360) << huge << " gives " << a;
    }
}

TEST(CosSinRadians, CorrectlyRoundedAndTheSameOnEveryTarget) {
    // Expected: the exact cosine and sine rounded to double (worked out with 300-bit arithmetic).
    struct Row {
        double theta, cos, sin;
    };
    const Row rows[] = {
        {0, 1, 0},
        {1e-10, 1, 1e-10},
        {0.5, 0.8775825618903728, 0.479425538604203},
        {0.5235987755982988, 0.8660254037844387, 0.49999999999999994},  // pi/6
        {0.7853981633974483, 0.7071067811865476, 0.7071067811865475},   // pi/4
        {1.5707963267948966, 6.123233995736766e-17, 1},                 // pi/2
        {3.141592653589793, -1, 1.2246467991473532e-16},
        {4.71238898038469, -1.8369701987210297e-16, -1},
        {6.283185307179586, 1, -2.4492935982947064e-16},
        {-1.5707963267948966, 6.123233995736766e-17, -1},
        {-2.5, -0.8011436155469337, -0.5984721441039565},
        {100, 0.8623188722876839, -0.5063656411097588},
        {1e9, 0.8378871813639024, 0.5458434494486996},
    };
    for (size_t i = 0; i < std::size(rows); ++i) {
        EXPECT_EQ(static_cast<double>(CosRadians(rows[i].theta)), rows[i].cos) << " row " << i;
        EXPECT_EQ(static_cast<double>(SinRadians(rows[i].theta)), rows[i].sin) << " row " << i;
    }
}

TEST(RotatePoint, CounterClockwiseAboutTheCentre) {
    struct Row {
        Point p, centre;
        double angle;
        Point expected;
    };
    const Row rows[] = {
        {{2, 1}, {1, 1}, 90, {1, 2}},
        {{5, 3}, {2, -1}, 180, {-1, -5}},
        {{2, 1}, {1, 1}, -90, {1, 0}},
        {{3, 4}, {0, 0}, 360, {3, 4}},
        {{1, 0}, {0, 0}, 30, {std::sqrt(3.0) / 2, 0.5}},
    };
    for (size_t i = 0; i < std::size(rows); ++i) {
        const Point q = RotatePoint(rows[i].p, rows[i].centre, rows[i].angle);
        EXPECT_NEAR(q.x, rows[i].expected.x, 1e-12) << " row " << i;
        EXPECT_NEAR(q.y, rows[i].expected.y, 1e-12) << " row " << i;
    }
    double rx = 0, ry = 0;
    RotatePoint(1234.5678, -0.1, 17, 3, 0, rx, ry);  // a turn by 0 changes nothing
    EXPECT_EQ(rx, 1234.5678);
    EXPECT_EQ(ry, -0.1);
    RotatePointRadians(2, 1, 1, 1, static_cast<double>(kPi / 2), rx, ry);
    EXPECT_NEAR(rx, 1, 1e-15);
    EXPECT_NEAR(ry, 2, 1e-15);
}

TEST(RotatePoint, QuarterTurnsOfALongArmAreExact) {
    // A long arm shows cos 90 degrees (6.123233995736766e-17) to all its digits; the x87
    // instruction behind the MinGW runtime's cosine gave 6.12303e-17 here.
    struct Row {
        Point p, centre;
        double angle;
        Point expected;
    };
    const Row rows[] = {
        {{0, 1e16}, {0, 0}, 90, {-1e16, 0.6123233995736767}},
        {{3, 1e15}, {1, -2}, 270, {1000000000000003.0, -4.1836970198721035}},
    };
    for (size_t i = 0; i < std::size(rows); ++i) {
        const Point q = RotatePoint(rows[i].p, rows[i].centre, rows[i].angle);
        EXPECT_EQ(q.x, rows[i].expected.x) << " row " << i;
        EXPECT_EQ(q.y, rows[i].expected.y) << " row " << i;
    }
}

}  // namespace
}  // namespace dovarin
