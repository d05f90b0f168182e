#include "base/Paths.h"

#include <cwchar>

#include "base/ScopedHandle.h"

namespace base {

namespace {

bool IsSeparator(wchar_t c) {
  return c == L'\\' || c == L'/';
}

bool IsFolder(const wchar_t* path) {
  const DWORD attributes = GetFileAttributesW(path);
  return attributes != INVALID_FILE_ATTRIBUTES && (attributes & FILE_ATTRIBUTE_DIRECTORY) != 0;
}

// Creates one folder; an existing folder counts as made. "Already exists" also comes for a file of that
// name, which is no folder to put files into.
bool CreateOneFolder(const wchar_t* folder) {
  if (CreateDirectoryW(folder, nullptr))
    return true;
  return GetLastError() == ERROR_ALREADY_EXISTS && IsFolder(folder);
}

}  // namespace

bool JoinPath(wchar_t* out, size_t units, const wchar_t* first, const wchar_t* second) {
  if (units == 0)
    return false;
  out[0] = L'\0';
  if (first == nullptr || second == nullptr)
    return false;
  const size_t first_length = wcslen(first);
  const size_t second_length = wcslen(second);
  if (first_length >= units || second_length >= units - first_length - 1)
    return false;
  wmemcpy(out, first, first_length);
  out[first_length] = L'\\';
  wmemcpy(out + first_length + 1, second, second_length + 1);
  return true;
}

bool FolderOfPath(wchar_t* folder, size_t units, const wchar_t* path) {
  if (units == 0)
    return false;
  folder[0] = 0;
  const wchar_t* last_backslash = path != nullptr ? std::wcsrchr(path, L'\\') : nullptr;
  if (last_backslash == nullptr)
    return false;
  size_t length = static_cast<size_t>(last_backslash - path);
  if (length >= units)
    return false;
  std::wmemcpy(folder, path, length);
  folder[length] = 0;
  return true;
}

bool CreateFolderChain(const wchar_t* folder) {
  if (folder == nullptr || folder[0] == L'\0')
    return false;
  size_t length = wcslen(folder);
  if (length >= MAX_PATH)
    return false;
  wchar_t path[MAX_PATH];
  wmemcpy(path, folder, length + 1);
  while (length > 1 && IsSeparator(path[length - 1]))
    path[--length] = L'\0';
  if (IsFolder(path) || CreateOneFolder(path))
    return true;
  if (GetLastError() != ERROR_PATH_NOT_FOUND)
    return false;

  // Make each parent from the outside in: every prefix that ends at a separator, without its trailing
  // separators; a drive ("C:") is not a folder to make.
  wchar_t prefix[MAX_PATH];
  for (size_t i = 0; i < length; ++i) {
    if (!IsSeparator(path[i]))
      continue;
    size_t end = i;
    while (end > 0 && IsSeparator(path[end - 1]))
      --end;
    if (end == 0)
      continue;
    wmemcpy(prefix, path, end);
    prefix[end] = L'\0';
    if (end <= 3 && wcschr(prefix, L':') != nullptr)
      continue;
    if (!CreateOneFolder(prefix))
      return false;
  }
  return CreateOneFolder(path);
}

bool VisitFolder(const wchar_t* folder, const FolderEntryVisitor& visit) {
  wchar_t pattern[MAX_PATH];
  if (folder == nullptr || folder[0] == L'\0' || !JoinPath(pattern, folder, L"*.*"))
    return false;
  WIN32_FIND_DATAW found;
  FindHandle search(FindFirstFileW(pattern, &found));
  if (!search)
    return false;
  do {
    if (wcscmp(found.cFileName, L".") == 0 || wcscmp(found.cFileName, L"..") == 0)
      continue;
    wchar_t path[MAX_PATH];
    if (!JoinPath(path, folder, found.cFileName) || !visit(path, found))
      return false;
  } while (FindNextFileW(search.get(), &found));
  return true;
}

bool ForceDeleteFile(const wchar_t* path, DeleteFileCall delete_file) {
  if (path == nullptr || path[0] == L'\0')
    return false;
  SetFileAttributesW(path, FILE_ATTRIBUTE_ARCHIVE);
  return delete_file(path) != 0;
}

}  // namespace base
