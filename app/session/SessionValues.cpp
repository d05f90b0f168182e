#include "app/session/SessionValues.h"

#include <windows.h>

#include <cstddef>
#include <cstring>
#include <cwchar>
#include <memory>
#include <new>

#include "app/session/CommandLineTokens.h"
#include "app/session/ParameterFile.h"
#include "app/session/ProgramPath.h"
#include "base/Paths.h"
#include "base/TextFields.h"
#include "ui/base/AsciiCase.h"
#include "ui/base/NumberText.h"

namespace {

SessionValues g_session_values;

enum class KeyKind {
  kText,       // stored and exported as given (cut to its field)
  kPlainName,  // like kText, but ignored when it could leave a folder or registry key
  kNumber,     // stored as its leading integer, exported as given
  kPattern,    // like kNumber, but an unsigned value above 2^31 keeps its 32-bit pattern (a window handle)
  kUrl,        // exported as given, stored with "http://" in front when missing
  kExeName,    // exported as given, stored with ".exe" behind
};

struct SessionKey {
  const wchar_t* name;
  KeyKind kind;
  size_t offset;
  size_t units;  // width of a text field
};

#define SESSION_TEXT(field) offsetof(SessionValues, field), sizeof(SessionValues::field) / sizeof(wchar_t)
#define SESSION_NUMBER(field) offsetof(SessionValues, field), 0

// In matching order: the first key that matches wins.
const SessionKey kSessionKeys[] = {
    {L"GameID", KeyKind::kPlainName, SESSION_TEXT(GameID)},
    {L"StartGameID", KeyKind::kText, SESSION_TEXT(StartGameID)},
    {L"ServiceFolder", KeyKind::kText, SESSION_TEXT(ServiceFolder)},
    {L"CompanyID", KeyKind::kNumber, SESSION_NUMBER(CompanyID)},
    {L"UserNick", KeyKind::kText, SESSION_TEXT(UserNick)},
    {L"SessKey", KeyKind::kText, SESSION_TEXT(SessKey)},
    {L"Repository", KeyKind::kText, SESSION_TEXT(Repository)},
    {L"PID", KeyKind::kNumber, SESSION_NUMBER(PID)},
    {L"Handle", KeyKind::kPattern, SESSION_NUMBER(Handle)},
    {L"GPVLU", KeyKind::kText, SESSION_TEXT(GPVLU)},
    {L"GPLLV", KeyKind::kText, SESSION_TEXT(GPLLV)},
    {L"LUpdateAddr", KeyKind::kText, SESSION_TEXT(LUpdateAddr)},
    {L"FileUpdateAddr", KeyKind::kText, SESSION_TEXT(FileUpdateAddr)},
    {L"MacAddr", KeyKind::kText, SESSION_TEXT(MacAddr)},
    {L"OneLineNoticeUrl", KeyKind::kUrl, SESSION_TEXT(OneLineNoticeUrl)},
    {L"KeywordUrl", KeyKind::kUrl, SESSION_TEXT(KeywordUrl)},
    {L"BannerUrl", KeyKind::kUrl, SESSION_TEXT(BannerUrl)},
    {L"UpdaterName", KeyKind::kExeName, SESSION_TEXT(UpdaterName)},
    {L"GameVersion", KeyKind::kNumber, SESSION_NUMBER(GameVersion)},
    {L"AdminMode", KeyKind::kText, SESSION_TEXT(AdminMode)},
};

#undef SESSION_TEXT
#undef SESSION_NUMBER

const wchar_t kHttpPrefix[] = L"http://";

bool StartsWithHttp(const wchar_t* text) {
  for (size_t i = 0; kHttpPrefix[i] != 0; ++i) {
    if (FoldAsciiCase(text[i]) != kHttpPrefix[i])
      return false;
  }
  return true;
}

const SessionKey* FindSessionKey(const wchar_t* name) {
  for (const SessionKey& key : kSessionKeys) {
    if (EqualsIgnoringAsciiCase(name, key.name))
      return &key;
  }
  return nullptr;
}

void StoreValue(const SessionKey& key, const wchar_t* value) {
  char* block = reinterpret_cast<char*>(&g_session_values) + key.offset;
  if (key.kind == KeyKind::kNumber || key.kind == KeyKind::kPattern) {
    *reinterpret_cast<int32_t*>(block) =
        key.kind == KeyKind::kPattern ? TextToInt32Pattern(value) : TextToInt32(value);
    SetEnvironmentVariableW(key.name, value);
    return;
  }
  if (key.kind == KeyKind::kPlainName && !IsPlainName(value))
    return;
  wchar_t* field = reinterpret_cast<wchar_t*>(block);
  if (key.kind == KeyKind::kUrl && !StartsWithHttp(value)) {
    CopyToField(field, key.units, kHttpPrefix);
    AppendToField(field, key.units, value);
  } else {
    CopyToField(field, key.units, value);
  }
  if (key.kind == KeyKind::kExeName)
    AppendToField(field, key.units, L".exe");
  bool exported_as_given = key.kind == KeyKind::kUrl || key.kind == KeyKind::kExeName;
  SetEnvironmentVariableW(key.name, exported_as_given ? value : field);
}

// One "/Key:value" token, cut in place at its first ':'.
void ApplyToken(wchar_t* token) {
  wchar_t* colon = std::wcschr(token, L':');
  // No ':' or nothing after it: a key without a value. A ':' in front leaves no name at all, and an empty
  // token has no second character to start the name from.
  if (colon == nullptr || colon[1] == 0 || colon == token)
    return;
  *colon = 0;
  const SessionKey* key = FindSessionKey(token + 1);
  if (key != nullptr)
    StoreValue(*key, colon + 1);
}

void ApplyTokens(wchar_t* text) {
  int32_t count = 0;
  SplitArguments(text, nullptr, &count);
  if (count < 2)
    return;
  std::unique_ptr<wchar_t*[]> tokens(new (std::nothrow) wchar_t*[count]);
  if (tokens == nullptr)
    return;
  SplitArguments(text, tokens.get(), &count);
  for (int32_t i = 0; i < count; ++i)
    ApplyToken(tokens[i]);
}

}  // namespace

