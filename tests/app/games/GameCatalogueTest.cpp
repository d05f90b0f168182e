// The catalogue against served files: the catalogue-folder number from the version query (patch-server
// fixture on port 27500), the catalogue files, notices and keywords from the HTTP fixture, what
// LoadCatalogue builds from them, and what the launcher does with the top menu's home entry and the keywords.
#include <windows.h>

#include <curl/curl.h>
#include <gtest/gtest.h>

#include <functional>
#include <map>
#include <string>
#include <vector>

#include "app/games/CatalogueDownload.h"
#include "app/games/GameActions.h"
#include "app/games/GameCatalogue.h"
#include "app/launcherupdate/SelfUpdateSteps.h"
#include "app/session/ProgramPath.h"
#include "app/session/SessionValues.h"
#include "app/texts/MessageTexts.h"
#include "app/texts/NoticeKeywordRecords.h"
#include "app/windows/orvaneLauncherDlg.h"
#include "base/TextFields.h"
#include "selfupdate/GameInfoVersion.h"
#include "tests/app/games/CatalogueFiles.h"
#include "tests/app/windows/RecordingShell.h"
#include "tests/support/FixtureServer.h"
#include "tests/support/PatchServerProcess.h"
#include "tests/support/TempFolder.h"
#include "tests/support/WinePaths.h"
#include "ui/skin/SkinLoader.h"

namespace {

using catalogue_testing::GameLine;
using testing_support::FixtureServer;
using testing_support::PatchServerProcess;
using testing_support::TempFolder;
using testing_support::WriteFileBytes;

const uint64_t kFolderNumber = 4294967301ull;  // above 32 bits: "GameInfo/4294967301"
const char kFolder[] = "GameInfo/4294967301/";

TEST(InfoFileUrl, NamesTheFileByKindCompanyAndName) {
  struct Case {
    int32_t company;
    const wchar_t* host;
    const wchar_t* name;
    int kind;
    uint64_t number;
    const wchar_t* url;  // null: no file
  } cases[] = {
      {7, L"h:81/p", nullptr, kCatalogueKindMLI, 12, L"http://h:81/p/GameInfo/12/MLI_7.info"},
      {7, L"h", L"", kCatalogueKindGLI, 12, L"http://h/GameInfo/12/GLI_7.info"},
      {7, L"h", L"g1", kCatalogueKindGLI, 12, L"http://h/GameInfo/12/GLI_7_g1.info"},
      {-1, L"h", L"g1", kCatalogueKindLMODE, 12, L"http://h/GameInfo/12/LMODE_g1.info"},
      {-2, L"h", nullptr, kCatalogueKindGBI, 12, L"http://h/GameInfo/12/GBI_-2.info"},
      {0, L"h", nullptr, kCatalogueKindGGI, kFolderNumber, L"http://h/GameInfo/4294967301/GGI_0.info"},
      {-1, L"h", nullptr, kCatalogueKindMLI, 12, nullptr},
      {-1, L"h", L"", kCatalogueKindMLI, 12, nullptr},
      {7, L"", nullptr, kCatalogueKindMLI, 12, nullptr},
      {7, nullptr, nullptr, kCatalogueKindMLI, 12, nullptr},
      {7, L"h", nullptr, kCatalogueKindMLI, 0, nullptr},
      {7, L"h", nullptr, 5, 12, nullptr},
  };
  for (const Case& c : cases) {
    std::wstring url = L"left over";
    EXPECT_EQ(c.url != nullptr, InfoFileUrl(c.company, c.host, c.name, c.kind, c.number, &url));
    EXPECT_EQ(c.url != nullptr ? c.url : L"", url);
  }
}

class GameCatalogueTest : public ::testing::Test {
 protected:
  void SetUp() override {
    ASSERT_TRUE(process_.curl_ready());
    ASSERT_TRUE(
        version_server_.Start(R"({"game_info_reply": {"number": 4294967301}})", "", {"--port", "27500"}));
    std::wstring version_address(version_server_.address().begin(), version_server_.address().end());
    ASSERT_EQ(0, QueryGameInfoNumber(version_address.c_str()));
    ASSERT_EQ(kFolderNumber, GameInfoNumber());
  }
  void TearDown() override { ReleaseCatalogue(); }

