// The user's settings: defaults from the registry, loading with bounds, the game order, saving only what
// changed, and the download folder. Every test works on a temporary program folder and a temporary registry
// key under HKEY_CURRENT_USER\Software that it deletes.
#include <windows.h>

#include <gtest/gtest.h>

#include <string>
#include <utility>
#include <vector>

#include "app/session/ParameterFile.h"
#include "app/session/SessionValues.h"
#include "app/settings/Setting.h"
#include "base/Paths.h"
#include "tests/support/TempFolder.h"

namespace {

using testing_support::FileExists;
using testing_support::TempFolder;
using testing_support::WriteFileBytes;

using GameOrderList = std::vector<std::pair<int32_t, std::wstring>>;

GameOrderList OrderOf(const Setting& setting) {
  GameOrderList entries;
  for (auto* node = setting.GameOrder().head(); node != nullptr; node = node->next)
    entries.emplace_back(node->item->order, node->item->game_id);
  return entries;
}

class SettingTest : public ::testing::Test {
 protected:
  void SetUp() override {
    registry_path_ = L"Software\\OrvaneSettingTest" + std::to_wstring(GetCurrentProcessId());
    program_path_ = folder_.Join(L"orvaneLauncher.exe");
    ini_path_ = folder_.Join(L"orvaneLauncher.ini");
    UseGame(L"game1");
    Sources(-1);
  }
  void TearDown() override {
    Setting::ReleaseInstance();
    ResetSettingSources();
    RegDeleteTreeW(HKEY_CURRENT_USER, registry_path_.c_str());
  }

  void Sources(int windows9x) {
    SettingSources sources;
    sources.registry_root = HKEY_CURRENT_USER;
    sources.registry_path = registry_path_.c_str();
    sources.program_path = program_path_.c_str();
    sources.windows9x_family = windows9x;
    SetSettingSources(sources);
  }
  static void UseGame(const std::wstring& game_id) {
    ParseCommandLineText((L"l.exe /GameID:" + game_id).c_str(), nullptr);
    ReleaseParameterBuffer();
  }
  void SetBaseDir(const std::wstring& game_id, DWORD type, const void* data, DWORD size) {
    HKEY key = nullptr;
    std::wstring path = registry_path_ + L"\\" + game_id;
    ASSERT_EQ(ERROR_SUCCESS, RegCreateKeyExW(HKEY_CURRENT_USER, path.c_str(), 0, nullptr, 0, KEY_ALL_ACCESS,
                                             nullptr, &key, nullptr));
    ASSERT_EQ(ERROR_SUCCESS, RegSetValueExW(key, L"BaseDir", 0, type, static_cast<const BYTE*>(data), size));
    RegCloseKey(key);
  }
  void Write(const wchar_t* section, const wchar_t* key, const std::wstring& value) {
    ASSERT_TRUE(WritePrivateProfileStringW(section, key, value.c_str(), ini_path_.c_str()));
  }
  std::wstring Read(const wchar_t* section, const wchar_t* key) {
    wchar_t value[300];
    GetPrivateProfileStringW(section, key, L"<none>", value, 300, ini_path_.c_str());
    return value;
  }
  std::wstring ProgramFolderDownload() const { return folder_.path() + L"\\Download"; }

