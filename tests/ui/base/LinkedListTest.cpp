// The two list templates: links and count after every kind of removal, and who deletes the items.
#include <gtest/gtest.h>

#include "ui/base/TLinkedList.h"
#include "ui/base/TPLinkedList.h"

namespace {

int g_live_items = 0;

struct Item {
  Item() { ++g_live_items; }
  virtual ~Item() { --g_live_items; }
  int value = 0;
};

template <typename List>
void ExpectLinks(const List& list, std::initializer_list<int> values) {
  ASSERT_EQ(static_cast<int32_t>(values.size()), list.count());
  if (values.size() == 0) {
    EXPECT_EQ(nullptr, list.head());
    EXPECT_EQ(nullptr, list.tail());
    return;
  }
  EXPECT_EQ(nullptr, list.head()->prev);
  EXPECT_EQ(nullptr, list.tail()->next);
  auto node = list.head();
  for (int value : values) {
    ASSERT_NE(nullptr, node);
    EXPECT_EQ(value, node->item->value);
    if (node->next != nullptr)
      EXPECT_EQ(node, node->next->prev);
    else
      EXPECT_EQ(list.tail(), node);
    node = node->next;
  }
  EXPECT_EQ(nullptr, node);
}

class LinkedListTest : public ::testing::Test {
 protected:
  void SetUp() override { g_live_items = 0; }

  // A list holding 1, 2, ... n.
  void Fill(TLinkedList<Item>* list, int n) {
    for (int i = 1; i <= n; ++i) {
      auto node = list->AddNew();
      ASSERT_NE(nullptr, node);
      ASSERT_NE(nullptr, node->item);
      node->item->value = i;
    }
  }
};

TEST_F(LinkedListTest, RemovingHeadTailMiddleAndOnlyNodeKeepsTheLinks) {
  TLinkedList<Item> list;
  Fill(&list, 3);
  ExpectLinks(list, {1, 2, 3});

  list.Remove(list.head()->next);  // middle
  ExpectLinks(list, {1, 3});
  list.Remove(list.head());  // head of two: the other is head and tail
  ExpectLinks(list, {3});
  list.Remove(list.head());  // the only node
  ExpectLinks(list, {});
  EXPECT_EQ(0, g_live_items);

  Fill(&list, 2);
  list.Remove(list.tail());  // tail of two
  ExpectLinks(list, {1});
  list.Remove(nullptr);
  ExpectLinks(list, {1});
}

TEST_F(LinkedListTest, OwningListDeletesItsItems) {
  {
    TLinkedList<Item> list;
    Fill(&list, 3);
    EXPECT_EQ(3, g_live_items);
    list.RemoveAll();
    EXPECT_EQ(0, g_live_items);
    ExpectLinks(list, {});
    Fill(&list, 2);
  }
  EXPECT_EQ(0, g_live_items);  // the destructor removes the rest
}

TEST_F(LinkedListTest, NonOwningListLeavesItsItemsAlive) {
  Item items[3];
  for (int i = 0; i < 3; ++i)
    items[i].value = i + 1;
  {
    TPLinkedList<Item> list;
    for (Item& item : items)
      ASSERT_NE(nullptr, list.AddTail(&item));
    ExpectLinks(list, {1, 2, 3});

    // Unlink hands the node back with cleared links; the caller frees it.
    TPLinkedList<Item>::Node* middle = list.head()->next;
    list.Unlink(middle);
    EXPECT_EQ(nullptr, middle->prev);
    EXPECT_EQ(nullptr, middle->next);
    EXPECT_EQ(&items[1], middle->item);
    delete middle;
    ExpectLinks(list, {1, 3});

    TPLinkedList<Item>::Node* head = list.head();
    list.Unlink(head);
    delete head;
    ExpectLinks(list, {3});

    list.RemoveAll();
    ExpectLinks(list, {});
    list.AddTail(&items[0]);
  }
  EXPECT_EQ(3, g_live_items);
  EXPECT_EQ(1, items[0].value);
}

}  // namespace
