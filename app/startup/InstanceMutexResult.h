// What creating the single-instance mutex found. Its own header, so that the start-up sequence (Startup.h)
// names it without the Windows headers that the mutex itself needs (SingleInstance.h).
#pragma once

#include <cstdint>

enum InstanceMutexResult : int32_t {
  kInstanceMutexFailed = 0,
  kInstanceMutexCreated = 1,
  // The mutex existed already: another launcher holds it, and this start hands its session over.
  kInstanceMutexHeldByAnotherLauncher = 2,
};
