#include "app/texts/MessageTexts.h"

#include <cwchar>

#include "ui/base/IniFile.h"
#include "ui/base/IniStringContainer.h"

namespace {

const wchar_t kLauncherMessageFile[] = L"LauncherMessage.ini";
const wchar_t kAppMessagePath[] = L"data\\skin\\AppMessage.ini";
const wchar_t kMessageSection[] = L"MESSAGE";
const wchar_t kFontSection[] = L"FONT";
const wchar_t kUnknownError[] = L"unknown error";

// Owned here; released by ReleaseLauncherMessages and ReleaseAppMessages.
IniContainer* g_launcher_table = nullptr;
LauncherMessageFont g_launcher_font;
IniContainer* g_app_table = nullptr;

void MakeLauncherFont(IniContainer* table) {
  int32_t size = table->GetInt(kFontSection, L"size", 16);
  const wchar_t* name = table->GetString(kFontSection, L"name", L"Arial");
  int32_t charset = table->GetInt(kFontSection, L"charset", 0);
  g_launcher_font.gap_x = table->GetInt(kFontSection, L"gap_x", 5);
  g_launcher_font.gap_y = table->GetInt(kFontSection, L"gap_y", 5);
  // A font that cannot be made leaves the splash with the system font; nothing else depends on it.
  g_launcher_font.font =
      CreateFontW(size, 0, 0, 0, FW_NORMAL, FALSE, FALSE, FALSE, static_cast<DWORD>(charset),
                  OUT_CHARACTER_PRECIS, CLIP_CHARACTER_PRECIS, NONANTIALIASED_QUALITY, 0, name);
}

// Takes `table` (null: none) as the launcher table and makes its font.
int InstallLauncherTable(IniContainer* table) {
  g_launcher_table = table;
  if (g_launcher_table == nullptr)
    return 0;
  MakeLauncherFont(g_launcher_table);
  return 1;
}

}  // namespace

bool LauncherMessagePathFor(const wchar_t* module_path, wchar_t* path, size_t units) {
  if (module_path == nullptr || path == nullptr || units == 0)
    return false;
  const wchar_t* last_backslash = std::wcsrchr(module_path, L'\\');
  size_t folder_units = last_backslash != nullptr ? static_cast<size_t>(last_backslash - module_path) + 1 : 0;
  size_t name_units = std::wcslen(kLauncherMessageFile);
  path[0] = 0;
  if (folder_units + name_units >= units)
    return false;
  std::wmemcpy(path, module_path, folder_units);
  std::wmemcpy(path + folder_units, kLauncherMessageFile, name_units + 1);
  return true;
}

int LoadLauncherMessages() {
  wchar_t module_path[MAX_PATH];
  DWORD units = GetModuleFileNameW(nullptr, module_path, MAX_PATH);
  // A cut module path would name some other folder: load nothing rather than a stranger's texts.
  if (units == 0 || units >= MAX_PATH) {
    ReleaseLauncherMessages();
    return 0;
  }
  return LoadLauncherMessagesFor(module_path);
}

int LoadLauncherMessagesFor(const wchar_t* module_path) {
  ReleaseLauncherMessages();
  wchar_t path[MAX_PATH];
  if (!LauncherMessagePathFor(module_path, path, MAX_PATH))
    return 0;
  return InstallLauncherTable(LoadIniFile(path));
}

int LoadLauncherMessagesFromContent(const wchar_t* content, uint32_t byte_size) {
  ReleaseLauncherMessages();
  return InstallLauncherTable(ParseIniFileContent(content, byte_size));
}

const wchar_t* GetLauncherMessage(const wchar_t* key) {
  if (key == nullptr)
    return L"";
  return g_launcher_table != nullptr ? g_launcher_table->GetString(kMessageSection, key, key) : key;
}

const LauncherMessageFont& GetLauncherMessageFont() {
  return g_launcher_font;
}

IniContainer* LauncherMessageTable() {
  return g_launcher_table;
}

void ReleaseLauncherMessages() {
  delete g_launcher_table;
  g_launcher_table = nullptr;
  if (g_launcher_font.font != nullptr)
    DeleteObject(g_launcher_font.font);
  g_launcher_font = LauncherMessageFont();
}

int LoadAppMessages() {
  ReleaseAppMessages();
  g_app_table = LoadIniFile(kAppMessagePath);
  return g_app_table != nullptr ? 1 : 0;
}

int LoadAppMessagesFromContent(const wchar_t* content, uint32_t byte_size) {
  ReleaseAppMessages();
  g_app_table = ParseIniFileContent(content, byte_size);
  return g_app_table != nullptr ? 1 : 0;
}

const wchar_t* GetAppMessage(const wchar_t* key) {
  return g_app_table != nullptr ? g_app_table->GetString(kMessageSection, key, nullptr) : nullptr;
}

const wchar_t* GetAppMessageOrUnknown(const wchar_t* key) {
  const wchar_t* text = GetAppMessage(key);
  return text != nullptr ? text : kUnknownError;
}

IniContainer* AppMessageTable() {
  return g_app_table;
}

void ReleaseAppMessages() {
  delete g_app_table;
  g_app_table = nullptr;
}
