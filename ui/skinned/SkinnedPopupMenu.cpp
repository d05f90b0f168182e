#include "ui/skinned/SkinnedPopupMenu.h"

#include <new>

#include "ui/base/IniStringContainer.h"
#include "ui/gfx/Dib.h"
#include "ui/skin/NTextBox.h"
#include "ui/skinned/SkinArithmetic.h"
#include "ui/skinned/SkinBackground.h"

namespace {

const wchar_t kMenuSection[] = L"MENU";
const wchar_t* const kItemSections[3] = {L"MENU_ITEM_NORMAL", L"MENU_ITEM_OVER", L"MENU_ITEM_DISABLED"};

// The colour of the keys <name>_r, <name>_g and <name>_b.
uint32_t ReadColour(IniContainer* ini, const wchar_t* const (&keys)[3]) {
  return SkinColour(ini->GetInt(kMenuSection, keys[0], 0), ini->GetInt(kMenuSection, keys[1], 0),
                    ini->GetInt(kMenuSection, keys[2], 0));
}

const wchar_t* const kBorderColour[3] = {L"border_color_r", L"border_color_g", L"border_color_b"};
const wchar_t* const kBackColours[3][3] = {
    {L"back_normal_color_r", L"back_normal_color_g", L"back_normal_color_b"},
    {L"back_over_color_r", L"back_over_color_g", L"back_over_color_b"},
    {L"back_disabled_color_r", L"back_disabled_color_g", L"back_disabled_color_b"}};

}  // namespace

// --- PopupMenuItem ---

SkinnedPopupMenu::PopupMenuItem::~PopupMenuItem() {
  if (image != nullptr)
    image->Release();
}

void SkinnedPopupMenu::PopupMenuItem::RenderText() {
  for (std::unique_ptr<NTextBox>& box : text_boxes) {
    if (!box)
      continue;
    box->text().Assign(text.GetString());
    box->literal = 0;
    box->Render(1);
  }
}

void SkinnedPopupMenu::PopupMenuItem::LoadSkin(IniContainer* ini,
                                               const wchar_t* font_set,
                                               int32_t width,
                                               int32_t height) {
  if (image == nullptr)
    image = Dib::CreateBlank(width, height, 0);
  else
    image->Resize(width, height);
  for (int look = 0; look < 3; ++look)
    text_boxes[look].reset(LoadSkinTextBox(ini, kItemSections[look], font_set));
  RenderText();
}

void SkinnedPopupMenu::PopupMenuItem::ReleaseTextBoxes() {
  for (std::unique_ptr<NTextBox>& box : text_boxes)
    box.reset();
}

void SkinnedPopupMenu::PopupMenuItem::Paint(Look look, uint32_t back_colour) {
  if (image == nullptr)
    return;
  image->FillRect(RECT{0, 0, image->width(), image->height()}, back_colour);
  if (text_boxes[look])
    text_boxes[look]->Draw(image);
}

// --- SkinnedPopupMenu ---

SkinnedPopupMenu::~SkinnedPopupMenu() {
  Destroy();
  SkinnedPopupMenu::ReleaseSkin();
}

const SkinnedPopupMenu::PopupMenuItem* SkinnedPopupMenu::item(int32_t index) const {
  return items_ && index >= 0 && index < item_count_ ? &items_[index] : nullptr;
}

SkinnedPopupMenu::PopupMenuItem* SkinnedPopupMenu::FindItem(uint32_t command_id) {
  for (int32_t index = 0; items_ && index < item_count_; ++index) {
    if (items_[index].command_id == command_id)
      return &items_[index];
  }
  return nullptr;
}

void SkinnedPopupMenu::ResetItems(Callback callback) {
  callback_ = nullptr;
  items_.reset();
  item_count_ = 0;
  shown_count_ = 0;
  hovered_ = -1;
  items_.reset(new (std::nothrow) PopupMenuItem[kItemCount]);
  if (items_) {
    item_count_ = kItemCount;
    shown_count_ = kItemCount;
  }
  callback_ = callback;
}

void SkinnedPopupMenu::SetItem(uint32_t command_id, int32_t index, const wchar_t* text) {
  if (!items_ || index < 0 || index >= item_count_ || command_id == 0)
    return;
  PopupMenuItem& row = items_[index];
  row.command_id = command_id;
  row.text.Assign(text);
  row.RenderText();
  Invalidate();
}

void SkinnedPopupMenu::ShowItem(uint32_t command_id, int32_t show) {
  PopupMenuItem* row = FindItem(command_id);
  // Any non-zero flag is "shown": the count moves only on a real change.
  int32_t shown = show != 0 ? 1 : 0;
  if (row == nullptr || row->shown == shown)
    return;
  shown_count_ += shown ? 1 : -1;
  row->shown = shown;
  Invalidate();
}

