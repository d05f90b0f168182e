// The program's own file version, painted by the main dialog: the string "FileVersion" of the language-neutral
// Unicode block of its version resource.
#pragma once

#include "ui/base/String.h"

// The "\StringFileInfo\000004b0\FileVersion" text of the version block `block`, or null.
const wchar_t* FileVersionText(const void* block);
// Reads the version resource of the program file `module_path` into `version`. 1 when it was found.
int CheckOwnFileVersion(const wchar_t* module_path, String* version);
