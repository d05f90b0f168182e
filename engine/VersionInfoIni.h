// The versionInfo ini of an installation: "<install root>\versionInfo_<product code>.ini", a Windows profile
// file that the launcher reads too.
//
//   [UpdInfo]
//   CurrentVersion=<installed version>
//   SeparateStatus=<separation status>
//   UpdaterVersion=<engine version>
//
// Decimal integers; a missing key or file reads as 0. Read and written through the profile functions, which
// serialise access to the file themselves.
#pragma once

struct VersionInfo {
  int current_version = 0;
  int separate_status = 0;
  int updater_version = 0;
};

VersionInfo ReadVersionInfo(const wchar_t* ini_path);

// Writes the three keys, each as "%d". False when a write fails.
bool WriteVersionInfo(const wchar_t* ini_path, const VersionInfo& info);
