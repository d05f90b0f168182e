#include "ui/skinned/ProcessPopups.h"

#include <new>

#include "ui/skinned/SkinnedPopupMenu.h"
#include "ui/skinned/SkinnedToolTip.h"

namespace {

SkinnedToolTip* g_tool_tip = nullptr;
SkinnedPopupMenu* g_popup_menu = nullptr;

// Destroy and ReleaseSkin explicitly, then delete: the order does not rest on the destructors.
template <typename Popup>
void TearDown(Popup*& popup) {
  if (popup == nullptr)
    return;
  popup->Destroy();
  popup->ReleaseSkin();
  delete popup;
  popup = nullptr;
}

}  // namespace

SkinnedToolTip* ProcessToolTip() {
  if (g_tool_tip == nullptr)
    g_tool_tip = new (std::nothrow) SkinnedToolTip();
  return g_tool_tip;
}

SkinnedPopupMenu* ProcessPopupMenu() {
  if (g_popup_menu == nullptr)
    g_popup_menu = new (std::nothrow) SkinnedPopupMenu();
  return g_popup_menu;
}

void TearDownProcessPopups() {
  TearDown(g_popup_menu);
  TearDown(g_tool_tip);
}
