// Seeded mutation fuzzing of the launcher's readers of what other parties write: the command line and the
// text of the signed parameter file (tokens and session values), the game-argument tail built from them, the
// hand-over record that any process on the desktop can send, the message tables, the settings file and the
// portal's notice and keyword XML files. Each input is checked against what its reader promises: every text
// terminated within its field, counts matching the records handed out, values within their bounds.
#include <windows.h>

#include <shellapi.h>

#include <gtest/gtest.h>

#include <algorithm>
#include <cwchar>
#include <memory>
#include <string>
#include <vector>

#include "app/session/CommandLineTokens.h"
#include "app/session/GameArgs.h"
#include "app/session/HandOver.h"
#include "app/session/ParameterFile.h"
#include "app/session/SessionValues.h"
#include "app/settings/Setting.h"
#include "app/texts/MessageTexts.h"
#include "app/texts/NoticeKeywordRecords.h"
#include "app/texts/XMLNotice.h"
#include "app/texts/XMLSearchKeyword.h"
#include "app/texts/XmlNesting.h"
#include "app/texts/XmlRecordFile.h"
#include "base/TextFields.h"
#include "tests/support/GuardedBuffer.h"
#include "tests/support/Mutator.h"
#include "tests/support/TempFolder.h"
#include "ui/base/IniContainer.h"
#include "ui/base/VirtualFile.h"

