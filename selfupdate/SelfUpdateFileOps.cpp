#include "selfupdate/SelfUpdateFileOps.h"

#include "base/ScopedHandle.h"
#include "selfupdate/CabinetCheck.h"
#include "selfupdate/LauncherInfo.h"

namespace {

HANDLE CreatePackage(const wchar_t* path) {
  return CreateFileW(path, GENERIC_WRITE, 0, nullptr, CREATE_ALWAYS, FILE_ATTRIBUTE_NORMAL, nullptr);
}

BOOL WriteBytes(HANDLE file, const void* data, DWORD bytes, DWORD* written) {
  return WriteFile(file, data, bytes, written, nullptr);
}

BOOL CreateFolder(const wchar_t* path) {
  return CreateDirectoryW(path, nullptr);
}

BOOL CopyReplacing(const wchar_t* from, const wchar_t* to) {
  return CopyFileW(from, to, FALSE);
}

// Writes the file's data through to the disk. A read-only file is made writable for the moment of the flush.
bool FlushToDisk(const wchar_t* path) {
  const DWORD attributes = GetFileAttributesW(path);
  const bool read_only = attributes != INVALID_FILE_ATTRIBUTES && (attributes & FILE_ATTRIBUTE_READONLY) != 0;
  if (read_only && !SetFileAttributesW(path, attributes & ~FILE_ATTRIBUTE_READONLY))
    return false;
  UniqueHandle file(CreateFileW(path, GENERIC_WRITE, FILE_SHARE_READ | FILE_SHARE_WRITE | FILE_SHARE_DELETE,
                                nullptr, OPEN_EXISTING, FILE_ATTRIBUTE_NORMAL, nullptr));
  const bool flushed = file && FlushFileBuffers(file.get());
  const DWORD error = GetLastError();
  file.reset();
  if (read_only)
    SetFileAttributesW(path, attributes);
  SetLastError(error);
  return flushed;
}

BOOL MoveReplacing(const wchar_t* from, const wchar_t* to) {
  // The data reaches the disk before the name does: after a power cut the name never stands for a file whose
  // data was lost. No MOVEFILE_COPY_ALLOWED: a copy would leave a half-written target behind when the process
  // is killed.
  if (!FlushToDisk(from))
    return FALSE;
  return MoveFileExW(from, to, MOVEFILE_REPLACE_EXISTING | MOVEFILE_WRITE_THROUGH);
}

// The platform's functions are __stdcall on this target; the table holds plain functions.
BOOL DeleteOne(const wchar_t* path) {
  return DeleteFileW(path);
}

BOOL SetAttributes(const wchar_t* path, DWORD attributes) {
  return SetFileAttributesW(path, attributes);
}

BOOL RemoveFolder(const wchar_t* path) {
  return RemoveDirectoryW(path);
}

const SelfUpdateFileOps kRealOps = {
    &CreatePackage, &WriteBytes,    &CreateFolder, &CopyReplacing,          &MoveReplacing,
    &DeleteOne,     &SetAttributes, &RemoveFolder, &CheckAndExtractCabinet, &WriteLauncherInfoVersion,
};

const SelfUpdateFileOps* g_ops = &kRealOps;

}  // namespace

const SelfUpdateFileOps& RealSelfUpdateFileOps() {
  return kRealOps;
}

const SelfUpdateFileOps& FileOps() {
  return *g_ops;
}

void SetSelfUpdateFileOps(const SelfUpdateFileOps* ops) {
  g_ops = ops != nullptr ? ops : &kRealOps;
}
