#include "app/system/CrashTexts.h"

#include <cstdio>

const char kCrashBanner[] =
    "=============================================\n"
    "unhandled excetpion triggerd! writing dump...\n"
    "=============================================\n";

namespace {

struct NamedCode {
  DWORD code;
  const char* name;
};

const NamedCode kExceptionNames[] = {
    {EXCEPTION_ACCESS_VIOLATION, "EXCEPTION_ACCESS_VIOLATION"},
    {EXCEPTION_DATATYPE_MISALIGNMENT, "EXCEPTION_DATATYPE_MISALIGNMENT"},
    {EXCEPTION_BREAKPOINT, "EXCEPTION_BREAKPOINT"},
    {EXCEPTION_SINGLE_STEP, "EXCEPTION_SINGLE_STEP"},
    {EXCEPTION_ARRAY_BOUNDS_EXCEEDED, "EXCEPTION_ARRAY_BOUNDS_EXCEEDED"},
    {EXCEPTION_FLT_DENORMAL_OPERAND, "EXCEPTION_FLT_DENORMAL_OPERAND"},
    {EXCEPTION_FLT_DIVIDE_BY_ZERO, "EXCEPTION_FLT_DIVIDE_BY_ZERO"},
    {EXCEPTION_FLT_INEXACT_RESULT, "EXCEPTION_FLT_INEXACT_RESULT"},
    {EXCEPTION_FLT_INVALID_OPERATION, "EXCEPTION_FLT_INVALID_OPERATION"},
    {EXCEPTION_FLT_OVERFLOW, "EXCEPTION_FLT_OVERFLOW"},
    {EXCEPTION_FLT_STACK_CHECK, "EXCEPTION_FLT_STACK_CHECK"},
    {EXCEPTION_FLT_UNDERFLOW, "EXCEPTION_FLT_UNDERFLOW"},
    {EXCEPTION_INT_DIVIDE_BY_ZERO, "EXCEPTION_INT_DIVIDE_BY_ZERO"},
    {EXCEPTION_INT_OVERFLOW, "EXCEPTION_INT_OVERFLOW"},
    {EXCEPTION_PRIV_INSTRUCTION, "EXCEPTION_PRIV_INSTRUCTION"},
    {EXCEPTION_IN_PAGE_ERROR, "EXCEPTION_IN_PAGE_ERROR"},
    {EXCEPTION_ILLEGAL_INSTRUCTION, "EXCEPTION_ILLEGAL_INSTRUCTION"},
    {EXCEPTION_NONCONTINUABLE_EXCEPTION, "EXCEPTION_NONCONTINUABLE_EXCEPTION"},
    {EXCEPTION_STACK_OVERFLOW, "EXCEPTION_STACK_OVERFLOW"},
    {EXCEPTION_INVALID_DISPOSITION, "EXCEPTION_INVALID_DISPOSITION"},
    {EXCEPTION_GUARD_PAGE, "EXCEPTION_GUARD_PAGE"},
    {EXCEPTION_INVALID_HANDLE, "EXCEPTION_INVALID_HANDLE"},
    {0xC000013A, "CONTROL_C_EXIT"},
    {0xE06D7363, "Microsoft C++ Exception"},
};

std::string Cut(std::string text, size_t units) {
  if (text.size() > units)
    text.resize(units);
  return text;
}

unsigned long long Megabytes(uint64_t bytes) {
  return static_cast<unsigned long long>((bytes >> 20) + ((bytes & 0xFFFFF) != 0 ? 1 : 0));
}

}  // namespace

std::wstring CrashTimeStamp(const SYSTEMTIME& time) {
  wchar_t text[64];
  swprintf(text, 64, L" %04d-%02d-%02d %02d-%02d-%02d", time.wYear, time.wMonth, time.wDay, time.wHour,
           time.wMinute, time.wSecond);
  return text;
}

std::wstring CrashBasePath(const std::wstring& module_path) {
  size_t dot = module_path.rfind(L'.');
  size_t backslash = module_path.rfind(L'\\');
  std::wstring base = module_path;
  if (dot != std::wstring::npos && (backslash == std::wstring::npos || dot > backslash))
    base.resize(dot);
  if (base.size() > 259)
    base.resize(259);
  return base;
}

const char* KnownExceptionName(DWORD code) {
  for (const NamedCode& named : kExceptionNames) {
    if (named.code == code)
      return named.name;
  }
  return nullptr;
}

const char* WindowsName(DWORD platform, DWORD major, DWORD minor, DWORD build) {
  build &= 0xFFFF;
  if (platform == VER_PLATFORM_WIN32_WINDOWS && major == 4) {
    if (minor <= 9)
      return build == 950    ? "Windows 95"
             : build <= 1080 ? (build > 950 ? "Windows 95 SP1" : nullptr)
                             : "Windows 95 OSR2";
    if (minor == 10)
      return build == 1998   ? "Windows 98"
             : build >= 2183 ? "Windows 98 SE"
             : build >= 1999 ? "Windows 98 SP1"
                             : nullptr;
    if (minor == 90)
      return "Windows ME";
  }
  if (platform == VER_PLATFORM_WIN32_NT) {
    if (major == 3 && minor == 51)
      return "Windows NT 3.51";
    if (major == 4 && minor == 0)
      return "Windows NT 4";
    if (major == 5 && minor <= 2)
      return minor == 0 ? "Windows 2000" : minor == 1 ? "Windows XP" : "Windows 2003 Server";
  }
  if (platform == 3)  // VER_PLATFORM_WIN32_CE
    return "Windows CE";
  return nullptr;
}

std::string OsText(DWORD platform, DWORD major, DWORD minor, DWORD build) {
  const char* name = WindowsName(platform, major, minor, build);
  char version[50];
  std::snprintf(version, sizeof version, "%u.%u.%u", static_cast<unsigned>(major),
                static_cast<unsigned>(minor), static_cast<unsigned>(build & 0xFFFF));
  return Cut(std::string(name != nullptr ? name : "Unknown Windows Version") + " (" + version + ")", 511);
}

std::string CpuText(DWORD processors, DWORD processor_type) {
  char text[64];
  std::snprintf(text, sizeof text, "%d processor(s), type %d", static_cast<int>(processors),
                static_cast<int>(processor_type));
  return text;
}

std::string MemoryText(const MemoryFigures& figures) {
  char text[2048];
  std::snprintf(text, sizeof text,
                "%u%% of memory in use.\n%llu MB physical memory.\n%llu MB physical memory free.\n"
                "%llu MB paging file.\n%llu MB paging file free.\n%llu MB user address space.\n"
                "%llu MB user address space free.",
                static_cast<unsigned>(figures.load_percent), Megabytes(figures.total_physical),
                Megabytes(figures.free_physical), Megabytes(figures.total_paging),
                Megabytes(figures.free_paging), Megabytes(figures.total_virtual),
                Megabytes(figures.free_virtual));
  return text;
}

std::string CrashLogText(const std::string& dump_path,
                         const std::string& fault_reason,
                         const std::string& user,
                         const std::string& os,
                         const std::string& cpu,
                         const std::string& memory) {
  return "saved dump file to '" + dump_path + "'\n\n<fault reason>\n" + fault_reason + "\n\n<user>\n" + user +
         "\n\n<os>\n" + os + "\n\n<cpu>\n" + cpu + "\n\n<memory>\n" + memory;
}
