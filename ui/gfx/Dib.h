// The toolkit's 32-bit image: every skin picture decodes into one and every window surface is one. All
// drawing is done in software on these; only a finished window surface is copied to the screen.
//
// Pixels are 0xAARRGGBB, width x height of them, rows bottom-up: pixel (x, y), y counted from the top of the
// picture, lies at index (height - 1 - y) x width + x. The store is either a GDI DIB section (bitmap() set;
// needed to copy the image to a device context) or a plain heap block.
//
// Sharing: an image made by Load is shared by path with every other Load of the same path (ignoring ASCII
// case) while it lives, so its pixels are read-only for everyone; images from CreateBlank are private. Every
// holder gives its reference back with Release; the last Release deletes the image.
//
// Drawing onto another image (Draw) clips, leaves out the source's colour key and, with blending, mixes the
// source's per-pixel alpha and its global alpha into the destination's colour; the destination keeps its own
// alpha, and destination pixels of alpha 0 are never painted by a blend.
//
// Thread: user-interface thread only (the live list is unguarded).
#pragma once

#include <windows.h>

#include <cstdint>

#include "ui/base/TPLinkedList.h"

class Dib {
 public:
  // The largest pixel store an image may have: 128 MiB (32 Mi pixels, far beyond any screen), so that a size
  // read from a file can neither overflow the byte count nor exhaust the 32-bit address space.
  static const uint64_t kMaxByteSize = 128u * 1024u * 1024u;

  // An empty image (no pixels, alpha 255, no colour key, one reference), linked into the live list.
  Dib();
  // Frees the pixel store and unlinks the image from the live list.
  virtual ~Dib();
  Dib(const Dib&) = delete;
  Dib& operator=(const Dib&) = delete;

  // The shared image for `path` (a BMP or PNG read through the virtual files) with one more reference, or
  // null when it cannot be read or decoded. A request for a DIB section (`section` non-zero) is only served
  // by a cached image that is a DIB section; a heap request takes whichever is cached.
  static Dib* Load(const wchar_t* path, int section);
  // The live image whose name equals `path` ignoring ASCII case (the first one loaded), or null. No reference
  // is added. Null and empty paths find nothing (images made in memory have no name).
  static Dib* FindCached(const wchar_t* path);
  // A new private image of `width` x `height` with undefined contents, or null when a side is below 1 or the
  // store cannot be made.
  static Dib* CreateBlank(int32_t width, int32_t height, int section);
  // Every image alive now, oldest first (for diagnostics and tests).
  static const TPLinkedList<Dib>& LiveImages();

  void AddReference() { ++references_; }
  // One reference less; the image is deleted when none are left. The caller's pointer is dead afterwards.
  void Release();

  // Replaces the pixel store with a new one of `width` x `height` (contents undefined). 1 on success; 0 when
  // a side is below 1, the store would pass kMaxByteSize or cannot be made, and then the image has no pixels.
  int Create(int32_t width, int32_t height, int section);
  // Changes the size: the same size changes nothing; a DIB section gets a new one (contents lost); a heap
  // block is kept when the byte size stays (a transposed size), otherwise replaced (contents undefined). 1 on
  // success; 0 when a side is below 1 or the new store cannot be made, and then the image is unchanged.
  int Resize(int32_t width, int32_t height);

  // Sets every pixel of `rect` (picture coordinates, right and bottom exclusive), clipped to the image, to
  // `value`, alpha included. An empty rectangle does nothing.
  void FillRect(const RECT& rect, uint32_t value);
  // Sets the alpha byte of every pixel to 255.
  void SetOpaque();
  // A region made of every pixel that is neither `key` (all 32 bits) nor of alpha 0, built row by row from
  // the top; the caller owns it. Null without pixels or when a region call fails.
  HRGN CreateColorKeyRegion(uint32_t key) const;

  // Draws the block `source_rect` of `src` (the whole image when null) at `destination` of `dst` ((0, 0) when
  // null). `blend` 0 copies (skipping pixels equal to the source's colour key when it has one); non-zero
  // blends with the source's per-pixel and global alpha. 0 when `dst` or `src` is null or the source
  // rectangle does not lie inside the source; everything else is 1, also when clipping leaves nothing to draw
  // or the global alpha is 0 with blending.
  static int Draw(const RECT* source_rect, const POINT* destination, const Dib* src, Dib* dst, int blend);
  // Copies the whole image to `dc` at `point` ((0, 0) when null). 0 without a device context or without a
  // bitmap (heap images cannot be shown this way).
  int DrawToDC(const POINT* point, HDC dc) const;

  uint32_t* pixels() const { return pixels_; }
  // The first pixel of picture row `y` (counted from the top); the caller keeps 0 <= y < height.
  uint32_t* Row(int32_t y) const { return pixels_ + static_cast<size_t>(height_ - 1 - y) * width_; }
  int32_t width() const { return width_; }
  int32_t height() const { return height_; }
  uint32_t byte_size() const { return byte_size_; }
  int section() const { return section_; }
  HBITMAP bitmap() const { return bitmap_; }
  // Global opacity 0..255 used when the image is drawn with blending (values above 255 act as 255).
  int32_t alpha() const { return alpha_; }
  void set_alpha(int32_t alpha) { alpha_ = alpha; }
  // A pixel value that is never drawn; 0 means none.
  uint32_t color_key() const { return color_key_; }
  void set_color_key(uint32_t key) { color_key_ = key; }
  // The path the image was loaded from; empty for images made in memory.
  const wchar_t* name() const { return name_; }
  int32_t references() const { return references_; }

 private:
  // The cached image for `path` that can serve a request for `section`, or null.
  static Dib* FindCachedFor(const wchar_t* path, int section);
  // Writes the rectangles of CreateColorKeyRegion into `rects` (when non-null); returns how many there are.
  size_t CollectShownRuns(uint32_t key, RECT* rects) const;
  void FreeStore();
  void SetName(const wchar_t* path);

  int section_ = 0;
  HBITMAP bitmap_ = nullptr;
  uint32_t* pixels_ = nullptr;
  int32_t alpha_ = 255;
  uint32_t color_key_ = 0;
  int32_t width_ = 0;
  int32_t height_ = 0;
  uint32_t byte_size_ = 0;
  wchar_t name_[MAX_PATH] = {};
  int32_t references_ = 1;
  TPLinkedList<Dib>::Node* live_node_ = nullptr;
};

// An opaque pixel from three components, each clamped to 0..255.
uint32_t MakeColor(int32_t r, int32_t g, int32_t b);
