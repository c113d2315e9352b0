// Every test of an executable that links the exchange module starts from a fresh HostState and
// leaves one behind, however it ends: a failed ASSERT, an exception or a test that never restores
// what it changed cannot reach the next test, whether CTest runs each test in a process of its
// own (natively) or all of them in one (under Wine, or the executable run by hand).
#include "HostStateScope.h"

#include <gtest/gtest.h>

namespace dovarin::test_state {
namespace {

class FreshHostStateForEachTest : public ::testing::EmptyTestEventListener {
    void OnTestStart(const ::testing::TestInfo&) override { InitHostState(); }
    void OnTestEnd(const ::testing::TestInfo&) override { InitHostState(); }
};

// GoogleTest owns and deletes the listener.
const bool kRegistered = [] {
    ::testing::UnitTest::GetInstance()->listeners().Append(new FreshHostStateForEachTest);
    return true;
}();

}  // namespace
}  // namespace dovarin::test_state
