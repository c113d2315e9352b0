#include "exchange/ByteChunks.h"

#include <cassert>
#include <cstring>

namespace dovarin {

ByteChunks::ByteChunks(const ByteChunks& other) {
    for (const Chunk& chunk : other.chunks_) {
        chunks_.push_back(
            {std::unique_ptr<std::uint8_t[]>(new std::uint8_t[kStorageChunkBytes]), 0});
        std::memcpy(chunks_.back().bytes.get(), chunk.bytes.get(),
                    chunks_.back().used = chunk.used);
    }
}

std::uint8_t* ByteChunks::Reserve(std::size_t bytes, std::uint64_t& at) {
    assert(bytes <= kStorageChunkBytes);
    // Not value-initialised: the pages are touched only as records fill them.
    if (chunks_.empty() || kStorageChunkBytes - chunks_.back().used < bytes)
        chunks_.push_back(
            {std::unique_ptr<std::uint8_t[]>(new std::uint8_t[kStorageChunkBytes]), 0});
    at = ((chunks_.size() - 1) << kChunkBits) + chunks_.back().used;
    return chunks_.back().bytes.get() + chunks_.back().used;
}

std::uint64_t ByteChunks::After(std::uint64_t position, std::size_t bytes) const {
    const std::size_t chunk = position >> kChunkBits;
    const bool last = chunk + 1 == chunks_.size();
    if (last || position + bytes < (chunk << kChunkBits) + chunks_[chunk].used)
        return position + bytes;
    return (chunk + 1) << kChunkBits;
}

std::size_t ByteChunks::UsedBytes() const {
    std::size_t used = 0;
    for (const Chunk& chunk : chunks_) used += chunk.used;
    return used;
}

}  // namespace dovarin
