// One pack archive: the read-only bundle that stands for a folder. "data\skin.pak" serves the files of
// "data\skin" that are not lying loose on disk.
//
// Archive file format (all integers unsigned 32-bit little-endian; data stored raw):
//
//   offset  size      field
//   0       4         magic, the ASCII bytes "ORPK"
//   4       4         entry count N
//   8       4         reserved
//   12      140 x N   entry table
//   ...               entry data, where the entries say
//
//   entry:  0    128  file name, UTF-16LE, 64 units including the NUL, no folder part
//           128  4    absolute offset of the data in the archive
//           132  4    data size in bytes
//           136  4    reserved
//
// An archive is refused as a whole when its header or table is short, its magic is wrong, or any entry's data
// reaches past the end of the file. All offset arithmetic is done in 64 bits.
//
// Thread: user-interface thread only. Objects are owned by the virtual-file layer (VirtualFile.h).
#pragma once

#include <windows.h>

#include <cstddef>
#include <cstdint>

#include "ui/base/FileReading.h"

#pragma pack(push, 1)
struct PackHeader {
  char magic[4];
  uint32_t entry_count;
  uint32_t reserved;
};

struct PackEntry {
  wchar_t name[64];
  uint32_t offset;
  uint32_t size;
  uint32_t reserved;
};
#pragma pack(pop)

static_assert(sizeof(PackHeader) == 12, "pack header is 12 bytes");
static_assert(sizeof(PackEntry) == 140, "pack entry is 140 bytes");
static_assert(offsetof(PackEntry, offset) == 128 && offsetof(PackEntry, size) == 132, "pack entry layout");

class PackObject {
 public:
  PackObject() = default;
  virtual ~PackObject();
  PackObject(const PackObject&) = delete;
  PackObject& operator=(const PackObject&) = delete;

  // Stores `directory` and opens "<directory>.pak". 1 when the archive is usable; 0 otherwise (then the
  // object keeps its directory but no handle, and finds nothing). A directory whose archive path does not fit
  // 260 units is refused rather than cut.
  int Open(const wchar_t* directory);
  // The first entry, in table order, whose name equals `name` ignoring ASCII case; null when there is none or
  // the archive is not open. An entry name without its NUL inside the 64 units never matches.
  const PackEntry* FindEntry(const wchar_t* name) const;

  const wchar_t* directory() const { return directory_; }
  HANDLE handle() const { return file_.get(); }
  uint32_t entry_count() const { return header_.entry_count; }

 private:
  bool ReadTable(uint64_t file_size);
  void Fail();

  wchar_t directory_[MAX_PATH] = {};
  UniqueHandle file_;
  PackHeader header_ = {};
  PackEntry* entries_ = nullptr;
};
