// The game list's header: the update-all, stop-all and the two scroll buttons above the installed games. It
// turns their clicks into the game list's codes (11004 update all, 11005 stop all, 11000 scroll up, 11001
// scroll down) sent up its parents, and shows the tool-tips of the first two.
//
// Skin: its own control ini (BACK as every skinned panel; x and y are also kept as the header's position).
// Thread: user-interface thread only.
#pragma once

#include <cstdint>

#include "ui/skinned/SkinnedButton.h"
#include "ui/skinned/SkinnedWnd.h"

// The game list's notification codes.
enum GameListNotify : int32_t {
  kNotifyScrollUp = 11000,
  kNotifyScrollDown = 11001,
  kNotifyUpdateAll = 11004,
  kNotifyStopAll = 11005,
};

class GameListHeader_InstalledGame : public SkinnedWnd {
 public:
  enum ChildId : int32_t { kUpdateAll = 2001, kStopAll = 2002, kScrollUp = 2003, kScrollDown = 2004 };

  GameListHeader_InstalledGame() = default;
  ~GameListHeader_InstalledGame() override;

  // Creates the four buttons: update-all shown and disabled, the others hidden. 0 when any fails.
  int32_t OnCreate() override;
  int32_t OnNotify(int32_t code, intptr_t p1, intptr_t p2) override;
  void OnSkinLoaded() override;

  SkinnedButton& update_all() { return buttons_[0]; }
  SkinnedButton& stop_all() { return buttons_[1]; }
  SkinnedButton& scroll_up() { return buttons_[2]; }
  SkinnedButton& scroll_down() { return buttons_[3]; }
  int32_t position_x() const { return position_x_; }
  int32_t position_y() const { return position_y_; }

 private:
  SkinnedButton buttons_[4];
  int32_t position_x_ = 0;
  int32_t position_y_ = 0;
};
