// The TCP client against the scripted patch server: what the owner hears for each way a connection goes,
// how packets are cut out of the stream, and that stopping always returns.
#include "net/CClientSocket.h"

#include <gtest/gtest.h>

#include <atomic>
#include <memory>
#include <string>
#include <vector>

#include "tests/net/SocketEventRecorder.h"
#include "tests/support/PatchServerProcess.h"
#include "tests/support/Timing.h"

namespace {

using net_testing::Packet;
using net_testing::PacketType;
using net_testing::SendAll;
using net_testing::SessionRequest;
using net_testing::SocketEventRecorder;
using testing_support::PatchServerProcess;
using testing_support::WaitUntil;
using Events = std::vector<int>;

constexpr unsigned kPrompt = 2000;  // ms: far above a healthy stop, far below a hang
const std::string kAccepted = Packet(321, std::string("\x01\0\0\0", 4));

// Waits until the reader has ended the connection on its own: it closes the socket right after its last
// callback returns, so from then on no event can come, and a wrong extra one would be in the record already.
bool ReaderDone(CClientSocket& socket) {
  return WaitUntil(5000, [&] { return !socket.HasSocket(); });
}

// One scripted server and one client socket.
struct Session {
  // Starts the server with `script`, connects, waits for kSocketConnected and sends the session request (unless the
  // recorder's hook sends it).
  ::testing::AssertionResult Open(const std::string& script, bool send_request = true) {
    if (!server.Start(script))
      return ::testing::AssertionFailure() << "server: " << server.log();
    socket->SetCallback(&SocketEventRecorder::Callback, &recorder);
    if (socket->Connect(server.address().c_str(), server.port()) != kSocketOk)
      return ::testing::AssertionFailure() << "connect";
    if (!recorder.WaitForEvent(kSocketConnected))
      return ::testing::AssertionFailure() << "no kSocketConnected";
    if (send_request && !SendAll(*socket, SessionRequest()))
      return ::testing::AssertionFailure() << "send";
    return ::testing::AssertionSuccess();
  }

  PatchServerProcess server;
  SocketEventRecorder recorder;
  std::unique_ptr<CClientSocket> socket =
      std::make_unique<CClientSocket>();  // last: ends before the recorder
};

TEST(ClientSocket, RefusesBadArgumentsWithoutStartingAnything) {
  Session s;
  s.socket->SetCallback(&SocketEventRecorder::Callback, &s.recorder);
  EXPECT_EQ(kSocketFailed, s.socket->Connect(nullptr, 27500));
  EXPECT_EQ(kSocketFailed, s.socket->Connect("127.0.0.1", 0));
  EXPECT_FALSE(s.socket->HasSocket());
  std::string oversized(PacketFramer::kMaxPacketBytes + 1, '\0');
  EXPECT_EQ(0, s.socket->Send(oversized.data(), static_cast<int>(oversized.size())));
  EXPECT_EQ(0, s.socket->Send(nullptr, 8));
  s.socket.reset();  // waits for a reader, had one been started, so its events would be in
  EXPECT_TRUE(s.recorder.codes().empty());
}

TEST(ClientSocket, ExchangesPacketsAndTheServerGetsTheExactBytes) {
  Session s;
  ASSERT_TRUE(s.Open(""));
  ASSERT_TRUE(s.recorder.WaitForCount(2));
  EXPECT_EQ(kAccepted, s.recorder.packets().at(0));
  EXPECT_TRUE(s.server.WaitForLogLine(1, "sent session_reply"));
  EXPECT_EQ(SessionRequest(), s.server.Received(1));
}

// A port that nothing listens on: bound for a moment to learn a free one, never listened on.
uint16_t UnusedLoopbackPort() {
  SOCKET probe = socket(AF_INET, SOCK_STREAM, IPPROTO_TCP);
  sockaddr_in address = {};
  address.sin_family = AF_INET;
  address.sin_addr.s_addr = htonl(INADDR_LOOPBACK);
  int length = sizeof address;
  uint16_t port = 0;
  if (bind(probe, reinterpret_cast<sockaddr*>(&address), sizeof address) == 0 &&
      getsockname(probe, reinterpret_cast<sockaddr*>(&address), &length) == 0)
    port = ntohs(address.sin_port);
  closesocket(probe);
  return port;
}

// A refusal that comes back from the peer, and one that the system gives at once (the broadcast address,
// which unreadable address text also turns into) before any network event: one kSocketClosed either way.
TEST(ClientSocket, RefusedConnectionGivesExactlyOneClosedEventAndNoConnected) {
  for (bool refused_by_peer : {true, false}) {
    Session s;
    s.socket->SetCallback(&SocketEventRecorder::Callback, &s.recorder);
    // The socket's construction has started Winsock.
    const uint16_t port = UnusedLoopbackPort();
    ASSERT_NE(0, port);
    std::string address = refused_by_peer ? "127.0.0.1" : "255.255.255.255";
    EXPECT_EQ(refused_by_peer ? kSocketOk : kSocketFailed, s.socket->Connect(address.c_str(), port));
    ASSERT_TRUE(s.recorder.WaitForEvent(kSocketClosed)) << address;
    EXPECT_TRUE(ReaderDone(*s.socket)) << address;
    EXPECT_EQ(Events{kSocketClosed}, s.recorder.codes()) << address;
    EXPECT_FALSE(s.socket->HasSocket());
  }
}

TEST(ClientSocket, SeveralPacketsInOneSegmentGiveOnePacketEventEach) {
  Session s;
  ASSERT_TRUE(s.Open(R"({"together": true, "insert": [{"after": "session_reply", "type": 399},
                                                       {"after": "session_reply", "type": 312}]})"));
  ASSERT_TRUE(s.recorder.WaitForCount(4));
  EXPECT_EQ((std::vector<std::string>{kAccepted, Packet(399), Packet(312)}), s.recorder.packets());
}

