// The start and the end of a session with the patch server.
#include <winsock2.h>

#include <cstring>

#include "engine/CUpdater.h"

namespace {

// Shorter than "1.1.1.1": the IP field is not filled, the host name is resolved instead.
constexpr size_t kShortestDottedIp = 7;

}  // namespace

int CUpdater::Start() {
  if (LoadFileList() != 0)
    return 1;
  if (file_list_.changed())
    full_check_ = 1;
  if (no_self_update_ == 0 && SelfCheck() != 0)
    return 1;
  std::lock_guard<CriticalSection> lock(lock_);
  if (!ResolvePatchServer())
    return 1;
  if (patch_server_port_ != 0 && patch_server_port_ != 65535)
    ConnectSession();
  return 0;
}

bool CUpdater::ResolvePatchServer() {
  if (strlen(patch_server_ip_) >= kShortestDottedIp)
    return true;
  const hostent* host = gethostbyname(patch_server_host_);
  if (host == nullptr || host->h_addrtype != AF_INET || host->h_length != sizeof(in_addr) ||
      host->h_addr_list == nullptr || host->h_addr_list[0] == nullptr)
    return false;
  in_addr address;
  std::memcpy(&address, host->h_addr_list[0], sizeof(address));
  const char* text = inet_ntoa(address);
  if (text == nullptr)
    return false;
  strncpy(patch_server_ip_, text, sizeof(patch_server_ip_) - 1);
  patch_server_ip_[sizeof(patch_server_ip_) - 1] = '\0';
  return true;
}

void CUpdater::ConnectSession() {
  // No socket yet: nothing is connected, so no socket event follows and the session never begins.
}

void CUpdater::DisconnectSession() {
  if (socket_)
    socket_->Disconnect();
}

bool CUpdater::SessionConnectionOpen() const {
  return socket_ && socket_->HasSocket();
}

void CUpdater::WaitForClosedSession() const {
  while (SessionConnectionOpen())
    Sleep(100);
}

int CUpdater::StopUpdate() {
  {
    std::lock_guard<CriticalSection> lock(lock_);
    if (finished_ == 0) {
      finished_ = 1;
      DisconnectSession();
    }
  }
  EndWorker();
  CloseFileList();
  return 0;
}
