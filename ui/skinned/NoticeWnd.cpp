#include "ui/skinned/NoticeWnd.h"

#include <new>

#include "ui/base/IniStringContainer.h"
#include "ui/browser/OpenUrl.h"
#include "ui/gfx/Dib.h"
#include "ui/skin/SkinListeners.h"
#include "ui/skinned/FrameInputs.h"
#include "ui/skinned/SkinArithmetic.h"
#include "ui/view/NotifyCodes.h"

namespace {

const wchar_t kSection[] = L"NOTICE_TEXT";
const wchar_t kButtonSkin[] = L"notice_btn";

}  // namespace

int32_t ScrollStep(int32_t speed, uint32_t elapsed_ms) {
  // 64 bits: a huge speed from a skin times a long pause overflows nothing; division truncates toward zero.
  return ClampToInt32(static_cast<int64_t>(speed) * static_cast<int64_t>(elapsed_ms) / 1000);
}

NoticeWnd::~NoticeWnd() {
  Destroy();
}

void NoticeWnd::SetNoticeCount(int32_t count) {
  if (count < 0)
    count = 0;
  if (count == count_ && (count == 0 || texts_))
    return;
  EndChange();
  texts_.reset();
  links_.reset();
  count_ = 0;
  if (count == 0) {
    current_ = -1;
    return;
  }
  texts_.reset(new (std::nothrow) String[count]);
  links_.reset(new (std::nothrow) String[count]);
  if (!texts_ || !links_) {
    texts_.reset();
    links_.reset();
    current_ = -1;
    return;
  }
  count_ = count;
  // The notice on show may lie past the new end; the next one is then the first.
  if (current_ >= count_)
    current_ = count_ - 1;
}

void NoticeWnd::EndChange() {
  if (incoming_ < 0)
    return;
  buttons_[incoming_].Show(0, 0);
  incoming_ = -1;
  // The outgoing notice may have slid part of the way out: it stands whole in the strip again.
  NoticeButton& button = buttons_[active_];
  if (button.y() != 0)
    button.Move(button.x(), 0);
}

POINT NoticeWnd::StartPosition(int32_t button_width, bool incoming) const {
  POINT at = {0, 0};
  if (horizontal_speed_ > 0 && button_width > width())
    at.x = width() - button_width;
  if (incoming)
    at.y = vertical_speed_ > 0 ? -height() : height();
  return at;
}

void NoticeWnd::PutNotice(int32_t which, int32_t index, bool incoming) {
  NoticeButton& button = buttons_[which];
  button.SetNotice(texts_[index].GetString(), links_[index].GetString());
  POINT at = StartPosition(button.width(), incoming);
  button.Move(at.x, at.y);
  button.Show(1, 0);
}

void NoticeWnd::UpdateDisplay() {
  if (texts_ && links_ && count_ > 0) {
    if (current_ != -1)
      return;
    current_ = 0;
    PutNotice(active_, 0, false);
    seen_since_ = horizontal_tick_ = FrameTickCount();
    return;
  }
  if (default_text_.GetLength() == 0)
    return;
  // The default text stands alone: a change under way and the other button go.
  EndChange();
  active_ = 0;
  buttons_[1].Show(0, 0);
  NoticeButton& button = buttons_[0];
  button.SetNotice(default_text_.GetString(), nullptr);
  int32_t x = horizontal_speed_ > 0 && button.width() > width() ? width() - button.width() : 0;
  button.Move(x, 0);
  button.Show(1, 0);
}

void NoticeWnd::OnSkinLoaded() {
  IniStringContainer* skin = ini();
  default_text_.Assign(skin->GetString(kSection, L"text", nullptr));
  show_time_ = skin->GetInt(kSection, L"show_time", show_time_);
  horizontal_speed_ = skin->GetInt(kSection, L"h_scroll_speed", 0);
  vertical_speed_ = skin->GetInt(kSection, L"v_scroll_speed", 0);
}

