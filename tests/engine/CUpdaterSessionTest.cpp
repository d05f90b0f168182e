// The engine's session against the scripted patch server, through CUpdater directly: a test engine stands in
// for the worker and records the queue that the session hands over.
#include <gtest/gtest.h>
#include <winsock2.h>

#include <condition_variable>
#include <cstring>
#include <memory>
#include <mutex>
#include <string>
#include <vector>

#include "engine/CUpdater.h"
#include "tests/engine/EngineTestSupport.h"
#include "tests/engine/SessionTestSupport.h"
#include "tests/support/PatchServerProcess.h"
#include "tests/support/TempFolder.h"

using engine_testing::MakeParams;
using engine_testing::Utf16Bytes;
using session_testing::EntriesJson;
using session_testing::ExpectedRequests;
using session_testing::FinishesWithin;
using session_testing::kPromptMs;
using session_testing::ScriptEntry;
using session_testing::SessionLog;
using session_testing::VersionJson;
using session_testing::WriteVersionIni;
using testing_support::FileExists;
using testing_support::PatchServerProcess;
using testing_support::ReadFileBytes;
using testing_support::TempFolder;
using testing_support::WaitUntil;
using testing_support::WriteFileBytes;
using Events = std::vector<int>;
using Errors = std::vector<int32_t>;

namespace {

// An engine whose worker only records the queue that the session handed over.
class RecordingUpdater : public CUpdater {
 public:
  bool Setup(const UpdaterParams& params) { return Initialize(params); }
  // Stands in for a system that has no thread to give the worker.
  bool refuse_worker = false;

  bool WaitForWorker(unsigned timeout_ms = 10000) {
    std::unique_lock<std::mutex> hold(mutex_);
    return ran_changed_.wait_for(hold, std::chrono::milliseconds(timeout_ms), [&] { return ran_; });
  }
  // The session started a worker thread (it is made inside the socket callback, under the engine lock).
  bool worker_started() const { return HasThread(); }
  bool worker_ran() {
    std::lock_guard<std::mutex> hold(mutex_);
    return ran_;
  }
  std::vector<FileEntry> handed_over() {
    std::lock_guard<std::mutex> hold(mutex_);
    return handed_over_;
  }

 protected:
  void Run() override {
    std::vector<FileEntry> copies;
    for (const std::unique_ptr<FileEntry>& entry : queued_entries())
      copies.push_back(*entry);
    {
      std::lock_guard<std::mutex> hold(mutex_);
      handed_over_ = std::move(copies);
      ran_ = true;
    }
    ran_changed_.notify_all();
  }
  bool StartWorker() override { return !refuse_worker && CUpdater::StartWorker(); }

 private:
  std::mutex mutex_;
  std::condition_variable ran_changed_;
  bool ran_ = false;
  std::vector<FileEntry> handed_over_;
};

struct UpdaterDeleter {
  void operator()(CUpdater* updater) const { CUpdater::Remove(updater); }
};

// One scripted server and one engine on a private install folder.
struct Rig {
  // Starts the server with `script`, then the engine pointed at it (FullCheck when `full_check`).
  ::testing::AssertionResult Start(const std::string& script,
                                   int no_self_update = 1,
                                   bool full_check = false) {
    if (!server.Start(script))
      return ::testing::AssertionFailure() << "server: " << server.log();
    UpdaterParams params = MakeParams(root.path(), nullptr);
    params.noSelfUpdate = no_self_update;
    params.callback = &SessionLog::Callback;
    params.userValue = &log;
    std::strcpy(params.patchServerIp, server.address().c_str());
    params.patchServerPort = server.port();
    return StartEngine(params, full_check);
  }

  ::testing::AssertionResult StartEngine(const UpdaterParams& params, bool full_check = false) {
    updater.reset(new RecordingUpdater());
    if (!updater->Setup(params))
      return ::testing::AssertionFailure() << "engine not made";
    updater->refuse_worker = refuse_worker;
    int result = full_check ? CUpdater::FullCheck(updater.get()) : CUpdater::StartUpdater(updater.get());
    if (result != UpdaterResultOk)
      return ::testing::AssertionFailure() << "start gave " << result;
    return ::testing::AssertionSuccess();
  }

