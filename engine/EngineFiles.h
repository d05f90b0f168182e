// File and folder helpers of the engine, on wide paths of at most 259 characters (longer paths are refused).
// They keep no state and may be called from any thread. Results are the engine's small codes: 0 success, 1
// failure, unless a function says otherwise.
#pragma once

#include <cstddef>
#include <initializer_list>

#include "net/UniqueHandle.h"

namespace engine_files {

// 0 when a file or folder of that name exists (the first match of a directory search on the path), 1 when
// not, or when the path is null or empty.
int PathExists(const wchar_t* path);

// Makes `folder` with every missing parent, from the outside in. 0 when made or already a folder; 1 when it
// fails, when a file of that name is in the way, or for a null or empty path.
int MakeFolderChain(const wchar_t* folder);

// Moves every file below `source` into the same place below `destination` (folders are made as needed; a file
// already there is replaced, read-only or not), then deletes the source tree. 0 moved; 1 failed (the walk
// stops at the first failure, leaving what was already moved).
int MoveTree(const wchar_t* source, const wchar_t* destination);

// Deletes a folder with everything in it, read-only files included. 0 deleted; 1 failed.
int DeleteTree(const wchar_t* folder);

// Creates a new, empty file for writing (replacing an existing one, no sharing), making its missing folders.
// An empty owner when it fails.
UniqueHandle CreateFileWithParents(const wchar_t* path);

// Clears read-only, hidden and system, then deletes the file. 0 deleted; 1 failed (null or empty path: 1).
int ForceDeleteFile(const wchar_t* path);

// Concatenates `parts` (null counts as empty) into `out` of `capacity` characters, terminated. False, with
// `out` empty, when the result does not fit.
bool ConcatTexts(wchar_t* out, size_t capacity, std::initializer_list<const wchar_t*> parts);

// Joins two parts with one backslash ("%s\\%s") into `out` (MAX_PATH characters). False when it does not fit.
bool JoinPath(wchar_t (&out)[MAX_PATH], const wchar_t* first, const wchar_t* second);

}  // namespace engine_files