namespace testing_support {
namespace {

template <size_t N>
void ExpectTerminated(const wchar_t (&field)[N]) {
  ASSERT_NE(nullptr, std::wmemchr(field, L'\0', N));
}

std::vector<std::string> Encoded(std::initializer_list<const wchar_t*> texts, bool with_mark = false) {
  std::vector<std::string> bytes;
  for (const wchar_t* text : texts)
    bytes.push_back(Utf16Bytes(text, with_mark));
  return bytes;
}

bool StartsWithHttp(const wchar_t* text) {
  return _wcsnicmp(text, L"http://", 7) == 0;
}

// Every session value is terminated within its field and keeps the rules of its key.
void ExpectSessionValuesWithinTheirFields() {
  const SessionValues& values = GetSessionValues();
  ASSERT_NO_FATAL_FAILURE(ExpectTerminated(values.GameID));
  ASSERT_NO_FATAL_FAILURE(ExpectTerminated(values.StartGameID));
  ASSERT_NO_FATAL_FAILURE(ExpectTerminated(values.UserNick));
  ASSERT_NO_FATAL_FAILURE(ExpectTerminated(values.SessKey));
  ASSERT_NO_FATAL_FAILURE(ExpectTerminated(values.Repository));
  ASSERT_NO_FATAL_FAILURE(ExpectTerminated(values.GPVLU));
  ASSERT_NO_FATAL_FAILURE(ExpectTerminated(values.GPLLV));
  ASSERT_NO_FATAL_FAILURE(ExpectTerminated(values.LUpdateAddr));
  ASSERT_NO_FATAL_FAILURE(ExpectTerminated(values.FileUpdateAddr));
  ASSERT_NO_FATAL_FAILURE(ExpectTerminated(values.MacAddr));
  ASSERT_NO_FATAL_FAILURE(ExpectTerminated(values.KeywordUrl));
  ASSERT_NO_FATAL_FAILURE(ExpectTerminated(values.OneLineNoticeUrl));
  ASSERT_NO_FATAL_FAILURE(ExpectTerminated(values.BannerUrl));
  ASSERT_NO_FATAL_FAILURE(ExpectTerminated(values.UpdaterName));
  ASSERT_NO_FATAL_FAILURE(ExpectTerminated(values.AdminMode));
  ASSERT_NO_FATAL_FAILURE(ExpectTerminated(values.ServiceFolder));
  ASSERT_STREQ(L"-1", values.ChannelGroupIndex);
  ASSERT_TRUE(values.GameID[0] == 0 || IsPlainName(values.GameID));
  for (const wchar_t* url : {values.KeywordUrl, values.OneLineNoticeUrl, values.BannerUrl})
    ASSERT_TRUE(url[0] == 0 || StartsWithHttp(url));
}

// The tail that games receive: when it was not cut, a game splitting it finds exactly the five items, each
// with its value whole (quotes dropped), whatever the values hold.
void ExpectGameArgsTailKeepsItsFiveItems() {
  const SessionValues& values = GetSessionValues();
  static GuardedBuffer buffer;
  wchar_t* tail = reinterpret_cast<wchar_t*>(buffer.PlaceSpace(1024 * sizeof(wchar_t)));
  const bool whole = FormatGameArgsTail(values, tail, 1024);
  ASSERT_NE(nullptr, std::wmemchr(tail, L'\0', 1024));
  if (!whole)
    return;
  // Games split their command line with the system's rules (CommandLineToArgvW's).
  const std::wstring command_line = std::wstring(L"game.exe ") + tail;
  int count = 0;
  wchar_t** arguments = CommandLineToArgvW(command_line.c_str(), &count);
  ASSERT_NE(nullptr, arguments);
  std::vector<std::wstring> tokens(arguments + 1, arguments + count);
  LocalFree(arguments);
  ASSERT_EQ(5u, tokens.size()) << std::string(command_line.begin(), command_line.end());
  const std::pair<const wchar_t*, const wchar_t*> items[] = {
      {L"/SessKey:", values.SessKey},
      {L"/MacAddr:", values.MacAddr},
      {L"/UserNick:", values.UserNick},
      {L"/CompanyID:", nullptr},
      {L"/ChannelGroupIndex:", values.ChannelGroupIndex}};
  for (int i = 0; i < 5; ++i) {
    const std::wstring token = tokens[i];
    ASSERT_EQ(0u, token.find(items[i].first));
    if (items[i].second == nullptr)
      continue;
    std::wstring expected;
    for (const wchar_t* unit = items[i].second; *unit != 0; ++unit) {
      if (*unit != L'"')
        expected += *unit;
    }
    ASSERT_EQ(expected, token.substr(std::wcslen(items[i].first)));
  }
}

// Tokens: counting leaves the text alone, splitting gives as many tokens as counted, each inside the text,
// terminated, in order and not overlapping; too small an array is reported with the full count.
void ExpectTokensInsideTheText(GuardedBuffer& buffer, const std::wstring& text) {
  wchar_t* placed = buffer.PlaceText(text);
  int32_t counted = 0;
  ASSERT_EQ(1, SplitArguments(placed, nullptr, &counted));
  ASSERT_EQ(0, std::wmemcmp(placed, text.c_str(), text.size() + 1));
  ASSERT_LE(static_cast<size_t>(counted), text.size());
  if (counted > 1) {
    std::vector<wchar_t*> few(counted - 1);
    int32_t capacity = counted - 1;
    ASSERT_EQ(0, SplitArguments(placed, few.data(), &capacity));
    ASSERT_EQ(counted, capacity);
    placed = buffer.PlaceText(text);
  }
  std::vector<wchar_t*> tokens(counted + 1);
  int32_t count = counted;
  ASSERT_EQ(1, SplitArguments(placed, tokens.data(), &count));
  ASSERT_EQ(counted, count);
  const wchar_t* end = placed + text.size();
  const wchar_t* previous_end = placed;
  for (int32_t i = 0; i < count; ++i) {
    ASSERT_GE(tokens[i], previous_end);
    ASSERT_LE(tokens[i], end);
    previous_end = tokens[i] + std::wcslen(tokens[i]);
    ASSERT_LE(previous_end, end);
    ++previous_end;  // past the terminator
  }
}

const std::vector<std::string> kCommandLineSeeds = Encoded({
    L"\"C:\\Program Files\\Orvane\\orvaneLauncher.exe\" /GameID:game1 /StartGameID:game2 /UserNick:\"a b\" "
    L"/SessKey:0123456789abcdef /CompanyID:12 /PID:-4 /Handle:0x1234 /GPVLU:v /GPLLV:l "
    L"/LUpdateAddr:update.example:27500/x /KeywordUrl:kw.example/k.xml /OneLineNoticeUrl:HTTP://n/n.xml "
    L"/BannerUrl:b /UpdaterName:upd /GameVersion:7 /AdminMode:1 /ServiceFolder:C:\\s /MacAddr:00-11",
    L"l.exe /gameid:\"x\\\\\" /UserNick:\\\"quoted\\\" /Repository:r /FileUpdateAddr:f",
    L"l.exe /LocalGameID:1",
});
const std::vector<std::string> kCommandLineDictionary =
    Encoded({L"\"", L"\\", L"\\\\\"", L" ", L":", L"/GameID:", L"/UserNick:", L"/CompanyID:", L"..",
             L"http://", L"/KeywordUrl:", L"/UpdaterName:", L"/GPVLU:", L"\t"});

TEST(CommandLineFuzz, TokensAndSessionValuesStayWithinTheTextAndTheirFields) {
  Mutator mutator(0xC0DE11, Mutator::kText16);
  GuardedBuffer buffer;
  RunFuzzInputs("command line", mutator, kCommandLineSeeds, kCommandLineDictionary, 4000,
                [&](const std::string& input) {
                  std::wstring text = Utf16Units(input);
                  text = text.substr(0, text.find(L'\0'));
                  ASSERT_NO_FATAL_FAILURE(ExpectTokensInsideTheText(buffer, text));
                  ParseCommandLineText(buffer.PlaceText(text), nullptr);
                  ASSERT_NO_FATAL_FAILURE(ExpectSessionValuesWithinTheirFields());
                  ASSERT_NO_FATAL_FAILURE(ExpectGameArgsTailKeepsItsFiveItems());
                  ReleaseParameterBuffer();
                });
}

// The signed parameter file's text as a valid signature would carry it: at most 501 recovered bytes, read as
// UTF-16LE up to the first NUL, an odd last byte dropped.
TEST(ParameterTextFuzz, RecoveredTextsGiveSessionValuesWithinTheirFields) {
  Mutator mutator(0x9A8A, Mutator::kText16);
  GuardedBuffer buffer;
  RunFuzzInputs("parameter text", mutator, kCommandLineSeeds, kCommandLineDictionary, 4000,
                [&](const std::string& input) {
                  std::wstring text = Utf16Units(input.substr(0, 501));
                  text = text.substr(0, text.find(L'\0'));
                  ASSERT_NO_FATAL_FAILURE(ExpectTokensInsideTheText(buffer, text));
                  ParseCommandLineText(buffer.PlaceText(text), nullptr);
                  ASSERT_NO_FATAL_FAILURE(ExpectSessionValuesWithinTheirFields());
                  ReleaseParameterBuffer();
                });
}

std::string HandOverBytes(const wchar_t* session_key,
                          const wchar_t* nick,
                          const wchar_t* game,
                          int32_t version,
                          const wchar_t* gpvlu,
                          const wchar_t* gpllv) {
  HandOverRecord record = {};
  CopyToField(record.SessKey, session_key);
  CopyToField(record.UserNick, nick);
  CopyToField(record.StartGameID, game);
  record.GameVersion = version;
  CopyToField(record.GPVLU, gpvlu);
  CopyToField(record.GPLLV, gpllv);
  return std::string(reinterpret_cast<const char*>(&record), sizeof record);
}

TEST(HandOverFuzz, OnlyWholeRecordsAreTakenAndEveryTextStaysInItsField) {
  const std::vector<std::string> seeds = {
      HandOverBytes(L"key", L"nick", L"game1", 3, L"gpvlu", L"gpllv"),
      HandOverBytes(std::wstring(63, L'k').c_str(), std::wstring(63, L'n').c_str(),
                    std::wstring(63, L'g').c_str(), -1, std::wstring(1023, L'v').c_str(),
                    std::wstring(15, L'l').c_str())};
  Mutator mutator(0x4A0D, Mutator::kBinary);
  GuardedBuffer buffer;
  int taken = 0;
  ParseCommandLineText(L"l.exe /GameID:game1", nullptr);
  RunFuzzInputs("hand-over record", mutator, seeds, {}, 3000, [&](const std::string& input) {
    // Every length up to a little past the record, then the mutations (mostly of the record's own length).
    COPYDATASTRUCT data = {};
    data.dwData = mutator.Below(16) == 0 ? kHandOverMessageId + mutator.Below(3) - 1 : kHandOverMessageId;
    data.cbData = static_cast<DWORD>(input.size());
    data.lpData = input.empty() && mutator.Below(2) == 0 ? nullptr : buffer.Place(input);
    const int result = ReceiveHandOver(&data);
    const bool whole =
        data.dwData == kHandOverMessageId && input.size() == sizeof(HandOverRecord) && data.lpData != nullptr;
    ASSERT_EQ(whole ? 1 : 0, result);
    taken += result;
    ASSERT_NO_FATAL_FAILURE(ExpectSessionValuesWithinTheirFields());
    const HandOverValues& values = GetHandOverValues();
    ASSERT_NO_FATAL_FAILURE(ExpectTerminated(values.SessKey));
    ASSERT_NO_FATAL_FAILURE(ExpectTerminated(values.UserNick));
    ASSERT_NO_FATAL_FAILURE(ExpectTerminated(values.StartGameID));
    ASSERT_NE(nullptr, std::wmemchr(GetGameArgsTail(), L'\0', 1024));
  });
  EXPECT_GT(taken, 0);
}

// The message tables: a file with the byte-order mark is a table, anything else is none; every lookup gives
// a terminated text, the key itself when it is missing.
TEST(MessageTableFuzz, TablesAreBuiltOnlyFromMarkedFilesAndLookupsStayTexts) {
  TempFolder folder(L"messagefuzz");
  const std::wstring module = folder.Join(L"orvaneLauncher.exe");
  wchar_t previous[MAX_PATH];
  ASSERT_NE(0u, GetCurrentDirectoryW(MAX_PATH, previous));
  ASSERT_TRUE(SetCurrentDirectoryW(folder.path().c_str()));
  const std::vector<std::string> seeds =
      Encoded({L"[MESSAGE]\r\nTITLE=Orvane\r\nSPLASH=Loading "
               L"%s...\r\n[FONT]\r\nsize=14\r\nname=Tahoma\r\ncharset=0\r\n"
               L"gap_x=3\r\ngap_y=-2\r\n",
               L"[MESSAGE]\r\nERR_NETWORK=The network is gone\r\n"},
              true);
  Mutator mutator(0x3E55, Mutator::kText16);
  int built = 0;
  RunFuzzMutations("message tables", mutator, seeds, Encoded({L"[FONT]\r\n", L"size=", L"%s", L"%n"}), 80,
                   [&](const std::string& input) {
                     ReleaseAllVirtualFiles();
                     ASSERT_TRUE(WriteFileBytes(folder.Join(L"LauncherMessage.ini"), input));
                     ASSERT_TRUE(WriteFileBytes(folder.Join(L"data\\skin\\AppMessage.ini"), input));
                     const bool marked = input.size() >= 2 && input[0] == '\xFF' && input[1] == '\xFE';
                     ASSERT_EQ(marked ? 1 : 0, LoadLauncherMessagesFor(module.c_str()));
                     ASSERT_EQ(marked ? 1 : 0, LoadAppMessages());
                     built += marked;
                     for (const wchar_t* key : {L"TITLE", L"SPLASH", L"ERR_NETWORK", L"MISSING"}) {
                       const wchar_t* text = GetLauncherMessage(key);
                       ASSERT_NE(nullptr, text);
                       ASSERT_LE(std::wcslen(text), input.size() / 2 + std::wcslen(key));
                       ASSERT_NE(nullptr, GetAppMessageOrUnknown(key));
                     }
                     ReleaseLauncherMessages();
                     ReleaseAppMessages();
                   });
  ReleaseAllVirtualFiles();
  SetCurrentDirectoryW(previous);
  EXPECT_GT(built, 0);
}

// The same rules over the bytes of the tables, each input ending at a no-access page (no file is read).
TEST(MessageTableFuzz, TablesOverBytesAreBuiltOnlyWhenMarkedAndLookupsStayTexts) {
  const std::vector<std::string> seeds =
      Encoded({L"[MESSAGE]\r\nTITLE=Orvane\r\nSPLASH=Loading "
               L"%s...\r\n[FONT]\r\nsize=14\r\nname=Tahoma\r\ncharset=0\r\n"
               L"gap_x=3\r\ngap_y=-2\r\n",
               L"[MESSAGE]\r\nERR_NETWORK=The network is gone\r\n"},
              true);
  Mutator mutator(0x3E56, Mutator::kText16);
  GuardedBuffer buffer;
  int built = 0;
  RunFuzzInputs("message tables over bytes", mutator, seeds,
                Encoded({L"[FONT]\r\n", L"size=", L"%s", L"%n", L"name=", L"charset=255"}), 20000,
                [&](const std::string& input) {
                  const wchar_t* content = reinterpret_cast<const wchar_t*>(buffer.Place(input));
                  const uint32_t size = static_cast<uint32_t>(input.size());
                  const bool marked = input.size() >= 2 && input[0] == '\xFF' && input[1] == '\xFE';
                  ASSERT_EQ(marked ? 1 : 0, LoadLauncherMessagesFromContent(content, size));
                  ASSERT_EQ(marked ? 1 : 0, LoadAppMessagesFromContent(content, size));
                  built += marked;
                  for (const wchar_t* key : {L"TITLE", L"SPLASH", L"ERR_NETWORK", L"MISSING"}) {
                    const wchar_t* text = GetLauncherMessage(key);
                    ASSERT_NE(nullptr, text);
                    ASSERT_LE(std::wcslen(text), input.size() / 2 + std::wcslen(key));
                    ASSERT_NE(nullptr, GetAppMessageOrUnknown(key));
                  }
                  ReleaseLauncherMessages();
                  ReleaseAppMessages();
                });
  EXPECT_GT(built, 0);
}

TEST(SettingsFileFuzz, LoadedSettingsAreAlwaysWithinTheirBounds) {
  TempFolder folder(L"settingfuzz");
  const std::wstring program = folder.Join(L"orvaneLauncher.exe");
  const std::wstring registry_path = L"Software\\OrvaneSettingFuzz" + std::to_wstring(GetCurrentProcessId());
  SettingSources sources;
  sources.registry_root = HKEY_CURRENT_USER;
  sources.registry_path = registry_path.c_str();
  sources.program_path = program.c_str();
  sources.windows9x_family = 0;
  SetSettingSources(sources);
  ParseCommandLineText(L"l.exe /GameID:game1", nullptr);
  ReleaseParameterBuffer();
  const std::vector<std::string> seeds = {
      "[game1]\r\nMinimize=1\r\nAutoClose=0\r\nInstallFilePath=C:\\Downloads\r\nDeleteInstallFile="
      "1\r\nUpdate=2\r\n"
      "IdleTime=15\r\nCPUUse=50\r\nNetworkUse=70\r\nShutdown=0\r\nFixSkin=1\r\nFixedSkinID=blue\r\n"
      "DisableWebBrowser=5\r\n[GAME_ORDER]\r\ncount=3\r\n1=game2\r\n2=game1\r\n3=game2\r\n",
      "[GAME_ORDER]\r\ncount=2\r\n1=a\r\n2=b\r\n"};
  Mutator mutator(0x5E77, Mutator::kText8);
  RunFuzzInputs("settings file", mutator, seeds, {"..", "\\", "=", "[game1]\r\n", "count="}, 150,
                [&](const std::string& input) {
                  ASSERT_TRUE(WriteFileBytes(folder.Join(L"orvaneLauncher.ini"), input));
                  Setting setting;
                  setting.Load();
                  ASSERT_TRUE(setting.Minimize == 0 || setting.Minimize == 1);
                  ASSERT_TRUE(setting.AutoClose == 0 || setting.AutoClose == 1);
                  ASSERT_TRUE(setting.Update >= 0 && setting.Update <= 2);
                  ASSERT_TRUE(setting.IdleTime >= 1 && setting.IdleTime <= 99);
                  ASSERT_TRUE(setting.CPUUse >= 10 && setting.CPUUse <= 90);
                  ASSERT_TRUE(setting.NetworkUse >= 10 && setting.NetworkUse <= 90);
                  ASSERT_NO_FATAL_FAILURE(ExpectTerminated(setting.InstallFilePath));
                  ASSERT_NO_FATAL_FAILURE(ExpectTerminated(setting.FixedSkinID));
                  ASSERT_TRUE(setting.FixedSkinID[0] == 0 || IsPlainName(setting.FixedSkinID));
                  int32_t position = 0;
                  for (auto* node = setting.GameOrder().head(); node != nullptr; node = node->next) {
                    ASSERT_EQ(++position, node->item->order);
                    ASSERT_NO_FATAL_FAILURE(ExpectTerminated(node->item->game_id));
                    ASSERT_NE(L'\0', node->item->game_id[0]);
                  }
                  ASSERT_FALSE(setting.IsChanged());
                });
  ResetSettingSources();
  RegDeleteTreeW(HKEY_CURRENT_USER, registry_path.c_str());
}

// Both XML readers: records are counted as handed out and published, every field within its width.
size_t CountOf(const std::string& text, char c) {
  size_t count = 0;
  for (char unit : text)
    count += unit == c;
  return count;
}

std::vector<std::string> NoticeKeywordSeeds() {
  return {
      "<?xml version=\"1.0\" encoding=\"UTF-8\"?>\n<notices>\n<notice><subject>Maintenance \xE2\x80\x94 "
      "tonight"
      "</subject><url>http://portal.example/n?a=1&amp;b=2</url></notice>\n<other><subject><![CDATA[<b>x</"
      "b>]]>"
      "</subject></other>\n</notices>\n",
      "<root><item><view_content>hint</view_content><link_type>1</link_type><keyword>term</keyword>"
      "<section>s</section><href>http://h/</href></item><item><keyword>\xED\x9F\xBF</keyword></item></root>",
  };
}

std::vector<std::string> NoticeKeywordDictionary() {
  return {"<notice>",  "</notice>", "<item>",       "<subject>", "<href>",
          "<![CDATA[", "]]>",       "&#0;",         "&#xFFFF;",  "&lt;",
          "<!--",      "-->",       "\xEF\xBB\xBF", "\xC0\x80",  "\xF4\x90\x80\x80"};
}

// What both readers promise for one reading: records within their fields, published as read.
size_t ExpectNoticesWithinTheirFields(const CXMLNotice& read,
                                      CXMLNotice* publisher,
                                      const std::string& input) {
  EXPECT_LE(read.records().size(), CountOf(input, '<'));
  for (const NoticeRecord& record : read.records()) {
    EXPECT_NE(nullptr, std::wmemchr(record.subject, L'\0', 1024));
    EXPECT_NE(nullptr, std::wmemchr(record.url, L'\0', 1024));
  }
  EXPECT_EQ(!read.records().empty(), publisher->Publish());
  EXPECT_EQ(read.records().size(), static_cast<size_t>(RawNoticeCount()));
  return read.records().size();
}

size_t ExpectKeywordsWithinTheirFields(const CXMLSearchKeyword& read,
                                       CXMLSearchKeyword* publisher,
                                       const std::string& input) {
  EXPECT_LE(read.records().size(), CountOf(input, '<'));
  for (const KeywordRecord& record : read.records()) {
    EXPECT_LE(std::wcslen(record.view_content), 259u);
    EXPECT_LE(std::wcslen(record.href), 259u);
    EXPECT_NE(nullptr, std::wmemchr(record.link_type, L'\0', 260));
    EXPECT_NE(nullptr, std::wmemchr(record.keyword, L'\0', 260));
    EXPECT_NE(nullptr, std::wmemchr(record.section, L'\0', 260));
  }
  EXPECT_EQ(!read.records().empty(), publisher->Publish());
  EXPECT_EQ(read.records().size(), static_cast<size_t>(RawKeywordCount()));
  return read.records().size();
}

// The readers over the bytes of a file, each input ending at a no-access page; TinyXML itself reads a padded
// copy, and the same copy placed at a guard page shows that the padding holds its reads.
TEST(NoticeKeywordXmlFuzz, RecordsKeepTheirFieldsAndArePublishedAsRead) {
  Mutator mutator(0x3A11, Mutator::kText8);
  GuardedBuffer buffer;
  size_t records_seen = 0;
  RunFuzzInputs("notice and keyword XML", mutator, NoticeKeywordSeeds(), NoticeKeywordDictionary(), 3000,
                [&](const std::string& input) {
                  const char* bytes = reinterpret_cast<const char*>(buffer.Place(input));
                  CXMLNotice notices;
                  if (notices.LoadBytes(bytes, input.size()))
                    records_seen += ExpectNoticesWithinTheirFields(notices, &notices, input);
                  CXMLSearchKeyword keywords;
                  if (keywords.LoadBytes(bytes, input.size()))
                    records_seen += ExpectKeywordsWithinTheirFields(keywords, &keywords, input);
                  const std::string padded =
                      NormalizedXmlText(input.data(), input.size()) + std::string(kXmlTextPadding, '\0');
                  TiXmlDocument document;
                  document.Parse(reinterpret_cast<const char*>(buffer.Place(padded)), nullptr,
                                 mutator.Below(2) == 0 ? TIXML_ENCODING_UTF8 : TIXML_DEFAULT_ENCODING);
                });
  ReleaseRawNotices();
  ReleaseRawKeywords();
  EXPECT_GT(records_seen, 0u);
}

// The deepest level of elements in TinyXML's tree (a failed parse keeps what it read), walked without
// recursion.
size_t TreeDepth(const TiXmlDocument& document) {
  size_t deepest = 0;
  size_t depth = 1;
  for (const TiXmlNode* node = document.FirstChild(); node != nullptr;) {
    if (node->ToElement() != nullptr)
      deepest = std::max(deepest, depth);
    if (node->FirstChild() != nullptr) {
      node = node->FirstChild();
      ++depth;
      continue;
    }
    while (node != nullptr && node->NextSibling() == nullptr) {
      node = node->Parent() == &document ? nullptr : node->Parent();
      --depth;
    }
    if (node != nullptr)
      node = node->NextSibling();
  }
  return deepest;
}

// The depth bound's scan against TinyXML itself: it never counts fewer levels than TinyXML's parse reaches
// (whatever comments, CDATA, quotes, references or UTF-8 lead bytes hide), and exactly as many when a parse
// with a given encoding succeeds.
TEST(XmlNestingFuzz, TheScanCountsTheLevelsTinyXmlReaches) {
  Mutator mutator(0x3A13, Mutator::kText8);
  const std::vector<std::string> seeds = {
      "<?xml version=\"1.0\" encoding=\"UTF-8\"?><r><a t='<b>' u=\">\"><b/><!-- <c><c> --><![CDATA[<c>]]>"
      "<?p <c>?>&#x3C;</a></r>",
      "<r>\xE3<!--<b>--></b></r><?xml version='1.0'?><s><b>&#x</b>x;</b></s>",
      "\xEF\xBB\xBF<r><a>\xF0<a>\xC3</a></a></r>"};
  const std::vector<std::string> dictionary = {"<a>",
                                               "</a>",
                                               "<b/>",
                                               "<!--",
                                               "-->",
                                               "<![CDATA[",
                                               "]]>",
                                               "<?p ",
                                               "?>",
                                               "&#x",
                                               "&#",
                                               ";",
                                               "x",
                                               "'",
                                               "\"",
                                               "=",
                                               ">",
                                               "\xE3",
                                               "\xF0",
                                               "\xEF\xBB\xBF",
                                               "<?xml encoding=\"UTF-8\"?>",
                                               "<?xml version='1'?>"};
  RunFuzzInputs("XML nesting", mutator, seeds, dictionary, 3000, [&](const std::string& input) {
    const std::string padded =
        NormalizedXmlText(input.data(), input.size()) + std::string(kXmlTextPadding, '\0');
    for (TiXmlEncoding encoding : {TIXML_ENCODING_UTF8, TIXML_ENCODING_UNKNOWN, TIXML_ENCODING_LEGACY}) {
      TiXmlDocument document;
      document.Parse(padded.c_str(), nullptr, encoding);
      const size_t scanned = XmlNestingDepth(padded.data(), padded.size(), encoding, 1000);
      ASSERT_GE(scanned, TreeDepth(document)) << encoding;
      if (!document.Error() && encoding != TIXML_ENCODING_UNKNOWN) {
        ASSERT_EQ(scanned, TreeDepth(document)) << encoding;
      }
    }
  });
}

// The real path: a file gives the records its bytes give.
TEST(NoticeKeywordXmlFuzz, AFileGivesTheRecordsItsBytesGive) {
  TempFolder folder(L"xmlfuzz");
  const std::wstring path = folder.Join(L"file.xml");
  Mutator mutator(0x3A12, Mutator::kText8);
  size_t records_seen = 0;
  RunFuzzMutations("notice and keyword XML file", mutator, NoticeKeywordSeeds(), NoticeKeywordDictionary(),
                   40, [&](const std::string& input) {
                     ASSERT_TRUE(WriteFileBytes(path, input));
                     CXMLNotice from_file;
                     CXMLNotice from_bytes;
                     ASSERT_EQ(from_bytes.LoadBytes(input.data(), input.size()),
                               from_file.Load(path.c_str()));
                     ASSERT_EQ(from_bytes.records().size(), from_file.records().size());
                     CXMLSearchKeyword keywords_from_file;
                     CXMLSearchKeyword keywords_from_bytes;
                     ASSERT_EQ(keywords_from_bytes.LoadBytes(input.data(), input.size()),
                               keywords_from_file.Load(path.c_str()));
                     ASSERT_EQ(keywords_from_bytes.records().size(), keywords_from_file.records().size());
                     records_seen += from_file.records().size() + keywords_from_file.records().size();
                   });
  EXPECT_GT(records_seen, 0u);
}

}  // namespace
}  // namespace testing_support
