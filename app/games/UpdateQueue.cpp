#include "app/games/UpdateQueue.h"

#include "ui/base/TLinkedList.h"

namespace {

TLinkedList<UpdateGame>& Queue() {
  static TLinkedList<UpdateGame> queue;
  return queue;
}

}  // namespace

UpdateGame* QueueUpdate(const wchar_t* game_id) {
  TLinkedList<UpdateGame>::Node* node = Queue().AddNew();
  if (node == nullptr)
    return nullptr;
  if (node->item == nullptr || node->item->game_id.Assign(game_id != nullptr ? game_id : L"") == 0) {
    Queue().Remove(node);
    return nullptr;
  }
  return node->item;
}

UpdateGame* GetQueuedUpdateHead() {
  TLinkedList<UpdateGame>::Node* head = Queue().head();
  return head != nullptr ? head->item : nullptr;
}

void RemoveQueuedUpdate(UpdateGame* record) {
  for (TLinkedList<UpdateGame>::Node* node = Queue().head(); node != nullptr; node = node->next) {
    if (node->item == record) {
      Queue().Remove(node);
      return;
    }
  }
}

void ClearUpdateQueue() {
  Queue().RemoveAll();
}

bool IsUpdateQueueEmpty() {
  return Queue().head() == nullptr;
}
