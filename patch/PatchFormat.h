// The binary-patch file format, shared by patchw32.dll (which applies patches) and the patch maker (which
// writes them). Pure functions over bytes: no files, no Windows calls.
//
// A patch turns one file (the "old" file) into another (the "new" file). It is a header followed by one zstd
// frame that was compressed with the whole old file as its reference prefix, so the frame is small when the
// two files share most of their bytes. All integers are little-endian; fields follow each other without
// padding.
//
//   offset  width  field
//   0       4      magic "ORVP"
//   4       2      format version, 1
//   6       2      name length n in bytes, 1..kMaxTargetNameBytes
//   8       4      old file size in bytes, at most kMaxPatchedFileSize
//   12      4      CRC-32 of the old file (zlib's crc32)
//   16      4      new file size in bytes, at most kMaxPatchedFileSize
//   20      4      CRC-32 of the new file
//   24      n      target name, UTF-8, relative to the folder the patch is applied in, no terminating NUL;
//                  sub-folders are separated by backslashes (forward slashes are read as backslashes)
//   24 + n  ...    one zstd frame, to the end of the file; its content size is recorded and equals the new
//   size
//
// The frame therefore starts at byte 24 + (u16 at offset 6); a standard zstd decoder given the old file as
// its reference prefix reproduces the new file from it.
#pragma once

#include <cstddef>
#include <cstdint>
#include <string>
#include <string_view>

namespace patch {

constexpr char kPatchMagic[4] = {'O', 'R', 'V', 'P'};
constexpr uint16_t kPatchFormatVersion = 1;
constexpr size_t kPatchHeaderFixedBytes = 24;
// Long enough for any name below the 260-character path limit, even when every character takes 4 UTF-8 bytes.
constexpr size_t kMaxTargetNameBytes = 1040;
// Old and new files are both mapped into a 32-bit process while a patch is applied, next to the patch itself;
// above this size that cannot be relied on, so such files are always shipped whole.
constexpr uint32_t kMaxPatchedFileSize = 0x40000000u;  // 1 GiB

struct PatchHeader {
  uint32_t old_size = 0;
  uint32_t old_crc = 0;
  uint32_t new_size = 0;
  uint32_t new_crc = 0;
  std::string target_name;  // UTF-8, as stored
};

enum class HeaderResult {
  kOk = 0,
  kTruncated,           // fewer bytes than the header announces
  kBadMagic,            // not a patch of this format
  kUnsupportedVersion,  // a format version this code does not know
  kBadNameLength,       // 0 or above kMaxTargetNameBytes
  kUnsafeName,          // the name could leave the folder (IsSafeRelativeFileName, base/RelativeName.h)
  kSizeTooLarge,        // an old or new size above kMaxPatchedFileSize
};

// Appends the encoded header to `out`. Fails (kUnsafeName, kBadNameLength, kSizeTooLarge) without writing
// when the header could not be read back.
HeaderResult EncodePatchHeader(const PatchHeader& header, std::string* out);

// Reads a header from the start of `bytes` (which may hold the whole patch or only its beginning). On kOk
// fills `header` and sets `*header_bytes` to where the zstd frame begins.
HeaderResult DecodePatchHeader(std::string_view bytes, PatchHeader* header, size_t* header_bytes);

// zlib's CRC-32 of any number of bytes.
uint32_t Crc32Of(std::string_view bytes);

}  // namespace patch
