#include "tests/engine/BenchmarkSupport.h"

#include <psapi.h>

#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <cwchar>
#include <fstream>
#include <map>
#include <sstream>

#include "tests/engine/FileCallCounter.h"

namespace benchmark_support {

bool ParseOptions(int argc, char** argv, Options* options) {
  for (int i = 1; i + 1 < argc; i += 2) {
    const std::string name = argv[i];
    const std::string value = argv[i + 1];
    if (name == "--root")
      options->root.assign(value.begin(), value.end());
    else if (name == "--host")
      options->host = value;
    else if (name == "--product")
      options->product.assign(value.begin(), value.end());
    else if (name == "--entries")
      options->entries = value;
    else if (name == "--variant")
      options->variant = value;
    else
      return false;
  }
  return !options->root.empty() && !options->host.empty() && !options->product.empty() &&
         !options->entries.empty() && options->root.size() < 256 && options->host.size() < 100 &&
         options->product.size() < 64;
}

bool ReadEntries(const std::string& path, std::vector<FileEntry>* entries) {
  std::ifstream file(path);
  if (!file)
    return false;
  std::string line;
  while (std::getline(file, line)) {
    if (!line.empty() && line.back() == '\r')
      line.pop_back();
    if (line.empty())
      continue;
    std::istringstream fields(line);
    FileEntry entry;
    unsigned long crc = 0;
    std::string name;
    fields >> entry.sequence_number >> entry.kind >> entry.size >> entry.version >>
        entry.registered_version >> crc;
    fields.get();
    std::getline(fields, name);
    if (!fields && name.empty())
      return false;
    if (name.empty() || name.size() > 259)
      return false;
    entry.crc32 = static_cast<uint32_t>(crc);
    for (size_t i = 0; i < name.size(); ++i)
      entry.name[i] = static_cast<unsigned char>(name[i]);
    entries->push_back(entry);
  }
  return true;
}

double Seconds(const LARGE_INTEGER& from, const LARGE_INTEGER& to) {
  LARGE_INTEGER frequency;
  QueryPerformanceFrequency(&frequency);
  return static_cast<double>(to.QuadPart - from.QuadPart) / static_cast<double>(frequency.QuadPart);
}

double PeakPrivateMegabytes() {
  PROCESS_MEMORY_COUNTERS counters = {};
  counters.cb = sizeof counters;
  if (!GetProcessMemoryInfo(GetCurrentProcess(), &counters, sizeof counters))
    return 0.0;
  return static_cast<double>(counters.PeakPagefileUsage) / (1024.0 * 1024.0);
}

namespace {

enum CountMode { kNotCounting, kMarks, kCalls };

struct Counting {
  CountMode mode = kNotCounting;
  std::vector<int32_t> kinds;
  file_call_counter::Counts last;
  // Per entry kind: entries counted, and their sums.
  std::map<int32_t, std::pair<int, file_call_counter::Counts>> per_kind;
};

Counting g_counting;

bool InCountedWindow(int entry_number) {
  const int total = static_cast<int>(g_counting.kinds.size());
  return total <= 300 || (entry_number > 100 && entry_number <= 300);
}

const char* KindName(int32_t kind) {
  switch (kind) {
    case kEntryZip:
      return "whole";
    case kEntryRtp:
      return "patch";
    case kEntryNew:
      return "new";
    case kEntryDelete:
      return "delete";
    default:
      return "other";
  }
}

}  // namespace

void BeginCounting(const std::vector<FileEntry>& entries) {
  const char* mode = std::getenv("ORVANE_BENCH_COUNT");
  if (mode == nullptr)
    return;
  for (const FileEntry& entry : entries)
    g_counting.kinds.push_back(entry.kind);
  if (std::strcmp(mode, "marks") == 0) {
    g_counting.mode = kMarks;
  } else if (std::strcmp(mode, "calls") == 0) {
    wchar_t library[MAX_PATH];
    const DWORD length = GetModuleFileNameW(nullptr, library, MAX_PATH);
    wchar_t* slash = length > 0 && length < MAX_PATH ? wcsrchr(library, L'\\') : nullptr;
    if (slash == nullptr || slash - library + 13 >= MAX_PATH)
      return;
    wcscpy(slash + 1, L"patchw32.dll");
    if (!file_call_counter::Install(library)) {
      std::fputs("the file-system calls could not be counted\n", stderr);
      return;
    }
    g_counting.mode = kCalls;
    g_counting.last = file_call_counter::Read();
  }
}

void MarkEntriesDone(int entries_done) {
  if (g_counting.mode == kNotCounting || entries_done < 1 ||
      entries_done > static_cast<int>(g_counting.kinds.size()))
    return;
  const int32_t kind = g_counting.kinds[static_cast<size_t>(entries_done - 1)];
  if (g_counting.mode == kMarks) {
    // Left open: a close would be one more request inside the next entry's share.
    const std::wstring name =
        L"orvane-trace-mark-" + std::to_wstring(entries_done) + L"-k" + std::to_wstring(kind);
    CreateEventW(nullptr, FALSE, FALSE, name.c_str());
    return;
  }
  const file_call_counter::Counts now = file_call_counter::Read();
  if (InCountedWindow(entries_done)) {
    std::pair<int, file_call_counter::Counts>& sums = g_counting.per_kind[kind];
    ++sums.first;
    sums.second.missing_names += now.missing_names - g_counting.last.missing_names;
    sums.second.directory_searches += now.directory_searches - g_counting.last.directory_searches;
    sums.second.named_calls += now.named_calls - g_counting.last.named_calls;
  }
  g_counting.last = now;
}

void PrintCounts() {
  for (const auto& kind : g_counting.per_kind) {
    const double entries = kind.second.first;
    std::printf(
        "calls %s: %d entries, missing names %.2f per entry, directory searches %.2f per entry, "
        "named calls %.2f per entry\n",
        KindName(kind.first), kind.second.first, kind.second.second.missing_names / entries,
        kind.second.second.directory_searches / entries, kind.second.second.named_calls / entries);
  }
}

}  // namespace benchmark_support
