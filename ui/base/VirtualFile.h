// Read-only virtual files: every skin image, skin description, message table and packed configuration file is
// read through here. A path such as "data\skin\AppMessage.ini" is served by the loose file when it exists,
// and otherwise by the entry "AppMessage.ini" of the archive "data\skin.pak" (PackObject.h has the format).
//
// Open files and archives are kept in two process-wide lists. A path that is already open (compared ignoring
// ASCII case) shares its FileObject, whatever lies on disk by then. An archive is opened on first need and
// kept (open, or failed) until ReleaseAllVirtualFiles: a damaged archive is not tried again, while loose
// files of its folder still open. Paths of 260 units or more are refused, never cut.
//
// Whole-file reading: VirtualFileSize, ReadVirtualFile from 0 for that size, CloseVirtualFile.
//
// Thread: user-interface thread only (the lists are unguarded). Nothing is shown to the user: a failure is a
// null or 0 result.
#pragma once

#include <cstdint>

class FileObject;

// The open file for `path`, with one more reference; null when neither a loose file nor an archive entry
// exists.
FileObject* OpenVirtualFile(const wchar_t* path);
// The size in bytes; 0 when `file` is not an open virtual file.
uint32_t VirtualFileSize(FileObject* file);
// Reads exactly `length` bytes from `position` into `buffer`. Non-zero on success; 0 when `file` is not open,
// the range reaches past the file's end, or the read fails or comes back short.
int ReadVirtualFile(FileObject* file, uint32_t position, void* buffer, uint32_t length);
// Drops one reference; the last one deletes the file (closing a loose file). Archives stay open. Files that
// are not open are ignored.
void CloseVirtualFile(FileObject* file);
// Deletes every open file, then every archive (open or failed), so that the next open looks at disk afresh.
// Start-up and shutdown call it before the process ends; tests call it between cases.
void ReleaseAllVirtualFiles();
// The open file whose path equals `path` ignoring ASCII case, or null. Adds no reference.
FileObject* FindOpenVirtualFile(const wchar_t* path);
