#include "app/gamelist/GameButton.h"

#include "app/gamelist/GameButtonInfo.h"
#include "ui/gfx/Dib.h"
#include "ui/skin/NImage.h"

GameButton::~GameButton() {
  ReleasePictures();
  ReleaseIcons();
}

void GameButton::Bind(const wchar_t* id,
                      const wchar_t* title,
                      int32_t event,
                      int32_t hot,
                      int32_t is_new,
                      int32_t beta) {
  if (id == nullptr || title == nullptr)
    return;
  game_id_.Assign(id);
  title_.Assign(title);
  badge_flags_[0] = event;
  badge_flags_[1] = hot;
  badge_flags_[2] = is_new;
  badge_flags_[3] = beta;
  for (NTextBox* box : {&normal_text_, &over_text_, &selected_text_}) {
    box->text().Assign(title);
    box->literal = 1;
  }
  titles_stale_ = normal_stale_ = selected_stale_ = true;
}

void GameButton::ReleaseIcons() {
  if (small_icon_ != nullptr)
    small_icon_->Release();
  if (large_icon_ != nullptr)
    large_icon_->Release();
  small_icon_ = large_icon_ = nullptr;
}

void GameButton::SetIcons(const wchar_t* small_icon, const wchar_t* large_icon) {
  if (icons_loaded_ != 0)
    return;
  ReleaseIcons();
  small_icon_ = small_icon != nullptr ? Dib::Load(small_icon, 0) : nullptr;
  large_icon_ = large_icon != nullptr ? Dib::Load(large_icon, 0) : nullptr;
  icons_loaded_ = 1;
  normal_stale_ = selected_stale_ = true;
}

void GameButton::LookUpStateImages(const GameButtonInfo* layout) {
  state_icon_ = layout->FindStateIcon(state_key_.GetString());
  state_border_ = layout->FindStateBorderWithFallback(state_key_.GetString(), installed_);
  state_text_ = layout->FindStateText(state_key_.GetString());
}

void GameButton::SetState(const wchar_t* state_key,
                          const GameButtonInfo* layout,
                          int32_t installed,
                          int32_t event,
                          int32_t hot,
                          int32_t is_new,
                          int32_t beta) {
  state_key_.Assign(state_key != nullptr ? state_key : L"");
  installed_ = installed;
  badge_flags_[0] = event;
  badge_flags_[1] = hot;
  badge_flags_[2] = is_new;
  badge_flags_[3] = beta;
  if (layout != nullptr)
    LookUpStateImages(layout);
  normal_stale_ = selected_stale_ = true;
}

void GameButton::ApplyLayout(const GameButtonInfo* layout) {
  ReleasePictures();
  width_ = height_ = selected_width_ = selected_height_ = 0;
  back_normal_colour_ = back_over_colour_ = back_selected_colour_ = 0;
  icon_ = selected_icon_ = Place();
  event_max_ = event_x_ = event_offset_ = event_y_ = 0;
  state_icon_ = state_border_ = nullptr;
  state_text_ = nullptr;
  arrow_ = nullptr;
  for (NImage*& badge : badges_)
    badge = nullptr;
  if (layout == nullptr)
    return;
  layout->text_normal.ApplyTo(&normal_text_);
  layout->text_over.ApplyTo(&over_text_);
  layout->text_selected.ApplyTo(&selected_text_);
  width_ = layout->width;
  height_ = layout->height;
  selected_width_ = layout->selected_width;
  selected_height_ = layout->selected_height;
  back_normal_colour_ = layout->back_normal_colour;
  back_over_colour_ = layout->back_over_colour;
  back_selected_colour_ = layout->back_selected_colour;
  icon_ = Place{layout->game_icon_x, layout->game_icon_y};
  selected_icon_ = Place{layout->selected_game_icon_x, layout->selected_game_icon_y};
  event_max_ = layout->event_max;
  event_x_ = layout->event_x;
  event_offset_ = layout->event_offset;
  event_y_ = layout->event_y;
  LookUpStateImages(layout);
  for (int i = 0; i < 4; ++i)
    badges_[i] = layout->badges[i];
  arrow_ = layout->arrow;
}

