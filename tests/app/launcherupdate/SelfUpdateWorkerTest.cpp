// The self-update worker against the HTTP fixture: every failure leaves the real launcher folder as it was
// (or, once the files are in place, only the version unwritten), and a later run completes.
#include <windows.h>

#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "app/games/CatalogueDownload.h"
#include "app/launcherupdate/SelfUpdateWorker.h"
#include "app/session/SessionValues.h"
#include "base/ScopedHandle.h"
#include "selfupdate/LauncherInfo.h"
#include "selfupdate/SelfUpdateFileOps.h"
#include "tests/app/launcherupdate/SelfUpdateTestSupport.h"
#include "tests/support/TempFolder.h"
#include "tests/support/WinePaths.h"

namespace {

using selfupdate_testing::FileTree;
using selfupdate_testing::LauncherInstallation;
using testing_support::FileExists;

// A file-operation table that counts every call and fails the one numbered `g_fail_at` (1-based, 0: none), as
// a transient fault would; `g_moves` records where the renames went.
int g_calls = 0;
int g_fail_at = 0;
std::vector<std::wstring> g_moves;

bool FailNow() {
  if (++g_calls != g_fail_at)
    return false;
  SetLastError(ERROR_WRITE_FAULT);
  return true;
}

HANDLE CountedCreate(const wchar_t* path) {
  return FailNow() ? INVALID_HANDLE_VALUE : RealSelfUpdateFileOps().create_package(path);
}
BOOL CountedWrite(HANDLE file, const void* data, DWORD bytes, DWORD* written) {
  return FailNow() ? FALSE : RealSelfUpdateFileOps().write_file(file, data, bytes, written);
}
BOOL CountedMakeFolder(const wchar_t* path) {
  return FailNow() ? FALSE : RealSelfUpdateFileOps().create_directory(path);
}
BOOL CountedCopy(const wchar_t* from, const wchar_t* to) {
  return FailNow() ? FALSE : RealSelfUpdateFileOps().copy_file(from, to);
}
BOOL CountedMove(const wchar_t* from, const wchar_t* to) {
  if (FailNow())
    return FALSE;
  g_moves.push_back(to);
  return RealSelfUpdateFileOps().move_replacing(from, to);
}
BOOL CountedDelete(const wchar_t* path) {
  return FailNow() ? FALSE : RealSelfUpdateFileOps().delete_file(path);
}
BOOL CountedAttributes(const wchar_t* path, DWORD attributes) {
  return FailNow() ? FALSE : RealSelfUpdateFileOps().set_attributes(path, attributes);
}
BOOL CountedRemoveFolder(const wchar_t* path) {
  return FailNow() ? FALSE : RealSelfUpdateFileOps().remove_directory(path);
}
int CountedExtract(const wchar_t* cabinet, const wchar_t* folder) {
  return FailNow() ? 108 : RealSelfUpdateFileOps().extract_cabinet(cabinet, folder);
}
int CountedVersion(unsigned version) {
  return FailNow() ? 0 : RealSelfUpdateFileOps().write_version(version);
}

const SelfUpdateFileOps kCountedOps = {
    &CountedCreate, &CountedWrite,      &CountedMakeFolder,   &CountedCopy,    &CountedMove,
    &CountedDelete, &CountedAttributes, &CountedRemoveFolder, &CountedExtract, &CountedVersion};

// Stands for the launcher that is just ending: it lets go of its file a moment later.
DWORD WINAPI CloseAfterAMoment(void* handle) {
  Sleep(300);
  CloseHandle(static_cast<HANDLE>(handle));
  return 0;
}

class SelfUpdateWorkerTest : public ::testing::Test {
 protected:
  void SetUp() override {
    if (!testing_support::RunningUnderWine())
      GTEST_SKIP() << "makes cabinets with Unix tools";
    ASSERT_TRUE(launcher_.StartServer()) << launcher_.server().log();
    launcher_.Reset();
    old_ = launcher_.RealFiles();
    new_ = old_;
    for (const auto& file : LauncherInstallation::NewFiles())
      new_[file.first] = file.second;
    package_ = LauncherInstallation::NewFiles();
    package_[launcher_.program_name()] = "new program";
    new_[launcher_.program_name()] = "new program";
    ASSERT_TRUE(launcher_.MakePackage(package_));
    g_calls = 0;
    g_fail_at = 0;
    g_moves.clear();
    SetSelfUpdateFileOps(&kCountedOps);
  }
  void TearDown() override { SetSelfUpdateFileOps(nullptr); }

