// Font sets: named sets of fonts, each font with an id and per-font letter and line gaps, loaded from a
// skin's font file and looked up by the text boxes that render with them. All sets live in one process-wide
// list; a set is never replaced in place (RemoveFontManager, then LoadSkinFonts again).
//
// Font file format (UTF-16LE ini):
//   [FONT]      count (0), colorkey_r, colorkey_g, colorkey_b (0 each; low 8 bits used): the number of fonts
//               (1 to kMaxFonts) and the background colour of rendered text
//   [FONT_<i>]  for i = 0 .. count - 1: id, size (0; the font height, unchanged), name (face), charset (0),
//               bold (0), italic (0), underline (0), gap_x (0; pixels after every character), gap_y (0;
//               pixels between lines). Missing keys take their defaults.
// Fonts are made without anti-aliasing (so the colour key stays exact); underline is drawn by the text box,
// not by the font.
//
// Thread: user-interface thread only.
#pragma once

#include <windows.h>

#include <cstdint>

#include "ui/base/String.h"
#include "ui/base/TLinkedList.h"

class IniContainer;

// What a lookup hands out.
struct FontInfo {
  HFONT font = nullptr;
  int32_t italic = 0;
  int32_t underline = 0;
  int32_t gap_x = 0;
  int32_t gap_y = 0;
};

class NFontManager {
 public:
  // A font file may describe at most this many fonts (each one is a GDI object).
  static const int32_t kMaxFonts = 256;

  NFontManager() = default;
  virtual ~NFontManager();
  NFontManager(const NFontManager&) = delete;
  NFontManager& operator=(const NFontManager&) = delete;

  // Replaces the entries with `count` empty ones; 0 when count is outside 1..kMaxFonts or memory ran out.
  int Allocate(int32_t count);
  // Fills entry `index` (out of range: nothing), destroying the font it held.
  void SetFont(int32_t index,
               int32_t bold,
               const wchar_t* id,
               int32_t size,
               int32_t italic,
               int32_t underline,
               int32_t charset,
               const wchar_t* face,
               int32_t gap_x,
               int32_t gap_y);
  // 1 with the entry's font info; 0 for an index out of range.
  int GetFontAt(int32_t index, FontInfo* out) const;
  // 1 with the font info of the first entry whose id equals `id` exactly; 0 when none.
  int FindFont(const wchar_t* id, FontInfo* out) const;
  // Destroys every font and frees the entries.
  void Clear();

  String& name() { return name_; }
  int32_t count() const { return count_; }
  uint32_t color_key() const { return color_key_; }
  void set_color_key(uint32_t key) { color_key_ = key; }

 private:
  struct Entry {
    String id;
    HFONT font = nullptr;
    FontInfo info;
  };

  String name_;
  Entry* entries_ = nullptr;
  int32_t count_ = 0;
  uint32_t color_key_ = 0;
};

// Makes the set `name` from the FONT sections of `ini`. 1 when a new set was made; 0 when the name is null,
// a set of that name exists (it is kept), or count is outside 1..kMaxFonts.
int LoadSkinFonts(const wchar_t* name, IniContainer* ini);
// The first set named `name` exactly, or null.
NFontManager* FindFontManager(const wchar_t* name);
// Deletes the set named `name` (its fonts are destroyed); nothing when there is none.
void RemoveFontManager(const wchar_t* name);
// Deletes every set (shutdown, tests).
void RemoveAllFontManagers();