  // Waits until nothing more can come of the session, so that a test can assert that nothing more happened:
  // the server has closed its end of connection 1 (when `server_connected`), the engine's connection is closed
  // with no socket event in hand, and a worker that the session started has run.
  ::testing::AssertionResult WaitForQuietSession(bool server_connected = true) {
    if (server_connected && !server.WaitForLogLine(1, "closed"))
      return ::testing::AssertionFailure() << "the server did not close:\n" << server.ConnectionLog(1);
    if (!WaitUntil(kPromptMs, [&] { return updater->session_closed(); }))
      return ::testing::AssertionFailure() << "the engine's connection is still open";
    if (updater->worker_started() && !updater->WaitForWorker())
      return ::testing::AssertionFailure() << "a worker was started but never ran";
    return ::testing::AssertionSuccess();
  }

  // Hands the engine over to the caller, who must remove it.
  RecordingUpdater* Release() { return updater.release(); }

  bool refuse_worker = false;  // the engine's worker cannot be started
  TempFolder root;
  SessionLog log;
  PatchServerProcess server;
  std::unique_ptr<RecordingUpdater, UpdaterDeleter> updater;  // last: ends before the log and the folder
};

std::string ListScript(const std::string& version,
                       const std::vector<ScriptEntry>& entries,
                       const std::string& list_options = "",
                       const std::string& more = "") {
  return "{\"version\": " + version + ", \"list\": {\"entries\": " + EntriesJson(entries) + list_options +
         "}" + more + "}";
}

// The packets that the server's log says it sent (each "sent" line is one whole packet unless the script cuts
// the last one short).
int WholePacketsSent(const PatchServerProcess& server) {
  const std::string log = "\n" + server.ConnectionLog(1);
  int count = 0;
  for (size_t at = log.find("\nsent "); at != std::string::npos; at = log.find("\nsent ", at + 1))
    ++count;
  return count;
}

const std::vector<ScriptEntry> kThreeEntries = {{1, 1, 100, 5, 5, 0xDEADBEEF, L"game.exe"},
                                                {2, 2, 2000, 5, 4, 17, L"data\\maps\\\x4e16\x754c.map"},
                                                {3, 6, 0, 5, 5, 0, L"old\\gone.txt"}};

void ExpectSameEntries(const std::vector<ScriptEntry>& sent, const std::vector<FileEntry>& received) {
  ASSERT_EQ(sent.size(), received.size());
  for (size_t i = 0; i < sent.size(); ++i) {
    EXPECT_EQ(sent[i].sequence, received[i].sequence_number) << i;
    EXPECT_EQ(sent[i].kind, received[i].kind) << i;
    EXPECT_EQ(sent[i].size, received[i].size) << i;
    EXPECT_EQ(sent[i].version, received[i].version) << i;
    EXPECT_EQ(sent[i].registered_version, received[i].registered_version) << i;
    EXPECT_EQ(sent[i].crc, received[i].crc32) << i;
    EXPECT_EQ(sent[i].name, received[i].name) << i;
  }
}

class CUpdaterSessionTest : public testing::Test {
 protected:
  static void SetUpTestSuite() {
    // The library's entry starts Windows Sockets in the real deliverable; here the test does.
    WSADATA data;
    WSAStartup(MAKEWORD(2, 2), &data);
  }
  static void TearDownTestSuite() { WSACleanup(); }
};

}  // namespace

TEST_F(CUpdaterSessionTest, NothingToDoRightAfterTheVersionReplyCompletesWithoutAWorker) {
  Rig rig;
  ASSERT_TRUE(WriteVersionIni(rig.root.path(), 7, 1, 3));
  ASSERT_TRUE(rig.Start("{\"version\": " + VersionJson(7, 1, 3) + "}"));
  ASSERT_TRUE(rig.log.WaitFor(UpdateEventCompleted));
  EXPECT_TRUE(rig.server.WaitForLogLine(1, "client reset")) << "the engine's close resets the connection";
  ASSERT_TRUE(rig.WaitForQuietSession());
  EXPECT_EQ(Events{UpdateEventCompleted}, rig.log.Events());
  EXPECT_EQ(ExpectedRequests(7, 1, 3, 1, L"GAME"), rig.server.Received(1));
  EXPECT_TRUE(rig.updater->finished());
  EXPECT_FALSE(rig.updater->worker_ran());
}

