// The session as the launcher drives it: QVTesserel.dll loaded at run time, its exports bound by name,
// against the scripted patch server. Only what the session itself reports is checked, so these tests hold
// whatever the worker does after the list.
#include <gtest/gtest.h>
#include <windows.h>

#include <cstring>
#include <string>
#include <vector>

#include "engine/EngineExports.h"
#include "engine/QVTesserel.h"
#include "tests/engine/EngineTestSupport.h"
#include "tests/engine/SessionTestSupport.h"
#include "tests/support/PatchServerProcess.h"
#include "tests/support/TempFolder.h"

using engine_testing::MakeParams;
using session_testing::EntriesJson;
using session_testing::ExpectedRequests;
using session_testing::FinishesWithin;
using session_testing::kPromptMs;
using session_testing::ScriptEntry;
using session_testing::SessionLog;
using session_testing::VersionJson;
using session_testing::WriteVersionIni;
using testing_support::PatchServerProcess;
using testing_support::TempFolder;
using Events = std::vector<int>;
using Errors = std::vector<int32_t>;

namespace {

// The exports that drive a session.
struct SessionExports : EngineExports {
  SessionExports() : module(LoadLibraryW(L"QVTesserel.dll")) {
    if (module != nullptr)
      BindEngineExports(module, this);
  }
  ~SessionExports() {
    if (module != nullptr)
      FreeLibrary(module);
  }
  SessionExports(const SessionExports&) = delete;
  SessionExports& operator=(const SessionExports&) = delete;

  bool Complete() const { return create && remove && start && stop && download_info; }

  HMODULE module;
};

// One scripted server and one engine handle on a private install folder.
class LibrarySession : public testing::Test {
 protected:
  void TearDown() override {
    if (handle_ != nullptr) {
      EXPECT_TRUE(FinishesWithin(kPromptMs, [this] { exports_.remove(handle_); }));
    }
  }

  // Starts the server with `script` (unless `script` is null: no server), then the engine through the
  // exports.
  ::testing::AssertionResult Start(const char* script, const std::string& ip = "", unsigned short port = 0) {
    if (!exports_.Complete())
      return ::testing::AssertionFailure() << "QVTesserel.dll or an export is missing";
    if (script != nullptr && !server_.Start(script))
      return ::testing::AssertionFailure() << "server: " << server_.log();
    UpdaterParams params = MakeParams(root_.path(), nullptr);
    params.callback = &SessionLog::Callback;
    params.userValue = &log_;
    std::strcpy(params.patchServerIp, script != nullptr ? server_.address().c_str() : ip.c_str());
    params.patchServerPort = script != nullptr ? server_.port() : port;
    handle_ = exports_.create(&params);
    if (handle_ == nullptr)
      return ::testing::AssertionFailure() << "qvCreateUpdater";
    int result = exports_.start(handle_);
    if (result != UpdaterResultOk)
      return ::testing::AssertionFailure() << "qvStartUpdater gave " << result;
    return ::testing::AssertionSuccess();
  }

  // Removes the engine: its threads have ended when the removal returns, so every event it was ever going to
  // send is in the log by then, a wrong extra one included.
  void RemoveEngine() {
    EXPECT_TRUE(FinishesWithin(kPromptMs, [this] { exports_.remove(handle_); }));
    handle_ = nullptr;
  }

  SessionExports exports_;
  TempFolder root_;
  SessionLog log_;
  PatchServerProcess server_;
  UpdaterHandle handle_ = nullptr;
};

}  // namespace

TEST_F(LibrarySession, NothingToDoSendsTheExactRequestsAndCompletes) {
  ASSERT_TRUE(WriteVersionIni(root_.path(), 12, 0, 4));
  ASSERT_TRUE(Start(("{\"version\": " + VersionJson(12, 0, 4) + "}").c_str()));
  ASSERT_TRUE(log_.WaitFor(UpdateEventCompleted));
  EXPECT_TRUE(server_.WaitForLogLine(1, "client reset"));
  RemoveEngine();
  EXPECT_EQ(Events{UpdateEventCompleted}, log_.Events());
  EXPECT_EQ(ExpectedRequests(12, 0, 4, 1, L"GAME"), server_.Received(1));
}

