// The icon store on a portal of 200 games, each with a small and a large icon on the HTTP fixture: the time
// until every icon is ready on the first pass (400 downloads) and on a pass with unchanged versions (no
// request at all), and the processor time the loader thread uses per second while it has nothing to do.
#include <windows.h>

#include <cstdio>
#include <memory>
#include <string>
#include <vector>

#include "app/games/GameIcon.h"
#include "app/games/GameInfo.h"
#include "base/TextFields.h"
#include "tests/support/FixtureServer.h"
#include "tests/support/TempFolder.h"
#include "tests/support/WinePaths.h"

namespace {

const int kGames = 200;

struct BenchGame {
  RawGameRecord record{};
  GameInfo game;
};
std::vector<std::unique_ptr<BenchGame>> g_games;

IGameInfo* LookUp(const wchar_t* game_id) {
  for (const auto& game : g_games) {
    if (std::wstring(game_id) == game->game.GetGameID())
      return &game->game;
  }
  return nullptr;
}

std::wstring GameId(int index) {
  return L"game" + std::to_wstring(index);
}

double Seconds(LARGE_INTEGER start, LARGE_INTEGER end) {
  LARGE_INTEGER frequency;
  QueryPerformanceFrequency(&frequency);
  return static_cast<double>(end.QuadPart - start.QuadPart) / static_cast<double>(frequency.QuadPart);
}

// Starts the loader, asks for every icon and waits until none is queued or loading. Seconds, or -1 when an
// icon failed or the wait took more than two minutes.
double LoadAll() {
  LARGE_INTEGER start, end;
  QueryPerformanceCounter(&start);
  if (StartIconLoader() != 1)
    return -1;
  DWORD deadline = GetTickCount() + 120000;
  for (;;) {
    int ready = 0, failed = 0;
    for (int i = 0; i < kGames; ++i) {
      for (int which = 0; which < 2; ++which) {
        int32_t status = FindGameIcon(GameId(i).c_str(), which, nullptr);
        ready += status == kIconReady;
        failed += status == kIconFailed;
      }
    }
    if (ready + failed == 2 * kGames) {
      QueryPerformanceCounter(&end);
      return failed == 0 ? Seconds(start, end) : -1;
    }
    if (static_cast<LONG>(GetTickCount() - deadline) > 0)
      return -1;
    Sleep(1);
  }
}

int64_t ProcessCpu100ns() {
  FILETIME created, exited, kernel, user;
  GetProcessTimes(GetCurrentProcess(), &created, &exited, &kernel, &user);
  auto value = [](FILETIME time) {
    return (static_cast<int64_t>(time.dwHighDateTime) << 32) | time.dwLowDateTime;
  };
  return value(kernel) + value(user);
}

int CountGets(const std::wstring& log_path) {
  std::string log;
  testing_support::ReadFileBytes(log_path, &log);
  int count = 0;
  for (size_t at = log.find("GET\t"); at != std::string::npos; at = log.find("GET\t", at + 1))
    ++count;
  return count;
}

}  // namespace

int main() {
  testing_support::TempFolder root(L"icon-bench-root");
  testing_support::TempFolder launcher(L"icon-bench-launcher");
  std::string small(2 * 1024, 's'), large(12 * 1024, 'l');
  for (int i = 0; i < kGames; ++i) {
    std::wstring id = GameId(i);
    testing_support::WriteFileBytes(root.Join(id + L"\\sicon.png"), small);
    testing_support::WriteFileBytes(root.Join(id + L"\\icon.png"), large);
  }
  testing_support::FixtureServer http;
  if (!http.Start("http_server.py", {"--root", testing_support::UnixPathOf(root.path())})) {
    std::printf("the HTTP fixture did not start\n%s", http.log().c_str());
    return 1;
  }
  std::wstring base = L"http://" + testing_support::Utf8ToWide(http.endpoint()) + L"/";
  for (int i = 0; i < kGames; ++i) {
    g_games.push_back(std::make_unique<BenchGame>());
    BenchGame& game = *g_games.back();
    CopyToField(game.record.game_id, GameId(i).c_str());
    CopyToField(game.record.icon_url_base, (base + GameId(i)).c_str());
    game.record.icon_version = 3;
    game.record.open = 1;
    game.game.Bind(&game.record);
  }
  SetIconGameLookup(&LookUp);
  SetCurrentDirectoryW(launcher.path().c_str());
  std::wstring log_path = http.folder().Join(L"requests.log");

  double first = LoadAll();
  int first_gets = CountGets(log_path);
  StopIconLoader();
  double unchanged = LoadAll();
  int unchanged_gets = CountGets(log_path) - first_gets;

  // The loader idles: nothing is queued.
  int64_t cpu_before = ProcessCpu100ns();
  LARGE_INTEGER start, end;
  QueryPerformanceCounter(&start);
  Sleep(3000);
  QueryPerformanceCounter(&end);
  double idle_cpu_ms_per_s = (ProcessCpu100ns() - cpu_before) / 10000.0 / Seconds(start, end);
  StopIconLoader();

  std::printf("icons of %d games, first pass:      %7.1f ms (%d requests)\n", kGames, first * 1000,
              first_gets);
  std::printf("icons of %d games, unchanged pass:  %7.1f ms (%d requests)\n", kGames, unchanged * 1000,
              unchanged_gets);
  std::printf("idle loader thread: %.2f ms of processor time per second\n", idle_cpu_ms_per_s);
  SetCurrentDirectoryW(L"C:\\");
  return first < 0 || unchanged < 0 ? 1 : 0;
}
