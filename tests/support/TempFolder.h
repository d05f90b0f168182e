// A temporary folder for one test, removed with everything in it when the object ends. Tests never touch the
// real user's state: install folders, ini files and downloads all live under one of these.
#pragma once

#include <cstdint>
#include <string>
#include <vector>

namespace testing_support {

class TempFolder {
 public:
  // Makes a new, empty folder under the system's temporary folder; `tag` becomes part of its name.
  explicit TempFolder(const wchar_t* tag = L"orvane");
  ~TempFolder();
  TempFolder(const TempFolder&) = delete;
  TempFolder& operator=(const TempFolder&) = delete;

  // The folder's path, without a trailing backslash.
  const std::wstring& path() const { return path_; }
  // `path()` joined with a relative name ("a\\b.txt").
  std::wstring Join(const std::wstring& relative) const;

 private:
  std::wstring path_;
};

// Removes a folder tree, clearing read-only and hidden attributes on the way. True when it is gone.
bool RemoveTree(const std::wstring& path);

// Writes `bytes` to `path`, making missing parent folders. True on success.
bool WriteFileBytes(const std::wstring& path, const std::string& bytes);
// Reads a whole file; false when it cannot be opened or read.
bool ReadFileBytes(const std::wstring& path, std::string* bytes);
bool FileExists(const std::wstring& path);
// Makes every missing folder of `path` (the path itself included).
bool MakeFolders(const std::wstring& path);

// One file below a folder: its path relative to the folder ("maps\\a.dat") and its size.
struct FileBelow {
  std::wstring relative;
  uint64_t size;
};
// Every file below `root`, its subfolders walked, in the order the system lists them.
std::vector<FileBelow> ListFilesBelow(const std::wstring& root);
// Copies the tree below `from` (empty folders included) to `to`, replacing files there. True when every
// folder and file was copied.
bool CopyTree(const std::wstring& from, const std::wstring& to);

}  // namespace testing_support