TEST_F(LibrarySession, RefusedConnectionGivesExactlyOneErrorTwo) {
  ASSERT_TRUE(server_.Start("")) << server_.log();
  std::string address = server_.address();
  unsigned short port = server_.port();
  server_.Stop();  // nothing listens there any more
  ASSERT_TRUE(Start(nullptr, address, port));
  ASSERT_TRUE(log_.WaitFor(UpdateEventError));
  RemoveEngine();
  EXPECT_EQ(Events{UpdateEventError}, log_.Events());
  EXPECT_EQ(Errors{UpdateErrorConnectionLost}, log_.Errors());
}

TEST_F(LibrarySession, CountReplyReachesTheStatusAndTheCallback) {
  std::vector<ScriptEntry> entries = {{1, 9, 0, 5, 5, 0, L"a.txt"}, {2, 9, 0, 5, 5, 0, L"b.txt"}};
  ASSERT_TRUE(WriteVersionIni(root_.path(), 3, 0, 1));
  ASSERT_TRUE(Start(("{\"version\": " + VersionJson(5, 0, 1) +
                     ", \"list\": {\"entries\": " + EntriesJson(entries) + ", \"count\": 2}}")
                        .c_str()));
  ASSERT_TRUE(log_.WaitFor(UpdateEventProgress));
  EXPECT_TRUE(server_.WaitForLogLine(1, "client reset")) << "the list end closes the connection";
  std::vector<session_testing::LoggedEvent> events = log_.All();
  ASSERT_LE(2u, events.size());
  EXPECT_EQ(UpdateEventFileCount, events[0].event);
  EXPECT_EQ(2, events[0].status_entry_count);
  EXPECT_EQ(UpdateEventProgress, events[1].event);
  EXPECT_EQ(UpdateProgressRun, events[1].progress.kind);
  EXPECT_EQ(UpdateProgressRunEntryCount, events[1].progress.a);
  EXPECT_EQ(2, events[1].progress.b);
  EXPECT_EQ(2, exports_.download_info(handle_)->entryCount);
  EXPECT_EQ(Errors{}, log_.Errors());
}

TEST_F(LibrarySession, UnsafeNameInTheListRefusesItWithErrorThree) {
  std::vector<ScriptEntry> entries = {{1, 1, 5, 5, 5, 0, L"ok.dat"}, {2, 6, 0, 5, 5, 0, L"..\\..\\boot.ini"}};
  ASSERT_TRUE(WriteVersionIni(root_.path(), 3, 0, 1));
  ASSERT_TRUE(Start(
      ("{\"version\": " + VersionJson(5, 0, 1) + ", \"list\": {\"entries\": " + EntriesJson(entries) + "}}")
          .c_str()));
  ASSERT_TRUE(log_.WaitFor(UpdateEventError));
  EXPECT_TRUE(server_.WaitForLogLine(1, "client reset"));
  RemoveEngine();
  EXPECT_EQ((Events{UpdateEventFileCount, UpdateEventProgress, UpdateEventError}), log_.Events())
      << "no worker starts";
  EXPECT_EQ(Errors{UpdateErrorSessionRefused}, log_.Errors());
}

TEST_F(LibrarySession, StopAndRemovalReturnPromptlyWhenTheServerFallsSilent) {
  ASSERT_TRUE(Start("{\"end\": {\"at\": \"version_request\", \"how\": \"stall\"}}"));
  ASSERT_TRUE(server_.WaitForLogLine(1, "end stall at version_request"));
  EXPECT_TRUE(FinishesWithin(kPromptMs, [this] { EXPECT_EQ(UpdaterResultOk, exports_.stop(handle_)); }));
  EXPECT_TRUE(server_.WaitForLogLine(1, "client reset"));
  UpdaterHandle handle = handle_;
  handle_ = nullptr;
  EXPECT_TRUE(
      FinishesWithin(kPromptMs, [this, handle] { EXPECT_EQ(UpdaterResultOk, exports_.remove(handle)); }));
  EXPECT_EQ(Errors{}, log_.Errors());
}
