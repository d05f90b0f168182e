// A stand-in for the launcher program: runs the self-update steps in start-up's order and logs each of them,
// so that the end-to-end and kill tests can follow one launcher through its copies.
//
// Log: one line per step, appended to the file named by the environment variable ORVANE_STANDIN_LOG
// (inherited by the copies it starts). ORVANE_STANDIN_KILL_AT=N ends the temporary copy at its N-th file
// operation of the self-update (writes into the package are not counted: a cut download is tested elsewhere),
// as a power cut or a killed process would. The operations counted are the calls of the self-update's file
// table and, inside the profile functions that write the launcher-info ini, each creation of the file they
// write: Wine's profile functions (kernel32) create the file anew, which empties it, and then write it whole;
// that kill comes between the two.
#include <windows.h>

#include <curl/curl.h>

#include <cstdarg>
#include <cstdio>
#include <cstdlib>
#include <cwchar>

#include "app/launcherupdate/CurrentUpdateAddr.h"
#include "app/launcherupdate/SelfUpdateSteps.h"
#include "app/launcherupdate/SelfUpdateWorker.h"
#include "app/session/ProgramPath.h"
#include "app/session/SessionValues.h"
#include "base/Paths.h"
#include "selfupdate/GameInfoVersion.h"
#include "selfupdate/LauncherInfo.h"
#include "selfupdate/SelfUpdateFileOps.h"

