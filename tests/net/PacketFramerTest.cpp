// The framing of the patch-server protocol: packets come whole out of any split of the byte stream, a length
// field outside 4..8192 stops the stream, and the area reads as zero beyond each packet.
#include "net/PacketFramer.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <cstring>
#include <string>
#include <vector>

#include "tests/net/SocketEventRecorder.h"

namespace {

using net_testing::Packet;

// Feeds `pieces` in order, never giving more than the framer asks for, the way the socket reads. Returns the
// packets completed; `status` gets the framer's last status.
std::vector<std::string> Feed(PacketFramer& framer,
                              const std::vector<std::string>& pieces,
                              PacketFramer::Status* status = nullptr) {
  std::vector<std::string> packets;
  PacketFramer::Status last = framer.status();
  for (const std::string& piece : pieces) {
    size_t offset = 0;
    while (offset < piece.size() && last != PacketFramer::Status::kBadLength) {
      size_t count = std::min(framer.BytesWanted(), piece.size() - offset);
      memcpy(framer.WritePosition(), piece.data() + offset, count);
      offset += count;
      last = framer.Accept(count);
      if (last == PacketFramer::Status::kComplete) {
        packets.emplace_back(reinterpret_cast<const char*>(framer.packet()), framer.total_length());
        framer.Reset();
        last = framer.status();
      }
    }
  }
  if (status != nullptr)
    *status = last;
  return packets;
}

std::string Pattern(size_t size) {
  std::string bytes(size, '\0');
  for (size_t i = 0; i < size; ++i)
    bytes[i] = static_cast<char>(i * 7 + 1);
  return bytes;
}

TEST(PacketFramer, ReassemblesPacketsSplitAtEveryByte) {
  const std::vector<std::string> sent = {Packet(321, "\x01\0\0\0"), Packet(330, Pattern(300)), Packet(331)};
  std::string stream;
  for (const std::string& packet : sent)
    stream += packet;
  for (size_t split = 0; split <= stream.size(); ++split) {
    PacketFramer framer;
    EXPECT_EQ(sent, Feed(framer, {stream.substr(0, split), stream.substr(split)})) << "split at " << split;
  }
  std::vector<std::string> bytes;
  for (char byte : stream)
    bytes.emplace_back(1, byte);
  PacketFramer framer;
  EXPECT_EQ(sent, Feed(framer, bytes));
}

TEST(PacketFramer, LengthFieldOutsideFourTo8192StopsTheStream) {
  struct Case {
    unsigned length;
    bool valid;
  } cases[] = {{0, false}, {1, false},   {2, false},    {3, false},    {4, true},
               {5, true},  {8192, true}, {8193, false}, {65535, false}};
  for (const Case& c : cases) {
    std::string header;
    net_testing::AppendU16(&header, static_cast<uint16_t>(c.length));
    std::string stream = header + Pattern(c.length > 2 ? c.length - 2 : 0) + Packet(331);
    PacketFramer framer;
    PacketFramer::Status status;
    std::vector<std::string> packets = Feed(framer, {stream}, &status);
    if (c.valid) {
      ASSERT_EQ(2u, packets.size()) << c.length;
      EXPECT_EQ(c.length, packets[0].size());
      EXPECT_EQ(Packet(331), packets[1]);
    } else {
      EXPECT_TRUE(packets.empty()) << c.length;
      EXPECT_EQ(PacketFramer::Status::kBadLength, status) << c.length;
      EXPECT_EQ(0u, framer.BytesWanted()) << c.length;
    }
  }
}

TEST(PacketFramer, AreaReadsZeroBeyondEachPacket) {
  // Owners read a short reply's fields past its end; they must find zeros there, not an earlier packet.
  PacketFramer framer;
  Feed(framer, {Packet(330, Pattern(8000))});
  const std::string short_reply = Packet(302, "\x05");
  while (framer.BytesWanted() > 0) {
    size_t count = framer.BytesWanted();
    memcpy(framer.WritePosition(), short_reply.data() + framer.received(), count);
    framer.Accept(count);
  }
  ASSERT_EQ(PacketFramer::Status::kComplete, framer.status());
  const uint8_t* area = framer.packet();
  EXPECT_EQ(short_reply, std::string(reinterpret_cast<const char*>(area), short_reply.size()));
  EXPECT_TRUE(std::all_of(area + short_reply.size(), area + PacketFramer::kMaxPacketBytes,
                          [](uint8_t byte) { return byte == 0; }));
}

}  // namespace
