#include "exchange/EntityOrder.h"

#include <utility>

#include "exchange/FieldCodec.h"

namespace dovarin {
namespace {

constexpr std::uint8_t kWholePair = 0;
// The kind byte, or kWholePair and both values.
constexpr std::size_t kMaxEntryBytes = 1 + field_codec::kMaxIntBytes + field_codec::kMaxInt64Bytes;

}  // namespace

EntityOrderList& EntityOrderList::operator=(EntityOrderList&& other) noexcept {
    EntityOrderList moved(std::move(other));
    swap(moved);
    return *this;
}

void EntityOrderList::swap(EntityOrderList& other) noexcept {
    bytes_.swap(other.bytes_);
    pages_.swap(other.pages_);
    std::swap(counts_, other.counts_);
    std::swap(size_, other.size_);
}

void EntityOrderList::push_back(const EntityOrderEntry& entry) {
    std::uint8_t* out = bytes_.Reserve(kMaxEntryBytes);
    if (size_ % kPageEntries == 0) pages_.push_back({bytes_.ReservedAt(), counts_});
    const bool counted = IsCounted(entry.Kind);
    if (counted && entry.Index == counts_[entry.Kind]) {
        *out++ = static_cast<std::uint8_t>(entry.Kind);
    } else {
        *out++ = kWholePair;
        out = field_codec::PutInt(out, entry.Kind);
        out = field_codec::PutInt64(out, entry.Index);
    }
    bytes_.Commit(out);
    if (counted) ++counts_[entry.Kind];
    ++size_;
}

void EntityOrderList::clear() {
    bytes_.Clear();
    pages_.clear();
    counts_ = {};
    size_ = 0;
}

EntityOrderEntry EntityOrderList::ReadEntry(ByteChunks::Cursor& cursor, KindCounts& counts) {
    const std::uint8_t*& in = cursor.Record();
    EntityOrderEntry entry;
    const std::uint8_t head = *in++;
    if (head == kWholePair) {
        entry.Kind = field_codec::GetInt(in);
        entry.Index = field_codec::GetInt64(in);
    } else {
        entry.Kind = head;
        entry.Index = counts[head];
    }
    if (IsCounted(entry.Kind)) ++counts[entry.Kind];
    return entry;
}

EntityOrderList::const_iterator::const_iterator(const EntityOrderList* list, std::size_t index)
    : list_(list), index_(index) {
    if (index_ >= list_->size_) return;
    const Page& page = list_->pages_[index / kPageEntries];
    cursor_ = ByteChunks::Cursor(list_->bytes_, page.at);
    counts_ = page.counts;
    for (std::size_t k = index - index % kPageEntries; k <= index; ++k)
        entry_ = ReadEntry(cursor_, counts_);
}

EntityOrderList::const_iterator& EntityOrderList::const_iterator::operator++() {
    if (++index_ < list_->size_) entry_ = ReadEntry(cursor_, counts_);
    return *this;
}

}  // namespace dovarin
