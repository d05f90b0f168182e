// The catalogue's text formats, parsed from memory: result codes, field placement, texts that do not fit, and
// the installation test that runs for every game line.
#include <windows.h>

#include <gtest/gtest.h>

#include <algorithm>
#include <climits>
#include <cwchar>
#include <iterator>
#include <string>
#include <vector>

#include "app/games/CatalogueText.h"
#include "app/session/ProgramPath.h"
#include "app/session/SessionValues.h"
#include "base/TextFields.h"

namespace {

// A game line with `count` fields, every field empty but the loader type (field 18, "0") unless given.
std::string GameLine(std::vector<std::pair<int, std::string>> values, size_t count = 27) {
  std::vector<std::string> fields(count);
  if (count > 18)
    fields[18] = "0";
  for (const auto& value : values)
    fields[value.first] = value.second;
  // Every field is followed by its '|': a trailing empty field would not count otherwise.
  std::string line;
  for (const std::string& field : fields)
    line += field + "|";
  return line;
}

int ParseList(std::string text, std::vector<RawGameRecord>* records) {
  return ParseGameListText(&text[0], text.size(), records);
}

class CatalogueTextTest : public ::testing::Test {
 protected:
  void SetUp() override {
    GetSessionValues() = SessionValues{};
    SetExeFolder(L"C:\\Launcher");
  }
  void TearDown() override {
    GetSessionValues() = SessionValues{};
    SetExeFolder(nullptr);
  }
};

TEST(NextTextLine, SkipsLineBreaksAndNulBytesAndStopsAtTheBufferEnd) {
  std::string text("\r\n\r\nfirst\r\n\0second\nthird-cut-here", 33);
  TextCursor cursor{&text[0], &text[0] + 28};  // "third-cut" ends the buffer
  char* line = nullptr;
  size_t length = 0;
  std::vector<std::string> lines;
  while (NextTextLine(&cursor, &line, &length))
    lines.emplace_back(line, length);
  EXPECT_EQ((std::vector<std::string>{"first", "second", "third-cut"}), lines);
  EXPECT_EQ(0u, length);
}

TEST(SplitFields, KeepsEmptyFieldsButAddsNoneAfterATrailingBar) {
  struct Case {
    std::string line;
    std::vector<std::string> fields;
  } cases[] = {
      {"a|b|c", {"a", "b", "c"}},
      {"a||c", {"a", "", "c"}},
      {"|a", {"", "a"}},
      {"a|b|", {"a", "b"}},
      {"a", {"a"}},
  };
  for (Case& c : cases) {
    std::vector<char*> fields;
    ASSERT_TRUE(SplitFields(&c.line[0], &fields)) << c.line;
    EXPECT_EQ(c.fields, std::vector<std::string>(fields.begin(), fields.end())) << c.line;
  }
  std::string empty;
  std::vector<char*> fields;
  EXPECT_FALSE(SplitFields(&empty[0], &fields));
}

TEST(DecimalValue, ReadsTheLeadingIntegerAndSaturates) {
  EXPECT_EQ(12, DecimalValue("12"));
  EXPECT_EQ(-3, DecimalValue(" -3"));
  EXPECT_EQ(4, DecimalValue("+4x"));
  EXPECT_EQ(0, DecimalValue("x4"));
  EXPECT_EQ(0, DecimalValue(""));
  EXPECT_EQ(INT_MAX, DecimalValue("99999999999"));
  EXPECT_EQ(INT_MIN, DecimalValue("-99999999999"));
}

TEST_F(CatalogueTextTest, GameListResultCodes) {
  std::string good = GameLine({{0, "game#1,2"}, {17, "g1"}});
  struct Case {
    std::string text;
    int result;
    size_t records;
  } cases[] = {
      {"0\n" + good, kCatalogueEmpty, 0},
      {"05\n" + good, kCatalogueEmpty, 0},
      {"-1\n" + good, kCatalogueBadFormat, 0},
      {"", kCatalogueBadFormat, 0},
      {"\r\n\r\n", kCatalogueBadFormat, 0},
      {"games\n" + good, kCatalogueBadFormat, 0},
      {"1\n" + GameLine({{17, "short"}}, 26), kCatalogueBadFormat, 0},
      {"2\n" + good + "\n" + GameLine({}, 26), kCatalogueBadFormat, 0},
      {"1\n" + GameLine({{18, "5"}}), kCatalogueBadFormat, 0},
      {"1\n" + GameLine({{18, "-1"}}), kCatalogueBadFormat, 0},
      {"1\n" + good, kCatalogueOk, 1},
      {"1\n" + good + "\n" + GameLine({}, 3), kCatalogueOk, 1},  // the count ends the list
      {"3\r\n" + good + "\r\n", kCatalogueOk, 1},                // fewer lines than announced
      {"2000000000\n" + good, kCatalogueOk, 1},                  // a count is no allocation size
      {"1", kCatalogueOk, 0},
  };
  for (const Case& c : cases) {
    std::vector<RawGameRecord> records(1);
    EXPECT_EQ(c.result, ParseList(c.text, &records)) << c.text;
    EXPECT_EQ(c.records, records.size()) << c.text;
  }
}

TEST_F(CatalogueTextTest, GameLineFieldsLandInTheirRecordFields) {
  std::vector<std::pair<int, std::string>> values = {{0, "game#11,22"},
                                                     {1, "10.0.0.1:7000"},
                                                     {2, "files.example:8080"},
                                                     {3, "x"},
                                                     {6, "-window"},
                                                     {9, "http://p1/"},
                                                     {10, "bin\\game.exe"},
                                                     {11, "eleven"},
                                                     {12, "http://i/setup.exe"},
                                                     {14, "http://home/"},
                                                     {15, "Title \xC3\xA9"},
                                                     {16, "42"},
                                                     {17, "g1"},
                                                     {18, "3"},
                                                     {19, "19"},
                                                     {20, "7"},
                                                     {21, "http://icons/g1"},
                                                     {22, "5"},
                                                     {23, "13"},
                                                     {24, "http://p2/"},
                                                     {25, "skin"},
                                                     {26, "repo\\sub"},
                                                     {27, "twenty-seven"}};
  std::vector<RawGameRecord> records;
  ASSERT_EQ(kCatalogueOk, ParseList("1\n" + GameLine(values, 28), &records));
  ASSERT_EQ(1u, records.size());
  const RawGameRecord& r = records[0];
  EXPECT_STREQ(L"game", r.exe_name);
  EXPECT_EQ(11, r.exe_numbers[0]);
  EXPECT_EQ(22, r.exe_numbers[1]);
  EXPECT_STREQ(L"10.0.0.1:7000", r.server_addr);
  EXPECT_STREQ(L"files.example:8080", r.file_host);
  EXPECT_STREQ(L"-window", r.shortcut_args);
  EXPECT_STREQ(L"http://p1/", r.postpage1_url);
  EXPECT_STREQ(L"bin\\game.exe", r.exe_relative_path);
  EXPECT_STREQ(L"eleven", r.field11);
  EXPECT_STREQ(L"http://i/setup.exe", r.installer_url);
  EXPECT_STREQ(L"http://home/", r.home_url);
  EXPECT_STREQ(L"Title \u00e9", r.title);
  EXPECT_EQ(42, r.catalogue_version);
  EXPECT_STREQ(L"g1", r.game_id);
  EXPECT_EQ(3, r.loader_type);
  EXPECT_EQ(19, r.field19);
  EXPECT_EQ(1, r.open);
  EXPECT_STREQ(L"http://icons/g1", r.icon_url_base);
  EXPECT_EQ(5, r.icon_version);
  EXPECT_EQ(13, r.option_bits);
  EXPECT_STREQ(L"http://p2/", r.postpage2_url);
  EXPECT_STREQ(L"skin", r.skin_name);
  EXPECT_STREQ(L"repo\\sub", r.repository_sub);
  EXPECT_STREQ(L"twenty-seven", r.field27);
  EXPECT_EQ(0, r.installed);
}

TEST_F(CatalogueTextTest, ExeFieldNeedsAHashAndBothNumbers) {
  struct Case {
    const char* field;
    const wchar_t* name;
    int32_t first, second;
  } cases[] = {
      {"game", L"", 0, 0},        {"game#", L"game", 0, 0},    {"game#5", L"game", 0, 0},
      {"game#5,", L"game", 0, 0}, {"game#5,6", L"game", 5, 6}, {"#5,6", L"", 5, 6},
      {"a#b#1,2", L"a", 0, 0},
  };
  for (const Case& c : cases) {
    std::vector<RawGameRecord> records;
    ASSERT_EQ(kCatalogueOk, ParseList("1\n" + GameLine({{0, c.field}}), &records)) << c.field;
    EXPECT_STREQ(c.name, records[0].exe_name) << c.field;
    EXPECT_EQ(c.first, records[0].exe_numbers[0]) << c.field;
    EXPECT_EQ(c.second, records[0].exe_numbers[1]) << c.field;
  }
}

TEST_F(CatalogueTextTest, TextsThatDoNotFitTheirFieldAreStoredEmpty) {
  std::string e_acute = "\xC3\xA9";  // two UTF-8 bytes, one UTF-16 unit
  auto repeat = [](const std::string& unit, size_t count) {
    std::string text;
    for (size_t index = 0; index < count; ++index)
      text += unit;
    return text;
  };
  struct Case {
    int field;
    std::string text;
    bool kept;
  } cases[] = {
      {15, repeat(e_acute, 49), true},  // title: 49 characters and the terminator fill 50
      {15, repeat(e_acute, 50), false},
      {15, repeat(e_acute, 51), false},
      {15, repeat("\xF0\x9F\x8E\xAE", 24), true},   // 24 surrogate pairs: 48 units
      {15, repeat("\xF0\x9F\x8E\xAE", 25), false},  // 50 units and the terminator
      {1, repeat("a", 63), true},                   // ServerAddr, 64
      {1, repeat("a", 64), false},
      {12, repeat("u", 1023), true},  // installer URL, 1024
      {12, repeat("u", 1024), false},
  };
  for (const Case& c : cases) {
    std::vector<RawGameRecord> records;
    ASSERT_EQ(kCatalogueOk, ParseList("1\n" + GameLine({{c.field, c.text}, {17, "g1"}}), &records));
    const RawGameRecord& r = records[0];
    const wchar_t* stored = c.field == 15 ? r.title : c.field == 1 ? r.server_addr : r.installer_url;
    EXPECT_EQ(c.kept, stored[0] != 0) << "field " << c.field << ", " << c.text.size() << " bytes";
    EXPECT_STREQ(L"g1", r.game_id);
  }
}

// Invalid UTF-8 (runs of lead bytes without their continuation bytes) around a field's width: whatever the
// conversion makes of it, the field is either a whole terminated text or empty.
TEST(Utf8ToField, RunsOfInvalidLeadBytesNearTheWidthLeaveATerminatedFieldOrNone) {
  for (const char* lead : {"\xE3", "\xF0", "\xC3", "\xE3\x82", "\xF4\x90\x80", "\xED\xA0"}) {
    for (size_t run = 30; run < 70; ++run) {
      std::string text = "Shop \xE2\x82\xAC";
      for (size_t i = 0; i < run; ++i)
        text += lead;
      wchar_t field[52];
      std::fill(std::begin(field), std::end(field), L'x');
      const bool fitted = Utf8ToField(text.c_str(), field, 50);
      ASSERT_NE(nullptr, std::wmemchr(field, L'\0', 50)) << run;
      EXPECT_EQ(L'x', field[50]);
      if (!fitted) {
        EXPECT_EQ(L'\0', field[0]) << run;
      }
    }
  }
}

TEST_F(CatalogueTextTest, OnlyThePlainStartGameIsInstalledInTheLauncherFolder) {
  CopyToField(GetSessionValues().StartGameID, L"g2");
  std::vector<RawGameRecord> records;
  ASSERT_EQ(kCatalogueOk, ParseList("3\n" + GameLine({{17, "g1"}}) + "\n" + GameLine({{17, "g2"}}) + "\n" +
                                        GameLine({{17, "G2"}}),
                                    &records));
  ASSERT_EQ(3u, records.size());
  EXPECT_EQ(0, records[0].installed);
  EXPECT_STREQ(L"", records[0].game_folder);
  EXPECT_EQ(1, records[1].installed);
  EXPECT_STREQ(L"C:\\Launcher", records[1].game_folder);
  EXPECT_EQ(0, records[2].installed);  // case counts

  // A start game id that could name another folder is never installed.
  for (const wchar_t* id : {L"..", L"a\\b", L"c:x"}) {
    CopyToField(GetSessionValues().StartGameID, id);
    std::string narrow(id, id + wcslen(id));
    ASSERT_EQ(kCatalogueOk, ParseList("1\n" + GameLine({{17, narrow}}), &records));
    EXPECT_EQ(0, records[0].installed) << narrow;
  }
}

TEST_F(CatalogueTextTest, VersionLinesUpdateTheirGameOnly) {
  std::vector<RawGameRecord> records(2);
  wcscpy(records[0].game_id, L"g1");
  wcscpy(records[1].game_id, L"g2");
  records[1].catalogue_version = 7;
  records[1].open = 1;
  std::string text =
      "4\n"
      "g1|10|0|5\n"
      "g2|11\n"           // too few fields: skipped
      "unknown|12|1|1\n"  // no such game
      "|13|1|1\n";
  ASSERT_EQ(kCatalogueOk, ParseGameVersionsText(&text[0], text.size(), records.data(), records.size()));
  EXPECT_EQ(10, records[0].catalogue_version);
  EXPECT_EQ(0, records[0].open);
  EXPECT_EQ(5, records[0].option_bits);
  EXPECT_EQ(7, records[1].catalogue_version);
  EXPECT_EQ(1, records[1].open);

  std::string empty = "0\ng1|99|1|1";
  EXPECT_EQ(kCatalogueEmpty, ParseGameVersionsText(&empty[0], empty.size(), records.data(), records.size()));
  EXPECT_EQ(10, records[0].catalogue_version);
}

TEST(ParseTopMenuText, ReadsIdNameUrlAndValue) {
  std::string text = "3\n1|PostOfHome|http://home/|0\n2|short\n3|Help|http://help/|9\n";
  std::vector<RawTopMenuRecord> records;
  ASSERT_EQ(kCatalogueOk, ParseTopMenuText(&text[0], text.size(), &records));
  ASSERT_EQ(2u, records.size());
  EXPECT_EQ(1, records[0].id);
  EXPECT_STREQ(L"PostOfHome", records[0].name);
  EXPECT_STREQ(L"http://home/", records[0].url);
  EXPECT_EQ(0, records[0].value);
  EXPECT_STREQ(L"Help", records[1].name);
  EXPECT_EQ(9, records[1].value);
  std::string bad = "-1\n1|a|b|1";
  EXPECT_EQ(kCatalogueBadFormat, ParseTopMenuText(&bad[0], bad.size(), &records));
}

TEST(ReadLaunchModeText, NeedsACountOfTwoAndStopsAtALineWithoutColon) {
  struct Case {
    std::string text;
    int result;
    int32_t update_via, use;
  } cases[] = {
      {"2\nUseOrvane:0\nUpdateViaOrvane:1\n", kCatalogueOk, 1, 0},
      {"2\nUpdateViaOrvane:3\nother:5\nUseOrvane:1", kCatalogueOk, 3, 1},
      {"2\nUpdateViaOrvane:1\nno colon\nUseOrvane:1", kCatalogueOk, 1, 0},
      {"2\nUpdateViaOrvane:yes\n", kCatalogueOk, 0, 0},
      {"2\nupdateviaorvane:1\n", kCatalogueOk, 0, 0},
      {"1\nUpdateViaOrvane:1\n", kCatalogueBadFormat, 9, 9},
      {"0\nUpdateViaOrvane:1\n", kCatalogueEmpty, 9, 9},
  };
  for (Case& c : cases) {
    LaunchMode mode{9, 9};
    EXPECT_EQ(c.result, ReadLaunchModeText(&c.text[0], c.text.size(), &mode)) << c.text;
    EXPECT_EQ(c.update_via, mode.UpdateViaOrvane) << c.text;
    EXPECT_EQ(c.use, mode.UseOrvane) << c.text;
  }
}

}  // namespace
