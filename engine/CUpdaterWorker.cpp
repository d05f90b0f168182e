// The worker thread: started when the server's list is complete, it handles the queued entries one by one.
//
// One entry: check whether the installation already holds it; otherwise download it into a temporary file
// beside its target (resuming a partial one), apply it, check the result and record it in the installed-file
// list. Every step is reported through the callback, without the engine lock.
//
// What the list file says is always true of the disk, whenever the process ends:
//   - a whole or new file replaces its target only after its size and CRC-32 matched the entry, by a rename
//     of a complete file, so an interruption leaves the old file or the new one;
//   - a record is written only after its file is in place;
//   - before a recorded file is replaced or deleted, its record is withheld from the list file (for the whole
//     run's list in one write at its start), so no record names contents that are gone.
// The list is written at most once per write interval (and at the end); a file put in place since the last
// write has no record on disk yet, and the next run adopts it by its size and CRC-32 without a download.
#include <cwchar>

#include "engine/CCrc32Static.h"
#include "engine/CUpdater.h"
#include "engine/EngineFiles.h"
#include "base/ScopedHandle.h"
#include "engine/InflateFile.h"
#include "base/RelativeName.h"
#include "engine/SystemCalls.h"

namespace {

// Size (a failed query counts as 0) and CRC-32 of a file. False when it cannot be opened.
bool MeasureFile(const wchar_t* path, int64_t* size, uint32_t* crc) {
  SetFileAttributesW(path, FILE_ATTRIBUTE_ARCHIVE);
  {
    UniqueHandle file(
        system_calls().create_file(path, GENERIC_READ, FILE_SHARE_READ, nullptr, OPEN_EXISTING, 0, nullptr));
    if (!file)
      return false;
    LARGE_INTEGER length;
    *size = GetFileSizeEx(file.get(), &length) ? length.QuadPart : 0;
  }
  *crc = 0;
  return CCrc32Static::FileCrc32(*crc, path) == 0;
}

bool MatchesEntry(const FileEntry& entry, int64_t size, uint32_t crc) {
  return size == static_cast<int64_t>(entry.size) && crc == entry.crc32;
}

bool RecordMatchesEntry(const FileRecord& record, const FileEntry& entry) {
  return record.version == entry.version && record.size == entry.size && record.crc32 == entry.crc32;
}

// Kinds whose handling may replace or delete the installed file.
bool ChangesInstalledFile(int32_t kind) {
  return kind == kEntryZip || kind == kEntryRtp || kind == kEntryNew || kind == kEntryDelete;
}

// True when a file (not a folder) of that name is there. A path that cannot be looked at counts as there.
bool FileIsThere(const wchar_t* path) {
  const DWORD attributes = GetFileAttributesW(path);
  if (attributes == INVALID_FILE_ATTRIBUTES) {
    const DWORD error = GetLastError();
    return error != ERROR_FILE_NOT_FOUND && error != ERROR_PATH_NOT_FOUND;
  }
  return (attributes & FILE_ATTRIBUTE_DIRECTORY) == 0;
}

// A regular file of exactly the entry's size and CRC-32.
bool FileMatchesEntry(const wchar_t* path, const FileEntry& entry) {
  WIN32_FILE_ATTRIBUTE_DATA data;
  if (!GetFileAttributesExW(path, GetFileExInfoStandard, &data) ||
      (data.dwFileAttributes & FILE_ATTRIBUTE_DIRECTORY) != 0)
    return false;
  const int64_t size = (static_cast<int64_t>(data.nFileSizeHigh) << 32) | data.nFileSizeLow;
  if (size != static_cast<int64_t>(entry.size))
    return false;
  uint32_t crc = 0;
  return CCrc32Static::FileCrc32(crc, path) == 0 && crc == entry.crc32;
}

int64_t FileSizeOf(const wchar_t* path) {
  WIN32_FILE_ATTRIBUTE_DATA data;
  if (!GetFileAttributesExW(path, GetFileExInfoStandard, &data))
    return -1;
  return (static_cast<int64_t>(data.nFileSizeHigh) << 32) | data.nFileSizeLow;
}

// Puts a complete file in the place of `target`, whatever the target's attributes were.
bool ReplaceFile(const wchar_t* source, const wchar_t* target) {
  SetFileAttributesW(target, FILE_ATTRIBUTE_ARCHIVE);
  return system_calls().move_file(source, target, MOVEFILE_REPLACE_EXISTING) != 0;
}

// The file a whole file is inflated into before it replaces its target: the temporary name with its "zip"
// suffix turned into "unz", so it is as long as a name that is known to fit.
void InflateTargetName(wchar_t (&out)[MAX_PATH], const wchar_t* temp_path) {
  wcscpy(out, temp_path);
  size_t length = wcslen(out);
  if (length >= 3)
    wcscpy(out + length - 3, L"unz");
}

}  // namespace

