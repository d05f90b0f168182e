// The real shutdown request, for the launcher program's start-up only: SetShutdownRequest(&RealShutdownRequest).
// Never include this from a test.
#pragma once

#include <windows.h>

inline BOOL RealShutdownRequest(UINT flags, DWORD reason) {
  return ExitWindowsEx(flags, reason);
}
