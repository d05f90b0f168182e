#include "ui/base/FileReading.h"

#include <cstdint>

UniqueHandle OpenFileForReading(const wchar_t* path) {
  return UniqueHandle(CreateFileW(path, GENERIC_READ, FILE_SHARE_READ, nullptr, OPEN_EXISTING,
                                  FILE_ATTRIBUTE_NORMAL, nullptr));
}

bool QueryFileSize(HANDLE file, uint64_t* size) {
  LARGE_INTEGER value;
  if (!GetFileSizeEx(file, &value) || value.QuadPart < 0)
    return false;
  *size = static_cast<uint64_t>(value.QuadPart);
  return true;
}

bool ReadFileAt(HANDLE file, uint64_t offset, void* buffer, uint32_t length) {
  if (offset > static_cast<uint64_t>(INT64_MAX))
    return false;
  LARGE_INTEGER position;
  position.QuadPart = static_cast<LONGLONG>(offset);
  if (!SetFilePointerEx(file, position, nullptr, FILE_BEGIN))
    return false;
  // ReadFile may hand back less than asked only at the end of the file; a read that brings nothing more is a
  // short read and therefore a failure.
  uint8_t* next = static_cast<uint8_t*>(buffer);
  while (length > 0) {
    DWORD got = 0;
    if (!ReadFile(file, next, length, &got, nullptr) || got == 0 || got > length)
      return false;
    next += got;
    length -= got;
  }
  return true;
}
