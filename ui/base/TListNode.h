// One node of the launcher's doubly linked lists (TLinkedList owns `item`, TPLinkedList only points at it).
// Callers walk a list themselves: from the list's head() along `next`, reading `item`; read `next` before
// removing the node they stand on.
#pragma once

template <typename T>
struct TListNode {
  T* item = nullptr;
  TListNode* prev = nullptr;
  TListNode* next = nullptr;
};
