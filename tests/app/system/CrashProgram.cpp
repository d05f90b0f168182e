// A program that installs the crash-dump filter and dies the way its arguments say:
//   access                  writes through a null pointer (EXCEPTION_ACCESS_VIOLATION)
//   access <ms>             the same with the filter's wait for its writer limited to <ms>
//   access <ready> <go>     sets the named event <ready>, waits up to a minute for the named event <go>, then
//                           the same (two programs crash within one moment)
//   cxx                     raises 0xE06D7363, the code of another compiler's C++ exceptions
//   stack                   recurses until the stack overflows
//   code                    raises 0x20000001, a code no table names
// Exit code 0 when it did not crash.
#include <windows.h>

#include <cstdlib>
#include <cwchar>

#include "app/system/CrashDump.h"

namespace {

volatile int* volatile g_nowhere = nullptr;

volatile int g_deeper = 1;

__attribute__((noinline)) int Recurse(int depth) {
  volatile char block[4096];
  block[0] = static_cast<char>(depth);
  return (g_deeper != 0 ? Recurse(depth + 1) : 0) + block[0];
}

void WaitForTheSignal(const wchar_t* ready_name, const wchar_t* go_name) {
  HANDLE ready = OpenEventW(EVENT_MODIFY_STATE, FALSE, ready_name);
  HANDLE go = OpenEventW(SYNCHRONIZE, FALSE, go_name);
  if (ready != nullptr)
    SetEvent(ready);
  if (go != nullptr)
    WaitForSingleObject(go, 60000);
}

}  // namespace

int wmain(int argc, wchar_t** argv) {
  // The system's error report must not wait for a user when the exception passes on.
  SetErrorMode(SEM_FAILCRITICALERRORS | SEM_NOGPFAULTERRORBOX);
  InstallCrashDumpFilter();
  const wchar_t* how = argc > 1 ? argv[1] : L"";
  if (std::wcscmp(how, L"access") == 0) {
    if (argc == 3)
      SetCrashWriterTimeLimit(static_cast<DWORD>(std::wcstoul(argv[2], nullptr, 10)));
    else if (argc == 4)
      WaitForTheSignal(argv[2], argv[3]);
    *g_nowhere = 1;
  } else if (std::wcscmp(how, L"cxx") == 0) {
    RaiseException(0xE06D7363, 0, 0, nullptr);
  } else if (std::wcscmp(how, L"stack") == 0) {
    return Recurse(0);
  } else if (std::wcscmp(how, L"code") == 0) {
    RaiseException(0x20000001, 0, 0, nullptr);
  }
  return 0;
}
