#include "tests/ui/base/PackWriter.h"

namespace testing_support {

namespace {

void AppendUint32(std::string* bytes, uint32_t value) {
  for (int shift = 0; shift < 32; shift += 8)
    bytes->push_back(static_cast<char>((value >> shift) & 0xFF));
}

}  // namespace

std::string PackHeaderBytes(uint32_t entry_count, const char* magic) {
  std::string bytes(magic, 4);
  AppendUint32(&bytes, entry_count);
  AppendUint32(&bytes, 0);
  return bytes;
}

std::string PackEntryBytes(const std::wstring& name, uint32_t offset, uint32_t size) {
  std::string bytes;
  for (size_t i = 0; i < 64; ++i) {
    wchar_t unit = i < name.size() ? name[i] : 0;
    bytes.push_back(static_cast<char>(unit & 0xFF));
    bytes.push_back(static_cast<char>((unit >> 8) & 0xFF));
  }
  AppendUint32(&bytes, offset);
  AppendUint32(&bytes, size);
  AppendUint32(&bytes, 0);
  return bytes;
}

PackWriter& PackWriter::Add(const std::wstring& name, const std::string& data) {
  files_.push_back(File{name, data});
  return *this;
}

std::string PackWriter::Bytes() const {
  std::string bytes = PackHeaderBytes(static_cast<uint32_t>(files_.size()));
  uint32_t offset = static_cast<uint32_t>(12 + 140 * files_.size());
  std::string data;
  for (const File& file : files_) {
    bytes += PackEntryBytes(file.name, offset, static_cast<uint32_t>(file.data.size()));
    offset += static_cast<uint32_t>(file.data.size());
    data += file.data;
  }
  return bytes + data;
}

}  // namespace testing_support
