#include "app/windows/GameOrderList.h"

#include <algorithm>
#include <cstdint>
#include <cwchar>
#include <new>

#include "ui/base/IniStringContainer.h"
#include "ui/gfx/Dib.h"
#include "ui/skin/NTextBox.h"
#include "ui/skin/SkinLoader.h"
#include "ui/view/NotifyCodes.h"

namespace {

const wchar_t kSection[] = L"GAME_ORDER_LIST";
const wchar_t* const kLookNames[GameOrderButton::kLooks] = {L"normal", L"over", L"selected"};

// One colour component of `kind` ("text" or "back") and `look`, modulo 256.
uint32_t ReadComponent(IniStringContainer* ini,
                       const wchar_t* kind,
                       const wchar_t* look,
                       const wchar_t* part) {
  wchar_t key[64];
  swprintf(key, 64, L"%ls_%ls_color_%ls", kind, look, part);
  return static_cast<uint32_t>(ini->GetInt(kSection, key, 0)) & 0xFF;
}

}  // namespace

GameOrderScrollBar::~GameOrderScrollBar() {
  Destroy();
}

void GameOrderScrollBar::SetPosition(int32_t position) {
  position_ = position;
  ClampPosition();
  UpdateThumb();
}

GameOrderList::~GameOrderList() {
  Destroy();
  rows_.clear();
}

GameOrderButton* GameOrderList::row(int32_t index) const {
  return index >= 0 && index < row_count() ? rows_[index].get() : nullptr;
}

void GameOrderList::SetRowCount(int32_t count) {
  hover_ = nullptr;
  selected_ = nullptr;
  rows_.clear();
  rows_.resize(count > 0 ? static_cast<size_t>(count) : 0);
  UpdateScrollBar();
  Invalidate();
}

void GameOrderList::SetRow(int32_t index, const wchar_t* title, const wchar_t* game_id) {
  if (index < 0 || index >= row_count() || title == nullptr)
    return;
  if (!rows_[index]) {
    rows_[index].reset(new (std::nothrow) GameOrderButton());
    if (!rows_[index])
      return;
  }
  rows_[index]->game_id().Assign(game_id);
  StyleRow(rows_[index].get(), title);
  Invalidate();
}

void GameOrderList::StyleRow(GameOrderButton* row, const wchar_t* title) {
  row->FitImage(row_width_, row_height_);
  for (int32_t look = 0; look < GameOrderButton::kLooks; ++look) {
    NTextBox* text = row->EnsureText(look);
    if (text == nullptr)
      continue;
    text->SetFont(font_ids_[look].GetString(), category_id().GetString());
    text->x = text_x_;
    text->y = text_y_;
    text->align = text_align_;
    text->text_colour = colours_[look].text;
    text->disabled_colour = colours_[look].text;
    if (title != nullptr)
      text->text().Assign(title);
    text->Render(1);
  }
}

void GameOrderList::Compact() {
  auto filled_end = std::stable_partition(rows_.begin(), rows_.end(),
                                          [](const std::unique_ptr<GameOrderButton>& row) { return !!row; });
  if (filled_end == rows_.end())
    return;
  rows_.erase(filled_end, rows_.end());
  UpdateScrollBar();
  Invalidate();
}

void GameOrderList::MoveSelected(int32_t from, int32_t to) {
  if (from < to)
    std::rotate(rows_.begin() + from, rows_.begin() + from + 1, rows_.begin() + to + 1);
  else
    std::rotate(rows_.begin() + to, rows_.begin() + from, rows_.begin() + from + 1);
  Invalidate();
}

void GameOrderList::MoveSelectedUp() {
  int32_t index = SelectedIndex();
  if (index > 0)
    MoveSelected(index, index - 1);
}

void GameOrderList::MoveSelectedDown() {
  int32_t index = SelectedIndex();
  if (index >= 0 && index < row_count() - 1)
    MoveSelected(index, index + 1);
}

void GameOrderList::MoveSelectedToTop() {
  int32_t index = SelectedIndex();
  if (index > 0)
    MoveSelected(index, 0);
}

void GameOrderList::MoveSelectedToBottom() {
  int32_t index = SelectedIndex();
  if (index >= 0 && index < row_count() - 1)
    MoveSelected(index, row_count() - 1);
}

