// Test helpers for the TCP client: records what the socket reports to its owner (on the reader thread) so
// that the test thread can wait for it, and builds and reads the protocol's packets.
#pragma once

#include <windows.h>

#include <chrono>
#include <condition_variable>
#include <cstdint>
#include <cstring>
#include <functional>
#include <mutex>
#include <string>
#include <vector>

#include "net/CClientSocket.h"

namespace net_testing {

struct RecordedEvent {
  int event;
  std::string packet;  // kSocketPacket: the packet's bytes, as long as its length field says
};

class SocketEventRecorder {
 public:
  // Runs on the reader thread after the event is recorded: a test may send, disconnect or delete from there.
  std::function<void(int event, const std::string& packet)> on_event;

  static void Callback(void* user, int event, void* data) {
    static_cast<SocketEventRecorder*>(user)->Record(event, static_cast<const uint8_t*>(data));
  }

  // Waits until at least `count` events are in; false after `timeout_ms`.
  bool WaitForCount(size_t count, unsigned timeout_ms = 5000) {
    std::unique_lock<std::mutex> hold(lock_);
    return changed_.wait_for(hold, std::chrono::milliseconds(timeout_ms),
                             [&] { return events_.size() >= count; });
  }
  // Waits until `event` has been reported; false after `timeout_ms`.
  bool WaitForEvent(int event, unsigned timeout_ms = 5000) {
    std::unique_lock<std::mutex> hold(lock_);
    return changed_.wait_for(hold, std::chrono::milliseconds(timeout_ms), [&] {
      for (const RecordedEvent& recorded : events_)
        if (recorded.event == event)
          return true;
      return false;
    });
  }
  std::vector<int> codes() {
    std::lock_guard<std::mutex> hold(lock_);
    std::vector<int> codes;
    for (const RecordedEvent& recorded : events_)
      codes.push_back(recorded.event);
    return codes;
  }
  std::vector<std::string> packets() {
    std::lock_guard<std::mutex> hold(lock_);
    std::vector<std::string> packets;
    for (const RecordedEvent& recorded : events_)
      if (recorded.event == kSocketPacket)
        packets.push_back(recorded.packet);
    return packets;
  }

 private:
  void Record(int event, const uint8_t* data) {
    RecordedEvent recorded{event, {}};
    if (event == kSocketPacket && data != nullptr)
      recorded.packet.assign(reinterpret_cast<const char*>(data), data[0] | data[1] << 8);
    {
      std::lock_guard<std::mutex> hold(lock_);
      events_.push_back(recorded);
    }
    changed_.notify_all();
    if (on_event)
      on_event(event, recorded.packet);
  }

  std::mutex lock_;
  std::condition_variable changed_;
  std::vector<RecordedEvent> events_;
};

inline void AppendU16(std::string* bytes, uint16_t value) {
  bytes->push_back(static_cast<char>(value & 0xFF));
  bytes->push_back(static_cast<char>(value >> 8));
}
inline void AppendI32(std::string* bytes, uint32_t value) {
  for (int shift = 0; shift < 32; shift += 8)
    bytes->push_back(static_cast<char>((value >> shift) & 0xFF));
}
inline std::string Packet(uint16_t type, const std::string& body = "") {
  std::string bytes;
  AppendU16(&bytes, static_cast<uint16_t>(4 + body.size()));
  AppendU16(&bytes, type);
  return bytes + body;
}
inline uint32_t ReadU32(const std::string& bytes, size_t offset) {
  uint32_t value = 0;
  if (offset + 4 <= bytes.size())
    memcpy(&value, bytes.data() + offset, 4);
  return value;
}
inline uint16_t PacketType(const std::string& packet) {
  return packet.size() >= 4 ? static_cast<uint16_t>(uint8_t(packet[2]) | uint8_t(packet[3]) << 8) : 0;
}
inline std::string SessionRequest() {
  std::string body;
  AppendI32(&body, 1);
  return Packet(320, body);
}
inline std::string VersionRequest(int32_t version,
                                  int32_t separate,
                                  int32_t updater,
                                  const std::wstring& product) {
  std::string body;
  AppendI32(&body, version);
  AppendI32(&body, separate);
  AppendI32(&body, updater);
  body.push_back(0);
  for (wchar_t unit : product + L'\0')
    AppendU16(&body, static_cast<uint16_t>(unit));
  return Packet(301, body);
}
inline bool SendAll(CClientSocket& socket, const std::string& packet) {
  return socket.Send(packet.data(), static_cast<int>(packet.size())) == static_cast<int>(packet.size());
}

}  // namespace net_testing
