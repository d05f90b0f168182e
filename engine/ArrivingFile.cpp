#include "engine/ArrivingFile.h"

#include <cwchar>
#include <new>

#include "engine/SystemCalls.h"

ArrivingFile::~ArrivingFile() {
  Abandon();
  if (stream_started_)
    inflateEnd(stream_.get());
}

bool ArrivingFile::EnsureBuffers() {
  if (!output_)
    output_.reset(new (std::nothrow) unsigned char[engine_files::kInflateChunkSize]);
  if (!stream_) {
    stream_.reset(new (std::nothrow) z_stream());
    if (stream_ && inflateInit(stream_.get()) != Z_OK)
      stream_.reset();
    stream_started_ = static_cast<bool>(stream_);
  }
  return output_ && stream_;
}

bool ArrivingFile::Start(Form form, const wchar_t* result_path, uint64_t max_bytes) {
  Abandon();
  form_ = form;
  max_bytes_ = max_bytes;
  counted_ = engine_files::InflatedFile();
  stream_ended_ = false;
  if (form == kZlib) {
    if (result_path == nullptr || wcslen(result_path) >= MAX_PATH || !EnsureBuffers() ||
        inflateReset(stream_.get()) != Z_OK)
      return false;
    wcscpy(result_path_, result_path);
    // DELETE access: the result is renamed over its target, or deleted, through this handle.
    result_file_.reset(system_calls().create_file(result_path, GENERIC_WRITE | DELETE, 0, nullptr,
                                                  CREATE_ALWAYS, FILE_ATTRIBUTE_NORMAL, nullptr));
    if (!result_file_)
      return false;
  }
  active_ = true;
  return true;
}

void ArrivingFile::Take(const void* data, size_t bytes) {
  if (!active_ || bytes == 0)
    return;
  unsigned char* input = static_cast<unsigned char*>(const_cast<void*>(data));
  if (form_ == kRaw) {
    counted_.size += bytes;
    counted_.crc32 = static_cast<uint32_t>(crc32(counted_.crc32, input, static_cast<uInt>(bytes)));
    return;
  }
  // Bytes after the end of the stream are not part of the file; a whole-file read ignores them too.
  if (stream_ended_)
    return;
  const int result = engine_files::InflateInput(stream_.get(), input, static_cast<DWORD>(bytes),
                                                output_.get(), result_file_.get(), max_bytes_, &counted_);
  if (result == Z_STREAM_END)
    stream_ended_ = true;
  else if (result != Z_OK && result != Z_BUF_ERROR)
    Abandon();
}

bool ArrivingFile::Finish(engine_files::InflatedFile* result) {
  if (!active_ || (form_ == kZlib && !stream_ended_)) {
    Abandon();
    return false;
  }
  active_ = false;
  *result = counted_;
  return true;
}

bool ArrivingFile::MoveOver(const wchar_t* target) {
  if (!result_file_)
    return false;
  if (RenameOpenFile(result_file_.get(), target)) {
    result_file_.reset();
    return true;
  }
  const DWORD error = GetLastError();
  result_file_.reset();
  if (error == ERROR_ACCESS_DENIED) {
    SetFileAttributesW(target, FILE_ATTRIBUTE_ARCHIVE);
    if (system_calls().move_file(result_path_, target, MOVEFILE_REPLACE_EXISTING))
      return true;
  }
  system_calls().delete_file(result_path_);
  return false;
}

void ArrivingFile::Abandon() {
  active_ = false;
  if (!result_file_)
    return;
  const bool marked = DeleteOpenFile(result_file_.get());
  result_file_.reset();
  if (!marked)
    system_calls().delete_file(result_path_);
}
