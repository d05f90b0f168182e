#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "app/gamelist/GameButton.h"
#include "app/gamelist/GameButtonInfo.h"
#include "app/gamelist/GameButtonList.h"
#include "app/settings/Setting.h"
#include "tests/app/gamelist/FakeGames.h"
#include "tests/app/gamelist/GameListSkin.h"

namespace {

using gamelist_testing::FakeGames;
using gamelist_testing::GameListSkinTest;

std::vector<std::wstring> Ids(const TPLinkedList<GameButton>& list) {
  std::vector<std::wstring> ids;
  for (auto* node = list.head(); node != nullptr; node = node->next)
    ids.push_back(node->item->GetGameId());
  return ids;
}

void AddOrder(TLinkedList<GAME_ORDER>& order, int32_t number, const wchar_t* id) {
  auto* node = order.AddNew();
  node->item->order = number;
  wcsncpy(node->item->game_id, id, 255);
}

class GameButtonListTest : public GameListSkinTest {
 protected:
  void SetUp() override {
    GameListSkinTest::SetUp();
    auto ini = LayoutIni();
    ASSERT_EQ(1, layout_.Load(ini.get(), FindSkinCategory(L"list"), L"list"));
  }
  FakeGames games_;
  GameButtonInfo layout_;
  GameButtonList list_;
  TLinkedList<GAME_ORDER> no_order_;
};

TEST_F(GameButtonListTest, SyncSortsGamesIntoInstalledAndNotInstalledAndNeverPaintsTheUninstalled) {
  games_.Add(L"a", 1);
  games_.Add(L"b", 0, 0);
  games_.Add(L"c", 1, 5).flags[3] = 1;
  list_.Sync(&layout_);
  EXPECT_EQ((std::vector<std::wstring>{L"a", L"c"}), Ids(list_.installed()));
  EXPECT_EQ((std::vector<std::wstring>{L"b"}), Ids(list_.not_installed()));
  EXPECT_EQ(3, list_.all().count());
  EXPECT_STREQ(L"state_need_update", list_.FindButton(L"c")->state_key());
  EXPECT_EQ(nullptr, list_.FindButton(L"C"));  // ids compare exactly
  for (auto* node = list_.all().head(); node != nullptr; node = node->next)
    EXPECT_FALSE(node->item->HoldsPictures()) << "nothing drawn yet";
}

TEST_F(GameButtonListTest, AnInstalledGameMovesToTheTailAndReorderPlacesIt) {
  games_.Add(L"a", 1);
  games_.Add(L"b", 0, 0);
  games_.Add(L"c", 1);
  list_.Sync(&layout_);

  games_.games[1]->installed = 1;
  games_.games[1]->state = 3;
  EXPECT_EQ(1, list_.UpdateButton(L"b", &layout_));
  EXPECT_EQ((std::vector<std::wstring>{L"a", L"c", L"b"}), Ids(list_.installed()));

  TLinkedList<GAME_ORDER> order;
  AddOrder(order, 1, L"b");
  AddOrder(order, 2, L"a");
  AddOrder(order, 3, L"c");
  EXPECT_EQ(1, list_.ReorderInstalledBy(order));
  EXPECT_EQ((std::vector<std::wstring>{L"b", L"a", L"c"}), Ids(list_.installed()));
  EXPECT_EQ(0, list_.ReorderInstalledBy(order));

  // Uninstalled again: to the tail of the other list, its pictures given back.
  games_.games[0]->installed = 0;
  list_.FindButton(L"a")->Picture();
  EXPECT_EQ(1, list_.UpdateButton(L"a", &layout_));
  EXPECT_EQ((std::vector<std::wstring>{L"b", L"c"}), Ids(list_.installed()));
  EXPECT_EQ((std::vector<std::wstring>{L"a"}), Ids(list_.not_installed()));
  EXPECT_FALSE(list_.FindButton(L"a")->HoldsPictures());
  EXPECT_EQ(0, list_.UpdateButton(L"nobody", &layout_));
}

TEST_F(GameButtonListTest, GameOrderGapsLeaveTheirPositionAlone) {
  for (const wchar_t* id : {L"a", L"b", L"c", L"d"})
    games_.Add(id, 1);
  list_.Sync(nullptr);
  TLinkedList<GAME_ORDER> order;
  AddOrder(order, 1, L"c");
  AddOrder(order, 3, L"a");  // no entry for 2
  AddOrder(order, 4, L"gone");
  EXPECT_EQ(1, list_.ReorderInstalledBy(order));
  // 1: c swaps with a -> c b a d; 2: no entry, b stays; 3: a is there; 4: no button "gone", d stays.
  EXPECT_EQ((std::vector<std::wstring>{L"c", L"b", L"a", L"d"}), Ids(list_.installed()));
}

TEST_F(GameButtonListTest, AVanishedGameClearsHoverAndSelection) {
  games_.Add(L"a", 1);
  games_.Add(L"b", 1);
  list_.Sync(&layout_);
  list_.hover = list_.FindButton(L"a");
  list_.selected = list_.FindButton(L"a");
  games_.Remove(L"a");
  EXPECT_EQ(1, list_.UpdateButton(L"a", &layout_));  // a button without a game: a Sync
  EXPECT_EQ(nullptr, list_.hover);
  EXPECT_EQ(nullptr, list_.selected);
  EXPECT_EQ(nullptr, list_.FindButton(L"a"));
  EXPECT_EQ((std::vector<std::wstring>{L"b"}), Ids(list_.installed()));
  EXPECT_EQ(1, list_.all().count());
}

TEST_F(GameButtonListTest, ApplyingAReleasedLayoutLeavesNoBorrowedImages) {
  games_.Add(L"a", 1);
  list_.Sync(&layout_);
  ASSERT_NE(nullptr, list_.FindButton(L"a")->Picture());
  layout_.Release();
  list_.ApplyLayoutToAll(&layout_);
  EXPECT_EQ(nullptr, list_.FindButton(L"a")->Picture());
  // A new layout makes the picture again.
  auto ini = LayoutIni();
  ASSERT_EQ(1, layout_.Load(ini.get(), FindSkinCategory(L"list"), L"list"));
  list_.ApplyLayoutToAll(&layout_);
  EXPECT_NE(nullptr, list_.FindButton(L"a")->Picture());
}

}  // namespace
