// The launcher's own update and the update-server selection, as start-up and shutdown call them. Until they
// are part of this program, the stand-ins below keep the launcher on its current version: it is never the
// temporary copy, the launcher information is taken as is, and a missing update address ends start-up with
// "cannot load resource" as a failed selection dialog would.
//
// Thread: user-interface thread.
#pragma once

int IsRunningFromUpdateTemp();
// Reads [LAUNCHER_INFO] "update_addr" of `launcher_info_path` into `destination` (64 units); 1 when not empty.
int LoadUpdateAddrFromLauncherInfo(const wchar_t* launcher_info_path, wchar_t* destination);
int SelectUpdateServer();
int RunSelfUpdaterDialog();
int RestartLauncherFromParent();
void RemoveUpdateTemp();
int DownloadLauncherInfo();
int IsLauncherVersionChanged();
int CopyLauncherToUpdateTemp();
int StartLauncherInUpdateTemp();
