// The look of every game button, read from the game list's control ini "game_button_info": the row and
// selected-row geometry, the separator line, the three back colours, the title's three text styles, the
// per-state icons, borders and texts, the four badges and the selected row's arrow.
//
// Ini format (UTF-16LE), every integer defaulting to 0:
//   [BUTTON_INFO]  max_game_count, min_installed_game_count, max_installed_game_count,
//                  limit_not_installed_game_count (stored only); x, y, width, height; selected_x, selected_y,
//                  selected_top_y, selected_bottom_y, selected_width, selected_height; line_x, line_y,
//                  line_width, line_height, line_color_r/g/b; back_normal_color_r/g/b,
//                  back_over_color_r/g/b, back_selected_color_r/g/b; game_icon_x, game_icon_y,
//                  selected_game_icon_x, selected_game_icon_y; event_max, event_x, event_offset, event_y;
//                  state_icon_count, state_icon_x, state_icon_y; state_border_count, state_border_x,
//                  state_border_y; state_text_count, state_text_x, state_text_y, state_text_align;
//                  <badge>_image_id or <badge>_image for badge event, hot, new, beta; arrow_image_id or
//                  arrow_image, arrow_x, arrow_y
//   [STATE_ICON_<i>], [STATE_BORDER_<i>]  id (a state key, GameStateKey), image_id or image
//   [STATE_TEXT_<i>]                      id, and the text box keys of NTextBox.h
//   [GAME_TEXT_NORMAL], [GAME_TEXT_OVER], [GAME_TEXT_SELECTED]  font_id (required), text_x, text_y,
//                  text_align, text_color_r/g/b
// Colour components keep their low 8 bits. A count below 1 gives no entries; counts above kMaxStateEntries
// are cut to it (a skin cannot make the launcher allocate without bound).
//
// Ownership: the layout owns its images and text boxes; game buttons borrow them until the next Load or
// Release, after which every button must be given the layout again (GameButtonList::ApplyLayoutToAll).
// Thread: user-interface thread only.
#pragma once

#include <windows.h>

#include <cstdint>

#include "ui/base/String.h"

class IniContainer;
class NImage;
class NTextBox;
class SkinLoader;

// The key of a game state (IGameInfo::GetState) that state icons, borders and texts are looked up by.
const wchar_t* GameStateKey(int32_t state);

// A skin colour: 0xFF000000 | r << 16 | g << 8 | b from "<prefix>_r/_g/_b", low 8 bits of each.
uint32_t ReadSkinSurfaceColour(IniContainer* ini, const wchar_t* section, const wchar_t* prefix);

// One of the title's three styles.
class GameTextInfo {
 public:
  virtual ~GameTextInfo() = default;
  // Reads the style from `section`; 0 when an argument is null or "font_id" is missing.
  int Load(IniContainer* ini, const wchar_t* section, const wchar_t* font_set);
  // Back to the defaults (no font).
  void Clear();
  // Gives `box` this style's font, place, alignment and colour (no render).
  void ApplyTo(NTextBox* box) const;

  int32_t text_x = 0;
  int32_t text_y = 0;
  int32_t text_align = 0;
  COLORREF text_colour = 0xFFFFFF;
  String font_id;
  String font_set;
};

class GameStateImage {
 public:
  virtual ~GameStateImage();
  String id;
  NImage* image = nullptr;  // owned
};

class GameStateText {
 public:
  virtual ~GameStateText();
  String id;
  NTextBox* text = nullptr;  // owned
};

class GameButtonInfo {
 public:
  static constexpr int32_t kMaxStateEntries = 64;

  GameButtonInfo() = default;
  virtual ~GameButtonInfo();
  GameButtonInfo(const GameButtonInfo&) = delete;
  GameButtonInfo& operator=(const GameButtonInfo&) = delete;

  // Replaces the layout with the one of `ini`; images come from `category`, text boxes use the font set
  // `font_set`. 0 when an argument is null or a title style fails to load (what was read stays).
  int Load(IniContainer* ini, SkinLoader* category, const wchar_t* font_set);
  // Deletes every image and text box; all values back to 0, colours to 0xFF000000.
  void Release();
  // Advances every state icon and border to the tick count `now`; 1 when any frame changed.
  int TickImages(uint32_t now);
  int TickImages();

  // The first entry whose id equals `key`, or null.
  NImage* FindStateIcon(const wchar_t* key) const;
  NImage* FindStateBorder(const wchar_t* key) const;
  NTextBox* FindStateText(const wchar_t* key) const;
  // The border of `key`, else of "state_need_update" (installed) or "state_not_installed".
  NImage* FindStateBorderWithFallback(const wchar_t* key, int32_t installed) const;
  // The row slot's height: height + line y + line height.
  int32_t RowPitch() const { return height + line_y + line_height; }

  int32_t max_game_count = 0;
  int32_t min_installed_game_count = 0;
  int32_t max_installed_game_count = 0;
  int32_t limit_not_installed_game_count = 0;
  int32_t x = 0, y = 0, width = 0, height = 0;
  int32_t selected_x = 0, selected_y = 0, selected_top_y = 0, selected_bottom_y = 0;
  int32_t selected_width = 0, selected_height = 0;
  int32_t line_x = 0, line_y = 0, line_width = 0, line_height = 0;
  uint32_t line_colour = 0xFF000000;
  uint32_t back_normal_colour = 0xFF000000;
  uint32_t back_over_colour = 0xFF000000;
  uint32_t back_selected_colour = 0xFF000000;
  int32_t game_icon_x = 0, game_icon_y = 0;
  int32_t selected_game_icon_x = 0, selected_game_icon_y = 0;
  int32_t event_max = 0, event_x = 0, event_offset = 0, event_y = 0;
  GameTextInfo text_normal;
  GameTextInfo text_over;
  GameTextInfo text_selected;
  int32_t state_icon_count = 0;
  GameStateImage* state_icons = nullptr;
  int32_t state_border_count = 0;
  GameStateImage* state_borders = nullptr;
  int32_t state_text_count = 0;
  GameStateText* state_texts = nullptr;
  NImage* badges[4] = {};  // event, hot, new, beta
  NImage* arrow = nullptr;

 private:
  void ReadIntegers(IniContainer* ini);
  void LoadImages(IniContainer* ini,
                  SkinLoader* category,
                  const wchar_t* kind,
                  const wchar_t* section_format,
                  int32_t* count,
                  GameStateImage** entries);
  void LoadTexts(IniContainer* ini, const wchar_t* font_set);
};
