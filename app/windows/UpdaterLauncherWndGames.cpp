// The launcher window's game operations: selecting a game, its pages, its progress and its buttons, and the
// clicks and tips of its children.
#include <cwchar>

#include "app/gamelist/GameListServices.h"
#include "app/games/CatalogueInfos.h"
#include "app/games/GameCatalogue.h"
#include "app/games/IGameInfo.h"
#include "app/session/SessionValues.h"
#include "app/texts/MessageFormat.h"
#include "app/texts/MessageTexts.h"
#include "app/windows/LauncherFileText.h"
#include "app/windows/UpdaterLauncherWnd.h"
#include "ui/browser/OpenUrl.h"
#include "ui/skin/NTextBox.h"
#include "ui/view/NotifyCodes.h"

namespace {

// Flags bit 1 enables, bit 0 shows.
void ApplyFlags(NWnd& node, int32_t flags) {
  if (!node.created())
    return;
  node.Enable((flags & 2) != 0 ? 1 : 0);
  node.Show((flags & 1) != 0 ? 1 : 0, 0);
}

}  // namespace

void UpdaterLauncherWnd::NavigateView(int32_t index, const wchar_t* url) {
  asked_urls_[index] = url != nullptr ? url : L"";
  if (ViewExists(index))
    views_[index].Navigate(url);
}

void UpdaterLauncherWnd::SelectGame(const wchar_t* id, int32_t force) {
  IGameInfo* game = FindGameInfo(id);
  if (game == nullptr) {
    // Going home also deselects the list's row, whose game action selects no game here a second time.
    if (!force && home_shown_)
      return;
    home_shown_ = 1;
    current_game_id_.Assign(L"");
    ResetProgress();
    HideGameControls();
    ShowHomePage();
    NavigateView(kBanner, GetSessionValues().BannerUrl);
    Invalidate();
    return;
  }
  if (!force && std::wcscmp(id, current_game_id_.GetString()) == 0)
    return;
  // Another game: nothing of the last one's progress may stay on screen.
  home_shown_ = 0;
  current_game_id_.Assign(id);
  ResetProgress();
  SetBoxText(text_boxes_[kGameTitle], game->GetTitle(), 0);
  PlacePatchInfoButton();
  // The game's own action buttons follow from its state (GameActions.h ApplyGameButtonStates).
  if (action_button(kPatchInfoButtonId).created())
    action_button(kPatchInfoButtonId).Show(1, 0);
  orvaneHtmlCtrl& first = views_[kPostPage1];
  if (ViewExists(kPostPage1) && first.extended()) {
    first.set_extended(0);
    const ViewGeometry& normal = first.normal_geometry();
    first.Move(normal.x, normal.y);
    first.Resize(normal.width, normal.height);
    if (ViewExists(kPostPage2))
      views_[kPostPage2].Show(1, 0);
  }
  NavigateView(kPostPage1, game->GetPostPage1Url());
  NavigateView(kPostPage2, game->GetPostPage2Url());
  NavigateView(kBanner, GetSessionValues().BannerUrl);
  UpdateProgress();
  Invalidate();
}

void UpdaterLauncherWnd::HideGameControls() {
  SetBoxText(text_boxes_[kGameTitle], L"", 0);
  for (SkinnedButton& button : action_buttons_) {
    if (button.created())
      button.Show(0, 0);
  }
}

void UpdaterLauncherWnd::PlacePatchInfoButton() {
  NTextBox* title = text_boxes_[kGameTitle];
  SkinnedButton& button = action_button(kPatchInfoButtonId);
  if (title == nullptr || !button.created())
    return;
  int32_t width = 0, height = 0;
  title->GetSize(&width, &height);
  POINT corner = TextBoxCorner(title->align, title->x, title->y, width, height);
  // Right of the drawn title, but never outside the window (a long title pushes it to the edge).
  int64_t x = static_cast<int64_t>(corner.x) + width;
  int64_t y = corner.y;
  int64_t max_x = static_cast<int64_t>(this->width()) - button.width();
  int64_t max_y = static_cast<int64_t>(this->height()) - button.height();
  x = x > max_x ? max_x : x;
  y = y > max_y ? max_y : y;
  button.Move(static_cast<int32_t>(x < 0 ? 0 : x), static_cast<int32_t>(y < 0 ? 0 : y));
}

