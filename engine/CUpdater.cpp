#include "engine/CUpdater.h"

#include <cstring>
#include <cwchar>
#include <new>

#include "engine/EngineFiles.h"

namespace {

// Copies a text field of the caller's record into the engine's own, bounded by both and always terminated.
template <typename Char, size_t OutSize, size_t InSize>
void CopyField(Char (&out)[OutSize], const Char (&in)[InSize]) {
  constexpr size_t kLimit = (OutSize < InSize ? OutSize : InSize);
  size_t length = 0;
  while (length < kLimit - 1 && in[length] != 0)
    ++length;
  std::memcpy(out, in, length * sizeof(Char));
  out[length] = 0;
}

}  // namespace

CUpdater::CUpdater() = default;

CUpdater::~CUpdater() {
  // The socket first, taken out under the engine lock and destroyed outside it: its destructor joins the
  // reader thread, which takes that lock, and then finds no socket and lets the event go.
  std::unique_ptr<CClientSocket> socket;
  {
    std::lock_guard<CriticalSection> lock(lock_);
    socket = std::move(socket_);
  }
  socket.reset();
  EndWorker();
  {
    std::lock_guard<CriticalSection> lock(lock_);
    std::vector<uint8_t>().swap(list_buffer_);
    list_total_ = 0;
    list_received_ = 0;
    downloader_.reset();
    temp_file_.reset();
  }
  entries_.clear();
  file_list_.Close();
}

bool CUpdater::Initialize(const UpdaterParams& params) {
  no_self_update_ = params.noSelfUpdate;
  callback_ = params.callback;
  user_value_ = params.userValue;
  CopyField(patch_server_ip_, params.patchServerIp);
  CopyField(download_host_, params.downloadHost);
  if (MultiByteToWideChar(CP_ACP, 0, download_host_, -1, download_host_wide_, 100) == 0)
    download_host_wide_[0] = L'\0';
  patch_server_port_ = params.patchServerPort;
  CopyField(patch_server_host_, params.patchServerHost);
  CopyField(product_code_, params.productCode);
  CopyField(program_file_name_, params.programFileName);

  // A root cut to fit would name another folder, and every write would land there: refuse it instead.
  size_t root_length = wcsnlen(params.installRoot, sizeof(params.installRoot) / sizeof(wchar_t));
  if (root_length == 0 || root_length >= sizeof(install_root_) / sizeof(wchar_t))
    return false;
  wmemcpy(install_root_, params.installRoot, root_length);
  install_root_[root_length] = L'\0';

  if (!engine_files::ConcatTexts(version_info_path_, MAX_PATH,
                                 {install_root_, L"\\versionInfo_", product_code_, L".ini"}) ||
      !engine_files::ConcatTexts(file_list_path_, MAX_PATH,
                                 {install_root_, L"\\fileListInfo_", product_code_, L".dat"}))
    return false;
  version_info_ = ReadVersionInfo(version_info_path_);
  return true;
}

CUpdater* CUpdater::Create(const UpdaterParams* params) {
  if (params == nullptr)
    return nullptr;
  std::unique_ptr<CUpdater> updater(new (std::nothrow) CUpdater());
  if (!updater || updater->stop_event() == nullptr)
    return nullptr;
  updater->WaitForClosedSession();
  if (!updater->Initialize(*params))
    return nullptr;
  return updater.release();
}

int CUpdater::Remove(CUpdater* updater) {
  if (updater == nullptr)
    return UpdaterResultNullHandle;
  updater->StopUpdate();
  delete updater;
  return UpdaterResultOk;
}

int CUpdater::StartUpdater(CUpdater* updater) {
  if (updater == nullptr)
    return UpdaterResultNullHandle;
  updater->WaitForClosedSession();
  return updater->Start() == 0 ? UpdaterResultOk : UpdaterResultStartFailed;
}

int CUpdater::FullCheck(CUpdater* updater) {
  if (updater == nullptr)
    return UpdaterResultNullHandle;
  updater->WaitForClosedSession();
  updater->full_check_ = 1;
  return updater->Start() == 0 ? UpdaterResultOk : UpdaterResultStartFailed;
}

int CUpdater::StopUpdater(CUpdater* updater) {
  if (updater == nullptr)
    return UpdaterResultNullHandle;
  return updater->StopUpdate();
}

int CUpdater::PauseUpdater(CUpdater* updater) {
  if (updater == nullptr)
    return UpdaterResultNullHandle;
  updater->Pause();
  return UpdaterResultOk;
}

int CUpdater::ResumeUpdater(CUpdater* updater) {
  if (updater == nullptr)
    return UpdaterResultNullHandle;
  updater->Resume();
  return UpdaterResultOk;
}

UpdateStatus* CUpdater::DownloadInfo(CUpdater* updater) {
  return updater != nullptr ? &updater->status_ : nullptr;
}

void CUpdater::Notify(int event, const void* data) {
  if (callback_ != nullptr)
    callback_(user_value_, event, data);
}

void CUpdater::ReportError(int code) {
  last_error_ = static_cast<uint16_t>(code);
  int32_t reported = code;
  Notify(UpdateEventError, &reported);
}

bool CUpdater::SaveVersionInfo() {
  if (last_error_ != 0)
    return true;
  return WriteVersionInfo(version_info_path_, version_info_);
}
