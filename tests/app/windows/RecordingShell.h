// RecordingShell: a URL shell for window tests that records what it is asked to open (the parameters given to
// the browser it found) instead of starting a browser, and answers as a successful shell would.
#pragma once

#include <cstdint>
#include <string>
#include <vector>

#include "ui/browser/OpenUrl.h"

class RecordingShell : public UrlShell {
 public:
  std::vector<std::wstring> opened;
  std::wstring ProgramFilesFolder() override { return L"C:\\Program Files"; }
  bool FileExists(const std::wstring&) override { return true; }
  intptr_t Execute(const wchar_t*, const std::wstring&, const wchar_t* parameters) override {
    opened.push_back(parameters != nullptr ? parameters : L"");
    return 33;
  }
};
