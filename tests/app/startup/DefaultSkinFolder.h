// A temporary program folder holding a copy of the built default skin (build/default_skin), made the current
// folder while it lives, with the skin categories and message tables loaded.
#pragma once

#include <windows.h>

#include <string>

#include "tests/support/TempFolder.h"

namespace startup_testing {

// The default skin's folder in Windows form.
std::wstring DefaultSkinFolder();
// The rectangle of `control` in `window` from the skin's "default_skin_rects.json"; false when not listed.
bool SkinRect(const std::string& window, const std::string& control, RECT* rect);

class DefaultSkinInstallation {
 public:
  DefaultSkinInstallation();
  ~DefaultSkinInstallation();
  // True when the copy was made and the skin information and application texts loaded.
  bool ready() const { return ready_; }
  const testing_support::TempFolder& folder() const { return folder_; }
  // Replaces the skin_change value of category `id` in the copied "skin_info.ini" and reloads it.
  bool SetSkinChange(const wchar_t* id, int value);

 private:
  testing_support::TempFolder folder_{L"launcherskin"};
  wchar_t previous_folder_[MAX_PATH] = {};
  bool ready_ = false;
};

}  // namespace startup_testing
