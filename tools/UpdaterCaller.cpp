// UpdaterCaller: drives QVTesserel.dll from the command line the way the launcher does (LoadLibrary, exports
// bound by name, one UpdaterParams record) and prints every callback event in readable form.
//
//   UpdaterCaller --product CODE --root FOLDER [--server HOST|IP] [--port N] [--download-host HOST[:PORT]]
//                 [--program NAME] [--full-check] [--no-self-update 0|1] [--wait SECONDS] [--library PATH]
//
// Exit codes: 0 the run completed (event 7), or it started without a connection (port 0 or 65535: the engine
// sends nothing more); 1 the run ended with an error (event 17); 2 no end within the wait; 3 bad command
// line; 4 the library or one of its exports is missing; 5 qvCreateUpdater refused the parameters; 6 the start
// failed.
#include <windows.h>

#include <cstdio>
#include <cstring>
#include <cwchar>
#include <string>

#include "engine/EngineExports.h"
#include "engine/QVTesserel.h"

namespace {

enum ExitCode {
  kExitCompleted = 0,
  kExitRunError = 1,
  kExitTimedOut = 2,
  kExitUsage = 3,
  kExitLibrary = 4,
  kExitCreateFailed = 5,
  kExitStartFailed = 6,
};

struct Options {
  std::wstring product;
  std::wstring root;
  std::wstring server;
  unsigned port = 27500;
  std::wstring download_host;
  std::wstring program;
  bool full_check = false;
  int no_self_update = 1;
  unsigned wait_seconds = 60;
  std::wstring library = L"QVTesserel.dll";
};

// What the callback saw; written on the engine's threads.
struct RunState {
  CRITICAL_SECTION output_lock;
  HANDLE ended = nullptr;
  LONG outcome = -1;  // 7 or 17 once the run ended
  DWORD start_tick = 0;
};

void PrintLine(RunState& state, const std::wstring& text) {
  std::wstring line = L"+" + std::to_wstring(GetTickCount() - state.start_tick) + L" ms  " + text + L"\n";
  int bytes = WideCharToMultiByte(CP_UTF8, 0, line.c_str(), static_cast<int>(line.size()), nullptr, 0,
                                  nullptr, nullptr);
  std::string utf8(static_cast<size_t>(bytes > 0 ? bytes : 0), '\0');
  if (bytes > 0)
    WideCharToMultiByte(CP_UTF8, 0, line.c_str(), static_cast<int>(line.size()), &utf8[0], bytes, nullptr,
                        nullptr);
  EnterCriticalSection(&state.output_lock);
  std::fwrite(utf8.data(), 1, utf8.size(), stdout);
  std::fflush(stdout);
  LeaveCriticalSection(&state.output_lock);
}

std::wstring Hex(uint32_t value) {
  wchar_t text[16];
  std::swprintf(text, 16, L"0x%08X", value);
  return text;
}

const wchar_t* ErrorName(int32_t code) {
  switch (code) {
    case UpdateErrorConnectionLost:
      return L"connection to the patch server lost";
    case UpdateErrorSessionRefused:
      return L"session refused or version error";
    case UpdateErrorNoTempName:
      return L"no temporary file name";
    case UpdateErrorTempFileCreate:
      return L"temporary file not created";
    case UpdateErrorTempFileWrite:
      return L"writing the download failed";
    case UpdateErrorDownload:
      return L"download failed";
    case UpdateErrorApply:
      return L"entry not applied";
    default:
      return L"unknown error";
  }
}

std::wstring DescribeStatus(const UpdateStatus* status) {
  if (status == nullptr)
    return L"(no status)";
  return L"entries=" + std::to_wstring(status->entryCount) + L" current=" +
         std::to_wstring(status->currentEntry) + L" file=" + std::to_wstring(status->fileDoneBytes) + L"/" +
         std::to_wstring(status->fileTotalBytes) + L" applying=" + std::to_wstring(status->applying);
}

std::wstring DescribeProgress(const UpdateProgress* progress) {
  if (progress == nullptr)
    return L"(no data)";
  if (progress->kind == UpdateProgressFile)
    return L"file " + std::to_wstring(progress->b) + L"%";
  if (progress->kind == UpdateProgressRun) {
    switch (progress->a) {
      case UpdateProgressRunEntryCount:
        return L"entry count " + std::to_wstring(progress->b);
      case UpdateProgressRunEntryDone:
        return L"entry done";
      case UpdateProgressRunFinished:
        return L"run finished";
      default:
        break;
    }
  }
  return L"kind " + std::to_wstring(progress->kind) + L" a=" + std::to_wstring(progress->a) + L" b=" +
         std::to_wstring(progress->b);
}

std::wstring DescribeRecord(const FileRecord* record) {
  if (record == nullptr)
    return L"(no record)";
  return std::wstring(record->name, wcsnlen(record->name, 260)) + L" registered=" +
         std::to_wstring(record->registeredVersion) + L" version=" + std::to_wstring(record->version) +
         L" size=" + std::to_wstring(record->size) + L" crc=" + Hex(record->crc32);
}

std::wstring DescribeEvent(int event, const void* data) {
  switch (event) {
    case UpdateEventFileCount:
      return L"FileCount       " + DescribeStatus(static_cast<const UpdateStatus*>(data));
    case UpdateEventCompleted:
      return L"Completed";
    case UpdateEventCurrentFile:
      return L"CurrentFile     " + (data != nullptr
                                        ? std::wstring(static_cast<const wchar_t*>(data),
                                                       wcsnlen(static_cast<const wchar_t*>(data), 260))
                                        : std::wstring(L"(no path)"));
    case UpdateEventProgress:
      return L"Progress        " + DescribeProgress(static_cast<const UpdateProgress*>(data));
    case UpdateEventStatusChanged:
      return L"StatusChanged   " + DescribeStatus(static_cast<const UpdateStatus*>(data));
    case UpdateEventError: {
      int32_t code = data != nullptr ? *static_cast<const int32_t*>(data) : 0;
      return L"Error           " + std::to_wstring(code) + L" (" + ErrorName(code) + L")";
    }
    case UpdateEventFileMismatch:
      return L"FileMismatch    " + DescribeRecord(static_cast<const FileRecord*>(data));
    default:
      return L"event " + std::to_wstring(event);
  }
}

int __cdecl OnEngineEvent(void* user, int event, const void* data) {
  RunState& state = *static_cast<RunState*>(user);
  PrintLine(state, L"[thread " + std::to_wstring(GetCurrentThreadId()) + L"] " + DescribeEvent(event, data));
  if (event == UpdateEventCompleted || event == UpdateEventError) {
    InterlockedCompareExchange(&state.outcome, event, -1);
    SetEvent(state.ended);
  }
  return 0;
}

void PrintUsage() {
  std::fputs(
      "usage: UpdaterCaller --product CODE --root FOLDER [--server HOST|IP] [--port N]\n"
      "                     [--download-host HOST[:PORT]] [--program NAME] [--full-check]\n"
      "                     [--no-self-update 0|1] [--wait SECONDS] [--library PATH]\n"
      "exit: 0 completed or started without connection, 1 error event, 2 time-out, 3 usage,\n"
      "      4 library, 5 create refused, 6 start failed\n",
      stderr);
}

bool ParseNumber(const wchar_t* text, unsigned limit, unsigned& value) {
  wchar_t* end = nullptr;
  unsigned long parsed = std::wcstoul(text, &end, 10);
  if (end == text || *end != L'\0' || parsed > limit)
    return false;
  value = static_cast<unsigned>(parsed);
  return true;
}

bool ParseOptions(int argc, wchar_t** argv, Options& options) {
  for (int i = 1; i < argc; ++i) {
    std::wstring name = argv[i];
    if (name == L"--full-check") {
      options.full_check = true;
      continue;
    }
    if (i + 1 >= argc)
      return false;
    const wchar_t* value = argv[++i];
    unsigned number = 0;
    if (name == L"--product")
      options.product = value;
    else if (name == L"--root")
      options.root = value;
    else if (name == L"--server")
      options.server = value;
    else if (name == L"--download-host")
      options.download_host = value;
    else if (name == L"--program")
      options.program = value;
    else if (name == L"--library")
      options.library = value;
    else if (name == L"--port" && ParseNumber(value, 65535, number))
      options.port = number;
    else if (name == L"--wait" && ParseNumber(value, 86400, number))
      options.wait_seconds = number;
    else if (name == L"--no-self-update" && ParseNumber(value, 1, number))
      options.no_self_update = number;
    else
      return false;
  }
  return !options.product.empty() && !options.root.empty();
}

// Copies wide text into a wide field; false when it does not fit with its terminator.
template <size_t N>
bool FillWide(wchar_t (&field)[N], const std::wstring& text) {
  if (text.size() >= N)
    return false;
  wmemcpy(field, text.c_str(), text.size() + 1);
  return true;
}

// Converts to 8-bit text in the system code page; false when it does not fit with its terminator.
template <size_t N>
bool FillAnsi(char (&field)[N], const std::wstring& text) {
  if (text.empty())
    return true;
  int bytes = WideCharToMultiByte(CP_ACP, 0, text.c_str(), -1, field, N, nullptr, nullptr);
  return bytes > 0;
}

bool IsDottedIp(const std::wstring& text) {
  int dots = 0;
  for (wchar_t c : text) {
    if (c == L'.')
      ++dots;
    else if (c < L'0' || c > L'9')
      return false;
  }
  return dots == 3;
}

bool FillParams(const Options& options, RunState& state, UpdaterParams& params) {
  std::memset(&params, 0, sizeof(params));
  params.noSelfUpdate = options.no_self_update;
  params.userValue = &state;
  params.callback = &OnEngineEvent;
  params.patchServerPort = static_cast<uint16_t>(options.port);
  wchar_t full[MAX_PATH];
  DWORD length = GetFullPathNameW(options.root.c_str(), MAX_PATH, full, nullptr);
  if (length == 0 || length >= MAX_PATH)
    return false;
  std::wstring root(full, length);
  while (root.size() > 3 && root.back() == L'\\')
    root.pop_back();
  bool server_is_ip = IsDottedIp(options.server);
  return root.size() <= 255 && FillWide(params.productCode, options.product) &&
         FillWide(params.programFileName, options.program) && FillWide(params.installRoot, root) &&
         FillAnsi(params.downloadHost, options.download_host) &&
         FillAnsi(params.patchServerIp, server_is_ip ? options.server : std::wstring()) &&
         FillAnsi(params.patchServerHost, server_is_ip ? std::wstring() : options.server);
}

// Binds the eight exports; false (with the first missing export named) when one is missing.
bool BindEngine(HMODULE module, EngineExports& engine) {
  const char* missing = BindEngineExports(module, &engine);
  if (missing != nullptr)
    std::fprintf(stderr, "export %s is missing\n", missing);
  return missing == nullptr;
}

void PrintVersionInfo(RunState& state, const UpdaterParams& params) {
  std::wstring ini = std::wstring(params.installRoot) + L"\\versionInfo_" + params.productCode + L".ini";
  PrintLine(state,
            L"versionInfo: CurrentVersion=" +
                std::to_wstring(
                    static_cast<int>(GetPrivateProfileIntW(L"UpdInfo", L"CurrentVersion", 0, ini.c_str()))) +
                L" SeparateStatus=" +
                std::to_wstring(
                    static_cast<int>(GetPrivateProfileIntW(L"UpdInfo", L"SeparateStatus", 0, ini.c_str()))) +
                L" UpdaterVersion=" +
                std::to_wstring(
                    static_cast<int>(GetPrivateProfileIntW(L"UpdInfo", L"UpdaterVersion", 0, ini.c_str()))));
}

// Starts the run and waits for its end; returns the exit code.
int Drive(const EngineExports& engine, UpdaterHandle handle, const Options& options, RunState& state) {
  int started = options.full_check ? engine.full_check(handle) : engine.start(handle);
  PrintLine(state, std::wstring(options.full_check ? L"qvFullCheck" : L"qvStartUpdater") + L" -> " +
                       std::to_wstring(started));
  if (started != UpdaterResultOk)
    return kExitStartFailed;
  if (options.port == 0 || options.port == 65535) {
    PrintLine(state,
              L"port " + std::to_wstring(options.port) + L": the engine connects nowhere, no further event");
    return kExitCompleted;
  }
  if (options.wait_seconds == 0)
    return kExitCompleted;
  if (WaitForSingleObject(state.ended, options.wait_seconds * 1000) != WAIT_OBJECT_0) {
    PrintLine(state, L"no end of the run within " + std::to_wstring(options.wait_seconds) + L" s");
    return kExitTimedOut;
  }
  return state.outcome == UpdateEventCompleted ? kExitCompleted : kExitRunError;
}

}  // namespace

