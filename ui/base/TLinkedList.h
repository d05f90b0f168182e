// A doubly linked list that owns its items: removing a node deletes its item through the item's virtual
// destructor. Lookups are linear walks by the callers (lists hold tens of entries); the first match wins.
//
// Thread: one list belongs to one thread. Not copyable.
#pragma once

#include <cstdint>
#include <new>
#include <type_traits>

#include "ui/base/TListNode.h"
#include "ui/base/TPLinkedList.h"

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

  Node* head() const { return links_.head(); }
  Node* tail() const { return links_.tail(); }
  int32_t count() const { return links_.count(); }

  // Appends a node holding a new default-constructed T. Returns the node; its item is null when the item
  // could not be allocated (callers check it). Null only when the node itself could not be allocated.
  Node* AddNew() {
    T* item = new (std::nothrow) T();
    Node* node = links_.AddTail(item);
    if (node == nullptr)
      delete item;
    return node;
  }

  // Unlinks `node` (which must belong to this list; null is ignored), deletes its item and frees it.
  void Remove(Node* node) {
    if (node == nullptr)
      return;
    links_.Unlink(node);
    delete node->item;
    delete node;
  }

  // Deletes every item and frees every node.
  void RemoveAll() {
    for (Node* node = links_.head(); node != nullptr; node = node->next)
      delete node->item;
    links_.RemoveAll();
  }

 private:
  // The links without ownership; this class adds the items' lifetime.
  TPLinkedList<T> links_;
};
