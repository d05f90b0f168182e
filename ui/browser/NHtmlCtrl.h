// NHtmlCtrl: a node that owns a web view (CHtmlCtrl, ui/browser/), so that a page stands in the node tree
// like any other node (NativeControlNode.h: no surface, the browser paints itself; the tree places, shows
// and enables it). The node is its view's host handler (CHtmlHostHandler with the base answers).
//
// CCustomHtmlCtrl is the window side: the view's messages reported to six hooks, in order: created (inside
// WM_CREATE; its 0 fails the view's creation), destroyed (WM_DESTROY, before the browser is released), shown
// (WM_SHOWWINDOW, after default processing), enabled (WM_ENABLE, after), moved (WM_WINDOWPOSCHANGED, before
// default processing, unless SWP_NOMOVE), sized (WM_SIZE, after the browser was fitted to the new size).
//
// NHtmlCtrl maps them onto the node: created -> OnCreate; destroyed -> OnDestroy, and the node is unlinked
// and no longer created; shown -> OnShow; enabled -> OnEnable; moved and sized -> the node's position and
// size (NativeControlNode::FollowWindowPosition / FollowWindowSize).
//
// Destruction: Destroy (and the destructor) destroy the view's window. A derived class that overrides
// OnDestroy calls Destroy in its own destructor.
//
// Thread: user-interface thread only; OLE initialised (CHtmlCtrl.h).
#pragma once

#include <windows.h>

#include <cstdint>
#include <string>

#include "ui/browser/CHtmlCtrl.h"
#include "ui/browser/CHtmlHostHandler.h"
#include "ui/host/NativeControlNode.h"

class CCustomHtmlCtrl : public CHtmlCtrl, public CHtmlHostHandler {
 public:
  virtual int32_t OnViewCreatedHook() { return 1; }
  virtual void OnViewDestroyedHook() {}
  virtual void OnViewShown(int32_t /*show*/) {}
  virtual void OnViewEnabled(int32_t /*enable*/) {}
  virtual void OnViewMoved(int32_t /*x*/, int32_t /*y*/) {}
  virtual void OnViewSized(int32_t /*type*/, int32_t /*width*/, int32_t /*height*/) {}

 protected:
  LRESULT WindowProcedure(UINT message, WPARAM wparam, LPARAM lparam) override;
  int32_t OnViewCreated() override { return OnViewCreatedHook(); }
  void OnViewDestroyed() override { OnViewDestroyedHook(); }
};

class NHtmlCtrl : public NativeControlNode, public CCustomHtmlCtrl {
 public:
  NHtmlCtrl() = default;
  ~NHtmlCtrl() override;

  // Makes the view at (x, y) of `parent` plus the parent's offset in its nearest ancestor window, size
  // width x height, the id as control id, with this node as its host handler. OnCreate runs inside the view's
  // creation; its 0 fails it. 1 on success; otherwise nothing is left, the node is unlinked and not created,
  // and 0. The view starts hidden (Show shows it).
  int32_t Create(int32_t x, int32_t y, int32_t width, int32_t height, int32_t id, NWnd* parent) override;
  // When created and `url` is not empty: a busy browser is stopped first, then the view navigates to `url`.
  // 1 when the browser took the navigation.
  virtual int32_t Navigate(const wchar_t* url);
  // The view.
  virtual CHtmlCtrl* GetHtmlWnd() { return this; }
  // The page's script function `name` called without arguments (CHtmlScript::CallScript: a call made before
  // the page's script is there is made when it arrives); 0 when not created.
  int32_t CallScript(const wchar_t* name, std::wstring* result);

  // When created: the view's window goes (OnDestroy runs from its destroy message), the node is unlinked
  // and not created.
  void Destroy() override;
  void Show(int32_t show, int32_t activate) override;
  void Enable(int32_t enable) override;
  // Re-places the view whenever its window is not where the node says (a moved ancestor moves it).
  void Move(int32_t x, int32_t y) override;
  // Only when created and the size differs from the node's.
  void Resize(int32_t width, int32_t height) override;

  HWND ControlWindow() const override { return window_handle(); }

  // CCustomHtmlCtrl.
  int32_t OnViewCreatedHook() override;
  void OnViewDestroyedHook() override;
  void OnViewShown(int32_t show) override;
  void OnViewEnabled(int32_t enable) override;
  void OnViewMoved(int32_t x, int32_t y) override;
  void OnViewSized(int32_t type, int32_t width, int32_t height) override;
};
