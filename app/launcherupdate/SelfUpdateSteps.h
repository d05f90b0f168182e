// The self-update steps that start-up calls, each with its result. Start-up owns their order:
//   real folder:     RemoveUpdateTemp; DownloadLauncherInfo; when IsLauncherVersionChanged:
//                    CopyLauncherToUpdateTemp, StartLauncherInUpdateTemp (this process ends)
//   temporary copy:  (IsRunningFromUpdateTemp) RunSelfUpdaterDialog; on 0 RestartLauncherFromParent
//
// The temporary copy lives in "launcher_update_temp" inside the program folder and holds the program, and,
// when present, "unicows.dll", "updater.pak", "LauncherMessage.ini" and the self-update dialog's skin
// ("updater\updater_res" and "updater\updater_res.pak", which the copy reads relative to its own folder).
//
// Thread: the user-interface thread. Each step without arguments works on this program's own path; the
// variants taking a folder or a path are the same step for tests.
#pragma once

#include <cstddef>
#include <cstdint>
#include <string>

constexpr wchar_t kUpdateTempFolderName[] = L"launcher_update_temp";
// The worker's own folders inside the temporary folder: the unpacked package, and the replaced files kept
// until the new version is recorded.
constexpr wchar_t kUpdateStagingFolderName[] = L"staging";
constexpr wchar_t kUpdateBackupFolderName[] = L"replaced";

// 1 when the folder that holds the running program is named "launcher_update_temp" (any case), else 0.
int IsRunningFromUpdateTemp();
int IsUpdateTempProgramPath(const wchar_t* program_path);

// The real launcher folder of the program at `program_path`: the program's own folder, or its parent when the
// program runs as the temporary copy. The copy reads what only the real folder holds from there (the signed
// parameter file that its command line selects). "" when the path has no folder.
std::wstring RealLauncherFolderOf(const wchar_t* program_path);

// Fetches the launcher information file (catalogue kind GGI for the game id and company id, from the update
// address) and sets the announced launcher version (SetGameVersion). 1 when set; 0 when there is no address
// or game id, nothing was fetched or the lines are malformed (the version is then unchanged).
int DownloadLauncherInfo();
// The URL of that file in the current catalogue folder (selfupdate/GameInfoVersion.h), for a download of its
// own (the self-update worker's); "" when there is no address, game id or folder number.
std::wstring LauncherInfoUrl();
// The version in a launcher information text: line 1 must not begin with '0'; line 2 holds '#', and the
// decimal text after it (up to a ',') is the version (no digits: 0). False when the lines do not say so.
bool ParseLauncherInfoText(char* text, size_t size, int32_t* version);

// Makes the temporary folder and copies the program, "unicows.dll", "updater.pak", "LauncherMessage.ini" and
// the self-update dialog's skin into it. 1 when the folder exists and the program and "unicows.dll" were
// copied (the others may be missing); else 0.
int CopyLauncherToUpdateTemp();
int CopyLauncherToUpdateTempFrom(const wchar_t* program_folder, const wchar_t* program_name);

// The program of the same name in the temporary folder of `program_path`'s folder / in the parent of its
// folder; "" when the path has no folder (or the copy's path would not fit MAX_PATH).
std::wstring UpdateTempProgramOf(const wchar_t* program_path);
std::wstring ParentProgramOf(const wchar_t* program_path);

// Start the program of the same name in the temporary folder / in the parent of this program's folder, with
// this process's whole command line (ProcessReplacement.h). Do not come back when it started; 0 when not.
int StartLauncherInUpdateTemp();
int StartLauncherInUpdateTempFrom(const wchar_t* program_path, const wchar_t* command_line);
int RestartLauncherFromParent();
int RestartLauncherFromParentOf(const wchar_t* program_path, const wchar_t* command_line);

// Deletes the four files, the dialog's skin, the worker's leftovers of an interrupted update (package, staging and replaced
// folders) and the temporary folder itself. Nonzero when the folder was removed.
int RemoveUpdateTemp();
int RemoveUpdateTempIn(const wchar_t* program_folder);

// Removes `folder` and everything below it (read-only files included). True when it is gone (or never was).
bool RemoveFolderTree(const wchar_t* folder);
