// HostState for a row of a table test: fresh when the row begins, and back at its defaults when it
// ends, however it ends. Whole tests need nothing: HostStateScope.cpp gives every test of the
// executables that link the exchange module a fresh state at its start and end.
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
