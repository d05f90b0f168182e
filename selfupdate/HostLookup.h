// A name look-up that its caller can stop waiting for. The platform's look-up (gethostbyname) cannot be
// cancelled and, with a slow or unreachable name server, blocks for as long as the resolver's own retries
// take, which no time limit of ours bounds. So the look-up runs on a helper thread of its own, and the caller
// waits for it only as long as its time limit and its cancel flag allow. A helper that is left behind ends
// with its look-up; it owns everything it touches (its copy of the name, its result and Winsock's start-up),
// so nothing of the caller's is used after the caller has gone on.
//
// Thread: any. The resolver is replaced before anything looks up (tests).
#pragma once

#include <winsock2.h>

#include <string>

// Resolves `host` (8-bit text) to its first IPv4 address. Runs on the helper thread. True with `address`
// set; false when the name is unknown.
typedef bool (*HostResolver)(const char* host, in_addr* address);

// Looks `host` up with the resolver: true with `address` set; false when the name is unknown, no helper could
// start, `timeout_ms` passed, or `*cancel` (when given) became nonzero meanwhile. Returns within a few
// milliseconds of the time limit or the cancel, whatever the look-up does.
bool LookUpHost(const std::string& host, unsigned timeout_ms, const volatile long* cancel, in_addr* address);

// The platform's look-up: gethostbyname, first address of an AF_INET answer.
bool ResolveWithGetHostByName(const char* host, in_addr* address);
// Installs `resolver` (null: the platform's) and returns the one it replaces.
HostResolver SetHostResolver(HostResolver resolver);
