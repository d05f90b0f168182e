// Writes one key of a Windows profile (ini) file so that a process killed at any moment leaves the file as it
// was or with the key written, never emptied. The profile functions write a file by creating it anew (which
// empties it) and then writing it whole, so a kill between the two loses every key in it. Here the profile
// function writes a copy beside the file, "<file>.new", which is flushed to the disk and renamed over the
// file in one step: the text is the profile function's own (keys, encoding, layout), so readers see no
// difference.
//
// A read-only file is refused as the profile functions refuse it on Windows (Wine writes it all the same). A
// rename refused because a reader holds the file or its copy (a sharing violation, or access denied) is tried
// again for about a third of a second, the time a reader holds a file just written; the caller may be the
// user-interface thread.
//
// The copy, the rename, the removal of a failed copy and the clearing of a read-only ".new" go through
// SelfUpdateFileOps.h, so that tests can fail or interrupt each of them. Thread: any; one writer of a file at a
// time.
#pragma once

// WritePrivateProfileStringW(section, key, value, path) done as above. True when the file holds the value;
// false (GetLastError says why: ERROR_ACCESS_DENIED for a read-only file) with the file as it was. A ".new"
// that an interrupted write left behind is replaced, a read-only one too.
bool WriteProfileStringReplacing(const wchar_t* path,
                                 const wchar_t* section,
                                 const wchar_t* key,
                                 const wchar_t* value);
