// Stand-ins for "DBGHELP.DLL", placed beside the crash program:
//   (no definition)    no MiniDumpWriteDump: the filter must find no entry point and let the exception pass on
//   FAKE_DUMP_FAULTS   a MiniDumpWriteDump that writes through a null pointer (a fault on the writer thread)
//   FAKE_DUMP_HANGS    a MiniDumpWriteDump that never returns
#include <windows.h>

extern "C" __declspec(dllexport) int WINAPI SymInitialize(HANDLE, const char*, BOOL) {
  return 0;
}

#if defined(FAKE_DUMP_FAULTS) || defined(FAKE_DUMP_HANGS)
namespace {
volatile int* volatile g_nowhere = nullptr;
}  // namespace

extern "C" __declspec(dllexport) BOOL WINAPI
    MiniDumpWriteDump(HANDLE, DWORD, HANDLE, int, void*, void*, void*) {
#if defined(FAKE_DUMP_FAULTS)
  *g_nowhere = 1;
#else
  Sleep(INFINITE);
#endif
  return FALSE;
}
#endif