  TempFolder folder_{L"setting"};
  std::wstring registry_path_;
  std::wstring program_path_;
  std::wstring ini_path_;
};

TEST_F(SettingTest, HasTheDocumentedDefaults) {
  Setting setting;
  EXPECT_EQ(1, setting.Minimize);
  EXPECT_EQ(1, setting.AutoClose);
  EXPECT_EQ(1, setting.DeleteInstallFile);
  EXPECT_EQ(2, setting.Update);
  EXPECT_EQ(20, setting.IdleTime);
  EXPECT_EQ(20, setting.CPUUse);
  EXPECT_EQ(20, setting.NetworkUse);
  EXPECT_EQ(0, setting.Shutdown);
  EXPECT_EQ(0, setting.FixSkin);
  EXPECT_STREQ(L"", setting.FixedSkinID);
  EXPECT_EQ(0, setting.DisableWebBrowser);
  EXPECT_EQ(ProgramFolderDownload(), setting.InstallFilePath);
  EXPECT_FALSE(setting.IsChanged());  // no saved copy
  Sources(1);
  EXPECT_EQ(1, Setting().Update);
}

TEST_F(SettingTest, TheDownloadFolderComesFromBaseDirWhenItIsAUsableString) {
  const wchar_t base[] = L"C:\\Base Dir";
  SetBaseDir(L"game1", REG_SZ, base, sizeof base);
  EXPECT_STREQ(L"C:\\Base Dir\\Download", Setting().InstallFilePath);
  // Stored without its terminator: terminated by the reader.
  SetBaseDir(L"game1", REG_SZ, base, sizeof base - sizeof(wchar_t));
  EXPECT_STREQ(L"C:\\Base Dir\\Download", Setting().InstallFilePath);
  // Another game's key is not read.
  UseGame(L"game2");
  EXPECT_EQ(ProgramFolderDownload(), Setting().InstallFilePath);
  UseGame(L"game1");

  DWORD number = 7;
  SetBaseDir(L"game1", REG_DWORD, &number, sizeof number);
  EXPECT_EQ(ProgramFolderDownload(), Setting().InstallFilePath);
  SetBaseDir(L"game1", REG_SZ, L"", sizeof(wchar_t));
  EXPECT_EQ(ProgramFolderDownload(), Setting().InstallFilePath);
  std::wstring too_long(300, L'b');
  SetBaseDir(L"game1", REG_SZ, too_long.c_str(), static_cast<DWORD>((too_long.size() + 1) * sizeof(wchar_t)));
  EXPECT_EQ(ProgramFolderDownload(), Setting().InstallFilePath);
}

TEST_F(SettingTest, AGameIdThatIsNoPlainNameReadsNoRegistryKey) {
  const wchar_t base[] = L"C:\\Elsewhere";
  SetBaseDir(L"a\\b", REG_SZ, base, sizeof base);
  SetBaseDir(L"a", REG_SZ, base, sizeof base);
  std::wcscpy(GetSessionValues().GameID, L"a\\b");
  EXPECT_EQ(ProgramFolderDownload(), Setting().InstallFilePath);
  std::wcscpy(GetSessionValues().GameID, L"a");
  EXPECT_STREQ(L"C:\\Elsewhere\\Download", Setting().InstallFilePath);
}

TEST_F(SettingTest, LoadsAndBoundsEveryValue) {
  struct Case {
    const wchar_t* key;
    const wchar_t* text;
    int32_t Setting::*field;
    int32_t expected;
  } cases[] = {
      {L"IdleTime", L"0", &Setting::IdleTime, 1},
      {L"IdleTime", L"150", &Setting::IdleTime, 99},
      {L"IdleTime", L"-5", &Setting::IdleTime, 99},
      {L"IdleTime", L"42", &Setting::IdleTime, 42},
      {L"CPUUse", L"5", &Setting::CPUUse, 10},
      {L"CPUUse", L"95", &Setting::CPUUse, 90},
      {L"NetworkUse", L"-1", &Setting::NetworkUse, 90},
      {L"NetworkUse", L"50", &Setting::NetworkUse, 50},
      {L"Minimize", L"7", &Setting::Minimize, 1},
      {L"Minimize", L"-1", &Setting::Minimize, 1},
      {L"Minimize", L"0", &Setting::Minimize, 0},
      {L"AutoClose", L"x", &Setting::AutoClose, 0},
      {L"Shutdown", L"3", &Setting::Shutdown, 1},
      {L"FixSkin", L"2", &Setting::FixSkin, 1},
      {L"DeleteInstallFile", L"0", &Setting::DeleteInstallFile, 0},
      {L"Update", L"3", &Setting::Update, 2},
      {L"Update", L"-1", &Setting::Update, 2},
      {L"Update", L"0", &Setting::Update, 0},
      {L"DisableWebBrowser", L"6", &Setting::DisableWebBrowser, 6},
      // Out of the 32-bit range: clamped, then bounded, never wrapped into range.
      {L"IdleTime", L"4294967297", &Setting::IdleTime, 99},
      {L"DisableWebBrowser", L"99999999999", &Setting::DisableWebBrowser, INT32_MAX},
  };
  for (const Case& c : cases) {
    DeleteFileW(ini_path_.c_str());
    Write(L"game1", c.key, c.text);
    Setting setting;
    setting.Load();
    EXPECT_EQ(c.expected, setting.*c.field) << c.key << "=" << c.text;
  }
}

TEST_F(SettingTest, UpdateTwoBecomesOneOnlyOnTheWindows9xFamily) {
  Write(L"game1", L"Update", L"2");
  Setting current;
  current.Load();
  EXPECT_EQ(2, current.Update);
  Sources(1);
  Setting old;
  old.Load();
  EXPECT_EQ(1, old.Update);
}

TEST_F(SettingTest, ReadsTextsAndOnlyItsOwnGamesSection) {
  Write(L"game1", L"InstallFilePath", L"D:\\Downloads");
  Write(L"game1", L"FixedSkinID", L"blue");
  Write(L"game2", L"IdleTime", L"5");
  Setting setting;
  setting.Load();
  EXPECT_STREQ(L"D:\\Downloads", setting.InstallFilePath);
  EXPECT_STREQ(L"blue", setting.FixedSkinID);
  EXPECT_EQ(20, setting.IdleTime);
}

TEST_F(SettingTest, DropsASkinNameThatLeavesTheSkinFolder) {
  for (const wchar_t* bad : {L"..\\..\\x", L"a/b", L"C:\\x", L".."}) {
    Write(L"game1", L"FixedSkinID", bad);
    Setting setting;
    setting.Load();
    EXPECT_STREQ(L"", setting.FixedSkinID) << bad;
  }
}

TEST_F(SettingTest, ReadsTheGameOrder) {
  Write(L"GAME_ORDER", L"count", L"3");
  Write(L"GAME_ORDER", L"1", L"a");
  Write(L"GAME_ORDER", L"2", L"a");
  Write(L"GAME_ORDER", L"3", L"c");
  Setting duplicates;
  duplicates.Load();
  EXPECT_EQ((GameOrderList{{1, L"a"}, {2, L"c"}}), OrderOf(duplicates));

  // An empty key in the middle discards the whole list.
  Write(L"GAME_ORDER", L"2", L"");
  Setting gap;
  gap.Load();
  EXPECT_TRUE(OrderOf(gap).empty());

  // "count" bounds what is read.
  Write(L"GAME_ORDER", L"2", L"b");
  Write(L"GAME_ORDER", L"count", L"2");
  Setting counted;
  counted.Load();
  EXPECT_EQ((GameOrderList{{1, L"a"}, {2, L"b"}}), OrderOf(counted));
}

TEST_F(SettingTest, SetsSortsAndRenumbersTheGameOrder) {
  Setting setting;
  setting.SetGameOrder(L"a", 1);
  setting.SetGameOrder(L"b", 2);
  setting.SetGameOrder(L"x", 5);
  setting.SetGameOrder(L"zero", 0);
  setting.SetGameOrder(L"negative", -1);
  EXPECT_EQ(6, setting.NextGameOrder());
  setting.SortGameOrder();
  EXPECT_EQ((GameOrderList{{1, L"a"}, {2, L"b"}, {3, L"x"}}), OrderOf(setting));

  setting.SetGameOrder(L"x", 1);  // an existing entry changes its order in place
  setting.SortGameOrder();
  EXPECT_EQ((GameOrderList{{1, L"a"}, {2, L"x"}, {3, L"b"}}), OrderOf(setting));
  EXPECT_EQ(2, setting.GetGameOrder(L"x"));
  EXPECT_EQ(0, setting.GetGameOrder(L"X"));  // ids compare exactly

  setting.RemoveGameOrder(L"x");
  setting.RemoveGameOrder(L"missing");
  EXPECT_EQ((GameOrderList{{1, L"a"}, {3, L"b"}}), OrderOf(setting));
  EXPECT_EQ(4, setting.NextGameOrder());
  EXPECT_EQ(1, Setting().NextGameOrder());
}

TEST_F(SettingTest, SortingExchangesEntriesLikeTheStoredOrderExpects) {
  // Two entries with the same order: the exchange sort moves the later smaller one to the front, and the
  // equal pair comes out in swapped order.
  Setting setting;
  setting.SetGameOrder(L"a", 2);
  setting.SetGameOrder(L"b", 3);
  setting.SetGameOrder(L"c", 1);
  setting.SetGameOrder(L"b", 2);
  setting.SortGameOrder();
  EXPECT_EQ((GameOrderList{{1, L"c"}, {2, L"b"}, {3, L"a"}}), OrderOf(setting));
}

TEST_F(SettingTest, SavesOnlyWhenSomethingChanged) {
  Write(L"game1", L"IdleTime", L"30");
  Setting* setting = Setting::GetInstance();
  ASSERT_NE(nullptr, setting);
  EXPECT_EQ(setting, Setting::GetInstance());
  EXPECT_EQ(30, setting->IdleTime);
  EXPECT_FALSE(setting->IsChanged());
  ASSERT_TRUE(DeleteFileW(ini_path_.c_str()));
  setting->Save();
  EXPECT_FALSE(FileExists(ini_path_));

  setting->IdleTime = 31;
  EXPECT_TRUE(setting->IsChanged());
  setting->SetGameOrder(L"g2", 4);
  setting->SetGameOrder(L"g1", 2);
  setting->Save();
  EXPECT_EQ(L"31", Read(L"game1", L"IdleTime"));
  EXPECT_EQ(L"1", Read(L"game1", L"Minimize"));
  EXPECT_EQ(L"2", Read(L"GAME_ORDER", L"count"));
  EXPECT_EQ(L"g1", Read(L"GAME_ORDER", L"1"));
  EXPECT_EQ(L"g2", Read(L"GAME_ORDER", L"2"));

  Setting::ReleaseInstance();
  EXPECT_EQ(nullptr, Setting::PeekInstance());
  Setting* reloaded = Setting::GetInstance();
  EXPECT_EQ(31, reloaded->IdleTime);
  EXPECT_EQ((GameOrderList{{1, L"g1"}, {2, L"g2"}}), OrderOf(*reloaded));
}

TEST_F(SettingTest, NoticesEveryKindOfChange) {
  Setting* setting = Setting::GetInstance();
  setting->SetGameOrder(L"a", 1);
  setting->SetGameOrder(L"b", 2);
  Setting* clone = setting->Clone();
  ASSERT_NE(nullptr, clone);
  EXPECT_FALSE(clone->IsChanged());
  EXPECT_EQ((GameOrderList{{1, L"a"}, {2, L"b"}}), OrderOf(*clone));

  clone->SetGameOrder(L"a", 2);
  clone->SetGameOrder(L"b", 1);
  EXPECT_TRUE(clone->GameOrderChanged());
  EXPECT_TRUE(clone->IsChanged());
  clone->SetGameOrder(L"a", 1);
  clone->SetGameOrder(L"b", 2);
  EXPECT_FALSE(clone->IsChanged());
  clone->RemoveGameOrder(L"b");
  EXPECT_TRUE(clone->IsChanged());
  clone->SetGameOrder(L"b", 2);

  std::wcscpy(clone->FixedSkinID, L"Blue");
  EXPECT_TRUE(clone->IsChanged());
  clone->FixedSkinID[0] = 0;
  clone->DisableWebBrowser = 4;
  EXPECT_TRUE(clone->IsChanged());

  // An accepted dialog: the clone's values go into the singleton.
  clone->CopyTo(setting);
  EXPECT_EQ(4, setting->DisableWebBrowser);
  EXPECT_TRUE(setting->IsChanged());
  delete clone;
}

TEST_F(SettingTest, AProgramWithoutAnExtensionHasNoSettingsFile) {
  program_path_ = folder_.Join(L"dir.v2\\orvaneLauncher");
  Sources(-1);
  ASSERT_TRUE(WriteFileBytes(folder_.Join(L"dir.ini"), ""));
  ASSERT_TRUE(WritePrivateProfileStringW(L"game1", L"IdleTime", L"5", folder_.Join(L"dir.ini").c_str()));
  Setting* setting = Setting::GetInstance();
  EXPECT_EQ(20, setting->IdleTime);
  setting->IdleTime = 30;
  setting->Save();
  EXPECT_EQ(
      5, static_cast<int>(GetPrivateProfileIntW(L"game1", L"IdleTime", 0, folder_.Join(L"dir.ini").c_str())));
}

TEST_F(SettingTest, PreparesAnAbsoluteDownloadFolder) {
  Setting setting;
  std::wstring target = folder_.Join(L"one\\two\\three");
  std::wcscpy(setting.InstallFilePath, (target + L"\\").c_str());
  ASSERT_NE(nullptr, setting.PrepareInstallFilePath());
  EXPECT_TRUE(base::CreateFolderChain(target.c_str()));
  DWORD attributes = GetFileAttributesW(target.c_str());
  EXPECT_NE(INVALID_FILE_ATTRIBUTES, attributes);

  ASSERT_TRUE(SetCurrentDirectoryW(folder_.path().c_str()));
  std::wcscpy(setting.InstallFilePath, L"relative\\dl");
  const wchar_t* prepared = setting.PrepareInstallFilePath();
  ASSERT_NE(nullptr, prepared);
  EXPECT_EQ(folder_.Join(L"relative\\dl"), prepared);
  SetCurrentDirectoryW(L"C:\\");
}

}  // namespace
