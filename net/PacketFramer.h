// Reassembles one length-prefixed packet of the patch-server protocol from bytes that arrive in pieces of any
// size, without ever asking for a byte beyond the packet's end (so the next packet stays in the socket).
//
// Wire format of every packet:
//   offset 0  u16 little-endian  total length in bytes, counting this field itself
//   offset 2  total - 2 bytes    the rest of the packet (the protocol's u16 type and body)
// A total below 4 (no room for the type) or above 8192 (the size of the receive area) is a broken stream:
// the framer reports it and takes no more bytes until Reset.
//
// Use: read at most BytesWanted() bytes to WritePosition(), then Accept(count). Pure logic over the framer's
// own fixed area: no allocation, no system calls. Not thread-safe; one reader owns it.
#pragma once

#include <cstddef>
#include <cstdint>

class PacketFramer {
 public:
  static constexpr size_t kMaxPacketBytes = 8192;
  static constexpr size_t kMinPacketBytes = 4;
  static constexpr size_t kLengthFieldBytes = 2;

  enum class Status {
    kIncomplete,  // more bytes are wanted
    kComplete,    // packet() holds the whole packet
    kBadLength,   // the length field is below kMinPacketBytes or above kMaxPacketBytes
  };

  PacketFramer() = default;
  PacketFramer(const PacketFramer&) = delete;
  PacketFramer& operator=(const PacketFramer&) = delete;

  // True when a packet may carry `total_length` in its length field.
  static bool IsValidLength(size_t total_length) {
    return total_length >= kMinPacketBytes && total_length <= kMaxPacketBytes;
  }

  // Starts a new packet. Clears the bytes that the last packet wrote, so the whole area reads as zero again.
  void Reset();

  // How many bytes to read next: never more than what completes the length field or the packet; 0 once the
  // packet is complete or the length is bad.
  size_t BytesWanted() const;
  // Where the next bytes go; valid for BytesWanted() bytes.
  uint8_t* WritePosition() { return area_ + received_; }
  // Takes `count` bytes (at most BytesWanted()) just written at WritePosition().
  Status Accept(size_t count);

  Status status() const { return status_; }
  // Bytes of the current packet received so far.
  size_t received() const { return received_; }
  // The packet's total length once the length field is in (0 before).
  size_t total_length() const { return total_length_; }
  // The receive area: kMaxPacketBytes bytes, the packet first, zero after it.
  const uint8_t* packet() const { return area_; }
  uint8_t* packet() { return area_; }

 private:
  uint8_t area_[kMaxPacketBytes] = {};
  size_t received_ = 0;
  size_t total_length_ = 0;
  Status status_ = Status::kIncomplete;
};
