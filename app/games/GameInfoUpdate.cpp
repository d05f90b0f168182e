// The update flow of a game through its engine library, and the engine's events.
#include <windows.h>

#include <cwchar>
#include <iterator>
#include <mutex>
#include <new>
#include <string>

#include "app/games/CDllLoader.h"
#include "app/games/GameHooks.h"
#include "app/games/GameInfo.h"
#include "app/session/SessionValues.h"
#include "app/texts/MessageFormat.h"
#include "app/texts/MessageTexts.h"
#include "base/TextFields.h"
#include "selfupdate/GameInfoVersion.h"

namespace {

using Guard = std::lock_guard<CriticalSection>;

const uint16_t kPatchServerPort = 27500;

// Copies at most `units` - 1 units of a text that came from another library and may lack its terminator.
void CopyBounded(wchar_t* field, size_t units, const wchar_t* text) {
  size_t length = 0;
  while (length + 1 < units && text[length] != 0)
    ++length;
  std::wmemcpy(field, text, length);
  field[length] = 0;
}

// Wide text into an 8-bit field in the system code page; false when it does not fit or a character has no
// 8-bit form.
bool NarrowToField(const wchar_t* text, char* field, size_t bytes) {
  field[0] = 0;
  if (text[0] == 0)
    return true;
  BOOL lossy = FALSE;
  int written = WideCharToMultiByte(CP_ACP, WC_NO_BEST_FIT_CHARS, text, -1, field, static_cast<int>(bytes),
                                    nullptr, &lossy);
  if (written <= 0 || lossy) {
    field[0] = 0;
    return false;
  }
  return true;
}

}  // namespace

UpdaterHandle GameInfo::CreateEngine(CDllLoader* loader) {
  if (loader == nullptr || loader->create == nullptr || game_path_ == nullptr || !IsPlainName(game_id_))
    return nullptr;
  UpdaterParams params{};
  params.reserved0 = 0;
  params.noSelfUpdate = 1;
  params.userValue = this;
  params.callback = &GameInfo::OnEngineEvent;
  // The engine uses at most 255 characters of the install root; a longer one would name another folder.
  if (std::wcslen(game_path_) > 255 || !CopyToField(params.productCode, game_id_) ||
      !CopyToField(params.programFileName, exe_name_) || !CopyToField(params.installRoot, game_path_))
    return nullptr;
  params.patchServerPort = kPatchServerPort;
  if (!NarrowToField(file_host_, params.downloadHost, sizeof(params.downloadHost)))
    return nullptr;
  params.catalogueVersion = catalogue_version_;
  std::string patch_host = UpdateHostOf(GetSessionValues().LUpdateAddr);
  if (patch_host.size() >= sizeof(params.patchServerHost))
    return nullptr;
  patch_host.copy(params.patchServerHost, patch_host.size());
  return loader->create(&params);
}

void GameInfo::StartUpdate() {
  if (GetState() != kGameNeedsUpdate)
    return;
  CDllLoader* loader = nullptr;
  UpdaterHandle handle = PrepareEngine(&loader);
  if (handle != nullptr)
    RunEngine(loader->start, handle);
}

int32_t GameInfo::StartFullCheck() {
  if (loader_type_ == 0) {
    Guard guard(lock_);
    state_ = kGameLatest;
    return 0;
  }
  CDllLoader* loader = nullptr;
  UpdaterHandle handle = PrepareEngine(&loader);
  if (handle != nullptr)
    RunEngine(loader->full_check, handle);
  return 1;
}

void GameInfo::StopUpdate() {
  UpdaterHandle handle = nullptr;
  {
    Guard guard(lock_);
    if (state_ != kGameUpdating)
      return;
    run_after_update_ = 0;
    handle = engine_handle_;
    if (handle == nullptr) {
      state_ = kGameError;
      return;
    }
  }
  CDllLoader* loader = GetDllLoader(loader_type_);
  if (loader != nullptr && loader->stop != nullptr)
    loader->stop(handle);
  int32_t state = StateAfterUpdateStops();
  Guard guard(lock_);
  state_ = state;
}

void GameInfo::ReleaseEngine() {
  UpdaterHandle handle = nullptr;
  {
    Guard guard(lock_);
    handle = engine_handle_;
    engine_handle_ = nullptr;
    engine_status_ = nullptr;
  }
  if (handle == nullptr)
    return;
  CDllLoader* loader = GetDllLoader(loader_type_);
  if (loader == nullptr)
    return;
  if (loader->stop != nullptr)
    loader->stop(handle);
  if (loader->remove != nullptr)
    loader->remove(handle);
}

void GameInfo::ShowPendingFileMessages() {
  std::vector<std::wstring> messages;
  {
    Guard guard(lock_);
    if (pending_file_messages_.empty())
      return;
    messages.swap(pending_file_messages_);
  }
  auto refused = messages.begin();
  while (refused != messages.end() && ShowGameMessage(refused->c_str()))
    ++refused;
  if (refused == messages.end())
    return;
  // The rest waits for the dialog that holds the guard to close; the user reads the files in the order the
  // engine found them.
  Guard guard(lock_);
  pending_file_messages_.insert(pending_file_messages_.begin(), std::make_move_iterator(refused),
                                std::make_move_iterator(messages.end()));
}

bool GameInfo::HasPendingFileMessages() {
  Guard guard(lock_);
  return !pending_file_messages_.empty();
}

