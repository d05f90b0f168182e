// The demo portal generator (tools/demo_portal) writes files that the launcher's own readers take: each
// generated file is read back with the reader that the launcher uses for it.
#include <windows.h>

#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "app/games/CIEKillerForGame.h"
#include "app/games/CatalogueText.h"
#include "app/launcherupdate/SelfUpdateSteps.h"
#include "app/launcherupdate/ServerList.h"
#include "app/session/ParameterFile.h"
#include "app/texts/MessageTexts.h"
#include "app/texts/XMLNotice.h"
#include "app/texts/XMLSearchKeyword.h"
#include "selfupdate/CabinetExtraction.h"
#include "tests/support/TempFolder.h"
#include "tests/support/UnixCommand.h"
#include "tests/support/WinePaths.h"
#include "ui/base/PackObject.h"

namespace {

using testing_support::ReadFileBytes;
using testing_support::RunningUnderWine;
using testing_support::RunUnixCommand;
using testing_support::ShellQuote;
using testing_support::TempFolder;
using testing_support::UnixPathOf;

const char kHost[] = "127.0.0.254:65535";  // the longest address, so the parameter text's limit is tested
const wchar_t kHostWide[] = L"127.0.0.254:65535";

class DemoPortalTest : public ::testing::Test {
 protected:
  static void SetUpTestSuite() {
    if (!RunningUnderWine())
      return;
    folder_ = new TempFolder(L"demo-portal");
    std::string command =
        "python3 " + ShellQuote(std::string(ORVANE_SOURCE_DIR) + "/tools/demo_portal/make_demo_portal.py") +
        " --no-patches --host " + kHost + " --build " + ShellQuote(ORVANE_BUILD_DIR) + " --out " +
        ShellQuote(UnixPathOf(folder_->path()));
    generated_ = RunUnixCommand(command, &output_, 120000);
  }
  static void TearDownTestSuite() {
    delete folder_;
    folder_ = nullptr;
  }
  void SetUp() override {
    if (!RunningUnderWine())
      GTEST_SKIP() << "runs the generator with python3 and openssl";
    ASSERT_EQ(0, generated_) << output_;
  }

  static std::string Read(const std::wstring& relative) {
    std::string bytes;
    EXPECT_TRUE(ReadFileBytes(folder_->Join(relative), &bytes))
        << std::string(relative.begin(), relative.end());
    return bytes;
  }
  static std::wstring Path(const std::wstring& relative) { return folder_->Join(relative); }

