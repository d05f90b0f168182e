// The start game applied to the user interface: the named game's skin becomes the current one unless the skin
// is fixed, an unknown game goes back to the portal's own skin, and a pending skin change is broadcast.
#include <gtest/gtest.h>

#include "app/games/GameActions.h"
#include "app/games/GameStateMirror.h"
#include "app/session/HandOver.h"
#include "app/session/SessionValues.h"
#include "app/settings/Setting.h"
#include "app/windows/orvaneLauncherDlg.h"
#include "base/TextFields.h"
#include "tests/app/startup/TickTestSupport.h"
#include "tests/support/TempFolder.h"
#include "ui/skin/SkinLoader.h"

namespace {

TEST(ApplyStartGame, TheStartGamesSkinUnlessTheSkinIsFixed) {
  testing_support::TempFolder folder(L"startgame");
  std::wstring program = folder.Join(L"launcher.exe");
  SettingSources sources;
  sources.registry_root = HKEY_CURRENT_USER;
  sources.registry_path = L"Software\\OrvaneStartGameTest";
  sources.program_path = program.c_str();
  SetSettingSources(sources);
  Setting* setting = Setting::GetInstance();
  tick_testing::FakeGames games;
  games.Add(L"g1", kGameLatest).skin = L"winter";
  SetGameSource(&games);

  struct Case {
    const wchar_t* start_game;
    int32_t fixed;
    const wchar_t* skin_before;
    const wchar_t* skin_after;
  } cases[] = {
      {L"g1", 0, L"", L"winter"},
      {L"unknown", 0, L"summer", L""},
      {L"g1", 1, L"summer", L"summer"},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.start_game);
    GetSessionValues() = SessionValues{};
    CopyToField(GetSessionValues().StartGameID, c.start_game);
    PrepareHandOverRecord();
    setting->FixSkin = c.fixed;
    SetCurrentSkin(c.skin_before);
    TakeSkinChange();
    ApplyStartGame();
    EXPECT_STREQ(c.skin_after, GetCurrentSkin());
    // The change, if any, was broadcast already.
    EXPECT_FALSE(TakeSkinChange());
  }
  SetCurrentSkin(nullptr);
  TakeSkinChange();
  SetGameSource(nullptr);
  GetSessionValues() = SessionValues{};
  Setting::ReleaseInstance();
  ResetSettingSources();
}

// The start game's mirror exists before the game is shown (start-up builds the mirrors first; a hand-over may
// name a known game): showing it must show its action buttons at once, not only at its next state change.
TEST(ApplyStartGame, ShowsTheStartGamesActionButtonsFromItsMirror) {
  tick_testing::FakeGames games;
  games.Add(L"g2", kGameNeedsUpdate);
  SetGameSource(&games);
  GameState* mirror = FindGameState(L"g2");
  if (mirror == nullptr)
    mirror = AddGameState();
  ASSERT_NE(nullptr, mirror);
  mirror->game_id.Assign(L"g2");
  mirror->state = kGameNeedsUpdate;
  mirror->installed = 1;
  tick_testing::RecordingActionView view;
  view.selected = L"g2";  // the launcher window shows the game it was asked to select
  SetGameActionView(&view);
  GetSessionValues() = SessionValues{};
  CopyToField(GetSessionValues().StartGameID, L"g2");
  PrepareHandOverRecord();
  ApplyStartGame();
  SetGameActionView(nullptr);
  SetGameSource(nullptr);
  GetSessionValues() = SessionValues{};
  SetCurrentSkin(nullptr);
  TakeSkinChange();
  ASSERT_EQ(1u, view.buttons.count(3)) << "no update button state was shown";
  EXPECT_NE(0, view.buttons[3] & 1) << "the update button is hidden";
  EXPECT_NE(0, view.buttons[3] & 2) << "the update button is disabled";
}

}  // namespace
