// Start-up and shutdown of the launcher process: the order of the steps, the condition of each, and what every
// failure exit shows and releases. The steps themselves live in their own modules and are reached through
// StartupSteps, so that tests can fail each one in turn; RealStartupSteps() is the program's.
//
// Every failure exit shows one error box (the launcher message of its key, caption "error") and returns
// false.
// "Reset the server" clears the remembered update server so that the next start asks for one again; it is
// done after a failed query, download or catalogue load, never after the user aborted the self-update.
//
// Thread: user-interface thread.
#pragma once

#include <cstdint>

#include "app/startup/InstanceMutexResult.h"
#include "app/windows/SelectUpdateServer.h"

// How the temporary copy's self-update ended, as start-up tells its messages apart: an abort is the user's
// choice and keeps the update address; a failure resets it.
enum SelfUpdateDialogResult : int32_t {
  kSelfUpdateDialogUpdated = 0,
  kSelfUpdateDialogAborted = 1,
  kSelfUpdateDialogFailed = 2,
};

// What the start-up and shutdown sequences call. A bool step answers its question (Is..., ...Pending) or
// returns true when it succeeded; a step with more than two outcomes returns its own enum.
class StartupSteps {
 public:
  virtual ~StartupSteps() = default;
  virtual void ShowErrorBox(const wchar_t* key) = 0;

  virtual void LoadUser32() = 0;         // and lets WM_COPYDATA through the message filter
  virtual void LoadLauncherTexts() = 0;  // the launcher message table and LauncherTitle
  virtual void LoadIcon() = 0;
  virtual bool CheckOwnFileVersion() = 0;
  virtual bool CutExePath() = 0;  // the program folder becomes the current directory
  virtual void LoadKillList() = 0;
  virtual void ParseCommandLine() = 0;  // and the game-argument tail where supported
  virtual InstanceMutexResult CreateInstanceMutex() = 0;
  // Hands the session over to the running launcher's dialog; false when no such dialog was found.
  virtual bool HandOverToRunningLauncher() = 0;
  virtual void ReleaseVirtualFiles() = 0;
  virtual bool IsRunningFromUpdateTemp() = 0;  // also builds LauncherInfoPath and copies CurrentUpdateAddr
  virtual bool LoadUpdateAddr() = 0;           // true when the launcher-info ini names a non-empty address
  // The update-server selection. kServerChosen: stored, and a fresh launcher started when the server changed;
  // each other result names its message.
  virtual SelectUpdateServerResult SelectUpdateServer() = 0;
  virtual void StartSplash() = 0;
  virtual void StopSplash() = 0;
  virtual bool QueryGameInfoNumber() = 0;
  virtual SelfUpdateDialogResult RunSelfUpdaterDialog() = 0;
  virtual bool RestartLauncherFromParent() = 0;
  virtual void RemoveUpdateTemp() = 0;
  virtual bool DownloadLauncherInfo() = 0;
  virtual bool IsLauncherVersionChanged() = 0;
  virtual bool CopyLauncherToUpdateTemp() = 0;
  virtual bool StartLauncherInUpdateTemp() = 0;
  virtual bool LoadCatalogue() = 0;
  virtual bool LoadSkinInfo() = 0;
  virtual void ApplyFixedSkin() = 0;  // creates the settings on first use
  virtual bool LoadAppMessages() = 0;
  virtual bool StartIconLoader() = 0;
  virtual void FinishStartup() = 0;  // check tick, keyword index, empty queue, hand-over values, idle
  virtual void ResetServer() = 0;

  // Releases.
  virtual void ReleaseLauncherTexts() = 0;  // the table and its font
  virtual void FreeIcon() = 0;
  virtual void FreeUser32() = 0;
  virtual void FreeParameterBuffer() = 0;
  virtual void CloseMutex() = 0;
  virtual void ReleaseCatalogue() = 0;  // stops the engines and frees their libraries
  virtual void DeleteAppMessages() = 0;

  // Shutdown only.
  virtual void CloseIdleMonitor() = 0;
  virtual void ClearGameLists() = 0;  // the update queue and the game-state mirrors
  // Pop-ups, tool-tip and menu while the skin, images and fonts still stand; the need-update pop-up too.
  virtual void TearDownPopups() = 0;
  virtual void SaveSettings() = 0;  // and deletes them
  virtual void UnloadSkinInfo() = 0;
  virtual void ClearWindowPointers() = 0;
  virtual void StopIconLoader() = 0;
  virtual bool SelfUpdatePending() = 0;
  virtual bool PowerOffRequested() = 0;
  virtual void PowerOff() = 0;
};

// True when the main dialog may run; false after a failure exit, a hand-over or the start of another
// launcher.
bool RunStartup(StartupSteps& steps);
void RunShutdown(StartupSteps& steps);

// The steps of this program.
StartupSteps& RealStartupSteps();
