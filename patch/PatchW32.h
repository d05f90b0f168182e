/* The call that patchw32.dll exports as ordinal 1 (also by the name ApplyBinaryPatch). Plain C.
 *
 * int __stdcall ApplyBinaryPatch(const char* command_line, PatchProgressCallback progress, int reserved);
 *
 *   command_line  8-bit text in the process's code page: "<patch file>" "<target folder>" -q -not -nop -nos
 *                 (parsing rules in patch/PatchCommandLine.h; the switches change nothing, unknown ones are
 *                 ignored).
 *   progress      may be null; never called: an apply takes a moment and has no steps worth reporting.
 *   reserved      ignored (the engine passes 1).
 *
 * The patch's header names the file to change, relative to the target folder. The call checks the installed
 * file's size and CRC-32 against the header, rebuilds the new file into "<target>.patching" beside it, checks
 * the new size and CRC-32, and only then replaces the target (keeping its attributes, read-only included). On
 * any failure the installed file is untouched and the temporary file is gone. Returns 0 when the patch was
 * applied, otherwise one of the codes below. Safe to call from any thread; calls for different targets may
 * overlap.
 */
#ifndef PATCH_PATCHW32_H_
#define PATCH_PATCHW32_H_

#ifdef __cplusplus
extern "C" {
#endif

typedef const char*(__stdcall* PatchProgressCallback)(unsigned int, unsigned int);
typedef int(__stdcall* ApplyBinaryPatchFunction)(const char* command_line,
                                                 PatchProgressCallback progress,
                                                 int reserved);

int __stdcall ApplyBinaryPatch(const char* command_line, PatchProgressCallback progress, int reserved);

/* Results; the numbers never change. */
enum PatchApplyResult {
  kPatchApplied = 0,
  kPatchBadCommandLine = 1, /* missing or malformed paths */
  kPatchFileUnreadable = 2, /* the patch file cannot be opened or read */
  kPatchBadHeader = 3,      /* not a patch of this format, truncated, or absurd sizes */
  kPatchUnsafeTarget = 4, /* the name would leave the target folder, is not UTF-8, or the path is too long */
  kPatchOldFileUnreadable = 5,   /* the file to change is missing or cannot be read */
  kPatchOldFileMismatch = 6,     /* its size or CRC-32 differs from the header's */
  kPatchCorrupt = 7,             /* the zstd frame is damaged, not alone, or yields another size */
  kPatchNewFileMismatch = 8,     /* the rebuilt file's CRC-32 differs from the header's */
  kPatchTemporaryFileFailed = 9, /* the temporary file cannot be created, mapped or written */
  kPatchReplaceFailed = 10,      /* the target could not be replaced (in use, access denied) */
  kPatchInternalError = 11       /* out of memory or another unexpected failure */
};

#ifdef __cplusplus
}
#endif

#endif /* PATCH_PATCHW32_H_ */
