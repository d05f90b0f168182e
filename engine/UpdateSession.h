// UpdateSession: the session of one engine object with the patch server: host resolution, connect, the socket's
// events, the packets of the protocol (wire format: engine/SessionProtocol.h), the version decision, the list,
// and the end.
//
// States: not started -> connecting (Start) -> connected (kSessionRequest sent) -> accepted (kSessionReply;
// version request sent) -> version known (kVersionReply) -> counted (kCountReply) -> receiving the list
// (kListChunk...) -> list complete (kListEnd: finished, disconnected, worker started); or nothing to do
// (kNothingToDo: finished, disconnected, UpdateEventCompleted); or refused, version error or protocol error
// (UpdateErrorSessionRefused and the owner's StopUpdate); or connection lost before the end
// (UpdateErrorConnectionLost). The finished flag keeps UpdateErrorConnectionLost away when the engine closes the
// connection itself. A new start on the same object begins again at "not started" (BeginSession).
//
// Threads: BeginSession, Start, Finish, WaitForClosedSession and ReleaseSocket run on the caller's thread;
// every socket event is handled on the socket reader thread. State: the finished flag, the patch server's
// address, the socket and the list-receive buffer, all under the engine lock (UpdaterContext::lock, which also
// states the lock order).
// The reader thread holds that lock for the whole handling of an event, the caller's callback included. The
// worker is started only after the socket is disconnected, so packet handling and the worker never run at the
// same time within one session.
#pragma once

#include <atomic>
#include <cstdint>
#include <memory>
#include <vector>

#include "engine/SessionProtocol.h"
#include "engine/UpdaterContext.h"
#include "net/CClientSocket.h"

// What the session asks of the object that owns it. Both are called on the socket reader thread with the
// engine lock held.
class SessionOwner {
 public:
  // The list is complete and queued, the connection closed: start the worker.
  virtual void OnSessionListComplete() = 0;
  // The session ended with an error (already reported): end the run.
  virtual void OnSessionFailed() = 0;

 protected:
  ~SessionOwner() = default;
};

class UpdateSession {
 public:
  UpdateSession(UpdaterContext& context, SessionOwner& owner);
  ~UpdateSession();
  UpdateSession(const UpdateSession&) = delete;
  UpdateSession& operator=(const UpdateSession&) = delete;

  // Copies the patch server's address from the caller's parameters (bounded and terminated).
  void SetServer(const UpdaterParams& params);

  // Resolves the patch server's host name when no IP is given and starts the connection unless the port is 0
  // or 65535 (then there is no session: nothing happens). False when the host cannot be resolved or the socket
  // cannot be made; a connection that fails shows up as socket event kSocketClosed.
  bool Start();
  // The start of a new session on the same object, with the engine lock held: clears the finished flag and
  // the list of the previous one, and takes the patch server's address as the caller gave it again (a host
  // name is resolved at every start). False, changing nothing, while a connection is open.
  bool BeginSession();
  // Sets the finished flag and closes the connection, once. Any thread but the reader's. It holds whenever
  // it comes: a session finished before its connection is made makes none, and one whose connection is
  // made afterwards hears nothing from it.
  void Finish();
  // Waits until the previous session's connection is closed (its reader thread then ends).
  void WaitForClosedSession() const;
  // Takes the socket away under the engine lock and destroys it outside it (its destructor joins the reader
  // thread, which takes that lock and then finds no socket). Before the object goes.
  void ReleaseSocket();

  // The socket's owner callback (`user` is the session), on the socket reader thread: takes the engine lock
  // for the whole handling, callback included. kSocketConnected: sends the session request; kSocketClosed:
  // UpdateErrorConnectionLost unless the session is finished; kSocketPacket: OnPacket; kSocketBadPacket (a
  // length field the stream cannot follow): UpdateErrorSessionRefused. An event that arrives after the
  // session's connection was closed by the engine is ignored.
  static void OnSocketEvent(void* user, int event, void* data);
  // Handles one packet from the server (`packet`: the socket's kMaxPacketBytes receive area). Called with the
  // engine lock held. 0 handled or ignored; 1 null, the session ended with an error (refused, older server, a
  // failed fold, a bad length, chunk, total or entry, an unsafe name), or a list end that does not match the
  // total (then nothing else happens).
  int OnPacket(const void* packet);

  bool finished() const { return finished_ != 0; }
  // Tests that assert that nothing more happens wait on these instead of a fixed time. Closed: no connection
  // is open and no socket event is being handled (takes the engine lock, so not from inside the callback).
  bool ConnectionClosed() const;
  // Packets from the server whose handling has ended.
  int packets_handled() const { return packets_handled_.load(); }
  const char* patch_server_ip() const { return patch_server_ip_; }
  uint16_t patch_server_port() const { return patch_server_port_; }
  const char* patch_server_host() const { return patch_server_host_; }

 private:
  bool ResolvePatchServer();
  // Makes the socket at the first start and starts connecting. Called without the engine lock: Connect waits
  // for the previous connection's reader thread, which takes that lock.
  bool ConnectSession();
  void HandleSocketEvent(int event, const void* data);
  void SendPacket(const uint8_t* packet, size_t length);
  void SendSessionRequest();
  void SendVersionRequest();
  int OnVersionReply(const session_protocol::Packet& packet);
  bool FoldSeparatedInstallation();
  void OnFileCount(int32_t count);
  void OnNothingToDo();
  int OnListChunk(const session_protocol::Packet& packet);
  int OnListEnd();
  void DropList();
  // A protocol error: UpdateErrorSessionRefused, then the owner ends the run.
  void EndSessionWithError();
  void DisconnectSession();
  bool SessionConnectionOpen() const;

  UpdaterContext& context_;
  SessionOwner& owner_;
  // The session's TCP client, owned, with OnSocketEvent as its owner callback; made at the first start that
  // connects. Set and cleared under the engine lock.
  std::unique_ptr<CClientSocket> socket_;
  // The session with the server is over. Set by Finish and by the session's end; cleared by BeginSession.
  int finished_ = 0;
  // The IP text as the caller gave it, and the address of the current session (that text, or the host name
  // resolved at the start).
  char given_patch_server_ip_[16] = {};
  char patch_server_ip_[16] = {};
  uint16_t patch_server_port_ = 0;
  char patch_server_host_[100] = {};
  // The list as it arrives from the server: the list bytes so far, the announced total (0 until the first
  // chunk), the list bytes received.
  std::vector<uint8_t> list_buffer_;
  uint32_t list_total_ = 0;
  uint32_t list_received_ = 0;
  std::atomic<int> packets_handled_{0};
};
