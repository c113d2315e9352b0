// EntityOrderList: HostState's entities in reading order, as (kind, index) pairs.
//
// The reader appends each entity with the index it gets in the list of its kind, which is the
// count of earlier entries of that kind; such an entry is stored as its kind alone, one byte. Any
// other pair is stored as a zero byte and both values in full. Every kPageEntries-th entry the
// list remembers where it is and how many entries of each kind came before, so entry i is read
// from there.
#pragma once

#include <array>
#include <cstddef>
#include <cstdint>
#include <iterator>
#include <vector>

#include "exchange/ByteChunks.h"
#include "exchange/EntityRecords.h"

namespace dovarin {

class EntityOrderList {
    static constexpr std::size_t kPageEntries = 1024;
    static constexpr int kCountedKinds = 16;  // kinds 1 .. 15 are counted
    using KindCounts = std::array<std::int64_t, kCountedKinds>;

  public:
    class const_iterator {
      public:
        using iterator_category = std::input_iterator_tag;
        using value_type = EntityOrderEntry;
        using difference_type = std::ptrdiff_t;
        using pointer = const EntityOrderEntry*;
        using reference = const EntityOrderEntry&;

        const_iterator() = default;
        const_iterator(const EntityOrderList* list, std::size_t index);
        const EntityOrderEntry& operator*() const { return entry_; }
        const EntityOrderEntry* operator->() const { return &entry_; }
        const_iterator& operator++();
        bool operator==(const const_iterator& other) const { return index_ == other.index_; }
        bool operator!=(const const_iterator& other) const { return index_ != other.index_; }

      private:
        void Step();
        const EntityOrderList* list_ = nullptr;
        std::size_t index_ = 0;
        std::uint64_t next_ = 0;  // where the next entry begins
        KindCounts counts_{};
        EntityOrderEntry entry_;
    };
    using iterator = const_iterator;

    std::size_t size() const { return size_; }
    bool empty() const { return size_ == 0; }
    std::size_t StoredBytes() const { return bytes_.UsedBytes(); }

    EntityOrderEntry operator[](std::size_t index) const { return *const_iterator(this, index); }
    const_iterator begin() const { return const_iterator(this, 0); }
    const_iterator end() const { return const_iterator(this, size_); }

    void push_back(const EntityOrderEntry& entry);
    void clear() { *this = EntityOrderList(); }

  private:
    struct Page {
        std::uint64_t at;
        KindCounts counts;  // of the entries before the page
    };
    static bool IsCounted(int kind) { return kind > 0 && kind < kCountedKinds; }

    ByteChunks bytes_;
    std::vector<Page> pages_;
    KindCounts counts_{};  // of all entries
    std::size_t size_ = 0;
};

}  // namespace dovarin
