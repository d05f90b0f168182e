// NWnd: hit testing, hover, the pressed node, button and wheel dispatch, and notifications.
#include "ui/view/ListSnapshot.h"
#include "ui/view/NWnd.h"
#include "ui/view/NativeWindow.h"

namespace {

NWnd* g_pressed_node = nullptr;

}  // namespace

NWnd* NWnd::GetPressedNode() {
  return g_pressed_node;
}

void NWnd::ClearPressedNode() {
  g_pressed_node = nullptr;
}

NWnd* NWnd::HitTest(int32_t* x, int32_t* y, int32_t include_windowed) {
  if (!created_ || !visible_ || *x < 0 || *y < 0 || *x >= width_ || *y >= height_)
    return nullptr;
  for (TPLinkedList<NWnd>::Node* node = children_.head(); node != nullptr; node = node->next) {
    NWnd* child = node->item;
    if (child->IsTopLevel() || (!include_windowed && child->HasOwnWindow()))
      continue;
    int32_t child_x = *x - child->x_;
    int32_t child_y = *y - child->y_;
    if (NWnd* hit = child->HitTest(&child_x, &child_y, include_windowed)) {
      *x = child_x;
      *y = child_y;
      return hit;
    }
  }
  return this;
}

int32_t NWnd::PointToDescendant(NWnd* target, int32_t* x, int32_t* y, int32_t include_windowed) {
  if (!created_ || !visible_ || *x < 0 || *y < 0 || *x >= width_ || *y >= height_)
    return 0;
  if (target == this)
    return 1;
  for (TPLinkedList<NWnd>::Node* node = children_.head(); node != nullptr; node = node->next) {
    NWnd* child = node->item;
    if (child->IsTopLevel() || (!include_windowed && child->HasOwnWindow()))
      continue;
    int32_t child_x = *x - child->x_;
    int32_t child_y = *y - child->y_;
    if (child->PointToDescendant(target, &child_x, &child_y, include_windowed)) {
      *x = child_x;
      *y = child_y;
      return 1;
    }
  }
  return 0;
}

int32_t NWnd::DispatchMouseMove(int32_t x, int32_t y, NWnd* target) {
  if (!created_)
    return 0;
  last_mouse_x_ = x;
  last_mouse_y_ = y;
  NWnd* under = target;
  if (under == nullptr) {
    int32_t hit_x = x;
    int32_t hit_y = y;
    under = HitTest(&hit_x, &hit_y, 1);
  }
  // The pressed node follows the mouse wherever it goes; its children are not visited.
  if (GetPressedNode() == this) {
    if (under == this)
      MouseEnter(x, y);
    else if (hover_)
      MouseLeave(under);
    OnMouseMove(x, y);
    return 1;
  }
  int32_t handled = 0;
  ListSnapshot<NWnd> children(children_, children_changes_);
  while (NWnd* child = children.Next()) {
    if (!child->HasOwnWindow() && child->DispatchMouseMove(x - child->x_, y - child->y_, under))
      handled = 1;
  }
  if (handled) {
    if (hover_)
      MouseLeave(under);
    return 1;
  }
  bool inside = x >= 0 && y >= 0 && x < width_ && y < height_;
  if (inside && under == this) {
    // Nothing else is entered while a button is held on another node.
    if (GetPressedNode() != nullptr)
      return 0;
    MouseEnter(x, y);
    OnMouseMove(x, y);
    return 1;
  }
  if (hover_)
    MouseLeave(under);
  return 0;
}

void NWnd::MouseEnter(int32_t x, int32_t y) {
  if (!created_ || hover_)
    return;
  hover_ = 1;
  OnMouseEnter(x, y);
}

void NWnd::MouseLeave(NWnd* except) {
  if (!created_)
    return;
  if (hover_ && this != except) {
    last_mouse_x_ = last_mouse_y_ = -1;
    hover_ = 0;
    OnMouseLeave();
    return;
  }
  ListSnapshot<NWnd> children(children_, children_changes_);
  while (NWnd* child = children.Next()) {
    if (!child->HasOwnWindow())
      child->MouseLeave(except);
  }
}

void NWnd::DeliverButton(NWnd* node, MouseButton button, ButtonEvent event, int32_t x, int32_t y) {
  switch (button) {
    case MouseButton::kLeft:
      return event == ButtonEvent::kDown          ? node->OnLButtonDown(x, y)
             : event == ButtonEvent::kDoubleClick ? node->OnLButtonDblClk(x, y)
                                                  : node->OnLButtonUp(x, y);
    case MouseButton::kRight:
      return event == ButtonEvent::kDown          ? node->OnRButtonDown(x, y)
             : event == ButtonEvent::kDoubleClick ? node->OnRButtonDblClk(x, y)
                                                  : node->OnRButtonUp(x, y);
    case MouseButton::kMiddle:
      return event == ButtonEvent::kDown          ? node->OnMButtonDown(x, y)
             : event == ButtonEvent::kDoubleClick ? node->OnMButtonDblClk(x, y)
                                                  : node->OnMButtonUp(x, y);
  }
}

void NWnd::DispatchButtonPress(MouseButton button, ButtonEvent event, int32_t x, int32_t y) {
  if (!created_)
    return;
  int32_t target_x = x;
  int32_t target_y = y;
  NWnd* target = HitTest(&target_x, &target_y, 0);
  NWnd* pressed = GetPressedNode();
  if (pressed == nullptr) {
    g_pressed_node = target;
    if (target != nullptr)
      DeliverButton(target, button, event, target_x, target_y);
  } else if (pressed == target) {
    DeliverButton(target, button, event, target_x, target_y);
  } else {
    int32_t pressed_x = x;
    int32_t pressed_y = y;
    if (PointToDescendant(pressed, &pressed_x, &pressed_y, 0))
      DeliverButton(pressed, button, event, pressed_x, pressed_y);
  }
}

