// SettingDlg: the modal skinned settings dialog with three tabs (general, update, game list). It edits a
// private clone of the Setting singleton; RunSettingsDialog applies an accepted, changed clone to the
// singleton. The dialog itself never touches the singleton.
//
// Skin: category "etc", skin "setting_dlg" (RunSettingsDialog sets them): the BACK section of SkinnedDialog.h,
// one skin file per child (named as the child, below), and
//   [SETTING]            image_count, text_count, ctrl_count (0 each; counts below 1 give no items, counts
//                        above kMaxItems are cut to it)
//   [SETTING_IMAGE_<i>]  tab_id, x, y, image_id (an animated skin image, NImage.h) or image (an image file)
//   [SETTING_TEXT_<i>]   tab_id, group, and the text-box keys of NTextBox.h
//   [SETTING_CTRL_<i>]   tab_id, ctrl_id (a child name 10007..10023 below; any other name controls nothing),
//                        group
// for i = 0 .. count - 1. Images and texts show on their tab only; a control is shown only while its tab is
// current. An item whose image or font is missing is left out.
//
// Enable groups (bit mask of a text or control item): bit 0 is enabled only while the automatic update
// mode (2) is selected; on the Windows 9x family every item with bit 0 or bit 1 set is disabled.
//
// Children (id, skin name), created in this order:
//   10001 setting_close_btn, 10002 setting_ok_btn, 10003 setting_cancel_btn (SkinnedButton), 10004
//   setting_general_tab, 10005 setting_update_tab, 10006 setting_gamelist_tab (SkinnedTab), 10007
//   close_launcher_chk, 10008 minimize_launcher_chk, 10009 delete_install_file_chk (SkinnedCheckButton), 10010
//   download_path_edit (SkinnedEdit, ES_AUTOHSCROLL), 10011 change_download_path_btn, 10012 auto_update_rad,
//   10013 manual_update_rad, 10014 auto_update_off_rad (SkinnedCheckButton), 10015 idle_time_edit, 10016
//   cpu_usage_edit, 10017 network_usage_edit (SkinnedEdit, ES_NUMBER), 10018 shutdown_chk, 10019 game_list
//   (GameOrderList), 10020 game_list_top_btn, 10021 game_list_bottom_btn, 10022 game_list_up_btn, 10023
//   game_list_down_btn (SkinnedButton).
//
// OK validates and stores into the clone: the download path (made absolute and created; one that does not
// fit the 247-character field or cannot be created keeps the dialog open on the general tab with the
// message "cannot_create_install_file_directory" or "invalid_install_file_directory", the clone's path
// unchanged), the three numbers (held to their ranges, the edit rewritten when corrected) and the game order
// (1..n in row order).
//
// Life: on the stack for one modal run. Thread: user-interface thread only.
#pragma once

#include <windows.h>

#include <cstdint>
#include <memory>
#include <vector>

#include "app/windows/GameOrderList.h"
#include "ui/base/String.h"
#include "ui/skinned/SkinnedButton.h"
#include "ui/skinned/SkinnedCheckButton.h"
#include "ui/skinned/SkinnedDialog.h"
#include "ui/skinned/SkinnedEdit.h"
#include "ui/skinned/SkinnedTab.h"

class NImage;
class NTextBox;
class Setting;

struct SettingImageItem {
  String tab_id;
  std::unique_ptr<NImage> image;
};
struct SettingTextItem {
  String tab_id;
  int32_t group = 0;
  std::unique_ptr<NTextBox> text;
};
struct SettingCtrlItem {
  String tab_id;
  int32_t group = 0;
  int32_t control_id = 0;
};

// The control id of a child name that "SETTING_CTRL_<i>" may use (10007..10023, exact compare); 0 otherwise.
int32_t SettingControlIdFor(const wchar_t* name);
// The value an OK stores for a number edit's text: the lower bound for an empty text, else the value of the
// leading decimal digits (0 without any; too many digits saturate) held to [minimum, maximum]. `rewrite` is
// set when the edit's text must be rewritten (empty or out of range).
int32_t SettingNumberFromText(const wchar_t* text, int32_t minimum, int32_t maximum, bool* rewrite);

// Whether an item of enable `group` is enabled in update `mode`: 1 enabled, 0 disabled, -1 left as it is.
int32_t SettingGroupState(int32_t group, int32_t mode, bool windows9x);

