#include "net/CSocket.h"

#include <mutex>

CSocket::CSocket() {
  WSADATA data;
  winsock_started_ = WSAStartup(MAKEWORD(2, 2), &data) == 0;
}

CSocket::~CSocket() {
  Close();
  if (winsock_started_)
    WSACleanup();
}

int CSocket::ConnectAddress(const sockaddr_in& address) {
  std::lock_guard<CriticalSection> hold(lock_);
  if (WSAConnect(socket_.load(), reinterpret_cast<const sockaddr*>(&address), sizeof address, nullptr,
                 nullptr, nullptr, nullptr) == 0)
    return kSocketOk;
  int error = WSAGetLastError();
  return error == WSA_IO_PENDING || error == WSAEWOULDBLOCK ? kSocketOk : kSocketFailed;
}

int CSocket::Disconnect() {
  return Close() ? kSocketOk : kSocketFailed;
}

bool CSocket::Close() {
  std::lock_guard<CriticalSection> hold(lock_);
  SOCKET sock = socket_.load();
  if (sock == INVALID_SOCKET)
    return true;
  linger reset_on_close = {};
  reset_on_close.l_onoff = 1;
  reset_on_close.l_linger = 0;
  setsockopt(sock, SOL_SOCKET, SO_LINGER, reinterpret_cast<const char*>(&reset_on_close),
             sizeof reset_on_close);
  if (closesocket(sock) != 0)
    return false;
  socket_.store(INVALID_SOCKET);
  return true;
}
