// The self-update worker: fetches the launcher information to learn the version to install, downloads the
// launcher's cabinet package into the temporary copy's folder, unpacks it into a staging folder there, moves
// the files over the real launcher folder (StagedReplacement.h) and records the new version in the
// launcher-info ini last, so that an update that did not finish is done again at the next start.
//
// Launcher information: the catalogue file of kind GGI that start-up reads too (SelfUpdateSteps.h:
// LauncherInfoUrl, ParseLauncherInfoText), fetched with the job's own downloader so that a stop cancels it,
// under the catalogue files' first-answer limit. The job keeps the version it announces; the package URL and
// the ini use that version. The owner gives it to the session (SetGameVersion) once the job has ended.
//
// Package URL: "http://<update address>/system/<game id>.<announced version>.cab", saved under its last part
// in the current folder (the temporary copy's); the real launcher folder is the current folder's parent.
//
// Threads: the owner (the self-update dialog, user-interface thread) makes the job, which takes the session
// values it needs then (the worker reads none), starts it, reads status, result, shown name and progress on
// its tick, may ask it to stop, and joins it before the job ends (the destructor asks and joins). The worker
// thread runs `RunSelfUpdate`. Status, result and the package flag are exchanged with interlocked
// operations; the shown name is guarded by the name lock; the progress by the downloader's own lock; the
// announced version is read by the owner only after Join.
#pragma once

#include <windows.h>

#include <string>

#include "base/CriticalSection.h"
#include "base/ScopedHandle.h"
#include "net/HttpFileDownloader.h"

// Worker states: the dialog's result. Frozen values: start-up shows its messages by them.
enum SelfUpdateState : int {
  kSelfUpdateNotFinished = -1,    // the worker never ended (the dialog could not run): a failure
  kSelfUpdateDone = 0,            // the new launcher is in place and its version recorded
  kSelfUpdateAborted = 1,         // stopped before anything was replaced
  kSelfUpdateNoPackage = 2,       // no update address, game id or announced version (the launcher
                                  // information could not be fetched or read), or the URL has no "/"
  kSelfUpdateNoFolder = 3,        // the current folder cannot be read, or the package file cannot be made
  kSelfUpdateWriteFailed = 4,     // the package file could not be written (downloader error 8)
  kSelfUpdateDownloadFailed = 5,  // any other download failure
  kSelfUpdateUnpackFailed = 6,    // unpacking or replacing failed; the replaced files are back
  kSelfUpdateVersionNotWritten = 7,
};

// Worker status. Frozen values.
enum SelfUpdateStatus : long {
  kSelfUpdateFinished = 0,
  kSelfUpdateNotStarted = 1,
  kSelfUpdateRunning = 2,
  kSelfUpdateStopRequested = 3,
};

class SelfUpdateJob {
 public:
  // How long the package may keep its first byte back, as for the launcher's other file downloads (the
  // installer, the catalogue files): a server that takes the request and stays silent must not hold the
  // dialog until the user gives up. The stall limit takes over once data flows.
  static constexpr DWORD kPackageFirstAnswerLimitMs = 10000;

  // Tests shorten these; the launcher keeps the defaults.
  struct Options {
    DWORD stall_limit_ms = HttpFileDownloader::kStallLimitMs;
    DWORD first_answer_limit_ms = kPackageFirstAnswerLimitMs;
    long speed_floor_window_seconds = HttpFileDownloader::kSpeedFloorWindowSeconds;
    // How long a target file held by another process (the real launcher that is just ending) is tried again.
    DWORD busy_retry_ms = 10000;
  };

  SelfUpdateJob();
  explicit SelfUpdateJob(const Options& options);
  ~SelfUpdateJob();
  SelfUpdateJob(const SelfUpdateJob&) = delete;
  SelfUpdateJob& operator=(const SelfUpdateJob&) = delete;

  // Starts the worker thread. False when no thread could be made (the result stays kSelfUpdateNotFinished).
  bool Start();
  // Asks the worker to stop: the download is cancelled, and a package that is not yet being moved into place
  // is left alone (result 1). Once files are being replaced the worker finishes that first.
  void RequestStop();
  // Waits for the worker thread to end (no time limit: it owns files that must be whole).
  void Join();

  SelfUpdateStatus status() const;
  int result() const;
  std::wstring ShownName();
  // The package download's progress; "ready" with nothing done while the launcher information is fetched.
  void GetProgress(DownloaderProgress* progress);
  // After Join (or RunSelfUpdate on this thread): true with the version that the launcher information
  // announced, once it was fetched and read; false before, or when it could not be.
  bool AnnouncedVersion(int32_t* version) const;

  // The worker's whole run on the calling thread; returns (and stores) the state.
  int RunSelfUpdate();

 private:
  static unsigned __stdcall ThreadEntry(void* job);
  static int WritePackage(const void* data, int bytes, void* job);
  bool StopRequested() const;
  int PerformUnlessStopped();
  int FetchLauncherInfo();
  int UpdateToAnnouncedVersion();
  int Download(const std::wstring& url, const std::wstring& package);
  int Install(const std::wstring& package, const std::wstring& download_folder, const std::wstring& target);
  void SetShownName(const std::wstring& name);

  const Options options_;
  // Taken from the session when the job is made; "" when missing (state 2).
  const std::wstring update_address_;
  const std::wstring game_id_;
  const std::wstring launcher_info_url_;
  HttpFileDownloader downloader_;
  bool version_announced_ = false;    // worker thread until Join
  int32_t announced_version_ = 0;     // worker thread until Join
  volatile long package_opened_ = 0;  // 1 once the downloader is the package's
  UniqueHandle thread_;
  UniqueHandle package_file_;  // worker thread only
  volatile long status_ = kSelfUpdateNotStarted;
  volatile long result_ = kSelfUpdateNotFinished;
  CriticalSection name_lock_;  // guards shown_name_; takes no other lock
  std::wstring shown_name_;
};

// The package URL, or "" when a value is missing (state 2).
std::wstring SelfUpdatePackageUrl(const wchar_t* update_address, const wchar_t* game_id, int32_t version);
