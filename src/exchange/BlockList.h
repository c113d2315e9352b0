// BlockList: the ordered, growable list of HostState's entity records.
//
// Records live in blocks that are never moved: block 0 holds kFirstBlock records and every later
// block twice as many as the one before, so a reference to a record stays valid while the list
// grows, an index finds its block with one bit scan, and a million records take twenty blocks.
// Only the block a record falls into is ever touched, so the unused part of the last block costs
// address space, not memory.
#pragma once

#include <array>
#include <cstddef>
#include <iterator>
#include <new>
#include <utility>

namespace dovarin {

// Raw memory for a block. Large blocks may be backed by large pages where the system offers
// them: reading a big exchange file is otherwise dominated by faulting in small pages.
void* AllocateBlockMemory(std::size_t bytes);
void FreeBlockMemory(void* memory, std::size_t bytes);

template <class T>
class BlockList {
    static constexpr int kFirstBlockBits = 10;
    static constexpr std::size_t kFirstBlock = std::size_t{1} << kFirstBlockBits;
    static constexpr int kMaxBlocks = 64 - kFirstBlockBits + 1;

  public:
    template <class List, class Value>
    class Iter {
      public:
        using iterator_category = std::random_access_iterator_tag;
        using value_type = T;
        using difference_type = std::ptrdiff_t;
        using pointer = Value*;
        using reference = Value&;

        Iter() = default;
        Iter(List* list, std::size_t index) : list_(list), index_(index) {}
        Value& operator*() const { return (*list_)[index_]; }
        Value* operator->() const { return &(*list_)[index_]; }
        Value& operator[](difference_type n) const { return (*list_)[index_ + n]; }
        Iter& operator++() { return ++index_, *this; }
        Iter operator++(int) { return Iter(list_, index_++); }
        Iter& operator--() { return --index_, *this; }
        Iter operator--(int) { return Iter(list_, index_--); }
        Iter& operator+=(difference_type n) { return index_ += n, *this; }
        Iter& operator-=(difference_type n) { return index_ -= n, *this; }
        Iter operator+(difference_type n) const { return Iter(list_, index_ + n); }
        Iter operator-(difference_type n) const { return Iter(list_, index_ - n); }
        difference_type operator-(const Iter& other) const {
            return static_cast<difference_type>(index_) -
                   static_cast<difference_type>(other.index_);
        }
        bool operator==(const Iter& other) const { return index_ == other.index_; }
        bool operator!=(const Iter& other) const { return index_ != other.index_; }
        bool operator<(const Iter& other) const { return index_ < other.index_; }

      private:
        List* list_ = nullptr;
        std::size_t index_ = 0;
    };
    using value_type = T;
    using size_type = std::size_t;
    using reference = T&;
    using const_reference = const T&;
    using iterator = Iter<BlockList, T>;
    using const_iterator = Iter<const BlockList, const T>;

    BlockList() = default;
    BlockList(const BlockList& other) {
        for (const T& record : other) push_back(record);
    }
    BlockList(BlockList&& other) noexcept { swap(other); }
    BlockList& operator=(const BlockList& other) {
        if (this != &other) {
            BlockList copy(other);
            swap(copy);
        }
        return *this;
    }
    BlockList& operator=(BlockList&& other) noexcept {
        BlockList moved(std::move(other));
        swap(moved);
        return *this;
    }
    ~BlockList() { clear(); }

    void swap(BlockList& other) noexcept {
        std::swap(blocks_, other.blocks_);
        std::swap(size_, other.size_);
    }

    std::size_t size() const { return size_; }
    bool empty() const { return size_ == 0; }

    T& operator[](std::size_t index) { return *Slot(index); }
    const T& operator[](std::size_t index) const { return *Slot(index); }
    T& front() { return (*this)[0]; }
    const T& front() const { return (*this)[0]; }
    T& back() { return (*this)[size_ - 1]; }
    const T& back() const { return (*this)[size_ - 1]; }

    iterator begin() { return iterator(this, 0); }
    iterator end() { return iterator(this, size_); }
    const_iterator begin() const { return const_iterator(this, 0); }
    const_iterator end() const { return const_iterator(this, size_); }
    const_iterator cbegin() const { return begin(); }
    const_iterator cend() const { return end(); }

    template <class... Args>
    T& emplace_back(Args&&... args) {
        const int block = BlockOf(size_);
        if (!blocks_[block]) {
            blocks_[block] = static_cast<T*>(AllocateBlockMemory(BlockCapacity(block) * sizeof(T)));
        }
        T* slot = Slot(size_);
        ::new (static_cast<void*>(slot)) T(std::forward<Args>(args)...);
        ++size_;
        return *slot;
    }
    void push_back(const T& record) { emplace_back(record); }
    void push_back(T&& record) { emplace_back(std::move(record)); }

    // Destroys every record and gives all blocks back.
    void clear() {
        for (std::size_t i = size_; i > 0; --i) Slot(i - 1)->~T();
        for (int block = 0; block < kMaxBlocks; ++block) {
            if (!blocks_[block]) continue;
            FreeBlockMemory(blocks_[block], BlockCapacity(block) * sizeof(T));
            blocks_[block] = nullptr;
        }
        size_ = 0;
    }

  private:
    static std::size_t BlockCapacity(int block) {
        return block == 0 ? kFirstBlock : kFirstBlock << (block - 1);
    }
    // Block 0 holds indices [0, F); block k >= 1 holds [F * 2^(k-1), F * 2^k).
    static int BlockOf(std::size_t index) {
        const std::size_t high = index >> kFirstBlockBits;
        return high == 0 ? 0 : 64 - __builtin_clzll(static_cast<unsigned long long>(high));
    }
    static std::size_t FirstIndexOf(int block) { return block == 0 ? 0 : BlockCapacity(block); }
    T* Slot(std::size_t index) const {
        const int block = BlockOf(index);
        return blocks_[block] + (index - FirstIndexOf(block));
    }

    std::array<T*, kMaxBlocks> blocks_{};
    std::size_t size_ = 0;
};

}  // namespace dovarin
