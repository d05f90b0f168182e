#include <gtest/gtest.h>

#include "app/games/GameActions.h"
#include "app/games/GameStateMirror.h"

namespace {

TEST(GamePopupMenuRows, StateChoosesTheShownRowsAndButtonFlagsEnableThem) {
  struct Case {
    int32_t state;
    int32_t shown[4];  // install, cancel install, update, stop update
  } cases[] = {
      {1, {0, 1, 1, 0}},
      {6, {1, 0, 0, 1}},
      {3, {1, 0, 1, 0}},
      {-1, {1, 0, 1, 0}},
  };
  for (const Case& c : cases) {
    GameState mirror;
    mirror.state = c.state;
    GamePopupMenuRows rows = ComputeGamePopupMenuRows(mirror);
    for (int i = 0; i < 4; ++i)
      EXPECT_EQ(c.shown[i], rows.shown[i]) << c.state << " row " << i;
    for (int i = 4; i < 7; ++i)
      EXPECT_EQ(1, rows.shown[i]) << c.state << " row " << i;
  }
  GameState mirror;
  mirror.install_button = 1;     // shown, disabled
  mirror.run_button = 3;         // enabled
  mirror.full_check_button = 2;  // enabled, whatever bit 0 says
  mirror.home_page_button = 0;
  GamePopupMenuRows rows = ComputeGamePopupMenuRows(mirror);
  EXPECT_EQ(0, rows.enabled[0]);
  EXPECT_EQ(1, rows.enabled[4]);
  EXPECT_EQ(1, rows.enabled[5]);  // command 6 is the full check
  EXPECT_EQ(0, rows.enabled[6]);  // command 7 the home page
}

}  // namespace
