// The idle monitor: how long the user has been away, and how busy the processor and the network are, so that
// the automatic update starts only on an idle machine. The performance-counter library ("pdh.dll", from the
// system folder) and "user32.dll" are loaded at run time, so that the launcher starts where they are missing;
// on Windows 95/98/ME nothing is measured.
//
// Thread: the user-interface thread only (start-up opens, the periodic tick samples, shutdown closes). No
// lock: every process-wide value here belongs to that thread.
#pragma once

#include <windows.h>

#include <cstdint>
#include <vector>

// The user-interface library, shared with start-up (which may load it first); freed by CloseIdleMonitor.
extern HMODULE User32Module;

// The processor and network load of one sample, in percent.
struct LoadSample {
  int processor_percent;
  int network_percent;
};

// 1 when the monitor is ready, was already open, or on Windows 95/98/ME (nothing is opened there); 0 on
// failure, with everything that was opened closed again.
int OpenIdleMonitor();
// Closes the query, deletes the counters, frees "pdh.dll" and User32Module and forgets every entry point.
void CloseIdleMonitor();
// 1 with `result` filled; 0 when the monitor is not open or a counter cannot be read (`result` may then be
// partly written).
int SampleLoad(LoadSample* result);
// Milliseconds since the last user input (across a wrap of the tick counter); 0 without GetLastInputInfo.
uint32_t GetIdleMilliseconds();
// GetVersion, read once and cached.
DWORD CachedWindowsVersion();

// One network interface's counters of a sample.
struct InterfaceLoad {
  int64_t traffic_bytes_per_second;
  int64_t bandwidth_bits_per_second;  // below 8: the interface is left out
};
// The network percentage of a sample: per counted interface traffic x 100 / (bandwidth / 8), in 64 bits, the
// sum divided by the number of counted interfaces (quotients toward zero); 0 when none counts. Clamped to the
// range of int.
int NetworkPercent(const InterfaceLoad* interfaces, uint32_t count);

// The instance index of each measured instance name: how many earlier names in `names` are the same (exact
// compare). PdhMakeCounterPathW writes it as "#n" after the name, so only a repeated name gets one.
std::vector<DWORD> InstanceIndexes(const std::vector<const wchar_t*>& names);

// The Windows calls behind the monitor. Tests replace the table with a scripted fake, so that instances,
// counter values and failures are injected and nothing waits for real time.
struct IdleMonitorSystem {
  DWORD (*get_version)();
  DWORD (*get_tick_count)();
  HMODULE (*load_library)(const wchar_t* path);
  FARPROC (*get_proc_address)(HMODULE module, const char* name);
  void (*free_library)(HMODULE module);
};
// Replaces the table (kept by pointer; null restores the real one) and forgets the cached version. Only while
// the monitor is closed.
void SetIdleMonitorSystem(const IdleMonitorSystem* system);
