// The game-argument tail and the single-instance hand-over record between two launchers.
#include <windows.h>

#include <gtest/gtest.h>

#include <cstring>
#include <string>
#include <vector>

#include "app/session/GameArgs.h"
#include "app/session/HandOver.h"
#include "app/session/ParameterFile.h"
#include "app/session/SessionValues.h"
#include "tests/support/TempFolder.h"

namespace {

std::wstring Environment(const wchar_t* name) {
  wchar_t value[2048];
  DWORD length = GetEnvironmentVariableW(name, value, 2048);
  return length == 0 || length >= 2048 ? L"<unset>" : value;
}

std::wstring TailFor(const std::wstring& command_line) {
  ParseCommandLineText(command_line.c_str(), nullptr);
  ReleaseParameterBuffer();
  wchar_t tail[1024];
  EXPECT_TRUE(FormatGameArgsTail(GetSessionValues(), tail, 1024));
  return tail;
}

TEST(GameArgsTail, HoldsTheFiveItemsInOrder) {
  EXPECT_EQ(
      L"/SessKey:\"k1\" /MacAddr:\"00AA\" /UserNick:\"Nick Name\" /CompanyID:\"12\" "
      L"/ChannelGroupIndex:\"-1\"",
      TailFor(L"l.exe /UserNick:\"Nick Name\" /SessKey:k1 /MacAddr:00AA /CompanyID:12 /GameID:g"));
  EXPECT_EQ(L"/SessKey:\"\" /MacAddr:\"\" /UserNick:\"\" /CompanyID:\"0\" /ChannelGroupIndex:\"-1\"",
            TailFor(L"l.exe"));
}

TEST(GameArgsTail, ValuesCannotBreakTheirQuotes) {
  // A literal quote reaches the value through \" on the command line; it is dropped from the tail.
  EXPECT_EQ(
      L"/SessKey:\"ab\" /MacAddr:\"\" /UserNick:\"a b /x:y\" /CompanyID:\"-3\" /ChannelGroupIndex:\"-1\"",
      TailFor(L"l.exe /SessKey:a\\\"b /UserNick:\"a b\\\" /x:y\" /CompanyID:-3"));
  // Trailing backslashes are doubled so the closing quote stays a quote; inner ones stay as they are.
  EXPECT_EQ(
      L"/SessKey:\"a\\b\\\\\" /MacAddr:\"\" /UserNick:\"c\\\\\\\\\" /CompanyID:\"0\" "
      L"/ChannelGroupIndex:\"-1\"",
      TailFor(L"l.exe /SessKey:a\\b\\ /UserNick:c\\\\"));
}

TEST(GameArgsTail, IsCutWithinItsBuffer) {
  ParseCommandLineText(L"l.exe /UserNick:nick", nullptr);
  ReleaseParameterBuffer();
  wchar_t tail[20];
  EXPECT_FALSE(FormatGameArgsTail(GetSessionValues(), tail, 20));
  EXPECT_STREQ(L"/SessKey:\"\" /MacAdd", tail);
}

TEST(GameArgsTail, BuildGameArgsRebuildsTheProcessWideTail) {
  TailFor(L"l.exe /SessKey:first");
  BuildGameArgs();
  TailFor(L"l.exe /SessKey:second");
  BuildGameArgs();
  EXPECT_EQ(0, std::wcsncmp(GetGameArgsTail(), L"/SessKey:\"second\" ", 18)) << GetGameArgsTail();
  EXPECT_TRUE(GameArgsSupported());
}

class HandOverTest : public ::testing::Test {
 protected:
  void SetUp() override {
    ParseCommandLineText(
        L"l.exe /SessKey:oldkey /UserNick:old /StartGameID:oldgame /GPVLU:oldv /GPLLV:oldl "
        L"/GameVersion:7 /MacAddr:mac",
        nullptr);
    ReleaseParameterBuffer();
    SetEnvironmentVariableW(L"StartGameID", L"oldgame");
  }

