// CHtmlHostSiteOccManager: makes the sites of a web view's browser objects, each given the view's host
// handler. It keeps a reference to the last site it made.
//
// Thread: user-interface thread only.
#pragma once

#include <windows.h>

#include "ui/browser/CHtmlHostHandler.h"
#include "ui/browser/CHtmlHostSite.h"
#include "ui/browser/ComPtr.h"

class CHtmlHostSiteOccManager {
 public:
  explicit CHtmlHostSiteOccManager(CHtmlHostHandler* handler) : handler_(handler) {}
  ~CHtmlHostSiteOccManager();
  CHtmlHostSiteOccManager(const CHtmlHostSiteOccManager&) = delete;
  CHtmlHostSiteOccManager& operator=(const CHtmlHostSiteOccManager&) = delete;

  // A new site for a browser living in `container`, given this manager's handler, and remembered as the
  // last site. The site is returned with no reference of the caller's (the manager holds one; AddRef to
  // keep it). Null when memory ran out.
  CHtmlHostSite* CreateSite(HWND container);
  CHtmlHostSite* last_site() const { return last_site_.get(); }
  CHtmlHostHandler* handler() const { return handler_; }
  // Cuts every link of the last site to the handler and the container (the owner is going).
  void DetachSites();

 private:
  CHtmlHostHandler* handler_;
  ComPtr<CHtmlHostSite> last_site_;
};
