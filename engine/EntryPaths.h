// The names that the worker derives from one list entry: its temporary file, its download URL, the temporary
// files of older versions that a full check removes, and the command line handed to the patch library. Pure
// functions over texts; no state, any thread.
//
// The entry's name must already have passed IsSafeRelativeName (base/RelativeName.h): these functions join
// it to the install root or the URL as it is.
#pragma once

#include <windows.h>

#include <cstddef>
#include <string>

#include "engine/FileEntry.h"

namespace entry_paths {

// Wide characters of a download URL with its terminator. The longest URL that can be built (a 99-character
// host, a 63-character product code, a 259-character name) needs fewer than 500.
constexpr size_t kMaxUrlLength = 1024;

// The file an entry downloads into, beside its target: "<root>\<name>.<version>.<suffix>" with the suffix
// "zip" (ZIP), "rtp" (RTP) or "new" (NEW); a delete entry names its target itself, "<root>\<name>". False
// (and `out` empty) for the other kinds, which are never downloaded, and when the path does not fit MAX_PATH.
bool BuildTempName(wchar_t (&out)[MAX_PATH], const wchar_t* install_root, const FileEntry& entry);

// Where an entry is downloaded from, with every backslash turned into "/":
//   ZIP  http://<host>/<product>/RegisteredHistory/<%08d registered version>/<name>.zip
//   RTP  http://<host>/<product>/PatchArchive/<name>.zip/<%08d version>/PATCH.RTP
//   NEW  http://<host>/<product>/RegisteredHistory/<%08d registered version>/<name>   (the raw file)
//   delete: success with an empty URL (nothing is downloaded).
// False (and `out` empty) for the other kinds and when the URL does not fit.
bool BuildUrl(wchar_t (&out)[kMaxUrlLength],
              const wchar_t* download_host,
              const wchar_t* product_code,
              const FileEntry& entry);

// True when `file_name` (a name inside the entry's folder, as a directory search gives it) is a temporary
// file that a full check removes for an entry whose last name component is `base_name`: "<base>.zip",
// "<base>.rtp",
// "<base>.new", or "<base>.<i>.<zip|rtp|new>" with i written as "%d" and 0 <= i < `version`. The files of the
// entry's own version are not among them, so a partial download still resumes. Compared without regard to
// case, as the file system does.
bool IsStaleTempName(const wchar_t* file_name, const wchar_t* base_name, int32_t version);

// The folder that the patch library rebuilds a file in: the target path up to its last backslash, with a bare
// drive ("X:") turned into its root ("X:\"). Empty when the target has no backslash.
std::wstring PatchTargetFolder(const wchar_t* target_path);

// The 8-bit command line for the patch library: "<patch file>" "<folder>" -q -not -nop -nos, in the system
// code page. False when a character has no exact 8-bit form: a replacement or "best fit" character could
// turn into a quote or name another file.
bool BuildPatchCommandLine(std::string* out, const wchar_t* patch_path, const std::wstring& folder);

}  // namespace entry_paths
