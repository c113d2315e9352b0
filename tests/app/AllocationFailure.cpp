// The replaced global allocation functions of the test program. Kept apart from the tests, so
// that no call site sees both malloc and a new-expression.
#include "AllocationFailure.h"

#include <atomic>
#include <cstdlib>
#include <new>

namespace {

std::atomic<bool> gArmed{false};

}  // namespace

namespace dovarin::test_alloc {

void FailBigAllocations(bool armed) {
    gArmed = armed;
}

}  // namespace dovarin::test_alloc

void* operator new(std::size_t size) {
    if (gArmed && size > dovarin::test_alloc::kBigAllocation) throw std::bad_alloc();
    if (void* p = std::malloc(size > 0 ? size : 1)) return p;
    throw std::bad_alloc();
}

void operator delete(void* p) noexcept {
    std::free(p);
}

void operator delete(void* p, std::size_t) noexcept {
    std::free(p);
}
