// ControlCanvas: a GDI device context onto a node's surface, for the built-in looks of the basic controls
// (drawn with system colours, pens and text). A surface that is a DIB section is drawn on directly; a heap
// surface (every windowless node has one) is drawn through a DIB section of the same size whose pixels are
// copied back when the canvas ends. Either way every pixel's alpha is set to 255 at the end, since the GDI
// calls leave it 0. Looks that use a canvas paint the whole surface, so the copy starts undefined.
//
// Also the line helpers that the looks share: the frames of a raised and of a sunken button.
//
// Thread: user-interface thread only.
#pragma once

#include <windows.h>

#include <cstdint>

class Dib;

class ControlCanvas {
 public:
  explicit ControlCanvas(Dib* surface);
  ~ControlCanvas();
  ControlCanvas(const ControlCanvas&) = delete;
  ControlCanvas& operator=(const ControlCanvas&) = delete;

  // Null when no context could be made (then nothing is drawn).
  HDC dc() const { return dc_; }

  // Fills [left, top, right, bottom) with a system colour (COLOR_...).
  void FillSystem(int32_t left, int32_t top, int32_t right, int32_t bottom, int system_colour);
  // A polyline in a solid 1-pixel pen (the end point is not painted).
  void Line(COLORREF colour, const POINT* points, int count);
  // The raised frame of a normal button over [left, right) x [top, bottom): highlight up the left side and
  // along the top, dark shadow down the right side and along the bottom; with `hover` also a shadow line just
  // inside the right and bottom edges.
  void RaisedFrame(int32_t left, int32_t top, int32_t right, int32_t bottom, bool hover);
  // The frame of a pressed button: a shadow rectangle one pixel inside a black one.
  void SunkenFrame(int32_t left, int32_t top, int32_t right, int32_t bottom);

 private:
  Dib* surface_;
  Dib* scratch_ = nullptr;  // the DIB section drawn on for a heap surface
  HDC dc_ = nullptr;
  HGDIOBJ old_bitmap_ = nullptr;
};
