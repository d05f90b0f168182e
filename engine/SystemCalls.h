// The engine's file system calls, gathered in one table of function pointers that every file operation of the
// engine goes through. The table holds the real Windows calls; tests replace entries to make a chosen call
// fail (or to end the process at a chosen write) and so prove that the engine keeps its promises when the
// disk does not.
//
// Kinds of calls in the table: open or create (CreateFileW), read, write, flush, move or rename (MoveFileExW, or
// SetFileInformationByHandle with FileRenameInfo on an open file) and delete (DeleteFileW, or
// SetFileInformationByHandle with FileDispositionInfo). Attribute, size, pointer and folder calls are not in it: they never carry or remove data.
//
// Threads: the table is read by every engine thread without a lock. Whoever replaces entries does so while no
// engine thread runs, and puts the real calls back the same way.
#pragma once

#include <windows.h>

struct SystemCallTable {
  HANDLE(WINAPI* create_file)(LPCWSTR, DWORD, DWORD, LPSECURITY_ATTRIBUTES, DWORD, DWORD, HANDLE);
  BOOL(WINAPI* read_file)(HANDLE, LPVOID, DWORD, LPDWORD, LPOVERLAPPED);
  BOOL(WINAPI* write_file)(HANDLE, LPCVOID, DWORD, LPDWORD, LPOVERLAPPED);
  BOOL(WINAPI* flush_file)(HANDLE);
  BOOL(WINAPI* move_file)(LPCWSTR, LPCWSTR, DWORD);
  BOOL(WINAPI* delete_file)(LPCWSTR);
  BOOL(WINAPI* set_file_information)(HANDLE, FILE_INFO_BY_HANDLE_CLASS, LPVOID, DWORD);
};

// Renames the open file `file` (opened with DELETE access) to `target`, replacing a file there, through
// set_file_information. False, with the system's error, when it failed.
bool RenameOpenFile(HANDLE file, const wchar_t* target);
// Marks the open file `file` (opened with DELETE access) to be deleted when its last handle closes, through
// set_file_information.
bool DeleteOpenFile(HANDLE file);

// The table in use.
SystemCallTable& system_calls();
// The real calls, for a test that puts them back or passes a call through.
const SystemCallTable& real_system_calls();
