#include "ui/browser/CHtmlHostSiteOccManager.h"

CHtmlHostSiteOccManager::~CHtmlHostSiteOccManager() {
  DetachSites();
}

CHtmlHostSite* CHtmlHostSiteOccManager::CreateSite(HWND container) {
  CHtmlHostSite* site = CHtmlHostSite::Make(container, handler_);
  if (site == nullptr)
    return nullptr;
  // An older site that a browser may still hold must not reach the handler through us either.
  DetachSites();
  last_site_ = ComPtr<CHtmlHostSite>(site);
  return site;
}

void CHtmlHostSiteOccManager::DetachSites() {
  if (last_site_)
    last_site_->DetachHandler();
}
