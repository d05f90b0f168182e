// The plumbing that every server-backed test relies on: a fixture server comes up on its own loopback address,
// answers, and two of them can share one fixed port.
#include <winsock2.h>
#include <ws2tcpip.h>

#include <gtest/gtest.h>

#include "tests/support/FixtureServer.h"
#include "tests/support/GuardedBuffer.h"
#include "tests/support/Mutator.h"
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

TEST(GuardedBuffer, PlacesEveryInputToEndRightBeforeANoAccessPage) {
  GuardedBuffer buffer;
  for (size_t size : {size_t{0}, size_t{1}, size_t{4095}, size_t{4097}, size_t{200000}}) {
    const uint8_t* start = buffer.Place(std::string(size, 'x'));
    MEMORY_BASIC_INFORMATION after = {};
    ASSERT_NE(0u, VirtualQuery(start + size, &after, sizeof after));
    EXPECT_EQ(static_cast<DWORD>(PAGE_NOACCESS), after.Protect) << size;
    if (size != 0) {
      EXPECT_EQ('x', start[size - 1]);
    }
  }
  const wchar_t* text = buffer.PlaceText(L"abc");
  EXPECT_STREQ(L"abc", text);
}

TEST(Mutator, GivesTheSameInputsForTheSameSeedAndMakesEveryShapeAsked) {
  const std::vector<std::string> seeds = {Utf16Bytes(L"[A]\r\ncount=12\r\n", true)};
  Mutator first(7, Mutator::kText16);
  Mutator second(7, Mutator::kText16);
  bool odd = false, doubled_mark = false, long_run = false, number = false;
  for (int i = 0; i < 4000; ++i) {
    const std::string input = first.Mutate(seeds);
    ASSERT_EQ(input, second.Mutate(seeds));
    odd = odd || input.size() % 2 == 1;
    doubled_mark = doubled_mark || input.compare(0, 4, "\xFF\xFE\xFF\xFE") == 0;
    long_run = long_run || input.size() > 512;
    number = number || input.find(Utf16Bytes(L"2147483648")) != std::string::npos;
  }
  EXPECT_TRUE(odd && doubled_mark && long_run && number);
}

TEST(Mutator, RunsEveryPrefixOfShortSeedsBeforeTheMutations) {
  Mutator mutator(1);
  std::vector<std::string> prefixes;
  const FuzzTally tally = RunFuzzInputs("prefixes", mutator, {"abc"}, {}, 5, [&](const std::string& input) {
    if (prefixes.size() < 4)
      prefixes.push_back(input);
  });
  EXPECT_EQ((std::vector<std::string>{"", "a", "ab", "abc"}), prefixes);
  EXPECT_EQ(4 + FuzzIterations(5), tally.inputs);
}

}  // namespace
}  // namespace testing_support
