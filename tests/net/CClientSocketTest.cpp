// The TCP client against the scripted patch server: what the owner hears for each way a connection goes,
// how packets are cut out of the stream, and that stopping always returns.
#include "net/CClientSocket.h"

#include <gtest/gtest.h>

#include <atomic>
#include <memory>
#include <string>
#include <vector>

#include "tests/net/PatchServerProcess.h"
#include "tests/net/SocketEventRecorder.h"

namespace {

using net_testing::PacketType;
using net_testing::PatchServerProcess;
using net_testing::SendAll;
using net_testing::SessionRequest;
using net_testing::SocketEventRecorder;

constexpr unsigned kPrompt = 2000;  // ms: far above a healthy stop, far below a hang

class ClientSocketTest : public ::testing::Test {
 protected:
  void StartServer(const std::string& script = "") { ASSERT_TRUE(server_.Start(script)) << server_.log(); }
  void Connect(CClientSocket& socket, SocketEventRecorder& recorder) {
    socket.SetCallback(&SocketEventRecorder::Callback, &recorder);
    ASSERT_EQ(kSocketOk, socket.Connect(server_.address().c_str(), server_.port()));
    ASSERT_TRUE(recorder.WaitForEvent(kSocketConnected)) << server_.log();
  }
  // Connects and sends the session request; the server's answer follows as the script says.
  void ConnectAndRequestSession() {
    Connect(socket_, recorder_);
    ASSERT_TRUE(SendAll(socket_, SessionRequest()));
  }
  // Gives a wrong extra event time to show up.
  static void Settle() { Sleep(300); }

  PatchServerProcess server_;
  SocketEventRecorder recorder_;
  CClientSocket socket_;  // last, so it ends (and its reader with it) before the recorder
};

TEST_F(ClientSocketTest, RefusesBadArgumentsWithoutStartingAnything) {
  socket_.SetCallback(&SocketEventRecorder::Callback, &recorder_);
  EXPECT_EQ(kSocketFailed, socket_.Connect(nullptr, 27500));
  EXPECT_EQ(kSocketFailed, socket_.Connect("127.0.0.1", 0));
  EXPECT_FALSE(socket_.HasSocket());
  std::string oversized(PacketFramer::kMaxPacketBytes + 1, '\0');
  EXPECT_EQ(0, socket_.Send(oversized.data(), static_cast<int>(oversized.size())));
  EXPECT_EQ(0, socket_.Send(nullptr, 8));
  Settle();
  EXPECT_TRUE(recorder_.codes().empty());
}

TEST_F(ClientSocketTest, ExchangesPacketsAndTheServerGetsTheExactBytes) {
  StartServer();
  ConnectAndRequestSession();
  ASSERT_TRUE(recorder_.WaitForCount(2));
  EXPECT_EQ(net_testing::Packet(321, std::string("\x01\0\0\0", 4)), recorder_.packets().at(0));
  EXPECT_TRUE(server_.WaitForLogLine(1, "sent session_reply"));
  EXPECT_EQ(SessionRequest(), server_.Received(1));
}

TEST_F(ClientSocketTest, RefusedConnectionGivesExactlyOneClosedEventAndNoConnected) {
  StartServer();
  std::string address = server_.address();
  unsigned short port = server_.port();
  server_.Stop();  // nothing listens there any more
  socket_.SetCallback(&SocketEventRecorder::Callback, &recorder_);
  socket_.Connect(address.c_str(), port);
  ASSERT_TRUE(recorder_.WaitForEvent(kSocketClosed));
  Settle();
  EXPECT_EQ(std::vector<int>{kSocketClosed}, recorder_.codes());
  EXPECT_FALSE(socket_.HasSocket());
}

TEST_F(ClientSocketTest, AttemptRefusedAtOnceStillEndsWithOneClosedEvent) {
  // The broadcast address (what unreadable address text turns into) is refused by the system at once, before
  // any network event; the owner must still hear that the attempt failed.
  socket_.SetCallback(&SocketEventRecorder::Callback, &recorder_);
  EXPECT_EQ(kSocketFailed, socket_.Connect("255.255.255.255", 27500));
  ASSERT_TRUE(recorder_.WaitForEvent(kSocketClosed));
  Settle();
  EXPECT_EQ(std::vector<int>{kSocketClosed}, recorder_.codes());
  EXPECT_FALSE(socket_.HasSocket());
}

TEST_F(ClientSocketTest, SeveralPacketsInOneSegmentGiveOnePacketEventEach) {
  StartServer(
      R"({"together": true, "insert": [{"after": "session_reply", "type": 399}, {"after": "session_reply",
                 "type": 312}]})");
  ConnectAndRequestSession();
  ASSERT_TRUE(recorder_.WaitForCount(4));
  std::vector<std::string> packets = recorder_.packets();
  ASSERT_EQ(3u, packets.size());
  EXPECT_EQ(321, PacketType(packets[0]));
  EXPECT_EQ(net_testing::Packet(399), packets[1]);
  EXPECT_EQ(net_testing::Packet(312), packets[2]);
}

