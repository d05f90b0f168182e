// GameInfo: the one implementation of IGameInfo. It binds to one raw catalogue record (its texts point into
// it), keeps the game's state word, progress and error number, owns the handle of the game's update engine,
// and starts the game.
//
// The update flow (UI thread, never holding the game's lock while it calls an engine export):
//   StartUpdate (kGameNeedsUpdate): bind the loader type's library when it is not loaded; remove the
//   previous engine; CreateEngine; take the engine's status pointer once; state := kGameUpdating under the
//   lock; start. A start that fails (result not 0) puts the game into kGameError with kGameErrorUnknown
//   unless an event already moved it. A library that cannot be bound, a missing create or start export, or an
//   engine that is not made: kGameError, kGameErrorEngineUnavailable.
//   StopUpdate (kGameUpdating): stop the engine; state := kGameNeedsUpdate or kGameLatest by the installed
//   version. The engine handle is kept until the next start or the catalogue's release.
// The engine's threads report through OnEngineEvent, which runs whole under the game's lock (lock order: the
// engine's lock, then the game's). A changed or missing file (event 18) is only collected there; the update
// operation that started the engine shows the collected paths after the start call returned, outside every
// lock, and those that another open dialog held back come up later (the periodic tick asks the main dialog). Error, stop and any failure to
// start clear the wish to run the game after the update.
//
// Hooks for the periodic tick and the installer download: lock(), SetState (with the lock held),
// RefreshInstalled, RefreshVersionInfo, ClearLaunched, ShowPendingFileMessages.
#pragma once

#include <cstdint>
#include <memory>
#include <string>
#include <vector>

#include "app/games/IGameInfo.h"
#include "app/games/RawCatalogueRecords.h"
#include "base/CriticalSection.h"
#include "engine/QVTesserel.h"

class CDllLoader;
class GameInstallerDownloader;

// The error number for engine error `code` (its low 16 bits are used) arriving while the game is in `state`:
//   kGameInstallerDownloading: 1..8 -> 1..8, anything else -> 21
//   kGameUpdating: 1..8 -> 9..16, 10 -> 17, 100 -> 18, 101 -> 19, anything else -> 21
//   any other state: 100 -> 18, 101 -> 19, anything else -> 21
int32_t EngineErrorNumber(int32_t state, int32_t code);

class GameInfo : public IGameInfo {
 public:
  GameInfo();
  // Stops and removes a remaining engine (its library must still be loaded).
  ~GameInfo() override;
  GameInfo(const GameInfo&) = delete;
  GameInfo& operator=(const GameInfo&) = delete;

  const wchar_t* GetGameID() override { return game_id_; }
  const wchar_t* GetTitle() override { return title_; }
  const wchar_t* GetPostPage1Url() override { return postpage1_url_; }
  const wchar_t* GetPostPage2Url() override { return postpage2_url_; }
  const wchar_t* GetHomeUrl() override { return home_url_; }
  const wchar_t* GetField27() override { return field27_; }
  const wchar_t* GetSkinID() override { return skin_name_; }
  const wchar_t* GetEmptyText() override { return L""; }
  // "<icon URL base>/sicon.png" ("icon.png") at the icon version through FetchIconFile (IconFile.h): the
  // local path, kept in the record, or null when the base is empty or too long or the fetch failed. Called on
  // the icon loader's thread.
  const wchar_t* FetchSmallIcon() override;
  const wchar_t* FetchIcon() override;
  int32_t GetOptionFlag1() override { return (option_bits_ >> 1) & 1; }
  int32_t GetOptionFlag0() override { return option_bits_ & 1; }
  int32_t GetOptionFlag2() override { return (option_bits_ >> 2) & 1; }
  int32_t GetOptionFlag3() override { return (option_bits_ >> 3) & 1; }
  int32_t GetState() override;
  int32_t IsStartGame() override { return installed_; }
  void GetProgress(GameProgress* progress) override;
  const wchar_t* GetGamePath() override { return game_path_; }
  // The installer download (UI thread): from kGameNotInstalled with a folder, downloads the catalogue's
  // installer into it on a thread of its own (kGameInstallerDownloading), asking first whether a partial file
  // is resumed or a complete one run. A URL that names no file sends the user to the web page; a path that
  // does not fit, or a file that cannot be opened, is error 5; a server that names no size, error 8.
  void Install(const wchar_t* folder) override;
  // From kGameInstallerDownloading: cancels the transfer (kGameNotInstalled); without a download, kGameError.
  void CancelInstall() override;
  void StartUpdate() override;
  void StopUpdate() override;
  int32_t StartFullCheck() override;
  void Run() override;
  int32_t GetError() override;
  void ClearError() override;

  // Binds to `record` (kept; texts point into it) under the lock, and sets the first state: 0 not installed;
  // 5 an engine-managed game whose installed version is below the catalogue's; 4 not open without an
  // administrator session; else 3.
  void Bind(RawGameRecord* record);
  // "CurrentVersion" of [UpdInfo] in "<GamePath>/VersionInfo_<game id>.ini"; 0 when not installed, when the
  // file or key is missing, or when the game id could name another file.
  int32_t GetInstalledVersion();
  // Runs the installation test again; an installation that appeared or vanished updates the installed flag
  // and GamePath. Returns the test's result.
  bool RefreshInstalled();
  // Copies catalogue version, open and option bits from the record again; true when the game has an engine
  // and its installed version is below the catalogue's.
  bool RefreshVersionInfo();

