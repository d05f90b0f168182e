// patchmaker.exe, as the history generator runs it: a list of jobs in one process, each patch then applied by
// patchw32.dll; a bad line fails the run without stopping the other jobs.
#include <windows.h>

#include <gtest/gtest.h>

#include <string>

#include "patch/PatchW32.h"
#include "tests/patch/PatchTestData.h"
#include "tests/support/TempFolder.h"

namespace patch {
namespace {

using testing_support::FileExists;
using testing_support::ReadFileBytes;
using testing_support::TempFolder;
using testing_support::WriteFileBytes;

// The list file is UTF-8; the library's command line is in the process's code page.
std::string Narrow(const std::wstring& wide, UINT code_page = CP_UTF8) {
  int length = WideCharToMultiByte(code_page, 0, wide.c_str(), -1, nullptr, 0, nullptr, nullptr);
  std::string text(static_cast<size_t>(length), '\0');
  WideCharToMultiByte(code_page, 0, wide.c_str(), -1, &text[0], length, nullptr, nullptr);
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

int ApplyWithLibrary(const std::wstring& patch_path, const std::wstring& folder) {
  HMODULE module = LoadLibraryW(L"patchw32.dll");
  if (module == nullptr)
    return -1;
  auto apply = reinterpret_cast<ApplyBinaryPatchFunction>(
      reinterpret_cast<void (*)()>(GetProcAddress(module, MAKEINTRESOURCEA(1))));
  std::string line =
      "\"" + Narrow(patch_path, CP_ACP) + "\" \"" + Narrow(folder, CP_ACP) + "\" -q -not -nop -nos";
  int result = apply != nullptr ? apply(line.c_str(), nullptr, 1) : -1;
  FreeLibrary(module);
  return result;
}

TEST(PatchMakerTool, ListModeMakesEveryGoodJobAndFailsOnABadLine) {
  TempFolder temp(L"patchmaker");
  std::string versions[3] = {MixedBytes(120000, 10), MixedBytes(120000, 10) + "v2",
                             "v3" + MixedBytes(120000, 10)};
  for (int v = 0; v < 3; ++v)
    ASSERT_TRUE(WriteFileBytes(temp.Join(L"v" + std::to_wstring(v + 1) + L"\\game.exe"), versions[v]));
  std::string root = Narrow(temp.path());
  std::string list = "# version 2 and version 3 of game.exe\r\n" + root + "\\v1\\game.exe\t" + root +
                     "\\v2\\game.exe\tgame.exe\t" + root + "\\out\\2\\PATCH.RTP\r\n\n" + root +
                     "\\v2\\game.exe\t" + root + "\\v3\\game.exe\tgame.exe\t" + root +
                     "\\out\\3\\PATCH.RTP\n" + "only\ttwo fields\n";
  ASSERT_TRUE(WriteFileBytes(temp.Join(L"jobs.txt"), list));

  EXPECT_EQ(1, RunPatchMaker(L"--level 5 --list \"" + temp.Join(L"jobs.txt") + L"\""));
  ASSERT_TRUE(WriteFileBytes(temp.Join(L"install\\game.exe"), versions[0]));
  EXPECT_EQ(kPatchApplied, ApplyWithLibrary(temp.Join(L"out\\2\\PATCH.RTP"), temp.Join(L"install")));
  EXPECT_EQ(kPatchApplied, ApplyWithLibrary(temp.Join(L"out\\3\\PATCH.RTP"), temp.Join(L"install")));
  std::string installed;
  ASSERT_TRUE(ReadFileBytes(temp.Join(L"install\\game.exe"), &installed));
  EXPECT_TRUE(installed == versions[2]);
}

TEST(PatchMakerTool, SingleJobFromArgumentsAndNoOutputOnFailure) {
  TempFolder temp(L"patchmaker");
  ASSERT_TRUE(WriteFileBytes(temp.Join(L"old.dat"), "old contents"));
  ASSERT_TRUE(WriteFileBytes(temp.Join(L"new.dat"), "new contents"));
  std::wstring files = L"\"" + temp.Join(L"old.dat") + L"\" \"" + temp.Join(L"new.dat") + L"\" ";
  EXPECT_EQ(0, RunPatchMaker(files + L"data\\x.dat \"" + temp.Join(L"ok.rtp") + L"\""));
  EXPECT_TRUE(FileExists(temp.Join(L"ok.rtp")));
  EXPECT_EQ(1, RunPatchMaker(files + L"..\\x.dat \"" + temp.Join(L"unsafe.rtp") + L"\""));
  EXPECT_FALSE(FileExists(temp.Join(L"unsafe.rtp")));
  EXPECT_EQ(2, RunPatchMaker(files));
}

}  // namespace
}  // namespace patch
