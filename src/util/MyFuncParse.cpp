// Text to number: the lenient parsers of the exchange file, the settings file and the dialog.
//
// The whole text must be one number, else the result is 0; nothing is reported.
//   integer: [spaces] [+|-] decimal digits, or [spaces] [+|-] ("$" | "x" | "0x") 1..8 hex digits
//            "7" -> 7, "$A" -> 10, "-$A" -> -10, "7.0" -> 0, "7 " -> 0, "$" -> 0, "99999999999" ->
//            0. Eight hexadecimal digits are the 32 bits of the result: "$FFFFFFFF" -> -1,
//            "$80000000" -> -2147483648; only a decimal value is checked against the int range.
//   real:    [spaces] [+|-] digits [. digits] [(e|E) [+|-] digits], at least one mantissa digit
//            "12.5" -> 12.5, ".5" -> 0.5, "5." -> 5, "1e3" -> 1000, "." / "e5" / "1e" / "12,5" -> 0
//            "inf", "nan", hexadecimal floats and values beyond the range of a double read as 0,
//            so that nothing non-finite reaches the geometry or the files.
// Only half-width spaces are skipped, and only in front; the point is always ".".
#include <charconv>
#include <cmath>
#include <cstdint>
#include <limits>
#include <system_error>

#include "util/MyFunc.h"

namespace dovarin {
namespace {

constexpr size_t kMaxHexDigits = 8;

bool IsDigit(char c) {
    return c >= '0' && c <= '9';
}

std::string_view SkipSpaces(std::string_view text) {
    if (text.empty() || text[0] != ' ') return text;
    const size_t first = text.find_first_not_of(' ');
    return first == std::string_view::npos ? std::string_view() : text.substr(first);
}

// Takes an optional sign off the front; true for "-".
bool TakeSign(std::string_view& text) {
    if (text.empty() || (text[0] != '+' && text[0] != '-')) return false;
    const bool negative = text[0] == '-';
    text.remove_prefix(1);
    return negative;
}

// Takes a hexadecimal prefix off the front; true if there was one.
bool TakeHexPrefix(std::string_view& text) {
    if (!text.empty() && (text[0] == '$' || text[0] == 'x' || text[0] == 'X')) {
        text.remove_prefix(1);
        return true;
    }
    if (text.size() >= 2 && text[0] == '0' && (text[1] == 'x' || text[1] == 'X')) {
        text.remove_prefix(2);
        return true;
    }
    return false;
}

// The whole text as an unsigned number of the given base; false if it is not exactly that.
bool ParseMagnitude(std::string_view text, int base, uint64_t& value) {
    if (text.empty()) return false;
    const char* end = text.data() + text.size();
    const auto res = std::from_chars(text.data(), end, value, base);
    return res.ec == std::errc() && res.ptr == end;
}

// Length of a run of decimal digits at the front.
size_t DigitRun(std::string_view text, size_t from) {
    size_t i = from;
    while (i < text.size() && IsDigit(text[i])) ++i;
    return i - from;
}

// True when the whole text (without sign) is digits [. digits] [(e|E) [+|-] digits] with at
// least one mantissa digit.
bool IsPlainReal(std::string_view text) {
    size_t i = 0;
    size_t mantissa = DigitRun(text, i);
    i += mantissa;
    if (i < text.size() && text[i] == '.') {
        const size_t fraction = DigitRun(text, i + 1);
        i += 1 + fraction;
        mantissa += fraction;
    }
    if (mantissa == 0) return false;
    if (i < text.size() && (text[i] == 'e' || text[i] == 'E')) {
        ++i;
        if (i < text.size() && (text[i] == '+' || text[i] == '-')) ++i;
        const size_t exponent = DigitRun(text, i);
        if (exponent == 0) return false;
        i += exponent;
    }
    return i == text.size();
}

}  // namespace

int StrToIntOrZero(std::string_view text) {
    text = SkipSpaces(text);
    const bool negative = TakeSign(text);
    const bool hex = TakeHexPrefix(text);
    if (hex && text.size() > kMaxHexDigits) return 0;
    uint64_t magnitude = 0;
    // from_chars takes no sign for an unsigned type, so "--5" and "$-5" fail here.
    if (!ParseMagnitude(text, hex ? 16 : 10, magnitude)) return 0;
    if (hex) {
        const uint32_t bits = static_cast<uint32_t>(magnitude);
        return static_cast<int32_t>(negative ? 0u - bits : bits);
    }
    const uint64_t limit =
        static_cast<uint64_t>(std::numeric_limits<int32_t>::max()) + (negative ? 1 : 0);
    if (magnitude > limit) return 0;
    const int64_t value =
        negative ? -static_cast<int64_t>(magnitude) : static_cast<int64_t>(magnitude);
    return static_cast<int>(value);
}

double StrToFloatOrZero(std::string_view text) {
    if (ShortDecimal number; ParseShortDecimal(text, number)) return ShortDecimalValue(number);
    text = SkipSpaces(text);
    const bool negative = TakeSign(text);
    // Checked by hand first: from_chars alone would take "inf", "nan" and stop early elsewhere.
    if (!IsPlainReal(text)) return 0;
    double value = 0;
    const char* end = text.data() + text.size();
    const auto res = std::from_chars(text.data(), end, value, std::chars_format::general);
    if (res.ec != std::errc() || res.ptr != end || !std::isfinite(value) || value == 0) return 0;
    return negative ? -value : value;
}

}  // namespace dovarin
