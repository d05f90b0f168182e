#include "tests/tools/DemoLauncher.h"

#include "app/texts/MessageTexts.h"
#include "tests/support/UnixCommand.h"
#include "tests/support/WinePaths.h"

namespace testing_support {

namespace {

const std::string kLauncherProgram = std::string(ORVANE_BUILD_DIR) + "/bin/orvaneLauncher.exe";

struct WindowQuery {
  DWORD process_id;
  const wchar_t* title;
  const wchar_t* class_name;
  HWND found;
};

BOOL CALLBACK MatchWindow(HWND window, LPARAM context) {
  WindowQuery* query = reinterpret_cast<WindowQuery*>(context);
  DWORD owner = 0;
  GetWindowThreadProcessId(window, &owner);
  if (owner != query->process_id || !IsWindowVisible(window))
    return TRUE;
  wchar_t text[256] = {};
  if (query->title != nullptr && (GetWindowTextW(window, text, 256), std::wstring(text) != query->title))
    return TRUE;
  if (query->class_name != nullptr &&
      (GetClassNameW(window, text, 256), std::wstring(text) != query->class_name))
    return TRUE;
  query->found = window;
  return FALSE;
}

}  // namespace

bool LauncherProgramBuilt() {
  return GetFileAttributesW(WindowsPathOf(kLauncherProgram).c_str()) != INVALID_FILE_ATTRIBUTES;
}

HWND FindWindowOfProcess(DWORD process_id, const wchar_t* title, const wchar_t* class_name) {
  WindowQuery query{process_id, title, class_name, nullptr};
  EnumWindows(MatchWindow, reinterpret_cast<LPARAM>(&query));
  return query.found;
}

DemoLauncher::~DemoLauncher() {
  if (process_.hProcess != nullptr && WaitForSingleObject(process_.hProcess, 0) == WAIT_TIMEOUT)
    TerminateProcess(process_.hProcess, 1);
  CloseProcess();
}

void DemoLauncher::CloseProcess() {
  if (process_.hProcess != nullptr) {
    CloseHandle(process_.hProcess);
    CloseHandle(process_.hThread);
  }
  process_ = PROCESS_INFORMATION{};
}

bool DemoLauncher::ServeAndGenerate(std::string* error) {
  std::string portal = UnixPathOf(folder_.Join(L"portal"));
  if (!patch_server_.Start("patch_server.py", {"--port", "27500", "--game-info-number", "7", "--root", portal,
                                               "--lifetime", "900"})) {
    *error = "patch server: " + patch_server_.log();
    return false;
  }
  // The fault script need not exist: until SetHttpFaults writes it, every file is served as it is.
  if (!http_server_.Start("http_server.py",
                          {"--bind", patch_server_.address(), "--port", "0", "--root", portal, "--lifetime",
                           "900", "--script", http_server_.UnixPath(L"faults.json")})) {
    *error = "HTTP server: " + http_server_.log();
    return false;
  }
  std::string host = http_server_.endpoint();
  std::string command =
      "python3 " + ShellQuote(std::string(ORVANE_SOURCE_DIR) + "/tools/demo_portal/make_demo_portal.py") +
      " --no-patches --host " + host + " --build " + ShellQuote(ORVANE_BUILD_DIR) + " --out " +
      ShellQuote(UnixPathOf(folder_.path()));
  if (RunUnixCommand(command, error, 120000) != 0)
    return false;
  host_ = Utf8ToWide(host);
  return true;
}

void DemoLauncher::StopServers() {
  patch_server_.Stop();
  http_server_.Stop();
}

bool DemoLauncher::NameTheServer() {
  std::wstring info = Launcher(L"ZEPHLauncherInfo.ini");
  return WritePrivateProfileStringW(L"LAUNCHER_INFO", L"update_addr", host_.c_str(), info.c_str()) &&
         WritePrivateProfileStringW(L"LAUNCHER_INFO", L"version", L"2", info.c_str());
}

bool DemoLauncher::SetSetting(const wchar_t* key, const wchar_t* value) {
  return WritePrivateProfileStringW(L"ORVANE", key, value, Launcher(L"orvaneLauncher.ini").c_str());
}

bool DemoLauncher::Start(const std::wstring& arguments) {
  if (process_.hProcess != nullptr && WaitForSingleObject(process_.hProcess, 0) == WAIT_TIMEOUT)
    return false;  // one launcher at a time
  CloseProcess();
  std::wstring command = L"\"" + Launcher(L"orvaneLauncher.exe") + L"\" " + arguments;
  std::wstring current = folder_.Join(L"launcher");
  STARTUPINFOW startup{};
  startup.cb = sizeof(startup);
  return CreateProcessW(nullptr, &command[0], nullptr, nullptr, FALSE, 0, nullptr, current.c_str(), &startup,
                        &process_) != FALSE;
}

bool DemoLauncher::WaitForEnd(DWORD timeout_ms) {
  return process_.hProcess == nullptr || WaitForSingleObject(process_.hProcess, timeout_ms) == WAIT_OBJECT_0;
}

std::wstring DemoLauncher::LauncherText(const wchar_t* key) const {
  LoadLauncherMessagesFor(Launcher(L"orvaneLauncher.exe").c_str());
  std::wstring text = GetLauncherMessage(key);
  ReleaseLauncherMessages();
  return text;
}

bool DemoLauncher::SetHttpFaults(const std::string& json) {
  return WriteFileBytes(http_server_.folder().Join(L"faults.json"), json);
}

}  // namespace testing_support
