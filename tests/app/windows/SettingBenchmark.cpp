// The settings dialog over the default skin with 10 and 500 games in the order: dialog creation (DoModal until
// its loop runs), the first paint, the frame time on the game-list tab (update and full repaint with the
// pointer moving over the rows; median and worst), memory per order row (live image bytes and private bytes),
// a wheel step with its repaint, ScrollToSelected to the last row, and moving the last row to the top with its
// repaint. Needs a display (the test script's Xvfb); without one the dialog figures are left out.
#include <windows.h>
// After windows.h, which it needs.
#include <psapi.h>

#include <algorithm>
#include <cstdio>
#include <filesystem>
#include <functional>
#include <memory>
#include <string>
#include <vector>

#include "app/games/GameInfo.h"
#include "app/games/GameSource.h"
#include "app/settings/Setting.h"
#include "app/texts/MessageTexts.h"
#include "app/windows/SettingDlg.h"
#include "ui/base/IniStringContainer.h"
#include "ui/gfx/Dib.h"
#include "ui/skin/NFontManager.h"
#include "ui/skin/SkinLoader.h"
#include "ui/view/NotifyCodes.h"

namespace {

struct TitledGame : GameInfo {
  std::wstring id, title;
  const wchar_t* GetGameID() override { return id.c_str(); }
  const wchar_t* GetTitle() override { return title.c_str(); }
};
struct Games : GameSource {
  std::vector<std::unique_ptr<TitledGame>> games;
  size_t Count() override { return games.size(); }
  IGameInfo* At(size_t index) override { return index < games.size() ? games[index].get() : nullptr; }
};

double Now() {
  static LARGE_INTEGER frequency = [] {
    LARGE_INTEGER value;
    QueryPerformanceFrequency(&value);
    return value;
  }();
  LARGE_INTEGER counter;
  QueryPerformanceCounter(&counter);
  return static_cast<double>(counter.QuadPart) * 1000.0 / static_cast<double>(frequency.QuadPart);
}

double Time(const std::function<void()>& run) {
  double start = Now();
  run();
  return Now() - start;
}

uint64_t LiveImageBytes() {
  uint64_t bytes = 0;
  for (auto* node = Dib::LiveImages().head(); node != nullptr; node = node->next)
    bytes += node->item->byte_size();
  return bytes;
}

uint64_t PrivateBytes() {
  // Wine fills the page-file count (the process's committed private memory) but not always PrivateUsage.
  PROCESS_MEMORY_COUNTERS_EX counters = {};
  GetProcessMemoryInfo(GetCurrentProcess(), reinterpret_cast<PROCESS_MEMORY_COUNTERS*>(&counters),
                       sizeof(counters));
  return std::max<uint64_t>(counters.PrivateUsage, counters.PagefileUsage);
}

struct Run {
  SettingDlg* dialog = nullptr;
  double started = 0;
  int games = 0;
};
Run g_run;

// Repaints the dialog's whole tree onto its window.
void Repaint(SettingDlg& dialog) {
  HDC dc = GetDC(dialog.GetHwnd());
  dialog.Draw(dc, nullptr, 0);
  ReleaseDC(dialog.GetHwnd(), dc);
}

void Measure(SettingDlg& dialog) {
  double create = Now() - g_run.started;
  double first_paint = Time([&] { Repaint(dialog); });
  dialog.OnNotify(NOTIFY_TAB_SELECTED, SettingDlg::kGameListTab, 0);
  GameOrderList& list = dialog.game_list();
  std::vector<double> frames;
  for (int frame = 0; frame < 120; ++frame) {
    frames.push_back(Time([&] {
      list.OnMouseMove(20, (frame * 7) % 200);
      dialog.Update();
      Repaint(dialog);
    }));
  }
  std::sort(frames.begin(), frames.end());
  double wheel = Time([&] {
    list.OnMouseWheel(20, 20, -1);
    Repaint(dialog);
  });
  list.SelectIndex(list.row_count() - 1);
  double scroll = Time([&] {
    list.ScrollToSelected();
    Repaint(dialog);
  });
  double to_top = Time([&] {
    list.MoveSelectedToTop();
    Repaint(dialog);
  });
  // Memory of the rows: what clearing the list gives back.
  int rows = std::max(1, list.row_count());
  uint64_t images_with_rows = LiveImageBytes(), private_with_rows = PrivateBytes();
  list.SetRowCount(0);
  uint64_t images_without = LiveImageBytes(), private_without = PrivateBytes();
  std::printf("%3d games: create %.2f ms, first paint %.2f ms, frame median %.3f ms worst %.3f ms\n",
              g_run.games, create, first_paint, frames[frames.size() / 2], frames.back());
  std::printf("           per order row: live images %llu bytes, private %lld bytes\n",
              static_cast<unsigned long long>((images_with_rows - images_without) / rows),
              static_cast<long long>(
                  (static_cast<int64_t>(private_with_rows) - static_cast<int64_t>(private_without)) / rows));
  std::printf(
      "           wheel step + repaint %.3f ms, ScrollToSelected(last) + repaint %.3f ms, "
      "last row to top + repaint %.3f ms\n",
      wheel, scroll, to_top);
  dialog.OnCancel();
}

void CALLBACK OnLoopRunning(HWND, UINT, UINT_PTR id, DWORD) {
  KillTimer(nullptr, id);
  Measure(*g_run.dialog);
}

void Bench(int count, Games* games) {
  Setting::ReleaseInstance();
  games->games.clear();
  Setting* live = Setting::GetInstance();
  for (int i = 1; i <= count; ++i) {
    std::unique_ptr<TitledGame> game(new TitledGame());
    game->id = L"game" + std::to_wstring(i);
    game->title = L"Game number " + std::to_wstring(i);
    live->SetGameOrder(game->id.c_str(), i);
    games->games.push_back(std::move(game));
  }
  SettingDlg dialog;
  dialog.SetSkin(L"etc", L"setting_dlg");
  g_run = Run{&dialog, Now(), count};
  UINT_PTR timer = SetTimer(nullptr, 0, 1, OnLoopRunning);
  if (dialog.DoModal() == -1)
    std::printf("%3d games: the dialog could not be made (no display?)\n", count);
  KillTimer(nullptr, timer);
}

}  // namespace

