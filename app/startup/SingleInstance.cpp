#include "app/startup/SingleInstance.h"

#include "base/ScopedHandle.h"

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

HWND FindRunningLauncherDialog(const wchar_t* title) {
  DialogSearch search = {title, {}, nullptr};
  DWORD length = GetModuleFileNameW(nullptr, search.program, MAX_PATH);
  if (length == 0 || length >= MAX_PATH)
    return nullptr;
  EnumWindows(&MatchDialog, reinterpret_cast<LPARAM>(&search));
  return search.found;
}
