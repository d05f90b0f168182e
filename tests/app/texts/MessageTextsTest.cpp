// The two message tables: which files count, what a missing text falls back to, and the splash font.
#include <windows.h>

#include <gtest/gtest.h>

#include <string>

#include "app/texts/MessageTexts.h"
#include "tests/support/TempFolder.h"
#include "tests/ui/base/PackWriter.h"
#include "ui/base/VirtualFile.h"

namespace testing_support {
namespace {

std::string Utf16File(const std::wstring& text) {
  std::string bytes = "\xFF\xFE";
  for (wchar_t unit : text) {
    bytes.push_back(static_cast<char>(unit & 0xFF));
    bytes.push_back(static_cast<char>(unit >> 8));
  }
  return bytes;
}

LOGFONTW FontOf(HFONT font) {
  LOGFONTW description = {};
  EXPECT_EQ(static_cast<int>(sizeof description), GetObjectW(font, sizeof description, &description));
  return description;
}

TEST(LauncherMessagePath, ReplacesTheProgramsFileName) {
  wchar_t path[MAX_PATH];
  ASSERT_TRUE(LauncherMessagePathFor(L"C:\\Games\\Orvane\\orvaneLauncher.exe", path, MAX_PATH));
  EXPECT_STREQ(L"C:\\Games\\Orvane\\LauncherMessage.ini", path);
  ASSERT_TRUE(LauncherMessagePathFor(L"orvaneLauncher.exe", path, MAX_PATH));
  EXPECT_STREQ(L"LauncherMessage.ini", path);
  // Too long for the buffer: refused, not cut.
  EXPECT_FALSE(LauncherMessagePathFor((std::wstring(250, L'x') + L"\\a.exe").c_str(), path, MAX_PATH));
  EXPECT_STREQ(L"", path);
}

class LauncherMessagesTest : public ::testing::Test {
 protected:
  void SetUp() override { ReleaseAllVirtualFiles(); }
  void TearDown() override {
    ReleaseLauncherMessages();
    ReleaseAllVirtualFiles();
  }
  int LoadWith(const std::string& bytes) {
    EXPECT_TRUE(WriteFileBytes(folder_.Join(L"LauncherMessage.ini"), bytes));
    return LoadLauncherMessagesFor(folder_.Join(L"orvaneLauncher.exe").c_str());
  }
  void ExpectKeysAsTexts() {
    const wchar_t* key = L"Launcher";
    EXPECT_EQ(key, GetLauncherMessage(key));
    EXPECT_STREQ(L"error", GetLauncherMessage(L"error"));
    EXPECT_STREQ(L"", GetLauncherMessage(nullptr));
    EXPECT_EQ(nullptr, LauncherMessageTable());
    EXPECT_EQ(nullptr, GetLauncherMessageFont().font);
  }
  TempFolder folder_{L"messages"};
};

TEST_F(LauncherMessagesTest, WithoutTheFileTheKeysAreTheTexts) {
  EXPECT_EQ(0, LoadLauncherMessagesFor(folder_.Join(L"orvaneLauncher.exe").c_str()));
  ExpectKeysAsTexts();
}

TEST_F(LauncherMessagesTest, FilesWithoutTheUtf16MarkAreIgnoredWhole) {
  const std::string refused[] = {"", "\xFF", "\xEF\xBB\xBF[MESSAGE]\r\nerror=Fehler\r\n",
                                 "[MESSAGE]\r\nerror=Fehler\r\n"};
  for (const std::string& bytes : refused) {
    EXPECT_EQ(0, LoadWith(bytes)) << bytes;
    ExpectKeysAsTexts();
  }
}

TEST_F(LauncherMessagesTest, TextsAndFontComeFromTheFile) {
  ASSERT_EQ(1,
            LoadWith(Utf16File(L"[MESSAGE]\r\nLauncher=Orvane\r\nerror=Fehler\r\n"
                               L"[FONT]\r\nsize=20\r\nname=Tahoma\r\ncharset=1\r\ngap_x=7\r\ngap_y=9\r\n")));
  EXPECT_STREQ(L"Orvane", GetLauncherMessage(L"Launcher"));
  EXPECT_STREQ(L"Fehler", GetLauncherMessage(L"error"));
  EXPECT_STREQ(L"initializing", GetLauncherMessage(L"initializing"));
  EXPECT_NE(nullptr, LauncherMessageTable());
  const LauncherMessageFont& font = GetLauncherMessageFont();
  ASSERT_NE(nullptr, font.font);
  EXPECT_EQ(7, font.gap_x);
  EXPECT_EQ(9, font.gap_y);
  LOGFONTW description = FontOf(font.font);
  EXPECT_EQ(20, description.lfHeight);
  EXPECT_STREQ(L"Tahoma", description.lfFaceName);
  EXPECT_EQ(1, description.lfCharSet);

  ReleaseLauncherMessages();
  ExpectKeysAsTexts();
  EXPECT_EQ(5, GetLauncherMessageFont().gap_x);
}

TEST_F(LauncherMessagesTest, MissingFontSectionGivesTheDefaultFont) {
  ASSERT_EQ(1, LoadWith(Utf16File(L"[MESSAGE]\r\nerror=Fehler\r\n[Font]\r\nsize=30\r\n")));
  const LauncherMessageFont& font = GetLauncherMessageFont();
  ASSERT_NE(nullptr, font.font);
  EXPECT_EQ(5, font.gap_x);
  EXPECT_EQ(5, font.gap_y);
  LOGFONTW description = FontOf(font.font);
  EXPECT_EQ(16, description.lfHeight);
  EXPECT_EQ(0, description.lfWidth);
  EXPECT_EQ(FW_NORMAL, description.lfWeight);
  EXPECT_EQ(0, description.lfItalic | description.lfUnderline | description.lfStrikeOut);
  EXPECT_EQ(0, description.lfCharSet);
  EXPECT_EQ(OUT_CHARACTER_PRECIS, description.lfOutPrecision);
  EXPECT_EQ(CLIP_CHARACTER_PRECIS, description.lfClipPrecision);
  EXPECT_EQ(NONANTIALIASED_QUALITY, description.lfQuality);
  EXPECT_STREQ(L"Arial", description.lfFaceName);
}

TEST_F(LauncherMessagesTest, LoadingAgainReplacesTheTable) {
  ASSERT_EQ(1, LoadWith(Utf16File(L"[MESSAGE]\r\nerror=first\r\n")));
  ASSERT_EQ(1, LoadWith(Utf16File(L"[MESSAGE]\r\nerror=second\r\n")));
  EXPECT_STREQ(L"second", GetLauncherMessage(L"error"));
  EXPECT_EQ(0, LoadWith("not a table"));
  ExpectKeysAsTexts();
}

// The application table is read relative to the current folder, as the program reads it from its own folder.
class AppMessagesTest : public ::testing::Test {
 protected:
  void SetUp() override {
    ReleaseAllVirtualFiles();
    GetCurrentDirectoryW(MAX_PATH, previous_folder_);
    ASSERT_TRUE(SetCurrentDirectoryW(folder_.path().c_str()));
  }
  void TearDown() override {
    ReleaseAppMessages();
    ReleaseAllVirtualFiles();
    SetCurrentDirectoryW(previous_folder_);
  }
  void Write(const std::wstring& relative, const std::string& bytes) {
    ASSERT_TRUE(WriteFileBytes(folder_.Join(relative), bytes));
  }
  TempFolder folder_{L"appmessages"};
  wchar_t previous_folder_[MAX_PATH] = {};
};

TEST_F(AppMessagesTest, WithoutTheFileThereAreNoTexts) {
  EXPECT_EQ(0, LoadAppMessages());
  EXPECT_EQ(nullptr, AppMessageTable());
  EXPECT_EQ(nullptr, GetAppMessage(L"need_update"));
  EXPECT_STREQ(L"unknown error", GetAppMessageOrUnknown(L"need_update"));
}

TEST_F(AppMessagesTest, TextsComeFromThePackedSkinData) {
  Write(
      L"data\\skin.pak",
      PackWriter().Add(L"appmessage.INI", Utf16File(L"[MESSAGE]\r\nneed_update=Update %s now\r\n")).Bytes());
  ASSERT_EQ(1, LoadAppMessages());
  EXPECT_STREQ(L"Update %s now", GetAppMessage(L"need_update"));
  EXPECT_EQ(nullptr, GetAppMessage(L"game_is_running"));
  EXPECT_STREQ(L"unknown error", GetAppMessageOrUnknown(L"game_is_running"));
  EXPECT_NE(nullptr, AppMessageTable());
  ReleaseAppMessages();
  EXPECT_EQ(nullptr, GetAppMessage(L"need_update"));
}

TEST_F(AppMessagesTest, LooseUtf8FileWinsOverThePackAndIsIgnored) {
  Write(L"data\\skin.pak",
        PackWriter().Add(L"AppMessage.ini", Utf16File(L"[MESSAGE]\r\nneed_update=packed\r\n")).Bytes());
  Write(L"data\\skin\\AppMessage.ini", "\xEF\xBB\xBF[MESSAGE]\r\nneed_update=utf8\r\n");
  EXPECT_EQ(0, LoadAppMessages());
  EXPECT_EQ(nullptr, GetAppMessage(L"need_update"));
}

}  // namespace
}  // namespace testing_support
