// NWnd: one node of the toolkit's windowless widget tree, the base of every launcher window and control.
//
// A node owns an off-screen surface (a Dib) of its size, sits in its parent's child list, and paints itself
// by composing its children's surfaces into its own: Draw repaints the whole visible subtree, children in
// creation order, so a later child covers an earlier one. Only the window hosts own an operating-system
// window (GetNativeWindow, NativeWindow.h); every other node is drawn into its nearest ancestor's surface and
// fed with mouse input by the dispatch below (NWndDispatch.cpp).
//
// Ownership: a node never deletes its children; whoever allocated a node deletes it. Destroying a node
// destroys (but does not delete) its descendants and unlinks it from its parent; it may be created again.
// The surface is released by reference count when the node is destroyed.
//
// Life: constructed (not created, hidden) -> Create (created, hidden, dirty) -> Show (1) -> per frame Update
// and Draw -> Destroy -> may be created again -> deleted. Every operation on a node that is not created does
// nothing and returns 0, a null node or an empty point or size.
//
// Hooks: the On... operations are for derived classes to override; the base ones do nothing. Any hook may
// create, destroy or delete nodes of the tree: walks over children skip the children that left the list
// while they ran (ListSnapshot.h), and a destroyed node is never left as the pressed node.
//
// Destruction: the base destructor destroys a node that is still created, but by then the derived parts are
// gone and only the base hooks run. A class that overrides OnDestroy (to unregister from a list, release a
// window or a skin) must call Destroy() in its own destructor, so its hook runs while the object is whole.
//
// The pressed node: one process-wide node that receives all mouse input between a button-down and the next
// button-up (GetPressedNode). It is set by a button-down or double-click when none is set, and cleared by any
// button-up (before the up hook runs, so a handler that opens a modal window leaves none behind), by
// SetActive (0) or hiding of that node, by destroying that node or any of its ancestors, and by
// ClearPressedNode when the host loses the mouse capture.
//
// Points given to the dispatch and the mouse hooks are in the receiving node's own coordinates (origin at
// its top-left corner).
//
// Thread: user-interface thread only; no locks.
#pragma once

#include <windows.h>

#include <cstdint>

#include "ui/base/TPLinkedList.h"

class Dib;
class NativeWindow;

class NWnd {
 public:
  NWnd() = default;
  // Destroys the node if it is still created (base hooks only, see above) and lets go of any child that is
  // still listed.
  virtual ~NWnd();
  NWnd(const NWnd&) = delete;
  NWnd& operator=(const NWnd&) = delete;

  // --- Geometry, tree and painting ---

  // Creates the node: a surface of `width` x `height` (an existing surface is resized; without one a width
  // below 1 fails), the id, and with a parent the position and the place at the tail of the parent's child
  // list (without a parent the position is (0, 0)). Then created = 1, dirty = 1, and the result is
  // OnCreate's: a 0 from it is returned while the node stays created. 0 also when already created or when the
  // surface cannot be made. Nodes with a native window get a DIB-section surface, all others a heap surface.
  virtual int32_t Create(int32_t x, int32_t y, int32_t width, int32_t height, int32_t id, NWnd* parent);
  // OnDestroy, then Destroy of every child, unlink from the parent, release the surface; created = 0.
  virtual void Destroy();
  // Shows or hides the node (`activate` is for nodes with a window). A node shown under the resting mouse
  // is entered at once; hiding the pressed node clears it.
  virtual void Show(int32_t show, int32_t activate);
  virtual void Enable(int32_t enable);
  // Sets every pixel of the surface.
  virtual void Fill(uint32_t pixel);
  // Moves the node within its parent; non-top-level children are moved to their own positions again so
  // that windowed descendants re-place their windows.
  virtual void Move(int32_t x, int32_t y);
  // Resizes the node and its surface (a node without a surface ignores it).
  virtual void Resize(int32_t width, int32_t height);
  // The position in screen coordinates for nodes inside a top-level host (whose x, y are its screen
  // position).
  virtual void GetScreenPos(POINT* out);
  virtual POINT* GetPos(POINT* out);
  virtual SIZE* GetSize(SIZE* out);
  // Marks the node dirty and passes the request up to the nearest node with a window, which repaints.
  virtual void Invalidate();
  // 1 when the node is shown and it or any windowless descendant is dirty.
  virtual int32_t NeedsRedraw();
  // The node's own window handle; null for windowless nodes.
  virtual HWND GetHwnd();
  // 1 for dialogs and pop-ups: their parent's update, hit test and drawing skip them.
  virtual int32_t IsTopLevel();
  // The blend flag with which the children are drawn onto this node's surface (1: alpha blend, 0: copy).
  virtual int32_t BlendChildren();
  // The per-frame pass: keeps a windowed node's window in step with its ancestors' visibility, OnUpdate, then
  // Update of every non-top-level child. Not re-entered while it runs.
  virtual void Update();
  // Paints the subtree: OnPaint into the own surface, every windowless child onto it, then the surface onto
  // `target` at (x, y) with `blend`, or, without a target, onto `dc` at (0, 0). 0 when not created; 1 without
  // drawing when hidden.
  virtual int32_t Draw(HDC dc, Dib* target, int32_t blend);
  // Stores the activation state of the node's top-level window and pushes it down the tree; 0 clears the
  // pressed node when it is this node.
  virtual void SetActive(int32_t active);

