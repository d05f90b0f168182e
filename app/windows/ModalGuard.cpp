#include "app/windows/ModalGuard.h"

#include <initializer_list>

#include "app/games/GameHooks.h"
#include "app/windows/MessageDlg.h"
#include "ui/browser/CHtmlHostHandler.h"
#include "ui/host/NDialog.h"

namespace {

int32_t g_modal_open = 0;

void SetTrayItem(Menu* menu, UINT item, bool enabled) {
  if (menu != nullptr)
    menu->SetItemState(item, enabled ? MFS_ENABLED : MFS_DISABLED | MFS_GRAYED);
}

}  // namespace

int32_t EnterModal() {
  if (g_modal_open)
    return 0;
  g_modal_open = 1;
  NDialog* dialog = GetMainDialog();
  Menu* menu = dialog != nullptr ? dialog->tray_menu() : nullptr;
  for (UINT item : {kTraySettingItem, kTrayRestoreItem, kTrayExitItem})
    SetTrayItem(menu, item, false);
  return 1;
}

void LeaveModal() {
  NDialog* dialog = GetMainDialog();
  Menu* menu = dialog != nullptr ? dialog->tray_menu() : nullptr;
  SetTrayItem(menu, kTraySettingItem, true);
  SetTrayItem(menu, kTrayExitItem, true);
  if (dialog != nullptr && dialog->minimized())
    SetTrayItem(menu, kTrayRestoreItem, true);
  g_modal_open = 0;
}

int32_t IsModalOpen() {
  return g_modal_open;
}

INT_PTR ShowModalMessage(const wchar_t* text, int32_t kind) {
  if (!EnterModal())
    return IDCANCEL;
  INT_PTR result = ShowMessageDialog(kind, text);
  LeaveModal();
  return result;
}

bool PresentGameMessage(const wchar_t* text) {
  // A message is a modal dialog like a question: it takes the guard, or is not shown while another holds it.
  if (!EnterModal())
    return false;
  ShowMessageDialog(0, text);
  LeaveModal();
  return true;
}

void InstallGameMessagePresenter() {
  SetGameMessagePresenter(&PresentGameMessage);
}

void InstallPageMessageGuard() {
  HtmlMessageGuard guard;
  guard.enter = &EnterModal;
  guard.leave = &LeaveModal;
  SetHtmlMessageGuard(&guard);
}