void NWnd::DispatchButtonRelease(MouseButton button, int32_t x, int32_t y) {
  if (!created_)
    return;
  NWnd* pressed = GetPressedNode();
  if (pressed == nullptr) {
    int32_t target_x = x;
    int32_t target_y = y;
    if (NWnd* target = HitTest(&target_x, &target_y, 0))
      DeliverButton(target, button, ButtonEvent::kUp, target_x, target_y);
    return;
  }
  // Cleared before the hook runs: a click handler may open a modal window, whose own input must not find a
  // pressed node of this window.
  ClearPressedNode();
  // The point in the pressed node's coordinates: this node's point minus the positions on the way down. A
  // pressed node outside this subtree (its window lost the button-up) gets nothing.
  int32_t pressed_x = x;
  int32_t pressed_y = y;
  for (NWnd* node = pressed; node != this; node = node->parent_) {
    if (node == nullptr)
      return;
    pressed_x -= node->x_;
    pressed_y -= node->y_;
  }
  DeliverButton(pressed, button, ButtonEvent::kUp, pressed_x, pressed_y);
}

void NWnd::DispatchLButtonDown(int32_t x, int32_t y) {
  DispatchButtonPress(MouseButton::kLeft, ButtonEvent::kDown, x, y);
}
void NWnd::DispatchLButtonUp(int32_t x, int32_t y) {
  DispatchButtonRelease(MouseButton::kLeft, x, y);
}
void NWnd::DispatchLButtonDblClk(int32_t x, int32_t y) {
  DispatchButtonPress(MouseButton::kLeft, ButtonEvent::kDoubleClick, x, y);
}
void NWnd::DispatchRButtonDown(int32_t x, int32_t y) {
  DispatchButtonPress(MouseButton::kRight, ButtonEvent::kDown, x, y);
}
void NWnd::DispatchRButtonUp(int32_t x, int32_t y) {
  DispatchButtonRelease(MouseButton::kRight, x, y);
}
void NWnd::DispatchRButtonDblClk(int32_t x, int32_t y) {
  DispatchButtonPress(MouseButton::kRight, ButtonEvent::kDoubleClick, x, y);
}
void NWnd::DispatchMButtonDown(int32_t x, int32_t y) {
  DispatchButtonPress(MouseButton::kMiddle, ButtonEvent::kDown, x, y);
}
void NWnd::DispatchMButtonUp(int32_t x, int32_t y) {
  DispatchButtonRelease(MouseButton::kMiddle, x, y);
}
void NWnd::DispatchMButtonDblClk(int32_t x, int32_t y) {
  DispatchButtonPress(MouseButton::kMiddle, ButtonEvent::kDoubleClick, x, y);
}

void NWnd::DispatchMouseWheel(int32_t x, int32_t y, int32_t notches) {
  if (!created_)
    return;
  int32_t target_x = x;
  int32_t target_y = y;
  NWnd* target = HitTest(&target_x, &target_y, 1);
  if (NWnd* pressed = GetPressedNode()) {
    int32_t pressed_x = x;
    int32_t pressed_y = y;
    if (PointToDescendant(pressed, &pressed_x, &pressed_y, 1))
      pressed->OnMouseWheel(pressed_x, pressed_y, notches);
    return;
  }
  NativeWindow* window = GetNativeWindow();
  if (window != nullptr && window->HasKeyboardFocus() && target != nullptr)
    target->OnMouseWheel(target_x, target_y, notches);
}

void NWnd::NotifyParents(NWnd* first, int32_t code, intptr_t p1, intptr_t p2) {
  // The parent is read before the handler runs: a handler may delete its own node (a pop-up closing itself
  // on a click) and then pass the notification on.
  for (NWnd* node = first; node != nullptr && node->created_;) {
    NWnd* parent = node->parent_;
    if (node->OnNotify(code, p1, p2))
      return;
    node = parent;
  }
}

// The base input hooks do nothing.
void NWnd::OnLButtonDown(int32_t /*x*/, int32_t /*y*/) {}
void NWnd::OnLButtonUp(int32_t /*x*/, int32_t /*y*/) {}
void NWnd::OnLButtonDblClk(int32_t /*x*/, int32_t /*y*/) {}
void NWnd::OnRButtonDown(int32_t /*x*/, int32_t /*y*/) {}
void NWnd::OnRButtonUp(int32_t /*x*/, int32_t /*y*/) {}
void NWnd::OnRButtonDblClk(int32_t /*x*/, int32_t /*y*/) {}
void NWnd::OnMButtonDown(int32_t /*x*/, int32_t /*y*/) {}
void NWnd::OnMButtonUp(int32_t /*x*/, int32_t /*y*/) {}
void NWnd::OnMButtonDblClk(int32_t /*x*/, int32_t /*y*/) {}
void NWnd::OnMouseWheel(int32_t /*x*/, int32_t /*y*/, int32_t /*notches*/) {}
void NWnd::OnMouseMove(int32_t /*x*/, int32_t /*y*/) {}
void NWnd::OnMouseEnter(int32_t /*x*/, int32_t /*y*/) {}
void NWnd::OnMouseLeave() {}
int32_t NWnd::OnNotify(int32_t /*code*/, intptr_t /*p1*/, intptr_t /*p2*/) {
  return 0;
}
