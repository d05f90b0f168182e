// A Windows critical section with a lifetime: initialised by the constructor, deleted by the destructor.
// Recursive, like every critical section: the thread that holds it may take it again.
#pragma once

#include <windows.h>

#include <mutex>

class CriticalSection {
 public:
  CriticalSection() { InitializeCriticalSection(&section_); }
  ~CriticalSection() { DeleteCriticalSection(&section_); }
  CriticalSection(const CriticalSection&) = delete;
  CriticalSection& operator=(const CriticalSection&) = delete;

  void lock() { EnterCriticalSection(&section_); }
  void unlock() { LeaveCriticalSection(&section_); }

 private:
  CRITICAL_SECTION section_;
};

// Holds a CriticalSection for one scope: taken when made, left when it ends, on every path out.
using ScopedLock = std::lock_guard<CriticalSection>;