SessionValues& GetSessionValues() {
  return g_session_values;
}

void ParseCommandLine() {
  wchar_t program_path[MAX_PATH];
  wchar_t exe_folder[MAX_PATH];
  bool have_folder =
      GetProgramPath(program_path, MAX_PATH) && base::FolderOfPath(exe_folder, MAX_PATH, program_path);
  ParseCommandLineText(GetCommandLineW(), have_folder ? exe_folder : nullptr);
}

void ParseCommandLineText(const wchar_t* command_line, const wchar_t* exe_folder) {
  std::memset(&g_session_values, 0, sizeof g_session_values);
  CopyToField(g_session_values.ChannelGroupIndex, L"-1");
  wchar_t* text = ReadLocalParams(command_line, exe_folder);
  if (text != nullptr)
    ApplyTokens(text);
}

uintptr_t SessionWindowHandle(int32_t handle) {
  return static_cast<uintptr_t>(static_cast<intptr_t>(handle));
}

void SetGameVersion(int32_t version) {
  g_session_values.GameVersion = version;
  wchar_t text[16];
  std::swprintf(text, 16, L"%d", version);
  SetEnvironmentVariableW(L"GameVersion", text);
}

void SetSessionValues(const wchar_t* session_key, const wchar_t* gpvlu, const wchar_t* gpllv) {
  CopyToField(g_session_values.SessKey, session_key);
  CopyToField(g_session_values.GPVLU, gpvlu);
  CopyToField(g_session_values.GPLLV, gpllv);
  SetEnvironmentVariableW(L"SessKey", g_session_values.SessKey);
  SetEnvironmentVariableW(L"GPVLU", g_session_values.GPVLU);
  SetEnvironmentVariableW(L"GPLLV", g_session_values.GPLLV);
}
