// The raw catalogue records: one fixed-size record per line of the game list and of the top-menu list. The
// catalogue owns them for the program's lifetime; each GameInfo points its texts into one raw game record.
//
// Every text field is NUL-terminated within its width. A catalogue text that does not fit its field with its
// terminator is stored empty, never cut (a cut URL or path would name something else).
#pragma once

#include <cstddef>
#include <cstdint>

struct RawGameRecord {
  wchar_t game_id[50];
  wchar_t title[50];
  wchar_t exe_relative_path[1024];  // the program of an engine-managed game, relative to the game folder
  wchar_t exe_name[260];            // the program of a plain game, without ".exe"
  int32_t exe_numbers[2];           // after the '#' of the exe field; read by nobody
  wchar_t home_url[1024];
  wchar_t postpage1_url[1024];
  wchar_t server_addr[64];
  wchar_t file_host[1024];  // the engine's HTTP file host
  wchar_t repository_sub[1024];
  wchar_t field27[1024];
  wchar_t field11[50];  // read by nobody
  wchar_t installer_url[1024];
  wchar_t shortcut_args[260];
  wchar_t game_folder[260];  // the installation's folder, when the installation test finds one
  uint8_t installed;
  int32_t catalogue_version;
  int32_t loader_type;  // 0..4
  int32_t field19;      // read by nobody
  uint8_t open;         // 0: only an administrator session may use the game
  wchar_t skin_name[50];
  int32_t icon_version;
  wchar_t icon_url_base[1024];
  int32_t option_bits;
  wchar_t postpage2_url[1024];
};
static_assert(offsetof(RawGameRecord, installed) == 16332, "raw game record layout");
static_assert(offsetof(RawGameRecord, skin_name) == 16350, "raw game record layout");
static_assert(sizeof(RawGameRecord) == 20556, "raw game record layout");

struct RawTopMenuRecord {
  int32_t id;
  wchar_t name[50];
  wchar_t url[1024];
  int32_t value;
};
static_assert(sizeof(RawTopMenuRecord) == 2156, "raw top-menu record layout");

// The two values of the launch-mode file.
struct LaunchMode {
  int32_t UpdateViaOrvane;
  int32_t UseOrvane;
};
