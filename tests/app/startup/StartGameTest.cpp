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

TEST(ApplyStartGame, ShowsTheButtonsOfAStartGameWhoseMirrorCameFirst) {
  // The game list is made, and the start game's mirror with it, before the launcher window shows the game:
  // its buttons must not wait for the game's next change of state.
  testing_support::TempFolder folder(L"startgame");
  std::wstring program = folder.Join(L"launcher.exe");
  SettingSources sources;
  sources.registry_root = HKEY_CURRENT_USER;
  sources.registry_path = L"Software\\OrvaneStartGameTest";
  sources.program_path = program.c_str();
  SetSettingSources(sources);
  Setting::GetInstance()->FixSkin = 1;
  tick_testing::FakeGames games;
  games.Add(L"g1", kGameNeedsUpdate);
  SetGameSource(&games);
  GameState* mirror = AddGameState();
  ASSERT_NE(nullptr, mirror);
  mirror->game_id.Assign(L"g1");
  mirror->state = kGameNeedsUpdate;
  mirror->installed = 1;
  tick_testing::RecordingActionView view;
  view.selected = L"g1";  // what the launcher window shows once the start game is applied
  SetGameActionView(&view);
  GetSessionValues() = SessionValues{};
  CopyToField(GetSessionValues().StartGameID, L"g1");
  PrepareHandOverRecord();

  ApplyStartGame();
  EXPECT_EQ(kButtonEnabled, view.buttons[kUpdateButton]);
  EXPECT_EQ(kButtonHidden, view.buttons[kRunButton]);

  SetGameActionView(nullptr);
  GameStateList().RemoveAll();
  SetGameSource(nullptr);
  GetSessionValues() = SessionValues{};
  Setting::ReleaseInstance();
  ResetSettingSources();
}

}  // namespace
