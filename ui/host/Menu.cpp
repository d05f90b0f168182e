#include "ui/host/Menu.h"

bool Menu::Load(UINT resource_id) {
  HMENU menu = LoadMenuW(GetModuleHandleW(nullptr), MAKEINTRESOURCEW(resource_id));
  if (menu == nullptr)
    return false;
  menu_.Reset(menu);
  return true;
}

HMENU Menu::SubMenu(int position) const {
  return menu_.get() != nullptr ? GetSubMenu(menu_.get(), position) : nullptr;
}

bool Menu::SetItemState(UINT command, UINT state) {
  if (menu_.get() == nullptr)
    return false;
  MENUITEMINFOW item = {};
  item.cbSize = sizeof(item);
  item.fMask = MIIM_STATE;
  item.fState = state;
  // SetMenuItemInfoW by command searches the pop-ups of the menu too.
  return SetMenuItemInfoW(menu_.get(), command, FALSE, &item) != FALSE;
}

bool Menu::TrackSubMenu(int position, UINT flags, int x, int y, HWND owner) const {
  HMENU popup = SubMenu(position);
  return popup != nullptr && TrackPopupMenu(popup, flags, x, y, 0, owner, nullptr) != FALSE;
}
