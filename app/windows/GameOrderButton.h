// GameOrderButton: one row of the game-order list (GameOrderList.h), not a window: the game's id, the row
// image the list paints it into, and the game title in the three looks of a row (normal, pointer over it,
// selected), each an NTextBox of its own.
//
// Ownership: owns its text boxes and one reference on its row image. Thread: user-interface thread only.
#pragma once

#include <cstdint>

#include "ui/base/String.h"

class Dib;
class NTextBox;

class GameOrderButton {
 public:
  enum Look : int32_t { kNormal = 0, kOver = 1, kSelected = 2 };
  static const int32_t kLooks = 3;

  GameOrderButton() = default;
  // Deletes the text boxes and gives the row image's reference back.
  virtual ~GameOrderButton();
  GameOrderButton(const GameOrderButton&) = delete;
  GameOrderButton& operator=(const GameOrderButton&) = delete;

  // Resizes the row image to `width` x `height`, or makes one when there is none and the width is above 0.
  // A width or height below 1 gives the image back (the row then draws nothing).
  void FitImage(int32_t width, int32_t height);
  // The text box of `look`, made when missing; null for a look outside 0..2.
  NTextBox* EnsureText(int32_t look);

  String& game_id() { return game_id_; }
  const String& game_id() const { return game_id_; }
  Dib* image() const { return image_; }
  NTextBox* text(int32_t look) const { return look >= 0 && look < kLooks ? texts_[look] : nullptr; }

 private:
  String game_id_;
  Dib* image_ = nullptr;
  NTextBox* texts_[kLooks] = {};
};
