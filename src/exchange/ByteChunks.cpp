#include "exchange/ByteChunks.h"

#include <algorithm>
#include <cstring>

namespace dovarin {
namespace {

// Large enough that the chunks of a big file are few, small enough that an almost empty list
// costs little.
constexpr std::size_t kChunkBytes = 64 * 1024;

}  // namespace

ByteChunks::ByteChunks(const ByteChunks& other) {
    chunks_.reserve(other.chunks_.size());
    for (const Chunk& chunk : other.chunks_) {
        Chunk copy;
        copy.bytes.reset(new std::uint8_t[chunk.capacity]);
        std::memcpy(copy.bytes.get(), chunk.bytes.get(), chunk.used);
        copy.used = chunk.used;
        copy.capacity = chunk.capacity;
        chunks_.push_back(std::move(copy));
    }
}

ByteChunks& ByteChunks::operator=(const ByteChunks& other) {
    if (this != &other) {
        ByteChunks copy(other);
        swap(copy);
    }
    return *this;
}

void ByteChunks::AddChunk(std::size_t bytes) {
    Chunk chunk;
    chunk.capacity = std::max(bytes, kChunkBytes);
    // Not value-initialised: the pages are touched only as records fill them.
    chunk.bytes.reset(new std::uint8_t[chunk.capacity]);
    chunks_.push_back(std::move(chunk));
}

std::size_t ByteChunks::UsedBytes() const {
    std::size_t used = 0;
    for (const Chunk& chunk : chunks_) used += chunk.used;
    return used;
}

ByteChunks::Cursor::Cursor(const ByteChunks& bytes, BytePosition from) : bytes_(&bytes) {
    if (from.chunk < bytes.chunks_.size()) Enter(from.chunk, from.offset);
}

void ByteChunks::Cursor::Enter(std::size_t chunk, std::size_t offset) {
    const Chunk& c = bytes_->chunks_[chunk];
    chunk_ = chunk;
    next_ = c.bytes.get() + offset;
    end_ = c.bytes.get() + c.used;
}

}  // namespace dovarin
