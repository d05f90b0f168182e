// NWnd: creation, the tree, geometry, the per-frame update and painting. The input dispatch is in
// NWndDispatch.cpp.
#include "ui/view/NWnd.h"

#include "ui/gfx/Dib.h"
#include "ui/view/ListSnapshot.h"
#include "ui/view/NativeWindow.h"

NWnd::~NWnd() {
  if (created_)
    NWnd::Destroy();
  // Children listed under a parent that was never created are not destroyed by it; they must not keep a
  // pointer to it.
  for (TPLinkedList<NWnd>::Node* node = children_.head(); node != nullptr; node = node->next) {
    if (node->item != nullptr && node->item->parent_ == this)
      node->item->parent_ = nullptr;
  }
  children_.RemoveAll();
}

int32_t NWnd::Create(int32_t x, int32_t y, int32_t width, int32_t height, int32_t id, NWnd* parent) {
  if (created_)
    return 0;
  if (surface_ != nullptr) {
    if (!surface_->Resize(width, height))
      return 0;
  } else {
    if (width < 1)
      return 0;
    surface_ = Dib::CreateBlank(width, height, GetNativeWindow() != nullptr);
    if (surface_ == nullptr)
      return 0;
  }
  id_ = id;
  width_ = width;
  height_ = height;
  if (parent != nullptr) {
    x_ = x;
    y_ = y;
    parent_ = parent;
    AddToParent();
  } else {
    x_ = y_ = 0;
  }
  created_ = 1;
  dirty_ = 1;
  return OnCreate();
}

void NWnd::Destroy() {
  if (!created_)
    return;
  if (Contains(GetPressedNode()))
    ClearPressedNode();
  OnDestroy();
  // Always the head: each child unlinks itself, and a hook may destroy or add siblings on the way.
  while (children_.head() != nullptr) {
    TPLinkedList<NWnd>::Node* head = children_.head();
    NWnd* child = head->item;
    if (child != nullptr)
      child->Destroy();
    // A child that stayed listed (not created, or an override that did not destroy it) is let go here, so
    // the loop always ends.
    if (children_.head() == head) {
      children_.Unlink(head);
      delete head;
      ++children_changes_;
      if (child != nullptr && child->parent_ == this)
        child->parent_ = nullptr;
    }
  }
  RemoveFromParent();
  if (surface_ != nullptr)
    surface_->Release();
  surface_ = nullptr;
  created_ = 0;
  // A node created again starts outside the mouse, so it is entered afresh.
  hover_ = 0;
  last_mouse_x_ = last_mouse_y_ = -1;
}

void NWnd::AddToParent() {
  if (parent_ == nullptr)
    return;
  parent_->children_.AddTail(this);
  ++parent_->children_changes_;
}

void NWnd::RemoveFromParent() {
  if (parent_ != nullptr) {
    TPLinkedList<NWnd>& siblings = parent_->children_;
    for (TPLinkedList<NWnd>::Node* node = siblings.tail(); node != nullptr; node = node->prev) {
      if (node->item == this) {
        siblings.Unlink(node);
        delete node;
        ++parent_->children_changes_;
        break;
      }
    }
  }
  parent_ = nullptr;
}

bool NWnd::Contains(const NWnd* node) const {
  for (; node != nullptr; node = node->parent_) {
    if (node == this)
      return true;
  }
  return false;
}

void NWnd::Show(int32_t show, int32_t /*activate*/) {
  if (!created_)
    return;
  if (show_echo_) {
    show_echo_ = 0;
    OnShow(show);
    return;
  }
  int32_t visible = show ? 1 : 0;
  if (visible == visible_)
    return;
  visible_ = visible;
  OnShow(show);
  if (visible)
    EnterIfUnderRestingMouse();
  else if (GetPressedNode() == this)
    ClearPressedNode();
  Invalidate();
}

void NWnd::EnterIfUnderRestingMouse() {
  if (parent_ == nullptr)
    return;
  int32_t x = parent_->last_mouse_x_;
  int32_t y = parent_->last_mouse_y_;
  if (parent_->PointToDescendant(this, &x, &y, 1))
    DispatchMouseMove(x, y, nullptr);
}

void NWnd::Enable(int32_t enable) {
  if (!created_ || enable == enabled_)
    return;
  enabled_ = enable;
  OnEnable(enable);
  Invalidate();
}

void NWnd::Fill(uint32_t pixel) {
  if (!created_ || surface_ == nullptr || surface_->pixels() == nullptr)
    return;
  surface_->FillRect(RECT{0, 0, surface_->width(), surface_->height()}, pixel);
}

void NWnd::Move(int32_t x, int32_t y) {
  if (!created_)
    return;
  x_ = x;
  y_ = y;
  ListSnapshot<NWnd> children(children_, children_changes_);
  while (NWnd* child = children.Next()) {
    if (child->IsTopLevel())
      continue;
    POINT position;
    child->GetPos(&position);
    child->Move(position.x, position.y);
  }
  OnMove();
  EnterIfUnderRestingMouse();
  Invalidate();
}

void NWnd::Resize(int32_t width, int32_t height) {
  if (!created_ || surface_ == nullptr)
    return;
  width_ = width;
  height_ = height;
  surface_->Resize(width, height);
  OnSize();
  EnterIfUnderRestingMouse();
  Invalidate();
}

void NWnd::GetScreenPos(POINT* out) {
  if (out == nullptr)
    return;
  *out = POINT{0, 0};
  if (!created_)
    return;
  if (parent_ != nullptr && !IsTopLevel())
    parent_->GetScreenPos(out);
  out->x += x_;
  out->y += y_;
}

POINT* NWnd::GetPos(POINT* out) {
  if (out != nullptr)
    *out = created_ ? POINT{x_, y_} : POINT{0, 0};
  return out;
}

