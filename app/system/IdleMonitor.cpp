#include "app/system/IdleMonitor.h"

#include <pdh.h>
#include <pdhmsg.h>

#include <algorithm>
#include <cwchar>
#include <limits>
#include <map>
#include <memory>
#include <new>
#include <string>

HMODULE User32Module = nullptr;

namespace {

const wchar_t kLoopbackInstance[] = L"MS TCP Loopback interface";
const wchar_t kProcessorCounter[] = L"\\Processor(_Total)\\% Processor Time";
const wchar_t kNetworkObject[] = L"Network Interface";

typedef PDH_STATUS(WINAPI* OpenQueryFn)(LPCWSTR, DWORD_PTR, PDH_HQUERY*);
typedef PDH_STATUS(
    WINAPI* EnumObjectItemsFn)(LPCWSTR, LPCWSTR, LPCWSTR, LPWSTR, LPDWORD, LPWSTR, LPDWORD, DWORD, DWORD);
typedef PDH_STATUS(WINAPI* MakeCounterPathFn)(PDH_COUNTER_PATH_ELEMENTS_W*, LPWSTR, LPDWORD, DWORD);
typedef PDH_STATUS(WINAPI* AddCounterFn)(PDH_HQUERY, LPCWSTR, DWORD_PTR, PDH_HCOUNTER*);
typedef PDH_STATUS(WINAPI* CollectQueryDataFn)(PDH_HQUERY);
typedef PDH_STATUS(WINAPI* GetFormattedCounterValueFn)(PDH_HCOUNTER, DWORD, LPDWORD, PDH_FMT_COUNTERVALUE*);
typedef PDH_STATUS(WINAPI* RemoveCounterFn)(PDH_HCOUNTER);
typedef PDH_STATUS(WINAPI* CloseQueryFn)(PDH_HQUERY);
typedef BOOL(WINAPI* GetLastInputInfoFn)(LASTINPUTINFO*);

// The nine entry points, resolved in this order.
struct EntryPoints {
  OpenQueryFn open_query;
  EnumObjectItemsFn enum_object_items;
  MakeCounterPathFn make_counter_path;
  AddCounterFn add_counter;
  CollectQueryDataFn collect_query_data;
  GetFormattedCounterValueFn get_formatted_counter_value;
  RemoveCounterFn remove_counter;
  CloseQueryFn close_query;
  GetLastInputInfoFn get_last_input_info;
};

// The counters of the one query.
class PdhObject {
 public:
  explicit PdhObject(PDH_HQUERY query) : query(query) {}
  virtual ~PdhObject() = default;
  bool AllocateInterfaces(uint32_t count) {
    interface_count = count;
    counters.reset(new (std::nothrow) PDH_HCOUNTER[2 * static_cast<size_t>(count) + 1]);
    return counters != nullptr;
  }
  PDH_HCOUNTER& traffic(uint32_t index) { return counters[index]; }
  PDH_HCOUNTER& bandwidth(uint32_t index) { return counters[interface_count + index]; }

  PDH_HQUERY query;
  PDH_HCOUNTER processor = nullptr;
  uint32_t interface_count = 0;

