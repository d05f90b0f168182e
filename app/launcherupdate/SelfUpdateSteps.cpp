#include "app/launcherupdate/SelfUpdateSteps.h"

#include <windows.h>

#include <cstring>
#include <cwchar>
#include <string>

#include "app/games/CatalogueDownload.h"
#include "app/games/CatalogueText.h"
#include "app/session/ProgramPath.h"
#include "app/session/SessionValues.h"
#include "base/ScopedHandle.h"
#include "selfupdate/GameInfoVersion.h"
#include "selfupdate/ProcessReplacement.h"

namespace {

// Copied in this order; only the first two must succeed.
const wchar_t* const kUpdateTempFiles[] = {nullptr /* the program */, L"unicows.dll", L"updater.pak",
                                           L"LauncherMessage.ini"};
constexpr int kRequiredCopies = 2;
// The self-update dialog's skin, read relative to the temporary copy's folder: its loose folder and its pack.
const wchar_t kSelfUpdateSkinParent[] = L"updater";
const wchar_t kSelfUpdateSkinFolder[] = L"updater\\updater_res";

struct ProgramParts {
  std::wstring folder;
  std::wstring name;
};

bool SplitProgramPath(const wchar_t* program_path, ProgramParts* parts) {
  const wchar_t* last_backslash = program_path != nullptr ? std::wcsrchr(program_path, L'\\') : nullptr;
  if (last_backslash == nullptr || last_backslash[1] == 0)
    return false;
  parts->folder.assign(program_path, last_backslash);
  parts->name.assign(last_backslash + 1);
  return true;
}

bool OwnProgramParts(ProgramParts* parts) {
  wchar_t program[MAX_PATH];
  return GetProgramPath(program, MAX_PATH) && SplitProgramPath(program, parts);
}

bool FitsPath(const std::wstring& path) {
  return path.size() < MAX_PATH;
}

}  // namespace

int IsUpdateTempProgramPath(const wchar_t* program_path) {
  ProgramParts parts;
  if (!SplitProgramPath(program_path, &parts))
    return 0;
  const size_t last_backslash = parts.folder.rfind(L'\\');
  const std::wstring folder_name =
      last_backslash == std::wstring::npos ? parts.folder : parts.folder.substr(last_backslash + 1);
  return CompareStringOrdinal(folder_name.c_str(), -1, kUpdateTempFolderName, -1, TRUE) == CSTR_EQUAL ? 1 : 0;
}

std::wstring RealLauncherFolderOf(const wchar_t* program_path) {
  ProgramParts parts;
  if (!SplitProgramPath(program_path, &parts))
    return L"";
  const size_t last_backslash = parts.folder.rfind(L'\\');
  if (IsUpdateTempProgramPath(program_path) && last_backslash != std::wstring::npos)
    return parts.folder.substr(0, last_backslash);
  return parts.folder;
}

int IsRunningFromUpdateTemp() {
  wchar_t program[MAX_PATH];
  return GetProgramPath(program, MAX_PATH) ? IsUpdateTempProgramPath(program) : 0;
}

bool ParseLauncherInfoText(char* text, size_t size, int32_t* version) {
  if (text == nullptr)
    return false;
  TextCursor cursor = {text, text + size};
  char* line = nullptr;
  size_t length = 0;
  if (!NextTextLine(&cursor, &line, &length) || line[0] == '0')
    return false;
  if (!NextTextLine(&cursor, &line, &length))
    return false;
  line[length] = 0;
  char* hash = std::strchr(line, '#');
  if (hash == nullptr)
    return false;
  char* comma = std::strchr(hash + 1, ',');
  if (comma != nullptr)
    *comma = 0;
  *version = DecimalValue(hash + 1);
  return true;
}

std::wstring LauncherInfoUrl() {
  const SessionValues& values = GetSessionValues();
  std::wstring url;
  if (values.LUpdateAddr[0] == 0 || values.GameID[0] == 0 ||
      !InfoFileUrl(values.CompanyID, values.LUpdateAddr, values.GameID, kCatalogueKindGGI, GameInfoNumber(),
                   &url))
    return std::wstring();
  return url;
}

