#include "engine/UpdaterContext.h"

#include <shlwapi.h>

#include <cwchar>

void UpdaterContext::Notify(int event, const void* data) const {
  if (callback != nullptr)
    callback(user_value, event, data);
}

void UpdaterContext::ReportError(int code) {
  last_error = static_cast<uint16_t>(code);
  int32_t reported = code;
  Notify(UpdateEventError, &reported);
}

bool UpdaterContext::SaveVersionInfo() const {
  if (last_error != 0)
    return true;
  return WriteVersionInfo(version_info_path, version_info);
}

void UpdaterContext::BeginRun() {
  entries.clear();
  last_error = 0;
  version_info = ReadVersionInfo(version_info_path);
}

bool UpdaterContext::CloseFileList() {
  const bool written = !file_list.changed() || file_list.Write() == FileListStore::kOk;
  file_list.Close();
  return written;
}

bool UpdaterContext::BuildInstallPath(wchar_t (&path)[MAX_PATH], const wchar_t* name) const {
  wcscpy(path, install_root);
  if (!PathAppendW(path, name)) {
    path[0] = L'\0';
    return false;
  }
  return true;
}
