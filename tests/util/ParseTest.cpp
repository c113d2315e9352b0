// Text to number: a whole-token match or 0.
#include <gtest/gtest.h>

#include <charconv>
#include <limits>
#include <random>

#include "util/MyFunc.h"

namespace dovarin {
namespace {

TEST(StrToIntOrZero, WholeTextOrZero) {
    struct Row {
        std::string text;
        int expected;
    };
    // clang-format off
    const Row rows[] = {
        // decimal, whole token only
        {"7", 7}, {"7.0", 0}, {"", 0}, {"  -12", -12}, {"+7", 7}, {"00012", 12}, {"7 ", 0},
        {"\t7", 0}, {"- 7", 0}, {"--7", 0}, {"1e3", 0}, {"\x82\x4f", 0} /* full-width ０ */,
        {std::string("7\0", 2), 0}, {"2147483647", 2147483647}, {"2147483648", 0},
        {"-2147483648", std::numeric_limits<int>::min()}, {"-2147483649", 0},
        {"99999999999999999999999", 0},
        // hexadecimal: 1..8 digits, which are the 32 bits of the result
        {"$a", 10}, {"$A", 10}, {"$", 0}, {"$g", 0}, {"x1f", 31}, {"X1F", 31}, {"0x1f", 31},
        {"0x", 0}, {"x", 0}, {"-$A", -10}, {"$-A", 0}, {"$7FFFFFFF", 2147483647},
        {"$80000000", std::numeric_limits<int>::min()},
        {"-$80000000", std::numeric_limits<int>::min()}, {"$FFFFFFFF", -1}, {"-$FFFFFFFF", 1},
        {"0XfffffffE", -2}, {"+$00000010", 16},
        {"$000000001", 0}, {"$1FFFFFFFF", 0}, {" $A", 10}, {"$A ", 0}};
    // clang-format on
    for (size_t i = 0; i < std::size(rows); ++i) {
        EXPECT_EQ(StrToIntOrZero(rows[i].text), rows[i].expected) << " row " << i;
    }
}

TEST(StrToFloatOrZero, WholeTextOrZero) {
    struct Row {
        std::string text;
        double expected;
    };
    // clang-format off
    const Row rows[] = {
        {"12.5", 12.5}, {"", 0}, {"abc", 0}, {"12,5", 0}, {"1 2", 0}, {"12.5 ", 0}, {"12.5\r", 0},
        {"  12.5", 12.5}, {"-3", -3}, {".5", 0.5}, {"5.", 5}, {"-.5", -0.5}, {"+.5e1", 5},
        {"1e3", 1000}, {".", 0}, {"e5", 0}, {"1e", 0}, {"1e+", 0}, {"1.2.3", 0}, {"1_000", 0},
        {"0.1000000000000000055511151231257827", 0.1},
        {"1.7976931348623157e308", std::numeric_limits<double>::max()},
        {"4.9e-324", std::numeric_limits<double>::denorm_min()}};
    // clang-format on
    for (size_t i = 0; i < std::size(rows); ++i) {
        EXPECT_EQ(StrToFloatOrZero(rows[i].text), rows[i].expected) << " row " << i;
    }
}

TEST(StrToFloatOrZero, NothingNonFiniteOrOutOfRangeGetsThrough) {
    const char* rows[] = {
        "inf",  "-inf",  "infinity", "INF",    "nan",    "NaN",     "nan(1)",
        "0x10", "0x1p3", "1.8e308",  "-1e999", "1e-400", "-1e-400", "1e99999999999999999999"};
    for (size_t i = 0; i < std::size(rows); ++i) {
        EXPECT_EQ(StrToFloatOrZero(rows[i]), 0.0) << " row " << i << " " << rows[i];
    }
}

// Short plain decimals take a fast exact path; it must agree with the general conversion bit for
// bit, up to and past its 15-digit limit.
TEST(StrToFloatOrZero, ShortDecimalsAgreeWithGeneralConversion) {
    std::mt19937_64 random(20261208);
    for (int i = 0; i < 200000; ++i) {
        const int count = 1 + static_cast<int>(random() % 17);
        std::string digits;
        for (int d = 0; d < count; ++d) digits.push_back(static_cast<char>('0' + random() % 10));
        const size_t point = random() % (digits.size() + 1);
        const std::string text = digits.substr(0, point) + "." + digits.substr(point);
        double expected = 0;
        std::from_chars(text.data(), text.data() + text.size(), expected);
        ASSERT_EQ(StrToFloatOrZero(text), expected) << text;
        ASSERT_EQ(StrToFloatOrZero("-" + text), -expected) << text;
    }
}

}  // namespace
}  // namespace dovarin