TEST(ClientSocket, PacketSplitAcrossSegmentsIsReadWhole) {
  for (const char* cuts : {"[1]", "[2]", "[1, 3, 7]"}) {
    Session s;
    ASSERT_TRUE(s.Open(std::string(R"({"split": {"session_reply": )") + cuts + "}}"));
    ASSERT_TRUE(s.recorder.WaitForEvent(kSocketPacket)) << cuts;
    EXPECT_EQ(kAccepted, s.recorder.packets().at(0)) << cuts;
  }
}

TEST(ClientSocket, BadLengthFieldEndsTheConnectionWithTheBadPacketEvent) {
  for (unsigned length : {0u, 3u, 8193u, 65535u}) {
    Session s;
    ASSERT_TRUE(s.Open(R"({"length": {"session_reply": )" + std::to_string(length) + "}}"));
    ASSERT_TRUE(s.recorder.WaitForEvent(kSocketBadPacket)) << length;
    EXPECT_TRUE(s.server.WaitForLogLine(1, "client reset")) << length;
    // The reader closes the socket after it reported the bad packet; the server may see the reset first.
    EXPECT_TRUE(WaitUntil(5000, [&] { return !s.socket->HasSocket(); })) << length;
    EXPECT_EQ((Events{kSocketConnected, kSocketBadPacket}), s.recorder.codes()) << length;
  }
}

TEST(ClientSocket, DisconnectResetsTheConnectionAndReportsNothing) {
  Session s;
  ASSERT_TRUE(s.Open(""));
  ASSERT_TRUE(s.recorder.WaitForCount(2));
  EXPECT_EQ(kSocketOk, s.socket->Disconnect());
  EXPECT_FALSE(s.socket->HasSocket());
  EXPECT_TRUE(s.server.WaitForLogLine(1, "client reset")) << s.server.ConnectionLog(1);
  s.socket.reset();  // waits for the reader: whatever it would still report is in the record then
  EXPECT_EQ((Events{kSocketConnected, kSocketPacket}), s.recorder.codes());
}

TEST(ClientSocket, PacketsThatArriveJustBeforeTheCloseAreDeliveredFirst) {
  Session s;
  // The reader is kept busy until the answer and the reset are both in, so that it hears of them at once.
  s.recorder.on_event = [&](int event, const std::string&) {
    if (event == kSocketConnected) {
      SendAll(*s.socket, SessionRequest());
      s.server.WaitForLogLine(1, "closed");  // the answer and the reset are out
    }
  };
  ASSERT_TRUE(s.Open(R"({"together": true, "insert": [{"after": "session_reply", "type": 312}],
                         "end": {"at": "inserted312", "how": "reset"}})",
                     false));
  ASSERT_TRUE(s.recorder.WaitForEvent(kSocketClosed));
  EXPECT_TRUE(ReaderDone(*s.socket));
  EXPECT_EQ((Events{kSocketConnected, kSocketPacket, kSocketPacket, kSocketClosed}), s.recorder.codes());
  EXPECT_FALSE(s.socket->HasSocket());
}

