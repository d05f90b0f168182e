// SkinnedDialog: a top-level dialog (NDialog) whose size and window shape come from its skin's background
// image. Section BACK: width, height (0 each; at least 1), back (an image file of the category, required),
// colorkey_r/g/b (0 each, low 8 bits used). The window takes the size, and its region leaves out every pixel
// of the key colour and every fully transparent pixel of the image. OnSkinLoaded runs once more after BACK
// was read. The dialog takes no position from its skin. Painting copies the image at (0, 0).
//
// Thread: user-interface thread only.
#pragma once

#include <cstdint>

#include "ui/host/NDialog.h"
#include "ui/skinned/Skinned.h"

class Dib;

class SkinnedDialog : public Skinned<NDialog> {
 public:
  ~SkinnedDialog() override;
  int LoadSkin() override;
  void ReleaseSkin() override;
  void OnPaint(HDC dc, Dib* surface) override;
  Dib* back_image() const { return back_image_; }

 protected:
  Dib* back_image_ = nullptr;
};
