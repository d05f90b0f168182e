// The installer download of a game that is not installed: Install, CancelInstall and the tick's progress step.
#include <windows.h>

#include <mutex>
#include <new>

#include "app/games/GameHooks.h"
#include "app/games/GameInfo.h"
#include "app/games/GameInstallerDownloader.h"
#include "app/games/GameStart.h"
#include "app/games/InstallerRun.h"
#include "app/texts/MessageTexts.h"
#include "base/TextFields.h"

namespace {

using Guard = std::lock_guard<CriticalSection>;

enum ExistingInstaller {
  kExistingUnknown = -1,
  kExistingNone = 0,
  kExistingPartial = 1,
  kExistingComplete = 2,
};

}  // namespace

void GameInfo::FailInstall(int32_t error) {
  if (installer_ && !installer_->IsRunning())
    installer_->CloseFile();
  Guard guard(lock_);
  error_ = error;
  state_ = kGameError;
}

// True to go on. A partial file asks whether to resume it, a complete one whether to run it; the second
// button starts from zero. A question that could not be asked ends the action with the file closed.
bool GameInfo::AskAboutExistingInstaller(int existing) {
  if (existing != kExistingPartial && existing != kExistingComplete)
    return true;
  int answer =
      AskGameQuestion(GetAppMessage(existing == kExistingPartial ? L"resume_installer" : L"run_installer"));
  if (answer == 2)
    installer_->Restart();
  if (answer != 0)
    return true;
  installer_->CloseFile();
  Guard guard(lock_);
  state_ = kGameNotInstalled;
  return false;
}

void GameInfo::Install(const wchar_t* folder) {
  if (GetState() != kGameNotInstalled || folder == nullptr || folder[0] == 0)
    return;
  wchar_t path[GameInstallerDownloader::kPathUnits];
  InstallerPathResult named =
      InstallerFilePath(folder, installer_url_, path, GameInstallerDownloader::kPathUnits);
  if (named == kInstallerPathNoFileName) {
    ShowGameMessage(GetAppMessage(L"download_installer_from_web"));
    return;
  }
  {
    Guard guard(lock_);
    state_ = kGameInstallerDownloading;
    CopyToField(installer_file_, path);
  }
  installer_.reset();  // waits for an earlier download's thread
  if (named == kInstallerPathTooLong)
    return FailInstall(5);
  installer_.reset(new (std::nothrow) GameInstallerDownloader());
  if (!installer_) {
    Guard guard(lock_);
    state_ = kGameNotInstalled;
    return;
  }
  if (installer_->Prepare(installer_url_, path) != 1)
    return FailInstall(5);
  int existing = installer_->CheckExisting();
  if (existing == kExistingUnknown)
    return FailInstall(8);
  if (!AskAboutExistingInstaller(existing))
    return;
  if (!installer_->started() && installer_->Start() != 1)
    FailInstall(5);
}

void GameInfo::CancelInstall() {
  if (GetState() != kGameInstallerDownloading)
    return;
  if (!installer_) {
    Guard guard(lock_);
    state_ = kGameError;
    return;
  }
  if (!installer_->IsRunning())
    installer_->CloseFile();
  installer_->Cancel();
  Guard guard(lock_);
  state_ = kGameNotInstalled;
}

bool GameInfo::IsInstallerInUse() {
  Guard guard(lock_);
  return installer_file_[0] != 0 && IsFileInUse(installer_file_);
}

void GameInfo::InstallerProgressStep() {
  if (!installer_ || state_ != kGameInstallerDownloading)
    return;
  DownloaderProgress progress{};
  installer_->GetProgress(&progress);
  // Done is done only once the thread has cut and closed the file and ended: the installer must not start on
  // a file that still has an old tail or is still open.
  if (progress.state == kDownloaderDone && (installer_->IsRunning() || installer_->IsFileOpen()))
    progress.state = kDownloaderTransferring;
  file_fraction_ = 0.0;
  overall_fraction_ = 0.0;
  total_bytes_ = progress.total;
  done_bytes_ = progress.done;
  status_a_ = 0;
  status_b_ = 0;
  CopyToField(current_file_, installer_file_);
  if (progress.state == kDownloaderDone) {
    state_ = kGameInstallerStarted;
    overall_fraction_ = 1.0;
    RunInstaller(installer_file_);
  } else if (progress.state == kDownloaderFailed) {
    int32_t error = InstallerErrorNumber(installer_->GetError());
    if (error != 0) {
      error_ = error;
      state_ = kGameError;
    }
  }
}