void UpdaterLauncherWnd::ShowHomePage() {
  orvaneHtmlCtrl& first = views_[kPostPage1];
  if (ViewExists(kPostPage1) && !first.extended()) {
    first.set_extended(1);
    const ViewGeometry& extended = first.extended_geometry();
    first.Move(extended.x, extended.y);
    first.Resize(extended.width, extended.height);
  }
  if (ViewExists(kPostPage2))
    views_[kPostPage2].Show(0, 0);
  ITopMenuInfo* home = FindTopMenuInfo(L"PostOfHome");
  NavigateView(kPostPage1, home != nullptr ? home->GetUrl() : L"");
}

void UpdaterLauncherWnd::RefreshGame(const wchar_t* id) {
  if (id == nullptr || std::wcscmp(id, current_game_id_.GetString()) != 0)
    return;
  if (FindGameInfo(id) == nullptr) {
    current_game_id_.Assign(L"");
    HideGameControls();
  }
  UpdateProgress();
  Invalidate();
}

void UpdaterLauncherWnd::ResetProgress() {
  // -1 never equals a byte count or fraction, so the next update sets both bars again.
  last_total_bytes_ = last_done_bytes_ = -1;
  last_overall_fraction_ = -1.0;
  if (file_progress_.created())
    file_progress_.SetPos(0.0);
  if (total_progress_.created())
    total_progress_.SetPos(0.0);
  if (shown_file_text_.GetLength() > 0)
    ShowFileText(L"");
}

void UpdaterLauncherWnd::ShowFileText(const std::wstring& text) {
  shown_file_text_.Assign(text.c_str());
  SetBoxText(text_boxes_[kCurrentFile], text.c_str(), 1);
  if (text_boxes_[kPatching] != nullptr && patching_format_.GetLength() > 0) {
    std::wstring patching = FormatMessageText(patching_format_.GetString(), text.c_str());
    SetBoxText(text_boxes_[kPatching], patching.c_str(), 0);
  }
  Invalidate();
}

void UpdaterLauncherWnd::UpdateProgress() {
  IGameInfo* game = FindGameInfo(current_game_id_.GetString());
  if (game == nullptr) {
    ResetProgress();
    Invalidate();
    return;
  }
  GameProgress progress = {};
  game->GetProgress(&progress);
  int32_t state = game->GetState();
  std::wstring text;
  if (state == kGameLatest || state == kGameBlocked) {
    if (file_progress_.position() != 1.0)
      file_progress_.SetPos(1.0);
    if (total_progress_.position() != 1.0)
      total_progress_.SetPos(1.0);
    // The forced full bars are not progress values: the next real values must set the bars again.
    last_total_bytes_ = last_done_bytes_ = -1;
    last_overall_fraction_ = -1.0;
    file_text_mode_ = kShowNone;
  } else {
    text = ShownFileText(progress.current_file, game->GetGamePath());
    if (progress.applying)
      file_text_mode_ = kShowPatching;
    else
      file_text_mode_ =
          state == kGameInstallerDownloading || state == kGameUpdating ? kShowFileUpdating : kShowFile;
    if (progress.total_bytes != last_total_bytes_ || progress.done_bytes != last_done_bytes_) {
      last_total_bytes_ = progress.total_bytes;
      last_done_bytes_ = progress.done_bytes;
      file_progress_.SetPos(progress.total_bytes != 0 ? static_cast<double>(progress.done_bytes) /
                                                            static_cast<double>(progress.total_bytes)
                                                      : 0.0);
    }
    if (progress.overall_fraction != last_overall_fraction_) {
      last_overall_fraction_ = progress.overall_fraction;
      total_progress_.SetPos(progress.overall_fraction);
    }
  }
  if (text != shown_file_text_.GetString())
    ShowFileText(text);
}

