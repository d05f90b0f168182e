#include "app/games/GameCatalogue.h"

#include <windows.h>

#include <cwchar>
#include <memory>
#include <new>
#include <string>
#include <vector>

#include "app/games/CDllLoader.h"
#include "app/games/CatalogueDownload.h"
#include "app/games/CatalogueRecheck.h"
#include "app/games/UrlFileDownload.h"
#include "app/session/ProgramPath.h"
#include "app/session/SessionValues.h"
#include "app/texts/XMLNotice.h"
#include "app/texts/XMLSearchKeyword.h"
#include "base/Paths.h"
#include "base/TextFields.h"

namespace {

std::vector<RawGameRecord> g_raw_games;
std::vector<RawTopMenuRecord> g_raw_top_menus;
std::vector<std::unique_ptr<GameInfo>> g_games;
std::vector<std::unique_ptr<TopMenuInfo>> g_top_menus;
std::vector<KeywordInfo> g_keywords;
std::vector<NoticeInfo> g_notices;
bool g_start_game_mode = false;
DWORD g_xml_file_limit_ms = kXmlFileLimitMs;

// Downloads a catalogue file and hands its text to `parse`; out of memory counts as a bad file.
template <typename Parse>
int DownloadAndParse(int32_t company_id, const wchar_t* host, const wchar_t* name, int kind, Parse parse) {
  size_t size = 0;
  char* text = DownloadInfoFile(company_id, host, name, kind, &size);
  if (text == nullptr)
    return kCatalogueDownloadFailed;
  try {
    return parse(text, size);
  } catch (const std::bad_alloc&) {
    return kCatalogueBadFormat;
  }
}

// "<current folder>\XML\<last part of url>" into `path`; false when the URL's last part is not a plain file
// name or the folder cannot be made.
bool XmlDownloadPath(const wchar_t* url, std::wstring* path) {
  const wchar_t* slash = std::wcsrchr(url, L'/');
  if (slash == nullptr || !IsPlainName(slash + 1))
    return false;
  wchar_t current[MAX_PATH];
  DWORD length = GetCurrentDirectoryW(MAX_PATH, current);
  if (length == 0 || length >= MAX_PATH)
    return false;
  std::wstring folder = std::wstring(current) + L"\\XML";
  if (!base::CreateFolderChain(folder.c_str()))
    return false;
  *path = folder + L"\\" + (slash + 1);
  return path->size() < MAX_PATH;
}

template <typename Reader>
int FetchXmlFile(const wchar_t* url) {
  std::wstring path;
  if (url == nullptr || url[0] == 0 || !XmlDownloadPath(url, &path))
    return 1;
  base::ForceDeleteFile(path.c_str());
  if (DownloadUrlToFile(url, path.c_str(), g_xml_file_limit_ms) != kUrlFileDownloaded)
    return 1;
  Reader reader;
  return reader.Load(path.c_str()) && reader.Publish() ? 0 : 1;
}

bool LoadStartGameMode(const SessionValues& session) {
  if (session.UserNick[0] == 0)
    return session.StartGameID[0] != 0;
  LaunchMode mode{};
  return ReadLaunchMode(session.LUpdateAddr, session.StartGameID, &mode) == kCatalogueOk &&
         mode.UpdateViaOrvane != 0 && mode.UseOrvane == 0;
}

int BuildCatalogue() {
  const SessionValues& session = GetSessionValues();
  g_start_game_mode = LoadStartGameMode(session);
  if (ParseTopMenu(session.CompanyID, session.LUpdateAddr) != kCatalogueOk)
    return 0;
  for (const RawTopMenuRecord& record : g_raw_top_menus)
    g_top_menus.push_back(std::make_unique<TopMenuInfo>(record));
  if (FetchKeywordFile(session.KeywordUrl) == 0) {
    for (int32_t index = 0; index < RawKeywordCount(); ++index)
      g_keywords.emplace_back(RawKeywords()[index]);
  }
  if (FetchNoticeFile(session.OneLineNoticeUrl) == 0) {
    for (int32_t index = 0; index < RawNoticeCount(); ++index)
      g_notices.emplace_back(RawNotices()[index]);
  }
  const wchar_t* name = g_start_game_mode ? session.StartGameID : nullptr;
  if (ParseGameList(session.CompanyID, session.LUpdateAddr, name) != kCatalogueOk)
    return 0;
  g_games.reserve(g_raw_games.size());
  for (RawGameRecord& record : g_raw_games) {
    g_games.push_back(std::make_unique<GameInfo>());
    g_games.back()->Bind(&record);
  }
  return 1;
}

}  // namespace

