// Out of memory on demand: the test program's operator new fails big allocations while armed.
#pragma once

#include <cstddef>

namespace dovarin::test_alloc {

// Bigger allocations fail while armed; the rest of the program allocates as usual.
constexpr std::size_t kBigAllocation = 1 << 20;

void FailBigAllocations(bool armed);

}  // namespace dovarin::test_alloc
