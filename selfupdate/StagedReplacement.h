// Moves the unpacked files of a self-update from the staging folder over the launcher folder so that no file
// is ever half written: each target is first copied aside into the backup folder, then the staged file is
// renamed over it in one step (both folders lie inside the launcher folder, on its volume). The program
// itself goes last, so a launcher that starts after an interruption is whole, old or new. A failure puts
// every replaced file back and removes the files that were added.
//
// A target that another process holds open (the launcher that is just ending) is tried again for a bounded
// time. Every file operation goes through SelfUpdateFileOps.h.
//
// Thread: the self-update worker.
#pragma once

#include <windows.h>

#include <string>
#include <vector>

// The files below `folder`, as relative paths ("a.dll", "sub\\b.txt"), sub-folders walked. False when a
// folder cannot be listed.
bool ListFilesBelow(const std::wstring& folder, std::vector<std::wstring>* relative_paths);
// Moves the entry equal to `program_name` (any case; only at the top level) to the end, keeping the others'
// order.
void OrderProgramLast(std::vector<std::wstring>* relative_paths, const std::wstring& program_name);

class StagedReplacement {
 public:
  StagedReplacement(std::wstring staging, std::wstring backup, std::wstring target, DWORD busy_retry_ms);

  // Replaces the target's files with the staged ones, the program last. True when all are in place; false
  // when one could not be replaced, after everything was put back (`RolledBackCompletely` says whether that
  // worked).
  bool Apply(const std::wstring& program_name);
  bool RolledBackCompletely() const { return rolled_back_; }
  size_t ReplacedCount() const { return done_.size(); }

 private:
  struct Done {
    std::wstring relative;
    bool existed;
  };
  bool ReplaceOne(const std::wstring& relative);
  bool MakeParentFolders(const std::wstring& root, const std::wstring& relative);
  void RollBack();

  std::wstring staging_;
  std::wstring backup_;
  std::wstring target_;
  DWORD busy_retry_ms_;
  std::vector<Done> done_;
  bool rolled_back_ = true;
};
