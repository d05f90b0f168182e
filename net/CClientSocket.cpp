#include "net/CClientSocket.h"

#include <process.h>

#include <cstring>
#include <mutex>

CClientSocket::CClientSocket()
    : stop_event_(CreateEventW(nullptr, TRUE, FALSE, nullptr)),
      network_event_(CreateEventW(nullptr, TRUE, FALSE, nullptr)) {}

CClientSocket::~CClientSocket() {
  run_.store(false);
  if (stop_event_)
    SetEvent(stop_event_.get());
  if (reader_thread_) {
    if (OnReaderThread()) {
      // The owner deletes us from inside its callback: waiting here would wait for this very thread. The
      // reader sees the flag when the callback returns and leaves without touching the object.
      if (destroyed_during_callback_ != nullptr)
        *destroyed_during_callback_ = true;
    } else {
      WaitForSingleObject(reader_thread_.get(), INFINITE);
    }
  }
}

bool CClientSocket::OnReaderThread() const {
  return reader_thread_ && reader_thread_id_.load() == GetCurrentThreadId();
}

int CClientSocket::Connect(const char* ip, uint16_t port) {
  if (ip == nullptr || port == 0 || OnReaderThread() || HasSocket() || !stop_event_ || !network_event_)
    return kSocketFailed;
  JoinReader();
  std::lock_guard<CriticalSection> hold(lock_);
  strncpy(peer_ip_, ip, sizeof peer_ip_ - 1);
  peer_ip_[sizeof peer_ip_ - 1] = '\0';
  peer_port_ = port;
  return StartConnecting();
}

int CClientSocket::StartConnecting() {
  if (!Create())
    return kSocketFailed;
  ResetEvent(network_event_.get());
  // Read and close are selected from the start, so that data or a close that follows the connection at once
  // is never missed between two selections.
  if (!SetOptions() ||
      WSAEventSelect(socket_.load(), network_event_.get(), FD_CONNECT | FD_READ | FD_CLOSE) != 0) {
    Close();
    return kSocketFailed;
  }
  connect_failed_.store(false);
  run_.store(true);
  ResetEvent(stop_event_.get());
  unsigned thread_id = 0;
  // Started suspended so that its id is known before it can call the owner.
  HANDLE thread = reinterpret_cast<HANDLE>(
      _beginthreadex(nullptr, 0, &CClientSocket::ReaderThreadEntry, this, CREATE_SUSPENDED, &thread_id));
  if (thread == nullptr) {
    run_.store(false);
    Close();
    return kSocketFailed;
  }
  reader_thread_.reset(thread);
  reader_thread_id_.store(thread_id);
  ResumeThread(thread);

  peer_address_ = {};
  peer_address_.sin_family = AF_INET;
  peer_address_.sin_port = htons(peer_port_);
  peer_address_.sin_addr.s_addr = inet_addr(peer_ip_);
  if (ConnectAddress(peer_address_) == kSocketOk)
    return kSocketOk;
  // No FD_CONNECT will come for an attempt refused at once; the reader reports it as any failed attempt.
  connect_failed_.store(true);
  SetEvent(network_event_.get());
  return kSocketFailed;
}

int CClientSocket::Disconnect() {
  // Stop the reader first: a reader waiting for the rest of a packet holds the socket lock, which the close
  // below needs.
  run_.store(false);
  if (stop_event_)
    SetEvent(stop_event_.get());
  return CSocket::Disconnect();
}

void CClientSocket::JoinReader() {
  if (!reader_thread_)
    return;
  run_.store(false);
  SetEvent(stop_event_.get());
  WaitForSingleObject(reader_thread_.get(), INFINITE);
  reader_thread_.reset();
  reader_thread_id_.store(0);
}

bool CClientSocket::Create() {
  std::lock_guard<CriticalSection> hold(lock_);
  if (HasSocket())
    return true;
  SOCKET sock = WSASocketW(AF_INET, SOCK_STREAM, IPPROTO_TCP, nullptr, 0, WSA_FLAG_OVERLAPPED);
  if (sock == INVALID_SOCKET)
    return false;
  socket_.store(sock);
  receive_area_.Reset();
  return true;
}

bool CClientSocket::SetOptions() {
  SOCKET sock = socket_.load();
  u_long non_blocking = 1;
  if (ioctlsocket(sock, FIONBIO, &non_blocking) != 0)
    return false;
  // Failures are ignored: the system's own buffer sizes still work.
  int size = kSystemBufferBytes;
  setsockopt(sock, SOL_SOCKET, SO_SNDBUF, reinterpret_cast<const char*>(&size), sizeof size);
  setsockopt(sock, SOL_SOCKET, SO_RCVBUF, reinterpret_cast<const char*>(&size), sizeof size);
  return true;
}

