// Whole updates as the launcher drives them: QVTesserel.dll loaded at run time, the patch-server fixture
// serving a generated version history (tools/make_history.py) and the HTTP fixture serving its files. Each
// run must leave the installation byte-identical with the generator's tree of that version.
#include <gtest/gtest.h>
#include <windows.h>

#include <algorithm>
#include <cstring>
#include <mutex>
#include <sstream>
#include <string>
#include <vector>

#include "engine/QVTesserel.h"
#include "tests/engine/EngineTestSupport.h"
#include "tests/engine/GeneratedHistory.h"
#include "tests/support/FixtureServer.h"
#include "tests/support/PatchServerProcess.h"
#include "tests/support/TempFolder.h"
#include "tests/support/Timing.h"
#include "tests/support/UnixCommand.h"
#include "tests/support/WinePaths.h"

using engine_testing::EventLog;
using engine_testing::GeneratedHistory;
using engine_testing::MakeParams;
using testing_support::FinishesWithin;
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
    stop = Bind<qvStopUpdaterFunction>("qvStopUpdater");
    full_check = Bind<qvFullCheckFunction>("qvFullCheck");
    download_info = Bind<qvDownloadInfoFunction>("qvDownloadInfo");
  }
  ~Exports() {
    if (module != nullptr)
      FreeLibrary(module);
  }
  Exports(const Exports&) = delete;
  Exports& operator=(const Exports&) = delete;
  bool Complete() const { return create && remove && start && stop && full_check && download_info; }

  template <typename Function>
  Function Bind(const char* name) {
    return module ? reinterpret_cast<Function>(reinterpret_cast<void (*)()>(GetProcAddress(module, name)))
                  : nullptr;
  }

  HMODULE module;
  qvCreateUpdaterFunction create;
  qvRemoveUpdaterFunction remove;
  qvStartUpdaterFunction start;
  qvStopUpdaterFunction stop;
  qvFullCheckFunction full_check;
  qvDownloadInfoFunction download_info;
};

// The file-progress events as a caller sees them: the event's percent with the status's byte counts read
// inside the callback, and when it came. Every event also goes to `log`.
struct FileProgressLog {
  struct Seen {
    DWORD tick;
    int32_t percent;
    int64_t done;
    int64_t total;
  };

  static int __cdecl Callback(void* user, int event, const void* data) {
    FileProgressLog* self = static_cast<FileProgressLog*>(user);
    const UpdateProgress* progress = static_cast<const UpdateProgress*>(data);
    if (event == UpdateEventProgress && progress != nullptr && progress->kind == UpdateProgressFile &&
        self->status != nullptr) {
      std::lock_guard<std::mutex> lock(self->mutex);
      self->seen.push_back(
          {GetTickCount(), progress->b, self->status->fileDoneBytes, self->status->fileTotalBytes});
    }
    return EventLog::Callback(self->log, event, data);
  }

  EventLog* log = nullptr;
  const UpdateStatus* status = nullptr;
  std::mutex mutex;
  std::vector<Seen> seen;
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
  // A generated version history served by both fixture servers.
  struct Servers {
    std::string history;
    PatchServerProcess patch;
    FixtureServer files;
  };

  // Serves the history of `versions` versions; `patch_script` and `file_script` (when not empty) are the
  // servers' fault scripts.
  static ::testing::AssertionResult Serve(int versions,
                                          Servers* servers,
                                          const std::string& patch_script = "",
                                          const std::string& file_script = "") {
    servers->history = GeneratedHistory(versions);
    if (servers->history.empty())
      return ::testing::AssertionFailure() << "no history";
    std::string description;
    if (!ReadFileBytes(testing_support::WindowsPathOf(servers->history + "/DEMO/history.json"), &description))
      return ::testing::AssertionFailure() << "no history.json in " << servers->history;
    if (!servers->patch.Start(patch_script, description))
      return ::testing::AssertionFailure() << "patch server: " << servers->patch.log();
    std::vector<std::string> arguments = {"--root", servers->history};
    if (!file_script.empty()) {
      if (!testing_support::WriteFileBytes(servers->files.folder().Join(L"script.json"), file_script))
        return ::testing::AssertionFailure() << "file server script";
      arguments.push_back("--script");
      arguments.push_back(servers->files.UnixPath(L"script.json"));
    }
    if (!servers->files.Start("http_server.py", arguments))
      return ::testing::AssertionFailure() << "file server: " << servers->files.log();
    return ::testing::AssertionSuccess();
  }

