#include "app/startup/SingleInstance.h"

#include <string>

#include "app/launcherupdate/SelfUpdateSteps.h"
#include "app/session/ProgramPath.h"
#include "app/windows/SelfUpdaterDlg.h"
#include "base/ScopedHandle.h"
#include "selfupdate/ProcessReplacement.h"

InstanceMutexResult CreateSingleInstanceMutex(const wchar_t* name, HANDLE* mutex) {
  *mutex = CreateMutexW(nullptr, TRUE, name);
  if (*mutex == nullptr)
    return kInstanceMutexFailed;
  return GetLastError() == ERROR_ALREADY_EXISTS ? kInstanceMutexHeldByAnotherLauncher : kInstanceMutexCreated;
}

bool WindowRunsProgram(HWND window, const wchar_t* program_path) {
  DWORD process_id = 0;
  GetWindowThreadProcessId(window, &process_id);
  if (process_id == 0)
    return false;
  UniqueHandle process(OpenProcess(PROCESS_QUERY_LIMITED_INFORMATION, FALSE, process_id));
  if (!process)
    return false;
  wchar_t image[MAX_PATH * 2] = {};
  DWORD units = MAX_PATH * 2;
  if (!QueryFullProcessImageNameW(process.get(), 0, image, &units))
    return false;
  return lstrcmpiW(image, program_path) == 0;
}

namespace {

// How often a restarting copy looks for the restarted launcher's dialog.
constexpr DWORD kDialogPollMs = 100;

struct DialogSearch {
  const wchar_t* title;
  wchar_t program[MAX_PATH];
  HWND found;
};

BOOL CALLBACK MatchDialog(HWND window, LPARAM parameter) {
  DialogSearch* search = reinterpret_cast<DialogSearch*>(parameter);
  wchar_t text[256] = {};
  wchar_t class_name[64] = {};
  GetClassNameW(window, class_name, 64);
  GetWindowTextW(window, text, 256);
  if (lstrcmpW(class_name, kLauncherDialogClass) != 0 || lstrcmpW(text, search->title) != 0 ||
      !WindowRunsProgram(window, search->program))
    return TRUE;
  search->found = window;
  return FALSE;
}

}  // namespace

HWND FindLauncherDialogOf(const wchar_t* title, const wchar_t* program_path) {
  if (title == nullptr || program_path == nullptr || lstrlenW(program_path) >= MAX_PATH)
    return nullptr;
  DialogSearch search = {title, {}, nullptr};
  lstrcpyW(search.program, program_path);
  EnumWindows(&MatchDialog, reinterpret_cast<LPARAM>(&search));
  return search.found;
}

HWND FindRunningLauncherDialog(const wchar_t* title) {
  wchar_t program[MAX_PATH];
  return GetProgramPath(program, MAX_PATH) ? FindLauncherDialogOf(title, program) : nullptr;
}

HWND FindRunningSelfUpdateDialog() {
  wchar_t program[MAX_PATH];
  if (!GetProgramPath(program, MAX_PATH))
    return nullptr;
  const std::wstring copy = UpdateTempProgramOf(program);
  return !copy.empty() ? FindLauncherDialogOf(kSelfUpdateDialogCaption, copy.c_str()) : nullptr;
}

HWND WaitForLauncherDialog(HANDLE process,
                           const wchar_t* title,
                           const wchar_t* program_path,
                           DWORD limit_ms) {
  const DWORD start = GetTickCount();
  for (;;) {
    if (HWND dialog = FindLauncherDialogOf(title, program_path))
      return dialog;
    // Unsigned difference: correct across the tick counter's wrap.
    const DWORD waited = GetTickCount() - start;
    if (waited >= limit_ms)
      return nullptr;
    const DWORD slice = limit_ms - waited < kDialogPollMs ? limit_ms - waited : kDialogPollMs;
    if (WaitForSingleObject(process, slice) != WAIT_TIMEOUT)
      return nullptr;
  }
}

bool RestartAndHandOver(const wchar_t* program_path,
                        const wchar_t* command_line,
                        const wchar_t* title,
                        const HandOverRecord& record,
                        DWORD limit_ms) {
  UniqueHandle process;
  if (!StartProgram(program_path, command_line, &process))
    return false;
  HWND dialog = WaitForLauncherDialog(process.get(), title, program_path, limit_ms);
  if (dialog != nullptr)
    SendHandOverRecord(dialog, record);
  return true;
}
