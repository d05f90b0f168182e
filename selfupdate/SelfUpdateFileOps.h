// Every file operation of the self-update goes through one table, so that tests can make any of them fail and
// the stand-in launcher can end itself at any of them. The real table calls the platform directly.
//
// Thread: the table is set before the self-update starts and read by its worker thread.
#pragma once

#include <windows.h>

struct SelfUpdateFileOps {
  // The package file: write access, no sharing, always created anew.
  HANDLE (*create_package)(const wchar_t* path);
  BOOL (*write_file)(HANDLE file, const void* data, DWORD bytes, DWORD* written);
  BOOL (*create_directory)(const wchar_t* path);
  BOOL (*copy_file)(const wchar_t* from, const wchar_t* to);  // replaces `to`
  // Renames `from` over `to` in one step (same volume), replacing an existing `to`; the real one first flushes
  // `from` to the disk.
  BOOL (*move_replacing)(const wchar_t* from, const wchar_t* to);
  BOOL (*delete_file)(const wchar_t* path);
  BOOL (*set_attributes)(const wchar_t* path, DWORD attributes);
  BOOL (*remove_directory)(const wchar_t* path);
  int (*extract_cabinet)(const wchar_t* cabinet, const wchar_t* folder);  // CabinetCheck.h, then extraction
  int (*write_version)(unsigned version);                                 // LauncherInfo.h
};

const SelfUpdateFileOps& RealSelfUpdateFileOps();
// The table in use.
const SelfUpdateFileOps& FileOps();
// Installs `ops` (kept by pointer; null: the real table).
void SetSelfUpdateFileOps(const SelfUpdateFileOps* ops);