TEST_F(CUpdaterSessionTest, FullCheckAsksAsAFreshInstallationAndRewritesTheVersionIni) {
  Rig rig;
  ASSERT_TRUE(WriteVersionIni(rig.root.path(), 7, 1, 3));
  ASSERT_TRUE(WriteFileBytes(rig.root.Join(L"a.dat"), "abc"));
  ASSERT_TRUE(WriteFileBytes(rig.root.Join(L"fileListInfo_GAME.dat"), Utf16Bytes(L"a.dat:1:1:3:99\r\n")));
  ASSERT_TRUE(rig.Start(ListScript(VersionJson(7, 0, 3), kThreeEntries), 1, /*full_check=*/true));
  ASSERT_TRUE(rig.updater->WaitForWorker());
  EXPECT_EQ(ExpectedRequests(0, 0, 3, 1, L"GAME"), rig.server.Received(1));
  const wchar_t* ini = rig.updater->version_info_path();
  EXPECT_EQ(0, GetPrivateProfileIntW(L"UpdInfo", L"CurrentVersion", -1, ini));
  EXPECT_EQ(0, GetPrivateProfileIntW(L"UpdInfo", L"SeparateStatus", -1, ini));
  EXPECT_EQ(3, GetPrivateProfileIntW(L"UpdInfo", L"UpdaterVersion", -1, ini));
  EXPECT_EQ(nullptr, rig.updater->file_list().Find(L"a.dat")) << "the store is emptied";
  EXPECT_EQ(7, rig.updater->current_version());
  ExpectSameEntries(kThreeEntries, rig.updater->handed_over());
}

TEST_F(CUpdaterSessionTest, EmptyListStartsTheWorkerWithAnEmptyQueue) {
  Rig rig;
  ASSERT_TRUE(WriteVersionIni(rig.root.path(), 3, 0, 1));
  ASSERT_TRUE(rig.Start(ListScript(VersionJson(5, 0, 1), {})));
  ASSERT_TRUE(rig.updater->WaitForWorker());
  EXPECT_TRUE(rig.updater->handed_over().empty());
  EXPECT_TRUE(rig.updater->finished());
  EXPECT_EQ(5, rig.updater->current_version());
  std::vector<session_testing::LoggedEvent> events = rig.log.All();
  ASSERT_EQ(2u, events.size());
  EXPECT_EQ(UpdateEventFileCount, events[0].event);
  EXPECT_EQ(0, events[0].status_entry_count);
  EXPECT_EQ(UpdateEventProgress, events[1].event);
  EXPECT_EQ(UpdateProgressRun, events[1].progress.kind);
  EXPECT_EQ(UpdateProgressRunEntryCount, events[1].progress.a);
  EXPECT_EQ(0, events[1].progress.b);
  EXPECT_TRUE(rig.server.WaitForLogLine(1, "client reset"));
}

TEST_F(CUpdaterSessionTest, AListWhoseWorkerCannotStartEndsTheRunWithAnError) {
  Rig rig;
  rig.refuse_worker = true;
  ASSERT_TRUE(WriteVersionIni(rig.root.path(), 3, 0, 1));
  ASSERT_TRUE(rig.Start(ListScript(VersionJson(5, 0, 1), kThreeEntries)));
  ASSERT_TRUE(rig.log.WaitFor(UpdateEventError)) << "a run that cannot go on says so";
  ASSERT_TRUE(rig.WaitForQuietSession());
  EXPECT_EQ(Errors{UpdateErrorDownload}, rig.log.Errors());
  EXPECT_FALSE(rig.updater->worker_started());
  EXPECT_EQ(3, GetPrivateProfileIntW(L"UpdInfo", L"CurrentVersion", -1, rig.updater->version_info_path()));
}

TEST_F(CUpdaterSessionTest, ListSplitOverChunksOfDifferentSizesIsHandedOverByteExact) {
  std::vector<ScriptEntry> entries = kThreeEntries;
  for (int i = 4; i <= 60; ++i)
    entries.push_back(
        {i, i % 8, i * 1000, 5, 3, 0x80000000u + i, L"folder" + std::to_wstring(i) + L"\\f.bin"});
  entries.push_back({61, 1, 1, 5, 5, 1, std::wstring(259, L'z')});
  Rig rig;
  ASSERT_TRUE(WriteVersionIni(rig.root.path(), 3, 0, 1));
  ASSERT_TRUE(rig.Start(ListScript(VersionJson(5, 0, 1), entries, ", \"chunks\": [1, 30, 2, 700, 7, 3000]")));
  ASSERT_TRUE(rig.updater->WaitForWorker());
  ExpectSameEntries(entries, rig.updater->handed_over());
  EXPECT_EQ(61, rig.updater->status().entryCount);
  EXPECT_EQ(61, rig.log.All().at(0).status_entry_count);
  EXPECT_EQ(61, rig.log.All().at(1).progress.b);
  EXPECT_EQ(Errors{}, rig.log.Errors());
  EXPECT_TRUE(rig.server.WaitForLogLine(1, "sent chunk7")) << "the list needed more than the scripted chunks";
}

