// The launcher process's own values: set by start-up, read by the main dialog and the periodic tick, cleared by
// shutdown. Everything here lives for the whole process.
//
// Thread: user-interface thread only (the splash thread reads none of them).
#pragma once

#include <windows.h>

#include <cstdint>

#include "ui/base/String.h"

class UpdaterLauncherWnd;
class orvaneLauncherDlg;

struct LauncherGlobals {
  wchar_t ExePath[MAX_PATH] = {};
  // ExePath once it was cut at its last backslash (the program folder); null before.
  const wchar_t* ExeFolder = nullptr;
  String LauncherTitle;
  String LauncherFileVersion;
  // The application icon (window, tray, splash); owned by ui/gfx/AppIcon.h.
  HICON AppIcon = nullptr;
  HANDLE SingleInstanceMutex = nullptr;
  orvaneLauncherDlg* MainDialog = nullptr;
  UpdaterLauncherWnd* LauncherWindow = nullptr;
  int32_t SelfUpdatePending = 0;
  int32_t PowerOffRequested = 0;
  uint32_t LastCatalogueCheckTick = 0;
  int32_t SearchKeywordIndex = 0;
};

LauncherGlobals& Launcher();

// The launcher-info path and the update address as the command line gave it live with the self-update
// (selfupdate/LauncherInfo.h: LauncherInfoPath; app/launcherupdate/CurrentUpdateAddr.h).
