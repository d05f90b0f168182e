// SkinnedPopupMenu: a context menu drawn entirely from its skin, a pop-up of seven rows, each a command with
// a text that is shown or hidden, enabled or disabled. The program keeps one for the whole process
// (ProcessPopups.h); its user fills the rows and opens it, and hears the choice through a callback.
//
// Use: SetSkin, ResetItems (callback), CreatePopup (the skin loads; the menu starts hidden), SetItem /
// ShowItem / EnableItem, UpdateSize, Move, then Show (1, 1): the menu must be shown activated, since losing
// the keyboard focus is what closes it when the user clicks elsewhere.
//
// Each opening reports exactly once, after the menu has hidden itself: the command id of an enabled row
// released on with either button, or 0 for a release over the border or outside, and for a focus loss. A
// disabled row, when clicked, does nothing and the menu stays open. (Hiding the focused menu makes it lose
// the focus; that loss is not a second report.)
//
// Sections: MENU: menu_item_width, menu_item_height (both at least 1, or the skin fails to load),
// border_size (negative acts as 0), border_color_r/g/b, back_normal_color_r/g/b, back_over_color_r/g/b,
// back_disabled_color_r/g/b (0 each, low 8 bits); MENU_ITEM_NORMAL, MENU_ITEM_OVER, MENU_ITEM_DISABLED: the
// text box keys of NTextBox.h for the row label in each look (fonts from the set named after the category
// id).
//
// Painting: the surface is filled with the border colour; each shown row, in index order from the top
// border down, is painted into its own row image (its look's back colour and text box) and blended onto the
// surface. Hidden rows take no line and are not painted.
//
// Thread: user-interface thread only; the callback runs on it, inside the mouse or focus handler.
#pragma once

#include <windows.h>

#include <cstdint>
#include <memory>

#include "ui/base/String.h"
#include "ui/host/NPopup.h"
#include "ui/skinned/Skinned.h"

class Dib;
class IniContainer;
class NTextBox;

class SkinnedPopupMenu : public Skinned<NPopup> {
 public:
  // Receives the chosen command id, or 0 when the menu closed without a choice.
  using Callback = void (*)(uint32_t command_id);

  static const int32_t kItemCount = 7;
  enum Look { kNormal = 0, kOver = 1, kDisabled = 2 };

  // One row.
  class PopupMenuItem {
   public:
    PopupMenuItem() = default;
    // Gives the row image back and deletes the text boxes.
    virtual ~PopupMenuItem();
    PopupMenuItem(const PopupMenuItem&) = delete;
    PopupMenuItem& operator=(const PopupMenuItem&) = delete;

    // Sets the text of every text box there is and renders it.
    void RenderText();
    // Resizes (or makes) the row image and replaces the three text boxes from the skin.
    void LoadSkin(IniContainer* ini, const wchar_t* font_set, int32_t width, int32_t height);
    void ReleaseTextBoxes();
    // Paints the row in `look` into its image.
    void Paint(Look look, uint32_t back_colour);

    uint32_t command_id = 0;
    int32_t shown = 1;
    int32_t enabled = 1;
    String text;
    Dib* image = nullptr;
    std::unique_ptr<NTextBox> text_boxes[3];
  };

  SkinnedPopupMenu() = default;
  ~SkinnedPopupMenu() override;

  // Replaces the rows with seven fresh ones (shown, enabled, id 0, no text) and takes `callback` (may be
  // null). The skin is to be loaded again afterwards to give the rows their images and text boxes.
  void ResetItems(Callback callback);
  // Gives row `index` its command id and text; ignored without rows, for an index out of range or id 0.
  void SetItem(uint32_t command_id, int32_t index, const wchar_t* text);
  // Shows (any non-zero) or hides the first row with `command_id`; nothing when no row has it.
  void ShowItem(uint32_t command_id, int32_t show);
  // Enables (any non-zero) or disables the first row with `command_id`; nothing when no row has it.
  void EnableItem(uint32_t command_id, int32_t enable);
  // Sizes the pop-up to the row width and the shown rows, plus the border on every side.
  void UpdateSize();

  // SkinnedCtrl.
  int LoadSkin() override;
  void ReleaseSkin() override;

  // NWnd.
  void OnShow(int32_t show) override;
  void OnPaint(HDC dc, Dib* surface) override;
  void OnMouseMove(int32_t x, int32_t y) override;
  void OnMouseLeave() override;
  void OnLButtonUp(int32_t x, int32_t y) override;
  void OnRButtonUp(int32_t x, int32_t y) override;
  // NPopup.
  void OnKillFocus() override;
  // The menu is never dragged.
  LRESULT HitTestCaption(int32_t x, int32_t y) override;

  int32_t item_width() const { return item_width_; }
  int32_t item_height() const { return item_height_; }
  int32_t border_size() const { return border_size_; }
  uint32_t border_colour() const { return border_colour_; }
  uint32_t back_colour(Look look) const { return back_colours_[look]; }
  int32_t item_count() const { return item_count_; }
  int32_t shown_count() const { return shown_count_; }
  int32_t hovered() const { return hovered_; }
  const PopupMenuItem* item(int32_t index) const;

 private:
  PopupMenuItem* FindItem(uint32_t command_id);
  void SetHovered(int32_t index);
  void Choose();
  // Hides the menu and reports `command_id`, once per opening.
  void Close(uint32_t command_id);

  int32_t item_width_ = 0;
  int32_t item_height_ = 0;
  int32_t border_size_ = 0;
  uint32_t border_colour_ = 0;
  uint32_t back_colours_[3] = {0, 0, 0};
  Callback callback_ = nullptr;
  int32_t item_count_ = 0;
  int32_t shown_count_ = 0;
  std::unique_ptr<PopupMenuItem[]> items_;
  int32_t hovered_ = -1;
  // Set when the menu is shown, cleared by its one report.
  int32_t report_pending_ = 0;
};
