// EntityList: the ordered list of one kind of HostState's entity records.
//
// A big exchange file is mostly short records, and the program reads one of them. So a list keeps
// each record as the reader found it and makes its fields when it is asked for one:
//   - the own fields (EntityRecords.h) as the tokens they were read from, byte for byte: a real
//     is made by StrToFloatOrZero and an integer by StrToIntOrZero, as the reader always made
//     them, so a field comes back exactly as it would have been read;
//   - the shared fields only where they differ from the record before: an integer as the
//     difference, a real as its shortest text (packed), a font as its bytes when new and as their
//     position after.
// EntityRecords.h describes a record's bytes beside the order of the fields, Packing.h the
// packing. Every kPageRecords-th record stores its shared fields against a new record's, and the
// list remembers where it begins: record i is made after stepping over at most kPageRecords - 1.
//
// Records are handed out by value: list[i] and iteration only read. After an exception from
// Append (out of memory) the list may only be cleared or destroyed.
#pragma once

#include <charconv>
#include <cstring>
#include <initializer_list>
#include <iterator>
#include <string>
#include <string_view>
#include <utility>
#include <vector>

#include "exchange/ByteChunks.h"
#include "exchange/EntityRecords.h"
#include "exchange/ExchangeTokens.h"
#include "exchange/Packing.h"
#include "util/MyFunc.h"

namespace dovarin {
namespace entity_list_detail {

using namespace packing;

// A record's head byte.
constexpr std::uint8_t kSharedFollow = 1, kPacked = 2;
constexpr std::size_t kHeadBytes = 1;
// Room for a token beyond its bytes: its length as a varint (a packed token takes less).
constexpr std::size_t kMaxTokenLengthBytes = VarintBytes(kMaxTokenBytes);
constexpr std::size_t kMaxSharedBytes = 1024;  // a dimension's, the most, take about 600
// Shared fields come in groups of kMaskBits behind a mask byte.
constexpr int kMaskBits = 8;
// A shared real's first byte: its shortest text follows packed, or its bits.
constexpr std::uint8_t kRealAsBits = 0, kRealAsText = 1;
// The low bit of a shared font's varint: the rest is the position of its bytes stored before;
// else the rest is their length, and they follow.
constexpr std::uint64_t kFontStoredBefore = 1;

inline std::uint8_t* PutBytes(std::uint8_t* out, const void* bytes, std::size_t size) {
    std::memcpy(out, bytes, size);
    return out + size;
}

inline std::string_view GetBytes(const std::uint8_t*& in, std::size_t size) {
    in += size;
    return std::string_view(reinterpret_cast<const char*>(in - size), size);
}

// The last font a list stored and the position of its bytes.
struct StoredFont {
    std::string name;
    std::uint64_t at = 0;
};

class MaskGroups {
  protected:
    bool OpensGroup() const { return shared_ % kMaskBits == 0; }
    std::uint8_t Bit() const { return static_cast<std::uint8_t>(1u << (shared_ % kMaskBits)); }
    int shared_ = 0;
};

// Writes the shared fields that differ from the record before (`last`), which takes them.
class SharedWriter : MaskGroups {
  public:
    SharedWriter(std::uint8_t* out, std::uint64_t at, StoredFont& font)
        : start_(out), out_(out), at_(at), font_(font) {}
    std::uint8_t* End() const { return changed_ ? out_ : start_; }

    template <class F>
    void Own(const F&, F&) {}
    template <class F>
    void Shared(const F& value, F& last) {
        if (OpensGroup()) *(mask_ = out_++) = 0;
        if (!Same(value, last)) {
            *mask_ |= Bit();
            Put(value, last);
            last = value;
            changed_ = true;
        }
        ++shared_;
    }

  private:
    template <class F>
    static bool Same(const F& a, const F& b) {
        return std::memcmp(&a, &b, sizeof a) == 0;  // reals by their bits
    }
    static bool Same(const std::string& a, const std::string& b) { return a == b; }
    void Put(int value, int last) { out_ = PutVarint(out_, Zigzag(std::int64_t{value} - last)); }
    // A real as its shortest text, packed, when that reads back to the same bits (as every real
    // the reader makes does) and takes fewer bytes; else its bits.
    void Put(double value, double) {
        char text[32];
        const std::string_view shortest(text, std::to_chars(text, text + 32, value).ptr - text);
        std::uint8_t* packed = out_ + 1;
        const double back = StrToFloatOrZero(shortest);
        const bool asText = shortest.size() < 2 * sizeof value &&
                            !std::memcmp(&back, &value, sizeof value) &&
                            PackTokens(&shortest, 1, packed);
        *out_ = asText ? kRealAsText : kRealAsBits;
        out_ = asText ? packed : PutBytes(out_ + 1, &value, sizeof value);
    }
    // A font is compared as it was read and kept as a text record keeps it.
    void Put(const std::string& name, const std::string&) {
        if (!name.empty() && name == font_.name) {
            out_ = PutVarint(out_, font_.at << 1 | kFontStoredBefore);
            return;
        }
        font_.name = name;
        font_.at = at_ + (out_ - start_);
        const std::string_view kept = TextFieldBytes(name);
        out_ = PutBytes(PutVarint(out_, kept.size() << 1), kept.data(), kept.size());
    }

    std::uint8_t* const start_;
    std::uint8_t* out_;
    std::uint8_t* mask_ = nullptr;
    const std::uint64_t at_;  // the position of start_
    StoredFont& font_;
    bool changed_ = false;
};

// The first of the two visitors that make a record of the one before it: its own fields from its
// tokens (unpacked into `scratch`), or only steps over them unless `make`.
class OwnFieldReader {
  public:
    OwnFieldReader(const std::uint8_t* record, bool make, std::string& scratch)
        : head_(*record), in_(record + kHeadBytes), nibbles_(in_), make_(make), scratch_(scratch) {}
    bool SharedFollow() const { return head_ & kSharedFollow; }
    // Where the tokens end (and the shared fields begin).
    const std::uint8_t* End() const { return Packed() ? nibbles_.End() : in_; }

