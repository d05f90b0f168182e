#include "app/startup/Startup.h"

namespace {

// The texts, the icon and user32: what every exit gives back.
void ReleaseA(StartupSteps& steps) {
  steps.ReleaseLauncherTexts();
  steps.FreeIcon();
  steps.FreeUser32();
}

// After the mutex was taken.
void ReleaseB(StartupSteps& steps) {
  steps.ReleaseVirtualFiles();
  steps.FreeParameterBuffer();
  ReleaseA(steps);
  steps.CloseMutex();
}

// After the catalogue was loaded.
void ReleaseC(StartupSteps& steps) {
  steps.ReleaseVirtualFiles();
  steps.ReleaseCatalogue();
  ReleaseA(steps);
  steps.CloseMutex();
}

bool Fail(StartupSteps& steps, const wchar_t* key, void (*release)(StartupSteps&), bool reset_server) {
  steps.StopSplash();
  steps.ShowErrorBox(key);
  if (reset_server)
    steps.ResetServer();
  release(steps);
  return false;
}

// Another launcher holds the mutex: hand the session over to it and end.
bool EndAsSecondInstance(StartupSteps& steps) {
  if (!steps.HandOverToRunningLauncher())
    steps.ShowErrorBox(L"launcher is not closed");
  steps.FreeParameterBuffer();
  ReleaseA(steps);
  steps.CloseMutex();
  return false;
}

// The message of a server selection that did not start a fresh launcher; null for a chosen server or a
// result the selection does not give.
const wchar_t* ServerSelectionErrorKey(SelectUpdateServerResult result) {
  switch (result) {
    case kServerListNotDownloaded:
      return L"cannot download server info";
    case kServerListUnreadable:
      return L"invalid server info";
    case kServerNotChosen:
      return L"server is not selected";
    case kServerDialogFailed:
      return L"cannot load resource";
    case kServerChosen:
      break;
  }
  return nullptr;
}

bool EndWithServerSelection(StartupSteps& steps) {
  const wchar_t* key = ServerSelectionErrorKey(steps.SelectUpdateServer());
  if (key != nullptr)
    steps.ShowErrorBox(key);
  ReleaseB(steps);
  return false;
}

// The temporary copy runs the self-update and ends, whatever its result.
bool EndAsUpdateCopy(StartupSteps& steps) {
  steps.StopSplash();
  SelfUpdateDialogResult result = steps.RunSelfUpdaterDialog();
  if (result == kSelfUpdateDialogAborted)
    return Fail(steps, L"update aborted", ReleaseB, false);
  if (result != kSelfUpdateDialogUpdated)
    return Fail(steps, L"update failed", ReleaseB, true);
  steps.ReleaseVirtualFiles();
  steps.FreeParameterBuffer();
  // The mutex is closed first, so that the restarted launcher can own it.
  steps.CloseMutex();
  if (!steps.RestartLauncherFromParent())
    steps.ShowErrorBox(L"cannot restart launcher");
  ReleaseA(steps);
  return false;
}

bool EndForSelfUpdate(StartupSteps& steps) {
  if (!steps.CopyLauncherToUpdateTemp())
    return Fail(steps, L"update failed", ReleaseB, true);
  steps.StopSplash();
  steps.ReleaseVirtualFiles();
  steps.FreeParameterBuffer();
  steps.CloseMutex();
  if (!steps.StartLauncherInUpdateTemp())
    steps.ShowErrorBox(L"cannot restart updater");
  ReleaseA(steps);
  return false;
}

// From the mutex to the end; the splash runs from the query on.
bool RunStartupAfterMutex(StartupSteps& steps) {
  steps.ReleaseVirtualFiles();
  bool update_copy = steps.IsRunningFromUpdateTemp();
  if (!steps.LoadUpdateAddr()) {
    if (update_copy) {
      steps.ShowErrorBox(L"update failed");
      ReleaseB(steps);
      return false;
    }
    return EndWithServerSelection(steps);
  }
  steps.StartSplash();
  if (!steps.QueryGameInfoNumber())
    return Fail(steps, L"update failed", ReleaseB, true);
  if (update_copy)
    return EndAsUpdateCopy(steps);
  steps.RemoveUpdateTemp();
  if (!steps.DownloadLauncherInfo())
    return Fail(steps, L"update failed", ReleaseB, true);
  if (steps.IsLauncherVersionChanged())
    return EndForSelfUpdate(steps);
  if (!steps.LoadCatalogue())
    return Fail(steps, L"cannot init", ReleaseB, true);
  if (!steps.LoadSkinInfo())
    return Fail(steps, L"cannot load resource", ReleaseC, false);
  steps.ApplyFixedSkin();
  if (!steps.LoadAppMessages())
    return Fail(steps, L"invalid resource", ReleaseC, false);
  if (!steps.StartIconLoader()) {
    Fail(steps, L"cannot load icons", ReleaseC, false);
    steps.DeleteAppMessages();
    return false;
  }
  steps.FinishStartup();
  return true;
}

}  // namespace

bool RunStartup(StartupSteps& steps) {
  steps.LoadUser32();
  steps.LoadLauncherTexts();
  steps.LoadIcon();
  if (!steps.CheckOwnFileVersion()) {
    steps.ShowErrorBox(L"invalid version");
    ReleaseA(steps);
    return false;
  }
  if (!steps.CutExePath()) {
    steps.ShowErrorBox(L"invalid path");
    ReleaseA(steps);
    return false;
  }
  steps.LoadKillList();
  steps.ParseCommandLine();
  InstanceMutexResult mutex = steps.CreateInstanceMutex();
  if (mutex == kInstanceMutexFailed) {
    steps.ShowErrorBox(L"cannot create mutex");
    steps.FreeParameterBuffer();
    ReleaseA(steps);
    return false;
  }
  if (mutex == kInstanceMutexHeldByAnotherLauncher)
    return EndAsSecondInstance(steps);
  return RunStartupAfterMutex(steps);
}

void RunShutdown(StartupSteps& steps) {
  steps.CloseIdleMonitor();
  steps.ClearGameLists();
  steps.TearDownPopups();
  steps.SaveSettings();
  steps.UnloadSkinInfo();
  steps.ReleaseVirtualFiles();
  steps.DeleteAppMessages();
  steps.ClearWindowPointers();
  steps.StopIconLoader();
  steps.ReleaseCatalogue();
  // A splash still running (the dialog never opened) ends before its font goes.
  steps.StopSplash();
  if (steps.SelfUpdatePending()) {
    if (!steps.CopyLauncherToUpdateTemp()) {
      steps.ShowErrorBox(L"update failed");
    } else {
      steps.CloseMutex();
      if (!steps.StartLauncherInUpdateTemp())
        steps.ShowErrorBox(L"cannot restart updater");
    }
    steps.ReleaseLauncherTexts();
    steps.FreeIcon();
    steps.CloseMutex();
    return;
  }
  steps.ReleaseLauncherTexts();
  steps.FreeIcon();
  steps.CloseMutex();
  if (steps.PowerOffRequested())
    steps.PowerOff();
}