UpdaterHandle GameInfo::PrepareEngine(CDllLoader** loader_out) {
  CDllLoader* loader = loader_type_ != 0 ? GetDllLoader(loader_type_) : nullptr;
  if (loader == nullptr || (!loader->IsLoaded() && !loader->Load(loader_type_))) {
    FailEngine(kGameErrorEngineUnavailable);
    return nullptr;
  }
  RemoveEngine(loader);
  UpdaterHandle handle = CreateEngine(loader);
  if (handle == nullptr) {
    FailEngine(kGameErrorEngineUnavailable);
    return nullptr;
  }
  // Asked once, here, without the game's lock: the events read the status through this pointer.
  const UpdateStatus* status = loader->download_info != nullptr ? loader->download_info(handle) : nullptr;
  Guard guard(lock_);
  engine_handle_ = handle;
  engine_status_ = status;
  *loader_out = loader;
  return handle;
}

void GameInfo::RunEngine(int(QV_CALL* run)(UpdaterHandle), UpdaterHandle handle) {
  if (run == nullptr) {
    FailEngine(kGameErrorEngineUnavailable);
    return;
  }
  {
    // Before the start: a completion or error that the engine reports at once must win over "updating".
    Guard guard(lock_);
    state_ = kGameUpdating;
  }
  int result = run(handle);
  if (result != UpdaterResultOk) {
    Guard guard(lock_);
    if (state_ == kGameUpdating) {
      state_ = kGameError;
      error_ = kGameErrorUnknown;
      run_after_update_ = 0;
    }
  }
  ShowPendingFileMessages();
}

void GameInfo::FailEngine(int32_t error) {
  Guard guard(lock_);
  error_ = error;
  state_ = kGameError;
  run_after_update_ = 0;
}

void GameInfo::RemoveEngine(CDllLoader* loader) {
  UpdaterHandle handle = nullptr;
  {
    Guard guard(lock_);
    handle = engine_handle_;
    engine_handle_ = nullptr;
    engine_status_ = nullptr;
  }
  if (handle != nullptr && loader->remove != nullptr)
    loader->remove(handle);
}

int QV_CALL GameInfo::OnEngineEvent(void* user, int event, const void* data) {
  if (user == nullptr)
    return 1;
  try {
    return static_cast<GameInfo*>(user)->HandleEngineEvent(event, data);
  } catch (...) {
    // Nothing may unwind into the engine's thread; an event that could not be recorded is lost.
    return 1;
  }
}

int GameInfo::HandleEngineEvent(int event, const void* data) {
  Guard guard(lock_);
  switch (event) {
    case UpdateEventCompleted:
      if (run_after_update_ != 0) {
        run_after_update_ = 0;
        Launch();
      } else {
        state_ = IsAdministratorOrOpen() ? kGameLatest : kGameBlocked;
      }
      return 0;
    case UpdateEventCurrentFile:
      if (data == nullptr)
        return 1;
      CopyBounded(current_file_, 260, static_cast<const wchar_t*>(data));
      return 0;
    case UpdateEventProgress:
      if (data == nullptr)
        return 1;
      HandleProgress(*static_cast<const UpdateProgress*>(data));
      return 0;
    case UpdateEventStatusChanged:
      if (data == nullptr)
        return 1;
      applying_ = static_cast<const UpdateStatus*>(data)->applying;
      return 0;
    case UpdateEventError:
      if (data == nullptr)
        return 1;
      error_ = EngineErrorNumber(state_, *static_cast<const int32_t*>(data));
      state_ = kGameError;
      run_after_update_ = 0;
      return 0;
    case UpdateEventFileMismatch:
      if (data == nullptr)
        return 1;
      CollectFileMismatch(*static_cast<const FileRecord*>(data));
      return 0;
    default:
      return 1;
  }
}

void GameInfo::HandleProgress(const UpdateProgress& progress) {
  const UpdateStatus* status = state_ == kGameUpdating ? engine_status_ : nullptr;
  if (progress.kind == UpdateProgressFile) {
    CopyEngineStatus(status);
    return;
  }
  switch (progress.a) {
    case UpdateProgressRunEntryCount:
      overall_fraction_ = 0.0;
      break;
    case UpdateProgressRunEntryDone:
      overall_fraction_ = status != nullptr && status->entryCount > 0
                              ? static_cast<double>(status->currentEntry) / status->entryCount
                              : 1.0;
      break;
    case UpdateProgressRunFinished:
      overall_fraction_ = 1.0;
      if (status == nullptr) {
        CopyEngineStatus(nullptr);
      } else {
        status_b_ = 0;
        file_fraction_ = status->unused0;
      }
      break;
    default:
      break;
  }
}

void GameInfo::CopyEngineStatus(const UpdateStatus* status) {
  if (status == nullptr) {
    total_bytes_ = 0;
    done_bytes_ = 0;
    status_a_ = 0;
    status_b_ = 0;
    file_fraction_ = 0.0;
    return;
  }
  total_bytes_ = status->fileTotalBytes;
  done_bytes_ = status->fileDoneBytes;
  status_a_ = status->unused1;
  status_b_ = status->unused2;
  file_fraction_ = status->unused0;
}

void GameInfo::CollectFileMismatch(const FileRecord& record) {
  wchar_t path[260];
  CopyBounded(path, 260, record.name);
  for (wchar_t* unit = path; *unit != 0; ++unit) {
    if (*unit == L'\\')
      *unit = L'/';
  }
  pending_file_messages_.push_back(FormatMessageText(GetAppMessage(L"file_changed"), path));
}