TEST(ClientSocket, PacketCutOffByTheCloseIsDroppedAndTheCloseReported) {
  for (const char* how : {"close", "reset"}) {
    Session s;
    ASSERT_TRUE(
        s.Open(std::string(R"({"end": {"at": "session_reply", "bytes": 5, "how": ")") + how + "\"}}"));
    ASSERT_TRUE(s.recorder.WaitForEvent(kSocketClosed)) << how;
    EXPECT_TRUE(ReaderDone(*s.socket)) << how;
    EXPECT_EQ((Events{kSocketConnected, kSocketClosed}), s.recorder.codes()) << how;
  }
}

// A silent server, and one that stops in the middle of a packet (the reader then waits for the rest):
// stopping the socket, by Disconnect or by deleting it, returns at once either way.
TEST(ClientSocket, DisconnectAndDestructorReturnPromptlyWhenTheServerStalls) {
  struct Stall {
    const char* script;
    const char* logged;  // the server's note once it stalls: the half packet (if any) is out
  } stalls[] = {
      {R"({"end": {"at": "session_request", "how": "stall"}})", "end stall at session_request"},
      {R"({"end": {"at": "session_reply", "bytes": 3, "how": "stall"}})", "end stall at session_reply"}};
  for (const Stall& stall_case : stalls) {
    const char* stall = stall_case.script;
    for (bool disconnect_first : {true, false}) {
      Session s;
      ASSERT_TRUE(s.Open(stall));
      ASSERT_TRUE(s.server.WaitForLogLine(1, "received 320"));
      ASSERT_TRUE(s.server.WaitForLogLine(1, stall_case.logged));
      ULONGLONG start = GetTickCount64();
      if (disconnect_first) {
        EXPECT_EQ(kSocketOk, s.socket->Disconnect());
      }
      s.socket.reset();
      EXPECT_LT(GetTickCount64() - start, kPrompt) << stall;
      EXPECT_EQ(Events{kSocketConnected}, s.recorder.codes()) << stall;
    }
  }
}

TEST(ClientSocket, DisconnectFromInsideTheCallbackEndsTheReaderWithoutFurtherEvents) {
  Session s;
  std::atomic<int> disconnect_result{-1};
  s.recorder.on_event = [&](int event, const std::string&) {
    if (event == kSocketPacket && disconnect_result < 0) {
      disconnect_result = s.socket->Disconnect();
      // Connect would have to wait for this very thread.
      EXPECT_EQ(kSocketFailed, s.socket->Connect(s.server.address().c_str(), s.server.port()));
    }
  };
  ASSERT_TRUE(s.Open(R"({"together": true, "insert": [{"after": "session_reply", "type": 399}]})"));
  ASSERT_TRUE(s.server.WaitForLogLine(1, "client reset"));
  s.socket.reset();  // waits for the reader: whatever it would still report is in the record then
  EXPECT_EQ(kSocketOk, disconnect_result.load());
  EXPECT_EQ((Events{kSocketConnected, kSocketPacket}), s.recorder.codes());
}

TEST(ClientSocket, DeletingTheSocketFromInsideTheCallbackReturns) {
  Session s;
  std::atomic<bool> deleted{false};
  s.recorder.on_event = [&](int event, const std::string&) {
    if (event == kSocketPacket) {
      s.socket.reset();
      deleted = true;
    }
  };
  ASSERT_TRUE(s.Open(""));
  ASSERT_TRUE(s.server.WaitForLogLine(1, "client reset")) << "the delete did not return";
  EXPECT_TRUE(deleted.load());
}

TEST(ClientSocket, ConnectsAgainAfterDisconnect) {
  Session s;
  ASSERT_TRUE(s.Open(""));
  ASSERT_TRUE(s.recorder.WaitForCount(2));
  ASSERT_EQ(kSocketOk, s.socket->Disconnect());
  ASSERT_EQ(kSocketOk, s.socket->Connect(s.server.address().c_str(), s.server.port()));
  ASSERT_TRUE(s.recorder.WaitForCount(3));
  ASSERT_TRUE(SendAll(*s.socket, SessionRequest()));
  ASSERT_TRUE(s.recorder.WaitForCount(4));
  EXPECT_EQ((Events{kSocketConnected, kSocketPacket, kSocketConnected, kSocketPacket}), s.recorder.codes());
  EXPECT_EQ(SessionRequest(), s.server.Received(2));
}

}  // namespace
