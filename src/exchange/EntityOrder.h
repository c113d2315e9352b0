// EntityOrderList: HostState's entities in reading order, as (kind, index) pairs.
//
// The index of an entity is its position in the list of its kind, which is the count of earlier
// entries of that kind: an entry is stored as its kind alone, one byte. Every page of
// kPageEntries entries starts with the counts of the entries before it, so entry i is counted
// from there.
#pragma once

#include <array>
#include <cassert>
#include <cstddef>
#include <cstdint>
#include <iterator>
#include <memory>
#include <vector>

#include "exchange/EntityRecords.h"

namespace dovarin {

class EntityOrderList {
    static constexpr std::size_t kPageEntries = 1024;
    using KindCounts = std::array<std::int64_t, kEntSg + 1>;
    struct Page {
        KindCounts before;  // of the entries before the page
        std::array<std::uint8_t, kPageEntries> kinds;
    };

  public:
    // Counts the entries of each kind on the way.
    class const_iterator {
      public:
        using iterator_category = std::input_iterator_tag;
        using value_type = EntityOrderEntry;
        using difference_type = std::ptrdiff_t;
        using pointer = void;
        using reference = EntityOrderEntry;

        const_iterator(const EntityOrderList* list, std::size_t index)
            : list_(list), index_(index) {}
        EntityOrderEntry operator*() const {
            const int kind = list_->KindAt(index_);
            return {kind, counts_[kind]};
        }
        const_iterator& operator++() {
            ++counts_[list_->KindAt(index_++)];
            return *this;
        }
        bool operator==(const const_iterator& other) const { return index_ == other.index_; }
        bool operator!=(const const_iterator& other) const { return index_ != other.index_; }

      private:
        const EntityOrderList* list_;
        std::size_t index_;
        KindCounts counts_{};  // of the entries before index_
    };

    EntityOrderList() = default;
    EntityOrderList(const EntityOrderList& other) : counts_(other.counts_), size_(other.size_) {
        for (const std::unique_ptr<Page>& page : other.pages_)
            pages_.push_back(std::make_unique<Page>(*page));
    }
    EntityOrderList& operator=(const EntityOrderList& other) {
        EntityOrderList copy(other);
        std::swap(*this, copy);
        return *this;
    }
    EntityOrderList(EntityOrderList&&) noexcept = default;
    EntityOrderList& operator=(EntityOrderList&&) noexcept = default;

    std::size_t size() const { return size_; }
    bool empty() const { return size_ == 0; }

    EntityOrderEntry operator[](std::size_t index) const {
        const Page& page = *pages_[index / kPageEntries];
        const int kind = KindAt(index);
        std::int64_t count = page.before[kind];
        for (std::size_t k = index - index % kPageEntries; k < index; ++k)
            count += KindAt(k) == kind;
        return {kind, count};
    }
    const_iterator begin() const { return const_iterator(this, 0); }
    const_iterator end() const { return const_iterator(this, size_); }

    // The entry of an entity just stored in the list of its kind (a kind of 1 .. 15).
    void push_back(const EntityOrderEntry& entry) {
        assert(entry.Kind >= kEntLine && entry.Kind <= kEntSg &&
               entry.Index == counts_[entry.Kind]);
        if (size_ % kPageEntries == 0) pages_.push_back(std::make_unique<Page>(Page{counts_, {}}));
        pages_.back()->kinds[size_++ % kPageEntries] = static_cast<std::uint8_t>(entry.Kind);
        ++counts_[entry.Kind];
    }
    void clear() { *this = EntityOrderList(); }

  private:
    int KindAt(std::size_t index) const {
        return pages_[index / kPageEntries]->kinds[index % kPageEntries];
    }

    // Pages never move as more come. An empty list holds no memory, so that freeing HostState,
    // which swaps in empty lists, cannot fail.
    std::vector<std::unique_ptr<Page>> pages_;
    KindCounts counts_{};  // of all entries
    std::size_t size_ = 0;
};

}  // namespace dovarin
