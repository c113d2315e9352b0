// The compact forms of the fields of HostState's encoded records (EntityList.h). Each form gives
// back exactly what went in, for any 32-bit integer, any double (its bits) and any text:
//
//   integer  zigzag varint: -64 .. 63 take one byte, any 32-bit value at most five
//   real     0x00 .. 0x7E        the whole number 0 .. 126 itself
//            0x7F, then the value's eight bytes
//                                any double the other forms do not give back bit for bit
//            0x80 | 0x40 if negative | places << 2 | n, then the digits in 1, 2, 4 or 7 bytes
//                                (n = 0 .. 3) a short decimal (util's ShortDecimal), which
//                                ShortDecimalValue turns back into the very double the reader
//                                made of it
//   text     its length as a varint, then its bytes
//
// A plain decimal read from the file thus takes no more bytes than its text and the blank after
// it; a number in exponent form or of more than 15 digits keeps its eight bytes.
#pragma once

#include <array>
#include <cstddef>
#include <cstdint>
#include <cstring>
#include <string>

#include "util/MyFunc.h"

namespace dovarin::field_codec {

// Most bytes a field takes, besides a text's own bytes.
constexpr std::size_t kMaxIntBytes = 5;
constexpr std::size_t kMaxInt64Bytes = 10;
constexpr std::size_t kMaxRealBytes = 9;
constexpr std::size_t kMaxTextHeadBytes = 10;

inline std::uint64_t BitsOf(double value) {
    std::uint64_t bits;
    std::memcpy(&bits, &value, sizeof bits);
    return bits;
}

inline std::uint8_t* PutVarint(std::uint8_t* out, std::uint64_t value) {
    while (value >= 0x80) {
        *out++ = static_cast<std::uint8_t>(value | 0x80);
        value >>= 7;
    }
    *out++ = static_cast<std::uint8_t>(value);
    return out;
}

inline std::uint64_t GetVarint(const std::uint8_t*& in) {
    std::uint64_t value = 0;
    for (int shift = 0;; shift += 7) {
        const std::uint8_t byte = *in++;
        value |= static_cast<std::uint64_t>(byte & 0x7F) << shift;
        if (byte < 0x80) return value;
    }
}

// Zigzag: 0, -1, 1, -2 ... become 0, 1, 2, 3 ..., so small negative values stay short too.
inline std::uint8_t* PutInt64(std::uint8_t* out, std::int64_t value) {
    const std::uint64_t bits = static_cast<std::uint64_t>(value);
    return PutVarint(out, (bits << 1) ^ (0 - (bits >> 63)));
}

inline std::int64_t GetInt64(const std::uint8_t*& in) {
    const std::uint64_t zigzag = GetVarint(in);
    return static_cast<std::int64_t>((zigzag >> 1) ^ (0 - (zigzag & 1)));
}

inline std::uint8_t* PutInt(std::uint8_t* out, int value) {
    return PutInt64(out, value);
}

inline int GetInt(const std::uint8_t*& in) {
    return static_cast<int>(GetInt64(in));
}

// The short decimals the reals of one line were read from. A record's reals are stored as these
// digits where a value matches; the double alone does not tell its digits cheaply.
class RealHints {
  public:
    void Add(double value, const ShortDecimal& number) {
        if (count_ < kCapacity)
            hints_[count_++] = {BitsOf(value), number.Digits, number.Places, number.Negative};
    }
    // The decimal read as exactly this value, if any. Fields are mostly asked for in the order
    // they were read, so the search begins behind the last one found.
    bool Find(double value, ShortDecimal& number) const {
        const std::uint64_t bits = BitsOf(value);
        for (int k = next_; k < count_; ++k)
            if (hints_[k].bits == bits) return Found(k, number);
        for (int k = 0; k < next_ && k < count_; ++k)
            if (hints_[k].bits == bits) return Found(k, number);
        return false;
    }

  private:
    static constexpr int kCapacity = 32;  // a line has no more tokens
    // Left uninitialised: a line's hints are made for every record read.
    struct Hint {
        std::uint64_t bits;
        std::uint64_t digits;
        int places;
        bool negative;
    };
    bool Found(int k, ShortDecimal& number) const {
        next_ = k + 1;
        number.Digits = hints_[k].digits;
        number.Places = hints_[k].places;
        number.Negative = hints_[k].negative;
        return true;
    }
    std::array<Hint, kCapacity> hints_;
    int count_ = 0;
    mutable int next_ = 0;
};

constexpr std::uint8_t kRawReal = 0x7F;
constexpr std::uint8_t kDecimal = 0x80;
constexpr std::uint8_t kNegativeDecimal = 0x40;
constexpr int kPlacesShift = 2;
constexpr std::uint8_t kPlacesMask = 0x0F;
constexpr std::size_t kDigitBytes[] = {1, 2, 4, 7};  // 7 bytes hold any ShortDecimal's digits

inline std::uint8_t* PutDecimal(std::uint8_t* out, const ShortDecimal& number) {
    const std::uint64_t digits = number.Digits;
    const bool whole = number.Places == 0 && (!number.Negative || digits == 0);
    if (whole && digits < kRawReal) {
        *out++ = static_cast<std::uint8_t>(digits);
        return out;
    }
    const int size = (digits > 0xFF) + (digits > 0xFFFF) + (digits > 0xFFFFFFFF);
    *out++ = static_cast<std::uint8_t>(kDecimal | (number.Negative ? kNegativeDecimal : 0) |
                                       number.Places << kPlacesShift | size);
    // Little-endian, as on every target we build; the bytes past the digits' size lie in room
    // reserved for the record and are overwritten by what follows.
    std::memcpy(out, &digits, sizeof digits);
    return out + kDigitBytes[size];
}

// A whole number below 2^53 that no hint covers (a default, a value set by code) is a decimal
// without places; everything else keeps its eight bytes.
inline std::uint8_t* PutReal(std::uint8_t* out, double value, const RealHints& hints) {
    if (ShortDecimal hint; hints.Find(value, hint)) return PutDecimal(out, hint);
    constexpr double kExactWhole = 9007199254740992.0;  // 2^53
    const double magnitude = value < 0 ? -value : value;
    if (magnitude < kExactWhole) {
        ShortDecimal whole;
        whole.Digits = static_cast<std::uint64_t>(magnitude);
        whole.Negative = value < 0;
        if (BitsOf(ShortDecimalValue(whole)) == BitsOf(value)) return PutDecimal(out, whole);
    }
    *out++ = kRawReal;
    std::memcpy(out, &value, sizeof value);
    return out + sizeof value;
}

inline double GetReal(const std::uint8_t*& in) {
    const std::uint8_t head = *in++;
    if (head < kRawReal) return head;
    if (head == kRawReal) {
        double value;
        std::memcpy(&value, in, sizeof value);
        in += sizeof value;
        return value;
    }
    ShortDecimal number;
    number.Negative = (head & kNegativeDecimal) != 0;
    number.Places = (head >> kPlacesShift) & kPlacesMask;
    const std::size_t size = kDigitBytes[head & 3];
    std::memcpy(&number.Digits, in, size);
    in += size;
    return ShortDecimalValue(number);
}

inline std::uint8_t* PutText(std::uint8_t* out, const std::string& text) {
    out = PutVarint(out, text.size());
    std::memcpy(out, text.data(), text.size());
    return out + text.size();
}

inline void GetText(const std::uint8_t*& in, std::string& text) {
    const std::size_t size = static_cast<std::size_t>(GetVarint(in));
    text.assign(reinterpret_cast<const char*>(in), size);
    in += size;
}

}  // namespace dovarin::field_codec
