// Skinned<Base>: a window class `Base` (NWnd or one of its window hosts) joined to SkinnedCtrl, with the node
// hooks that every skinned window answers alike written once:
//   OnCreate  -> SkinnedCreate (register for skin changes, load the skin; a skin that does not load fails
//                the creation and unregisters at once);
//   OnDestroy -> SkinnedDestroy (unregister);
//   OnNotify  -> SkinnedNotify (NOTIFY_SKIN_CHANGED reloads unless the category forbids it; other codes are
//                not handled);
//   OnUpdate  -> Base's OnUpdate, then UpdateAt with the tick count.
// A class that answers one of them otherwise overrides it and calls this one for the skin's part.
//
// Destruction: as for any node that overrides OnDestroy, the most derived class calls Destroy (and releases
// its own skin) in its destructor: here the derived class's hooks are already gone.
//
// Thread: user-interface thread only.
#pragma once

#include <windows.h>

#include <cstdint>

#include "ui/skinned/SkinnedCtrl.h"

template <typename Base>
class Skinned : public Base, public SkinnedCtrl {
 public:
  int32_t OnCreate() override { return SkinnedCreate(this); }
  void OnDestroy() override { SkinnedDestroy(this); }
  int32_t OnNotify(int32_t code, intptr_t /*p1*/, intptr_t /*p2*/) override { return SkinnedNotify(code); }
  void OnUpdate() override {
    Base::OnUpdate();
    UpdateAt(GetTickCount());
  }

  // The frame pass at an explicit tick count (OnUpdate passes GetTickCount; tests inject their clock): a
  // control with animated skin images advances them here and repaints when a shown one turned. Nothing by
  // default.
  virtual void UpdateAt(uint32_t /*now*/) {}
};