  // --- Input dispatch (NWndDispatch.cpp) ---

  // Moves the mouse to (x, y): hover enter and leave along the tree, OnMouseMove to the hovered node (or to
  // the pressed node wherever the mouse is). `target` is the node under the mouse when the caller knows it,
  // else null. 1 when this node or a descendant took the move.
  virtual int32_t DispatchMouseMove(int32_t x, int32_t y, NWnd* target);
  virtual void DispatchLButtonDown(int32_t x, int32_t y);
  virtual void DispatchLButtonUp(int32_t x, int32_t y);
  virtual void DispatchLButtonDblClk(int32_t x, int32_t y);
  virtual void DispatchRButtonDown(int32_t x, int32_t y);
  virtual void DispatchRButtonUp(int32_t x, int32_t y);
  virtual void DispatchRButtonDblClk(int32_t x, int32_t y);
  virtual void DispatchMButtonDown(int32_t x, int32_t y);
  virtual void DispatchMButtonUp(int32_t x, int32_t y);
  virtual void DispatchMButtonDblClk(int32_t x, int32_t y);
  // The wheel goes to the pressed node when the mouse is over it; without one, to the deepest node under the
  // mouse, and only while this node's window has the keyboard focus. It does not bubble.
  virtual void DispatchMouseWheel(int32_t x, int32_t y, int32_t notches);
  virtual void MouseEnter(int32_t x, int32_t y);
  // Ends the hover of this node, or of the hovered windowless descendant, unless it is `except`. The host
  // calls it with null when the mouse leaves its window.
  virtual void MouseLeave(NWnd* except);
  // Keyboard focus to the node's own window, or to the nearest ancestor's.
  virtual void SetFocus();
  // 1 when the message was consumed; hosts override.
  virtual int32_t PreTranslateMessage(HWND window, MSG* message);

  // --- Hooks ---

  virtual int32_t OnCreate();
  virtual void OnDestroy();
  virtual void OnShow(int32_t show);
  virtual void OnEnable(int32_t enable);
  virtual void OnMove();
  virtual void OnSize();
  // Per frame, before the children's update: animations live here.
  virtual void OnUpdate();
  // Draws the node's own look into its surface (null for nodes without one).
  virtual void OnPaint(HDC dc, Dib* surface);
  // Asked by a host for a child edit window's colours; a null brush takes the default.
  virtual HBRUSH OnCtlColor(HDC dc, int32_t type);
  virtual void OnLButtonDown(int32_t x, int32_t y);
  virtual void OnLButtonUp(int32_t x, int32_t y);
  virtual void OnLButtonDblClk(int32_t x, int32_t y);
  virtual void OnRButtonDown(int32_t x, int32_t y);
  virtual void OnRButtonUp(int32_t x, int32_t y);
  virtual void OnRButtonDblClk(int32_t x, int32_t y);
  virtual void OnMButtonDown(int32_t x, int32_t y);
  virtual void OnMButtonUp(int32_t x, int32_t y);
  virtual void OnMButtonDblClk(int32_t x, int32_t y);
  // `notches`: whole wheel steps, positive when the wheel was turned away from the user.
  virtual void OnMouseWheel(int32_t x, int32_t y, int32_t notches);
  virtual void OnMouseMove(int32_t x, int32_t y);
  virtual void OnMouseEnter(int32_t x, int32_t y);
  virtual void OnMouseLeave();
  // A notification (NotifyCodes.h); non-zero when handled, which stops its bubbling.
  virtual int32_t OnNotify(int32_t code, intptr_t p1, intptr_t p2);

