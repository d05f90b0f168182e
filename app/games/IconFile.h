// One icon file of a game, kept beside the launcher as "<current folder>\icons\<game id>\<file name>" and
// fetched once per icon version. The version of every file of a folder is kept in that folder's
// "icon_version.ini", section "icon_version", one key per file name, value "%d".
//
// Thread: the icon loader's thread (GameIcon.h) or any other; nothing here is shared but the files.
#pragma once

#include <cstddef>
#include <cstdint>

// Results of FetchIconFile.
enum IconFetchResult : int {
  kIconFetchReady = 0,
  kIconFetchFailed = 1,
};

// Makes sure the local copy of `url` (version `version`) exists and copies its path into `path` (260 units).
//   1. Fails for a null or empty id or URL, version 0, a null `path`, a game id that is not a plain name (or
//      is made only of dots and blanks), or a URL of more than kMaxIconUrlUnits units.
//   2. Creates the folder "<current folder>\icons\<game id>" (CreateFolderChain).
//   3. The file name is the text after the last '/' of the URL; it must be a plain name.
//   4. When the recorded version equals `version` and the file is still there: ready, nothing is fetched.
//   5. Otherwise the URL's entry in the download cache is dropped and the URL downloaded beside the path; only
//      an answer of 200 whose body reached its announced length replaces the file, and only then is the version
//      recorded. A failed download leaves the previous file and version as they were.
// A download stops early once IconDownloadStopRequested (GameIcon.h) says so, or when nothing arrived for the
// receive time-out; it then fails.
int FetchIconFile(const wchar_t* game_id, const wchar_t* url, int32_t version, wchar_t* path);

// A download during which nothing arrives for this long is aborted and fails, so that a silent server holds
// no other icon back.
const unsigned kIconReceiveTimeoutMs = 15000;
// Replaces the receive time-out (tests); 0 restores kIconReceiveTimeoutMs. Set it while nothing downloads.
void SetIconReceiveTimeout(unsigned milliseconds);

// The longest icon URL that is fetched (the platform's URL limit).
const size_t kMaxIconUrlUnits = 2083;

// The text after the last '/' of `url` when that is a plain file name (no '\\', ':', "..", not empty, not
// only dots and blanks, which would name the folder itself); null otherwise. Points into `url`.
const wchar_t* IconFileName(const wchar_t* url);

// The value of the first "Content-Length" line of raw HTTP response headers (name without regard to case),
// or -1 when there is none or it is not a number that fits.
int64_t ContentLengthOf(const wchar_t* headers);

// Makes the folder `path` and every missing folder above it. Prefixes that exist, and the errors "already
// exists" and "access denied" on the way, are accepted. True only when `path` is a folder afterwards.
bool CreateFolderChain(const wchar_t* path);