int DownloadLauncherInfo() {
  const SessionValues& values = GetSessionValues();
  if (values.LUpdateAddr[0] == 0 || values.GameID[0] == 0)
    return 0;
  size_t size = 0;
  char* text =
      DownloadInfoFile(values.CompanyID, values.LUpdateAddr, values.GameID, kCatalogueKindGGI, &size);
  int32_t version = 0;
  if (!ParseLauncherInfoText(text, size, &version))
    return 0;
  SetGameVersion(version);
  return 1;
}

namespace {

// Copies the self-update dialog's skin (the loose files of its folder and its pack) into the temporary folder,
// so that the copy, whose current folder is the temporary one, finds it. Nothing here must succeed: without
// its skin the dialog shows its plain look.
void CopySelfUpdateSkin(const std::wstring& program_folder, const std::wstring& temp_folder) {
  const std::wstring from = program_folder + L"\\" + kSelfUpdateSkinFolder;
  const std::wstring to = temp_folder + L"\\" + kSelfUpdateSkinFolder;
  if (!FitsPath(to + L".pak"))
    return;
  CreateDirectoryW((temp_folder + L"\\" + kSelfUpdateSkinParent).c_str(), nullptr);
  CopyFileW((from + L".pak").c_str(), (to + L".pak").c_str(), FALSE);
  WIN32_FIND_DATAW found;
  FindHandle search(FindFirstFileW((from + L"\\*").c_str(), &found));
  if (!search)
    return;
  CreateDirectoryW(to.c_str(), nullptr);
  do {
    if ((found.dwFileAttributes & FILE_ATTRIBUTE_DIRECTORY) != 0)
      continue;
    const std::wstring name = std::wstring(L"\\") + found.cFileName;
    if (FitsPath(from + name) && FitsPath(to + name))
      CopyFileW((from + name).c_str(), (to + name).c_str(), FALSE);
  } while (FindNextFileW(search.get(), &found));
}

}  // namespace

int CopyLauncherToUpdateTempFrom(const wchar_t* program_folder, const wchar_t* program_name) {
  const std::wstring folder = std::wstring(program_folder) + L"\\" + kUpdateTempFolderName;
  if (!FitsPath(folder))
    return 0;
  if (!CreateDirectoryW(folder.c_str(), nullptr) && GetLastError() != ERROR_ALREADY_EXISTS)
    return 0;
  for (int index = 0; index < 4; ++index) {
    const wchar_t* name = index == 0 ? program_name : kUpdateTempFiles[index];
    const std::wstring from = std::wstring(program_folder) + L"\\" + name;
    const std::wstring to = folder + L"\\" + name;
    const bool copied = FitsPath(from) && FitsPath(to) && CopyFileW(from.c_str(), to.c_str(), FALSE);
    if (!copied && index < kRequiredCopies)
      return 0;
  }
  CopySelfUpdateSkin(program_folder, folder);
  return 1;
}

int CopyLauncherToUpdateTemp() {
  ProgramParts parts;
  return OwnProgramParts(&parts) ? CopyLauncherToUpdateTempFrom(parts.folder.c_str(), parts.name.c_str()) : 0;
}

std::wstring UpdateTempProgramOf(const wchar_t* program_path) {
  ProgramParts parts;
  if (!SplitProgramPath(program_path, &parts))
    return L"";
  const std::wstring copy = parts.folder + L"\\" + kUpdateTempFolderName + L"\\" + parts.name;
  return FitsPath(copy) ? copy : L"";
}

std::wstring ParentProgramOf(const wchar_t* program_path) {
  ProgramParts parts;
  if (!SplitProgramPath(program_path, &parts))
    return L"";
  const size_t last_backslash = parts.folder.rfind(L'\\');
  if (last_backslash == std::wstring::npos)
    return L"";
  return parts.folder.substr(0, last_backslash) + L"\\" + parts.name;
}

