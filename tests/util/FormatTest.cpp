// Number to text. Expected texts were worked out independently with Python's decimal module:
// the value's exact binary expansion taken to 18 digits, then rounded half away from zero.
#include <gtest/gtest.h>

#include <cmath>
#include <limits>

#include "util/MyFunc.h"

namespace dovarin {
namespace {

struct FixedRow {
    int digits;
    double value;
    const char* fixed;
    const char* grouped;
};

const FixedRow kFixedRows[] = {
    {1, 1234567.25, "1234567.3", "1,234,567.3"},
    {0, 12, "12", "12"},
    {3, 2.5, "2.500", "2.500"},
    {2, 0.125, "0.13", "0.13"},
    {2, 2.675, "2.67", "2.67"},            // the double lies below 2.675
    {2, 1234.005, "1234.01", "1,234.01"},  // ...but 18 digits of it round up to ...005
    {0, 1e15 + 0.5, "1000000000000001", "1,000,000,000,000,001"},
    // exactly on the tie at the 18th digit, ...3125: half away from zero, not to the even 2
    {3, 100000000000000.3125, "100000000000000.313", "100,000,000,000,000.313"},
    {0, -2.5, "-3", "-3"},
    {1, -0.25, "-0.3", "-0.3"},
    {1, -0.04, "0.0", "0.0"},  // no "-" in front of a zero
    {0, 0.49999999999999994, "0", "0"},
    {0, 999.5, "1000", "1,000"},
    {2, -1234567.891, "-1234567.89", "-1,234,567.89"},
    {0, 1e20, "100000000000000000000", "100,000,000,000,000,000,000"},
    {2, 1e-20, "0.00", "0.00"},
    {8, 1.0 / 3, "0.33333333", "0.33333333"},
    {8, -5e-9, "-0.00000001", "-0.00000001"},
    {4, 9999.99995, "9999.9999", "9,999.9999"},
    {5, 123456789.123456789, "123456789.12346", "123,456,789.12346"},
    {-1, 2.5, "3", "3"},                                        // below 0: no decimals
    {25, 0.1, "0.100000000000000006", "0.100000000000000006"},  // above 18: 18
    {2, std::numeric_limits<double>::quiet_NaN(), "0.00", "0.00"},
    {0, -std::numeric_limits<double>::infinity(), "0", "0"},
};

TEST(FormatFixedDigits, RoundsHalfAwayFromZeroAtTheLastDecimal) {
    for (size_t i = 0; i < std::size(kFixedRows); ++i) {
        const FixedRow& r = kFixedRows[i];
        EXPECT_EQ(FormatFixedDigits(r.digits, r.value), r.fixed) << " row " << i;
        EXPECT_EQ(FormatWithSeparators(r.digits, r.value), r.grouped) << " row " << i;
    }
}

TEST(FormatReal, FifteenDigitsPlainOrExponent) {
    struct Row {
        double value;
        const char* text;
    };
    const Row rows[] = {
        {0.0001, "0.0001"},
        {0.00001, "1E-5"},
        {1e15, "1E15"},
        {2.50, "2.5"},
        {1234.5678901234567, "1234.56789012346"},
        {-0.0, "0"},
        {0.1 + 0.2, "0.3"},
        {1.0 / 3, "0.333333333333333"},
        {-2.25e-7, "-2.25E-7"},
        {1.5e15, "1.5E15"},
        {999999999999999.0, "999999999999999"},
        {999999999999999.4, "999999999999999"},
        {999999999999999.5, "1E15"},  // rounds up into the exponent form
        {9.99999999999999949e14, "1E15"},
        {0.000099999999999999995, "0.0001"},  // rounds up into the plain form
        {0.00009999999999999, "9.999999999999E-5"},
        {-0.000123456789012345678, "-0.000123456789012346"},
        {9007199254740992.0, "9.00719925474099E15"},
        {123456789012345678.0, "1.23456789012346E17"},
        {1.7976931348623157e308, "1.79769313486231E308"},  // rounding up would not read back
        {-1.797693134862315e308, "-1.79769313486231E308"},
        {1.79769313486231e308, "1.79769313486231E308"},
        {1e-320, "9.99988867182683E-321"},
        {5e-324, "4.94065645841247E-324"},
        {std::numeric_limits<double>::quiet_NaN(), "0"},
        {std::numeric_limits<double>::infinity(), "0"},
    };
    for (size_t i = 0; i < std::size(rows); ++i) {
        EXPECT_EQ(FormatReal(rows[i].value), rows[i].text) << " row " << i;
    }
}

TEST(FormatReal, ReadsBackToTheSameText) {
    // A value written, read and written again gives the same text: files survive a round trip.
    double v = 1.234567890123456789e-7;
    for (int i = 0; i < 400; ++i) {
        v *= -1.7320508075688772;  // sweeps signs and magnitudes from 1e-7 to about 1e88
        const std::string text = FormatReal(v);
        const double back = StrToFloatOrZero(text);
        EXPECT_EQ(FormatReal(back), text) << " value " << i;
        EXPECT_NEAR(back, v, std::fabs(v) * 1e-14) << text;
    }
}

}  // namespace
}  // namespace dovarin
