// The main dialog's operations that other windows use: the start game, the settings dialog, the tool-tip, the
// search and the skinned question of the game actions.
#include <windows.h>

#include <string>

#include "app/gamelist/GameList.h"
#include "app/games/CatalogueInfos.h"
#include "app/games/GameActions.h"
#include "app/games/GameCatalogue.h"
#include "app/games/GameHooks.h"
#include "app/games/GameStateMirror.h"
#include "app/games/IGameInfo.h"
#include "app/session/HandOver.h"
#include "app/session/LauncherGlobals.h"
#include "app/settings/Setting.h"
#include "app/texts/MessageTexts.h"
#include "app/tick/PeriodicTick.h"
#include "app/windows/MessageDlg.h"
#include "app/windows/ModalGuard.h"
#include "app/windows/SettingDlg.h"
#include "app/windows/orvaneLauncherDlg.h"
#include "ui/base/IniContainer.h"
#include "ui/browser/OpenUrl.h"
#include "ui/skin/SkinListeners.h"
#include "ui/skin/SkinLoader.h"
#include "ui/skinned/ProcessPopups.h"
#include "ui/skinned/SkinnedToolTip.h"
#include "ui/skinned/SkinnedWnd.h"

namespace {

SettingsDialogRunner g_settings_runner = &RunSettingsDialog;
UrlShell* g_url_shell = nullptr;

}  // namespace

void SetSettingsDialogRunner(SettingsDialogRunner runner) {
  g_settings_runner = runner != nullptr ? runner : &RunSettingsDialog;
}

void SetLauncherUrlShell(UrlShell* shell) {
  g_url_shell = shell;
}

void OpenLauncherUrl(const wchar_t* url) {
  if (url != nullptr && url[0] != L'\0')
    OpenUrlWithInternetExplorer(url, g_url_shell);
}

void ApplyStartGame() {
  const HandOverValues& values = GetHandOverValues();
  const wchar_t* id = values.prepared ? values.StartGameID : nullptr;
  Setting* setting = Setting::GetInstance();
  if (setting == nullptr || !setting->FixSkin) {
    IGameInfo* game = id != nullptr ? FindGameInfo(id) : nullptr;
    if (game != nullptr)
      SetCurrentSkin(game->GetSkinID());
    else if (GetCurrentSkin()[0] != L'\0')
      SetCurrentSkin(L"");
  }
  BroadcastSkinChange();
  UpdaterLauncherWnd* window = Launcher().LauncherWindow;
  if (window != nullptr) {
    RefreshNotices();
    size_t count = KeywordCount();
    if (count > 0) {
      int32_t& index = Launcher().SearchKeywordIndex;
      if (index < 0 || static_cast<size_t>(index) >= count)
        index = 0;
      window->SetSearchHint(KeywordAt(static_cast<size_t>(index))->view_content);
    }
    window->SetUserNick(values.prepared ? values.UserNick : L"");
    window->SelectGame(id, 0);
  }
  // The game's state mirror may have been made while the window still showed no game (the game list is
  // made before this runs); its buttons then follow only the next change of state, so show them now.
  if (id != nullptr && id[0] != L'\0')
    ApplyGameButtonStates(FindGameState(id));
  if (GameListPanel != nullptr) {
    // The shown game is the list's selection too, scrolled into view, as after a click on its row; the
    // selection's own game action finds the game shown already.
    GameListPanel->SelectButton(id);
    CurrentTickView().RefreshGameList();
  }
}

void ShowSettingsDialog() {
  if (g_settings_runner(Launcher().MainDialog) != 1)
    return;
  PeriodicTick();
  CurrentTickView().RefreshGameList();
  Setting* live = Setting::GetInstance();
  if (live != nullptr && live->Update != 1)
    TickState().need_update_shown = 0;
}

void ShowToolTip(const RECT* area, uint32_t owner_key, const wchar_t* text) {
  SkinnedToolTip* tip = ProcessToolTip();
  if (tip == nullptr)
    return;
  if (tip->GetHwnd() == nullptr) {
    tip->SetSkin(L"etc", L"tooltip");
    if (!tip->CreatePopup(0, 0, 1, 1, nullptr, NPopup::kToolWindow | NPopup::kTopmost))
      return;
  }
  tip->SetTip(area, owner_key, text);
}

std::wstring SearchUrl(const wchar_t* base, const wchar_t* value, bool encoded) {
  std::wstring url = base != nullptr ? base : L"";
  if (value == nullptr)
    return url;
  if (encoded)
    return url + value;
  int bytes = WideCharToMultiByte(CP_UTF8, 0, value, -1, nullptr, 0, nullptr, nullptr);
  std::string utf8(bytes > 0 ? bytes : 0, '\0');
  if (bytes > 0)
    WideCharToMultiByte(CP_UTF8, 0, value, -1, &utf8[0], bytes, nullptr, nullptr);
  static const char kHex[] = "0123456789ABCDEF";
  for (char c : utf8) {
    unsigned char byte = static_cast<unsigned char>(c);
    if (byte == 0)
      break;
    if ((byte >= 'A' && byte <= 'Z') || (byte >= 'a' && byte <= 'z') || (byte >= '0' && byte <= '9') ||
        byte == '-' || byte == '_' || byte == '.' || byte == '~') {
      url += static_cast<wchar_t>(byte);
    } else {
      url += L'%';
      url += static_cast<wchar_t>(kHex[byte >> 4]);
      url += static_cast<wchar_t>(kHex[byte & 15]);
    }
  }
  return url;
}

void OpenSearch(const wchar_t* text, int32_t from_list) {
  IniContainer* texts = AppMessageTable();
  const wchar_t* base = texts != nullptr ? texts->GetString(L"URL", L"search_url", nullptr) : nullptr;
  if (base == nullptr || text == nullptr)
    return;
  if (!from_list) {
    OpenLauncherUrl(SearchUrl(base, text, false).c_str());
    return;
  }
  for (size_t i = 0; i < KeywordCount(); ++i) {
    const KeywordInfo* keyword = KeywordAt(i);
    if (keyword != nullptr && keyword->view_content != nullptr &&
        lstrcmpW(keyword->view_content, text) == 0) {
      OpenLauncherUrl(SearchUrl(base, keyword->keyword, true).c_str());
      return;
    }
  }
}

int AskLauncherQuestion(const wchar_t* text) {
  if (!EnterModal())
    return 0;
  INT_PTR result = ShowMessageDialog(1, text);
  LeaveModal();
  return result == IDOK ? 1 : (result == IDCANCEL ? 2 : 0);
}

void InstallLauncherPresenters() {
  InstallGameMessagePresenter();
  InstallPageMessageGuard();
  SetGameQuestionPresenter(&AskLauncherQuestion);
}