 private:
  std::unique_ptr<PDH_HCOUNTER[]> counters;  // traffic counters, then bandwidth counters
};

DWORD RealGetVersion() {
  return GetVersion();
}
DWORD RealGetTickCount() {
  return GetTickCount();
}
HMODULE RealLoadLibrary(const wchar_t* path) {
  return LoadLibraryW(path);
}
FARPROC RealGetProcAddress(HMODULE module, const char* name) {
  return GetProcAddress(module, name);
}
void RealFreeLibrary(HMODULE module) {
  FreeLibrary(module);
}
const IdleMonitorSystem kRealSystem = {&RealGetVersion, &RealGetTickCount, &RealLoadLibrary,
                                       &RealGetProcAddress, &RealFreeLibrary};

const IdleMonitorSystem* g_system = &kRealSystem;
DWORD g_version = 0;
HMODULE g_pdh = nullptr;
EntryPoints g_entry = {};
PdhObject* g_monitor = nullptr;

template <typename Fn>
bool Resolve(HMODULE module, const char* name, Fn* slot) {
  *slot = reinterpret_cast<Fn>(reinterpret_cast<void*>(g_system->get_proc_address(module, name)));
  return *slot != nullptr;
}

bool ResolveEntryPoints() {
  return Resolve(g_pdh, "PdhOpenQueryW", &g_entry.open_query) &&
         Resolve(g_pdh, "PdhEnumObjectItemsW", &g_entry.enum_object_items) &&
         Resolve(g_pdh, "PdhMakeCounterPathW", &g_entry.make_counter_path) &&
         Resolve(g_pdh, "PdhAddCounterW", &g_entry.add_counter) &&
         Resolve(g_pdh, "PdhCollectQueryData", &g_entry.collect_query_data) &&
         Resolve(g_pdh, "PdhGetFormattedCounterValue", &g_entry.get_formatted_counter_value) &&
         Resolve(g_pdh, "PdhRemoveCounter", &g_entry.remove_counter) &&
         Resolve(g_pdh, "PdhCloseQuery", &g_entry.close_query) &&
         Resolve(User32Module, "GetLastInputInfo", &g_entry.get_last_input_info);
}

// The performance-counter library from the system folder: a "pdh.dll" planted beside the program is not run.
HMODULE LoadSystemPdh() {
  wchar_t path[MAX_PATH];
  UINT length = GetSystemDirectoryW(path, MAX_PATH);
  if (length == 0 || length + 9 >= MAX_PATH)
    return nullptr;
  std::wcscat(path, L"\\pdh.dll");
  return g_system->load_library(path);
}

// The instance names of "Network Interface" other than the loopback interface, in list order; false when
// they cannot be enumerated.
bool MeasuredInstances(std::unique_ptr<wchar_t[]>* buffer, std::vector<const wchar_t*>* names) {
  DWORD counter_units = 0;
  DWORD instance_units = 0;
  PDH_STATUS status = g_entry.enum_object_items(nullptr, nullptr, kNetworkObject, nullptr, &counter_units,
                                                nullptr, &instance_units, PERF_DETAIL_ADVANCED, 0);
  if (status != ERROR_SUCCESS && static_cast<DWORD>(status) != PDH_MORE_DATA)
    return false;
  if (counter_units > 1u << 20 || instance_units > 1u << 20)
    return false;
  // Two spare units keep the list terminated whatever the library writes.
  std::unique_ptr<wchar_t[]> counters(new (std::nothrow) wchar_t[counter_units + 2]());
  buffer->reset(new (std::nothrow) wchar_t[instance_units + 2]());
  if (counters == nullptr || *buffer == nullptr)
    return false;
  if (g_entry.enum_object_items(nullptr, nullptr, kNetworkObject, counters.get(), &counter_units,
                                buffer->get(), &instance_units, PERF_DETAIL_ADVANCED, 0) != ERROR_SUCCESS)
    return false;
  const wchar_t* end = buffer->get() + instance_units;
  for (const wchar_t* name = buffer->get(); name < end && *name != 0; name += std::wcslen(name) + 1) {
    if (std::wcscmp(name, kLoopbackInstance) != 0)
      names->push_back(name);
  }
  return true;
}

bool AddInterfaceCounter(const wchar_t* instance, DWORD index, const wchar_t* counter, PDH_HCOUNTER* handle) {
  PDH_COUNTER_PATH_ELEMENTS_W elements = {};
  elements.szObjectName = const_cast<wchar_t*>(kNetworkObject);
  elements.szInstanceName = const_cast<wchar_t*>(instance);
  elements.dwInstanceIndex = index;
  elements.szCounterName = const_cast<wchar_t*>(counter);
  wchar_t path[260] = {};
  DWORD units = 260;
  if (g_entry.make_counter_path(&elements, path, &units, 0) != ERROR_SUCCESS)
    return false;
  path[259] = 0;
  return g_entry.add_counter(g_monitor->query, path, 0, handle) == ERROR_SUCCESS;
}

bool BuildCounters() {
  PDH_HQUERY query = nullptr;
  if (g_entry.open_query(nullptr, 0, &query) != ERROR_SUCCESS)
    return false;
  g_monitor = new (std::nothrow) PdhObject(query);
  if (g_monitor == nullptr) {
    g_entry.close_query(query);
    return false;
  }
  if (g_entry.add_counter(query, kProcessorCounter, 0, &g_monitor->processor) != ERROR_SUCCESS)
    return false;
  std::unique_ptr<wchar_t[]> instances;
  std::vector<const wchar_t*> names;
  if (!MeasuredInstances(&instances, &names) || !g_monitor->AllocateInterfaces(names.size()))
    return false;
  std::vector<DWORD> indexes = InstanceIndexes(names);
  for (uint32_t i = 0; i < names.size(); ++i) {
    if (!AddInterfaceCounter(names[i], indexes[i], L"Bytes Total/sec", &g_monitor->traffic(i)) ||
        !AddInterfaceCounter(names[i], indexes[i], L"Current Bandwidth", &g_monitor->bandwidth(i)))
      return false;
  }
  return g_entry.collect_query_data(query) == ERROR_SUCCESS;
}

bool ReadCounter(PDH_HCOUNTER counter, DWORD format, PDH_FMT_COUNTERVALUE* value) {
  DWORD type = 0;
  return g_entry.get_formatted_counter_value(counter, format, &type, value) == ERROR_SUCCESS;
}

}  // namespace

