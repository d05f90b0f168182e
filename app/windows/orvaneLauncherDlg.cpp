#include "app/windows/orvaneLauncherDlg.h"

#include "app/games/GameCatalogue.h"
#include "app/session/HandOver.h"
#include "app/session/LauncherGlobals.h"
#include "app/settings/Setting.h"
#include "app/tick/PeriodicTick.h"
#include "app/windows/Splash.h"
#include "selfupdate/LauncherInfo.h"
#include "ui/base/IniStringContainer.h"
#include "ui/browser/OpenUrl.h"
#include "ui/skin/NFontManager.h"
#include "ui/skin/NImage.h"
#include "ui/skin/NNumber.h"
#include "ui/skin/SkinListeners.h"
#include "ui/skin/SkinLoader.h"
#include "ui/view/NotifyCodes.h"

namespace {

struct TrayItem {
  const wchar_t* section;
  UINT command;
};
const TrayItem kTrayItems[] = {{L"TRAY_MENU_SETTING", orvaneLauncherDlg::kTraySetting},
                               {L"TRAY_MENU_RESTORE", orvaneLauncherDlg::kTrayRestore},
                               {L"TRAY_MENU_EXIT", orvaneLauncherDlg::kTrayExit}};

// The popup of three items from the skin; null when a text is missing or an item cannot be inserted.
HMENU BuildTrayPopup(IniStringContainer* skin) {
  HMENU popup = CreatePopupMenu();
  if (popup == nullptr)
    return nullptr;
  for (UINT position = 0; position < 3; ++position) {
    const wchar_t* text = skin->GetString(kTrayItems[position].section, L"text", nullptr);
    if (text == nullptr ||
        !InsertMenuW(popup, position, MF_BYPOSITION | MF_STRING, kTrayItems[position].command, text)) {
      DestroyMenu(popup);
      return nullptr;
    }
  }
  return popup;
}

}  // namespace

orvaneLauncherDlg::orvaneLauncherDlg() = default;

orvaneLauncherDlg::~orvaneLauncherDlg() {
  Destroy();
  // Nothing may reach the launcher window through the process-wide pointer once it is gone.
  if (Launcher().LauncherWindow == &launcher_window_)
    Launcher().LauncherWindow = nullptr;
  DeleteVersionImages();
  RemoveFontManager(skin_name().GetString());
  RemoveFontManager(L"etc");
}

void orvaneLauncherDlg::DeleteVersionImages() {
  delete version_image_;
  version_image_ = nullptr;
  delete version_number_;
  version_number_ = nullptr;
}

void orvaneLauncherDlg::PostSysCommand(WPARAM command) {
  if (HWND window = GetHwnd())
    PostMessageW(window, WM_SYSCOMMAND, command, 0);
}

int32_t orvaneLauncherDlg::OnCreate() {
  if (!SkinnedDialog::OnCreate())
    return 0;
  PeriodicTick();
  SetWindowText(Launcher().LauncherTitle.GetString());
  if (!CreateChildren())
    return 0;
  SetIcon(Launcher().AppIcon);
  if (!SetUpTray())
    return 0;
  Setting* setting = Setting::GetInstance();
  if (setting != nullptr && setting->FixSkin)
    fix_skin_check_.SetCheck(1);
  Invalidate();
  if (HWND window = GetHwnd())
    SetForegroundWindow(window);
  StopSplash();
  return 1;
}

