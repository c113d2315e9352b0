// The tokenizer of the exchange file's lines. A line is cut into at most 32 tokens: token 0 names
// the record, the others are its values. See ExchangeReader.cpp for the format.
#pragma once

#include <array>
#include <cstdint>
#include <string>
#include <string_view>

namespace dovarin {

// Most tokens a line yields (indices 0 .. 31).
constexpr int kMaxTokens = 32;
// Most bytes a token keeps: the rest of a longer token is dropped, though a two-byte character
// that begins within the limit is kept whole. No record uses more than 255 bytes of a token, so
// the limit changes no answer; it keeps what a line of any length costs bounded.
constexpr std::size_t kMaxTokenBytes = 4096;
// Most bytes the tokens of one line keep together.
constexpr std::size_t kMaxLineTokenBytes = kMaxTokens * (kMaxTokenBytes + 1);

// The tokens of one line. A token is a piece of the line itself when the line holds nothing but
// plain bytes and blanks (most lines: numbers and keys), otherwise a piece of a buffer that is
// reused from line to line; either way tokenizing allocates nothing once the buffer has grown to
// the longest line. The tokens refer to the line, which must outlive them.
class LineTokens {
  public:
    // The index of the last token being filled plus one (an empty last token counts).
    int Count() const { return count_; }
    // Token i; empty for i outside 0 .. Count() - 1.
    std::string_view operator[](int i) const {
        if (i < 0 || i >= count_) return {};
        return std::string_view(base_ + begin_[i], end_[i] - begin_[i]);
    }
    // Token 0 from its n-th byte (1-based) to its end; empty when token 0 is shorter.
    std::string_view Rest(int n) const;

  private:
    friend class TokenSplitter;
    friend class LineScanner;
    std::string bytes_;
    const char* base_ = nullptr;
    std::array<std::size_t, kMaxTokens> begin_{};
    std::array<std::size_t, kMaxTokens> end_{};
    int count_ = 0;
};

// Cuts one line (without its LF) into tokens.
void TokenizeExchangeLine(std::string_view line, LineTokens& tokens);
// The same by the plain byte-by-byte scan that TokenizeExchangeLine falls back on; both give the
// same tokens for every line.
void TokenizeExchangeLineByteByByte(std::string_view line, LineTokens& tokens);

// The byte-by-byte scan of a line that comes in pieces: a line longer than the reader's buffer
// is cut into tokens as it streams past, never held whole. Feeding a line in any pieces gives the
// tokens of the whole line.
class LineScanner {
  public:
    explicit LineScanner(LineTokens& tokens) : tokens_(tokens) {}
    // A new line whose tokens keep at most `room` bytes (kMaxLineTokenBytes always suffices).
    void Start(std::size_t room);
    void Feed(std::string_view piece);
    void Finish();

  private:
    void Append(unsigned char b);
    void AppendPair(unsigned char lead, unsigned char second);
    bool HasRoom() const { return out_ - tokens_.begin_[index_] < kMaxTokenBytes; }

    LineTokens& tokens_;
    char* bytes_ = nullptr;  // tokens_'s buffer, sized by Start
    std::size_t out_ = 0;    // where the next kept byte goes
    int index_ = 0;
    bool separating_ = true;
    int lead_ = -1;  // a lead byte that ended the last piece, waiting for its second byte
};

}  // namespace dovarin
