// File and folder helpers of the engine, on wide paths of at most 259 characters (longer paths are refused).
// They keep no state and may be called from any thread. Results are FileResult unless a function says
// otherwise.
#pragma once

#include <cstddef>
#include <initializer_list>

#include "base/Paths.h"
#include "base/ScopedHandle.h"

namespace engine_files {

// The result of every helper here that can fail.
enum FileResult {
  kFileDone = 0,
  kFileFailed = 1,
};

// Whether a path names a file or folder.
enum PathState {
  kPathFound = 0,
  kPathMissing = 1,
};

// kPathFound when a file or folder of that name exists (the first match of a directory search on the path),
// kPathMissing when not, or when the path is null or empty.
PathState PathExists(const wchar_t* path);

// Makes `folder` with every missing parent, from the outside in. kFileDone when made or already a folder;
// kFileFailed when it fails, when a file of that name is in the way, or for a null or empty path.
FileResult MakeFolderChain(const wchar_t* folder);

// Moves every file below `source` into the same place below `destination` (folders are made as needed; a file
// already there is replaced, read-only or not), then deletes the source tree. kFileDone moved; kFileFailed
// failed (the walk stops at the first failure, leaving what was already moved).
FileResult MoveTree(const wchar_t* source, const wchar_t* destination);

// Deletes a folder with everything in it, read-only files included. kFileDone deleted; kFileFailed failed.
FileResult DeleteTree(const wchar_t* folder);

// Creates a new, empty file for writing (replacing an existing one, no sharing), making its missing folders.
// An empty owner when it fails.
UniqueHandle CreateFileWithParents(const wchar_t* path);

// Clears read-only, hidden and system, then deletes the file. kFileDone deleted; kFileFailed failed (also for
// a null or empty path).
FileResult ForceDeleteFile(const wchar_t* path);

// Concatenates `parts` (null counts as empty) into `out` of `capacity` characters, terminated. False, with
// `out` empty, when the result does not fit.
bool ConcatTexts(wchar_t* out, size_t capacity, std::initializer_list<const wchar_t*> parts);

// The name a file is written under before it replaces `path`: the same path with its extension (the text
// after the last dot of its last part) turned into "tmp", so it is no longer than `path`. False (and `out`
// empty) when `path` has no extension, already ends in ".tmp", or is longer than MAX_PATH - 1.
bool BesideTempName(wchar_t (&out)[MAX_PATH], const wchar_t* path);

// Writes `size` bytes into a new file at `path` (replacing one left there) with `attributes`, flushes it to
// the disk and closes it. kFileDone written; kFileFailed failed (a file left behind may be partial).
FileResult WriteWholeFile(const wchar_t* path, const void* bytes, size_t size, DWORD attributes);

// Renames the complete file `source` over `target` (a read-only target is replaced too), writing the change
// through to the disk. kFileDone moved; kFileFailed failed (both files as they were).
FileResult MoveOver(const wchar_t* source, const wchar_t* target);

// Replaces the contents of `path` as one step: the bytes are written into its BesideTempName, flushed, and
// that file is renamed over `path`. Whatever happens in between, `path` holds either its old or its new
// contents, never a part of them. kFileDone replaced; kFileFailed failed (`path` unchanged).
FileResult ReplaceFileContents(const wchar_t* path, const void* bytes, size_t size, DWORD attributes);

// Joins two parts with one backslash into `out` (base/Paths.h).
using base::JoinPath;

}  // namespace engine_files