TEST_F(CUpdaterSessionTest, PacketsTogetherInOneSegmentOrSplitAcrossSegmentsGiveTheSameQueue) {
  const char* ways[] = {
      ", \"together\": true",
      ", \"split\": {\"session_reply\": [1], \"version_reply\": [2, 9], \"count\": [3], \"chunk1\": [1, 6, "
      "40],"
      " \"list_end\": [2]}, \"pause_ms\": 30",
  };
  for (const char* way : ways) {
    Rig rig;
    ASSERT_TRUE(rig.Start(ListScript(VersionJson(5, 0, 1), kThreeEntries, "", way)));
    ASSERT_TRUE(rig.updater->WaitForWorker()) << way;
    ExpectSameEntries(kThreeEntries, rig.updater->handed_over());
    EXPECT_EQ(Errors{}, rig.log.Errors()) << way;
  }
}

TEST_F(CUpdaterSessionTest, NewerEngineVersionIsStoredAndTheEngineWaitsForTheServer) {
  struct Case {
    const char* after_version;
    bool list_follows;
  } cases[] = {{"none", false}, {"list", true}};
  for (const Case& c : cases) {
    Rig rig;
    // The self-check passes without a record of the program and clears the engine version: the request says
    // 0.
    ASSERT_TRUE(WriteVersionIni(rig.root.path(), 3, 0, 2));
    ASSERT_TRUE(rig.Start("{\"version\": " + VersionJson(5, 0, 9) + ", \"after_version\": \"" +
                              c.after_version + "\", \"list\": {\"entries\": " + EntriesJson(kThreeEntries) +
                              "}}",
                          /*no_self_update=*/0));
    ASSERT_TRUE(rig.server.WaitForLogLine(1, "sent version_reply"));
    if (c.list_follows) {
      ASSERT_TRUE(rig.updater->WaitForWorker());
    }
    // Anything the reply made the engine send goes out while it handles the reply; the stop only resets the
    // connection, and once the server has closed its end, what it received is complete.
    ASSERT_TRUE(WaitUntil(kPromptMs, [&] { return rig.updater->updater_version() == 9; })) << c.after_version;
    EXPECT_TRUE(FinishesWithin(kPromptMs, [&] { CUpdater::StopUpdater(rig.updater.get()); }));
    ASSERT_TRUE(rig.WaitForQuietSession()) << c.after_version;
    EXPECT_EQ(ExpectedRequests(3, 0, 0, 0, L"GAME"), rig.server.Received(1))
        << "nothing sent after the reply";
    EXPECT_EQ(9, rig.updater->updater_version()) << c.after_version;
    EXPECT_EQ(3, rig.updater->current_version()) << c.after_version << ": the decision stopped at the engine";
    EXPECT_EQ(c.list_follows, rig.updater->worker_ran()) << c.after_version;
    EXPECT_EQ(Errors{}, rig.log.Errors()) << c.after_version;
  }
}

TEST_F(CUpdaterSessionTest, SeparatedInstallationIsFoldedIntoTheRootBeforeTheList) {
  struct Case {
    int server_separate;
    bool folds;
  } cases[] = {{0, true}, {1, false}};
  for (const Case& c : cases) {
    Rig rig;
    const TempFolder& root = rig.root;
    ASSERT_TRUE(WriteFileBytes(root.Join(L"Patch\\data\\a.dat"), "new a"));
    ASSERT_TRUE(WriteFileBytes(root.Join(L"Patch\\b.dat"), "new b"));
    ASSERT_TRUE(WriteFileBytes(root.Join(L"b.dat"), "old b"));
    ASSERT_TRUE(WriteFileBytes(root.Join(L"data\\keep.dat"), "keep"));
    ASSERT_TRUE(WriteFileBytes(root.Join(L"fileListInfo_GAME.dat"),
                               Utf16Bytes(L"Patch\\data\\a.dat:5:5:5:111\r\nPatch\\b.dat:5:5:5:222\r\n"
                                          L"b.dat:1:1:5:333\r\ndata\\keep.dat:1:1:4:444\r\n")));
    ASSERT_TRUE(WriteVersionIni(root.path(), 3, 1, 1));
    ASSERT_TRUE(rig.Start(ListScript(VersionJson(5, c.server_separate, 1), kThreeEntries)));
    ASSERT_TRUE(rig.updater->WaitForWorker());
    EXPECT_FALSE(rig.updater->full_check()) << "the listed files matched";
    EXPECT_EQ(5, rig.updater->current_version());
    std::string bytes;
    if (c.folds) {
      EXPECT_EQ(0, rig.updater->separate_status());
      ASSERT_TRUE(ReadFileBytes(root.Join(L"data\\a.dat"), &bytes));
      EXPECT_EQ("new a", bytes);
      ASSERT_TRUE(ReadFileBytes(root.Join(L"b.dat"), &bytes));
      EXPECT_EQ("new b", bytes);
      EXPECT_FALSE(FileExists(root.Join(L"Patch")));
      CUpdater::StopUpdater(rig.updater.get());
      ASSERT_TRUE(ReadFileBytes(root.Join(L"fileListInfo_GAME.dat"), &bytes));
      EXPECT_EQ(Utf16Bytes(L"b.dat:5:5:5:222\r\ndata\\a.dat:5:5:5:111\r\ndata\\keep.dat:1:1:4:444\r\n"),
                bytes)
          << "the folded records are saved even though the run did not finish";
    } else {
      EXPECT_EQ(1, rig.updater->separate_status());
      EXPECT_TRUE(FileExists(root.Join(L"Patch\\b.dat")));
      ASSERT_TRUE(ReadFileBytes(root.Join(L"b.dat"), &bytes));
      EXPECT_EQ("old b", bytes);
      EXPECT_NE(nullptr, rig.updater->file_list().Find(L"Patch\\b.dat"));
    }
    ASSERT_TRUE(ReadFileBytes(root.Join(L"data\\keep.dat"), &bytes));
    EXPECT_EQ("keep", bytes);
  }
}

