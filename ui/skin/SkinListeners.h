// The windows that want to hear of a skin change, and the broadcast that tells them.
//
// Skinned windows register when they are created and unregister when they are destroyed (and must do so
// before they are freed: the list holds plain pointers). After SetCurrentSkin has changed the skin,
// BroadcastSkinChange sends NOTIFY_SKIN_CHANGED (p1 0, p2 0) once to every registered window that is created;
// when a window does not handle it, the notification goes on up its parent chain.
//
// Listeners may register, unregister, be destroyed or be deleted by the broadcast's own notifications: the
// broadcast walks a copy of the list and skips every window that is no longer registered by the time its turn
// comes; windows registered during the broadcast hear of the next one.
//
// Thread: user-interface thread only.
#pragma once

class NWnd;

// Appends `window` (null is ignored); a window registered twice is told twice.
void RegisterSkinListener(NWnd* window);
// Removes the most recently added entry that holds `window`; nothing when there is none.
void UnregisterSkinListener(NWnd* window);
// Empties the list (SkinLoader::UnloadSkinInfo).
void RemoveAllSkinListeners();
// The number of entries, for diagnostics and tests.
int SkinListenerCount();
// Tells every created listener that the skin changed, when it changed since the last broadcast.
void BroadcastSkinChange();
