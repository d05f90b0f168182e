#include "patch/PatchApplier.h"

#include <windows.h>

#include <zstd.h>

#include <memory>
#include <string>

#include "patch/MappedFile.h"
#include "patch/PatchCommandLine.h"
#include "patch/PatchFormat.h"
#include "patch/PatchMaker.h"
#include "patch/PatchW32.h"

namespace patch {

namespace {

// The patch holds the header and at most a frame of an incompressible file of the largest size.
constexpr uint64_t kMaxPatchFileSize = uint64_t{kMaxPatchedFileSize} + (64u << 20);
constexpr wchar_t kTemporarySuffix[] = L".patching";

struct DecompressionContextDeleter {
  void operator()(ZSTD_DCtx* context) const { ZSTD_freeDCtx(context); }
};
using DecompressionContext = std::unique_ptr<ZSTD_DCtx, DecompressionContextDeleter>;

bool WideFromCodePage(UINT code_page, DWORD flags, std::string_view text, std::wstring* wide) {
  if (text.empty())
    return false;
  int length = MultiByteToWideChar(code_page, flags, text.data(), static_cast<int>(text.size()), nullptr, 0);
  if (length <= 0)
    return false;
  wide->assign(static_cast<size_t>(length), L'\0');
  return MultiByteToWideChar(code_page, flags, text.data(), static_cast<int>(text.size()), &(*wide)[0],
                             length) == length;
}

// Decodes `frame` with `reference` as prefix into exactly `new_size` bytes at `out`.
int DecodeFrame(std::string_view frame, std::string_view reference, char* out, uint32_t new_size) {
  size_t frame_size = ZSTD_findFrameCompressedSize(frame.data(), frame.size());
  if (ZSTD_isError(frame_size) || frame_size != frame.size())
    return kPatchCorrupt;  // damaged, truncated, or followed by something else
  if (ZSTD_getFrameContentSize(frame.data(), frame.size()) != new_size)
    return kPatchCorrupt;
  DecompressionContext context(ZSTD_createDCtx());
  if (!context)
    return kPatchInternalError;
  if (ZSTD_isError(ZSTD_DCtx_setParameter(context.get(), ZSTD_d_windowLogMax, kMaxPatchWindowLog)) ||
      ZSTD_isError(ZSTD_DCtx_refPrefix(context.get(), reference.data(), reference.size())))
    return kPatchInternalError;
  char empty_output = 0;
  size_t decoded = ZSTD_decompressDCtx(context.get(), out != nullptr ? out : &empty_output, new_size,
                                       frame.data(), frame.size());
  return !ZSTD_isError(decoded) && decoded == new_size ? kPatchApplied : kPatchCorrupt;
}

// Deletes the temporary file when the apply ends before handing it over.
class TemporaryFileRemover {
 public:
  explicit TemporaryFileRemover(std::wstring path) : path_(std::move(path)) {}
  ~TemporaryFileRemover() {
    if (!path_.empty()) {
      SetFileAttributesW(path_.c_str(), FILE_ATTRIBUTE_NORMAL);
      DeleteFileW(path_.c_str());
    }
  }
  TemporaryFileRemover(const TemporaryFileRemover&) = delete;
  TemporaryFileRemover& operator=(const TemporaryFileRemover&) = delete;
  void Release() { path_.clear(); }

