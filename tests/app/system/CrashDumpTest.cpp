// The crash-dump handler: the log texts as pure functions, and a real crash program (built beside the tests)
// run under the prefix with its crash dialog off, leaving its dump and log in a folder of the test.
#include <windows.h>

#include <gtest/gtest.h>

#include <cstdio>
#include <cwchar>
#include <string>
#include <vector>

#include "app/system/CrashDump.h"
#include "app/system/CrashTexts.h"
#include "base/ScopedHandle.h"
#include "tests/support/TempFolder.h"

namespace {

using testing_support::ReadFileBytes;
using testing_support::TempFolder;

std::wstring BinaryFolder() {
  wchar_t path[MAX_PATH];
  DWORD length = GetModuleFileNameW(nullptr, path, MAX_PATH);
  std::wstring program(path, length);
  return program.substr(0, program.rfind(L'\\'));
}

// Under Wine an exception that passes on starts the debugger with a dialog unless the prefix says otherwise.
void TurnCrashDialogOff() {
  HKEY key = nullptr;
  if (RegCreateKeyExW(HKEY_CURRENT_USER, L"Software\\Wine\\WineDbg", 0, nullptr, 0, KEY_SET_VALUE, nullptr,
                      &key, nullptr) != ERROR_SUCCESS)
    return;
  DWORD off = 0;
  RegSetValueExW(key, L"ShowCrashDialog", 0, REG_DWORD, reinterpret_cast<const BYTE*>(&off), sizeof off);
  RegCloseKey(key);
}

struct CrashRun {
  bool ended = false;
  DWORD exit_code = 0;
  std::string error_output;
};

// Copies the crash program into `folder` as `program_name` and starts it with `how`, its error output going
// to `error_name` in the folder.
HANDLE StartCrasher(const TempFolder& folder,
                    const std::wstring& how,
                    const wchar_t* error_name,
                    const wchar_t* program_name = L"crasher.exe") {
  std::wstring program = folder.Join(program_name);
  CopyFileW((BinaryFolder() + L"\\orvane_crash_program.exe").c_str(), program.c_str(), FALSE);
  SECURITY_ATTRIBUTES inherit = {sizeof inherit, nullptr, TRUE};
  std::wstring error_path = folder.Join(error_name);
  HANDLE error =
      CreateFileW(error_path.c_str(), GENERIC_WRITE, FILE_SHARE_READ, &inherit, CREATE_ALWAYS, 0, nullptr);
  STARTUPINFOW startup = {};
  startup.cb = sizeof startup;
  startup.dwFlags = STARTF_USESTDHANDLES;
  startup.hStdError = error;
  startup.hStdOutput = error;
  std::wstring command = L"\"" + program + L"\" " + how;
  PROCESS_INFORMATION process = {};
  EXPECT_TRUE(CreateProcessW(program.c_str(), &command[0], nullptr, nullptr, TRUE, 0, nullptr,
                             folder.path().c_str(), &startup, &process));
  CloseHandle(error);
  CloseHandle(process.hThread);
  return process.hProcess;
}

// Runs the crash program with `how` in `folder`; waits up to `limit_ms` for it to end, and ends it when it
// has not.
CrashRun RunCrasher(const TempFolder& folder,
                    const std::wstring& how,
                    const wchar_t* program_name = L"crasher.exe",
                    DWORD limit_ms = 60000) {
  CrashRun run;
  HANDLE process = StartCrasher(folder, how, L"stderr.txt", program_name);
  if (process == nullptr)
    return run;
  run.ended = WaitForSingleObject(process, limit_ms) == WAIT_OBJECT_0;
  if (!run.ended) {
    TerminateProcess(process, 99);
    WaitForSingleObject(process, 10000);
  }
  GetExitCodeProcess(process, &run.exit_code);
  CloseHandle(process);
  ReadFileBytes(folder.Join(L"stderr.txt"), &run.error_output);
  return run;
}

// Puts the stand-in dump library of crash-fakes\\`fake` beside the crash program `program_name` in `folder`.
// Wine puts its own library in place of a file named like it unless told, per program, to take the file.
void UseFakeDumpLibrary(const TempFolder& folder, const std::wstring& fake, const wchar_t* program_name) {
  ASSERT_TRUE(CopyFileW((BinaryFolder() + L"\\crash-fakes\\" + fake + L"DBGHELP.DLL").c_str(),
                        folder.Join(L"DBGHELP.DLL").c_str(), FALSE));
  HKEY key = nullptr;
  const std::wstring overrides =
      std::wstring(L"Software\\Wine\\AppDefaults\\") + program_name + L"\\DllOverrides";
  ASSERT_EQ(ERROR_SUCCESS, RegCreateKeyExW(HKEY_CURRENT_USER, overrides.c_str(), 0, nullptr, 0, KEY_SET_VALUE,
                                           nullptr, &key, nullptr));
  const wchar_t native_first[] = L"native,builtin";
  RegSetValueExW(key, L"dbghelp", 0, REG_SZ, reinterpret_cast<const BYTE*>(native_first),
                 sizeof native_first);
  RegCloseKey(key);
}

// The files in `folder` matching `pattern` ("crasher *.dmp").
std::vector<std::wstring> Files(const TempFolder& folder, const wchar_t* pattern) {
  std::vector<std::wstring> names;
  WIN32_FIND_DATAW found;
  HANDLE search = FindFirstFileW(folder.Join(pattern).c_str(), &found);
  if (search == INVALID_HANDLE_VALUE)
    return names;
  do
    names.push_back(found.cFileName);
  while (FindNextFileW(search, &found));
  FindClose(search);
  return names;
}

int Count(const std::string& text, const std::string& part) {
  int count = 0;
  for (size_t at = text.find(part); at != std::string::npos; at = text.find(part, at + 1))
    ++count;
  return count;
}

class CrashProgramTest : public testing::Test {
 protected:
  static void SetUpTestSuite() { TurnCrashDialogOff(); }
  // The one dump and log a crash left; fails the test when there are not exactly one of each.
  void ExpectDumpAndLog(std::string* log) {
    std::vector<std::wstring> dumps = Files(folder_, L"crasher *.dmp");
    std::vector<std::wstring> logs = Files(folder_, L"crasher *.log");
    ASSERT_EQ(1u, dumps.size());
    ASSERT_EQ(1u, logs.size());
    // "crasher YYYY-MM-DD hh-mm-ss.dmp"
    EXPECT_EQ(31u, dumps[0].size());
    EXPECT_EQ(dumps[0].substr(0, 27), logs[0].substr(0, 27));
    std::string dump;
    ASSERT_TRUE(ReadFileBytes(folder_.Join(dumps[0]), &dump));
    EXPECT_EQ("MDMP", dump.substr(0, 4));
    ASSERT_TRUE(ReadFileBytes(folder_.Join(logs[0]), log));
    EXPECT_EQ(0u, log->find("saved dump file to '"));
    for (const char* section : {"<fault reason>", "<user>", "<os>", "<cpu>", "<memory>"})
      EXPECT_EQ(1, Count(*log, std::string("\r\n") + section + "\r\n")) << section;
  }
  // A folder name outside any ANSI code page: the dump and log paths are wide all the way.
  TempFolder folder_{L"crash-\u00e9\u6587"};
};

TEST_F(CrashProgramTest, AnAccessViolationLeavesADumpAndALog) {
  CrashRun run = RunCrasher(folder_, L"access");
  EXPECT_EQ(static_cast<DWORD>(EXCEPTION_ACCESS_VIOLATION), run.exit_code);
  EXPECT_NE(std::string::npos, run.error_output.find("unhandled excetpion triggerd! writing dump..."));
  std::string log;
  ExpectDumpAndLog(&log);
  EXPECT_NE(std::string::npos, log.find("<fault reason>\r\nEXCEPTION_ACCESS_VIOLATION\r\n"));
  EXPECT_NE(std::string::npos, log.find("% of memory in use."));
  EXPECT_NE(std::string::npos, log.find("crash-\xc3\xa9\xe6\x96\x87"));  // the dump path, in UTF-8
}

TEST_F(CrashProgramTest, TheForeignCxxExceptionCodeIsNamed) {
  CrashRun run = RunCrasher(folder_, L"cxx");
  EXPECT_EQ(0xE06D7363u, run.exit_code);
  std::string log;
  ExpectDumpAndLog(&log);
  EXPECT_NE(std::string::npos, log.find("<fault reason>\r\nMicrosoft C++ Exception\r\n"));
}

TEST_F(CrashProgramTest, AStackOverflowLeavesADumpWhenTheFilterIsCalled) {
  CrashRun run = RunCrasher(folder_, L"stack");
  bool filtered = run.error_output.find("writing dump") != std::string::npos;
  std::printf("stack overflow: exit code 0x%08lX, filter called: %s\n",
              static_cast<unsigned long>(run.exit_code), filtered ? "yes" : "no");
  if (!filtered)
    return;
  std::string log;
  ExpectDumpAndLog(&log);
  EXPECT_NE(std::string::npos, log.find("EXCEPTION_STACK_OVERFLOW"));
}

TEST_F(CrashProgramTest, ADumpLibraryWithoutTheExportLetsTheExceptionPassOn) {
  UseFakeDumpLibrary(folder_, L"", L"nodump.exe");
  CrashRun run = RunCrasher(folder_, L"access", L"nodump.exe");
  EXPECT_EQ(static_cast<DWORD>(EXCEPTION_ACCESS_VIOLATION), run.exit_code);
  EXPECT_NE(std::string::npos, run.error_output.find("writing dump"));
  EXPECT_TRUE(Files(folder_, L"*.dmp").empty());
  EXPECT_TRUE(Files(folder_, L"*.log").empty());
}

// A fault on the writer's own thread (a failing dump library, a damaged heap) ends the process at once, and a
// writer that never returns is waited for only up to the limit: either way the process ends, with the code
// of the crash, and no log claims a dump.
TEST_F(CrashProgramTest, TheFilterNeverWaitsForItsWriterForEver) {
  struct Case {
    const wchar_t* fake;
    const wchar_t* program;
    const wchar_t* how;
  } cases[] = {{L"faulting\\", L"faultdump.exe", L"access"}, {L"hanging\\", L"hangdump.exe", L"access 2000"}};
  for (const Case& c : cases) {
    TempFolder folder(L"crash-writer");
    UseFakeDumpLibrary(folder, c.fake, c.program);
    CrashRun run = RunCrasher(folder, c.how, c.program, 30000);
    EXPECT_TRUE(run.ended) << c.program;
    EXPECT_EQ(static_cast<DWORD>(EXCEPTION_ACCESS_VIOLATION), run.exit_code) << c.program;
    EXPECT_EQ(1, Count(run.error_output, "writing dump")) << c.program;
    EXPECT_TRUE(Files(folder, L"*.log").empty()) << c.program;
  }
}

// The seconds since 1601 of the stamp in "crasher YYYY-MM-DD hh-mm-ss.log"; 0 when it has none.
ULONGLONG StampSeconds(const std::wstring& name) {
  SYSTEMTIME time = {};
  if (swscanf(name.c_str(), L"crasher %hu-%hu-%hu %hu-%hu-%hu", &time.wYear, &time.wMonth, &time.wDay,
              &time.wHour, &time.wMinute, &time.wSecond) != 6)
    return 0;
  FILETIME file_time;
  if (!SystemTimeToFileTime(&time, &file_time))
    return 0;
  return ((static_cast<ULONGLONG>(file_time.dwHighDateTime) << 32) | file_time.dwLowDateTime) / 10000000;
}

bool OneSecondApart(ULONGLONG a, ULONGLONG b) {
  return a != 0 && b != 0 && (a > b ? a - b : b - a) == 1;
}

// Returns just after the local time's second changes.
bool WaitForTheNextSecond() {
  SYSTEMTIME start, now;
  GetLocalTime(&start);
  for (DWORD begin = GetTickCount(); GetTickCount() - begin < 2000; Sleep(1)) {
    GetLocalTime(&now);
    if (now.wSecond != start.wSecond)
      return true;
  }
  return false;
}

// Two copies of the program, released together just after a second begins, crash in that second: one dump
// name, and both logs in one file. A pair that still straddles a second boundary (two logs whose stamps lie
// one second apart) is tried again; anything else fails.
TEST_F(CrashProgramTest, TwoCrashesInOneSecondAppendToOneLog) {
  for (int attempt = 0; attempt < 3; ++attempt) {
    TempFolder folder(L"crash-twice");
    const std::wstring events = L"orvane-crash-" + std::to_wstring(GetCurrentProcessId()) + L"-";
    UniqueHandle ready[] = {UniqueHandle(CreateEventW(nullptr, TRUE, FALSE, (events + L"ready1").c_str())),
                            UniqueHandle(CreateEventW(nullptr, TRUE, FALSE, (events + L"ready2").c_str()))};
    UniqueHandle go(CreateEventW(nullptr, TRUE, FALSE, (events + L"go").c_str()));
    UniqueHandle first(
        StartCrasher(folder, L"access " + events + L"ready1 " + events + L"go", L"stderr1.txt"));
    UniqueHandle second(
        StartCrasher(folder, L"access " + events + L"ready2 " + events + L"go", L"stderr2.txt"));
    ASSERT_TRUE(first && second && go);
    HANDLE both_ready[] = {ready[0].get(), ready[1].get()};
    ASSERT_EQ(WAIT_OBJECT_0, WaitForMultipleObjects(2, both_ready, TRUE, 30000));
    ASSERT_TRUE(WaitForTheNextSecond());
    SetEvent(go.get());
    HANDLE both[] = {first.get(), second.get()};
    ASSERT_EQ(WAIT_OBJECT_0, WaitForMultipleObjects(2, both, TRUE, 60000));
    std::vector<std::wstring> logs = Files(folder, L"crasher *.log");
    if (logs.size() == 2 && OneSecondApart(StampSeconds(logs[0]), StampSeconds(logs[1])))
      continue;
    ASSERT_EQ(1u, logs.size());
    std::string log;
    ASSERT_TRUE(ReadFileBytes(folder.Join(logs[0]), &log));
    EXPECT_EQ(2, Count(log, "saved dump file to '"));
    EXPECT_EQ(1u, Files(folder, L"crasher *.dmp").size());
    return;
  }
  FAIL() << "three pairs in a row straddled a second boundary";
}

TEST(CrashTexts, NameTheStandardCodesAndNothingElse) {
  struct Case {
    DWORD code;
    const char* name;
  } cases[] = {
      {0xC0000005, "EXCEPTION_ACCESS_VIOLATION"},
      {0x80000002, "EXCEPTION_DATATYPE_MISALIGNMENT"},
      {0x80000003, "EXCEPTION_BREAKPOINT"},
      {0xC00000FD, "EXCEPTION_STACK_OVERFLOW"},
      {0xC0000008, "EXCEPTION_INVALID_HANDLE"},
      {0x80000001, "EXCEPTION_GUARD_PAGE"},
      {0xC0000094, "EXCEPTION_INT_DIVIDE_BY_ZERO"},
      {0xC000013A, "CONTROL_C_EXIT"},
      {0xE06D7363, "Microsoft C++ Exception"},
      {0x20000001, nullptr},
      {0, nullptr},
  };
  for (const Case& c : cases) {
    const char* name = KnownExceptionName(c.code);
    EXPECT_STREQ(c.name, name) << std::hex << c.code;
  }
}

TEST(CrashTexts, WindowsNamesFollowPlatformVersionAndBuild) {
  struct Case {
    DWORD platform, major, minor, build;
    const char* text;
  } cases[] = {
      {1, 4, 0, 950, "Windows 95 (4.0.950)"},
      {1, 4, 0, 0x04000000 | 951, "Windows 95 SP1 (4.0.951)"},  // only the low 16 bits of the build count
      {1, 4, 3, 1080, "Windows 95 SP1 (4.3.1080)"},
      {1, 4, 9, 1081, "Windows 95 OSR2 (4.9.1081)"},
      {1, 4, 0, 949, "Unknown Windows Version (4.0.949)"},
      {1, 4, 10, 1998, "Windows 98 (4.10.1998)"},
      {1, 4, 10, 2182, "Windows 98 SP1 (4.10.2182)"},
      {1, 4, 10, 2222, "Windows 98 SE (4.10.2222)"},
      {1, 4, 90, 3000, "Windows ME (4.90.3000)"},
      {2, 3, 51, 1057, "Windows NT 3.51 (3.51.1057)"},
      {2, 4, 0, 1381, "Windows NT 4 (4.0.1381)"},
      {2, 5, 0, 2195, "Windows 2000 (5.0.2195)"},
      {2, 5, 1, 2600, "Windows XP (5.1.2600)"},
      {2, 5, 2, 3790, "Windows 2003 Server (5.2.3790)"},
      {2, 6, 1, 7601, "Unknown Windows Version (6.1.7601)"},
      {2, 10, 0, 19045, "Unknown Windows Version (10.0.19045)"},
      {3, 5, 0, 1, "Windows CE (5.0.1)"},
  };
  for (const Case& c : cases)
    EXPECT_EQ(c.text, OsText(c.platform, c.major, c.minor, c.build));
  EXPECT_EQ("8 processor(s), type 586", CpuText(8, 586));
}

TEST(CrashTexts, MemoryFiguresAbove4GbDoNotWrap) {
  const uint64_t gb = 1ull << 30;
  MemoryFigures figures = {37, 16 * gb, 5 * gb + 1, 32 * gb, 0, 4 * gb - 128 * 1024, 1};
  EXPECT_EQ(
      "37% of memory in use.\n16384 MB physical memory.\n5121 MB physical memory free.\n32768 MB paging "
      "file.\n"
      "0 MB paging file free.\n4096 MB user address space.\n1 MB user address space free.",
      MemoryText(figures));
}

TEST(CrashTexts, PathsStampAndLog) {
  EXPECT_EQ(L"C:\\a.b\\app", CrashBasePath(L"C:\\a.b\\app.exe"));
  EXPECT_EQ(L"C:\\a.b\\app", CrashBasePath(L"C:\\a.b\\app"));  // a dot in a folder name is no extension
  EXPECT_EQ(L"app.x", CrashBasePath(L"app.x.exe"));
  EXPECT_EQ(259u, CrashBasePath(L"C:\\" + std::wstring(300, L'x') + L".exe").size());
  SYSTEMTIME time = {};
  time.wYear = 2009;
  time.wMonth = 3;
  time.wDay = 7;
  time.wHour = 14;
  time.wMinute = 5;
  time.wSecond = 9;
  EXPECT_EQ(L" 2009-03-07 14-05-09", CrashTimeStamp(time));
  EXPECT_EQ(
      "saved dump file to 'd.dmp'\n\n<fault reason>\nF\n\n<user>\nU\n\n<os>\nO\n\n<cpu>\nC\n\n<memory>\nM",
      CrashLogText("d.dmp", "F", "U", "O", "C", "M"));
}

TEST(CrashTexts, UnreadablePointersAreReportedNotRead) {
  EXPECT_EQ("bad exception pointers", CrashFaultReason(nullptr));
  EXCEPTION_POINTERS dangling = {reinterpret_cast<EXCEPTION_RECORD*>(16), nullptr};
  EXPECT_EQ("bad exception pointers", CrashFaultReason(&dangling));
  EXCEPTION_RECORD record = {};
  record.ExceptionCode = 0xC0000005;
  EXCEPTION_POINTERS pointers = {&record, nullptr};
  EXPECT_EQ("EXCEPTION_ACCESS_VIOLATION", CrashFaultReason(&pointers));
  record.ExceptionCode = 0x20000001;  // no name, and no message in ntdll's table
  EXPECT_FALSE(CrashFaultReason(&pointers).empty());
}

}  // namespace