TEST_F(ClientSocketTest, PacketSplitAcrossSegmentsIsReadWhole) {
  for (const char* cuts : {"[1]", "[2]", "[1, 3, 7]"}) {
    PatchServerProcess server;
    ASSERT_TRUE(server.Start(std::string(R"({"split": {"session_reply": )") + cuts + "}}")) << server.log();
    SocketEventRecorder recorder;
    CClientSocket socket;
    socket.SetCallback(&SocketEventRecorder::Callback, &recorder);
    ASSERT_EQ(kSocketOk, socket.Connect(server.address().c_str(), server.port()));
    ASSERT_TRUE(recorder.WaitForEvent(kSocketConnected));
    ASSERT_TRUE(SendAll(socket, SessionRequest()));
    ASSERT_TRUE(recorder.WaitForEvent(kSocketPacket)) << cuts;
    EXPECT_EQ(net_testing::Packet(321, std::string("\x01\0\0\0", 4)), recorder.packets().at(0)) << cuts;
  }
}

TEST_F(ClientSocketTest, BadLengthFieldEndsTheConnectionWithTheBadPacketEvent) {
  for (unsigned length : {0u, 3u, 8193u, 65535u}) {
    PatchServerProcess server;
    ASSERT_TRUE(server.Start(R"({"length": {"session_reply": )" + std::to_string(length) + "}}"))
        << server.log();
    SocketEventRecorder recorder;
    CClientSocket socket;
    socket.SetCallback(&SocketEventRecorder::Callback, &recorder);
    ASSERT_EQ(kSocketOk, socket.Connect(server.address().c_str(), server.port()));
    ASSERT_TRUE(recorder.WaitForEvent(kSocketConnected));
    ASSERT_TRUE(SendAll(socket, SessionRequest()));
    ASSERT_TRUE(recorder.WaitForEvent(kSocketBadPacket)) << length;
    EXPECT_TRUE(server.WaitForLogLine(1, "client reset")) << length;
    EXPECT_FALSE(socket.HasSocket());
    EXPECT_EQ((std::vector<int>{kSocketConnected, kSocketBadPacket}), recorder.codes()) << length;
  }
}

TEST_F(ClientSocketTest, DisconnectResetsTheConnectionAndReportsNothing) {
  StartServer();
  ConnectAndRequestSession();
  ASSERT_TRUE(recorder_.WaitForCount(2));
  EXPECT_EQ(kSocketOk, socket_.Disconnect());
  EXPECT_FALSE(socket_.HasSocket());
  EXPECT_TRUE(server_.WaitForLogLine(1, "client reset")) << server_.ConnectionLog(1);
  Settle();
  EXPECT_EQ((std::vector<int>{kSocketConnected, kSocketPacket}), recorder_.codes());
}

TEST_F(ClientSocketTest, PacketsThatArriveJustBeforeTheCloseAreDeliveredFirst) {
  StartServer(R"({"together": true, "insert": [{"after": "session_reply", "type": 312}],
                 "end": {"at": "inserted312", "how": "reset"}})");
  // The reader is kept busy until the answer and the close are both in, so that it hears of them at once.
  recorder_.on_event = [&](int event, const std::string&) {
    if (event == kSocketConnected) {
      SendAll(socket_, SessionRequest());
      server_.WaitForLogLine(1, "end reset at inserted312");
      Sleep(100);
    }
  };
  Connect(socket_, recorder_);
  ASSERT_TRUE(recorder_.WaitForEvent(kSocketClosed));
  Settle();
  EXPECT_EQ((std::vector<int>{kSocketConnected, kSocketPacket, kSocketPacket, kSocketClosed}),
            recorder_.codes());
  EXPECT_FALSE(socket_.HasSocket());
}

