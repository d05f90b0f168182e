// CUpdater: the engine object behind one handle of QVTesserel.dll. It brings one installation (install root +
// product code) up to date: loads and checks the installed-file list and runs the self-check at start, then
// owns the session with the patch server (engine/UpdateSession.h) and the worker over the server's entries
// (engine/UpdateWorker.h), both reporting through the caller's UpdateCallback. What the three share, and the
// lock order, is in engine/UpdaterContext.h.
//
// Files:
//   CUpdater.cpp          making and freeing the object, the bodies of the exports, start and stop
//   CUpdaterFileList.cpp  loading and checking the installed-file list at start; the self-check
//
// Threads: the exports run on the caller's thread; the socket reader thread handles session events; the worker
// thread (CBaseThread::Run) runs the worker. The callback is called on all three.
#pragma once

#include <windows.h>

#include <cstdint>
#include <deque>
#include <memory>

#include "engine/CBaseThread.h"
#include "engine/FileEntry.h"
#include "engine/QVTesserel.h"
#include "engine/UpdateSession.h"
#include "engine/UpdateWorker.h"
#include "engine/UpdaterContext.h"

class CUpdater : public CBaseThread, private SessionOwner {
 public:
  static constexpr DWORD kListWriteIntervalMs = UpdateWorker::kListWriteIntervalMs;

  // The bodies of the exports. Each takes the object (null gives UpdaterResultNullHandle, or null from
  // DownloadInfo) and returns the export's result.
  //
  // Makes an object from the caller's parameters, or null when `params` is null, the install root is empty or
  // longer than 255 characters, or the engine's file paths would not fit. Reads the versionInfo ini.
  static CUpdater* Create(const UpdaterParams* params);
  // Ends the run (StopUpdate) and frees the object.
  static int Remove(CUpdater* updater);
  // A new run, also after an earlier run on the same object ended (completed, failed or stopped): waits until
  // the previous session's connection is closed, sets the full-check flag for FullCheck (never cleared), then
  // BeginRun() and Start(). UpdaterResultOk, or UpdaterResultStartFailed with no event: the start failed, or
  // the previous run's worker still runs (a start never waits for a run's downloads; stop it first).
  static int StartUpdater(CUpdater* updater);
  static int FullCheck(CUpdater* updater);
  static int StopUpdater(CUpdater* updater);
  // Hold the worker at its next pause point, and let it go on (CBaseThread::Pause).
  static int PauseUpdater(CUpdater* updater);
  static int ResumeUpdater(CUpdater* updater);
  static UpdateStatus* DownloadInfo(CUpdater* updater);

  // Stops the socket and the worker without holding the engine lock, then frees everything.
  ~CUpdater() override;

  // Signals the worker's stop event and cancels a running download.
  void Stop() override;

  // Loads and checks the installed-file list (a changed list turns the run into a full check), runs the
  // self-check unless it is switched off, and starts the session. 0 started; 1 failed.
  int Start();
  // Ends the session (finished flag, disconnect), stops and waits for the worker (a paused one too: it holds
  // no lock while paused, and the stop wakes it), and saves the file list when it changed. Any thread but the
  // worker's. 0.
  int StopUpdate();
  // Compares the CRC-32 of the program file, QVTesserel.dll and patchw32.dll in the install root with their
  // records. 0 pass (a missing record passes and clears UpdaterVersion); 1 fail (UpdaterVersion below 1, or a
  // file that differs, which also clears UpdaterVersion).
  int SelfCheck();
  // Records `code` (an UpdateError) as the last error and sends UpdateEventError with it.
  void ReportError(int code) { context_.ReportError(code); }
  // Writes the three versionInfo values, unless an error has been recorded. False only when the write failed.
  bool SaveVersionInfo() const { return context_.SaveVersionInfo(); }

  // The session's socket callback with the engine object as `user` (see UpdateSession::OnSocketEvent).
  static void OnSocketEvent(void* user, int event, void* data);

  // Read access for tests.
  int current_version() const { return context_.version_info.current_version; }
  int separate_status() const { return context_.version_info.separate_status; }
  int updater_version() const { return context_.version_info.updater_version; }
  bool full_check() const { return context_.full_check != 0; }
  bool finished() const { return session_.finished(); }
  // For tests that wait for the session to go quiet (see UpdateSession).
  bool session_closed() const { return session_.ConnectionClosed(); }
  int session_packets_handled() const { return session_.packets_handled(); }
  uint16_t last_error() const { return context_.last_error; }
  bool no_self_update() const { return context_.no_self_update != 0; }
  const wchar_t* product_code() const { return context_.product_code; }
  const wchar_t* program_file_name() const { return context_.program_file_name; }
  const wchar_t* install_root() const { return context_.install_root; }
  const char* patch_server_ip() const { return session_.patch_server_ip(); }
  uint16_t patch_server_port() const { return session_.patch_server_port(); }
  const char* download_host() const { return context_.download_host; }
  const wchar_t* download_host_wide() const { return context_.download_host_wide; }
  const char* patch_server_host() const { return session_.patch_server_host(); }
  const wchar_t* version_info_path() const { return context_.version_info_path; }
  const wchar_t* file_list_path() const { return context_.file_list_path; }
  FileListStore& file_list() { return context_.file_list; }
  const UpdateStatus& status() const { return context_.status; }

 protected:
  // An empty object (stop event made, no thread); Create() fills it.
  CUpdater();
  // Copies the parameters, builds the engine's file paths and reads the versionInfo ini. False when the
  // object cannot be used (see Create).
  bool Initialize(const UpdaterParams& params);

  // The worker thread's body: UpdateWorker::Run. Tests replace it to stand in for the worker.
  void Run() override;
  // Starts the worker thread over the entry queue. False when it cannot be started; tests replace it to stand
  // in for a system that has no thread to give.
  virtual bool StartWorker();
  // The engine lock, for tests that hold the worker inside it.
  CriticalSection& engine_lock() { return context_.lock; }
  // The entries that the session has queued for the worker (for tests that stand in for the worker).
  const std::deque<std::unique_ptr<FileEntry>>& queued_entries() const { return context_.entries; }
  // Appends an entry to the back of the queue, under the engine lock (tests and the benchmark, which stand in
  // for the session).
  void QueueEntry(std::unique_ptr<FileEntry> entry);

  void set_download_stall_limit_ms(DWORD limit_ms) { worker_.set_download_stall_limit_ms(limit_ms); }
  void set_list_write_interval_ms(DWORD interval_ms) { worker_.set_list_write_interval_ms(interval_ms); }

 private:
  // SessionOwner, on the socket reader thread with the engine lock held.
  void OnSessionListComplete() override;
  void OnSessionFailed() override;

  // Installed-file list at start (CUpdaterFileList.cpp). 0 loaded (perhaps as a full check); 1 the list file
  // cannot be opened.
  int LoadFileList();
  void VerifyListedFiles();
  // The start of a run, both exports' shared part.
  int StartRun(bool full_check);
  // Under the engine lock, where the session starts the worker: false while the previous run's worker runs;
  // otherwise forgets that ended worker and whatever the previous run left (UpdaterContext::BeginRun,
  // UpdateSession::BeginSession), so that the new run starts from the installation as it is recorded.
  bool BeginRun();
  // Resumes, stops and waits for a worker thread that exists.
  void EndWorker();

  UpdaterContext context_;
  UpdateSession session_{context_, *this};
  UpdateWorker worker_{context_, *this};
};
