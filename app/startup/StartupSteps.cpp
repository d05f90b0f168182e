// The program's start-up and shutdown steps: each one a call into the module that owns it.
#include <windows.h>

#include <cstdlib>
#include <string>

#include "app/gamelist/GameList.h"
#include "app/games/CIEKillerForGame.h"
#include "app/games/GameCatalogue.h"
#include "app/games/GameIcon.h"
#include "app/games/GameStateMirror.h"
#include "app/games/UpdateQueue.h"
#include "app/launcherupdate/CurrentUpdateAddr.h"
#include "app/launcherupdate/SelfUpdateSteps.h"
#include "app/session/GameArgs.h"
#include "app/session/HandOver.h"
#include "app/session/LauncherGlobals.h"
#include "app/session/ParameterFile.h"
#include "app/session/ProgramPath.h"
#include "app/session/SessionValues.h"
#include "app/settings/Setting.h"
#include "app/startup/OwnVersion.h"
#include "app/startup/SingleInstance.h"
#include "app/startup/Startup.h"
#include "app/system/IdleMonitor.h"
#include "app/system/PowerOff.h"
#include "app/texts/MessageTexts.h"
#include "app/tick/PeriodicTick.h"
#include "app/windows/PopupMessage.h"
#include "app/windows/SelectUpdateServer.h"
#include "app/windows/SelfUpdaterDlg.h"
#include "app/windows/Splash.h"
#include "selfupdate/GameInfoVersion.h"
#include "selfupdate/LauncherInfo.h"
#include "ui/base/VirtualFile.h"
#include "ui/gfx/AppIcon.h"
#include "ui/skin/SkinLoader.h"
#include "ui/skinned/ProcessPopups.h"

namespace {

// How long the temporary copy waits for the restarted launcher's dialog to pass a hand-over on: the restarted
// launcher asks the update host and downloads its catalogue first, each step bounded by its own limits.
constexpr DWORD kRestartedDialogLimitMs = 120000;

void CloseInstanceMutex() {
  if (Launcher().SingleInstanceMutex != nullptr)
    CloseHandle(Launcher().SingleInstanceMutex);
  Launcher().SingleInstanceMutex = nullptr;
}

class RealSteps : public StartupSteps {
 public:
  void ShowErrorBox(const wchar_t* key) override {
    MessageBoxW(nullptr, GetLauncherMessage(key), GetLauncherMessage(L"error"), MB_ICONERROR | MB_TOPMOST);
  }

