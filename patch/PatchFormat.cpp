#include "patch/PatchFormat.h"

#include <zlib.h>

#include <cstring>

namespace patch {

namespace {

void AppendU16(std::string* out, uint16_t value) {
  out->push_back(static_cast<char>(value & 0xFF));
  out->push_back(static_cast<char>(value >> 8));
}

void AppendU32(std::string* out, uint32_t value) {
  for (int shift = 0; shift < 32; shift += 8)
    out->push_back(static_cast<char>((value >> shift) & 0xFF));
}

uint16_t ReadU16(std::string_view bytes, size_t offset) {
  return static_cast<uint16_t>(static_cast<uint8_t>(bytes[offset]) |
                               (static_cast<uint8_t>(bytes[offset + 1]) << 8));
}

uint32_t ReadU32(std::string_view bytes, size_t offset) {
  uint32_t value = 0;
  for (int i = 3; i >= 0; --i)
    value = (value << 8) | static_cast<uint8_t>(bytes[offset + i]);
  return value;
}

bool IsSeparator(char c) {
  return c == '\\' || c == '/';
}

bool IsForbiddenCharacter(char c) {
  unsigned char u = static_cast<unsigned char>(c);
  return u < 0x20 || u == 0x7F || std::strchr(":*?\"<>|", c) != nullptr;
}

char AsciiUpper(char c) {
  return c >= 'a' && c <= 'z' ? static_cast<char>(c - 'a' + 'A') : c;
}

// A Windows device name (CON, PRN, AUX, NUL, CONIN$, CONOUT$, COM1-9, LPT1-9, with the superscript digits
// 1-3 too), as Windows finds it: in the part up to its first dot, blanks before that dot dropped, any case.
bool IsDeviceName(std::string_view component) {
  std::string_view stem = component.substr(0, component.find('.'));
  while (!stem.empty() && stem.back() == ' ')
    stem.remove_suffix(1);
  std::string upper(stem.size(), '\0');
  for (size_t i = 0; i < stem.size(); ++i)
    upper[i] = AsciiUpper(stem[i]);
  for (const char* device : {"CON", "PRN", "AUX", "NUL", "CONIN$", "CONOUT$"}) {
    if (upper == device)
      return true;
  }
  if (upper.size() < 4 || (upper.compare(0, 3, "COM") != 0 && upper.compare(0, 3, "LPT") != 0))
    return false;
  std::string_view digit = std::string_view(upper).substr(3);
  return (digit.size() == 1 && digit[0] >= '1' && digit[0] <= '9') || digit == "\xC2\xB9" ||
         digit == "\xC2\xB2" || digit == "\xC2\xB3";
}

// One path component between separators.
bool IsSafeComponent(std::string_view component) {
  if (component.empty() || component == "." || component == "..")
    return false;
  char last = component.back();
  return last != '.' && last != ' ' && !IsDeviceName(component);
}

HeaderResult CheckFields(const PatchHeader& header) {
  if (header.target_name.empty() || header.target_name.size() > kMaxTargetNameBytes)
    return HeaderResult::kBadNameLength;
  if (!IsSafeRelativeName(header.target_name))
    return HeaderResult::kUnsafeName;
  if (header.old_size > kMaxPatchedFileSize || header.new_size > kMaxPatchedFileSize)
    return HeaderResult::kSizeTooLarge;
  return HeaderResult::kOk;
}

}  // namespace

HeaderResult EncodePatchHeader(const PatchHeader& header, std::string* out) {
  HeaderResult checked = CheckFields(header);
  if (checked != HeaderResult::kOk)
    return checked;
  out->append(kPatchMagic, sizeof kPatchMagic);
  AppendU16(out, kPatchFormatVersion);
  AppendU16(out, static_cast<uint16_t>(header.target_name.size()));
  AppendU32(out, header.old_size);
  AppendU32(out, header.old_crc);
  AppendU32(out, header.new_size);
  AppendU32(out, header.new_crc);
  out->append(header.target_name);
  return HeaderResult::kOk;
}

HeaderResult DecodePatchHeader(std::string_view bytes, PatchHeader* header, size_t* header_bytes) {
  if (bytes.size() < kPatchHeaderFixedBytes)
    return bytes.size() >= sizeof kPatchMagic &&
                   std::memcmp(bytes.data(), kPatchMagic, sizeof kPatchMagic) != 0
               ? HeaderResult::kBadMagic
               : HeaderResult::kTruncated;
  if (std::memcmp(bytes.data(), kPatchMagic, sizeof kPatchMagic) != 0)
    return HeaderResult::kBadMagic;
  if (ReadU16(bytes, 4) != kPatchFormatVersion)
    return HeaderResult::kUnsupportedVersion;
  size_t name_bytes = ReadU16(bytes, 6);
  if (name_bytes == 0 || name_bytes > kMaxTargetNameBytes)
    return HeaderResult::kBadNameLength;
  if (bytes.size() - kPatchHeaderFixedBytes < name_bytes)
    return HeaderResult::kTruncated;
  PatchHeader decoded;
  decoded.old_size = ReadU32(bytes, 8);
  decoded.old_crc = ReadU32(bytes, 12);
  decoded.new_size = ReadU32(bytes, 16);
  decoded.new_crc = ReadU32(bytes, 20);
  decoded.target_name.assign(bytes.substr(kPatchHeaderFixedBytes, name_bytes));
  HeaderResult checked = CheckFields(decoded);
  if (checked != HeaderResult::kOk)
    return checked;
  *header = std::move(decoded);
  *header_bytes = kPatchHeaderFixedBytes + name_bytes;
  return HeaderResult::kOk;
}

bool IsSafeRelativeName(std::string_view name) {
  if (name.empty() || IsSeparator(name.front()))
    return false;
  size_t start = 0;
  for (size_t i = 0; i <= name.size(); ++i) {
    if (i < name.size() && !IsSeparator(name[i])) {
      if (IsForbiddenCharacter(name[i]))
        return false;
      continue;
    }
    if (!IsSafeComponent(name.substr(start, i - start)))
      return false;
    start = i + 1;
  }
  return true;
}

uint32_t Crc32Of(std::string_view bytes) {
  uLong crc = crc32(0L, Z_NULL, 0);
  const Bytef* data = reinterpret_cast<const Bytef*>(bytes.data());
  size_t left = bytes.size();
  while (left > 0) {
    uInt block = static_cast<uInt>(left < (1u << 30) ? left : (1u << 30));
    crc = crc32(crc, data, block);
    data += block;
    left -= block;
  }
  return static_cast<uint32_t>(crc);
}

}  // namespace patch
