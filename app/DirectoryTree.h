// Making a folder and every missing folder above it (the download folder of game installers).
#pragma once

// Creates `path` (at most 247 characters; one trailing backslash is ignored) level by level. True when it
// exists as a folder afterwards, also when it existed before. False when a level cannot be created, when an
// existing file stands where a folder should be, or when the path is too long (it is not cut: a cut path
// would name another folder).
bool CreateDirectoryTree(const wchar_t* path);

// Removes the file at `path`, also when it is read-only, hidden or a system file (its attributes are reset to
// archive-only first). 1 when it was deleted or `path` is empty; 0 on failure (a missing file included).
int DeleteFileForce(const wchar_t* path);