  static HandOverRecord Record(const wchar_t* key, const wchar_t* nick, const wchar_t* game) {
    HandOverRecord record = {};
    std::wcscpy(record.SessKey, key);
    std::wcscpy(record.UserNick, nick);
    std::wcscpy(record.StartGameID, game);
    record.GameVersion = 99;
    std::wcscpy(record.GPVLU, L"newv");
    std::wcscpy(record.GPLLV, L"newl");
    return record;
  }

  static COPYDATASTRUCT Message(HandOverRecord* record) {
    COPYDATASTRUCT data = {};
    data.dwData = kHandOverMessageId;
    data.cbData = sizeof *record;
    data.lpData = record;
    return data;
  }

  static void ExpectUnchanged() {
    const SessionValues& values = GetSessionValues();
    EXPECT_STREQ(L"oldkey", values.SessKey);
    EXPECT_STREQ(L"old", values.UserNick);
    EXPECT_STREQ(L"oldgame", values.StartGameID);
    EXPECT_STREQ(L"oldv", values.GPVLU);
  }
};

TEST_F(HandOverTest, FillsTheRecordAtItsWireOffsets) {
  PrepareHandOverRecord();
  HandOverRecord record;
  FillHandOverRecord(&record);
  const unsigned char* bytes = reinterpret_cast<const unsigned char*>(&record);
  auto text_at = [bytes](size_t offset) {
    return std::wstring(reinterpret_cast<const wchar_t*>(bytes + offset));
  };
  EXPECT_EQ(L"oldkey", text_at(0x000));
  EXPECT_EQ(L"old", text_at(0x080));
  EXPECT_EQ(L"oldgame", text_at(0x100));
  EXPECT_EQ(7, bytes[0x180] | bytes[0x181] << 8 | bytes[0x182] << 16 | bytes[0x183] << 24);
  EXPECT_EQ(L"oldv", text_at(0x184));
  EXPECT_EQ(L"oldl", text_at(0x984));
}

TEST_F(HandOverTest, TheReceiverTakesTheValuesOver) {
  HandOverRecord record = Record(L"newkey", L"new nick", L"newgame");
  COPYDATASTRUCT data = Message(&record);
  EXPECT_EQ(1, ReceiveHandOver(&data));

  const SessionValues& values = GetSessionValues();
  EXPECT_STREQ(L"newkey", values.SessKey);
  EXPECT_STREQ(L"new nick", values.UserNick);
  EXPECT_STREQ(L"newgame", values.StartGameID);
  EXPECT_STREQ(L"newv", values.GPVLU);
  EXPECT_STREQ(L"newl", values.GPLLV);
  EXPECT_EQ(7, values.GameVersion);  // the record's version is not read
  EXPECT_EQ(L"newkey", Environment(L"SessKey"));
  EXPECT_EQ(L"new nick", Environment(L"UserNick"));
  EXPECT_EQ(L"newv", Environment(L"GPVLU"));
  EXPECT_EQ(L"oldgame", Environment(L"StartGameID"));

  const HandOverValues& copies = GetHandOverValues();
  EXPECT_EQ(1, copies.prepared);
  EXPECT_STREQ(L"new nick", copies.UserNick);
  EXPECT_STREQ(L"newgame", copies.StartGameID);
  EXPECT_EQ(
      L"/SessKey:\"newkey\" /MacAddr:\"mac\" /UserNick:\"new nick\" /CompanyID:\"0\" "
      L"/ChannelGroupIndex:\"-1\"",
      std::wstring(GetGameArgsTail()));
}

TEST_F(HandOverTest, IgnoresAnythingButAWholeRecord) {
  HandOverRecord record = Record(L"newkey", L"new", L"newgame");
  COPYDATASTRUCT data = Message(&record);
  EXPECT_EQ(0, ReceiveHandOver(nullptr));
  data.dwData = kHandOverMessageId + 1;
  EXPECT_EQ(0, ReceiveHandOver(&data));
  data = Message(&record);
  for (DWORD size : {0u, 2467u, 2469u}) {
    data.cbData = size;
    EXPECT_EQ(0, ReceiveHandOver(&data)) << size;
  }
  data = Message(&record);
  data.lpData = nullptr;
  EXPECT_EQ(0, ReceiveHandOver(&data));
  ExpectUnchanged();
}

TEST_F(HandOverTest, TerminatesEveryTextOfAReceivedRecord) {
  // A sender that fills every field to the last unit, terminators included.
  std::vector<wchar_t> units(sizeof(HandOverRecord) / sizeof(wchar_t), L'x');
  COPYDATASTRUCT data = {};
  data.dwData = kHandOverMessageId;
  data.cbData = sizeof(HandOverRecord);
  data.lpData = units.data();
  ASSERT_EQ(1, ReceiveHandOver(&data));
  const SessionValues& values = GetSessionValues();
  EXPECT_EQ(std::wstring(35, L'x'), values.SessKey);
  EXPECT_EQ(std::wstring(63, L'x'), values.UserNick);
  EXPECT_EQ(std::wstring(63, L'x'), values.StartGameID);
  EXPECT_EQ(std::wstring(1023, L'x'), values.GPVLU);
  EXPECT_EQ(std::wstring(15, L'x'), values.GPLLV);
}

// A stand-in for the running launcher's main window: it keeps what WM_COPYDATA brought and takes it over.
std::string g_received_bytes;
ULONG_PTR g_received_id = 0;

LRESULT CALLBACK ReceiverProcedure(HWND window, UINT message, WPARAM wparam, LPARAM lparam) {
  if (message == WM_COPYDATA) {
    const COPYDATASTRUCT* data = reinterpret_cast<const COPYDATASTRUCT*>(lparam);
    g_received_id = data->dwData;
    g_received_bytes.assign(static_cast<const char*>(data->lpData), data->cbData);
    return ReceiveHandOver(data);
  }
  return DefWindowProcW(window, message, wparam, lparam);
}

TEST_F(HandOverTest, SendsTheRecordToTheRunningLaunchersWindow) {
  WNDCLASSW window_class = {};
  window_class.lpfnWndProc = ReceiverProcedure;
  window_class.hInstance = GetModuleHandleW(nullptr);
  window_class.lpszClassName = L"HandOverReceiverTest";
  ASSERT_NE(0, RegisterClassW(&window_class));
  HWND window = CreateWindowW(L"HandOverReceiverTest", L"Orvane hand-over test", WS_OVERLAPPED, 0, 0, 10, 10,
                              nullptr, nullptr, window_class.hInstance, nullptr);
  ASSERT_NE(nullptr, window);
  EXPECT_EQ(window, FindWindowW(nullptr, L"Orvane hand-over test"));

  EXPECT_FALSE(SendHandOver(nullptr));
  EXPECT_TRUE(SendHandOver(window));
  EXPECT_EQ(kHandOverMessageId, g_received_id);
  PrepareHandOverRecord();
  HandOverRecord expected;
  FillHandOverRecord(&expected);
  ASSERT_EQ(sizeof expected, g_received_bytes.size());
  EXPECT_EQ(0, std::memcmp(&expected, g_received_bytes.data(), sizeof expected));
  ExpectUnchanged();
  DestroyWindow(window);
}

TEST(LauncherVersionDiffers, ComparesTheLauncherInfoVersionWithTheSession) {
  testing_support::TempFolder folder(L"handover");
  std::wstring ini = folder.Join(L"ZEPHLauncherInfo.ini");
  SetGameVersion(0);
  EXPECT_FALSE(LauncherVersionDiffers(ini.c_str()));  // no file: version 0
  SetGameVersion(12);
  EXPECT_TRUE(LauncherVersionDiffers(ini.c_str()));
  ASSERT_TRUE(WritePrivateProfileStringW(L"LAUNCHER_INFO", L"version", L"12", ini.c_str()));
  EXPECT_FALSE(LauncherVersionDiffers(ini.c_str()));
  SetGameVersion(13);
  EXPECT_TRUE(LauncherVersionDiffers(ini.c_str()));
}

}  // namespace
