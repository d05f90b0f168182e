#include "patch/PatchMaker.h"

#include <zstd.h>

#include <memory>

namespace patch {

namespace {

struct CompressionContextDeleter {
  void operator()(ZSTD_CCtx* context) const { ZSTD_freeCCtx(context); }
};
using CompressionContext = std::unique_ptr<ZSTD_CCtx, CompressionContextDeleter>;

bool Configure(ZSTD_CCtx* context, size_t old_size, size_t new_size, int level) {
  auto set = [context](ZSTD_cParameter parameter, int value) {
    return !ZSTD_isError(ZSTD_CCtx_setParameter(context, parameter, value));
  };
  return set(ZSTD_c_compressionLevel, level) && set(ZSTD_c_windowLog, PatchWindowLog(old_size, new_size)) &&
         set(ZSTD_c_enableLongDistanceMatching, old_size >= kLongDistanceMatchingFrom ? 1 : 0) &&
         set(ZSTD_c_contentSizeFlag, 1) && set(ZSTD_c_checksumFlag, 0);
}

}  // namespace

int PatchWindowLog(size_t old_size, size_t new_size) {
  unsigned long long reach = static_cast<unsigned long long>(old_size) + new_size;
  int log = kMinPatchWindowLog;
  while (log < kMaxPatchWindowLog && (1ull << log) < reach)
    ++log;
  return log;
}

MakeResult MakePatch(std::string_view old_bytes,
                     std::string_view new_bytes,
                     const std::string& target_name,
                     int level,
                     std::string* patch) {
  PatchHeader header;
  header.target_name = target_name;
  if (old_bytes.size() > kMaxPatchedFileSize || new_bytes.size() > kMaxPatchedFileSize)
    return MakeResult::kBadHeader;
  header.old_size = static_cast<uint32_t>(old_bytes.size());
  header.old_crc = Crc32Of(old_bytes);
  header.new_size = static_cast<uint32_t>(new_bytes.size());
  header.new_crc = Crc32Of(new_bytes);
  std::string out;
  if (EncodePatchHeader(header, &out) != HeaderResult::kOk)
    return MakeResult::kBadHeader;

  CompressionContext context(ZSTD_createCCtx());
  if (!context || !Configure(context.get(), old_bytes.size(), new_bytes.size(), level))
    return MakeResult::kCompressionFailed;
  // The prefix is referenced, not copied: old_bytes must stay alive until ZSTD_compress2 returns.
  if (ZSTD_isError(ZSTD_CCtx_refPrefix(context.get(), old_bytes.data(), old_bytes.size())))
    return MakeResult::kCompressionFailed;
  size_t header_bytes = out.size();
  out.resize(header_bytes + ZSTD_compressBound(new_bytes.size()));
  size_t written = ZSTD_compress2(context.get(), &out[header_bytes], out.size() - header_bytes,
                                  new_bytes.data(), new_bytes.size());
  if (ZSTD_isError(written))
    return MakeResult::kCompressionFailed;
  out.resize(header_bytes + written);
  patch->swap(out);
  return MakeResult::kOk;
}

}  // namespace patch
