// UpdaterLauncherWnd: the launcher window, the large child window (id 11, skin "body" of category "body")
// that fills the main dialog's body and shows the portal's games: the notice ticker, the search box, the
// home and flash-game buttons, the game list panel, two post-page views and the banner view, the seven game
// action buttons, two progress bars and the skin-drawn texts (user nick, notice image, game title, current
// file, progress labels).
//
// It keeps one current game (empty: the home page) and shows its pages, title, buttons and progress. Without
// one, the title and the seven action buttons ("patch_info_btn" too) are hidden until a game is shown again,
// whose action buttons then follow its state. Clicks become game actions (GameActions.h); the periodic tick
// and the state mirror push progress and button states in through the operations below. It is the game
// actions' view (GameActionView), installed while it exists.
//
// Children, in creation order (skin name, id): "notice_text" 101, "search_edit" 102, "search_btn" 103,
// "home_btn" 104, "flashgame_btn" 105 (each may fail and is then absent), "list" 106 (required),
// "postpage1_browser" 107, "postpage2_browser" 108, "AD_browser" 109 (each unless the settings'
// DisableWebBrowser bit 0, 1, 2 is set; may fail), "install_btn" 110, "stop_install_btn" 111, "update_btn" 112,
// "stop_update_btn" 113, "run_btn" 114, "filecheck_btn" 115, "patch_info_btn" 116, "file_progress" 117,
// "total_progress" 118 (required).
//
// Skin (its own ini): BACK; BUTTON_WAIT time (ms, default 0); the font set (FONT sections) named after its
// category id; text boxes USER_NICK_TEXT (its text a format with one "%s" for the nick), GAME_TITLE_TEXT,
// FILE_TEXT, CURR_FILE_TEXT, FILE_PATCHING_TEXT (a format with one "%s" for the file), FILE_PROGRESS_TEXT,
// TOTAL_PROGRESS_TEXT; NOTICE_IMAGE (x, y, image_id or image). Skin texts are data: "%s" is replaced as text.
//
// Thread: user-interface thread only.
#pragma once

#include <cstdint>
#include <string>

#include "app/gamelist/GameList.h"
#include "app/games/GameActions.h"
#include "app/windows/orvaneHtmlCtrl.h"
#include "ui/base/String.h"
#include "ui/skinned/NoticeWnd.h"
#include "ui/skinned/SearchEdit.h"
#include "ui/skinned/SkinnedButton.h"
#include "ui/skinned/SkinnedProgressCtrl.h"
#include "ui/skinned/SkinnedWnd.h"

class NImage;
class NTextBox;

class UpdaterLauncherWnd : public SkinnedChildWnd, public GameActionView {
 public:
  static const int32_t kChildId = 11;
  static const int32_t kPatchInfoButtonId = 116;
  enum ViewIndex : int32_t { kPostPage1 = 0, kPostPage2 = 1, kBanner = 2 };
  // What the file text line shows.
  enum FileTextMode : int32_t { kShowFile = 0, kShowFileUpdating = 1, kShowPatching = 2, kShowNone = 3 };

  UpdaterLauncherWnd() = default;
  ~UpdaterLauncherWnd() override;

  // Shows the game `id` (null or unknown: the home page); `force` re-shows an already current game.
  void SelectGame(const wchar_t* id, int32_t force);
  // Re-reads the game `id` when it is the current one.
  void RefreshGame(const wchar_t* id);
  // The action button `button` gets `flags` (ButtonFlags: bit 1 enable, bit 0 show) when `id` is the current
  // game.
  void SetActionButton(const wchar_t* id, ActionButton button, int32_t flags);
  // Refreshes the progress bars and file texts of the current game.
  void UpdateProgress();
  // 1 while the dialog is shown, 0 while minimised or destroyed: the banner page's "Show" or "Hidden".
  void ShowBanner(int32_t show);
  void SetUserNick(const wchar_t* nick);
  void SetSearchHint(const wchar_t* hint);
  void ShowHomePage();
  // Deletes the skin's text boxes and the notice image.
  void ReleaseSkinTexts();

