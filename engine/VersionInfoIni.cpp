#include "engine/VersionInfoIni.h"

#include <windows.h>

#include <string>

namespace {

const wchar_t kSection[] = L"UpdInfo";
const wchar_t kCurrentVersion[] = L"CurrentVersion";
const wchar_t kSeparateStatus[] = L"SeparateStatus";
const wchar_t kUpdaterVersion[] = L"UpdaterVersion";

int ReadValue(const wchar_t* ini_path, const wchar_t* key) {
  return static_cast<int>(GetPrivateProfileIntW(kSection, key, 0, ini_path));
}

bool WriteValue(const wchar_t* ini_path, const wchar_t* key, int value) {
  return WritePrivateProfileStringW(kSection, key, std::to_wstring(value).c_str(), ini_path) != 0;
}

}  // namespace

VersionInfo ReadVersionInfo(const wchar_t* ini_path) {
  VersionInfo info;
  if (ini_path == nullptr || ini_path[0] == L'\0')
    return info;
  info.current_version = ReadValue(ini_path, kCurrentVersion);
  info.separate_status = ReadValue(ini_path, kSeparateStatus);
  info.updater_version = ReadValue(ini_path, kUpdaterVersion);
  return info;
}

bool WriteVersionInfo(const wchar_t* ini_path, const VersionInfo& info) {
  if (ini_path == nullptr || ini_path[0] == L'\0')
    return false;
  bool ok = WriteValue(ini_path, kCurrentVersion, info.current_version);
  ok = WriteValue(ini_path, kSeparateStatus, info.separate_status) && ok;
  ok = WriteValue(ini_path, kUpdaterVersion, info.updater_version) && ok;
  return ok;
}
