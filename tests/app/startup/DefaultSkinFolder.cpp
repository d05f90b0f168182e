#include "tests/app/startup/DefaultSkinFolder.h"

#include "app/texts/MessageTexts.h"
#include "tests/support/WinePaths.h"

#include <cstdlib>
#include <string>
#include "ui/base/IniStringContainer.h"
#include "ui/skin/NFontManager.h"
#include "ui/skin/SkinLoader.h"

namespace startup_testing {

std::wstring DefaultSkinFolder() {
  return testing_support::WindowsPathOf(ORVANE_DEFAULT_SKIN_DIR);
}

bool SkinRect(const std::string& window, const std::string& control, RECT* rect) {
  std::string json;
  if (!testing_support::ReadFileBytes(DefaultSkinFolder() + L"\\default_skin_rects.json", &json))
    return false;
  // The file is the tool's own: {"window": {"control": [x, y, width, height], ...}, ...}.
  size_t at = json.find("\"" + window + "\": {");
  if (at == std::string::npos)
    return false;
  at = json.find("\"" + control + "\": [", at);
  if (at == std::string::npos)
    return false;
  long values[4] = {};
  const char* cursor = json.c_str() + json.find('[', at) + 1;
  for (long& value : values) {
    char* end = nullptr;
    value = strtol(cursor, &end, 10);
    cursor = end + 1;
  }
  *rect = {values[0], values[1], values[0] + values[2], values[1] + values[3]};
  return true;
}

DefaultSkinInstallation::DefaultSkinInstallation() {
  GetCurrentDirectoryW(MAX_PATH, previous_folder_);
  if (!testing_support::CopyTree(DefaultSkinFolder(), folder_.path()))
    return;
  SetCurrentDirectoryW(folder_.path().c_str());
  ready_ = SkinLoader::LoadSkinInfo() && LoadAppMessages();
  // The main dialog loads the shared font set; tests without one load it here.
  SkinLoader* etc = FindSkinCategory(L"etc");
  IniStringContainer* ini = etc != nullptr ? LoadControlSkinIni(etc, L"etc") : nullptr;
  ready_ = ready_ && ini != nullptr && LoadSkinFonts(L"etc", ini);
  delete ini;
}

DefaultSkinInstallation::~DefaultSkinInstallation() {
  RemoveAllFontManagers();
  SkinLoader::UnloadSkinInfo();
  ReleaseAppMessages();
  SetCurrentDirectoryW(previous_folder_);
}

bool DefaultSkinInstallation::SetSkinChange(const wchar_t* id, int value) {
  std::wstring path = folder_.Join(L"data\\skin\\skin_info.ini");
  for (int index = 0;; ++index) {
    wchar_t section[32], found[64];
    wsprintfW(section, L"CATEGORY_%d", index);
    if (!GetPrivateProfileStringW(section, L"id", L"", found, 64, path.c_str()))
      return false;
    if (lstrcmpW(found, id) == 0) {
      WritePrivateProfileStringW(section, L"skin_change", std::to_wstring(value).c_str(), path.c_str());
      return SkinLoader::LoadSkinInfo() != 0;
    }
  }
}

}  // namespace startup_testing
