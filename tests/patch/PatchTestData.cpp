#include "tests/patch/PatchTestData.h"

namespace patch {

namespace {

void AppendLittleEndian(std::string* out, uint32_t value, int bytes) {
  for (int i = 0; i < bytes; ++i)
    out->push_back(static_cast<char>((value >> (8 * i)) & 0xFF));
}

}  // namespace

std::string MixedBytes(size_t size, uint32_t seed) {
  static const char kText[] = "the quick brown fox jumps over the lazy dog; map tiles, sounds and scripts. ";
  std::string bytes;
  bytes.reserve(size);
  uint32_t state = seed * 2654435761u + 1;
  while (bytes.size() < size) {
    state = state * 1664525u + 1013904223u;
    size_t run = 256 + (state >> 20);  // up to 4 KB
    bool noise = (state & 0x100) != 0;
    for (size_t i = 0; i < run && bytes.size() < size; ++i) {
      state = state * 1664525u + 1013904223u;
      bytes.push_back(noise ? static_cast<char>(state >> 24) : kText[i % (sizeof kText - 1)]);
    }
  }
  return bytes;
}

std::string RawPatchHeader(const std::string& name,
                           uint32_t old_size,
                           uint32_t old_crc,
                           uint32_t new_size,
                           uint32_t new_crc,
                           const char* magic,
                           uint16_t version) {
  std::string out(magic, 4);
  AppendLittleEndian(&out, version, 2);
  AppendLittleEndian(&out, static_cast<uint32_t>(name.size()), 2);
  AppendLittleEndian(&out, old_size, 4);
  AppendLittleEndian(&out, old_crc, 4);
  AppendLittleEndian(&out, new_size, 4);
  AppendLittleEndian(&out, new_crc, 4);
  return out + name;
}

}  // namespace patch