 private:
  std::wstring path_;
};

// Rebuilds the new file into `temporary_path`; on return the file is closed (so the caller can move or delete
// it), and on success its bytes are checked and on disk.
int WriteNewFile(const PatchHeader& header,
                 std::string_view frame,
                 std::string_view old_bytes,
                 const std::wstring& temporary_path) {
  MappedFile output;
  if (output.CreateForWriting(temporary_path, header.new_size) != 0)
    return kPatchTemporaryFileFailed;
  int decoded = DecodeFrame(frame, old_bytes, output.writable_data(), header.new_size);
  if (decoded != kPatchApplied)
    return decoded;
  if (Crc32Of(output.bytes()) != header.new_crc)
    return kPatchNewFileMismatch;
  return output.Flush() == 0 ? kPatchApplied : kPatchTemporaryFileFailed;
}

// Moves the finished temporary file over the target, keeping the target's attributes.
int ReplaceTarget(const std::wstring& temporary_path, const std::wstring& target_path) {
  DWORD attributes = GetFileAttributesW(target_path.c_str());
  if (attributes == INVALID_FILE_ATTRIBUTES || (attributes & FILE_ATTRIBUTE_DIRECTORY))
    return kPatchReplaceFailed;
  bool read_only = (attributes & FILE_ATTRIBUTE_READONLY) != 0;
  // Windows refuses to replace a read-only file; the attribute is put back on the new file below.
  if (read_only && !SetFileAttributesW(target_path.c_str(), attributes & ~FILE_ATTRIBUTE_READONLY))
    return kPatchReplaceFailed;
  if (!MoveFileExW(temporary_path.c_str(), target_path.c_str(),
                   MOVEFILE_REPLACE_EXISTING | MOVEFILE_WRITE_THROUGH)) {
    if (read_only)
      SetFileAttributesW(target_path.c_str(), attributes);
    return kPatchReplaceFailed;
  }
  SetFileAttributesW(target_path.c_str(), attributes);
  return kPatchApplied;
}

// Finds the target named by the header under the folder. The name was checked by the header's decoder.
int ResolveTarget(const PatchCommandLine& command, const PatchHeader& header, std::wstring* target_path) {
  std::wstring folder;
  std::wstring name;
  if (!WideFromCodePage(CP_ACP, 0, command.target_folder, &folder))
    return kPatchBadCommandLine;
  if (!WideFromCodePage(CP_UTF8, MB_ERR_INVALID_CHARS, header.target_name, &name))
    return kPatchUnsafeTarget;
  *target_path = JoinUnderFolder(folder, name);
  // Plain Windows paths end at MAX_PATH, the temporary name included.
  if (target_path->size() + wcslen(kTemporarySuffix) >= MAX_PATH)
    return kPatchUnsafeTarget;
  return kPatchApplied;
}

int ReadPatch(const PatchCommandLine& command,
              MappedFile* patch,
              PatchHeader* header,
              std::string_view* frame) {
  std::wstring patch_path;
  if (!WideFromCodePage(CP_ACP, 0, command.patch_path, &patch_path))
    return kPatchBadCommandLine;
  if (patch->OpenForReading(patch_path) != 0 || patch->MapForReading(kMaxPatchFileSize) != 0)
    return kPatchFileUnreadable;
  size_t header_bytes = 0;
  HeaderResult decoded = DecodePatchHeader(patch->bytes(), header, &header_bytes);
  if (decoded == HeaderResult::kUnsafeName)
    return kPatchUnsafeTarget;
  if (decoded != HeaderResult::kOk)
    return kPatchBadHeader;
  *frame = patch->bytes().substr(header_bytes);
  return kPatchApplied;
}

int CheckOldFile(const std::wstring& target_path, const PatchHeader& header, MappedFile* old_file) {
  if (old_file->OpenForReading(target_path) != 0)
    return kPatchOldFileUnreadable;
  if (old_file->size() != header.old_size)
    return kPatchOldFileMismatch;
  if (old_file->MapForReading(kMaxPatchedFileSize) != 0)
    return kPatchOldFileUnreadable;
  return Crc32Of(old_file->bytes()) == header.old_crc ? kPatchApplied : kPatchOldFileMismatch;
}

}  // namespace

int ApplyPatchCommandLine(std::string_view command_line) {
  PatchCommandLine command;
  if (ParsePatchCommandLine(command_line, &command) != CommandLineResult::kOk)
    return kPatchBadCommandLine;
  MappedFile patch;
  PatchHeader header;
  std::string_view frame;
  int result = ReadPatch(command, &patch, &header, &frame);
  std::wstring target_path;
  if (result == kPatchApplied)
    result = ResolveTarget(command, header, &target_path);
  MappedFile old_file;
  if (result == kPatchApplied)
    result = CheckOldFile(target_path, header, &old_file);
  if (result != kPatchApplied)
    return result;

  std::wstring temporary_path = target_path + kTemporarySuffix;
  TemporaryFileRemover remover(temporary_path);
  result = WriteNewFile(header, frame, old_file.bytes(), temporary_path);
  // The target must be closed before it can be replaced.
  old_file.Close();
  patch.Close();
  if (result == kPatchApplied)
    result = ReplaceTarget(temporary_path, target_path);
  if (result == kPatchApplied)
    remover.Release();
  return result;
}

}  // namespace patch