TEST_F(CUpdaterSessionTest, EqualVersionsNeverLowerTheSeparationStatus) {
  struct Case {
    int installed;
    int server;
    int kept;
  } cases[] = {{1, 0, 1}, {2, 1, 2}, {0, 1, 1}, {1, 1, 1}};
  for (const Case& c : cases) {
    Rig rig;
    ASSERT_TRUE(WriteVersionIni(rig.root.path(), 5, c.installed, 1));
    ASSERT_TRUE(rig.Start("{\"version\": " + VersionJson(5, c.server, 1) + "}"));
    ASSERT_TRUE(rig.log.WaitFor(UpdateEventCompleted));
    EXPECT_EQ(c.kept, rig.updater->separate_status()) << c.installed << " and " << c.server;
    EXPECT_EQ(5, rig.updater->current_version());
  }
}

TEST_F(CUpdaterSessionTest, RefusalAndAnOlderServerEndTheSessionWithErrorThree) {
  const std::string requests = ExpectedRequests(3, 0, 1, 1, L"GAME");
  struct Case {
    std::string script;
    std::string received;
  } cases[] = {{"{\"session_reply\": 0}", requests.substr(0, 8)},
               {"{\"session_reply\": 2}", requests.substr(0, 8)},
               {"{\"version\": " + VersionJson(2, 0, 1) + "}", requests}};
  for (const Case& c : cases) {
    Rig rig;
    ASSERT_TRUE(WriteVersionIni(rig.root.path(), 3, 0, 1));
    ASSERT_TRUE(rig.Start(c.script));
    ASSERT_TRUE(rig.log.WaitFor(UpdateEventError)) << c.script;
    EXPECT_TRUE(rig.server.WaitForLogLine(1, "client reset")) << c.script << "\n"
                                                              << rig.server.ConnectionLog(1);
    ASSERT_TRUE(rig.WaitForQuietSession()) << c.script;
    EXPECT_EQ(Errors{UpdateErrorSessionRefused}, rig.log.Errors()) << c.script;
    EXPECT_EQ(Events{UpdateEventError}, rig.log.Events()) << c.script;
    EXPECT_EQ(c.received, rig.server.Received(1)) << c.script;
    EXPECT_TRUE(rig.updater->finished());
    EXPECT_FALSE(rig.updater->worker_ran());
  }
}

