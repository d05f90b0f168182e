// Session values from "/Key:value" tokens: which tokens count, how each key is stored and exported.
#include <windows.h>

#include <gtest/gtest.h>

#include <string>

#include "app/session/ParameterFile.h"
#include "app/session/SessionValues.h"

namespace {

std::wstring Environment(const wchar_t* name) {
  wchar_t value[2048];
  DWORD length = GetEnvironmentVariableW(name, value, 2048);
  return length == 0 || length >= 2048 ? L"<unset>" : value;
}

class SessionValuesTest : public ::testing::Test {
 protected:
  void SetUp() override {
    for (const wchar_t* name :
         {L"GameID", L"StartGameID", L"UserNick", L"KeywordUrl", L"BannerUrl", L"OneLineNoticeUrl",
          L"UpdaterName", L"GameVersion", L"CompanyID", L"PID", L"Handle", L"SessKey", L"GPVLU", L"GPLLV"})
      SetEnvironmentVariableW(name, nullptr);
  }
  void TearDown() override { ReleaseParameterBuffer(); }

  const SessionValues& Parse(const std::wstring& command_line) {
    ParseCommandLineText(command_line.c_str(), nullptr);
    return GetSessionValues();
  }
};

TEST_F(SessionValuesTest, MatchesKeysFromTheSecondCharacterInEitherCase) {
  EXPECT_STREQ(L"ABC", Parse(L"l.exe /gameid:ABC").GameID);
  EXPECT_STREQ(L"ABC", Parse(L"l.exe -GameID:ABC").GameID);
  EXPECT_STREQ(L"ABC", Parse(L"l.exe xGAMEID:ABC").GameID);
  // The whole name must match, not a prefix of it.
  EXPECT_STREQ(L"", Parse(L"l.exe /GameIDs:ABC /Game:ABC").GameID);
  // The first token counts too, when there are at least two.
  EXPECT_STREQ(L"ABC", Parse(L"/GameID:ABC /x").GameID);
  EXPECT_STREQ(L"", Parse(L"/GameID:ABC").GameID);
  EXPECT_STREQ(L"ABC", Parse(L"l.exe /GameID:ABC").GameID);
  // Unknown keys do nothing; the value may hold further colons.
  EXPECT_STREQ(L"h:1:2", Parse(L"l.exe /Unknown:x /LUpdateAddr:h:1:2").LUpdateAddr);
}

TEST_F(SessionValuesTest, IgnoresKeysWithoutValuesAndTokensWithoutNames) {
  const SessionValues& values = Parse(L"l.exe /GameID /StartGameID: /UserNick:nick \"\" : :x /:y");
  EXPECT_STREQ(L"", values.GameID);
  EXPECT_STREQ(L"", values.StartGameID);
  EXPECT_STREQ(L"nick", values.UserNick);
  EXPECT_EQ(L"<unset>", Environment(L"GameID"));
  EXPECT_EQ(L"<unset>", Environment(L"StartGameID"));
}

TEST_F(SessionValuesTest, StoresEveryTextKeyAndExportsIt) {
  const SessionValues& values = Parse(
      L"l.exe /GameID:g /StartGameID:s /ServiceFolder:sf /UserNick:\"Nick Name\" /SessKey:k /Repository:r "
      L"/GPVLU:v /GPLLV:w /LUpdateAddr:u /FileUpdateAddr:f /MacAddr:m /AdminMode:1");
  EXPECT_STREQ(L"g", values.GameID);
  EXPECT_STREQ(L"s", values.StartGameID);
  EXPECT_STREQ(L"sf", values.ServiceFolder);
  EXPECT_STREQ(L"Nick Name", values.UserNick);
  EXPECT_STREQ(L"k", values.SessKey);
  EXPECT_STREQ(L"r", values.Repository);
  EXPECT_STREQ(L"v", values.GPVLU);
  EXPECT_STREQ(L"w", values.GPLLV);
  EXPECT_STREQ(L"u", values.LUpdateAddr);
  EXPECT_STREQ(L"f", values.FileUpdateAddr);
  EXPECT_STREQ(L"m", values.MacAddr);
  EXPECT_STREQ(L"1", values.AdminMode);
  EXPECT_STREQ(L"-1", values.ChannelGroupIndex);
  EXPECT_EQ(L"Nick Name", Environment(L"UserNick"));
  EXPECT_EQ(L"g", Environment(L"GameID"));
}

TEST_F(SessionValuesTest, StoresIntegerKeysAsNumbersAndExportsTheRawText) {
  const SessionValues& values =
      Parse(L"l.exe /GameVersion:12abc /CompanyID:-7 /PID:x /Handle:99999999999 /GameID:g");
  EXPECT_EQ(12, values.GameVersion);
  EXPECT_EQ(-7, values.CompanyID);
  EXPECT_EQ(0, values.PID);
  EXPECT_EQ(1215752191, values.Handle);  // the low 32 bits: the handle's pattern, not a clamped number
  EXPECT_EQ(L"12abc", Environment(L"GameVersion"));
  EXPECT_EQ(L"x", Environment(L"PID"));
  EXPECT_EQ(L"99999999999", Environment(L"Handle"));
}

TEST_F(SessionValuesTest, PutsHttpInFrontOfTheThreeUrlsButExportsThemAsGiven) {
  const SessionValues& values =
      Parse(L"l.exe /KeywordUrl:host/k.xml /OneLineNoticeUrl:HTTP://Host/n.xml /BannerUrl:http://b/");
  EXPECT_STREQ(L"http://host/k.xml", values.KeywordUrl);
  EXPECT_EQ(L"host/k.xml", Environment(L"KeywordUrl"));
  EXPECT_STREQ(L"HTTP://Host/n.xml", values.OneLineNoticeUrl);
  EXPECT_STREQ(L"http://b/", values.BannerUrl);
  // Other keys keep their text as it is.
  EXPECT_STREQ(L"host", Parse(L"l.exe /LUpdateAddr:host").LUpdateAddr);
}

TEST_F(SessionValuesTest, AppendsExeToTheUpdaterName) {
  EXPECT_STREQ(L"upd.exe", Parse(L"l.exe /UpdaterName:upd").UpdaterName);
  EXPECT_EQ(L"upd", Environment(L"UpdaterName"));
}

TEST_F(SessionValuesTest, CutsLongValuesToTheirFields) {
  std::wstring long_nick(100, L'n');
  std::wstring long_url(300, L'u');
  const SessionValues& values =
      Parse(L"l.exe /UserNick:" + long_nick + L" /SessKey:" + std::wstring(64, L'k') + L" /KeywordUrl:" +
            long_url + L" /UpdaterName:" + std::wstring(62, L'x'));
  EXPECT_EQ(std::wstring(63, L'n'), values.UserNick);
  EXPECT_EQ(std::wstring(35, L'k'), values.SessKey);
  EXPECT_EQ(L"http://" + std::wstring(252, L'u'), values.KeywordUrl);
  EXPECT_EQ(std::wstring(62, L'x') + L".", values.UpdaterName);
  EXPECT_EQ(long_url, Environment(L"KeywordUrl"));
  EXPECT_EQ(std::wstring(63, L'n'), Environment(L"UserNick"));
}

TEST_F(SessionValuesTest, IgnoresGameIdsThatCouldLeaveTheirFolder) {
  for (const wchar_t* bad : {L"..", L"a\\b", L"a/b", L"..game", L"c:x"}) {
    const SessionValues& values = Parse(std::wstring(L"l.exe /GameID:") + bad);
    EXPECT_STREQ(L"", values.GameID) << bad;
    EXPECT_EQ(L"<unset>", Environment(L"GameID")) << bad;
  }
  EXPECT_STREQ(L"game.1", Parse(L"l.exe /GameID:game.1").GameID);
}

TEST_F(SessionValuesTest, EveryParseStartsFromZero) {
  Parse(L"l.exe /GameID:g /CompanyID:3");
  const SessionValues& values = Parse(L"l.exe");
  EXPECT_STREQ(L"", values.GameID);
  EXPECT_EQ(0, values.CompanyID);
  EXPECT_STREQ(L"-1", values.ChannelGroupIndex);
}

TEST_F(SessionValuesTest, SetGameVersionAndSetSessionValuesExportWhatTheyStore) {
  SetGameVersion(-42);
  EXPECT_EQ(-42, GetSessionValues().GameVersion);
  EXPECT_EQ(L"-42", Environment(L"GameVersion"));

  SetSessionValues((std::wstring(40, L'k')).c_str(), L"v", nullptr);
  EXPECT_EQ(std::wstring(35, L'k'), GetSessionValues().SessKey);
  EXPECT_EQ(std::wstring(35, L'k'), Environment(L"SessKey"));
  EXPECT_EQ(L"v", Environment(L"GPVLU"));
  EXPECT_STREQ(L"", GetSessionValues().GPLLV);
}

// A portal writes the browser's handle as a signed or as an unsigned decimal: both name the same window.
TEST_F(SessionValuesTest, TheHandleKeepsTheWindowsBitPatternWrittenEitherWay) {
  struct Case {
    const wchar_t* text;
    uint32_t pattern;
  } cases[] = {
      {L"655460", 0x000A0064u},       {L"2147549284", 0x80010064u}, {L"-2147418012", 0x80010064u},
      {L"4294967295", 0xFFFFFFFFu},   {L"-1", 0xFFFFFFFFu},         {L"4294967296", 0u},
      {L"-99999999999", 0x80000000u},  // a negative value saturates as before
  };
  for (const Case& c : cases) {
    const SessionValues& values = Parse(std::wstring(L"l.exe /Handle:") + c.text + L" /PID:4294967295");
    EXPECT_EQ(c.pattern, static_cast<uint32_t>(values.Handle)) << c.text;
    EXPECT_EQ(INT32_MAX, values.PID) << "only the handle is a pattern";
  }
}

// The 64-bit build widens a 32-bit window handle as Windows does: sign-extended.
TEST(SessionWindowHandle, TheHandleValueIsSignExtendedToAWindowHandle) {
  const bool wide = sizeof(uintptr_t) == 8;
  struct Case {
    int32_t handle;
    uint64_t window;
  } cases[] = {
      {0, 0},
      {0x000A0062, 0x000A0062},
      {INT32_MAX, 0x7FFFFFFF},
      {static_cast<int32_t>(0x80010064u), wide ? 0xFFFFFFFF80010064u : 0x80010064u},
      {-1, wide ? 0xFFFFFFFFFFFFFFFFu : 0xFFFFFFFFu},
  };
  for (const Case& c : cases)
    EXPECT_EQ(c.window, static_cast<uint64_t>(SessionWindowHandle(c.handle))) << c.handle;
}

}  // namespace
