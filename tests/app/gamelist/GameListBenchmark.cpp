// The launcher window with the default skin and 10 or 500 installed test games: creation and first compose,
// the frame (median, worst) at rest and while a state icon animates, a game selection with its skin change,
// the memory per game button (live images and private bytes), a wheel step and EnsureVisible to the last row.
#include <windows.h>

#include <psapi.h>

#include <algorithm>
#include <cstdio>
#include <memory>
#include <string>
#include <vector>

#include "app/gamelist/GameList.h"
#include "app/games/GameActions.h"
#include "app/settings/Setting.h"
#include "app/windows/UpdaterLauncherWnd.h"
#include "tests/app/gamelist/FakeGames.h"
#include "tests/support/TempFolder.h"
#include "tests/support/WinePaths.h"
#include "ui/base/IniStringContainer.h"
#include "ui/base/VirtualFile.h"
#include "ui/gfx/Dib.h"
#include "ui/skin/NFontManager.h"
#include "ui/skin/SkinLoader.h"
#include "ui/skinned/FrameInputs.h"
#include "ui/skinned/SkinnedWnd.h"

namespace {

class Root : public SkinnedPopup {
 public:
  ~Root() override { Destroy(); }
};

uint32_t g_now = 100000;
uint32_t Now() {
  return g_now;
}

double Milliseconds(const LARGE_INTEGER& from, const LARGE_INTEGER& to) {
  LARGE_INTEGER frequency;
  QueryPerformanceFrequency(&frequency);
  return 1000.0 * static_cast<double>(to.QuadPart - from.QuadPart) / static_cast<double>(frequency.QuadPart);
}

template <typename Work>
double Time(Work work) {
  LARGE_INTEGER from, to;
  QueryPerformanceCounter(&from);
  work();
  QueryPerformanceCounter(&to);
  return Milliseconds(from, to);
}

uint64_t LiveImageBytes() {
  uint64_t bytes = 0;
  for (auto* node = Dib::LiveImages().head(); node != nullptr; node = node->next)
    bytes += node->item->byte_size();
  return bytes;
}

uint64_t PrivateBytes() {
  PROCESS_MEMORY_COUNTERS_EX counters = {};
  counters.cb = sizeof(counters);
  GetProcessMemoryInfo(GetCurrentProcess(), reinterpret_cast<PROCESS_MEMORY_COUNTERS*>(&counters),
                       sizeof(counters));
  // Wine leaves PrivateUsage at 0; its commit charge is the same figure there.
  return counters.PrivateUsage != 0 ? counters.PrivateUsage : counters.PagefileUsage;
}

void Frame(Root& root) {
  g_now += 33;
  root.Update();
  root.Draw(nullptr, nullptr, 0);
}

void PrintFrames(const char* what, std::vector<double> frames) {
  std::sort(frames.begin(), frames.end());
  std::printf("  %-26s median %.3f ms, worst %.3f ms\n", what, frames[frames.size() / 2], frames.back());
}

std::vector<double> Frames(Root& root, int count) {
  std::vector<double> frames;
  for (int i = 0; i < count; ++i)
    frames.push_back(Time([&] { Frame(root); }));
  return frames;
}

struct Figures {
  uint64_t image_bytes = 0;
  uint64_t private_bytes = 0;
};

Figures Run(int games_count) {
  gamelist_testing::FakeGames games;
  for (int i = 0; i < games_count; ++i) {
    gamelist_testing::FakeGame& game = games.Add(L"game" + std::to_wstring(i), 1, 3);
    game.title = L"Benchmark game " + std::to_wstring(i);
    // Two skins in turn: every selection below is a skin change that reloads every window.
    game.skin = i % 2 == 0 ? L"green" : L"blue";
  }
  uint64_t images_before = LiveImageBytes();
  uint64_t private_before = PrivateBytes();
  Root root;
  UpdaterLauncherWnd window;
  double create = Time([&] {
    root.SetSkin(L"base", L"base");
    root.CreatePopup(0, 0, 1, 1, nullptr, NPopup::kToolWindow);
    root.Show(1, 0);
    window.SetSkin(L"body", L"body");
    window.Create(0, 0, 1, 1, UpdaterLauncherWnd::kChildId, &root);
    window.Show(1, 0);
    Frame(root);
  });
  GameList& list = window.game_list();
  std::printf("%d installed games (%d visible rows)\n", games_count, list.buttons().visible_rows);
  std::printf("  %-26s %.3f ms\n", "create and first compose", create);
  PrintFrames("frame at rest", Frames(root, 100));
  // Every third game starts updating: their rows animate their state icon.
  for (int i = 0; i < games_count; i += 3) {
    games.games[i]->state = 6;
    list.buttons().UpdateButton(games.games[i]->id.c_str(), &list.layout());
  }
  PrintFrames("frame, state icons animate", Frames(root, 100));
  std::vector<double> selections;
  for (int i = 0; i < 10; ++i) {
    std::wstring id = L"game" + std::to_wstring((i * 7 + 1) % games_count);
    selections.push_back(Time([&] {
      list.SelectButton(id.c_str());
      Frame(root);
    }));
  }
  PrintFrames("game selection", selections);
  list.EnsureVisible(L"game0");
  std::vector<double> wheel;
  for (int i = 0; i < 10; ++i)
    wheel.push_back(Time([&] {
      list.OnMouseWheel(100, 200, -1);
      Frame(root);
    }));
  PrintFrames("wheel step", wheel);
  std::wstring last = L"game" + std::to_wstring(games_count - 1);
  list.EnsureVisible(L"game0");
  Frame(root);
  double ensure = Time([&] {
    list.EnsureVisible(last.c_str());
    Frame(root);
  });
  std::printf("  %-26s %.3f ms\n", "EnsureVisible to the last", ensure);
  Figures figures;
  figures.image_bytes = LiveImageBytes() - images_before;
  figures.private_bytes = PrivateBytes() - private_before;
  std::printf("  %-26s live images %llu KiB, private bytes %llu KiB\n", "memory of window and list",
              static_cast<unsigned long long>(figures.image_bytes / 1024),
              static_cast<unsigned long long>(figures.private_bytes / 1024));
  window.Destroy();
  root.Destroy();
  return figures;
}

}  // namespace

