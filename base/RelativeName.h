// The one decision whether a relative name that came from outside (a patch server's list entry, a line of the
// installed-file list, the name part of a download URL, a patch's target, a cabinet's entry) may be used below
// the folder it is joined to. Every place that joins such a name to its root asks here first, so the rule has
// one home.
#pragma once

#include <windows.h>

#include <cstddef>
#include <string_view>

// Longest name that fits a 260-character field with its terminator.
constexpr size_t kMaxRelativeNameLength = 259;

// True when `name` (NUL-terminated) names a file below the root it is joined to, and that file only:
//   - not null or empty, at most kMaxRelativeNameLength characters;
//   - not starting with a backslash or slash (absolute, UNC or device paths), nor with U+FEFF (the reader
//     of the installed-file list skips a byte-order mark at its start);
//   - no ":" anywhere (drive letters, alternate streams);
//   - no part that ends in a dot or a blank: Windows drops those, so "..." or ".. " would be "..", and "a."
//     another file than the one recorded ("." and ".." themselves end in a dot);
//   - no part that is a device name (CON, PRN, AUX, NUL, CONIN$, CONOUT$, COM1-9, LPT1-9, also with the
//     superscript digits 1-3, whatever the case and with or without an extension, as "nul.txt" or "COM1
//     .log"): opening one reaches the device, not a file;
//   - no character that a Windows file name cannot hold (control characters and DEL, wildcards, quotes,
//     angle brackets, "|"), which would also break the line formats that names are stored in.
// A separator at the very end (an empty last part) is allowed: it names a folder, which no file operation of
// the engine can harm.
bool IsSafeRelativeName(const wchar_t* name);

// The same rule for a name that must name a file: no part may be empty either (no doubled separator, nothing
// ending in a separator). Patch targets and cabinet entries are checked with it.
bool IsSafeRelativeFileName(const wchar_t* name);
// The same for a UTF-8 name (a patch header's target), whose length its caller bounds: false as well when
// the bytes are not valid UTF-8 or hold a NUL.
bool IsSafeRelativeFileName(std::string_view utf8_name);

// Joins `name` to `root` ("<root>\<name>") into `out`, after IsSafeRelativeName, and checks that the full
// path that Windows makes of it lies below the full path of the root. False (and `out` empty) when the name
// is refused, the path does not fit MAX_PATH, or it would end up outside the root.
bool JoinUnderRoot(wchar_t (&out)[MAX_PATH], const wchar_t* root, const wchar_t* name);