  // Serves `files` (paths below the root -> content) with the faults of `script` (http_server.py's --script)
  // and points the update address at the server.
  void Serve(const std::map<std::string, std::string>& files, const std::string& script = "{}") {
    ASSERT_TRUE(catalogue_testing::WriteServedFiles(root_, files));
    ASSERT_TRUE(WriteFileBytes(http_.folder().Join(L"script.json"), script));
    ASSERT_TRUE(http_.Start("http_server.py", {"--root", testing_support::UnixPathOf(root_.path()),
                                               "--script", http_.UnixPath(L"script.json")}))
        << http_.log();
    std::wstring host = testing_support::Utf8ToWide(http_.endpoint());
    CopyToField(GetSessionValues().LUpdateAddr, host.c_str());
  }
  std::wstring Url(const std::string& path) {
    return testing_support::Utf8ToWide("http://" + http_.endpoint() + "/" + path);
  }
  std::string Requests() {
    std::string log;
    testing_support::ReadFileBytes(http_.folder().Join(L"requests.log"), &log);
    return log;
  }
  TempFolder launcher_{L"launcher"};
  catalogue_testing::CatalogueProcessState process_{launcher_.path()};
  TempFolder root_{L"root"};
  PatchServerProcess version_server_;
  FixtureServer http_;
};

TEST_F(GameCatalogueTest, DownloadsAFileOfTheCatalogueFolderAsText) {
  Serve({{std::string(kFolder) + "MLI_3.info", "1\n1|PostOfHome|http://home/|1\n"},
         {std::string(kFolder) + "GBI_3.info", ""}});
  GetSessionValues().CompanyID = 3;
  size_t size = 0;
  const char* text = DownloadInfoFile(3, GetSessionValues().LUpdateAddr, nullptr, kCatalogueKindMLI, &size);
  ASSERT_NE(nullptr, text);
  EXPECT_EQ("1\n1|PostOfHome|http://home/|1\n", std::string(text, size));
  EXPECT_EQ('\0', text[size]);

  // An empty file is an empty text; a missing one no text at all.
  text = DownloadInfoFile(3, GetSessionValues().LUpdateAddr, nullptr, kCatalogueKindGBI, &size);
  ASSERT_NE(nullptr, text);
  EXPECT_EQ(0u, size);
  EXPECT_EQ(nullptr, DownloadInfoFile(3, GetSessionValues().LUpdateAddr, nullptr, kCatalogueKindGLI, &size));
  EXPECT_EQ(kCatalogueDownloadFailed, ParseGameList(3, GetSessionValues().LUpdateAddr, nullptr));
  EXPECT_EQ(kCatalogueBadFormat, ParseGameVersions(3, GetSessionValues().LUpdateAddr, nullptr));
}

TEST_F(GameCatalogueTest, CompanyMinusOneWithoutANameAsksForNothingAndFailsTheLoad) {
  Serve({{std::string(kFolder) + "MLI_-1.info", "1\n1|PostOfHome|http://home/|1\n"}});
  GetSessionValues().CompanyID = -1;
  EXPECT_EQ(kCatalogueDownloadFailed, ParseTopMenu(-1, GetSessionValues().LUpdateAddr));
  EXPECT_EQ(0, LoadCatalogue());
  EXPECT_EQ("", Requests());
}

TEST_F(GameCatalogueTest, LoadsMenuNoticesKeywordsAndGames) {
  std::string notices = "<n><notice><subject>Hello</subject><url>http://n/</url></notice></n>";
  std::string keywords = "<k><item><view_content>Find</view_content><keyword>find</keyword></item></k>";
  Serve({{std::string(kFolder) + "MLI_5.info", "2\n1|PostOfHome|http://home/|1\n2|Help|http://help/|0\n"},
         {std::string(kFolder) + "GLI_5.info", "4\n" + GameLine("plain", 0, 1) + GameLine("engine", 1, 4) +
                                                   GameLine("closed", 0, 1, 0) + GameLine("plain", 2, 1)},
         {"xml/notice.xml", notices},
         {"xml/keyword.xml", keywords}});
  SessionValues& session = GetSessionValues();
  session.CompanyID = 5;
  CopyToField(session.OneLineNoticeUrl, Url("xml/notice.xml").c_str());
  CopyToField(session.KeywordUrl, Url("xml/keyword.xml").c_str());
  CopyToField(session.StartGameID, L"engine");
  CopyToField(session.UserNick, L"nick");  // and no launch-mode file: the whole list

  ASSERT_EQ(1, LoadCatalogue());
  EXPECT_FALSE(IsStartGameMode());
  ASSERT_EQ(4u, GameCount());
  EXPECT_EQ(GameAt(0), FindGameInfo(L"plain"));  // the first of two
  EXPECT_EQ(nullptr, FindGameInfo(L"ENGINE"));
  IGameInfo* engine = FindGameInfo(L"engine");
  ASSERT_NE(nullptr, engine);
  EXPECT_EQ(kGameNeedsUpdate, engine->GetState());  // installed in the launcher folder, version 0 < 4
  EXPECT_STREQ(launcher_.path().c_str(), engine->GetGamePath());
  EXPECT_EQ(kGameNotInstalled, FindGameInfo(L"plain")->GetState());
  EXPECT_EQ(nullptr, FindGameInfo(L"plain")->GetGamePath());
  EXPECT_STREQ(L"Title closed", FindGameInfo(L"closed")->GetTitle());

  ASSERT_EQ(2u, TopMenuCount());
  ASSERT_NE(nullptr, FindTopMenuInfo(L"Help"));
  EXPECT_STREQ(L"http://help/", FindTopMenuInfo(L"Help")->GetUrl());
  EXPECT_EQ(nullptr, FindTopMenuInfo(L"help"));
  ASSERT_EQ(1u, NoticeCount());
  EXPECT_STREQ(L"Hello", NoticeAt(0)->subject);
  ASSERT_EQ(1u, KeywordCount());
  EXPECT_STREQ(L"find", KeywordAt(0)->keyword);
  EXPECT_TRUE(testing_support::FileExists(launcher_.Join(L"XML\\notice.xml")));

  ReleaseCatalogue();
  EXPECT_EQ(0u, GameCount());
  EXPECT_EQ(nullptr, FindGameInfo(L"engine"));
  EXPECT_EQ(0, RawNoticeCount());
  EXPECT_EQ(0, RawKeywordCount());
}

TEST_F(GameCatalogueTest, StartGameModeNamesTheGameListByTheStartGame) {
  Serve({{std::string(kFolder) + "LMODE_solo.info", "2\nUpdateViaOrvane:1\nUseOrvane:0\n"},
         {std::string(kFolder) + "MLI_5.info", "1\n1|PostOfHome|http://home/|1\n"},
         {std::string(kFolder) + "GLI_5_solo.info", "1\n" + GameLine("solo", 0, 1)}});
  SessionValues& session = GetSessionValues();
  session.CompanyID = 5;
  CopyToField(session.UserNick, L"nick");
  CopyToField(session.StartGameID, L"solo");
  ASSERT_EQ(1, LoadCatalogue());
  EXPECT_TRUE(IsStartGameMode());
  ASSERT_EQ(1u, GameCount());
  EXPECT_EQ(kGameLatest, GameAt(0)->GetState());
  std::string requests = Requests();
  EXPECT_NE(std::string::npos, requests.find("/GameInfo/4294967301/LMODE_solo.info")) << requests;
  EXPECT_NE(std::string::npos, requests.find("/GameInfo/4294967301/GLI_5_solo.info")) << requests;
}

TEST_F(GameCatalogueTest, ALaunchModeThatUsesItsOwnLauncherLoadsTheWholeList) {
  Serve({{std::string(kFolder) + "LMODE_solo.info", "2\nUpdateViaOrvane:1\nUseOrvane:1\n"},
         {std::string(kFolder) + "MLI_5.info", "1\n1|PostOfHome|http://home/|1\n"},
         {std::string(kFolder) + "GLI_5.info", "2\n" + GameLine("solo", 0, 1) + GameLine("other", 0, 1)}});
  SessionValues& session = GetSessionValues();
  session.CompanyID = 5;
  CopyToField(session.UserNick, L"nick");
  CopyToField(session.StartGameID, L"solo");
  ASSERT_EQ(1, LoadCatalogue());
  EXPECT_FALSE(IsStartGameMode());
  EXPECT_EQ(2u, GameCount());
}

TEST_F(GameCatalogueTest, AMissingOrBadGameListFailsTheLoadButNoticesDoNot) {
  Serve({{std::string(kFolder) + "MLI_5.info", "1\n1|PostOfHome|http://home/|1\n"},
         {std::string(kFolder) + "GLI_6.info", "1\n" + GameLine("g", 0, 1).substr(0, 10)}});
  SessionValues& session = GetSessionValues();
  session.CompanyID = 5;
  CopyToField(session.OneLineNoticeUrl, Url("xml/missing.xml").c_str());
  EXPECT_EQ(0, LoadCatalogue());  // no GLI_5
  session.CompanyID = 6;
  EXPECT_EQ(0, LoadCatalogue());  // no MLI_6
  EXPECT_EQ(0u, GameCount());
}

TEST_F(GameCatalogueTest, ASilentNoticeOrKeywordServerIsGivenUpAtTheLimitAndTheLoadGoesOn) {
  const std::string notices = "<n><notice><subject>Hello</subject><url>http://n/</url></notice></n>";
  // Both XML files are answered only after a minute: the connection is accepted and nothing comes.
  Serve({{std::string(kFolder) + "MLI_5.info", "1\n1|PostOfHome|http://home/|1\n"},
         {std::string(kFolder) + "GLI_5.info", "1\n" + GameLine("g", 0, 1)},
         {"xml/notice.xml", notices},
         {"xml/keyword.xml", "<k><item><view_content>Find</view_content></item></k>"},
         {"xml/later.xml", notices}},
        R"({"/xml/notice.xml": {"delay_before": 60}, "/xml/keyword.xml": {"delay_before": 60}})");
  SessionValues& session = GetSessionValues();
  session.CompanyID = 5;
  CopyToField(session.OneLineNoticeUrl, Url("xml/notice.xml").c_str());
  CopyToField(session.KeywordUrl, Url("xml/keyword.xml").c_str());
  SetXmlFileLimit(500);
  DWORD start = GetTickCount();
  EXPECT_EQ(1, LoadCatalogue());
  EXPECT_LT(GetTickCount() - start, 8000u);
  EXPECT_EQ(1u, GameCount());
  EXPECT_EQ(0u, NoticeCount());
  EXPECT_EQ(0u, KeywordCount());
  // A download given up leaves the next one unharmed.
  EXPECT_EQ(0, FetchNoticeFile(Url("xml/later.xml").c_str()));
  SetXmlFileLimit(0);
}

TEST_F(GameCatalogueTest, ASilentServerEndsEveryInfoFileDownloadAtTheFirstAnswerLimit) {
  // Every request is accepted and answered only after a minute.
  Serve({}, R"({"*": {"delay_before": 60}})");
  SessionValues& session = GetSessionValues();
  session.CompanyID = 5;
  CopyToField(session.GameID, L"orvane");
  SetInfoFileFirstAnswerLimit(500);
  struct Case {
    const char* name;
    std::function<bool()> failed;
  } cases[] = {
      {"top menu",
       [] { return ParseTopMenu(5, GetSessionValues().LUpdateAddr) == kCatalogueDownloadFailed; }},
      {"whole catalogue", [] { return LoadCatalogue() == 0; }},              // start-up says "cannot init"
      {"launcher information", [] { return DownloadLauncherInfo() == 0; }},  // start-up says "update failed"
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.name);
    DWORD start = GetTickCount();
    EXPECT_TRUE(c.failed());
    EXPECT_LT(GetTickCount() - start, 5000u);
  }
  SetInfoFileFirstAnswerLimit(0);
}