  // The parameters of product DEMO in install(), pointed at `servers`, with events into log_.
  UpdaterParams ParamsFor(const Servers& servers) {
    UpdaterParams params = MakeParams(install(), &log_);
    wcscpy(params.productCode, L"DEMO");
    std::strcpy(params.patchServerIp, servers.patch.address().c_str());
    params.patchServerPort = servers.patch.port();
    std::strcpy(params.downloadHost, servers.files.endpoint().c_str());
    return params;
  }

  // The installation equals the history's newest tree, and its versionInfo says so.
  ::testing::AssertionResult Installed(const Servers& servers, int versions) {
    const std::string differences = TreeDifferences(servers.history + "/DEMO/expected", install());
    if (!differences.empty())
      return ::testing::AssertionFailure() << differences;
    const int recorded = static_cast<int>(GetPrivateProfileIntW(
        L"UpdInfo", L"CurrentVersion", -1, (install() + L"\\versionInfo_DEMO.ini").c_str()));
    if (recorded != versions)
      return ::testing::AssertionFailure() << "versionInfo says " << recorded;
    return ::testing::AssertionSuccess();
  }

  // Runs one update (or full check) of the install folder through the exports, to its end.
  ::testing::AssertionResult RunUpdate(int versions, bool full_check) {
    Servers servers;
    ::testing::AssertionResult served = Serve(versions, &servers);
    if (!served)
      return served;
    log_.Clear();
    UpdaterParams params = ParamsFor(servers);
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
    return Installed(servers, versions);
  }

  // Waits until `event` has been logged.
  bool WaitForEvent(int event, unsigned timeout_ms = 30000) const {
    return testing_support::WaitUntil(timeout_ms, [&] {
      const std::vector<int> events = log_.Events();
      return std::find(events.begin(), events.end(), event) != events.end();
    });
  }

  std::wstring install() const { return folder_.Join(L"game"); }

