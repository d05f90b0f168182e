// engine_update_child: runs whole updates with the engine's core library (not the shipped library) in a
// process of its own, so that a test can end that process in the middle of an update and look at what it
// left (UpdateKillTest.cpp).
//
//   engine_update_child --root FOLDER --http HOST:PORT --patch-server IP:PORT [--patch-server IP:PORT...]
//                       [--end-at-write K] [--list-interval MS] [--report FILE]
//
// One update of FOLDER (product "DEMO") per patch server, in order. With --end-at-write the process writes
// half of its K-th write and ends at once with exit code 99, as a process killed in the middle of a write.
// The report file gets "writes <number of writes> errors <number of error events>". Exit code 0 when every
// update ended, 2 on bad arguments or when an update did not end.
#include <curl/curl.h>
#include <winsock2.h>

#include <windows.h>

#include <cstdio>
#include <cstring>
#include <string>
#include <vector>

#include "engine/CUpdater.h"
#include "tests/engine/SystemCallFaults.h"

namespace {

constexpr unsigned kKilledExitCode = 99;

struct RunEvents {
  volatile LONG ends = 0;
  volatile LONG errors = 0;
};

int __cdecl OnEvent(void* user, int event, const void*) {
  RunEvents* events = static_cast<RunEvents*>(user);
  if (event == UpdateEventError)
    InterlockedIncrement(&events->errors);
  if (event == UpdateEventError || event == UpdateEventCompleted)
    InterlockedIncrement(&events->ends);
  return 0;
}

class ChildUpdater : public CUpdater {
 public:
  static ChildUpdater* Make(const UpdaterParams& params) {
    ChildUpdater* updater = new ChildUpdater();
    if (!updater->Initialize(params)) {
      delete updater;
      return nullptr;
    }
    return updater;
  }
  using CUpdater::set_list_write_interval_ms;
};

struct Options {
  std::wstring root;
  std::string http;
  std::vector<std::string> patch_servers;
  int end_at_write = 0;
  DWORD list_interval_ms = CUpdater::kListWriteIntervalMs;
  std::string report;
};

bool ParseOptions(int argc, char** argv, Options* options) {
  for (int i = 1; i + 1 < argc; i += 2) {
    const std::string name = argv[i];
    const std::string value = argv[i + 1];
    if (name == "--root")
      options->root.assign(value.begin(), value.end());
    else if (name == "--http")
      options->http = value;
    else if (name == "--patch-server")
      options->patch_servers.push_back(value);
    else if (name == "--end-at-write")
      options->end_at_write = std::stoi(value);
    else if (name == "--list-interval")
      options->list_interval_ms = static_cast<DWORD>(std::stoul(value));
    else if (name == "--report")
      options->report = value;
    else
      return false;
  }
  return !options->root.empty() && options->root.size() < 256 && !options->http.empty() &&
         options->http.size() < 100 && !options->patch_servers.empty();
}

// One update against `patch_server` ("ip:port") to its end. False when it did not start or end.
bool RunUpdate(const Options& options, const std::string& patch_server, RunEvents* events) {
  UpdaterParams params;
  std::memset(&params, 0, sizeof params);
  params.noSelfUpdate = 1;
  params.userValue = events;
  params.callback = &OnEvent;
  wcscpy(params.productCode, L"DEMO");
  wcsncpy(params.installRoot, options.root.c_str(), 255);
  const size_t colon = patch_server.rfind(':');
  if (colon == std::string::npos || colon >= sizeof params.patchServerIp)
    return false;
  std::strncpy(params.patchServerIp, patch_server.substr(0, colon).c_str(), sizeof params.patchServerIp - 1);
  params.patchServerPort = static_cast<uint16_t>(std::stoi(patch_server.substr(colon + 1)));
  std::strncpy(params.downloadHost, options.http.c_str(), sizeof params.downloadHost - 1);
  ChildUpdater* updater = ChildUpdater::Make(params);
  if (updater == nullptr)
    return false;
  updater->set_list_write_interval_ms(options.list_interval_ms);
  const LONG ends_before = events->ends;
  bool ended = false;
  if (CUpdater::StartUpdater(updater) == UpdaterResultOk) {
    for (int waited = 0; !ended && waited < 60000; waited += 5) {
      ended = events->ends != ends_before;
      if (!ended)
        Sleep(5);
    }
  }
  CUpdater::Remove(updater);
  return ended;
}

}  // namespace

int main(int argc, char** argv) {
  Options options;
  if (!ParseOptions(argc, argv, &options)) {
    std::fputs(
        "usage: engine_update_child --root FOLDER --http HOST:PORT --patch-server IP:PORT... "
        "[--end-at-write K] [--list-interval MS] [--report FILE]\n",
        stderr);
    return 2;
  }
  WSADATA wsa;
  WSAStartup(MAKEWORD(2, 2), &wsa);
  curl_global_init(CURL_GLOBAL_WIN32);
  engine_testing::SystemCallFaults calls;
  if (options.end_at_write > 0)
    calls.EndProcessAtWrite(options.end_at_write, kKilledExitCode);
  RunEvents events;
  bool all_ended = true;
  for (const std::string& patch_server : options.patch_servers)
    all_ended = RunUpdate(options, patch_server, &events) && all_ended;
  if (!options.report.empty()) {
    if (FILE* report = std::fopen(options.report.c_str(), "w")) {
      std::fprintf(report, "writes %d errors %ld\n", calls.Count(engine_testing::SystemCall::kWrite),
                   static_cast<long>(events.errors));
      std::fclose(report);
    }
  }
  curl_global_cleanup();
  WSACleanup();
  return all_ended ? 0 : 2;
}