int wmain(int argc, wchar_t** argv) {
  Options options;
  if (!ParseOptions(argc, argv, options)) {
    PrintUsage();
    return kExitUsage;
  }
  RunState state;
  InitializeCriticalSection(&state.output_lock);
  state.ended = CreateEventW(nullptr, TRUE, FALSE, nullptr);
  state.start_tick = GetTickCount();
  UpdaterParams params;
  if (!FillParams(options, state, params)) {
    std::fputs("a value does not fit its field (install root at most 255 characters)\n", stderr);
    return kExitUsage;
  }

  HMODULE module = LoadLibraryW(options.library.c_str());
  EngineExports engine;
  if (module == nullptr || !BindEngine(module, engine)) {
    std::fprintf(stderr, "cannot use the engine library (error %lu)\n", GetLastError());
    return kExitLibrary;
  }
  UpdaterHandle handle = engine.create(&params);
  PrintLine(state, L"qvCreateUpdater(product " + std::wstring(params.productCode) + L", root " +
                       params.installRoot + L", port " + std::to_wstring(options.port) + L") -> " +
                       (handle != nullptr ? L"handle" : L"null"));
  if (handle == nullptr) {
    FreeLibrary(module);
    return kExitCreateFailed;
  }
  int exit_code = Drive(engine, handle, options, state);
  PrintLine(state, L"status: " + DescribeStatus(engine.download_info(handle)));
  PrintLine(state, L"qvStopUpdater -> " + std::to_wstring(engine.stop(handle)));
  PrintLine(state, L"qvRemoveUpdater -> " + std::to_wstring(engine.remove(handle)));
  PrintVersionInfo(state, params);
  FreeLibrary(module);
  PrintLine(state, L"exit " + std::to_wstring(exit_code));
  CloseHandle(state.ended);
  DeleteCriticalSection(&state.output_lock);
  return exit_code;
}
