// Walking code-page-932 texts: a second byte is never taken for a character of its own.
#include <gtest/gtest.h>

#include <climits>

#include "util/MyFunc.h"

namespace dovarin {
namespace {

TEST(StripBlanks, RemovesOnlyWholeBlankCharacters) {
    struct Row {
        std::string text, expected;
    };
    const Row rows[] = {
        {"", ""},
        {" \x81\x40\t\r\n  \x81\x40", ""},                 // spaces, 全角空白, tab, line break
        {"\x82\x60\x81\x40\x82\x61", "\x82\x60\x82\x61"},  // Ａ　Ｂ -> ＡＢ
        {"a b", "ab"},
        {" x ", "x"},
        {"\x83\x81"
         "@",
         "\x83\x81"
         "@"},                           // メ@: the bytes 0x81 0x40 straddle two characters
        {"\x81\x20", "\x81\x20"},        // a second byte 0x20 is no space
        {"a\x82", "a\x82"},              // a lone lead byte at the end stays, nothing more
        {std::string("a\0b", 3), "ab"},  // control bytes include the zero byte
    };
    for (size_t i = 0; i < std::size(rows); ++i) {
        EXPECT_EQ(StripBlanks(rows[i].text), rows[i].expected) << " row " << i;
        EXPECT_EQ(IsBlank(rows[i].text), rows[i].expected.empty()) << " row " << i;
    }
}

// Control bytes in a text from outside must never reach a record of the answer, not even as the
// second byte of a character: the host would end the text at 0x1A or split the line at CR.
TEST(WithoutControlChars, DropsControlBytesByCharacter) {
    struct Row {
        std::string text, expected;
    };
    const Row rows[] = {
        {"", ""},
        {"mm\x1a", "mm"},
        {"a\rb\n\tc\x7f", "abc"},
        {std::string("\0x\x1f", 3), "x"},
        {"\x82\x60\x81\x40 \x82\x61", "\x82\x60\x81\x40 \x82\x61"},  // Ａ　 Ｂ: blanks stay
        {"\x83\x7e\x83\x80", "\x83\x7e\x83\x80"},  // ミム: second bytes next to 0x7F
        {"\x82\x0d\x82\x60", "\x82\x60"},  // a lead byte before CR goes with it, Ａ stays whole
        {"a\x83\x7f"
         "b",
         "ab"},
        {"a\x82", "a\x82"},  // a lone lead byte at the end is no control byte
    };
    for (size_t i = 0; i < std::size(rows); ++i) {
        EXPECT_EQ(WithoutControlChars(rows[i].text), rows[i].expected) << " row " << i;
        // What loses a byte held one.
        EXPECT_EQ(HasControlByte(rows[i].text), rows[i].text != rows[i].expected) << " row " << i;
        EXPECT_EQ(IsBlank(rows[i].text, true), StripBlanks(rows[i].expected).empty())
            << " row " << i;
        // A cleaned head is the head of the cleaned text.
        const std::string head = WithoutControlChars(rows[i].text, 2);
        EXPECT_EQ(head, rows[i].expected.substr(0, head.size())) << " row " << i;
        EXPECT_GE(head.size(), std::min<std::size_t>(2, rows[i].expected.size())) << " row " << i;
    }
}

TEST(CopyCharsFrom, TakesWholeCharactersInsideTheWindow) {
    struct Row {
        std::string text;
        int start, budget;
        std::string piece;
    };
    const std::string mixed =
        "a\x82\x60"
        "b";  // aＡb
    const Row rows[] = {
        {"abc", 2, 5, "bc"},
        {"abc", 4, 5, ""},
        {"\x82\x60\x82\x61", 1, 3, "\x82\x60"},  // ＡＢ: the second one crosses the end
        {"abc", 0, 2, ""},
        {"abc", 1, 0, ""},
        {"abc", -5, 9, ""},
        {"", 1, 5, ""},
        {mixed, 2, 1, ""},           // the two-byte character crosses the end
        {mixed, 3, 5, "b"},          // the window opens on its second byte
        {mixed, 1, INT_MAX, mixed},  // no overflow at the window's end
        {"ab\x82", 3, 1, "\x82"},    // a lone lead byte at the end counts one byte
    };
    for (size_t i = 0; i < std::size(rows); ++i) {
        std::string piece = "junk";
        int count = -1;
        CopyCharsFrom(rows[i].text, rows[i].start, rows[i].budget, piece, count);
        EXPECT_EQ(piece, rows[i].piece) << " row " << i;
        EXPECT_EQ(count, static_cast<int>(rows[i].piece.size())) << " row " << i;
    }
}

TEST(CopyCharsFrom, AdvancingByTheCountCoversTheTextExactly) {
    const std::string text =
        "a\x82\xa0\x82\xa2"
        "bc\x8a\xbf"
        "d\x81\x40"
        "e";  // aあいbc漢d　e
    for (int budget = 2; budget <= 6; ++budget) {
        std::string joined, piece;
        int start = 1, count = 0;
        do {
            CopyCharsFrom(text, start, budget, piece, count);
            joined += piece;
            start += count;
        } while (count > 0);
        EXPECT_EQ(joined, text) << " budget " << budget;
    }
}

TEST(TextRunLength, FullWidthCountsWholeHalfWidthHalf) {
    struct Row {
        std::string text;
        double expected;
    };
    const Row rows[] = {
        {"", 0},
        {"AB", 4.5},              // 2 + 0.5 + 2
        {"\x82\xa0\x82\xa2", 9},  // あい: 4 + 1 + 4
        {"a\x82\xa0", 6.5},       // aあ: 2 + 0.5 + 4
        {"a\tb", 5},              // the tab has no width but keeps its half gap
        {"\x83\x40"
         "a",
         7},             // ァa, second byte 0x40 is no '@'
        {"a\x82", 6.5},  // a lone lead byte counts as full width
    };
    for (size_t i = 0; i < std::size(rows); ++i) {
        EXPECT_DOUBLE_EQ(TextRunLength(rows[i].text, 4, 1), rows[i].expected) << " row " << i;
    }
}

}  // namespace
}  // namespace dovarin
