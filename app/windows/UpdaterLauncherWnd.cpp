#include "app/windows/UpdaterLauncherWnd.h"

#include <cwchar>
#include <memory>

#include "app/gamelist/GameListServices.h"
#include "app/games/CatalogueInfos.h"
#include "app/games/GameCatalogue.h"
#include "app/games/IGameInfo.h"
#include "app/session/HandOver.h"
#include "app/session/SessionValues.h"
#include "app/settings/Setting.h"
#include "app/texts/MessageFormat.h"
#include "app/texts/MessageTexts.h"
#include "app/windows/LauncherFileText.h"
#include "ui/base/IniStringContainer.h"
#include "ui/browser/OpenUrl.h"
#include "ui/gfx/Dib.h"
#include "ui/skin/NFontManager.h"
#include "ui/skin/NImage.h"
#include "ui/skin/NTextBox.h"
#include "ui/skin/SkinLoader.h"
#include "ui/view/NotifyCodes.h"

namespace {

const wchar_t* const kTextSections[] = {L"USER_NICK_TEXT",     L"GAME_TITLE_TEXT",    L"FILE_TEXT",
                                        L"CURR_FILE_TEXT",     L"FILE_PATCHING_TEXT", L"FILE_PROGRESS_TEXT",
                                        L"TOTAL_PROGRESS_TEXT"};
const wchar_t* const kViewSkins[3] = {L"postpage1_browser", L"postpage2_browser", L"AD_browser"};
const wchar_t* const kActionSkins[7] = {L"install_btn",     L"stop_install_btn", L"update_btn",
                                        L"stop_update_btn", L"run_btn",          L"filecheck_btn",
                                        L"patch_info_btn"};
const int32_t kFirstActionId = 110;

template <typename Child>
int32_t CreateChild(Child& child, const wchar_t* category, const wchar_t* skin, int32_t id, NWnd* parent) {
  child.SetSkin(category, skin);
  return child.Create(0, 0, 1, 1, id, parent);
}

const wchar_t* OrEmpty(const wchar_t* text) {
  return text != nullptr ? text : L"";
}

}  // namespace

UpdaterLauncherWnd::~UpdaterLauncherWnd() {
  Destroy();
  ReleaseSkinTexts();
}

const wchar_t* UpdaterLauncherWnd::GetActionTooltipKey(int32_t id) {
  static const wchar_t* const kKeys[6] = {L"tooltip_install", L"tooltip_stop_install",
                                          L"tooltip_update",  L"tooltip_stop_update",
                                          L"tooltip_run",     L"tooltip_filecheck"};
  return id >= kFirstActionId && id < kFirstActionId + 6 ? kKeys[id - kFirstActionId] : nullptr;
}

int32_t UpdaterLauncherWnd::OnCreate() {
  if (!SkinnedChildWnd::OnCreate())
    return 0;
  Setting::GetInstance();
  if (!CreateChildren())
    return 0;
  SetGameActionView(this);
  ApplyLauncherStartGame();
  return 1;
}

int32_t UpdaterLauncherWnd::CreateChildren() {
  const wchar_t* category = category_id().GetString();
  // The ticker, the search box and three buttons may fail: they are then simply absent.
  if (CreateChild(notice_, category, L"notice_text", 101, this))
    notice_.Show(1, 0);
  // An edit is made with its window style (the plain Create makes none).
  search_.SetSkin(category, L"search_edit");
  if (search_.Create(0, 0, 1, 1, 102, this, WS_TABSTOP | ES_AUTOHSCROLL))
    search_.Show(1, 0);
  SkinnedButton* buttons[3] = {&search_button_, &home_button_, &flash_game_button_};
  const wchar_t* button_skins[3] = {L"search_btn", L"home_btn", L"flashgame_btn"};
  for (int i = 0; i < 3; ++i) {
    if (CreateChild(*buttons[i], category, button_skins[i], 103 + i, this))
      buttons[i]->Show(1, 0);
  }
  GameListPanel = &game_list_;
  if (!CreateChild(game_list_, category, L"list", GameList::kChildId, this))
    return 0;
  game_list_.Show(1, 0);
  CreateWebViews();
  return CreateActionChildren();
}

int32_t UpdaterLauncherWnd::CreateWebViews() {
  Setting* setting = Setting::GetInstance();
  int32_t disabled = setting != nullptr ? setting->DisableWebBrowser : 0;
  for (int32_t i = 0; i < 3; ++i) {
    if ((disabled & (1 << i)) != 0)
      continue;
    if (CreateChild(views_[i], category_id().GetString(), kViewSkins[i], 107 + i, this))
      views_[i].Show(1, 0);
  }
  return 1;
}

int32_t UpdaterLauncherWnd::CreateActionChildren() {
  for (int32_t i = 0; i < 7; ++i) {
    if (!CreateChild(action_buttons_[i], category_id().GetString(), kActionSkins[i], kFirstActionId + i,
                     this))
      return 0;
  }
  action_button(kPatchInfoButtonId).Show(1, 0);
  if (!CreateChild(file_progress_, category_id().GetString(), L"file_progress", 117, this) ||
      !CreateChild(total_progress_, category_id().GetString(), L"total_progress", 118, this))
    return 0;
  file_progress_.Show(1, 0);
  total_progress_.Show(1, 0);
  return 1;
}

void UpdaterLauncherWnd::OnDestroy() {
  if (GetGameActionView() == this)
    SetGameActionView(nullptr);
  if (GameListPanel == &game_list_)
    GameListPanel = nullptr;
  SkinnedChildWnd::OnDestroy();
  ReleaseSkinTexts();
}

