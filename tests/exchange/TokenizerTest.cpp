// Cutting exchange lines into tokens: separators, quotes, two-byte characters, dropped bytes, and
// the 32-token limit; the fast path for plain lines must agree with the byte-by-byte scan.
#include <gtest/gtest.h>

#include <random>
#include <string>
#include <vector>

#include "exchange/ExchangeTokens.h"

namespace dovarin {
namespace {

std::vector<std::string> TokensOf(std::string_view line,
                                  void (*tokenize)(std::string_view, LineTokens&)) {
    LineTokens tokens;
    tokenize(line, tokens);
    std::vector<std::string> result;
    for (int i = 0; i < tokens.Count(); ++i) result.emplace_back(tokens[i]);
    return result;
}

std::vector<std::string> TokensOf(std::string_view line) {
    return TokensOf(line, TokenizeExchangeLine);
}

// "t0 t1 ... t<count-1>"
std::string NumberedTokens(int count) {
    std::string line;
    for (int i = 0; i < count; ++i) line += (i ? " t" : "t") + std::to_string(i);
    return line;
}

std::string JoinedFrom(int first, int count) {
    std::string joined;
    for (int i = first; i < count; ++i) joined += (i > first ? " t" : "t") + std::to_string(i);
    return joined;
}

TEST(Tokenizer, CutsLinesByRule) {
    using V = std::vector<std::string>;
    struct Row {
        std::string line;
        V expected;
    };
    const Row rows[] = {
        {"", {""}},
        {"  \t \x01\x02", {""}},
        {"hk 2.5", {"hk", "2.5"}},
        {"hk 2.5 ", {"hk", "2.5", ""}},  // a trailing blank leaves an empty last token
        {"   a    b\t\tc", {"a", "b", "c"}},
        {"ch 1 2 3 4 \"A B", {"ch", "1", "2", "3", "4", "A B"}},
        {"ch 1 2 3 4 A B", {"ch", "1", "2", "3", "4", "A", "B"}},
        {"ch 1 2 3 4 \"", {"ch", "1", "2", "3", "4", ""}},
        {"x \"a\"b = c", {"x", "a\"b = c"}},  // quotes and "=" kept once separating has ended
        {"ab\"c d", {"abc d"}},
        {"x \"a\tb", {"x", "ab"}},  // a tab is dropped after the quote
        {"file=C:\\a b\\c.txt", {"file=C:\\a b\\c.txt"}},
        {"a=b c", {"a=b c"}},
        // cn"$<ＭＳ ゴシック>: one token without the quote, blank inside
        {"cn\"$<\x82\x6c\x82\x72 \x83\x53\x83\x56\x83\x62\x83\x4e>",
         {"cn$<\x82\x6c\x82\x72 \x83\x53\x83\x56\x83\x62\x83\x4e>"}},
        {"\x83\x5c\x95\x5c", {"\x83\x5c\x95\x5c"}},  // ソ表: second bytes 0x5C
        {"\x81\x20x y", {"\x81\x20x", "y"}},         // a second byte is never a separator
        {"\x82\x22 a", {"\x82\x22", "a"}},           // ... nor a quote
        {"\x82\x3d a", {"\x82\x3d", "a"}},           // ... nor an equals sign
        {"ab\x82", {"ab"}},                          // a lead byte ending the line is dropped
        {"ab \x82", {"ab", ""}},
        {"a\x01"
         "b\xfe"
         "c\xff\x7f",
         {"abc\x7f"}},
        {"\xb1\xb2 c", {"\xb1\xb2", "c"}},  // half-width katakana are one-byte characters
        {"a b\r", {"a", "b"}},
        {"a\rb", {"ab"}},
        {"\x82\r\x40", {"\x82\x40"}},  // a CR is no part of the line, not even inside a pair
        {"x\x82\r", {"x"}},
        {"-90984.2577738658 21250.5480255399 -66133.21 17849.7297",
         {"-90984.2577738658", "21250.5480255399", "-66133.21", "17849.7297"}},
        {"  1234567890123456 x  ", {"1234567890123456", "x", ""}},
    };
    for (size_t i = 0; i < std::size(rows); ++i) {
        EXPECT_EQ(TokensOf(rows[i].line), rows[i].expected) << " row " << i;
        EXPECT_EQ(TokensOf(rows[i].line, TokenizeExchangeLineByteByByte), rows[i].expected)
            << " row " << i;
    }
}

TEST(Tokenizer, RestOfLineJoinsTheLastToken) {
    struct Row {
        std::string line;
        std::string last;  // token 31
        int count;
    };
    const Row rows[] = {
        {NumberedTokens(31), "", 31},
        {NumberedTokens(31) + " ", "", 32},
        {NumberedTokens(32), "t31", 32},
        {NumberedTokens(32) + "  ", "t31  ", 32},
        {NumberedTokens(40), JoinedFrom(31, 40), 32},
        {NumberedTokens(32) + "\tt32 \"q\"", "t31t32 \"q\"", 32},
        {NumberedTokens(31) + "   \x83\x5c \x83\x5c", "\x83\x5c \x83\x5c", 32},
    };
    for (size_t i = 0; i < std::size(rows); ++i) {
        for (auto tokenize : {TokenizeExchangeLine, TokenizeExchangeLineByteByByte}) {
            LineTokens tokens;
            tokenize(rows[i].line, tokens);
            EXPECT_EQ(tokens.Count(), rows[i].count) << " row " << i;
            EXPECT_EQ(tokens[31], rows[i].last) << " row " << i;
            EXPECT_EQ(tokens[30], rows[i].count >= 31 ? "t30" : "") << " row " << i;
            EXPECT_EQ(tokens[32], "") << " row " << i;
        }
    }
}

TEST(Tokenizer, RestOfKey) {
    LineTokens tokens;
    TokenizeExchangeLine("lgn5abc 1", tokens);
    EXPECT_EQ(tokens.Rest(4), "5abc");
    EXPECT_EQ(tokens.Rest(1), "lgn5abc");
    EXPECT_EQ(tokens.Rest(7), "c");
    EXPECT_EQ(tokens.Rest(8), "");
    EXPECT_EQ(tokens.Rest(99), "");
    EXPECT_EQ(tokens[-1], "");
}

// Reusing one LineTokens must not carry anything from a longer line into a shorter one.
TEST(Tokenizer, ReusedTokensForgetThePreviousLine) {
    LineTokens tokens;
    TokenizeExchangeLine("ch 1 2 3 4 \"long text here", tokens);
    TokenizeExchangeLine("a b", tokens);
    ASSERT_EQ(tokens.Count(), 2);
    EXPECT_EQ(tokens[2], "");
    TokenizeExchangeLine("", tokens);
    EXPECT_EQ(tokens.Count(), 1);
    EXPECT_EQ(tokens[0], "");
}

// The fast path for plain lines and the byte-by-byte scan agree on any line, including lines
// that cross the 16-byte blocks at every offset.
TEST(Tokenizer, FastPathAgreesWithByteScan) {
    std::mt19937 random(12345);
    const std::string alphabet =
        "0123456789.-     \t\"=\x82\x5c\xb1\r\x01\xfe"
        "abcz";
    for (int round = 0; round < 20000; ++round) {
        const int length = static_cast<int>(random() % 90);
        const bool plain = round % 2 == 0;
        std::string line;
        for (int i = 0; i < length; ++i) {
            const size_t pick = random() % (plain ? 17 : alphabet.size());
            line += alphabet[pick];
        }
        ASSERT_EQ(TokensOf(line), TokensOf(line, TokenizeExchangeLineByteByByte))
            << " line '" << line << "'";
    }
}

// A line that reaches the reader in pieces gives the tokens of the whole line, wherever it is cut
// (between a lead byte and its second byte, or a CR and what follows, included).
TEST(Tokenizer, LineFedInPiecesGivesTheWholeLinesTokens) {
    std::mt19937 random(2024);
    const std::string alphabet =
        "0123456789. \t\"=\x82\x5c\r\x01"
        "ab";
    LineTokens pieces;
    LineScanner scanner(pieces);
    for (int round = 0; round < 20000; ++round) {
        std::string line;
        for (int i = 0, n = static_cast<int>(random() % 120); i < n; ++i)
            line += alphabet[random() % alphabet.size()];
        scanner.Start(kMaxLineTokenBytes);
        for (std::size_t at = 0; at < line.size();) {
            const std::size_t size = 1 + random() % 9;
            scanner.Feed(std::string_view(line).substr(at, size));
            at += size;
        }
        scanner.Finish();
        std::vector<std::string> fed;
        for (int i = 0; i < pieces.Count(); ++i) fed.emplace_back(pieces[i]);
        ASSERT_EQ(fed, TokensOf(line, TokenizeExchangeLineByteByByte)) << " line '" << line << "'";
    }
}

// A token keeps its first kMaxTokenBytes bytes, a two-byte character across the limit whole.
TEST(Tokenizer, OverlongTokensAreCut) {
    const std::string big(kMaxTokenBytes + 100, '7');
    const std::string pairs = std::string(kMaxTokenBytes - 1, 'a') + "\x82\x5c\x82\x5c";
    struct Row {
        std::string line;
        std::vector<std::string> expected;
    };
    const Row rows[] = {
        {big + " 1", {big.substr(0, kMaxTokenBytes), "1"}},
        {"ch 1 2 3 4 \"" + big, {"ch", "1", "2", "3", "4", big.substr(0, kMaxTokenBytes)}},
        {"x " + pairs + " y", {"x", pairs.substr(0, kMaxTokenBytes + 1), "y"}},
    };
    for (size_t i = 0; i < std::size(rows); ++i) {
        EXPECT_EQ(TokensOf(rows[i].line), rows[i].expected) << " row " << i;
        EXPECT_EQ(TokensOf(rows[i].line, TokenizeExchangeLineByteByByte), rows[i].expected)
            << " row " << i;
    }
}

}  // namespace
}  // namespace dovarin
