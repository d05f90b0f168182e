// The launcher-info ini "ZEPHLauncherInfo.ini": the launcher's own update state, kept beside its program.
//
// Section "LAUNCHER_INFO" (a Windows profile file):
//   "update_addr"  text, at most 1023 characters: the update server (host, optionally ":port", optionally
//                  a path)
//   "update_name"  text, at most 1023 characters: that server's display name
//   "version"      unsigned integer written "%u": the launcher version installed in the launcher folder
//
// Every write replaces the ini whole ("ZEPHLauncherInfo.ini.new" written beside it, then renamed over it), so
// that a kill never leaves it emptied; the text is the profile functions' own.
//
// Thread: the user-interface thread at start-up and in the server selection; the self-update worker writes
// the version once, after start-up has set the path and before anything reads it again. The process-wide
// path below is set once at start-up (tests set it to temporary files).
#pragma once

#include <cstddef>
#include <cstdint>

constexpr wchar_t kLauncherInfoFileName[] = L"ZEPHLauncherInfo.ini";
constexpr wchar_t kLauncherInfoSection[] = L"LAUNCHER_INFO";
constexpr size_t kLauncherInfoTextUnits = 1024;  // a read text keeps at most 1023 characters
constexpr size_t kUpdateAddrUnits = 64;          // the field an update address is loaded into

// The full path of the launcher-info ini (260 characters); "" until start-up sets it.
const wchar_t* LauncherInfoPath();
// Copies `path` (null: ""); false, with the path emptied, when it does not fit 260 characters.
bool SetLauncherInfoPath(const wchar_t* path);
// The launcher-info path for a program folder: `exe_folder` (or its parent when the program runs as its own
// temporary copy) joined with "ZEPHLauncherInfo.ini". False, with `path` empty, when it does not fit.
bool BuildLauncherInfoPath(const wchar_t* exe_folder,
                           bool running_from_update_temp,
                           wchar_t* path,
                           size_t units);

// "update_addr" into `text` (1024 units), "" when absent.
void ReadLauncherInfoUpdateAddr(wchar_t* text);
// "update_name" into `text` (1024 units), "" when absent.
void ReadLauncherInfoUpdateName(wchar_t* text);
// 1 when "update_addr" is present, not empty and shorter than 64 characters: copied into `destination` (64
// units). 0 otherwise, `destination` untouched. A longer address would be cut into another server's name, so
// it counts as no address and the server selection runs instead.
int LoadUpdateAddrFromLauncherInfo(wchar_t* destination);
// True when an update address fits the process-wide field (non-empty, at most 63 characters).
bool IsUsableUpdateAddr(const wchar_t* address);
// 1 when written, else 0.
int WriteLauncherInfoUpdateAddr(const wchar_t* address);
int WriteLauncherInfoUpdateName(const wchar_t* name);
// The profile function's result (nonzero written); "version" := "%u".
int WriteLauncherInfoVersion(unsigned version);
// "version" as an integer, 0 when absent.
unsigned ReadLauncherInfoVersion();
// 1 when the ini's "version" differs from `announced`, the launcher version that the update server announced
// (compared as unsigned, as the ini holds it), else 0.
int IsLauncherVersionChanged(int32_t announced);
