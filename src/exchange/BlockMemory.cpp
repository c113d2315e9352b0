// Memory for BlockList's blocks.
//
// A big exchange file turns into tens of megabytes of records. Faulting those in page by page
// costs more than reading and parsing the file, so on Linux block memory comes in huge pages
// where the system offers them (transparent huge pages, asked for by madvise; where the system
// declines, the memory is ordinary):
//   - a block of 2 MB or more gets a mapping of its own, rounded up to whole huge pages, which a
//     helper thread has the kernel fault in while the reader fills the block;
//   - smaller blocks (the first two megabytes of every list) are cut one after another from
//     shared 2 MB arenas, so that small lists do not each cost a huge page. An arena is given
//     back when the last block cut from it is freed; HostState frees its lists all together.
// Everywhere else, and under AddressSanitizer (which must see every block to catch overruns),
// it is plain operator new.
#include <new>

#include "exchange/BlockList.h"

#if defined(__has_feature)
#if __has_feature(address_sanitizer)
#define DOVARIN_ASAN 1
#endif
#endif
#if defined(__SANITIZE_ADDRESS__)
#define DOVARIN_ASAN 1
#endif

#if defined(__linux__) && !defined(DOVARIN_ASAN)
#define DOVARIN_HUGE_PAGE_BLOCKS 1
#include <sys/mman.h>

#include <cstdint>
#include <system_error>
#include <thread>
#endif

namespace dovarin {

#if defined(DOVARIN_HUGE_PAGE_BLOCKS)

namespace {

constexpr std::size_t kHugePage = std::size_t{2} << 20;

std::size_t RoundToHugePages(std::size_t bytes) {
    return (bytes + kHugePage - 1) / kHugePage * kHugePage;
}

// `bytes` (a multiple of kHugePage) at an address aligned to kHugePage, marked for huge pages.
void* MapHugePages(std::size_t bytes) {
    void* raw = mmap(nullptr, bytes + kHugePage, PROT_READ | PROT_WRITE,
                     MAP_PRIVATE | MAP_ANONYMOUS, -1, 0);
    if (raw == MAP_FAILED) throw std::bad_alloc();
    const std::uintptr_t start = reinterpret_cast<std::uintptr_t>(raw);
    const std::uintptr_t aligned = (start + kHugePage - 1) & ~(kHugePage - 1);
    if (aligned > start) munmap(raw, aligned - start);
    if (aligned + bytes < start + bytes + kHugePage)
        munmap(reinterpret_cast<void*>(aligned + bytes), start + kHugePage - aligned);
    void* memory = reinterpret_cast<void*>(aligned);
    madvise(memory, bytes, MADV_HUGEPAGE);
    return memory;
}

// The head of an arena; blocks follow it.
struct Arena {
    std::size_t liveBlocks = 0;
};

constexpr std::size_t kArenaHead = 64;  // keeps blocks aligned for any record
static_assert(sizeof(Arena) <= kArenaHead);

Arena* g_current = nullptr;  // the arena new small blocks are cut from
std::size_t g_used = 0;      // bytes of it handed out, head included

Arena* ArenaOf(void* block) {
    return reinterpret_cast<Arena*>(reinterpret_cast<std::uintptr_t>(block) & ~(kHugePage - 1));
}

void* CutFromArena(std::size_t bytes) {
    bytes = (bytes + kArenaHead - 1) / kArenaHead * kArenaHead;
    if (!g_current || g_used + bytes > kHugePage) {
        // The current arena stays until its blocks are freed; it is full for new ones.
        if (g_current && g_current->liveBlocks == 0) munmap(g_current, kHugePage);
        g_current = ::new (MapHugePages(kHugePage)) Arena();
        g_used = kArenaHead;
    }
    void* block = reinterpret_cast<char*>(g_current) + g_used;
    g_used += bytes;
    ++g_current->liveBlocks;
    return block;
}

void ReturnToArena(void* block) {
    Arena* arena = ArenaOf(block);
    if (--arena->liveBlocks > 0) return;
    if (arena == g_current) {
        g_used = kArenaHead;  // empty again: reuse it from the start
        return;
    }
    munmap(arena, kHugePage);
}

// Has the kernel fault a big block in (zeroing its pages) on the other core while this one fills
// the block from its start. Populating changes no byte of the block, so the two never race on
// data; where the kernel cannot do it, the block is faulted in as it is filled, as before.
void PopulateInBackground(void* memory, std::size_t bytes) {
#if defined(MADV_POPULATE_WRITE)
    try {
        std::thread([memory, bytes] { madvise(memory, bytes, MADV_POPULATE_WRITE); }).detach();
    } catch (const std::system_error&) {
        // No thread to be had: the pages are faulted in as they are filled.
    }
#else
    (void)memory;
    (void)bytes;
#endif
}

}  // namespace

void* AllocateBlockMemory(std::size_t bytes) {
    if (bytes < kHugePage) return CutFromArena(bytes);
    const std::size_t mapped = RoundToHugePages(bytes);
    void* memory = MapHugePages(mapped);
    PopulateInBackground(memory, mapped);
    return memory;
}

void FreeBlockMemory(void* memory, std::size_t bytes) {
    if (bytes >= kHugePage) {
        munmap(memory, RoundToHugePages(bytes));
        return;
    }
    ReturnToArena(memory);
}

#else

void* AllocateBlockMemory(std::size_t bytes) {
    return ::operator new(bytes);
}

void FreeBlockMemory(void* memory, std::size_t) {
    ::operator delete(memory);
}

#endif

}  // namespace dovarin
