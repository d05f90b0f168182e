#include "tests/engine/EngineTestSupport.h"

#include <cstring>
#include <cwchar>

namespace engine_testing {

namespace {

std::string Narrow(const wchar_t* text, size_t limit) {
  std::string out;
  for (size_t i = 0; i < limit && text[i] != 0; ++i)
    out += text[i] < 0x80 ? static_cast<char>(text[i]) : '?';
  return out;
}

std::string Describe(int event, const void* data) {
  std::string text = std::to_string(event);
  if (data == nullptr)
    return text;
  switch (event) {
    case UpdateEventCurrentFile:
      return text + " " + Narrow(static_cast<const wchar_t*>(data), 260);
    case UpdateEventProgress: {
      const UpdateProgress* progress = static_cast<const UpdateProgress*>(data);
      return text + " " + std::to_string(progress->kind) + "," + std::to_string(progress->a) + "," +
             std::to_string(progress->b);
    }
    case UpdateEventStatusChanged:
      return text + " " + std::to_string(static_cast<const UpdateStatus*>(data)->applying);
    case UpdateEventError:
      return text + " " + std::to_string(*static_cast<const int32_t*>(data));
    case UpdateEventFileMismatch:
      return text + " " + Narrow(static_cast<const FileRecord*>(data)->name, 260);
    default:
      return text;
  }
}

}  // namespace

int __cdecl EventLog::Callback(void* user, int event, const void* data) {
  EventLog* log = static_cast<EventLog*>(user);
  std::lock_guard<std::mutex> lock(log->mutex_);
  log->events_.push_back(event);
  log->trace_.push_back(Describe(event, data));
  if (event == UpdateEventFileMismatch && data != nullptr)
    log->mismatches_.push_back(*static_cast<const FileRecord*>(data));
  if (event == UpdateEventError && data != nullptr)
    log->errors_.push_back(*static_cast<const int32_t*>(data));
  return 0;
}

void EventLog::Clear() {
  std::lock_guard<std::mutex> lock(mutex_);
  events_.clear();
  mismatches_.clear();
  errors_.clear();
  trace_.clear();
}

bool EventLog::WaitForEnd(unsigned timeout_ms) const {
  for (unsigned waited = 0;; waited += 20) {
    for (int event : Events()) {
      if (event == UpdateEventCompleted || event == UpdateEventError)
        return true;
    }
    if (waited >= timeout_ms)
      return false;
    Sleep(20);
  }
}

std::vector<int> EventLog::Events() const {
  std::lock_guard<std::mutex> lock(mutex_);
  return events_;
}

std::vector<FileRecord> EventLog::Mismatches() const {
  std::lock_guard<std::mutex> lock(mutex_);
  return mismatches_;
}

std::vector<int32_t> EventLog::Errors() const {
  std::lock_guard<std::mutex> lock(mutex_);
  return errors_;
}

std::vector<std::string> EventLog::Trace() const {
  std::lock_guard<std::mutex> lock(mutex_);
  return trace_;
}

std::vector<std::string> EventLog::SteadyTrace() const {
  std::vector<std::string> steady;
  bool after_file_progress = false;
  for (const std::string& line : Trace()) {
    const bool file_progress = line.rfind("9 1,0,", 0) == 0;
    if (!(file_progress && after_file_progress))
      steady.push_back(line);
    after_file_progress = file_progress;
  }
  return steady;
}

UpdaterParams MakeParams(const std::wstring& install_root, EventLog* log) {
  UpdaterParams params;
  std::memset(&params, 0, sizeof(params));
  params.noSelfUpdate = 1;
  params.userValue = log;
  params.callback = log != nullptr ? &EventLog::Callback : nullptr;
  wcscpy(params.productCode, L"GAME");
  wcscpy(params.programFileName, L"game.exe");
  wcsncpy(params.installRoot, install_root.c_str(), 259);
  std::strcpy(params.patchServerIp, "127.0.0.1");
  std::strcpy(params.downloadHost, "127.0.0.1:8080");
  std::strcpy(params.patchServerHost, "localhost");
  return params;
}

std::string Utf16Bytes(const std::wstring& text) {
  return std::string(reinterpret_cast<const char*>(text.data()), text.size() * sizeof(wchar_t));
}

FileRecord MakeRecord(const std::wstring& name,
                      int32_t registered_version,
                      int32_t version,
                      int32_t size,
                      uint32_t crc) {
  FileRecord record;
  std::memset(&record, 0, sizeof(record));
  wcsncpy(record.name, name.c_str(), 259);
  record.registeredVersion = registered_version;
  record.version = version;
  record.size = size;
  record.crc32 = crc;
  return record;
}

}  // namespace engine_testing
