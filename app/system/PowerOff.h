// Switching the machine off after an automatic update run, when the user asked for it.
//
// The shutdown request itself sits behind a seam. The library's default only records the request, so that no
// test can ever switch the machine off; the launcher program's start-up installs the real call
// (RealShutdownRequest.h), which no test includes.
//
// Thread: the user-interface thread (the last step of shutdown).
#pragma once

#include <windows.h>

// The shutdown request: ExitWindowsEx's flags and reason; its result.
typedef BOOL (*ShutdownRequest)(UINT flags, DWORD reason);

// The flags and reason PowerOffMachine asks with: shut down, force, power off; a planned stop for an
// application's maintenance.
const UINT kPowerOffFlags = EWX_SHUTDOWN | EWX_FORCE | EWX_POWEROFF;  // 0x0D
const DWORD kPowerOffReason = 0x40040000;

// On the NT family, enables "SeShutdownPrivilege" in the process token (0 when that fails, also when the
// token does not hold the privilege); then makes the shutdown request and returns its result.
BOOL PowerOffMachine();

// Enables "SeShutdownPrivilege" in the own process token. False when the token cannot be opened, the name not
// looked up, or the privilege not assigned (ERROR_NOT_ALL_ASSIGNED).
bool EnableShutdownPrivilege();

// Replaces the shutdown request; null restores the recording default.
void SetShutdownRequest(ShutdownRequest request);

// What the recording default received: the number of requests and the last flags and reason. The default
// answers FALSE with ERROR_CALL_NOT_IMPLEMENTED: nothing was switched off.
struct RecordedShutdown {
  int count;
  UINT flags;
  DWORD reason;
};
RecordedShutdown RecordedShutdownRequests();