  static SelfUpdateJob::Options ShortOptions(DWORD busy_retry_ms = 300) {
    SelfUpdateJob::Options options;
    options.stall_limit_ms = 1000;
    options.busy_retry_ms = busy_retry_ms;
    return options;
  }
  int Run(DWORD busy_retry_ms = 300) { return Run(ShortOptions(busy_retry_ms)); }
  int Run(const SelfUpdateJob::Options& options) {
    SelfUpdateJob job(options);
    return job.RunSelfUpdate();
  }
  // Every file of the real folder is the old or the new one, whole.
  void ExpectEachFileWhole(const char* when) {
    for (const auto& file : launcher_.RealFiles()) {
      const auto old_file = old_.find(file.first);
      const auto new_file = new_.find(file.first);
      const bool is_old = old_file != old_.end() && old_file->second == file.second;
      const bool is_new = new_file != new_.end() && new_file->second == file.second;
      EXPECT_TRUE(is_old || is_new) << when << ": " << testing_support::WideToUtf8(file.first);
    }
    EXPECT_TRUE(FileExists(launcher_.real() + L"\\" + launcher_.program_name())) << when;
  }
  void ExpectUpdated() {
    EXPECT_EQ(new_, launcher_.RealFiles());
    EXPECT_EQ(static_cast<unsigned>(LauncherInstallation::kNewVersion), ReadLauncherInfoVersion());
    EXPECT_FALSE(FileExists(launcher_.temp() + L"\\game.2.cab"));
    EXPECT_FALSE(FileExists(launcher_.temp() + L"\\staging"));
    EXPECT_FALSE(FileExists(launcher_.temp() + L"\\replaced"));
  }
  void ExpectUntouched(const char* when) {
    EXPECT_EQ(old_, launcher_.RealFiles()) << when;
    EXPECT_EQ(static_cast<unsigned>(LauncherInstallation::kOldVersion), ReadLauncherInfoVersion()) << when;
  }

  // The request log's line for the launcher information.
  static std::string InfoRequest() {
    return std::string("GET\t") + LauncherInstallation::kInfoPath + "\t-\n";
  }

