// A "DBGHELP.DLL" without MiniDumpWriteDump, placed beside the crash program: the filter must find no entry
// point and let the exception pass on.
#include <windows.h>

extern "C" __declspec(dllexport) int WINAPI SymInitialize(HANDLE, const char*, BOOL) {
  return 0;
}