class SettingDlg : public SkinnedDialog {
 public:
  enum ControlId : int32_t {
    kCloseButton = 10001,
    kOkButton,
    kCancelButton,
    kGeneralTab,
    kUpdateTab,
    kGameListTab,
    kCloseLauncherCheck,
    kMinimizeCheck,
    kDeleteInstallFileCheck,
    kDownloadPathEdit,
    kChangeDownloadPathButton,
    kAutoUpdateRadio,
    kManualUpdateRadio,
    kUpdateOffRadio,
    kIdleTimeEdit,
    kCpuUsageEdit,
    kNetworkUsageEdit,
    kShutdownCheck,
    kGameList,
    kGameListTopButton,
    kGameListBottomButton,
    kGameListUpButton,
    kGameListDownButton
  };
  static const int32_t kMaxItems = 256;

  SettingDlg();
  ~SettingDlg() override;

  int32_t OnCreate() override;
  void OnUpdate() override;
  void OnPaint(HDC dc, Dib* surface) override;
  int32_t OnNotify(int32_t code, intptr_t p1, intptr_t p2) override;
  void OnOK() override;
  void OnSkinLoaded() override;
  void DispatchMouseWheel(int32_t x, int32_t y, int32_t notches) override;

  // Makes `tab` (a tab's skin name) current and shows the controls of that tab only; the current tab again
  // does nothing.
  void SelectTab(const wchar_t* tab);
  // Sets the clone's Update and the radios to `mode` (2 becomes 1 on the Windows 9x family) and enables the
  // groups for it.
  void SelectUpdateMode(int32_t mode);
  // Opens the folder browser at the download path; a chosen folder goes into the edit.
  void BrowseForFolder();

  Setting* clone() const { return clone_.get(); }
  const String& current_tab() const { return current_tab_; }
  // The child with control id `id` (10001..10023), or null.
  NWnd* Child(int32_t id);
  GameOrderList& game_list() { return game_list_; }
  SkinnedEdit& edit(int32_t id);
  SkinnedCheckButton& check(int32_t id);
  SkinnedTab& tab(int32_t id);
  const std::vector<std::unique_ptr<SettingTextItem>>& text_items() const { return texts_; }
  const std::vector<std::unique_ptr<SettingImageItem>>& image_items() const { return images_; }
  const std::vector<std::unique_ptr<SettingCtrlItem>>& control_items() const { return controls_; }
  // The enabled state the texts were last rendered with, by text item.
  const std::vector<int32_t>& text_enabled() const { return text_enabled_; }

 private:
  int32_t CreateChildren();
  void LoadFromClone();
  void FillGameList();
  // Shows the controls of the current tab and hides those of the others.
  void ShowTabControls();
  void ApplyGroups(int32_t mode);
  void SelectTabButton(int32_t id);
  bool StorePath();
  void StoreNumbers();
  void StoreGameOrder();
  void ReadImages();
  void ReadTexts();
  void ReadControls();
  bool IsWindows9x() const;

  std::unique_ptr<Setting> clone_;
  SkinnedButton close_button_, ok_button_, cancel_button_;
  SkinnedTab general_tab_, update_tab_, game_list_tab_;
  SkinnedCheckButton close_launcher_check_, minimize_check_, delete_install_file_check_;
  SkinnedEdit download_path_edit_;
  SkinnedButton change_download_path_button_;
  SkinnedCheckButton auto_update_radio_, manual_update_radio_, update_off_radio_;
  SkinnedEdit idle_time_edit_, cpu_usage_edit_, network_usage_edit_;
  SkinnedCheckButton shutdown_check_;
  GameOrderList game_list_;
  SkinnedButton game_list_top_button_, game_list_bottom_button_, game_list_up_button_, game_list_down_button_;
  std::vector<std::unique_ptr<SettingImageItem>> images_;
  std::vector<std::unique_ptr<SettingTextItem>> texts_;
  std::vector<std::unique_ptr<SettingCtrlItem>> controls_;
  std::vector<int32_t> text_enabled_;
  String current_tab_;
};

// Shows a message of the settings dialog (OK and the folder browser) over `owner`, the settings dialog's
// window. By default the modal message dialog, owned by that window: the settings dialog takes no input
// (a second OK, a second message) until the message is answered.
using SettingMessagePresenter = void (*)(HWND owner, const wchar_t* text);
// Null restores the default. Tests record the messages instead.
void SetSettingMessagePresenter(SettingMessagePresenter presenter);

// Called after an accepted change was copied into the live settings (the game list reorders itself there).
using SettingsAcceptedHook = void (*)();
void SetSettingsAcceptedHook(SettingsAcceptedHook hook);

// Runs the settings dialog modally (category "etc", skin "setting_dlg") under the modal guard, which it takes
// and releases itself. `owner` is the caller's dialog; the settings dialog is a window of its own, made
// without a parent as every skinned dialog is. Result: 1 when the dialog ended with OK and its changed values
// were copied into the live settings (then the accepted hook has run); 0 when the guard refused, the dialog
// was cancelled or nothing changed; -1 when the dialog could not be made (a skin file is missing).
int RunSettingsDialog(NDialog* owner);
