// UpdateWorker: the entries of one run, started when the server's list is complete. It takes the queued entries
// from the front one by one: checks whether the installation already holds each, otherwise downloads it into a
// temporary file beside its target (resuming a partial one), applies it, checks the result and records it in
// the installed-file list. Every step is reported through the caller's callback.
//
// A fresh download of a whole file is inflated, with its size and CRC-32, while it arrives (ArrivingFile), and
// is deleted and its result renamed through the open handles; only a resumed download is read back. A patch
// whose header promises the entry's size and CRC-32 is not read back after the patch library checked them.
//
// Threads: Run is the body of the engine object's worker thread; CancelDownload is called from any thread. A
// pause (CBaseThread::Pause) holds the worker between entries and between the blocks of a download, never
// while it holds a lock.
// State owned here: the downloader, the open temporary file, the patch library and the time of the last list
// write. Lock: the engine lock (UpdaterContext::lock, which states the lock order) only around taking an entry
// from the queue, giving records back, and making the downloader, which CancelDownload reaches from another
// thread; never while downloading, applying or calling back.
//
// What the list file says is always true of the disk, whenever the process ends:
//   - a whole or new file replaces its target only after its size and CRC-32 matched the entry, by a rename of
//     a complete file, so an interruption leaves the old file or the new one;
//   - a record is written only after its file is in place;
//   - before a recorded file is replaced or deleted, its record is withheld from the list file (for the whole
//     run's list in one write at its start), so no record names contents that are gone.
// The list is written at most once per write interval (and at the end); a file put in place since the last
// write has no record on disk yet, and the next run adopts it by its size and CRC-32 without a download.
#pragma once

#include <windows.h>

#include <array>
#include <cstdint>
#include <memory>
#include <string>

#include "base/ScopedHandle.h"
#include "engine/ArrivingFile.h"
#include "engine/CBaseThread.h"
#include "engine/EntryPaths.h"
#include "engine/FileEntry.h"
#include "engine/FolderNameCache.h"
#include "engine/PatchLibrary.h"
#include "engine/UpdaterContext.h"
#include "net/HttpFileDownloader.h"

class UpdateWorker {
 public:
  // How often at most the list is written while files are recorded. The list is rewritten whole, so writing
  // it after every file would make a run quadratic in the number of files.
  static constexpr DWORD kListWriteIntervalMs = 1000;

  // `thread` is the thread that runs Run; its stop event ends the run.
  UpdateWorker(UpdaterContext& context, const CBaseThread& thread);
  ~UpdateWorker();
  UpdateWorker(const UpdateWorker&) = delete;
  UpdateWorker& operator=(const UpdateWorker&) = delete;

  // The worker thread's body: every queued entry checked, downloaded, applied and recorded, then the end of
  // the run (list and versionInfo written, closing events). Ends at once, without further events, when the stop
  // event is set between entries; a stop during a download ends the run without an error.
  void Run();
  // Cancels a running download. Any thread; takes the engine lock.
  void CancelDownload();
  // Frees the downloader and closes the temporary file; only after the worker thread ended.
  void Release();

  // How long a download may go without data once data flows; tests shorten it before the first download.
  void set_download_stall_limit_ms(DWORD limit_ms) { download_stall_limit_ms_ = limit_ms; }
  // Replaces kListWriteIntervalMs; tests set 0 to have the list written after every record.
  void set_list_write_interval_ms(DWORD interval_ms) { list_write_interval_ms_ = interval_ms; }

 private:
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
  // Results of CheckEntry.
  enum CheckResult {
    kAlreadyInstalled = 0,
    kFetch = 1,
  };

  bool StopRequested() const { return thread_.StopRequested(); }
  std::unique_ptr<FileEntry> TakeNextEntry();
  // Handles one entry from the check to its record. False when the run must end now (a failure or a stop).
  bool HandleEntry(FileEntry& entry);
  // Whether the installation already holds the entry (not a delete entry). kAlreadyInstalled: a matching
  // record, or a file on disk with the entry's size and CRC-32, which is then recorded. May turn an RTP entry
  // into ZIP (no record, file missing, or more than one version ahead) and append ".nex" to a kEntryReserved
  // entry whose file is missing. The entry's name has passed JoinUnderRoot (engine/RelativeName.h).
  CheckResult CheckEntry(FileEntry& entry);
  // Removes the file of a delete entry and its record. 0, or the UpdateError that ends the run: the file is
  // still there, or its record could not be taken out of the list first.
  int DeleteEntryFile(const FileEntry& entry);
  // At the start of a run: withholds from the list file the record of every queued entry that is to replace
  // or delete a recorded file (one write instead of one per file), and writes the list when it changed. False
  // when it could not be written: the run must then change nothing.
  bool ReleaseRecordsOfQueuedEntries();
  // Before the file of `name` is replaced or deleted: makes sure the list file no longer holds its record.
  // False when the list could not be written: the file must then stay as it is.
  bool ReleaseRecordBeforeChange(const wchar_t* name);
  // When a run ends early: the records of the entries still queued go back into the list (their files were not
  // touched), and the list is written with `write` (on an error; a stop leaves that to StopUpdate).
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
  // Full check: removes the entry's temporary files of older versions (entry_paths::IsStaleTempName).
  void DeleteStaleTempFiles(const FileEntry& entry);
  bool BuildTempName(const FileEntry& entry, wchar_t (&path)[MAX_PATH]) const;
  bool BuildUrl(const FileEntry& entry, wchar_t (&url)[entry_paths::kMaxUrlLength]) const;

