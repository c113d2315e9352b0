#include "exchange/EntityOrder.h"

#include "exchange/EntityList.h"

namespace dovarin {
namespace {

using entity_list_detail::GetVarint;
using entity_list_detail::PutVarint;
using entity_list_detail::Unzigzag;
using entity_list_detail::Zigzag;

constexpr std::uint8_t kWholePair = 0;
constexpr std::size_t kMaxEntryBytes = 1 + 2 * entity_list_detail::kMaxVarintBytes;

}  // namespace

void EntityOrderList::push_back(const EntityOrderEntry& entry) {
    std::uint64_t at;
    std::uint8_t* const start = bytes_.Reserve(kMaxEntryBytes, at);
    if (size_ % kPageEntries == 0) pages_.push_back({at, counts_});
    std::uint8_t* out = start;
    const bool counted = IsCounted(entry.Kind);
    if (counted && entry.Index == counts_[entry.Kind]) {
        *out++ = static_cast<std::uint8_t>(entry.Kind);
    } else {
        *out++ = kWholePair;
        out = PutVarint(PutVarint(out, Zigzag(entry.Kind)), Zigzag(entry.Index));
    }
    bytes_.Commit(out);
    if (counted) ++counts_[entry.Kind];
    ++size_;
}

EntityOrderList::const_iterator::const_iterator(const EntityOrderList* list, std::size_t index)
    : list_(list), index_(index) {
    if (index_ >= list_->size_) return;
    const Page& page = list_->pages_[index / kPageEntries];
    next_ = page.at;
    counts_ = page.counts;
    for (std::size_t k = index - index % kPageEntries; k <= index; ++k) Step();
}

EntityOrderList::const_iterator& EntityOrderList::const_iterator::operator++() {
    if (++index_ < list_->size_) Step();
    return *this;
}

void EntityOrderList::const_iterator::Step() {
    const std::uint8_t* const start = list_->bytes_.At(next_);
    const std::uint8_t* in = start;
    const std::uint8_t head = *in++;
    if (head == kWholePair) {
        entry_.Kind = static_cast<int>(Unzigzag(GetVarint(in)));
        entry_.Index = Unzigzag(GetVarint(in));
    } else {
        entry_.Kind = head;
        entry_.Index = counts_[head];
    }
    if (IsCounted(entry_.Kind)) ++counts_[entry_.Kind];
    next_ = list_->bytes_.After(next_, in - start);
}

}  // namespace dovarin
