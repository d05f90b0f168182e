// The versionInfo ini of an installation: "<install root>\versionInfo_<product code>.ini", a Windows profile
// file that the launcher reads too.
//
//   [UpdInfo]
//   CurrentVersion=<installed version>
//   SeparateStatus=<separation status>
//   UpdaterVersion=<engine version>
//
// Decimal integers; a missing key or file reads as 0. Read through the profile functions. Written as one file
// in that format (8-bit text, "\r\n" line ends), beside the ini and renamed over it, so that a process ended
// at any moment leaves the old three values or the new ones, never a mix.
#pragma once

struct VersionInfo {
  int current_version = 0;
  int separate_status = 0;
  int updater_version = 0;
};

VersionInfo ReadVersionInfo(const wchar_t* ini_path);

// Replaces the ini with the three keys, each as "%d". False when it could not be written (the old file is
// then unchanged).
bool WriteVersionInfo(const wchar_t* ini_path, const VersionInfo& info);