void UpdaterLauncherWnd::ReleaseSkinTexts() {
  for (NTextBox*& box : text_boxes_) {
    delete box;
    box = nullptr;
  }
  delete notice_image_;
  notice_image_ = nullptr;
}

void UpdaterLauncherWnd::OnSkinLoaded() {
  ReleaseSkinTexts();
  if (category() == nullptr || ini() == nullptr)
    return;
  int32_t wait = ini()->GetInt(L"BUTTON_WAIT", L"time", 0);
  button_wait_time_ = wait > 0 ? static_cast<uint32_t>(wait) : 0;
  const wchar_t* font_set = category_id().GetString();
  RemoveFontManager(font_set);
  LoadSkinFonts(font_set, ini());
  text_boxes_[kUserNick] = LoadSkinTextBox(ini(), kTextSections[kUserNick], font_set);
  if (text_boxes_[kUserNick] != nullptr) {
    user_nick_format_.Assign(text_boxes_[kUserNick]->text().GetString());
    const HandOverValues& handed = GetHandOverValues();
    SetUserNick(handed.prepared && handed.UserNick[0] != L'\0' ? handed.UserNick : nullptr);
  }
  LoadNoticeImage();
  for (int32_t i = kGameTitle; i < kTextCount; ++i) {
    text_boxes_[i] = LoadSkinTextBox(ini(), kTextSections[i], font_set);
    if (text_boxes_[i] != nullptr)
      text_boxes_[i]->literal = i == kCurrentFile ? 0 : 1;
  }
  PlaceFileTexts();
  // The new boxes show what the old ones did: the current game's title (none at home) and file.
  IGameInfo* game = FindGameInfo(current_game_id_.GetString());
  SetBoxText(text_boxes_[kGameTitle], game != nullptr ? game->GetTitle() : L"", 0);
  if (game != nullptr)
    PlacePatchInfoButton();
  std::wstring file = shown_file_text_.GetString();
  ShowFileText(file);
}

void UpdaterLauncherWnd::LoadNoticeImage() {
  const wchar_t kSection[] = L"NOTICE_IMAGE";
  if (const wchar_t* id = ini()->GetString(kSection, L"image_id", nullptr))
    notice_image_ = LoadSkinImage(category(), id);
  else if (const wchar_t* file = ini()->GetString(kSection, L"image", nullptr))
    notice_image_ = LoadSkinImageFile(category(), file);
  if (notice_image_ != nullptr)
    notice_image_->set_position(ini()->GetInt(kSection, L"x", 0), ini()->GetInt(kSection, L"y", 0));
}

void UpdaterLauncherWnd::PlaceFileTexts() {
  NTextBox* label = text_boxes_[kFileLabel];
  NTextBox* file = text_boxes_[kCurrentFile];
  NTextBox* patching = text_boxes_[kPatching];
  if (label == nullptr || file == nullptr || patching == nullptr)
    return;
  int32_t width = 0, height = 0;
  label->GetSize(&width, &height);
  for (NTextBox* box : {file, patching}) {
    box->x = box->x + label->x + width;
    box->y = box->y + label->y;
    box->align = 1;
  }
  patching_format_.Assign(patching->text().GetString());
}

void UpdaterLauncherWnd::SetBoxText(NTextBox* box, const wchar_t* text, int32_t escape) {
  if (box == nullptr)
    return;
  box->text().Assign(OrEmpty(text));
  box->literal = escape ? 0 : 1;
  box->Render(1);
}

void UpdaterLauncherWnd::SetUserNick(const wchar_t* nick) {
  // The skin's text is data: its "%s" is replaced as text, never used as a printf format.
  std::wstring text = FormatMessageText(user_nick_format_.GetString(), nick);
  SetBoxText(text_boxes_[kUserNick], text.c_str(), 0);
}

void UpdaterLauncherWnd::SetSearchHint(const wchar_t* hint) {
  if (!search_.created() || hint == nullptr)
    return;
  if (std::wcscmp(hint, search_.hint_text().GetString()) != 0)
    search_.SetHintText(hint);
}

void UpdaterLauncherWnd::OnPaint(HDC dc, Dib* surface) {
  SkinnedChildWnd::OnPaint(dc, surface);
  if (surface == nullptr)
    return;
  const HandOverValues& handed = GetHandOverValues();
  NTextBox* nick = text_boxes_[kUserNick];
  if (nick != nullptr && handed.prepared && handed.UserNick[0] != L'\0' && nick->text().GetLength() > 0 &&
      GetSessionValues().SessKey[0] != L'\0')
    nick->Draw(surface);
  if (notice_image_ != nullptr)
    notice_image_->Draw(surface, 1);
  for (int32_t i : {kGameTitle, kFileLabel}) {
    if (text_boxes_[i] != nullptr)
      text_boxes_[i]->Draw(surface);
  }
  NTextBox* file_line = nullptr;
  if (file_text_mode_ == kShowFile || file_text_mode_ == kShowFileUpdating)
    file_line = text_boxes_[kCurrentFile];
  else if (file_text_mode_ == kShowPatching)
    file_line = text_boxes_[kPatching];
  if (file_line != nullptr)
    file_line->Draw(surface);
  for (int32_t i : {kFileProgress, kTotalProgress}) {
    if (text_boxes_[i] != nullptr)
      text_boxes_[i]->Draw(surface);
  }
}
