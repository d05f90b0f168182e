#include "ui/view/ListSnapshot.h"

#include <algorithm>
#include <cstring>
#include <functional>
#include <new>

namespace {

// A grow-only array of pointers: grown by doubling, never shrunk, so steady-state walks allocate nothing.
struct PointerArray {
  const void** items = nullptr;
  size_t capacity = 0;

  bool Reserve(size_t count, size_t keep) {
    if (count <= capacity)
      return true;
    size_t capacity_wanted = capacity < 64 ? 64 : capacity;
    while (capacity_wanted < count)
      capacity_wanted *= 2;
    const void** grown = new (std::nothrow) const void*[capacity_wanted];
    if (grown == nullptr)
      return false;
    if (keep != 0)
      std::memcpy(grown, items, keep * sizeof(*items));
    delete[] items;
    items = grown;
    capacity = capacity_wanted;
    return true;
  }
};

PointerArray g_stack;
size_t g_stack_size = 0;
PointerArray g_scratch;

}  // namespace

bool ListSnapshotStorage::Push(const void* item) {
  if (!g_stack.Reserve(g_stack_size + 1, g_stack_size))
    return false;
  g_stack.items[g_stack_size++] = item;
  return true;
}

size_t ListSnapshotStorage::Size() {
  return g_stack_size;
}

const void* ListSnapshotStorage::Get(size_t index) {
  return g_stack.items[index];
}

void ListSnapshotStorage::Clear(size_t index) {
  g_stack.items[index] = nullptr;
}

void ListSnapshotStorage::Truncate(size_t size) {
  if (size < g_stack_size)
    g_stack_size = size;
}

const void** ListSnapshotStorage::Scratch(size_t count) {
  return g_scratch.Reserve(count == 0 ? 1 : count, 0) ? g_scratch.items : nullptr;
}

void ListSnapshotStorage::Sort(const void** items, size_t count) {
  std::sort(items, items + count, std::less<const void*>());
}

bool ListSnapshotStorage::ContainsSorted(const void* const* sorted, size_t count, const void* item) {
  return std::binary_search(sorted, sorted + count, item, std::less<const void*>());
}
