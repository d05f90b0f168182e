// Writes one key of a Windows profile (ini) file so that a process killed at any moment leaves the file as it
// was or with the key written, never emptied. The profile functions write a file by creating it anew (which
// empties it) and then writing it whole, so a kill between the two loses every key in it. Here the profile
// function writes a copy beside the file, "<file>.new", which is flushed to the disk and renamed over the
// file in one step: the text is the profile function's own (keys, encoding, layout), so readers see no
// difference.
//
// The copy, the rename and the removal of a failed copy go through SelfUpdateFileOps.h, so that tests can fail
// or interrupt each of them. Thread: any; one writer of a file at a time.
#pragma once

// WritePrivateProfileStringW(section, key, value, path) done as above. True when the file holds the value;
// false (GetLastError says why) with the file as it was. A ".new" that an interrupted write left behind is
// replaced.
bool WriteProfileStringReplacing(const wchar_t* path,
                                 const wchar_t* section,
                                 const wchar_t* key,
                                 const wchar_t* value);
