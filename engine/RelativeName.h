// The one decision whether a relative name that came from outside (a patch server's list entry, a line of the
// installed-file list, the name part of a download URL) may be used below the install root. Every place that
// joins such a name to the root asks here first, so the rule has one home.
#pragma once

#include <cstddef>

// Longest name that fits a 260-character field with its terminator.
constexpr size_t kMaxRelativeNameLength = 259;

// True when `name` (NUL-terminated) stays below the root it is joined to: not null or empty, at most
// kMaxRelativeNameLength characters, not starting with a backslash or slash (absolute, UNC or device paths),
// no
// ":" anywhere (drive letters, alternate streams), no ".." between separators, and no character that a
// Windows file name cannot hold (control characters, wildcards, quotes, angle brackets, "|"), which would
// also break the line formats that names are stored in.
bool IsSafeRelativeName(const wchar_t* name);
