// Making a patch (see PatchFormat.h for the format): the header, then the new file compressed by zstd with
// the whole old file as reference prefix. Pure function over bytes; used by the patch maker and by tests.
#pragma once

#include <cstdint>
#include <string>
#include <string_view>

#include "patch/PatchFormat.h"

namespace patch {

constexpr int kDefaultPatchLevel = 19;
// From this old-file size on, long-distance matching finds the moved blocks that the normal match finders,
// which look only a few MB back, would miss.
constexpr size_t kLongDistanceMatchingFrom = 16u << 20;
// zstd's smallest window, and the largest one a 32-bit decoder accepts.
constexpr int kMinPatchWindowLog = 10;
constexpr int kMaxPatchWindowLog = 30;

enum class MakeResult {
  kOk = 0,
  kBadHeader,          // the name is unsafe or a size is above kMaxPatchedFileSize
  kCompressionFailed,  // zstd refused (out of memory, bad level)
};

// The window that lets the frame reach from any byte of the new file back to any byte of the old one:
// the smallest power of two not below old_size + new_size, within zstd's limits and kMaxPatchWindowLog.
int PatchWindowLog(size_t old_size, size_t new_size);

// Makes the patch that turns `old_bytes` into `new_bytes` for the file `target_name` (UTF-8, relative to the
// folder the patch will be applied in) and replaces `*patch` with it. `level` is zstd's compression level.
MakeResult MakePatch(std::string_view old_bytes,
                     std::string_view new_bytes,
                     const std::string& target_name,
                     int level,
                     std::string* patch);

}  // namespace patch
