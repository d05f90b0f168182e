// The session with the patch server: the start (host resolution, connect), the socket's events, the packets
// of the protocol (wire format: engine/SessionProtocol.h), the version decision, the list, and the end.
//
// Session states: not started -> connecting (Start) -> connected (320 sent) -> accepted (321; 301 sent) ->
// version known (302) -> counted (303) -> receiving the list (330...) -> list complete (331: finished,
// disconnected, worker started); or nothing to do (312: finished, disconnected, event 7); or refused, version
// error or protocol error (error 3 and StopUpdate); or connection lost before the end (error 2). The finished
// flag keeps error 2 away when the engine closes the connection itself.
//
// Every event is handled on the socket reader thread under the engine lock, and the caller's callback is
// called with that lock held. The worker is started only after the socket is disconnected, so packet
// handling and the worker never run at the same time within one session.
#include <winsock2.h>

#include <cstring>
#include <new>

#include "engine/CUpdater.h"
#include "engine/EngineFiles.h"

namespace {

// Shorter than "1.1.1.1": the IP field is not filled, the host name is resolved instead.
constexpr size_t kShortestDottedIp = 7;
// The installation's "Patch" folder path may use at most this many characters.
constexpr size_t kPatchFolderCapacity = 256;

}  // namespace

int CUpdater::Start() {
  if (LoadFileList() != 0)
    return 1;
  if (file_list_.changed())
    full_check_ = 1;
  if (no_self_update_ == 0 && SelfCheck() != 0)
    return 1;
  {
    std::lock_guard<CriticalSection> lock(lock_);
    if (!ResolvePatchServer())
      return 1;
    if (patch_server_port_ == 0 || patch_server_port_ == 65535)
      return 0;
  }
  return ConnectSession() ? 0 : 1;
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

bool CUpdater::ConnectSession() {
  char ip[sizeof(patch_server_ip_)];
  {
    std::lock_guard<CriticalSection> lock(lock_);
    if (!socket_) {
      socket_.reset(new (std::nothrow) CClientSocket());
      if (!socket_)
        return false;
      socket_->SetCallback(&CUpdater::OnSocketEvent, this);
    }
    std::memcpy(ip, patch_server_ip_, sizeof(ip));
  }
  // The result is not looked at: an attempt that fails shows up as socket event 2.
  socket_->Connect(ip, patch_server_port_);
  return true;
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

void CUpdater::OnSocketEvent(void* user, int event, void* data) {
  // No exception may leave the reader thread.
  try {
    static_cast<CUpdater*>(user)->HandleSocketEvent(event, data);
  } catch (...) {
  }
}

void CUpdater::HandleSocketEvent(int event, const void* data) {
  std::lock_guard<CriticalSection> lock(lock_);
  // The reader may have been waiting for the lock while the caller ended the session (or the destructor took
  // the socket away): what it brings belongs to a connection that is over.
  if (!socket_ || !socket_->HasSocket())
    return;
  switch (event) {
    case kSocketConnected:
      SendSessionRequest();
      break;
    case kSocketClosed:
      if (finished_ == 0)
        ReportError(UpdateErrorConnectionLost);
      break;
    case kSocketPacket:
      OnPacket(data);
      break;
    case kSocketBadPacket:
      EndSessionWithError();
      break;
    default:
      break;
  }
}

void CUpdater::SendPacket(const uint8_t* packet, size_t length) {
  // A send that fails is not looked at: the broken connection shows up as socket event 2.
  if (socket_)
    socket_->Send(packet, static_cast<int>(length));
}

void CUpdater::SendSessionRequest() {
  uint8_t packet[session_protocol::kSessionRequestBytes];
  SendPacket(packet, session_protocol::BuildSessionRequest(packet));
}

void CUpdater::SendVersionRequest() {
  if (full_check_ != 0) {
    // A full check asks for every file, as for a fresh installation. The emptied list reaches the file before
    // the worker changes any file.
    file_list_.Clear();
    file_list_.SetChanged(true);
    version_info_.current_version = 0;
    version_info_.separate_status = 0;
    SaveVersionInfo();
  }
  session_protocol::VersionRequest request;
  request.installed_version = version_info_.current_version;
  request.separate_status = version_info_.separate_status;
  request.updater_version = version_info_.updater_version;
  request.no_self_update = static_cast<uint8_t>(no_self_update_);
  request.product_code = product_code_;
  uint8_t packet[session_protocol::kMaxVersionRequestBytes];
  SendPacket(packet, session_protocol::BuildVersionRequest(request, packet));
}

int CUpdater::OnPacket(const void* data) {
  using namespace session_protocol;
  if (data == nullptr)
    return 1;
  Packet packet;
  if (!ReadPacket(static_cast<const uint8_t*>(data), kMaxPacketBytes, &packet)) {
    EndSessionWithError();
    return 1;
  }
  switch (packet.type) {
    case kSessionReply:
      if (BodyInt(packet, 0) != 1) {
        EndSessionWithError();
        return 1;
      }
      SendVersionRequest();
      return 0;
    case kVersionReply:
      return OnVersionReply(packet);
    case kCountReply:
      OnFileCount(BodyInt(packet, 0));
      return 0;
    case kNothingToDo:
      OnNothingToDo();
      return 0;
    case kListChunk:
      return OnListChunk(packet);
    case kListEnd:
      return OnListEnd();
    default:
      return 0;
  }
}

int CUpdater::OnVersionReply(const session_protocol::Packet& packet) {
  using session_protocol::VersionDecision;
  session_protocol::Versions installed;
  installed.current_version = version_info_.current_version;
  installed.separate_status = version_info_.separate_status;
  installed.updater_version = version_info_.updater_version;
  VersionDecision decision = session_protocol::DecideVersion(
      installed, session_protocol::ReadVersionReply(packet), no_self_update_ != 0);
  version_info_.updater_version = decision.next.updater_version;
  // A newer engine: nothing is sent; the server's next packet decides how the session goes on.
  if (decision.outcome == VersionDecision::kWaitForNewerEngine)
    return 0;
  if (decision.outcome == VersionDecision::kServerOlder ||
      (decision.fold_separated_installation && !FoldSeparatedInstallation())) {
    EndSessionWithError();
    return 1;
  }
  version_info_.current_version = decision.next.current_version;
  version_info_.separate_status = decision.next.separate_status;
  return 0;
}

bool CUpdater::FoldSeparatedInstallation() {
  if (file_list_.FoldPatchEntries() != FileListStore::kOk)
    return false;
  // The folded records must reach the file even when the run ends early: the move below takes the "Patch"
  // files away, and records still naming them would count as missing files at the next start.
  file_list_.SetChanged(true);
  wchar_t patch_folder[kPatchFolderCapacity];
  // A path that does not fit is not cut: a shorter one would name another folder. Its result is not looked
  // at: a file left behind in "Patch" is fetched again by the list.
  if (engine_files::ConcatTexts(patch_folder, kPatchFolderCapacity, {install_root_, L"\\Patch"}))
    engine_files::MoveTree(patch_folder, install_root_);
  return true;
}

void CUpdater::OnFileCount(int32_t count) {
  status_.entryCount = count;
  status_.currentEntry = 0;
  status_.fileTotalBytes = 0;
  status_.fileDoneBytes = 0;
  std::memset(status_.text, 0, sizeof(status_.text));
  Notify(UpdateEventFileCount, &status_);
  UpdateProgress progress = {UpdateProgressRun, UpdateProgressRunEntryCount, count};
  Notify(UpdateEventProgress, &progress);
}

void CUpdater::OnNothingToDo() {
  finished_ = 1;
  DisconnectSession();
  CloseFileList();
  if (last_error_ == 0)
    Notify(UpdateEventCompleted, nullptr);
}

int CUpdater::OnListChunk(const session_protocol::Packet& packet) {
  session_protocol::ListResult result =
      session_protocol::AppendListChunk(packet, {list_buffer_, list_total_, list_received_});
  if (result == session_protocol::ListResult::kOk)
    return 0;
  DropList();
  EndSessionWithError();
  return 1;
}

int CUpdater::OnListEnd() {
  // An incomplete list is left as it is: the server may still close, or the caller stop.
  if (!session_protocol::ListComplete(list_total_, list_received_))
    return 1;
  std::vector<std::unique_ptr<FileEntry>> received;
  session_protocol::ListResult result =
      session_protocol::ParseListEntries(list_buffer_.data(), list_received_, &received);
  DropList();
  if (result != session_protocol::ListResult::kOk) {
    EndSessionWithError();
    return 1;
  }
  for (std::unique_ptr<FileEntry>& entry : received)
    entries_.push_back(std::move(entry));
  finished_ = 1;
  DisconnectSession();
  // StartThread clears the worker's suspended flag.
  StartWorker();
  return 0;
}

void CUpdater::DropList() {
  std::vector<uint8_t>().swap(list_buffer_);
  list_total_ = 0;
  list_received_ = 0;
}

void CUpdater::EndSessionWithError() {
  ReportError(UpdateErrorSessionRefused);
  StopUpdate();
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
