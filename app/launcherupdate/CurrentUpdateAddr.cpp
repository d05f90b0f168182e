#include "app/launcherupdate/CurrentUpdateAddr.h"

#include <cwchar>

#include "selfupdate/LauncherInfo.h"

namespace {

wchar_t g_current_update_addr[kLauncherInfoTextUnits];

}  // namespace

const wchar_t* CurrentUpdateAddr() {
  return g_current_update_addr;
}

void SetCurrentUpdateAddr(const wchar_t* address) {
  g_current_update_addr[0] = 0;
  if (address == nullptr)
    return;
  const size_t length = std::wcslen(address);
  if (length < kLauncherInfoTextUnits)
    std::wmemcpy(g_current_update_addr, address, length + 1);
}
