// NButton: a windowless push button with hover and pressed states and a caption. A click is a press and a
// release over the button while it is enabled: it sends NOTIFY_CLICKED (id, 0) starting at the parent.
// Leaving while held drops the pressed look; coming back while still held restores it.
//
// A press counts only while the button is the pressed node (NWnd.h): when the press is taken away (the
// window was deactivated, the button hidden, the capture went to another window) the pressed look is dropped
// at the next mouse move, activation change, show change or frame, so a later release reports no click.
// Subclasses that override OnUpdate, OnShow, OnMouseMove or SetActive call NButton's.
//
// The built-in look (OnPaint) uses system colours: button face, a caption in an 11-pixel "Gulim" font
// centred, and the frames of ControlCanvas.h; skinned buttons replace it and keep the state logic.
//
// Thread: user-interface thread only.
#pragma once

#include <cstdint>

#include "ui/base/String.h"
#include "ui/view/NWnd.h"

// The caption font of the built-in look (the caller deletes it); null when GDI cannot make it.
HFONT CreateButtonCaptionFont();

class NButton : public NWnd {
 public:
  enum State : int32_t { kNormal = 0, kHover = 1, kPressed = 2 };

  ~NButton() override;

  // Copies `text` into the caption (null empties it) and repaints.
  virtual void SetText(const wchar_t* text);
  const String& text() const { return text_; }
  int32_t state() const { return state_; }

  void SetActive(int32_t active) override;
  void OnUpdate() override;
  void OnShow(int32_t show) override;
  void OnPaint(HDC dc, Dib* surface) override;
  void OnMouseEnter(int32_t x, int32_t y) override;
  void OnMouseLeave() override;
  void OnMouseMove(int32_t x, int32_t y) override;
  void OnLButtonDown(int32_t x, int32_t y) override;
  void OnLButtonDblClk(int32_t x, int32_t y) override;
  void OnLButtonUp(int32_t x, int32_t y) override;

 protected:
  int32_t state_ = kNormal;
  String text_;

 private:
  // Drops a pressed look whose press was taken away (the button is no longer the pressed node).
  void DropLostPress();
};
