#include "app/gamelist/GameList.h"

#include <memory>

#include "app/gamelist/GameListRows.h"
#include "app/gamelist/GameListServices.h"
#include "app/games/GameActions.h"
#include "app/texts/MessageTexts.h"
#include "ui/base/IniStringContainer.h"
#include "ui/gfx/Dib.h"
#include "ui/skin/NFontManager.h"
#include "ui/skin/NImage.h"
#include "ui/skin/NTextBox.h"
#include "ui/skin/SkinLoader.h"
#include "ui/view/NotifyCodes.h"

GameList* GameListPanel = nullptr;

GameList::~GameList() {
  Destroy();
  delete region_image_;
  delete region_text_;
}

int32_t GameList::OnCreate() {
  buttons_.Sync(nullptr);
  if (!SkinnedChildWnd::OnCreate())
    return 0;
  header_.SetSkin(category_id().GetString(), L"list_header_installed_game");
  if (!header_.Create(0, 0, 1, 1, kHeaderId, this))
    return 0;
  header_.Show(1, 0);
  region_button_.SetSkin(category_id().GetString(), L"select_region_btn");
  if (!region_button_.Create(0, 0, 1, 1, kRegionButtonId, this))
    return 0;
  region_button_.Show(1, 0);
  if (category() == nullptr || ini() == nullptr)
    return 0;
  LoadRegion();
  RecomputeRows();
  return 1;
}

void GameList::LoadRegion() {
  delete region_image_;
  delete region_text_;
  region_image_ = nullptr;
  const wchar_t kRegion[] = L"REGION";
  if (const wchar_t* id = ini()->GetString(kRegion, L"image_id", nullptr))
    region_image_ = LoadSkinImage(category(), id);
  else if (const wchar_t* file = ini()->GetString(kRegion, L"image", nullptr))
    region_image_ = LoadSkinImageFile(category(), file);
  if (region_image_ != nullptr)
    region_image_->set_position(ini()->GetInt(kRegion, L"x", 0), ini()->GetInt(kRegion, L"y", 0));
  region_text_ = LoadSkinTextBox(ini(), kRegion, category_id().GetString());
  SetRegionText();
}

void GameList::SetRegionText() {
  if (region_text_ == nullptr)
    return;
  wchar_t name[kLauncherInfoTextUnits];
  ReadUpdateServerName(name);
  region_text_->text().Assign(name);
  region_text_->literal = 1;
  region_text_->Render(1);
}

void GameList::OnDestroy() {
  if (region_pending_) {
    region_pending_ = false;
    CancelRegionSelection();
  }
  SkinnedChildWnd::OnDestroy();
  layout_.Release();
  // The buttons borrowed the layout's images: they must not keep pointing at them.
  buttons_.ApplyLayoutToAll(&layout_);
}

void GameList::OnSkinLoaded() {
  layout_.Release();
  if (category() != nullptr && ini() != nullptr) {
    RemoveFontManager(category_id().GetString());
    LoadSkinFonts(category_id().GetString(), ini());
    std::unique_ptr<IniStringContainer> info(LoadControlSkinIni(category(), L"game_button_info"));
    if (info)
      layout_.Load(info.get(), category(), category_id().GetString());
  }
  // Empty or not, every button takes the new layout: none may keep the released images.
  buttons_.ApplyLayoutToAll(&layout_);
  if (created())
    RecomputeRows();
}

void GameList::RecomputeRows() {
  // The selected row stays on screen if it was: a skin change counts the rows more than once (the header and
  // the layout load apart), and a count in between must not scroll it away.
  int32_t selected = buttons_.InstalledIndex(buttons_.selected);
  int32_t row = buttons_.scroll_offset + selected;
  bool selected_shown = selected >= 0 && row >= 0 && row < buttons_.visible_rows;
  header_bottom_ = header_.y() + header_.height();
  buttons_.origin_x = 0;
  buttons_.origin_y = header_bottom_;
  // The rows share the panel with the header above them.
  buttons_.visible_rows = VisibleRowCount(height() - header_bottom_, layout_);
  ClampScroll();
  if (selected_shown)
    EnsureVisible(buttons_.selected->GetGameId());
  Invalidate();
}