  // The operating-system window this node owns, or null (windowless). Hosts override it.
  virtual NativeWindow* GetNativeWindow();

  // --- Tree queries and notifications ---

  // Sends a notification to `first` and then up its parent chain until a created node answers non-zero.
  static void NotifyParents(NWnd* first, int32_t code, intptr_t p1, intptr_t p2);
  // The deepest shown node under (*x, *y), skipping top-level children and, unless `include_windowed`,
  // children with their own window; the first-created child wins where siblings overlap. On success the point
  // is rewritten into that node's coordinates. Null outside this node.
  NWnd* HitTest(int32_t* x, int32_t* y, int32_t include_windowed);
  // 1 when (*x, *y) lies over `target` (this node or a descendant, by the HitTest rules); the point is then
  // rewritten into the target's coordinates.
  int32_t PointToDescendant(NWnd* target, int32_t* x, int32_t* y, int32_t include_windowed);
  // The node of this subtree whose own window is `window` (top-level children are not searched), or null.
  NWnd* FindByHwnd(HWND window);
  // Walks up from `start` (or, when null, from `fallback`'s parent) to the first node with a window and
  // returns its handle, with the offset of `start` inside that window in `offset`. Null (offset (0, 0)) when
  // the walk runs out of parents or `offset` is null.
  static HWND GetHostWindow(NWnd* start, POINT* offset, NWnd* fallback);
  // 1 when every ancestor up to the first top-level one (included) or the root is shown; 0 when not created.
  int32_t AncestorsVisible();
  void AddToParent();
  void RemoveFromParent();
  // True when the node owns an operating-system window.
  bool HasOwnWindow() { return GetHwnd() != nullptr; }

  static NWnd* GetPressedNode();
  // Forgets the pressed node without telling it; the host calls it when its mouse capture is taken away.
  static void ClearPressedNode();

  Dib* surface() const { return surface_; }
  int32_t id() const { return id_; }
  int32_t x() const { return x_; }
  int32_t y() const { return y_; }
  int32_t width() const { return width_; }
  int32_t height() const { return height_; }
  int32_t created() const { return created_; }
  int32_t visible() const { return visible_; }
  int32_t enabled() const { return enabled_; }
  int32_t active() const { return active_; }
  int32_t dirty() const { return dirty_; }
  int32_t hover() const { return hover_; }
  NWnd* parent() const { return parent_; }
  int32_t last_mouse_x() const { return last_mouse_x_; }
  int32_t last_mouse_y() const { return last_mouse_y_; }
  const TPLinkedList<NWnd>& children() const { return children_; }

 protected:
  Dib* surface_ = nullptr;
  int32_t id_ = 0;
  int32_t x_ = 0;
  int32_t y_ = 0;
  int32_t width_ = 0;
  int32_t height_ = 0;
  int32_t created_ = 0;
  int32_t visible_ = 0;
  int32_t enabled_ = 1;
  int32_t active_ = 1;
  int32_t dirty_ = 0;
  int32_t hover_ = 0;
  NWnd* parent_ = nullptr;
  // Set just before Update shows or hides the node's own window, so the show message that results only runs
  // OnShow.
  int32_t show_echo_ = 0;
  int32_t updating_ = 0;
  int32_t last_mouse_x_ = -1;
  int32_t last_mouse_y_ = -1;
  TPLinkedList<NWnd> children_;
  // Bumped on every add to and remove from children_, for walks that outlive a hook (ListSnapshot.h).
  uint32_t children_changes_ = 0;

 private:
  enum class MouseButton { kLeft, kRight, kMiddle };
  enum class ButtonEvent { kDown, kDoubleClick, kUp };

  // Show's and Move's re-entry test: a node that comes to lie under the parent's last mouse point is entered.
  void EnterIfUnderRestingMouse();
  // True when `node` is this node or one of its descendants.
  bool Contains(const NWnd* node) const;
  void DispatchButtonPress(MouseButton button, ButtonEvent event, int32_t x, int32_t y);
  void DispatchButtonRelease(MouseButton button, int32_t x, int32_t y);
  static void DeliverButton(NWnd* node, MouseButton button, ButtonEvent event, int32_t x, int32_t y);
};
