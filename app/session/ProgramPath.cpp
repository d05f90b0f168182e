#include "app/session/ProgramPath.h"

#include <windows.h>

#include <cwchar>

#include "base/Paths.h"

bool GetProgramPath(wchar_t* path, size_t units) {
  if (units == 0)
    return false;
  path[0] = 0;
  DWORD length = GetModuleFileNameW(nullptr, path, static_cast<DWORD>(units));
  // A cut module path names some other file; treat it as unreadable.
  if (length == 0 || length >= units) {
    path[0] = 0;
    return false;
  }
  return true;
}

namespace {

wchar_t g_exe_folder[MAX_PATH];

}  // namespace

const wchar_t* GetExeFolder() {
  if (g_exe_folder[0] == 0) {
    wchar_t program[MAX_PATH];
    if (!GetProgramPath(program, MAX_PATH) || !base::FolderOfPath(g_exe_folder, MAX_PATH, program))
      g_exe_folder[0] = 0;
  }
  return g_exe_folder;
}

void SetExeFolder(const wchar_t* folder) {
  g_exe_folder[0] = 0;
  if (folder == nullptr)
    return;
  size_t length = std::wcslen(folder);
  if (length >= MAX_PATH)
    return;
  std::wmemcpy(g_exe_folder, folder, length);
  g_exe_folder[length] = 0;
}
