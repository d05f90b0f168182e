// The engine's side of the installed-file list: loading and checking it at start, saving it at the end, and
// the self-check that reads it.
#include <shlwapi.h>

#include <cwchar>

#include "engine/CCrc32Static.h"
#include "engine/CUpdater.h"
#include "engine/EngineFiles.h"
#include "engine/SystemCalls.h"

bool CUpdater::BuildInstallPath(wchar_t (&path)[MAX_PATH], const wchar_t* name) const {
  wcscpy(path, install_root_);
  if (!PathAppendW(path, name)) {
    path[0] = L'\0';
    return false;
  }
  return true;
}

int CUpdater::LoadFileList() {
  if (file_list_path_[0] == L'\0')
    return 1;
  if (file_list_.Open(file_list_path_) != FileListStore::kOk) {
    // The install folder may not exist yet: make it and try once more.
    wchar_t folder[MAX_PATH];
    wcscpy(folder, file_list_path_);
    wchar_t* cut = wcsrchr(folder, L'\\');
    if (cut != nullptr)
      *cut = L'\0';
    engine_files::MakeFolderChain(folder);
    if (file_list_.Open(file_list_path_) != FileListStore::kOk)
      return 1;
  }
  if (file_list_.Parse() != FileListStore::kOk || !file_list_.parsed_whole()) {
    // A list that cannot be read, or not all of it, says nothing reliable about the files: check all of them
    // instead of failing every start from now on. The run empties the store and writes a new list.
    file_list_.Clear();
    file_list_.SetChanged(true);
    full_check_ = 1;
    return 0;
  }
  VerifyListedFiles();
  return 0;
}

void CUpdater::VerifyListedFiles() {
  bool any_changed = false;
  file_list_.ForEachRecord([&](FileRecord& record) {
    DWORD size = 0;
    bool opened = false;
    wchar_t path[MAX_PATH];
    if (BuildInstallPath(path, record.name)) {
      // The installer or a user may have left the file read-only, hidden or system; the engine must be able
      // to replace it later.
      SetFileAttributesW(path, FILE_ATTRIBUTE_ARCHIVE);
      UniqueHandle file(system_calls().create_file(path, GENERIC_READ, FILE_SHARE_READ, nullptr,
                                                   OPEN_EXISTING, 0, nullptr));
      if (file) {
        opened = true;
        size = GetFileSize(file.get(), nullptr);
        if (size == INVALID_FILE_SIZE)
          size = 0;
      }
    }
    if (opened && size != 0 && size == static_cast<DWORD>(record.size))
      return;
    if (full_check_ == 0) {
      FileRecord before = record;
      Notify(UpdateEventFileMismatch, &before);
    }
    record.crc32 = 0;
    record.size = static_cast<int32_t>(size);
    version_info_.current_version = 0;
    any_changed = true;
  });
  if (any_changed)
    file_list_.SetChanged(true);
}

bool CUpdater::CloseFileList() {
  const bool written = !file_list_.changed() || file_list_.Write() == FileListStore::kOk;
  file_list_.Close();
  return written;
}

bool CUpdater::SaveFileList() {
  if (file_list_.Write() != FileListStore::kOk)
    return false;
  last_list_write_tick_ = GetTickCount();
  return true;
}

void CUpdater::SaveFileListSoon() {
  // A failed write is not an error here: the flag stays and a later write, at the latest at the end of the
  // run, tries again.
  if (file_list_.changed() && GetTickCount() - last_list_write_tick_ >= list_write_interval_ms_)
    SaveFileList();
}

int CUpdater::SelfCheck() {
  if (version_info_.updater_version < 1)
    return 1;
  const wchar_t* const names[] = {program_file_name_, L"QVTesserel.dll", L"patchw32.dll"};
  for (const wchar_t* name : names) {
    const FileRecord* record = file_list_.Find(name);
    if (record == nullptr) {
      version_info_.updater_version = 0;
      return 0;
    }
    wchar_t path[MAX_PATH];
    uint32_t crc = 0;
    if (engine_files::JoinPath(path, install_root_, name))
      CCrc32Static::FileCrc32(crc, path);
    if (crc != record->crc32) {
      version_info_.updater_version = 0;
      return 1;
    }
  }
  return 0;
}
