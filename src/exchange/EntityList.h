// EntityList: the ordered list of one kind of HostState's entity records.
//
// A big exchange file is mostly short records ("0 0 1 1" is nine bytes in the file, a
// TJwwEntLine 64), and the program reads one of them. So a list keeps each record as the reader
// found it, and makes the record's fields only when it is asked for one:
//   - the own fields (EntityRecords.h: coordinates, codes, texts) as the tokens they were read
//     from, byte for byte; a real is made by StrToFloatOrZero and an integer by StrToIntOrZero,
//     as the reader always made them, so a field comes back exactly as it would have been read.
//   - the shared fields (the attributes, a text's size and font, a dimension's line) only where
//     they differ from the record before: an integer as the difference, a real as its shortest
//     text when that is short and reads back to the same bits (else its eight bytes), a font as
//     its bytes when it is new and as the position of those bytes when it comes again.
// A record in the bytes:
//   a head byte: kSharedFollow, kPacked
//   the tokens, packed: when every byte of them is one of the 15 of a number (0-9 . - + e E),
//     as four bits a byte, each token ended by kEndOfToken (" -5321.378171 362.5834775" thus
//     takes 12 bytes); else one after another, each as varint(length) and its bytes
//   the shared fields that changed: a mask byte for every eight of them, then the changed ones
// Every kPageRecords-th record stores its shared fields against those of a new record, and the
// list remembers where it begins: record i is found by stepping over at most kPageRecords - 1
// records, which converts no token.
//
// Records are handed out by value: list[i] and iteration only read. After an exception from
// Append (out of memory) the list may only be cleared or destroyed.
#pragma once

#include <array>
#include <cassert>
#include <charconv>
#include <cstddef>
#include <cstdint>
#include <cstring>
#include <initializer_list>
#include <iterator>
#include <string>
#include <string_view>
#include <utility>
#include <vector>

#include "exchange/ByteChunks.h"
#include "exchange/EntityRecords.h"
#include "util/MyFunc.h"

