#include "exchange/ByteChunks.h"

#include <cassert>
#include <cstring>

namespace dovarin {

ByteChunks::ByteChunks(const ByteChunks& other) {
    chunks_.reserve(other.chunks_.size());
    for (const Chunk& chunk : other.chunks_) {
        Chunk copy;
        copy.bytes.reset(new std::uint8_t[kChunkBytes]);
        std::memcpy(copy.bytes.get(), chunk.bytes.get(), chunk.used);
        copy.used = chunk.used;
        chunks_.push_back(std::move(copy));
    }
}

std::uint8_t* ByteChunks::Reserve(std::size_t bytes, std::uint64_t& at) {
    assert(bytes <= kChunkBytes);
    if (chunks_.empty() || kChunkBytes - chunks_.back().used < bytes) {
        Chunk chunk;
        // Not value-initialised: the pages are touched only as records fill them.
        chunk.bytes.reset(new std::uint8_t[kChunkBytes]);
        chunks_.push_back(std::move(chunk));
    }
    const Chunk& last = chunks_.back();
    at = ((chunks_.size() - 1) << kChunkBits) + last.used;
    return last.bytes.get() + last.used;
}

std::uint64_t ByteChunks::After(std::uint64_t position, std::size_t bytes) const {
    const std::uint64_t next = position + bytes;
    const std::size_t chunk = position >> kChunkBits;
    if (next == (chunk << kChunkBits) + chunks_[chunk].used && chunk + 1 < chunks_.size())
        return (chunk + 1) << kChunkBits;
    return next;
}

std::size_t ByteChunks::UsedBytes() const {
    std::size_t used = 0;
    for (const Chunk& chunk : chunks_) used += chunk.used;
    return used;
}

}  // namespace dovarin
