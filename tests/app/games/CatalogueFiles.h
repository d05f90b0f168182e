// Catalogue files for the tests that serve a catalogue with the HTTP fixture: game lines of a game list, the
// files written below the server's root, and the process-wide state a catalogue load reads (the launcher
// folder as program and current folder, fresh session values, libcurl) set up and given back.
#pragma once

#include <windows.h>

#include <curl/curl.h>

#include <map>
#include <string>

#include "app/session/ProgramPath.h"
#include "app/session/SessionValues.h"
#include "tests/support/TempFolder.h"
#include "tests/support/WinePaths.h"

namespace catalogue_testing {

// A game line of a game list ("GLI"): 28 fields, of which id, title, version, loader type and open are set.
inline std::string GameLine(const std::string& id, int loader, int version, int open = 1) {
  std::string line = id + "#1,2";
  for (int field = 1; field < 27; ++field) {
    line += "|";
    if (field == 15)
      line += "Title " + id;
    else if (field == 16)
      line += std::to_string(version);
    else if (field == 17)
      line += id;
    else if (field == 18)
      line += std::to_string(loader);
    else if (field == 20)
      line += std::to_string(open);
  }
  return line + "|\n";
}

// Writes `files` (paths below `root` with '/' -> content); false when one could not be written.
inline bool WriteServedFiles(const testing_support::TempFolder& root,
                             const std::map<std::string, std::string>& files) {
  for (const auto& file : files) {
    std::wstring relative = testing_support::Utf8ToWide(file.first);
    for (wchar_t& unit : relative)
      unit = unit == L'/' ? L'\\' : unit;
    if (!testing_support::WriteFileBytes(root.Join(relative), file.second))
      return false;
  }
  return true;
}

// While it lives: libcurl is initialised, the session values are fresh, and `launcher` is the program folder
// and the current folder.
class CatalogueProcessState {
 public:
  explicit CatalogueProcessState(const std::wstring& launcher) {
    curl_ready_ = curl_global_init(CURL_GLOBAL_ALL) == CURLE_OK;
    GetSessionValues() = SessionValues{};
    SetExeFolder(launcher.c_str());
    GetCurrentDirectoryW(MAX_PATH, previous_folder_);
    SetCurrentDirectoryW(launcher.c_str());
  }
  ~CatalogueProcessState() {
    SetCurrentDirectoryW(previous_folder_);
    SetExeFolder(nullptr);
    GetSessionValues() = SessionValues{};
    if (curl_ready_)
      curl_global_cleanup();
  }
  CatalogueProcessState(const CatalogueProcessState&) = delete;
  CatalogueProcessState& operator=(const CatalogueProcessState&) = delete;
  bool curl_ready() const { return curl_ready_; }

 private:
  bool curl_ready_ = false;
  wchar_t previous_folder_[MAX_PATH] = {};
};

}  // namespace catalogue_testing
