#include "engine/FolderNameCache.h"

#include <windows.h>

#include <cwchar>
#include <new>

#include "base/ScopedHandle.h"

namespace {

// File names compare without regard to case, as the file system does.
std::wstring UpperCase(const wchar_t* text, size_t length) {
  std::wstring upper(text, length);
  if (!upper.empty())
    CharUpperBuffW(&upper[0], static_cast<DWORD>(upper.size()));
  return upper;
}

}  // namespace

uint64_t FolderNameCache::NameHash(const wchar_t* name, size_t length) {
  const std::wstring upper = UpperCase(name, length);
  // FNV-1a over the UTF-16 units.
  uint64_t hash = 14695981039346656037ull;
  for (wchar_t unit : upper) {
    hash ^= static_cast<uint16_t>(unit);
    hash *= 1099511628211ull;
  }
  return hash;
}

void FolderNameCache::List(const std::wstring& folder, Listing* listing) {
  WIN32_FIND_DATAW found;
  FindHandle search(FindFirstFileW((folder + L"\\*").c_str(), &found));
  if (!search) {
    const DWORD error = GetLastError();
    // A missing folder holds no names; any other failure leaves the folder unknown.
    listing->listed = error == ERROR_PATH_NOT_FOUND || error == ERROR_FILE_NOT_FOUND;
    return;
  }
  do {
    listing->names.insert(NameHash(found.cFileName, wcslen(found.cFileName)));
  } while (FindNextFileW(search.get(), &found));
  listing->listed = GetLastError() == ERROR_NO_MORE_FILES;
  if (!listing->listed)
    listing->names.clear();
}

bool FolderNameCache::WasMissing(const wchar_t* path) {
  try {
    return WasMissingInListing(path);
  } catch (const std::bad_alloc&) {
    // Without memory for the listing, the file system is asked.
    return false;
  }
}

bool FolderNameCache::WasMissingInListing(const wchar_t* path) {
  const wchar_t* cut = path != nullptr ? wcsrchr(path, L'\\') : nullptr;
  if (cut == nullptr || cut == path || cut[1] == L'\0')
    return false;
  const std::wstring folder_key = UpperCase(path, static_cast<size_t>(cut - path));
  Listing& listing = folders_[folder_key];
  if (listing.questions < kQuestionsBeforeListing) {
    ++listing.questions;
    return false;
  }
  if (listing.questions == kQuestionsBeforeListing) {
    // Once, whatever the result: a folder that cannot be listed is not tried again.
    ++listing.questions;
    List(std::wstring(path, static_cast<size_t>(cut - path)), &listing);
  }
  return listing.listed && listing.names.count(NameHash(cut + 1, wcslen(cut + 1))) == 0;
}
