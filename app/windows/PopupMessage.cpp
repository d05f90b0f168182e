#include "app/windows/PopupMessage.h"

#include "ui/host/NDialog.h"

namespace {

// Never destroyed by the runtime: see the header.
TLinkedList<PopupMessage>& Queue() {
  static TLinkedList<PopupMessage>* queue = new TLinkedList<PopupMessage>();
  return *queue;
}

// Half of `value`, rounded toward minus infinity.
int32_t FloorHalf(int32_t value) {
  return value >= 0 ? value / 2 : -((1 - value) / 2);
}

}  // namespace

POINT PopupPosition(const RECT* anchor, const RECT& work_area, SIZE size, int32_t corner) {
  if (corner)
    return POINT{work_area.right - size.cx, work_area.top};
  const RECT& around = anchor != nullptr ? *anchor : work_area;
  return POINT{around.left + FloorHalf(around.right - around.left - size.cx),
               around.top + FloorHalf(around.bottom - around.top - size.cy)};
}

int32_t PopupMessage::Show(const wchar_t* key,
                           const wchar_t* text,
                           PopupCallback callback,
                           int32_t kind,
                           int32_t corner) {
  popup_.SetSkin(L"etc", L"message_wnd");
  popup_.SetContent(key, text, callback, kind);
  if (!popup_.CreatePopup(0, 0, 1, 1, nullptr, NPopup::kToolWindow | NPopup::kTopmost))
    return 0;
  popup_.Show(1, 0);
  // The main dialog's node holds its screen position and size.
  NDialog* dialog = GetMainDialog();
  bool anchored = dialog != nullptr && dialog->created();
  RECT anchor = {0, 0, 0, 0};
  if (anchored)
    anchor = RECT{dialog->x(), dialog->y(), dialog->x() + dialog->width(), dialog->y() + dialog->height()};
  POINT anchor_point = {anchor.left, anchor.top};
  MONITORINFO monitor = {};
  monitor.cbSize = sizeof(monitor);
  if (!GetMonitorInfoW(MonitorFromPoint(anchor_point, MONITOR_DEFAULTTONEAREST), &monitor))
    SystemParametersInfoW(SPI_GETWORKAREA, 0, &monitor.rcWork, 0);
  SIZE size = {popup_.width(), popup_.height()};
  POINT at = PopupPosition(anchored ? &anchor : nullptr, monitor.rcWork, size, corner);
  popup_.Move(at.x, at.y);
  return 1;
}

PopupQueueNode* PopupQueueAddNew() {
  PopupQueueNode* node = Queue().AddNew();
  if (node != nullptr && node->item == nullptr) {
    Queue().Remove(node);
    return nullptr;
  }
  return node;
}

void PopupQueueRemove(PopupQueueNode* node) {
  Queue().Remove(node);
}

void PopupQueueRemoveAll() {
  Queue().RemoveAll();
}

PopupQueueNode* PopupQueueHead() {
  return Queue().head();
}

int32_t PopupQueueCount() {
  return Queue().count();
}
