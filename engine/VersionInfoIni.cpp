#include "engine/VersionInfoIni.h"

#include <windows.h>

#include <string>

#include "engine/EngineFiles.h"

namespace {

const wchar_t kSection[] = L"UpdInfo";
const wchar_t kCurrentVersion[] = L"CurrentVersion";
const wchar_t kSeparateStatus[] = L"SeparateStatus";
const wchar_t kUpdaterVersion[] = L"UpdaterVersion";

int ReadValue(const wchar_t* ini_path, const wchar_t* key) {
  return static_cast<int>(GetPrivateProfileIntW(kSection, key, 0, ini_path));
}

std::string VersionInfoText(const VersionInfo& info) {
  return "[UpdInfo]\r\nCurrentVersion=" + std::to_string(info.current_version) +
         "\r\nSeparateStatus=" + std::to_string(info.separate_status) +
         "\r\nUpdaterVersion=" + std::to_string(info.updater_version) + "\r\n";
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
  const std::string text = VersionInfoText(info);
  return engine_files::ReplaceFileContents(ini_path, text.data(), text.size(), FILE_ATTRIBUTE_NORMAL) ==
         engine_files::kFileDone;
}
