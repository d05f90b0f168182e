#include "tests/engine/BenchmarkSupport.h"

#include <psapi.h>

#include <fstream>
#include <sstream>

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

void MarkEntriesDone(int entries_done) {
  if (entries_done != 100 && entries_done != 300)
    return;
  const std::wstring name = L"orvane-trace-mark-" + std::to_wstring(entries_done);
  HANDLE mark = CreateEventW(nullptr, FALSE, FALSE, name.c_str());
  if (mark != nullptr)
    CloseHandle(mark);
}

}  // namespace benchmark_support