void SkinnedPopupMenu::EnableItem(uint32_t command_id, int32_t enable) {
  PopupMenuItem* row = FindItem(command_id);
  int32_t enabled = enable != 0 ? 1 : 0;
  if (row == nullptr || row->enabled == enabled)
    return;
  row->enabled = enabled;
  Invalidate();
}

void SkinnedPopupMenu::UpdateSize() {
  int64_t border = 2 * static_cast<int64_t>(border_size_);
  int32_t width = ClampToInt32(item_width_ + border);
  int32_t height = ClampToInt32(static_cast<int64_t>(shown_count_) * item_height_ + border);
  if (width != this->width() || height != this->height())
    Resize(width, height);
}

int SkinnedPopupMenu::LoadSkin() {
  if (!SkinnedCtrl::LoadSkin())
    return 0;
  IniStringContainer* skin = ini();
  int32_t width = skin->GetInt(kMenuSection, L"menu_item_width", 0);
  int32_t height = skin->GetInt(kMenuSection, L"menu_item_height", 0);
  if (width < 1 || height < 1)
    return 0;
  item_width_ = width;
  item_height_ = height;
  int32_t border = skin->GetInt(kMenuSection, L"border_size", 0);
  border_size_ = border < 0 ? 0 : border;
  border_colour_ = ReadColour(skin, kBorderColour);
  for (int look = 0; look < 3; ++look)
    back_colours_[look] = ReadColour(skin, kBackColours[look]);
  shown_count_ = 0;
  for (int32_t index = 0; items_ && index < item_count_; ++index) {
    shown_count_ += items_[index].shown ? 1 : 0;
    items_[index].LoadSkin(skin, category_id().GetString(), item_width_, item_height_);
  }
  UpdateSize();
  Show(0, 0);
  return 1;
}

void SkinnedPopupMenu::ReleaseSkin() {
  item_width_ = 0;
  item_height_ = 0;
  border_size_ = 0;
  border_colour_ = 0;
  for (uint32_t& colour : back_colours_)
    colour = 0;
  for (int32_t index = 0; items_ && index < item_count_; ++index)
    items_[index].ReleaseTextBoxes();
  SkinnedCtrl::ReleaseSkin();
}

void SkinnedPopupMenu::OnShow(int32_t show) {
  if (show)
    report_pending_ = 1;
}

void SkinnedPopupMenu::OnPaint(HDC, Dib* surface) {
  if (surface == nullptr)
    return;
  surface->FillRect(RECT{0, 0, surface->width(), surface->height()}, border_colour_);
  int32_t y = border_size_;
  for (int32_t index = 0; items_ && index < item_count_; ++index) {
    PopupMenuItem& row = items_[index];
    // A hidden row takes no line; painting it would cover the next row's place or the bottom border.
    if (!row.shown || row.image == nullptr)
      continue;
    Look look = !row.enabled ? kDisabled : index == hovered_ ? kOver : kNormal;
    row.Paint(look, back_colours_[look]);
    POINT at = {border_size_, y};
    Dib::Draw(nullptr, &at, row.image, surface, 1);
    y = ClampToInt32(static_cast<int64_t>(y) + item_height_);
  }
}

void SkinnedPopupMenu::SetHovered(int32_t index) {
  if (index == hovered_)
    return;
  hovered_ = index;
  Invalidate();
}

void SkinnedPopupMenu::OnMouseMove(int32_t x, int32_t y) {
  int64_t row_x = static_cast<int64_t>(x) - border_size_;
  int64_t row_y = static_cast<int64_t>(y) - border_size_;
  for (int32_t index = 0; items_ && index < item_count_; ++index) {
    if (!items_[index].shown)
      continue;
    if (row_x >= 0 && row_x < item_width_ && row_y >= 0 && row_y < item_height_) {
      SetHovered(index);
      return;
    }
    row_y -= item_height_;
  }
  SetHovered(-1);
}

void SkinnedPopupMenu::OnMouseLeave() {
  SetHovered(-1);
}

void SkinnedPopupMenu::OnLButtonUp(int32_t, int32_t) {
  Choose();
}

void SkinnedPopupMenu::OnRButtonUp(int32_t, int32_t) {
  Choose();
}

void SkinnedPopupMenu::Choose() {
  if (hovered_ < 0 || hovered_ >= item_count_ || !items_) {
    Close(0);
    return;
  }
  const PopupMenuItem& row = items_[hovered_];
  if (!row.enabled)
    return;
  Close(row.command_id);
}

void SkinnedPopupMenu::OnKillFocus() {
  Close(0);
}

void SkinnedPopupMenu::Close(uint32_t command_id) {
  // Hiding the focused menu takes its focus away, and that focus loss comes back here inside Show: the
  // pending mark is cleared first so that it reports nothing.
  int32_t report = report_pending_;
  report_pending_ = 0;
  Show(0, 0);
  if (report && callback_ != nullptr)
    callback_(command_id);
}

LRESULT SkinnedPopupMenu::HitTestCaption(int32_t, int32_t) {
  return HTCLIENT;
}