int main() {
  OleInitialize(nullptr);
  testing_support::TempFolder folder(L"bench_game_list");
  testing_support::CopyTree(testing_support::WindowsPathOf(ORVANE_DEFAULT_SKIN_DIR) + L"\\data",
                            folder.Join(L"data"));
  SetCurrentDirectoryW(folder.path().c_str());
  if (!SkinLoader::LoadSkinInfo()) {
    std::printf("game list: the default skin could not be loaded\n");
    return 1;
  }
  SettingSources sources;
  sources.registry_root = HKEY_CURRENT_USER;
  sources.registry_path = L"Software\\OrvaneGameListBenchmark";
  std::wstring program = folder.Join(L"launcher.exe");
  sources.program_path = program.c_str();
  SetSettingSources(sources);
  Setting::GetInstance()->DisableWebBrowser = 7;
  std::unique_ptr<IniStringContainer> etc(LoadControlSkinIni(FindSkinCategory(L"etc"), L"etc"));
  if (etc)
    LoadSkinFonts(L"etc", etc.get());
  FrameInputs inputs;
  inputs.tick_count = &Now;
  ScopedFrameInputs scoped(inputs);
  Figures small = Run(10);
  Figures large = Run(500);
  std::printf("per game button (500 vs 10 games): live images %.0f bytes, private bytes %.0f bytes\n",
              (static_cast<double>(large.image_bytes) - static_cast<double>(small.image_bytes)) / 490.0,
              (static_cast<double>(large.private_bytes) - static_cast<double>(small.private_bytes)) / 490.0);
  Setting::ReleaseInstance();
  RemoveAllFontManagers();
  SkinLoader::UnloadSkinInfo();
  ReleaseAllVirtualFiles();
  SetCurrentDirectoryW(L"C:\\");
  return 0;
}
