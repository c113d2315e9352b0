// MyFunc: the small routines the whole program shares.
//
// Every routine here is a pure function of its arguments: no state, no errors, no window system.
// Texts are byte strings in code page 932 (Shift_JIS): a byte in 0x80..0x9F or 0xE0..0xFD opens a
// two-byte character and the byte after it belongs to that character, whatever its value. Every
// routine that walks a text applies this rule from the first byte. Positions count bytes from 1.
// A lead byte that ends a malformed text is taken as a character of its own, one byte long
// (TextRunLength still gives it a whole width); nothing is read past the end.
#pragma once

#include <cstdint>
#include <string>
#include <string_view>

namespace dovarin {

// Pi and 2 pi in extended precision; the rounding and geometry routines carry their
// intermediate results as long double (the 80-bit x87 format on every target we build).
constexpr long double kPi = 3.14159265358979323851L;
constexpr long double kTwoPi = 6.28318530717958647703L;

// Angles in degrees: a quarter, a half and a whole turn.
constexpr double kQuarterTurn = 90;
constexpr double kHalfTurn = 180;
constexpr double kFullTurn = 360;

// Below this a length, a vector or an angle difference counts as zero in the geometry.
constexpr double kGeomZero = 1e-10;

// A point of the drawing plane.
struct Point {
    double x = 0;
    double y = 0;
};

// ---- code page 932 text walking --------------------------------------------------------------

// True for a byte that opens a two-byte character.
constexpr bool IsLeadByte(unsigned char b) {
    return (b >= 0x80 && b <= 0x9F) || (b >= 0xE0 && b <= 0xFD);
}

// Bytes of the character that starts at byte i (0-based) of the text: 2 for a lead byte with a
// byte after it, else 1. The one step every walker of a text takes.
constexpr std::size_t CharSize(std::string_view text, std::size_t i) {
    return IsLeadByte(static_cast<unsigned char>(text[i])) && i + 1 < text.size() ? 2 : 1;
}

// True for a control byte: below 0x20, and 0x7F. No one-line text holds one, and nothing the
// host reads may (it would end or split a record).
constexpr bool IsControlByte(unsigned char b) {
    return b < 0x20 || b == 0x7F;
}

// True when the text holds a control byte anywhere. A code-page-932 character never has one for
// its second byte, so a text that holds one is either malformed or holds a control character.
bool HasControlByte(std::string_view text);

// The text without half-width spaces, full-width spaces (0x81 0x40) and control bytes (< 0x20).
// An empty result means the text is blank.
std::string StripBlanks(std::string_view text);
// True when StripBlanks leaves nothing of the text; without copying it. With `controlChars`, the
// characters that WithoutControlChars drops count as blanks too.
bool IsBlank(std::string_view text, bool controlChars = false);

// The text without control characters: bytes below 0x20 and 0x7F, and a lead byte whose second
// byte is one of those. Only its first `maxBytes` bytes or a little more are made, where no
// more are needed of a long text.
std::string WithoutControlChars(std::string_view text,
                                std::size_t maxBytes = std::string_view::npos);

// The whole characters that lie in the byte window start .. start + budget - 1 (1-based); a
// two-byte character that straddles an edge of the window is left out. count is the number of
// bytes taken.
void CopyCharsFrom(std::string_view text, int start, int budget, std::string& piece, int& count);

// Half-width ASCII, the space and half-width katakana to their full-width forms, hiragana to
// katakana; everything else unchanged. Our own table: the same bytes on every system.
std::string ToFullWidth(std::string_view text);

// Length of the text on the drawing for a text type of the given character width and spacing:
// a two-byte character counts a whole width, a one-byte character half of one.
double TextRunLength(std::string_view text, double width, double spacing);

// ---- numbers ---------------------------------------------------------------------------------

// Fixed-point text with exactly `digits` decimals ("." point), grouped by "," every three digits.
// The value's first 18 significant digits are rounded half away from zero at the last decimal.
// digits below 0 count as 0 and above 18 as 18. A value that rounds to zero has no "-"; a
// non-finite value is written as zero.
std::string FormatWithSeparators(int digits, double value);
// The same without grouping.
std::string FormatFixedDigits(int digits, double value);

// The real-number form of the exchange and settings files: the value rounded to 15 significant
// digits, no trailing zeros, plain for 0.0001 <= |v| < 1e15 and zero, else "1E-5" / "1E15".
// Every result reads back with StrToFloatOrZero to a value with the same text; a non-finite
// value is written "0".
std::string FormatReal(double value);

// Lenient number parsing: the whole text must be one number, else 0 (the accepted forms are
// listed in MyFuncParse.cpp). A real never comes back infinite or NaN.
int StrToIntOrZero(std::string_view text);
double StrToFloatOrZero(std::string_view text);

// A plain decimal of at most 15 digits, the common number of the exchange file, as its digits
// and the number of them after the point: 12.50 is {1250, 2}.
struct ShortDecimal {
    std::uint64_t Digits = 0;
    int Places = 0;  // 0 .. 15
    bool Negative = false;
};
// True when the text is such a decimal (leading spaces and a sign allowed). StrToFloatOrZero of
// the text is then exactly ShortDecimalValue of the number, so the number may stand for the value.
// Inline: the exchange reader runs it for almost every number of a big file.
inline bool ParseShortDecimal(std::string_view text, ShortDecimal& number) {
    constexpr std::size_t kMaxDigits = 15;
    const char* p = text.data();
    const char* const end = p + text.size();
    while (p < end && *p == ' ') ++p;
    // The sign without a branch: half the coordinates of a drawing are negative.
    const char sign = p < end ? *p : '\0';
    number.Negative = sign == '-';
    p += sign == '-' || sign == '+';
    if (static_cast<std::size_t>(end - p) > kMaxDigits + 1) return false;
    std::uint64_t digits = 0;
    const char* point = nullptr;
    for (const char* c = p; c < end; ++c) {
        const unsigned digit = static_cast<unsigned char>(*c) - '0';
        if (digit < 10) {
            digits = digits * 10 + digit;
        } else if (*c == '.' && !point) {
            point = c;
        } else {
            return false;
        }
    }
    const std::size_t count = static_cast<std::size_t>(end - p) - (point ? 1 : 0);
    if (count == 0 || count > kMaxDigits) return false;
    number.Digits = digits;
    number.Places = point ? static_cast<int>(end - point - 1) : 0;
    return true;
}
// The digits make an integer below 2^53 and the power of ten is exact, so the one division is
// correctly rounded: the same double as the general conversion of the text gives.
inline double ShortDecimalValue(const ShortDecimal& number) {
    static constexpr double kPowersOfTen[] = {1e0, 1e1, 1e2,  1e3,  1e4,  1e5,  1e6,  1e7,
                                              1e8, 1e9, 1e10, 1e11, 1e12, 1e13, 1e14, 1e15};
    const double value = static_cast<double>(number.Digits) / kPowersOfTen[number.Places];
    // Adding zero turns a negative zero into zero.
    return (number.Negative ? -value : value) + 0.0;
}

void SwapReals(double& a, double& b);

// x rounded half away from zero to a multiple of 1e-10.
double RoundTenDigits(double x);

// x rounded to `digits` decimals (1..13; any other value: whole numbers) by mode:
// 0 truncate, 1 round up (adds 0.9 of the last unit), any other value half up. Sign unchanged.
double RoundToDigits(int digits, int mode, double x);

// ---- plane geometry --------------------------------------------------------------------------

double Distance(double x1, double y1, double x2, double y2);
inline double Distance(Point a, Point b) {
    return Distance(a.x, a.y, b.x, b.y);
}

// Direction of the vector (dx, dy) in [0, 2 pi); 0 for a vector shorter than kGeomZero per axis.
double DirectionRadians(double dx, double dy);
// The same in degrees, rounded to ten decimals; can be exactly 360 for a hair below the x axis.
double DirectionDegrees(double dx, double dy);

// The angle brought into [0, 360); within 1e-10 of a whole turn becomes 0, a non-finite one 0.
double NormalizeDegrees(double angle);

// Cosine and sine of an angle in radians, in extended precision for formulas that round only
// their result. Computed by this module rather than the C library, so that every target gives
// the same bits.
long double CosRadians(double theta);
long double SinRadians(double theta);

// The point (x, y) turned counter-clockwise about (cx, cy).
void RotatePointRadians(double x, double y, double cx, double cy, double theta, double& rx,
                        double& ry);
void RotatePoint(double x, double y, double cx, double cy, double angle, double& rx, double& ry);
inline Point RotatePoint(Point p, Point centre, double angle) {
    Point r;
    RotatePoint(p.x, p.y, centre.x, centre.y, angle, r.x, r.y);
    return r;
}

}  // namespace dovarin
