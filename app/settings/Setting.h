// The user's launcher preferences and the user's order of the installed games.
//
// One process-wide instance (Setting::GetInstance) is loaded from the settings file on first use and written
// back at shutdown only when it differs from what was loaded; the settings dialog edits a private clone
// (Setting::Clone) and the main dialog copies an accepted clone into the singleton (Setting::CopyTo).
//
// Settings file: the program's path with its extension replaced by ".ini" (no extension in the file name:
// nothing is loaded or saved). Windows profile (ini) format:
//   [<GameID>]     Minimize, AutoClose, InstallFilePath, DeleteInstallFile, Update, IdleTime, CPUUse,
//                  NetworkUse, Shutdown, FixSkin, FixedSkinID, DisableWebBrowser (integers as decimal text)
//   [GAME_ORDER]   count=<n>, then 1=<game id>, 2=<game id>, ... (keys of an earlier longer list may stay in
//                  the file; "count" bounds what is read)
//
// The default download folder is "<base>\Download", where <base> is the string value "BaseDir" of the
// registry key "Software\Orvane\<GameID>" under HKEY_LOCAL_MACHINE (opened for reading only), or the
// program's folder when that value is missing, empty or not a string, or the GameID is not a plain name.
//
// Thread: the user-interface thread only.
#pragma once

#include <windows.h>

#include <cstdint>

#include "ui/base/TLinkedList.h"

// One entry of the user's game order: a 1-based position (0 is never stored) and the catalogue game id
// (compared exactly, case counts).
struct GAME_ORDER {
  virtual ~GAME_ORDER() = default;
  int32_t order = 0;
  wchar_t game_id[256] = {};
};

// Where settings come from. The launcher keeps the defaults; tests point them at temporary places. Texts are
// not copied: they must outlive every Setting made while they are in force.
struct SettingSources {
  HKEY registry_root = HKEY_LOCAL_MACHINE;
  const wchar_t* registry_path = L"Software\\Orvane";  // the GameID is its sub-key
  const wchar_t* program_path = nullptr;               // null: this program's module file name
  int windows9x_family = -1;                           // -1: asked from the system; else 0 or 1
};
// Replaces the sources for every Setting made or loaded afterwards.
void SetSettingSources(const SettingSources& sources);
// Back to the defaults.
void ResetSettingSources();
// True on the Windows 9x family as the settings see it (SettingSources::windows9x_family, else the system).
bool SettingsOnWindows9xFamily();

class Setting {
 public:
  // The defaults (reads the registry for the default download folder).
  Setting();
  // Empties the game order and deletes the saved copy.
  virtual ~Setting();
  Setting(const Setting&) = delete;
  Setting& operator=(const Setting&) = delete;

  // The singleton: made on first call with a saved copy and loaded; the same object afterwards.
  static Setting* GetInstance();
  // The singleton, or null when none was made.
  static Setting* PeekInstance();
  // Deletes the singleton (without saving; shutdown saves first) and clears it.
  static void ReleaseInstance();

  // Reads the settings file over the current values (each missing key keeps its value), bounds them, and
  // makes the saved copy equal to the result.
  void Load();
  // Writes every value and the sorted game order, only when IsChanged(). Write failures are not reported.
  void Save();
  // A new Setting equal to this one, with a saved copy equal too (so it starts out unchanged). Owned by the
  // caller; null when it cannot be allocated.
  Setting* Clone() const;
  // Copies every value and the game order (re-sorted) into `destination`; not the saved copy. Null: nothing.
  void CopyTo(Setting* destination) const;
  // True when a saved copy exists and any value or the game order differs from it.
  bool IsChanged() const;
  bool GameOrderChanged() const;

  // The order of the first entry for `game_id`, or 0.
  int32_t GetGameOrder(const wchar_t* game_id) const;
  // Sets the order of `game_id`'s entry, or appends a new entry; an order of 0 or less does nothing. The list
  // is not re-sorted.
  void SetGameOrder(const wchar_t* game_id, int32_t order);
  // Removes the first entry for `game_id`, if any.
  void RemoveGameOrder(const wchar_t* game_id);
  // Sorts by ascending order (an exchange sort: equal orders may change places) and renumbers 1, 2, 3, ...
  void SortGameOrder();
  // One more than the largest order; 1 for an empty list.
  int32_t NextGameOrder() const;
  // The entries in list order.
  const TLinkedList<GAME_ORDER>& GameOrder() const { return game_order_; }

  // Makes InstallFilePath absolute in place and creates it (base/Paths.h). The path, or null on failure.
  const wchar_t* PrepareInstallFilePath();

  int32_t Minimize;   // 1: closing the main dialog minimises it
  int32_t AutoClose;  // 1: the launcher closes after starting a game
  wchar_t InstallFilePath[248];
  int32_t DeleteInstallFile;  // 1: a finished installer file is deleted
  int32_t Update;             // 0 off, 1 notify, 2 update automatically when idle (1 at most on Windows 9x)
  int32_t IdleTime;           // minutes, 1..99
  int32_t CPUUse;             // percent, 10..90
  int32_t NetworkUse;         // percent, 10..90
  int32_t Shutdown;           // 1: power off after an automatic update run
  int32_t FixSkin;            // 1: the skin stays at FixedSkinID
  wchar_t FixedSkinID[256];   // a plain name (no "\", "/", ":" or ".."), or empty
  int32_t DisableWebBrowser;  // bit 0, 1, 2: no postpage1, postpage2, advertisement view

 private:
  void SetDefaults();
  void ReadValues(const wchar_t* path, const wchar_t* section);
  void ReadGameOrder(const wchar_t* path);
  void BoundValues();
  void WriteValues(const wchar_t* path, const wchar_t* section) const;
  bool ValuesEqual(const Setting& other) const;
  GAME_ORDER* FindGameOrder(const wchar_t* game_id) const;

  Setting* saved_ = nullptr;  // owned; only the singleton and clones have one
  TLinkedList<GAME_ORDER> game_order_;
};
