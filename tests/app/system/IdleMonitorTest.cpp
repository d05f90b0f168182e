// The idle monitor over a scripted fake of pdh.dll, user32.dll, the tick count and the version; the load
// arithmetic as pure functions; and, under Wine, what the real pdh.dll gives.
#include <pdh.h>
#include <pdhmsg.h>
#include <windows.h>

#include <gtest/gtest.h>

#include <cstdio>
#include <map>
#include <set>
#include <string>
#include <vector>

#include "app/system/IdleMonitor.h"

namespace {

const wchar_t kLoopback[] = L"MS TCP Loopback interface";
HMODULE const kPdhModule = reinterpret_cast<HMODULE>(0x1000);
HMODULE const kUser32Module = reinterpret_cast<HMODULE>(0x2000);

// What the fake answers, and what it was asked.
struct FakeSystem {
  DWORD version = 0x1DB10106;  // NT family
  DWORD tick = 0;
  DWORD last_input = 0;
  std::vector<std::wstring> instances;
  PDH_STATUS first_enum = static_cast<PDH_STATUS>(PDH_MORE_DATA);
  PDH_STATUS second_enum = ERROR_SUCCESS;
  std::set<std::string> missing;      // entry points that are not exported
  std::set<std::wstring> refused;     // counter paths PdhAddCounterW refuses
  std::set<std::wstring> unreadable;  // counter paths that cannot be read
  std::map<std::wstring, LONGLONG> values;
  bool user32_missing = false;

