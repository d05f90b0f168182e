#include "app/startup/SelfUpdateSeam.h"

#include <windows.h>

int IsRunningFromUpdateTemp() {
  return 0;
}

int LoadUpdateAddrFromLauncherInfo(const wchar_t* launcher_info_path, wchar_t* destination) {
  GetPrivateProfileStringW(L"LAUNCHER_INFO", L"update_addr", L"", destination, 64, launcher_info_path);
  return destination[0] != L'\0';
}

int SelectUpdateServer() {
  return 4;
}

int RunSelfUpdaterDialog() {
  return 2;
}

int RestartLauncherFromParent() {
  return 0;
}

void RemoveUpdateTemp() {}

int DownloadLauncherInfo() {
  return 1;
}

int IsLauncherVersionChanged() {
  return 0;
}

int CopyLauncherToUpdateTemp() {
  return 0;
}

int StartLauncherInUpdateTemp() {
  return 0;
}
