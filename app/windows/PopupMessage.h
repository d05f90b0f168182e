// PopupMessage: the owner of one notification pop-up (NotiPopup.h), and the process-wide queue of them that
// keeps the pop-ups of game errors.
//
// Placement (PopupPosition, a pure function): with the corner flag, the upper right corner of the work area
// of the monitor nearest the anchor; otherwise centred on the anchor (the main dialog's screen rectangle),
// halves rounded toward minus infinity. Without a main dialog a centred pop-up is centred in the work area
// of the primary monitor.
//
// The queue owns its pop-ups. It is not a static object: it is emptied by PopupQueueRemoveAll, which
// shutdown calls while the skin, its images, fonts and listener list still exist (a static destructor
// would run after them). What is left in the queue at exit is not freed.
//
// Thread: user-interface thread only.
#pragma once

#include <windows.h>

#include <cstdint>

#include "app/windows/NotiPopup.h"
#include "ui/base/TLinkedList.h"

class PopupMessage {
 public:
  PopupMessage() = default;
  virtual ~PopupMessage() = default;
  PopupMessage(const PopupMessage&) = delete;
  PopupMessage& operator=(const PopupMessage&) = delete;

  // Sets up, creates (skin "etc" / "message_wnd", a topmost tool window), shows without activating and
  // places the pop-up. 1 when it is shown; 0 when it could not be created (its skin did not load): the
  // owner then removes it, as it would a closed one.
  int32_t Show(const wchar_t* key, const wchar_t* text, PopupCallback callback, int32_t kind, int32_t corner);

  NotiPopup& popup() { return popup_; }

 private:
  NotiPopup popup_;
};

using PopupQueueNode = TListNode<PopupMessage>;

// Appends a new pop-up (constructed, not yet shown) to the queue; its node, or null when memory ran out (a
// node whose item could not be made is not kept).
PopupQueueNode* PopupQueueAddNew();
// Unlinks the node and deletes its pop-up (destroying its window); null is ignored. May be called from the
// pop-up's own callback.
void PopupQueueRemove(PopupQueueNode* node);
// Deletes every queued pop-up. Shutdown calls it before the skin information, images and fonts are released.
void PopupQueueRemoveAll();
// The first node of the queue (walk along `next`), or null.
PopupQueueNode* PopupQueueHead();
int32_t PopupQueueCount();

// Where a `size` pop-up goes: the work area's upper right corner when `corner` is non-zero; otherwise centred
// on `anchor` (the main dialog's screen rectangle; the work area itself when there is none).
POINT PopupPosition(const RECT* anchor, const RECT& work_area, SIZE size, int32_t corner);
