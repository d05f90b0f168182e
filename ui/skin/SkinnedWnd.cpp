#include "ui/skin/SkinnedWnd.h"

SkinnedWnd::~SkinnedWnd() {
  Destroy();
  SkinnedWnd::ReleaseSkin();
}

int SkinnedWnd::LoadSkin() {
  return SkinnedCtrl::LoadSkin() && background_.Load(*this, *this);
}

void SkinnedWnd::ReleaseSkin() {
  background_.Release();
  SkinnedCtrl::ReleaseSkin();
}

SkinnedChildWnd::~SkinnedChildWnd() {
  Destroy();
  SkinnedChildWnd::ReleaseSkin();
}

int SkinnedChildWnd::LoadSkin() {
  return SkinnedCtrl::LoadSkin() && background_.Load(*this, *this);
}

void SkinnedChildWnd::ReleaseSkin() {
  background_.Release();
  SkinnedCtrl::ReleaseSkin();
}

SkinnedPopup::~SkinnedPopup() {
  Destroy();
  SkinnedPopup::ReleaseSkin();
}

int SkinnedPopup::LoadSkin() {
  return SkinnedCtrl::LoadSkin() && background_.Load(*this, *this);
}

void SkinnedPopup::ReleaseSkin() {
  background_.Release();
  SkinnedCtrl::ReleaseSkin();
}
