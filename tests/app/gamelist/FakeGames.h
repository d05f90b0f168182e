// Game objects for the game list tests: plain records behind IGameInfo, served to the user interface through
// the game source seam (the catalogue counts only its start game as installed, so it cannot stand for many
// installed games).
#pragma once

#include <memory>
#include <string>
#include <vector>

#include "app/games/GameSource.h"
#include "app/games/IGameInfo.h"

namespace gamelist_testing {

struct FakeGame : IGameInfo {
  std::wstring id, title, post1, post2, home, skin, path;
  int32_t state = 3;
  int32_t installed = 1;
  int32_t flags[4] = {};  // GetOptionFlag0..3
  GameProgress progress = {};

  const wchar_t* GetGameID() override { return id.c_str(); }
  const wchar_t* GetTitle() override { return title.c_str(); }
  const wchar_t* GetPostPage1Url() override { return post1.c_str(); }
  const wchar_t* GetPostPage2Url() override { return post2.c_str(); }
  const wchar_t* GetHomeUrl() override { return home.c_str(); }
  const wchar_t* GetField27() override { return L""; }
  const wchar_t* GetSkinID() override { return skin.c_str(); }
  const wchar_t* GetEmptyText() override { return L""; }
  const wchar_t* FetchSmallIcon() override { return nullptr; }
  const wchar_t* FetchIcon() override { return nullptr; }
  int32_t GetOptionFlag1() override { return flags[1]; }
  int32_t GetOptionFlag0() override { return flags[0]; }
  int32_t GetOptionFlag2() override { return flags[2]; }
  int32_t GetOptionFlag3() override { return flags[3]; }
  int32_t GetState() override { return state; }
  int32_t IsStartGame() override { return installed; }
  void GetProgress(GameProgress* out) override {
    if (out != nullptr)
      *out = progress;
  }
  const wchar_t* GetGamePath() override { return path.empty() ? nullptr : path.c_str(); }
  void Install(const wchar_t*) override {}
  void CancelInstall() override {}
  void StartUpdate() override {}
  void StopUpdate() override {}
  int32_t StartFullCheck() override { return 1; }
  void Run() override {}
  int32_t GetError() override { return 0; }
  void ClearError() override {}
};

// Installs itself as the game source for its lifetime.
struct FakeGames : GameSource {
  std::vector<std::unique_ptr<FakeGame>> games;
  FakeGames() { SetGameSource(this); }
  ~FakeGames() override { SetGameSource(nullptr); }
  size_t Count() override { return games.size(); }
  IGameInfo* At(size_t index) override { return index < games.size() ? games[index].get() : nullptr; }
  FakeGame& Add(const std::wstring& id, int32_t installed, int32_t state = 3) {
    games.emplace_back(new FakeGame);
    FakeGame& game = *games.back();
    game.id = id;
    game.title = L"Game " + id;
    game.installed = installed;
    game.state = state;
    return game;
  }
  void Remove(const std::wstring& id) {
    for (size_t i = 0; i < games.size(); ++i) {
      if (games[i]->id == id) {
        games.erase(games.begin() + i);
        return;
      }
    }
  }
};

}  // namespace gamelist_testing
