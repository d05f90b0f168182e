// The catalogue-folder version query against the patch-server fixture, which answers request 340 and can be
// scripted to answer wrongly, cut its reply, close or stay silent.
#include <windows.h>

#include <gtest/gtest.h>

#include "selfupdate/GameInfoVersion.h"
#include "tests/support/PatchServerProcess.h"

namespace {

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

}  // namespace
