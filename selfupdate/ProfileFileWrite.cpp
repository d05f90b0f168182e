#include "selfupdate/ProfileFileWrite.h"

#include <windows.h>

#include <string>

#include "selfupdate/SelfUpdateFileOps.h"

namespace {

// The waits before each further rename that a reader refused (HeldByAReader). Whoever holds the file then is a
// reader that lets go within milliseconds: a virus scanner or the search indexer looking at the file just
// written, another launcher reading its server. A third of a second in all covers them, and is short enough
// for the server selection dialog, which writes the ini on the user-interface thread.
const DWORD kRenameRetryWaitsMs[] = {10, 20, 40, 80, 160};

bool IsReadOnly(const wchar_t* path) {
  const DWORD attributes = GetFileAttributesW(path);
  return attributes != INVALID_FILE_ATTRIBUTES && (attributes & FILE_ATTRIBUTE_READONLY) != 0;
}

// A read-only ".new" (an earlier write copied a read-only ini) could be neither replaced nor deleted, and would
// refuse every later write: it is ours, so it is made writable.
bool MakeLeftOverWritable(const SelfUpdateFileOps& ops, const wchar_t* replacement) {
  const DWORD attributes = GetFileAttributesW(replacement);
  if (attributes == INVALID_FILE_ATTRIBUTES || (attributes & FILE_ATTRIBUTE_READONLY) == 0)
    return true;
  return ops.set_attributes(replacement, attributes & ~FILE_ATTRIBUTE_READONLY) != FALSE;
}

// A reader holding a file refuses the rename: with a sharing violation when it holds ".new", with access
// denied when it holds the ini itself without delete sharing (so Wine answers, as Windows does for a target in
// use). A read-only ini, the other cause of access denied, never gets this far.
bool HeldByAReader(DWORD error) {
  return error == ERROR_SHARING_VIOLATION || error == ERROR_ACCESS_DENIED;
}

bool RenameOver(const SelfUpdateFileOps& ops, const wchar_t* from, const wchar_t* to) {
  for (DWORD wait : kRenameRetryWaitsMs) {
    if (ops.move_replacing(from, to))
      return true;
    if (!HeldByAReader(GetLastError()))
      return false;
    Sleep(wait);
  }
  return ops.move_replacing(from, to) != FALSE;
}

}  // namespace

bool WriteProfileStringReplacing(const wchar_t* path,
                                 const wchar_t* section,
                                 const wchar_t* key,
                                 const wchar_t* value) {
  // On Windows the profile functions refuse a read-only file; Wine writes it all the same. Both ways a write
  // here must fail as on Windows, before a copy carries the attribute over to ".new".
  if (IsReadOnly(path)) {
    SetLastError(ERROR_ACCESS_DENIED);
    return false;
  }
  const SelfUpdateFileOps& ops = FileOps();
  const std::wstring replacement = std::wstring(path) + L".new";
  if (!MakeLeftOverWritable(ops, replacement.c_str()))
    return false;
  if (!ops.copy_file(path, replacement.c_str())) {
    // No file yet: the profile function makes it from nothing, not from what an interrupted write left.
    if (GetLastError() != ERROR_FILE_NOT_FOUND ||
        (!ops.delete_file(replacement.c_str()) && GetLastError() != ERROR_FILE_NOT_FOUND))
      return false;
  }
  if (WritePrivateProfileStringW(section, key, value, replacement.c_str()) &&
      RenameOver(ops, replacement.c_str(), path))
    return true;
  const DWORD error = GetLastError();
  ops.delete_file(replacement.c_str());
  SetLastError(error);
  return false;
}
