// One periodic tick over a portal of 200 installed games: the time per tick when nothing changed (the steady
// state of every frame) and when every game changed its state since the last tick.
#include <windows.h>

#include <cstdio>
#include <string>

#include "app/games/GameStateMirror.h"
#include "app/settings/Setting.h"
#include "app/tick/PeriodicTick.h"
#include "tests/app/startup/TickTestSupport.h"
#include "tests/support/TempFolder.h"

namespace {

const int kGames = 200;
const int kTicks = 2000;

double Microseconds(LARGE_INTEGER start, LARGE_INTEGER end) {
  LARGE_INTEGER frequency;
  QueryPerformanceFrequency(&frequency);
  return static_cast<double>(end.QuadPart - start.QuadPart) * 1e6 / static_cast<double>(frequency.QuadPart);
}

// The mean time of one tick over kTicks, calling `before` ahead of each tick (outside the measured time).
template <typename Before>
double MeanTick(tick_testing::FakeSystem& system, Before before) {
  double total = 0;
  for (int i = 0; i < kTicks; ++i) {
    before(i);
    system.now += 33;
    LARGE_INTEGER start, end;
    QueryPerformanceCounter(&start);
    PeriodicTick();
    QueryPerformanceCounter(&end);
    total += Microseconds(start, end);
  }
  return total / kTicks;
}

}  // namespace

int wmain() {
  testing_support::TempFolder folder(L"tickbench");
  std::wstring program = folder.Join(L"launcher.exe");
  SettingSources sources;
  sources.registry_root = HKEY_CURRENT_USER;
  sources.registry_path = L"Software\\OrvaneTickBenchmark";
  sources.program_path = program.c_str();
  SetSettingSources(sources);
  Setting::GetInstance()->Update = 0;

  tick_testing::FakeGames games;
  for (int i = 0; i < kGames; ++i)
    games.Add(L"game" + std::to_wstring(i), kGameLatest);
  tick_testing::FakeSystem system;
  tick_testing::RecordingTickView view;
  tick_testing::RecordingActionView actions;
  SetGameSource(&games);
  SetGameActionView(&actions);
  SetTickSystem(&system);
  SetTickView(&view);
  SetCatalogueCheckPeriod(0);
  PeriodicTick();  // the first tick makes the mirrors

  double none = MeanTick(system, [](int) {});
  double all = MeanTick(system, [&](int i) {
    for (auto& game : games.games)
      game->state = i % 2 == 0 ? kGameNeedsUpdate : kGameLatest;
  });
  std::printf("periodic tick, %d games: %.1f us with no game changed, %.1f us with every game changed\n",
              kGames, none, all);

  GameStateList().RemoveAll();
  SetGameSource(nullptr);
  SetGameActionView(nullptr);
  SetTickSystem(nullptr);
  SetTickView(nullptr);
  Setting::ReleaseInstance();
  ResetSettingSources();
  return 0;
}