int32_t orvaneLauncherDlg::CreateChildren() {
  Launcher().LauncherWindow = &launcher_window_;
  launcher_window_.SetSkin(L"body", L"body");
  if (!launcher_window_.Create(0, 0, 1, 1, kLauncherWindowId, this))
    return 0;
  launcher_window_.Show(1, 0);
  struct Child {
    NButton* control;
    SkinnedCtrl* skin;
    const wchar_t* name;
    int32_t id;
    bool required;
  };
  const Child children[] = {
      {&support_button_, &support_button_, L"support_btn", kSupportButtonId, false},
      {&home_button_, &home_button_, L"orvane_btn", kHomeButtonId, false},
      {&setting_button_, &setting_button_, L"setting_btn", kSettingButtonId, true},
      {&minimize_button_, &minimize_button_, L"minimize_btn", kMinimizeButtonId, true},
      {&close_button_, &close_button_, L"close_btn", kCloseButtonId, true},
      {&fix_skin_check_, &fix_skin_check_, L"fixskin_chk", kFixSkinCheckId, false},
      {&fix_skin_button_, &fix_skin_button_, L"fixskin_btn", kFixSkinButtonId, false},
  };
  for (const Child& child : children) {
    child.skin->SetSkin(category_id().GetString(), child.name);
    if (child.control->Create(0, 0, 1, 1, child.id, this))
      child.control->Show(1, 0);
    else if (child.required)
      return 0;
  }
  return 1;
}

int32_t orvaneLauncherDlg::SetUpTray() {
  if (ini() == nullptr)
    return 0;
  HMENU bar = CreateMenu();
  HMENU popup = bar != nullptr ? BuildTrayPopup(ini()) : nullptr;
  Menu* tray = popup != nullptr ? TrayMenu() : nullptr;
  if (tray == nullptr ||
      !InsertMenuW(bar, 0, MF_BYPOSITION | MF_POPUP, reinterpret_cast<UINT_PTR>(popup), L"tray_menu")) {
    if (popup != nullptr)
      DestroyMenu(popup);
    if (bar != nullptr)
      DestroyMenu(bar);
    return 0;
  }
  tray->Attach(bar);
  NOTIFYICONDATAW& icon = tray_icon();
  icon.uFlags |= NIF_ICON | NIF_TIP;
  icon.hIcon = Launcher().AppIcon;
  lstrcpynW(icon.szTip, Launcher().LauncherTitle.GetString(), 128);
  tray->SetItemState(kTrayRestore, MFS_DISABLED | MFS_GRAYED);
  set_tray_mode(1);
  if (!tray_icon_added() && CallShellNotifyIcon(NIM_ADD, &icon))
    set_tray_icon_added(1);
  return 1;
}

void orvaneLauncherDlg::OnDestroy() {
  launcher_window_.ShowBanner(0);
  UnregisterSkinListener(this);
  DeleteVersionImages();
}

void orvaneLauncherDlg::OnUpdate() {
  PeriodicTick();
  if (version_image_ != nullptr && version_image_->Tick())
    Invalidate();
}

void orvaneLauncherDlg::OnPaint(HDC dc, Dib* surface) {
  SkinnedDialog::OnPaint(dc, surface);
  if (surface == nullptr)
    return;
  if (version_image_ != nullptr)
    version_image_->Draw(surface, 1);
  if (version_number_ != nullptr)
    version_number_->Draw(surface);
}

void orvaneLauncherDlg::OnSkinLoaded() {
  DeleteVersionImages();
  SkinLoader* skin_category = category();
  IniStringContainer* skin = ini();
  if (skin_category == nullptr || skin == nullptr)
    return;
  SetCatalogueCheckPeriod(skin->GetInt(L"UPDATE_TIMER", L"time", 0));
  version_image_ = LoadSkinImage(skin_category, L"version_image");
  version_number_ = LoadSkinNumber(skin_category);
  if (version_number_ != nullptr)
    version_number_->SetText(Launcher().LauncherFileVersion.GetString());
  RemoveFontManager(skin_name().GetString());
  LoadSkinFonts(skin_name().GetString(), skin);
  SkinLoader* etc = FindSkinCategory(L"etc");
  if (etc == nullptr)
    return;
  IniStringContainer* etc_ini = LoadControlSkinIni(etc, L"etc");
  RemoveFontManager(L"etc");
  if (etc_ini != nullptr)
    LoadSkinFonts(L"etc", etc_ini);
  delete etc_ini;
}

