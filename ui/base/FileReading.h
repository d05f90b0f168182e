// Reading whole or part of a file through a handle owned by UniqueHandle (base/ScopedHandle.h).
#pragma once

#include <windows.h>

#include <cstdint>

#include "base/ScopedHandle.h"

// Opens an existing file for reading, others may read it too. An invalid owner when it cannot be opened.
UniqueHandle OpenFileForReading(const wchar_t* path);
// The file's size in bytes; false when it cannot be queried.
bool QueryFileSize(HANDLE file, uint64_t* size);
// Reads exactly `length` bytes at `offset`; false on any failure or when fewer bytes are there.
bool ReadFileAt(HANDLE file, uint64_t offset, void* buffer, uint32_t length);