SIZE* NWnd::GetSize(SIZE* out) {
  if (out != nullptr)
    *out = created_ ? SIZE{width_, height_} : SIZE{0, 0};
  return out;
}

void NWnd::Invalidate() {
  if (!created_)
    return;
  dirty_ = 1;
  if (NativeWindow* window = GetNativeWindow())
    window->InvalidateWindow();
  else if (parent_ != nullptr)
    parent_->Invalidate();
}

int32_t NWnd::NeedsRedraw() {
  if (!created_ || !visible_)
    return 0;
  int32_t needed = dirty_;
  for (TPLinkedList<NWnd>::Node* node = children_.head(); node != nullptr; node = node->next) {
    if (!node->item->HasOwnWindow() && node->item->NeedsRedraw())
      needed = 1;
  }
  return needed;
}

HWND NWnd::GetHwnd() {
  NativeWindow* window = GetNativeWindow();
  return window != nullptr ? window->GetWindowHandle() : nullptr;
}

int32_t NWnd::IsTopLevel() {
  return 0;
}

int32_t NWnd::BlendChildren() {
  return 1;
}

void NWnd::Update() {
  if (!created_ || updating_)
    return;
  updating_ = 1;
  NativeWindow* window = GetNativeWindow();
  if (window != nullptr && visible_) {
    bool ancestors_visible = AncestorsVisible() != 0;
    bool window_shown = window->IsWindowShown();
    if (window_shown != ancestors_visible) {
      show_echo_ = 1;
      window->ShowWindowEcho(ancestors_visible);
      // The show message comes back inside the call; should none come, the flag must not swallow the next
      // real Show.
      show_echo_ = 0;
    }
  }
  OnUpdate();
  ListSnapshot<NWnd> children(children_, children_changes_);
  while (NWnd* child = children.Next()) {
    if (!child->IsTopLevel())
      child->Update();
  }
  updating_ = 0;
}

int32_t NWnd::Draw(HDC dc, Dib* target, int32_t blend) {
  if (!created_)
    return 0;
  if (!visible_)
    return 1;
  OnPaint(dc, surface_);
  int32_t blend_children = BlendChildren();
  ListSnapshot<NWnd> children(children_, children_changes_);
  while (NWnd* child = children.Next()) {
    if (!child->HasOwnWindow())
      child->Draw(dc, surface_, blend_children);
  }
  if (surface_ != nullptr) {
    if (target != nullptr) {
      // The node's size, never more than the surface holds.
      RECT whole = {0, 0, width_ < surface_->width() ? width_ : surface_->width(),
                    height_ < surface_->height() ? height_ : surface_->height()};
      if (whole.right < 0)
        whole.right = 0;
      if (whole.bottom < 0)
        whole.bottom = 0;
      POINT at = {x_, y_};
      Dib::Draw(&whole, &at, surface_, target, blend);
    } else {
      surface_->DrawToDC(nullptr, dc);
    }
  }
  dirty_ = 0;
  return 1;
}

void NWnd::SetActive(int32_t active) {
  if (!created_)
    return;
  active_ = active;
  if (!active && GetPressedNode() == this)
    ClearPressedNode();
  ListSnapshot<NWnd> children(children_, children_changes_);
  while (NWnd* child = children.Next())
    child->SetActive(active);
}

void NWnd::SetFocus() {
  if (!created_)
    return;
  if (NativeWindow* window = GetNativeWindow())
    window->TakeKeyboardFocus();
  else if (parent_ != nullptr)
    parent_->SetFocus();
}

int32_t NWnd::PreTranslateMessage(HWND /*window*/, MSG* /*message*/) {
  return 0;
}

NativeWindow* NWnd::GetNativeWindow() {
  return nullptr;
}

int32_t NWnd::AncestorsVisible() {
  if (!created_)
    return 0;
  for (NWnd* node = parent_; node != nullptr; node = node->parent_) {
    if (!node->visible_)
      return 0;
    if (node->IsTopLevel())
      return 1;
  }
  return 1;
}

HWND NWnd::GetHostWindow(NWnd* start, POINT* offset, NWnd* fallback) {
  if (offset == nullptr)
    return nullptr;
  *offset = POINT{0, 0};
  NWnd* node = start != nullptr ? start : (fallback != nullptr ? fallback->parent_ : nullptr);
  POINT sum = {0, 0};
  for (; node != nullptr; node = node->parent_) {
    if (HWND window = node->GetHwnd()) {
      *offset = sum;
      return window;
    }
    POINT position;
    node->GetPos(&position);
    sum.x += position.x;
    sum.y += position.y;
  }
  return nullptr;
}

NWnd* NWnd::FindByHwnd(HWND window) {
  if (!created_ || window == nullptr)
    return nullptr;
  if (GetHwnd() == window)
    return this;
  for (TPLinkedList<NWnd>::Node* node = children_.head(); node != nullptr; node = node->next) {
    if (node->item->IsTopLevel())
      continue;
    if (NWnd* found = node->item->FindByHwnd(window))
      return found;
  }
  return nullptr;
}

// The base hooks do nothing.
int32_t NWnd::OnCreate() {
  return 1;
}
void NWnd::OnDestroy() {}
void NWnd::OnShow(int32_t /*show*/) {}
void NWnd::OnEnable(int32_t /*enable*/) {}
void NWnd::OnMove() {}
void NWnd::OnSize() {}
void NWnd::OnUpdate() {}
void NWnd::OnPaint(HDC /*dc*/, Dib* /*surface*/) {}
HBRUSH NWnd::OnCtlColor(HDC /*dc*/, int32_t /*type*/) {
  return nullptr;
}
