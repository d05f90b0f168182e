// UpdaterContext: what the engine object (CUpdater), its session (UpdateSession) and its worker
// (UpdateWorker) share: the installation's settings, the versionInfo values, the status the caller reads, the
// installed-file list, the entry queue, the last error, and the caller's callback.
//
// Threads: the settings are written once by CUpdater::Initialize, before any other thread exists, and only
// read after. The rest is used by the caller's thread (start and stop), the socket reader thread (session) and
// the worker thread; the session hands the queue to the worker only after its connection is closed, so the
// two never run over the same entries at once.
//
// Locks, in the only order in which they may be nested (the one place this order is written):
//   1. the engine lock (`lock`): the session's state (UpdateSession: the finished flag, the patch-server
//      address, the socket, the list-receive buffer), the entry queue, and the making of the downloader
//      (UpdateWorker: Stop cancels it from another thread). The socket reader thread holds it for the whole
//      handling of a socket event, callback included. The start holds it around resolution and connect. Never
//      held while waiting for the worker or the reader, nor by the worker while it downloads, applies or calls
//      back.
//   2. the store lock (inside FileListStore): every operation on the installed-file list. The check at start
//      calls the callback (event UpdateEventFileMismatch) while holding it.
//   3. whatever lock the caller's callback takes: always innermost, so the caller must not call an export
//      while holding it.
// The UpdateStatus is written by the engine's threads without a lock and read by the caller at any time.
#pragma once

#include <windows.h>

#include <cstdint>
#include <deque>
#include <memory>

#include "base/CriticalSection.h"
#include "engine/FileEntry.h"
#include "engine/FileListStore.h"
#include "engine/QVTesserel.h"
#include "engine/VersionInfoIni.h"

// Copies a text field of the caller's record into the engine's own, bounded by both and always terminated.
template <typename Char, size_t OutSize, size_t InSize>
void CopyTextField(Char (&out)[OutSize], const Char (&in)[InSize]) {
  constexpr size_t kLimit = (OutSize < InSize ? OutSize : InSize);
  size_t length = 0;
  while (length < kLimit - 1 && in[length] != 0)
    ++length;
  for (size_t i = 0; i < length; ++i)
    out[i] = in[i];
  out[length] = 0;
}

struct UpdaterContext {
  // Sends one event to the caller's callback, when there is one. Any engine thread.
  void Notify(int event, const void* data) const;
  // Records `code` (an UpdateError) as the last error and sends UpdateEventError with it.
  void ReportError(int code);
  // Writes the three versionInfo values, unless an error has been recorded. False only when the write failed.
  bool SaveVersionInfo() const;
  // Writes the installed-file list when it changed, then closes it. False when the write failed.
  bool CloseFileList();
  // The start of a run (engine lock held): what an earlier run on the same object left is dropped (its queue,
  // its last error, and the versions it took from the server but wrote only if it completed), so that the run
  // starts from the installation as its versionInfo ini records it.
  void BeginRun();
  // "<install root>\<name>" by the shell's path-append rule. False (and an empty path) when it does not fit.
  bool BuildInstallPath(wchar_t (&path)[MAX_PATH], const wchar_t* name) const;

  // Settings, from the caller's parameters (every text bounded and terminated).
  UpdateCallback callback = nullptr;
  void* user_value = nullptr;
  int no_self_update = 0;
  wchar_t product_code[64] = {};
  wchar_t program_file_name[64] = {};
  wchar_t install_root[256] = {};
  char download_host[100] = {};
  wchar_t download_host_wide[100] = {};
  wchar_t version_info_path[MAX_PATH] = {};
  wchar_t file_list_path[MAX_PATH] = {};

  // The engine lock (see the top of this file).
  CriticalSection lock;
  VersionInfo version_info;
  UpdateStatus status{};
  // Set by FullCheck or by a start whose list changed on loading; never cleared.
  int full_check = 0;
  // An UpdateError; 0 none. Once set it suppresses UpdateEventCompleted and the versionInfo write for the
  // rest of the run.
  uint16_t last_error = 0;
  FileListStore file_list;
  // The server's entries, taken from the front by the worker (engine lock).
  std::deque<std::unique_ptr<FileEntry>> entries;
};