void CUpdater::Run() {
  SetApplying(0);
  last_list_write_tick_ = GetTickCount();
  if (!ReleaseRecordsOfQueuedEntries()) {
    // Every record would fail the same way: change nothing rather than leave a list that names old files.
    ReportError(UpdateErrorTempFileWrite);
    EndRunEarly(false);
    return;
  }
  for (;;) {
    if (StopRequested()) {
      EndRunEarly(false);
      return;
    }
    std::unique_ptr<FileEntry> entry = TakeNextEntry();
    if (!entry)
      break;
    if (!HandleEntry(*entry)) {
      // A stop leaves the list to StopUpdate, which writes it once the worker has ended.
      EndRunEarly(!StopRequested());
      return;
    }
  }
  FinishRun();
}

bool CUpdater::ReleaseRecordsOfQueuedEntries() {
  {
    std::lock_guard<CriticalSection> lock(lock_);
    for (const std::unique_ptr<FileEntry>& entry : entries_) {
      if (!ChangesInstalledFile(entry->kind) || !IsSafeRelativeName(entry->name))
        continue;
      const FileRecord* record = file_list_.Find(entry->name);
      if (record != nullptr && (entry->kind == kEntryDelete || !RecordMatchesEntry(*record, *entry)))
        file_list_.Withhold(entry->name);
    }
  }
  return !file_list_.changed() || SaveFileList();
}

bool CUpdater::ReleaseRecordBeforeChange(const wchar_t* name) {
  return !file_list_.Withhold(name) || SaveFileList();
}

void CUpdater::EndRunEarly(bool write) {
  {
    std::lock_guard<CriticalSection> lock(lock_);
    for (const std::unique_ptr<FileEntry>& entry : entries_)
      file_list_.Restore(entry->name);
  }
  if (write && file_list_.changed())
    SaveFileList();
}

std::unique_ptr<FileEntry> CUpdater::TakeNextEntry() {
  std::lock_guard<CriticalSection> lock(lock_);
  if (entries_.empty())
    return nullptr;
  std::unique_ptr<FileEntry> entry = std::move(entries_.front());
  entries_.pop_front();
  return entry;
}

void CUpdater::QueueEntry(std::unique_ptr<FileEntry> entry) {
  std::lock_guard<CriticalSection> lock(lock_);
  entries_.push_back(std::move(entry));
}

bool CUpdater::HandleEntry(FileEntry& entry) {
  // A name that would leave the install root gets no file operation at all, deletes included: the run ends
  // as for a download that could not be given a temporary name.
  wchar_t target[MAX_PATH];
  if (!JoinUnderRoot(target, install_root_, entry.name)) {
    file_list_.Restore(entry.name);
    return EndRunAtEntry(UpdateErrorNoTempName);
  }
  if (full_check_ != 0)
    DeleteStaleTempFiles(entry);
  BuildInstallPath(target, entry.name);
  if (entry.kind == kEntryDelete) {
    const int error = DeleteEntryFile(entry);
    if (error != 0)
      return EndRunAtEntry(error);
  }
  if (entry.kind == kEntryDelete || CheckEntry(entry) == 0) {
    status_.currentEntry = entry.sequence_number;
    status_.fileTotalBytes = entry.size;
    status_.fileDoneBytes = entry.size;
    Notify(UpdateEventCurrentFile, target);
    SendProgress(UpdateProgressFile, 0, 0);
    SendProgress(UpdateProgressRun, UpdateProgressRunEntryDone, 1);
    return true;
  }
  return FetchEntry(entry, target);
}