// Every way a server can break the stream or the list ends the session at once with UpdateErrorSessionRefused (once), before
// any file is touched: the worker never starts.
TEST_F(CUpdaterSessionTest, ProtocolFaultsEndTheSessionWithErrorThree) {
  auto entry = [](const std::wstring& name, int forced_n = 0) {
    return std::vector<ScriptEntry>{{1, 1, 10, 5, 5, 1, L"good.dat"}, {2, 1, 10, 5, 5, 2, name, forced_n}};
  };
  const std::string v = VersionJson(5, 0, 1);
  struct Case {
    std::string script;
    const char* what;
  } cases[] = {
      {"{\"version\": " + v + ", \"length\": {\"version_reply\": 3}}", "length field below 4"},
      {"{\"version\": " + v + ", \"length\": {\"count\": 9000}}", "length field above 8192"},
      {ListScript(v, kThreeEntries, ", \"total\": 30"), "first chunk past the total"},
      {ListScript(v, kThreeEntries, ", \"total\": 40, \"chunks\": [20]"), "later chunk past the total"},
      {ListScript(v, kThreeEntries, ", \"total\": 2147483647"), "absurd total"},
      {ListScript(v, kThreeEntries, ", \"total\": -5"), "negative total"},
      {ListScript(v, kThreeEntries, ", \"total\": 3"), "total below its own field"},
      {"{\"version\": " + v +
           ", \"list\": {\"entries\": []}, \"insert\": [{\"after\": \"count\", \"type\": 330}]}",
       "first chunk without a total"},
      {ListScript(v, entry(L"x", 23)), "n = 23"},
      {ListScript(v, entry(L"x", 545)), "n = 545"},
      {ListScript(v, entry(L"..\\evil.dll")), "parent folder"},
      {ListScript(v, entry(L"C:\\Windows\\evil.dll")), "drive"},
      {ListScript(v, entry(L"\\evil.dll")), "leading backslash"},
      {ListScript(v, entry(L"")), "empty name"},
  };
  for (const Case& c : cases) {
    Rig rig;
    ASSERT_TRUE(WriteVersionIni(rig.root.path(), 3, 0, 1));
    ASSERT_TRUE(rig.Start(c.script)) << c.what;
    ASSERT_TRUE(rig.log.WaitFor(UpdateEventError)) << c.what;
    EXPECT_TRUE(rig.server.WaitForLogLine(1, "client reset")) << c.what << "\n"
                                                              << rig.server.ConnectionLog(1);
    ASSERT_TRUE(rig.WaitForQuietSession()) << c.what;
    EXPECT_EQ(Errors{UpdateErrorSessionRefused}, rig.log.Errors()) << c.what;
    EXPECT_FALSE(rig.updater->worker_ran()) << c.what;
    EXPECT_TRUE(rig.updater->finished()) << c.what;
  }
}

TEST_F(CUpdaterSessionTest, ConnectionLostBeforeTheEndGivesErrorTwoOnce) {
  const std::string v = VersionJson(5, 0, 1);
  struct Case {
    std::string script;
    const char* what;
  } cases[] = {
      {"{\"end\": {\"at\": \"session_request\", \"how\": \"close\"}}", "closed before the session reply"},
      {ListScript(v, kThreeEntries, "", ", \"end\": {\"at\": \"chunk1\", \"how\": \"reset\"}"),
       "reset in the list"},
      {ListScript(v, kThreeEntries, "", ", \"end\": {\"at\": \"chunk1\", \"how\": \"close\", \"bytes\": 9}"),
       "closed inside a packet"},
      {ListScript(v, kThreeEntries, ", \"total\": 400",
                  ", \"end\": {\"at\": \"list_end\", \"how\": \"close\"}"),
       "list end that does not match the total, then closed"},
  };
  for (const Case& c : cases) {
    Rig rig;
    ASSERT_TRUE(WriteVersionIni(rig.root.path(), 3, 0, 1));
    ASSERT_TRUE(rig.Start(c.script)) << c.what;
    ASSERT_TRUE(rig.log.WaitFor(UpdateEventError)) << c.what;
    ASSERT_TRUE(rig.WaitForQuietSession()) << c.what;
    EXPECT_EQ(Errors{UpdateErrorConnectionLost}, rig.log.Errors()) << c.what;
    EXPECT_FALSE(rig.updater->worker_ran()) << c.what;
    EXPECT_FALSE(rig.updater->finished()) << c.what;
  }
}

TEST_F(CUpdaterSessionTest, RefusedConnectionGivesExactlyOneErrorTwo) {
  Rig rig;
  ASSERT_TRUE(rig.server.Start("")) << rig.server.log();
  rig.server.Stop();  // nothing listens there any more
  UpdaterParams params = MakeParams(rig.root.path(), nullptr);
  params.callback = &SessionLog::Callback;
  params.userValue = &rig.log;
  std::strcpy(params.patchServerIp, rig.server.address().c_str());
  params.patchServerPort = rig.server.port();
  ASSERT_TRUE(rig.StartEngine(params));
  ASSERT_TRUE(rig.log.WaitFor(UpdateEventError));
  ASSERT_TRUE(rig.WaitForQuietSession(/*server_connected=*/false));
  EXPECT_EQ(Events{UpdateEventError}, rig.log.Events());
  EXPECT_EQ(Errors{UpdateErrorConnectionLost}, rig.log.Errors());
}

