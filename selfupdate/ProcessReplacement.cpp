#include "selfupdate/ProcessReplacement.h"

#include <windows.h>

#include <cwchar>
#include <vector>

namespace {

ProcessReplacer g_replacer = &StartProgramAndExit;

}  // namespace

int StartProgramAndExit(const wchar_t* program_path, const wchar_t* command_line) {
  if (program_path == nullptr || program_path[0] == 0)
    return 0;
  // CreateProcessW may write into the command line, so it gets a copy; the application name is given apart so
  // that the command line's first token (the old program's path) is passed on untouched.
  const wchar_t* text = command_line != nullptr ? command_line : L"";
  std::vector<wchar_t> line(text, text + std::wcslen(text) + 1);
  STARTUPINFOW startup = {};
  startup.cb = sizeof startup;
  PROCESS_INFORMATION process = {};
  if (!CreateProcessW(program_path, line.data(), nullptr, nullptr, FALSE, 0, nullptr, nullptr, &startup,
                      &process))
    return 0;
  CloseHandle(process.hThread);
  CloseHandle(process.hProcess);
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