int32_t GameOrderList::SelectedIndex() const {
  if (selected_ == nullptr)
    return -1;
  for (int32_t index = 0; index < row_count(); ++index) {
    if (rows_[index].get() == selected_)
      return index;
  }
  return -1;
}

void GameOrderList::SelectIndex(int32_t index) {
  GameOrderButton* chosen = row(index);
  if (chosen == selected_)
    return;
  selected_ = chosen;
  Invalidate();
}

// The target is computed in one step: the fewest rows that bring the selected row's band inside the list.
void GameOrderList::ScrollToSelected() {
  int32_t index = SelectedIndex();
  if (index < 0 || row_height_ <= 0)
    return;
  int64_t top = static_cast<int64_t>(first_row_y_) + static_cast<int64_t>(index) * row_height_;
  int64_t target = scroll_bar_.position();
  int64_t lowest_top = static_cast<int64_t>(height()) - row_height_;
  if (top < 0)
    target -= (-top + row_height_ - 1) / row_height_;
  else if (top > lowest_top)
    target += (top - lowest_top + row_height_ - 1) / row_height_;
  int64_t last = static_cast<int64_t>(scroll_bar_.range()) - scroll_bar_.page();
  target = std::max<int64_t>(0, std::min<int64_t>(target, last));
  if (target == scroll_bar_.position())
    return;
  scroll_bar_.SetPosition(static_cast<int32_t>(target));
  FollowScrollPosition();
}

void GameOrderList::UpdateScrollBar() {
  if (row_height_ <= 0 || !scroll_bar_.created())
    return;
  int32_t visible = height() / row_height_;
  scroll_bar_.SetRange(row_count());
  if (visible < row_count()) {
    scroll_bar_.SetPage(visible);
    scroll_bar_.Show(1, 0);
  } else {
    scroll_bar_.SetPage(row_count());
    scroll_bar_.SetPosition(0);
    scroll_bar_.Show(0, 0);
  }
  FollowScrollPosition();
}

void GameOrderList::FollowScrollPosition() {
  // A skin's row height may be near the int32 limit: the product is taken in 64 bits and held to the
  // int32 range, so the first row never wraps to below the top.
  const int64_t product = row_height_ > 0 ? -static_cast<int64_t>(scroll_bar_.position()) * row_height_ : 0;
  const int32_t y = static_cast<int32_t>(std::max<int64_t>(product, INT32_MIN));
  if (y == first_row_y_)
    return;
  first_row_y_ = y;
  Invalidate();
}

int32_t GameOrderList::RowIndexAt(int32_t y) const {
  if (row_height_ <= 0 || y < first_row_y_)
    return -1;
  int64_t band = (static_cast<int64_t>(y) - first_row_y_) / row_height_;
  int32_t filled = 0;
  for (int32_t index = 0; index < row_count(); ++index) {
    if (!rows_[index])
      continue;
    if (filled++ == band)
      return index;
  }
  return -1;
}

GameOrderButton* GameOrderList::RowAt(int32_t y) const {
  return row(RowIndexAt(y));
}

int32_t GameOrderList::OnCreate() {
  if (!SkinnedWnd::OnCreate())
    return 0;
  scroll_bar_.SetSkin(category_id().GetString(), L"game_list_scroll_bar");
  if (!scroll_bar_.Create(0, 0, 1, 1, kScrollBarId, this))
    return 0;
  UpdateScrollBar();
  return 1;
}

int GameOrderList::LoadSkin() {
  if (!SkinnedWnd::LoadSkin())
    return 0;
  // BACK (and with it the list's height) is read after OnSkinLoaded: the scroll bar and the first-row y
  // follow the new row size only now.
  UpdateScrollBar();
  Invalidate();
  return 1;
}

void GameOrderList::OnSkinLoaded() {
  if (category() == nullptr || ini() == nullptr)
    return;
  ReadSkinKeys();
  // Rows without a height take no space, so the first row stands at 0, also when the rest of the skin (BACK)
  // then fails and UpdateScrollBar never runs.
  if (row_height_ <= 0)
    first_row_y_ = 0;
  for (const std::unique_ptr<GameOrderButton>& row : rows_) {
    if (row)
      StyleRow(row.get(), nullptr);
  }
}

