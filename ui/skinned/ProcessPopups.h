// The process-wide tool-tip and popup menu: one of each for the whole launcher, made on first use.
//
// They live on the heap rather than as static objects because their teardown needs the rest of the
// toolkit: destroying the window unregisters a skin listener, and releasing the skin gives images back to
// the image cache and text boxes their fonts. Static destructors would run after those lists are gone.
// Shutdown therefore calls TearDownProcessPopups while the toolkit still stands (before the skin, image and
// font lists are emptied); afterwards the accessors make fresh objects again, which tests rely on.
//
// Thread: user-interface thread only.
#pragma once

class SkinnedPopupMenu;
class SkinnedToolTip;

// The process's tool-tip and menu (made on first call; never null unless memory ran out).
SkinnedToolTip* ProcessToolTip();
SkinnedPopupMenu* ProcessPopupMenu();
// Destroys both windows, releases both skins and deletes both objects; nothing for one that was never made.
void TearDownProcessPopups();
