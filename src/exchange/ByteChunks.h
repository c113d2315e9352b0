// ByteChunks: the memory of the encoded entity lists (EntityList.h, EntityOrder.h).
//
// Bytes are appended in chunks from the standard allocator that never move or grow, so a list
// never copies itself to grow and never holds twice its size; an encoded record always lies in
// one chunk. Untouched parts of a chunk cost address space, not memory.
#pragma once

#include <cstddef>
#include <cstdint>
#include <memory>
#include <vector>

namespace dovarin {

// Where a record begins.
struct BytePosition {
    std::size_t chunk = 0;
    std::size_t offset = 0;
};

class ByteChunks {
  public:
    ByteChunks() = default;
    ByteChunks(const ByteChunks& other);
    ByteChunks& operator=(const ByteChunks& other);
    ByteChunks(ByteChunks&&) noexcept = default;
    ByteChunks& operator=(ByteChunks&&) noexcept = default;

    // Room for `bytes` contiguous bytes at the end; Commit then says where the used ones end.
    std::uint8_t* Reserve(std::size_t bytes) {
        if (chunks_.empty() || chunks_.back().capacity - chunks_.back().used < bytes)
            AddChunk(bytes);
        return chunks_.back().bytes.get() + chunks_.back().used;
    }
    void Commit(const std::uint8_t* end) { chunks_.back().used = end - chunks_.back().bytes.get(); }
    // Where the bytes of the last Reserve begin.
    BytePosition ReservedAt() const { return {chunks_.size() - 1, chunks_.back().used}; }

    std::size_t UsedBytes() const;
    void Clear() { chunks_.clear(); }
    void swap(ByteChunks& other) noexcept { chunks_.swap(other.chunks_); }

    // Reads records one after another from a position on.
    class Cursor {
      public:
        Cursor() = default;
        Cursor(const ByteChunks& bytes, BytePosition from);
        // The first byte of the next record; the caller moves it past the record.
        const std::uint8_t*& Record() {
            while (next_ == end_ && chunk_ + 1 < bytes_->chunks_.size()) Enter(chunk_ + 1, 0);
            return next_;
        }

      private:
        void Enter(std::size_t chunk, std::size_t offset);
        const ByteChunks* bytes_ = nullptr;
        std::size_t chunk_ = 0;
        const std::uint8_t* next_ = nullptr;
        const std::uint8_t* end_ = nullptr;
    };

  private:
    void AddChunk(std::size_t bytes);
    struct Chunk {
        std::unique_ptr<std::uint8_t[]> bytes;
        std::size_t used = 0;
        std::size_t capacity = 0;
    };
    std::vector<Chunk> chunks_;
};

}  // namespace dovarin