TEST_F(GameCatalogueTest, XmlFilesAreOnlySavedUnderTheirOwnPlainName) {
  Serve({{"xml/notice.xml", "<n><notice><subject>a</subject></notice></n>"}, {"xml/empty.xml", "<n></n>"}});
  EXPECT_EQ(0, FetchNoticeFile(Url("xml/notice.xml").c_str()));
  EXPECT_EQ(1, RawNoticeCount());
  for (const std::wstring& url :
       {Url("xml/"), Url("xml/.."), Url("xml/..\\..\\notice.xml"), Url("xml/c:notice.xml"),
        std::wstring(L"no-slash"), std::wstring(), Url("xml/missing.xml"), Url("xml/empty.xml")}) {
    EXPECT_EQ(1, FetchNoticeFile(url.c_str())) << testing_support::WideToUtf8(url);
    EXPECT_EQ(1, FetchKeywordFile(url.c_str())) << testing_support::WideToUtf8(url);
  }
  EXPECT_FALSE(testing_support::FileExists(launcher_.Join(L"notice.xml")));
}

// The launcher over a loaded catalogue: the top menu's home entry takes it home, and a keyword picked from the
// list searches the keyword's own search value.
struct HomeView : GameActionView {
  int deselected = 0;
  const wchar_t* SelectedGameId() override { return L"a"; }
  void SetActionButton(ActionButton, int32_t) override {}
  void SetFileCheckButton(int32_t) override {}
  void SelectGame(const wchar_t*) override {}
  void DeselectGame() override { ++deselected; }
  void SetGlobalButtons(int32_t, int32_t) override {}
  uint32_t ButtonWaitTime() override { return 0; }
};

