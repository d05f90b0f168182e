#include "selfupdate/LauncherInfo.h"

#include <windows.h>

#include <cwchar>

#include "selfupdate/ProfileFileWrite.h"

namespace {

wchar_t g_launcher_info_path[MAX_PATH];

bool CopyBounded(const wchar_t* text, wchar_t* destination, size_t units) {
  destination[0] = 0;
  if (text == nullptr)
    return true;
  size_t length = std::wcslen(text);
  if (length >= units)
    return false;
  std::wmemcpy(destination, text, length + 1);
  return true;
}

void ReadText(const wchar_t* key, wchar_t* text) {
  text[0] = 0;
  GetPrivateProfileStringW(kLauncherInfoSection, key, L"", text, kLauncherInfoTextUnits,
                           g_launcher_info_path);
}

// Each write replaces the whole ini in one step (ProfileFileWrite.h): a launcher killed while it records a
// version or a server never leaves an ini without its server, which would send the next start to the server
// selection.
int WriteText(const wchar_t* key, const wchar_t* value) {
  if (g_launcher_info_path[0] == 0)
    return 0;
  return WriteProfileStringReplacing(g_launcher_info_path, kLauncherInfoSection, key,
                                     value != nullptr ? value : L"")
             ? 1
             : 0;
}

}  // namespace

const wchar_t* LauncherInfoPath() {
  return g_launcher_info_path;
}

bool SetLauncherInfoPath(const wchar_t* path) {
  return CopyBounded(path, g_launcher_info_path, MAX_PATH);
}

bool BuildLauncherInfoPath(const wchar_t* exe_folder,
                           bool running_from_update_temp,
                           wchar_t* path,
                           size_t units) {
  if (units == 0)
    return false;
  path[0] = 0;
  size_t folder_length = std::wcslen(exe_folder);
  if (running_from_update_temp) {
    const wchar_t* last_backslash = std::wcsrchr(exe_folder, L'\\');
    if (last_backslash == nullptr)
      return false;
    folder_length = static_cast<size_t>(last_backslash - exe_folder);
  }
  const size_t name_length = std::wcslen(kLauncherInfoFileName);
  if (folder_length + 1 + name_length >= units)
    return false;
  std::wmemcpy(path, exe_folder, folder_length);
  path[folder_length] = L'\\';
  std::wmemcpy(path + folder_length + 1, kLauncherInfoFileName, name_length + 1);
  return true;
}

void ReadLauncherInfoUpdateAddr(wchar_t* text) {
  ReadText(L"update_addr", text);
}

void ReadLauncherInfoUpdateName(wchar_t* text) {
  ReadText(L"update_name", text);
}

bool IsUsableUpdateAddr(const wchar_t* address) {
  return address != nullptr && address[0] != 0 && std::wcslen(address) < kUpdateAddrUnits;
}

int LoadUpdateAddrFromLauncherInfo(wchar_t* destination) {
  wchar_t address[kLauncherInfoTextUnits];
  ReadLauncherInfoUpdateAddr(address);
  if (!IsUsableUpdateAddr(address))
    return 0;
  std::wmemcpy(destination, address, std::wcslen(address) + 1);
  return 1;
}

int WriteLauncherInfoUpdateAddr(const wchar_t* address) {
  return WriteText(L"update_addr", address);
}

int WriteLauncherInfoUpdateName(const wchar_t* name) {
  return WriteText(L"update_name", name);
}

int WriteLauncherInfoVersion(unsigned version) {
  wchar_t text[16];
  std::swprintf(text, 16, L"%u", version);
  return WriteText(L"version", text);
}

unsigned ReadLauncherInfoVersion() {
  return GetPrivateProfileIntW(kLauncherInfoSection, L"version", 0, g_launcher_info_path);
}

int IsLauncherVersionChanged(int32_t announced) {
  return ReadLauncherInfoVersion() != static_cast<unsigned>(announced) ? 1 : 0;
}
