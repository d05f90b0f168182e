// The game catalogue: the portal's catalogue files downloaded and parsed into raw records (CatalogueText.h,
// CatalogueDownload.h), and the objects built over them: one GameInfo per game, the top-menu entries, and the
// search keywords and notices from the portal's XML files. The catalogue owns them all from LoadCatalogue to
// ReleaseCatalogue.
//
// Which games are installed: only the game the launcher was started for (the StartGameID session value) is,
// in the launcher's own folder (IsStartGame).
//
// Thread: the user-interface thread (start-up, the periodic re-check, shutdown). The engine threads reach a
// game only through its own lock.
#pragma once

#include <cstddef>
#include <cstdint>

#include "app/games/CatalogueInfos.h"
#include "app/games/CatalogueText.h"
#include "app/games/GameInfo.h"

// The readers: download one catalogue file from `host` and parse it (results: CatalogueResult).
// The game list into the raw game records (replacing them).
int ParseGameList(int32_t company_id, const wchar_t* host, const wchar_t* name);
// The game versions into the existing raw game records.
int ParseGameVersions(int32_t company_id, const wchar_t* host, const wchar_t* name);
// The text of a downloaded game version file into the existing raw game records (the periodic re-check,
// CatalogueRecheck.h). Results as ParseGameVersions, without the download.
int ApplyGameVersionsText(char* text, size_t size);
// The top menu into the raw top-menu records (replacing them).
int ParseTopMenu(int32_t company_id, const wchar_t* host);
// The launch-mode file named `name` (CompanyID -1: the file is named by kind and name only).
int ReadLaunchMode(const wchar_t* host, const wchar_t* name, LaunchMode* mode);

// Loads the whole catalogue from the update address (LUpdateAddr) with the session's CompanyID:
//   1. ReleaseCatalogue.
//   2. Start-game mode: with a UserNick, on when the launch mode of the StartGameID says UpdateViaOrvane and
//      not UseOrvane; without one, on when a StartGameID is given.
//   3. The top menu (failure: 0).
//   4, 5. The keyword and notice XML files (FetchKeywordFile, FetchNoticeFile; failures are ignored).
//   6. The game list, named by the StartGameID in start-game mode (failure: 0).
//   7. One GameInfo per game, bound to its record. 1.
int LoadCatalogue();
// Stops a running re-check (CatalogueRecheck.h), stops and removes every game's engine, destroys every
// catalogue object and record, the published keyword and notice records, and frees the engine libraries.
void ReleaseCatalogue();

// True when `game_id` equals the StartGameID session value exactly and can name a file (a plain name); then
// the launcher's own folder is copied into `folder` (260 characters).
bool IsStartGame(const wchar_t* game_id, wchar_t* folder);
// The start-game mode of the last LoadCatalogue.
bool IsStartGameMode();

// Download the XML file at `url` into "<current folder>\XML\<file name of the URL>" and publish its records.
// 0 success; 1 for an empty URL, a URL whose last part is not a plain file name, a failed download, a
// download that did not end within the XML file limit (UrlFileDownload.h: a silent server cannot hold the
// start), or a file that the reader rejects or that holds no records.
int FetchKeywordFile(const wchar_t* url);
int FetchNoticeFile(const wchar_t* url);
// How long one XML file may take; tests shorten it, 0 restores the default.
constexpr unsigned long kXmlFileLimitMs = 10000;
void SetXmlFileLimit(unsigned long limit_ms);

// The catalogue's objects, in catalogue order.
size_t GameCount();
GameInfo* GameAt(size_t index);
size_t TopMenuCount();
ITopMenuInfo* TopMenuAt(size_t index);
size_t KeywordCount();
const KeywordInfo* KeywordAt(size_t index);
size_t NoticeCount();
const NoticeInfo* NoticeAt(size_t index);
// The raw game records (the installation test writes their folders).
size_t RawGameCount();
RawGameRecord* RawGameAt(size_t index);

// Linear searches, exact compare, first match; null when absent.
ITopMenuInfo* FindTopMenuInfo(const wchar_t* name);
GameInfo* FindCatalogueGameInfo(const wchar_t* game_id);