  // The served path and size of every file of the history's whole-file store above `min_size` bytes.
  static std::vector<std::pair<std::string, int64_t>> LargeFiles(const std::string& history,
                                                                 int64_t min_size) {
    std::string output;
    testing_support::RunUnixCommand("cd " + testing_support::ShellQuote(history) +
                                        " && find DEMO/RegisteredHistory -type f -size +" +
                                        std::to_string(min_size / 1024) + "k -printf '%p %s\\n'",
                                    &output);
    std::vector<std::pair<std::string, int64_t>> files;
    std::istringstream lines(output);
    std::string path;
    int64_t size = 0;
    while (lines >> path >> size) {
      if (size > min_size)
        files.push_back({"/" + path, size});
    }
    return files;
  }

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

// Another program that calls the library may keep one handle for several runs.
TEST_F(LibraryUpdate, AFullCheckOnTheHandleOfAnEndedRunRepairsACorruptedFile) {
  ASSERT_TRUE(exports_.Complete());
  Servers servers;
  ASSERT_TRUE(Serve(3, &servers));
  UpdaterParams params = ParamsFor(servers);
  UpdaterHandle handle = exports_.create(&params);
  ASSERT_NE(nullptr, handle);
  ASSERT_EQ(UpdaterResultOk, exports_.start(handle));
  ASSERT_TRUE(log_.WaitForEnd(60000));
  std::string bytes;
  ASSERT_TRUE(ReadFileBytes(install() + L"\\game.exe", &bytes));
  bytes[bytes.size() / 2] ^= 0x5A;
  ASSERT_TRUE(testing_support::WriteFileBytes(install() + L"\\game.exe", bytes));

  log_.Clear();
  EXPECT_EQ(UpdaterResultOk, exports_.full_check(handle));
  const bool ended = log_.WaitForEnd(60000);
  exports_.remove(handle);
  ASSERT_TRUE(ended) << "the second run on the handle never ended";
  EXPECT_EQ(std::vector<int32_t>{}, log_.Errors());
  EXPECT_TRUE(Installed(servers, 3));
}

TEST_F(LibraryUpdate, AStopHoldsInEachRunOfOneHandleAndEachRunStartsFromTheRecordedVersion) {
  ASSERT_TRUE(exports_.Complete());
  Servers servers;
  // The first connection stalls in the list, the second is served whole; every file stalls after a byte.
  ASSERT_TRUE(Serve(3, &servers, "[{\"end\": {\"at\": \"chunk1\", \"how\": \"stall\"}}, {}]",
                    "{\"*\": {\"stall_after\": 1, \"stall_seconds\": 30}}"));
  UpdaterParams params = ParamsFor(servers);
  UpdaterHandle handle = exports_.create(&params);
  ASSERT_NE(nullptr, handle);
  ASSERT_EQ(UpdaterResultOk, exports_.start(handle));
  ASSERT_TRUE(servers.patch.WaitForLogLine(1, "end stall at chunk1"));
  EXPECT_TRUE(FinishesWithin(3000, [&] { exports_.stop(handle); })) << "stop during the list";

  // The stopped run took the server's version but installed nothing: the next run asks from version 0, so
  // the server sends the list again and the downloads begin.
  ASSERT_EQ(UpdaterResultOk, exports_.start(handle));
  const bool downloading = WaitForEvent(UpdateEventCurrentFile);
  EXPECT_TRUE(downloading) << "the second run never reached its downloads";
  EXPECT_TRUE(FinishesWithin(3000, [&] { exports_.stop(handle); })) << "stop during the downloads";
  const size_t events_at_stop = log_.Events().size();
  EXPECT_TRUE(FinishesWithin(3000, [&] { exports_.remove(handle); }));
  EXPECT_EQ(events_at_stop, log_.Events().size()) << "an event came after the stop";
  EXPECT_EQ(std::vector<int32_t>{}, log_.Errors());
}

TEST_F(LibraryUpdate, FileProgressCarriesTheBytesThatArrivedBeforeAServerPause) {
  // A large file whose server pauses half way: the caller's file bar must stand at the half during the pause,
  // so the last file-progress event before it must already count every byte that came.
  ASSERT_TRUE(exports_.Complete());
  // One version of two files of a few hundred KB: each arrives in many blocks.
  const std::string history = testing_support::UnixPathOf(folder_.Join(L"history"));
  std::string output;
  ASSERT_EQ(0, testing_support::RunUnixCommand(
                   std::string("python3 ") + ORVANE_SOURCE_DIR + "/tools/make_history.py --root " + history +
                       " --versions 1 --files 2 --min-size 300000 --max-size 400000",
                   &output))
      << output;
  std::string description;
  ASSERT_TRUE(ReadFileBytes(testing_support::WindowsPathOf(history + "/DEMO/history.json"), &description));
  const std::vector<std::pair<std::string, int64_t>> large = LargeFiles(history, 100000);
  ASSERT_FALSE(large.empty()) << "the history holds no large file";
  std::string script = "{";
  for (const auto& file : large) {
    script += (script.size() > 1 ? ", \"" : "\"") + file.first +
              "\": {\"stall_after\": " + std::to_string(file.second / 2) + ", \"stall_seconds\": 1.0}";
  }
  PatchServerProcess patch_server;
  FixtureServer file_server;
  ASSERT_TRUE(patch_server.Start("", description)) << patch_server.log();
  ASSERT_TRUE(testing_support::WriteFileBytes(file_server.folder().Join(L"script.json"), script + "}"));
  ASSERT_TRUE(file_server.Start("http_server.py",
                                {"--root", history, "--script", file_server.UnixPath(L"script.json")}))
      << file_server.log();

  FileProgressLog progress;
  progress.log = &log_;
  UpdaterParams params = MakeParams(install(), &log_);
  params.callback = &FileProgressLog::Callback;
  params.userValue = &progress;
  wcscpy(params.productCode, L"DEMO");
  std::strcpy(params.patchServerIp, patch_server.address().c_str());
  params.patchServerPort = patch_server.port();
  std::strcpy(params.downloadHost, file_server.endpoint().c_str());
  UpdaterHandle handle = exports_.create(&params);
  ASSERT_NE(nullptr, handle);
  progress.status = exports_.download_info(handle);
  ASSERT_EQ(UpdaterResultOk, exports_.start(handle));
  const bool ended = log_.WaitForEnd(60000);
  exports_.remove(handle);
  ASSERT_TRUE(ended);
  ASSERT_TRUE(log_.Errors().empty()) << log_.Errors().front();
  EXPECT_EQ("", TreeDifferences(history + "/DEMO/expected", install()));

  // The pauses are the silences between file-progress events; the event before each stands at the half of
  // one large file, in bytes and as its percent.
  std::vector<int64_t> paused_sizes;
  for (size_t i = 0; i + 1 < progress.seen.size(); ++i) {
    const FileProgressLog::Seen& seen = progress.seen[i];
    if (progress.seen[i + 1].tick - seen.tick < 700)
      continue;
    paused_sizes.push_back(seen.total);
    EXPECT_EQ(seen.total / 2, seen.done) << "of " << seen.total;
    EXPECT_EQ(seen.total != 0 ? seen.done * 100 / seen.total : -1, seen.percent) << "of " << seen.total;
  }
  std::vector<int64_t> large_sizes;
  for (const auto& file : large)
    large_sizes.push_back(file.second);
  std::sort(paused_sizes.begin(), paused_sizes.end());
  std::sort(large_sizes.begin(), large_sizes.end());
  EXPECT_EQ(large_sizes, paused_sizes);
}
