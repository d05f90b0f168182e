#include "patch/PatchFormat.h"

#include <zlib.h>

#include <cstring>

#include "base/RelativeName.h"

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

HeaderResult CheckFields(const PatchHeader& header) {
  if (header.target_name.empty() || header.target_name.size() > kMaxTargetNameBytes)
    return HeaderResult::kBadNameLength;
  if (!IsSafeRelativeFileName(header.target_name))
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
