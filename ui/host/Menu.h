// Menu: one menu (a bar or a pop-up) owned by an object, with the few operations the dialogs' tray menus use.
// The menu is destroyed with the object (and its sub-menus with it) unless it was given up by Detach.
//
// Thread: user-interface thread only.
#pragma once

#include <windows.h>

#include "ui/host/WindowHandles.h"

class Menu {
 public:
  Menu() = default;
  Menu(const Menu&) = delete;
  Menu& operator=(const Menu&) = delete;

  HMENU handle() const { return menu_.get(); }
  // Loads menu resource `resource_id` of the program, replacing (and destroying) the menu held so far. True
  // when it loaded.
  bool Load(UINT resource_id);
  // Takes ownership of `menu` (destroying the menu held so far).
  void Attach(HMENU menu) { menu_.Reset(menu); }
  // Gives the menu up without destroying it.
  HMENU Detach() { return menu_.Release(); }
  // The pop-up at `position`, or null; it stays owned by this menu.
  HMENU SubMenu(int position) const;
  // Sets the state of the item with command `command` (MFS_ENABLED, MFS_DISABLED | MFS_GRAYED...) wherever
  // it lies in the menu's tree. True when the item exists.
  bool SetItemState(UINT command, UINT state);
  // Shows pop-up `position` at screen (x, y) with `flags` (TPM_...), its commands going to `owner`. True when
  // the menu was shown.
  bool TrackSubMenu(int position, UINT flags, int x, int y, HWND owner) const;

 private:
  ScopedMenu menu_;
};
