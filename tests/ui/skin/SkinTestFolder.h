// A skin tree for one test: a temporary folder made the current folder (the skin root "data\skin" is relative
// to it), with helpers to write UTF-16 ini files, and every skin and virtual-file state reset around the
// test.
#pragma once

#include <windows.h>

#include <gtest/gtest.h>

#include <string>

#include "tests/support/TempFolder.h"
#include "ui/base/VirtualFile.h"
#include "ui/skin/SkinLoader.h"

namespace testing_support {

inline std::string Utf16IniBytes(const std::wstring& text) {
  std::string bytes = "\xFF\xFE";
  for (wchar_t unit : text) {
    bytes.push_back(static_cast<char>(unit & 0xFF));
    bytes.push_back(static_cast<char>((unit >> 8) & 0xFF));
  }
  return bytes;
}

class SkinTest : public ::testing::Test {
 protected:
  void SetUp() override {
    wchar_t previous[MAX_PATH];
    ASSERT_NE(0u, GetCurrentDirectoryW(MAX_PATH, previous));
    previous_folder_ = previous;
    ASSERT_TRUE(SetCurrentDirectoryW(folder_.path().c_str()));
    Reset();
  }
  void TearDown() override {
    Reset();
    SetCurrentDirectoryW(previous_folder_.c_str());
  }

  void Reset() {
    SkinLoader::UnloadSkinInfo();
    SetCurrentSkin(nullptr);
    TakeSkinChange();
    ReleaseAllVirtualFiles();
  }

  // Writes `bytes` to `relative` under the current folder.
  void Write(const std::wstring& relative, const std::string& bytes) {
    ASSERT_TRUE(WriteFileBytes(folder_.Join(relative), bytes));
  }
  void WriteIni(const std::wstring& relative, const std::wstring& text) {
    Write(relative, Utf16IniBytes(text));
  }

  // A skin_info.ini with one category per entry of `categories`: {id, path, skin_path}.
  void WriteSkinInfo(std::initializer_list<std::initializer_list<const wchar_t*>> categories) {
    std::wstring text = L"[CATEGORY]\r\ncount=" + std::to_wstring(categories.size()) + L"\r\n";
    int index = 0;
    for (const auto& category : categories) {
      const wchar_t* const* field = category.begin();
      text += L"[CATEGORY_" + std::to_wstring(index++) + L"]\r\nid=" + field[0] + L"\r\npath=" + field[1] +
              L"\r\nskin_path=" + field[2] + L"\r\n";
    }
    WriteIni(L"data\\skin\\skin_info.ini", text);
  }

  TempFolder folder_{L"skin"};
  std::wstring previous_folder_;
};

}  // namespace testing_support
