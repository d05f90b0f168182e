#include "ui/skin/SkinListeners.h"

#include <cstdint>

#include "ui/base/TPLinkedList.h"
#include "ui/skin/SkinLoader.h"
#include "ui/view/ListSnapshot.h"
#include "ui/view/NWnd.h"
#include "ui/view/NotifyCodes.h"

namespace {

TPLinkedList<NWnd> g_listeners;
// Bumped on every change of g_listeners, so a running broadcast notices it (ListSnapshot.h).
uint32_t g_listener_changes = 0;

}  // namespace

void RegisterSkinListener(NWnd* window) {
  if (window == nullptr)
    return;
  if (g_listeners.AddTail(window) != nullptr)
    ++g_listener_changes;
}

void UnregisterSkinListener(NWnd* window) {
  for (TPLinkedList<NWnd>::Node* node = g_listeners.tail(); node != nullptr; node = node->prev) {
    if (node->item == window) {
      g_listeners.Unlink(node);
      delete node;
      ++g_listener_changes;
      return;
    }
  }
}

void RemoveAllSkinListeners() {
  g_listeners.RemoveAll();
  ++g_listener_changes;
}

int SkinListenerCount() {
  return g_listeners.count();
}

void BroadcastSkinChange() {
  if (!TakeSkinChange())
    return;
  ListSnapshot<NWnd> listeners(g_listeners, g_listener_changes);
  while (NWnd* window = listeners.Next()) {
    if (!window->created())
      continue;
    if (!window->OnNotify(NOTIFY_SKIN_CHANGED, 0, 0) && window->parent() != nullptr)
      NWnd::NotifyParents(window->parent(), NOTIFY_SKIN_CHANGED, 0, 0);
  }
}
