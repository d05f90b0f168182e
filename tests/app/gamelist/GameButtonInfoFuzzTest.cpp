// Seeded mutation fuzzing of the game list's control ini "game_button_info": whatever the skin holds, the
// layout keeps its counts within the cap and matching the entries it allocated, every colour opaque, every
// image it loads found below the skin root, and it loads whole only when all three title styles name a font.
#include <gtest/gtest.h>

#include <algorithm>
#include <cwchar>
#include <memory>
#include <string>
#include <vector>

#include "app/gamelist/GameButtonInfo.h"
#include "tests/app/gamelist/GameListSkin.h"
#include "tests/support/GuardedBuffer.h"
#include "tests/support/Mutator.h"
#include "ui/base/IniFile.h"

namespace gamelist_testing {
namespace {

using testing_support::GuardedBuffer;
using testing_support::Mutator;
using testing_support::RunFuzzInputs;
using testing_support::Utf16Bytes;

// A located path below the skin root: no ':' and no part of dots and blanks with two dots or more.
bool StaysBelowTheRoot(const std::wstring& located) {
  if (located.empty())
    return true;
  const std::wstring root = std::wstring(kSkinRoot) + L"\\";
  if (located.compare(0, root.size(), root) != 0)
    return false;
  const std::wstring relative = located.substr(root.size());
  if (relative.find(L':') != std::wstring::npos)
    return false;
  size_t start = 0;
  while (start <= relative.size()) {
    size_t end = relative.find_first_of(L"\\/", start);
    if (end == std::wstring::npos)
      end = relative.size();
    const std::wstring part = relative.substr(start, end - start);
    if (part.find_first_not_of(L". ") == std::wstring::npos &&
        std::count(part.begin(), part.end(), L'.') >= 2)
      return false;
    start = end + 1;
  }
  return true;
}

void ExpectEntries(int32_t count, const void* entries) {
  ASSERT_GE(count, 0);
  ASSERT_LE(count, GameButtonInfo::kMaxStateEntries);
  ASSERT_EQ(count == 0, entries == nullptr);
}

void ExpectLayoutWithinItsBounds(const GameButtonInfo& layout) {
  ASSERT_NO_FATAL_FAILURE(ExpectEntries(layout.state_icon_count, layout.state_icons));
  ASSERT_NO_FATAL_FAILURE(ExpectEntries(layout.state_border_count, layout.state_borders));
  ASSERT_NO_FATAL_FAILURE(ExpectEntries(layout.state_text_count, layout.state_texts));
  for (int32_t i = 0; i < layout.state_icon_count; ++i)
    ASSERT_NE(nullptr, layout.state_icons[i].id.GetString());
  for (int32_t i = 0; i < layout.state_border_count; ++i)
    ASSERT_NE(nullptr, layout.state_borders[i].id.GetString());
  for (int32_t i = 0; i < layout.state_text_count; ++i)
    ASSERT_NE(nullptr, layout.state_texts[i].id.GetString());
  for (uint32_t colour :
       {layout.line_colour, layout.back_normal_colour, layout.back_over_colour, layout.back_selected_colour})
    ASSERT_EQ(0xFF000000u, colour & 0xFF000000u);
  for (const GameTextInfo* style : {&layout.text_normal, &layout.text_over, &layout.text_selected})
    ASSERT_EQ(0u, style->text_colour & 0xFF000000u);
}

class GameButtonInfoFuzz : public GameListSkinTest {};

TEST_F(GameButtonInfoFuzz, LayoutsKeepTheirCountsColoursAndImagesWithinBounds) {
  SkinLoader* category = FindSkinCategory(L"list");
  ASSERT_NE(nullptr, category);
  WriteIni(L"data\\outside.ini", L"[IMAGE]\r\n");
  Write(L"data\\outside.png", SolidPng(2, 2, 1, 1, 1));
  // The two whole layouts end in a comment that makes them longer than the every-length limit: their prefixes
  // would load the images thousands of times in CI; the mutator's cuts shorten them instead.
  const std::wstring past_the_limit = L"; " + std::wstring(2048, L'-') + L"\r\n";
  const std::vector<std::string> seeds = {
      Utf16Bytes(GameButtonInfoIni() + past_the_limit, true),
      Utf16Bytes(GameButtonInfoIni(L"state_icon_count=70\r\nstate_text_count=-1\r\n") + past_the_limit, true),
      Utf16Bytes(
          L"[BUTTON_INFO]\r\nstate_border_count=1\r\n[STATE_BORDER_0]\r\nid=x\r\nimage_id=..\\..\\outside\r\n"
          L"[GAME_TEXT_NORMAL]\r\nfont_id=body\r\n",
          true)};
  std::vector<std::string> dictionary;
  for (const wchar_t* token : {L"..\\", L"../", L"C:\\", L"%s", L"%n", L"_count=", L"=2147483647",
                               L"=-2147483648", L"image=", L"image_id=", L"font_id=", L"[STATE_ICON_0]\r\n",
                               L"[STATE_TEXT_1]\r\n", L"[GAME_TEXT_OVER]\r\n", L"\r\n"})
    dictionary.push_back(Utf16Bytes(token));
  Mutator mutator(0x6B17, Mutator::kText16);
  GuardedBuffer buffer;
  int loaded = 0;
  RunFuzzInputs("game button info", mutator, seeds, dictionary, 200, [&](const std::string& input) {
    const wchar_t* content = reinterpret_cast<const wchar_t*>(buffer.Place(input));
    std::unique_ptr<IniStringContainer> ini(
        ParseIniFileContent(content, static_cast<uint32_t>(input.size())));
    if (ini == nullptr)
      return;
    GameButtonInfo layout;
    const int result = layout.Load(ini.get(), category, L"list");
    ASSERT_NO_FATAL_FAILURE(ExpectLayoutWithinItsBounds(layout));
    ASSERT_TRUE(StaysBelowTheRoot(category->located_path().GetString()));
    bool styles = true;
    for (const wchar_t* section : {L"GAME_TEXT_NORMAL", L"GAME_TEXT_OVER", L"GAME_TEXT_SELECTED"})
      styles = styles && ini->GetString(section, L"font_id", nullptr) != nullptr;
    ASSERT_EQ(styles ? 1 : 0, result);
    loaded += result;
    // Lookups by every state key find entries of the layout or nothing.
    for (int32_t state = 0; state <= 7; ++state) {
      layout.FindStateIcon(GameStateKey(state));
      layout.FindStateBorderWithFallback(GameStateKey(state), state & 1);
      layout.FindStateText(GameStateKey(state));
    }
    layout.TickImages(1000);
    layout.Release();
    ASSERT_NO_FATAL_FAILURE(ExpectLayoutWithinItsBounds(layout));
    ASSERT_EQ(0, layout.state_icon_count + layout.state_border_count + layout.state_text_count);
  });
  EXPECT_GT(loaded, 0);
}

}  // namespace
}  // namespace gamelist_testing
