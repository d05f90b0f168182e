// The engine object's side of the installed-file list at start: loading and checking it, and the self-check
// that reads it.
#include <cwchar>

#include "engine/CCrc32Static.h"
#include "engine/CUpdater.h"
#include "engine/EngineFiles.h"
#include "engine/SystemCalls.h"

int CUpdater::LoadFileList() {
  if (context_.file_list_path[0] == L'\0')
    return 1;
  if (context_.file_list.Open(context_.file_list_path) != FileListStore::kOk) {
    // The install folder may not exist yet: make it and try once more.
    wchar_t folder[MAX_PATH];
    wcscpy(folder, context_.file_list_path);
    wchar_t* cut = wcsrchr(folder, L'\\');
    if (cut != nullptr)
      *cut = L'\0';
    engine_files::MakeFolderChain(folder);
    if (context_.file_list.Open(context_.file_list_path) != FileListStore::kOk)
      return 1;
  }
  const bool read = context_.file_list.Parse() == FileListStore::kOk;
  if (!read || (!context_.file_list.parsed_whole() && context_.file_list.RecordCount() == 0)) {
    // A file that cannot be read as a list at all says nothing reliable about the files: check all of them
    // instead of failing every start from now on. The run empties the store and writes a new list. A list with
    // some malformed lines keeps the rest: those records are checked as usual, so a changed file is still
    // reported, and a file that lost its line is adopted or fetched by its entry like any unrecorded file.
    context_.file_list.Clear();
    context_.file_list.SetChanged(true);
    context_.full_check = 1;
    return 0;
  }
  VerifyListedFiles();
  return 0;
}

void CUpdater::VerifyListedFiles() {
  bool any_changed = false;
  context_.file_list.ForEachRecord([&](FileRecord& record) {
    DWORD size = 0;
    bool opened = false;
    wchar_t path[MAX_PATH];
    if (context_.BuildInstallPath(path, record.name)) {
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
    if (context_.full_check == 0) {
      FileRecord before = record;
      context_.Notify(UpdateEventFileMismatch, &before);
    }
    record.crc32 = 0;
    record.size = static_cast<int32_t>(size);
    context_.version_info.current_version = 0;
    any_changed = true;
  });
  if (any_changed)
    context_.file_list.SetChanged(true);
}

int CUpdater::SelfCheck() {
  if (context_.version_info.updater_version < 1)
    return 1;
  const wchar_t* const names[] = {context_.program_file_name, L"QVTesserel.dll", L"patchw32.dll"};
  for (const wchar_t* name : names) {
    const FileRecord* record = context_.file_list.Find(name);
    if (record == nullptr) {
      context_.version_info.updater_version = 0;
      return 0;
    }
    wchar_t path[MAX_PATH];
    uint32_t crc = 0;
    if (engine_files::JoinPath(path, context_.install_root, name))
      CCrc32Static::FileCrc32(crc, path);
    if (crc != record->crc32) {
      context_.version_info.updater_version = 0;
      return 1;
    }
  }
  return 0;
}