void GameList::OnSize() {
  // The background's size comes after the skin hook (SkinBackground.h): the rows are counted again here.
  if (created())
    RecomputeRows();
}

void GameList::OnUpdate() {
  // The header's own skin load may move or resize it after the panel's.
  if (header_.created() && header_.y() + header_.height() != header_bottom_)
    RecomputeRows();
  if (layout_.TickImages()) {
    buttons_.RenderAll();
    Invalidate();
  }
  // The rest of the selection runs a modal dialog: it goes out of the frame's update pass, to a message of
  // this window.
  if (region_pending_ && !region_posted_ && RegionListArrived()) {
    region_posted_ = PostMessageW(GetHwnd(), kRegionListArrivedMessage, 0, 0) != FALSE;
    if (!region_posted_)
      TakeRegionList();
  }
}

LRESULT GameList::WindowProcedure(UINT message, WPARAM wparam, LPARAM lparam) {
  if (message != kRegionListArrivedMessage)
    return SkinnedChildWnd::WindowProcedure(message, wparam, lparam);
  region_posted_ = false;
  TakeRegionList();
  return 0;
}

void GameList::TakeRegionList() {
  // Another dialog may have opened since the message was posted: the list then waits for a later frame. The
  // selection stays pending while its dialog runs, so that a click meanwhile starts no second one.
  SelectUpdateServerResult result;
  if (!region_pending_ || !FinishRegionSelection(&result))
    return;
  region_pending_ = false;
  ShowRegionResult(result);
}

void GameList::OnPaint(HDC dc, Dib* surface) {
  SkinnedChildWnd::OnPaint(dc, surface);
  if (surface == nullptr)
    return;
  std::vector<GameListRow> rows =
      LayOutRows(buttons_.installed(), buttons_.selected, layout_, buttons_.origin_x, buttons_.origin_y,
                 buttons_.scroll_offset, buttons_.visible_rows);
  const GameListRow* selected = nullptr;
  for (const GameListRow& row : rows) {
    if (row.selected) {
      selected = &row;
    } else if (const Dib* picture = row.button->Picture()) {
      POINT at = {row.picture.left, row.picture.top};
      Dib::Draw(nullptr, &at, picture, surface, 1);
    }
    if (row.line_after)
      surface->FillRect(row.line, layout_.line_colour);
  }
  // Last, so that the taller selected row overlaps its neighbours.
  if (selected != nullptr) {
    if (const Dib* picture = selected->button->Picture()) {
      POINT at = {selected->picture.left, selected->picture.top};
      Dib::Draw(nullptr, &at, picture, surface, 1);
    }
  }
  if (region_image_ != nullptr)
    region_image_->Draw(surface, 1);
  if (region_text_ != nullptr)
    region_text_->Draw(surface);
}

void GameList::UpdateHover() {
  GameButton* result = nullptr;
  if (last_mouse_x_ >= 0 && last_mouse_y_ >= 0) {
    std::vector<GameListRow> rows =
        LayOutRows(buttons_.installed(), buttons_.selected, layout_, buttons_.origin_x, buttons_.origin_y,
                   buttons_.scroll_offset, buttons_.visible_rows);
    result = HitRow(rows, last_mouse_x_, last_mouse_y_);
  }
  if (result == buttons_.hover)
    return;
  if (result != nullptr && result != buttons_.selected) {
    result->set_look(GameButton::kLookHover);
    result->Render();
  }
  if (buttons_.hover != nullptr && buttons_.hover != buttons_.selected) {
    buttons_.hover->set_look(GameButton::kLookNormal);
    buttons_.hover->Render();
  }
  buttons_.hover = result;
  Invalidate();
}

void GameList::SelectButton(const wchar_t* game_id) {
  GameButton* button = buttons_.FindButton(game_id);
  if (button == buttons_.selected)
    return;
  if (buttons_.selected != nullptr) {
    buttons_.selected->set_look(GameButton::kLookNormal);
    buttons_.selected->Render();
  }
  if (button != nullptr) {
    button->set_look(GameButton::kLookSelected);
    button->Render();
  }
  buttons_.selected = button;
  ::SelectGame(game_id);
  if (button != nullptr)
    EnsureVisible(button->GetGameId());
  Invalidate();
}

