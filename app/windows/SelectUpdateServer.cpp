#include "app/windows/SelectUpdateServer.h"

#include <windows.h>

#include <string>

#include "app/launcherupdate/CurrentUpdateAddr.h"
#include "app/launcherupdate/ServerList.h"
#include "app/session/ProgramPath.h"
#include "app/session/SessionValues.h"
#include "app/settings/Setting.h"
#include "app/windows/UpdateServerSelectDialog.h"
#include "base/ScopedHandle.h"
#include "net/HttpFileDownloader.h"
#include "selfupdate/LauncherInfo.h"
#include "selfupdate/ProcessReplacement.h"

namespace {

BeforeServerRestart g_before_restart = nullptr;

int WriteToFile(const void* data, int bytes, void* file) {
  DWORD written = 0;
  if (bytes < 0 ||
      !WriteFile(static_cast<HANDLE>(file), data, static_cast<DWORD>(bytes), &written, nullptr) ||
      written != static_cast<DWORD>(bytes))
    return -1;
  return bytes;
}

bool DownloadServerList(const std::wstring& path) {
  bool downloaded = false;
  {
    UniqueHandle file(
        CreateFileW(path.c_str(), GENERIC_WRITE, 0, nullptr, CREATE_ALWAYS, FILE_ATTRIBUTE_NORMAL, nullptr));
    if (!file)
      return false;
    const std::wstring url = L"http://" + std::wstring(CurrentUpdateAddr()) + L"/locallist.xml";
    HttpFileDownloader downloader;
    downloader.SetFirstAnswerLimit(kServerListFirstAnswerMs);
    downloaded = downloader.Open(url.c_str(), file.get(), &WriteToFile) == 1 && downloader.Perform() == 1;
  }
  if (!downloaded)
    DeleteFileW(path.c_str());
  return downloaded;
}

void RestartOntoNewServer() {
  if (Setting* setting = Setting::PeekInstance())
    setting->Save();
  if (NDialog* main = GetMainDialog()) {
    if (main->tray_icon_added()) {
      Shell_NotifyIconW(NIM_DELETE, &main->tray_icon());
      main->set_tray_icon_added(0);
    }
  }
  if (g_before_restart != nullptr)
    g_before_restart();
  wchar_t program[MAX_PATH];
  if (GetProgramPath(program, MAX_PATH))
    ReplaceProcess(program, GetCommandLineW());
}

SelectUpdateServerResult StoreChoice(const ServerRecord& server) {
  wchar_t stored[kLauncherInfoTextUnits];
  ReadLauncherInfoUpdateAddr(stored);
  const bool changed = CompareStringOrdinal(stored, -1, server.address, -1, TRUE) != CSTR_EQUAL;
  if (!WriteLauncherInfoUpdateAddr(server.address))
    return kServerNotChosen;
  WriteLauncherInfoUpdateName(server.name);
  if (changed)
    RestartOntoNewServer();
  return kServerChosen;
}

}  // namespace

void SetBeforeServerRestart(BeforeServerRestart hook) {
  g_before_restart = hook;
}

SelectUpdateServerResult SelectUpdateServer() {
  const std::wstring folder = GetExeFolder();
  const std::wstring path = folder + L"\\locallist.xml";
  if (!DownloadServerList(path))
    return kServerListNotDownloaded;
  ServerList list;
  if (!list.Parse(path.c_str()))
    return kServerListUnreadable;
  const wchar_t* game = GetSessionValues().StartGameID;
  const std::wstring version_ini =
      game[0] != 0 ? folder + L"\\VersionInfo_" + game + L".ini" : std::wstring();
  UpdateServerSelectDialog dialog(&list, folder + L"\\ZEPHUpdateServerSelect", version_ini);
  if (!dialog.LoadSkin())
    return kServerDialogFailed;
  const INT_PTR modal = dialog.DoModal();
  if (modal == -1)
    return kServerDialogFailed;
  if (modal != IDOK || dialog.selected() < 0 || dialog.selected() >= list.count())
    return kServerNotChosen;
  return StoreChoice(list.records()[dialog.selected()]);
}
