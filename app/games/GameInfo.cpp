// The game record: binding, versions, progress, errors and the game start. The update flow through the engine
// libraries is in GameInfoUpdate.cpp.
#include "app/games/GameInfo.h"

#include <windows.h>

#include <mutex>
#include <string>
#include <vector>

#include "app/games/CIEKillerForGame.h"
#include "app/games/GameCatalogue.h"
#include "app/games/GameHooks.h"
#include "app/games/GameInstallerDownloader.h"
#include "app/games/GameStart.h"
#include "app/session/GameArgs.h"
#include "app/session/SessionValues.h"
#include "base/TextFields.h"

namespace {

using Guard = std::lock_guard<CriticalSection>;

bool AdministratorSession() {
  return GetSessionValues().AdminMode[0] != 0;
}

}  // namespace

int32_t EngineErrorNumber(int32_t state, int32_t code) {
  code &= 0xFFFF;
  if (state == kGameInstallerDownloading)
    return code >= 1 && code <= 8 ? code : kGameErrorUnknown;
  if (state == kGameUpdating) {
    if (code >= 1 && code <= 8)
      return code + 8;
    if (code == 10)
      return kGameErrorApply;
  }
  if (code == 100)
    return kGameErrorEngine100;
  if (code == 101)
    return kGameErrorEngine101;
  return kGameErrorUnknown;
}

GameInfo::GameInfo() = default;

GameInfo::~GameInfo() {
  ReleaseEngine();
}

int32_t GameInfo::GetState() {
  Guard guard(lock_);
  return state_;
}

void GameInfo::GetProgress(GameProgress* progress) {
  if (progress == nullptr)
    return;
  Guard guard(lock_);
  CopyToField(progress->current_file, current_file_);
  progress->total_bytes = total_bytes_;
  progress->done_bytes = done_bytes_;
  progress->status_a = status_a_;
  progress->status_b = status_b_;
  progress->file_fraction = static_cast<int64_t>(file_fraction_);
  progress->overall_fraction = overall_fraction_;
  progress->applying = applying_;
}

int32_t GameInfo::GetError() {
  Guard guard(lock_);
  return state_ == kGameError ? error_ : 0;
}

void GameInfo::ClearError() {
  Guard guard(lock_);
  if (error_ >= 1 && error_ <= 8)
    state_ = kGameNotInstalled;
  else if ((error_ >= kGameErrorUpdateFirst && error_ <= kGameErrorApply) || error_ == kGameErrorEngine101)
    state_ = StateAfterUpdateStops();
  error_ = kGameErrorNone;
}

void GameInfo::Bind(RawGameRecord* record) {
  Guard guard(lock_);
  record_ = record;
  game_id_ = record->game_id;
  exe_name_ = record->exe_name;
  title_ = record->title;
  postpage1_url_ = record->postpage1_url;
  home_url_ = record->home_url;
  installer_url_ = record->installer_url;
  field27_ = record->field27;
  exe_relative_path_ = record->exe_relative_path;
  shortcut_args_ = record->shortcut_args;
  server_addr_ = record->server_addr;
  file_host_ = record->file_host;
  repository_sub_ = record->repository_sub;
  skin_name_ = record->skin_name;
  icon_url_base_ = record->icon_url_base;
  postpage2_url_ = record->postpage2_url;
  installed_ = record->installed;
  game_path_ = installed_ != 0 ? record->game_folder : nullptr;
  catalogue_version_ = record->catalogue_version;
  loader_type_ = record->loader_type;
  open_ = record->open;
  icon_version_ = record->icon_version;
  option_bits_ = record->option_bits;

  if (installed_ == 0)
    state_ = kGameNotInstalled;
  else if (loader_type_ != 0 && GetInstalledVersion() < catalogue_version_)
    state_ = kGameNeedsUpdate;
  else if (!IsAdministratorOrOpen())
    state_ = kGameBlocked;
  else
    state_ = kGameLatest;
}

