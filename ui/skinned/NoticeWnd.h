// NoticeWnd: the one-line strip of the launcher window that shows the portal's notices one after another.
// Each notice is a text with an optional link; clicking the text opens the link in the web browser
// (OpenUrlWithInternetExplorer). The strip has two NoticeButton children (ids 201 and 202, skin
// "notice_btn" of its own category) and swaps them at each change.
//
// Use: the owner calls SetNoticeCount, writes texts()[i] and links()[i], then UpdateDisplay to start.
//
// Per frame (its parent's update; time from FrameInputs.h):
//   - a notice wider than the strip scrolls sideways at h_scroll_speed pixels per second (> 0 to the right,
//     starting with its end at the right edge; < 0 to the left, starting at x 0); while part of it is still
//     outside in the direction of travel it counts as not fully seen;
//   - once fully seen (narrow notices at once) for show time, the next notice (after the last: the first)
//     comes in on the other button from above (v_scroll_speed > 0) or below (otherwise) while the current
//     one slides out at v_scroll_speed; the change ends when the outgoing one has left the strip. With a
//     speed of 0 no change ever completes.
// Without notices, UpdateDisplay shows the skin's default text on button 0 and nothing moves.
//
// Skin: BACK (SkinnedWnd: place and size; its image and colour are not drawn) and NOTICE_TEXT: text (the
// default text), show_time (ms; default the current one, 1000 at first), h_scroll_speed, v_scroll_speed
// (pixels per second, 0 each). The strip reloads on a skin change like every skinned window.
//
// Painting: the surface is cleared to transparent; the buttons are copied onto it without blending.
//
// Thread: user-interface thread only.
#pragma once

#include <windows.h>

#include <cstdint>
#include <memory>

#include "ui/base/String.h"
#include "ui/skinned/NoticeButton.h"
#include "ui/skinned/SkinnedWnd.h"

class UrlShell;

class NoticeWnd : public SkinnedWnd {
 public:
  static const int32_t kFirstButtonId = 201;
  static const int32_t kSecondButtonId = 202;

  NoticeWnd() = default;
  ~NoticeWnd() override;

  // 0 frees the notices and returns to idle; the count it has changes nothing; another count makes that many
  // empty texts and links (negative counts act as 0). A change under way ends; the current notice index stays
  // inside the new count.
  void SetNoticeCount(int32_t count);
  // Starts the ticker when it is idle and has notices; without notices shows the default text (if any).
  void UpdateDisplay();

  // The notices, count() entries each, for the owner to fill; null without notices.
  String* texts() { return texts_.get(); }
  String* links() { return links_.get(); }

  // The shell that opens links (null: the real one); tests pass their own.
  void set_url_shell(UrlShell* shell) { url_shell_ = shell; }

  // SkinnedCtrl.
  void OnSkinLoaded() override;
  // NWnd.
  int32_t OnCreate() override;
  int32_t OnNotify(int32_t code, intptr_t p1, intptr_t p2) override;
  void OnUpdate() override;
  void OnPaint(HDC dc, Dib* surface) override;
  int32_t BlendChildren() override { return 0; }

  int32_t count() const { return count_; }
  int32_t current() const { return current_; }
  int32_t active() const { return active_; }
  int32_t incoming() const { return incoming_; }
  int32_t show_time() const { return show_time_; }
  int32_t horizontal_speed() const { return horizontal_speed_; }
  int32_t vertical_speed() const { return vertical_speed_; }
  const String& default_text() const { return default_text_; }
  NoticeButton& button(int32_t index) { return buttons_[index & 1]; }

 private:
  // Where a button of `button_width` starts: x by the sideways rule, y 0 or, for an incoming notice, one
  // strip height above (v_scroll_speed > 0) or below.
  POINT StartPosition(int32_t button_width, bool incoming) const;
  // Puts notice `index` on button `which`, placed at its start and shown.
  void PutNotice(int32_t which, int32_t index, bool incoming);
  // Hides the incoming button of a change under way; no change is under way afterwards.
  void EndChange();
  // The sideways step of the active button, from horizontal_tick_ to `now`; its new x.
  int32_t ScrollSideways(uint32_t now);
  // The vertical step of a change under way; false when the change ended (the frame ends there).
  bool SlideVertically(uint32_t now, int32_t next, int32_t* active_y);

  int32_t count_ = 0;
  int32_t current_ = -1;
  std::unique_ptr<String[]> texts_;
  std::unique_ptr<String[]> links_;
  String default_text_;
  int32_t active_ = 0;
  int32_t incoming_ = -1;
  NoticeButton buttons_[2];
  int32_t show_time_ = 1000;
  int32_t horizontal_speed_ = 0;
  int32_t vertical_speed_ = 0;
  int32_t first_frame_ = 1;
  uint32_t seen_since_ = 0;
  uint32_t horizontal_tick_ = 0;
  uint32_t vertical_tick_ = 0;
  UrlShell* url_shell_ = nullptr;
};

// The step in pixels of `speed` pixels per second over `elapsed_ms`, truncated toward zero; 64-bit, held to
// the 32-bit range.
int32_t ScrollStep(int32_t speed, uint32_t elapsed_ms);
