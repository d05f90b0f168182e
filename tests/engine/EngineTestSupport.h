// Helpers shared by the engine's tests: parameter records, a callback that records what it receives, and the
// bytes of UTF-16LE text.
#pragma once

#include <windows.h>

#include <mutex>
#include <string>
#include <vector>

#include "engine/QVTesserel.h"

namespace engine_testing {

// Every callback call, in order. Thread-safe: the engine calls back from several threads.
class EventLog {
 public:
  static int __cdecl Callback(void* user, int event, const void* data);

  // Forgets everything recorded so far.
  void Clear();
  // Waits until the run ended (UpdateEventCompleted or UpdateEventError); false after `timeout_ms`.
  bool WaitForEnd(unsigned timeout_ms) const;

  std::vector<int> Events() const;
  std::vector<FileRecord> Mismatches() const;
  std::vector<int32_t> Errors() const;
  // Every event with its data in short text: "2", "7", "8 <path>", "9 <kind>,<a>,<b>", "15 <applying>",
  // "17 <code>", "18 <name>" (paths and names as UTF-8).
  std::vector<std::string> Trace() const;
  // The trace with every run of file-progress events ("9 1,0,<percent>") cut to its first: a download sends
  // one per received block, and how many depends on how the bytes arrive.
  std::vector<std::string> SteadyTrace() const;

 private:
  mutable std::mutex mutex_;
  std::vector<int> events_;
  std::vector<FileRecord> mismatches_;
  std::vector<int32_t> errors_;
  std::vector<std::string> trace_;
};

// A zero-filled parameter record for `install_root` and product "GAME": no connection (port 0), IP 127.0.0.1,
// no self-update, events into `log` (may be null).
UpdaterParams MakeParams(const std::wstring& install_root, EventLog* log);

// UTF-16LE bytes of `text` (no byte-order mark).
std::string Utf16Bytes(const std::wstring& text);

FileRecord MakeRecord(const std::wstring& name,
                      int32_t registered_version,
                      int32_t version,
                      int32_t size,
                      uint32_t crc);

}  // namespace engine_testing