int wmain() {
  wchar_t temp[MAX_PATH];
  GetTempPathW(MAX_PATH, temp);
  std::filesystem::path root =
      std::filesystem::path(temp) / ("setting_bench_" + std::to_string(GetCurrentProcessId()));
  std::error_code error;
  std::filesystem::create_directories(root, error);
  std::filesystem::copy(std::filesystem::path("Z:" ORVANE_DEFAULT_SKIN_DIR) / "data", root / "data",
                        std::filesystem::copy_options::recursive, error);
  if (error || !SetCurrentDirectoryW(root.c_str())) {
    std::printf("the default skin cannot be copied: %s\n", error.message().c_str());
    return 1;
  }
  std::wstring program = (root / L"orvaneLauncher.exe").wstring();
  SettingSources sources;
  sources.registry_root = HKEY_CURRENT_USER;
  sources.registry_path = L"Software\\OrvaneSettingBench";
  sources.program_path = program.c_str();
  SetSettingSources(sources);
  SkinLoader::LoadSkinInfo();
  std::unique_ptr<IniStringContainer> fonts(LoadControlSkinIni(FindSkinCategory(L"etc"), L"etc"));
  if (fonts)
    LoadSkinFonts(L"etc", fonts.get());
  LoadAppMessages();
  Games games;
  SetGameSource(&games);
  for (int count : {10, 500})
    Bench(count, &games);
  SetGameSource(nullptr);
  Setting::ReleaseInstance();
  RemoveAllFontManagers();
  SkinLoader::UnloadSkinInfo();
  SetCurrentDirectoryW(temp);
  std::filesystem::remove_all(root, error);
  return 0;
}
