#include "ui/gfx/BMPLoader.h"

#include <cstring>
#include <new>

#include "ui/base/VirtualFile.h"
#include "ui/gfx/Dib.h"

namespace {

const uint32_t kFileHeaderSize = 14;
const uint32_t kInfoHeaderSize = 40;

uint16_t ReadU16(const uint8_t* bytes) {
  return static_cast<uint16_t>(bytes[0] | bytes[1] << 8);
}

uint32_t ReadU32(const uint8_t* bytes) {
  return static_cast<uint32_t>(bytes[0]) | static_cast<uint32_t>(bytes[1]) << 8 |
         static_cast<uint32_t>(bytes[2]) << 16 | static_cast<uint32_t>(bytes[3]) << 24;
}

}  // namespace

BMPLoader::~BMPLoader() {
  delete[] data_;
}

uint64_t BMPLoader::RowBytes(int32_t width, uint16_t bit_count) {
  if (width < 1 || (bit_count != 24 && bit_count != 32))
    return 0;
  uint64_t bytes = static_cast<uint64_t>(width) * (bit_count / 8);
  return (bytes + 3) & ~static_cast<uint64_t>(3);
}

bool BMPLoader::HeadersUsable(uint32_t file_size) const {
  uint32_t data_offset = ReadU32(file_header_ + 10);
  int32_t width = static_cast<int32_t>(ReadU32(info_header_ + 4));
  int32_t height = static_cast<int32_t>(ReadU32(info_header_ + 8));
  uint16_t bit_count = ReadU16(info_header_ + 14);
  uint32_t compression = ReadU32(info_header_ + 16);
  uint32_t image_size = ReadU32(info_header_ + 20);
  if (bit_count < 24 || compression != 0 || image_size == 0)
    return false;
  if (static_cast<uint64_t>(data_offset) + image_size > file_size)
    return false;
  // Only sizes that can become an image are worth reading; the data must cover every row.
  if (width < 1 || height < 1)
    return false;
  uint64_t row_bytes = RowBytes(width, bit_count);
  if (row_bytes == 0 || row_bytes * static_cast<uint64_t>(height) > image_size)
    return false;
  return static_cast<uint64_t>(width) * static_cast<uint64_t>(height) * 4 <= Dib::kMaxByteSize;
}

int BMPLoader::Load(const wchar_t* path) {
  delete[] data_;
  data_ = nullptr;
  data_size_ = 0;
  FileObject* file = OpenVirtualFile(path);
  if (file == nullptr)
    return 0;
  uint32_t file_size = VirtualFileSize(file);
  bool loaded = file_size != 0 && ReadVirtualFile(file, 0, file_header_, kFileHeaderSize) &&
                ReadVirtualFile(file, kFileHeaderSize, info_header_, kInfoHeaderSize) &&
                HeadersUsable(file_size);
  if (loaded) {
    uint32_t image_size = ReadU32(info_header_ + 20);
    data_ = new (std::nothrow) uint8_t[image_size];
    loaded = data_ != nullptr && ReadVirtualFile(file, ReadU32(file_header_ + 10), data_, image_size);
    if (loaded)
      data_size_ = image_size;
  }
  CloseVirtualFile(file);
  if (!loaded) {
    delete[] data_;
    data_ = nullptr;
    return 0;
  }
  width_ = static_cast<int32_t>(ReadU32(info_header_ + 4));
  height_ = static_cast<int32_t>(ReadU32(info_header_ + 8));
  bit_count_ = ReadU16(info_header_ + 14);
  return 1;
}

int BMPLoader::GetSize(int32_t* width, int32_t* height) {
  if (data_ == nullptr || width == nullptr || height == nullptr)
    return 0;
  *width = width_;
  *height = height_;
  return 1;
}

int BMPLoader::Decode(uint32_t* pixels) {
  uint64_t row_bytes = RowBytes(width_, bit_count_);
  if (data_ == nullptr || pixels == nullptr || row_bytes == 0 ||
      row_bytes * static_cast<uint64_t>(height_) > data_size_)
    return 0;
  size_t width = static_cast<size_t>(width_);
  if (bit_count_ == 32) {
    std::memcpy(pixels, data_, width * height_ * 4);
    return 1;
  }
  // Both the file and the image keep their rows bottom-up, so row r of one is row r of the other.
  for (int32_t row = 0; row < height_; ++row) {
    const uint8_t* source = data_ + static_cast<size_t>(row_bytes) * row;
    uint32_t* target = pixels + width * row;
    for (size_t x = 0; x < width; ++x, source += 3)
      target[x] = 0xFF000000u | static_cast<uint32_t>(source[2]) << 16 |
                  static_cast<uint32_t>(source[1]) << 8 | source[0];
  }
  return 1;
}