void GameButton::ReleasePictures() {
  if (normal_picture_ != nullptr)
    normal_picture_->Release();
  if (selected_picture_ != nullptr)
    selected_picture_->Release();
  normal_picture_ = selected_picture_ = nullptr;
  // Dropping the rendered titles: an empty render frees each box's image.
  for (NTextBox* box : {&normal_text_, &over_text_, &selected_text_}) {
    if (box->rendered() != nullptr) {
      String kept;
      kept.Assign(box->text().GetString());
      box->text().Assign(L"");
      box->Render(1);
      box->text().Assign(kept.GetString());
    }
  }
  titles_stale_ = normal_stale_ = selected_stale_ = true;
}

void GameButton::Render() {
  if (look_ == kLookSelected)
    selected_stale_ = true;
  else
    normal_stale_ = true;
}

const wchar_t* GameButton::GetGameId() const {
  return game_id_.GetString();
}

Dib* GameButton::EnsurePicture(Dib** slot, int32_t width, int32_t height) {
  if (width < 1 || height < 1)
    return nullptr;
  if (*slot == nullptr)
    *slot = Dib::CreateBlank(width, height, 0);
  return *slot;
}

void GameButton::RenderTitles() {
  if (!titles_stale_)
    return;
  normal_text_.Render(1);
  over_text_.Render(1);
  selected_text_.Render(1);
  titles_stale_ = false;
}

const Dib* GameButton::Picture() {
  if (look_ == kLookSelected) {
    Dib* picture = EnsurePicture(&selected_picture_, selected_width_, selected_height_);
    if (picture != nullptr && selected_stale_) {
      RenderTitles();
      DrawSelected(picture);
      selected_stale_ = false;
    }
    return picture;
  }
  Dib* picture = EnsurePicture(&normal_picture_, width_, height_);
  if (picture != nullptr && normal_stale_) {
    RenderTitles();
    DrawNormal(picture);
    normal_stale_ = false;
  }
  return picture;
}

void GameButton::DrawNormal(Dib* picture) {
  RECT all = {0, 0, picture->width(), picture->height()};
  picture->FillRect(all, look_ == kLookHover ? back_over_colour_ : back_normal_colour_);
  if (small_icon_ != nullptr) {
    POINT at = {icon_.x, icon_.y};
    Dib::Draw(nullptr, &at, small_icon_, picture, 1);
  }
  if (state_icon_ != nullptr)
    state_icon_->Draw(picture, 1);
  const NTextBox& title = look_ == kLookHover ? over_text_ : normal_text_;
  title.Draw(picture);
  DrawBadges(picture, title);
  if (state_text_ != nullptr)
    state_text_->Draw(picture);
}

void GameButton::DrawBadges(Dib* picture, const NTextBox& title) {
  int32_t title_width = 0, title_height = 0;
  title.GetSize(&title_width, &title_height);
  int64_t x = static_cast<int64_t>(event_x_) + title.x + title_width;
  int32_t drawn = 0;
  for (int i = 0; i < 4 && drawn < event_max_; ++i) {
    if (badge_flags_[i] == 0 || badges_[i] == nullptr)
      continue;
    RECT source;
    Dib* frame = badges_[i]->GetFrame(&source);
    if (frame == nullptr)
      continue;
    // A long title pushes the badges out of the row: those past its edge are left out.
    if (x >= picture->width())
      break;
    POINT at = {static_cast<LONG>(x), event_y_};
    Dib::Draw(&source, &at, frame, picture, 1);
    x += event_offset_;
    ++drawn;
  }
}

void GameButton::DrawSelected(Dib* picture) {
  RECT all = {0, 0, picture->width(), picture->height()};
  picture->FillRect(all, back_selected_colour_);
  if (state_border_ != nullptr)
    state_border_->Draw(picture, 1);
  if (large_icon_ != nullptr) {
    POINT at = {selected_icon_.x, selected_icon_.y};
    Dib::Draw(nullptr, &at, large_icon_, picture, 1);
  }
  selected_text_.Draw(picture);
  if (arrow_ != nullptr)
    arrow_->Draw(picture, 1);
}
