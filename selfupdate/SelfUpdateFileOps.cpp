#include "selfupdate/SelfUpdateFileOps.h"

#include "app/selfupdate/LauncherInfo.h"
#include "selfupdate/CabinetCheck.h"

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

BOOL MoveReplacing(const wchar_t* from, const wchar_t* to) {
  // No MOVEFILE_COPY_ALLOWED: a copy would leave a half-written target behind when the process is killed.
  return MoveFileExW(from, to, MOVEFILE_REPLACE_EXISTING);
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
