// Inflates a file that holds one zlib stream into another file. No state; any thread.
#pragma once

#include <windows.h>
#include <zlib.h>

#include <cstdint>

#include "base/ScopedHandle.h"

namespace engine_files {

// Input and output are moved in chunks of this size.
constexpr unsigned kInflateChunkSize = 163840;

// What InflateFile wrote: the bytes and their CRC-32, counted on the way, so a caller that checks the result
// need not read the file again.
struct InflatedFile {
  uint64_t size = 0;
  uint32_t crc32 = 0;
};

enum InflateResult {
  kInflateFailed = 0,
  kInflated = 1,
};

// No bound on the inflated size.
constexpr uint64_t kUnboundedInflate = UINT64_MAX;

// Inflates `source` (an open file, read from its current position; closed in every case) into `target`
// (created or replaced). kInflated when the whole stream was inflated and written; kInflateFailed when the
// target cannot be created, a read or write fails, the stream is damaged or ends early, or it would inflate to
// more than `max_bytes` (a small stream can expand a thousandfold: the caller bounds it by the size it
// expects, and no more than that is ever written). A failure leaves what was written in `target`. `written` (may be null)
// receives the size and CRC-32 of what was written.
InflateResult InflateFile(UniqueHandle source,
                          const wchar_t* target,
                          InflatedFile* written = nullptr,
                          uint64_t max_bytes = kUnboundedInflate);

// One step of an inflation: feeds `input_bytes` of `input` to `stream` and writes every output chunk (through
// `output`, kInflateChunkSize bytes) to `target`, counting it into `written`. The zlib result that ends the
// step: Z_OK or Z_BUF_ERROR (more input wanted), Z_STREAM_END, or an error (Z_ERRNO for a failed write,
// Z_MEM_ERROR for output beyond `max_bytes`, which is then not written).
int InflateInput(z_stream* stream,
                 unsigned char* input,
                 DWORD input_bytes,
                 unsigned char* output,
                 HANDLE target,
                 uint64_t max_bytes,
                 InflatedFile* written);

}  // namespace engine_files
