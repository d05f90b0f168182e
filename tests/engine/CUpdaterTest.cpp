#include "engine/CUpdater.h"

#include <gtest/gtest.h>
#include <winsock2.h>

#include <atomic>
#include <cstring>
#include <memory>
#include <string>
#include <thread>

#include "engine/CCrc32Static.h"
#include "tests/engine/EngineTestSupport.h"
#include "tests/engine/SystemCallFaults.h"
#include "tests/support/TempFolder.h"
#include "tests/support/Timing.h"

using engine_testing::EventLog;
using engine_testing::MakeParams;
using engine_testing::MakeRecord;
using engine_testing::SystemCall;
using engine_testing::SystemCallFaults;
using engine_testing::Utf16Bytes;
using testing_support::FileExists;
using testing_support::FinishesWithin;
using testing_support::ReadFileBytes;
using testing_support::TempFolder;
using testing_support::WriteFileBytes;

namespace {

// Frees the object through the export's body when the test ends.
struct UpdaterDeleter {
  void operator()(CUpdater* updater) const { CUpdater::Remove(updater); }
};
using UpdaterPtr = std::unique_ptr<CUpdater, UpdaterDeleter>;

UpdaterPtr Create(const UpdaterParams& params) {
  return UpdaterPtr(CUpdater::Create(&params));
}

void WriteVersionIni(const std::wstring& root, int current, int separate, int updater) {
  std::wstring text = L"[UpdInfo]\r\nCurrentVersion=" + std::to_wstring(current) + L"\r\nSeparateStatus=" +
                      std::to_wstring(separate) + L"\r\nUpdaterVersion=" + std::to_wstring(updater) + L"\r\n";
  ASSERT_TRUE(WriteFileBytes(root + L"\\versionInfo_GAME.ini", std::string(text.begin(), text.end())));
}

std::string FileListBytes(const std::wstring& root) {
  std::string bytes;
  ReadFileBytes(root + L"\\fileListInfo_GAME.dat", &bytes);
  return bytes;
}

uint32_t CrcOf(const std::wstring& path) {
  uint32_t crc = 0;
  CCrc32Static::FileCrc32(crc, path.c_str());
  return crc;
}

// Runs `action` on another thread and reports whether it ended within `timeout_ms`, so that a hang fails the
// test instead of stopping the run. The thread is left behind when it hangs.

// An engine whose worker does nothing but wait for its stop event, for the tests of pausing and removal.
class WaitingWorkerUpdater : public CUpdater {
 public:
  explicit WaitingWorkerUpdater(std::shared_ptr<std::atomic<int>> progress)
      : progress_(std::move(progress)) {}
  bool Setup(const UpdaterParams& params) { return Initialize(params); }
  using CUpdater::StartWorker;

 protected:
  void Run() override {
    *progress_ = 1;
    WaitForSingleObject(stop_event(), INFINITE);
    *progress_ = 2;
  }

 private:
  std::shared_ptr<std::atomic<int>> progress_;
};

// An engine whose worker first holds the engine lock until the test lets it go, then runs the real worker
// over an empty queue: a pause that comes while the lock is held must not keep it held.
class LockHoldingWorkerUpdater : public CUpdater {
 public:
  bool Setup(const UpdaterParams& params) { return Initialize(params); }
  using CUpdater::StartWorker;

  UniqueHandle holding{CreateEventW(nullptr, TRUE, FALSE, nullptr)};
  UniqueHandle release{CreateEventW(nullptr, TRUE, FALSE, nullptr)};

 protected:
  void Run() override {
    {
      std::lock_guard<CriticalSection> hold(engine_lock());
      SetEvent(holding.get());
      WaitForSingleObject(release.get(), 10000);
    }
    CUpdater::Run();
  }
};

bool WaitFor(const std::atomic<int>& value, int wanted) {
  for (int i = 0; i < 500 && value != wanted; ++i)
    Sleep(10);
  return value == wanted;
}

class CUpdaterTest : public testing::Test {
 protected:
  static void SetUpTestSuite() {
    // The library's entry starts Windows Sockets in the real deliverable; here the test does.
    WSADATA data;
    WSAStartup(MAKEWORD(2, 2), &data);
  }
  static void TearDownTestSuite() { WSACleanup(); }

  TempFolder root_;
  EventLog log_;
};

}  // namespace

