// CUpdater: the engine object behind one handle of QVTesserel.dll. It brings one installation (install root +
// product code) up to date: loads and checks the installed-file list, talks to the patch server (session),
// then runs the worker thread over the server's entries, reporting through the caller's UpdateCallback.
//
// Files by concern:
//   CUpdater.cpp          making and freeing the object, the bodies of the exports, events and errors
//   CUpdaterFileList.cpp  loading, checking and saving the installed-file list; the self-check
//   CUpdaterSession.cpp   the session with the patch server: start (host resolution, connect), socket events,
//                         packets, version decision, list, end (its wire format: engine/SessionProtocol.h)
//   CUpdaterWorker.cpp    the worker thread: each entry checked, downloaded, applied and recorded
//
// Threads: the exports run on the caller's thread; the socket reader thread handles session events; the
// worker thread (CBaseThread::Run) handles the entries. The callback is called on all three.
//
// Locks, in the only order in which they may be nested:
//   1. the engine lock (lock_): the session's state — the finished flag, the patch-server address, the
//      socket, the list-receive buffer —, the entry queue, and the making of the downloader (which Stop
//      cancels from another thread). The socket reader thread holds it for the whole handling of a socket
//      event, callback included. Start() holds it around resolution and connect. Never held while waiting
//      for the worker or the reader, nor by the worker while it downloads, applies or calls back.
//   2. the store lock (inside FileListStore): every operation on the installed-file list. The check at start
//      calls the callback (event 18) while holding it.
//   3. whatever lock the caller's callback takes: always innermost, so the caller must not call an export
//   while
//      holding it.
// The UpdateStatus is written by the engine's threads without a lock and read by the caller at any time.
#pragma once

#include <cstdint>
#include <deque>
#include <memory>
#include <mutex>
#include <vector>

#include "engine/CBaseThread.h"
#include "engine/EntryPaths.h"
#include "engine/FileEntry.h"
#include "engine/FileListStore.h"
#include "engine/PatchLibrary.h"
#include "engine/QVTesserel.h"
#include "engine/SessionProtocol.h"
#include "engine/VersionInfoIni.h"
#include "net/CClientSocket.h"
#include "base/CriticalSection.h"
#include "net/HttpFileDownloader.h"
#include "base/ScopedHandle.h"

class CUpdater : public CBaseThread {
 public:
  // How often at most the worker writes the installed-file list while it records files. The list is
  // rewritten whole, so writing it after every file would make a run quadratic in the number of files.
  // Records made since the last write are not lost when the process ends before the next one: their files
  // are in place with the entry's size and CRC-32, and the next run adopts them without a download.
  static constexpr DWORD kListWriteIntervalMs = 1000;

  // The bodies of the exports. Each takes the object (null gives UpdaterResultNullHandle, or null from
  // DownloadInfo) and returns the export's result.
  //
  // Makes an object from the caller's parameters, or null when `params` is null, the install root is empty or
  // longer than 255 characters, or the engine's file paths would not fit. Reads the versionInfo ini.
  static CUpdater* Create(const UpdaterParams* params);
  // Ends the run (StopUpdate) and frees the object.
  static int Remove(CUpdater* updater);
  // Waits until the previous session's connection is closed, sets the full-check flag for FullCheck, then
  // Start(): UpdaterResultOk, or UpdaterResultStartFailed (no event is sent then).
  static int StartUpdater(CUpdater* updater);
  static int FullCheck(CUpdater* updater);
  static int StopUpdater(CUpdater* updater);
  // Suspend and resume the worker thread.
  static int PauseUpdater(CUpdater* updater);
  static int ResumeUpdater(CUpdater* updater);
  static UpdateStatus* DownloadInfo(CUpdater* updater);

  // Stops the socket and the worker without holding the engine lock, then frees everything.
  ~CUpdater() override;

  // Signals the worker's stop event (and cancels a running download).
  void Stop() override;

  // Loads and checks the installed-file list (a changed list turns the run into a full check), runs the
  // self-check unless it is switched off, resolves the patch server's host name when no IP is given, and
  // starts the connection unless the port is 0 or 65535. 0 started; 1 failed.
  int Start();
  // Ends the session (finished flag, disconnect), resumes, stops and waits for the worker, and saves the file
  // list when it changed. Any thread but the worker's. 0.
  int StopUpdate();
  // Compares the CRC-32 of the program file, QVTesserel.dll and patchw32.dll in the install root with their
  // records. 0 pass (a missing record passes and clears UpdaterVersion); 1 fail (UpdaterVersion below 1, or a
  // file that differs, which also clears UpdaterVersion).
  int SelfCheck();
  // Records `code` as the last error and sends event 17 with it.
  void ReportError(int code);
  // Writes the three versionInfo values, unless an error has been recorded. False only when the write failed.
  bool SaveVersionInfo();

