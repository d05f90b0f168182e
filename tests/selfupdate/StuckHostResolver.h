// A name server that does not answer: while installed, every look-up waits until the test lets it go (or the
// holder ends), the way a resolver's retries against an unreachable name server wait.
#pragma once

#include <windows.h>

#include "selfupdate/HostLookup.h"

namespace selfupdate_testing {

class StuckHostResolver {
 public:
  StuckHostResolver() {
    ResetEvent(Release());
    previous_ = SetHostResolver(&Resolve);
  }
  ~StuckHostResolver() {
    SetHostResolver(previous_);
    SetEvent(Release());
  }
  StuckHostResolver(const StuckHostResolver&) = delete;
  StuckHostResolver& operator=(const StuckHostResolver&) = delete;

  // Look-ups that have begun since the program started.
  static long entered() { return InterlockedCompareExchange(&Entered(), 0, 0); }

 private:
  static bool Resolve(const char*, in_addr*) {
    InterlockedIncrement(&Entered());
    WaitForSingleObject(Release(), INFINITE);
    return false;
  }
  static HANDLE Release() {
    static HANDLE release = CreateEventW(nullptr, TRUE, FALSE, nullptr);
    return release;
  }
  static volatile long& Entered() {
    static volatile long entered = 0;
    return entered;
  }

  HostResolver previous_;
};

}  // namespace selfupdate_testing
