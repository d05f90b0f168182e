#include "tests/support/UnixCommand.h"

#include <windows.h>

#include "tests/support/TempFolder.h"
#include "tests/support/WinePaths.h"

namespace testing_support {

std::string ShellQuote(const std::string& argument) {
  std::string quoted = "'";
  for (char c : argument) {
    if (c == '\'')
      quoted += "'\\''";
    else
      quoted += c;
  }
  return quoted + "'";
}

namespace {

// Quotes one argument of a Windows command line, which Wine splits into the Unix program's argv (and encodes
// in the Unix locale's UTF-8 again).
std::wstring WindowsQuote(const std::string& utf8_argument) {
  std::wstring argument = Utf8ToWide(utf8_argument);
  std::wstring quoted = L"\"";
  size_t backslashes = 0;
  for (wchar_t c : argument) {
    if (c == L'\\') {
      ++backslashes;
      continue;
    }
    quoted.append(c == L'"' ? backslashes * 2 + 1 : backslashes, L'\\');
    backslashes = 0;
    quoted += c;
  }
  quoted.append(backslashes * 2, L'\\');
  return quoted + L"\"";
}

}  // namespace

int RunUnixCommand(const std::string& command, std::string* output, unsigned timeout_ms) {
  TempFolder folder(L"command");
  std::string status_file = UnixPathOf(folder.Join(L"status"));
  std::string output_file = UnixPathOf(folder.Join(L"output"));
  std::string script = "( " + command + " ) >" + ShellQuote(output_file) + " 2>&1 </dev/null; echo $? >" +
                       ShellQuote(status_file + ".part") + " && mv " + ShellQuote(status_file + ".part") +
                       " " + ShellQuote(status_file);
  std::wstring command_line = L"\"" + WindowsPathOf("/bin/sh") + L"\" -c " + WindowsQuote(script);

  STARTUPINFOW startup = {};
  startup.cb = sizeof startup;
  PROCESS_INFORMATION process = {};
  if (!CreateProcessW(nullptr, &command_line[0], nullptr, nullptr, FALSE, 0, nullptr, nullptr, &startup,
                      &process))
    return -1;
  CloseHandle(process.hThread);
  CloseHandle(process.hProcess);

  std::string status;
  for (unsigned waited = 0; waited < timeout_ms; waited += 10) {
    if (ReadFileBytes(folder.Join(L"status"), &status) && !status.empty()) {
      if (output)
        ReadFileBytes(folder.Join(L"output"), output);
      return atoi(status.c_str());
    }
    Sleep(10);
  }
  return -1;
}

}  // namespace testing_support
