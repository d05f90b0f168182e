#include "ui/gfx/AppIcon.h"

#include <cwchar>

namespace {

HICON g_app_icon = nullptr;

}  // namespace

HICON LoadAppIcon(const wchar_t* base) {
  FreeAppIcon();
  wchar_t path[MAX_PATH];
  if (base != nullptr && std::wcslen(base) + 4 < MAX_PATH) {
    std::wcscpy(path, base);
    std::wcscat(path, L".ico");
    g_app_icon =
        static_cast<HICON>(LoadImageW(nullptr, path, IMAGE_ICON, 0, 0, LR_LOADFROMFILE | LR_DEFAULTSIZE));
  }
  // Not LR_SHARED: the icon is destroyed at shutdown, which a shared resource icon must never be.
  if (g_app_icon == nullptr)
    g_app_icon = static_cast<HICON>(LoadImageW(
        GetModuleHandleW(nullptr), MAKEINTRESOURCEW(kAppIconResourceId), IMAGE_ICON, 0, 0, LR_DEFAULTSIZE));
  return g_app_icon;
}

void FreeAppIcon() {
  if (g_app_icon != nullptr)
    DestroyIcon(g_app_icon);
  g_app_icon = nullptr;
}
