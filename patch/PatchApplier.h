// Applies one patch file to one installed file: the work behind patchw32.dll's ordinal 1.
//
// Order, so that a failure never damages the installed file:
//   1. parse the command line; map the patch and read its header (bounded, name checked);
//   2. open the target (folder + name from the header), check its size and CRC-32 against the header;
//   3. check that the rest of the patch is one zstd frame whose content size is the header's new size;
//   4. decode the frame, with the target's bytes as reference, straight into "<target>.patching" beside it,
//      sized exactly to the new size (so the output is bounded by the header), and check its CRC-32;
//   5. flush the temporary file to disk, close everything, then replace the target with it in one move
//      (MoveFileEx, replacing, write-through). A read-only target loses that attribute only for the move and
//      gets its attributes back afterwards.
// Any failure before the move ends with the temporary file deleted and the target as it was.
//
// Blocking; runs on the caller's thread; keeps no state between calls.
#pragma once

#include <string_view>

namespace patch {

// Returns one of the PatchApplyResult codes of patch/PatchW32.h (0 when applied).
int ApplyPatchCommandLine(std::string_view command_line);

}  // namespace patch