  // The socket's owner callback (`user` is the engine), on the socket reader thread: takes the engine lock
  // for the whole handling, callback included. 1 connected: sends the session request; 2 closed: error 2
  // unless the session is finished; 3 packet: OnPacket; 4 a length field the stream cannot follow: error 3.
  // An event that arrives after the session's connection was closed by the engine is ignored.
  static void OnSocketEvent(void* user, int event, void* data);
  // Handles one packet from the server (`packet`: the socket's 8192-byte receive area). Called with the
  // engine lock held. 0 handled or ignored; 1 null, the session ended with an error (error 3 and
  // StopUpdate: refused, older server, a failed fold, a bad length, chunk, total or entry, an unsafe name),
  // or a list end that does not match the total (then nothing else happens).
  int OnPacket(const void* packet);

  // Read access for the session, the worker and tests.
  int current_version() const { return version_info_.current_version; }
  int separate_status() const { return version_info_.separate_status; }
  int updater_version() const { return version_info_.updater_version; }
  bool full_check() const { return full_check_ != 0; }
  bool finished() const { return finished_ != 0; }
  uint16_t last_error() const { return last_error_; }
  bool no_self_update() const { return no_self_update_ != 0; }
  const wchar_t* product_code() const { return product_code_; }
  const wchar_t* program_file_name() const { return program_file_name_; }
  const wchar_t* install_root() const { return install_root_; }
  const char* patch_server_ip() const { return patch_server_ip_; }
  uint16_t patch_server_port() const { return patch_server_port_; }
  const char* download_host() const { return download_host_; }
  const wchar_t* download_host_wide() const { return download_host_wide_; }
  const char* patch_server_host() const { return patch_server_host_; }
  const wchar_t* version_info_path() const { return version_info_path_; }
  const wchar_t* file_list_path() const { return file_list_path_; }
  FileListStore& file_list() { return file_list_; }
  const UpdateStatus& status() const { return status_; }

 protected:
  // An empty object (stop event made, no thread, temporary-file handle empty); Create() fills it.
  CUpdater();
  // Copies the parameters (every text bounded and terminated), builds the engine's file paths and reads the
  // versionInfo ini. False when the object cannot be used (see Create).
  bool Initialize(const UpdaterParams& params);

  // The worker thread's body (CUpdaterWorker.cpp): takes the queued entries from the front one by one,
  // checks, downloads, applies and records each, and ends the run. Ends at once, without further events,
  // when the stop event is set between entries; a stop during a download ends the run without an error.
  void Run() override;
  // Starts the worker thread over the entry queue. False when it cannot be started.
  bool StartWorker();
  // The entries that the session has queued for the worker (for tests that stand in for the worker).
  const std::deque<std::unique_ptr<FileEntry>>& queued_entries() const { return entries_; }
  // Appends an entry to the back of the queue, under the engine lock (tests and the benchmark, which stand
  // in for the session).
  void QueueEntry(std::unique_ptr<FileEntry> entry);

  // The worker's steps, on the worker thread (CUpdaterWorker.cpp). The entry's name has passed JoinUnderRoot
  // (base/RelativeName.h) before any of them is called.
  //
  // Whether the installation already holds the entry (not a delete entry: see DeleteEntryFile): 0 nothing to
  // fetch (a matching record; a file on disk with the entry's size and CRC-32, which is then recorded), 1
  // fetch. May turn an RTP entry into ZIP (no record, file missing, or more than one version ahead) and
  // append ".nex" to a kind-5 entry whose file is missing.
  int CheckEntry(FileEntry& entry);
  // Downloads `url` into `temp_path`, resuming from the size of an existing temporary file (restarting
  // when that file is larger than the remote one). A DownloadResult.
  int DownloadEntry(const wchar_t* temp_path, const wchar_t* url);
  // Applies the downloaded temporary file of `entry` and records the result. An ApplyResult.
  int ApplyEntry(const FileEntry& entry);
  // The downloader's sink (`engine` is this object): reports progress, then writes the block to the open
  // temporary file. The bytes written, or -1 without an open file or when the write fails.
  static int WriteDownloadData(const void* data, int bytes, void* engine);
  // Takes the downloader's progress into the status and sends event 9 {1, 0, percent}.
  void ReportFileProgress();
  // Full check: removes the entry's temporary files of older versions (entry_paths::IsStaleTempName).
  void DeleteStaleTempFiles(const FileEntry& entry);
  // entry_paths::BuildTempName and BuildUrl with this installation's root, download host and product.
  bool BuildTempName(const FileEntry& entry, wchar_t (&path)[MAX_PATH]) const;
  bool BuildUrl(const FileEntry& entry, wchar_t (&url)[entry_paths::kMaxUrlLength]) const;

