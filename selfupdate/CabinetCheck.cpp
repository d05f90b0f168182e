#include "selfupdate/CabinetCheck.h"

#include <windows.h>

#include <zlib.h>

#include <cstdint>
#include <cstring>
#include <memory>
#include <vector>

#include "base/ScopedHandle.h"
#include "selfupdate/CabinetExtraction.h"

namespace {

constexpr size_t kHeaderBytes = 36;
constexpr uint16_t kFlagPrevious = 1, kFlagNext = 2, kFlagReserve = 4;
constexpr size_t kMaxBlockUnpacked = 32768;
constexpr int kCompressionNone = 0, kCompressionMszip = 1;

uint16_t U16(const uint8_t* bytes) {
  return static_cast<uint16_t>(bytes[0] | bytes[1] << 8);
}
uint32_t U32(const uint8_t* bytes) {
  return static_cast<uint32_t>(bytes[0]) | static_cast<uint32_t>(bytes[1]) << 8 |
         static_cast<uint32_t>(bytes[2]) << 16 | static_cast<uint32_t>(bytes[3]) << 24;
}

// Reads exactly `bytes` at `offset`.
bool ReadAt(HANDLE file, uint64_t offset, void* data, DWORD bytes) {
  LARGE_INTEGER position;
  position.QuadPart = static_cast<LONGLONG>(offset);
  DWORD read = 0;
  return SetFilePointerEx(file, position, nullptr, FILE_BEGIN) &&
         ReadFile(file, data, bytes, &read, nullptr) && read == bytes;
}

// Skips a zero-terminated name starting at `*offset`.
bool SkipName(HANDLE file, uint64_t* offset) {
  uint8_t byte = 1;
  for (int length = 0; length < 256; ++length) {
    if (!ReadAt(file, (*offset)++, &byte, 1))
      return false;
    if (byte == 0)
      return true;
  }
  return false;
}

struct Layout {
  int folders = 0;
  uint8_t folder_reserve = 0;
  uint8_t data_reserve = 0;
  uint64_t first_folder = 0;
};

// False for a header that does not fit the file; `*is_cabinet` false (and true returned) for another kind of
// file, which the decoder then refuses with its own code.
bool ReadLayout(HANDLE file, Layout* layout, bool* is_cabinet) {
  uint8_t header[kHeaderBytes];
  *is_cabinet = ReadAt(file, 0, header, sizeof header) && std::memcmp(header, "MSCF", 4) == 0;
  if (!*is_cabinet)
    return true;
  const uint16_t flags = U16(header + 30);
  layout->folders = U16(header + 26);
  uint64_t offset = kHeaderBytes;
  if (flags & kFlagReserve) {
    uint8_t reserve[4];
    if (!ReadAt(file, offset, reserve, sizeof reserve))
      return false;
    offset += 4 + U16(reserve);
    layout->folder_reserve = reserve[2];
    layout->data_reserve = reserve[3];
  }
  for (uint16_t flag : {kFlagPrevious, kFlagNext})
    if ((flags & flag) && !(SkipName(file, &offset) && SkipName(file, &offset)))
      return false;
  layout->first_folder = offset;
  return true;
}

class BlockChecker {
 public:
  BlockChecker() { std::memset(&stream_, 0, sizeof stream_); }
  ~BlockChecker() {
    if (ready_)
      inflateEnd(&stream_);
  }
  BlockChecker(const BlockChecker&) = delete;
  BlockChecker& operator=(const BlockChecker&) = delete;

