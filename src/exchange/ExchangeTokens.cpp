// Tokenizer of the exchange file's lines.
//
// The line is scanned byte by byte; "separating" starts true:
//   lead byte (0x80-0x9F, 0xE0-0xFD)  it and the byte after it go into the token as a pair; the
//                                     second byte is never a separator. A lead byte that ends
//                                     the line is dropped.
//   "   while separating              separating ends; the quote itself is not kept
//   =   while separating              kept; separating ends
//   blank or tab while separating     ends a non-empty token; ignored before a token begins
//   other bytes 0x20-0xFD             kept (also blanks and quotes once separating has ended)
//   0x00-0x1F, 0xFE, 0xFF             dropped
// So `ch 1 2 3 4 "A B` gives ch|1|2|3|4|A B, `cn"$<font>` gives one token cn$<font>, and a blank
// at the end of a line leaves an empty last token that the count includes.
//
// A line yields at most 32 tokens. Once the last one (index 31) has begun, a blank or tab ends
// separating instead of opening a 33rd token: the rest of the line joins token 31 as it would
// after a double quote (blanks kept, tabs dropped). Records never need more than 17 tokens, so
// this only keeps such lines from running past the token array. A token keeps at most
// kMaxTokenBytes bytes, for the same reason.
//
// Most lines hold only plain printable bytes and blanks; for them the tokens are found by a scan
// of the line's blanks (16 bytes at a time where SSE2 is available) and refer to the line itself.
// Every other line goes through the byte-by-byte scan above.
//
// A CR is no part of a line anywhere (the file's CR LF and any stray CR), not even as the second
// byte of a pair, so a line handed over with its CR tokenizes like the same line without it.
#include "exchange/ExchangeTokens.h"

#include <algorithm>
#include <cstdint>

#include "util/MyFunc.h"

#if defined(__SSE2__)
#include <emmintrin.h>
#endif

namespace dovarin {
namespace {

constexpr int kLastToken = kMaxTokens - 1;

// ---- the general scan ------------------------------------------------------------------------

enum ByteClass : unsigned char { kKeep, kBlank, kQuote, kEquals, kLead, kDrop };

constexpr std::array<ByteClass, 256> MakeByteClasses() {
    std::array<ByteClass, 256> classes{};
    for (int b = 0; b < 256; ++b) {
        if (IsLeadByte(static_cast<unsigned char>(b)))
            classes[b] = kLead;
        else if (b == ' ' || b == '\t')
            classes[b] = kBlank;
        else if (b == '"')
            classes[b] = kQuote;
        else if (b == '=')
            classes[b] = kEquals;
        else if (b < 0x20 || b > 0xFD)
            classes[b] = kDrop;
        else
            classes[b] = kKeep;
    }
    return classes;
}

constexpr std::array<ByteClass, 256> kByteClasses = MakeByteClasses();

}  // namespace

// ---- plain lines -----------------------------------------------------------------------------

// Turns the blanks of a plain line, block by block, into token boundaries.
class TokenSplitter {
  public:
    explicit TokenSplitter(LineTokens& tokens) : tokens_(tokens) {}

    // One block of `length` (1 .. 16) bytes at `offset`; bit i of `blanks` is set for a blank.
    void Block(std::size_t offset, std::uint32_t blanks, int length) {
        if (capped_) return;
        const std::uint32_t valid = (std::uint32_t{1} << length) - 1;
        const std::uint32_t word = ~blanks & valid;
        const std::uint32_t wordBefore = (word << 1) | (inToken_ ? 1u : 0u);
        const std::uint32_t starts = word & ~wordBefore;
        std::uint32_t events = starts | (blanks & valid & wordBefore);
        while (events) {
            const int bit = __builtin_ctz(events);
            events &= events - 1;
            if (starts >> bit & 1) {
                tokens_.begin_[count_] = offset + bit;
                // The last token takes the rest of the line.
                if (count_ == kLastToken) {
                    capped_ = true;
                    return;
                }
            } else {
                tokens_.end_[count_++] = offset + bit;
            }
        }
        inToken_ = (word >> (length - 1)) & 1;
    }

