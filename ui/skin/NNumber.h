// NNumber: a version number drawn from digit images ('0' to '9' and an optional dot), left to right from
// (x, y), each glyph blended and followed by the next at its right edge. Any other character ends the
// drawing; a missing glyph image is skipped without moving the pen.
//
// Skin file "version_number.ini" (LoadSkinNumber), section NUMBER: x, y (0), image (the digit files'
// name, in which the first "%d" stands for the digit, replaced as text: the name is never a printf format),
// image_dot (the dot's file, optional).
//
// Ownership: the loader's caller owns the NNumber; it holds one reference on each of its Dibs.
// Thread: user-interface thread only.
#pragma once

#include <cstdint>
#include <string>

#include "ui/base/String.h"

class Dib;
class SkinLoader;

class NNumber {
 public:
  NNumber() = default;
  virtual ~NNumber();
  NNumber(const NNumber&) = delete;
  NNumber& operator=(const NNumber&) = delete;

  // Loads the image of `digit` (0..9; others refused) from `path`; 1 when it loaded.
  int LoadDigitImage(int32_t digit, const wchar_t* path);
  int LoadDotImage(const wchar_t* path);
  void SetText(const wchar_t* text) { text_.Assign(text); }
  const String& text() const { return text_; }
  void Draw(Dib* destination) const;

  void set_position(int32_t x, int32_t y) {
    x_ = x;
    y_ = y;
  }

 private:
  Dib* digits_[10] = {};
  Dib* dot_ = nullptr;
  int32_t x_ = 0;
  int32_t y_ = 0;
  String text_;
};

// The digit file name for `digit`: the first "%d" of `pattern` replaced by the digit, the rest as it is.
std::wstring DigitFileName(const wchar_t* pattern, int32_t digit);
// The number described by "version_number.ini" of `category`, or null when it or an image is missing.
NNumber* LoadSkinNumber(SkinLoader* category);
