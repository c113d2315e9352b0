// EntityList: the ordered list of one kind of HostState's entity records.
//
// A big exchange file is mostly short records: "0 0 1 1" is nine bytes in the file, but a
// TJwwEntLine of 64. So a list keeps its records encoded one after another in reading order
// (ByteChunks) and decodes a record when it is asked for:
//   - the shared fields of a record (EntityRecords.h: the attributes, a text's type, size and
//     font) come in groups of up to eight behind a byte whose bits say which of them differ from
//     the record before; only those follow. A run of records with the same attributes and font
//     stores them once.
//   - its own fields (coordinates, codes, texts) follow always.
//   - every field in the compact form of FieldCodec.h, which gives back exactly what went in.
//   - every kPageRecords-th record stores all its fields, and the list remembers where it begins:
//     record i is decoded from the start of its page.
// Reading (const operator[], iteration) hands out decoded copies. Code that asks for a record it
// may change (non-const operator[], front, back, emplace_back) gets a real record instead, made
// once at a stable address; from then on that record is the list's record at its index.
//
// After an exception from push_back (out of memory) the list may only be cleared or destroyed.
#pragma once

#include <cassert>
#include <cstddef>
#include <cstdint>
#include <iterator>
#include <map>
#include <string>
#include <utility>
#include <vector>

#include "exchange/ByteChunks.h"
#include "exchange/EntityRecords.h"
#include "exchange/FieldCodec.h"

namespace dovarin {
namespace entity_list_detail {

// Opens a mask byte at every eighth shared field, as FieldWriter does.
class MaskGroups {
  protected:
    bool OpensGroup() const { return shared_ % 8 == 0; }
    std::uint8_t Bit() const { return static_cast<std::uint8_t>(1u << (shared_ % 8)); }
    int shared_ = 0;
};

// Encodes a record behind the one before it (`last`), which becomes the record.
class FieldWriter : MaskGroups {
  public:
    FieldWriter(std::uint8_t* out, bool whole, const field_codec::RealHints& hints)
        : out_(out), whole_(whole), hints_(hints) {}
    std::uint8_t* End() const { return out_; }

    template <class F>
    void Shared(const F& value, F& last) {
        if (OpensGroup()) {
            mask_ = out_++;
            *mask_ = 0;
        }
        if (whole_ || !Same(value, last)) {
            *mask_ |= Bit();
            Put(value);
            last = value;
        }
        ++shared_;
    }
    template <class F>
    void Own(const F& value, F&) {
        Put(value);
    }

  private:
    static bool Same(int a, int b) { return a == b; }
    static bool Same(double a, double b) {
        return field_codec::BitsOf(a) == field_codec::BitsOf(b);
    }
    static bool Same(const std::string& a, const std::string& b) { return a == b; }
    void Put(int value) { out_ = field_codec::PutInt(out_, value); }
    void Put(double value) { out_ = field_codec::PutReal(out_, value, hints_); }
    void Put(const std::string& value) { out_ = field_codec::PutText(out_, value); }

    std::uint8_t* out_;
    std::uint8_t* mask_ = nullptr;
    bool whole_;
    const field_codec::RealHints& hints_;
};

// Decodes a record into the one before it; shared fields that were not stored stay.
class FieldReader : MaskGroups {
  public:
    explicit FieldReader(const std::uint8_t*& in) : in_(in) {}

    template <class F>
    void Shared(F& field) {
        if (OpensGroup()) mask_ = *in_++;
        if (mask_ & Bit()) Get(field);
        ++shared_;
    }
    template <class F>
    void Own(F& field) {
        Get(field);
    }

  private:
    void Get(int& field) { field = field_codec::GetInt(in_); }
    void Get(double& field) { field = field_codec::GetReal(in_); }
    void Get(std::string& field) { field_codec::GetText(in_, field); }

    const std::uint8_t*& in_;
    std::uint8_t mask_ = 0;
};

// Most bytes FieldWriter may write for a record.
class FieldBound : MaskGroups {
  public:
    std::size_t Bytes() const { return bytes_; }
    template <class F>
    void Shared(const F& value, F&) {
        if (OpensGroup()) ++bytes_;
        Add(value);
        ++shared_;
    }
    template <class F>
    void Own(const F& value, F&) {
        Add(value);
    }

