// The crash-dump handler: when the launcher dies of an unhandled exception it leaves a minidump and a small
// text log beside the program, named after the program and the moment of the crash:
// "<program path without extension> YYYY-MM-DD hh-mm-ss.dmp" and ".log" (the log is appended to, so two
// crashes in one second share it). Texts: CrashTexts.h.
//
// Threads: installed first thing at start-up. The filter runs on the thread that raised the exception; the
// dump and log are written on a fresh thread (a stack overflow leaves the faulting thread too little stack),
// one crash at a time. The process always ends: a fault on the writer's thread ends it at once, and a writer
// that has not finished within the time limit ends it too (both with the crash's exception code).
#pragma once

#include <windows.h>

#include <string>

// How long the filter waits for its writer thread: a dump library that never returns must not keep the
// process (and what it holds, such as the single-instance mutex) alive.
constexpr DWORD kCrashWriterTimeLimitMs = 60000;

// Fixes the base path (the program's module path without its extension), and registers WriteCrashDump with
// SetUnhandledExceptionFilter.
void InstallCrashDumpFilter();
// Replaces kCrashWriterTimeLimitMs (tests). Call before a crash can happen.
void SetCrashWriterTimeLimit(DWORD milliseconds);

// The filter. Writes the banner to the standard error stream, then the dump of the process and the log.
// EXCEPTION_EXECUTE_HANDLER (1) once the dump was tried (the process then ends; a failed write leaves no log);
// EXCEPTION_CONTINUE_SEARCH (0) when no dump library, no MiniDumpWriteDump in it, or no dump file could be
// had: the exception passes on to the system.
LONG WINAPI WriteCrashDump(EXCEPTION_POINTERS* pointers);

// The fault reason of `pointers`: "bad exception pointers" when the pointers or the record are not readable,
// else the code's name (CrashTexts.h: KnownExceptionName), else the message of "ntdll.dll" for the code, else
// "Unknown".
std::string CrashFaultReason(const EXCEPTION_POINTERS* pointers);