  void LoadUser32() override {
    LauncherGlobals& g = Launcher();
    GetModuleFileNameW(nullptr, g.ExePath, MAX_PATH);
    ::User32Module = LoadLibraryW(L"user32.dll");
    if (::User32Module == nullptr)
      return;
    typedef BOOL(WINAPI * MessageFilter)(UINT, DWORD);
    MessageFilter filter = reinterpret_cast<MessageFilter>(
        reinterpret_cast<void*>(GetProcAddress(::User32Module, "ChangeWindowMessageFilter")));
    if (filter != nullptr)
      filter(WM_COPYDATA, 1);
  }
  void LoadLauncherTexts() override {
    LoadLauncherMessages();
    Launcher().LauncherTitle.Assign(GetLauncherMessage(L"Launcher"));
  }
  void LoadIcon() override { Launcher().AppIcon = LoadAppIcon(Launcher().LauncherTitle.GetString()); }
  bool CheckOwnFileVersion() override {
    return ::CheckOwnFileVersion(Launcher().ExePath, &Launcher().LauncherFileVersion) != 0;
  }
  bool CutExePath() override {
    LauncherGlobals& g = Launcher();
    wchar_t* slash = wcsrchr(g.ExePath, L'\\');
    if (slash == nullptr)
      return false;
    *slash = L'\0';
    SetCurrentDirectoryW(g.ExePath);
    g.ExeFolder = g.ExePath;
    SetExeFolder(g.ExePath);
    return true;
  }
  void LoadKillList() override { CIEKillerForGame::GetInstance().Load(); }
  void ParseCommandLine() override {
    // The temporary self-update copy runs with the same command line, and the parameter file it selects
    // lies in the real launcher folder only.
    wchar_t program[MAX_PATH];
    const std::wstring folder = GetProgramPath(program, MAX_PATH) ? RealLauncherFolderOf(program) : L"";
    ParseCommandLineText(GetCommandLineW(), folder.empty() ? nullptr : folder.c_str());
    if (GameArgsSupported())
      BuildGameArgs();
  }
  InstanceMutexResult CreateInstanceMutex() override {
    // Every way that starts another launcher closes the mutex first, so that the new process can own it. The
    // server selection restarts from inside itself, reached from start-up and from the game list's menu alike.
    SetBeforeServerRestart(&CloseInstanceMutex);
    return CreateSingleInstanceMutex(Launcher().LauncherTitle.GetString(), &Launcher().SingleInstanceMutex);
  }
  bool HandOverToRunningLauncher() override {
    HWND dialog = FindRunningLauncherDialog(Launcher().LauncherTitle.GetString());
    // While the launcher updates itself, its temporary copy takes the session for the launcher it restarts.
    if (dialog == nullptr)
      dialog = FindRunningSelfUpdateDialog();
    return dialog != nullptr && SendHandOver(dialog);
  }
  void ReleaseVirtualFiles() override { ReleaseAllVirtualFiles(); }
  bool IsRunningFromUpdateTemp() override {
    bool update_copy = ::IsRunningFromUpdateTemp() != 0;
    wchar_t path[MAX_PATH];
    if (BuildLauncherInfoPath(Launcher().ExePath, update_copy, path, MAX_PATH))
      SetLauncherInfoPath(path);
    SetCurrentUpdateAddr(GetSessionValues().LUpdateAddr);
    return update_copy;
  }
  bool LoadUpdateAddr() override {
    return LoadUpdateAddrFromLauncherInfo(GetSessionValues().LUpdateAddr) != 0;
  }
  SelectUpdateServerResult SelectUpdateServer() override { return ::SelectUpdateServer(); }
  void StartSplash() override { ::StartSplash(GetLauncherMessage(L"initializing"), Launcher().AppIcon); }
  void StopSplash() override { ::StopSplash(); }
  bool QueryGameInfoNumber() override { return ::QueryGameInfoNumber(GetSessionValues().LUpdateAddr) == 0; }
  SelfUpdateDialogResult RunSelfUpdaterDialog() override {
    switch (::RunSelfUpdaterDialog()) {
      case kSelfUpdateDone:
        return kSelfUpdateDialogUpdated;
      case kSelfUpdateAborted:
        return kSelfUpdateDialogAborted;
      default:
        return kSelfUpdateDialogFailed;
    }
  }
  bool RestartLauncherFromParent() override {
    HandOverRecord held;
    if (!TakeHeldHandOver(&held))
      return ::RestartLauncherFromParent() != 0;
    // A second start handed its session to this copy: the restarted launcher gets it once its dialog is up.
    wchar_t program[MAX_PATH];
    const std::wstring real = GetProgramPath(program, MAX_PATH) ? ParentProgramOf(program) : L"";
    return !real.empty() &&
           RestartAndHandOver(real.c_str(), GetCommandLineW(), Launcher().LauncherTitle.GetString(), held,
                              kRestartedDialogLimitMs);
  }
  void RemoveUpdateTemp() override { ::RemoveUpdateTemp(); }
  bool DownloadLauncherInfo() override { return ::DownloadLauncherInfo() != 0; }
  bool IsLauncherVersionChanged() override {
    return ::IsLauncherVersionChanged(GetSessionValues().GameVersion) != 0;
  }
  bool CopyLauncherToUpdateTemp() override { return ::CopyLauncherToUpdateTemp() != 0; }
  bool StartLauncherInUpdateTemp() override { return ::StartLauncherInUpdateTemp() != 0; }
  bool LoadCatalogue() override { return ::LoadCatalogue() != 0; }
  bool LoadSkinInfo() override { return SkinLoader::LoadSkinInfo() != 0; }
  void ApplyFixedSkin() override {
    Setting* setting = Setting::GetInstance();
    if (setting != nullptr && setting->FixSkin)
      SetCurrentSkin(setting->FixedSkinID);
  }
  bool LoadAppMessages() override { return ::LoadAppMessages() != 0; }
  bool StartIconLoader() override { return ::StartIconLoader() != 0; }
  void FinishStartup() override {
    LauncherGlobals& g = Launcher();
    g.LastCatalogueCheckTick = GetTickCount();
    size_t keywords = KeywordCount();
    if (keywords > 0) {
      srand(GetTickCount());
      g.SearchKeywordIndex = static_cast<int32_t>(rand() / 32767.0 * static_cast<double>(keywords));
    }
    ClearUpdateQueue();
    PrepareHandOverRecord();
    OpenIdleMonitor();
  }
  void ResetServer() override {
    if (WriteLauncherInfoUpdateAddr(L""))
      WriteLauncherInfoUpdateName(L"");
  }

  void ReleaseLauncherTexts() override { ReleaseLauncherMessages(); }
  void FreeIcon() override {
    FreeAppIcon();
    Launcher().AppIcon = nullptr;
  }
  void FreeUser32() override {
    if (::User32Module != nullptr)
      FreeLibrary(::User32Module);
    ::User32Module = nullptr;
  }
  void FreeParameterBuffer() override { ReleaseParameterBuffer(); }
  void CloseMutex() override { CloseInstanceMutex(); }
  void ReleaseCatalogue() override { ::ReleaseCatalogue(); }
  void DeleteAppMessages() override { ReleaseAppMessages(); }

  void CloseIdleMonitor() override { ::CloseIdleMonitor(); }
  void ClearGameLists() override {
    ClearUpdateQueue();
    GameStateList().RemoveAll();
  }
  void TearDownPopups() override {
    DeleteNeedUpdatePopup();
    PopupQueueRemoveAll();
    TearDownProcessPopups();
  }
  void SaveSettings() override {
    Setting* setting = Setting::PeekInstance();
    if (setting == nullptr)
      return;
    setting->Save();
    Setting::ReleaseInstance();
  }
  void UnloadSkinInfo() override { SkinLoader::UnloadSkinInfo(); }
  void ClearWindowPointers() override {
    Launcher().MainDialog = nullptr;
    Launcher().LauncherWindow = nullptr;
    GameListPanel = nullptr;
  }
  void StopIconLoader() override { ::StopIconLoader(); }
  bool SelfUpdatePending() override { return Launcher().SelfUpdatePending != 0; }
  bool PowerOffRequested() override { return Launcher().PowerOffRequested != 0; }
  void PowerOff() override { PowerOffMachine(); }
};

}  // namespace

StartupSteps& RealStartupSteps() {
  static RealSteps steps;
  return steps;
}
