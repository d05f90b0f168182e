#include "tests/launcher/DemoLauncher.h"

#include <tlhelp32.h>

#include <cstdlib>

#include "app/texts/MessageTexts.h"
#include "tests/support/UnixCommand.h"
#include "tests/support/WindowCapture.h"
#include "tests/support/WinePaths.h"

namespace testing_support {

namespace {

// The shipped program, and the one the tests run (the same with the skin-miss log, tests/launcher/SkinMissLog.cpp).
std::string LauncherProgram(bool shipped) {
  return std::string(ORVANE_BUILD_DIR) +
         (shipped ? "/bin/orvaneLauncher.exe" : "/bin/orvaneLauncher_testing.exe");
}

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

struct OtherWindowQuery {
  DWORD process_id;
  HWND main;
  int min_width;
  HWND found;
};

BOOL CALLBACK MatchOtherWindow(HWND window, LPARAM context) {
  OtherWindowQuery* query = reinterpret_cast<OtherWindowQuery*>(context);
  DWORD owner = 0;
  GetWindowThreadProcessId(window, &owner);
  RECT rect{};
  GetWindowRect(window, &rect);
  if (owner != query->process_id || window == query->main || !IsWindowVisible(window) ||
      rect.right - rect.left < query->min_width)
    return TRUE;
  query->found = window;
  return FALSE;
}

}  // namespace

bool LauncherProgramBuilt(bool shipped) {
  return GetFileAttributesW(WindowsPathOf(LauncherProgram(shipped)).c_str()) != INVALID_FILE_ATTRIBUTES;
}

HWND FindWindowOfProcess(DWORD process_id, const wchar_t* title, const wchar_t* class_name) {
  WindowQuery query{process_id, title, class_name, nullptr};
  EnumWindows(MatchWindow, reinterpret_cast<LPARAM>(&query));
  return query.found;
}

HWND OtherWindowOfProcess(DWORD process_id, HWND main, int min_width) {
  OtherWindowQuery query{process_id, main, min_width, nullptr};
  EnumWindows(MatchOtherWindow, reinterpret_cast<LPARAM>(&query));
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
    if (process_.hThread != nullptr)  // an adopted process comes without its thread's handle
      CloseHandle(process_.hThread);
  }
  process_ = PROCESS_INFORMATION{};
}