TEST_F(CUpdaterTest, CreateRefusesNullParametersAndReadsTheVersionIni) {
  EXPECT_EQ(nullptr, CUpdater::Create(nullptr));

  UpdaterPtr fresh = Create(MakeParams(root_.path(), &log_));
  ASSERT_TRUE(fresh);
  EXPECT_EQ(0, fresh->current_version());
  EXPECT_EQ(0, fresh->separate_status());
  EXPECT_EQ(0, fresh->updater_version());
  EXPECT_EQ(root_.Join(L"versionInfo_GAME.ini"), fresh->version_info_path());
  EXPECT_EQ(root_.Join(L"fileListInfo_GAME.dat"), fresh->file_list_path());

  WriteVersionIni(root_.path(), 42, 1, 3);
  UpdaterPtr known = Create(MakeParams(root_.path(), &log_));
  ASSERT_TRUE(known);
  EXPECT_EQ(42, known->current_version());
  EXPECT_EQ(1, known->separate_status());
  EXPECT_EQ(3, known->updater_version());
  EXPECT_TRUE(log_.Events().empty());
}

TEST_F(CUpdaterTest, OverLongTextsAreCutToTheirFieldsAndTerminated) {
  UpdaterParams params = MakeParams(root_.path(), &log_);
  std::fill(std::begin(params.productCode), std::end(params.productCode), L'P');
  std::fill(std::begin(params.programFileName), std::end(params.programFileName), L'E');
  std::memset(params.patchServerIp, '1', sizeof(params.patchServerIp));
  std::memset(params.downloadHost, 'd', sizeof(params.downloadHost));
  std::memset(params.patchServerHost, 'h', sizeof(params.patchServerHost));
  UpdaterPtr updater = Create(params);
  ASSERT_TRUE(updater);
  EXPECT_EQ(std::wstring(63, L'P'), updater->product_code());
  EXPECT_EQ(std::wstring(63, L'E'), updater->program_file_name());
  EXPECT_EQ(std::string(15, '1'), updater->patch_server_ip());
  EXPECT_EQ(std::string(99, 'd'), updater->download_host());
  EXPECT_EQ(std::wstring(99, L'd'), updater->download_host_wide());
  EXPECT_EQ(std::string(99, 'h'), updater->patch_server_host());
}

TEST_F(CUpdaterTest, InstallRootsThatCannotBeUsedWholeAreRefused) {
  UpdaterParams params = MakeParams(L"", &log_);
  EXPECT_EQ(nullptr, CUpdater::Create(&params)) << "empty root";

  std::fill(std::begin(params.installRoot), std::end(params.installRoot), L'r');
  EXPECT_EQ(nullptr, CUpdater::Create(&params)) << "unterminated root";

  params = MakeParams(L"C:\\" + std::wstring(253, L'r'), &log_);
  EXPECT_EQ(nullptr, CUpdater::Create(&params)) << "256 characters would be cut to another folder";

  params = MakeParams(L"C:\\" + std::wstring(200, L'r'), &log_);
  std::fill(std::begin(params.productCode), std::end(params.productCode) - 1, L'P');
  EXPECT_EQ(nullptr, CUpdater::Create(&params)) << "the engine's file paths would not fit";
}

TEST_F(CUpdaterTest, StartOnAMissingFolderMakesItAndAnEmptyHiddenList) {
  std::wstring install = root_.Join(L"games\\new game");
  UpdaterPtr updater = Create(MakeParams(install, &log_));
  ASSERT_TRUE(updater);
  EXPECT_EQ(UpdaterResultOk, CUpdater::StartUpdater(updater.get()));
  DWORD attributes = GetFileAttributesW((install + L"\\fileListInfo_GAME.dat").c_str());
  ASSERT_NE(INVALID_FILE_ATTRIBUTES, attributes);
  EXPECT_NE(0u, attributes & FILE_ATTRIBUTE_HIDDEN);
  EXPECT_FALSE(updater->full_check());
  EXPECT_EQ(UpdaterResultOk, CUpdater::StopUpdater(updater.get()));
  EXPECT_TRUE(updater->finished());
  EXPECT_TRUE(log_.Events().empty()) << "port 0: no connection, no event";
}

