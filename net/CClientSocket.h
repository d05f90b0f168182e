// The event-driven TCP client of the patch-server protocol, used by the update engine (patch server) and by
// the launcher (update host, port kLauncherPort). It connects without blocking, runs one reader thread that
// waits on socket events, reads the length-prefixed packets one at a time (framing: net/PacketFramer.h) and
// reports to one owner callback.
//
// Owner callback: void callback(void* user, int event, void* data), always on the reader thread, never with
// the socket lock held. Events (SocketEvent):
//   1 kSocketConnected  the connection is up. data null.
//   2 kSocketClosed     the peer closed or reset the connection, the attempt to connect failed, or reading
//                       failed. data null. Packets that arrived whole before the close are delivered first; a
//                       packet cut off by the close is dropped, never delivered.
//   3 kSocketPacket     one whole packet. data points to the 8192-byte receive area, which starts with the
//                       packet's u16 total length and is zero after the packet; valid only during the call.
//   4 kSocketBadPacket  the peer sent a length field below 4 or above 8192: the stream cannot be followed, so
//                       the connection is ended (reset). data null. An owner speaking the patch-server
//                       protocol takes it as a protocol error (the engine: UpdateErrorSessionRefused).
// Once Connect has started the reader, the connection ends with exactly one of events 2 and 4, unless the
// owner disconnects first (its own Disconnect brings no event). When the reader ends the connection on its
// own (2 or 4) it closes the socket right after that last callback returns, so HasSocket() false means that
// the reader is done with the connection.
//
// Threads: the reader thread runs the callback. Send may be called from any thread, inside the callback too.
// Disconnect may be called from any thread, inside the callback too; it never waits for the reader. Connect
// waits for the previous connection's reader to end, so it is refused (kSocketFailed) inside the callback.
// The destructor waits for the reader thread, except when it runs on the reader thread itself (the owner
// deletes the socket inside the callback): the reader then returns without touching the object. So, off the
// reader thread, neither Connect nor the destructor may be called while holding a lock the callback takes.
#pragma once

#include <winsock2.h>

#include <atomic>
#include <cstdint>

#include "base/ScopedHandle.h"
#include "net/CSocket.h"

enum SocketEvent {
  kSocketConnected = 1,
  kSocketClosed = 2,
  kSocketPacket = 3,
  kSocketBadPacket = 4,
};

using SocketCallback = void (*)(void* user, int event, void* data);

class CClientSocket : public CSocket {
 public:
  // The update host's port: the launcher's Connect(ip) always uses it.
  static constexpr uint16_t kLauncherPort = 27500;
  // Send and receive buffer size asked of the system, each way.
  static constexpr int kSystemBufferBytes = 81920;

  CClientSocket();
  // Stops and waits for the reader thread (see the threading rules above), then closes.
  ~CClientSocket() override;

  // Set right after construction, before Connect.
  void SetCallback(SocketCallback callback, void* user) {
    callback_ = callback;
    user_ = user;
  }

  // Starts connecting to `ip` (dotted IPv4 text) at `port` and starts the reader thread.
  // kSocketFailed at once, with no reader started and no event to follow, when `ip` is null, `port` is 0, a
  // socket still exists (Disconnect first), it is called on the reader thread, or the socket or thread cannot
  // be made. kSocketFailed also when the system refuses the attempt at once; the reader then still reports
  // kSocketClosed, as for any failed attempt. kSocketOk: the attempt is under way; kSocketConnected or
  // kSocketClosed follows.
  int Connect(const char* ip, uint16_t port);
  // The launcher's form: connects to `ip` at kLauncherPort.
  int Connect(const char* ip) { return Connect(ip, kLauncherPort); }

  // Tells the reader to stop (a reader that waits for the rest of a packet lets go at once), then closes the
  // socket, resetting the connection. Does not wait for the reader. kSocketOk when closed or nothing to
  // close, kSocketFailed when the close failed.
  int Disconnect() override;

  bool Create() override;
  bool SetOptions() override;
  int Send(const void* packet, int length) override;
  // Under the socket lock. Reads exactly one packet: stops after the packet's last byte. Between pieces of a
  // packet it waits in 1 ms steps, giving up when the stop event is set (kStopped) or the connection ends
  // (kClosed).
  ReceiveResult Receive(PacketFramer& framer) override;

 private:
  static unsigned __stdcall ReaderThreadEntry(void* self);
  unsigned RunReader();
  // Handles one wake-up of the network event; false when the reader must leave.
  bool OnNetworkEvents();
  // Reads one packet (FD_READ), or every packet still waiting and then the close (FD_CLOSE). False to leave.
  bool ReadPackets(bool peer_closed);
  // Ends the connection from the reader: the owner hears `event` (unless it disconnected already), then the
  // socket is closed. Always false (the reader leaves).
  bool EndConnection(int event);
  // Calls the owner; false when the owner destroyed this object inside the call.
  bool Notify(int event, void* data);
  // Waits for a previous reader thread to end and forgets it.
  void JoinReader();
  bool OnReaderThread() const;
  // Makes and configures the socket, starts the reader and the attempt to connect (under the socket lock).
  int StartConnecting();

  SocketCallback callback_ = nullptr;
  void* user_ = nullptr;
  UniqueHandle reader_thread_;
  std::atomic<DWORD> reader_thread_id_{0};
  std::atomic<bool> run_{false};               // cleared by Disconnect and the destructor
  std::atomic<bool> connect_failed_{false};    // the system refused the last attempt at once
  UniqueHandle stop_event_;                    // manual reset; set to stop the reader
  UniqueHandle network_event_;                 // manual reset; the socket's selected network events
  bool* destroyed_during_callback_ = nullptr;  // the reader's own flag; only the reader thread touches it
};
