// The launcher's session values: who the user is, which game the launcher serves, which game to open and
// where to update from. The portal passes them as "/Key:value" tokens on the command line
// (CommandLineTokens.h) or in the signed parameter file (ParameterFile.h); every value is also set as an
// environment variable of the launcher process, where the games started later find it.
//
// Thread: the user-interface thread fills and reads the block (start-up, hand-over, game start). The
// environment is process-wide and inherited by every process started afterwards.
#pragma once

#include <cstdint>

// One process-wide block, zero-filled before every parse. Text fields are NUL-terminated within their width,
// so a value keeps at most width - 1 characters; a longer one is cut there.
struct SessionValues {
  wchar_t GameID[64];             // the portal game this launcher serves (settings section, registry key)
  wchar_t StartGameID[64];        // the game to select and open at start
  wchar_t UserNick[64];           // the user's display name
  wchar_t SessKey[36];            // the session key passed on to games
  wchar_t Repository[100];        // stored and exported only
  wchar_t ChannelGroupIndex[64];  // not a command-line key: always "-1"
  int32_t PID;                    // stored and exported only
  int32_t Handle;                 // window of the calling browser, closed before some games start
  wchar_t GPVLU[1024];            // stored, exported and handed over
  wchar_t GPLLV[16];              // stored, exported and handed over
  wchar_t LUpdateAddr[64];        // update address; replaced at start-up from the launcher-info ini
  wchar_t FileUpdateAddr[64];     // stored and exported only
  wchar_t MacAddr[16];            // passed on to games
  wchar_t KeywordUrl[260];        // search-keyword XML address, "http://" in front when missing
  wchar_t OneLineNoticeUrl[260];  // notice XML address, "http://" in front when missing
  wchar_t BannerUrl[260];         // the advertisement page, "http://" in front when missing
  wchar_t UpdaterName[64];        // stored with ".exe" appended, exported as given
  wchar_t AdminMode[260];         // non-empty lets blocked catalogue games be used
  int32_t GameVersion;            // launcher version announced by the server (also SetGameVersion)
  wchar_t ServiceFolder[260];     // stored and exported only
  int32_t CompanyID;              // number in the catalogue file names; passed on to games
};

// The process-wide session values.
SessionValues& GetSessionValues();

// Parses this process's command line (GetCommandLineW, with "LauncherParam.dat" looked for in the program's
// folder) into the session values and the environment.
void ParseCommandLine();
// The same for `command_line`, with "LauncherParam.dat" looked for in `exe_folder`.
//   1. The values are zeroed; ChannelGroupIndex := "-1".
//   2. The text (ParameterFile.h: ReadLocalParams) is split into tokens; fewer than 2 tokens: nothing more.
//   3. Every token, the first included, is cut at its first ':' (no ':' or nothing after it: ignored). The
//      name from its SECOND character on (the first, normally '/', is skipped whatever it is) is compared
//      with the keys in the order GameID, StartGameID, ServiceFolder, CompanyID, UserNick, SessKey,
//      Repository, PID, Handle, GPVLU, GPLLV, LUpdateAddr, FileUpdateAddr, MacAddr, OneLineNoticeUrl,
//      KeywordUrl, BannerUrl, UpdaterName, GameVersion, AdminMode, ignoring the case of ASCII letters;
//      unknown names are ignored.
//   4. The environment variable named like the key gets the stored text, except: CompanyID, PID, Handle and
//      GameVersion store the value's leading decimal integer (0 without one; saturating at the 32-bit range,
//      but for Handle, whose unsigned decimal above 2^31 keeps its 32-bit pattern: NumberText.h) and export
//      the raw text; the three URLs and UpdaterName export the value as given, the URLs are
//      stored with "http://" in front unless they start with it (any case), UpdaterName with ".exe" behind.
//   5. A GameID that could leave its folder or registry key (TextFields.h: IsPlainName) is ignored.
// The parameter buffer stays until ReleaseParameterBuffer.
void ParseCommandLineText(const wchar_t* command_line, const wchar_t* exe_folder);

// The calling browser's window that the Handle value names. A window handle is a 32-bit value that 64-bit
// Windows sign-extends when it widens it, so a value with its top bit set names the same window in the 32-bit
// and the 64-bit build; zero-extended it would name another.
uintptr_t SessionWindowHandle(int32_t handle);

// GameVersion := `version`; environment "GameVersion" := its decimal text.
void SetGameVersion(int32_t version);
// Stores the three values (cut to their fields) and sets the environment variables "SessKey", "GPVLU" and
// "GPLLV" to the stored texts. Null counts as empty.
void SetSessionValues(const wchar_t* session_key, const wchar_t* gpvlu, const wchar_t* gpllv);
