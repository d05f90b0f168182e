// The command line that the engine hands to patchw32.dll, and the target path built from it. Pure functions.
//
// Form: "<patch file>" "<target folder>" -q -not -nop -nos
//   - Arguments are separated by blanks or tabs. A quoted argument runs to the next double quote; a backslash
//     is always a plain character (so a drive root folder "X:\" ends at its quote, unlike the C runtime's
//     argument rules, where \" would escape the quote). An unquoted argument runs to the next blank.
//   - The first two arguments that are not switches are the patch file and the target folder, in that order.
//   - A switch is an unquoted argument that starts with '-'. None of them changes what is done: "-q", "-not",
//     "-nop" and "-nos" ask for quiet work without extras, which is all this library ever does, and any other
//     switch is ignored too, so that a caller with more switches still gets its patch applied.
//   - Refused: no patch file, no target folder, an empty quoted path, a third path, an unterminated quote.
#pragma once

#include <string>
#include <string_view>

namespace patch {

struct PatchCommandLine {
  std::string patch_path;     // as given, 8-bit text in the process's code page
  std::string target_folder;  // as given
};

enum class CommandLineResult {
  kOk = 0,
  kMissingPatchPath,
  kMissingTargetFolder,
  kEmptyPath,
  kTooManyPaths,
  kUnterminatedQuote,
};

CommandLineResult ParsePatchCommandLine(std::string_view line, PatchCommandLine* command);

// Joins the target folder and a relative name (backslashes or slashes) into one path with backslashes. A bare
// drive ("X:") is taken as its root ("X:\"), and a folder's trailing separators are not doubled.
std::wstring JoinUnderFolder(const std::wstring& folder, const std::wstring& relative_name);

}  // namespace patch