int ParseGameList(int32_t company_id, const wchar_t* host, const wchar_t* name) {
  g_raw_games.clear();
  return DownloadAndParse(company_id, host, name, kCatalogueKindGLI, [](char* text, size_t size) {
    return ParseGameListText(text, size, &g_raw_games);
  });
}

int ParseGameVersions(int32_t company_id, const wchar_t* host, const wchar_t* name) {
  return DownloadAndParse(company_id, host, name, kCatalogueKindGBI, &ApplyGameVersionsText);
}

int ApplyGameVersionsText(char* text, size_t size) {
  return ParseGameVersionsText(text, size, g_raw_games.data(), g_raw_games.size());
}

int ParseTopMenu(int32_t company_id, const wchar_t* host) {
  g_raw_top_menus.clear();
  return DownloadAndParse(company_id, host, nullptr, kCatalogueKindMLI, [](char* text, size_t size) {
    return ParseTopMenuText(text, size, &g_raw_top_menus);
  });
}

int ReadLaunchMode(const wchar_t* host, const wchar_t* name, LaunchMode* mode) {
  return DownloadAndParse(-1, host, name, kCatalogueKindLMODE,
                          [mode](char* text, size_t size) { return ReadLaunchModeText(text, size, mode); });
}

int LoadCatalogue() {
  ReleaseCatalogue();
  try {
    return BuildCatalogue();
  } catch (const std::bad_alloc&) {
    return 0;
  }
}

void ReleaseCatalogue() {
  StopCatalogueRecheck();
  for (const auto& game : g_games)
    game->ReleaseEngine();
  g_games.clear();
  g_top_menus.clear();
  g_keywords.clear();
  g_notices.clear();
  std::vector<RawGameRecord>().swap(g_raw_games);
  std::vector<RawTopMenuRecord>().swap(g_raw_top_menus);
  ReleaseRawKeywords();
  ReleaseRawNotices();
  ReleaseDllLoaders();
}

bool IsStartGame(const wchar_t* game_id, wchar_t* folder) {
  const wchar_t* start_game_id = GetSessionValues().StartGameID;
  if (game_id == nullptr || !IsPlainName(game_id) || std::wcscmp(game_id, start_game_id) != 0)
    return false;
  return CopyToField(folder, MAX_PATH, GetExeFolder()) && folder[0] != 0;
}

bool IsStartGameMode() {
  return g_start_game_mode;
}

int FetchKeywordFile(const wchar_t* url) {
  return FetchXmlFile<CXMLSearchKeyword>(url);
}

int FetchNoticeFile(const wchar_t* url) {
  return FetchXmlFile<CXMLNotice>(url);
}

void SetXmlFileLimit(unsigned long limit_ms) {
  g_xml_file_limit_ms = limit_ms != 0 ? limit_ms : kXmlFileLimitMs;
}

size_t GameCount() {
  return g_games.size();
}

GameInfo* GameAt(size_t index) {
  return index < g_games.size() ? g_games[index].get() : nullptr;
}

size_t TopMenuCount() {
  return g_top_menus.size();
}

ITopMenuInfo* TopMenuAt(size_t index) {
  return index < g_top_menus.size() ? g_top_menus[index].get() : nullptr;
}

size_t KeywordCount() {
  return g_keywords.size();
}

const KeywordInfo* KeywordAt(size_t index) {
  return index < g_keywords.size() ? &g_keywords[index] : nullptr;
}

size_t NoticeCount() {
  return g_notices.size();
}

const NoticeInfo* NoticeAt(size_t index) {
  return index < g_notices.size() ? &g_notices[index] : nullptr;
}

size_t RawGameCount() {
  return g_raw_games.size();
}

RawGameRecord* RawGameAt(size_t index) {
  return index < g_raw_games.size() ? &g_raw_games[index] : nullptr;
}

ITopMenuInfo* FindTopMenuInfo(const wchar_t* name) {
  if (name == nullptr)
    return nullptr;
  for (const auto& entry : g_top_menus) {
    if (std::wcscmp(entry->GetName(), name) == 0)
      return entry.get();
  }
  return nullptr;
}

GameInfo* FindCatalogueGameInfo(const wchar_t* game_id) {
  if (game_id == nullptr)
    return nullptr;
  for (const auto& game : g_games) {
    if (std::wcscmp(game->GetGameID(), game_id) == 0)
      return game.get();
  }
  return nullptr;
}

TopMenuInfo::TopMenuInfo(const RawTopMenuRecord& record) : value_(record.value) {
  CopyToField(name_, record.name);
  CopyToField(url_, record.url);
}
