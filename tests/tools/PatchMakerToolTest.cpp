// patchmaker.exe, as the history generator runs it: a list of jobs in one process; a bad job or line fails
// the run without stopping the other jobs and leaves no output of its own.
#include <windows.h>

#include <gtest/gtest.h>

#include <string>

#include "tests/patch/PatchTestData.h"
#include "tests/support/TempFolder.h"

namespace patch {
namespace {

using testing_support::FileExists;
using testing_support::ReadFileBytes;
using testing_support::TempFolder;
using testing_support::WriteFileBytes;

std::string Narrow(const std::wstring& wide) {
  int length = WideCharToMultiByte(CP_UTF8, 0, wide.c_str(), -1, nullptr, 0, nullptr, nullptr);
  std::string text(static_cast<size_t>(length), '\0');
  WideCharToMultiByte(CP_UTF8, 0, wide.c_str(), -1, &text[0], length, nullptr, nullptr);
  text.resize(text.size() - 1);
  return text;
}

// Runs patchmaker.exe from the test's own folder; returns its exit code, or -1 when it could not run.
int RunPatchMaker(const std::wstring& arguments) {
  wchar_t own_path[MAX_PATH];
  DWORD length = GetModuleFileNameW(nullptr, own_path, MAX_PATH);
  std::wstring program(own_path, length);
  program = program.substr(0, program.find_last_of(L'\\') + 1) + L"patchmaker.exe";
  std::wstring command_line = L"\"" + program + L"\" " + arguments;
  STARTUPINFOW startup = {};
  startup.cb = sizeof startup;
  PROCESS_INFORMATION process = {};
  if (!CreateProcessW(program.c_str(), &command_line[0], nullptr, nullptr, FALSE, 0, nullptr, nullptr,
                      &startup, &process))
    return -1;
  WaitForSingleObject(process.hProcess, 60000);
  DWORD exit_code = static_cast<DWORD>(-1);
  GetExitCodeProcess(process.hProcess, &exit_code);
  CloseHandle(process.hThread);
  CloseHandle(process.hProcess);
  return static_cast<int>(exit_code);
}

TEST(PatchMakerTool, ListModeMakesEveryGoodJobAndNoOutputForABadOne) {
  TempFolder temp(L"patchmaker");
  std::string old_bytes = MixedBytes(120000, 10);
  ASSERT_TRUE(WriteFileBytes(temp.Join(L"v1\\game.exe"), old_bytes));
  ASSERT_TRUE(WriteFileBytes(temp.Join(L"v2\\game.exe"), old_bytes + "v2"));
  std::string root = Narrow(temp.path());
  std::string job = root + "\\v1\\game.exe\t" + root + "\\v2\\game.exe\t";
  std::string list = "# comment\r\n" + job + "game.exe\t" + root + "\\out\\2\\PATCH.RTP\r\n\n" + job +
                     "..\\game.exe\t" + root + "\\unsafe.rtp\n" + "only\ttwo fields\n";
  ASSERT_TRUE(WriteFileBytes(temp.Join(L"jobs.txt"), list));

  EXPECT_EQ(1, RunPatchMaker(L"--level 5 --list \"" + temp.Join(L"jobs.txt") + L"\""));
  std::string patch;
  ASSERT_TRUE(ReadFileBytes(temp.Join(L"out\\2\\PATCH.RTP"), &patch));
  EXPECT_LT(patch.size(), 200u);
  EXPECT_FALSE(FileExists(temp.Join(L"unsafe.rtp")));
  EXPECT_EQ(2, RunPatchMaker(L"\"" + temp.Join(L"v1\\game.exe") + L"\" too few"));
}

}  // namespace
}  // namespace patch
