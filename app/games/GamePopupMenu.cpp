#include "app/games/GamePopupMenu.h"

#include <new>

#include "ui/base/IniStringContainer.h"
#include "ui/skinned/FrameInputs.h"

namespace {

const wchar_t* const kItemSections[SkinnedPopupMenu::kItemCount] = {
    L"MENU_ITEM_INSTALL", L"MENU_ITEM_STOP_INSTALL", L"MENU_ITEM_UPDATE",    L"MENU_ITEM_STOP_UPDATE",
    L"MENU_ITEM_RUN",     L"MENU_ITEM_FILECHECK",    L"MENU_ITEM_PATCH_INFO"};

GamePopupMenu* g_menu = nullptr;

}  // namespace

GamePopupMenu::~GamePopupMenu() {
  Destroy();
}

void GamePopupMenu::OnSkinLoaded() {
  if (category() == nullptr || ini() == nullptr)
    return;
  ResetItems(command_callback_);
  for (int32_t index = 0; index < kItemCount; ++index)
    SetItem(static_cast<uint32_t>(index + 1), index, ini()->GetString(kItemSections[index], L"text", L""));
}

void GamePopupMenu::OnShow(int32_t show) {
  if (show) {
    POINT cursor;
    FramePointer(&cursor);
    Move(cursor.x, cursor.y);
  }
  SkinnedPopupMenu::OnShow(show);
}

GamePopupMenu* ProcessGamePopupMenu() {
  if (g_menu == nullptr)
    g_menu = new (std::nothrow) GamePopupMenu;
  return g_menu;
}

void TearDownGamePopupMenu() {
  delete g_menu;
  g_menu = nullptr;
}