void orvaneLauncherDlg::ToggleSkinFix() {
  Setting* setting = Setting::GetInstance();
  if (setting == nullptr)
    return;
  if (fix_skin_check_.check()) {
    fix_skin_check_.SetCheck(0);
    setting->FixSkin = 0;
    return;
  }
  fix_skin_check_.SetCheck(1);
  setting->FixSkin = 1;
  lstrcpynW(setting->FixedSkinID, GetCurrentSkin(), 256);
}

int32_t orvaneLauncherDlg::OnNotify(int32_t code, intptr_t p1, intptr_t /*p2*/) {
  if (code == NOTIFY_SKIN_CHANGED) {
    SkinLoader* skin_category = category();
    if (skin_category == nullptr || skin_category->skin_change() != 0)
      LoadSkin();
    return 1;
  }
  if (code != NOTIFY_CLICKED)
    return 0;
  switch (p1) {
    case kSupportButtonId:
    case kHomeButtonId: {
      ITopMenuInfo* entry = FindTopMenuInfo(p1 == kSupportButtonId ? L"Support" : L"Home");
      if (entry != nullptr)
        OpenLauncherUrl(entry->GetUrl());
      return 1;
    }
    case kSettingButtonId:
      ShowSettingsDialog();
      return 1;
    case kMinimizeButtonId:
      PostSysCommand(SC_MINIMIZE);
      return 1;
    case kCloseButtonId:
      if (HWND window = GetHwnd())
        SendMessageW(window, WM_CLOSE, 0, 0);
      return 1;
    case kFixSkinCheckId:
    case kFixSkinButtonId:
      ToggleSkinFix();
      return 1;
    default:
      return 0;
  }
}

void orvaneLauncherDlg::OnClose() {
  Setting* setting = Setting::GetInstance();
  if (setting != nullptr && setting->Minimize && !IsStartGameMode())
    PostSysCommand(SC_MINIMIZE);
  else
    OnOK();
}

void orvaneLauncherDlg::OnTrayNotify(WPARAM /*wparam*/, LPARAM lparam) {
  if (lparam == WM_LBUTTONDBLCLK) {
    if (minimized())
      PostSysCommand(SC_RESTORE);
    else if (HWND window = GetHwnd())
      SetForegroundWindow(window);
  } else if (lparam == WM_RBUTTONUP) {
    POINT cursor = {};
    GetCursorPos(&cursor);
    ShowTrayMenu(cursor.x, cursor.y);
  }
}

void orvaneLauncherDlg::OnCopyData(COPYDATASTRUCT* data) {
  if (data == nullptr || data->dwData != kHandOverData || !ReceiveHandOver(data))
    return;
  ApplyStartGame();
  PostSysCommand(SC_RESTORE);
  if (HWND window = GetHwnd())
    SetForegroundWindow(window);
  if (LauncherVersionDiffers(LauncherInfoPath())) {
    Launcher().SelfUpdatePending = 1;
    OnOK();
  }
}

void orvaneLauncherDlg::OnMinimize() {
  if (Menu* tray = tray_menu())
    tray->SetItemState(kTrayRestore, 0);
  launcher_window_.ShowBanner(0);
}

void orvaneLauncherDlg::OnRestore() {
  if (Menu* tray = tray_menu())
    tray->SetItemState(kTrayRestore, MFS_DISABLED | MFS_GRAYED);
  launcher_window_.ShowBanner(1);
}

int32_t orvaneLauncherDlg::OnCommand(int32_t id, WPARAM /*wparam*/, LPARAM /*lparam*/) {
  switch (id) {
    case kTraySetting:
      ShowSettingsDialog();
      return 1;
    case kTrayRestore:
      PostSysCommand(SC_RESTORE);
      return 1;
    case kTrayExit:
      OnOK();
      return 1;
    case kShowHeldBackMessagesCommand:
      ShowHeldBackMessages();
      return 1;
    default:
      return 0;
  }
}
