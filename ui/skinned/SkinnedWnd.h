// The skinned windows that only paint a background: SkinnedWnd (a windowless panel), SkinnedChildWnd (a
// child window), SkinnedPopup (a pop-up window) from the BACK section of SkinBackground.h, and
// SkinnedDialog (a top-level dialog whose window shape comes from its background image, SkinnedDialog.h).
// Each is a Skinned node (Skinned.h); a failed skin load fails the creation.
//
// Destruction: each destroys itself (unregistering) and releases its skin in its destructor; a derived class
// that overrides OnDestroy calls Destroy in its own destructor.
//
// Thread: user-interface thread only.
#pragma once

#include <cstdint>

#include "ui/host/NChildWnd.h"
#include "ui/host/NPopup.h"
#include "ui/skinned/SkinBackground.h"
#include "ui/skinned/Skinned.h"
#include "ui/view/NWnd.h"

// The background-only skinned window over any node class: the panel, the child window and the pop-up differ
// only in the node they are.
template <typename Node>
class SkinnedBackgroundWindow : public Skinned<Node> {
 public:
  ~SkinnedBackgroundWindow() override {
    this->Destroy();
    SkinnedBackgroundWindow::ReleaseSkin();
  }
  int LoadSkin() override { return SkinnedCtrl::LoadSkin() && background_.Load(*this, *this); }
  void ReleaseSkin() override {
    background_.Release();
    SkinnedCtrl::ReleaseSkin();
  }
  void OnPaint(HDC /*dc*/, Dib* surface) override { background_.Paint(surface); }
  const SkinBackground& background() const { return background_; }

 protected:
  SkinBackground background_;
};

class SkinnedWnd : public SkinnedBackgroundWindow<NWnd> {};
class SkinnedChildWnd : public SkinnedBackgroundWindow<NChildWnd> {};
class SkinnedPopup : public SkinnedBackgroundWindow<NPopup> {};
