// Rounding and plane geometry.
//
// Each formula is evaluated in long double (the 80-bit x87 format on our targets) and only its
// result is rounded to double; values kept between steps are doubles. This keeps, for example,
// RoundToDigits(1, 2, 1.15) at 1.1: the double below 1.15 times 10 stays below 11.5 in extended
// precision, where plain doubles would round the product to 11.5 and give 1.2.
#include <array>
#include <cfloat>
#include <cmath>

#include "util/MyFunc.h"

namespace dovarin {

static_assert(LDBL_MANT_DIG == 64, "the rounding routines need the 80-bit long double");

namespace {

constexpr long double kTenDigitUnit = 1e-10L;
constexpr long double kRoundUpAdd = 0.9L;  // mode 1: 0.9 of the last unit
constexpr long double kHalfUpAdd = 0.5L;   // the other modes but 0
constexpr int kMaxRoundDigits = 13;
constexpr double kTurnTolerance = 1e-10;  // within this of 0 or 360 an angle is 0

constexpr long double kPowersOfTen[kMaxRoundDigits + 1] = {
    1e0L, 1e1L, 1e2L, 1e3L, 1e4L, 1e5L, 1e6L, 1e7L, 1e8L, 1e9L, 1e10L, 1e11L, 1e12L, 1e13L};

// Cosine and sine are computed here rather than by the C library: its long double functions
// differ between our targets (the MinGW runtime uses the x87 fcos/fsin instructions, which lose
// digits near multiples of pi/2 -- cos 90 degrees comes out as 6.12303e-17 instead of 6.12323e-17),
// and the rotated points must be the same bits on every target. The angle is reduced by the
// nearest multiple k of pi/2, given in three parts: the first two of at most 32 significant bits,
// so that k times them is exact for |k| < 2^32, the third of the next 64 bits. Beyond
// kMaxReducedAngle, where that no longer holds, the library's functions are used.
constexpr long double kHalfPiHigh = 0x1.921fb544p+0L;
constexpr long double kHalfPiMiddle = 0x1.0b4611a6p-34L;
constexpr long double kHalfPiLow = 0x1.3198a2e03707344ap-69L;
constexpr long double kTwoOverPi = 0x1.45f306dc9c882a54p-1L;
constexpr double kMaxReducedAngle = 0x1p30;

// Taylor coefficients (-1)^i / (2i + first)!, i = 1 .. 10: for |r| <= pi/4 the first term left
// out is below 1e-23 of the result, far under the last bit of a long double.
constexpr int kSeriesTerms = 10;
constexpr std::array<long double, kSeriesTerms> SeriesCoefficients(int first) {
    std::array<long double, kSeriesTerms> c{};
    long double term = 1;
    for (int i = 0, n = first; i < kSeriesTerms; ++i, n += 2) {
        term = -term / ((n + 1) * (n + 2));
        c[i] = term;
    }
    return c;
}
constexpr auto kSinCoefficients = SeriesCoefficients(1);  // -1/3!, 1/5!, ...
constexpr auto kCosCoefficients = SeriesCoefficients(0);  // -1/2!, 1/4!, ...

// sum over i of c[i] z^i, for z = r^2.
long double Series(const std::array<long double, kSeriesTerms>& c, long double z) {
    long double sum = 0;
    for (int i = kSeriesTerms - 1; i >= 0; --i) sum = sum * z + c[i];
    return sum;
}

struct SinCos {
    long double sin;
    long double cos;
};

SinCos SinCosRadians(double theta) {
    if (!(std::fabs(theta) <= kMaxReducedAngle)) {
        const long double t = theta;
        return {std::sin(t), std::cos(t)};
    }
    const long double k = std::round(theta * kTwoOverPi);
    const long double r = ((theta - k * kHalfPiHigh) - k * kHalfPiMiddle) - k * kHalfPiLow;
    const long double z = r * r;
    const long double s = r + r * z * Series(kSinCoefficients, z);
    const long double c = 1 + z * Series(kCosCoefficients, z);
    switch (static_cast<long long>(k) & 3) {  // the quarter turn that k ends in
        case 0:
            return {s, c};
        case 1:
            return {c, -s};
        case 2:
            return {-s, -c};
        default:
            return {-c, s};
    }
}

// An angle's remainder of whole turns for magnitudes where the extended formula is no longer
// exact (beyond about 1e19); fmod is exact. Gives [0, 360).
double WrapDegreesExactly(double x) {
    double r = std::fmod(std::fabs(x), kFullTurn);
    if (x < 0 && r != 0) r = kFullTurn - r;
    return r >= kFullTurn ? 0 : r;
}

}  // namespace

long double CosRadians(double theta) {
    return SinCosRadians(theta).cos;
}

long double SinRadians(double theta) {
    return SinCosRadians(theta).sin;
}

void SwapReals(double& a, double& b) {
    const double t = a;
    a = b;
    b = t;
}

double RoundTenDigits(double x) {
    // Divided by the unit, not multiplied by 1e10: the two differ in the last bit.
    const double r = static_cast<double>(
        std::trunc(std::fabs(static_cast<long double>(x)) / kTenDigitUnit + kHalfUpAdd) *
        kTenDigitUnit);
    return x >= 0 ? r : -r;
}

double RoundToDigits(int digits, int mode, double x) {
    const long double s =
        digits >= 1 && digits <= kMaxRoundDigits ? kPowersOfTen[digits] : kPowersOfTen[0];
    long double t = std::fabs(static_cast<long double>(x)) * s;
    if (mode == 1) {
        t += kRoundUpAdd;
    } else if (mode != 0) {
        t += kHalfUpAdd;
    }
    const double r = static_cast<double>(std::trunc(t) / s);
    return x >= 0 ? r : -r;
}

double Distance(double x1, double y1, double x2, double y2) {
    const long double dx = static_cast<long double>(x2) - x1;
    const long double dy = static_cast<long double>(y2) - y1;
    return static_cast<double>(std::sqrt(dx * dx + dy * dy));
}

double DirectionRadians(double dx, double dy) {
    if (std::fabs(dx) < kGeomZero && std::fabs(dy) < kGeomZero) return 0;
    double c =
        static_cast<double>(std::atan2(static_cast<long double>(dy), static_cast<long double>(dx)));
    if (c < 0) c = static_cast<double>(c + kTwoPi);
    return c;
}

double DirectionDegrees(double dx, double dy) {
    const double degrees = static_cast<double>(DirectionRadians(dx, dy) * kHalfTurn / kPi);
    return RoundTenDigits(degrees);
}

double NormalizeDegrees(double angle) {
    if (!std::isfinite(angle)) return 0;
    double a = std::fabs(angle);
    if (a >= kFullTurn) {
        const long double turns = std::trunc(static_cast<long double>(a) / kFullTurn);
        a = static_cast<double>(a - turns * kFullTurn);
    }
    if (std::fabs(a) <= kTurnTolerance) a = 0;
    if (std::fabs(a - kFullTurn) <= kTurnTolerance) a = 0;
    if (angle < 0) a = -a;
    if (a < 0) a += kFullTurn;
    if (a >= kFullTurn) a -= kFullTurn;
    // Only a huge angle, whose turns the extended formula cannot count exactly, gets here.
    if (!(a >= 0 && a < kFullTurn)) a = WrapDegreesExactly(angle);
    return a == 0 ? 0.0 : a;  // never -0 for a negative whole turn
}

void RotatePointRadians(double x, double y, double cx, double cy, double theta, double& rx,
                        double& ry) {
    const SinCos sc = SinCosRadians(theta);
    const double c = static_cast<double>(sc.cos);
    const double s = static_cast<double>(sc.sin);
    const long double ux = static_cast<long double>(x) - cx;
    const long double uy = static_cast<long double>(y) - cy;
    rx = static_cast<double>(cx + c * ux - s * uy);
    ry = static_cast<double>(cy + s * ux + c * uy);
}

void RotatePoint(double x, double y, double cx, double cy, double angle, double& rx, double& ry) {
    const double theta = static_cast<double>(static_cast<long double>(angle) / kHalfTurn * kPi);
    RotatePointRadians(x, y, cx, cy, theta, rx, ry);
}

}  // namespace dovarin
