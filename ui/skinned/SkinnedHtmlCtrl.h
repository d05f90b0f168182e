// SkinnedHtmlCtrl: the embedded web view (NHtmlCtrl) placed by its skin, a Skinned node (Skinned.h): creation
// registers for skin changes and loads the skin (a skin that does not load fails the creation), destruction
// unregisters, a skin change reloads unless the category forbids it.
//
// Skin: section "BROWSER", keys "x", "y", "width", "height" (default 0). A width or height below 1 fails the
// load; otherwise the view is moved and resized there (relative to its parent node).
//
// Destruction: the destructor destroys the view (unregistering) and releases the skin; a derived class that
// overrides OnDestroy calls Destroy in its own destructor.
//
// Thread: user-interface thread only; OLE initialised (CHtmlCtrl.h).
#pragma once

#include <cstdint>

#include "ui/browser/NHtmlCtrl.h"
#include "ui/skinned/Skinned.h"

class SkinnedHtmlCtrl : public Skinned<NHtmlCtrl> {
 public:
  SkinnedHtmlCtrl() = default;
  ~SkinnedHtmlCtrl() override;

  // The base load, then the BROWSER section; 1 when loaded.
  int LoadSkin() override;
};
