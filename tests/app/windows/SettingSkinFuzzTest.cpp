// Seeded mutation fuzzing of the settings dialog's own skin keys: the "SETTING" items of "setting_dlg" and
// the "GAME_ORDER_LIST" keys of the game-order list, each read through the control's LoadSkin from a skin
// file on disk, without windows. Items never outnumber their clamped counts, every control item names one
// of the dialog's named children or none, back colours stay opaque, the list's rows keep to their band
// arithmetic, and no skin file is found outside the skin root.
#include <gtest/gtest.h>

#include <algorithm>
#include <memory>
#include <string>
#include <vector>

#include "app/windows/GameOrderList.h"
#include "app/windows/SettingDlg.h"
#include "tests/app/windows/SettingSkin.h"
#include "tests/support/GuardedBuffer.h"
#include "tests/support/Mutator.h"
#include "ui/base/IniFile.h"
#include "ui/base/IniStringContainer.h"
#include "ui/base/VirtualFile.h"

namespace testing_support {
namespace {

// A located path below the skin root: no ':' and no part of dots and blanks with two dots or more.
bool StaysBelowTheRoot(const std::wstring& located) {
  if (located.empty())
    return true;
  const std::wstring root = std::wstring(kSkinRoot) + L"\\";
  if (located.compare(0, root.size(), root) != 0 || located.find(L':') != std::wstring::npos)
    return false;
  size_t start = root.size();
  while (start <= located.size()) {
    size_t end = located.find_first_of(L"\\/", start);
    if (end == std::wstring::npos)
      end = located.size();
    const std::wstring part = located.substr(start, end - start);
    if (part.find_first_not_of(L". ") == std::wstring::npos &&
        std::count(part.begin(), part.end(), L'.') >= 2)
      return false;
    start = end + 1;
  }
  return true;
}

// What a count key gives: below 1 none, at most the dialog's cap.
size_t ClampedCount(IniStringContainer* ini, const wchar_t* key) {
  const int32_t count = ini != nullptr ? ini->GetInt(L"SETTING", key, 0) : 0;
  return count < 1 ? 0u : static_cast<size_t>(std::min(count, SettingDlg::kMaxItems));
}

std::vector<std::string> Dictionary() {
  std::vector<std::string> tokens;
  for (const wchar_t* token : {L"..\\",
                               L"../",
                               L"C:\\",
                               L"%s",
                               L"%n",
                               L"_count=",
                               L"=2147483647",
                               L"=-2147483648",
                               L"=256",
                               L"=257",
                               L"ctrl_id=",
                               L"ctrl_id=game_list",
                               L"ctrl_id=setting_ok_btn",
                               L"image=",
                               L"image_id=",
                               L"font_id=",
                               L"[SETTING_CTRL_0]\r\n",
                               L"[SETTING_TEXT_0]\r\n",
                               L"[SETTING_IMAGE_0]\r\n",
                               L"\r\n",
                               L"btn_height=",
                               L"btn_width=",
                               L"=-1",
                               L"=0"})
    tokens.push_back(Utf16Bytes(token));
  return tokens;
}

class SettingSkinFuzz : public SettingSkinTest {};

TEST_F(SettingSkinFuzz, SettingItemsKeepToTheirCountsAndNamedChildren) {
  const std::vector<std::string> seeds = {
      Utf16Bytes(DialogSkin(), true),
      Utf16Bytes(DialogSkin() + L"[SETTING]\r\nctrl_count=300\r\ntext_count=-1\r\n", true)};
  Mutator mutator(0x5E771, Mutator::kText16);
  int loaded = 0;
  RunFuzzInputs("setting dialog skin", mutator, seeds, Dictionary(), 80, [&](const std::string& input) {
    ReleaseAllVirtualFiles();
    Write(L"data\\skin\\etc\\setting_dlg.ini", input);
    // A dialog of its own for every input: a skin that fails to load leaves the items of the one before.
    SettingDlg dialog;
    dialog.SetSkin(L"etc", L"setting_dlg");
    const int result = dialog.LoadSkin();
    std::unique_ptr<IniStringContainer> ini(ParseIniFileContent(
        reinterpret_cast<const wchar_t*>(input.data()), static_cast<uint32_t>(input.size())));
    if (result == 1) {
      ++loaded;
      ASSERT_NE(nullptr, ini);
      ASSERT_GE(ini->GetInt(L"BACK", L"width", 0), 1);
      ASSERT_GE(ini->GetInt(L"BACK", L"height", 0), 1);
      // Every control item is kept, whatever its name.
      ASSERT_EQ(ClampedCount(ini.get(), L"ctrl_count"), dialog.control_items().size());
    }
    ASSERT_LE(dialog.image_items().size(), ClampedCount(ini.get(), L"image_count"));
    ASSERT_LE(dialog.text_items().size(), ClampedCount(ini.get(), L"text_count"));
    ASSERT_EQ(dialog.text_items().size(), dialog.text_enabled().size());
    for (const auto& item : dialog.control_items()) {
      ASSERT_TRUE(item->control_id == 0 || (item->control_id >= SettingDlg::kCloseLauncherCheck &&
                                            item->control_id <= SettingDlg::kGameListDownButton))
          << item->control_id;
      ASSERT_NE(nullptr, item->tab_id.GetString());
    }
    for (const auto& item : dialog.image_items())
      ASSERT_NE(nullptr, item->image);
    ASSERT_NE(nullptr, dialog.category());
    ASSERT_TRUE(StaysBelowTheRoot(dialog.category()->located_path().GetString()));
  });
  EXPECT_GT(loaded, 0);
}

TEST_F(SettingSkinFuzz, GameOrderListKeysKeepRowsInTheirBands) {
  NWnd root;
  ASSERT_EQ(1, root.Create(0, 0, 420, 320, 0, nullptr));
  GameOrderList list;
  list.SetSkin(L"etc", L"game_list");
  ASSERT_EQ(1, list.Create(0, 0, 1, 1, SettingDlg::kGameList, &root));
  list.Show(1, 0);
  // Both end in a comment past the every-length limit: every prefix would load the list's skin in CI.
  const std::wstring past_the_limit = L"; " + std::wstring(2048, L'-');
  const std::vector<std::string> seeds = {
      Utf16Bytes(GameListSkin(kRowWidth, kRowHeight) + past_the_limit, true),
      Utf16Bytes(GameListSkin(kRowWidth, 1, 1) + past_the_limit, true)};
  Mutator mutator(0x5E772, Mutator::kText16);
  int loaded = 0;
  RunFuzzInputs("game order list skin", mutator, seeds, Dictionary(), 80, [&](const std::string& input) {
    list.SetRowCount(6);
    for (int i = 0; i < 6; ++i)
      list.SetRow(i, L"Game", (L"g" + std::to_wstring(i)).c_str());
    list.SelectIndex(5);
    ReleaseAllVirtualFiles();
    Write(L"data\\skin\\etc\\game_list.ini", input);
    loaded += list.LoadSkin();
    list.ScrollToSelected();
    list.MoveSelectedToTop();
    ASSERT_LE(list.first_row_y(), 0);
    if (list.row_height() <= 0) {
      ASSERT_EQ(0, list.first_row_y());
    }
    for (int32_t y : {-1, 0, 1, 19, 20, 199, 200, 1000000}) {
      const int32_t index = list.RowIndexAt(y);
      ASSERT_TRUE(index == -1 || (index >= 0 && index < list.row_count())) << index;
    }
    ASSERT_EQ(0, list.SelectedIndex());
    ASSERT_TRUE(
        StaysBelowTheRoot(list.category() != nullptr ? list.category()->located_path().GetString() : L""));
  });
  list.Destroy();
  root.Destroy();
  EXPECT_GT(loaded, 0);
}

// Found by the fuzz test above: a skin whose keys give no row height but whose BACK then fails left the first
// row where the earlier skin had scrolled it.
TEST_F(SettingSkinFuzz, ASkinWithoutRowHeightWhoseBackFailsLeavesTheFirstRowAtZero) {
  NWnd root;
  ASSERT_EQ(1, root.Create(0, 0, 420, 320, 0, nullptr));
  GameOrderList list;
  list.SetSkin(L"etc", L"game_list");
  ASSERT_EQ(1, list.Create(0, 0, 1, 1, SettingDlg::kGameList, &root));
  list.SetRowCount(20);
  for (int i = 0; i < 20; ++i)
    list.SetRow(i, L"Game", (L"g" + std::to_wstring(i)).c_str());
  list.SelectIndex(15);
  list.ScrollToSelected();
  ASSERT_LT(list.first_row_y(), 0);
  ReleaseAllVirtualFiles();
  WriteIni(L"data\\skin\\etc\\game_list.ini",
           L"[BACK]\r\nwidth=280\r\n[GAME_ORDER_LIST]\r\nbtn_height=0\r\n");
  EXPECT_EQ(0, list.LoadSkin());
  EXPECT_EQ(0, list.row_height());
  EXPECT_EQ(0, list.first_row_y());
  EXPECT_EQ(-1, list.RowIndexAt(0));
  list.Destroy();
  root.Destroy();
}

// Found by the long fuzz run: a row height of 2147483647 scrolled by six rows wrapped the first row to y 6.
TEST_F(SettingSkinFuzz, ARowHeightNearTheIntLimitScrolledKeepsTheFirstRowAboveTheTop) {
  NWnd root;
  ASSERT_EQ(1, root.Create(0, 0, 420, 320, 0, nullptr));
  WriteIni(L"data\\skin\\etc\\game_list.ini", GameListSkin(kRowWidth, 2147483647));
  GameOrderList list;
  list.SetSkin(L"etc", L"game_list");
  ASSERT_EQ(1, list.Create(0, 0, 1, 1, SettingDlg::kGameList, &root));
  list.SetRowCount(6);
  for (int i = 0; i < 6; ++i)
    list.SetRow(i, L"Game", (L"g" + std::to_wstring(i)).c_str());
  list.SelectIndex(5);
  list.ScrollToSelected();
  // The first row stays above the top, held to the int32 range.
  EXPECT_EQ(INT32_MIN, list.first_row_y());
  const int32_t index = list.RowIndexAt(0);
  EXPECT_TRUE(index >= -1 && index < 6) << index;
  list.Destroy();
  root.Destroy();
}

}  // namespace
}  // namespace testing_support
