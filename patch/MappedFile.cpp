#include "patch/MappedFile.h"

namespace patch {

namespace {

DWORD LastErrorOr(DWORD fallback) {
  DWORD error = GetLastError();
  return error != 0 ? error : fallback;
}

}  // namespace

DWORD MappedFile::OpenForReading(const std::wstring& path) {
  Close();
  file_ = UniqueHandle(CreateFileW(path.c_str(), GENERIC_READ, FILE_SHARE_READ, nullptr, OPEN_EXISTING,
                                   FILE_ATTRIBUTE_NORMAL | FILE_FLAG_SEQUENTIAL_SCAN, nullptr));
  if (!file_.valid())
    return LastErrorOr(ERROR_OPEN_FAILED);
  LARGE_INTEGER size;
  if (!GetFileSizeEx(file_.get(), &size)) {
    DWORD error = LastErrorOr(ERROR_READ_FAULT);
    Close();
    return error;
  }
  size_ = static_cast<uint64_t>(size.QuadPart);
  return 0;
}

DWORD MappedFile::MapForReading(uint64_t max_size) {
  if (!file_.valid())
    return ERROR_INVALID_HANDLE;
  if (size_ > max_size)
    return ERROR_FILE_TOO_LARGE;
  return size_ == 0 ? 0 : Map(PAGE_READONLY, FILE_MAP_READ);
}

DWORD MappedFile::CreateForWriting(const std::wstring& path, uint32_t size) {
  Close();
  // A read-only leftover of an earlier run must not stop this one.
  SetFileAttributesW(path.c_str(), FILE_ATTRIBUTE_NORMAL);
  file_ = UniqueHandle(CreateFileW(path.c_str(), GENERIC_READ | GENERIC_WRITE, 0, nullptr, CREATE_ALWAYS,
                                   FILE_ATTRIBUTE_NORMAL, nullptr));
  if (!file_.valid())
    return LastErrorOr(ERROR_CANNOT_MAKE);
  size_ = size;
  return size == 0 ? 0 : Map(PAGE_READWRITE, FILE_MAP_WRITE);
}

DWORD MappedFile::Map(DWORD protection, DWORD access) {
  // For a writable mapping the maximum size grows the file to that size.
  mapping_ = UniqueHandle(CreateFileMappingW(
      file_.get(), nullptr, protection, static_cast<DWORD>(size_ >> 32), static_cast<DWORD>(size_), nullptr));
  if (!mapping_.valid())
    return LastErrorOr(ERROR_NOT_ENOUGH_MEMORY);
  view_ = MapViewOfFile(mapping_.get(), access, 0, 0, static_cast<SIZE_T>(size_));
  if (view_ == nullptr)
    return LastErrorOr(ERROR_NOT_ENOUGH_MEMORY);
  return 0;
}

DWORD MappedFile::Flush() {
  if (view_ != nullptr && !FlushViewOfFile(view_, 0))
    return LastErrorOr(ERROR_WRITE_FAULT);
  if (file_.valid() && !FlushFileBuffers(file_.get()))
    return LastErrorOr(ERROR_WRITE_FAULT);
  return 0;
}

void MappedFile::Close() {
  if (view_ != nullptr) {
    DWORD error = GetLastError();
    UnmapViewOfFile(view_);
    SetLastError(error);
    view_ = nullptr;
  }
  mapping_.reset();
  file_.reset();
  size_ = 0;
}

}  // namespace patch