  // Results of DownloadEntry; the nonzero ones other than kDownloadStopped are reported as UpdateError.
  enum DownloadResult {
    kDownloaded = 0,
    kDownloadNoTempName = UpdateErrorNoTempName,
    kDownloadTempFileCreate = UpdateErrorTempFileCreate,
    kDownloadTempFileWrite = UpdateErrorTempFileWrite,
    kDownloadFailed = UpdateErrorDownload,
    kDownloadStopped = UpdateErrorStopped,
  };
  // Results of ApplyEntry.
  enum ApplyResult {
    kApplied = 0,
    kApplyFailed = 1,
    kApplyFetchWhole = 2,  // the patch did not give the expected file: fetch the whole file instead
  };

  // How long a download may go without data once data flows; tests shorten it before the first download.
  void set_download_stall_limit_ms(DWORD limit_ms) { download_stall_limit_ms_ = limit_ms; }
  // Replaces kListWriteIntervalMs; tests set 0 to have the list written after every record.
  void set_list_write_interval_ms(DWORD interval_ms) { list_write_interval_ms_ = interval_ms; }

 private:
  // Sends one event to the caller's callback, when there is one.
  void Notify(int event, const void* data);

  // Installed-file list (CUpdaterFileList.cpp).
  int LoadFileList();
  void VerifyListedFiles();
  // Writes the list when it changed, then closes it. False when the write failed.
  bool CloseFileList();
  // Writes the list now; false when that failed (the changed flag then stays).
  bool SaveFileList();
  // Writes the list when it changed and the last write is at least the write interval ago.
  void SaveFileListSoon();
  // "<install root>\<name>" by the shell's path-append rule. False when it does not fit.
  bool BuildInstallPath(wchar_t (&path)[MAX_PATH], const wchar_t* name) const;

  // Session (CUpdaterSession.cpp). Called with the engine lock held, except ConnectSession.
  bool ResolvePatchServer();
  // Makes the socket at the first start and starts connecting to the patch server (a failed attempt shows
  // up as socket event 2). Called without the engine lock: Connect waits for the previous connection's
  // reader thread, which takes that lock. False when the socket cannot be made.
  bool ConnectSession();
  void HandleSocketEvent(int event, const void* data);
  void SendPacket(const uint8_t* packet, size_t length);
  void SendSessionRequest();
  void SendVersionRequest();
  int OnVersionReply(const session_protocol::Packet& packet);
  bool FoldSeparatedInstallation();
  void OnFileCount(int32_t count);
  void OnNothingToDo();
  int OnListChunk(const session_protocol::Packet& packet);
  int OnListEnd();
  void DropList();
  // A protocol error: error 3 (event 17), then StopUpdate.
  void EndSessionWithError();
  // Closes the session's connection (the reader thread then ends).
  void DisconnectSession();
  // True while the socket holds a connection; the exports wait for it to close before a new session.
  bool SessionConnectionOpen() const;
  void WaitForClosedSession() const;

