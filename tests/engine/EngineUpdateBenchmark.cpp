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
// Prints one line "engine: <entries> entries, <ms> ms, peak private <MB> MB, result completed" (or "result error <code>") and exits
// 0 only when the run completed without an error. The bytes moved are counted by the web server's log.
#include <curl/curl.h>
#include <winsock2.h>

#include <windows.h>

#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <memory>
#include <string>
#include <vector>

#include "engine/CUpdater.h"
#include "net/CurlMemory.h"
#include "net/HttpFileDownloader.h"
#include "tests/engine/BenchmarkSupport.h"

namespace {

struct RunTotals {
  LONG error = 0;
  LONG completed = 0;
  int entries_done = 0;
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
    case UpdateEventProgress: {
      const UpdateProgress* progress = static_cast<const UpdateProgress*>(data);
      if (progress->kind == UpdateProgressRun && progress->a == UpdateProgressRunEntryDone)
        benchmark_support::MarkEntriesDone(++totals.entries_done);
      break;
    }
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

}  // namespace

int main(int argc, char** argv) {
  using namespace benchmark_support;
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
  // Started as the library's entry starts it.
  InitCurlKeepingReceiveBuffer(CURL_GLOBAL_WIN32, HttpFileDownloader::kReceiveBufferBytes);

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

  BeginCounting(entries);
  LARGE_INTEGER start, end;
  QueryPerformanceCounter(&start);
  updater->StartWorker();
  updater->WaitForThread();
  QueryPerformanceCounter(&end);
  updater.reset();

  std::printf("engine: %zu entries, %.0f ms, peak private %.1f MB, result %s", entries.size(),
              Seconds(start, end) * 1000.0, PeakPrivateMegabytes(), totals.completed ? "completed" : "error");
  if (!totals.completed)
    std::printf(" %ld", static_cast<long>(totals.error));
  std::printf("\n");
  PrintCounts();
  CleanupCurlMemory();
  WSACleanup();
  return totals.completed && totals.error == 0 ? 0 : 1;
}
