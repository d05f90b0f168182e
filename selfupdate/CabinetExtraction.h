// Unpacks the launcher's self-update package, a cabinet file with one folder, into a target folder.
//
// The decoding is the platform's File Decompression Interface (cabinet.dll); this module is its wrapper: the
// callbacks, the checks before the copy and the mapping of failures to result codes. Every file of the
// cabinet replaces the file of its name in the target folder (read-only and hidden ones included) and gets
// the cabinet's date, time (local time) and attributes (read-only, hidden, system, archive). Sub-folders
// named by entries are made inside the target folder. Files extracted before a failure stay where they are.
//
// Entry names are untrusted: a name that would leave the target folder ("..", a drive, a leading backslash,
// an absolute path) or that would make a path of 260 characters or more stops the extraction before anything
// of that entry is written (result 111, the callback's abort).
//
// Called on any thread; keeps no state between calls.
#pragma once

#include <string>

// Results of `ExtractCabinet`. Codes 101 to 111 are FDI's errors 1 to 11 in FDI's order.
enum CabinetResult {
  kCabinetExtracted = 0,
  kCabinetFdiFailure = 100,  // an FDI failure without a code of its own
  kCabinetNotFound = 101,
  kCabinetFdiNotACabinet = 102,
  kCabinetUnknownVersion = 103,
  kCabinetCorrupt = 104,
  kCabinetOutOfMemory = 105,
  kCabinetUnknownCompression = 106,
  kCabinetDecompressionFailed = 107,
  kCabinetTargetFileFailed = 108,
  kCabinetReserveMismatch = 109,
  kCabinetWrongCabinet = 110,
  kCabinetAborted = 111,
  kCabinetCannotOpen = 112,
  kCabinetNotACabinet = 113,
  kCabinetNotOneFolder = 114,
};

// Extracts every file of the cabinet at `cabinet_path` into `target_folder` (both wide paths; the folder must
// exist). Returns a `CabinetResult`.
int ExtractCabinet(const wchar_t* cabinet_path, const wchar_t* target_folder);

// The result code for an FDI error number (FDI's ERF.erfOper): 1..11 give 101..111, anything else 100.
int CabinetResultFromFdiError(int fdi_error);

// The path of a cabinet entry inside `target_folder`, or "" when the entry's name is not safe to use there
// (IsSafeRelativeFileName of base/RelativeName.h: no empty, "." or ".." parts, drive, leading separator or
// device name) or the joined path would reach 260 characters. Both "\" and "/" separate parts of a name.
std::wstring CabinetTargetPath(const std::wstring& target_folder, const std::wstring& entry_name);
