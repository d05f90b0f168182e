// The stand-in launcher through its whole self-update: the real launcher at version 1 copies itself into the
// temporary folder and starts the copy, the copy installs version 2 and restarts the real launcher, which
// finds the versions equal and removes the temporary folder. Then the same with the copy killed at each of
// its file operations, those inside the ini's version write included: every file stays whole (old or new),
// none goes missing, the launcher-info ini keeps its server and a version that tells the truth, and the next
// start completes the update.
#include <windows.h>

#include <gtest/gtest.h>

#include <cstdlib>
#include <string>

#include "selfupdate/LauncherInfo.h"
#include "tests/app/launcherupdate/SelfUpdateTestSupport.h"
#include "tests/support/PatchServerProcess.h"
#include "tests/support/TempFolder.h"
#include "tests/support/UnixCommand.h"
#include "tests/support/WinePaths.h"

namespace {

using selfupdate_testing::FileTree;
using testing_support::FileExists;
using testing_support::ReadFileBytes;
using testing_support::WriteFileBytes;

// Kill points tried: the file operations of the whole update, each of which is killed once.
constexpr int kKillPoints = 22;

std::string ProgramBytes() {
  wchar_t path[MAX_PATH];
  GetModuleFileNameW(nullptr, path, MAX_PATH);
  std::wstring folder(path);
  folder = folder.substr(0, folder.rfind(L'\\'));
  std::string bytes;
  ReadFileBytes(folder + L"\\orvane_standin_launcher.exe", &bytes);
  return bytes;
}

class StandInLauncherTest : public ::testing::Test {
 protected:
  void SetUp() override {
    if (!testing_support::RunningUnderWine())
      GTEST_SKIP() << "serves with the Python fixtures";
    program_ = ProgramBytes();
    ASSERT_FALSE(program_.empty());
    ASSERT_TRUE(version_server_.Start(R"({"game_info_reply": {"number": 7}})", "", {"--port", "27500"}));
    ASSERT_TRUE(http_.Start("http_server.py", {"--root", testing_support::UnixPathOf(served_.path()),
                                               "--bind", version_server_.address()}))
        << http_.log();
    address_ = testing_support::Utf8ToWide(http_.endpoint());
    ASSERT_TRUE(WriteFileBytes(served_.Join(L"GameInfo\\7\\GGI_0_game.info"), "1\r\nlauncher#2,0\r\n"));
    // The new program differs from the old (bytes past its image, which the loader ignores), so that a
    // half-replaced program would show.
    package_ = {{L"orvaneLauncher.exe", program_ + std::string("\0new launcher build", 19)},
                {L"unicows.dll", "new unicows"},
                {L"data\\skin.ini", "new skin"},
                {L"LauncherMessage.ini", "new texts"}};
    ASSERT_TRUE(MakePackage());
    old_ = {
        {L"orvaneLauncher.exe", program_}, {L"unicows.dll", "old unicows"}, {L"data\\skin.ini", "old skin"}};
    SetEnvironmentVariableW(L"ORVANE_STANDIN_LOG", log_path().c_str());
  }
  void TearDown() override {
    SetEnvironmentVariableW(L"ORVANE_STANDIN_LOG", nullptr);
    SetEnvironmentVariableW(L"ORVANE_STANDIN_KILL_AT", nullptr);
    SetLauncherInfoPath(nullptr);
  }