TEST_F(CUpdaterTest, StartVerifiesListedFilesAndReportsMissingEmptyAndChangedOnes) {
  ASSERT_TRUE(WriteFileBytes(root_.Join(L"good.dat"), "0123456789"));
  ASSERT_TRUE(WriteFileBytes(root_.Join(L"sub\\deep.dat"), "abc"));
  ASSERT_TRUE(WriteFileBytes(root_.Join(L"zero.dat"), ""));
  ASSERT_TRUE(WriteFileBytes(root_.Join(L"changed.dat"), "12345"));
  ASSERT_TRUE(SetFileAttributesW(root_.Join(L"good.dat").c_str(), FILE_ATTRIBUTE_READONLY));
  ASSERT_TRUE(
      WriteFileBytes(root_.Join(L"fileListInfo_GAME.dat"),
                     Utf16Bytes(L"good.dat:1:2:10:111\r\nsub\\deep.dat:1:2:3:222\r\nzero.dat:1:2:0:333\r\n"
                                L"changed.dat:1:2:9:444\r\nmissing.dat:1:2:7:555\r\n")));
  WriteVersionIni(root_.path(), 42, 0, 0);

  UpdaterPtr updater = Create(MakeParams(root_.path(), &log_));
  ASSERT_TRUE(updater);
  ASSERT_EQ(42, updater->current_version());
  EXPECT_EQ(UpdaterResultOk, CUpdater::StartUpdater(updater.get()));

  std::vector<FileRecord> reported = log_.Mismatches();
  ASSERT_EQ(3u, reported.size());
  EXPECT_STREQ(L"changed.dat", reported[0].name);
  EXPECT_EQ(9, reported[0].size) << "the record as it was before the check";
  EXPECT_EQ(444u, reported[0].crc32);
  EXPECT_STREQ(L"missing.dat", reported[1].name);
  EXPECT_STREQ(L"zero.dat", reported[2].name);
  EXPECT_EQ(std::vector<int>(3, UpdateEventFileMismatch), log_.Events());

  EXPECT_EQ(0, updater->current_version());
  EXPECT_TRUE(updater->full_check()) << "a changed list makes the run a full check";
  EXPECT_EQ(0u, GetFileAttributesW(root_.Join(L"good.dat").c_str()) & FILE_ATTRIBUTE_READONLY);

  CUpdater::StopUpdater(updater.get());
  EXPECT_EQ(Utf16Bytes(L"changed.dat:1:2:5:0\r\ngood.dat:1:2:10:111\r\nmissing.dat:1:2:0:0\r\n"
                       L"sub\\deep.dat:1:2:3:222\r\nzero.dat:1:2:0:0\r\n"),
            FileListBytes(root_.path()));
}

TEST_F(CUpdaterTest, FullCheckResetsChangedRecordsWithoutReportingThem) {
  ASSERT_TRUE(WriteFileBytes(root_.Join(L"fileListInfo_GAME.dat"), Utf16Bytes(L"missing.dat:1:2:7:555\r\n")));
  WriteVersionIni(root_.path(), 42, 0, 0);
  UpdaterPtr updater = Create(MakeParams(root_.path(), &log_));
  ASSERT_TRUE(updater);
  EXPECT_EQ(UpdaterResultOk, CUpdater::FullCheck(updater.get()));
  EXPECT_TRUE(log_.Events().empty());
  EXPECT_EQ(0, updater->current_version());
  const FileRecord* record = updater->file_list().Find(L"missing.dat");
  ASSERT_NE(nullptr, record);
  EXPECT_EQ(0u, record->crc32);
  EXPECT_EQ(0, record->size);
}

