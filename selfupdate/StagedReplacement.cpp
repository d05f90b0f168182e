#include "selfupdate/StagedReplacement.h"

#include <algorithm>
#include <cwchar>
#include <utility>

#include "base/ScopedHandle.h"
#include "selfupdate/SelfUpdateFileOps.h"

namespace {

constexpr DWORD kBusyRetryStepMs = 50;

bool IsBusyError(DWORD error) {
  return error == ERROR_SHARING_VIOLATION || error == ERROR_ACCESS_DENIED || error == ERROR_LOCK_VIOLATION;
}

// Runs `operation` until it works, fails for another reason than a held file, or `limit_ms` passed. The sleep
// is the wait for another process to let go of the file; nothing signals that.
template <typename Operation>
bool RetryWhileBusy(DWORD limit_ms, Operation operation) {
  const DWORD start = GetTickCount();
  for (;;) {
    if (operation())
      return true;
    const DWORD error = GetLastError();
    if (!IsBusyError(error) || GetTickCount() - start >= limit_ms)
      return false;
    Sleep(kBusyRetryStepMs);
  }
}

bool Exists(const std::wstring& path) {
  return GetFileAttributesW(path.c_str()) != INVALID_FILE_ATTRIBUTES;
}

bool ListInto(const std::wstring& root, const std::wstring& prefix, std::vector<std::wstring>* paths) {
  WIN32_FIND_DATAW found;
  FindHandle search(FindFirstFileW((root + L"\\" + prefix + L"*").c_str(), &found));
  if (!search)
    return GetLastError() == ERROR_FILE_NOT_FOUND;
  do {
    if (std::wcscmp(found.cFileName, L".") == 0 || std::wcscmp(found.cFileName, L"..") == 0)
      continue;
    const std::wstring relative = prefix + found.cFileName;
    if ((found.dwFileAttributes & FILE_ATTRIBUTE_DIRECTORY) == 0)
      paths->push_back(relative);
    else if ((found.dwFileAttributes & FILE_ATTRIBUTE_REPARSE_POINT) == 0 &&
             !ListInto(root, relative + L"\\", paths))
      return false;
  } while (FindNextFileW(search.get(), &found));
  return GetLastError() == ERROR_NO_MORE_FILES;
}

}  // namespace

bool ListFilesBelow(const std::wstring& folder, std::vector<std::wstring>* relative_paths) {
  relative_paths->clear();
  return ListInto(folder, L"", relative_paths);
}

void OrderProgramLast(std::vector<std::wstring>* relative_paths, const std::wstring& program_name) {
  std::stable_partition(relative_paths->begin(), relative_paths->end(), [&](const std::wstring& path) {
    return CompareStringOrdinal(path.c_str(), -1, program_name.c_str(), -1, TRUE) != CSTR_EQUAL;
  });
}

StagedReplacement::StagedReplacement(std::wstring staging,
                                     std::wstring backup,
                                     std::wstring target,
                                     DWORD busy_retry_ms)
    : staging_(std::move(staging)),
      backup_(std::move(backup)),
      target_(std::move(target)),
      busy_retry_ms_(busy_retry_ms) {}

bool StagedReplacement::Apply(const std::wstring& program_name) {
  std::vector<std::wstring> files;
  if (!ListFilesBelow(staging_, &files))
    return false;
  OrderProgramLast(&files, program_name);
  for (const std::wstring& relative : files) {
    if (!ReplaceOne(relative)) {
      RollBack();
      return false;
    }
  }
  return true;
}

bool StagedReplacement::MakeParentFolders(const std::wstring& root, const std::wstring& relative) {
  for (size_t slash = relative.find(L'\\'); slash != std::wstring::npos;
       slash = relative.find(L'\\', slash + 1)) {
    const std::wstring folder = root + L"\\" + relative.substr(0, slash);
    if (!FileOps().create_directory(folder.c_str()) && GetLastError() != ERROR_ALREADY_EXISTS)
      return false;
  }
  return true;
}

bool StagedReplacement::ReplaceOne(const std::wstring& relative) {
  const SelfUpdateFileOps& ops = FileOps();
  const std::wstring staged = staging_ + L"\\" + relative;
  const std::wstring target = target_ + L"\\" + relative;
  const std::wstring kept = backup_ + L"\\" + relative;
  if (!MakeParentFolders(target_, relative))
    return false;
  const bool existed = Exists(target);
  if (existed) {
    if (!MakeParentFolders(backup_, relative))
      return false;
    if (!RetryWhileBusy(busy_retry_ms_, [&] { return ops.copy_file(target.c_str(), kept.c_str()) != FALSE; }))
      return false;
    // A rename does not replace a read-only file; the copy aside keeps the old attributes.
    if (!ops.set_attributes(target.c_str(), FILE_ATTRIBUTE_NORMAL))
      return false;
  }
  // Recorded before the move: a move that fails half-way is still put back by the roll-back.
  done_.push_back({relative, existed});
  return RetryWhileBusy(busy_retry_ms_,
                        [&] { return ops.move_replacing(staged.c_str(), target.c_str()) != FALSE; });
}

void StagedReplacement::RollBack() {
  const SelfUpdateFileOps& ops = FileOps();
  rolled_back_ = true;
  for (auto done = done_.rbegin(); done != done_.rend(); ++done) {
    const std::wstring target = target_ + L"\\" + done->relative;
    const std::wstring kept = backup_ + L"\\" + done->relative;
    ops.set_attributes(target.c_str(), FILE_ATTRIBUTE_NORMAL);
    const bool restored =
        done->existed
            ? RetryWhileBusy(busy_retry_ms_,
                             [&] { return ops.move_replacing(kept.c_str(), target.c_str()) != FALSE; })
            : (ops.delete_file(target.c_str()) || GetLastError() == ERROR_FILE_NOT_FOUND);
    if (!restored)
      rolled_back_ = false;
  }
  done_.clear();
}
