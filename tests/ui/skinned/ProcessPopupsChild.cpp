// A launcher-like process for the teardown test: in the skin folder given as its argument it opens the
// process-wide tool-tip and menu, shows both, then shuts down as the launcher does (the popups' teardown
// call, then the skin categories and the font sets) and returns from main, running the static destructors.
// Exit code 0 when everything was given back, 2 when the popups could not be opened, 3 when a window, skin
// listener or image outlived the teardown.
#include <windows.h>

#include <shellapi.h>

#include <memory>

#include "ui/base/IniStringContainer.h"
#include "ui/gfx/Dib.h"
#include "ui/host/Window.h"
#include "ui/skin/NFontManager.h"
#include "ui/skin/SkinListeners.h"
#include "ui/skin/SkinLoader.h"
#include "ui/skinned/ProcessPopups.h"
#include "ui/skinned/SkinnedPopupMenu.h"
#include "ui/skinned/SkinnedToolTip.h"

namespace {

// Dispatches messages until `done` holds (true) or `timeout_ms` passed (false).
template <typename Done>
bool PumpUntil(Done done, DWORD timeout_ms) {
  DWORD start = GetTickCount();
  while (!done()) {
    if (GetTickCount() - start >= timeout_ms)
      return false;
    MSG message;
    while (PeekMessageW(&message, nullptr, 0, 0, PM_REMOVE)) {
      TranslateMessage(&message);
      DispatchMessageW(&message);
    }
    MsgWaitForMultipleObjects(0, nullptr, FALSE, 10, QS_ALLINPUT);
  }
  return true;
}

void NoChoice(uint32_t) {}

bool OpenPopups() {
  std::unique_ptr<IniStringContainer> fonts(LoadControlSkinIni(FindSkinCategory(L"main"), L"fonts"));
  if (!fonts || !LoadSkinFonts(L"main", fonts.get()))
    return false;
  SkinnedToolTip* tip = ProcessToolTip();
  SkinnedPopupMenu* menu = ProcessPopupMenu();
  tip->SetSkin(L"main", L"tip");
  menu->SetSkin(L"main", L"menu");
  menu->ResetItems(NoChoice);
  if (!tip->CreatePopup(0, 0, 1, 1, nullptr, NPopup::kToolWindow | NPopup::kTopmost) ||
      !menu->CreatePopup(50, 50, 1, 1, nullptr, NPopup::kToolWindow | NPopup::kTopmost))
    return false;
  menu->SetItem(1, 0, L"Start");
  menu->UpdateSize();
  menu->Show(1, 1);
  RECT everywhere = {-100000, -100000, 100000, 100000};
  tip->SetTip(&everywhere, 1, L"A tip");
  // The tip's wait of 0 shows it on one of the next frames.
  return PumpUntil(
      [&] { return IsWindowVisible(menu->window_handle()) && IsWindowVisible(tip->window_handle()); }, 10000);
}

}  // namespace

int main() {
  int count = 0;
  wchar_t** arguments = CommandLineToArgvW(GetCommandLineW(), &count);
  if (arguments == nullptr || count < 2 || !SetCurrentDirectoryW(arguments[1]))
    return 2;
  LocalFree(arguments);
  if (!SkinLoader::LoadSkinInfo() || !OpenPopups())
    return 2;
  // Shutdown: the popups first, while the lists they give back to still stand.
  TearDownProcessPopups();
  SkinLoader::UnloadSkinInfo();
  RemoveAllFontManagers();
  if (Window::BoundWindowCount() != 0 || SkinListenerCount() != 0 || Dib::LiveImages().count() != 0)
    return 3;
  return 0;
}
