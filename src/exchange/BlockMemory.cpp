// Memory for BlockList's blocks.
//
// A big exchange file turns into tens of megabytes of records. Faulting those in page by page
// costs more than reading and parsing the file, so on Linux a large block is mapped on its own
// and marked for transparent huge pages (a hint: where the system declines, it is an ordinary
// mapping). Everywhere else, and for small blocks, it is plain operator new.
#include <new>

#include "exchange/BlockList.h"

#if defined(__linux__)
#include <sys/mman.h>
#endif

namespace dovarin {
namespace {

#if defined(__linux__)
constexpr std::size_t kHugePage = std::size_t{2} << 20;
// Blocks from this size up get a mapping of their own, rounded up to whole huge pages, so a list
// costs at most one partly used huge page beyond its records. Smaller blocks (the first two
// megabytes of a list) would waste most of a huge page each.
constexpr std::size_t kOwnMapping = kHugePage;

bool UsesHugePages(std::size_t bytes) {
    return bytes >= kOwnMapping;
}

std::size_t RoundToHugePages(std::size_t bytes) {
    return (bytes + kHugePage - 1) / kHugePage * kHugePage;
}
#endif

}  // namespace

void* AllocateBlockMemory(std::size_t bytes) {
#if defined(__linux__)
    if (UsesHugePages(bytes)) {
        const std::size_t mapped = RoundToHugePages(bytes);
        void* memory =
            mmap(nullptr, mapped, PROT_READ | PROT_WRITE, MAP_PRIVATE | MAP_ANONYMOUS, -1, 0);
        if (memory == MAP_FAILED) throw std::bad_alloc();
        madvise(memory, mapped, MADV_HUGEPAGE);
        return memory;
    }
#endif
    return ::operator new(bytes);
}

void FreeBlockMemory(void* memory, std::size_t bytes) {
#if defined(__linux__)
    if (UsesHugePages(bytes)) {
        munmap(memory, RoundToHugePages(bytes));
        return;
    }
#endif
    ::operator delete(memory);
}

}  // namespace dovarin