TEST_F(CUpdaterTest, AFileThatCannotBeReadAsAListTurnsTheStartIntoAFullCheck) {
  ASSERT_TRUE(WriteFileBytes(root_.Join(L"good.dat"), "0123456789"));
  const std::string good_line = Utf16Bytes(L"good.dat:1:2:10:111\r\n");
  struct Case {
    const char* what;
    std::string list;
    bool read_fails;
  } cases[] = {
      {"read failure", good_line, true},
      {"only malformed lines", Utf16Bytes(L"missing.dat:1:2\r\n..\\out.dat:1:2:3:4\r\n"), false},
      {"not a list", std::string("\x89PNG\r\n\x1A\n\0\0\0\rIHDR", 16), false},
  };
  for (const Case& c : cases) {
    log_.Clear();
    ASSERT_TRUE(WriteFileBytes(root_.Join(L"fileListInfo_GAME.dat"), c.list));
    WriteVersionIni(root_.path(), 42, 0, 0);
    UpdaterPtr updater = Create(MakeParams(root_.path(), &log_));
    ASSERT_TRUE(updater);
    SystemCallFaults faults;
    if (c.read_fails)
      faults.FailCall(SystemCall::kRead, 1);
    EXPECT_EQ(UpdaterResultOk, CUpdater::StartUpdater(updater.get())) << c.what;
    EXPECT_EQ(c.read_fails, faults.Failed()) << c.what;
    EXPECT_TRUE(updater->full_check()) << c.what;
    EXPECT_EQ(0u, updater->file_list().RecordCount()) << c.what;
    EXPECT_TRUE(log_.Events().empty()) << c.what << ": nothing is reported as changed";
  }
}

TEST_F(CUpdaterTest, AListWithMalformedLinesDropsThemAndChecksTheRest) {
  ASSERT_TRUE(WriteFileBytes(root_.Join(L"good.dat"), "0123456789"));
  ASSERT_TRUE(WriteFileBytes(root_.Join(L"changed.dat"), "12345"));
  ASSERT_TRUE(WriteFileBytes(root_.Join(L"fileListInfo_GAME.dat"),
                             Utf16Bytes(L"good.dat:1:2:10:111\r\ncut.dat:1:2\r\nchanged.dat:1:2:9:444\r\n"
                                        L"..\\outside.dat:1:2:3:4\r\nbig.dat:1:2:9999999999:4\r\n")));
  WriteVersionIni(root_.path(), 42, 0, 0);
  UpdaterPtr updater = Create(MakeParams(root_.path(), &log_));
  ASSERT_TRUE(updater);
  EXPECT_EQ(UpdaterResultOk, CUpdater::StartUpdater(updater.get()));

  EXPECT_EQ(2u, updater->file_list().RecordCount()) << "the well-formed lines are loaded";
  std::vector<FileRecord> reported = log_.Mismatches();
  ASSERT_EQ(1u, reported.size()) << "the changed file is still reported";
  EXPECT_STREQ(L"changed.dat", reported[0].name);
  EXPECT_EQ(9, reported[0].size);
  EXPECT_TRUE(updater->full_check()) << "as for any list with a changed file";
  CUpdater::StopUpdater(updater.get());
  EXPECT_EQ(Utf16Bytes(L"changed.dat:1:2:5:0\r\ngood.dat:1:2:10:111\r\n"), FileListBytes(root_.path()))
      << "the malformed lines are gone from the list";
}

TEST_F(CUpdaterTest, AListWithMalformedLinesAndNoChangeIsNoFullCheck) {
  ASSERT_TRUE(WriteFileBytes(root_.Join(L"good.dat"), "0123456789"));
  ASSERT_TRUE(WriteFileBytes(root_.Join(L"fileListInfo_GAME.dat"),
                             Utf16Bytes(L"good.dat:1:2:10:111\r\nmissing.dat:1:2")));
  WriteVersionIni(root_.path(), 42, 0, 0);
  UpdaterPtr updater = Create(MakeParams(root_.path(), &log_));
  ASSERT_TRUE(updater);
  EXPECT_EQ(UpdaterResultOk, CUpdater::StartUpdater(updater.get()));
  EXPECT_FALSE(updater->full_check());
  EXPECT_EQ(42, updater->current_version());
  EXPECT_NE(nullptr, updater->file_list().Find(L"good.dat"));
  EXPECT_TRUE(log_.Events().empty());
}

TEST_F(CUpdaterTest, StartFailsWithoutEventWhenTheListCannotBeOpened) {
  ASSERT_TRUE(CreateDirectoryW(root_.Join(L"fileListInfo_GAME.dat").c_str(), nullptr));
  UpdaterPtr updater = Create(MakeParams(root_.path(), &log_));
  ASSERT_TRUE(updater);
  EXPECT_EQ(UpdaterResultStartFailed, CUpdater::StartUpdater(updater.get()));
  EXPECT_TRUE(log_.Events().empty());
}

