// ToFullWidth against the code page's full-width characters (bytes checked with iconv).
#include <gtest/gtest.h>

#include <set>

#include "util/MyFunc.h"

namespace dovarin {
namespace {

TEST(ToFullWidth, MapsCharactersByTable) {
    struct Row {
        std::string text, expected;
    };
    const Row rows[] = {
        {"", ""},
        {"1,234.5", "\x82\x50\x81\x43\x82\x51\x82\x52\x82\x53\x81\x44\x82\x54"},  // １，２３４．５
        {" -~\\\"'", "\x81\x40\x81\x7c\x81\x60\x81\x8f\xfa\x57\xfa\x56"},  // 　－～￥＂＇
        {"Az", "\x82\x60\x82\x9a"},                                        // Ａｚ
        {"\xa1\xa2\xa3\xa4\xa5\xb0",
         "\x81\x42\x81\x75\x81\x76\x81\x41\x81\x45\x81\x5b"},      // 。「」、・ー
        {"\xb1\xa7\xdd", "\x83\x41\x83\x40\x83\x93"},              // ｱｧﾝ -> アァン
        {"\xb6\xde\xca\xdf\xb3\xde", "\x83\x4b\x83\x70\x83\x94"},  // ｶﾞﾊﾟｳﾞ -> ガパヴ
        {"\xca\xde\xce\xdf\xc4\xde", "\x83\x6f\x83\x7c\x83\x68"},  // ﾊﾞﾎﾟﾄﾞ -> バポド
        {"\xdc\xde\xb1\xdf", "\x83\x8f\x81\x4a\x83\x41\x81\x4b"},  // ﾜﾞｱﾟ -> ワ゛ア゜
        {"\xde\xdf", "\x81\x4a\x81\x4b"},                          // ﾞﾟ -> ゛゜
        {"\x82\x9f\x82\xa0\x82\xdd\x82\xde\x82\xf1",
         "\x83\x40\x83\x41\x83\x7e\x83\x80\x83\x93"},  // ぁあみむん
        {"\x81\x54\x81\x55", "\x81\x52\x81\x53"},      // ゝゞ -> ヽヾ
        {"\x8a\xbf\x83\x5c\x83\x41",
         "\x8a\xbf\x83\x5c\x83\x41"},                  // 漢ソア: second bytes 0x5C, 0x41 stay
        {"\x82\x60\x81\x40", "\x82\x60\x81\x40"},      // Ａ　 already full width
        {"\t\x7f\xa0\xfe\xff", "\t\x7f\xa0\xfe\xff"},  // no full-width form
        {"a\x82", "\x82\x81\x82"},                     // a lone lead byte at the end stays
        {"\x83\xb6\xde", "\x83\xb6\x81\x4a"},          // 0xB6 as a second byte is no ｶ
    };
    for (size_t i = 0; i < std::size(rows); ++i) {
        EXPECT_EQ(ToFullWidth(rows[i].text), rows[i].expected) << " row " << i;
    }
}

TEST(ToFullWidth, EveryHalfWidthCharacterBecomesOneDistinctFullWidthCharacter) {
    std::set<std::string> seen;
    for (int b = 0x20; b <= 0xDF; ++b) {
        if (b > 0x7E && b < 0xA1) continue;
        const std::string wide = ToFullWidth(std::string(1, static_cast<char>(b)));
        ASSERT_EQ(wide.size(), 2u) << " byte " << b;
        EXPECT_TRUE(IsLeadByte(static_cast<unsigned char>(wide[0]))) << " byte " << b;
        EXPECT_TRUE(seen.insert(wide).second) << " byte " << b;
    }
}

TEST(ToFullWidth, HiraganaRunMapsOntoTheKatakanaRun) {
    // The katakana run skips the second byte 0x7F, so the mapping is not a plain offset.
    int previous = 0x833F;
    for (int trail = 0x9F; trail <= 0xF1; ++trail) {
        const std::string kata = ToFullWidth(std::string{'\x82', static_cast<char>(trail)});
        ASSERT_EQ(kata.size(), 2u);
        const int code =
            static_cast<unsigned char>(kata[0]) << 8 | static_cast<unsigned char>(kata[1]);
        EXPECT_EQ(code, previous + (previous == 0x837E ? 2 : 1)) << " trail " << trail;
        previous = code;
    }
    EXPECT_EQ(previous, 0x8393);  // ン
}

TEST(ToFullWidth, LongTextConvertsWhole) {
    std::string text, expected;
    for (int i = 0; i < 300; ++i) {
        text += (i % 3 == 0) ? std::string("\x82\xa0") : std::string("7");  // あ / 7
        expected += (i % 3 == 0) ? std::string("\x83\x41") : std::string("\x82\x56");
    }
    EXPECT_EQ(ToFullWidth(text), expected);
}

}  // namespace
}  // namespace dovarin
