// Fuzzes the number parsers and formatters and the code-page-932 text walkers with arbitrary
// bytes, checking the properties the rest of the program relies on.
#include <cmath>
#include <cstdint>
#include <cstdlib>
#include <cstring>
#include <string>
#include <string_view>

#include "util/MyFunc.h"

using namespace dovarin;

namespace {

void Check(bool ok) {
    if (!ok) std::abort();
}

bool OnlyChars(const std::string& s, const char* allowed) {
    return !s.empty() && s.find_first_not_of(allowed) == std::string::npos;
}

void CheckNumbers(std::string_view text, double bits_value, int digits) {
    StrToIntOrZero(text);
    const double value = StrToFloatOrZero(text);
    Check(std::isfinite(value));
    // The file form reads back to itself, so a value survives any number of round trips.
    for (const double v : {value, bits_value}) {
        const std::string real = FormatReal(v);
        Check(OnlyChars(real, "0123456789.-E"));
        const double back = StrToFloatOrZero(real);
        Check(std::isfinite(back) && FormatReal(back) == real);
        Check(OnlyChars(FormatFixedDigits(digits, v), "0123456789.-"));
        Check(OnlyChars(FormatWithSeparators(digits, v), "0123456789.,-"));
    }
}

// True if walking the text by characters finds a half-width character that ToFullWidth maps.
bool HasHalfWidth(std::string_view s) {
    for (size_t i = 0; i < s.size();) {
        const unsigned char b = static_cast<unsigned char>(s[i]);
        if (IsLeadByte(b) && i + 1 < s.size()) {
            i += 2;
            continue;
        }
        if ((b >= 0x20 && b <= 0x7E) || (b >= 0xA1 && b <= 0xDF)) return true;
        i += 1;
    }
    return false;
}

void CheckText(std::string_view text, int start, int budget) {
    const std::string stripped = StripBlanks(text);
    Check(stripped.size() <= text.size() && StripBlanks(stripped) == stripped);

    const std::string clean = WithoutControlChars(text);
    for (unsigned char b : clean) Check(b >= 0x20 && b != 0x7F);
    Check(WithoutControlChars(clean) == clean);

    // Characters are converted whole: converting again changes nothing, and no half-width
    // character is left (a split character would leave a stray second byte behind).
    const std::string wide = ToFullWidth(text);
    Check(ToFullWidth(wide) == wide && !HasHalfWidth(wide));

    const double run = TextRunLength(text, 4, 1);
    Check(std::isfinite(run) && run >= 0 && run <= 5.0 * text.size());

    std::string piece;
    int count = 0;
    CopyCharsFrom(text, start, budget, piece, count);
    Check(count == static_cast<int>(piece.size()) && count <= (budget > 0 ? budget : 0));
    // Windows advanced by their count give the text back exactly.
    std::string joined;
    int p = 1;
    do {
        CopyCharsFrom(text, p, 2 + (start + 2) % 5, piece, count);
        joined += piece;
        p += count;
    } while (count > 0);
    Check(joined == text);
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
    const std::string_view text(reinterpret_cast<const char*>(data), size);
    double bits_value = 0;
    std::memcpy(&bits_value, data, size < sizeof bits_value ? size : sizeof bits_value);
    const int small = size > 0 ? data[0] : 0;
    CheckNumbers(text, bits_value, small % 12 - 1);
    CheckText(text, small % 40 - 2, size > 1 ? data[1] % 20 - 2 : 3);
    return 0;
}