namespace {

void Log(const char* format, ...) {
  char path[MAX_PATH];
  if (GetEnvironmentVariableA("ORVANE_STANDIN_LOG", path, MAX_PATH) == 0)
    return;
  FILE* file = std::fopen(path, "ab");
  if (file == nullptr)
    return;
  va_list arguments;
  va_start(arguments, format);
  std::fprintf(file, "%lu ", GetCurrentProcessId());
  std::vfprintf(file, format, arguments);
  std::fputc('\n', file);
  va_end(arguments);
  std::fclose(file);
}

int g_operations = 0;
int g_kill_at = 0;

void CountAndMaybeDie() {
  if (++g_operations == g_kill_at) {
    Log("killed at %d", g_operations);
    TerminateProcess(GetCurrentProcess(), 9);
  }
}

HANDLE KCreate(const wchar_t* p) {
  CountAndMaybeDie();
  return RealSelfUpdateFileOps().create_package(p);
}
BOOL KWrite(HANDLE f, const void* d, DWORD b, DWORD* w) {
  return RealSelfUpdateFileOps().write_file(f, d, b, w);
}
BOOL KFolder(const wchar_t* p) {
  CountAndMaybeDie();
  return RealSelfUpdateFileOps().create_directory(p);
}
BOOL KCopy(const wchar_t* f, const wchar_t* t) {
  CountAndMaybeDie();
  return RealSelfUpdateFileOps().copy_file(f, t);
}
BOOL KMove(const wchar_t* f, const wchar_t* t) {
  CountAndMaybeDie();
  return RealSelfUpdateFileOps().move_replacing(f, t);
}
BOOL KDelete(const wchar_t* p) {
  CountAndMaybeDie();
  return RealSelfUpdateFileOps().delete_file(p);
}
BOOL KAttr(const wchar_t* p, DWORD a) {
  CountAndMaybeDie();
  return RealSelfUpdateFileOps().set_attributes(p, a);
}
BOOL KRemove(const wchar_t* p) {
  CountAndMaybeDie();
  return RealSelfUpdateFileOps().remove_directory(p);
}
int KExtract(const wchar_t* c, const wchar_t* f) {
  CountAndMaybeDie();
  return RealSelfUpdateFileOps().extract_cabinet(c, f);
}
int KVersion(unsigned v) {
  CountAndMaybeDie();
  return RealSelfUpdateFileOps().write_version(v);
}

const SelfUpdateFileOps kKillingOps = {&KCreate, &KWrite, &KFolder, &KCopy,    &KMove,
                                       &KDelete, &KAttr,  &KRemove, &KExtract, &KVersion};

typedef HANDLE(
    WINAPI* CreateFileFn)(const wchar_t*, DWORD, DWORD, SECURITY_ATTRIBUTES*, DWORD, DWORD, HANDLE);
CreateFileFn g_create_file = nullptr;
const BYTE* g_kernel32_begin = nullptr;  // kernel32's image: the callers that count
const BYTE* g_kernel32_end = nullptr;

// Kernel32's own creations of a file anew (the profile functions'), not the program's, which reach
// CreateFileW through a kernel32 stub that jumps through the same import.
__attribute__((noinline)) HANDLE WINAPI CountedCreateFile(const wchar_t* path,
                                                          DWORD access,
                                                          DWORD share,
                                                          SECURITY_ATTRIBUTES* security,
                                                          DWORD disposition,
                                                          DWORD flags,
                                                          HANDLE model) {
  const BYTE* caller = static_cast<const BYTE*>(__builtin_return_address(0));
  HANDLE file = g_create_file(path, access, share, security, disposition, flags, model);
  if (disposition == CREATE_ALWAYS && file != INVALID_HANDLE_VALUE && caller >= g_kernel32_begin &&
      caller < g_kernel32_end)
    CountAndMaybeDie();
  return file;
}

// Points kernel32's import of CreateFileW (the profile functions live in kernel32, which imports it from
// kernelbase under Wine) at CountedCreateFile.
bool CountProfileFileCreations() {
  BYTE* base = reinterpret_cast<BYTE*>(GetModuleHandleW(L"kernel32.dll"));
  HMODULE kernelbase = GetModuleHandleW(L"kernelbase.dll");
  if (base == nullptr || kernelbase == nullptr)
    return false;
  const auto* headers = reinterpret_cast<const IMAGE_NT_HEADERS*>(
      base + reinterpret_cast<const IMAGE_DOS_HEADER*>(base)->e_lfanew);
  g_kernel32_begin = base;
  g_kernel32_end = base + headers->OptionalHeader.SizeOfImage;
  const IMAGE_DATA_DIRECTORY& imports = headers->OptionalHeader.DataDirectory[IMAGE_DIRECTORY_ENTRY_IMPORT];
  const auto real = reinterpret_cast<ULONG_PTR>(GetProcAddress(kernelbase, "CreateFileW"));
  for (auto* module = reinterpret_cast<IMAGE_IMPORT_DESCRIPTOR*>(base + imports.VirtualAddress);
       imports.VirtualAddress != 0 && module->Name != 0; ++module) {
    for (auto* slot = reinterpret_cast<IMAGE_THUNK_DATA*>(base + module->FirstThunk); slot->u1.Function != 0;
         ++slot) {
      DWORD protection = 0;
      if (slot->u1.Function != real ||
          !VirtualProtect(&slot->u1.Function, sizeof(ULONG_PTR), PAGE_READWRITE, &protection))
        continue;
      g_create_file = reinterpret_cast<CreateFileFn>(real);
      slot->u1.Function = reinterpret_cast<ULONG_PTR>(&CountedCreateFile);
      VirtualProtect(&slot->u1.Function, sizeof(ULONG_PTR), protection, &protection);
      return true;
    }
  }
  return false;
}

int RunAsTemporaryCopy() {
  char kill_at[16];
  if (GetEnvironmentVariableA("ORVANE_STANDIN_KILL_AT", kill_at, sizeof kill_at) != 0)
    g_kill_at = std::atoi(kill_at);
  SetSelfUpdateFileOps(&kKillingOps);  // counts the operations; kills only at a given one
  if (!CountProfileFileCreations())
    Log("profile writes not counted");
  // The copy knows only its command line; the worker asks the server for the announced version again, and
  // the session gets it afterwards, as the dialog gives it.
  SelfUpdateJob job;
  const int state = job.RunSelfUpdate();
  int32_t version = 0;
  if (job.AnnouncedVersion(&version))
    SetGameVersion(version);
  else
    Log("update failed: no launcher information");
  Log("self-update %d operations %d", state, g_operations);
  if (state != kSelfUpdateDone)
    return 3;
  Log("restart from parent");
  RestartLauncherFromParent();
  Log("cannot restart launcher: error %lu", GetLastError());
  return 4;
}

int RunAsRealLauncher() {
  Log("remove update temp %d", RemoveUpdateTemp());
  if (!DownloadLauncherInfo()) {
    Log("update failed: no launcher information");
    return 2;
  }
  if (!IsLauncherVersionChanged(GetSessionValues().GameVersion)) {
    Log("up to date %u", ReadLauncherInfoVersion());
    return 0;
  }
  if (!CopyLauncherToUpdateTemp()) {
    Log("update failed: copy");
    return 3;
  }
  Log("start update temp");
  StartLauncherInUpdateTemp();
  Log("cannot restart updater: error %lu", GetLastError());
  return 4;
}

}  // namespace

int wmain() {
  curl_global_init(CURL_GLOBAL_ALL);
  wchar_t program[MAX_PATH], folder[MAX_PATH], ini[MAX_PATH];
  if (!GetProgramPath(program, MAX_PATH) || !base::FolderOfPath(folder, MAX_PATH, program))
    return 10;
  SetCurrentDirectoryW(folder);
  SetExeFolder(folder);
  ParseCommandLine();
  const bool temporary = IsRunningFromUpdateTemp() != 0;
  Log("start %s", temporary ? "temporary copy" : "real launcher");
  BuildLauncherInfoPath(folder, temporary, ini, MAX_PATH);
  SetLauncherInfoPath(ini);
  SetCurrentUpdateAddr(GetSessionValues().LUpdateAddr);
  if (!LoadUpdateAddrFromLauncherInfo(GetSessionValues().LUpdateAddr)) {
    Log(temporary ? "update failed: no update address" : "select update server");
    return 1;
  }
  if (QueryGameInfoNumber(GetSessionValues().LUpdateAddr) != 0) {
    Log("update failed: version query");
    return 1;
  }
  const int result = temporary ? RunAsTemporaryCopy() : RunAsRealLauncher();
  curl_global_cleanup();
  return result;
}