int CClientSocket::Send(const void* packet, int length) {
  if (packet == nullptr || length <= 0 || length > static_cast<int>(PacketFramer::kMaxPacketBytes))
    return 0;
  // Sent straight from the caller's bytes: the reader thread and the owner's threads both send, and a shared
  // copy buffer would let one packet overwrite the other.
  WSABUF piece;
  piece.len = static_cast<ULONG>(length);
  piece.buf = const_cast<char*>(static_cast<const char*>(packet));
  DWORD sent = 0;
  if (WSASend(socket_.load(), &piece, 1, &sent, 0, nullptr, nullptr) == 0)
    return static_cast<int>(sent);
  return WSAGetLastError() == WSA_IO_PENDING ? length : 0;
}

ReceiveResult CClientSocket::Receive(PacketFramer& framer) {
  std::lock_guard<CriticalSection> hold(lock_);
  framer.Reset();
  for (;;) {
    WSABUF piece;
    piece.len = static_cast<ULONG>(framer.BytesWanted());
    piece.buf = reinterpret_cast<char*>(framer.WritePosition());
    DWORD got = 0;
    DWORD flags = 0;
    if (WSARecv(socket_.load(), &piece, 1, &got, &flags, nullptr, nullptr) == 0) {
      if (got == 0)
        return ReceiveResult::kClosed;  // orderly close by the peer
      PacketFramer::Status status = framer.Accept(got);
      if (status == PacketFramer::Status::kComplete)
        return ReceiveResult::kPacket;
      if (status == PacketFramer::Status::kBadLength)
        return ReceiveResult::kBadLength;
      continue;
    }
    int error = WSAGetLastError();
    if (error != WSAEWOULDBLOCK && error != WSA_IO_PENDING)
      return ReceiveResult::kClosed;
    if (framer.received() == 0)
      return ReceiveResult::kNothingWaiting;
    // Part of a packet is in: wait for the rest, but never past a stop request.
    if (WaitForSingleObject(stop_event_.get(), 1) == WAIT_OBJECT_0)
      return ReceiveResult::kStopped;
  }
}

unsigned __stdcall CClientSocket::ReaderThreadEntry(void* self) {
  return static_cast<CClientSocket*>(self)->RunReader();
}

unsigned CClientSocket::RunReader() {
  bool destroyed = false;
  destroyed_during_callback_ = &destroyed;
  WSAEVENT events[2] = {stop_event_.get(), network_event_.get()};
  while (run_.load()) {
    DWORD woke = WSAWaitForMultipleEvents(2, events, FALSE, WSA_INFINITE, FALSE);
    if (woke == WSA_WAIT_EVENT_0)
      break;
    bool keep_reading = woke == WSA_WAIT_EVENT_0 + 1 ? OnNetworkEvents() : EndConnection(kSocketClosed);
    if (destroyed)
      return 1;  // the object is gone: touch nothing
    if (!keep_reading)
      break;
  }
  destroyed_during_callback_ = nullptr;
  reader_thread_id_.store(0);
  return 1;
}

bool CClientSocket::OnNetworkEvents() {
  if (connect_failed_.load())
    return EndConnection(kSocketClosed);
  WSANETWORKEVENTS happened = {};
  if (WSAEnumNetworkEvents(socket_.load(), network_event_.get(), &happened) != 0)
    return EndConnection(kSocketClosed);
  if (happened.lNetworkEvents & FD_CONNECT) {
    if (happened.iErrorCode[FD_CONNECT_BIT] != 0)
      return EndConnection(kSocketClosed);
    if (!Notify(kSocketConnected, nullptr))
      return false;
  }
  bool peer_closed = (happened.lNetworkEvents & FD_CLOSE) != 0;
  if ((happened.lNetworkEvents & FD_READ) && happened.iErrorCode[FD_READ_BIT] != 0)
    return EndConnection(kSocketClosed);
  if ((happened.lNetworkEvents & FD_READ) || peer_closed)
    return ReadPackets(peer_closed);
  return true;
}

bool CClientSocket::ReadPackets(bool peer_closed) {
  for (;;) {
    if (!run_.load())
      return false;
    switch (Receive(receive_area_)) {
      case ReceiveResult::kPacket:
        if (!Notify(kSocketPacket, receive_area_.packet()))
          return false;
        receive_area_.Reset();
        // One packet per notification: Winsock signals again while more data is waiting. After a close no
        // signal follows, so everything still waiting is read now, before the close is reported.
        if (!peer_closed)
          return true;
        break;
      case ReceiveResult::kNothingWaiting:
        return peer_closed ? EndConnection(kSocketClosed) : true;
      case ReceiveResult::kClosed:
        return EndConnection(kSocketClosed);
      case ReceiveResult::kBadLength:
        return EndConnection(kSocketBadPacket);
      case ReceiveResult::kStopped:
        return false;
    }
  }
}

bool CClientSocket::EndConnection(int event) {
  if (!run_.load())
    return false;  // the owner disconnected: it expects no event
  if (!Notify(event, nullptr))
    return false;
  Close();
  return false;
}

bool CClientSocket::Notify(int event, void* data) {
  if (callback_ == nullptr || !run_.load())
    return true;
  bool* destroyed = destroyed_during_callback_;
  callback_(user_, event, data);
  return !*destroyed;
}
