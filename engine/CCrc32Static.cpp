#include "engine/CCrc32Static.h"

#include <zlib.h>

#include <memory>
#include <new>

#include "base/ScopedHandle.h"
#include "engine/SystemCalls.h"

DWORD CCrc32Static::FileCrc32(uint32_t& crc, const wchar_t* path) {
  crc = 0;
  std::unique_ptr<unsigned char[]> buffer(new (std::nothrow) unsigned char[kFileBlockSize]);
  if (!buffer)
    return ERROR_NOT_ENOUGH_MEMORY;
  return FileCrc32WithBuffer(crc, path, buffer.get(), kFileBlockSize);
}

DWORD CCrc32Static::FileCrc32WithBuffer(uint32_t& crc,
                                        const wchar_t* path,
                                        unsigned char* buffer,
                                        size_t block_size) {
  crc = 0;
  if (path == nullptr || buffer == nullptr || block_size == 0)
    return ERROR_INVALID_PARAMETER;
  UniqueHandle file(system_calls().create_file(path, GENERIC_READ, FILE_SHARE_READ, nullptr, OPEN_EXISTING,
                                               FILE_ATTRIBUTE_NORMAL | FILE_FLAG_SEQUENTIAL_SCAN, nullptr));
  if (!file)
    return GetLastError();
  uLong value = crc32(0L, Z_NULL, 0);
  for (;;) {
    DWORD read = 0;
    if (!system_calls().read_file(file.get(), buffer, static_cast<DWORD>(block_size), &read, nullptr))
      return GetLastError();
    if (read == 0)
      break;
    value = crc32(value, buffer, read);
  }
  crc = static_cast<uint32_t>(value);
  return 0;
}
