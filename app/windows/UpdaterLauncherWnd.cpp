#include "app/windows/UpdaterLauncherWnd.h"

void UpdaterLauncherWnd::SelectGame(const wchar_t* /*id*/, int32_t /*force*/) {}

void UpdaterLauncherWnd::RefreshGame(const wchar_t* /*id*/) {}

void UpdaterLauncherWnd::SetActionButton(const wchar_t* /*id*/, int32_t /*kind*/, int32_t /*flags*/) {}

void UpdaterLauncherWnd::UpdateProgress() {}

void UpdaterLauncherWnd::ShowBanner(int32_t /*show*/) {}

void UpdaterLauncherWnd::SetUserNick(const wchar_t* /*nick*/) {}

void UpdaterLauncherWnd::SetSearchHint(const wchar_t* /*hint*/) {}

void UpdaterLauncherWnd::ShowHomePage() {}
