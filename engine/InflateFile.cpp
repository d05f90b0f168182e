#include "engine/InflateFile.h"
#include "engine/SystemCalls.h"

#include <zlib.h>

#include <memory>
#include <new>

namespace engine_files {

namespace {

// zlib's stream state, ended with the owner.
class InflateStream {
 public:
  InflateStream() { ok_ = inflateInit(&stream_) == Z_OK; }
  ~InflateStream() {
    if (ok_)
      inflateEnd(&stream_);
  }
  InflateStream(const InflateStream&) = delete;
  InflateStream& operator=(const InflateStream&) = delete;

  bool ok() const { return ok_; }
  z_stream* get() { return &stream_; }

 private:
  z_stream stream_{};
  bool ok_ = false;
};

bool WriteAll(HANDLE file, const unsigned char* data, DWORD bytes) {
  DWORD written = 0;
  return bytes == 0 || (system_calls().write_file(file, data, bytes, &written, nullptr) && written == bytes);
}

}  // namespace

int InflateInput(z_stream* stream,
                 unsigned char* input,
                 DWORD input_bytes,
                 unsigned char* output,
                 HANDLE target,
                 uint64_t max_bytes,
                 InflatedFile* written) {
  stream->next_in = input;
  stream->avail_in = input_bytes;
  int result;
  do {
    stream->next_out = output;
    stream->avail_out = kInflateChunkSize;
    result = inflate(stream, Z_NO_FLUSH);
    if (result != Z_OK && result != Z_STREAM_END && result != Z_BUF_ERROR)
      return result;
    const DWORD produced = kInflateChunkSize - stream->avail_out;
    if (produced > max_bytes - written->size)
      return Z_MEM_ERROR;
    if (!WriteAll(target, output, produced))
      return Z_ERRNO;
    written->size += produced;
    written->crc32 = static_cast<uint32_t>(crc32(written->crc32, output, produced));
  } while (stream->avail_out == 0 && result != Z_STREAM_END);
  return result;
}

namespace {

// InflateFile with the counts always kept.
InflateResult InflateInto(UniqueHandle source,
                          const wchar_t* target,
                          uint64_t max_bytes,
                          InflatedFile* written) {
  if (!source || target == nullptr)
    return kInflateFailed;
  UniqueHandle output_file(system_calls().create_file(target, GENERIC_WRITE, 0, nullptr, CREATE_ALWAYS,
                                                      FILE_ATTRIBUTE_NORMAL, nullptr));
  if (!output_file)
    return kInflateFailed;
  std::unique_ptr<unsigned char[]> input(new (std::nothrow) unsigned char[kInflateChunkSize]);
  std::unique_ptr<unsigned char[]> output(new (std::nothrow) unsigned char[kInflateChunkSize]);
  InflateStream stream;
  if (!input || !output || !stream.ok())
    return kInflateFailed;

  int result = Z_OK;
  while (result != Z_STREAM_END) {
    DWORD read = 0;
    if (!system_calls().read_file(source.get(), input.get(), kInflateChunkSize, &read, nullptr))
      return kInflateFailed;
    if (read == 0)
      break;
    result =
        InflateInput(stream.get(), input.get(), read, output.get(), output_file.get(), max_bytes, written);
    if (result != Z_OK && result != Z_STREAM_END && result != Z_BUF_ERROR)
      return kInflateFailed;
  }
  return result == Z_STREAM_END ? kInflated : kInflateFailed;
}

}  // namespace

InflateResult InflateFile(UniqueHandle source,
                          const wchar_t* target,
                          InflatedFile* written,
                          uint64_t max_bytes) {
  InflatedFile counted;
  const InflateResult result = InflateInto(std::move(source), target, max_bytes, &counted);
  if (written != nullptr)
    *written = counted;
  return result;
}

}  // namespace engine_files
