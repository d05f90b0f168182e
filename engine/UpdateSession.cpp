// The session with the patch server (contract and states: engine/UpdateSession.h).
#include <winsock2.h>

#include <cstring>
#include <new>

#include "engine/EngineFiles.h"
#include "engine/UpdateSession.h"

namespace {

// Shorter than "1.1.1.1": the IP field is not filled, the host name is resolved instead.
constexpr size_t kShortestDottedIp = 7;
// The installation's "Patch" folder path may use at most this many characters.
constexpr size_t kPatchFolderCapacity = 256;

}  // namespace

UpdateSession::UpdateSession(UpdaterContext& context, SessionOwner& owner)
    : context_(context), owner_(owner) {}

UpdateSession::~UpdateSession() {
  ReleaseSocket();
}

void UpdateSession::SetServer(const UpdaterParams& params) {
  CopyTextField(given_patch_server_ip_, params.patchServerIp);
  CopyTextField(patch_server_ip_, params.patchServerIp);
  patch_server_port_ = params.patchServerPort;
  CopyTextField(patch_server_host_, params.patchServerHost);
}

bool UpdateSession::BeginSession() {
  if (SessionConnectionOpen())
    return false;
  finished_ = 0;
  DropList();
  std::memcpy(patch_server_ip_, given_patch_server_ip_, sizeof(patch_server_ip_));
  return true;
}

bool UpdateSession::Start() {
  {
    std::lock_guard<CriticalSection> lock(context_.lock);
    if (!ResolvePatchServer())
      return false;
    if (patch_server_port_ == 0 || patch_server_port_ == 65535)
      return true;
  }
  return ConnectSession();
}

void UpdateSession::ReleaseSocket() {
  std::unique_ptr<CClientSocket> socket;
  {
    std::lock_guard<CriticalSection> lock(context_.lock);
    socket = std::move(socket_);
    DropList();
  }
  socket.reset();
}