TEST_F(GameCatalogueTest, GoingHomeNeedsTheHomeEntryAndThenLeavesTheGamesSkinAndSelection) {
  Serve({{std::string(kFolder) + "MLI_5.info", "2\n1|Support|http://help/|1\n2|PostOfHome|http://home/|1\n"},
         {std::string(kFolder) + "MLI_6.info", "1\n1|Support|http://help/|1\n"},
         {std::string(kFolder) + "GLI_5.info", "1\n" + GameLine("a", 0, 1)},
         {std::string(kFolder) + "GLI_6.info", "1\n" + GameLine("a", 0, 1)}});
  HomeView view;
  SetGameActionView(&view);
  for (int32_t company : {6, 5}) {
    SCOPED_TRACE(company);
    GetSessionValues().CompanyID = company;
    ASSERT_EQ(1, LoadCatalogue());
    SetCurrentSkin(L"skin_a");  // the selected game's skin
    TakeSkinChange();
    GoHome();
    const bool home = company == 5;
    EXPECT_STREQ(home ? L"" : L"skin_a", GetCurrentSkin());
    EXPECT_FALSE(TakeSkinChange());  // a change was broadcast at once
    EXPECT_EQ(home ? 1 : 0, view.deselected);
  }
  SetGameActionView(nullptr);
  SetCurrentSkin(nullptr);
  TakeSkinChange();
}