  // Worker (CUpdaterWorker.cpp): resumes, stops and waits for a worker thread that exists.
  void EndWorker();
  std::unique_ptr<FileEntry> TakeNextEntry();
  // Handles one entry from the check to its record. False when the run must end now (a failure or a stop).
  bool HandleEntry(FileEntry& entry);
  // Removes the file of a delete entry and its record. 0, or the UpdateError that ends the run: the file is
  // still there, or its record could not be taken out of the list first.
  int DeleteEntryFile(const FileEntry& entry);
  // At the start of a run: withholds from the list file the record of every queued entry that is to replace
  // or delete a recorded file (one write instead of one per file), and writes the list when it changed. False
  // when it could not be written: the run must then change nothing.
  bool ReleaseRecordsOfQueuedEntries();
  // Before the file of `name` is replaced or deleted: makes sure the list file no longer holds its record, so
  // that a process ended right after the change leaves no record naming contents that are gone. False when
  // the list could not be written: the file must then stay as it is.
  bool ReleaseRecordBeforeChange(const wchar_t* name);
  // When a run ends early: the records of the entries still queued go back into the list (their files were
  // not touched), and the list is written with `write` (on an error; a stop leaves that to StopUpdate).
  void EndRunEarly(bool write);
  // Downloads and applies an entry that CheckEntry asked to fetch (a second time as the whole file when its
  // patch did not give the expected file). `target` is its path for the events. As HandleEntry.
  bool FetchEntry(FileEntry& entry, const wchar_t* target);
  // An entry that ends the run: `error` reported (0: none, for a stop), the entry counted done. False.
  bool EndRunAtEntry(int error);
  // The end of a run: the file list saved, the versionInfo written, the closing events.
  void FinishRun();
  void SendProgress(int32_t kind, int32_t a, int32_t b);
  void SetApplying(int32_t applying);
  // The downloader, made at the first download; null when it cannot be made.
  HttpFileDownloader* EnsureDownloader();
  // Steps of DownloadEntry: opening the temporary file (its size becomes the resume offset), and preparing
  // the transfer (open, remote size, resume offset).
  int OpenTempFile(const wchar_t* temp_path, int64_t* resume_offset);
  int PrepareTransfer(HttpFileDownloader& downloader, const wchar_t* url, int64_t resume_offset);
  void CloseTempFile();
  // Steps of ApplyEntry, one per kind; each returns an ApplyResult and leaves the old file or none, never
  // a part of the new one.
  int ApplyWholeFile(const FileEntry& entry, const wchar_t* temp_path, const wchar_t* target_path);
  int ApplyPatch(const FileEntry& entry, const wchar_t* temp_path, const wchar_t* target_path);
  int ApplyNewFile(const FileEntry& entry, const wchar_t* temp_path, const wchar_t* target_path);
  // Makes or updates the entry's record with the measured size and CRC-32 and puts it back into the list
  // file (a file that is in place). The list is written at most once per write interval.
  void RecordInstalledFile(const FileEntry& entry, int32_t size, uint32_t crc);

  UpdateCallback callback_ = nullptr;
  void* user_value_ = nullptr;
  // The engine lock (see the top of this file).
  CriticalSection lock_;
  // The session's TCP client, owned, with OnSocketEvent as its owner callback; made at the first start that
  // connects. Set and cleared under the engine lock; released first in the destructor, without the engine
  // lock, because its reader thread takes that lock.
  std::unique_ptr<CClientSocket> socket_;
  // The session with the server is over. Set by StopUpdate and by the session's end; cleared only when the
  // object is made, so a start does not reset it.
  int finished_ = 0;
  VersionInfo version_info_;
  UpdateStatus status_{};
  // Set by FullCheck or by a start whose list changed on loading; never cleared.
  int full_check_ = 0;
  int no_self_update_ = 0;
  wchar_t product_code_[64] = {};
  wchar_t program_file_name_[64] = {};
  wchar_t install_root_[256] = {};
  char patch_server_ip_[16] = {};
  uint16_t patch_server_port_ = 0;
  char download_host_[100] = {};
  wchar_t download_host_wide_[100] = {};
  char patch_server_host_[100] = {};
  FileListStore file_list_;
  // The server's entries, taken from the front by the worker.
  std::deque<std::unique_ptr<FileEntry>> entries_;
  // The list as it arrives from the server: the list bytes so far, the announced total (0 until the first
  // chunk), the list bytes received.
  std::vector<uint8_t> list_buffer_;
  uint32_t list_total_ = 0;
  uint32_t list_received_ = 0;
  wchar_t version_info_path_[MAX_PATH] = {};
  wchar_t file_list_path_[MAX_PATH] = {};
  // An UpdateError; 0 none. Once set it suppresses event 7 and the versionInfo write for the object's life.
  uint16_t last_error_ = 0;
  // The HTTP downloader, owned, made at the first download and kept for the run. Made under the engine lock
  // (Stop cancels it from another thread); used by the worker without it.
  std::unique_ptr<HttpFileDownloader> downloader_;
  DWORD download_stall_limit_ms_ = HttpFileDownloader::kStallLimitMs;
  DWORD list_write_interval_ms_ = kListWriteIntervalMs;
  // GetTickCount of the last list write of the worker.
  DWORD last_list_write_tick_ = 0;
  // The temporary file being downloaded into; empty when none is open. Opened, written and closed by the
  // worker only (the destructor closes it after the worker ended).
  UniqueHandle temp_file_;
  // The binary-patch library, loaded at the first patch (worker only).
  PatchLibrary patch_library_;
};
