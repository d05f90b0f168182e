// Checks that an operation returns promptly (a stop, a removal), without hanging the test when it does not.
#pragma once

#include <functional>

namespace testing_support {

// Runs `action` on a thread of its own and tells whether it returned within `timeout_ms` of starting. The clock
// starts when the action starts, not when its thread is asked for: on a loaded machine a new thread may be
// scheduled late, and that is not the action's slowness. A thread that has not started after `start_limit_ms`
// counts as a failure too. On failure the thread is left running, detached.
bool FinishesWithin(unsigned timeout_ms, std::function<void()> action, unsigned start_limit_ms = 30000);

}  // namespace testing_support
