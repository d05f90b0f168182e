// One open virtual file: a loose file on disk or an entry of a pack archive, shared by every caller that
// opens the same path (compared ignoring ASCII case) and counted by references.
//
// Thread: user-interface thread only. Objects are owned by the virtual-file layer (VirtualFile.h); callers
// hold the pointer between OpenVirtualFile and CloseVirtualFile.
#pragma once

#include <windows.h>

#include <cstdint>

#include "ui/base/FileReading.h"

class PackObject;
struct PackEntry;

class FileObject {
 public:
  FileObject() = default;
  virtual ~FileObject() = default;
  FileObject(const FileObject&) = delete;
  FileObject& operator=(const FileObject&) = delete;

  // Opens `path` as a loose file (shared read access, existing files only). 1 on success; 0 when it does not
  // exist or cannot be read, when the path does not fit 260 units, or when the file is 4 GiB or larger (its
  // size would not fit the size field). References become 1.
  int OpenLoose(const wchar_t* path);
  // Makes this object the archive entry `entry` of `pack`, opened as `path`. 1 on success; 0 when the path
  // does not fit 260 units. References become 1.
  int OpenEntry(const wchar_t* path, PackObject* pack, const PackEntry* entry);

  // Reads exactly `length` bytes from `position` of this file into `buffer`. 0 when the range reaches past
  // the file's size (never into the archive's next entry), when the read fails or when it comes back short.
  int Read(uint32_t position, void* buffer, uint32_t length);

  void AddReference() { ++references_; }
  // Subtracts one reference; returns how many are left.
  int32_t DropReference() { return --references_; }

  const wchar_t* path() const { return path_; }
  uint32_t size() const { return size_; }
  int32_t references() const { return references_; }
  PackObject* pack() const { return pack_; }
  const PackEntry* entry() const { return entry_; }
  bool is_loose() const { return loose_file_.valid(); }

 private:
  bool StorePath(const wchar_t* path);

  wchar_t path_[MAX_PATH] = {};
  UniqueHandle loose_file_;
  PackObject* pack_ = nullptr;
  const PackEntry* entry_ = nullptr;
  uint32_t size_ = 0;
  int32_t references_ = 0;
};
