#include "app/games/GameButtonStates.h"

#include "app/games/IGameInfo.h"

GameButtonFlags GameButtonsFor(int32_t state, bool pending, bool installed, int32_t home_page) {
  const int32_t waiting = pending ? kButtonDisabled : kButtonEnabled;
  GameButtonFlags flags{};
  switch (state) {
    case kGameError:
      flags.install = installed ? kButtonHidden : kButtonDisabled;
      flags.update = installed ? kButtonDisabled : kButtonHidden;
      flags.home_page = kButtonEnabled;
      flags.full_check = kButtonDisabled;
      break;
    case kGameNotInstalled:
      flags.install = waiting;
      flags.home_page = kButtonEnabled;
      flags.full_check = kButtonDisabled;
      break;
    case kGameInstallerDownloading:
      flags.cancel_install = waiting;
      flags.home_page = home_page;
      flags.full_check = kButtonDisabled;
      break;
    case kGameLatest:
      flags.run = kButtonEnabled;
      flags.home_page = kButtonEnabled;
      flags.full_check = kButtonEnabled;
      break;
    case kGameBlocked:
      flags.run = kButtonDisabled;
      flags.home_page = kButtonEnabled;
      flags.full_check = kButtonEnabled;
      break;
    case kGameNeedsUpdate:
      flags.update = kButtonEnabled;
      flags.home_page = kButtonEnabled;
      flags.full_check = kButtonEnabled;
      break;
    case kGameUpdating:
      flags.stop_update = waiting;
      flags.home_page = kButtonEnabled;
      flags.full_check = kButtonDisabled;
      break;
    default:
      break;
  }
  return flags;
}

GlobalButtonFlags GlobalButtonsFor(int32_t global_state, int32_t stop_lock) {
  switch (global_state) {
    case kGlobalSomethingToUpdate:
      return {kButtonEnabled, kButtonHidden};
    case kGlobalUpdatingAll:
      return {kButtonHidden, stop_lock == 0 ? kButtonEnabled : kButtonDisabled};
    default:
      return {kButtonDisabled, kButtonHidden};
  }
}
