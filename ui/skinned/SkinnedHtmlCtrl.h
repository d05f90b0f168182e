// SkinnedHtmlCtrl: the embedded web view (NHtmlCtrl) placed by its skin, following the mix-in pattern of
// SkinnedCtrl.h: creation registers for skin changes and loads the skin (a skin that does not load fails the
// creation), destruction unregisters, a skin change reloads unless the category forbids it.
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
#include "ui/skinned/SkinnedCtrl.h"

class SkinnedHtmlCtrl : public NHtmlCtrl, public SkinnedCtrl {
 public:
  SkinnedHtmlCtrl() = default;
  ~SkinnedHtmlCtrl() override;

  int32_t OnCreate() override { return SkinnedCreate(this); }
  void OnDestroy() override { SkinnedDestroy(this); }
  int32_t OnNotify(int32_t code, intptr_t, intptr_t) override { return SkinnedNotify(code); }
  // The base load, then the BROWSER section; 1 when loaded.
  int LoadSkin() override;
};