TEST_F(CUpdaterSessionTest, ListEndThatDoesNotMatchTheTotalIsIgnoredUntilTheCallerStops) {
  Rig rig;
  ASSERT_TRUE(rig.Start(ListScript(VersionJson(5, 0, 1), kThreeEntries, ", \"total\": 400")));
  ASSERT_TRUE(rig.server.WaitForLogLine(1, "sent list_end"));
  // What the engine would do with the list end it does while handling it: wait until it has handled every
  // packet the server sent.
  const int sent = WholePacketsSent(rig.server);
  ASSERT_TRUE(WaitUntil(kPromptMs, [&] { return rig.updater->session_packets_handled() == sent; }))
      << rig.updater->session_packets_handled() << " of " << sent;
  EXPECT_FALSE(rig.updater->worker_started());
  EXPECT_FALSE(rig.updater->worker_ran());
  EXPECT_FALSE(rig.updater->finished());
  EXPECT_EQ(Errors{}, rig.log.Errors());
  EXPECT_TRUE(FinishesWithin(kPromptMs, [&] { CUpdater::StopUpdater(rig.updater.get()); }));
  EXPECT_TRUE(rig.server.WaitForLogLine(1, "client reset"));
  ASSERT_TRUE(rig.WaitForQuietSession());
  EXPECT_EQ(Errors{}, rig.log.Errors()) << "the engine's own close is no lost connection";
}

// A silent server in every state of the session: stopping and removing must not wait for it.
TEST_F(CUpdaterSessionTest, StopAndRemovalReturnPromptlyInEverySessionState) {
  const std::string v = VersionJson(5, 0, 1);
  struct Case {
    std::string script;
    const char* reached;  // the server's log line once the state is reached
    int whole_packets;    // the packets the server has sent whole by then
  } cases[] = {
      {"{\"end\": {\"at\": \"connected\", \"how\": \"stall\"}}", "end stall at connected", 0},
      {"{\"end\": {\"at\": \"version_request\", \"how\": \"stall\"}}", "end stall at version_request", 1},
      {"{\"version\": " + v + ", \"after_version\": \"none\"}", "sent version_reply", 2},
      {ListScript(v, kThreeEntries, "", ", \"end\": {\"at\": \"count\", \"how\": \"stall\"}"), "sent count",
       3},
      {ListScript(v, kThreeEntries, "", ", \"end\": {\"at\": \"chunk1\", \"how\": \"stall\", \"bytes\": 5}"),
       "end stall at chunk1", 3},
  };
  for (const Case& c : cases) {
    for (bool stop_first : {true, false}) {
      Rig rig;
      ASSERT_TRUE(WriteVersionIni(rig.root.path(), 3, 0, 1));
      ASSERT_TRUE(rig.Start(c.script)) << c.reached;
      ASSERT_TRUE(rig.server.WaitForLogLine(1, c.reached)) << c.reached;
      // Let the engine take what the server sent, so that the stop finds the state the case names.
      ASSERT_TRUE(WaitUntil(kPromptMs, [&] {
        return rig.updater->session_packets_handled() == c.whole_packets;
      })) << c.reached;
      CUpdater* updater = rig.Release();
      if (stop_first) {
        EXPECT_TRUE(FinishesWithin(kPromptMs, [updater] { CUpdater::StopUpdater(updater); })) << c.reached;
      }
      EXPECT_TRUE(FinishesWithin(kPromptMs, [updater] { CUpdater::Remove(updater); })) << c.reached;
      EXPECT_EQ(Errors{}, rig.log.Errors()) << c.reached;
    }
  }
}

TEST_F(CUpdaterSessionTest, StopAndRemovalWhileConnectingReturnPromptly) {
  Rig rig;
  UpdaterParams params = MakeParams(rig.root.path(), nullptr);
  std::strcpy(params.patchServerIp, "10.255.255.1");  // unrouted: the attempt hangs or fails, never connects
  params.patchServerPort = 9;
  ASSERT_TRUE(rig.StartEngine(params));
  CUpdater* updater = rig.Release();
  EXPECT_TRUE(FinishesWithin(kPromptMs, [updater] { CUpdater::StopUpdater(updater); }));
  EXPECT_TRUE(FinishesWithin(kPromptMs, [updater] { CUpdater::Remove(updater); }));
}