  static TempFolder* folder_;
  static int generated_;
  static std::string output_;
};

TempFolder* DemoPortalTest::folder_ = nullptr;
int DemoPortalTest::generated_ = -1;
std::string DemoPortalTest::output_;

const wchar_t kCatalogue[] = L"portal\\GameInfo\\7\\";

TEST_F(DemoPortalTest, TheCatalogueFilesParseWithTheLaunchersReaders) {
  std::string games = Read(std::wstring(kCatalogue) + L"GLI_3.info");
  std::vector<RawGameRecord> records;
  ASSERT_EQ(kCatalogueOk, ParseGameListText(&games[0], games.size(), &records));
  ASSERT_EQ(6u, records.size());
  EXPECT_STREQ(L"RUNE", records[0].game_id);
  EXPECT_EQ(1, records[0].loader_type);
  EXPECT_EQ(0, records[2].loader_type);
  EXPECT_EQ(0, records[3].open);  // the blocked game
  EXPECT_STREQ(L"dusk", records[1].skin_name);
  for (const RawGameRecord& record : records)
    EXPECT_NE(0, record.title[0]) << "every title fits its field";

  // The game versions update the records; a changed version shows that the lines matched.
  std::string versions = Read(std::wstring(kCatalogue) + L"GBI_3.info");
  records[0].catalogue_version = 0;
  ASSERT_EQ(kCatalogueOk,
            ParseGameVersionsText(&versions[0], versions.size(), records.data(), records.size()));
  EXPECT_EQ(5, records[0].catalogue_version);

  std::string menu = Read(std::wstring(kCatalogue) + L"MLI_3.info");
  std::vector<RawTopMenuRecord> items;
  ASSERT_EQ(kCatalogueOk, ParseTopMenuText(&menu[0], menu.size(), &items));
  ASSERT_EQ(4u, items.size());
  EXPECT_STREQ(L"PostOfHome", items[0].name);
  EXPECT_STREQ(L"FlashGame", items[3].name);

  // The launch mode keeps the start-game mode off, so the whole list is shown.
  std::string mode_text = Read(std::wstring(kCatalogue) + L"LMODE_RUNE.info");
  LaunchMode mode{};
  ASSERT_EQ(kCatalogueOk, ReadLaunchModeText(&mode_text[0], mode_text.size(), &mode));
  EXPECT_EQ(1, mode.UseOrvane);
  EXPECT_EQ(1, mode.UpdateViaOrvane);

  // The announced launcher version, newer than the installed one of the launcher-info ini.
  std::string launcher = Read(std::wstring(kCatalogue) + L"GGI_3_ORVANE.info");
  int32_t announced = 0;
  ASSERT_TRUE(ParseLauncherInfoText(&launcher[0], launcher.size(), &announced));
  EXPECT_EQ(2, announced);
}

TEST_F(DemoPortalTest, TheServerListHasTwoServersAndTheSecondIsOlderThanTheInstalledGame) {
  ServerList servers;
  ASSERT_EQ(1, servers.Parse(Path(L"portal\\locallist.xml").c_str()));
  ASSERT_EQ(2, servers.count());
  EXPECT_EQ(kHostWide, std::wstring(servers.records()[0].address));
  std::wstring version = Path(L"launcher\\versionInfo_RUNE.ini");
  int32_t installed =
      static_cast<int32_t>(GetPrivateProfileIntW(L"UpdInfo", L"CurrentVersion", 0, version.c_str()));
  EXPECT_GE(servers.records()[0].current_version, installed);
  EXPECT_LT(servers.records()[1].current_version, installed);
}

TEST_F(DemoPortalTest, TheNoticeAndKeywordFilesGiveTheirRecords) {
  CXMLNotice notices;
  ASSERT_TRUE(notices.Load(Path(L"portal\\notice.xml").c_str()));
  ASSERT_EQ(3u, notices.records().size());
  EXPECT_EQ(std::wstring(L"http://") + kHostWide + L"/pages/RUNE/news.html", notices.records()[0].url);
  CXMLSearchKeyword keywords;
  ASSERT_TRUE(keywords.Load(Path(L"portal\\keyword.xml").c_str()));
  ASSERT_EQ(2u, keywords.records().size());
  EXPECT_STREQ(L"Runestone", keywords.records()[0].keyword);
  EXPECT_NE(0, keywords.records()[0].view_content[0]);
}

TEST_F(DemoPortalTest, TheParameterFileDecryptsWithTheBuiltInKey) {
  ASSERT_EQ(1, LoadParamFile(Path(L"launcher\\LauncherParam.dat").c_str()));
  std::wstring text = ParameterBuffer();
  ReleaseParameterBuffer();
  EXPECT_NE(std::wstring::npos, text.find(L" /GameID:ORVANE /StartGameID:RUNE /CompanyID:3 /UserNick:Ada "));
  EXPECT_NE(std::wstring::npos, text.find(std::wstring(L"/LUpdateAddr:") + kHostWide + L" "));
  EXPECT_NE(std::wstring::npos, text.find(std::wstring(L"/BannerUrl:") + kHostWide + L"/banner.html"));
}

TEST_F(DemoPortalTest, TheLauncherFolderFilesReadAsTheLauncherReadsThem) {
  CIEKillerForGame kill_list;
  ASSERT_EQ(1, kill_list.LoadFrom(Path(L"launcher\\KILL.ini").c_str()));
  EXPECT_TRUE(kill_list.Contains(L"PUZL"));

  ASSERT_EQ(1, LoadLauncherMessagesFor(Path(L"launcher\\orvaneLauncher.exe").c_str()));
  // Every start-up message has a text of its own (a missing key would show the key itself).
  for (const wchar_t* key :
       {L"Launcher", L"error", L"update failed", L"cannot init", L"server is not selected"})
    EXPECT_STRNE(key, GetLauncherMessage(key));
  ReleaseLauncherMessages();

  std::wstring info = Path(L"launcher\\ZEPHLauncherInfo.ini");
  EXPECT_EQ(1u, GetPrivateProfileIntW(L"LAUNCHER_INFO", L"version", 0, info.c_str()));
  wchar_t address[64] = {};
  EXPECT_EQ(0u, GetPrivateProfileStringW(L"LAUNCHER_INFO", L"update_addr", L"", address, 64, info.c_str()));

  // The start game is installed at version 3: its engine files and its program.
  std::wstring version = Path(L"launcher\\versionInfo_RUNE.ini");
  EXPECT_EQ(3u, GetPrivateProfileIntW(L"UpdInfo", L"CurrentVersion", 0, version.c_str()));
  // The self-update copies "unicows.dll" and fails without it.
  EXPECT_NE(INVALID_FILE_ATTRIBUTES, GetFileAttributesW(Path(L"launcher\\unicows.dll").c_str()));
  std::string program = Read(L"launcher\\game.exe");
  ASSERT_GT(program.size(), 2u);
  EXPECT_EQ("MZ", program.substr(0, 2));
}

TEST_F(DemoPortalTest, TheSecondSkinHasOneFolderAsAPackArchive) {
  // The generator stores the first folder of the second skin as "<folder>.pak" instead of loose files.
  PackObject pack;
  ASSERT_EQ(1, pack.Open(Path(L"launcher\\data\\skin\\base\\dusk").c_str()));
  EXPECT_NE(nullptr, pack.FindEntry(L"BASE.INI"));
  EXPECT_EQ(INVALID_FILE_ATTRIBUTES, GetFileAttributesW(Path(L"launcher\\data\\skin\\base\\dusk").c_str()));
  EXPECT_NE(INVALID_FILE_ATTRIBUTES,
            GetFileAttributesW(Path(L"launcher\\data\\skin\\body\\dusk\\body_back.png").c_str()));
}

TEST_F(DemoPortalTest, TheSelfUpdateCabinetUnpacksWithTheChangedMessageFile) {
  std::wstring target = Path(L"unpacked");
  ASSERT_TRUE(CreateDirectoryW(target.c_str(), nullptr));
  ASSERT_EQ(kCabinetExtracted, ExtractCabinet(Path(L"portal\\system\\ORVANE.2.cab").c_str(), target.c_str()));
  EXPECT_EQ(Read(L"launcher\\QVTesserel.dll"), Read(L"unpacked\\QVTesserel.dll"));
  EXPECT_NE(Read(L"launcher\\LauncherMessage.ini"), Read(L"unpacked\\LauncherMessage.ini"));
}

TEST_F(DemoPortalTest, EveryGameHasBothIconsAndEveryInstallerIsTheStandInProgram) {
  for (const wchar_t* id : {L"RUNE", L"SKYF", L"PUZL", L"VALT", L"KART", L"CHES"}) {
    for (const wchar_t* name : {L"sicon.png", L"icon.png"}) {
      std::string icon = Read(std::wstring(L"portal\\icons\\") + id + L"\\" + name);
      EXPECT_EQ("\x89PNG", icon.substr(0, 4));
    }
  }
  EXPECT_EQ("MZ", Read(L"portal\\installers\\SkyforgeSetup.exe").substr(0, 2));
}

}  // namespace