bool UpdateSession::ResolvePatchServer() {
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

bool UpdateSession::ConnectSession() {
  char ip[sizeof(patch_server_ip_)];
  {
    std::lock_guard<CriticalSection> lock(context_.lock);
    // A stop that came during the start: the session is over before it began.
    if (finished_ != 0)
      return true;
    if (!socket_) {
      socket_.reset(new (std::nothrow) CClientSocket());
      if (!socket_)
        return false;
      socket_->SetCallback(&UpdateSession::OnSocketEvent, this);
    }
    std::memcpy(ip, patch_server_ip_, sizeof(ip));
  }
  // The result is not looked at: an attempt that fails shows up as kSocketClosed.
  socket_->Connect(ip, patch_server_port_);
  return true;
}

void UpdateSession::DisconnectSession() {
  if (socket_)
    socket_->Disconnect();
}

bool UpdateSession::SessionConnectionOpen() const {
  return socket_ && socket_->HasSocket();
}

bool UpdateSession::ConnectionClosed() const {
  std::lock_guard<CriticalSection> lock(context_.lock);
  return !SessionConnectionOpen();
}

void UpdateSession::WaitForClosedSession() const {
  while (SessionConnectionOpen())
    Sleep(100);
}

void UpdateSession::OnSocketEvent(void* user, int event, void* data) {
  // No exception may leave the reader thread.
  try {
    static_cast<UpdateSession*>(user)->HandleSocketEvent(event, data);
  } catch (...) {
  }
}

void UpdateSession::HandleSocketEvent(int event, const void* data) {
  std::lock_guard<CriticalSection> lock(context_.lock);
  // The reader may have been waiting for the lock while the caller ended the session (or the destructor took
  // the socket away): what it brings belongs to a connection that is over. A connection made after a stop
  // that came during the start is closed at its first event.
  if (!socket_ || !socket_->HasSocket())
    return;
  if (finished_ != 0) {
    DisconnectSession();
    return;
  }
  switch (event) {
    case kSocketConnected:
      SendSessionRequest();
      break;
    case kSocketClosed:
      if (finished_ == 0)
        context_.ReportError(UpdateErrorConnectionLost);
      break;
    case kSocketPacket:
      OnPacket(data);
      ++packets_handled_;
      break;
    case kSocketBadPacket:
      EndSessionWithError();
      break;
    default:
      break;
  }
}

void UpdateSession::SendPacket(const uint8_t* packet, size_t length) {
  // A send that fails is not looked at: the broken connection shows up as kSocketClosed.
  if (socket_)
    socket_->Send(packet, static_cast<int>(length));
}

void UpdateSession::SendSessionRequest() {
  uint8_t packet[session_protocol::kSessionRequestBytes];
  SendPacket(packet, session_protocol::BuildSessionRequest(packet));
}

void UpdateSession::SendVersionRequest() {
  if (context_.full_check != 0) {
    // A full check asks for every file, as for a fresh installation. The emptied list reaches the file before
    // the worker changes any file.
    context_.file_list.Clear();
    context_.file_list.SetChanged(true);
    context_.version_info.current_version = 0;
    context_.version_info.separate_status = 0;
    context_.SaveVersionInfo();
  }
  session_protocol::VersionRequest request;
  request.installed_version = context_.version_info.current_version;
  request.separate_status = context_.version_info.separate_status;
  request.updater_version = context_.version_info.updater_version;
  request.no_self_update = static_cast<uint8_t>(context_.no_self_update);
  request.product_code = context_.product_code;
  uint8_t packet[session_protocol::kMaxVersionRequestBytes];
  SendPacket(packet, session_protocol::BuildVersionRequest(request, packet));
}

int UpdateSession::OnPacket(const void* data) {
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

int UpdateSession::OnVersionReply(const session_protocol::Packet& packet) {
  using session_protocol::VersionDecision;
  session_protocol::Versions installed;
  installed.current_version = context_.version_info.current_version;
  installed.separate_status = context_.version_info.separate_status;
  installed.updater_version = context_.version_info.updater_version;
  VersionDecision decision = session_protocol::DecideVersion(
      installed, session_protocol::ReadVersionReply(packet), context_.no_self_update != 0);
  context_.version_info.updater_version = decision.next.updater_version;
  // A newer engine: nothing is sent; the server's next packet decides how the session goes on.
  if (decision.outcome == VersionDecision::kWaitForNewerEngine)
    return 0;
  if (decision.outcome == VersionDecision::kServerOlder ||
      (decision.fold_separated_installation && !FoldSeparatedInstallation())) {
    EndSessionWithError();
    return 1;
  }
  context_.version_info.current_version = decision.next.current_version;
  context_.version_info.separate_status = decision.next.separate_status;
  return 0;
}

bool UpdateSession::FoldSeparatedInstallation() {
  if (context_.file_list.FoldPatchEntries() != FileListStore::kOk)
    return false;
  // The folded records must reach the file even when the run ends early: the move below takes the "Patch"
  // files away, and records still naming them would count as missing files at the next start.
  context_.file_list.SetChanged(true);
  wchar_t patch_folder[kPatchFolderCapacity];
  // A path that does not fit is not cut: a shorter one would name another folder. Its result is not looked
  // at: a file left behind in "Patch" is fetched again by the list.
  if (engine_files::ConcatTexts(patch_folder, kPatchFolderCapacity, {context_.install_root, L"\\Patch"}))
    engine_files::MoveTree(patch_folder, context_.install_root);
  return true;
}

void UpdateSession::OnFileCount(int32_t count) {
  context_.status.entryCount = count;
  context_.status.currentEntry = 0;
  context_.status.fileTotalBytes = 0;
  context_.status.fileDoneBytes = 0;
  std::memset(context_.status.text, 0, sizeof(context_.status.text));
  context_.Notify(UpdateEventFileCount, &context_.status);
  UpdateProgress progress = {UpdateProgressRun, UpdateProgressRunEntryCount, count};
  context_.Notify(UpdateEventProgress, &progress);
}

void UpdateSession::OnNothingToDo() {
  finished_ = 1;
  DisconnectSession();
  context_.CloseFileList();
  if (context_.last_error == 0)
    context_.Notify(UpdateEventCompleted, nullptr);
}

int UpdateSession::OnListChunk(const session_protocol::Packet& packet) {
  session_protocol::ListResult result =
      session_protocol::AppendListChunk(packet, {list_buffer_, list_total_, list_received_});
  if (result == session_protocol::ListResult::kOk)
    return 0;
  DropList();
  EndSessionWithError();
  return 1;
}

int UpdateSession::OnListEnd() {
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
    context_.entries.push_back(std::move(entry));
  finished_ = 1;
  DisconnectSession();
  owner_.OnSessionListComplete();
  return 0;
}

void UpdateSession::DropList() {
  std::vector<uint8_t>().swap(list_buffer_);
  list_total_ = 0;
  list_received_ = 0;
}

void UpdateSession::EndSessionWithError() {
  context_.ReportError(UpdateErrorSessionRefused);
  owner_.OnSessionFailed();
}

void UpdateSession::Finish() {
  std::lock_guard<CriticalSection> lock(context_.lock);
  if (finished_ == 0) {
    finished_ = 1;
    DisconnectSession();
  }
}
