#include "app/games/GameIcon.h"

#include <objbase.h>
#include <urlmon.h>
#include <windows.h>

#include <cwchar>
#include <mutex>
#include <string>

#include "app/games/GameCatalogue.h"
#include "app/games/IGameInfo.h"
#include "base/CriticalSection.h"
#include "base/ScopedHandle.h"

namespace {

enum RunState : LONG {
  kStopped = 0,
  kRunning = 1,
  kStopRequested = 2,
};

// Guards g_icons, every GameIcon in it and g_run_state. Taken after no other lock.
CriticalSection& StoreLock() {
  static CriticalSection lock;
  return lock;
}
GameIconList* g_icons = nullptr;  // null while the loader does not run
volatile LONG g_run_state = kStopped;
UniqueHandle g_loader_thread;  // UI thread only
// Set when an icon is queued or a stop is asked: the idle loader sleeps on it instead of polling, which cost
// about 2 % of a processor under Wine.
UniqueHandle g_work_event;  // created and closed on the UI thread while the loader does not run

IGameInfo* CatalogueLookup(const wchar_t* game_id) {
  return FindCatalogueGameInfo(game_id);
}
IconGameLookup g_lookup = &CatalogueLookup;

// The first icon with a queued status, or null; with the lock held.
GameIcon* FirstQueued() {
  if (g_icons == nullptr)
    return nullptr;
  for (GameIconList::Node* node = g_icons->head(); node != nullptr; node = node->next) {
    GameIcon* icon = node->item;
    if (icon != nullptr && (icon->small_status == kIconQueued || icon->large_status == kIconQueued))
      return icon;
  }
  return nullptr;
}

// Fetches one of the icons when it is queued. False when a stop was asked meanwhile.
bool FetchOne(IGameInfo* game, GameIcon* icon, bool large) {
  int32_t& status = large ? icon->large_status : icon->small_status;
  {
    std::lock_guard<CriticalSection> hold(StoreLock());
    if (status != kIconQueued)
      return g_run_state != kStopRequested;
    status = kIconLoading;
  }
  const wchar_t* path = large ? game->FetchIcon() : game->FetchSmallIcon();
  std::lock_guard<CriticalSection> hold(StoreLock());
  if (path != nullptr && (large ? icon->large_path : icon->small_path).Assign(path) != 0)
    status = kIconReady;
  else
    status = kIconFailed;
  return g_run_state != kStopRequested;
}

// The loader: fetches queued icons one game at a time until a stop is asked.
DWORD WINAPI IconLoaderThread(void*) {
  HRESULT com = CoInitializeEx(nullptr, COINIT_APARTMENTTHREADED);
  for (;;) {
    GameIcon* icon = nullptr;
    LONG run_state;
    {
      std::lock_guard<CriticalSection> hold(StoreLock());
      icon = FirstQueued();
      run_state = g_run_state;
      if (run_state == kStopRequested) {
        g_run_state = kStopped;
        break;
      }
    }
    if (icon == nullptr) {
      WaitForSingleObject(g_work_event.get(), INFINITE);
      continue;
    }
    // The id never changes once the icon is in the list, and the list outlives this thread.
    IGameInfo* game = g_lookup(icon->game_id.GetString());
    if (game == nullptr) {
      std::lock_guard<CriticalSection> hold(StoreLock());
      icon->small_status = kIconFailed;
      icon->large_status = kIconFailed;
      continue;
    }
    if (FetchOne(game, icon, false))
      FetchOne(game, icon, true);
  }
  if (SUCCEEDED(com))
    CoUninitialize();
  return 0;
}

// The binding of the download in progress, held (one reference) so a stop on the UI thread can abort it.
// Guarded by BindingLock, which is taken alone.
CriticalSection& BindingLock() {
  static CriticalSection lock;
  return lock;
}
IBinding* g_binding = nullptr;

void AbortIconDownload() {
  std::lock_guard<CriticalSection> hold(BindingLock());
  if (g_binding != nullptr)
    g_binding->Abort();
}

}  // namespace

int StartIconLoader() {
  if (g_icons != nullptr)
    return 0;
  GameIconList* icons = new (std::nothrow) GameIconList();
  if (icons == nullptr)
    return 0;
  g_work_event.reset(CreateEventW(nullptr, FALSE, FALSE, nullptr));
  if (!g_work_event) {
    delete icons;
    return 0;
  }
  {
    std::lock_guard<CriticalSection> hold(StoreLock());
    g_icons = icons;
    g_run_state = kRunning;
  }
  g_loader_thread.reset(CreateThread(nullptr, 0, &IconLoaderThread, nullptr, 0, nullptr));
  if (!g_loader_thread) {
    std::lock_guard<CriticalSection> hold(StoreLock());
    g_icons = nullptr;
    g_run_state = kStopped;
    delete icons;
    g_work_event.reset();
    return 0;
  }
  return 1;
}

void StopIconLoader() {
  if (g_icons == nullptr)
    return;
  {
    std::lock_guard<CriticalSection> hold(StoreLock());
    if (g_run_state != kStopped)
      g_run_state = kStopRequested;
  }
  // A binding that starts just after the first abort is aborted by its own callback or by a later round.
  for (unsigned round = 0;; ++round) {
    if (round % 50 == 0) {
      AbortIconDownload();
      SetEvent(g_work_event.get());
    }
    {
      std::lock_guard<CriticalSection> hold(StoreLock());
      if (g_run_state == kStopped)
        break;
    }
    Sleep(1);
  }
  WaitForSingleObject(g_loader_thread.get(), INFINITE);
  g_loader_thread.reset();
  g_work_event.reset();
  GameIconList* icons;
  {
    std::lock_guard<CriticalSection> hold(StoreLock());
    icons = g_icons;
    g_icons = nullptr;
  }
  delete icons;
}

int32_t FindGameIcon(const wchar_t* game_id, int32_t which, wchar_t* path) {
  if (game_id == nullptr || which < 0 || which > 1)
    return kIconFailed;
  std::lock_guard<CriticalSection> hold(StoreLock());
  if (g_icons == nullptr)
    return kIconFailed;
  GameIcon* icon = nullptr;
  for (GameIconList::Node* node = g_icons->head(); node != nullptr && icon == nullptr; node = node->next) {
    if (node->item != nullptr && String::EqualsUpTo(node->item->game_id.GetString(), game_id, -1))
      icon = node->item;
  }
  if (icon == nullptr) {
    GameIconList::Node* node = g_icons->AddNew();
    if (node == nullptr || node->item == nullptr || node->item->game_id.Assign(game_id) == 0) {
      g_icons->Remove(node);
      return kIconFailed;
    }
    icon = node->item;
    SetEvent(g_work_event.get());
  }
  int32_t status = which == 0 ? icon->small_status : icon->large_status;
  if (status == kIconReady && path != nullptr) {
    const String& source = which == 0 ? icon->small_path : icon->large_path;
    wcsncpy(path, source.GetString(), 259);
    path[259] = 0;
  }
  return status;
}

bool IconDownloadStopRequested() {
  return InterlockedCompareExchange(&g_run_state, 0, 0) == kStopRequested;
}

void RegisterIconDownload(IBinding* binding) {
  std::lock_guard<CriticalSection> hold(BindingLock());
  if (binding != nullptr)
    binding->AddRef();
  if (g_binding != nullptr)
    g_binding->Release();
  g_binding = binding;
}

void SetIconGameLookup(IconGameLookup lookup) {
  g_lookup = lookup != nullptr ? lookup : &CatalogueLookup;
}
