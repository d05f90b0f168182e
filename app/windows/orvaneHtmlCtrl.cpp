#include "app/windows/orvaneHtmlCtrl.h"

#include <cwchar>

#include "ui/base/IniStringContainer.h"

namespace {

// The browser's own pages (its error and cancel pages), which are dropped; the list ends with "".
const wchar_t* const kDroppedPrefixes[] = {L"res:", L""};

bool HasDroppedPrefix(const wchar_t* url) {
  for (const wchar_t* const* prefix = kDroppedPrefixes; **prefix != L'\0'; ++prefix) {
    if (std::wcsncmp(url, *prefix, std::wcslen(*prefix)) == 0)
      return true;
  }
  return false;
}

}  // namespace

NavigationDecision DecideNavigation(int32_t self_navigation, const wchar_t* url) {
  if (self_navigation)
    return NavigationDecision::kLetThrough;
  if (HasDroppedPrefix(url != nullptr ? url : L""))
    return NavigationDecision::kDrop;
  return NavigationDecision::kOpenOutside;
}

orvaneHtmlCtrl::~orvaneHtmlCtrl() {
  Destroy();
}

int32_t orvaneHtmlCtrl::Navigate(const wchar_t* url) {
  if (!created_ || window_handle() == nullptr || browser() == nullptr || url == nullptr || *url == L'\0')
    return 0;
  // Set before the call: the browser may report the start from inside it.
  self_navigation_ = 1;
  if (!CHtmlCtrl::Navigate(url)) {
    self_navigation_ = 0;
    return 0;
  }
  return 1;
}

void orvaneHtmlCtrl::OnBeforeNavigate2(const wchar_t* url,
                                       const wchar_t* target_frame,
                                       bool top_level,
                                       BOOL* cancel) {
  switch (DecideNavigation(self_navigation_, url)) {
    case NavigationDecision::kLetThrough:
      self_navigation_ = 0;
      SkinnedHtmlCtrl::OnBeforeNavigate2(url, target_frame, top_level, cancel);
      return;
    case NavigationDecision::kDrop:
      if (cancel != nullptr)
        *cancel = TRUE;
      return;
    case NavigationDecision::kOpenOutside:
      if (cancel != nullptr)
        *cancel = TRUE;
      OpenUrlWithInternetExplorer(url, url_shell_);
      return;
  }
}

int orvaneHtmlCtrl::LoadSkin() {
  if (!SkinnedHtmlCtrl::LoadSkin())
    return 0;
  IniStringContainer* skin = ini();
  if (category() == nullptr || skin == nullptr)
    return 1;
  normal_ = ViewGeometry{x_, y_, width_, height_};
  extended_geometry_.x = skin->GetInt(L"EXTENDED", L"x", 0);
  extended_geometry_.y = skin->GetInt(L"EXTENDED", L"y", 0);
  extended_geometry_.width = skin->GetInt(L"EXTENDED", L"width", 0);
  extended_geometry_.height = skin->GetInt(L"EXTENDED", L"height", 0);
  if (extended_) {
    Move(extended_geometry_.x, extended_geometry_.y);
    Resize(extended_geometry_.width, extended_geometry_.height);
  }
  return 1;
}
