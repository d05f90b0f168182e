// A doubly linked list of items that it does not own (window children, listeners, live images): removing a
// node or the whole list leaves the items alive. Lookups are linear walks by the callers.
//
// Thread: one list belongs to one thread. Not copyable.
#pragma once

#include <cstdint>
#include <new>

#include "ui/base/TListNode.h"

template <typename T>
class TPLinkedList {
 public:
  using Node = TListNode<T>;

  TPLinkedList() = default;
  virtual ~TPLinkedList() { RemoveAll(); }
  TPLinkedList(const TPLinkedList&) = delete;
  TPLinkedList& operator=(const TPLinkedList&) = delete;

  Node* head() const { return head_; }
  Node* tail() const { return tail_; }
  int32_t count() const { return count_; }

  // Appends a node that points at `item`. Null only when the node could not be allocated.
  Node* AddTail(T* item) {
    Node* node = new (std::nothrow) Node;
    if (node == nullptr)
      return nullptr;
    node->item = item;
    node->prev = tail_;
    if (tail_ != nullptr)
      tail_->next = node;
    else
      head_ = node;
    tail_ = node;
    ++count_;
    return node;
  }

  // Unlinks `node` (which must belong to this list; null is ignored) and clears its links. The node is not
  // freed: the caller deletes it.
  void Unlink(Node* node) {
    if (node == nullptr)
      return;
    if (node->prev != nullptr)
      node->prev->next = node->next;
    else
      head_ = node->next;
    if (node->next != nullptr)
      node->next->prev = node->prev;
    else
      tail_ = node->prev;
    --count_;
    node->prev = node->next = nullptr;
  }

  // Frees every node; the items are untouched.
  void RemoveAll() {
    Node* node = head_;
    while (node != nullptr) {
      Node* next = node->next;
      delete node;
      node = next;
    }
    head_ = tail_ = nullptr;
    count_ = 0;
  }

 private:
  Node* head_ = nullptr;
  Node* tail_ = nullptr;
  int32_t count_ = 0;
};
