// The texts of a crash log, as pure functions over the values the crash handler gathers (CrashDump.h).
//
// The log, appended to "<program> <time stamp>.log" after each dump:
//   saved dump file to '<dump path>'\n\n<fault reason>\n<reason>\n\n<user>\n<user>\n\n<os>\n<os>\n\n
//   <cpu>\n<cpu>\n\n<memory>\n<memory>
#pragma once

#include <windows.h>

#include <cstdint>
#include <string>

// The three lines written to the standard error stream before a dump (the misspellings are part of the text).
extern const char kCrashBanner[];

// " %04d-%02d-%02d %02d-%02d-%02d" of `time` (note the leading blank).
std::wstring CrashTimeStamp(const SYSTEMTIME& time);
// The program's module path without its extension: everything before the last '.' of the file name (a '.' in
// a folder name is no extension), at most 259 units.
std::wstring CrashBasePath(const std::wstring& module_path);

// The system constant's name of the 22 standard exception codes, "CONTROL_C_EXIT" and "Microsoft C++
// Exception"; null for any other code.
const char* KnownExceptionName(DWORD code);
// "Windows 95" ... "Windows 2003 Server", "Windows CE", or "Unknown Windows Version".
const char* WindowsName(DWORD platform, DWORD major, DWORD minor, DWORD build);
// "<Windows name> (<major>.<minor>.<build & 0xFFFF>)", cut to 511 characters.
std::string OsText(DWORD platform, DWORD major, DWORD minor, DWORD build);
// "<n> processor(s), type <t>".
std::string CpuText(DWORD processors, DWORD processor_type);

// The memory figures of GlobalMemoryStatusEx, in bytes.
struct MemoryFigures {
  uint32_t load_percent;
  uint64_t total_physical;
  uint64_t free_physical;
  uint64_t total_paging;
  uint64_t free_paging;
  uint64_t total_virtual;
  uint64_t free_virtual;
};
// The seven memory lines, each byte count in MB rounded up, in 64-bit arithmetic; cut to 2047 characters.
std::string MemoryText(const MemoryFigures& figures);

// The whole log text of one crash.
std::string CrashLogText(const std::string& dump_path,
                         const std::string& fault_reason,
                         const std::string& user,
                         const std::string& os,
                         const std::string& cpu,
                         const std::string& memory);
