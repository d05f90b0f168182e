#include "app/games/CIEKillerForGame.h"

#include <windows.h>

#include <cwchar>

#include "base/ScopedHandle.h"
#include "ui/base/IniFile.h"
#include "ui/base/IniStringContainer.h"

CIEKillerForGame::CIEKillerForGame() = default;

CIEKillerForGame::~CIEKillerForGame() = default;

CIEKillerForGame& CIEKillerForGame::GetInstance() {
  static CIEKillerForGame instance;
  return instance;
}

int CIEKillerForGame::Load() {
  return LoadFrom(L"KILL.ini");
}

int CIEKillerForGame::LoadFrom(const wchar_t* path) {
  Clear();
  list_.reset(LoadIniFile(path));
  if (list_ == nullptr)
    return 0;
  int32_t count = list_->GetInt(L"KILL_IE_GAME_ID", L"count", 0);
  if (count < 1) {
    Clear();
    return 0;
  }
  // The count comes from the file: the list grows entry by entry and ends at the first missing one.
  for (int32_t index = 0; index < count; ++index) {
    wchar_t section[40];
    std::swprintf(section, 40, L"KILL_IE_GAME_ID_%d", index);
    const wchar_t* game_id = list_->GetString(section, L"game_id", nullptr);
    if (game_id == nullptr) {
      Clear();
      return 0;
    }
    game_ids_.push_back(game_id);
  }
  return 1;
}

bool CIEKillerForGame::Contains(const wchar_t* game_id) const {
  if (game_id == nullptr)
    return false;
  for (const wchar_t* listed : game_ids_) {
    if (std::wcscmp(listed, game_id) == 0)
      return true;
  }
  return false;
}

void CIEKillerForGame::EndCallingBrowser(const wchar_t* game_id, uintptr_t browser_window) const {
  if (!Contains(game_id) || browser_window == 0)
    return;
  DWORD process_id = 0;
  GetWindowThreadProcessId(reinterpret_cast<HWND>(browser_window), &process_id);
  if (process_id == 0 || process_id == GetCurrentProcessId())
    return;
  UniqueHandle process(OpenProcess(PROCESS_TERMINATE, FALSE, process_id));
  if (process)
    TerminateProcess(process.get(), 0xFFFFFFFF);
}

void CIEKillerForGame::Clear() {
  game_ids_.clear();
  list_.reset();
}
