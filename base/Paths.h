// Path helpers on wide paths: joining, making a folder chain, deleting a file whatever its attributes. They
// keep no state and may be called from any thread. Each returns true on success, false on failure; a path
// that does not fit is a failure, never cut (a cut path names another file).
#pragma once

#include <windows.h>

#include <cstddef>
#include <functional>

namespace base {

// `first` + "\" + `second` into `out` of `units` characters, terminated. False (and `out` empty, when it has
// room for anything) when the result does not fit or a part is null.
bool JoinPath(wchar_t* out, size_t units, const wchar_t* first, const wchar_t* second);

template <size_t N>
bool JoinPath(wchar_t (&out)[N], const wchar_t* first, const wchar_t* second) {
  return JoinPath(out, N, first, second);
}

// The folder part of `path` (everything before its last backslash) into `folder` of `units` characters.
// False (and `folder` empty, when it has room) when the path has no backslash or the folder does not fit.
bool FolderOfPath(wchar_t* folder, size_t units, const wchar_t* path);

// Makes `folder` with every missing folder above it, from the outside in ("\" and "/" separate levels; a
// drive such as "C:" is not made; trailing separators are ignored). True when it is a folder afterwards, also when it was one before; false
// when a level cannot be made, a file stands where a folder should be, or the path is null, empty or not
// shorter than MAX_PATH.
bool CreateFolderChain(const wchar_t* folder);

// What VisitFolder calls for each entry: its full path and its directory record. False stops the walk.
using FolderEntryVisitor = std::function<bool(const wchar_t* path, const WIN32_FIND_DATAW& found)>;

// Calls `visit` for every entry directly inside `folder` ("." and ".." left out), in the order the directory
// search gives them. True when every entry was visited and accepted; false when the folder cannot be
// searched, an entry's path does not fit MAX_PATH, or `visit` returned false (the walk stops there). The
// search is closed before it returns, so the caller may then remove the folder.
bool VisitFolder(const wchar_t* folder, const FolderEntryVisitor& visit);

// The DeleteFileW of a caller that routes its file calls through a seam (tests make it fail).
using DeleteFileCall = BOOL(WINAPI*)(LPCWSTR);

// Deletes the file at `path` also when it is read-only, hidden or a system file: its attributes are set to
// archive-only first. True when it was deleted; false when it was not (a missing file included) or the path
// is null or empty.
bool ForceDeleteFile(const wchar_t* path, DeleteFileCall delete_file = DeleteFileW);

}  // namespace base
