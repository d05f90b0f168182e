// A stand-in for the launcher program: runs the self-update steps in start-up's order and logs each of them,
// so that the end-to-end and kill tests can follow one launcher through its copies.
//
// Log: one line per step, appended to the file named by the environment variable ORVANE_STANDIN_LOG
// (inherited by the copies it starts). ORVANE_STANDIN_KILL_AT=N ends the temporary copy at its N-th file
// operation of the self-update (writes into the package are not counted: a cut download is tested elsewhere),
// as a power cut or a killed process would.
#include <windows.h>

#include <curl/curl.h>

#include <cstdarg>
#include <cstdio>
#include <cstdlib>
#include <cwchar>

#include "app/selfupdate/LauncherInfo.h"
#include "app/selfupdate/SelfUpdateSteps.h"
#include "app/selfupdate/SelfUpdateWorker.h"
#include "app/session/ProgramPath.h"
#include "app/session/SessionValues.h"
#include "base/Paths.h"
#include "selfupdate/GameInfoVersion.h"
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

int RunAsTemporaryCopy() {
  // The copy knows only its command line; the announced version comes from the server again.
  if (!DownloadLauncherInfo()) {
    Log("update failed: no launcher information");
    return 2;
  }
  char kill_at[16];
  if (GetEnvironmentVariableA("ORVANE_STANDIN_KILL_AT", kill_at, sizeof kill_at) != 0)
    g_kill_at = std::atoi(kill_at);
  SetSelfUpdateFileOps(&kKillingOps);  // counts the operations; kills only at a given one
  SelfUpdateJob job;
  const int state = job.RunSelfUpdate();
  Log("self-update %d operations %d", state, g_operations);
  if (state != kSelfUpdateDone)
    return 3;
  Log("restart from parent");
  RestartLauncherFromParent();
  Log("cannot restart launcher");
  return 4;
}

int RunAsRealLauncher() {
  Log("remove update temp %d", RemoveUpdateTemp());
  if (!DownloadLauncherInfo()) {
    Log("update failed: no launcher information");
    return 2;
  }
  if (!IsLauncherVersionChanged()) {
    Log("up to date %u", ReadLauncherInfoVersion());
    return 0;
  }
  if (!CopyLauncherToUpdateTemp()) {
    Log("update failed: copy");
    return 3;
  }
  Log("start update temp");
  StartLauncherInUpdateTemp();
  Log("cannot restart updater");
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
