#include "net/CurlMemory.h"

#include <curl/curl.h>

#include <atomic>
#include <cstdlib>
#include <cstring>

namespace {

std::atomic<size_t> g_kept_size{0};
// A freed block of g_kept_size bytes, ready for the next transfer.
std::atomic<void*> g_kept{nullptr};
// The block of g_kept_size bytes a running transfer holds: only that one goes back to g_kept when freed.
std::atomic<void*> g_lent{nullptr};

}  // namespace

namespace curl_memory {

void* Allocate(size_t bytes) {
  if (bytes == 0 || bytes != g_kept_size.load(std::memory_order_relaxed))
    return malloc(bytes);
  void* block = g_kept.exchange(nullptr);
  if (block == nullptr)
    block = malloc(bytes);
  void* none = nullptr;
  if (block != nullptr)
    g_lent.compare_exchange_strong(none, block);
  return block;
}

void Free(void* block) {
  if (block == nullptr)
    return;
  void* lent = block;
  if (g_lent.compare_exchange_strong(lent, nullptr)) {
    void* none = nullptr;
    if (g_kept.compare_exchange_strong(none, block))
      return;
  }
  free(block);
}

void* Reallocate(void* block, size_t bytes) {
  // A lent block that moves or changes size is no longer the one to keep.
  void* lent = block;
  if (block != nullptr)
    g_lent.compare_exchange_strong(lent, nullptr);
  return realloc(block, bytes);
}

char* Duplicate(const char* text) {
  const size_t bytes = strlen(text) + 1;
  char* copy = static_cast<char*>(malloc(bytes));
  if (copy != nullptr)
    memcpy(copy, text, bytes);
  return copy;
}

void* AllocateZeroed(size_t count, size_t bytes) {
  return calloc(count, bytes);
}

void SetKeptSize(size_t bytes) {
  g_kept_size.store(bytes);
  g_lent.store(nullptr);
  free(g_kept.exchange(nullptr));
}

bool HoldsKeptBlock() {
  return g_kept.load() != nullptr;
}

}  // namespace curl_memory

int InitCurlKeepingReceiveBuffer(long flags, size_t kept_bytes) {
  curl_memory::SetKeptSize(kept_bytes);
  return curl_global_init_mem(flags, &curl_memory::Allocate, &curl_memory::Free, &curl_memory::Reallocate,
                              &curl_memory::Duplicate, &curl_memory::AllocateZeroed);
}

void CleanupCurlMemory() {
  curl_global_cleanup();
  curl_memory::SetKeptSize(0);
}
