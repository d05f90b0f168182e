// The installed-file list of one installation: the FileRecord of every file the engine installed, kept in the
// fileListInfo file (format in engine/FileListFormat.h) and, while the engine object lives, in this store.
//
// Records are kept in a map ordered by their key: the name converted to 8-bit text in the system code page
// (at most 259 bytes), compared byte by byte. Keys are therefore case-sensitive, and the file is written in
// the byte order of the converted names. The map owns its records.
//
// Threads: the caller's thread (start), the socket reader thread and the worker thread all use the store;
// every operation takes the store lock (its place in the lock order: engine/UpdaterContext.h). Records
// returned by Find are used after the lock is released; only one thread changes records at a time, because the
// worker runs only after the session's reader work is over.
//
// Writing: the whole list is written beside the list file ("fileListInfo_<product>.tmp"), flushed, and
// renamed over it, so a process ended at any moment leaves the old list or the new one, never a torn one. The
// list file itself is held open between writes (read and write, others may only read), which keeps a second
// engine away from the same installation.
//
// A record can be withheld from the file while the store keeps it: Write leaves it out until it is restored
// or changed. The worker withholds the record of every file it is about to replace or delete, so that no list
// on disk ever names the old contents of a file that is already gone.
//
// Result codes: kOk 0; kNoPath 300; kOpenFailed 301; kNotOpen 302 (also a failed write); kReadFailed 303
// (also no record given); kNameNotFound 304.
#pragma once

#include <cstdint>
#include <functional>
#include <map>
#include <memory>
#include <mutex>
#include <set>
#include <string>
#include <vector>

#include "base/CriticalSection.h"
#include "base/ScopedHandle.h"
#include "engine/QVTesserel.h"

class FileListStore {
 public:
  static constexpr int kOk = 0;
  static constexpr int kNoPath = 300;
  static constexpr int kOpenFailed = 301;
  static constexpr int kNotOpen = 302;
  static constexpr int kReadFailed = 303;
  static constexpr int kNameNotFound = 304;

  FileListStore() = default;
  ~FileListStore();
  FileListStore(const FileListStore&) = delete;
  FileListStore& operator=(const FileListStore&) = delete;

  // Opens or creates the list file (read and write, others may read, hidden), keeps its size and empties the
  // map. A file that was open is closed first. kNoPath for null, kOpenFailed when the file cannot be opened.
  int Open(const wchar_t* path);
  // Reads the whole file in one call and inserts its well-formed records (the first of two with one key
  // wins). kOk at once for an empty file; kReadFailed when the file is not open, too large, or the read
  // fails. parsed_whole() then says whether every line that held text gave a record.
  int Parse();
  // Replaces the file with every record that is not withheld, in key order (written beside, flushed, renamed
  // over), and clears the changed flag. kNotOpen when the store is not open or the file could not be
  // replaced (the flag stays, the old file is untouched).
  int Write();
  // Takes ownership of `record` and inserts it under its key; a key already present keeps its record (the new
  // one is freed). kReadFailed for null. Does not touch the changed flag.
  int Insert(std::unique_ptr<FileRecord> record);
  // Removes and frees the record. kNameNotFound for null or an absent name. Does not touch the changed flag.
  int Remove(const wchar_t* name);
  // Keeps the record of `name` (when there is one) out of the file from the next Write on, and sets the
  // changed flag. True when that record was in the file until now (it exists and was not withheld). Restore
  // puts it back (and sets the flag); Remove, Clear and Close forget it.
  bool Withhold(const wchar_t* name);
  void Restore(const wchar_t* name);
  // The record of `name`, or null. The store keeps ownership.
  FileRecord* Find(const wchar_t* name);
  // Frees every record.
  int Clear();
  // Frees the read buffer, closes the file, forgets its size and empties the map.
  void Close();
  // Folds every record named "Patch\..." (prefix compared without regard to case) into the record of the name
  // without the prefix: an existing plain record takes its CRC, size, version and registered version,
  // otherwise the record is renamed. The "Patch" records are gone afterwards. Leaves the changed flag as it
  // is. kOk.
  int FoldPatchEntries();

  // Calls `visit` for every record in key order, under the store lock. `visit` may change the record's values
  // but not its name.
  void ForEachRecord(const std::function<void(FileRecord&)>& visit);

  bool changed();
  // False when the last Parse dropped a line that held text (a malformed or unsafe record).
  bool parsed_whole();
  void SetChanged(bool changed);
  bool IsOpen();
  size_t RecordCount();

  // The map key of a name: 8-bit text in the system code page, at most 259 bytes.
  static std::string KeyOf(const wchar_t* name);

 private:
  int InsertLocked(std::unique_ptr<FileRecord> record);
  // Opens (or creates) the list file, hidden, read and write, others may read.
  UniqueHandle OpenListFile() const;
  void CloseLocked();

  int changed_ = 0;
  // Open has succeeded and Close not yet been called. The file handle below may be empty for a moment while
  // the list is replaced (or for good, when it could not be opened again after a replacement).
  bool open_ = false;
  bool parsed_whole_ = true;
  std::wstring path_;
  UniqueHandle file_;
  uint32_t file_size_ = 0;
  std::vector<char> read_buffer_;
  // The store lock: guards every field of the store and the records.
  CriticalSection lock_;
  std::map<std::string, std::unique_ptr<FileRecord>> records_;
  // Keys of the records that Write leaves out.
  std::set<std::string> withheld_;
};
