// A doubly linked list that owns its items: removing a node deletes its item through the item's virtual
// destructor. Lookups are linear walks by the callers (lists hold tens of entries); the first match wins.
//
// Thread: one list belongs to one thread. Not copyable.
#pragma once

#include <cstdint>
#include <new>
#include <type_traits>

#include "ui/base/TListNode.h"

template <typename T>
class TLinkedList {
  static_assert(std::has_virtual_destructor<T>::value,
                "owned items are deleted through a virtual destructor");

 public:
  using Node = TListNode<T>;

  TLinkedList() = default;
  virtual ~TLinkedList() { RemoveAll(); }
  TLinkedList(const TLinkedList&) = delete;
  TLinkedList& operator=(const TLinkedList&) = delete;

  Node* head() const { return head_; }
  Node* tail() const { return tail_; }
  int32_t count() const { return count_; }

  // Appends a node holding a new default-constructed T. Returns the node; its item is null when the item
  // could not be allocated (callers check it). Null only when the node itself could not be allocated.
  Node* AddNew() {
    Node* node = new (std::nothrow) Node;
    if (node == nullptr)
      return nullptr;
    node->item = new (std::nothrow) T();
    node->prev = tail_;
    if (tail_ != nullptr)
      tail_->next = node;
    else
      head_ = node;
    tail_ = node;
    ++count_;
    return node;
  }

  // Unlinks `node` (which must belong to this list; null is ignored), deletes its item and frees it.
  void Remove(Node* node) {
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
    delete node->item;
    delete node;
  }

  // Deletes every item and frees every node.
  void RemoveAll() {
    Node* node = head_;
    while (node != nullptr) {
      Node* next = node->next;
      delete node->item;
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
