// Out of memory on demand: the test program's operator new fails once the allocations made since
// arming pass a budget, as a run that fills the memory would see it, or at a chosen allocation.
#pragma once

#include <cstddef>

namespace dovarin::test_alloc {

// The allocations since arming may take this much in all; the first one beyond it fails, and the
// rest succeed again, as they would once the failed run had let its memory go.
constexpr std::size_t kAllocationBudget = 1 << 20;

void FailBeyondBudget(bool armed);

// The n-th allocation from now (1 for the next) fails, the rest succeed; 0 disarms. Either way
// the allocations are counted from now on.
void FailAllocation(std::size_t n);
std::size_t AllocationsCounted();

}  // namespace dovarin::test_alloc