bool CUpdater::FetchEntry(FileEntry& entry, const wchar_t* target) {
  // A whole or new file replaces the target only when it is right, and a patch that fails deletes it. Until
  // the target has changed, a failure leaves the installed file as it was, and its record goes back.
  bool target_changed = false;
  for (;;) {
    wchar_t url[entry_paths::kMaxUrlLength];
    wchar_t temp[MAX_PATH];
    if (!BuildUrl(entry, url) || !BuildTempName(entry, temp)) {
      if (!target_changed)
        file_list_.Restore(entry.name);
      SendProgress(UpdateProgressRun, UpdateProgressRunEntryDone, 1);
      return true;
    }
    status_.currentEntry = entry.sequence_number;
    status_.fileDoneBytes = 0;
    Notify(UpdateEventCurrentFile, temp);
    SendProgress(UpdateProgressFile, 0, 0);
    const int downloaded = DownloadEntry(temp, url);
    if (downloaded != kDownloaded) {
      if (!target_changed)
        file_list_.Restore(entry.name);
      // An empty file has nothing to resume; a partial one is kept for the next run.
      if (downloaded != kDownloadStopped && FileSizeOf(temp) == 0)
        engine_files::ForceDeleteFile(temp);
      return EndRunAtEntry(downloaded == kDownloadStopped ? 0 : downloaded);
    }
    Notify(UpdateEventCurrentFile, target);
    SendProgress(UpdateProgressFile, 0, 100);
    SetApplying(1);
    // On failure the download stays complete beside the target: the next run applies it without a transfer.
    if (!ReleaseRecordBeforeChange(entry.name))
      return EndRunAtEntry(UpdateErrorTempFileWrite);
    const int applied = ApplyEntry(entry);
    if (applied == kApplyFailed) {
      if (!target_changed)
        file_list_.Restore(entry.name);
      return EndRunAtEntry(UpdateErrorApply);
    }
    SetApplying(0);
    if (applied == kApplied) {
      SendProgress(UpdateProgressRun, UpdateProgressRunEntryDone, 1);
      return true;
    }
    // The patch did not give the expected file (and the target is gone): the same entry again, as the whole
    // file. Only a patch asks for this, so the loop runs at most twice.
    target_changed = true;
    entry.kind = kEntryZip;
  }
}

bool CUpdater::EndRunAtEntry(int error) {
  if (error != 0)
    ReportError(error);
  SendProgress(UpdateProgressRun, UpdateProgressRunEntryDone, 1);
  return false;
}

void CUpdater::FinishRun() {
  // A list or versionInfo that did not reach the disk is a failure: reported as success, the next start would
  // find a version that its list does not describe.
  if (!CloseFileList())
    ReportError(UpdateErrorTempFileWrite);
  if (!SaveVersionInfo())
    ReportError(UpdateErrorTempFileWrite);
  SendProgress(UpdateProgressFile, 0, 100);
  SendProgress(UpdateProgressRun, UpdateProgressRunFinished, 0);
  if (last_error_ == 0)
    Notify(UpdateEventCompleted, nullptr);
}

void CUpdater::SendProgress(int32_t kind, int32_t a, int32_t b) {
  const UpdateProgress progress = {kind, a, b};
  Notify(UpdateEventProgress, &progress);
}

void CUpdater::SetApplying(int32_t applying) {
  status_.applying = applying;
  Notify(UpdateEventStatusChanged, &status_);
}

int CUpdater::DeleteEntryFile(const FileEntry& entry) {
  wchar_t target[MAX_PATH];
  engine_files::JoinPath(target, install_root_, entry.name);
  if (!ReleaseRecordBeforeChange(entry.name))
    return UpdateErrorTempFileWrite;
  engine_files::ForceDeleteFile(target);
  if (FileIsThere(target)) {
    // Still there: its record is true again, and the run must not be taken for complete, or the file would
    // stay for good.
    file_list_.Restore(entry.name);
    return UpdateErrorApply;
  }
  if (file_list_.Remove(entry.name) == FileListStore::kOk) {
    file_list_.SetChanged(true);
    SaveFileListSoon();
  }
  return 0;
}