namespace dovarin {
namespace entity_list_detail {

constexpr std::size_t kMaxVarintBytes = 10;
constexpr std::uint8_t kSharedFollow = 1;
constexpr std::uint8_t kPacked = 2;
constexpr std::uint8_t kEndOfToken = 15;
constexpr std::uint8_t kNoNibble = 0xFF;
constexpr char kNibbleBytes[] = "0123456789.-+eE";

constexpr std::array<std::uint8_t, 256> MakeNibbles() {
    std::array<std::uint8_t, 256> nibbles{};
    for (std::uint8_t& n : nibbles) n = kNoNibble;
    for (std::uint8_t n = 0; n < kEndOfToken; ++n)
        nibbles[static_cast<unsigned char>(kNibbleBytes[n])] = n;
    return nibbles;
}
constexpr std::array<std::uint8_t, 256> kNibbles = MakeNibbles();
constexpr std::size_t kMaxShortReal = 8;  // a real's text is kept when no longer than its bits

inline std::uint8_t* PutVarint(std::uint8_t* out, std::uint64_t value) {
    for (; value >= 0x80; value >>= 7) *out++ = static_cast<std::uint8_t>(value | 0x80);
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

// Zigzag: 0, -1, 1, -2 ... become 0, 1, 2, 3 ..., so that small values of either sign stay short.
inline std::uint64_t Zigzag(std::int64_t value) {
    const std::uint64_t bits = static_cast<std::uint64_t>(value);
    return (bits << 1) ^ (0 - (bits >> 63));
}

inline std::int64_t Unzigzag(std::uint64_t z) {
    return static_cast<std::int64_t>((z >> 1) ^ (0 - (z & 1)));
}

inline std::uint8_t* PutBytes(std::uint8_t* out, std::string_view bytes) {
    std::memcpy(out, bytes.data(), bytes.size());
    return out + bytes.size();
}

inline std::string_view GetBytes(const std::uint8_t*& in, std::size_t size) {
    const std::string_view bytes(reinterpret_cast<const char*>(in), size);
    in += size;
    return bytes;
}

// Packs the tokens two bytes to a byte, each token ended by kEndOfToken; false when one of their
// bytes is not one of a number (`out` then holds garbage past its old value, which stays).
inline bool PackTokens(const std::string_view* tokens, std::size_t count, std::uint8_t*& out) {
    std::uint8_t* next = out;
    unsigned seen = 0;
    unsigned low = 0;  // the low half of the byte being made, if `half`
    bool half = false;
    for (std::size_t k = 0; k < count; ++k) {
        const std::string_view token = tokens[k];
        const auto nibble = [&token](std::size_t i) -> unsigned {
            return i < token.size() ? kNibbles[static_cast<unsigned char>(token[i])] : kEndOfToken;
        };
        const std::size_t size = token.size() + 1;
        std::size_t i = 0;
        if (half) {
            const unsigned high = nibble(i++);
            seen |= high;
            *next++ = static_cast<std::uint8_t>(low | high << 4);
        }
        for (; i + 1 < size; i += 2) {
            const unsigned a = nibble(i), b = nibble(i + 1);
            seen |= a | b;
            *next++ = static_cast<std::uint8_t>(a | b << 4);
        }
        half = i < size;
        if (half) seen |= low = nibble(i);
    }
    if (half) *next++ = static_cast<std::uint8_t>(low | kEndOfToken << 4);
    if (seen > kEndOfToken) return false;
    out = next;
    return true;
}

inline std::uint64_t BitsOf(double value) {
    std::uint64_t bits;
    std::memcpy(&bits, &value, sizeof bits);
    return bits;
}

// The last stored font of a list and where its bytes lie.
struct StoredText {
    std::string text;
    std::uint64_t at = 0;
};

// Opens a mask byte at every eighth shared field.
class MaskGroups {
  protected:
    bool OpensGroup() const { return shared_ % 8 == 0; }
    std::uint8_t Bit() const { return static_cast<std::uint8_t>(1u << (shared_ % 8)); }
    int shared_ = 0;
};

// Most bytes the shared fields of a record take, and the number of own fields.
class FieldBound : MaskGroups {
  public:
    std::size_t bytes = 0;
    std::size_t own = 0;
    template <class F>
    void Own(const F&) {
        ++own;
    }
    template <class F>
    void Shared(const F& field) {
        bytes += OpensGroup() + Max(field);
        ++shared_;
    }

  private:
    static std::size_t Max(int) { return 5; }  // the difference of two ints
    static std::size_t Max(double) { return 1 + sizeof(double); }
    static std::size_t Max(const std::string&) { return kMaxVarintBytes + kMaxTextBytes; }
};

// Writes the shared fields that differ from the record before (`last`), which takes them.
class SharedWriter : MaskGroups {
  public:
    SharedWriter(std::uint8_t* out, std::uint64_t at, StoredText& font)
        : start_(out), out_(out), at_(at), font_(font) {}
    bool Changed() const { return changed_; }
    std::uint8_t* End() const { return out_; }

    template <class F>
    void Own(const F&, F&) {}
    template <class F>
    void Shared(const F& value, F& last) {
        if (OpensGroup()) {
            mask_ = out_++;
            *mask_ = 0;
        }
        if (!Same(value, last)) {
            *mask_ |= Bit();
            Put(value, last);
            last = value;
            changed_ = true;
        }
        ++shared_;
    }

  private:
    static bool Same(int a, int b) { return a == b; }
    static bool Same(double a, double b) { return BitsOf(a) == BitsOf(b); }
    static bool Same(const std::string& a, const std::string& b) { return a == b; }

    void Put(int value, int last) { out_ = PutVarint(out_, Zigzag(std::int64_t{value} - last)); }
    void Put(double value, double) {
        char text[32];
        const std::size_t size = std::to_chars(text, text + sizeof text, value).ptr - text;
        const std::string_view shortest(text, size);
        if (size <= kMaxShortReal && BitsOf(StrToFloatOrZero(shortest)) == BitsOf(value)) {
            out_ = PutBytes(PutVarint(out_, size << 1), shortest);
        } else {
            *out_++ = 1;
            std::memcpy(out_, &value, sizeof value);
            out_ += sizeof value;
        }
    }
    // A font is compared as it was read and stored as a text record keeps it.
    void Put(const std::string& value, const std::string&) {
        if (value.empty() || value != font_.text) {
            font_.text = value;
            font_.at = at_ + (out_ - start_);
            const std::string_view kept = TextFieldBytes(value);
            out_ = PutBytes(PutVarint(out_, kept.size() << 1), kept);
        } else {
            out_ = PutVarint(out_, font_.at << 1 | 1);
        }
    }

    std::uint8_t* const start_;
    std::uint8_t* out_;
    std::uint8_t* mask_ = nullptr;
    const std::uint64_t at_;  // the position of start_
    StoredText& font_;
    bool changed_ = false;
};

// Makes the own fields of a record from its tokens, or only steps over them. A packed token is
// unpacked into `scratch`.
class OwnReader {
  public:
    OwnReader(const std::uint8_t* in, bool make, std::string& scratch)
        : head_(*in), in_(in + 1), make_(make), scratch_(scratch) {}
    bool SharedFollow() const { return head_ & kSharedFollow; }
    const std::uint8_t* End() const { return in_ + (half_ ? 1 : 0); }

    template <class F>
    void Shared(F&) {}
    void Own(int& field) {
        const std::string_view token = Next();
        if (make_) field = StrToIntOrZero(token);
    }
    void Own(double& field) {
        const std::string_view token = Next();
        if (make_) field = StrToFloatOrZero(token);
    }
    void Own(std::string& field) {
        const std::string_view token = Next();
        if (make_) field.assign(token);
    }

  private:
    std::string_view Next() {
        if (!(head_ & kPacked)) return GetBytes(in_, GetVarint(in_));
        scratch_.clear();
        for (std::uint8_t nibble; (nibble = Nibble()) != kEndOfToken;)
            if (make_) scratch_ += kNibbleBytes[nibble];
        return scratch_;
    }
    std::uint8_t Nibble() {
        const std::uint8_t byte = *in_;
        if (!half_) {
            half_ = true;
            return byte & 15;
        }
        half_ = false;
        ++in_;
        return byte >> 4;
    }

    const std::uint8_t head_;
    const std::uint8_t* in_;
    bool half_ = false;  // the low nibble of *in_ is read
    const bool make_;
    std::string& scratch_;
};

// Applies the shared fields a record stores to the record before it.
class SharedReader : MaskGroups {
  public:
    SharedReader(const ByteChunks& bytes, const std::uint8_t* in) : bytes_(bytes), in_(in) {}
    const std::uint8_t* End() const { return in_; }

    template <class F>
    void Own(F&) {}
    template <class F>
    void Shared(F& field) {
        if (OpensGroup()) mask_ = *in_++;
        if (mask_ & Bit()) Get(field);
        ++shared_;
    }

  private:
    void Get(int& field) { field = static_cast<int>(field + Unzigzag(GetVarint(in_))); }
    void Get(double& field) {
        const std::uint64_t head = GetVarint(in_);
        if (head & 1) {
            std::memcpy(&field, in_, sizeof field);
            in_ += sizeof field;
        } else {
            field = StrToFloatOrZero(GetBytes(in_, head >> 1));
        }
    }
    void Get(std::string& field) {
        const std::uint64_t head = GetVarint(in_);
        if (head & 1) {
            const std::uint8_t* stored = bytes_.At(head >> 1);
            field.assign(GetBytes(stored, GetVarint(stored) >> 1));
        } else {
            field.assign(GetBytes(in_, head >> 1));
        }
    }

    const ByteChunks& bytes_;
    const std::uint8_t* in_;
    std::uint8_t mask_ = 0;
};

}  // namespace entity_list_detail

template <class T>
class EntityList {
    static constexpr std::size_t kPageRecords = 32;

