// The game-argument tail: the session values that every started game receives on its command line, after
// the game's own arguments.
//
// Format (one line, within 1024 characters):
//   /SessKey:"<SessKey>" /MacAddr:"<MacAddr>" /UserNick:"<UserNick>" /CompanyID:"<CompanyID as %d>"
//   /ChannelGroupIndex:"<ChannelGroupIndex>"
// with single blanks between the items and nothing before the first or after the last. A value can never
// break out of its quotes: a '"' in it is dropped, and a trailing run of backslashes is doubled so that the
// game's command-line parser does not read the closing quote as an escaped one.
//
// Thread: the user-interface thread.
#pragma once

#include <cstddef>

struct SessionValues;

// Writes the tail for `values` into `tail` (`units` long, always terminated). False when it had to be cut.
bool FormatGameArgsTail(const SessionValues& values, wchar_t* tail, size_t units);
// Rebuilds the process-wide tail from the session values (SessionValues.h).
void BuildGameArgs();
// The process-wide tail; empty until the first BuildGameArgs.
const wchar_t* GetGameArgsTail();
// False on systems whose major version is 4 (Windows 95, 98, ME and NT 4) or when the version cannot be
// read: there the tail is never built and stays empty.
bool GameArgsSupported();
