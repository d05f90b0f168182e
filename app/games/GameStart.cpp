#include "app/games/GameStart.h"

#include <windows.h>

#include <cwchar>

#include "app/session/ProgramPath.h"
#include "base/Paths.h"
#include "base/ScopedHandle.h"
#include "base/TextFields.h"

namespace {

bool IsPresent(const wchar_t* text) {
  return text != nullptr && text[0] != 0;
}

// `value` between double quotes, its quotes dropped and its trailing backslashes doubled, so that the game's
// command-line parser reads it as one argument.
void AppendQuoted(std::wstring* line, const wchar_t* value) {
  *line += L'"';
  size_t trailing_backslashes = 0;
  for (; value != nullptr && *value != 0; ++value) {
    if (*value == L'"')
      continue;
    trailing_backslashes = *value == L'\\' ? trailing_backslashes + 1 : 0;
    *line += *value;
  }
  line->append(trailing_backslashes, L'\\');
  *line += L'"';
}

}  // namespace

bool IsRelativePathBelow(const wchar_t* path) {
  if (!IsPresent(path) || path[0] == L'\\' || path[0] == L'/' || std::wcschr(path, L':') != nullptr)
    return false;
  const wchar_t* component = path;
  for (;;) {
    size_t length = std::wcscspn(component, L"\\/");
    if (length == 0 || (length == 2 && component[0] == L'.' && component[1] == L'.'))
      return false;
    if (component[length] == 0)
      return true;
    component += length + 1;
  }
}

bool GameProgramPath(const GameStartValues& values, wchar_t* path, size_t units) {
  if (units == 0)
    return false;
  path[0] = 0;
  if (!IsPresent(values.game_path))
    return false;
  if (values.loader_type != 0)
    return IsRelativePathBelow(values.exe_relative_path) &&
           base::JoinPath(path, units, values.game_path, values.exe_relative_path);
  if (!IsPlainName(values.exe_name))
    return false;
  std::wstring file = std::wstring(values.exe_name) + L".exe";
  return base::JoinPath(path, units, values.game_path, file.c_str());
}

std::wstring GameCommandLine(const GameStartValues& values,
                             const wchar_t* program_path,
                             const wchar_t* tail) {
  std::wstring line;
  AppendQuoted(&line, program_path);
  const wchar_t* args = values.shortcut_args;
  if (IsPresent(args) && std::wcscmp(args, L"0") != 0) {
    line += L' ';
    line += args;
  }
  if (values.loader_type == 2 || values.loader_type == 4)
    return line;
  line += L' ';
  line += tail != nullptr ? tail : L"";
  const wchar_t* const items[][2] = {
      {L" /ServerAddr:", values.server_addr},
      {L" /StartGameID:", values.game_id},
      {L" /RepositorySub:", values.repository_sub},
      {L" /GamePath:", values.game_path},
  };
  for (const auto& item : items) {
    line += item[0];
    AppendQuoted(&line, item[1]);
  }
  return line;
}

bool IsFileInUse(const wchar_t* path) {
  const DWORD read_attributes = FILE_ATTRIBUTE_READONLY | FILE_ATTRIBUTE_HIDDEN | FILE_ATTRIBUTE_SYSTEM |
                                FILE_ATTRIBUTE_ARCHIVE | FILE_FLAG_SEQUENTIAL_SCAN;
  UniqueHandle file(
      CreateFileW(path, GENERIC_READ, FILE_SHARE_READ, nullptr, OPEN_EXISTING, read_attributes, nullptr));
  if (!file)
    return false;
  file.reset();
  file.reset(CreateFileW(path, GENERIC_WRITE, 0, nullptr, OPEN_EXISTING, FILE_ATTRIBUTE_NORMAL, nullptr));
  return !file;
}

bool IsFileInUseIn(const wchar_t* folder, const wchar_t* name) {
  wchar_t path[MAX_PATH];
  if (folder == nullptr || name == nullptr || !base::JoinPath(path, MAX_PATH, folder, name))
    return false;
  return IsFileInUse(path);
}