DWORD CachedWindowsVersion() {
  if (g_version == 0)
    g_version = g_system->get_version();
  return g_version;
}

int OpenIdleMonitor() {
  if ((CachedWindowsVersion() & 0x80000000u) != 0)
    return 1;
  if (g_pdh != nullptr)
    return 1;
  g_pdh = LoadSystemPdh();
  if (g_pdh == nullptr)
    return 0;
  if (User32Module == nullptr)
    User32Module = g_system->load_library(L"user32.dll");
  if (User32Module == nullptr) {
    CloseIdleMonitor();
    return 0;
  }
  if (!ResolveEntryPoints() || !BuildCounters()) {
    CloseIdleMonitor();
    return 0;
  }
  return 1;
}

void CloseIdleMonitor() {
  if (g_monitor != nullptr) {
    if (g_monitor->query != nullptr && g_entry.close_query != nullptr)
      g_entry.close_query(g_monitor->query);
    delete g_monitor;
    g_monitor = nullptr;
  }
  if (g_pdh != nullptr)
    g_system->free_library(g_pdh);
  g_pdh = nullptr;
  if (User32Module != nullptr)
    g_system->free_library(User32Module);
  User32Module = nullptr;
  g_entry = EntryPoints{};
}

int SampleLoad(LoadSample* result) {
  if (g_monitor == nullptr || result == nullptr)
    return 0;
  if (g_entry.collect_query_data(g_monitor->query) != ERROR_SUCCESS)
    return 0;
  PDH_FMT_COUNTERVALUE value = {};
  if (!ReadCounter(g_monitor->processor, PDH_FMT_LONG, &value))
    return 0;
  result->processor_percent = value.longValue;
  std::vector<InterfaceLoad> loads(g_monitor->interface_count, InterfaceLoad{0, 0});
  for (uint32_t i = 0; i < g_monitor->interface_count; ++i) {
    if (!ReadCounter(g_monitor->bandwidth(i), PDH_FMT_LARGE, &value))
      return 0;
    loads[i].bandwidth_bits_per_second = value.largeValue;
    if (loads[i].bandwidth_bits_per_second < 8)
      continue;
    if (!ReadCounter(g_monitor->traffic(i), PDH_FMT_LARGE, &value))
      return 0;
    loads[i].traffic_bytes_per_second = value.largeValue;
  }
  result->network_percent = NetworkPercent(loads.data(), g_monitor->interface_count);
  return 1;
}

uint32_t GetIdleMilliseconds() {
  if (g_entry.get_last_input_info == nullptr)
    return 0;
  LASTINPUTINFO input = {sizeof(LASTINPUTINFO), 0};
  if (!g_entry.get_last_input_info(&input))
    return 0;
  DWORD now = g_system->get_tick_count();
  if (now >= input.dwTime)
    return now - input.dwTime;
  return now - input.dwTime - 1;
}

int NetworkPercent(const InterfaceLoad* interfaces, uint32_t count) {
  int64_t sum = 0;
  uint32_t counted = 0;
  for (uint32_t i = 0; i < count; ++i) {
    if (interfaces[i].bandwidth_bits_per_second < 8)
      continue;
    ++counted;
    int64_t traffic = interfaces[i].traffic_bytes_per_second;
    // Traffic beyond what fits x 100 is far past any real link: it counts as the largest load.
    int64_t share = traffic > std::numeric_limits<int64_t>::max() / 100
                        ? std::numeric_limits<int32_t>::max()
                        : traffic * 100 / (interfaces[i].bandwidth_bits_per_second / 8);
    sum += std::min<int64_t>(std::max<int64_t>(share, std::numeric_limits<int32_t>::min()),
                             std::numeric_limits<int32_t>::max());
  }
  if (counted > 1)
    sum /= counted;
  if (sum > std::numeric_limits<int>::max())
    return std::numeric_limits<int>::max();
  if (sum < std::numeric_limits<int>::min())
    return std::numeric_limits<int>::min();
  return static_cast<int>(sum);
}

std::vector<DWORD> InstanceIndexes(const std::vector<const wchar_t*>& names) {
  std::vector<DWORD> indexes;
  indexes.reserve(names.size());
  std::map<std::wstring, DWORD> seen;
  for (const wchar_t* name : names)
    indexes.push_back(seen[name]++);
  return indexes;
}

void SetIdleMonitorSystem(const IdleMonitorSystem* system) {
  g_system = system != nullptr ? system : &kRealSystem;
  g_version = 0;
}
