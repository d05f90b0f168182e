// Helpers for the tests of the engine's session with the scripted patch server: a callback log that keeps the
// data of each event and lets the test wait for one, list entries written as the server's script wants them,
// and the exact bytes the client is expected to send.
#pragma once

#include <windows.h>

#include <atomic>
#include <chrono>
#include <condition_variable>
#include <cstdint>
#include <cstdio>
#include <functional>
#include <memory>
#include <mutex>
#include <string>
#include <thread>
#include <vector>

#include "engine/QVTesserel.h"
#include "tests/support/Timing.h"

namespace session_testing {

constexpr unsigned kPromptMs = 3000;  // far above a healthy stop, far below a hang

struct LoggedEvent {
  int event = 0;
  int32_t error = 0;               // UpdateEventError
  UpdateProgress progress = {};    // UpdateEventProgress
  int32_t status_entry_count = 0;  // UpdateEventFileCount
};

// Every callback call with its data, in order. Thread-safe.
class SessionLog {
 public:
  // Runs inside the callback, on the engine's thread, after the event is logged.
  std::function<void(int event)> on_event;

  static int __cdecl Callback(void* user, int event, const void* data) {
    static_cast<SessionLog*>(user)->Record(event, data);
    return 0;
  }

  std::vector<int> Events() const {
    std::lock_guard<std::mutex> hold(mutex_);
    std::vector<int> codes;
    for (const LoggedEvent& logged : events_)
      codes.push_back(logged.event);
    return codes;
  }
  std::vector<int32_t> Errors() const {
    std::lock_guard<std::mutex> hold(mutex_);
    std::vector<int32_t> errors;
    for (const LoggedEvent& logged : events_)
      if (logged.event == UpdateEventError)
        errors.push_back(logged.error);
    return errors;
  }
  std::vector<LoggedEvent> All() const {
    std::lock_guard<std::mutex> hold(mutex_);
    return events_;
  }
  // Waits until `event` has been logged; false after `timeout_ms`.
  bool WaitFor(int event, unsigned timeout_ms = 10000) const {
    std::unique_lock<std::mutex> hold(mutex_);
    return changed_.wait_for(hold, std::chrono::milliseconds(timeout_ms), [&] {
      for (const LoggedEvent& logged : events_)
        if (logged.event == event)
          return true;
      return false;
    });
  }

 private:
  void Record(int event, const void* data) {
    LoggedEvent logged;
    logged.event = event;
    if (event == UpdateEventError && data != nullptr)
      logged.error = *static_cast<const int32_t*>(data);
    if (event == UpdateEventProgress && data != nullptr)
      logged.progress = *static_cast<const UpdateProgress*>(data);
    if (event == UpdateEventFileCount && data != nullptr)
      logged.status_entry_count = static_cast<const UpdateStatus*>(data)->entryCount;
    {
      std::lock_guard<std::mutex> hold(mutex_);
      events_.push_back(logged);
    }
    changed_.notify_all();
    if (on_event)
      on_event(event);
  }

  mutable std::mutex mutex_;
  mutable std::condition_variable changed_;
  std::vector<LoggedEvent> events_;
};

// A name as JSON string text: backslashes and quotes escaped, everything outside ASCII as \uXXXX.
inline std::string JsonString(const std::wstring& text) {
  std::string out = "\"";
  for (wchar_t c : text) {
    if (c == L'\\' || c == L'"') {
      out += '\\';
      out += static_cast<char>(c);
    } else if (c >= 0x20 && c < 0x7F) {
      out += static_cast<char>(c);
    } else {
      char escaped[8];
      std::snprintf(escaped, sizeof escaped, "\\u%04x", static_cast<unsigned>(c));
      out += escaped;
    }
  }
  return out + "\"";
}

struct ScriptEntry {
  int32_t sequence;
  int32_t kind;
  int32_t size;
  int32_t version;
  int32_t registered_version;
  uint32_t crc;
  std::wstring name;
  int forced_n = 0;  // not 0: the server cuts or zero-pads the entry's body to this many bytes
};

inline std::string EntryJson(const ScriptEntry& e) {
  std::string json = "{\"seq\": " + std::to_string(e.sequence) + ", \"kind\": " + std::to_string(e.kind) +
                     ", \"size\": " + std::to_string(e.size) + ", \"version\": " + std::to_string(e.version) +
                     ", \"registered_version\": " + std::to_string(e.registered_version) +
                     ", \"crc\": " + std::to_string(e.crc) + ", \"name\": " + JsonString(e.name);
  if (e.forced_n != 0)
    json += ", \"n\": " + std::to_string(e.forced_n);
  return json + "}";
}

inline std::string EntriesJson(const std::vector<ScriptEntry>& entries) {
  std::string json = "[";
  for (size_t i = 0; i < entries.size(); ++i)
    json += (i ? ", " : "") + EntryJson(entries[i]);
  return json + "]";
}

// The 302 fields of a script.
inline std::string VersionJson(int current, int separate, int updater) {
  return "{\"current_version\": " + std::to_string(current) +
         ", \"separate_status\": " + std::to_string(separate) +
         ", \"updater_version\": " + std::to_string(updater) + "}";
}

inline void AppendU32(std::string& out, uint32_t value) {
  for (int shift = 0; shift < 32; shift += 8)
    out += static_cast<char>(value >> shift);
}

// What a client must send: the session request, then the version request.
inline std::string ExpectedRequests(int32_t installed,
                                    int32_t separate,
                                    int32_t updater,
                                    uint8_t no_self_update,
                                    const std::wstring& product) {
  std::string bytes("\x08\x00\x40\x01\x01\x00\x00\x00", 8);
  size_t length = 19 + 2 * product.size();
  bytes += static_cast<char>(length);
  bytes += static_cast<char>(length >> 8);
  bytes += std::string("\x2d\x01", 2);
  AppendU32(bytes, static_cast<uint32_t>(installed));
  AppendU32(bytes, static_cast<uint32_t>(separate));
  AppendU32(bytes, static_cast<uint32_t>(updater));
  bytes += static_cast<char>(no_self_update);
  for (wchar_t c : product) {
    bytes += static_cast<char>(c);
    bytes += static_cast<char>(c >> 8);
  }
  return bytes + std::string(2, '\0');
}

// Writes the versionInfo ini of product GAME.
inline bool WriteVersionIni(const std::wstring& root, int current, int separate, int updater) {
  const wchar_t* path_suffix = L"\\versionInfo_GAME.ini";
  std::wstring path = root + path_suffix;
  return WritePrivateProfileStringW(L"UpdInfo", L"CurrentVersion", std::to_wstring(current).c_str(),
                                    path.c_str()) &&
         WritePrivateProfileStringW(L"UpdInfo", L"SeparateStatus", std::to_wstring(separate).c_str(),
                                    path.c_str()) &&
         WritePrivateProfileStringW(L"UpdInfo", L"UpdaterVersion", std::to_wstring(updater).c_str(),
                                    path.c_str());
}

// Runs `action` on another thread and reports whether it ended within `timeout_ms`, so that a hang fails the
// test instead of stopping the run. The thread is left behind when it hangs.

using testing_support::FinishesWithin;

}  // namespace session_testing
