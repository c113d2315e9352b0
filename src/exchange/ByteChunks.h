// ByteChunks: the memory of the entity lists. Bytes are appended in chunks of kStorageChunkBytes
// that never move or grow, so a list never copies itself to grow and never holds twice its size. A
// record lies in one chunk, at a position (chunk << kChunkBits) + offset that stays valid while
// the bytes live. Untouched parts of a chunk cost address space, not memory.
#pragma once

#include <cstddef>
#include <cstdint>
#include <memory>
#include <vector>

namespace dovarin {

class ByteChunks {
  public:
    static constexpr int kChunkBits = 16;
    static constexpr std::size_t kStorageChunkBytes = std::size_t{1} << kChunkBits;

    ByteChunks() = default;
    ByteChunks(const ByteChunks& other);
    ByteChunks& operator=(const ByteChunks& other) { return *this = ByteChunks(other); }
    ByteChunks(ByteChunks&&) noexcept = default;
    ByteChunks& operator=(ByteChunks&&) noexcept = default;
    void swap(ByteChunks& other) noexcept { chunks_.swap(other.chunks_); }

    // Room for `bytes` (at most kStorageChunkBytes) contiguous bytes at the end, at position `at`;
    // Commit then says where the used ones end.
    std::uint8_t* Reserve(std::size_t bytes, std::uint64_t& at);
    void Commit(const std::uint8_t* end) { chunks_.back().used = end - chunks_.back().bytes.get(); }
    const std::uint8_t* At(std::uint64_t position) const {
        return chunks_[position >> kChunkBits].bytes.get() + (position & (kStorageChunkBytes - 1));
    }
    // The position after the `bytes` at `position`: the next chunk's start past the used ones.
    std::uint64_t After(std::uint64_t position, std::size_t bytes) const;
    std::size_t UsedBytes() const;

  private:
    struct Chunk {
        std::unique_ptr<std::uint8_t[]> bytes;
        std::size_t used = 0;
    };
    std::vector<Chunk> chunks_;
};

}  // namespace dovarin
