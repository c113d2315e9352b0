// Number to text: the fixed-point forms of the dimension value and the real form of the files.
//
// Both work on the decimal digits that std::to_chars gives for the double, so they do not
// depend on the C locale: the point is always "." and the separator always ",".
#include <charconv>
#include <cmath>
#include <string>
#include <string_view>

#include "util/MyFunc.h"

namespace dovarin {
namespace {

// Digits of the fixed-point forms beyond which more decimals would only show digits below the
// 18 significant ones; asking for more (or for fewer than none) is clamped.
constexpr int kMaxFixedDigits = 18;
// The fixed-point forms show the value's first 18 significant digits.
constexpr int kSignificantDigits = 18;
// Enough digits for the exact expansion of any double (the longest has 767 significant ones).
constexpr int kExactDigits = 767;

// A positive finite value as its first `count` significant decimal digits (correctly rounded)
// and the decimal exponent of the first digit: value ~ 0.d1d2d3... x 10^(exponent + 1).
struct Decimal {
    std::string digits;
    int exponent = 0;
};

Decimal ToDecimal(double magnitude, int count) {
    char buf[kExactDigits + 16];
    const auto res =
        std::to_chars(buf, buf + sizeof buf, magnitude, std::chars_format::scientific, count - 1);
    Decimal d;
    const char* p = buf;
    for (; p < res.ptr && *p != 'e'; ++p) {
        if (*p != '.') d.digits.push_back(*p);
    }
    if (p < res.ptr) std::from_chars(p + 1 + (p[1] == '+'), res.ptr, d.exponent);
    return d;
}

// Keeps the first `keep` digits, rounded half away from zero by the digits after them. Returns
// false when the value rounds to zero.
bool RoundToLength(Decimal& d, long long keep) {
    if (keep >= static_cast<long long>(d.digits.size())) return true;
    if (keep < 0) return false;
    const bool up = d.digits[keep] >= '5';
    d.digits.resize(keep);
    if (up) {
        size_t i = d.digits.size();
        while (i > 0 && d.digits[i - 1] == '9') d.digits[--i] = '0';
        if (i == 0) {
            d.digits.insert(d.digits.begin(), '1');
            ++d.exponent;
        } else {
            ++d.digits[i - 1];
        }
    }
    return d.digits.find_first_not_of('0') != std::string::npos;
}

// Rounds half away from zero so that the last digit kept has the place value 10^-decimals.
// Returns false when the value rounds to zero.
bool RoundAtDecimals(Decimal& d, int decimals) {
    return RoundToLength(d, static_cast<long long>(d.exponent) + 1 + decimals);
}

// The first `count` significant digits of a positive finite value, rounded half away from zero
// like every other step of the fixed-point forms. to_chars breaks an exact tie towards the even
// digit, so it is asked for one digit more: only where that digit is a 5 can the value lie on the
// tie, and there its exact expansion decides.
Decimal SignificantDigits(double magnitude, int count) {
    Decimal d = ToDecimal(magnitude, count + 1);
    if (d.digits.back() == '5') d = ToDecimal(magnitude, kExactDigits);
    RoundToLength(d, count);
    return d;
}

// The digit of place value 10^place.
char DigitAt(const Decimal& d, int place) {
    const long long k = static_cast<long long>(d.exponent) - place;
    return k >= 0 && k < static_cast<long long>(d.digits.size()) ? d.digits[k] : '0';
}

std::string GroupThousands(const std::string& integer) {
    std::string out;
    for (size_t i = 0; i < integer.size(); ++i) {
        if (i > 0 && (integer.size() - i) % 3 == 0) out.push_back(',');
        out.push_back(integer[i]);
    }
    return out;
}

// The fixed-point form of FormatWithSeparators / FormatFixedDigits. A value that rounds to
// zero is written without a sign; a non-finite value (which no parser produces) as zero.
std::string FormatFixed(int digits, double value, bool group) {
    if (digits < 0) digits = 0;
    if (digits > kMaxFixedDigits) digits = kMaxFixedDigits;
    Decimal d;
    bool nonzero = false;
    if (std::isfinite(value) && value != 0) {
        d = SignificantDigits(std::fabs(value), kSignificantDigits);
        nonzero = RoundAtDecimals(d, digits);
    }
    if (!nonzero) d = Decimal{"", 0};
    std::string integer;
    for (int place = d.exponent > 0 ? d.exponent : 0; place >= 0; --place) {
        integer.push_back(DigitAt(d, place));
    }
    std::string out = nonzero && value < 0 ? "-" : "";
    out += group ? GroupThousands(integer) : integer;
    if (digits > 0) {
        out.push_back('.');
        for (int place = -1; place >= -digits; --place) out.push_back(DigitAt(d, place));
    }
    return out;
}

// The real form's limits: plain notation for 1e-4 <= |v| < 1e15 (after rounding).
constexpr int kRealDigits = 15;
constexpr int kPlainMinExponent = -4;
constexpr int kPlainMaxExponent = 14;

// The largest double rounded to 15 digits (1.79769313486232E308) no longer reads back as a
// double, so values that round above it are written cut to these digits instead.
constexpr std::string_view kLargestRealDigits = "179769313486231";
constexpr int kLargestRealExponent = 308;

}  // namespace

std::string FormatWithSeparators(int digits, double value) {
    return FormatFixed(digits, value, true);
}

std::string FormatFixedDigits(int digits, double value) {
    return FormatFixed(digits, value, false);
}

std::string FormatReal(double value) {
    if (!std::isfinite(value) || value == 0) return "0";
    // to_chars rounds the exact binary value to 15 digits (an exact tie goes to even).
    Decimal d = ToDecimal(std::fabs(value), kRealDigits);
    if (d.exponent == kLargestRealExponent && d.digits > kLargestRealDigits) {
        d.digits = kLargestRealDigits;
    }
    while (d.digits.size() > 1 && d.digits.back() == '0') d.digits.pop_back();
    std::string out = value < 0 ? "-" : "";
    const int n = static_cast<int>(d.digits.size());
    if (d.exponent >= kPlainMinExponent && d.exponent <= kPlainMaxExponent) {
        if (d.exponent < 0) {
            out += "0." + std::string(-d.exponent - 1, '0') + d.digits;
        } else if (d.exponent + 1 >= n) {
            out += d.digits + std::string(d.exponent + 1 - n, '0');
        } else {
            out += d.digits.substr(0, d.exponent + 1) + "." + d.digits.substr(d.exponent + 1);
        }
    } else {
        out += d.digits.substr(0, 1);
        if (n > 1) out += "." + d.digits.substr(1);
        out += "E" + std::to_string(d.exponent);
    }
    return out;
}

}  // namespace dovarin
