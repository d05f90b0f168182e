// Whole updates as the launcher drives them: QVTesserel.dll loaded at run time, the patch-server fixture
// serving a generated version history (tools/make_history.py) and the HTTP fixture serving its files. Each
// run must leave the installation byte-identical with the generator's tree of that version.
#include <gtest/gtest.h>
#include <windows.h>

#include <cstring>
#include <string>

#include "engine/QVTesserel.h"
#include "tests/engine/EngineTestSupport.h"
#include "tests/engine/GeneratedHistory.h"
#include "tests/support/FixtureServer.h"
#include "tests/support/PatchServerProcess.h"
#include "tests/support/TempFolder.h"
#include "tests/support/UnixCommand.h"
#include "tests/support/WinePaths.h"

using engine_testing::EventLog;
using engine_testing::GeneratedHistory;
using engine_testing::MakeParams;
using testing_support::FixtureServer;
using testing_support::PatchServerProcess;
using testing_support::ReadFileBytes;
using testing_support::TempFolder;

namespace {

struct Exports {
  Exports() : module(LoadLibraryW(L"QVTesserel.dll")) {
    create = Bind<qvCreateUpdaterFunction>("qvCreateUpdater");
    remove = Bind<qvRemoveUpdaterFunction>("qvRemoveUpdater");
    start = Bind<qvStartUpdaterFunction>("qvStartUpdater");
    full_check = Bind<qvFullCheckFunction>("qvFullCheck");
  }
  ~Exports() {
    if (module != nullptr)
      FreeLibrary(module);
  }
  Exports(const Exports&) = delete;
  Exports& operator=(const Exports&) = delete;
  bool Complete() const { return create && remove && start && full_check; }

  template <typename Function>
  Function Bind(const char* name) {
    return module ? reinterpret_cast<Function>(reinterpret_cast<void (*)()>(GetProcAddress(module, name)))
                  : nullptr;
  }

  HMODULE module;
  qvCreateUpdaterFunction create;
  qvRemoveUpdaterFunction remove;
  qvStartUpdaterFunction start;
  qvFullCheckFunction full_check;
};

// Every difference between the generator's tree and the installation, besides the engine's own two files;
// empty when they are equal.
std::string TreeDifferences(const std::string& expected, const std::wstring& install) {
  std::string output;
  const int status = testing_support::RunUnixCommand(
      "diff -r -q -x fileListInfo_DEMO.dat -x versionInfo_DEMO.ini " + testing_support::ShellQuote(expected) +
          " " + testing_support::ShellQuote(testing_support::UnixPathOf(install)),
      &output);
  return status == 0 ? "" : "diff " + std::to_string(status) + ": " + output;
}

class LibraryUpdate : public testing::Test {
 protected:
  // Serves the history of `versions` versions with both fixture servers and runs one update (or full check)
  // of the install folder through the exports, to its end.
  ::testing::AssertionResult RunUpdate(int versions, bool full_check) {
    const std::string history = GeneratedHistory(versions);
    if (history.empty())
      return ::testing::AssertionFailure() << "no history";
    std::string description;
    if (!ReadFileBytes(testing_support::WindowsPathOf(history + "/DEMO/history.json"), &description))
      return ::testing::AssertionFailure() << "no history.json in " << history;
    PatchServerProcess patch_server;
    FixtureServer file_server;
    if (!patch_server.Start("", description))
      return ::testing::AssertionFailure() << "patch server: " << patch_server.log();
    if (!file_server.Start("http_server.py", {"--root", history}))
      return ::testing::AssertionFailure() << "file server: " << file_server.log();

    log_.Clear();
    UpdaterParams params = MakeParams(install(), &log_);
    wcscpy(params.productCode, L"DEMO");
    std::strcpy(params.patchServerIp, patch_server.address().c_str());
    params.patchServerPort = patch_server.port();
    std::strcpy(params.downloadHost, file_server.endpoint().c_str());
    UpdaterHandle handle = exports_.create(&params);
    if (handle == nullptr)
      return ::testing::AssertionFailure() << "qvCreateUpdater";
    const int started = full_check ? exports_.full_check(handle) : exports_.start(handle);
    const bool ended = started == UpdaterResultOk && log_.WaitForEnd(60000);
    exports_.remove(handle);
    if (!ended)
      return ::testing::AssertionFailure() << "start " << started << ", no end of the run";
    if (!log_.Errors().empty())
      return ::testing::AssertionFailure() << "error " << log_.Errors().front();

    const std::string differences = TreeDifferences(history + "/DEMO/expected", install());
    if (!differences.empty())
      return ::testing::AssertionFailure() << differences;
    const int recorded = static_cast<int>(GetPrivateProfileIntW(
        L"UpdInfo", L"CurrentVersion", -1, (install() + L"\\versionInfo_DEMO.ini").c_str()));
    if (recorded != versions)
      return ::testing::AssertionFailure() << "versionInfo says " << recorded;
    return ::testing::AssertionSuccess();
  }

  std::wstring install() const { return folder_.Join(L"game"); }

  Exports exports_;
  TempFolder folder_{L"update"};
  EventLog log_;
};

}  // namespace

TEST_F(LibraryUpdate, AnInstallationFollowsTheHistoryVersionByVersion) {
  ASSERT_TRUE(exports_.Complete());
  // Version 2 from nothing, then each next version from the one before: patches, whole files, new files and
  // deletes as the server's list for each installed version says.
  for (int version = 2; version <= 5; ++version)
    ASSERT_TRUE(RunUpdate(version, false)) << "to version " << version;
}

TEST_F(LibraryUpdate, AFullCheckRepairsACorruptedAndAMissingFile) {
  ASSERT_TRUE(exports_.Complete());
  ASSERT_TRUE(RunUpdate(5, false));
  // A file of the same size with other bytes passes the check at start; only the full check finds it.
  std::string bytes;
  ASSERT_TRUE(ReadFileBytes(install() + L"\\game.exe", &bytes));
  bytes[bytes.size() / 2] ^= 0x5A;
  ASSERT_TRUE(testing_support::WriteFileBytes(install() + L"\\game.exe", bytes));
  WIN32_FIND_DATAW found;
  HANDLE search = FindFirstFileW((install() + L"\\locale\\en\\*.txt").c_str(), &found);
  ASSERT_NE(INVALID_HANDLE_VALUE, search);
  FindClose(search);
  ASSERT_TRUE(DeleteFileW((install() + L"\\locale\\en\\" + found.cFileName).c_str()));

  ASSERT_TRUE(RunUpdate(5, true));
  int mismatches = 0;
  for (int event : log_.Events())
    mismatches += event == UpdateEventFileMismatch ? 1 : 0;
  EXPECT_EQ(0, mismatches) << "a full check reports nothing at start";
}