void GameOrderList::ReadSkinKeys() {
  IniStringContainer* skin = ini();
  row_width_ = skin->GetInt(kSection, L"btn_width", 0);
  row_height_ = skin->GetInt(kSection, L"btn_height", 0);
  const wchar_t* font_keys[GameOrderButton::kLooks] = {L"font_normal_id", L"font_over_id",
                                                       L"font_selected_id"};
  for (int32_t look = 0; look < GameOrderButton::kLooks; ++look) {
    font_ids_[look].Assign(skin->GetString(kSection, font_keys[look], L""));
    const wchar_t* name = kLookNames[look];
    colours_[look].text =
        RGB(ReadComponent(skin, L"text", name, L"r"), ReadComponent(skin, L"text", name, L"g"),
            ReadComponent(skin, L"text", name, L"b"));
    colours_[look].back = 0xFF000000u | ReadComponent(skin, L"back", name, L"r") << 16 |
                          ReadComponent(skin, L"back", name, L"g") << 8 |
                          ReadComponent(skin, L"back", name, L"b");
  }
  text_x_ = skin->GetInt(kSection, L"text_x", 0);
  text_y_ = skin->GetInt(kSection, L"text_y", 0);
  text_align_ = skin->GetInt(kSection, L"text_align", 0);
}

// Rows wholly above or below the surface are skipped without touching their images.
void GameOrderList::OnPaint(HDC dc, Dib* surface) {
  SkinnedWnd::OnPaint(dc, surface);
  if (surface == nullptr || row_height_ <= 0)
    return;
  int32_t top = first_row_y_;
  for (const std::unique_ptr<GameOrderButton>& row : rows_) {
    if (!row)
      continue;
    if (top >= surface->height())
      break;
    if (top + row_height_ > 0)
      PaintRow(row.get(), surface, top);
    top += row_height_;
  }
}

void GameOrderList::PaintRow(GameOrderButton* row, Dib* surface, int32_t top) const {
  Dib* image = row->image();
  if (image == nullptr)
    return;
  int32_t look = row == selected_ ? GameOrderButton::kSelected
                                  : (row == hover_ ? GameOrderButton::kOver : GameOrderButton::kNormal);
  RECT whole = {0, 0, image->width(), image->height()};
  image->FillRect(whole, colours_[look].back);
  if (NTextBox* text = row->text(look))
    text->Draw(image);
  POINT at = {0, top};
  Dib::Draw(nullptr, &at, image, surface, 1);
}

void GameOrderList::OnLButtonDown(int32_t, int32_t y) {
  // The wheel reaches only the window with the keyboard focus, which an edit of another tab may still hold.
  SetFocus();
  GameOrderButton* chosen = RowAt(y);
  if (chosen == selected_)
    return;
  selected_ = chosen;
  Invalidate();
}

void GameOrderList::OnLButtonDblClk(int32_t x, int32_t y) {
  OnLButtonDown(x, y);
}

void GameOrderList::OnMouseWheel(int32_t x, int32_t y, int32_t notches) {
  if (!scroll_bar_.visible())
    return;
  int64_t wanted = static_cast<int64_t>(scroll_bar_.position()) - notches;
  int64_t last = static_cast<int64_t>(scroll_bar_.range()) - scroll_bar_.page();
  wanted = std::max<int64_t>(0, std::min<int64_t>(wanted, last));
  if (wanted != scroll_bar_.position()) {
    scroll_bar_.SetPosition(static_cast<int32_t>(wanted));
    FollowScrollPosition();
  }
  OnMouseMove(x, y);
}

void GameOrderList::OnMouseMove(int32_t, int32_t y) {
  GameOrderButton* under = RowAt(y);
  if (under == hover_)
    return;
  hover_ = under;
  Invalidate();
}

void GameOrderList::OnMouseLeave() {
  if (hover_ == nullptr)
    return;
  hover_ = nullptr;
  Invalidate();
}

int32_t GameOrderList::OnNotify(int32_t code, intptr_t p1, intptr_t p2) {
  switch (code) {
    case NOTIFY_SCROLL_DECREMENT:
    case NOTIFY_SCROLL_INCREMENT:
    case NOTIFY_SCROLL_POS_CHANGED:
      FollowScrollPosition();
      return 0;
    case NOTIFY_SKIN_CHANGED:
      return SkinnedWnd::OnNotify(code, p1, p2);
    default:
      return 0;
  }
}
