// orvaneHtmlCtrl: the launcher window's web view (its post pages and the advertisement banner). Unlike the
// toolkit's skinned view it lets through only the navigations that the launcher itself starts: every other
// navigation (a link the user clicks, a frame or a redirect the page starts by itself) is cancelled and its
// URL opened in the outside browser (OpenUrlWithInternetExplorer, which lets only http and https links
// leave), or dropped when it is one of the browser's own pages ("res:").
//
// Skin: the BROWSER section places the view (SkinnedHtmlCtrl.h) and gives the normal geometry; the
// EXTENDED section ("x", "y", "width", "height", default 0) gives the extended one, which the launcher
// window switches the view into by setting the extended flag. Every skin load refreshes both, and a view that
// is extended moves into the new extended geometry.
//
// Thread: user-interface thread only; OLE initialised (CHtmlCtrl.h).
#pragma once

#include <cstdint>

#include "ui/browser/OpenUrl.h"
#include "ui/skinned/SkinnedHtmlCtrl.h"

// What happens to a navigation the browser is about to start.
enum class NavigationDecision {
  kLetThrough,   // the launcher's own navigation
  kDrop,         // cancelled, nothing opened: one of the browser's own pages
  kOpenOutside,  // cancelled, the URL goes to the outside browser
};

// The decision for `url` (null counts as empty): the launcher's own navigation passes; a URL that begins
// with a dropped prefix ("res:", compared with letter case) is dropped; everything else goes outside.
NavigationDecision DecideNavigation(int32_t self_navigation, const wchar_t* url);

// A position and size in the view's parent node.
struct ViewGeometry {
  int32_t x = 0;
  int32_t y = 0;
  int32_t width = 0;
  int32_t height = 0;
};

class orvaneHtmlCtrl : public SkinnedHtmlCtrl {
 public:
  orvaneHtmlCtrl() = default;
  ~orvaneHtmlCtrl() override;

  // Starts a navigation that the view lets through: when the view exists and `url` is not empty, the
  // self-navigation flag is set, a busy browser is stopped, and the browser navigates to `url`. The flag is
  // cleared again when the browser refuses the navigation, and it is never set when no navigation starts, so
  // the user's next click cannot load inside the view. 1 when the navigation started.
  int32_t Navigate(const wchar_t* url) override;
  // The decision above; the launcher's own navigation clears the flag and goes on through the base.
  void OnBeforeNavigate2(const wchar_t* url,
                         const wchar_t* target_frame,
                         bool top_level,
                         BOOL* cancel) override;
  // The skinned load (BROWSER), then the normal geometry as now set and the extended one from EXTENDED;
  // an extended view moves into it. 1 when loaded.
  int LoadSkin() override;

  int32_t self_navigation() const { return self_navigation_; }
  const ViewGeometry& normal_geometry() const { return normal_; }
  const ViewGeometry& extended_geometry() const { return extended_geometry_; }
  // Set and cleared by the launcher window, which then moves the view itself.
  int32_t extended() const { return extended_; }
  void set_extended(int32_t extended) { extended_ = extended ? 1 : 0; }
  // The shell through which outside links are opened; null (the default) uses the real one. Tests only.
  void set_url_shell(UrlShell* shell) { url_shell_ = shell; }

 private:
  int32_t self_navigation_ = 0;
  ViewGeometry normal_;
  int32_t extended_ = 0;
  ViewGeometry extended_geometry_;
  UrlShell* url_shell_ = nullptr;
};