  bool MakePackage() {
    testing_support::TempFolder tree(L"standin-package");
    selfupdate_testing::WriteTree(tree.path(), package_);
    std::string command = "cd " + testing_support::ShellQuote(testing_support::UnixPathOf(tree.path())) +
                          " && gcab -c -z " +
                          testing_support::ShellQuote(testing_support::UnixPathOf(served_.Join(L"system"))) +
                          "/game.2.cab orvaneLauncher.exe unicows.dll data/skin.ini LauncherMessage.ini";
    testing_support::MakeFolders(served_.Join(L"system"));
    std::string output;
    return testing_support::RunUnixCommand(command, &output) == 0;
  }
  std::wstring real() const { return root_.Join(L"launcher"); }
  std::wstring log_path() const { return root_.Join(L"standin.log"); }
  std::string Log() const {
    std::string log;
    ReadFileBytes(log_path(), &log);
    return log;
  }
  void Install() {
    testing_support::RemoveTree(real());
    selfupdate_testing::WriteTree(real(), old_);
    SetLauncherInfoPath((real() + L"\\ZEPHLauncherInfo.ini").c_str());
    WriteLauncherInfoUpdateAddr(address_.c_str());
    WriteLauncherInfoUpdateName(L"Stand-in server");
    WriteLauncherInfoVersion(1);
  }
  // Starts the real launcher with a command line that holds blanks and quotes.
  bool StartLauncher() {
    std::wstring command_line = L"\"" + real() +
                                L"\\orvaneLauncher.exe\" /GameID:game /CompanyID:0 "
                                L"/UserNick:\"a b\" /LUpdateAddr:" +
                                address_;
    STARTUPINFOW startup = {};
    startup.cb = sizeof startup;
    PROCESS_INFORMATION process = {};
    const std::wstring program = real() + L"\\orvaneLauncher.exe";
    if (!CreateProcessW(program.c_str(), &command_line[0], nullptr, nullptr, FALSE, 0, nullptr, nullptr,
                        &startup, &process))
      return false;
    CloseHandle(process.hThread);
    CloseHandle(process.hProcess);
    return true;
  }
  // Waits until the log holds `text` (from `from` on).
  bool WaitForLog(const std::string& text, size_t from = 0, DWORD timeout_ms = 60000) {
    for (DWORD start = GetTickCount(); GetTickCount() - start < timeout_ms; Sleep(50))
      if (Log().find(text, from) != std::string::npos)
        return true;
    return false;
  }
  // Waits until the process that logged `line` has ended (each line starts with its process id).
  bool WaitForEndOf(const std::string& line) {
    const std::string log = Log();
    const size_t at = log.find(line);
    if (at == std::string::npos)
      return false;
    const size_t start = log.rfind('\n', at);
    const DWORD id = std::strtoul(log.c_str() + (start == std::string::npos ? 0 : start + 1), nullptr, 10);
    HANDLE process = OpenProcess(SYNCHRONIZE, FALSE, id);
    if (process == nullptr)
      return true;  // gone already
    const bool ended = WaitForSingleObject(process, 30000) == WAIT_OBJECT_0;
    CloseHandle(process);
    return ended;
  }
  // The launcher folder without the ini, the ini's replacement while it is written, and the temporary folder.
  FileTree RealFiles() const {
    return selfupdate_testing::ReadTree(
        real(), {L"ZEPHLauncherInfo.ini", L"ZEPHLauncherInfo.ini.new", L"launcher_update_temp"});
  }
  // After a kill: each file old or new, none missing, the ini's server kept and its version 1, or 2 with
  // every file new.
  void ExpectWholeFilesAndATruthfulIni(const std::string& when) {
    FileTree files = RealFiles();
    for (const auto& file : files) {
      const bool is_old = old_.count(file.first) && old_[file.first] == file.second;
      const bool is_new = package_.count(file.first) && package_[file.first] == file.second;
      EXPECT_TRUE(is_old || is_new) << testing_support::WideToUtf8(file.first) << " after " << when;
    }
    for (const auto& file : old_)
      EXPECT_EQ(1u, files.count(file.first)) << testing_support::WideToUtf8(file.first) << " after " << when;
    wchar_t text[kLauncherInfoTextUnits];
    ReadLauncherInfoUpdateAddr(text);
    EXPECT_EQ(address_, text) << when;
    ReadLauncherInfoUpdateName(text);
    EXPECT_STREQ(L"Stand-in server", text) << when;
    const unsigned version = ReadLauncherInfoVersion();
    EXPECT_TRUE(version == 1 || version == 2) << version << " after " << when;
    if (version == 2) {
      for (const auto& file : package_)
        EXPECT_EQ(file.second, files[file.first])
            << testing_support::WideToUtf8(file.first) << " after " << when;
    }
  }
  void ExpectUpdated(const char* when) {
    FileTree expected = old_;
    for (const auto& file : package_)
      expected[file.first] = file.second;
    EXPECT_EQ(expected, RealFiles()) << when;
    EXPECT_EQ(2u, ReadLauncherInfoVersion()) << when;
    EXPECT_FALSE(FileExists(real() + L"\\launcher_update_temp")) << when;
  }

  testing_support::TempFolder root_{L"standin"};
  testing_support::TempFolder served_{L"standin-served"};
  testing_support::PatchServerProcess version_server_;
  testing_support::FixtureServer http_;
  std::wstring address_;
  std::string program_;
  FileTree package_, old_;
};

TEST_F(StandInLauncherTest, UpdatesItselfThroughItsTemporaryCopyAndCleansUp) {
  Install();
  ASSERT_TRUE(StartLauncher());
  ASSERT_TRUE(WaitForLog("up to date 2")) << Log();
  const std::string log = Log();
  size_t at = 0;
  for (const char* step :
       {"start real launcher", "start update temp", "start temporary copy", "self-update 0",
        "restart from parent", "start real launcher", "remove update temp 1", "up to date 2"}) {
    at = log.find(step, at);
    ASSERT_NE(std::string::npos, at) << step << " in\n" << log;
  }
  ExpectUpdated("end to end");
  const size_t operations = log.find("operations ");
  ASSERT_NE(std::string::npos, operations);
  const int count = std::atoi(log.c_str() + operations + 11);
  EXPECT_EQ(kKillPoints, count) << "each file operation is one kill point";
  std::printf("file operations of the temporary copy: %d\n", count);
}

class StandInKillTest : public StandInLauncherTest, public ::testing::WithParamInterface<int> {};

TEST_P(StandInKillTest, KilledAtAFileOperationLeavesWholeFilesAndTheNextStartCompletes) {
  const int kill_at = GetParam();
  Install();
  SetEnvironmentVariableW(L"ORVANE_STANDIN_KILL_AT", std::to_wstring(kill_at).c_str());
  ASSERT_TRUE(StartLauncher());
  const std::string killed = "killed at " + std::to_string(kill_at);
  ASSERT_TRUE(WaitForLog(killed)) << "no kill fired:\n" << Log();
  ASSERT_TRUE(WaitForEndOf(killed)) << Log();
  ExpectWholeFilesAndATruthfulIni(killed);

  SetEnvironmentVariableW(L"ORVANE_STANDIN_KILL_AT", nullptr);
  const size_t from = Log().size();
  ASSERT_TRUE(StartLauncher());
  ASSERT_TRUE(WaitForLog("up to date 2", from)) << Log();
  ExpectUpdated(killed.c_str());
}

INSTANTIATE_TEST_SUITE_P(EachFileOperation, StandInKillTest, ::testing::Range(1, kKillPoints + 1));

}  // namespace
