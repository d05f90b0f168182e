#include "selfupdate/ProfileFileWrite.h"

#include <windows.h>

#include <string>

#include "selfupdate/SelfUpdateFileOps.h"

bool WriteProfileStringReplacing(const wchar_t* path,
                                 const wchar_t* section,
                                 const wchar_t* key,
                                 const wchar_t* value) {
  const SelfUpdateFileOps& ops = FileOps();
  const std::wstring replacement = std::wstring(path) + L".new";
  if (!ops.copy_file(path, replacement.c_str())) {
    // No file yet: the profile function makes it from nothing, not from what an interrupted write left.
    if (GetLastError() != ERROR_FILE_NOT_FOUND ||
        (!ops.delete_file(replacement.c_str()) && GetLastError() != ERROR_FILE_NOT_FOUND))
      return false;
  }
  if (WritePrivateProfileStringW(section, key, value, replacement.c_str()) &&
      ops.move_replacing(replacement.c_str(), path))
    return true;
  const DWORD error = GetLastError();
  ops.delete_file(replacement.c_str());
  SetLastError(error);
  return false;
}
