// NImage: a skin image with optional frame animation, drawn by its owning control onto its surface.
//
// Two layouts: a strip (one image holding frame_count frames side by side, each strip width / frame_count
// pixels wide; the whole image when frame_count is 0) or one image per frame. The animation keeps to
// wall-clock time: each Tick advances by the number of whole frame times elapsed since the current frame
// started, in one step (frames missed while the window was busy are skipped), and a tick counter that went
// back (or wrapped) restarts the frame time.
//
// Skin file "<id>.ini" of an animated image (LoadSkinImage), UTF-16LE:
//   [IMAGE]      x, y (0: the drawing position), frame_count (0: still; 0..kMaxFrames), frame_time (0;
//                milliseconds per frame), image (a strip file; without it the frames come one per file)
//   [FRAME_<i>]  image: the file of frame i, for i = 0 .. frame_count - 1
// Files are found with OpenSkinFile in the image's category.
//
// Ownership: the loader's caller owns the NImage; the NImage holds one reference on each of its Dibs.
// Thread: user-interface thread only.
#pragma once

#include <windows.h>

#include <cstdint>

class Dib;
class SkinLoader;

class NImage {
 public:
  // The most frames an image may have.
  static const int32_t kMaxFrames = 1024;

  NImage() = default;
  virtual ~NImage();
  NImage(const NImage&) = delete;
  NImage& operator=(const NImage&) = delete;

  // Loads a strip of `count` frames (0: a still image) from `path` (heap pixels). 0 when frames exist
  // already, the count is outside 0..kMaxFrames, the image does not load, or its width has fewer pixels than
  // frames.
  int LoadStrip(const wchar_t* path, int32_t count, uint32_t frame_time);
  // Prepares `count` empty frame slots (0..kMaxFrames). 0 when frames exist already or the count is refused.
  int AllocFrames(int32_t count, uint32_t frame_time);
  // Loads frame `index` into its empty slot; 1 when it loaded.
  int LoadFrame(int32_t index, const wchar_t* path);
  // The size of one frame; 0 without a current frame image.
  int GetFrameSize(int32_t* width, int32_t* height) const;
  // Advances the animation to the tick count now; 1 when the frame changed.
  int Tick();
  // The same for an explicit tick count (tests inject their clock here).
  int TickAt(uint32_t now);
  // Draws the current frame at (x, y) of `destination` (Dib::Draw with `blend`); the Draw result, 0 without a
  // frame.
  int Draw(Dib* destination, int blend) const;
  // The current frame's image and its source rectangle in `out`; null without one.
  Dib* GetFrame(RECT* out) const;
  // A part of each frame to draw instead of the whole (null: the whole frame).
  void SetSourceRect(const RECT* rect);

  int32_t x() const { return x_; }
  int32_t y() const { return y_; }
  void set_position(int32_t x, int32_t y) {
    x_ = x;
    y_ = y;
  }
  int32_t frame_count() const { return frame_count_; }
  int32_t frame_width() const { return frame_width_; }
  int32_t current_frame() const { return current_frame_; }
  void set_current_frame(int32_t frame) { current_frame_ = frame; }
  uint32_t last_tick() const { return last_tick_; }
  void set_last_tick(uint32_t tick) { last_tick_ = tick; }
  int32_t stopped() const { return stopped_; }
  void set_stopped(int32_t stopped) { stopped_ = stopped; }

 private:
  Dib** frames_ = nullptr;
  int32_t slot_count_ = 0;
  // Loaded as one strip (LoadStrip), whose frames are cut from it; otherwise one image per slot. A strip is a
  // strip because it was loaded as one: a single frame loaded on its own is a whole image, not a strip.
  bool is_strip_ = false;
  int32_t frame_count_ = 0;
  uint32_t frame_time_ = 0;
  int32_t x_ = 0;
  int32_t y_ = 0;
  bool has_source_rect_ = false;
  RECT source_rect_ = {0, 0, 0, 0};
  int32_t frame_width_ = 0;
  uint32_t last_tick_ = 0;
  int32_t current_frame_ = 0;
  int32_t stopped_ = 0;
};

// The animated image described by "<id>.ini" of `category`, or null when the file, a key, a file it names or
// an image is missing or refused.
NImage* LoadSkinImage(SkinLoader* category, const wchar_t* id);
// A one-frame image of the skin file `name` of `category`, or null.
NImage* LoadSkinImageFile(SkinLoader* category, const wchar_t* name);
