// The plumbing that every server-backed test relies on: a fixture server comes up on its own loopback address,
// answers, and two of them can share one fixed port.
#include <winsock2.h>
#include <ws2tcpip.h>

#include <gtest/gtest.h>

#include "tests/support/FixtureServer.h"
#include "tests/support/TempFolder.h"
#include "tests/support/UnixCommand.h"
#include "tests/support/WinePaths.h"

namespace testing_support {
namespace {

std::string EchoThrough(const FixtureServer& server, const std::string& message) {
  SOCKET sock = socket(AF_INET, SOCK_STREAM, IPPROTO_TCP);
  sockaddr_in address = {};
  address.sin_family = AF_INET;
  address.sin_port = htons(server.port());
  inet_pton(AF_INET, server.address().c_str(), &address.sin_addr);
  std::string reply;
  if (connect(sock, reinterpret_cast<sockaddr*>(&address), sizeof address) == 0 &&
      send(sock, message.data(), static_cast<int>(message.size()), 0) == static_cast<int>(message.size())) {
    char buffer[256];
    while (reply.size() < message.size()) {
      int got = recv(sock, buffer, sizeof buffer, 0);
      if (got <= 0)
        break;
      reply.append(buffer, got);
    }
  }
  closesocket(sock);
  return reply;
}

class FixtureServerTest : public ::testing::Test {
 protected:
  void SetUp() override {
    WSADATA data;
    ASSERT_EQ(0, WSAStartup(MAKEWORD(2, 2), &data));
  }
  void TearDown() override { WSACleanup(); }
};

TEST_F(FixtureServerTest, TwoServersShareOneFixedPortOnDifferentLoopbackAddresses) {
  FixtureServer first, second;
  ASSERT_TRUE(first.Start("echo_server.py", {"--port", "27500"})) << first.log();
  ASSERT_TRUE(second.Start("echo_server.py", {"--port", "27500"})) << second.log();
  EXPECT_EQ(27500, first.port());
  EXPECT_NE(first.address(), second.address());
  EXPECT_EQ("hello", EchoThrough(first, "hello"));
  EXPECT_EQ("world", EchoThrough(second, "world"));
}

TEST(TempFolder, IsRemovedWithReadOnlyContent) {
  std::wstring kept;
  {
    TempFolder folder;
    kept = folder.path();
    ASSERT_TRUE(WriteFileBytes(folder.Join(L"a\\b\\c.txt"), "x"));
    SetFileAttributesW(folder.Join(L"a\\b\\c.txt").c_str(), FILE_ATTRIBUTE_READONLY | FILE_ATTRIBUTE_HIDDEN);
  }
  EXPECT_EQ(INVALID_FILE_ATTRIBUTES, GetFileAttributesW(kept.c_str()));
}

TEST(WinePaths, RoundTripThroughTheUnixSide) {
  if (!RunningUnderWine())
    GTEST_SKIP() << "not under Wine";
  TempFolder folder;
  std::string unix_path = UnixPathOf(folder.path());
  ASSERT_FALSE(unix_path.empty());
  EXPECT_EQ(0, _wcsicmp(folder.path().c_str(), WindowsPathOf(unix_path).c_str()));
}

TEST(UnixCommand, ReportsStatusAndOutputWithAwkwardQuoting) {
  if (!RunningUnderWine())
    GTEST_SKIP() << "not under Wine";
  std::string output;
  EXPECT_EQ(0, RunUnixCommand("printf '%s|' " + ShellQuote("it's \"quoted\" \\ here"), &output));
  EXPECT_EQ("it's \"quoted\" \\ here|", output);
  EXPECT_EQ(3, RunUnixCommand("exit 3"));
}

}  // namespace
}  // namespace testing_support