void UpdaterLauncherWnd::SetActionButton(const wchar_t* id, ActionButton button, int32_t flags) {
  if (id == nullptr || button < kInstallButton || button > kRunButton ||
      std::wcscmp(id, current_game_id_.GetString()) != 0)
    return;
  ApplyFlags(action_buttons_[button - kInstallButton], flags);
}

void UpdaterLauncherWnd::SetActionButton(ActionButton button, int32_t flags) {
  SetActionButton(current_game_id_.GetString(), button, flags);
}

void UpdaterLauncherWnd::SetFileCheckButton(int32_t flags) {
  ApplyFlags(action_button(115), flags);
}

void UpdaterLauncherWnd::SelectGame(const wchar_t* game_id) {
  SelectGame(game_id, 0);
}

void UpdaterLauncherWnd::DeselectGame() {
  SelectGame(nullptr, 0);
  if (game_list_.created())
    game_list_.SelectButton(nullptr);
}

void UpdaterLauncherWnd::SetGlobalButtons(int32_t update_all, int32_t stop_all) {
  if (!game_list_.created())
    return;
  ApplyFlags(game_list_.header().update_all(), update_all);
  ApplyFlags(game_list_.header().stop_all(), stop_all);
}

uint32_t UpdaterLauncherWnd::ButtonWaitTime() {
  return button_wait_time_;
}

void UpdaterLauncherWnd::ShowBanner(int32_t show) {
  if (show == banner_shown_)
    return;
  banner_shown_ = show;
  if (ViewExists(kBanner))
    views_[kBanner].CallScript(show ? L"Show" : L"Hidden", nullptr);
}

void UpdaterLauncherWnd::Search() {
  if (!search_.created())
    return;
  const wchar_t* text = search_.GetText();
  if (text == nullptr)
    return;
  if (text[0] == L'\0')
    OpenLauncherSearch(search_.hint_text().GetString(), 1);
  else
    OpenLauncherSearch(text, search_.hint_shown());
}

int32_t UpdaterLauncherWnd::OnClicked(int32_t id) {
  const wchar_t* current = current_game_id_.GetString();
  switch (id) {
    case 102:
    case 103:
      Search();
      return 1;
    case 104:
      GoHome();
      return 1;
    case 105:
      if (ITopMenuInfo* flash = FindTopMenuInfo(L"FlashGame"))
        OpenUrlWithInternetExplorer(flash->GetUrl());
      return 1;
    case 110:
      InstallGame(current);
      return 1;
    case 111:
      CancelInstallGame(current);
      return 1;
    case 112:
      UpdateOneGame(current);
      return 1;
    case 113:
      StopUpdateGame(current);
      return 1;
    case 114:
      RunGame(current);
      return 1;
    case 115:
      FullCheckGame(current);
      return 1;
    case 116:
      OpenGameHomePage(current);
      return 1;
    default:
      return 0;
  }
}

int32_t UpdaterLauncherWnd::OnNotify(int32_t code, intptr_t p1, intptr_t p2) {
  if (code == NOTIFY_CLICKED)
    return OnClicked(static_cast<int32_t>(p1));
  if (code == NOTIFY_BUTTON_HOVER) {
    const wchar_t* key = GetActionTooltipKey(static_cast<int32_t>(p1));
    ShowLauncherToolTip(reinterpret_cast<const RECT*>(p2), static_cast<uint32_t>(p1),
                        key != nullptr ? GetAppMessage(key) : nullptr);
    return 1;
  }
  return SkinnedChildWnd::OnNotify(code, p1, p2);
}
