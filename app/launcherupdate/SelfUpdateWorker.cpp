#include "app/launcherupdate/SelfUpdateWorker.h"

#include <process.h>

#include <cwchar>

#include "app/games/CatalogueDownload.h"
#include "app/launcherupdate/SelfUpdateSteps.h"
#include "app/session/ProgramPath.h"
#include "app/session/SessionValues.h"
#include "selfupdate/CabinetExtraction.h"
#include "selfupdate/SelfUpdateFileOps.h"
#include "selfupdate/StagedReplacement.h"

namespace {

bool CurrentFolder(std::wstring* folder) {
  wchar_t text[MAX_PATH];
  DWORD length = GetCurrentDirectoryW(MAX_PATH, text);
  if (length == 0 || length >= MAX_PATH)
    return false;
  folder->assign(text, length);
  // A drive root comes back as "C:\": the package then goes beside, never above, it.
  if (!folder->empty() && folder->back() == L'\\')
    folder->pop_back();
  return true;
}

}  // namespace

std::wstring SelfUpdatePackageUrl(const wchar_t* update_address, const wchar_t* game_id, int32_t version) {
  if (update_address == nullptr || update_address[0] == 0 || game_id == nullptr || game_id[0] == 0 ||
      version == 0)
    return std::wstring();
  return L"http://" + std::wstring(update_address) + L"/system/" + game_id + L"." + std::to_wstring(version) +
         L".cab";
}

SelfUpdateJob::SelfUpdateJob() : SelfUpdateJob(Options()) {}

SelfUpdateJob::SelfUpdateJob(const Options& options)
    : options_(options),
      update_address_(GetSessionValues().LUpdateAddr),
      game_id_(GetSessionValues().GameID),
      launcher_info_url_(LauncherInfoUrl()),
      downloader_(options.stall_limit_ms) {
  downloader_.SetSpeedFloorWindow(options.speed_floor_window_seconds);
}

SelfUpdateJob::~SelfUpdateJob() {
  RequestStop();
  Join();
}

bool SelfUpdateJob::Start() {
  if (thread_)
    return false;
  thread_.reset(
      reinterpret_cast<HANDLE>(_beginthreadex(nullptr, 0, &SelfUpdateJob::ThreadEntry, this, 0, nullptr)));
  return thread_.valid();
}

unsigned __stdcall SelfUpdateJob::ThreadEntry(void* job) {
  static_cast<SelfUpdateJob*>(job)->RunSelfUpdate();
  return 0;
}

void SelfUpdateJob::RequestStop() {
  // Not started or running -> stop requested; a finished worker stays finished.
  InterlockedCompareExchange(&status_, kSelfUpdateStopRequested, kSelfUpdateNotStarted);
  InterlockedCompareExchange(&status_, kSelfUpdateStopRequested, kSelfUpdateRunning);
  downloader_.Cancel();
}

void SelfUpdateJob::Join() {
  if (!thread_)
    return;
  WaitForSingleObject(thread_.get(), INFINITE);
  thread_.reset();
}

SelfUpdateStatus SelfUpdateJob::status() const {
  return static_cast<SelfUpdateStatus>(InterlockedCompareExchange(const_cast<long*>(&status_), 0, 0));
}

int SelfUpdateJob::result() const {
  return static_cast<int>(InterlockedCompareExchange(const_cast<long*>(&result_), 0, 0));
}

bool SelfUpdateJob::StopRequested() const {
  return status() == kSelfUpdateStopRequested;
}

std::wstring SelfUpdateJob::ShownName() {
  ScopedLock lock(name_lock_);
  return shown_name_;
}

void SelfUpdateJob::SetShownName(const std::wstring& name) {
  ScopedLock lock(name_lock_);
  shown_name_ = name;
}

void SelfUpdateJob::GetProgress(DownloaderProgress* progress) {
  if (progress == nullptr)
    return;
  // Until then the downloader's counters are the launcher information's: no bar moves for that small file.
  if (InterlockedCompareExchange(&package_opened_, 0, 0) == 0) {
    *progress = {kDownloaderReady, 0, 0};
    return;
  }
  downloader_.GetProgress(progress);
}

bool SelfUpdateJob::AnnouncedVersion(int32_t* version) const {
  if (version_announced_)
    *version = announced_version_;
  return version_announced_;
}

// Open clears the downloader's cancel flag: a stop that came before it is seen here, and one that comes after
// it cancels the transfer.
int SelfUpdateJob::PerformUnlessStopped() {
  return StopRequested() ? 0 : downloader_.Perform();
}

int SelfUpdateJob::WritePackage(const void* data, int bytes, void* user) {
  SelfUpdateJob* job = static_cast<SelfUpdateJob*>(user);
  if (job == nullptr || job->StopRequested() || bytes < 0)
    return -1;
  DWORD written = 0;
  if (!FileOps().write_file(job->package_file_.get(), data, static_cast<DWORD>(bytes), &written) ||
      written != static_cast<DWORD>(bytes))
    return -1;
  return bytes;
}

