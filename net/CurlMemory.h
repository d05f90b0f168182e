// CurlMemory: libcurl's global start with allocation functions that keep the downloader's receive buffer.
//
// libcurl allocates a transfer's receive buffer (the handle's buffer size plus one byte) when the transfer
// starts and frees it when it ends. Under Wine's heap a block that large, freed at the end of the heap's
// committed memory, is decommitted at once and committed again by the next transfer: a map and a protect
// call and some sixty page faults for every file an update fetches. The functions given to libcurl here keep
// one freed block of exactly that size and hand it to the next transfer; every other allocation goes to the
// C runtime unchanged.
//
// Threads: the allocation functions may run on any thread at once. Two atomic slots hold the kept block and
// the block lent to a running transfer; no lock. A second transfer running at the same time gets and frees a
// block of its own the plain way.
#pragma once

#include <cstddef>

// curl_global_init_mem(flags, ...) with the functions below; `kept_bytes` is the size of the block to keep.
// Returns libcurl's result (CURLE_OK is 0).
int InitCurlKeepingReceiveBuffer(long flags, size_t kept_bytes);

// curl_global_cleanup(), then frees the kept block.
void CleanupCurlMemory();

namespace curl_memory {

// The functions libcurl calls, open for tests. Allocate(kept size) takes the kept block when there is one.
void* Allocate(size_t bytes);
void Free(void* block);
void* Reallocate(void* block, size_t bytes);
char* Duplicate(const char* text);
void* AllocateZeroed(size_t count, size_t bytes);
// Sets the size of the block to keep (0: none) and frees a block kept so far.
void SetKeptSize(size_t bytes);
// True while a freed block waits for the next transfer.
bool HoldsKeptBlock();

}  // namespace curl_memory
