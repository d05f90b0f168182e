// NEdit: a node that owns a system "EDIT" control, so that a text field stands in the node tree like any
// other node (NativeControlNode.h: no surface, the control paints itself; the tree places, shows and enables
// it).
//
// CCustomEdit is the window side: the "EDIT" window is made by the system's own class and then subclassed
// onto the window layer (Window::SubclassNativeWindow), so it is in the handle map and the modal loop's
// pre-translation walk reaches it; the control's own procedure is its default processing. Its messages, after
// default processing unless said:
//   WM_SHOWWINDOW -> OnWindowShown;   WM_ENABLE -> OnWindowEnabled;
//   WM_SETFOCUS   -> OnWindowFocusGained first, then default;
//   WM_KILLFOCUS  -> OnWindowFocusLost first, then default;
//   WM_WINDOWPOSCHANGED -> OnWindowMoved first (unless SWP_NOMOVE), then default;   WM_SIZE -> OnWindowSized.
// Pre-translation: every queued message for the edit goes to PreTranslateWindowMessage; its answer is final
// for the edit's own link of the walk, and a 0 lets the walk go on to the parent windows (the dialog's
// keyboard handling: Tab, Enter, Escape).
//
// NEdit maps them onto the node: shown -> OnShow; enabled -> OnEnable; focus gained -> focused = 1, then
// OnSetFocus; focus lost -> focused = 0, then OnKillFocus; moved and sized -> the node's position and size
// (NativeControlNode::FollowWindowPosition / FollowWindowSize); pre-translate -> the node's
// PreTranslateMessage.
//
// Destruction: Destroy (and the destructor) destroy the window. A derived class that overrides OnDestroy
// calls Destroy in its own destructor.
//
// Thread: user-interface thread only.
#pragma once

#include <windows.h>

#include <cstdint>
#include <memory>

#include "ui/host/NativeControlNode.h"
#include "ui/host/Window.h"

class CCustomEdit : public Window {
 public:
  // The window's show message (show 0 or 1).
  virtual void OnWindowShown(int32_t /*show*/) {}
  // The window's enable message.
  virtual void OnWindowEnabled(int32_t /*enable*/) {}
  virtual void OnWindowFocusGained() {}
  virtual void OnWindowFocusLost() {}
  // The window's new position in its parent window's client area.
  virtual void OnWindowMoved(int32_t /*x*/, int32_t /*y*/) {}
  // The window's new size (type as WM_SIZE's wParam).
  virtual void OnWindowSized(int32_t /*type*/, int32_t /*width*/, int32_t /*height*/) {}
  // A queued message for `window`, before it is translated and dispatched; non-zero consumes it.
  virtual int32_t PreTranslateWindowMessage(HWND /*window*/, MSG* /*message*/) { return 0; }

  bool PreTranslateInput(MSG* message) override;

 protected:
  LRESULT WindowProcedure(UINT message, WPARAM wparam, LPARAM lparam) override;
};

class NEdit : public NativeControlNode, public CCustomEdit {
 public:
  NEdit() = default;
  ~NEdit() override;

  // Edits are made by the call below: 0.
  int32_t Create(int32_t x, int32_t y, int32_t width, int32_t height, int32_t id, NWnd* parent) override;
  // Makes the "EDIT" window (style `style` | WS_CHILD, no text) at (x, y) of `parent` plus the parent's
  // offset in its nearest ancestor window, the id as control id; then OnCreate. 1 when the window exists and
  // OnCreate answered non-zero; otherwise no window is left, the node is unlinked and not created, and 0.
  // The node's visible flag is the window's (WS_VISIBLE in `style`).
  virtual int32_t
  Create(int32_t x, int32_t y, int32_t width, int32_t height, int32_t id, NWnd* parent, uint32_t style);
  // When created: WM_SETFONT with `font` (null for the system font), redrawn. The caller keeps the font.
  virtual void SetFont(HFONT font);
  // When created: EM_LIMITTEXT (0 lets the text grow to the control's own maximum).
  virtual void SetLimitText(uint32_t characters);
  // EM_GETLIMITTEXT when created, else 0.
  virtual uint32_t GetLimitText();
  // When created: the window text, then Invalidate.
  virtual void SetText(const wchar_t* text);
  // The window's text in a buffer that the node owns and overwrites on the next call; null when not created,
  // "" when no memory was left for the text.
  virtual const wchar_t* GetText();
  // The edit window object.
  virtual CCustomEdit* GetEditWnd() { return this; }
  // Hooks run when the window gains and loses the keyboard focus; empty.
  virtual void OnSetFocus() {}
  virtual void OnKillFocus() {}

  // When created: the window goes, the node is unlinked and not created, then OnDestroy.
  void Destroy() override;
  void Show(int32_t show, int32_t activate) override;
  void Enable(int32_t enable) override;
  // Re-places the window every time (a moved ancestor moves it).
  void Move(int32_t x, int32_t y) override;
  void Resize(int32_t width, int32_t height) override;

  HWND ControlWindow() const override { return window_handle(); }

  int32_t focused() const { return focused_; }
  // The style given to Create (without WS_CHILD).
  uint32_t style() const { return style_; }

  // CCustomEdit.
  void OnWindowShown(int32_t show) override;
  void OnWindowEnabled(int32_t enable) override;
  void OnWindowFocusGained() override;
  void OnWindowFocusLost() override;
  void OnWindowMoved(int32_t x, int32_t y) override;
  void OnWindowSized(int32_t type, int32_t width, int32_t height) override;
  int32_t PreTranslateWindowMessage(HWND window, MSG* message) override;

 private:
  int32_t focused_ = 0;
  uint32_t style_ = 0;
  std::unique_ptr<wchar_t[]> text_buffer_;
  uint32_t text_capacity_ = 0;  // characters, without the terminating NUL
};