  public:
    using value_type = T;
    using size_type = std::size_t;

    // Makes the records one after another.
    class const_iterator {
      public:
        using iterator_category = std::input_iterator_tag;
        using value_type = T;
        using difference_type = std::ptrdiff_t;
        using pointer = const T*;
        using reference = const T&;

        const_iterator() = default;
        const_iterator(const EntityList* list, std::size_t index) : list_(list), index_(index) {
            if (index_ >= list_->size_) return;
            const std::size_t first = index - index % kPageRecords;
            next_ = list_->pages_[first / kPageRecords];
            for (std::size_t k = first; k < index; ++k) Step(false);
            Step(true);
        }
        const T& operator*() const { return record_; }
        const T* operator->() const { return &record_; }
        const_iterator& operator++() {
            if (++index_ >= list_->size_) return *this;
            if (index_ % kPageRecords == 0) record_ = T();
            Step(true);
            return *this;
        }
        bool operator==(const const_iterator& other) const { return index_ == other.index_; }
        bool operator!=(const const_iterator& other) const { return index_ != other.index_; }

      private:
        void Step(bool make) {
            const std::uint8_t* const in = list_->bytes_.At(next_);
            next_ = list_->bytes_.After(next_, list_->Decode(in, record_, make, scratch_) - in);
        }
        const EntityList* list_ = nullptr;
        std::size_t index_ = 0;
        std::uint64_t next_ = 0;  // where the next record begins
        T record_{};
        std::string scratch_;  // a token as it was read
    };
    using iterator = const_iterator;