int CUpdater::CheckEntry(FileEntry& entry) {
  wchar_t target[MAX_PATH];
  engine_files::JoinPath(target, install_root_, entry.name);
  const FileRecord* record = file_list_.Find(entry.name);
  if (record != nullptr) {
    if (RecordMatchesEntry(*record, entry))
      return 0;
    wchar_t installed[MAX_PATH];
    if (!BuildInstallPath(installed, record->name) || engine_files::PathExists(installed) != 0) {
      if (entry.kind == kEntryRtp)
        entry.kind = kEntryZip;
      const size_t length = wcsnlen(entry.name, kMaxRelativeNameLength + 1);
      if (entry.kind == kEntryReserved && length + 4 <= kMaxRelativeNameLength)
        wcscpy(entry.name + length, L".nex");
    }
  } else if (FileMatchesEntry(target, entry)) {
    // Installed by other means (the game's installer, a copy, a run that ended before its list was written):
    // take it as it is.
    RecordInstalledFile(entry, entry.size, entry.crc32);
    return 0;
  }
  // A patch is made from the previous version only: it fits a recorded file one version behind at most.
  if (entry.kind == kEntryRtp) {
    const bool patchable = record != nullptr && entry.version != 0 && record->version != 0 &&
                           static_cast<int64_t>(entry.version) - record->version <= 1;
    if (!patchable)
      entry.kind = kEntryZip;
  }
  return 1;
}

void CUpdater::DeleteStaleTempFiles(const FileEntry& entry) {
  wchar_t pattern[MAX_PATH];
  if (!engine_files::ConcatTexts(pattern, MAX_PATH, {install_root_, L"\\", entry.name, L".*"}))
    return;
  // One directory search instead of one delete per older version: a long history would otherwise cost
  // thousands of calls per entry.
  const wchar_t* base = wcsrchr(entry.name, L'\\');
  base = base != nullptr ? base + 1 : entry.name;
  const wchar_t* folder_end = wcsrchr(pattern, L'\\');
  const std::wstring folder(pattern, static_cast<size_t>(folder_end - pattern));
  WIN32_FIND_DATAW found;
  FindHandle search(FindFirstFileW(pattern, &found));
  if (!search)
    return;
  do {
    if ((found.dwFileAttributes & FILE_ATTRIBUTE_DIRECTORY) != 0 ||
        !entry_paths::IsStaleTempName(found.cFileName, base, entry.version))
      continue;
    wchar_t stale[MAX_PATH];
    if (engine_files::JoinPath(stale, folder.c_str(), found.cFileName))
      engine_files::ForceDeleteFile(stale);
  } while (FindNextFileW(search.get(), &found));
}

bool CUpdater::BuildTempName(const FileEntry& entry, wchar_t (&path)[MAX_PATH]) const {
  return entry_paths::BuildTempName(path, install_root_, entry);
}

bool CUpdater::BuildUrl(const FileEntry& entry, wchar_t (&url)[entry_paths::kMaxUrlLength]) const {
  return entry_paths::BuildUrl(url, download_host_wide_, product_code_, entry);
}

HttpFileDownloader* CUpdater::EnsureDownloader() {
  std::lock_guard<CriticalSection> lock(lock_);
  if (!downloader_)
    downloader_.reset(new (std::nothrow) HttpFileDownloader(download_stall_limit_ms_));
  return downloader_.get();
}

int CUpdater::DownloadEntry(const wchar_t* temp_path, const wchar_t* url) {
  HttpFileDownloader* downloader = EnsureDownloader();
  if (downloader == nullptr || url == nullptr || url[0] == L'\0')
    return kDownloadFailed;
  if (temp_path == nullptr || temp_path[0] == L'\0')
    return kDownloadNoTempName;
  int64_t resume_offset = 0;
  int result = OpenTempFile(temp_path, &resume_offset);
  if (result != kDownloaded)
    return result;
  result = PrepareTransfer(*downloader, url, resume_offset);
  if (result != kDownloaded) {
    CloseTempFile();
    return result;
  }
  if (!downloader->Perform()) {
    switch (downloader->GetError()) {
      case kDownloaderErrorCancelled:
        result = kDownloadStopped;
        break;
      case kDownloaderErrorSink:
        result = kDownloadTempFileWrite;
        break;
      default:
        result = kDownloadFailed;
        break;
    }
  }
  // A restarted file may have been longer than what it now holds.
  SetEndOfFile(temp_file_.get());
  CloseTempFile();
  ReportFileProgress();
  return result;
}