  // One MSZIP block: "CK", then a deflate stream that unpacks to exactly `unpacked` bytes with the previous
  // block's output as history.
  bool CheckMszip(const uint8_t* data, size_t stored, size_t unpacked) {
    if (stored < 2 || data[0] != 'C' || data[1] != 'K' || unpacked > kMaxBlockUnpacked)
      return false;
    if (!ready_ && inflateInit2(&stream_, -MAX_WBITS) != Z_OK)
      return false;
    ready_ = true;
    if (inflateReset(&stream_) != Z_OK)
      return false;
    if (history_bytes_ != 0 &&
        inflateSetDictionary(&stream_, history_, static_cast<uInt>(history_bytes_)) != Z_OK)
      return false;
    stream_.next_in = const_cast<Bytef*>(data + 2);
    stream_.avail_in = static_cast<uInt>(stored - 2);
    stream_.next_out = output_;
    stream_.avail_out = sizeof output_;
    if (inflate(&stream_, Z_FINISH) != Z_STREAM_END || stream_.total_out != unpacked)
      return false;
    std::memcpy(history_, output_, unpacked);
    history_bytes_ = unpacked;
    return true;
  }
  void StartFolder() { history_bytes_ = 0; }

 private:
  z_stream stream_;
  bool ready_ = false;
  Bytef output_[kMaxBlockUnpacked + 1];  // one spare byte: an overlong block is seen, not cut
  Bytef history_[kMaxBlockUnpacked];
  size_t history_bytes_ = 0;
};

// `*bytes_left` counts down the file's bytes as blocks take them (head, reserve and data), so folders that
// point at the same blocks again cannot make the check inflate more than the file holds.
int CheckFolder(HANDLE file, const Layout& layout, int index, BlockChecker* checker, uint64_t* bytes_left) {
  uint8_t folder[8];
  if (!ReadAt(file, layout.first_folder + static_cast<uint64_t>(index) * (8 + layout.folder_reserve), folder,
              8))
    return kCabinetCorrupt;
  const int compression = U16(folder + 6) & 0x0F;
  if (compression != kCompressionNone && compression != kCompressionMszip)
    return kCabinetExtracted;
  checker->StartFolder();
  uint64_t offset = U32(folder);
  std::vector<uint8_t> data;
  for (int block = 0; block < U16(folder + 4); ++block) {
    uint8_t head[8];
    if (!ReadAt(file, offset, head, sizeof head))
      return kCabinetCorrupt;
    const size_t stored = U16(head + 4), unpacked = U16(head + 6);
    const uint64_t taken = sizeof head + layout.data_reserve + stored;
    if (taken > *bytes_left)
      return kCabinetCorrupt;
    *bytes_left -= taken;
    offset += sizeof head + layout.data_reserve;
    data.resize(stored);
    if (stored != 0 && !ReadAt(file, offset, data.data(), static_cast<DWORD>(stored)))
      return kCabinetCorrupt;
    offset += stored;
    const bool whole = compression == kCompressionNone ? stored == unpacked && unpacked <= kMaxBlockUnpacked
                                                       : checker->CheckMszip(data.data(), stored, unpacked);
    if (!whole)
      return kCabinetDecompressionFailed;
  }
  return kCabinetExtracted;
}

}  // namespace

int CheckCabinetBlocks(const wchar_t* cabinet_path) {
  UniqueHandle file(CreateFileW(cabinet_path, GENERIC_READ, FILE_SHARE_READ, nullptr, OPEN_EXISTING,
                                FILE_FLAG_SEQUENTIAL_SCAN, nullptr));
  if (!file)
    return kCabinetCannotOpen;
  Layout layout;
  bool is_cabinet = false;
  if (!ReadLayout(file.get(), &layout, &is_cabinet))
    return kCabinetCorrupt;
  if (!is_cabinet)
    return kCabinetExtracted;
  LARGE_INTEGER size = {};
  if (!GetFileSizeEx(file.get(), &size))
    return kCabinetCannotOpen;
  uint64_t bytes_left = static_cast<uint64_t>(size.QuadPart);
  auto checker = std::make_unique<BlockChecker>();  // 64 KiB of buffers: not on a worker's stack
  int result = kCabinetExtracted;
  for (int index = 0; index < layout.folders && result == kCabinetExtracted; ++index)
    result = CheckFolder(file.get(), layout, index, checker.get(), &bytes_left);
  return result;
}

int CheckAndExtractCabinet(const wchar_t* cabinet_path, const wchar_t* target_folder) {
  const int checked = CheckCabinetBlocks(cabinet_path);
  return checked != kCabinetExtracted ? checked : ExtractCabinet(cabinet_path, target_folder);
}
