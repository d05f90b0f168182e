// UpdateServerSelectButton: a button of the server-selection dialog, drawn from four images of its skin
// section ("x", "y", "width", "height", "image_normal", "image_over", "image_down", "image_disabled"); the
// state logic and the click notification (NOTIFY_CLICKED with its id) are NButton's.
//
// Thread: user-interface thread only.
#pragma once

#include <cstdint>
#include <string>

#include "ui/controls/NButton.h"

class Dib;
class IniContainer;

class UpdateServerSelectButton : public NButton {
 public:
  ~UpdateServerSelectButton() override;

  // Reads the section; only when both sizes are above 0 are the images loaded from `folder` and the button
  // created under `parent` with `id` and shown. True when it was placed.
  bool CreateFromSkin(IniContainer* ini,
                      const wchar_t* section,
                      const std::wstring& folder,
                      int32_t id,
                      NWnd* parent);
  void OnPaint(HDC dc, Dib* surface) override;

 private:
  void ReleaseImages();
  Dib* images_[4] = {};  // normal, over, down, disabled
};

// An image of a skin folder (loaded as a DIB section so GDI can copy from it); null for an empty name, a name
// that would leave the folder (JoinUnderRoot, base/RelativeName.h), a path of 260 characters or more, or a
// file that cannot be read.
Dib* LoadServerSelectImage(const std::wstring& folder, const wchar_t* name);
