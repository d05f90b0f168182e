#include "app/launcherupdate/SelfUpdateWorker.h"

#include <process.h>

#include <cwchar>

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
    : options_(options), downloader_(options.stall_limit_ms) {
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
  if (downloader_.Open(url.c_str(), this, &SelfUpdateJob::WritePackage) == 1 &&
      downloader_.SetResumeOffset(0) == 1)
    performed = downloader_.Perform();
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
        state = ops.write_version(static_cast<unsigned>(GetSessionValues().GameVersion))
                    ? kSelfUpdateDone
                    : kSelfUpdateVersionNotWritten;
      }
    }
  }
  ops.delete_file(package.c_str());
  RemoveFolderTree(staging.c_str());
  RemoveFolderTree(backup.c_str());
  return state;
}

int SelfUpdateJob::RunSelfUpdate() {
  InterlockedCompareExchange(&status_, kSelfUpdateRunning, kSelfUpdateNotStarted);
  int state = kSelfUpdateNoPackage;
  const SessionValues& values = GetSessionValues();
  const std::wstring url = SelfUpdatePackageUrl(values.LUpdateAddr, values.GameID, values.GameVersion);
  const size_t last_slash = url.rfind(L'/');
  std::wstring download_folder;
  if (url.empty() || last_slash == std::wstring::npos) {
    state = kSelfUpdateNoPackage;
  } else if (!CurrentFolder(&download_folder) || download_folder.rfind(L'\\') == std::wstring::npos) {
    state = kSelfUpdateNoFolder;
  } else {
    const std::wstring target = download_folder.substr(0, download_folder.rfind(L'\\'));
    const std::wstring name = url.substr(last_slash + 1);
    const std::wstring package = download_folder + L"\\" + name;
    SetShownName(name);
    if (package.size() >= MAX_PATH)
      state = kSelfUpdateNoFolder;
    else if (StopRequested())
      state = kSelfUpdateAborted;
    else if ((state = Download(url, package)) == kSelfUpdateDone)
      state = Install(package, download_folder, target);
  }
  InterlockedExchange(&result_, state);
  InterlockedExchange(&status_, kSelfUpdateFinished);
  return state;
}