  private:
    void Add(int) { bytes_ += field_codec::kMaxIntBytes; }
    void Add(double) { bytes_ += field_codec::kMaxRealBytes; }
    void Add(const std::string& text) { bytes_ += field_codec::kMaxTextHeadBytes + text.size(); }
    std::size_t bytes_ = 0;
};

}  // namespace entity_list_detail

template <class T>
class EntityList {
    static constexpr std::size_t kPageRecords = 128;

  public:
    using value_type = T;
    using size_type = std::size_t;

    // Decodes the records one after another; yields each (or its real record, once made).
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
            cursor_ = ByteChunks::Cursor(list_->bytes_, list_->pages_[index / kPageRecords]);
            for (std::size_t k = index - index % kPageRecords; k <= index; ++k) Decode();
        }
        const T& operator*() const { return list_->Stored(index_, record_); }
        const T* operator->() const { return &**this; }
        const_iterator& operator++() {
            if (++index_ < list_->size_) Decode();
            return *this;
        }
        bool operator==(const const_iterator& other) const { return index_ == other.index_; }
        bool operator!=(const const_iterator& other) const { return index_ != other.index_; }

      private:
        void Decode() { list_->DecodeNext(cursor_, record_); }
        const EntityList* list_ = nullptr;
        std::size_t index_ = 0;
        ByteChunks::Cursor cursor_;
        T record_{};
    };
    using iterator = const_iterator;

    EntityList() = default;
    EntityList(const EntityList&) = default;
    EntityList& operator=(const EntityList&) = default;
    EntityList(EntityList&& other) noexcept { swap(other); }
    EntityList& operator=(EntityList&& other) noexcept {
        EntityList moved(std::move(other));
        swap(moved);
        return *this;
    }

    void swap(EntityList& other) noexcept {
        bytes_.swap(other.bytes_);
        pages_.swap(other.pages_);
        std::swap(size_, other.size_);
        std::swap(last_, other.last_);
        made_.swap(other.made_);
    }

    std::size_t size() const { return size_; }
    bool empty() const { return size_ == 0; }
    // Bytes the encoded records take, for the benchmarks.
    std::size_t StoredBytes() const { return bytes_.UsedBytes(); }

    T operator[](std::size_t index) const {
        assert(index < size_);
        return *const_iterator(this, index);
    }
    T& operator[](std::size_t index) { return Made(index); }
    T front() const { return (*this)[0]; }
    T& front() { return Made(0); }
    T back() const { return (*this)[size_ - 1]; }
    T& back() { return Made(size_ - 1); }

    const_iterator begin() const { return const_iterator(this, 0); }
    const_iterator end() const { return const_iterator(this, size_); }

    // Stores a record; `hints` are the short decimals its reals were read from.
    void push_back(const T& record,
                   const field_codec::RealHints& hints = field_codec::RealHints()) {
        entity_list_detail::FieldBound bound;
        EntityFields<T>::Visit(bound, record, last_);
        std::uint8_t* out = bytes_.Reserve(bound.Bytes());
        const bool pageStart = size_ % kPageRecords == 0;
        if (pageStart) pages_.push_back(bytes_.ReservedAt());
        entity_list_detail::FieldWriter writer(out, pageStart, hints);
        EntityFields<T>::Visit(writer, record, last_);
        bytes_.Commit(writer.End());
        ++size_;
    }
    template <class... Args>
    T& emplace_back(Args&&... args) {
        push_back(T(std::forward<Args>(args)...));
        return Made(size_ - 1);
    }

    void clear() {
        bytes_.Clear();
        pages_.clear();
        size_ = 0;
        last_ = T();
        made_.clear();
    }

  private:
    void DecodeNext(ByteChunks::Cursor& cursor, T& record) const {
        entity_list_detail::FieldReader reader(cursor.Record());
        EntityFields<T>::Visit(reader, record);
    }

    // The record at `index`: its real record if made, else `decoded`.
    const T& Stored(std::size_t index, const T& decoded) const {
        if (made_.empty()) return decoded;
        const auto found = made_.find(index);
        return found != made_.end() ? found->second : decoded;
    }
    T& Made(std::size_t index) {
        assert(index < size_);
        auto found = made_.find(index);
        if (found == made_.end()) found = made_.emplace(index, *const_iterator(this, index)).first;
        return found->second;
    }

    ByteChunks bytes_;
    std::vector<BytePosition> pages_;  // where records 0, kPageRecords, 2 kPageRecords ... begin
    std::size_t size_ = 0;
    T last_{};                       // the last record stored, as the next one is encoded
    std::map<std::size_t, T> made_;  // real records handed out, by index
};

}  // namespace dovarin
