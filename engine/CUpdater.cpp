#include "engine/CUpdater.h"

#include <cwchar>
#include <new>

#include "engine/EngineFiles.h"

CUpdater::CUpdater() = default;

CUpdater::~CUpdater() {
  // The socket first: its reader thread takes the engine lock, so it is joined without holding it.
  session_.ReleaseSocket();
  EndWorker();
  worker_.Release();
  context_.entries.clear();
  context_.file_list.Close();
}

bool CUpdater::Initialize(const UpdaterParams& params) {
  context_.no_self_update = params.noSelfUpdate;
  context_.callback = params.callback;
  context_.user_value = params.userValue;
  session_.SetServer(params);
  CopyTextField(context_.download_host, params.downloadHost);
  if (MultiByteToWideChar(CP_ACP, 0, context_.download_host, -1, context_.download_host_wide, 100) == 0)
    context_.download_host_wide[0] = L'\0';
  CopyTextField(context_.product_code, params.productCode);
  CopyTextField(context_.program_file_name, params.programFileName);

  // A root cut to fit would name another folder, and every write would land there: refuse it instead.
  size_t root_length = wcsnlen(params.installRoot, sizeof(params.installRoot) / sizeof(wchar_t));
  wchar_t* const root = context_.install_root;
  if (root_length == 0 || root_length >= sizeof(context_.install_root) / sizeof(wchar_t))
    return false;
  wmemcpy(root, params.installRoot, root_length);
  root[root_length] = L'\0';

  const wchar_t* const product = context_.product_code;
  if (!engine_files::ConcatTexts(context_.version_info_path, MAX_PATH,
                                 {root, L"\\versionInfo_", product, L".ini"}) ||
      !engine_files::ConcatTexts(context_.file_list_path, MAX_PATH,
                                 {root, L"\\fileListInfo_", product, L".dat"}))
    return false;
  context_.version_info = ReadVersionInfo(context_.version_info_path);
  return true;
}

CUpdater* CUpdater::Create(const UpdaterParams* params) {
  if (params == nullptr)
    return nullptr;
  std::unique_ptr<CUpdater> updater(new (std::nothrow) CUpdater());
  if (!updater || !updater->HasEvents())
    return nullptr;
  updater->session_.WaitForClosedSession();
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
  return updater != nullptr ? updater->StartRun(false) : UpdaterResultNullHandle;
}

int CUpdater::FullCheck(CUpdater* updater) {
  return updater != nullptr ? updater->StartRun(true) : UpdaterResultNullHandle;
}

int CUpdater::StartRun(bool full_check) {
  session_.WaitForClosedSession();
  if (!BeginRun())
    return UpdaterResultStartFailed;
  if (full_check)
    context_.full_check = 1;
  return Start() == 0 ? UpdaterResultOk : UpdaterResultStartFailed;
}

bool CUpdater::BeginRun() {
  std::lock_guard<CriticalSection> lock(context_.lock);
  if (ThreadRunning() || !session_.BeginSession())
    return false;
  // The previous run's worker has ended: its handle would keep the next one from starting.
  WaitForThread();
  context_.BeginRun();
  return true;
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
  return updater != nullptr ? &updater->context_.status : nullptr;
}

void CUpdater::OnSocketEvent(void* user, int event, void* data) {
  UpdateSession::OnSocketEvent(&static_cast<CUpdater*>(user)->session_, event, data);
}

int CUpdater::Start() {
  if (LoadFileList() != 0)
    return 1;
  if (context_.file_list.changed())
    context_.full_check = 1;
  if (context_.no_self_update == 0 && SelfCheck() != 0)
    return 1;
  return session_.Start() ? 0 : 1;
}

int CUpdater::StopUpdate() {
  session_.Finish();
  EndWorker();
  context_.CloseFileList();
  return 0;
}

void CUpdater::OnSessionListComplete() {
  // StartThread clears the worker's suspended flag.
  if (StartWorker())
    return;
  // No thread to run the list: the run ends here, reported as a download that could not run (the caller's
  // remedy is the same: try again), rather than going on as a run that never ends.
  context_.entries.clear();
  context_.ReportError(UpdateErrorDownload);
  context_.CloseFileList();
}

void CUpdater::OnSessionFailed() {
  StopUpdate();
}

void CUpdater::Run() {
  worker_.Run();
}

bool CUpdater::StartWorker() {
  return StartThread();
}

void CUpdater::QueueEntry(std::unique_ptr<FileEntry> entry) {
  std::lock_guard<CriticalSection> lock(context_.lock);
  context_.entries.push_back(std::move(entry));
}

void CUpdater::Stop() {
  CBaseThread::Stop();
  worker_.CancelDownload();
}

void CUpdater::EndWorker() {
  if (!HasThread())
    return;
  // The stop alone wakes a paused worker; the resume after it clears the pause without letting the worker
  // take another step.
  Stop();
  Resume();
  WaitForThread();
}
