// The versionInfo ini of an installation: "<install root>\versionInfo_<product code>.ini", a Windows profile
// file that the launcher reads too.
//
//   [UpdInfo]
//   CurrentVersion=<installed version>
//   SeparateStatus=<separation status>
//   UpdaterVersion=<engine version>
//
// Decimal integers; a missing key or file reads as 0. Read through the profile functions. Written as one file
// (8-bit text, "\r\n" line ends; a file that starts with a UTF-16 byte-order mark stays UTF-16), beside the
// ini and renamed over it, so that a process ended at any moment leaves the old three values or the new ones,
// never a mix. Every other line of the ini (other keys and sections, comments) is kept as it was.
#pragma once

#include <string>

struct VersionInfo {
  int current_version = 0;
  int separate_status = 0;
  int updater_version = 0;
};

VersionInfo ReadVersionInfo(const wchar_t* ini_path);

// The ini's new contents: `old_bytes` (the file as it was; empty for none) with the three keys of the first
// [UpdInfo] section (names compared without regard to case) set to the values, each as "%d". A key that is
// missing is added at the end of that section, a missing section at the end of the file. Pure.
std::string MergeVersionInfoText(const std::string& old_bytes, const VersionInfo& info);

// Replaces the ini with MergeVersionInfoText of its contents. False when it could not be read (other than
// missing) or written (the old file is then unchanged).
bool WriteVersionInfo(const wchar_t* ini_path, const VersionInfo& info);
