#include <gtest/gtest.h>

#include <string>

#include "dimension/Dimension.h"

namespace dovarin {
namespace {

constexpr int kTruncate = 0;
constexpr int kRoundUp = 1;
constexpr int kHalfUp = 2;
constexpr int kZerosRemoved = 0;
constexpr int kZerosShown = 1;
constexpr int kMillimetres = 0;
constexpr int kMetres = 1;

struct ValueRow {
    double length;
    int decimals;
    int rounding;
    int zeros;
    bool commas;
    int unit = kMillimetres;
    bool unitText = false;
    bool fullWidth = false;
    const char* prefix = "";
    const char* suffix = "";
    const char* expected = "";
};

DimensionSettings SettingsFor(const ValueRow& row) {
    DimensionSettings s;
    s.Precision = row.decimals;
    s.Rounding = row.rounding;
    s.ShowZeros = row.zeros;
    s.ThousandsCommas = row.commas;
    s.Unit = row.unit;
    s.AppendUnit = row.unitText;
    s.FullWidth = row.fullWidth;
    s.Prefix = row.prefix;
    s.Suffix = row.suffix;
    return s;
}

// "ｍ", and "１，２３４．５" (full-width digits, comma and point).
#define FW_METRE "\x82\x8d"
#define FW_1_234_5 "\x82\x50\x81\x43\x82\x51\x82\x52\x82\x53\x81\x44\x82\x54"

TEST(BuildValueText, OptionsTable) {
    const ValueRow rows[] = {
        {1234.56, 1, kHalfUp, kZerosShown, true, kMillimetres, false, false, "", "", "1,234.6"},
        {1234.5, 3, kHalfUp, kZerosShown, true, kMillimetres, false, false, "", "", "1,234.500"},
        {1234.5, 3, kHalfUp, kZerosRemoved, true, kMillimetres, false, false, "", "", "1,234.5"},
        {1234.56, 0, kHalfUp, kZerosRemoved, true, kMillimetres, false, false, "", "", "1,235"},
        {1234567.891, 2, kHalfUp, kZerosShown, true, kMillimetres, false, false, "", "",
         "1,234,567.89"},
        {2000, 2, kHalfUp, kZerosRemoved, false, kMetres, true, false, "", "", "2" FW_METRE},
        {1500, 1, kHalfUp, kZerosShown, false, kMetres, true, false, "", "", "1.5" FW_METRE},
        {1050, 1, kHalfUp, kZerosRemoved, false, kMetres, false, false, "", "", "1.1"},
        {12.3456, 2, kTruncate, kZerosShown, false, kMillimetres, false, false, "", "", "12.34"},
        {12.3456, 2, kRoundUp, kZerosShown, false, kMillimetres, false, false, "", "", "12.35"},
        {99.99, 1, kHalfUp, kZerosRemoved, false, kMillimetres, false, false, "", "", "100"},
        {1000.04, 1, kTruncate, kZerosRemoved, false, kMillimetres, false, false, "", "", "1000"},
        {1000.04, 1, kTruncate, kZerosShown, false, kMillimetres, false, false, "", "", "1000.0"},
        {0.0004, 3, kTruncate, kZerosShown, false, kMillimetres, false, false, "", "", "0.000"},
        {0.0004, 3, kTruncate, kZerosRemoved, false, kMillimetres, false, false, "", "", "0"},
        {1234.5, 1, kHalfUp, kZerosShown, true, kMillimetres, true, true, "L=", "",
         "L=" FW_1_234_5 "mm"},
        // Only zeros of the fraction go; the integer part keeps its zeros.
        {1000, 0, kHalfUp, kZerosRemoved, false, kMillimetres, false, false, "", "", "1000"},
        {100.5, 2, kHalfUp, kZerosRemoved, false, kMillimetres, false, false, "", "", "100.5"},
        {12.34, 2, kHalfUp, kZerosRemoved, false, kMillimetres, false, false, "", "", "12.34"},
        {100, 3, kHalfUp, kZerosRemoved, false, kMillimetres, false, false, "", "", "100"},
        {1234.5, 8, kHalfUp, kZerosShown, false, kMillimetres, false, false, "", "",
         "1234.50000000"},
        // Prefix and suffix as typed, blanks included; the suffix comes after the unit.
        {1234.5, 1, kHalfUp, kZerosShown, true, kMillimetres, false, false, "A ", "", "A 1,234.5"},
        {1234.5, 1, kHalfUp, kZerosShown, false, kMillimetres, true, false, "", "(typ)",
         "1234.5mm(typ)"},
        // Full width applies to the number only, never to the unit, prefix or suffix.
        {1234.5, 1, kHalfUp, kZerosShown, true, kMetres, true, false, "", "", "1.2" FW_METRE},
        {1234.5, 1, kHalfUp, kZerosShown, false, kMillimetres, true, true, "x", "y",
         "x\x82\x50\x82\x51\x82\x52\x82\x53\x81\x44\x82\x54mmy"},
    };
    for (std::size_t i = 0; i < std::size(rows); ++i) {
        EXPECT_EQ(BuildValueText(rows[i].length, SettingsFor(rows[i])), rows[i].expected)
            << " row " << i;
    }
}

}  // namespace
}  // namespace dovarin
