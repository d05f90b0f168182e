// The patch-server fixture speaks what the engine's and the launcher's tests rely on: the session, the
// version decision, a list cut into the chunks a test asks for, scripted list faults and the catalogue-folder
// number, each checked against an encoding written here independently of the server.
#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "net/CClientSocket.h"
#include "tests/net/SocketEventRecorder.h"
#include "tests/support/PatchServerProcess.h"
#include "tests/support/Timing.h"

namespace {

using namespace net_testing;
using testing_support::PatchServerProcess;
using testing_support::WaitUntil;

const char kHistory[] =
    R"({"product": "DEMO", "current_version": 5, "separate_status": 0, "updater_version": 1,
  "lists": {"0": [{"seq": 1, "kind": 1, "size": 10, "version": 5, "registered_version": 5, "crc": 1,
                   "name": "game.exe"}],
            "3": [{"seq": 1, "kind": 2, "size": 70000, "version": 5, "registered_version": 3,
                   "crc": 4294967295, "name": "bin\\a.dll"},
                  {"seq": 2, "kind": 6, "size": 0, "version": 5, "registered_version": 5, "crc": 0,
                   "name": "old.txt"}]}})";

std::string Entry(int32_t seq,
                  int32_t kind,
                  int32_t size,
                  int32_t version,
                  int32_t registered,
                  uint32_t crc,
                  const std::wstring& name) {
  std::string body;
  for (uint32_t field :
       {uint32_t(seq), uint32_t(kind), uint32_t(size), uint32_t(version), uint32_t(registered), crc})
    AppendI32(&body, field);
  for (wchar_t unit : name + L'\0')
    AppendU16(&body, static_cast<uint16_t>(unit));
  std::string entry;
  AppendU16(&entry, static_cast<uint16_t>(body.size()));
  return entry + body;
}

std::vector<std::string> LogLines(const std::string& log) {
  std::vector<std::string> lines;
  size_t start = 0;
  for (size_t end = log.find('\n'); end != std::string::npos; start = end + 1, end = log.find('\n', start))
    lines.push_back(log.substr(start, end - start));
  return lines;
}

size_t CountStartingWith(const std::vector<std::string>& lines, const char* prefix) {
  size_t count = 0;
  for (const std::string& line : lines)
    count += line.rfind(prefix, 0) == 0 ? 1 : 0;
  return count;
}

// One client session: connect, send `requests` one after the other as each answer comes in, and collect every
// event until `events` are in (at most 5 s).
std::vector<std::string> Exchange(PatchServerProcess& server,
                                  const std::vector<std::string>& requests,
                                  size_t events,
                                  SocketEventRecorder* recorder) {
  CClientSocket socket;
  size_t next = 0;
  recorder->on_event = [&](int event, const std::string&) {
    if ((event == kSocketConnected || event == kSocketPacket) && next < requests.size())
      SendAll(socket, requests[next++]);
  };
  socket.SetCallback(&SocketEventRecorder::Callback, recorder);
  if (socket.Connect(server.address().c_str(), server.port()) != kSocketOk)
    return {};
  recorder->WaitForCount(events, 5000);
  // The server notes "sent <packet>" once an answer is out. When it has answered the last request and the
  // client holds every packet it sent, nothing more is on its way: anything beyond what was expected has
  // arrived by then and shows as a wrong count.
  WaitUntil(5000, [&] {
    std::vector<std::string> lines = LogLines(server.ConnectionLog(1));
    return CountStartingWith(lines, "received ") >= requests.size() && !lines.empty() &&
           lines.back().rfind("received ", 0) != 0 &&
           CountStartingWith(lines, "sent ") <= recorder->packets().size();
  });
  socket.Disconnect();
  return recorder->packets();
}

TEST(PatchServer, ServesTheListForTheClientsVersionInTheChosenChunks) {
  PatchServerProcess server;
  ASSERT_TRUE(server.Start(R"({"list": {"chunks": [5, 3]}})", kHistory)) << server.log();
  const std::string requests = SessionRequest() + VersionRequest(3, 0, 1, L"DEMO");
  SocketEventRecorder recorder;
  std::vector<std::string> packets =
      Exchange(server, {SessionRequest(), VersionRequest(3, 0, 1, L"DEMO")}, 8, &recorder);
  ASSERT_EQ(7u, packets.size()) << server.log();
  EXPECT_EQ(Packet(321, std::string("\x01\0\0\0", 4)), packets[0]);
  EXPECT_EQ(302, PacketType(packets[1]));
  EXPECT_EQ(5u, ReadU32(packets[1], 4));
  EXPECT_EQ(0u, ReadU32(packets[1], 8));
  EXPECT_EQ(1u, ReadU32(packets[1], 12));
  EXPECT_EQ(303, PacketType(packets[2]));
  EXPECT_EQ(2u, ReadU32(packets[2], 4));
  const std::string list =
      Entry(1, 2, 70000, 5, 3, 0xFFFFFFFF, L"bin\\a.dll") + Entry(2, 6, 0, 5, 5, 0, L"old.txt");
  EXPECT_EQ(4 + list.size(), ReadU32(packets[3], 4));
  ASSERT_EQ(8u + 5u, packets[3].size());
  ASSERT_EQ(4u + 3u, packets[4].size());
  EXPECT_EQ(list, packets[3].substr(8) + packets[4].substr(4) + packets[5].substr(4));
  EXPECT_EQ(330, PacketType(packets[5]));
  EXPECT_EQ(Packet(331), packets[6]);
  EXPECT_EQ(requests, server.Received(1));
}

