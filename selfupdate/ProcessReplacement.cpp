#include "selfupdate/ProcessReplacement.h"

#include <windows.h>

#include <cwchar>
#include <vector>

namespace {

ProcessReplacer g_replacer = &StartProgramAndExit;

// A program copied a moment ago can be held for a moment by whoever inspects new files (a virus scanner, an
// indexer), and a loaded machine can refuse a start now and then; only a missing or broken program fails at
// once. The waits double: at most 1.5 s in all before the start is given up.
constexpr int kStartAttempts = 5;
constexpr DWORD kFirstRetryWaitMs = 100;

bool IsLastingStartFailure(DWORD error) {
  return error == ERROR_FILE_NOT_FOUND || error == ERROR_PATH_NOT_FOUND || error == ERROR_INVALID_NAME ||
         error == ERROR_BAD_EXE_FORMAT || error == ERROR_EXE_MACHINE_TYPE_MISMATCH ||
         error == ERROR_DIRECTORY;
}

}  // namespace

bool StartProgram(const wchar_t* program_path, const wchar_t* command_line, UniqueHandle* process) {
  if (program_path == nullptr || program_path[0] == 0) {
    SetLastError(ERROR_INVALID_NAME);
    return false;
  }
  const wchar_t* text = command_line != nullptr ? command_line : L"";
  DWORD wait_ms = kFirstRetryWaitMs;
  for (int attempt = 1;; ++attempt, wait_ms *= 2) {
    // CreateProcessW may write into the command line, so each attempt gets a fresh copy; the application
    // name is given apart so that the command line's first token (the old program's path) is passed on
    // untouched.
    std::vector<wchar_t> line(text, text + std::wcslen(text) + 1);
    STARTUPINFOW startup = {};
    startup.cb = sizeof startup;
    PROCESS_INFORMATION started = {};
    if (CreateProcessW(program_path, line.data(), nullptr, nullptr, FALSE, 0, nullptr, nullptr, &startup,
                       &started)) {
      CloseHandle(started.hThread);
      if (process != nullptr)
        process->reset(started.hProcess);
      else
        CloseHandle(started.hProcess);
      return true;
    }
    const DWORD error = GetLastError();
    if (attempt == kStartAttempts || IsLastingStartFailure(error))
      return false;
    Sleep(wait_ms);
    SetLastError(error);
  }
}

int StartProgramAndExit(const wchar_t* program_path, const wchar_t* command_line) {
  if (!StartProgram(program_path, command_line, nullptr))
    return 0;
  ExitProcess(0);
}

int ReplaceProcess(const wchar_t* program_path, const wchar_t* command_line) {
  return g_replacer(program_path, command_line);
}

ProcessReplacer SetProcessReplacer(ProcessReplacer replacer) {
  ProcessReplacer previous = g_replacer;
  g_replacer = replacer != nullptr ? replacer : &StartProgramAndExit;
  return previous;
}
