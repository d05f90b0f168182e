// Starting another program for the process replacement, without ending the test: a start that fails and one
// that is refused for a moment.
#include <windows.h>

#include <gtest/gtest.h>

#include <string>
#include <thread>

#include "selfupdate/ProcessReplacement.h"
#include "tests/support/TempFolder.h"

namespace {

using testing_support::TempFolder;

TEST(ProcessReplacement, ReportsAProgramThatCannotStart) {
  TempFolder folder(L"replace");
  EXPECT_EQ(0, StartProgramAndExit(folder.Join(L"missing.exe").c_str(), L"missing.exe"));
  EXPECT_EQ(0, StartProgramAndExit(L"", L""));
}

// A freshly copied program that something still holds (as a virus scanner holds a new file) is started once
// it is let go, not given up at the first refusal.
TEST(ProcessReplacement, AProgramHeldForAMomentIsStartedOnceItIsLetGo) {
  TempFolder folder(L"replace");
  wchar_t system[MAX_PATH];
  ASSERT_NE(0u, GetSystemDirectoryW(system, MAX_PATH));
  const std::wstring program = folder.Join(L"held.exe");
  ASSERT_TRUE(CopyFileW((std::wstring(system) + L"\\cmd.exe").c_str(), program.c_str(), FALSE));
  HANDLE held = CreateFileW(program.c_str(), GENERIC_READ, 0, nullptr, OPEN_EXISTING, 0, nullptr);
  ASSERT_NE(INVALID_HANDLE_VALUE, held);
  std::thread let_go([held] {
    Sleep(300);  // the holder's moment
    CloseHandle(held);
  });
  UniqueHandle process;
  const bool started = StartProgram(program.c_str(), L"held.exe /c exit 7", &process);
  const DWORD error = GetLastError();
  let_go.join();
  ASSERT_TRUE(started) << "error " << error;
  ASSERT_EQ(WAIT_OBJECT_0, WaitForSingleObject(process.get(), 30000));
  DWORD exit_code = 0;
  GetExitCodeProcess(process.get(), &exit_code);
  EXPECT_EQ(7u, exit_code);
}

}  // namespace
