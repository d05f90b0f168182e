// One game's row in the game list: the game's id, title, badges and state, and its pictures in three looks
// (0 normal, 1 hover, 2 selected) made from the layout (GameButtonInfo) it was last given.
//
// Pictures are made when they are first asked for and drawn again only after a change (Render marks the
// picture stale; Picture draws it when it is stale): a button that is never shown, such as a game that is not
// installed, holds no picture and no rendered title, and an animation frame costs only the rows drawn.
//
// Ownership: the button owns its pictures, its three title boxes and one reference on each icon; it borrows
// the layout's state images, state text, badges and arrow (valid until the layout's next Load or Release,
// after which ApplyLayout must run again).
// Thread: user-interface thread only.
#pragma once

#include <cstdint>

#include "ui/base/String.h"
#include "ui/skin/NTextBox.h"

class Dib;
class GameButtonInfo;
class NImage;

class GameButton {
 public:
  enum Look : int32_t { kLookNormal = 0, kLookHover = 1, kLookSelected = 2 };

  GameButton() = default;
  virtual ~GameButton();
  GameButton(const GameButton&) = delete;
  GameButton& operator=(const GameButton&) = delete;

  // Stores the id, the title (the three title boxes' text, taken literally) and the badge flags; nothing
  // unless id and title are given.
  void Bind(const wchar_t* id,
            const wchar_t* title,
            int32_t event,
            int32_t hot,
            int32_t is_new,
            int32_t beta);
  // The small and large icon files; only the first call loads them. A missing or damaged file leaves no icon.
  void SetIcons(const wchar_t* small_icon, const wchar_t* large_icon);
  // Stores the state key, installed flag and badges; with a layout also looks up the state icon, border
  // (with the installed fallback) and state text. The picture becomes stale.
  void SetState(const wchar_t* state_key,
                const GameButtonInfo* layout,
                int32_t installed,
                int32_t event,
                int32_t hot,
                int32_t is_new,
                int32_t beta);
  // Takes the layout: title styles, picture sizes, colours, places and borrowed images; drops the pictures
  // (they are made again at their new size when next asked for).
  void ApplyLayout(const GameButtonInfo* layout);
  // Marks the picture of the current look stale: it is drawn again when next asked for.
  void Render();
  // The picture of the current look (the selected picture for look 2, else the normal one), drawn now when
  // stale; null when that look's width is below 1 or the picture cannot be made.
  const Dib* Picture();
  // Frees both pictures and the rendered titles (a button leaving the shown list).
  void ReleasePictures();
  const wchar_t* GetGameId() const;

  int32_t look() const { return look_; }
  void set_look(int32_t look) { look_ = look; }
  int32_t installed() const { return installed_; }
  const wchar_t* state_key() const { return state_key_.GetString(); }
  int32_t icons_loaded() const { return icons_loaded_; }
  // Whether a picture of either look is held (memory figures, tests).
  bool HoldsPictures() const { return normal_picture_ != nullptr || selected_picture_ != nullptr; }

 private:
  struct Place {
    int32_t x = 0;
    int32_t y = 0;
  };
  void LookUpStateImages(const GameButtonInfo* layout);
  Dib* EnsurePicture(Dib** slot, int32_t width, int32_t height);
  void RenderTitles();
  void DrawNormal(Dib* picture);
  void DrawSelected(Dib* picture);
  void DrawBadges(Dib* picture, const NTextBox& title);
  void ReleaseIcons();

  String game_id_;
  String title_;
  int32_t badge_flags_[4] = {};  // event, hot, new, beta
  String state_key_;
  int32_t installed_ = 0;
  int32_t look_ = kLookNormal;
  Dib* normal_picture_ = nullptr;
  Dib* selected_picture_ = nullptr;
  NTextBox normal_text_;
  NTextBox over_text_;
  NTextBox selected_text_;
  int32_t icons_loaded_ = 0;
  Dib* small_icon_ = nullptr;
  Dib* large_icon_ = nullptr;
  uint32_t back_normal_colour_ = 0;
  uint32_t back_over_colour_ = 0;
  uint32_t back_selected_colour_ = 0;
  Place icon_;
  Place selected_icon_;
  int32_t event_max_ = 0, event_x_ = 0, event_offset_ = 0, event_y_ = 0;
  int32_t width_ = 0, height_ = 0, selected_width_ = 0, selected_height_ = 0;
  NImage* state_icon_ = nullptr;
  NImage* state_border_ = nullptr;
  NTextBox* state_text_ = nullptr;
  NImage* badges_[4] = {};
  NImage* arrow_ = nullptr;
  bool titles_stale_ = true;
  bool normal_stale_ = true;
  bool selected_stale_ = true;
};
