#include "tests/support/Timing.h"

#include <windows.h>

#include <atomic>
#include <memory>

namespace testing_support {

namespace {

struct Run {
  std::function<void()> action;
  std::atomic<bool> started{false};
  std::atomic<DWORD> started_at{0};
  std::atomic<bool> done{false};
};

DWORD WINAPI RunAction(void* parameter) {
  // The thread holds its own reference: the caller may give up waiting and return first.
  std::shared_ptr<Run>* owned = static_cast<std::shared_ptr<Run>*>(parameter);
  std::shared_ptr<Run> run = *owned;
  delete owned;
  run->started_at = GetTickCount();
  run->started = true;
  run->action();
  run->done = true;
  return 0;
}

}  // namespace

// A plain Windows thread, not std::thread: under load, MinGW's thread library was seen to lose a detached
// thread that was started right after another one ended, and that is not what these tests measure.
bool FinishesWithin(unsigned timeout_ms, std::function<void()> action, unsigned start_limit_ms) {
  auto run = std::make_shared<Run>();
  run->action = std::move(action);
  auto* handed = new std::shared_ptr<Run>(run);
  HANDLE thread = CreateThread(nullptr, 0, RunAction, handed, 0, nullptr);
  if (thread == nullptr) {
    delete handed;
    return false;
  }
  CloseHandle(thread);

  const DWORD asked_at = GetTickCount();
  while (!run->done) {
    DWORD now = GetTickCount();
    if (run->started ? now - run->started_at > timeout_ms : now - asked_at > start_limit_ms)
      return run->done;
    Sleep(5);
  }
  return true;
}

bool WaitUntil(unsigned timeout_ms, const std::function<bool()>& condition) {
  const DWORD start = GetTickCount();
  while (!condition()) {
    if (GetTickCount() - start > timeout_ms)
      return condition();
    Sleep(5);
  }
  return true;
}

}  // namespace testing_support