int CUpdater::OpenTempFile(const wchar_t* temp_path, int64_t* resume_offset) {
  *resume_offset = 0;
  // One call opens an existing file or makes a new one; only a missing folder takes the longer way.
  UniqueHandle file(system_calls().create_file(temp_path, GENERIC_WRITE, FILE_SHARE_READ, nullptr,
                                               OPEN_ALWAYS, FILE_ATTRIBUTE_NORMAL, nullptr));
  if (!file) {
    if (GetLastError() != ERROR_PATH_NOT_FOUND)
      return kDownloadTempFileCreate;
    file = engine_files::CreateFileWithParents(temp_path);
    if (!file)
      return kDownloadTempFileCreate;
  }
  LARGE_INTEGER size;
  const LARGE_INTEGER zero = {};
  if (!GetFileSizeEx(file.get(), &size) || !SetFilePointerEx(file.get(), zero, nullptr, FILE_END))
    return kDownloadTempFileCreate;
  *resume_offset = size.QuadPart;
  temp_file_ = std::move(file);
  return kDownloaded;
}

void CUpdater::CloseTempFile() {
  temp_file_.reset();
}

int CUpdater::PrepareTransfer(HttpFileDownloader& downloader, const wchar_t* url, int64_t resume_offset) {
  if (!downloader.Open(url, this, &CUpdater::WriteDownloadData))
    return kDownloadFailed;
  // Open clears the downloader's cancel flag: a stop that came just before it is seen here, and one that
  // comes after it cancels the transfer.
  if (StopRequested())
    return kDownloadStopped;
  if (resume_offset > 0) {
    const int64_t remote_size = downloader.GetRemoteSize();
    if (remote_size < 0)
      return downloader.GetError() == kDownloaderErrorCancelled ? kDownloadStopped : kDownloadFailed;
    if (resume_offset > remote_size) {
      // Not a part of this file: start again from its first byte.
      resume_offset = 0;
      const LARGE_INTEGER zero = {};
      if (!SetFilePointerEx(temp_file_.get(), zero, nullptr, FILE_BEGIN))
        return kDownloadTempFileWrite;
    }
  }
  return downloader.SetResumeOffset(resume_offset) ? kDownloaded : kDownloadFailed;
}

int CUpdater::WriteDownloadData(const void* data, int bytes, void* engine) {
  CUpdater* updater = static_cast<CUpdater*>(engine);
  if (updater == nullptr || !updater->temp_file_ || bytes < 0)
    return -1;
  updater->ReportFileProgress();
  DWORD written = 0;
  if (!system_calls().write_file(updater->temp_file_.get(), data, static_cast<DWORD>(bytes), &written,
                                 nullptr))
    return -1;
  return static_cast<int>(written);
}

void CUpdater::ReportFileProgress() {
  // Only the worker makes and uses the downloader; the destructor frees it after the worker ended.
  if (downloader_) {
    DownloaderProgress progress = {};
    downloader_->GetProgress(&progress);
    status_.fileDoneBytes = progress.done;
    status_.fileTotalBytes = progress.total;
  }
  const int64_t done = status_.fileDoneBytes;
  const int64_t total = status_.fileTotalBytes;
  int64_t percent = total != 0 ? done * 100 / total : 0;
  if (percent < 0)
    percent = 0;
  if (percent > 100)
    percent = 100;
  SendProgress(UpdateProgressFile, 0, static_cast<int32_t>(percent));
}

int CUpdater::ApplyEntry(const FileEntry& entry) {
  wchar_t target[MAX_PATH];
  wchar_t temp[MAX_PATH];
  if (!engine_files::JoinPath(target, install_root_, entry.name) || !BuildTempName(entry, temp))
    return kApplyFailed;
  switch (entry.kind) {
    case kEntryZip:
      return ApplyWholeFile(entry, temp, target);
    case kEntryRtp:
      return ApplyPatch(entry, temp, target);
    case kEntryNew:
      return ApplyNewFile(entry, temp, target);
    default:
      return kApplyFailed;
  }
}

