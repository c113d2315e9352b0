// The replaced global allocation functions of the test program. Kept apart from the tests, so
// that no call site sees both malloc and a new-expression.
#include "AllocationFailure.h"

#include <atomic>
#include <cstdlib>
#include <new>

namespace {

std::atomic<bool> gArmed{false};
std::atomic<std::size_t> gAllocated{0};
std::atomic<std::size_t> gCounted{0};
std::atomic<std::size_t> gFailAt{0};

}  // namespace

namespace dovarin::test_alloc {

void FailBeyondBudget(bool armed) {
    gAllocated = 0;
    gArmed = armed;
}

void FailAllocation(std::size_t n) {
    gCounted = 0;
    gFailAt = n;
}

std::size_t AllocationsCounted() {
    return gCounted;
}

}  // namespace dovarin::test_alloc

namespace {

void* Allocate(std::size_t size) {
    if (++gCounted == gFailAt) throw std::bad_alloc();
    if (gArmed && (gAllocated += size) > dovarin::test_alloc::kAllocationBudget &&
        gArmed.exchange(false)) {
        throw std::bad_alloc();
    }
    if (void* p = std::malloc(size > 0 ? size : 1)) return p;
    throw std::bad_alloc();
}

}  // namespace

// Both forms: a sanitizer's runtime does not send new[] through a replaced new.
void* operator new(std::size_t size) {
    return Allocate(size);
}

void* operator new[](std::size_t size) {
    return Allocate(size);
}

void operator delete(void* p) noexcept {
    std::free(p);
}

void operator delete(void* p, std::size_t) noexcept {
    std::free(p);
}

void operator delete[](void* p) noexcept {
    std::free(p);
}

void operator delete[](void* p, std::size_t) noexcept {
    std::free(p);
}
