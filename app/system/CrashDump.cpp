#include "app/system/CrashDump.h"

#include <dbghelp.h>

#include <cstdio>
#include <cstring>
#include <string>

#include "app/system/CrashTexts.h"

namespace {

typedef BOOL(WINAPI* MiniDumpWriteDumpFn)(HANDLE,
                                          DWORD,
                                          HANDLE,
                                          MINIDUMP_TYPE,
                                          PMINIDUMP_EXCEPTION_INFORMATION,
                                          PMINIDUMP_USER_STREAM_INFORMATION,
                                          PMINIDUMP_CALLBACK_INFORMATION);

// Fixed by InstallCrashDumpFilter, read by the crash's writer.
wchar_t g_base_path[260] = {};
wchar_t g_module_path[MAX_PATH] = {};
volatile LONG g_writing = 0;        // 1 while one crash is being written
volatile LONG g_writer_thread = 0;  // the id of the thread that writes it, 0 before it runs
DWORD g_writer_time_limit_ms = kCrashWriterTimeLimitMs;

struct CrashJob {
  EXCEPTION_POINTERS* pointers;
  DWORD thread_id;
  LONG result;
};

bool IsReadable(const void* address, size_t bytes) {
  MEMORY_BASIC_INFORMATION region = {};
  if (address == nullptr || VirtualQuery(address, &region, sizeof region) != sizeof region)
    return false;
  const DWORD readable = PAGE_READONLY | PAGE_READWRITE | PAGE_WRITECOPY | PAGE_EXECUTE_READ |
                         PAGE_EXECUTE_READWRITE | PAGE_EXECUTE_WRITECOPY;
  if (region.State != MEM_COMMIT || (region.Protect & readable) == 0 || (region.Protect & PAGE_GUARD) != 0)
    return false;
  const char* end = static_cast<const char*>(region.BaseAddress) + region.RegionSize;
  return static_cast<const char*>(address) + bytes <= end;
}

std::string Utf8(const std::wstring& text) {
  int bytes = WideCharToMultiByte(CP_UTF8, 0, text.c_str(), -1, nullptr, 0, nullptr, nullptr);
  if (bytes <= 1)
    return std::string();
  std::string out(static_cast<size_t>(bytes), '\0');
  WideCharToMultiByte(CP_UTF8, 0, text.c_str(), -1, &out[0], bytes, nullptr, nullptr);
  out.resize(static_cast<size_t>(bytes - 1));
  return out;
}

std::string UserText() {
  wchar_t name[200] = {};
  DWORD units = 200;
  if (!GetUserNameW(name, &units))
    return "Unknown";
  name[199] = 0;
  return Utf8(name);
}

std::string SystemOsText() {
  OSVERSIONINFOW version = {};
  version.dwOSVersionInfoSize = sizeof version;
  if (!GetVersionExW(&version))
    return OsText(0xFFFFFFFF, 0, 0, 0);
  return OsText(version.dwPlatformId, version.dwMajorVersion, version.dwMinorVersion, version.dwBuildNumber);
}

std::string SystemCpuText() {
  SYSTEM_INFO info = {};
  GetSystemInfo(&info);
  return CpuText(info.dwNumberOfProcessors, info.dwProcessorType);
}

std::string SystemMemoryText() {
  MEMORYSTATUSEX status = {};
  status.dwLength = sizeof status;
  GlobalMemoryStatusEx(&status);
  MemoryFigures figures = {status.dwMemoryLoad,     status.ullTotalPhys,     status.ullAvailPhys,
                           status.ullTotalPageFile, status.ullAvailPageFile, status.ullTotalVirtual,
                           status.ullAvailVirtual};
  return MemoryText(figures);
}

HMODULE LoadDumpLibrary() {
  std::wstring local = g_module_path;
  size_t backslash = local.rfind(L'\\');
  if (backslash != std::wstring::npos) {
    local.resize(backslash + 1);
    local += L"DBGHELP.DLL";
    HMODULE module = LoadLibraryW(local.c_str());
    if (module != nullptr)
      return module;
  }
  return LoadLibraryW(L"dbghelp.dll");
}

void AppendLog(const std::wstring& log_path, const std::string& text) {
  FILE* log = _wfopen(log_path.c_str(), L"at");
  if (log == nullptr)
    return;
  std::fputs(text.c_str(), log);
  std::fclose(log);
}

LONG WriteDumpAndLog(EXCEPTION_POINTERS* pointers, DWORD thread_id) {
  SYSTEMTIME now;
  GetLocalTime(&now);
  std::wstring stamp = CrashTimeStamp(now);
  std::wstring dump_path = std::wstring(g_base_path) + stamp + L".dmp";
  std::wstring log_path = std::wstring(g_base_path) + stamp + L".log";
  HMODULE library = LoadDumpLibrary();
  if (library == nullptr)
    return EXCEPTION_CONTINUE_SEARCH;
  auto write_dump = reinterpret_cast<MiniDumpWriteDumpFn>(
      reinterpret_cast<void*>(GetProcAddress(library, "MiniDumpWriteDump")));
  if (write_dump == nullptr)
    return EXCEPTION_CONTINUE_SEARCH;
  HANDLE file = CreateFileW(dump_path.c_str(), GENERIC_WRITE, FILE_SHARE_WRITE, nullptr, CREATE_ALWAYS,
                            FILE_ATTRIBUTE_NORMAL, nullptr);
  if (file == INVALID_HANDLE_VALUE)
    return EXCEPTION_CONTINUE_SEARCH;
  MINIDUMP_EXCEPTION_INFORMATION exception = {thread_id, pointers, FALSE};
  if (write_dump(GetCurrentProcess(), GetCurrentProcessId(), file, MiniDumpNormal, &exception, nullptr,
                 nullptr)) {
    AppendLog(log_path, CrashLogText(Utf8(dump_path), CrashFaultReason(pointers), UserText(), SystemOsText(),
                                     SystemCpuText(), SystemMemoryText()));
  }
  CloseHandle(file);
  return EXCEPTION_EXECUTE_HANDLER;
}

DWORD WINAPI CrashWriterThread(void* parameter) {
  InterlockedExchange(&g_writer_thread, static_cast<LONG>(GetCurrentThreadId()));
  CrashJob* job = static_cast<CrashJob*>(parameter);
  job->result = WriteDumpAndLog(job->pointers, job->thread_id);
  return 0;
}

// The code of the exception; EXCEPTION_ACCESS_VIOLATION when the pointers cannot be read.
DWORD ExceptionCode(const EXCEPTION_POINTERS* pointers) {
  if (!IsReadable(pointers, sizeof(EXCEPTION_POINTERS)) ||
      !IsReadable(pointers->ExceptionRecord, sizeof(EXCEPTION_RECORD)))
    return EXCEPTION_ACCESS_VIOLATION;
  return pointers->ExceptionRecord->ExceptionCode;
}

// Ends the process at once with `code`: no further handler runs, and the system frees what it holds.
[[noreturn]] void EndProcess(DWORD code) {
  TerminateProcess(GetCurrentProcess(), code);
  ExitProcess(code);
}

void WriteBanner() {
  HANDLE error = GetStdHandle(STD_ERROR_HANDLE);
  DWORD written = 0;
  if (error != nullptr && error != INVALID_HANDLE_VALUE)
    WriteFile(error, kCrashBanner, static_cast<DWORD>(std::strlen(kCrashBanner)), &written, nullptr);
}

}  // namespace