TEST_F(CUpdaterTest, ShortIpTextMakesTheStartResolveTheHostName) {
  UpdaterParams params = MakeParams(root_.path(), &log_);
  std::strcpy(params.patchServerIp, "1.2.3");
  std::strcpy(params.patchServerHost, "localhost");
  UpdaterPtr resolved = Create(params);
  ASSERT_TRUE(resolved);
  EXPECT_EQ(UpdaterResultOk, CUpdater::StartUpdater(resolved.get()));
  EXPECT_STREQ("127.0.0.1", resolved->patch_server_ip());

  TempFolder other;
  params = MakeParams(other.path(), &log_);
  std::strcpy(params.patchServerIp, "10.1.2.3");
  std::strcpy(params.patchServerHost, "no-such-host.invalid");
  UpdaterPtr given = Create(params);
  ASSERT_TRUE(given);
  EXPECT_EQ(UpdaterResultOk, CUpdater::StartUpdater(given.get()));
  EXPECT_STREQ("10.1.2.3", given->patch_server_ip()) << "a full dotted IP is used as given";
}

TEST_F(CUpdaterTest, HostNameThatDoesNotResolveFailsTheStart) {
  UpdaterParams params = MakeParams(root_.path(), &log_);
  params.patchServerIp[0] = '\0';
  std::strcpy(params.patchServerHost, "no-such-host.invalid");
  UpdaterPtr updater = Create(params);
  ASSERT_TRUE(updater);
  EXPECT_EQ(UpdaterResultStartFailed, CUpdater::StartUpdater(updater.get()));
  EXPECT_TRUE(log_.Events().empty());
}

TEST_F(CUpdaterTest, SelfCheckComparesTheEngineFilesWithTheirRecords) {
  ASSERT_TRUE(WriteFileBytes(root_.Join(L"game.exe"), "program"));
  ASSERT_TRUE(WriteFileBytes(root_.Join(L"QVTesserel.dll"), "engine"));
  ASSERT_TRUE(WriteFileBytes(root_.Join(L"patchw32.dll"), "patcher"));
  auto list_line = [&](const wchar_t* name, size_t size) {
    return std::wstring(name) + L":1:1:" + std::to_wstring(size) + L":" +
           std::to_wstring(static_cast<int32_t>(CrcOf(root_.Join(name)))) + L"\r\n";
  };
  std::wstring all =
      list_line(L"game.exe", 7) + list_line(L"QVTesserel.dll", 6) + list_line(L"patchw32.dll", 7);
  struct Case {
    std::wstring list;
    int updater_version;
    int result;
    int updater_version_after;
    const char* what;
  } cases[] = {
      {all, 0, UpdaterResultStartFailed, 0, "no engine version"},
      {all, 3, UpdaterResultOk, 3, "every file matches"},
      {list_line(L"game.exe", 7), 3, UpdaterResultOk, 0, "a missing record passes"},
      {L"", 3, UpdaterResultOk, 0, "no program record passes"},
      {list_line(L"game.exe", 7) + list_line(L"QVTesserel.dll", 6) + L"patchw32.dll:1:1:7:12345\r\n", 3,
       UpdaterResultStartFailed, 0, "a file that differs fails"},
  };
  for (const Case& c : cases) {
    ASSERT_TRUE(WriteFileBytes(root_.Join(L"fileListInfo_GAME.dat"), Utf16Bytes(c.list)));
    WriteVersionIni(root_.path(), 1, 0, c.updater_version);
    UpdaterParams params = MakeParams(root_.path(), &log_);
    params.noSelfUpdate = 0;
    UpdaterPtr updater = Create(params);
    ASSERT_TRUE(updater);
    EXPECT_EQ(c.result, CUpdater::StartUpdater(updater.get())) << c.what;
    EXPECT_EQ(c.updater_version_after, updater->updater_version()) << c.what;
  }
}

TEST_F(CUpdaterTest, RecordedErrorIsReportedAndSuppressesTheVersionIniWrite) {
  UpdaterPtr clean = Create(MakeParams(root_.path(), &log_));
  ASSERT_TRUE(clean);
  clean->SaveVersionInfo();
  EXPECT_TRUE(FileExists(root_.Join(L"versionInfo_GAME.ini")));

  TempFolder other;
  UpdaterPtr failed = Create(MakeParams(other.path(), &log_));
  ASSERT_TRUE(failed);
  failed->ReportError(UpdateErrorDownload);
  EXPECT_EQ(UpdateErrorDownload, failed->last_error());
  EXPECT_EQ(std::vector<int32_t>{UpdateErrorDownload}, log_.Errors());
  failed->SaveVersionInfo();
  EXPECT_FALSE(FileExists(other.Join(L"versionInfo_GAME.ini")));
}