  LauncherInstallation launcher_;
  FileTree old_, new_, package_;
};

TEST_F(SelfUpdateWorkerTest, ReplacesEveryFileThenRecordsTheVersion) {
  EXPECT_EQ(kSelfUpdateDone, Run());
  ExpectUpdated();
  // The program is the last file replaced; only the version record's own rename comes after it.
  ASSERT_GE(g_moves.size(), 2u);
  EXPECT_EQ(launcher_.real() + L"\\" + launcher_.program_name(), g_moves[g_moves.size() - 2]);
  EXPECT_EQ(launcher_.real() + L"\\ZEPHLauncherInfo.ini", g_moves.back());
}

TEST_F(SelfUpdateWorkerTest, WithoutAnAnnouncedVersionAsksForNothing) {
  launcher_.AnnounceVersion(0);
  EXPECT_EQ(kSelfUpdateNoPackage, Run());
  EXPECT_EQ(InfoRequest(), launcher_.Requests()) << "no package asked for";
  GetSessionValues().GameID[0] = 0;
  launcher_.AnnounceVersion(2);
  EXPECT_EQ(kSelfUpdateNoPackage, Run());
  EXPECT_EQ(InfoRequest(), launcher_.Requests()) << "without a game id nothing is asked for";
  ExpectUntouched("no version");
}

// The session's version may be stale (the copy knows only its command line): the worker installs, and
// records, the version that the launcher information announces, and leaves the session to its owner.
TEST_F(SelfUpdateWorkerTest, TheVersionToInstallComesFromTheLauncherInformation) {
  SetGameVersion(5);
  SelfUpdateJob job(ShortOptions());
  int32_t version = -1;
  EXPECT_FALSE(job.AnnouncedVersion(&version));
  EXPECT_EQ(kSelfUpdateDone, job.RunSelfUpdate());
  ExpectUpdated();
  EXPECT_TRUE(job.AnnouncedVersion(&version));
  EXPECT_EQ(LauncherInstallation::kNewVersion, version);
  EXPECT_EQ(5, GetSessionValues().GameVersion);
  EXPECT_EQ(InfoRequest() + "GET\t/system/game.2.cab\t-\n", launcher_.Requests());
}

TEST_F(SelfUpdateWorkerTest, LauncherInformationThatCannotBeHadGivesTwoWithoutAPackage) {
  SetInfoFileFirstAnswerLimit(1000);
  struct Case {
    const char* name;
    std::string rule;
  } cases[] = {
      {"404", R"({"status": 404})"},
      {"no version in it", R"({"body": "0\r\nlauncher#2,0\r\n"})"},
      {"silent", R"({"delay_before": 60})"},
  };
  for (const Case& c : cases) {
    launcher_.Script("{}", c.rule);
    SelfUpdateJob job(ShortOptions());
    const DWORD start = GetTickCount();
    EXPECT_EQ(kSelfUpdateNoPackage, job.RunSelfUpdate()) << c.name;
    EXPECT_LT(GetTickCount() - start, 4000u) << c.name;
    int32_t version = 0;
    EXPECT_FALSE(job.AnnouncedVersion(&version)) << c.name;
    ExpectUntouched(c.name);
  }
  SetInfoFileFirstAnswerLimit(0);
  EXPECT_EQ(std::string::npos, launcher_.Requests().find("game.2.cab"));
}

TEST_F(SelfUpdateWorkerTest, AStopWhileTheLauncherInformationIsAwaitedEndsAtOnce) {
  launcher_.Script("{}", R"({"delay_before": 60})");
  SelfUpdateJob job(ShortOptions());
  ASSERT_TRUE(job.Start());
  for (DWORD start = GetTickCount(); GetTickCount() - start < 10000 && launcher_.Requests().empty();
       Sleep(10)) {
  }
  ASSERT_EQ(InfoRequest(), launcher_.Requests());
  EXPECT_EQ(kSelfUpdateRunning, job.status());
  const DWORD stopped = GetTickCount();
  job.RequestStop();
  job.Join();
  EXPECT_LT(GetTickCount() - stopped, 2000u);
  EXPECT_EQ(kSelfUpdateAborted, job.result());
  EXPECT_EQ(InfoRequest(), launcher_.Requests()) << "no package asked for";
  ExpectUntouched("stopped");
}

TEST_F(SelfUpdateWorkerTest, AFailedDownloadChangesNothing) {
  struct Case {
    const char* name;
    std::string rule;
  } cases[] = {
      {"404", R"({"status": 404})"},
      {"stalled", R"({"stall_after": 1000, "stall_seconds": 5})"},
      {"cut", R"({"close_after": 1000})"},
      {"short", R"({"content_length": 999999})"},
  };
  for (const Case& c : cases) {
    launcher_.Script(c.rule);
    EXPECT_EQ(kSelfUpdateDownloadFailed, Run()) << c.name;
    ExpectUntouched(c.name);
  }
  // Refused: nothing listens on port 1 of the fixture's address (the launcher information comes from the
  // fixture, so the package is sent there).
  launcher_.Script(R"({"redirect": "http://)" + launcher_.server().address() + R"(:1/system/game.2.cab"})");
  EXPECT_EQ(kSelfUpdateDownloadFailed, Run());
  ExpectUntouched("refused");
}

// A server that takes the request and says nothing ends at the first-answer limit, one that trickles a byte
// every half second (never silent for the stall limit) at the speed floor; the dialog is not held.
TEST_F(SelfUpdateWorkerTest, ASilentOrTricklingPackageServerFailsWithinItsLimits) {
  struct Case {
    const char* name;
    std::string rule;
    DWORD first_answer_limit_ms;
    long speed_floor_window_seconds;
    DWORD limit_ms;
  } cases[] = {
      {"silent", R"({"delay_before": 60})", 1000, HttpFileDownloader::kSpeedFloorWindowSeconds, 1000},
      {"trickling", R"({"trickle_bytes": 1, "trickle_seconds": 0.5})", 1000, 2, 2000},
  };
  for (const Case& c : cases) {
    launcher_.Script(c.rule);
    SelfUpdateJob::Options options = ShortOptions();
    options.first_answer_limit_ms = c.first_answer_limit_ms;
    options.speed_floor_window_seconds = c.speed_floor_window_seconds;
    const DWORD start = GetTickCount();
    EXPECT_EQ(kSelfUpdateDownloadFailed, Run(options)) << c.name;
    EXPECT_LT(GetTickCount() - start, c.limit_ms + 3000) << c.name;
    ExpectUntouched(c.name);
  }
}

TEST_F(SelfUpdateWorkerTest, APackageThatCannotBeWrittenGivesFour) {
  g_fail_at = 2;  // the first write into the package file
  EXPECT_EQ(kSelfUpdateWriteFailed, Run());
  ExpectUntouched("write");
}

TEST_F(SelfUpdateWorkerTest, ADamagedCabinetIsRefusedWholeAndRemoved) {
  std::string compressed;
  ASSERT_TRUE(testing_support::ReadFileBytes(launcher_.PackagePath(), &compressed));
  struct Case {
    const char* name;
    std::vector<std::pair<std::string, std::string>> entries;
    std::string extra;
    bool corrupt_block;
  } cases[] = {
      {"not a cabinet", {}, "", false},
      {"truncated", {{"a.dll", std::string(100000, 'n')}, {"b.txt", "b"}}, "--truncate 60000", false},
      {"traversal", {{"a.dll", "new"}, {"..\\evil.txt", "evil"}}, "", false},
      {"two folders", {{"a.dll", "new"}, {"b.txt", "b"}}, "--folder-per-entry", false},
      {"corrupted block", {}, "", true},
  };
  for (const Case& c : cases) {
    if (c.corrupt_block) {
      std::string damaged = compressed;
      for (size_t i = damaged.size() / 2; i < damaged.size() / 2 + 64; ++i)
        damaged[i] = static_cast<char>(damaged[i] ^ 0x5A);
      ASSERT_TRUE(testing_support::WriteFileBytes(launcher_.PackagePath(), damaged));
    } else if (c.entries.empty()) {
      ASSERT_TRUE(testing_support::WriteFileBytes(launcher_.PackagePath(), "only text, no cabinet"));
    } else {
      ASSERT_TRUE(launcher_.MakeRawPackage(c.entries, c.extra)) << c.name;
    }
    EXPECT_EQ(kSelfUpdateUnpackFailed, Run()) << c.name;
    ExpectUntouched(c.name);
    EXPECT_FALSE(FileExists(launcher_.temp() + L"\\game.2.cab")) << c.name;
    EXPECT_FALSE(FileExists(launcher_.real() + L"\\..\\evil.txt")) << c.name;
  }
}

// A read-only ini, or one that another process holds open without sharing for the whole update.
TEST_F(SelfUpdateWorkerTest, AnIniThatCannotBeWrittenGivesSevenAndTheUpdateIsDoneAgainLater) {
  for (bool read_only : {true, false}) {
    launcher_.Reset();
    UniqueHandle held;
    if (read_only)
      ASSERT_TRUE(SetFileAttributesW(launcher_.ini().c_str(), FILE_ATTRIBUTE_READONLY));
    else
      held.reset(CreateFileW(launcher_.ini().c_str(), GENERIC_READ, 0, nullptr, OPEN_EXISTING, 0, nullptr));
    ASSERT_TRUE(read_only || held);
    EXPECT_EQ(kSelfUpdateVersionNotWritten, Run()) << read_only;
    held.reset();
    SetFileAttributesW(launcher_.ini().c_str(), FILE_ATTRIBUTE_NORMAL);
    EXPECT_EQ(new_, launcher_.RealFiles()) << read_only;
    EXPECT_EQ(static_cast<unsigned>(LauncherInstallation::kOldVersion), ReadLauncherInfoVersion())
        << read_only;
    EXPECT_EQ(kSelfUpdateDone, Run()) << read_only;
    ExpectUpdated();
  }
}

TEST_F(SelfUpdateWorkerTest, ATargetHeldOpenIsWaitedForThenPutBack) {
  const std::wstring held = launcher_.real() + L"\\a.dll";
  HANDLE file = CreateFileW(held.c_str(), GENERIC_READ, 0, nullptr, OPEN_EXISTING, 0, nullptr);
  ASSERT_NE(INVALID_HANDLE_VALUE, file);
  EXPECT_EQ(kSelfUpdateUnpackFailed, Run(300));
  CloseHandle(file);
  ExpectUntouched("held for ever");

  // Held for a moment only, as by the launcher that is just ending.
  file = CreateFileW(held.c_str(), GENERIC_READ, 0, nullptr, OPEN_EXISTING, 0, nullptr);
  ASSERT_NE(INVALID_HANDLE_VALUE, file);
  HANDLE releaser = CreateThread(nullptr, 0, &CloseAfterAMoment, file, 0, nullptr);
  EXPECT_EQ(kSelfUpdateDone, Run(10000));
  WaitForSingleObject(releaser, 10000);
  CloseHandle(releaser);
  ExpectUpdated();
}

TEST_F(SelfUpdateWorkerTest, EveryFileOperationFailingInTurnLeavesWholeFilesAndTheNextRunCompletes) {
  ASSERT_EQ(kSelfUpdateDone, Run());
  const int operations = g_calls;
  ASSERT_GT(operations, 10);
  int failures = 0;
  for (int fail_at = 1; fail_at <= operations; ++fail_at) {
    launcher_.Reset();
    g_calls = 0;
    g_fail_at = fail_at;
    const int state = Run();
    const std::string when = "operation " + std::to_string(fail_at) + " state " + std::to_string(state);
    ExpectEachFileWhole(when.c_str());
    if (state != kSelfUpdateDone) {
      ++failures;
      if (state != kSelfUpdateVersionNotWritten)
        ExpectUntouched(when.c_str());
    }
    g_fail_at = 0;
    EXPECT_EQ(kSelfUpdateDone, Run()) << when;
    ExpectUpdated();
  }
  // Clean-up calls may fail without harm; every other one is a failure of the update.
  EXPECT_GT(failures, operations / 2);
  std::printf("file operations in one update: %d, of which failing ends the update: %d\n", operations,
              failures);
}

TEST_F(SelfUpdateWorkerTest, AStopBeforeAnythingIsReplacedGivesOne) {
  launcher_.Script(R"({"stall_after": 1000, "stall_seconds": 20})");
  SelfUpdateJob::Options options;
  options.stall_limit_ms = 60000;
  SelfUpdateJob job(options);
  ASSERT_TRUE(job.Start());
  DownloaderProgress progress = {};
  for (DWORD start = GetTickCount(); GetTickCount() - start < 20000; Sleep(10)) {
    job.GetProgress(&progress);
    if (progress.state == kDownloaderTransferring && progress.done > 0)
      break;
  }
  ASSERT_EQ(kDownloaderTransferring, progress.state);
  EXPECT_EQ(L"game.2.cab", job.ShownName());
  job.RequestStop();
  job.Join();
  EXPECT_EQ(kSelfUpdateFinished, job.status());
  EXPECT_EQ(kSelfUpdateAborted, job.result());
  ExpectUntouched("stopped");
}

TEST(SelfUpdatePackageUrl, NamesTheGameAndVersion) {
  EXPECT_EQ(L"http://h:81/p/system/g1.7.cab", SelfUpdatePackageUrl(L"h:81/p", L"g1", 7));
  EXPECT_EQ(L"", SelfUpdatePackageUrl(L"h", L"g1", 0));
  EXPECT_EQ(L"", SelfUpdatePackageUrl(L"", L"g1", 7));
  EXPECT_EQ(L"", SelfUpdatePackageUrl(L"h", L"", 7));
}

}  // namespace