int SelfUpdateJob::Download(const std::wstring& url, const std::wstring& package) {
  package_file_.reset(FileOps().create_package(package.c_str()));
  if (!package_file_)
    return kSelfUpdateNoFolder;
  int performed = 0;
  downloader_.SetFirstAnswerLimit(options_.first_answer_limit_ms);
  if (downloader_.Open(url.c_str(), this, &SelfUpdateJob::WritePackage) == 1) {
    InterlockedExchange(&package_opened_, 1);
    if (downloader_.SetResumeOffset(0) == 1)
      performed = PerformUnlessStopped();
  }
  package_file_.reset();
  if (performed == 1)
    return kSelfUpdateDone;
  if (StopRequested())
    return kSelfUpdateAborted;
  return downloader_.GetError() == kDownloaderErrorSink ? kSelfUpdateWriteFailed : kSelfUpdateDownloadFailed;
}

// Unpacks into the staging folder, then moves the files over the target. The package goes in every case.
int SelfUpdateJob::Install(const std::wstring& package,
                           const std::wstring& download_folder,
                           const std::wstring& target) {
  const SelfUpdateFileOps& ops = FileOps();
  const std::wstring staging = download_folder + L"\\" + kUpdateStagingFolderName;
  const std::wstring backup = download_folder + L"\\" + kUpdateBackupFolderName;
  // Leftovers of an interrupted run would mix old files into this one.
  RemoveFolderTree(staging.c_str());
  RemoveFolderTree(backup.c_str());
  int state = kSelfUpdateUnpackFailed;
  if (ops.create_directory(staging.c_str()) && ops.create_directory(backup.c_str()) &&
      ops.extract_cabinet(package.c_str(), staging.c_str()) == kCabinetExtracted) {
    ops.delete_file(package.c_str());
    if (StopRequested()) {
      state = kSelfUpdateAborted;
    } else {
      wchar_t program[MAX_PATH];
      const wchar_t* name = GetProgramPath(program, MAX_PATH) ? std::wcsrchr(program, L'\\') : nullptr;
      StagedReplacement replacement(staging, backup, target, options_.busy_retry_ms);
      if (replacement.Apply(name != nullptr ? name + 1 : L"")) {
        // The version is the commit: written only once every file is in place.
        state = ops.write_version(static_cast<unsigned>(announced_version_)) ? kSelfUpdateDone
                                                                             : kSelfUpdateVersionNotWritten;
      }
    }
  }
  ops.delete_file(package.c_str());
  RemoveFolderTree(staging.c_str());
  RemoveFolderTree(backup.c_str());
  return state;
}

// The version to install: without the launcher information there is no package (2).
int SelfUpdateJob::FetchLauncherInfo() {
  if (launcher_info_url_.empty())
    return kSelfUpdateNoPackage;
  if (StopRequested())
    return kSelfUpdateAborted;
  DownloadedFile info;
  int performed = 0;
  if (OpenInfoFileDownload(&downloader_, launcher_info_url_.c_str(), &info))
    performed = PerformUnlessStopped();
  size_t size = 0;
  char* text = FinishInfoFileDownload(performed, &info, &size);
  if (StopRequested())
    return kSelfUpdateAborted;
  int32_t version = 0;
  if (!ParseLauncherInfoText(text, size, &version))
    return kSelfUpdateNoPackage;
  announced_version_ = version;
  version_announced_ = true;
  return kSelfUpdateDone;
}

int SelfUpdateJob::UpdateToAnnouncedVersion() {
  const std::wstring url =
      SelfUpdatePackageUrl(update_address_.c_str(), game_id_.c_str(), announced_version_);
  const size_t last_slash = url.rfind(L'/');
  std::wstring download_folder;
  if (url.empty() || last_slash == std::wstring::npos)
    return kSelfUpdateNoPackage;
  if (!CurrentFolder(&download_folder) || download_folder.rfind(L'\\') == std::wstring::npos)
    return kSelfUpdateNoFolder;
  const std::wstring target = download_folder.substr(0, download_folder.rfind(L'\\'));
  const std::wstring name = url.substr(last_slash + 1);
  const std::wstring package = download_folder + L"\\" + name;
  SetShownName(name);
  if (package.size() >= MAX_PATH)
    return kSelfUpdateNoFolder;
  if (StopRequested())
    return kSelfUpdateAborted;
  const int state = Download(url, package);
  return state == kSelfUpdateDone ? Install(package, download_folder, target) : state;
}

int SelfUpdateJob::RunSelfUpdate() {
  InterlockedCompareExchange(&status_, kSelfUpdateRunning, kSelfUpdateNotStarted);
  int state = FetchLauncherInfo();
  if (state == kSelfUpdateDone)
    state = UpdateToAnnouncedVersion();
  InterlockedExchange(&result_, state);
  InterlockedExchange(&status_, kSelfUpdateFinished);
  return state;
}
