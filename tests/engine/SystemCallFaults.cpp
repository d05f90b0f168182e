#include "tests/engine/SystemCallFaults.h"

#include <atomic>

#include "engine/SystemCalls.h"

namespace engine_testing {

namespace {

std::atomic<int> g_counts[kSystemCallKinds];
std::atomic<int> g_fail_kind{-1};
std::atomic<int> g_fail_at{0};
std::atomic<bool> g_failed{false};
std::atomic<int> g_end_at_write{0};
std::atomic<unsigned> g_exit_code{0};

// Counts the call; true when it is the one planned to fail.
bool Fails(SystemCall kind, DWORD error) {
  const int index = static_cast<int>(kind);
  const int count = ++g_counts[index];
  if (g_fail_kind.load() != index || g_fail_at.load() != count)
    return false;
  g_failed = true;
  SetLastError(error);
  return true;
}

HANDLE WINAPI CreateFileCall(LPCWSTR path,
                             DWORD access,
                             DWORD share,
                             LPSECURITY_ATTRIBUTES security,
                             DWORD disposition,
                             DWORD flags,
                             HANDLE model) {
  if (Fails(SystemCall::kCreate, ERROR_ACCESS_DENIED))
    return INVALID_HANDLE_VALUE;
  return real_system_calls().create_file(path, access, share, security, disposition, flags, model);
}

BOOL WINAPI ReadFileCall(HANDLE file, LPVOID buffer, DWORD bytes, LPDWORD read, LPOVERLAPPED overlapped) {
  if (Fails(SystemCall::kRead, ERROR_READ_FAULT))
    return FALSE;
  return real_system_calls().read_file(file, buffer, bytes, read, overlapped);
}

BOOL WINAPI WriteFileCall(HANDLE file, LPCVOID data, DWORD bytes, LPDWORD written, LPOVERLAPPED overlapped) {
  if (g_end_at_write.load() != 0 &&
      g_counts[static_cast<int>(SystemCall::kWrite)].load() + 1 == g_end_at_write) {
    DWORD half = 0;
    real_system_calls().write_file(file, data, bytes / 2, &half, nullptr);
    TerminateProcess(GetCurrentProcess(), g_exit_code.load());
  }
  if (Fails(SystemCall::kWrite, ERROR_DISK_FULL)) {
    if (written != nullptr)
      *written = 0;
    return FALSE;
  }
  return real_system_calls().write_file(file, data, bytes, written, overlapped);
}

BOOL WINAPI FlushFileCall(HANDLE file) {
  if (Fails(SystemCall::kFlush, ERROR_WRITE_FAULT))
    return FALSE;
  return real_system_calls().flush_file(file);
}

BOOL WINAPI MoveFileCall(LPCWSTR source, LPCWSTR target, DWORD flags) {
  if (Fails(SystemCall::kMove, ERROR_ACCESS_DENIED))
    return FALSE;
  return real_system_calls().move_file(source, target, flags);
}

BOOL WINAPI DeleteFileCall(LPCWSTR path) {
  if (Fails(SystemCall::kDelete, ERROR_SHARING_VIOLATION))
    return FALSE;
  return real_system_calls().delete_file(path);
}

// A rename through an open handle counts as a move, a deletion through one as a delete.
BOOL WINAPI SetFileInformationCall(HANDLE file, FILE_INFO_BY_HANDLE_CLASS kind, LPVOID info, DWORD size) {
  if (kind == FileRenameInfo && Fails(SystemCall::kMove, ERROR_ACCESS_DENIED))
    return FALSE;
  if (kind == FileDispositionInfo && Fails(SystemCall::kDelete, ERROR_SHARING_VIOLATION))
    return FALSE;
  return real_system_calls().set_file_information(file, kind, info, size);
}

}  // namespace

const char* SystemCallName(SystemCall kind) {
  static const char* const kNames[] = {"create", "read", "write", "flush", "move", "delete"};
  return kNames[static_cast<int>(kind)];
}

SystemCallFaults::SystemCallFaults() {
  Reset();
  system_calls() = {&CreateFileCall, &ReadFileCall,   &WriteFileCall,         &FlushFileCall,
                    &MoveFileCall,   &DeleteFileCall, &SetFileInformationCall};
}

SystemCallFaults::~SystemCallFaults() {
  system_calls() = real_system_calls();
}

void SystemCallFaults::Reset() {
  for (std::atomic<int>& count : g_counts)
    count = 0;
  g_fail_kind = -1;
  g_fail_at = 0;
  g_failed = false;
  g_end_at_write = 0;
}

void SystemCallFaults::FailCall(SystemCall kind, int n) {
  g_fail_kind = static_cast<int>(kind);
  g_fail_at = n;
}

void SystemCallFaults::EndProcessAtWrite(int n, unsigned exit_code) {
  g_exit_code = exit_code;
  g_end_at_write = n;
}

int SystemCallFaults::Count(SystemCall kind) const {
  return g_counts[static_cast<int>(kind)].load();
}

bool SystemCallFaults::Failed() const {
  return g_failed.load();
}

}  // namespace engine_testing
