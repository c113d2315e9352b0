// HostState for a test: fresh when the test (or a row of it) begins, and back at its defaults when
// it ends, however it ends: an ASSERT that stops a test early leaves nothing to the next one.
#pragma once

#include "exchange/JwwGaibu.h"

namespace dovarin::test_state {

class ScopedHostState {
  public:
    ScopedHostState() { InitHostState(); }
    ~ScopedHostState() { InitHostState(); }
    ScopedHostState(const ScopedHostState&) = delete;
    ScopedHostState& operator=(const ScopedHostState&) = delete;
};

}  // namespace dovarin::test_state
