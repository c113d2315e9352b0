// The value text of the added dimension: prefix, number, unit and suffix.
//
// The number is the measured length (in metres when the unit is "ｍ") rounded to the chosen
// decimals, written with or without thousands commas, optionally stripped of the zeros at the
// end of its fraction and made full-width. Prefix, unit and suffix are never made full-width.
#include <algorithm>
#include <string>

#include "dimension/Dimension.h"
#include "util/MyFunc.h"

namespace dovarin {

namespace {

constexpr int kUnitMetres = 1;   // RadioGroup2's second item
constexpr int kMaxDecimals = 8;  // ComboBox4 lists 0 to 8 decimals
constexpr double kMillimetresPerMetre = 1000;

constexpr char kUnitTextMillimetres[] = "mm";
constexpr char kUnitTextMetres[] = "\x82\x8d";  // ｍ (full-width)

// The zeros at the end of the fraction go, and the point with them when no decimal is left;
// the integer part is never touched ("1000.0" -> "1000", "100.50" -> "100.5").
std::string RemoveTrailingZeros(std::string text) {
    const std::size_t point = text.find('.');
    if (point == std::string::npos) return text;
    std::size_t cut = text.size();
    for (std::size_t i = text.size(); i-- > point;) {
        if (i != point && text[i] != '0') break;
        cut = i;
    }
    text.resize(cut);
    return text;
}

std::string NumberText(double length, const DimensionSettings& settings) {
    // The list offers 0 to 8 decimals; anything else cannot come from the dialog.
    const int decimals = std::clamp(settings.Precision, 0, kMaxDecimals);
    const double value = settings.Unit == kUnitMetres ? length / kMillimetresPerMetre : length;
    const double rounded = RoundToDigits(decimals, settings.Rounding, value);
    std::string text = settings.ThousandsCommas ? FormatWithSeparators(decimals, rounded)
                                                : FormatFixedDigits(decimals, rounded);
    if (settings.ShowZeros == 0) text = RemoveTrailingZeros(std::move(text));
    if (settings.FullWidth) text = ToFullWidth(text);
    return text;
}

}  // namespace

std::string BuildValueText(double length, const DimensionSettings& settings) {
    std::string text = settings.Prefix + NumberText(length, settings);
    if (settings.AppendUnit) {
        text += settings.Unit == kUnitMetres ? kUnitTextMetres : kUnitTextMillimetres;
    }
    text += settings.Suffix;
    return text;
}

}  // namespace dovarin
