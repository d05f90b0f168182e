// Screenshots of real windows on the test display: the pixels of a window as they are on the screen, the
// colour of one of them, and saving them as build/screenshots/<name>.png. Window tests also click through
// their windows with these synthetic mouse messages (the pointer is placed on each point first, so that the
// window's mouse-leave tracking agrees).
#pragma once

#include <windows.h>

#include <cstdint>
#include <functional>
#include <string>

#include "tests/ui/gfx/TestImages.h"

namespace testing_support {

// The window's pixels as they are on the screen, as RGBA rows top to bottom.
PngImage CaptureWindow(HWND window);
// The screen's pixels inside `rect` (screen coordinates), the same way.
PngImage CaptureScreen(const RECT& rect);
// The pixel (x, y) of a capture as 0xRRGGBB.
uint32_t PixelAt(const PngImage& image, int x, int y);
// Writes the capture as "<build folder>/screenshots/<name>"; true when written.
bool SaveScreenshot(const PngImage& image, const std::wstring& name);

// Moves the pointer to the window's client point (x, y) and sends WM_MOUSEMOVE there.
void MoveMouse(HWND window, int x, int y);
// MoveMouse, then a left button down and up at (x, y).
void ClickAt(HWND window, int x, int y);

// Dispatches this thread's messages until `done` answers true (true) or `timeout_ms` passed (false).
bool PumpUntil(const std::function<bool()>& done, DWORD timeout_ms);
// Pumps until the window and its visible child windows have nothing left to repaint, so that a capture shows
// its current look.
bool WaitUntilPainted(HWND window, DWORD timeout_ms);

}  // namespace testing_support

namespace testing_support {

// Real input through the system's input queue, as the user makes it, to whatever window lies at the point:
// the pointer moves to the client point (x, y) of `window`; a click also presses and releases the button
// there, each event carrying that position, so a mouse move still queued for the target from the pointer's
// earlier place cannot leave the pressed control unhovered. Both return once the input is queued (true), so a
// click that opens a modal window in another process does not hold the caller.
bool InputMove(HWND window, int x, int y);
bool InputClick(HWND window, int x, int y, bool right_button = false);
// True when the top-level window at the client point (x, y) of `window` is `window` (nothing covers it there).
bool OnTopAt(HWND window, int x, int y);
// For failure messages: the screen point, the top-level window found there (class, title, process) and the
// foreground window.
std::string DescribeWindowAt(HWND window, int x, int y);

}  // namespace testing_support
