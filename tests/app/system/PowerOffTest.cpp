// Power-off: the privilege step for real, the shutdown request only through the seam (the library's default
// records it and never reaches ExitWindowsEx).
#include <windows.h>

#include <gtest/gtest.h>

#include "app/system/PowerOff.h"

namespace {

UINT g_flags = 0;
DWORD g_reason = 0;
BOOL SeamAccepts(UINT flags, DWORD reason) {
  g_flags = flags;
  g_reason = reason;
  return TRUE;
}

bool ShutdownPrivilegeEnabled() {
  HANDLE token = nullptr;
  if (!OpenProcessToken(GetCurrentProcess(), TOKEN_QUERY, &token))
    return false;
  PRIVILEGE_SET set = {};
  set.PrivilegeCount = 1;
  set.Control = PRIVILEGE_SET_ALL_NECESSARY;
  LookupPrivilegeValueW(nullptr, L"SeShutdownPrivilege", &set.Privilege[0].Luid);
  BOOL held = FALSE;
  BOOL checked = PrivilegeCheck(token, &set, &held);
  CloseHandle(token);
  return checked && held;
}

TEST(PowerOff, TheLibraryDefaultOnlyRecordsTheRequest) {
  SetShutdownRequest(nullptr);
  RecordedShutdown before = RecordedShutdownRequests();
  EXPECT_FALSE(PowerOffMachine());
  RecordedShutdown after = RecordedShutdownRequests();
  EXPECT_EQ(before.count + 1, after.count);
  EXPECT_EQ(0x0Du, after.flags);
  EXPECT_EQ(0x40040000u, after.reason);
}

TEST(PowerOff, TheSeamGetsFlagsAndReasonAfterThePrivilegeIsEnabled) {
  SetShutdownRequest(&SeamAccepts);
  EXPECT_TRUE(PowerOffMachine());
  EXPECT_EQ(static_cast<UINT>(EWX_SHUTDOWN | EWX_FORCE | EWX_POWEROFF), g_flags);
  EXPECT_EQ(0x40040000u, g_reason);
  EXPECT_TRUE(ShutdownPrivilegeEnabled());
  SetShutdownRequest(nullptr);
}

TEST(PowerOff, ThePrivilegeStepEnablesSeShutdownPrivilege) {
  EXPECT_TRUE(EnableShutdownPrivilege());
  EXPECT_TRUE(ShutdownPrivilegeEnabled());
}

}  // namespace
