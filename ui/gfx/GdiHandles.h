// Move-only owners of the GDI handles that the image code makes for a moment: each deletes its handle when it
// ends, so no error path leaks one. Null means "no handle".
#pragma once

#include <windows.h>

#include "base/ScopedHandle.h"

struct DeleteGdiObject {
  void operator()(HGDIOBJ object) const { DeleteObject(object); }
};

// A bitmap, region, brush, pen or font: anything freed with DeleteObject.
template <typename Handle>
using ScopedGdiObject = ScopedHandle<Handle, DeleteGdiObject>;

using ScopedBitmap = ScopedGdiObject<HBITMAP>;
using ScopedRegion = ScopedGdiObject<HRGN>;

// A memory device context with one object selected into it; the old object is selected back and the context
// deleted when it ends.
class ScopedMemoryDC {
 public:
  // A context compatible with `dc` (the screen when null) holding `object`; valid() tells whether it was
  // made.
  ScopedMemoryDC(HDC dc, HGDIOBJ object) : dc_(CreateCompatibleDC(dc)) {
    if (dc_ != nullptr && object != nullptr)
      old_object_ = SelectObject(dc_, object);
  }
  ~ScopedMemoryDC() {
    if (dc_ == nullptr)
      return;
    if (old_object_ != nullptr)
      SelectObject(dc_, old_object_);
    DeleteDC(dc_);
  }
  ScopedMemoryDC(const ScopedMemoryDC&) = delete;
  ScopedMemoryDC& operator=(const ScopedMemoryDC&) = delete;

  bool valid() const { return dc_ != nullptr; }
  HDC get() const { return dc_; }

 private:
  HDC dc_ = nullptr;
  HGDIOBJ old_object_ = nullptr;
};
