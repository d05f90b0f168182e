// Where this program lives: the settings file, the signed parameter file and the default download folder are
// all found beside the program file.
#pragma once

#include <cstddef>

// This program's module file name into `path` (`units` long). False when it cannot be read or was cut.
bool GetProgramPath(wchar_t* path, size_t units);

// The launcher's own folder: the one that start-up made the current folder (SetExeFolder), or until then the
// folder of this program's module; "" when neither is known. Games installed beside the launcher live here.
const wchar_t* GetExeFolder();
// Sets the launcher's own folder (copied); null, empty or 260 characters or more return to the module's
// folder. Start-up sets it once; tests point it at a temporary folder.
void SetExeFolder(const wchar_t* folder);
