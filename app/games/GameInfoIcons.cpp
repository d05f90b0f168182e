// The game record's icon hooks (GameInfo.h), over the icon files of IconFile.h.
#include <cwchar>
#include <string>

#include "app/games/GameInfo.h"
#include "app/games/IconFile.h"

namespace {

// Fetches "<base>/<name>" at `version` into `path`; null when there is no base, the URL is too long or the
// fetch fails.
const wchar_t* FetchIconAt(const wchar_t* game_id,
                           const wchar_t* base,
                           const wchar_t* name,
                           int32_t version,
                           wchar_t (&path)[260]) {
  if (base == nullptr || base[0] == 0)
    return nullptr;
  std::wstring url = base;
  url += L'/';
  url += name;
  if (url.size() > kMaxIconUrlUnits)
    return nullptr;
  wchar_t fetched[260];
  if (FetchIconFile(game_id, url.c_str(), version, fetched) != kIconFetchReady)
    return nullptr;
  std::wmemcpy(path, fetched, 260);
  return path;
}

}  // namespace

const wchar_t* GameInfo::FetchSmallIcon() {
  return FetchIconAt(game_id_, icon_url_base_, L"sicon.png", icon_version_, small_icon_path_);
}

const wchar_t* GameInfo::FetchIcon() {
  return FetchIconAt(game_id_, icon_url_base_, L"icon.png", icon_version_, icon_path_);
}
