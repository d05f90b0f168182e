// bench_engine_update: one update of an installation through the engine's worker, timed. scripts/bench-engine
// generates the history, serves it with nginx, prepares the install folder, runs this program and compares
// its time with plain curl and zstd doing the same transfers and patches.
//
//   bench_engine_update --root FOLDER --host HOST:PORT --product CODE --entries FILE
//
// FILE holds the server's list for the installed version, one entry a line, tab-separated: sequence number,
// kind, size, version, registered version, CRC-32 (unsigned decimal), name (backslashes; ASCII). The entries
// are queued as the session would queue them, then the worker runs to its end.
//
// Prints one line "engine: <entries> entries, <ms> ms, result completed" (or "result error <code>") and exits
// 0 only when the run completed without an error. The bytes moved are counted by the web server's log.
#include <curl/curl.h>
#include <winsock2.h>

#include <windows.h>

#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <fstream>
#include <memory>
#include <sstream>
#include <string>
#include <vector>

#include "engine/CUpdater.h"

namespace {

struct RunTotals {
  LONG error = 0;
  LONG completed = 0;
};

int __cdecl OnEvent(void* user, int event, const void* data) {
  RunTotals& totals = *static_cast<RunTotals*>(user);
  switch (event) {
    case UpdateEventError:
      totals.error = *static_cast<const int32_t*>(data);
      break;
    case UpdateEventCompleted:
      totals.completed = 1;
      break;
    default:
      break;
  }
  return 0;
}

class BenchmarkUpdater : public CUpdater {
 public:
  static std::unique_ptr<BenchmarkUpdater> Make(const UpdaterParams& params) {
    std::unique_ptr<BenchmarkUpdater> updater(new BenchmarkUpdater());
    if (!updater->Initialize(params))
      return nullptr;
    return updater;
  }
  ~BenchmarkUpdater() override { StopUpdate(); }
  using CUpdater::QueueEntry;
  using CUpdater::StartWorker;
};

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

struct Options {
  std::wstring root;
  std::string host;
  std::wstring product;
  std::string entries;
};

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
    else
      return false;
  }
  return !options->root.empty() && !options->host.empty() && !options->product.empty() &&
         !options->entries.empty() && options->root.size() < 256 && options->host.size() < 100 &&
         options->product.size() < 64;
}

double Seconds(const LARGE_INTEGER& from, const LARGE_INTEGER& to) {
  LARGE_INTEGER frequency;
  QueryPerformanceFrequency(&frequency);
  return static_cast<double>(to.QuadPart - from.QuadPart) / static_cast<double>(frequency.QuadPart);
}

}  // namespace

int main(int argc, char** argv) {
  Options options;
  if (!ParseOptions(argc, argv, &options)) {
    std::fputs(
        "usage: bench_engine_update --root FOLDER --host HOST:PORT --product CODE --entries FILE\n"
        "(scripts/bench-engine prepares all of these)\n",
        stderr);
    return 2;
  }
  std::vector<FileEntry> entries;
  if (!ReadEntries(options.entries, &entries)) {
    std::fprintf(stderr, "cannot read the entries of %s\n", options.entries.c_str());
    return 2;
  }
  WSADATA wsa;
  WSAStartup(MAKEWORD(2, 2), &wsa);
  curl_global_init(CURL_GLOBAL_WIN32);

  RunTotals totals;
  UpdaterParams params;
  std::memset(&params, 0, sizeof params);
  params.noSelfUpdate = 1;
  params.userValue = &totals;
  params.callback = &OnEvent;
  wcsncpy(params.productCode, options.product.c_str(), 63);
  wcsncpy(params.installRoot, options.root.c_str(), 255);
  std::strcpy(params.patchServerIp, "127.0.0.1");
  std::strncpy(params.downloadHost, options.host.c_str(), 99);
  std::unique_ptr<BenchmarkUpdater> updater = BenchmarkUpdater::Make(params);
  if (!updater || CUpdater::StartUpdater(updater.get()) != UpdaterResultOk) {
    std::fputs("the engine could not be started on the install folder\n", stderr);
    return 2;
  }
  for (const FileEntry& entry : entries)
    updater->QueueEntry(std::make_unique<FileEntry>(entry));

  LARGE_INTEGER start, end;
  QueryPerformanceCounter(&start);
  updater->StartWorker();
  updater->WaitForThread();
  QueryPerformanceCounter(&end);
  updater.reset();

  std::printf("engine: %zu entries, %.0f ms, result %s", entries.size(), Seconds(start, end) * 1000.0,
              totals.completed ? "completed" : "error");
  if (!totals.completed)
    std::printf(" %ld", static_cast<long>(totals.error));
  std::printf("\n");
  curl_global_cleanup();
  WSACleanup();
  return totals.completed && totals.error == 0 ? 0 : 1;
}
