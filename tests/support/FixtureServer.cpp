#include "tests/support/FixtureServer.h"

#include <windows.h>

#include <sstream>

#include "tests/support/WinePaths.h"

namespace testing_support {

FixtureServer::FixtureServer() : folder_(L"fixture") {}

FixtureServer::~FixtureServer() {
  Stop();
}

std::string FixtureServer::UnixPath(const std::wstring& name_in_folder) const {
  return UnixPathOf(folder_.Join(name_in_folder));
}

bool FixtureServer::Start(const std::string& script,
                          const std::vector<std::string>& arguments,
                          unsigned timeout_ms) {
  Stop();
  ready_file_ = folder_.Join(L"ready");
  std::string command = "python3 -u " + std::string(ORVANE_SOURCE_DIR) + "/tests/fixtures/" + script;
  command += " --ready-file " + UnixPath(L"ready") + " --log " + UnixPath(L"server.log");
  for (const std::string& argument : arguments)
    command += " " + argument;

  std::wstring python = WindowsPathOf("/usr/bin/env");
  std::wstring command_line = L"\"" + python + L"\" " + Utf8ToWide(command);
  STARTUPINFOW startup = {};
  startup.cb = sizeof startup;
  PROCESS_INFORMATION process = {};
  if (!CreateProcessW(nullptr, &command_line[0], nullptr, nullptr, FALSE, 0, nullptr, nullptr, &startup,
                      &process))
    return false;
  CloseHandle(process.hThread);
  CloseHandle(process.hProcess);

  for (DWORD waited = 0; waited < timeout_ms; waited += 20) {
    std::string text;
    if (ReadFileBytes(ready_file_, &text) && text.find('\n') != std::string::npos) {
      std::istringstream fields(text);
      fields >> address_ >> port_;
      running_ = !address_.empty() && port_ != 0;
      return running_;
    }
    Sleep(20);
  }
  return false;
}

void FixtureServer::Stop() {
  if (ready_file_.empty())
    return;
  DeleteFileW(ready_file_.c_str());
  if (running_) {
    // The server ends within 100 ms of the ready file's removal; give it time to close its files so that the
    // folder can be removed.
    for (int i = 0; i < 50 && !FileExists(folder_.Join(L"ended")); ++i)
      Sleep(20);
  }
  running_ = false;
  ready_file_.clear();
}

std::string FixtureServer::log() const {
  std::string text;
  ReadFileBytes(folder_.Join(L"server.log"), &text);
  return text;
}

}  // namespace testing_support
