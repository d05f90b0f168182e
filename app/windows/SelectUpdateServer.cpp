#include "app/windows/SelectUpdateServer.h"

#include <windows.h>

#include <memory>
#include <new>
#include <string>
#include <system_error>
#include <thread>
#include <utility>

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

// The server list's download, on a worker thread of its own so that no window waits for the server: the
// worker writes "locallist.xml" and then says whether it got the list whole. The user-interface thread makes
// it, asks whether it is done and reads the answer once it is; ending the object cancels the transfer and
// waits for the worker (libcurl sees the cancel within a second).
class ServerListDownload {
 public:
  ServerListDownload(std::wstring url, std::wstring path) : url_(std::move(url)), path_(std::move(path)) {}
  ~ServerListDownload() {
    // The flag first: the downloader's Open clears its own cancel, so a worker that has not opened the
    // transfer yet learns of the end from the flag, which it reads after its Open.
    InterlockedExchange(&cancelled_, 1);
    downloader_.Cancel();
    if (worker_.joinable())
      worker_.join();
  }
  ServerListDownload(const ServerListDownload&) = delete;
  ServerListDownload& operator=(const ServerListDownload&) = delete;

  bool Start() {
    try {
      worker_ = std::thread(&ServerListDownload::Run, this);
    } catch (const std::system_error&) {
      return false;
    }
    return true;
  }
  bool done() const { return InterlockedCompareExchange(const_cast<volatile long*>(&done_), 0, 0) != 0; }
  // Once done: true when the whole list is in the file.
  bool downloaded() {
    if (worker_.joinable())
      worker_.join();
    return downloaded_;
  }

 private:
  void Run() {
    {
      UniqueHandle file(CreateFileW(path_.c_str(), GENERIC_WRITE, 0, nullptr, CREATE_ALWAYS,
                                    FILE_ATTRIBUTE_NORMAL, nullptr));
      if (file) {
        downloader_.SetFirstAnswerLimit(kServerListFirstAnswerMs);
        downloaded_ = downloader_.Open(url_.c_str(), file.get(), &WriteToFile) == 1 &&
                      InterlockedCompareExchange(&cancelled_, 0, 0) == 0 && downloader_.Perform() == 1;
      }
    }
    if (!downloaded_)
      DeleteFileW(path_.c_str());
    InterlockedExchange(&done_, 1);
  }

  const std::wstring url_;
  const std::wstring path_;
  HttpFileDownloader downloader_;  // its own lock makes Cancel safe from the user-interface thread
  std::thread worker_;
  bool downloaded_ = false;  // written by the worker before done_, read after it
  volatile long done_ = 0;
  volatile long cancelled_ = 0;  // set once by the destructor, before it cancels the transfer
};

// The selection whose list is on its way (null: none).
std::unique_ptr<ServerListDownload> g_download;

std::wstring ServerListPath() {
  return std::wstring(GetExeFolder()) + L"\\locallist.xml";
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

bool BeginUpdateServerSelection() {
  if (g_download)
    return false;
  const std::wstring url = L"http://" + std::wstring(CurrentUpdateAddr()) + L"/locallist.xml";
  try {
    g_download.reset(new ServerListDownload(url, ServerListPath()));
  } catch (const std::bad_alloc&) {
    return false;
  }
  if (!g_download->Start()) {
    g_download.reset();
    return false;
  }
  return true;
}

bool UpdateServerListArrived() {
  return g_download && g_download->done();
}

SelectUpdateServerResult FinishUpdateServerSelection() {
  if (!g_download)
    return kServerListNotDownloaded;
  // Taken before the dialog runs: a click or tick inside its modal loop sees no selection on its way.
  std::unique_ptr<ServerListDownload> download = std::move(g_download);
  if (!download->downloaded())
    return kServerListNotDownloaded;
  download.reset();
  const std::wstring folder = GetExeFolder();
  ServerList list;
  if (!list.Parse(ServerListPath().c_str()))
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

void CancelUpdateServerSelection() {
  g_download.reset();
}

SelectUpdateServerResult SelectUpdateServer() {
  if (!BeginUpdateServerSelection())
    return kServerListNotDownloaded;
  return FinishUpdateServerSelection();
}