TEST_F(CUpdaterTest, NullHandlesGiveTheirResults) {
  EXPECT_EQ(UpdaterResultNullHandle, CUpdater::Remove(nullptr));
  EXPECT_EQ(UpdaterResultNullHandle, CUpdater::StartUpdater(nullptr));
  EXPECT_EQ(UpdaterResultNullHandle, CUpdater::FullCheck(nullptr));
  EXPECT_EQ(UpdaterResultNullHandle, CUpdater::StopUpdater(nullptr));
  EXPECT_EQ(UpdaterResultNullHandle, CUpdater::PauseUpdater(nullptr));
  EXPECT_EQ(UpdaterResultNullHandle, CUpdater::ResumeUpdater(nullptr));
  EXPECT_EQ(nullptr, CUpdater::DownloadInfo(nullptr));
}

TEST_F(CUpdaterTest, RemoveResumesAndStopsASuspendedWorker) {
  auto progress = std::make_shared<std::atomic<int>>(0);
  auto* updater = new WaitingWorkerUpdater(progress);
  ASSERT_TRUE(updater->Setup(MakeParams(root_.path(), &log_)));
  ASSERT_TRUE(updater->StartWorker());
  ASSERT_TRUE(WaitFor(*progress, 1));
  EXPECT_EQ(UpdaterResultOk, CUpdater::PauseUpdater(updater));
  EXPECT_TRUE(updater->IsSuspended());

  EXPECT_TRUE(FinishesWithin(10000, [updater] { EXPECT_EQ(UpdaterResultOk, CUpdater::Remove(updater)); }));
  EXPECT_EQ(2, *progress);
}

TEST_F(CUpdaterTest, APauseWhileTheWorkerHoldsTheEngineLockHoldsItOutsideTheLock) {
  for (bool resume : {false, true}) {
    log_.Clear();
    auto* updater = new LockHoldingWorkerUpdater();
    ASSERT_TRUE(updater->Setup(MakeParams(root_.path(), &log_)));
    ASSERT_TRUE(updater->StartWorker());
    ASSERT_EQ(WAIT_OBJECT_0, WaitForSingleObject(updater->holding.get(), 10000));
    EXPECT_EQ(UpdaterResultOk, CUpdater::PauseUpdater(updater));
    SetEvent(updater->release.get());
    EXPECT_FALSE(log_.WaitForEnd(300)) << "a paused worker does not go on with its run";
    if (resume) {
      EXPECT_EQ(UpdaterResultOk, CUpdater::ResumeUpdater(updater));
      EXPECT_TRUE(log_.WaitForEnd(10000)) << "resumed, it ends its run";
    }
    const bool prompt = FinishesWithin(1000, [updater] {
      CUpdater::StopUpdater(updater);
      CUpdater::Remove(updater);
    });
    EXPECT_TRUE(prompt) << (resume ? "resumed" : "paused");
    // A worker suspended inside the lock would hold the stop for ever: let it go so that the test ends.
    if (!prompt)
      CUpdater::ResumeUpdater(updater);
  }
}

TEST_F(CUpdaterTest, StopEndsAWorkerPausedMoreOftenThanResumed) {
  auto progress = std::make_shared<std::atomic<int>>(0);
  auto* updater = new WaitingWorkerUpdater(progress);
  ASSERT_TRUE(updater->Setup(MakeParams(root_.path(), &log_)));
  ASSERT_TRUE(updater->StartWorker());
  ASSERT_TRUE(WaitFor(*progress, 1));
  // Pauses and resumes in any order: the stop ends the worker whatever the pause state is.
  CUpdater::PauseUpdater(updater);
  CUpdater::PauseUpdater(updater);
  CUpdater::PauseUpdater(updater);
  CUpdater::ResumeUpdater(updater);

  EXPECT_TRUE(FinishesWithin(10000, [updater] { CUpdater::StopUpdater(updater); }));
  EXPECT_EQ(2, *progress);
  CUpdater::Remove(updater);
}
