// Which names the folders of an installation held when the worker first asked about them. Under Wine every
// look-up of a name that is not there scans its folder for a case-insensitive match, so a fresh installation
// of a few thousand files, which asks once per file whether the file is already there, scanned its folders
// once per file. Listed once, a folder answers every later question about a missing name from memory.
//
// Only "missing" is taken from the listing: a name that was there is asked of the file system as before. A
// file that appears after its folder was listed (made by the worker itself, or by someone else) is taken for
// missing: the worker then fetches it and replaces it, which is what it does for a file that does not match.
//
// Thread: the worker's only; no lock.
#pragma once

#include <cstddef>
#include <cstdint>
#include <string>
#include <unordered_map>
#include <unordered_set>

class FolderNameCache {
 public:
  // True when the folder of `path` (the text before its last backslash) held no file or folder of the name
  // after it when the folder was listed, or when the folder itself was missing. False when the name was
  // there, or when the folder could not be listed: the caller asks the file system then. A folder is listed
  // at its kQuestionsBeforeListing + 1st question: before that, false. A listing is one directory search
  // and costs about as much as several look-ups, so an update that asks about a few files of a folder never
  // lists it, and an installation lists each folder once.
  bool WasMissing(const wchar_t* path);
  static constexpr int kQuestionsBeforeListing = 8;
  // Forgets every listing (a new run).
  void Clear() { folders_.clear(); }

 private:
  struct Listing {
    int questions = 0;    // asked before the listing was made
    bool listed = false;  // false: not listed yet, or the folder could not be listed: nothing is known
    // Hashes of the upper-case names: a few bytes per file. Two names of one hash only make the second one
    // count as there, and so be asked of the file system.
    std::unordered_set<uint64_t> names;
  };
  static uint64_t NameHash(const wchar_t* name, size_t length);
  bool WasMissingInListing(const wchar_t* path);
  // Lists `folder` into `listing`.
  static void List(const std::wstring& folder, Listing* listing);

  // Keyed by the folder's path in upper case.
  std::unordered_map<std::wstring, Listing> folders_;
};
