// The packing of the entity lists' bytes (EntityList.h): integers in as few bytes as they need,
// and the tokens of numbers four bits a byte.
#pragma once

#include <array>
#include <cstddef>
#include <cstdint>
#include <string>
#include <string_view>

namespace dovarin::packing {

// ---- variable-length integer -----------------------------------------------------------------
// Seven bits a byte, the lowest first; the top bit of a byte says that another one follows. A
// value below 128 takes one byte, below 16384 two, any 64-bit value at most ten.

constexpr int kVarintBits = 7;
constexpr std::uint8_t kVarintMore = 0x80;
constexpr std::uint8_t kVarintPayload = kVarintMore - 1;

constexpr std::size_t VarintBytes(std::uint64_t value) {
    std::size_t bytes = 1;
    for (; value >= kVarintMore; value >>= kVarintBits) ++bytes;
    return bytes;
}

inline std::uint8_t* PutVarint(std::uint8_t* out, std::uint64_t value) {
    for (; value >= kVarintMore; value >>= kVarintBits)
        *out++ = static_cast<std::uint8_t>(value | kVarintMore);
    *out++ = static_cast<std::uint8_t>(value);
    return out;
}

inline std::uint64_t GetVarint(const std::uint8_t*& in) {
    std::uint64_t value = 0;
    for (int shift = 0;; shift += kVarintBits) {
        value |= static_cast<std::uint64_t>(*in & kVarintPayload) << shift;
        if (*in++ < kVarintMore) return value;
    }
}

// ---- zigzag ----------------------------------------------------------------------------------
// A signed number as an unsigned one that is small when the number is small either way: 0, -1,
// 1, -2, 2 ... become 0, 1, 2, 3, 4 ..., so that a varint keeps a small difference short.

constexpr std::uint64_t Zigzag(std::int64_t value) {
    const auto bits = static_cast<std::uint64_t>(value);
    return (bits << 1) ^ (0 - (bits >> 63));
}

constexpr std::int64_t Unzigzag(std::uint64_t zigzag) {
    return static_cast<std::int64_t>((zigzag >> 1) ^ (0 - (zigzag & 1)));
}

// ---- nibble digits ---------------------------------------------------------------------------
// Tokens whose bytes are all those of a number are kept four bits a byte, the low half first:
// nibble n stands for kNibbleBytes[n], and kEndOfToken ends each token. A last half byte is filled
// with kEndOfToken. "0 0 1 1" is the nibbles 0 F 0 F 1 F 1 F, the bytes F0 F0 F1 F1.

constexpr char kNibbleBytes[] = "0123456789.-+eE";
constexpr unsigned kEndOfToken = 15;
constexpr unsigned kNibbleBits = 4;
constexpr unsigned kLowNibble = (1u << kNibbleBits) - 1;
constexpr std::uint8_t kNotANumberByte = 0xFF;  // above every nibble

constexpr std::array<std::uint8_t, 256> MakeNibbles() {
    std::array<std::uint8_t, 256> nibbles{};
    for (int b = 0; b < 256; ++b) nibbles[b] = kNotANumberByte;
    for (unsigned n = 0; n < kEndOfToken; ++n)
        nibbles[static_cast<unsigned char>(kNibbleBytes[n])] = static_cast<std::uint8_t>(n);
    return nibbles;
}
// The nibble of each byte, kNotANumberByte for a byte that is not one of a number.
inline constexpr std::array<std::uint8_t, 256> kNibbles = MakeNibbles();

// Packs the tokens; false when a byte is not one of a number (the bytes from `out` on are then
// garbage, and `out` stays). At most (bytes of the tokens + count + 1) / 2 bytes are written.
inline bool PackTokens(const std::string_view* tokens, std::size_t count, std::uint8_t*& out) {
    std::uint8_t* next = out;
    unsigned seen = 0, low = 0;  // low: the first half of the byte being made, if `half`
    bool half = false;
    for (std::size_t k = 0; k < count; ++k) {
        for (std::size_t i = 0; i <= tokens[k].size(); ++i) {
            const unsigned nibble = i < tokens[k].size()
                                        ? kNibbles[static_cast<std::uint8_t>(tokens[k][i])]
                                        : kEndOfToken;
            seen |= nibble;
            if (half) *next++ = static_cast<std::uint8_t>(low | nibble << kNibbleBits);
            low = nibble;
            half = !half;
        }
    }
    if (half) *next++ = static_cast<std::uint8_t>(low | kEndOfToken << kNibbleBits);
    if (seen > kEndOfToken) return false;
    out = next;
    return true;
}

// Reads packed tokens one after another.
class NibbleReader {
  public:
    explicit NibbleReader(const std::uint8_t* in) : in_(in) {}
    // Appends the next token's bytes to `token`, or only steps over them when it is null.
    void Token(std::string* token) {
        for (;;) {
            const unsigned nibble = high_ ? *in_++ >> kNibbleBits : *in_ & kLowNibble;
            high_ = !high_;
            if (nibble == kEndOfToken) return;
            if (token) *token += kNibbleBytes[nibble];
        }
    }
    // Where the bytes after the tokens begin: a byte whose low half was read counts whole.
    const std::uint8_t* End() const { return in_ + high_; }

  private:
    const std::uint8_t* in_;
    bool high_ = false;  // the low half of *in_ has been read
};

}  // namespace dovarin::packing