int32_t GameInfo::GetInstalledVersion() {
  if (installed_ == 0 || game_path_ == nullptr || !IsPlainName(game_id_))
    return 0;
  std::wstring path = std::wstring(game_path_) + L"/VersionInfo_" + game_id_ + L".ini";
  if (path.size() >= MAX_PATH)
    return 0;
  return static_cast<int32_t>(GetPrivateProfileIntW(L"UpdInfo", L"CurrentVersion", 0, path.c_str()));
}

bool GameInfo::RefreshInstalled() {
  if (record_ == nullptr)
    return false;
  bool found = ::IsStartGame(game_id_, record_->game_folder);
  Guard guard(lock_);
  if (installed_ != 0 && !found) {
    installed_ = 0;
    game_path_ = nullptr;
  } else if (installed_ == 0 && found) {
    installed_ = 1;
    game_path_ = record_->game_folder;
  }
  return found;
}

bool GameInfo::RefreshVersionInfo() {
  if (record_ == nullptr)
    return false;
  catalogue_version_ = record_->catalogue_version;
  open_ = record_->open;
  option_bits_ = record_->option_bits;
  return loader_type_ != 0 && GetInstalledVersion() < catalogue_version_;
}

bool GameInfo::IsAdministratorOrOpen() const {
  return open_ != 0 || AdministratorSession();
}

int32_t GameInfo::StateAfterUpdateStops() {
  return GetInstalledVersion() < catalogue_version_ ? kGameNeedsUpdate : kGameLatest;
}

void GameInfo::Run() {
  {
    Guard guard(lock_);
    if (state_ != kGameLatest)
      return;
    if (loader_type_ == 0) {
      Launch();
      return;
    }
    run_after_update_ = 1;
    state_ = kGameNeedsUpdate;
  }
  StartUpdate();
}

bool GameInfo::IsProgramInUse() {
  Guard guard(lock_);
  GameStartValues values{loader_type_,   game_path_,   exe_name_, exe_relative_path_,
                         shortcut_args_, server_addr_, game_id_,  repository_sub_};
  wchar_t program[MAX_PATH];
  return GameProgramPath(values, program, MAX_PATH) && IsFileInUse(program);
}

void GameInfo::Launch() {
  Guard guard(lock_);
  CIEKillerForGame::GetInstance().EndCallingBrowser(game_id_, SessionWindowHandle(GetSessionValues().Handle));
  SetEnvironmentVariableW(L"ServerAddr", server_addr_);
  SetEnvironmentVariableW(L"ShortcutArgs", shortcut_args_);
  SetEnvironmentVariableW(L"StartGameID", game_id_);
  SetEnvironmentVariableW(L"RepositorySub", repository_sub_);
  SetEnvironmentVariableW(L"GamePath", game_path_);
  state_ = kGameLatest;

  GameStartValues values{loader_type_,   game_path_,   exe_name_, exe_relative_path_,
                         shortcut_args_, server_addr_, game_id_,  repository_sub_};
  wchar_t program[MAX_PATH];
  if (!GameProgramPath(values, program, MAX_PATH))
    return;
  std::wstring line = GameCommandLine(values, program, GetGameArgsTail());
  std::vector<wchar_t> command_line(line.begin(), line.end());
  command_line.push_back(0);
  STARTUPINFOW startup{};
  startup.cb = sizeof(startup);
  PROCESS_INFORMATION process{};
  if (!CreateProcessW(nullptr, command_line.data(), nullptr, nullptr, FALSE, CREATE_DEFAULT_ERROR_MODE,
                      nullptr, game_path_, &startup, &process))
    return;
  CloseHandle(process.hThread);
  CloseHandle(process.hProcess);
  launched_ = 1;
  RequestLauncherClose();
}

UpdaterHandle GameInfo::engine_handle() {
  Guard guard(lock_);
  return engine_handle_;
}

bool GameInfo::run_after_update() {
  Guard guard(lock_);
  return run_after_update_ != 0;
}
