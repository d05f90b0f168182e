// Base of the TCP client: owns one Winsock socket, the peer's address and the receive area, and keeps Winsock
// started for its lifetime. The derived CClientSocket supplies how the socket is made, configured, read and
// written; this class connects to a stored address and closes.
//
// Results follow the socket family's own conventions (they are relied upon by its owners):
//   Create, SetOptions, Close            true done, false failed
//   ConnectAddress, Disconnect           kSocketOk (0) done, kSocketFailed (1) failed
//
// Locking: `lock_` (the socket lock) guards the socket handle's life (make, connect, close) and the reading
// of a packet; it is never held while an owner callback runs. The handle itself is atomic, so a thread that
// only looks at it (HasSocket, Send) never waits behind a slow read.
#pragma once

#include <winsock2.h>

#include <atomic>
#include <cstdint>

#include "base/CriticalSection.h"
#include "net/PacketFramer.h"

constexpr int kSocketOk = 0;
constexpr int kSocketFailed = 1;

// How reading one packet ended (CSocket::Receive).
enum class ReceiveResult {
  kPacket,          // a whole packet is in the framer
  kNothingWaiting,  // no byte was waiting; nothing was read
  kClosed,          // the peer closed or reset the connection, or reading failed; a part packet is dropped
  kBadLength,       // the packet's length field is outside 4..8192: the stream cannot be followed any more
  kStopped,         // the owner asked the reader to stop while a packet was only partly in
};

class CSocket {
 public:
  CSocket();
  // Closes the socket (resetting the connection) and releases Winsock.
  virtual ~CSocket();
  CSocket(const CSocket&) = delete;
  CSocket& operator=(const CSocket&) = delete;

  // Makes the socket when there is none.
  virtual bool Create() = 0;
  // Puts the socket into the mode the reader expects.
  virtual bool SetOptions() = 0;
  // Sends one whole packet of `length` bytes (1..8192); the number of bytes sent, 0 on failure.
  virtual int Send(const void* packet, int length) = 0;
  // Reads one packet into `framer`.
  virtual ReceiveResult Receive(PacketFramer& framer) = 0;
  // Starts connecting to `address` (under the socket lock). kSocketOk when the attempt is under way or done.
  virtual int ConnectAddress(const sockaddr_in& address);
  // Closes the socket. kSocketOk when closed or when there was nothing to close.
  virtual int Disconnect();

  // Under the socket lock: turns lingering off (so the close resets the connection at once instead of
  // draining it) and closes the socket. False when the close failed; the handle is then kept.
  bool Close();
  // True while a socket exists. An owner polls this: no socket means the last connection is over.
  bool HasSocket() const { return socket_.load() != INVALID_SOCKET; }

 protected:
  std::atomic<SOCKET> socket_{INVALID_SOCKET};
  char peer_ip_[16] = {};  // dotted IPv4 text, always terminated
  uint16_t peer_port_ = 0;
  sockaddr_in peer_address_ = {};
  PacketFramer receive_area_;  // the reader's packet, handed to the owner with the packet event
  CriticalSection lock_;       // the socket lock

 private:
  bool winsock_started_ = false;
};