int CUpdater::ApplyWholeFile(const FileEntry& entry, const wchar_t* temp_path, const wchar_t* target_path) {
  wchar_t inflated[MAX_PATH];
  InflateTargetName(inflated, temp_path);
  UniqueHandle source(system_calls().create_file(temp_path, GENERIC_READ, FILE_SHARE_READ, nullptr,
                                                 OPEN_EXISTING, 0, nullptr));
  // Size and CRC-32 are counted while the file is written: reading it back would double the disk work.
  engine_files::InflatedFile written;
  // Never more than the entry's size: a stream that inflates beyond it is not the entry's file, and a small
  // one could otherwise fill the disk.
  const uint64_t bound = entry.size > 0 ? static_cast<uint64_t>(entry.size) : 0;
  const bool complete = source &&
                        engine_files::InflateFile(std::move(source), inflated, &written, bound) == 1 &&
                        MatchesEntry(entry, static_cast<int64_t>(written.size), written.crc32);
  // Whatever happened, the download is used up: a damaged one must not be resumed.
  engine_files::ForceDeleteFile(temp_path);
  if (!complete || !ReplaceFile(inflated, target_path)) {
    engine_files::ForceDeleteFile(inflated);
    return kApplyFailed;
  }
  RecordInstalledFile(entry, entry.size, written.crc32);
  return kApplied;
}

int CUpdater::ApplyPatch(const FileEntry& entry, const wchar_t* temp_path, const wchar_t* target_path) {
  // The patch library rebuilds the file beside the target and replaces it only when its own header matched.
  std::string command_line;
  int result = PatchLibrary::kNotAvailable;
  if (entry_paths::BuildPatchCommandLine(&command_line, temp_path,
                                         entry_paths::PatchTargetFolder(target_path)))
    result = patch_library_.Apply(command_line.c_str());
  engine_files::ForceDeleteFile(temp_path);
  if (result != 0) {
    engine_files::ForceDeleteFile(target_path);
    return kApplyFetchWhole;
  }
  int64_t size = 0;
  uint32_t crc = 0;
  // A patched file that cannot be read back is not known to be right: fetch the whole file.
  if (!MeasureFile(target_path, &size, &crc) || !MatchesEntry(entry, size, crc)) {
    engine_files::ForceDeleteFile(target_path);
    return kApplyFetchWhole;
  }
  RecordInstalledFile(entry, entry.size, crc);
  return kApplied;
}

int CUpdater::ApplyNewFile(const FileEntry& entry, const wchar_t* temp_path, const wchar_t* target_path) {
  int64_t size = 0;
  uint32_t crc = 0;
  if (!MeasureFile(temp_path, &size, &crc) || !MatchesEntry(entry, size, crc) ||
      !ReplaceFile(temp_path, target_path)) {
    engine_files::ForceDeleteFile(temp_path);
    return kApplyFailed;
  }
  RecordInstalledFile(entry, entry.size, crc);
  return kApplied;
}

void CUpdater::RecordInstalledFile(const FileEntry& entry, int32_t size, uint32_t crc) {
  FileRecord* record = file_list_.Find(entry.name);
  std::unique_ptr<FileRecord> made;
  if (record == nullptr) {
    made.reset(new (std::nothrow) FileRecord());
    if (!made)
      return;
    wcsncpy(made->name, entry.name, kMaxRelativeNameLength);
    made->name[kMaxRelativeNameLength] = L'\0';
    record = made.get();
  }
  record->size = size;
  record->version = entry.version;
  record->crc32 = crc;
  record->registeredVersion = entry.registered_version;
  file_list_.SetChanged(true);
  if (made)
    file_list_.Insert(std::move(made));
  file_list_.Restore(entry.name);
  SaveFileListSoon();
}

bool CUpdater::StartWorker() {
  return StartThread();
}

void CUpdater::Stop() {
  CBaseThread::Stop();
  // The worker makes the downloader under the engine lock; a caller that stops the run may come at any time.
  std::lock_guard<CriticalSection> lock(lock_);
  if (downloader_)
    downloader_->Cancel();
}

void CUpdater::EndWorker() {
  if (!HasThread())
    return;
  // A worker that was paused (perhaps more than once) must run again, or the wait below would never end.
  ResumeFully();
  Stop();
  WaitForThread();
}
