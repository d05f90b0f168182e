// UpdateServerSelectScrollBar: the server list's scroll bar, drawn from the images of its skin section:
// thumb, decrease arrow and increase arrow, each with a position and a normal, over, down and disabled image.
// The disabled bar takes every disabled image; otherwise the part that is pressed takes its down image, or
// the part under the pointer its over image, and the others their normal one. The thumb is drawn at its
// current offset along the bar ("thumb_x" across a vertical bar, "thumb_y" across a horizontal one).
//
// Section keys: "x", "y", "width", "height", "button_size", "thumb_size", "vertical", "thumb_x", "thumb_y",
// "image_thumb_*", "dec_x", "dec_y", "image_dec_*", "inc_x", "inc_y", "image_inc_*" (* = normal, over, down,
// disabled). The scrolling model is NScrollBar's.
//
// Thread: user-interface thread only.
#pragma once

#include <cstdint>
#include <string>

#include "ui/controls/NScrollBar.h"

class Dib;
class IniContainer;

class UpdateServerSelectScrollBar : public NScrollBar {
 public:
  enum Look : int32_t { kNormal = 0, kOver = 1, kDown = 2, kDisabled = 3 };

  ~UpdateServerSelectScrollBar() override;

  // Creates the bar under `parent` from the section (sizes above 0 required) and sets it up with `page` of
  // `range` rows. True when created.
  bool CreateFromSkin(IniContainer* ini,
                      const std::wstring& folder,
                      int32_t id,
                      NWnd* parent,
                      int32_t page,
                      int32_t range);
  // Moves to `position` (kept within 0..range - page) without a notification.
  void SetPosition(int32_t position);
  void OnPaint(HDC dc, Dib* surface) override;

  // The look of `part` (kDecrement, kIncrement, kThumb) for the bar's state: enabled, the part pressed, the
  // part under the pointer.
  static Look LookOf(int32_t part, bool enabled, int32_t pressed_part, int32_t hovered_part);

 private:
  struct PartImages {
    int32_t x = 0, y = 0;
    Dib* images[4] = {};
  };
  void ReleaseImages();

  PartImages thumb_, decrease_, increase_;
  int32_t thumb_x_ = 0, thumb_y_ = 0;
};