int32_t NoticeWnd::OnCreate() {
  if (!SkinnedWnd::OnCreate())
    return 0;
  const int32_t ids[2] = {kFirstButtonId, kSecondButtonId};
  for (int32_t index = 0; index < 2; ++index) {
    buttons_[index].SetSkin(category_id().GetString(), kButtonSkin);
    if (!buttons_[index].Create(0, 0, 1, 1, ids[index], this)) {
      // The strip is not created after all: it must not stay in the listener list.
      buttons_[0].Destroy();
      buttons_[1].Destroy();
      UnregisterSkinListener(this);
      return 0;
    }
  }
  return 1;
}

int32_t NoticeWnd::OnNotify(int32_t code, intptr_t p1, intptr_t p2) {
  if (code == NOTIFY_SKIN_CHANGED)
    return SkinnedWnd::OnNotify(code, p1, p2);
  if (code != NOTIFY_CLICKED || (p1 != kFirstButtonId && p1 != kSecondButtonId))
    return 0;
  const String& link = buttons_[p1 == kFirstButtonId ? 0 : 1].link();
  if (link.GetLength() > 0)
    OpenUrlWithInternetExplorer(link.GetString(), url_shell_);
  return 1;
}

int32_t NoticeWnd::ScrollSideways(uint32_t now) {
  NoticeButton& button = buttons_[active_];
  int32_t x = button.x();
  if (button.width() <= width() || now - horizontal_tick_ == 0)
    return x;
  int32_t step = ScrollStep(horizontal_speed_, now - horizontal_tick_);
  if (step == 0)
    return x;
  x = ClampToInt32(static_cast<int64_t>(x) + step);
  horizontal_tick_ = now;
  bool outside = horizontal_speed_ >= 0 ? x < 0 : static_cast<int64_t>(x) + button.width() > width();
  if (outside)
    seen_since_ = now;
  return x;
}

bool NoticeWnd::SlideVertically(uint32_t now, int32_t next, int32_t* active_y) {
  if (now - vertical_tick_ == 0)
    return true;
  int32_t step = ScrollStep(vertical_speed_, now - vertical_tick_);
  if (step == 0)
    return true;
  vertical_tick_ = now;
  NoticeButton& outgoing = buttons_[active_];
  NoticeButton& coming = buttons_[incoming_];
  *active_y = ClampToInt32(static_cast<int64_t>(*active_y) + step);
  int32_t coming_y = ClampToInt32(static_cast<int64_t>(coming.y()) + step);
  if (*active_y < -height() || *active_y > height()) {
    outgoing.Show(0, 0);
    coming.Move(coming.x(), 0);
    current_ = next;
    active_ = incoming_;
    incoming_ = -1;
    seen_since_ = horizontal_tick_ = now;
    return false;
  }
  coming.Move(coming.x(), coming_y);
  return true;
}

void NoticeWnd::OnUpdate() {
  if (!texts_ || count_ <= 0)
    return;
  uint32_t now = FrameTickCount();
  if (first_frame_) {
    first_frame_ = 0;
    seen_since_ = horizontal_tick_ = vertical_tick_ = now;
  } else {
    // The tick counter wrapped: stamps from before it are pulled back, so nothing jumps.
    for (uint32_t* stamp : {&seen_since_, &horizontal_tick_, &vertical_tick_}) {
      if (*stamp > now)
        *stamp = now;
    }
  }
  int32_t x = ScrollSideways(now);
  int32_t y = buttons_[active_].y();
  int32_t next = current_ + 1 >= count_ ? 0 : current_ + 1;
  if (incoming_ < 0) {
    if (static_cast<int64_t>(now - seen_since_) >= show_time_) {
      incoming_ = active_ == 0 ? 1 : 0;
      PutNotice(incoming_, next, true);
      vertical_tick_ = now;
    }
  } else if (!SlideVertically(now, next, &y)) {
    return;
  }
  NoticeButton& button = buttons_[active_];
  if (x != button.x() || y != button.y())
    button.Move(x, y);
}

void NoticeWnd::OnPaint(HDC, Dib* surface) {
  if (surface != nullptr)
    surface->FillRect(RECT{0, 0, surface->width(), surface->height()}, 0);
}
