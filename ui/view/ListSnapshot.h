// A head-to-tail walk over a non-owning list whose items may be added, removed or even deleted by the calls
// made for each item: the children of a node while their hooks run, the skin listeners while they reload.
//
// The walk copies the item pointers first. Its owner bumps a change counter on every add and remove; when the
// counter moved since the last step, the copies not yet visited are checked against the list as it is now
// (by pointer value only, never by reading the item), and those no longer in it are skipped. So an item
// removed or deleted during the walk is never visited, and items added during the walk are left to the next
// walk. Items still listed are visited once each, in their original order.
//
// The copies live on one process-wide stack that every walk pushes onto and pops from, so walks may nest
// (they always do: drawing a node walks its children, which walk theirs) and steady-state walks allocate
// nothing. When memory for the copies runs out the walk visits nothing.
//
// Thread: user-interface thread only. Walks must end in the reverse order of their start (stack objects).
#pragma once

#include <cstddef>
#include <cstdint>

#include "ui/base/TPLinkedList.h"

// The shared storage behind ListSnapshot; not for direct use.
class ListSnapshotStorage {
 public:
  // Appends one pointer; false when memory ran out.
  static bool Push(const void* item);
  static size_t Size();
  static const void* Get(size_t index);
  static void Clear(size_t index);
  static void Truncate(size_t size);
  // A scratch array of at least `count` pointers (kept and reused); null when memory ran out. Valid until the
  // next call.
  static const void** Scratch(size_t count);
  static void Sort(const void** items, size_t count);
  // True when `item` is among the `count` ascending pointers of `sorted`.
  static bool ContainsSorted(const void* const* sorted, size_t count, const void* item);
};

template <typename T>
class ListSnapshot {
 public:
  // `changes` is the list owner's change counter; it must outlive the walk.
  ListSnapshot(const TPLinkedList<T>& list, const uint32_t& changes)
      : list_(list), changes_(changes), seen_changes_(changes), begin_(ListSnapshotStorage::Size()) {
    cursor_ = end_ = begin_;
    for (typename TPLinkedList<T>::Node* node = list.head(); node != nullptr; node = node->next) {
      if (!ListSnapshotStorage::Push(node->item)) {
        ListSnapshotStorage::Truncate(begin_);
        return;
      }
    }
    end_ = ListSnapshotStorage::Size();
  }
  ~ListSnapshot() { ListSnapshotStorage::Truncate(begin_); }
  ListSnapshot(const ListSnapshot&) = delete;
  ListSnapshot& operator=(const ListSnapshot&) = delete;

  // The next item that is still in the list, or null at the end.
  T* Next() {
    if (changes_ != seen_changes_) {
      DropRemoved();
      seen_changes_ = changes_;
    }
    while (cursor_ < end_) {
      const void* item = ListSnapshotStorage::Get(cursor_++);
      if (item != nullptr)
        return static_cast<T*>(const_cast<void*>(item));
    }
    return nullptr;
  }

 private:
  void DropRemoved() {
    size_t count = static_cast<size_t>(list_.count());
    const void** current = ListSnapshotStorage::Scratch(count);
    if (current != nullptr) {
      size_t listed = 0;
      for (typename TPLinkedList<T>::Node* node = list_.head(); node != nullptr && listed < count;
           node = node->next)
        current[listed++] = node->item;
      count = listed;
      ListSnapshotStorage::Sort(current, count);
    }
    for (size_t i = cursor_; i < end_; ++i) {
      if (current == nullptr ||
          !ListSnapshotStorage::ContainsSorted(current, count, ListSnapshotStorage::Get(i)))
        ListSnapshotStorage::Clear(i);
    }
  }

  const TPLinkedList<T>& list_;
  const uint32_t& changes_;
  uint32_t seen_changes_;
  size_t begin_;
  size_t cursor_;
  size_t end_;
};
