// NTextBox: a text rendered once with a skin font into its own image, and copied wherever it is drawn,
// anchored at (x, y) by one of nine alignments. The image's background is the font set's colour key, which
// makes it transparent when the image is copied.
//
// Layout (LayOutText, a pure function): unless `literal`, a line feed or the two characters backslash and
// 'n' break the line. Characters are measured and written one at a time so that the font's letter gap
// (gap_x) follows each; a line is as wide as its characters and gaps less the last gap, as high as its
// tallest character (0 when empty); lines are gap_y apart. An italic font widens the block by the first
// character's width. An underlined font gets a 1-pixel line in the text colour along the last row of each
// line, from x 0 to the end of the line.
//
// Alignment (TextBoxCorner) of a w x h image at the anchor (x, y), halves rounded down:
//   0, 1 and any value outside 2..9: (x, y)   2: (x - w/2, y)       3: (x - w, y)
//   4: (x, y - h/2)                            5: (x - w/2, y - h/2) 6: (x - w, y - h/2)
//   7: (x, y - h)                              8: (x - w/2, y - h)   9: (x - w, y - h)
//
// Skin keys of a control's section (LoadSkinTextBox): font_id (required), text, text_x, text_y, text_align
// (0 each), text_color_r/g/b (0 each), text_disabled_color_r/g/b (each defaulting to the text colour's);
// colour values keep their low 8 bits.
//
// Ownership: owned by the control that loaded it; it owns its rendered image.
// Thread: user-interface thread only.
#pragma once

#include <windows.h>

#include <cstdint>
#include <functional>

#include "ui/base/String.h"

class Dib;
class IniContainer;

struct GlyphExtent {
  int32_t cx = 0;
  int32_t cy = 0;
};
struct TextBlockSize {
  int32_t width = 0;
  int32_t height = 0;
};

// Lays out `text`: `measure` gives each character's extent; `place` (optional) receives each character with
// its top-left corner; `line_end` (optional) receives each line's top, height and the pen's x at its end.
TextBlockSize LayOutText(const wchar_t* text,
                         bool literal,
                         int32_t gap_x,
                         int32_t gap_y,
                         bool italic,
                         const std::function<GlyphExtent(wchar_t)>& measure,
                         const std::function<void(wchar_t, int32_t, int32_t)>& place,
                         const std::function<void(int32_t, int32_t, int32_t)>& line_end);
// The top-left corner of a `width` x `height` image anchored at (x, y) with `align`.
POINT TextBoxCorner(int32_t align, int32_t x, int32_t y, int32_t width, int32_t height);

class NTextBox {
 public:
  NTextBox() = default;
  virtual ~NTextBox();
  NTextBox(const NTextBox&) = delete;
  NTextBox& operator=(const NTextBox&) = delete;

  // Looks the font up by `font_id` in the set `font_set` from now on (no re-render).
  void SetFont(const wchar_t* font_id, const wchar_t* font_set);
  // Renders the text in the enabled or disabled colour, replacing the image; no image when the text is empty
  // or the font set or font is missing.
  void Render(int32_t enabled);
  // Copies the image (without blending: only the key colour is left out) at the aligned corner.
  void Draw(Dib* destination) const;
  // The rendered image's size; 0 x 0 without one.
  void GetSize(int32_t* width, int32_t* height) const;

  // The text; a caller sets it (clearing literal, or setting it for text whose breaks are to be drawn) and
  // renders again.
  String& text() { return text_; }
  int32_t literal = 0;
  int32_t x = 0;
  int32_t y = 0;
  int32_t align = 0;
  COLORREF text_colour = 0xFFFFFF;
  COLORREF disabled_colour = 0xFFFFFF;
  int32_t by_index = 1;
  int32_t font_index = 0;
  const Dib* rendered() const { return rendered_; }

 private:
  Dib* rendered_ = nullptr;
  String text_;
  String font_id_;
  String font_set_;
};

// A text box from `section` of `ini` with fonts of the set `font_set`, rendered when the section gives a
// text; null when an argument or "font_id" is missing.
NTextBox* LoadSkinTextBox(IniContainer* ini, const wchar_t* section, const wchar_t* font_set);
