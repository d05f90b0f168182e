#include "ui/base/FileObject.h"

#include <cstring>
#include <cwchar>
#include <utility>

#include "ui/base/PackObject.h"

bool FileObject::StorePath(const wchar_t* path) {
  // A longer path is refused, never cut: two long paths that share their first 259 units must not become one
  // shared object.
  size_t units = path != nullptr ? std::wcslen(path) : MAX_PATH;
  if (units >= MAX_PATH)
    return false;
  std::memcpy(path_, path, (units + 1) * sizeof(wchar_t));
  return true;
}

int FileObject::OpenLoose(const wchar_t* path) {
  if (!StorePath(path))
    return 0;
  UniqueHandle file = OpenFileForReading(path_);
  uint64_t size = 0;
  if (!file.valid() || !QueryFileSize(file.get(), &size) || size > UINT32_MAX)
    return 0;
  loose_file_ = std::move(file);
  size_ = static_cast<uint32_t>(size);
  references_ = 1;
  return 1;
}

int FileObject::OpenEntry(const wchar_t* path, PackObject* pack, const PackEntry* entry) {
  if (pack == nullptr || entry == nullptr || !StorePath(path))
    return 0;
  pack_ = pack;
  entry_ = entry;
  size_ = entry->size;
  references_ = 1;
  return 1;
}

int FileObject::Read(uint32_t position, void* buffer, uint32_t length) {
  if (static_cast<uint64_t>(position) + length > size_ || (buffer == nullptr && length != 0))
    return 0;
  if (length == 0)
    return 1;
  if (loose_file_.valid())
    return ReadFileAt(loose_file_.get(), position, buffer, length) ? 1 : 0;
  if (pack_ == nullptr || entry_ == nullptr || pack_->handle() == nullptr)
    return 0;
  uint64_t offset = static_cast<uint64_t>(entry_->offset) + position;
  return ReadFileAt(pack_->handle(), offset, buffer, length) ? 1 : 0;
}
