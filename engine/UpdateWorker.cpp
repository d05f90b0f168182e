// The worker of one run (contract, threads and the promises it keeps: engine/UpdateWorker.h).
#include <algorithm>
#include <cstring>
#include <cwchar>
#include <string_view>

#include "base/RelativeName.h"
#include "base/ScopedHandle.h"
#include "engine/CCrc32Static.h"
#include "engine/EngineFiles.h"
#include "engine/InflateFile.h"
#include "engine/SystemCalls.h"
#include "engine/UpdateWorker.h"
#include "patch/PatchFormat.h"

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

// Puts a complete file in the place of `target`, whatever the target's attributes were. The attributes are
// cleared only when the rename was refused: most targets are missing or plain, and each call costs.
bool ReplaceFile(const wchar_t* source, const wchar_t* target) {
  if (system_calls().move_file(source, target, MOVEFILE_REPLACE_EXISTING))
    return true;
  if (GetLastError() != ERROR_ACCESS_DENIED)
    return false;
  SetFileAttributesW(target, FILE_ATTRIBUTE_ARCHIVE);
  return system_calls().move_file(source, target, MOVEFILE_REPLACE_EXISTING) != 0;
}

// Deletes a file the worker made itself (a download): its attributes are ours, so they are cleared only when
// the plain delete was refused.
void DeleteOwnFile(const wchar_t* path) {
  if (!system_calls().delete_file(path) && GetLastError() == ERROR_ACCESS_DENIED)
    engine_files::ForceDeleteFile(path);
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

UpdateWorker::UpdateWorker(UpdaterContext& context, const CBaseThread& thread)
    : context_(context), thread_(thread) {}

UpdateWorker::~UpdateWorker() = default;

void UpdateWorker::Release() {
  std::lock_guard<CriticalSection> lock(context_.lock);
  downloader_.reset();
  temp_file_.reset();
  arrived_download_.reset();
  arriving_.Abandon();
}

void UpdateWorker::Run() {
  folder_names_.Clear();
  SetApplying(0);
  last_list_write_tick_ = GetTickCount();
  if (!ReleaseRecordsOfQueuedEntries()) {
    // Every record would fail the same way: change nothing rather than leave a list that names old files.
    context_.ReportError(UpdateErrorTempFileWrite);
    EndRunEarly(false);
    return;
  }
  for (;;) {
    // Between entries the worker holds no lock: a pause holds it here.
    if (!thread_.WaitWhilePaused()) {
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

bool UpdateWorker::ReleaseRecordsOfQueuedEntries() {
  {
    std::lock_guard<CriticalSection> lock(context_.lock);
    for (const std::unique_ptr<FileEntry>& entry : context_.entries) {
      if (!ChangesInstalledFile(entry->kind) || !IsSafeRelativeName(entry->name))
        continue;
      const FileRecord* record = context_.file_list.Find(entry->name);
      if (record != nullptr && (entry->kind == kEntryDelete || !RecordMatchesEntry(*record, *entry)))
        context_.file_list.Withhold(entry->name);
    }
  }
  return !context_.file_list.changed() || SaveFileList();
}

bool UpdateWorker::ReleaseRecordBeforeChange(const wchar_t* name) {
  return !context_.file_list.Withhold(name) || SaveFileList();
}

void UpdateWorker::EndRunEarly(bool write) {
  {
    std::lock_guard<CriticalSection> lock(context_.lock);
    for (const std::unique_ptr<FileEntry>& entry : context_.entries)
      context_.file_list.Restore(entry->name);
  }
  if (write && context_.file_list.changed())
    SaveFileList();
}

std::unique_ptr<FileEntry> UpdateWorker::TakeNextEntry() {
  std::lock_guard<CriticalSection> lock(context_.lock);
  if (context_.entries.empty())
    return nullptr;
  std::unique_ptr<FileEntry> entry = std::move(context_.entries.front());
  context_.entries.pop_front();
  return entry;
}

bool UpdateWorker::HandleEntry(FileEntry& entry) {
  // A name that would leave the install root gets no file operation at all, deletes included: the run ends
  // as for a download that could not be given a temporary name.
  wchar_t target[MAX_PATH];
  if (!JoinUnderRoot(target, context_.install_root, entry.name)) {
    context_.file_list.Restore(entry.name);
    return EndRunAtEntry(UpdateErrorNoTempName);
  }
  if (context_.full_check != 0)
    DeleteStaleTempFiles(entry);
  context_.BuildInstallPath(target, entry.name);
  if (entry.kind == kEntryDelete) {
    const int error = DeleteEntryFile(entry);
    if (error != 0)
      return EndRunAtEntry(error);
  }
  if (entry.kind == kEntryDelete || CheckEntry(entry) == kAlreadyInstalled) {
    context_.status.currentEntry = entry.sequence_number;
    context_.status.fileTotalBytes = entry.size;
    context_.status.fileDoneBytes = entry.size;
    context_.Notify(UpdateEventCurrentFile, target);
    SendProgress(UpdateProgressFile, 0, 0);
    SendProgress(UpdateProgressRun, UpdateProgressRunEntryDone, 1);
    return true;
  }
  return FetchEntry(entry, target);
}

bool UpdateWorker::FetchEntry(FileEntry& entry, const wchar_t* target) {
  // A whole or new file replaces the target only when it is right, and a patch that fails deletes it. Until
  // the target has changed, a failure leaves the installed file as it was, and its record goes back.
  bool target_changed = false;
  for (;;) {
    wchar_t url[entry_paths::kMaxUrlLength];
    wchar_t temp[MAX_PATH];
    if (!BuildUrl(entry, url) || !BuildTempName(entry, temp)) {
      if (!target_changed)
        context_.file_list.Restore(entry.name);
      SendProgress(UpdateProgressRun, UpdateProgressRunEntryDone, 1);
      return true;
    }
    context_.status.currentEntry = entry.sequence_number;
    context_.status.fileDoneBytes = 0;
    context_.Notify(UpdateEventCurrentFile, temp);
    SendProgress(UpdateProgressFile, 0, 0);
    const DownloadResult downloaded = DownloadEntry(entry, temp, url);
    if (downloaded != kDownloaded) {
      if (!target_changed)
        context_.file_list.Restore(entry.name);
      // An empty file has nothing to resume; a partial one is kept for the next run.
      if (downloaded != kDownloadStopped && FileSizeOf(temp) == 0)
        DeleteOwnFile(temp);
      return EndRunAtEntry(downloaded == kDownloadStopped ? 0 : downloaded);
    }
    context_.Notify(UpdateEventCurrentFile, target);
    SendProgress(UpdateProgressFile, 0, 100);
    SetApplying(1);
    // On failure the download stays complete beside the target: the next run applies it without a transfer.
    if (!ReleaseRecordBeforeChange(entry.name))
      return EndRunAtEntry(UpdateErrorTempFileWrite);
    const ApplyResult applied = ApplyEntry(entry);
    if (applied == kApplyFailed) {
      if (!target_changed)
        context_.file_list.Restore(entry.name);
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

bool UpdateWorker::EndRunAtEntry(int error) {
  if (error != 0)
    context_.ReportError(error);
  SendProgress(UpdateProgressRun, UpdateProgressRunEntryDone, 1);
  return false;
}

void UpdateWorker::FinishRun() {
  // A list or versionInfo that did not reach the disk is a failure: reported as success, the next start would
  // find a version that its list does not describe.
  if (!context_.CloseFileList())
    context_.ReportError(UpdateErrorTempFileWrite);
  if (!context_.SaveVersionInfo())
    context_.ReportError(UpdateErrorTempFileWrite);
  SendProgress(UpdateProgressFile, 0, 100);
  SendProgress(UpdateProgressRun, UpdateProgressRunFinished, 0);
  if (context_.last_error == 0)
    context_.Notify(UpdateEventCompleted, nullptr);
}

void UpdateWorker::SendProgress(int32_t kind, int32_t a, int32_t b) {
  const UpdateProgress progress = {kind, a, b};
  context_.Notify(UpdateEventProgress, &progress);
}

void UpdateWorker::SetApplying(int32_t applying) {
  context_.status.applying = applying;
  context_.Notify(UpdateEventStatusChanged, &context_.status);
}

int UpdateWorker::DeleteEntryFile(const FileEntry& entry) {
  wchar_t target[MAX_PATH];
  engine_files::JoinPath(target, context_.install_root, entry.name);
  if (!ReleaseRecordBeforeChange(entry.name))
    return UpdateErrorTempFileWrite;
  engine_files::ForceDeleteFile(target);
  if (FileIsThere(target)) {
    // Still there: its record is true again, and the run must not be taken for complete, or the file would
    // stay for good.
    context_.file_list.Restore(entry.name);
    return UpdateErrorApply;
  }
  if (context_.file_list.Remove(entry.name) == FileListStore::kOk) {
    context_.file_list.SetChanged(true);
    SaveFileListSoon();
  }
  return 0;
}

UpdateWorker::CheckResult UpdateWorker::CheckEntry(FileEntry& entry) {
  wchar_t target[MAX_PATH];
  engine_files::JoinPath(target, context_.install_root, entry.name);
  const FileRecord* record = context_.file_list.Find(entry.name);
  if (record != nullptr) {
    if (RecordMatchesEntry(*record, entry))
      return kAlreadyInstalled;
    wchar_t installed[MAX_PATH];
    // One attribute query, not a directory search: this runs for every changed entry of every update.
    if (!context_.BuildInstallPath(installed, record->name) ||
        GetFileAttributesW(installed) == INVALID_FILE_ATTRIBUTES) {
      if (entry.kind == kEntryRtp)
        entry.kind = kEntryZip;
      const size_t length = wcsnlen(entry.name, kMaxRelativeNameLength + 1);
      if (entry.kind == kEntryReserved && length + 4 <= kMaxRelativeNameLength)
        wcscpy(entry.name + length, L".nex");
    }
  } else if (!folder_names_.WasMissing(target) && FileMatchesEntry(target, entry)) {
    // Installed by other means (the game's installer, a copy, a run that ended before its list was written):
    // take it as it is.
    RecordInstalledFile(entry, entry.size, entry.crc32);
    return kAlreadyInstalled;
  }
  // A patch is made from the previous version only: it fits a recorded file one version behind at most.
  if (entry.kind == kEntryRtp) {
    const bool patchable = record != nullptr && entry.version != 0 && record->version != 0 &&
                           static_cast<int64_t>(entry.version) - record->version <= 1;
    if (!patchable)
      entry.kind = kEntryZip;
  }
  return kFetch;
}

void UpdateWorker::DeleteStaleTempFiles(const FileEntry& entry) {
  wchar_t pattern[MAX_PATH];
  if (!engine_files::ConcatTexts(pattern, MAX_PATH, {context_.install_root, L"\\", entry.name, L".*"}))
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

bool UpdateWorker::BuildTempName(const FileEntry& entry, wchar_t (&path)[MAX_PATH]) const {
  return entry_paths::BuildTempName(path, context_.install_root, entry);
}

bool UpdateWorker::BuildUrl(const FileEntry& entry, wchar_t (&url)[entry_paths::kMaxUrlLength]) const {
  return entry_paths::BuildUrl(url, context_.download_host_wide, context_.product_code, entry);
}

HttpFileDownloader* UpdateWorker::EnsureDownloader() {
  std::lock_guard<CriticalSection> lock(context_.lock);
  if (!downloader_)
    downloader_.reset(new (std::nothrow) HttpFileDownloader(download_stall_limit_ms_));
  return downloader_.get();
}

UpdateWorker::DownloadResult UpdateWorker::DownloadEntry(const FileEntry& entry,
                                                         const wchar_t* temp_path,
                                                         const wchar_t* url) {
  arrived_ = false;
  arrived_download_.reset();
  HttpFileDownloader* downloader = EnsureDownloader();
  if (downloader == nullptr || url == nullptr || url[0] == L'\0')
    return kDownloadFailed;
  if (temp_path == nullptr || temp_path[0] == L'\0')
    return kDownloadNoTempName;
  int64_t resume_offset = 0;
  DownloadResult result = OpenTempFile(temp_path, &resume_offset);
  if (result != kDownloaded)
    return result;
  if (resume_offset == 0)
    StartArrivingFile(entry, temp_path);
  // A patch's header is kept as it arrives; a resumed patch has none here and is read back after patching.
  capture_patch_head_ = entry.kind == kEntryRtp && resume_offset == 0;
  patch_head_bytes_ = 0;
  const int64_t opened_size = resume_offset;
  result = PrepareTransfer(*downloader, url, &resume_offset);
  if (result != kDownloaded) {
    arriving_.Abandon();
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
  // A restarted file may have been longer than what it now holds; a fresh one cannot have been.
  if (opened_size > 0 && resume_offset == 0)
    SetEndOfFile(temp_file_.get());
  if (result == kDownloaded)
    arrived_ = arriving_.Finish(&arrived_result_);
  else
    arriving_.Abandon();
  // A download that arrived whole is not opened again: its handle is kept to delete or rename it.
  if (arrived_)
    arrived_download_ = std::move(temp_file_);
  CloseTempFile();
  ReportFileProgress();
  return result;
}

UpdateWorker::DownloadResult UpdateWorker::OpenTempFile(const wchar_t* temp_path, int64_t* resume_offset) {
  *resume_offset = 0;
  // One call opens an existing file or makes a new one; only a missing folder takes the longer way.
  // DELETE access: a download that arrived whole is deleted through this handle once it is applied.
  UniqueHandle file(system_calls().create_file(temp_path, GENERIC_WRITE | DELETE, FILE_SHARE_READ, nullptr,
                                               OPEN_ALWAYS, FILE_ATTRIBUTE_NORMAL, nullptr));
  // Only a file that was there already can hold a part to resume from.
  bool existed = GetLastError() == ERROR_ALREADY_EXISTS;
  if (!file) {
    if (GetLastError() != ERROR_PATH_NOT_FOUND)
      return kDownloadTempFileCreate;
    file = engine_files::CreateFileWithParents(temp_path);
    if (!file)
      return kDownloadTempFileCreate;
    existed = false;
  }
  if (!existed) {
    temp_file_ = std::move(file);
    return kDownloaded;
  }
  LARGE_INTEGER size;
  const LARGE_INTEGER zero = {};
  if (!GetFileSizeEx(file.get(), &size) || !SetFilePointerEx(file.get(), zero, nullptr, FILE_END))
    return kDownloadTempFileCreate;
  *resume_offset = size.QuadPart;
  temp_file_ = std::move(file);
  return kDownloaded;
}

void UpdateWorker::CloseTempFile() {
  temp_file_.reset();
}

void UpdateWorker::StartArrivingFile(const FileEntry& entry, const wchar_t* temp_path) {
  if (entry.kind == kEntryZip) {
    wchar_t inflated[MAX_PATH];
    InflateTargetName(inflated, temp_path);
    arriving_.Start(ArrivingFile::kZlib, inflated, entry.size > 0 ? static_cast<uint64_t>(entry.size) : 0);
  } else if (entry.kind == kEntryNew) {
    arriving_.Start(ArrivingFile::kRaw, nullptr, 0);
  }
}

void UpdateWorker::DeleteDownload(const wchar_t* temp_path) {
  UniqueHandle download = std::move(arrived_download_);
  if (download && DeleteOpenFile(download.get()))
    return;
  download.reset();
  DeleteOwnFile(temp_path);
}

void UpdateWorker::KeepPatchHead(const char* data, size_t bytes) {
  if (!capture_patch_head_ || patch_head_bytes_ == patch_head_.size())
    return;
  const size_t taken = std::min(bytes, patch_head_.size() - patch_head_bytes_);
  std::memcpy(patch_head_.data() + patch_head_bytes_, data, taken);
  patch_head_bytes_ += taken;
}

bool UpdateWorker::TakeArrivedFile(engine_files::InflatedFile* result) {
  if (!arrived_)
    return false;
  arrived_ = false;
  *result = arrived_result_;
  return true;
}

UpdateWorker::DownloadResult UpdateWorker::PrepareTransfer(HttpFileDownloader& downloader,
                                                           const wchar_t* url,
                                                           int64_t* resume_offset) {
  if (!downloader.Open(url, this, &UpdateWorker::WriteDownloadData))
    return kDownloadFailed;
  // Open clears the downloader's cancel flag: a stop that came just before it is seen here, and one that
  // comes after it cancels the transfer.
  if (StopRequested())
    return kDownloadStopped;
  if (*resume_offset > 0) {
    const int64_t remote_size = downloader.GetRemoteSize();
    if (remote_size < 0)
      return downloader.GetError() == kDownloaderErrorCancelled ? kDownloadStopped : kDownloadFailed;
    if (*resume_offset > remote_size) {
      // Not a part of this file: start again from its first byte.
      *resume_offset = 0;
      const LARGE_INTEGER zero = {};
      if (!SetFilePointerEx(temp_file_.get(), zero, nullptr, FILE_BEGIN))
        return kDownloadTempFileWrite;
    }
  }
  return downloader.SetResumeOffset(*resume_offset) ? kDownloaded : kDownloadFailed;
}

int UpdateWorker::WriteDownloadData(const void* data, int bytes, void* worker) {
  UpdateWorker* updater = static_cast<UpdateWorker*>(worker);
  if (updater == nullptr || !updater->temp_file_ || bytes < 0)
    return -1;
  // A pause holds the transfer between blocks, where no lock is held. The block in hand is written even when
  // a stop woke the wait: refusing it would end the download as a failed write, while the stop's cancel
  // ends it as stopped at the next progress call.
  updater->thread_.WaitWhilePaused();
  updater->ReportFileProgress();
  DWORD written = 0;
  if (!system_calls().write_file(updater->temp_file_.get(), data, static_cast<DWORD>(bytes), &written,
                                 nullptr))
    return -1;
  updater->arriving_.Take(data, written);
  updater->KeepPatchHead(static_cast<const char*>(data), written);
  return static_cast<int>(written);
}

void UpdateWorker::ReportFileProgress() {
  // Only the worker makes and uses the downloader; the destructor frees it after the worker ended.
  if (downloader_) {
    DownloaderProgress progress = {};
    downloader_->GetProgress(&progress);
    context_.status.fileDoneBytes = progress.done;
    context_.status.fileTotalBytes = progress.total;
  }
  const int64_t done = context_.status.fileDoneBytes;
  const int64_t total = context_.status.fileTotalBytes;
  int64_t percent = total != 0 ? done * 100 / total : 0;
  if (percent < 0)
    percent = 0;
  if (percent > 100)
    percent = 100;
  SendProgress(UpdateProgressFile, 0, static_cast<int32_t>(percent));
}

UpdateWorker::ApplyResult UpdateWorker::ApplyEntry(const FileEntry& entry) {
  wchar_t target[MAX_PATH];
  wchar_t temp[MAX_PATH];
  if (!engine_files::JoinPath(target, context_.install_root, entry.name) || !BuildTempName(entry, temp))
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

UpdateWorker::ApplyResult UpdateWorker::ApplyWholeFile(const FileEntry& entry,
                                                       const wchar_t* temp_path,
                                                       const wchar_t* target_path) {
  wchar_t inflated[MAX_PATH];
  InflateTargetName(inflated, temp_path);
  // Size and CRC-32 are counted while the file is written: reading it back would double the disk work. A fresh
  // download was inflated while it arrived; only a resumed one is read back here.
  engine_files::InflatedFile written;
  bool complete = TakeArrivedFile(&written);
  if (!complete) {
    UniqueHandle source(system_calls().create_file(temp_path, GENERIC_READ, FILE_SHARE_READ, nullptr,
                                                   OPEN_EXISTING, 0, nullptr));
    // Never more than the entry's size: a stream that inflates beyond it is not the entry's file, and a small
    // one could otherwise fill the disk.
    const uint64_t bound = entry.size > 0 ? static_cast<uint64_t>(entry.size) : 0;
    complete = source && engine_files::InflateFile(std::move(source), inflated, &written, bound) ==
                             engine_files::kInflated;
  }
  const bool arrived = arrived_download_.get() != nullptr;
  complete = complete && MatchesEntry(entry, static_cast<int64_t>(written.size), written.crc32);
  // Whatever happened, the download is used up: a damaged one must not be resumed.
  DeleteDownload(temp_path);
  if (arrived) {
    if (complete && arriving_.MoveOver(target_path)) {
      RecordInstalledFile(entry, entry.size, written.crc32);
      return kApplied;
    }
    arriving_.Abandon();
    return kApplyFailed;
  }
  if (!complete || !ReplaceFile(inflated, target_path)) {
    DeleteOwnFile(inflated);
    return kApplyFailed;
  }
  RecordInstalledFile(entry, entry.size, written.crc32);
  return kApplied;
}

bool UpdateWorker::PatchHeaderPromisesEntry(const FileEntry& entry, const wchar_t* target_path) const {
  patch::PatchHeader header;
  size_t header_bytes = 0;
  if (patch::DecodePatchHeader(std::string_view(patch_head_.data(), patch_head_bytes_), &header,
                               &header_bytes) != patch::HeaderResult::kOk ||
      header.new_size != static_cast<uint32_t>(entry.size) || header.new_crc != entry.crc32)
    return false;
  // The library rebuilds the file the header names, in the target's folder: it must be the target itself.
  const wchar_t* base = wcsrchr(target_path, L'\\');
  base = base != nullptr ? base + 1 : target_path;
  char base_utf8[4 * MAX_PATH];
  const int length = WideCharToMultiByte(CP_UTF8, 0, base, -1, base_utf8, sizeof base_utf8, nullptr, nullptr);
  return length > 1 && header.target_name == std::string(base_utf8, static_cast<size_t>(length - 1));
}

UpdateWorker::ApplyResult UpdateWorker::ApplyPatch(const FileEntry& entry,
                                                   const wchar_t* temp_path,
                                                   const wchar_t* target_path) {
  // The patch library rebuilds the file beside the target and replaces it only when its own header matched.
  std::string command_line;
  int result = PatchLibrary::kNotAvailable;
  if (entry_paths::BuildPatchCommandLine(&command_line, temp_path,
                                         entry_paths::PatchTargetFolder(target_path)))
    result = patch_library_.Apply(command_line.c_str());
  DeleteOwnFile(temp_path);
  if (result != 0) {
    engine_files::ForceDeleteFile(target_path);
    return kApplyFetchWhole;
  }
  // The library checked the rebuilt file against its header's new size and CRC-32: when the header names the
  // entry's file with the entry's size and CRC-32, reading the file back would only repeat that check.
  if (PatchHeaderPromisesEntry(entry, target_path)) {
    RecordInstalledFile(entry, entry.size, entry.crc32);
    return kApplied;
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

UpdateWorker::ApplyResult UpdateWorker::ApplyNewFile(const FileEntry& entry,
                                                     const wchar_t* temp_path,
                                                     const wchar_t* target_path) {
  int64_t size = 0;
  uint32_t crc = 0;
  engine_files::InflatedFile arrived;
  if (TakeArrivedFile(&arrived)) {
    size = static_cast<int64_t>(arrived.size);
    crc = arrived.crc32;
  } else if (!MeasureFile(temp_path, &size, &crc)) {
    size = -1;
  }
  // A download that arrived whole is renamed through its open handle.
  UniqueHandle download = std::move(arrived_download_);
  if (download && MatchesEntry(entry, size, crc) && RenameOpenFile(download.get(), target_path)) {
    RecordInstalledFile(entry, entry.size, crc);
    return kApplied;
  }
  download.reset();
  if (!MatchesEntry(entry, size, crc) || !ReplaceFile(temp_path, target_path)) {
    DeleteOwnFile(temp_path);
    return kApplyFailed;
  }
  RecordInstalledFile(entry, entry.size, crc);
  return kApplied;
}

void UpdateWorker::RecordInstalledFile(const FileEntry& entry, int32_t size, uint32_t crc) {
  FileRecord* record = context_.file_list.Find(entry.name);
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
  context_.file_list.SetChanged(true);
  if (made)
    context_.file_list.Insert(std::move(made));
  context_.file_list.Restore(entry.name);
  SaveFileListSoon();
}

void UpdateWorker::CancelDownload() {
  // The worker makes the downloader under the engine lock; a caller that stops the run may come at any time.
  std::lock_guard<CriticalSection> lock(context_.lock);
  if (downloader_)
    downloader_->Cancel();
}

bool UpdateWorker::SaveFileList() {
  if (context_.file_list.Write() != FileListStore::kOk)
    return false;
  last_list_write_tick_ = GetTickCount();
  return true;
}

void UpdateWorker::SaveFileListSoon() {
  // A failed write is not an error here: the flag stays and a later write, at the latest at the end of the
  // run, tries again.
  if (context_.file_list.changed() && GetTickCount() - last_list_write_tick_ >= list_write_interval_ms_)
    SaveFileList();
}
