// The game list's services (app/gamelist/GameListServices.h) with the launcher's own defaults, which are
// windows of this room.
#include "app/gamelist/GameListServices.h"

#include "app/windows/ModalGuard.h"
#include "app/windows/SelectUpdateServer.h"
#include "app/windows/orvaneLauncherDlg.h"
#include "selfupdate/LauncherInfo.h"

namespace {

GameListServices g_services;

}  // namespace

void SetGameListServices(const GameListServices& services) {
  g_services = services;
}

void ReadUpdateServerName(wchar_t* text) {
  if (text == nullptr)
    return;
  text[0] = L'\0';
  (g_services.read_update_name != nullptr ? g_services.read_update_name : &ReadLauncherInfoUpdateName)(text);
}

bool StartRegionSelection() {
  return (g_services.begin_update_server_selection != nullptr ? g_services.begin_update_server_selection
                                                              : &BeginUpdateServerSelection)();
}

// The selection's dialog is one question among the others: it opens only while no other guarded dialog is
// up, and holds the guard while it is, so that neither it nor its error message meets another dialog.
bool RegionListArrived() {
  return !IsModalOpen() &&
         (g_services.update_server_list_arrived != nullptr ? g_services.update_server_list_arrived
                                                           : &UpdateServerListArrived)();
}

bool FinishRegionSelection(SelectUpdateServerResult* result) {
  if (!EnterModal())
    return false;
  *result = (g_services.finish_update_server_selection != nullptr ? g_services.finish_update_server_selection
                                                                  : &FinishUpdateServerSelection)();
  LeaveModal();
  return true;
}

void CancelRegionSelection() {
  (g_services.cancel_update_server_selection != nullptr ? g_services.cancel_update_server_selection
                                                        : &CancelUpdateServerSelection)();
}

void ShowLauncherToolTip(const RECT* area, uint32_t key, const wchar_t* text) {
  (g_services.show_tool_tip != nullptr ? g_services.show_tool_tip : &ShowToolTip)(area, key, text);
}

void ShowLauncherMessage(const wchar_t* text) {
  if (g_services.show_message != nullptr) {
    g_services.show_message(text);
    return;
  }
  // One modal question at a time: a message refused by the guard is simply not shown.
  ShowModalMessage(text != nullptr ? text : L"", 0);
}

void OpenLauncherSearch(const wchar_t* text, int32_t from_list) {
  (g_services.open_search != nullptr ? g_services.open_search : &OpenSearch)(text, from_list);
}

void ApplyLauncherStartGame() {
  (g_services.apply_start_game != nullptr ? g_services.apply_start_game : &ApplyStartGame)();
}
