// The notification codes that controls send to their ancestors through NWnd::NotifyParents (and the skin
// loader to every skin listener). Passed to NWnd::OnNotify (code, p1, p2); p1 is the sender's control id
// unless said otherwise. The numbers are fixed: launcher windows and skins are written against them. Codes
// from 11000 up belong to the launcher.
#pragma once

#include <cstdint>

enum NotifyCode : int32_t {
  NOTIFY_CLICKED = 1,             // p2 0; a button released after a press; starts at the control's parent
  NOTIFY_CHECK_CHANGED = 2,       // p2 the new check state; starts at the parent
  NOTIFY_SCROLL_DECREMENT = 3,    // p2 0; starts at the scroll bar itself
  NOTIFY_SCROLL_INCREMENT = 4,    // p2 0; starts at the scroll bar itself
  NOTIFY_SCROLL_POS_CHANGED = 5,  // p2 0; starts at the scroll bar itself
  NOTIFY_TAB_SELECTED = 6,        // p2 0; starts at the parent
  NOTIFY_SKIN_CHANGED = 10001,    // p1 0, p2 0; sent to every registered skin listener
  NOTIFY_BUTTON_HOVER = 10002,    // p1 the button id, p2 a RECT* of the button in screen coordinates
};
