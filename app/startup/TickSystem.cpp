// The periodic tick's real system: clock, main dialog, catalogue re-read, idle monitor and pop-ups.
#include <windows.h>

#include <memory>
#include <string>

#include "app/games/CatalogueRecheck.h"
#include "app/games/GameActions.h"
#include "app/games/GameCatalogue.h"
#include "app/games/IGameInfo.h"
#include "app/session/LauncherGlobals.h"
#include "app/session/SessionValues.h"
#include "app/system/IdleMonitor.h"
#include "app/texts/MessageFormat.h"
#include "app/texts/MessageTexts.h"
#include "app/tick/PeriodicTick.h"
#include "app/windows/PopupMessage.h"
#include "ui/host/NDialog.h"

namespace {

// The need-update pop-up while it exists (one at most).
std::unique_ptr<PopupMessage> g_need_update;

const int32_t kPopupCorner = 1;

class RealSystem : public TickSystem {
 public:
  uint32_t Now() override { return GetTickCount(); }
  void CloseMainDialog() override {
    NDialog* dialog = GetMainDialog();
    if (dialog != nullptr)
      dialog->OnOK();
  }
  void StartCatalogueRecheck() override {
    const SessionValues& session = GetSessionValues();
    ::StartCatalogueRecheck(session.LUpdateAddr, session.CompanyID,
                            IsStartGameMode() ? session.StartGameID : nullptr);
  }
  bool FinishCatalogueRecheck() override { return ::FinishCatalogueRecheck(); }
  int SampleLoad(LoadSample* sample) override { return ::SampleLoad(sample); }
  uint32_t IdleMilliseconds() override { return GetIdleMilliseconds(); }
  void ShowErrorPopup(const wchar_t* game_id, const wchar_t* text) override {
    for (PopupQueueNode* node = PopupQueueHead(); node != nullptr; node = node->next) {
      if (lstrcmpW(node->item->popup().key().GetString(), game_id) == 0) {
        PopupQueueRemove(node);
        break;
      }
    }
    PopupQueueNode* node = PopupQueueAddNew();
    if (node != nullptr && !node->item->Show(game_id, text, &OnErrorPopupClosed, 0, kPopupCorner))
      PopupQueueRemove(node);
  }
  bool ShowNeedUpdatePopup(const wchar_t* text) override {
    if (g_need_update)
      return true;
    g_need_update.reset(new (std::nothrow) PopupMessage());
    if (g_need_update && g_need_update->Show(L"need_update", text, &OnNeedUpdatePopupClosed, 1, kPopupCorner))
      return true;
    g_need_update.reset();
    return false;
  }
};

}  // namespace

TickSystem& RealTickSystem() {
  static RealSystem system;
  return system;
}

std::wstring ErrorPopupText(int32_t error, const wchar_t* title) {
  if (error == 0)
    return std::wstring();
  wchar_t key[32];
  if (error == 21)
    lstrcpyW(key, L"update_unknown_error");
  else
    wsprintfW(key, L"update_error_%d", error);
  return FormatMessageText(GetAppMessageOrUnknown(key), title != nullptr ? title : L"");
}

void OnErrorPopupClosed(const wchar_t* game_id, int32_t /*answer*/) {
  IGameInfo* game = FindGameInfo(game_id);
  if (game != nullptr)
    game->ClearError();
  for (PopupQueueNode* node = PopupQueueHead(); node != nullptr; node = node->next) {
    if (lstrcmpW(node->item->popup().key().GetString(), game_id) == 0) {
      PopupQueueRemove(node);
      return;
    }
  }
}

void OnNeedUpdatePopupClosed(const wchar_t* /*key*/, int32_t answer) {
  // Shown once either way: a click whose update cannot start does not bring the pop-up back every frame.
  TickState().need_update_shown = 1;
  g_need_update.reset();
  if (answer == 1)
    UpdateAllGames();
}

void DeleteNeedUpdatePopup() {
  g_need_update.reset();
}