void GameList::EnsureVisible(const wchar_t* game_id) {
  int32_t position = buttons_.InstalledIndex(buttons_.FindButton(game_id));
  if (position < 0)
    return;
  int32_t offset = OffsetShowing(buttons_.scroll_offset, position, buttons_.visible_rows);
  if (offset == buttons_.scroll_offset)
    return;
  buttons_.scroll_offset = offset;
  ClampScroll();
  Invalidate();
}

void GameList::ClampScroll() {
  int32_t count = buttons_.installed().count();
  buttons_.scroll_offset = ClampedScrollOffset(buttons_.scroll_offset, count, buttons_.visible_rows);
  if (!header_.created())
    return;
  header_.scroll_up().Show(ScrollUpShown(buttons_.scroll_offset) ? 1 : 0, 0);
  header_.scroll_down().Show(ScrollDownShown(buttons_.scroll_offset, count, buttons_.visible_rows) ? 1 : 0,
                             0);
}

void GameList::ReorderByGameOrder() {
  if (!buttons_.ReorderInstalled())
    return;
  if (buttons_.selected != nullptr)
    EnsureVisible(buttons_.selected->GetGameId());
  Invalidate();
}

int32_t GameList::IsOverList(int32_t x, int32_t y) {
  if (x < 0 || y < 0 || x >= width() || y >= height())
    return 0;
  return y >= header_.y() + header_.height() ? 1 : 0;
}

void GameList::Scroll(int32_t rows) {
  buttons_.scroll_offset += rows;
  ClampScroll();
  Invalidate();
}

void GameList::OnMouseMove(int32_t x, int32_t y) {
  last_mouse_x_ = x;
  last_mouse_y_ = y;
  UpdateHover();
}

void GameList::OnLButtonDown(int32_t, int32_t) {
  if (buttons_.hover != nullptr)
    SelectButton(buttons_.hover->GetGameId());
}

void GameList::OnLButtonDblClk(int32_t x, int32_t y) {
  OnLButtonDown(x, y);
}

void GameList::OnRButtonUp(int32_t, int32_t) {
  if (buttons_.hover != nullptr)
    ShowGamePopupMenu(buttons_.hover->GetGameId());
}

void GameList::OnMouseWheel(int32_t x, int32_t y, int32_t notches) {
  last_mouse_x_ = x;
  last_mouse_y_ = y;
  if (IsOverList(x, y) && notches != 0)
    Scroll(notches > 0 ? 1 : -1);
  UpdateHover();
}

void GameList::OnMouseLeave() {
  if (buttons_.hover != nullptr && buttons_.hover != buttons_.selected) {
    buttons_.hover->set_look(GameButton::kLookNormal);
    buttons_.hover->Render();
  }
  buttons_.hover = nullptr;
  Invalidate();
  last_mouse_x_ = last_mouse_y_ = -1;
}

void GameList::RunRegionSelection() {
  // The list comes from the server off this thread; a click while it is on its way starts no second one.
  if (!region_pending_ && StartRegionSelection())
    region_pending_ = true;
}

void GameList::ShowRegionResult(SelectUpdateServerResult result) {
  switch (result) {
    case kServerChosen:
      SetRegionText();
      Invalidate();
      break;
    case kServerListNotDownloaded:
      ShowLauncherMessage(GetAppMessageOrUnknown(L"cannot download server info"));
      break;
    case kServerListUnreadable:
      ShowLauncherMessage(GetAppMessageOrUnknown(L"invalid server info"));
      break;
    case kServerDialogFailed:
      ShowLauncherMessage(GetAppMessageOrUnknown(L"cannot load resource"));
      break;
    default:  // kServerNotChosen: the user's own choice needs no message
      break;
  }
}

int32_t GameList::OnNotify(int32_t code, intptr_t p1, intptr_t p2) {
  switch (code) {
    case kNotifyScrollUp:
      Scroll(1);
      return 1;
    case kNotifyScrollDown:
      Scroll(-1);
      return 1;
    case kNotifyUpdateAll:
      UpdateAllGames();
      return 1;
    case kNotifyStopAll:
      StopAllGames();
      return 1;
    case NOTIFY_CLICKED:
      if (p1 != kRegionButtonId)
        return 0;
      RunRegionSelection();
      return 1;
    default:
      return SkinnedChildWnd::OnNotify(code, p1, p2);
  }
}