    template <class F>
    void Own(F& field) {
        const std::string_view token = Next();
        if (make_) Make(token, field);
    }
    template <class F>
    void Shared(F&) {}

  private:
    bool Packed() const { return head_ & kPacked; }
    static void Make(std::string_view token, int& field) { field = StrToIntOrZero(token); }
    static void Make(std::string_view token, double& field) { field = StrToFloatOrZero(token); }
    static void Make(std::string_view token, std::string& field) { field.assign(token); }

    std::string_view Next() {
        if (!Packed()) return GetBytes(in_, GetVarint(in_));
        scratch_.clear();
        nibbles_.Token(make_ ? &scratch_ : nullptr);
        return scratch_;
    }

    const std::uint8_t head_;
    const std::uint8_t* in_;  // the next token, when they are not packed
    NibbleReader nibbles_;    // when they are
    const bool make_;
    std::string& scratch_;
};

// The second: the shared fields that a record stores where they differ from the record before.
class SharedFieldReader : MaskGroups {
  public:
    SharedFieldReader(const ByteChunks& bytes, const std::uint8_t* in, std::string& scratch)
        : bytes_(bytes), in_(in), scratch_(scratch) {}
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
        if (*in_++ == kRealAsBits) {
            std::memcpy(&field, GetBytes(in_, sizeof field).data(), sizeof field);
            return;
        }
        NibbleReader nibbles(in_);
        scratch_.clear();
        nibbles.Token(&scratch_);
        field = StrToFloatOrZero(scratch_);
        in_ = nibbles.End();
    }
    void Get(std::string& field) {
        const std::uint8_t* stored = in_;
        const std::uint64_t head = GetVarint(in_);
        if (head & kFontStoredBefore) stored = bytes_.At(head >> 1);
        field.assign(GetBytes(stored, GetVarint(stored) >> 1));
        if (!(head & kFontStoredBefore)) in_ = stored;
    }

    const ByteChunks& bytes_;
    const std::uint8_t* in_;
    std::uint8_t mask_ = 0;
    std::string& scratch_;
};

}  // namespace entity_list_detail

template <class T>
class EntityList {
    static constexpr std::size_t kPageRecords = 32;

  public:
    // Makes the records one after another.
    class const_iterator {
      public:
        using iterator_category = std::input_iterator_tag;
        using value_type = T;
        using difference_type = std::ptrdiff_t;
        using pointer = const T*;
        using reference = const T&;

        const_iterator(const EntityList* list, std::size_t index) : list_(list), index_(index) {
            if (index_ >= list_->size_) return;
            next_ = list_->pages_[index / kPageRecords];
            for (std::size_t k = index - index % kPageRecords; k <= index; ++k) Step(k == index);
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
            using namespace entity_list_detail;
            const std::uint8_t* const start = list_->bytes_.At(next_);
            OwnFieldReader own(start, make, scratch_);
            EntityFields<T>::Visit(own, record_);
            const std::uint8_t* end = own.End();
            if (own.SharedFollow()) {
                SharedFieldReader shared(list_->bytes_, end, scratch_);
                EntityFields<T>::Visit(shared, record_);
                end = shared.End();
            }
            next_ = list_->bytes_.After(next_, end - start);
        }
        const EntityList* list_;
        std::size_t index_;
        std::uint64_t next_ = 0;  // where the next record begins
        T record_{};
        std::string scratch_;  // a packed token as it was read
    };

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
    std::size_t StoredBytes() const { return bytes_.UsedBytes(); }

    T operator[](std::size_t index) const { return *const_iterator(this, index); }
    const_iterator begin() const { return const_iterator(this, 0); }
    const_iterator end() const { return const_iterator(this, size_); }

    // Stores a record: its shared fields from `shared`, its own fields as these tokens (at most
    // kMaxTokenBytes each), in the order EntityFields<T> visits them.
    void Append(const T& shared, const std::string_view* tokens, std::size_t count) {
        using namespace entity_list_detail;
        std::size_t room = kHeadBytes + kMaxSharedBytes;
        for (std::size_t k = 0; k < count; ++k) room += kMaxTokenLengthBytes + tokens[k].size();
        std::uint64_t at;
        std::uint8_t* const start = bytes_.Reserve(room, at);
        if (size_++ % kPageRecords == 0) {
            pages_.push_back(at);
            last_ = T();
        }
        std::uint8_t* out = start + kHeadBytes;
        *start = PackTokens(tokens, count, out) ? kPacked : 0;
        for (std::size_t k = 0; k < count && *start == 0; ++k)
            out = PutBytes(PutVarint(out, tokens[k].size()), tokens[k].data(), tokens[k].size());
        SharedWriter writer(out, at + (out - start), font_);
        EntityFields<T>::Visit(writer, shared, last_);
        if (writer.End() != out) *start |= kSharedFollow;
        bytes_.Commit(writer.End());
    }
    void Append(const T& shared, std::initializer_list<std::string_view> tokens) {
        Append(shared, tokens.begin(), tokens.size());
    }

    void clear() { *this = EntityList(); }

  private:
    ByteChunks bytes_;
    std::vector<std::uint64_t> pages_;  // where records 0, kPageRecords, 2 kPageRecords ... begin
    std::size_t size_ = 0;
    T last_{};  // the shared fields of the record stored last
    entity_list_detail::StoredFont font_;
};

}  // namespace dovarin