TEST(PatchServer, AnswersNothingToDoAtTheCurrentVersionAndOnlyTheVersionWhenAhead) {
  PatchServerProcess server;
  ASSERT_TRUE(server.Start("", kHistory)) << server.log();
  SocketEventRecorder at_current, ahead;
  std::vector<std::string> packets =
      Exchange(server, {SessionRequest(), VersionRequest(5, 0, 1, L"DEMO")}, 4, &at_current);
  ASSERT_EQ(3u, packets.size());
  EXPECT_EQ(Packet(312), packets[2]);
  packets = Exchange(server, {SessionRequest(), VersionRequest(6, 0, 1, L"DEMO")}, 3, &ahead);
  ASSERT_EQ(2u, packets.size());
  EXPECT_EQ(302, PacketType(packets[1]));
}

TEST(PatchServer, ScriptedListFaultsAreSentAsWritten) {
  PatchServerProcess server;
  ASSERT_TRUE(
      server.Start(R"({"version": {"current_version": 9, "updater_version": 4}, "after_version": "list",
    "list": {"count": 7, "total": 20, "entries": [{"seq": 3, "kind": 1, "size": 1, "version": 9,
             "registered_version": 9, "crc": 2, "name": "..\\x", "n": 10}]}})"))
      << server.log();
  SocketEventRecorder recorder;
  std::vector<std::string> packets =
      Exchange(server, {SessionRequest(), VersionRequest(9, 0, 1, L"OTHER")}, 6, &recorder);
  ASSERT_EQ(5u, packets.size()) << server.log();
  EXPECT_EQ(9u, ReadU32(packets[1], 4));
  EXPECT_EQ(4u, ReadU32(packets[1], 12));
  EXPECT_EQ(7u, ReadU32(packets[2], 4));
  EXPECT_EQ(20u, ReadU32(packets[3], 4));
  EXPECT_EQ(Entry(3, 1, 1, 9, 9, 2, L"..\\x").substr(0, 12).replace(0, 2, std::string("\x0a\0", 2)),
            packets[3].substr(8));
  EXPECT_EQ(Packet(331), packets[4]);
}

TEST(PatchServer, AnswersTheCatalogueFolderNumberOnTheLauncherPortAndItsScriptedFaults) {
  struct Case {
    const char* script;
    std::vector<std::string> packets;
  };
  std::string answer;
  AppendI32(&answer, 9);
  AppendI32(&answer, 7);
  const Case cases[] = {
      {"", {Packet(341, answer)}},
      {R"({"game_info_reply": {"type": 342}})", {Packet(342, answer)}},
      {R"({"game_info_reply": {"size": 8}})", {Packet(341, answer.substr(0, 4))}},
      {R"({"end": {"at": "game_info_request", "how": "close"}})", {}},
      {R"({"end": {"at": "game_info_request", "how": "stall"}})", {}},
  };
  for (const Case& c : cases) {
    PatchServerProcess server;
    ASSERT_TRUE(server.Start(c.script, "", {"--port", "27500", "--game-info-number", "30064771081"}));
    SocketEventRecorder recorder;
    CClientSocket socket;
    recorder.on_event = [&](int event, const std::string&) {
      if (event == kSocketConnected)
        SendAll(socket, Packet(340, std::string(1, '\0')));
    };
    socket.SetCallback(&SocketEventRecorder::Callback, &recorder);
    ASSERT_EQ(kSocketOk, socket.Connect(server.address().c_str()));
    ASSERT_TRUE(server.WaitForLogLine(1, "received 340")) << c.script;
    recorder.WaitForCount(1 + c.packets.size() + 1, 1000);
    EXPECT_EQ(c.packets, recorder.packets()) << c.script;
  }
}

}  // namespace