int StartLauncherInUpdateTempFrom(const wchar_t* program_path, const wchar_t* command_line) {
  const std::wstring copy = UpdateTempProgramOf(program_path);
  return !copy.empty() ? ReplaceProcess(copy.c_str(), command_line) : 0;
}

int StartLauncherInUpdateTemp() {
  wchar_t program[MAX_PATH];
  return GetProgramPath(program, MAX_PATH) ? StartLauncherInUpdateTempFrom(program, GetCommandLineW()) : 0;
}

int RestartLauncherFromParentOf(const wchar_t* program_path, const wchar_t* command_line) {
  const std::wstring real = ParentProgramOf(program_path);
  return !real.empty() ? ReplaceProcess(real.c_str(), command_line) : 0;
}

int RestartLauncherFromParent() {
  wchar_t program[MAX_PATH];
  return GetProgramPath(program, MAX_PATH) ? RestartLauncherFromParentOf(program, GetCommandLineW()) : 0;
}

bool RemoveFolderTree(const wchar_t* folder) {
  const std::wstring root(folder);
  WIN32_FIND_DATAW found;
  {
    FindHandle search(FindFirstFileW((root + L"\\*").c_str(), &found));
    if (!search)
      return GetFileAttributesW(folder) == INVALID_FILE_ATTRIBUTES;
    do {
      if (std::wcscmp(found.cFileName, L".") == 0 || std::wcscmp(found.cFileName, L"..") == 0)
        continue;
      const std::wstring path = root + L"\\" + found.cFileName;
      SetFileAttributesW(path.c_str(), FILE_ATTRIBUTE_NORMAL);
      // A reparse point is removed as the link it is, never followed out of the tree.
      if ((found.dwFileAttributes & FILE_ATTRIBUTE_DIRECTORY) != 0 &&
          (found.dwFileAttributes & FILE_ATTRIBUTE_REPARSE_POINT) == 0)
        RemoveFolderTree(path.c_str());
      else if ((found.dwFileAttributes & FILE_ATTRIBUTE_DIRECTORY) != 0)
        RemoveDirectoryW(path.c_str());
      else
        DeleteFileW(path.c_str());
    } while (FindNextFileW(search.get(), &found));
  }
  return RemoveDirectoryW(folder) || GetLastError() == ERROR_FILE_NOT_FOUND;
}

int RemoveUpdateTempIn(const wchar_t* program_folder) {
  const std::wstring folder = std::wstring(program_folder) + L"\\" + kUpdateTempFolderName;
  ProgramParts parts;
  wchar_t program[MAX_PATH];
  const std::wstring program_name =
      GetProgramPath(program, MAX_PATH) && SplitProgramPath(program, &parts) ? parts.name : std::wstring();
  for (int index = 0; index < 4; ++index) {
    const wchar_t* name = index == 0 ? program_name.c_str() : kUpdateTempFiles[index];
    if (name[0] != 0)
      DeleteFileW((folder + L"\\" + name).c_str());
  }
  RemoveFolderTree((folder + L"\\" + kSelfUpdateSkinParent).c_str());
  // What an interrupted self-update left: its two folders and its package (named "*.cab").
  RemoveFolderTree((folder + L"\\" + kUpdateStagingFolderName).c_str());
  RemoveFolderTree((folder + L"\\" + kUpdateBackupFolderName).c_str());
  WIN32_FIND_DATAW found;
  {
    FindHandle search(FindFirstFileW((folder + L"\\*.cab").c_str(), &found));
    if (search) {
      do
        DeleteFileW((folder + L"\\" + found.cFileName).c_str());
      while (FindNextFileW(search.get(), &found));
    }
  }
  return RemoveDirectoryW(folder.c_str()) ? 1 : 0;
}

int RemoveUpdateTemp() {
  ProgramParts parts;
  return OwnProgramParts(&parts) ? RemoveUpdateTempIn(parts.folder.c_str()) : 0;
}