TEST_F(ClientSocketTest, PacketCutOffByTheCloseIsDroppedAndTheCloseReported) {
  for (const char* how : {"close", "reset"}) {
    PatchServerProcess server;
    ASSERT_TRUE(
        server.Start(std::string(R"({"end": {"at": "session_reply", "bytes": 5, "how": ")") + how + "\"}}"));
    SocketEventRecorder recorder;
    CClientSocket socket;
    socket.SetCallback(&SocketEventRecorder::Callback, &recorder);
    ASSERT_EQ(kSocketOk, socket.Connect(server.address().c_str(), server.port()));
    ASSERT_TRUE(recorder.WaitForEvent(kSocketConnected));
    ASSERT_TRUE(SendAll(socket, SessionRequest()));
    ASSERT_TRUE(recorder.WaitForEvent(kSocketClosed)) << how;
    Settle();
    EXPECT_EQ((std::vector<int>{kSocketConnected, kSocketClosed}), recorder.codes()) << how;
  }
}

// A silent server, and one that stops in the middle of a packet (the reader then waits for the rest):
// stopping the socket, by Disconnect or by deleting it, returns at once either way.
TEST_F(ClientSocketTest, DisconnectAndDestructorReturnPromptlyWhenTheServerStalls) {
  const char* stalls[] = {R"({"end": {"at": "session_request", "how": "stall"}})",
                          R"({"end": {"at": "session_reply", "bytes": 3, "how": "stall"}})"};
  for (const char* stall : stalls) {
    for (bool disconnect_first : {true, false}) {
      PatchServerProcess server;
      ASSERT_TRUE(server.Start(stall)) << server.log();
      SocketEventRecorder recorder;
      auto socket = std::make_unique<CClientSocket>();
      socket->SetCallback(&SocketEventRecorder::Callback, &recorder);
      ASSERT_EQ(kSocketOk, socket->Connect(server.address().c_str(), server.port()));
      ASSERT_TRUE(recorder.WaitForEvent(kSocketConnected));
      ASSERT_TRUE(SendAll(*socket, SessionRequest()));
      ASSERT_TRUE(server.WaitForLogLine(1, "received 320"));
      Sleep(200);  // the half packet is in, and the reader waits for the rest
      ULONGLONG start = GetTickCount64();
      if (disconnect_first) {
        EXPECT_EQ(kSocketOk, socket->Disconnect());
      }
      socket.reset();
      EXPECT_LT(GetTickCount64() - start, kPrompt) << stall;
      EXPECT_EQ(std::vector<int>{kSocketConnected}, recorder.codes()) << stall;
    }
  }
}

TEST_F(ClientSocketTest, DisconnectFromInsideTheCallbackEndsTheReaderWithoutFurtherEvents) {
  StartServer(R"({"together": true, "insert": [{"after": "session_reply", "type": 399}]})");
  std::atomic<int> disconnect_result{-1};
  recorder_.on_event = [&](int event, const std::string&) {
    if (event == kSocketPacket && disconnect_result < 0) {
      disconnect_result = socket_.Disconnect();
      EXPECT_EQ(kSocketFailed,
                socket_.Connect(server_.address().c_str(), server_.port()));  // would wait for itself
    }
  };
  ConnectAndRequestSession();
  ASSERT_TRUE(server_.WaitForLogLine(1, "client reset"));
  Settle();
  EXPECT_EQ(kSocketOk, disconnect_result.load());
  EXPECT_EQ((std::vector<int>{kSocketConnected, kSocketPacket}), recorder_.codes());
}

TEST_F(ClientSocketTest, DeletingTheSocketFromInsideTheCallbackReturns) {
  StartServer();
  SocketEventRecorder recorder;
  CClientSocket* socket = new CClientSocket;
  std::atomic<bool> deleted{false};
  recorder.on_event = [&](int event, const std::string&) {
    if (event == kSocketPacket) {
      delete socket;
      deleted = true;
    }
  };
  Connect(*socket, recorder);
  ASSERT_TRUE(SendAll(*socket, SessionRequest()));
  ASSERT_TRUE(server_.WaitForLogLine(1, "client reset")) << "the delete did not return";
  EXPECT_TRUE(deleted.load());
}

TEST_F(ClientSocketTest, ConnectsAgainAfterDisconnect) {
  StartServer();
  ConnectAndRequestSession();
  ASSERT_TRUE(recorder_.WaitForCount(2));
  ASSERT_EQ(kSocketOk, socket_.Disconnect());
  ASSERT_EQ(kSocketOk, socket_.Connect(server_.address().c_str(), server_.port()));
  ASSERT_TRUE(recorder_.WaitForCount(3));
  ASSERT_TRUE(SendAll(socket_, SessionRequest()));
  ASSERT_TRUE(recorder_.WaitForCount(4));
  EXPECT_EQ((std::vector<int>{kSocketConnected, kSocketPacket, kSocketConnected, kSocketPacket}),
            recorder_.codes());
  EXPECT_EQ(SessionRequest(), server_.Received(2));
}

}  // namespace
