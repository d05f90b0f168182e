// orvaneLauncherDlg: the launcher's top-level window, a skinned modal dialog (category and skin "base") run for
// the whole session. It owns the title-bar buttons, the skin-fix box and button, the tray icon and its menu,
// the version number painted on its surface, and the launcher window that fills its body; its frame hook runs
// the periodic tick. It receives a second launcher's hand-over.
//
// Skin ("base.ini" of category "base"): BACK and FONT (SkinnedDialog, NFontManager), [UPDATE_TIMER] time (the
// catalogue check period, ms), [TRAY_MENU_SETTING], [TRAY_MENU_RESTORE], [TRAY_MENU_EXIT] text (the tray
// menu; a missing text fails the creation), "version_image.ini" and "version_number.ini" of the category.
//
// Closing: with the Minimize setting and no start game, the close button and WM_CLOSE minimise to the tray;
// otherwise the dialog ends through OK. Tray item 20 (restore) is enabled only while minimised.
//
// Thread: user-interface thread only.
#pragma once

#include <windows.h>

#include <cstdint>
#include <string>

#include "app/windows/UpdaterLauncherWnd.h"
#include "ui/skinned/SkinnedButton.h"
#include "ui/skinned/SkinnedCheckButton.h"
#include "ui/skinned/SkinnedDialog.h"

class NImage;
class NNumber;

class orvaneLauncherDlg : public SkinnedDialog {
 public:
  enum ChildId : int32_t {
    kLauncherWindowId = 11,
    kSupportButtonId = 12,
    kHomeButtonId = 13,
    kSettingButtonId = 14,
    kMinimizeButtonId = 15,
    kCloseButtonId = 16,
    kFixSkinCheckId = 17,
    kFixSkinButtonId = 18,
  };
  enum TrayCommand : int32_t { kTraySetting = 19, kTrayRestore = 20, kTrayExit = 21 };
  // Posted by the periodic tick: the games' held-back messages, shown outside the frame's update pass.
  static const int32_t kShowHeldBackMessagesCommand = 0x7F01;
  static const ULONG_PTR kHandOverData = 0x03080680;

  orvaneLauncherDlg();
  ~orvaneLauncherDlg() override;

  int32_t OnCreate() override;
  void OnDestroy() override;
  void OnUpdate() override;
  void OnPaint(HDC dc, Dib* surface) override;
  int32_t OnNotify(int32_t code, intptr_t p1, intptr_t p2) override;
  void OnClose() override;
  void OnTrayNotify(WPARAM wparam, LPARAM lparam) override;
  void OnCopyData(COPYDATASTRUCT* data) override;
  void OnMinimize() override;
  void OnRestore() override;
  int32_t OnCommand(int32_t id, WPARAM wparam, LPARAM lparam) override;
  void OnSkinLoaded() override;

  SkinnedCheckButton& fix_skin_check() { return fix_skin_check_; }
  UpdaterLauncherWnd& launcher_window() { return launcher_window_; }
  NNumber* version_number() const { return version_number_; }

 private:
  int32_t CreateChildren();
  int32_t SetUpTray();
  void ToggleSkinFix();
  void DeleteVersionImages();
  void PostSysCommand(WPARAM command);

  SkinnedButton support_button_;
  SkinnedButton home_button_;
  SkinnedButton setting_button_;
  SkinnedButton minimize_button_;
  SkinnedButton close_button_;
  SkinnedCheckButton fix_skin_check_;
  SkinnedButton fix_skin_button_;
  NImage* version_image_ = nullptr;
  NNumber* version_number_ = nullptr;
  UpdaterLauncherWnd launcher_window_;
};

// Applies the hand-over values to the user interface: the start game's skin (unless the skin is fixed), the
// notices, the keyword hint, the user nick and the selected game.
void ApplyStartGame();
// Runs the settings dialog modally under the modal guard and takes over an accepted, changed copy.
void ShowSettingsDialog();
// Shows the shared tool-tip for `owner_key` over `area` (screen coordinates).
void ShowToolTip(const RECT* area, uint32_t owner_key, const wchar_t* text);
// Opens a search in the browser: a keyword picked from the list (`from_list` 1, matched by its displayed text)
// or typed text.
void OpenSearch(const wchar_t* text, int32_t from_list);
// The search address: `base` followed by `value`, which is percent-encoded as UTF-8 unless `encoded`.
std::wstring SearchUrl(const wchar_t* base, const wchar_t* value, bool encoded);

// The settings dialog as the main dialog runs it (RunSettingsDialog of app/windows/SettingDlg.h, which takes
// the modal guard itself): 1 when an accepted change was copied into the live settings. Tests replace it; null
// restores the real dialog.
typedef int (*SettingsDialogRunner)(class NDialog* owner);
void SetSettingsDialogRunner(SettingsDialogRunner runner);
// Where OpenSearch and the support and home buttons send their URLs; null is the real browser.
void SetLauncherUrlShell(class UrlShell* shell);
void OpenLauncherUrl(const wchar_t* url);
// The question presenter of the game actions: the skinned message dialog under the modal guard; 0 when another
// guarded dialog is open.
int AskLauncherQuestion(const wchar_t* text);
// Installs the launcher's message and question presenters for the game records, and puts a web page's
// message box under the modal guard.
void InstallLauncherPresenters();
