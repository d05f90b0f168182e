// The catalogue's text files, parsed from memory. The portal serves them over HTTP (CatalogueDownload.h);
// everything here works on a downloaded buffer, so the formats are tested without a server.
//
// Common shape: UTF-8 text, lines ended by CR, LF or both (empty lines and NUL bytes are skipped). Line 1
// holds a decimal count; each further line holds fields separated by '|'. Numbers are decimal integers (0
// when a field is not a number); texts are converted from UTF-8 into fixed fields and stored empty when they
// do not fit with their terminator.
//
// Game list ("GLI"), line 1 = the number of games, then one line per game with at least 27 fields:
//    0 exe name '#' n1 ',' n2   1 ServerAddr (64)      2 file host (1024)    6 ShortcutArgs (260)
//    9 postpage1 URL (1024)    10 exe relative path   11 kept (50)          12 installer URL (1024)
//   14 home URL (1024)         15 title (50)          16 catalogue version  17 game id (50)
//   18 loader type 0..4        19 kept                20 open (non-zero=1)  21 icon URL base (1024)
//   22 icon version            23 option bits         24 postpage2 URL      25 skin name (50)
//   26 RepositorySub (1024)    27 optional text (1024)
//   (fields 3, 4, 5, 7, 8 and 13 are not read). The exe name is the text before the first '#' and is stored
//   only when there is one; n1 and n2 only when both are there.
// Game versions ("GBI"), line 1 = count, then lines: game id | catalogue version | open | option bits.
// Top menu ("MLI"), line 1 = count, then lines: id | name (50) | URL (1024) | value.
// Launch mode ("LMODE"), line 1 = a count of at least 2, then "key:value" lines (split at the first ':';
// a line without ':' ends the file): "UseOrvane" and "UpdateViaOrvane" are read, other keys ignored.
//
// Every parse takes `text` with `size` bytes and a writable byte at text[size] (the downloaded buffer's
// terminator); it splits lines and fields in place. Counts from the file bound the number of records read but
// never an allocation: records grow as lines are parsed.
//
// Thread: any; the functions share no state (the game list's installation test reads the session values).
#pragma once

#include <cstddef>
#include <cstdint>
#include <vector>

#include "app/games/RawCatalogueRecords.h"

// Result codes of the catalogue readers. Frozen values.
enum CatalogueResult : int {
  kCatalogueOk = 0,
  kCatalogueDownloadFailed = 1,
  kCatalogueBadFormat = 2,  // no first line, a count too small, or a bad game line
  kCatalogueEmpty = 3,      // the first line begins with '0'
};

// A read position in a buffer of lines.
struct TextCursor {
  char* position;
  char* end;
};

// Skips CR, LF and NUL bytes, then returns the run up to the next CR, LF, NUL or the end of the buffer in
// `line` / `length`. False, with an empty line, at the end of the buffer. The caller may terminate the line
// in place at line[length] (a separator, or the writable byte at the end).
bool NextTextLine(TextCursor* cursor, char** line, size_t* length);

// Splits the terminated `line` in place at every '|' into `fields` (empty fields kept; a trailing '|' adds no
// empty field). False for an empty line.
bool SplitFields(char* line, std::vector<char*>* fields);

// The leading decimal integer of `text` (leading blanks and a sign allowed; saturating at the 32-bit range);
// 0 when there is none.
int32_t DecimalValue(const char* text);

// Converts UTF-8 `text` into `field` (`width` units) when it fits with its terminator; otherwise the field is
// left empty. Returns whether it fitted.
bool Utf8ToField(const char* text, wchar_t* field, size_t width);
template <size_t N>
bool Utf8ToField(const char* text, wchar_t (&field)[N]) {
  return Utf8ToField(text, field, N);
}

// The game list into `records` (replaced). kCatalogueOk when the lines run out or the count is reached;
// kCatalogueBadFormat for a line with fewer than 27 fields or a loader type outside 0..4 (the whole list
// fails, `records` is emptied). Each record's installation test (GameCatalogue.h: IsStartGame) runs after its
// game id is read.
int ParseGameListText(char* text, size_t size, std::vector<RawGameRecord>* records);

// Updates catalogue version, open and option bits of the first record in `records` whose game id equals a
// line's first field exactly. Lines with fewer than four fields or an unknown id are skipped.
int ParseGameVersionsText(char* text, size_t size, RawGameRecord* records, size_t count);

// The top menu into `records` (replaced). Lines with fewer than four fields are skipped.
int ParseTopMenuText(char* text, size_t size, std::vector<RawTopMenuRecord>* records);

// The launch mode into `mode` (zeroed once line 1 is accepted).
int ReadLaunchModeText(char* text, size_t size, LaunchMode* mode);