  std::vector<std::wstring> loaded;
  std::vector<HMODULE> freed;
  std::vector<std::wstring> counters;  // added paths; a handle is its index + 1
  std::vector<DWORD> formats;          // formats asked for, in order
  int queries_opened = 0;
  int queries_closed = 0;
};
FakeSystem* g_fake = nullptr;

PDH_STATUS WINAPI FakeOpenQuery(LPCWSTR, DWORD_PTR, PDH_HQUERY* query) {
  ++g_fake->queries_opened;
  *query = reinterpret_cast<PDH_HQUERY>(0x77);
  return ERROR_SUCCESS;
}
PDH_STATUS WINAPI FakeEnumObjectItems(LPCWSTR,
                                      LPCWSTR,
                                      LPCWSTR object,
                                      LPWSTR counters,
                                      LPDWORD counter_units,
                                      LPWSTR instances,
                                      LPDWORD instance_units,
                                      DWORD detail,
                                      DWORD) {
  EXPECT_STREQ(L"Network Interface", object);
  EXPECT_EQ(static_cast<DWORD>(PERF_DETAIL_ADVANCED), detail);
  std::wstring list;
  for (const std::wstring& name : g_fake->instances)
    list += name + L'\0';
  list += L'\0';
  std::wstring counter_list = std::wstring(L"Bytes Total/sec") + L'\0' + L"Current Bandwidth" + L'\0' + L'\0';
  if (instances == nullptr) {
    *counter_units = static_cast<DWORD>(counter_list.size());
    *instance_units = static_cast<DWORD>(list.size());
    return g_fake->first_enum;
  }
  if (*instance_units < list.size() || *counter_units < counter_list.size())
    return static_cast<PDH_STATUS>(PDH_MORE_DATA);
  list.copy(instances, list.size());
  counter_list.copy(counters, counter_list.size());
  return g_fake->second_enum;
}
PDH_STATUS WINAPI FakeMakeCounterPath(PDH_COUNTER_PATH_ELEMENTS_W* elements,
                                      LPWSTR buffer,
                                      LPDWORD units,
                                      DWORD) {
  std::wstring path = std::wstring(L"\\") + elements->szObjectName + L"(" + elements->szInstanceName;
  if (elements->dwInstanceIndex != 0)
    path += L"#" + std::to_wstring(elements->dwInstanceIndex);
  path += std::wstring(L")\\") + elements->szCounterName;
  if (path.size() + 1 > *units)
    return static_cast<PDH_STATUS>(PDH_MORE_DATA);
  path.copy(buffer, path.size());
  buffer[path.size()] = 0;
  return ERROR_SUCCESS;
}
PDH_STATUS WINAPI FakeAddCounter(PDH_HQUERY, LPCWSTR path, DWORD_PTR, PDH_HCOUNTER* counter) {
  if (g_fake->refused.count(path) != 0)
    return static_cast<PDH_STATUS>(PDH_CSTATUS_NO_COUNTER);
  g_fake->counters.push_back(path);
  *counter = reinterpret_cast<PDH_HCOUNTER>(g_fake->counters.size());
  return ERROR_SUCCESS;
}
PDH_STATUS WINAPI FakeCollect(PDH_HQUERY) {
  return ERROR_SUCCESS;
}
PDH_STATUS WINAPI FakeFormattedValue(PDH_HCOUNTER counter,
                                     DWORD format,
                                     LPDWORD,
                                     PDH_FMT_COUNTERVALUE* value) {
  const std::wstring& path = g_fake->counters.at(reinterpret_cast<size_t>(counter) - 1);
  g_fake->formats.push_back(format);
  if (g_fake->unreadable.count(path) != 0)
    return static_cast<PDH_STATUS>(PDH_INVALID_DATA);
  LONGLONG number = g_fake->values[path];
  if (format == PDH_FMT_LONG)
    value->longValue = static_cast<LONG>(number);
  else
    value->largeValue = number;
  return ERROR_SUCCESS;
}
PDH_STATUS WINAPI FakeRemoveCounter(PDH_HCOUNTER) {
  return ERROR_SUCCESS;
}
PDH_STATUS WINAPI FakeCloseQuery(PDH_HQUERY) {
  ++g_fake->queries_closed;
  return ERROR_SUCCESS;
}
BOOL WINAPI FakeLastInput(LASTINPUTINFO* input) {
  EXPECT_EQ(8u, input->cbSize);
  input->dwTime = g_fake->last_input;
  return TRUE;
}

DWORD FakeVersion() {
  return g_fake->version;
}
DWORD FakeTick() {
  return g_fake->tick;
}
HMODULE FakeLoad(const wchar_t* path) {
  g_fake->loaded.push_back(path);
  std::wstring name = path;
  if (name.size() >= 7 && name.compare(name.size() - 7, 7, L"pdh.dll") == 0)
    return kPdhModule;
  return g_fake->user32_missing ? nullptr : kUser32Module;
}
FARPROC FakeResolve(HMODULE module, const char* name) {
  if (g_fake->missing.count(name) != 0)
    return nullptr;
  static const std::map<std::string, void*> pdh = {
      {"PdhOpenQueryW", reinterpret_cast<void*>(&FakeOpenQuery)},
      {"PdhEnumObjectItemsW", reinterpret_cast<void*>(&FakeEnumObjectItems)},
      {"PdhMakeCounterPathW", reinterpret_cast<void*>(&FakeMakeCounterPath)},
      {"PdhAddCounterW", reinterpret_cast<void*>(&FakeAddCounter)},
      {"PdhCollectQueryData", reinterpret_cast<void*>(&FakeCollect)},
      {"PdhGetFormattedCounterValue", reinterpret_cast<void*>(&FakeFormattedValue)},
      {"PdhRemoveCounter", reinterpret_cast<void*>(&FakeRemoveCounter)},
      {"PdhCloseQuery", reinterpret_cast<void*>(&FakeCloseQuery)},
  };
  if (module == kUser32Module)
    return std::string(name) == "GetLastInputInfo"
               ? reinterpret_cast<FARPROC>(reinterpret_cast<void*>(&FakeLastInput))
               : nullptr;
  auto found = pdh.find(name);
  return module == kPdhModule && found != pdh.end() ? reinterpret_cast<FARPROC>(found->second) : nullptr;
}
void FakeFree(HMODULE module) {
  g_fake->freed.push_back(module);
}

const IdleMonitorSystem kFakeSystem = {&FakeVersion, &FakeTick, &FakeLoad, &FakeResolve, &FakeFree};

std::wstring Traffic(const std::wstring& instance) {
  return L"\\Network Interface(" + instance + L")\\Bytes Total/sec";
}
std::wstring Bandwidth(const std::wstring& instance) {
  return L"\\Network Interface(" + instance + L")\\Current Bandwidth";
}
const wchar_t kProcessor[] = L"\\Processor(_Total)\\% Processor Time";

class IdleMonitorTest : public testing::Test {
 protected:
  void SetUp() override {
    g_fake = &fake_;
    SetIdleMonitorSystem(&kFakeSystem);
  }
  void TearDown() override {
    CloseIdleMonitor();
    SetIdleMonitorSystem(nullptr);
    g_fake = nullptr;
  }
  // Closed with nothing left: both modules freed, every entry point forgotten.
  void ExpectClosed() {
    EXPECT_EQ(nullptr, User32Module);
    EXPECT_EQ(fake_.queries_opened, fake_.queries_closed);
    LoadSample sample = {-1, -1};
    EXPECT_EQ(0, SampleLoad(&sample));
    EXPECT_EQ(0u, GetIdleMilliseconds());
  }
  FakeSystem fake_;
};

TEST_F(IdleMonitorTest, LoopbackOnlyMeasuresNoInterface) {
  fake_.instances = {kLoopback};
  fake_.values[kProcessor] = 42;
  ASSERT_EQ(1, OpenIdleMonitor());
  EXPECT_EQ(std::vector<std::wstring>{kProcessor}, fake_.counters);
  LoadSample sample = {-1, -1};
  ASSERT_EQ(1, SampleLoad(&sample));
  EXPECT_EQ(42, sample.processor_percent);
  EXPECT_EQ(0, sample.network_percent);
  EXPECT_EQ(static_cast<DWORD>(PDH_FMT_LONG), fake_.formats.at(0));
}

TEST_F(IdleMonitorTest, LoadsPdhFromTheSystemFolderAndOpensOnce) {
  fake_.instances = {L"eth"};
  ASSERT_EQ(1, OpenIdleMonitor());
  ASSERT_EQ(1, OpenIdleMonitor());
  EXPECT_EQ(1, fake_.queries_opened);
  wchar_t system[MAX_PATH];
  GetSystemDirectoryW(system, MAX_PATH);
  ASSERT_EQ(2u, fake_.loaded.size());
  EXPECT_EQ(std::wstring(system) + L"\\pdh.dll", fake_.loaded[0]);
  EXPECT_EQ(L"user32.dll", fake_.loaded[1]);
  EXPECT_EQ(kUser32Module, User32Module);
  CloseIdleMonitor();
  EXPECT_EQ((std::vector<HMODULE>{kPdhModule, kUser32Module}), fake_.freed);
  ExpectClosed();
}

TEST_F(IdleMonitorTest, SamplesAverageTheCountedInterfacesIn64Bits) {
  fake_.instances = {L"eth", kLoopback, L"wifi", L"modem", L"fast"};
  fake_.values[Traffic(L"eth")] = 12500000;  // 10 % of 1 Gbit/s
  fake_.values[Bandwidth(L"eth")] = 1000000000;
  fake_.values[Traffic(L"wifi")] = 3750000;  // 30 % of 100 Mbit/s
  fake_.values[Bandwidth(L"wifi")] = 100000000;
  fake_.values[Traffic(L"modem")] = 999;  // no usable bandwidth: left out
  fake_.values[Bandwidth(L"modem")] = 7;
  fake_.values[Traffic(L"fast")] = 250000000;  // 20 % of 10 Gbit/s, which does not fit a LONG
  fake_.values[Bandwidth(L"fast")] = 10000000000LL;
  ASSERT_EQ(1, OpenIdleMonitor());
  LoadSample sample = {-1, -1};
  ASSERT_EQ(1, SampleLoad(&sample));
  EXPECT_EQ(20, sample.network_percent);
  for (size_t i = 1; i < fake_.formats.size(); ++i)
    EXPECT_EQ(static_cast<DWORD>(PDH_FMT_LARGE), fake_.formats[i]);

  fake_.unreadable.insert(Traffic(L"wifi"));
  EXPECT_EQ(0, SampleLoad(&sample));
}

TEST_F(IdleMonitorTest, ARepeatedInterfaceNameIsNumberedOnTheSecondOnly) {
  fake_.instances = {L"nic", L"other", L"nic"};
  ASSERT_EQ(1, OpenIdleMonitor());
  EXPECT_EQ((std::vector<std::wstring>{kProcessor, Traffic(L"nic"), Bandwidth(L"nic"), Traffic(L"other"),
                                       Bandwidth(L"other"), Traffic(L"nic#1"), Bandwidth(L"nic#1")}),
            fake_.counters);
}

TEST_F(IdleMonitorTest, AnyMissingEntryPointClosesEverything) {
  const char* names[] = {"PdhOpenQueryW",    "PdhEnumObjectItemsW", "PdhMakeCounterPathW",
                         "PdhAddCounterW",   "PdhCollectQueryData", "PdhGetFormattedCounterValue",
                         "PdhRemoveCounter", "PdhCloseQuery",       "GetLastInputInfo"};
  for (const char* name : names) {
    fake_ = FakeSystem();
    fake_.instances = {L"eth"};
    fake_.missing = {name};
    EXPECT_EQ(0, OpenIdleMonitor()) << name;
    EXPECT_EQ((std::vector<HMODULE>{kPdhModule, kUser32Module}), fake_.freed) << name;
    ExpectClosed();
  }
}

TEST_F(IdleMonitorTest, FailuresWhileBuildingCloseEverything) {
  struct Case {
    const char* what;
    PDH_STATUS first_enum;
    PDH_STATUS second_enum;
    const wchar_t* refused;
    bool user32_missing;
  } cases[] = {
      {"first enumeration fails", static_cast<PDH_STATUS>(PDH_CSTATUS_NO_OBJECT), ERROR_SUCCESS, nullptr,
       false},
      {"second enumeration fails", ERROR_SUCCESS, static_cast<PDH_STATUS>(PDH_MORE_DATA), nullptr, false},
      {"processor counter refused", ERROR_SUCCESS, ERROR_SUCCESS, kProcessor, false},
      {"bandwidth counter refused", ERROR_SUCCESS, ERROR_SUCCESS,
       L"\\Network Interface(eth)\\Current Bandwidth", false},
      {"no user32", ERROR_SUCCESS, ERROR_SUCCESS, nullptr, true},
  };
  for (const Case& c : cases) {
    fake_ = FakeSystem();
    fake_.instances = {L"eth"};
    fake_.first_enum = c.first_enum;
    fake_.second_enum = c.second_enum;
    fake_.user32_missing = c.user32_missing;
    if (c.refused != nullptr)
      fake_.refused.insert(c.refused);
    EXPECT_EQ(0, OpenIdleMonitor()) << c.what;
    EXPECT_EQ(1u, std::count(fake_.freed.begin(), fake_.freed.end(), kPdhModule)) << c.what;
    ExpectClosed();
  }
}

TEST_F(IdleMonitorTest, Windows9xOpensNothing) {
  fake_.version = 0xC0000A04;
  EXPECT_EQ(1, OpenIdleMonitor());
  EXPECT_TRUE(fake_.loaded.empty());
  LoadSample sample;
  EXPECT_EQ(0, SampleLoad(&sample));
}

TEST_F(IdleMonitorTest, IdleTimeSurvivesATickWrap) {
  fake_.instances = {kLoopback};
  ASSERT_EQ(1, OpenIdleMonitor());
  struct Case {
    DWORD last_input, now, idle;
  } cases[] = {{1000, 5000, 4000}, {7, 7, 0}, {0xFFFFFF00u, 0x10, 0x10F}, {0xFFFFFFFFu, 0, 0}};
  for (const Case& c : cases) {
    fake_.last_input = c.last_input;
    fake_.tick = c.now;
    EXPECT_EQ(c.idle, GetIdleMilliseconds()) << c.last_input << " " << c.now;
  }
}

TEST(NetworkPercent, AveragesCountedInterfacesWithoutOverflow) {
  struct Case {
    std::vector<InterfaceLoad> loads;
    int percent;
  } cases[] = {
      {{}, 0},
      {{{12500000, 1000000000}, {3750000, 100000000}}, 20},
      {{{1000000000, 10000000000LL}}, 80},       // 1 GB/s on 10 Gbit/s
      {{{30000000, 1000000000}}, 24},            // 30 MB/s: x 100 no longer fits 32 bits
      {{{500, 7}, {12500000, 1000000000}}, 10},  // below 8 bits/s: left out, not averaged
      {{{500, 0}, {500, -8}}, 0},
      {{{125, 1000}, {125, 1000}, {0, 1000}}, 66},  // 100 + 100 + 0, over three
      {{{INT64_MAX, 8}}, 2147483647},               // absurd traffic is clamped, not wrapped
  };
  for (const Case& c : cases)
    EXPECT_EQ(c.percent, NetworkPercent(c.loads.data(), static_cast<uint32_t>(c.loads.size())));
}

TEST(InstanceIndexes, CountEarlierInstancesOfTheSameName) {
  std::vector<const wchar_t*> names = {L"a", L"b", L"a", L"A", L"a"};
  EXPECT_EQ((std::vector<DWORD>{0, 0, 1, 0, 2}), InstanceIndexes(names));
}

// What Wine's own pdh.dll gives the monitor (printed for the record; any answer is accepted, none may crash).
TEST(IdleMonitorOnThisSystem, OpensOrFailsCleanlyWithTheRealLibrary) {
  int opened = OpenIdleMonitor();
  LoadSample sample = {-1, -1};
  int sampled = opened != 0 ? SampleLoad(&sample) : 0;
  std::printf(
      "real pdh.dll: OpenIdleMonitor %d, SampleLoad %d (processor %d %%, network %d %%), idle %u ms\n",
      opened, sampled, sample.processor_percent, sample.network_percent, GetIdleMilliseconds());
  CloseIdleMonitor();
  EXPECT_EQ(nullptr, User32Module);

  HMODULE pdh = LoadLibraryW(L"pdh.dll");
  ASSERT_NE(nullptr, pdh);
  auto enum_items = reinterpret_cast<PDH_STATUS(WINAPI*)(LPCWSTR, LPCWSTR, LPCWSTR, LPWSTR, LPDWORD, LPWSTR,
                                                         LPDWORD, DWORD, DWORD)>(
      reinterpret_cast<void*>(GetProcAddress(pdh, "PdhEnumObjectItemsW")));
  DWORD counters = 0, instances = 0;
  PDH_STATUS status = enum_items != nullptr
                          ? enum_items(nullptr, nullptr, L"Network Interface", nullptr, &counters, nullptr,
                                       &instances, PERF_DETAIL_ADVANCED, 0)
                          : 0;
  auto open_query = reinterpret_cast<PDH_STATUS(WINAPI*)(LPCWSTR, DWORD_PTR, PDH_HQUERY*)>(
      reinterpret_cast<void*>(GetProcAddress(pdh, "PdhOpenQueryW")));
  auto add_counter = reinterpret_cast<PDH_STATUS(WINAPI*)(PDH_HQUERY, LPCWSTR, DWORD_PTR, PDH_HCOUNTER*)>(
      reinterpret_cast<void*>(GetProcAddress(pdh, "PdhAddCounterW")));
  PDH_HQUERY query = nullptr;
  PDH_HCOUNTER counter = nullptr;
  PDH_STATUS open_status = open_query != nullptr ? open_query(nullptr, 0, &query) : 0;
  PDH_STATUS add_status =
      add_counter != nullptr && query != nullptr ? add_counter(query, kProcessor, 0, &counter) : 0;
  auto collect = reinterpret_cast<PDH_STATUS(WINAPI*)(PDH_HQUERY)>(
      reinterpret_cast<void*>(GetProcAddress(pdh, "PdhCollectQueryData")));
  auto read = reinterpret_cast<PDH_STATUS(WINAPI*)(PDH_HCOUNTER, DWORD, LPDWORD, PDH_FMT_COUNTERVALUE*)>(
      reinterpret_cast<void*>(GetProcAddress(pdh, "PdhGetFormattedCounterValue")));
  PDH_FMT_COUNTERVALUE value = {};
  PDH_STATUS read_status = 0;
  if (collect != nullptr && read != nullptr && counter != nullptr) {
    collect(query);
    collect(query);
    read_status = read(counter, PDH_FMT_LONG, nullptr, &value);
  }
  std::printf(
      "real pdh.dll: PdhEnumObjectItemsW(\"Network Interface\") 0x%08lX; PdhOpenQueryW 0x%08lX; "
      "PdhAddCounterW(processor) 0x%08lX; processor value 0x%08lX, %ld %%\n",
      static_cast<unsigned long>(status), static_cast<unsigned long>(open_status),
      static_cast<unsigned long>(add_status), static_cast<unsigned long>(read_status),
      static_cast<long>(value.longValue));
  FreeLibrary(pdh);
}

}  // namespace