// The reader may already be on its way into the event handler when the caller ends the session: what it
// brings then belongs to a connection that is over and must change nothing.
TEST_F(CUpdaterSessionTest, EventsThatArriveAfterTheEngineClosedTheConnectionAreIgnored) {
  Rig rig;
  ASSERT_TRUE(rig.Start("{\"version\": " + VersionJson(5, 0, 1) + ", \"after_version\": \"none\"}"));
  ASSERT_TRUE(rig.server.WaitForLogLine(1, "sent version_reply"));
  ASSERT_EQ(UpdaterResultOk, CUpdater::StopUpdater(rig.updater.get()));
  ASSERT_TRUE(rig.server.WaitForLogLine(1, "client reset"));
  const std::string received = rig.server.Received(1);

  std::vector<uint8_t> area(8192, 0);
  const uint8_t empty_list[] = {8, 0, 0x4a, 0x01, 4, 0, 0, 0};
  std::memcpy(area.data(), empty_list, sizeof empty_list);
  CUpdater::OnSocketEvent(rig.updater.get(), kSocketPacket, area.data());
  std::fill(area.begin(), area.end(), 0);
  const uint8_t list_end[] = {4, 0, 0x4b, 0x01};
  std::memcpy(area.data(), list_end, sizeof list_end);
  CUpdater::OnSocketEvent(rig.updater.get(), kSocketPacket, area.data());
  CUpdater::OnSocketEvent(rig.updater.get(), kSocketConnected, nullptr);
  CUpdater::OnSocketEvent(rig.updater.get(), kSocketBadPacket, nullptr);
  // The events were handled on this thread: only a worker they started could still be on its way.
  ASSERT_TRUE(rig.WaitForQuietSession());
  EXPECT_FALSE(rig.updater->worker_ran());
  EXPECT_EQ(Errors{}, rig.log.Errors());
  EXPECT_EQ(received, rig.server.Received(1)) << "nothing sent";
}

TEST_F(CUpdaterSessionTest, StopFromInsideTheCallbackEndsTheSessionWithoutWaitingForTheReader) {
  Rig rig;
  std::atomic<bool> stopped{false};
  rig.log.on_event = [&](int event) {
    if (event == UpdateEventFileCount) {
      CUpdater::StopUpdater(rig.updater.get());
      stopped = true;
    }
  };
  ASSERT_TRUE(rig.Start(ListScript(VersionJson(5, 0, 1), kThreeEntries)));
  ASSERT_TRUE(rig.log.WaitFor(UpdateEventFileCount));
  EXPECT_TRUE(rig.server.WaitForLogLine(1, "client reset"));
  ASSERT_TRUE(rig.WaitForQuietSession());
  EXPECT_TRUE(stopped);
  EXPECT_TRUE(rig.updater->finished());
  EXPECT_FALSE(rig.updater->worker_ran()) << "the rest of the list is not taken";
  EXPECT_EQ(Errors{}, rig.log.Errors());
  CUpdater* updater = rig.Release();
  EXPECT_TRUE(FinishesWithin(kPromptMs, [updater] { CUpdater::Remove(updater); }));
}

// The reader takes the engine lock for every packet. Here it is held up inside the callback, with packets
// waiting behind, while the engine is removed (or just destroyed): the removal must neither deadlock on that
// lock while it waits for the reader nor let a packet reach a half-destroyed engine.
TEST_F(CUpdaterSessionTest, RemovalOrDestructionWhileTheReaderIsBusyReturnsPromptly) {
  std::vector<ScriptEntry> entries;
  for (int i = 1; i <= 200; ++i)
    entries.push_back({i, 1, i, 5, 5, 0, L"data\\file" + std::to_wstring(i) + L".bin"});
  std::string chunks = ", \"chunks\": [";
  for (int i = 0; i < 500; ++i)
    chunks += i ? ", 8" : "8";
  chunks += "]";
  PatchServerProcess server;
  ASSERT_TRUE(server.Start(ListScript(VersionJson(5, 0, 1), entries, chunks, ", \"together\": true")))
      << server.log();
  for (bool destroy_only : {false, true}) {
    for (unsigned held_ms : {50u, 150u}) {
      TempFolder root;
      SessionLog log;
      log.on_event = [held_ms](int event) {
        if (event == UpdateEventProgress)
          Sleep(held_ms);
      };
      UpdaterParams params = MakeParams(root.path(), nullptr);
      params.callback = &SessionLog::Callback;
      params.userValue = &log;
      std::strcpy(params.patchServerIp, server.address().c_str());
      params.patchServerPort = server.port();
      auto* updater = new RecordingUpdater();
      ASSERT_TRUE(updater->Setup(params));
      ASSERT_EQ(UpdaterResultOk, CUpdater::StartUpdater(updater));
      ASSERT_TRUE(log.WaitFor(UpdateEventProgress, 5000));
      EXPECT_TRUE(FinishesWithin(kPromptMs, [updater, destroy_only] {
        if (destroy_only)
          delete updater;
        else
          CUpdater::Remove(updater);
      })) << held_ms;
      EXPECT_EQ(Errors{}, log.Errors()) << held_ms;
    }
  }
}
