// The launcher program against the generated demo portal, for the end-to-end tests and the start-up benchmark:
// the portal's servers on one loopback address (the patch server on port 27500, the HTTP server beside it),
// the generator (tools/demo_portal) run for that address, and the launcher started as a process of its own in
// the generated launcher folder.
//
// Thread: the test's thread. Every function reports failure by its result and, where given, a message.
#pragma once

#include <windows.h>

#include <string>
#include <vector>

#include "tests/support/FixtureServer.h"
#include "tests/support/TempFolder.h"

namespace testing_support {

// True when the launcher program is built: the one the tests run (orvaneLauncher_testing.exe, the shipped
// program with a log of the skin files that windows ask for and the skin lacks: the file that the environment
// variable ORVANE_SKIN_MISS_LOG names), or with `shipped` the shipped orvaneLauncher.exe.
bool LauncherProgramBuilt(bool shipped = false);

// A visible top-level window of process `process_id` whose title equals `title` (any title when null) and
// whose class equals `class_name` (any class when null); null when there is none.
HWND FindWindowOfProcess(DWORD process_id, const wchar_t* title, const wchar_t* class_name);

// A visible top-level window of process `process_id` other than `main` and at least `min_width` pixels wide
// (a popup menu or a dialog it opened; a width leaves tool tips out); null when there is none.
HWND OtherWindowOfProcess(DWORD process_id, HWND main, int min_width);

class DemoLauncher {
 public:
  DemoLauncher() = default;
  ~DemoLauncher();  // ends a launcher that still runs
  DemoLauncher(const DemoLauncher&) = delete;
  DemoLauncher& operator=(const DemoLauncher&) = delete;

  // Starts both servers over the portal folder and generates the portal and the launcher folder for them, with
  // the launcher program the tests run as orvaneLauncher.exe (`shipped_program`: the shipped one).
  bool ServeAndGenerate(std::string* error, bool shipped_program = false);
  // Stops both servers (the generated files stay).
  void StopServers();
  // Names the demo's server and the announced launcher version in the launcher-info ini, so that start-up
  // goes straight to the catalogue (no server selection, no self-update).
  bool NameTheServer();
  // Writes `key` = `value` into the launcher's settings (section of the launcher's game id).
  bool SetSetting(const wchar_t* key, const wchar_t* value);

  // Starts orvaneLauncher.exe of the launcher folder with `arguments`, its current folder the launcher folder.
  bool Start(const std::wstring& arguments);
  // Waits up to `timeout_ms` for the launcher to end; true when it has.
  bool WaitForEnd(DWORD timeout_ms);
  // The text of `key` in the launcher folder's message table.
  std::wstring LauncherText(const wchar_t* key) const;

  std::wstring Launcher(const std::wstring& name) const { return folder_.Join(L"launcher\\" + name); }

  // For the journey, whose launcher replaces its own process at every restart (process() is the first one's).
  // "address:port" of the HTTP server, as the portal and the server list name it.
  const std::wstring& host() const { return host_; }
  // Ids of the running processes whose program lies in the launcher folder or below (the temporary
  // self-update copy included).
  std::vector<DWORD> LauncherProcessIds() const;
  // The program path of process `process_id`; "" when it cannot be asked.
  static std::wstring ProcessProgram(DWORD process_id);
  // A visible top-level window of any launcher process, matched as FindWindowOfProcess matches; null when
  // there is none.
  HWND FindLauncherWindow(const wchar_t* title, const wchar_t* class_name) const;
  // Pumps this thread's messages until no launcher process runs; false after `timeout_ms`.
  bool WaitForNoLauncher(DWORD timeout_ms) const;
  // Ends every launcher process that still runs (a test's clean-up after a failure).
  void EndEveryLauncher() const;
  // Takes the one launcher process that runs now as process() (after the launcher restarted itself), so that
  // WaitForEnd and the destructor follow it; false when none or more than one runs.
  bool AdoptRunningLauncher();
  // Replaces the HTTP server's fault script (tests/fixtures/http_server.py --script; "{}" clears it). The
  // server reads it again before its next answer.
  bool ScriptHttpServer(const std::string& json) const;
  // The HTTP server's request log: one line per request, "METHOD\tpath\trange".
  std::string HttpRequests() const;

  const TempFolder& folder() const { return folder_; }
  HANDLE process() const { return process_.hProcess; }
  DWORD process_id() const { return process_.dwProcessId; }

 private:
  void CloseProcess();

  TempFolder folder_{L"demo-launcher"};
  FixtureServer patch_server_;
  FixtureServer http_server_;
  std::wstring host_;
  PROCESS_INFORMATION process_{};
};

// The rectangle of `control` in `window` as the default skin's generator wrote it
// (build/default_skin/default_skin_rects.json, in the window's client coordinates); false when not listed.
bool DefaultSkinRect(const std::string& window, const std::string& control, RECT* rect);

}  // namespace testing_support
