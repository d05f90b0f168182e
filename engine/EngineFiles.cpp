#include "engine/EngineFiles.h"

#include <cwchar>

#include "base/ScopedHandle.h"
#include "engine/SystemCalls.h"

namespace engine_files {

namespace {

bool IsEmpty(const wchar_t* path) {
  return path == nullptr || path[0] == L'\0';
}

// Moves one file, replacing a file that is already at the destination whatever its attributes.
bool MoveOneFile(const wchar_t* source, const wchar_t* target) {
  if (system_calls().move_file(source, target, 0))
    return true;
  if (GetLastError() != ERROR_ALREADY_EXISTS)
    return false;
  SetFileAttributesW(target, FILE_ATTRIBUTE_ARCHIVE);
  system_calls().delete_file(target);
  return system_calls().move_file(source, target, 0) != 0;
}

}  // namespace

bool ConcatTexts(wchar_t* out, size_t capacity, std::initializer_list<const wchar_t*> parts) {
  size_t used = 0;
  for (const wchar_t* part : parts) {
    size_t length = part != nullptr ? wcslen(part) : 0;
    if (length >= capacity - used) {
      out[0] = L'\0';
      return false;
    }
    wmemcpy(out + used, part, length);
    used += length;
  }
  out[used] = L'\0';
  return true;
}

PathState PathExists(const wchar_t* path) {
  if (IsEmpty(path))
    return kPathMissing;
  WIN32_FIND_DATAW found;
  FindHandle search(FindFirstFileW(path, &found));
  return search ? kPathFound : kPathMissing;
}

FileResult MakeFolderChain(const wchar_t* folder) {
  return base::CreateFolderChain(folder) ? kFileDone : kFileFailed;
}

FileResult MoveTree(const wchar_t* source, const wchar_t* destination) {
  if (IsEmpty(source) || IsEmpty(destination))
    return kFileFailed;
  const bool moved = base::VisitFolder(source, [&](const wchar_t* from, const WIN32_FIND_DATAW& found) {
    wchar_t to[MAX_PATH];
    if (!JoinPath(to, destination, found.cFileName))
      return false;
    if (found.dwFileAttributes & FILE_ATTRIBUTE_DIRECTORY)
      return MoveTree(from, to) == kFileDone;
    if (PathExists(destination) != kPathFound && MakeFolderChain(destination) != kFileDone)
      return false;
    return MoveOneFile(from, to);
  });
  if (!moved)
    return kFileFailed;
  // What is left of the source is only its (now empty) folders.
  DeleteTree(source);
  return kFileDone;
}

FileResult DeleteTree(const wchar_t* folder) {
  if (IsEmpty(folder))
    return kFileFailed;
  const bool emptied = base::VisitFolder(folder, [](const wchar_t* child, const WIN32_FIND_DATAW& found) {
    if (found.dwFileAttributes & FILE_ATTRIBUTE_DIRECTORY)
      return DeleteTree(child) == kFileDone;
    return ForceDeleteFile(child) == kFileDone;
  });
  if (!emptied)
    return kFileFailed;
  SetFileAttributesW(folder, FILE_ATTRIBUTE_ARCHIVE);
  return RemoveDirectoryW(folder) ? kFileDone : kFileFailed;
}

UniqueHandle CreateFileWithParents(const wchar_t* path) {
  if (IsEmpty(path) || wcslen(path) >= MAX_PATH)
    return UniqueHandle();
  const wchar_t* cut = wcsrchr(path, L'\\');
  if (cut == nullptr)
    cut = wcsrchr(path, L'/');
  if (cut != nullptr && cut != path) {
    wchar_t folder[MAX_PATH];
    size_t length = static_cast<size_t>(cut - path);
    wmemcpy(folder, path, length);
    folder[length] = L'\0';
    // The chain accepts folders that are there: asking first would only add a directory search.
    MakeFolderChain(folder);
  }
  return UniqueHandle(system_calls().create_file(path, GENERIC_WRITE, 0, nullptr, CREATE_ALWAYS,
                                                 FILE_ATTRIBUTE_NORMAL, nullptr));
}

bool BesideTempName(wchar_t (&out)[MAX_PATH], const wchar_t* path) {
  out[0] = L'\0';
  if (IsEmpty(path) || wcslen(path) >= MAX_PATH)
    return false;
  const wchar_t* dot = wcsrchr(path, L'.');
  const wchar_t* separator = wcsrchr(path, L'\\');
  if (dot == nullptr || (separator != nullptr && dot < separator) || _wcsicmp(dot, L".tmp") == 0)
    return false;
  const size_t stem = static_cast<size_t>(dot - path);
  if (stem + 4 >= MAX_PATH)
    return false;
  wmemcpy(out, path, stem);
  wcscpy(out + stem, L".tmp");
  return true;
}

FileResult WriteWholeFile(const wchar_t* path, const void* bytes, size_t size, DWORD attributes) {
  if (IsEmpty(path) || size > MAXDWORD)
    return kFileFailed;
  UniqueHandle file(
      system_calls().create_file(path, GENERIC_WRITE, 0, nullptr, CREATE_ALWAYS, attributes, nullptr));
  // A file left by an earlier attempt may carry attributes that CREATE_ALWAYS refuses to replace. They are
  // cleared only then: the name is normally missing, and under Wine every call on a missing name scans its
  // folder.
  if (!file && GetLastError() == ERROR_ACCESS_DENIED && SetFileAttributesW(path, FILE_ATTRIBUTE_NORMAL))
    file.reset(
        system_calls().create_file(path, GENERIC_WRITE, 0, nullptr, CREATE_ALWAYS, attributes, nullptr));
  if (!file)
    return kFileFailed;
  DWORD written = 0;
  const DWORD length = static_cast<DWORD>(size);
  if (length != 0 &&
      (!system_calls().write_file(file.get(), bytes, length, &written, nullptr) || written != length))
    return kFileFailed;
  return system_calls().flush_file(file.get()) ? kFileDone : kFileFailed;
}

FileResult MoveOver(const wchar_t* source, const wchar_t* target) {
  if (IsEmpty(source) || IsEmpty(target))
    return kFileFailed;
  // Windows refuses to replace a read-only file; the other attributes come with the new file.
  const DWORD attributes = GetFileAttributesW(target);
  if (attributes != INVALID_FILE_ATTRIBUTES && (attributes & FILE_ATTRIBUTE_READONLY) != 0)
    SetFileAttributesW(target, attributes & ~FILE_ATTRIBUTE_READONLY);
  return system_calls().move_file(source, target, MOVEFILE_REPLACE_EXISTING | MOVEFILE_WRITE_THROUGH)
             ? kFileDone
             : kFileFailed;
}

FileResult ReplaceFileContents(const wchar_t* path, const void* bytes, size_t size, DWORD attributes) {
  wchar_t temp[MAX_PATH];
  if (!BesideTempName(temp, path))
    return kFileFailed;
  if (WriteWholeFile(temp, bytes, size, attributes) != kFileDone || MoveOver(temp, path) != kFileDone) {
    ForceDeleteFile(temp);
    return kFileFailed;
  }
  return kFileDone;
}

FileResult ForceDeleteFile(const wchar_t* path) {
  return base::ForceDeleteFile(path, system_calls().delete_file) ? kFileDone : kFileFailed;
}

}  // namespace engine_files
