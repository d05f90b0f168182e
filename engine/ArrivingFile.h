// ArrivingFile: what a fresh download becomes while its bytes arrive, so that a whole file is not read back
// and inflated in a second pass. For a whole file (a zlib stream) the bytes are inflated into the result file
// as they come, bounded by the entry's size, with the size and CRC-32 of what was written; for a new file
// (raw) only its size and CRC-32 are counted (the download itself is the result).
//
// It never fails a download: a damaged stream, a stream longer than its bound, or a result file that cannot be
// made or written abandons the result (its file is deleted), and the worker reads the download back as for a
// resumed one, which reports such a stream as it always did.
//
// Thread: the worker's only (the downloader's sink runs on it). File calls go through the system call table.
#pragma once

#include <windows.h>
#include <zlib.h>

#include <cstdint>
#include <memory>

#include "base/ScopedHandle.h"
#include "engine/InflateFile.h"

class ArrivingFile {
 public:
  enum Form {
    kRaw,   // counted only
    kZlib,  // inflated into the result file
  };

  ArrivingFile() = default;
  ~ArrivingFile();
  ArrivingFile(const ArrivingFile&) = delete;
  ArrivingFile& operator=(const ArrivingFile&) = delete;

  // Starts a result (any earlier one is abandoned). For kZlib, creates `result_path` (replacing a file left
  // there); at most `max_bytes` are inflated. False when it cannot start: nothing is kept then.
  bool Start(Form form, const wchar_t* result_path, uint64_t max_bytes);
  // The next bytes of the download, as they were written to it. Ignored when no result is active.
  void Take(const void* data, size_t bytes);
  // The download ended complete: true when the result is whole (for kZlib the stream ended within its bound),
  // with `*result` its size and CRC-32; its file stays open for MoveOver or Abandon. False otherwise: nothing is
  // kept.
  bool Finish(engine_files::InflatedFile* result);
  // Renames the finished result file over `target` through its open handle, then closes it. A target that
  // refuses (read-only) has its attributes cleared and the rename is made by name. False when it failed (the
  // result is then deleted).
  bool MoveOver(const wchar_t* target);
  // The download failed or was stopped, or its result is not wanted: the result file, if any, is deleted
  // through its open handle and closed.
  void Abandon();

  bool active() const { return active_; }

 private:
  bool EnsureBuffers();

  bool active_ = false;
  Form form_ = kRaw;
  bool stream_ended_ = false;
  bool stream_started_ = false;
  uint64_t max_bytes_ = 0;
  engine_files::InflatedFile counted_;
  wchar_t result_path_[MAX_PATH] = {};
  UniqueHandle result_file_;
  // zlib's state and the output chunk, made at the first zlib result and reused by the next ones.
  std::unique_ptr<z_stream> stream_;
  std::unique_ptr<unsigned char[]> output_;
};