bool DemoLauncher::ServeAndGenerate(std::string* error, bool shipped_program) {
  std::string portal = UnixPathOf(folder_.Join(L"portal"));
  if (!patch_server_.Start("patch_server.py", {"--port", "27500", "--game-info-number", "7", "--root", portal,
                                               "--lifetime", "900"})) {
    *error = "patch server: " + patch_server_.log();
    return false;
  }
  // The fault script does not exist until a test writes one (ScriptHttpServer): until then nothing is scripted.
  if (!http_server_.Start("http_server.py",
                          {"--bind", patch_server_.address(), "--port", "0", "--root", portal, "--lifetime",
                           "900", "--script", http_server_.UnixPath(L"script.json")})) {
    *error = "HTTP server: " + http_server_.log();
    return false;
  }
  std::string host = http_server_.endpoint();
  std::string command =
      "python3 " + ShellQuote(std::string(ORVANE_SOURCE_DIR) + "/tools/demo_portal/make_demo_portal.py") +
      " --no-patches --host " + host + " --build " + ShellQuote(ORVANE_BUILD_DIR) + " --launcher-program " +
      ShellQuote(LauncherProgram(shipped_program)) + " --out " + ShellQuote(UnixPathOf(folder_.path()));
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

std::vector<DWORD> DemoLauncher::LauncherProcessIds() const {
  std::vector<DWORD> ids;
  const std::wstring folder = folder_.Join(L"launcher\\");
  HANDLE snapshot = CreateToolhelp32Snapshot(TH32CS_SNAPPROCESS, 0);
  if (snapshot == INVALID_HANDLE_VALUE)
    return ids;
  PROCESSENTRY32W entry{};
  entry.dwSize = sizeof(entry);
  for (BOOL more = Process32FirstW(snapshot, &entry); more; more = Process32NextW(snapshot, &entry)) {
    const std::wstring program = ProcessProgram(entry.th32ProcessID);
    if (program.size() > folder.size() && _wcsnicmp(program.c_str(), folder.c_str(), folder.size()) == 0)
      ids.push_back(entry.th32ProcessID);
  }
  CloseHandle(snapshot);
  return ids;
}

std::wstring DemoLauncher::ProcessProgram(DWORD process_id) {
  HANDLE process = OpenProcess(PROCESS_QUERY_LIMITED_INFORMATION, FALSE, process_id);
  if (process == nullptr)
    return L"";
  wchar_t program[MAX_PATH] = {};
  DWORD length = MAX_PATH;
  const bool asked = QueryFullProcessImageNameW(process, 0, program, &length) != FALSE;
  CloseHandle(process);
  return asked ? std::wstring(program, length) : L"";
}

HWND DemoLauncher::FindLauncherWindow(const wchar_t* title, const wchar_t* class_name) const {
  for (DWORD id : LauncherProcessIds()) {
    if (HWND window = FindWindowOfProcess(id, title, class_name))
      return window;
  }
  return nullptr;
}

bool DemoLauncher::WaitForNoLauncher(DWORD timeout_ms) const {
  return PumpUntil([this] { return LauncherProcessIds().empty(); }, timeout_ms);
}

void DemoLauncher::EndEveryLauncher() const {
  for (DWORD id : LauncherProcessIds()) {
    HANDLE process = OpenProcess(PROCESS_TERMINATE | SYNCHRONIZE, FALSE, id);
    if (process == nullptr)
      continue;
    TerminateProcess(process, 1);
    WaitForSingleObject(process, 5000);
    CloseHandle(process);
  }
}

bool DemoLauncher::AdoptRunningLauncher() {
  const std::vector<DWORD> ids = LauncherProcessIds();
  if (ids.size() != 1)
    return false;
  HANDLE process =
      OpenProcess(PROCESS_TERMINATE | PROCESS_QUERY_LIMITED_INFORMATION | SYNCHRONIZE, FALSE, ids[0]);
  if (process == nullptr)
    return false;
  CloseProcess();
  process_.hProcess = process;
  process_.dwProcessId = ids[0];
  return true;
}

bool DemoLauncher::ScriptHttpServer(const std::string& json) const {
  // Written beside and then moved over the script, so that the server never reads half a file.
  const std::wstring script = WindowsPathOf(http_server_.UnixPath(L"script.json"));
  const std::wstring written = script + L".new";
  return WriteFileBytes(written, json) &&
         MoveFileExW(written.c_str(), script.c_str(), MOVEFILE_REPLACE_EXISTING) != FALSE;
}

std::string DemoLauncher::HttpRequests() const {
  std::string log;
  ReadFileBytes(WindowsPathOf(http_server_.UnixPath(L"requests.log")), &log);
  return log;
}

bool DefaultSkinRect(const std::string& window, const std::string& control, RECT* rect) {
  std::string json;
  if (!ReadFileBytes(WindowsPathOf(std::string(ORVANE_BUILD_DIR) + "/default_skin/default_skin_rects.json"),
                     &json))
    return false;
  // The generator's own layout: {"window": {"control": [x, y, width, height], ...}, ...}.
  size_t at = json.find("\"" + window + "\": {");
  if (at == std::string::npos)
    return false;
  const size_t end = json.find('}', at);
  at = json.find("\"" + control + "\": [", at);
  if (at == std::string::npos || at > end)
    return false;
  long values[4] = {};
  const char* cursor = json.c_str() + json.find('[', at) + 1;
  for (long& value : values) {
    char* next = nullptr;
    value = std::strtol(cursor, &next, 10);
    cursor = next + 1;
  }
  *rect = {values[0], values[1], values[0] + values[2], values[1] + values[3]};
  return true;
}

}  // namespace testing_support