    EntityList() = default;
    EntityList(const EntityList&) = default;
    EntityList& operator=(const EntityList&) = default;
    EntityList(EntityList&& other) noexcept { swap(other); }
    EntityList& operator=(EntityList&& other) noexcept {
        EntityList(std::move(other)).swap(*this);
        return *this;
    }
    void swap(EntityList& other) noexcept {
        bytes_.swap(other.bytes_);
        pages_.swap(other.pages_);
        std::swap(size_, other.size_);
        std::swap(last_, other.last_);
        std::swap(font_, other.font_);
    }

    std::size_t size() const { return size_; }
    bool empty() const { return size_ == 0; }
    // Bytes the stored records take, for the tests and benchmarks.
    std::size_t StoredBytes() const { return bytes_.UsedBytes(); }

    T operator[](std::size_t index) const {
        assert(index < size_);
        return *const_iterator(this, index);
    }
    const_iterator begin() const { return const_iterator(this, 0); }
    const_iterator end() const { return const_iterator(this, size_); }

    // Stores a record: its shared fields from `shared`, its own fields as these tokens, in the
    // order EntityFields<T> visits them.
    void Append(const T& shared, const std::string_view* tokens, std::size_t count) {
        static const entity_list_detail::FieldBound bound = Bound();
        assert(count == bound.own && count > 0);
        std::size_t room = 1 + bound.bytes;
        for (std::size_t k = 0; k < count; ++k)
            room += entity_list_detail::kMaxVarintBytes + tokens[k].size();
        std::uint64_t at;
        std::uint8_t* const start = bytes_.Reserve(room, at);
        if (size_ % kPageRecords == 0) {
            pages_.push_back(at);
            last_ = T();
        }
        std::uint8_t* out = start + 1;
        *start = 0;
        if (entity_list_detail::PackTokens(tokens, count, out)) {
            *start = entity_list_detail::kPacked;
        } else {
            for (std::size_t k = 0; k < count; ++k) {
                out = entity_list_detail::PutVarint(out, tokens[k].size());
                out = entity_list_detail::PutBytes(out, tokens[k]);
            }
        }
        entity_list_detail::SharedWriter writer(out, at + (out - start), font_);
        EntityFields<T>::Visit(writer, shared, last_);
        if (writer.Changed()) {
            *start |= entity_list_detail::kSharedFollow;
            out = writer.End();
        }
        bytes_.Commit(out);
        ++size_;
    }
    void Append(const T& shared, std::initializer_list<std::string_view> tokens) {
        Append(shared, tokens.begin(), tokens.size());
    }

    void clear() { *this = EntityList(); }

  private:
    static entity_list_detail::FieldBound Bound() {
        entity_list_detail::FieldBound bound;
        T record;
        EntityFields<T>::Visit(bound, record);
        return bound;
    }

    // Makes the record at `in` of the record before it (its own fields only if `make`); returns
    // where it ends.
    const std::uint8_t* Decode(const std::uint8_t* in, T& record, bool make,
                               std::string& scratch) const {
        entity_list_detail::OwnReader own(in, make, scratch);
        EntityFields<T>::Visit(own, record);
        if (!own.SharedFollow()) return own.End();
        entity_list_detail::SharedReader shared(bytes_, own.End());
        EntityFields<T>::Visit(shared, record);
        return shared.End();
    }

    ByteChunks bytes_;
    std::vector<std::uint64_t> pages_;  // where records 0, kPageRecords, 2 kPageRecords ... begin
    std::size_t size_ = 0;
    T last_{};  // the shared fields of the record stored last
    entity_list_detail::StoredText font_;
};

}  // namespace dovarin
