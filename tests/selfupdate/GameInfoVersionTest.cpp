// The catalogue-folder version query against the patch-server fixture, which answers request 340 and can be
// scripted to answer wrongly, cut its reply, close or stay silent.
#include <windows.h>

#include <gtest/gtest.h>

#include <thread>

#include "selfupdate/GameInfoVersion.h"
#include "tests/selfupdate/StuckHostResolver.h"
#include "tests/support/PatchServerProcess.h"
#include "tests/support/Timing.h"

namespace {

using selfupdate_testing::StuckHostResolver;
using testing_support::PatchServerProcess;

std::wstring AddressOf(const PatchServerProcess& server, const std::string& tail = "") {
  std::string address = server.address() + tail;
  return std::wstring(address.begin(), address.end());
}

TEST(UpdateHostOf, KeepsOnlyTheHost) {
  EXPECT_EQ("update.example", UpdateHostOf(L"update.example:27500/launcher/path"));
  EXPECT_EQ("update.example", UpdateHostOf(L"update.example"));
  EXPECT_EQ("update.example", UpdateHostOf(L"update.example/path"));
  EXPECT_EQ("", UpdateHostOf(L""));
  EXPECT_EQ("", UpdateHostOf(nullptr));
  EXPECT_EQ("", UpdateHostOf(std::wstring(1024, L'a').c_str()));
}

class GameInfoVersionTest : public ::testing::Test {
 protected:
  // Starts the fixture on port 27500 with `script`.
  void Serve(const std::string& script) {
    ASSERT_TRUE(server_.Start(script, "", {"--port", "27500"})) << server_.log();
  }

  PatchServerProcess server_;
};

TEST_F(GameInfoVersionTest, TakesTheSixtyFourBitAnswerFromAnAddressWithPortAndPath) {
  Serve(R"({"game_info_reply": {"number": 21474836481234}})");
  ASSERT_EQ(0, QueryGameInfoNumber(AddressOf(server_, ":8080/catalogue").c_str()));
  EXPECT_EQ(21474836481234ull, GameInfoNumber());
  EXPECT_EQ(std::string("\x05\x00\x54\x01", 4), server_.Received(1).substr(0, 4));
}

TEST_F(GameInfoVersionTest, ReadsAReplySplitOverTwoSegments) {
  Serve(R"({"game_info_reply": {"number": 77}, "split": {"game_info_reply": [1, 6]}, "pause_ms": 50})");
  ASSERT_EQ(0, QueryGameInfoNumber(AddressOf(server_).c_str()));
  EXPECT_EQ(77u, GameInfoNumber());
}

TEST_F(GameInfoVersionTest, BadRepliesFailAndClearTheNumber) {
  const char* scripts[] = {
      R"({"game_info_reply": {"number": 5, "type": 342}})",  // another type
      R"({"game_info_reply": {"number": 5, "size": 8}})",    // shorter than the two halves
  };
  for (const char* script : scripts) {
    Serve(R"({"game_info_reply": {"number": 9}})");
    ASSERT_EQ(0, QueryGameInfoNumber(AddressOf(server_).c_str()));  // a good answer first...
    Serve(script);
    EXPECT_EQ(-1, QueryGameInfoNumber(AddressOf(server_).c_str())) << script;
    EXPECT_EQ(0u, GameInfoNumber()) << script;
    server_.Stop();
  }
}

TEST_F(GameInfoVersionTest, ACloseWithoutAnswerFailsAtOnce) {
  Serve(R"({"end": {"at": "game_info_request", "how": "close"}})");
  DWORD start = GetTickCount();
  EXPECT_EQ(-1, QueryGameInfoNumber(AddressOf(server_).c_str()));
  EXPECT_LT(GetTickCount() - start, 3000u);
}

TEST_F(GameInfoVersionTest, ASilentServerFailsAtTheTimeOut) {
  Serve(R"({"end": {"at": "game_info_request", "how": "stall"}})");
  DWORD start = GetTickCount();
  EXPECT_EQ(-1, QueryGameInfoNumber(AddressOf(server_).c_str(), 500));
  DWORD elapsed = GetTickCount() - start;
  EXPECT_GE(elapsed, 500u);
  EXPECT_LT(elapsed, 5000u);
}

TEST(GameInfoVersion, UnreachableOrMissingHostsFail) {
  EXPECT_EQ(-1, QueryGameInfoNumber(L""));
  EXPECT_EQ(-1, QueryGameInfoNumber(L"no-such-host.invalid"));
  // Nothing listens on 27500 at this loopback address.
  EXPECT_EQ(-1, QueryGameInfoNumber(L"127.0.0.1:27500", 3000));
  EXPECT_EQ(0u, GameInfoNumber());
}

// A name server that never answers bounds the query as a silent update host does: the time limit counts the
// look-up, and a cancel ends the wait for it at once.
TEST(GameInfoVersion, AStuckNameLookUpEndsAtTheTimeLimitOrTheCancel) {
  StuckHostResolver stuck;
  struct Case {
    const char* name;
    unsigned timeout_ms;
    bool cancel;  // set by another thread once the look-up is under way
  } cases[] = {{"time limit", 300, false}, {"cancel", 60000, true}};
  for (const Case& c : cases) {
    SCOPED_TRACE(c.name);
    const long entered = stuck.entered();
    volatile long cancel = 0;
    std::thread canceller;
    if (c.cancel)
      canceller = std::thread([&cancel, entered] {
        testing_support::WaitUntil(5000, [entered] { return StuckHostResolver::entered() > entered; });
        InterlockedExchange(&cancel, 1);
      });
    uint64_t number = 5;
    const DWORD start = GetTickCount();
    EXPECT_EQ(-1, AskGameInfoNumber(L"update.example:27500/path", &number, c.timeout_ms, &cancel));
    EXPECT_LT(GetTickCount() - start, 2000u);
    EXPECT_EQ(0u, number);
    EXPECT_GT(stuck.entered(), entered);  // the resolver was asked, and is still stuck
    if (canceller.joinable())
      canceller.join();
  }
}

}  // namespace