  // The downloader, made at the first download (under the engine lock); null when it cannot be made.
  HttpFileDownloader* EnsureDownloader();
  // Downloads `url` into `temp_path`, resuming from the size of an existing temporary file (restarting when
  // that file is larger than the remote one).
  DownloadResult DownloadEntry(const FileEntry& entry, const wchar_t* temp_path, const wchar_t* url);
  // A fresh download of a whole or new file: its result is made while it arrives (ArrivingFile).
  void StartArrivingFile(const FileEntry& entry, const wchar_t* temp_path);
  // The result made while the last download arrived, once: false when there is none (a resumed or failed
  // download, a patch, or a stream that could not be inflated whole); the download must then be read back.
  bool TakeArrivedFile(engine_files::InflatedFile* result);
  // Deletes the download of `temp_path`: through its kept handle when it arrived whole, else by name.
  void DeleteDownload(const wchar_t* temp_path);
  // Keeps the first bytes of a fresh patch download (its header) as they arrive.
  void KeepPatchHead(const char* data, size_t bytes);
  // True when the kept patch header names the target's file with the entry's size and CRC-32.
  bool PatchHeaderPromisesEntry(const FileEntry& entry, const wchar_t* target_path) const;
  // Opening the temporary file (its size becomes the resume offset), and preparing the transfer (open,
  // remote size, resume offset).
  DownloadResult OpenTempFile(const wchar_t* temp_path, int64_t* resume_offset);
  // `*resume_offset` becomes 0 when the transfer restarts from the first byte.
  DownloadResult PrepareTransfer(HttpFileDownloader& downloader, const wchar_t* url, int64_t* resume_offset);
  void CloseTempFile();
  // The downloader's sink (`worker` is this object): reports progress, then writes the block to the open
  // temporary file. The bytes written, or -1 without an open file or when the write fails.
  static int WriteDownloadData(const void* data, int bytes, void* worker);
  // Takes the downloader's progress into the status and sends UpdateEventProgress {file, 0, percent}.
  void ReportFileProgress();

  // Applies the downloaded temporary file of `entry` and records the result. Each kind's step leaves the old
  // file or none, never a part of the new one.
  ApplyResult ApplyEntry(const FileEntry& entry);
  ApplyResult ApplyWholeFile(const FileEntry& entry, const wchar_t* temp_path, const wchar_t* target_path);
  ApplyResult ApplyPatch(const FileEntry& entry, const wchar_t* temp_path, const wchar_t* target_path);
  ApplyResult ApplyNewFile(const FileEntry& entry, const wchar_t* temp_path, const wchar_t* target_path);
  // Makes or updates the entry's record with the measured size and CRC-32 and puts it back into the list file
  // (a file that is in place). The list is written at most once per write interval.
  void RecordInstalledFile(const FileEntry& entry, int32_t size, uint32_t crc);
  // Writes the list now; false when that failed (the changed flag then stays).
  bool SaveFileList();
  // Writes the list when it changed and the last write is at least the write interval ago.
  void SaveFileListSoon();

  UpdaterContext& context_;
  const CBaseThread& thread_;
  // Owned, made at the first download and kept for the run; used by the worker without the engine lock.
  std::unique_ptr<HttpFileDownloader> downloader_;
  DWORD download_stall_limit_ms_ = HttpFileDownloader::kStallLimitMs;
  DWORD list_write_interval_ms_ = kListWriteIntervalMs;
  // The installation's folders as the run first found them: a file without a record is looked for only
  // where its folder held its name.
  FolderNameCache folder_names_;
  // GetTickCount of the last list write.
  DWORD last_list_write_tick_ = 0;
  // The temporary file being downloaded into; empty when none is open.
  UniqueHandle temp_file_;
  // The result of the download that is arriving, and of the last one that arrived whole (arrived_).
  ArrivingFile arriving_;
  bool arrived_ = false;
  engine_files::InflatedFile arrived_result_;
  // The download that arrived whole, still open (with DELETE access) until it is deleted or renamed.
  UniqueHandle arrived_download_;
  // The first bytes of the patch being downloaded (its header: 24 bytes and a name of at most 1040).
  std::array<char, 24 + 1040> patch_head_{};
  size_t patch_head_bytes_ = 0;
  bool capture_patch_head_ = false;
  // The binary-patch library, loaded at the first patch.
  PatchLibrary patch_library_;
};
