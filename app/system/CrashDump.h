// The crash-dump handler: when the launcher dies of an unhandled exception it leaves a minidump and a small
// text log beside the program, named after the program and the moment of the crash:
// "<program path without extension> YYYY-MM-DD hh-mm-ss.dmp" and ".log" (the log is appended to, so two
// crashes in one second share it). Texts: CrashTexts.h.
//
// Threads: installed first thing at start-up. The filter runs on the thread that raised the exception; the
// dump and log are written on a fresh thread (a stack overflow leaves the faulting thread too little stack),
// one crash at a time.
#pragma once

#include <windows.h>

#include <string>

// Fixes the base path (the program's module path without its extension), and registers WriteCrashDump with
// SetUnhandledExceptionFilter.
void InstallCrashDumpFilter();

// The filter. Writes the banner to the standard error stream, then the dump of the process and the log.
// EXCEPTION_EXECUTE_HANDLER (1) once the dump was tried (the process then ends; a failed write leaves no log);
// EXCEPTION_CONTINUE_SEARCH (0) when no dump library, no MiniDumpWriteDump in it, or no dump file could be
// had: the exception passes on to the system.
LONG WINAPI WriteCrashDump(EXCEPTION_POINTERS* pointers);

// The fault reason of `pointers`: "bad exception pointers" when the pointers or the record are not readable,
// else the code's name (CrashTexts.h: KnownExceptionName), else the message of "ntdll.dll" for the code, else
// "Unknown".
std::string CrashFaultReason(const EXCEPTION_POINTERS* pointers);