  // Fills UpdaterParams and asks `loader`'s create export for an engine. Null when the export is missing, the
  // engine refuses, the game has no folder or a plain game id, or a value does not fit its field (nothing is
  // cut: a cut path or host names something else).
  UpdaterHandle CreateEngine(CDllLoader* loader);
  // The UpdateCallback given to every engine; `user` is the GameInfo. 0 for a handled event, 1 for an ignored
  // one.
  static int QV_CALL OnEngineEvent(void* user, int event, const void* data);
  // Starts the game's program under the game's lock (also when called with it held): ends the calling browser
  // for a listed game, sets the environment and starts the program in the game folder. State := 3; when the
  // process was created: launched := 1 and the launcher's close request is set.
  void Launch();
  // Stops and removes the engine (UI thread, without the lock): the catalogue's release.
  void ReleaseEngine();
  // Shows the collected changed-or-missing-file messages in the order they came (UI thread, without the lock).
  // A message the presenter refuses (another guarded dialog is open) stays pending with every later one, ahead
  // of those the engine adds meanwhile, for the next call. With nothing pending it only takes the lock.
  void ShowPendingFileMessages();
  // True while messages wait to be shown (any thread; takes the lock).
  bool HasPendingFileMessages();

  // True when the game's program file exists and is open elsewhere (the game runs).
  bool IsProgramInUse();
  // True when the last installer download's file exists and is open elsewhere (the installer runs).
  bool IsInstallerInUse();

  // The periodic tick's look at an installer download (with the lock held, kGameInstallerDownloading): copies
  // its progress into the game's; a finished download sets kGameInstallerStarted and starts the installer; a
  // failed one, kGameError with error
  // 5, 7 or 8 (a cancelled one keeps the state the cancel set).
  void InstallerProgressStep();

  CriticalSection& lock() { return lock_; }
  // With the lock held.
  void SetState(int32_t state) { state_ = state; }
  int32_t loader_type() const { return loader_type_; }
  int32_t launched() const { return launched_; }
  void ClearLaunched() { launched_ = 0; }
  // The catalogue's open bit (0: blocked without an administrator session).
  int32_t open() const { return open_; }
  // The last installer download's file; empty when none.
  const wchar_t* installer_file() const { return installer_file_; }
  UpdaterHandle engine_handle();
  bool run_after_update();

 private:
  int HandleEngineEvent(int event, const void* data);
  void HandleProgress(const UpdateProgress& progress);
  void CopyEngineStatus(const UpdateStatus* status);
  void CollectFileMismatch(const FileRecord& record);
  bool IsAdministratorOrOpen() const;
  int32_t StateAfterUpdateStops();
  UpdaterHandle PrepareEngine(CDllLoader** loader);
  void RunEngine(int(QV_CALL* run)(UpdaterHandle), UpdaterHandle handle);
  void FailEngine(int32_t error);
  void RemoveEngine(CDllLoader* loader);
  void FailInstall(int32_t error);
  bool AskAboutExistingInstaller(int existing);

  // Catalogue texts (into the record; "" before Bind).
  const wchar_t* game_id_ = L"";
  const wchar_t* exe_name_ = L"";
  const wchar_t* title_ = L"";
  const wchar_t* postpage1_url_ = L"";
  const wchar_t* home_url_ = L"";
  const wchar_t* installer_url_ = L"";
  const wchar_t* field27_ = L"";
  const wchar_t* exe_relative_path_ = L"";
  const wchar_t* shortcut_args_ = L"";
  const wchar_t* server_addr_ = L"";
  const wchar_t* file_host_ = L"";
  const wchar_t* repository_sub_ = L"";
  const wchar_t* game_path_ = nullptr;  // the record's folder while installed
  int32_t installed_ = 1;
  int32_t state_ = 0;
  int32_t catalogue_version_ = 0;
  int32_t loader_type_ = 1;
  int32_t open_ = 1;
  int32_t launched_ = 0;
  const wchar_t* skin_name_ = L"";
  int32_t icon_version_ = 0;
  const wchar_t* icon_url_base_ = L"";
  wchar_t icon_path_[260] = {};
  wchar_t small_icon_path_[260] = {};
  const wchar_t* postpage2_url_ = L"";
  int32_t option_bits_ = 0;

  // Progress, written by the engine's threads under the lock.
  wchar_t current_file_[260] = {};
  int64_t total_bytes_ = 0;
  int64_t done_bytes_ = 0;
  int32_t status_a_ = 0;
  int32_t status_b_ = 0;
  double file_fraction_ = 0.0;
  double overall_fraction_ = 0.0;
  int32_t applying_ = 0;
  wchar_t installer_file_[260] = {};

  RawGameRecord* record_ = nullptr;
  int32_t run_after_update_ = 0;
  UpdaterHandle engine_handle_ = nullptr;        // owned: freed through the library's remove export
  const UpdateStatus* engine_status_ = nullptr;  // inside the engine; valid while the handle lives
  int32_t error_ = 0;
  std::vector<std::wstring> pending_file_messages_;  // event 18 paths, shown outside the lock
  // The installer download, made by Install and kept until the next Install or the game's end, which waits for
  // its thread. The thread touches nothing of the record: the tick copies its progress under the lock.
  std::unique_ptr<GameInstallerDownloader> installer_;
  // Guards state, progress, error, the engine handle and status, the run-after-update wish and the pending
  // messages against the engine's threads. Taken after an engine's own lock, never before it.
  CriticalSection lock_;
};
