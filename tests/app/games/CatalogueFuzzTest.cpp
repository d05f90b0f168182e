// Seeded mutation fuzzing of the catalogue files the portal serves (game list, game versions, top menu,
// launch mode). Each buffer is placed so that its writable terminator byte is the last one before a
// no-access page, as the downloader hands it over. Whatever a reader returns must be a known result code, and
// its records must hold terminated texts and values within their ranges, no more records than lines.
#include <gtest/gtest.h>

#include <algorithm>
#include <cwchar>
#include <string>
#include <vector>

#include "app/games/CatalogueText.h"
#include "app/games/RawCatalogueRecords.h"
#include "tests/support/GuardedBuffer.h"
#include "tests/support/Mutator.h"

namespace testing_support {
namespace {

template <size_t N>
void ExpectTerminated(const wchar_t (&field)[N]) {
  ASSERT_NE(nullptr, std::wmemchr(field, L'\0', N));
}

void ExpectGameRecordWithinItsFields(const RawGameRecord& record) {
  ASSERT_NO_FATAL_FAILURE(ExpectTerminated(record.game_id));
  ASSERT_NO_FATAL_FAILURE(ExpectTerminated(record.title));
  ASSERT_NO_FATAL_FAILURE(ExpectTerminated(record.exe_relative_path));
  ASSERT_NO_FATAL_FAILURE(ExpectTerminated(record.exe_name));
  ASSERT_NO_FATAL_FAILURE(ExpectTerminated(record.home_url));
  ASSERT_NO_FATAL_FAILURE(ExpectTerminated(record.postpage1_url));
  ASSERT_NO_FATAL_FAILURE(ExpectTerminated(record.server_addr));
  ASSERT_NO_FATAL_FAILURE(ExpectTerminated(record.file_host));
  ASSERT_NO_FATAL_FAILURE(ExpectTerminated(record.repository_sub));
  ASSERT_NO_FATAL_FAILURE(ExpectTerminated(record.field27));
  ASSERT_NO_FATAL_FAILURE(ExpectTerminated(record.field11));
  ASSERT_NO_FATAL_FAILURE(ExpectTerminated(record.installer_url));
  ASSERT_NO_FATAL_FAILURE(ExpectTerminated(record.shortcut_args));
  ASSERT_NO_FATAL_FAILURE(ExpectTerminated(record.game_folder));
  ASSERT_NO_FATAL_FAILURE(ExpectTerminated(record.skin_name));
  ASSERT_NO_FATAL_FAILURE(ExpectTerminated(record.icon_url_base));
  ASSERT_NO_FATAL_FAILURE(ExpectTerminated(record.postpage2_url));
  ASSERT_TRUE(record.loader_type >= 0 && record.loader_type <= 4);
  ASSERT_LE(record.open, 1);
  ASSERT_LE(record.installed, 1);
}

size_t LinesIn(const std::string& text) {
  return 1 + static_cast<size_t>(std::count(text.begin(), text.end(), '\n') +
                                 std::count(text.begin(), text.end(), '\r'));
}

bool KnownResult(int result) {
  return result == kCatalogueOk || result == kCatalogueBadFormat || result == kCatalogueEmpty;
}

std::string GameLine(const std::string& id, const std::string& loader) {
  std::string line = "game.exe#1,2|10.0.0.1:27500|http://files.example/" + id +
                     "|3|4|5|-x|7|8|http://post/1|bin\\" + id + ".exe|k|http://inst/" + id +
                     "|13|http://home|Title \xC3\xA9|12|" + id + "|" + loader +
                     "|19|1|http://icons/|4|255|http://post/2|skin|sub|opt";
  return line;
}

class CatalogueFuzz : public ::testing::Test {
 protected:
  // The input and its writable terminator byte, ending at the guard page.
  char* Place(const std::string& input) { return reinterpret_cast<char*>(buffer_.Place(input + '\0')); }
  GuardedBuffer buffer_;
};

TEST_F(CatalogueFuzz, GameListsAndVersionsGiveRecordsWithinTheirFields) {
  const std::vector<std::string> lists = {
      "2\r\n" + GameLine("game1", "0") + "\r\n" + GameLine("game2", "4") + "\r\n",
      "1\n" + GameLine(std::string(60, 'g'), "2") + "|extra\n", "3\r\n\r\n" + GameLine("a", "1") + "\n\n"};
  const std::vector<std::string> versions = {"2\r\ngame1|13|1|7\r\ngame2|-1|0|0\r\n", "1\ngame1|x|y|z|w\n"};
  const std::vector<std::string> dictionary = {
      "|", "\r\n", "#", ",", "0\r\n", "2147483647", "\xC3", "\xF0\x9F\x98\x80", std::string(1, '\0')};
  Mutator mutator(0xCA7A, Mutator::kText8);
  Mutator version_mutator(0x7E55, Mutator::kText8);
  size_t records_read = 0;
  RunFuzzInputs("game list and versions", mutator, lists, dictionary, 4000, [&](const std::string& input) {
    std::vector<RawGameRecord> records;
    const int result = ParseGameListText(Place(input), input.size(), &records);
    ASSERT_TRUE(KnownResult(result)) << result;
    if (result != kCatalogueOk) {
      ASSERT_TRUE(records.empty());
    }
    ASSERT_LE(records.size(), LinesIn(input));
    for (const RawGameRecord& record : records)
      ASSERT_NO_FATAL_FAILURE(ExpectGameRecordWithinItsFields(record));
    records_read += records.size();
    const std::string update = version_mutator.Mutate(versions, dictionary);
    ASSERT_TRUE(
        KnownResult(ParseGameVersionsText(Place(update), update.size(), records.data(), records.size())));
    for (const RawGameRecord& record : records)
      ASSERT_NO_FATAL_FAILURE(ExpectGameRecordWithinItsFields(record));
  });
  EXPECT_GT(records_read, 0u);
}

TEST_F(CatalogueFuzz, TopMenusAndLaunchModesKeepToTheirLines) {
  const std::vector<std::string> seeds = {
      "3\r\n1|Home|http://portal.example/|0\r\n2|Shop \xE2\x82\xAC|http://shop/|1\r\n"
      "3|x|y\r\n",
      "2\nUseOrvane:1\nUpdateViaOrvane:0\nOther:5\n", "4\r\nUseOrvane:-7\r\nbroken\r\n"};
  Mutator mutator(0x70B3, Mutator::kText8);
  size_t records_read = 0;
  RunFuzzInputs("top menu and launch mode", mutator, seeds, {"|", ":", "\r\n", "UseOrvane:"}, 4000,
                [&](const std::string& input) {
                  std::vector<RawTopMenuRecord> menu;
                  const int result = ParseTopMenuText(Place(input), input.size(), &menu);
                  ASSERT_TRUE(KnownResult(result)) << result;
                  ASSERT_LE(menu.size(), LinesIn(input));
                  for (const RawTopMenuRecord& record : menu) {
                    ASSERT_NO_FATAL_FAILURE(ExpectTerminated(record.name));
                    ASSERT_NO_FATAL_FAILURE(ExpectTerminated(record.url));
                  }
                  records_read += menu.size();
                  LaunchMode mode = {-5, -5};
                  const int mode_result = ReadLaunchModeText(Place(input), input.size(), &mode);
                  ASSERT_TRUE(KnownResult(mode_result)) << mode_result;
                });
  EXPECT_GT(records_read, 0u);
}

}  // namespace
}  // namespace testing_support