void InstallCrashDumpFilter() {
  DWORD length = GetModuleFileNameW(nullptr, g_module_path, MAX_PATH);
  if (length == 0 || length >= MAX_PATH)
    g_module_path[0] = 0;
  std::wstring base = CrashBasePath(g_module_path);
  base.copy(g_base_path, 259);
  g_base_path[base.size() < 259 ? base.size() : 259] = 0;
  SetUnhandledExceptionFilter(&WriteCrashDump);
}

void SetCrashWriterTimeLimit(DWORD milliseconds) {
  g_writer_time_limit_ms = milliseconds;
}

LONG WINAPI WriteCrashDump(EXCEPTION_POINTERS* pointers) {
  // A fault while the dump is being written (a failing dump library, a damaged heap) comes back here on the
  // writer's thread, which the crash's own thread waits for: waiting would never end, so the process ends.
  if (InterlockedCompareExchange(&g_writer_thread, 0, 0) == static_cast<LONG>(GetCurrentThreadId()))
    EndProcess(ExceptionCode(pointers));
  // One crash at a time: a second faulting thread waits for the first (whose process then ends).
  while (InterlockedCompareExchange(&g_writing, 1, 0) != 0)
    Sleep(10);
  WriteBanner();
  CrashJob job = {pointers, GetCurrentThreadId(), EXCEPTION_CONTINUE_SEARCH};
  HANDLE writer = CreateThread(nullptr, 256 * 1024, &CrashWriterThread, &job, 0, nullptr);
  if (writer == nullptr) {
    CrashWriterThread(&job);
  } else {
    // A writer that does not come back (a dump library stuck on a lock the crashed thread held) must not keep
    // the process: it ends with the crash's code. The job lives on this stack, so the filter never returns
    // while the writer may still use it.
    const DWORD waited = WaitForSingleObject(writer, g_writer_time_limit_ms);
    if (waited != WAIT_OBJECT_0)
      EndProcess(ExceptionCode(pointers));
    CloseHandle(writer);
  }
  InterlockedExchange(&g_writer_thread, 0);
  InterlockedExchange(&g_writing, 0);
  return job.result;
}

std::string CrashFaultReason(const EXCEPTION_POINTERS* pointers) {
  if (!IsReadable(pointers, sizeof(EXCEPTION_POINTERS)) ||
      !IsReadable(pointers->ExceptionRecord, sizeof(EXCEPTION_RECORD)))
    return "bad exception pointers";
  DWORD code = pointers->ExceptionRecord->ExceptionCode;
  if (const char* name = KnownExceptionName(code))
    return name;
  char* message = nullptr;
  DWORD length = FormatMessageA(
      FORMAT_MESSAGE_ALLOCATE_BUFFER | FORMAT_MESSAGE_FROM_HMODULE | FORMAT_MESSAGE_IGNORE_INSERTS,
      GetModuleHandleW(L"ntdll.dll"), code, 0, reinterpret_cast<char*>(&message), 0, nullptr);
  std::string text = length != 0 && message != nullptr ? std::string(message, length) : "Unknown";
  if (message != nullptr)
    LocalFree(message);
  return text;
}
