#include "selfupdate/HostLookup.h"

#include <windows.h>

#include <cstring>
#include <exception>
#include <memory>
#include <thread>

#include "base/ScopedHandle.h"

namespace {

HostResolver g_resolver = &ResolveWithGetHostByName;

// How often a waiting caller looks at its cancel flag.
constexpr DWORD kCancelPollMs = 10;

// One look-up, shared by the caller and its helper: whichever of them ends last frees it.
struct PendingLookup {
  PendingLookup(const std::string& name, HostResolver with)
      : host(name), resolver(with), finished(CreateEventW(nullptr, TRUE, FALSE, nullptr)) {}
  const std::string host;
  const HostResolver resolver;
  UniqueHandle finished;  // set by the helper once `found` and `address` hold its answer
  bool found = false;
  in_addr address = {};
};

void RunLookup(std::shared_ptr<PendingLookup> lookup) {
  // Winsock's start-up of its own: the caller's socket, and with it the caller's start-up, may be gone
  // before this look-up ends.
  WSADATA data;
  const bool started = WSAStartup(MAKEWORD(2, 2), &data) == 0;
  if (started) {
    lookup->found = lookup->resolver(lookup->host.c_str(), &lookup->address);
    WSACleanup();
  }
  SetEvent(lookup->finished.get());
}

// Waits for the helper's event. True once it is set; false at the time limit or on a cancel.
bool WaitForLookup(HANDLE finished, unsigned timeout_ms, const volatile long* cancel) {
  const DWORD start = GetTickCount();
  for (;;) {
    // Unsigned difference: correct across the tick counter's wrap.
    const DWORD waited = GetTickCount() - start;
    if (waited >= timeout_ms)
      return WaitForSingleObject(finished, 0) == WAIT_OBJECT_0;
    DWORD slice = timeout_ms - waited;
    if (cancel != nullptr && slice > kCancelPollMs)
      slice = kCancelPollMs;
    if (WaitForSingleObject(finished, slice) == WAIT_OBJECT_0)
      return true;
    if (cancel != nullptr && *cancel != 0)
      return false;
  }
}

}  // namespace

bool ResolveWithGetHostByName(const char* host, in_addr* address) {
  const hostent* found = gethostbyname(host);
  if (found == nullptr || found->h_addrtype != AF_INET || found->h_addr_list[0] == nullptr)
    return false;
  std::memcpy(address, found->h_addr_list[0], sizeof *address);
  return true;
}

HostResolver SetHostResolver(HostResolver resolver) {
  HostResolver previous = g_resolver;
  g_resolver = resolver != nullptr ? resolver : &ResolveWithGetHostByName;
  return previous;
}

bool LookUpHost(const std::string& host, unsigned timeout_ms, const volatile long* cancel, in_addr* address) {
  if (host.empty() || (cancel != nullptr && *cancel != 0))
    return false;
  std::shared_ptr<PendingLookup> lookup;
  try {
    lookup = std::make_shared<PendingLookup>(host, g_resolver);
    if (!lookup->finished)
      return false;
    std::thread(&RunLookup, lookup).detach();
  } catch (const std::exception&) {
    return false;
  }
  if (!WaitForLookup(lookup->finished.get(), timeout_ms, cancel) || !lookup->found)
    return false;
  *address = lookup->address;
  return true;
}
