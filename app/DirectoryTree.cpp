#include "app/DirectoryTree.h"

#include <windows.h>

#include <cwchar>

namespace {

const size_t kPathUnits = 248;

bool IsFolder(const wchar_t* path) {
  DWORD attributes = GetFileAttributesW(path);
  return attributes != INVALID_FILE_ATTRIBUTES && (attributes & FILE_ATTRIBUTE_DIRECTORY) != 0;
}

// "Already exists" also comes for a file of that name, which is no folder to put files into.
bool MakeFolder(const wchar_t* path) {
  if (CreateDirectoryW(path, nullptr))
    return true;
  return GetLastError() == ERROR_ALREADY_EXISTS && IsFolder(path);
}

}  // namespace

bool CreateDirectoryTree(const wchar_t* path) {
  if (path == nullptr)
    return false;
  size_t length = std::wcslen(path);
  if (length >= kPathUnits)
    return false;
  wchar_t folder[kPathUnits];
  std::wmemcpy(folder, path, length + 1);
  if (length > 0 && folder[length - 1] == L'\\')
    folder[length - 1] = 0;
  if (IsFolder(folder) || MakeFolder(folder))
    return true;

  wchar_t parent[kPathUnits];
  std::wmemcpy(parent, folder, kPathUnits);
  wchar_t* last_backslash = std::wcsrchr(parent, L'\\');
  if (last_backslash == nullptr)
    return false;
  *last_backslash = 0;
  if (!CreateDirectoryTree(parent))
    return false;
  return MakeFolder(folder);
}

int DeleteFileForce(const wchar_t* path) {
  if (path == nullptr || path[0] == 0)
    return 1;
  SetFileAttributesW(path, FILE_ATTRIBUTE_ARCHIVE);
  return DeleteFileW(path) ? 1 : 0;
}
