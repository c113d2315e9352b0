// MyFunc: the small routines the whole program shares.
//
// Every routine here is a pure function of its arguments: no state, no errors, no window system.
// Texts are byte strings in code page 932 (Shift_JIS): a byte in 0x80..0x9F or 0xE0..0xFD opens a
// two-byte character and the byte after it belongs to that character, whatever its value. Every
// routine that walks a text applies this rule from the first byte. Positions count bytes from 1.
// A lead byte that ends a malformed text is taken as a character of its own, one byte long
// (TextRunLength still gives it a whole width); nothing is read past the end.
#pragma once

#include <string>
#include <string_view>

namespace dovarin {

// Pi and 2 pi in extended precision; the rounding and geometry routines carry their
// intermediate results as long double (the 80-bit x87 format on every target we build).
constexpr long double kPi = 3.14159265358979323851L;
constexpr long double kTwoPi = 6.28318530717958647703L;

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

// The text without half-width spaces, full-width spaces (0x81 0x40) and control bytes (< 0x20).
// An empty result means the text is blank.
std::string StripBlanks(std::string_view text);

// The text without control characters: bytes below 0x20 and 0x7F, and a lead byte whose second
// byte is one of those.
std::string WithoutControlChars(std::string_view text);

// The whole characters that lie in the byte window start .. start + budget - 1 (1-based); a
// two-byte character that straddles an edge of the window is left out. count is the number of
// bytes taken.
void CopyCharsFrom(std::string_view text, int start, int budget, std::string& piece, int& count);

// Copies the text's bytes into dest followed by a zero byte. capacity is dest's size less one;
// a longer text is cut after its last whole character that fits, so the copy never overruns
// dest. A negative capacity or a null dest writes nothing.
void StrToCharArray(char* dest, int capacity, std::string_view text);

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
