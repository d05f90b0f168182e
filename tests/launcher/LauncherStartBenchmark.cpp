// The launcher program against the demo portal on loopback: the time from process start to the main window
// painted on the screen (median of 10 starts after one warm-up start, warm Wine prefix), and the running
// launcher's processor use (% of one core) and working set over 60 s with its window shown and 60 s in the tray.
#include <windows.h>

#include <psapi.h>

#include <algorithm>
#include <cstdio>
#include <cstdlib>
#include <string>
#include <vector>

#include "tests/launcher/DemoLauncher.h"
#include "tests/support/UnixCommand.h"
#include "tests/support/WindowCapture.h"
#include "tests/support/WinePaths.h"

namespace {

using testing_support::DemoLauncher;
using testing_support::FindWindowOfProcess;

double Milliseconds(LARGE_INTEGER start, LARGE_INTEGER end) {
  LARGE_INTEGER frequency;
  QueryPerformanceFrequency(&frequency);
  return 1000.0 * static_cast<double>(end.QuadPart - start.QuadPart) /
         static_cast<double>(frequency.QuadPart);
}

// Starts the launcher and waits for its painted main window; the window, or null after a minute.
HWND StartAndWaitForWindow(DemoLauncher* demo, const std::wstring& title) {
  if (!demo->Start(L"/LocalGameID:ORVANE"))
    return nullptr;
  HWND window = nullptr;
  testing_support::PumpUntil(
      [&] {
        window = FindWindowOfProcess(demo->process_id(), title.c_str(), nullptr);
        return window != nullptr || WaitForSingleObject(demo->process(), 0) == WAIT_OBJECT_0;
      },
      60000);
  if (window != nullptr && !testing_support::WaitUntilPainted(window, 10000))
    return nullptr;
  return window;
}

// One start to the painted main window in milliseconds, then the launcher is closed; -1 on failure.
double TimedStart(DemoLauncher* demo, const std::wstring& title) {
  LARGE_INTEGER start, painted;
  QueryPerformanceCounter(&start);
  HWND window = StartAndWaitForWindow(demo, title);
  QueryPerformanceCounter(&painted);
  if (window == nullptr)
    return -1;
  PostMessageW(window, WM_CLOSE, 0, 0);
  return demo->WaitForEnd(30000) ? Milliseconds(start, painted) : -1;
}

// The launcher's processor time in seconds, read on the Unix side (/proc/<pid>/stat of the process whose
// command line names the demo folder's launcher): Wine reports no processor times of other processes. -1 when
// it could not be read.
double ProcessorSeconds(const DemoLauncher& demo) {
  std::wstring folder = demo.folder().path();
  std::string name = testing_support::WideToUtf8(folder.substr(folder.find_last_of(L'\\') + 1));
  std::string output;
  std::string command = "pid=$(pgrep -f -- " + testing_support::ShellQuote(name + ".*orvaneLauncher") +
                        " | head -n 1); [ -n \"$pid\" ] && awk -v hz=$(getconf CLK_TCK) "
                        "'{ printf \"%.3f\", ($14 + $15) / hz }' /proc/$pid/stat";
  if (testing_support::RunUnixCommand(command, &output) != 0 || output.empty())
    return -1;
  return std::atof(output.c_str());
}

// Processor use of the running launcher over `seconds`, and its working set at the end.
void PrintIdle(const DemoLauncher& demo, const char* phase, DWORD seconds) {
  double before = ProcessorSeconds(demo);
  Sleep(seconds * 1000);
  double after = ProcessorSeconds(demo);
  PROCESS_MEMORY_COUNTERS memory{};
  memory.cb = sizeof(memory);
  K32GetProcessMemoryInfo(demo.process(), &memory, sizeof(memory));
  if (before < 0 || after < 0)
    std::printf("idle, %s: processor time not readable, ", phase);
  else
    std::printf("idle, %s: %.2f %% of one core over %lu s, ", phase, 100.0 * (after - before) / seconds,
                static_cast<unsigned long>(seconds));
  std::printf("working set %.1f MB\n", static_cast<double>(memory.WorkingSetSize) / (1 << 20));
}

}  // namespace

int main() {
  // The program measured is the one that ships.
  if (!testing_support::RunningUnderWine() || !testing_support::LauncherProgramBuilt(true)) {
    std::printf("skipped: orvaneLauncher.exe is not built\n");
    return 0;
  }
  DemoLauncher demo;
  std::string error;
  if (!demo.ServeAndGenerate(&error, true) || !demo.NameTheServer() || !demo.SetSetting(L"Minimize", L"0")) {
    std::printf("the demo portal could not be made: %s\n", error.c_str());
    return 1;
  }
  std::wstring title = demo.LauncherText(L"Launcher");
  if (TimedStart(&demo, title) < 0) {  // warm-up: the prefix's first start of this program
    std::printf("the launcher did not show its main window\n");
    return 1;
  }
  std::vector<double> starts;
  for (int i = 0; i < 10; ++i) {
    double milliseconds = TimedStart(&demo, title);
    if (milliseconds < 0) {
      std::printf("start %d failed\n", i + 1);
      return 1;
    }
    starts.push_back(milliseconds);
  }
  std::sort(starts.begin(), starts.end());
  std::printf("start to painted main window: median %.0f ms (min %.0f, max %.0f, 10 starts)\n",
              (starts[4] + starts[5]) / 2, starts.front(), starts.back());

  // Closing now hides the window in the tray.
  demo.SetSetting(L"Minimize", L"1");
  HWND window = StartAndWaitForWindow(&demo, title);
  if (window == nullptr) {
    std::printf("the launcher did not show its main window\n");
    return 1;
  }
  PrintIdle(demo, "window shown", 60);
  PostMessageW(window, WM_CLOSE, 0, 0);
  PrintIdle(demo, "in the tray", 60);
  return 0;
}
