// The state images of the skinned controls (buttons, check buttons, tabs, progress and scroll bars): one
// loader for every state section and the per-frame tick of a control's whole image set.
//
// A state section of a control's ini names its image by "image_id" (an animated image described by its own
// "<image_id>.ini", LoadSkinImage) or else by "image" (one plain file, one frame, LoadSkinImageFile). With
// neither, or when the image does not load, the state has no image and draws nothing: a missing state image
// is not an error.
//
// Thread: user-interface thread only.
#pragma once

#include <cstdint>

class NImage;
class SkinnedCtrl;

// Deletes *slot, then loads the image of `section` from the control's ini into it (null when none).
void LoadStateImage(SkinnedCtrl& control, const wchar_t* section, NImage** slot);
// Deletes `count` images and nulls their slots.
void DeleteStateImages(NImage** images, int32_t count);
// Advances every image of the set to the tick count `now` (shown or not, so that every animation keeps to
// the clock). 1 when `shown` (may be null) is one that changed frame: the caller repaints only then.
int32_t TickStateImages(NImage* const* images, int32_t count, const NImage* shown, uint32_t now);
