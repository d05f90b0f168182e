// The export of patchw32.dll (ordinal 1, see patchw32.def and PatchW32.h).
#include "patch/PatchW32.h"

#include <new>

#include "patch/PatchApplier.h"

extern "C" int __stdcall ApplyBinaryPatch(const char* command_line,
                                          PatchProgressCallback /*progress*/,
                                          int /*reserved*/) {
  if (command_line == nullptr)
    return kPatchBadCommandLine;
  // No exception leaves the library.
  try {
    return patch::ApplyPatchCommandLine(command_line);
  } catch (...) {
    return kPatchInternalError;
  }
}
