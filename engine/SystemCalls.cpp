#include "engine/SystemCalls.h"

#include <cstring>
#include <cwchar>
#include <vector>

namespace {

const SystemCallTable kRealCalls = {&CreateFileW,
                                    &ReadFile,
                                    &WriteFile,
                                    &FlushFileBuffers,
                                    &MoveFileExW,
                                    &DeleteFileW,
                                    &SetFileInformationByHandle};

SystemCallTable g_calls = kRealCalls;

}  // namespace

SystemCallTable& system_calls() {
  return g_calls;
}

const SystemCallTable& real_system_calls() {
  return kRealCalls;
}

bool RenameOpenFile(HANDLE file, const wchar_t* target) {
  const size_t length = wcslen(target);
  std::vector<char> storage(sizeof(FILE_RENAME_INFO) + length * sizeof(wchar_t));
  FILE_RENAME_INFO* info = reinterpret_cast<FILE_RENAME_INFO*>(storage.data());
  info->ReplaceIfExists = TRUE;
  info->RootDirectory = nullptr;
  info->FileNameLength = static_cast<DWORD>(length * sizeof(wchar_t));
  std::memcpy(info->FileName, target, length * sizeof(wchar_t));
  return g_calls.set_file_information(file, FileRenameInfo, info, static_cast<DWORD>(storage.size())) != 0;
}

bool DeleteOpenFile(HANDLE file) {
  FILE_DISPOSITION_INFO info = {TRUE};
  return g_calls.set_file_information(file, FileDispositionInfo, &info, sizeof info) != 0;
}
