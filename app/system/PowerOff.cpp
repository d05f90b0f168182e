#include "app/system/PowerOff.h"

#include "app/system/IdleMonitor.h"
#include "net/UniqueHandle.h"

namespace {

RecordedShutdown g_recorded = {0, 0, 0};

BOOL RecordShutdownRequest(UINT flags, DWORD reason) {
  ++g_recorded.count;
  g_recorded.flags = flags;
  g_recorded.reason = reason;
  SetLastError(ERROR_CALL_NOT_IMPLEMENTED);
  return FALSE;
}

ShutdownRequest g_request = &RecordShutdownRequest;

}  // namespace

bool EnableShutdownPrivilege() {
  HANDLE raw_token = nullptr;
  if (!OpenProcessToken(GetCurrentProcess(), TOKEN_ADJUST_PRIVILEGES | TOKEN_QUERY, &raw_token))
    return false;
  UniqueHandle token(raw_token);
  TOKEN_PRIVILEGES privileges = {};
  privileges.PrivilegeCount = 1;
  privileges.Privileges[0].Attributes = SE_PRIVILEGE_ENABLED;
  if (!LookupPrivilegeValueW(nullptr, L"SeShutdownPrivilege", &privileges.Privileges[0].Luid))
    return false;
  // AdjustTokenPrivileges also succeeds when the token lacks the privilege; only the last error says so.
  SetLastError(ERROR_SUCCESS);
  if (!AdjustTokenPrivileges(token.get(), FALSE, &privileges, 0, nullptr, nullptr))
    return false;
  return GetLastError() != ERROR_NOT_ALL_ASSIGNED;
}

BOOL PowerOffMachine() {
  bool nt_family = (CachedWindowsVersion() & 0x80000000u) == 0;
  if (nt_family && !EnableShutdownPrivilege())
    return FALSE;
  return g_request(kPowerOffFlags, kPowerOffReason);
}

void SetShutdownRequest(ShutdownRequest request) {
  g_request = request != nullptr ? request : &RecordShutdownRequest;
}

RecordedShutdown RecordedShutdownRequests() {
  return g_recorded;
}