TEST_F(GameCatalogueTest, AKeywordPickedFromTheListSearchesItsOwnValueAndOnlyAnExactMatchSearches) {
  Serve({{std::string(kFolder) + "MLI_5.info", "1\n1|PostOfHome|http://home/|1\n"},
         {std::string(kFolder) + "GLI_5.info", "1\n" + GameLine("a", 0, 1)},
         {"xml/keyword.xml",
          "<k><item><view_content>Try Alpha &amp; Co</view_content><keyword>alpha%26co</keyword></item>"
          "<item><view_content>Beta</view_content><keyword>beta</keyword></item></k>"}});
  GetSessionValues().CompanyID = 5;
  CopyToField(GetSessionValues().KeywordUrl, Url("xml/keyword.xml").c_str());
  ASSERT_EQ(1, LoadCatalogue());
  ASSERT_EQ(2u, KeywordCount());
  std::wstring texts = L"\uFEFF[URL]\r\nsearch_url=http://search.example/?q=\r\n";
  ASSERT_EQ(1,
            LoadAppMessagesFromContent(texts.c_str(), static_cast<uint32_t>(texts.size() * sizeof(wchar_t))));
  RecordingShell shell;
  SetLauncherUrlShell(&shell);
  for (const wchar_t* picked : {L"Try Alpha & Co", L"beta", L"Bet", L"Beta"})
    OpenSearch(picked, 1);
  SetLauncherUrlShell(nullptr);
  ReleaseAppMessages();
  // The keyword's value is already part of an address: it is taken as it is.
  EXPECT_EQ((std::vector<std::wstring>{L"\"http://search.example/?q=alpha%26co\"",
                                       L"\"http://search.example/?q=beta\""}),
            shell.opened);
}

}  // namespace
