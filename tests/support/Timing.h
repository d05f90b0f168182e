// Waiting in tests: for an operation to return promptly (a stop, a removal) without hanging the test when it
// does not, and for a condition that only polling can see (another process's screen, a file's contents).
#pragma once

#include <functional>

namespace testing_support {

// Runs `action` on a thread of its own and tells whether it returned within `timeout_ms` of starting. The clock
// starts when the action starts, not when its thread is asked for: on a loaded machine a new thread may be
// scheduled late, and that is not the action's slowness. A thread that has not started after `start_limit_ms`
// counts as a failure too. On failure the thread is left running, detached.
bool FinishesWithin(unsigned timeout_ms, std::function<void()> action, unsigned start_limit_ms = 30000);

// Asks `condition` every few milliseconds until it holds; false when it still does not after `timeout_ms`.
// For what no event announces; where a message, a log line or a handle announces it, wait for that instead.
bool WaitUntil(unsigned timeout_ms, const std::function<bool()>& condition);

}  // namespace testing_support
