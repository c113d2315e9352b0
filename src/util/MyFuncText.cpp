// Walking code-page-932 texts: blanks, windows of whole characters, copying, run length.
//
// A malformed text may end in a lone lead byte. The walkers below treat that byte as a one-byte
// character of its own, so that nothing is read past the end of the text.

#include <algorithm>

#include "util/MyFunc.h"

namespace dovarin {
namespace {

bool IsBlankChar(std::string_view ch) {
    if (ch.size() == 2) return ch[0] == '\x81' && ch[1] == '\x40';  // 全角空白
    return static_cast<unsigned char>(ch[0]) <= 0x20;
}

}  // namespace

std::string StripBlanks(std::string_view text) {
    std::string result;
    result.reserve(text.size());
    for (size_t i = 0; i < text.size();) {
        const std::string_view ch = text.substr(i, CharSize(text, i));
        if (!IsBlankChar(ch)) result.append(ch);
        i += ch.size();
    }
    return result;
}

bool IsBlank(std::string_view text, bool controlChars) {
    for (size_t i = 0; i < text.size();) {
        const std::string_view ch = text.substr(i, CharSize(text, i));
        const bool dropped = controlChars && IsControlByte(static_cast<unsigned char>(ch.back()));
        if (!dropped && !IsBlankChar(ch)) return false;
        i += ch.size();
    }
    return true;
}

bool HasControlByte(std::string_view text) {
    for (unsigned char b : text) {
        if (IsControlByte(b)) return true;
    }
    return false;
}

std::string WithoutControlChars(std::string_view text, std::size_t maxBytes) {
    std::string result;
    result.reserve(std::min(text.size(), maxBytes));
    for (size_t i = 0; i < text.size() && result.size() < maxBytes;) {
        const std::string_view ch = text.substr(i, CharSize(text, i));
        // No character has a control byte for its second byte: such a pair goes whole, so that
        // its lead byte cannot pair with the byte after it instead.
        if (!IsControlByte(static_cast<unsigned char>(ch.back()))) result.append(ch);
        i += ch.size();
    }
    return result;
}

void CopyCharsFrom(std::string_view text, int start, int budget, std::string& piece, int& count) {
    piece.clear();
    count = 0;
    if (text.empty() || start < 1 || static_cast<size_t>(start) > text.size() || budget <= 0)
        return;
    // 1-based window first..last; 64-bit so that a huge budget cannot overflow.
    const long long first = start;
    const long long last = first + budget - 1;
    for (size_t i = 0; i < text.size();) {
        const size_t size = CharSize(text, i);
        const long long pos = static_cast<long long>(i) + 1;
        if (pos >= first && pos + static_cast<long long>(size) - 1 <= last) {
            piece.append(text.substr(i, size));
        }
        i += size;
    }
    count = static_cast<int>(piece.size());
}

double TextRunLength(std::string_view text, double width, double spacing) {
    // A lone lead byte at the end counts as a full-width character, as a lead byte always does.
    double total = 0;
    const size_t n = text.size();
    for (size_t i = 0; i < n;) {
        const unsigned char b = static_cast<unsigned char>(text[i]);
        if (IsLeadByte(b)) {
            total += width;
            i += 2;
            if (i < n) total += spacing;
        } else {
            if (b >= 0x20) total += width / 2;
            i += 1;
            if (i < n) total += spacing / 2;
        }
    }
    return total;
}

}  // namespace dovarin