    void Finish(std::string_view line) {
        const std::size_t length = line.size();
        tokens_.base_ = line.data();
        if (capped_) {
            tokens_.end_[kLastToken] = length;
            tokens_.count_ = kMaxTokens;
        } else if (inToken_) {
            tokens_.end_[count_] = length;
            tokens_.count_ = count_ + 1;
        } else {
            // An empty line has one empty token; a blank after a token leaves an empty last one.
            const std::size_t at = count_ == 0 ? 0 : length;
            tokens_.begin_[count_] = tokens_.end_[count_] = at;
            tokens_.count_ = count_ + 1;
        }
        if (length <= kMaxTokenBytes) return;
        for (int i = 0; i < tokens_.count_; ++i) {
            if (tokens_.end_[i] - tokens_.begin_[i] > kMaxTokenBytes)
                tokens_.end_[i] = tokens_.begin_[i] + kMaxTokenBytes;
        }
    }

  private:
    LineTokens& tokens_;
    int count_ = 0;
    bool inToken_ = false;
    bool capped_ = false;
};

namespace {

struct BlockBits {
    std::uint32_t blanks = 0;  // bit i: byte i is a blank
    std::uint32_t plain = 0;   // bit i: byte i is a blank or printable other than '"' and '='
};

constexpr int kBlockBytes = 16;
constexpr std::uint32_t kWholeBlock = (std::uint32_t{1} << kBlockBytes) - 1;

constexpr bool IsPlainByte(unsigned char b) {
    return b == ' ' || (b > 0x20 && b < 0x7F && b != '"' && b != '=');
}

BlockBits ScalarBits(const unsigned char* p, int length) {
    BlockBits bits;
    for (int i = 0; i < length; ++i) {
        bits.blanks |= std::uint32_t{p[i] == ' '} << i;
        bits.plain |= std::uint32_t{IsPlainByte(p[i])} << i;
    }
    return bits;
}

#if defined(__SSE2__)
// Called for every 16 bytes of most lines: keep it inside the loop.
[[gnu::always_inline]] inline BlockBits VectorBits(const unsigned char* p) {
    const __m128i v = _mm_loadu_si128(reinterpret_cast<const __m128i*>(p));
    const __m128i blank = _mm_cmpeq_epi8(v, _mm_set1_epi8(' '));
    // Signed compares: bytes from 0x80 up are negative and so not plain.
    const __m128i printable = _mm_and_si128(_mm_cmpgt_epi8(v, _mm_set1_epi8(0x20)),
                                            _mm_cmplt_epi8(v, _mm_set1_epi8(0x7F)));
    const __m128i marks =
        _mm_or_si128(_mm_cmpeq_epi8(v, _mm_set1_epi8('"')), _mm_cmpeq_epi8(v, _mm_set1_epi8('=')));
    const __m128i plain = _mm_or_si128(_mm_andnot_si128(marks, printable), blank);
    BlockBits bits;
    bits.blanks = static_cast<std::uint32_t>(_mm_movemask_epi8(blank));
    bits.plain = static_cast<std::uint32_t>(_mm_movemask_epi8(plain));
    return bits;
}
#endif

// The bits of the `length` bytes at p (1 .. 16), never reading outside the line: a short last
// block of a long line is read as the line's last 16 bytes and shifted into place.
[[gnu::always_inline]] inline BlockBits BitsOf(const unsigned char* line, std::size_t offset,
                                               std::size_t lineLength, int length) {
#if defined(__SSE2__)
    if (length == kBlockBytes) return VectorBits(line + offset);
    if (lineLength >= kBlockBytes) {
        BlockBits bits = VectorBits(line + lineLength - kBlockBytes);
        bits.blanks >>= kBlockBytes - length;
        bits.plain >>= kBlockBytes - length;
        return bits;
    }
#else
    (void)lineLength;
#endif
    return ScalarBits(line + offset, length);
}

// False, with `tokens` unusable, when the line needs the byte-by-byte scan.
bool SplitPlainLine(std::string_view line, LineTokens& tokens) {
    const unsigned char* p = reinterpret_cast<const unsigned char*>(line.data());
    const std::size_t length = line.size();
    TokenSplitter splitter(tokens);
    for (std::size_t offset = 0; offset < length; offset += kBlockBytes) {
        const int block =
            length - offset >= kBlockBytes ? kBlockBytes : static_cast<int>(length - offset);
        const BlockBits bits = BitsOf(p, offset, length, block);
        if (bits.plain != (kWholeBlock >> (kBlockBytes - block))) return false;
        splitter.Block(offset, bits.blanks, block);
    }
    splitter.Finish(line);
    return true;
}

}  // namespace

std::string_view LineTokens::Rest(int n) const {
    std::string_view key = (*this)[0];
    std::size_t skip = n > 1 ? static_cast<std::size_t>(n - 1) : 0;
    return skip < key.size() ? key.substr(skip) : std::string_view();
}

void TokenizeExchangeLine(std::string_view line, LineTokens& tokens) {
    if (!SplitPlainLine(line, tokens)) TokenizeExchangeLineByteByByte(line, tokens);
}

void TokenizeExchangeLineByteByByte(std::string_view line, LineTokens& tokens) {
    LineScanner scanner(tokens);
    scanner.Start(std::min(line.size(), kMaxLineTokenBytes));
    scanner.Feed(line);
    scanner.Finish();
}

// ---- the byte-by-byte scan -------------------------------------------------------------------

// The tokens' bytes go one after another into the reusable buffer, so token i ends where token
// i + 1 begins.
void LineScanner::Start(std::size_t room) {
    if (tokens_.bytes_.size() < room) tokens_.bytes_.resize(room);
    bytes_ = tokens_.bytes_.data();
    out_ = 0;
    index_ = 0;
    separating_ = true;
    lead_ = -1;
    tokens_.begin_[0] = 0;
}

void LineScanner::Append(unsigned char b) {
    if (HasRoom()) bytes_[out_++] = static_cast<char>(b);
}

void LineScanner::AppendPair(unsigned char lead, unsigned char second) {
    if (!HasRoom()) return;
    bytes_[out_++] = static_cast<char>(lead);
    bytes_[out_++] = static_cast<char>(second);
}

void LineScanner::Feed(std::string_view piece) {
    const unsigned char* p = reinterpret_cast<const unsigned char*>(piece.data());
    const unsigned char* const end = p + piece.size();
    if (lead_ >= 0) {
        while (p < end && *p == '\r') ++p;
        if (p == end) return;
        AppendPair(static_cast<unsigned char>(lead_), *p++);
        lead_ = -1;
    }
    while (p < end) {
        const unsigned char b = *p++;
        switch (kByteClasses[b]) {
            case kKeep:
                Append(b);
                break;
            case kLead:
                while (p < end && *p == '\r') ++p;
                if (p == end) {
                    lead_ = b;  // its second byte comes with the next piece, if any
                    return;
                }
                AppendPair(b, *p++);
                break;
            case kBlank: {
                const bool inToken = out_ > tokens_.begin_[index_];
                if (!separating_) {
                    if (b == ' ') Append(' ');
                } else if (inToken && index_ < kLastToken) {
                    tokens_.begin_[++index_] = out_;
                } else if (inToken) {
                    separating_ = false;  // the rest of the line joins the last token
                    if (b == ' ') Append(' ');
                }
                break;
            }
            case kQuote:
                if (!separating_) Append('"');
                separating_ = false;
                break;
            case kEquals:
                Append('=');
                separating_ = false;
                break;
            case kDrop:
                break;
        }
    }
}

// A lead byte still waiting ends the line and is dropped.
void LineScanner::Finish() {
    for (int i = 0; i < index_; ++i) tokens_.end_[i] = tokens_.begin_[i + 1];
    tokens_.end_[index_] = out_;
    tokens_.count_ = index_ + 1;
    tokens_.base_ = bytes_;
}

}  // namespace dovarin