  // NWnd and SkinnedCtrl.
  int32_t OnCreate() override;
  void OnDestroy() override;
  void OnPaint(HDC dc, Dib* surface) override;
  int32_t OnNotify(int32_t code, intptr_t p1, intptr_t p2) override;
  void OnSkinLoaded() override;

  // GameActionView.
  const wchar_t* SelectedGameId() override { return current_game_id_.GetString(); }
  void SetActionButton(ActionButton button, int32_t flags) override;
  void SetFileCheckButton(int32_t flags) override;
  void SelectGame(const wchar_t* game_id) override;
  void DeselectGame() override;
  void SetGlobalButtons(int32_t update_all, int32_t stop_all) override;
  uint32_t ButtonWaitTime() override;

  GameList& game_list() { return game_list_; }
  NoticeWnd& notice() { return notice_; }
  SearchEdit& search_box() { return search_; }
  SkinnedButton& action_button(int32_t id) { return action_buttons_[id - 110]; }
  SkinnedProgressCtrl& file_progress() { return file_progress_; }
  SkinnedProgressCtrl& total_progress() { return total_progress_; }
  orvaneHtmlCtrl& view(int32_t index) { return views_[index]; }
  // The URL each view was last asked to load ("" when never), whether or not it exists.
  const std::wstring& asked_url(int32_t index) const { return asked_urls_[index]; }
  int32_t banner_shown() const { return banner_shown_; }
  int32_t file_text_mode() const { return file_text_mode_; }
  const String& shown_file_text() const { return shown_file_text_; }
  NTextBox* text_box(int32_t index) const { return text_boxes_[index]; }
  NImage* notice_image() const { return notice_image_; }

  // The tool-tip key of an action button id; null for any other id.
  static const wchar_t* GetActionTooltipKey(int32_t id);

 private:
  enum TextIndex : int32_t {
    kUserNick = 0,
    kGameTitle,
    kFileLabel,
    kCurrentFile,
    kPatching,
    kFileProgress,
    kTotalProgress,
    kTextCount
  };
  int32_t CreateChildren();
  int32_t CreateWebViews();
  int32_t CreateActionChildren();
  void LoadNoticeImage();
  void PlaceFileTexts();
  void SetBoxText(NTextBox* box, const wchar_t* text, int32_t escape);
  void NavigateView(int32_t index, const wchar_t* url);
  bool ViewExists(int32_t index) { return views_[index].created() != 0; }
  void PlacePatchInfoButton();
  // No current game: no title, no action or patch-info button.
  void HideGameControls();
  void ResetProgress();
  void ShowFileText(const std::wstring& text);
  void Search();
  int32_t OnClicked(int32_t id);

  NTextBox* text_boxes_[kTextCount] = {};
  String user_nick_format_;
  NImage* notice_image_ = nullptr;
  int32_t banner_shown_ = 1;
  // 1 while the home page is shown by SelectGame without a game: asking the views again for the pages they are
  // loading would hand those pages to the system browser.
  int32_t home_shown_ = 0;
  NoticeWnd notice_;
  SearchEdit search_;
  SkinnedButton search_button_;
  SkinnedButton home_button_;
  SkinnedButton flash_game_button_;
  GameList game_list_;
  orvaneHtmlCtrl views_[3];
  SkinnedButton action_buttons_[7];
  SkinnedProgressCtrl file_progress_;
  SkinnedProgressCtrl total_progress_;
  String current_game_id_;
  String patching_format_;
  String shown_file_text_;
  int64_t last_total_bytes_ = 0;
  int64_t last_done_bytes_ = 0;
  double last_overall_fraction_ = 0.0;
  int32_t file_text_mode_ = kShowFile;
  uint32_t button_wait_time_ = 0;
  std::wstring asked_urls_[3];
};
