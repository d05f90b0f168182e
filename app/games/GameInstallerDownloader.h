// GameInstallerDownloader: downloads one game's installer into a local file on a thread of its own, resuming
// a partial file.
//
// Life of one download (owner: the game record, on the user-interface thread):
//   Prepare (URL, path) -> CheckExisting -> [Restart] -> Start -> ... the thread ends by itself (done, failed
//   or cancelled) -> the periodic tick reads GetProgress.
//
// Threads: every method but the data sink runs on the owner's thread. The download thread runs the transfer
// and the sink, and closes the file when the transfer ends. The running flag is set before the thread is
// made and cleared by the thread as its last step, so the owner closes the file only while no thread can
// write to it. The file handle is exchanged atomically, so exactly one of the two closes it.
// GetProgress, GetError and Cancel go through the downloader's own lock and may be called at any time.
#pragma once

#include <windows.h>

#include <atomic>
#include <cstdint>

#include "base/ScopedHandle.h"
#include "net/HttpFileDownloader.h"

// The file write the data sink makes; tests replace it to fail a write. Null restores WriteFile.
typedef BOOL(WINAPI* InstallerWriteFunction)(HANDLE file,
                                             LPCVOID data,
                                             DWORD bytes,
                                             LPDWORD written,
                                             LPOVERLAPPED overlapped);
void SetInstallerWriteFunction(InstallerWriteFunction write);

class GameInstallerDownloader {
 public:
  static constexpr size_t kUrlUnits = 1024;
  static constexpr size_t kPathUnits = 260;
  // How long the size request, and the transfer before its first byte, may wait for the server.
  static constexpr DWORD kFirstAnswerLimitMs = 10000;

  GameInstallerDownloader();
  // Cancels a running transfer and waits for its thread (no time limit: the transfer ends at libcurl's next
  // progress call); closes the file.
  ~GameInstallerDownloader();
  GameInstallerDownloader(const GameInstallerDownloader&) = delete;
  GameInstallerDownloader& operator=(const GameInstallerDownloader&) = delete;

  // Opens (or creates) `path` for reading and writing, unshared, and readies the transfer of `url` to resume at
  // the file's size. Only while no file is open and both texts are non-empty and fit (1024 and 260 units).
  // 1 ready; 0 nothing open.
  int Prepare(const wchar_t* url, const wchar_t* path);

  // Asks the server for the installer's size (a body-less request on the calling thread, given at most
  // kFirstAnswerLimitMs) and compares:
  // -1 the size is unknown (request failed, or no size named); 0 nothing local (or a local file larger than
  // the server's, which is restarted from zero); 1 a partial local file; 2 a complete local file.
  int CheckExisting();

  // Starts over from byte 0: the next transfer writes from the start of the file.
  void Restart();

  // Starts the download thread. 1 started; 0 when it was started before or cannot be made (running cleared).
  int Start();
  bool started() const { return started_; }
  bool IsRunning() const { return running_.load() != 0; }

  // Cuts the file at the write position, closes it, and deletes it when it is empty. The owner calls it only
  // while the thread is not running; the thread calls it as its last step.
  void CloseFile();
  bool IsFileOpen() const { return file_.load() != INVALID_HANDLE_VALUE; }

  // Any thread.
  void Cancel() { downloader_.Cancel(); }
  void GetProgress(DownloaderProgress* progress) { downloader_.GetProgress(progress); }
  DownloaderError GetError() { return downloader_.GetError(); }

  const wchar_t* file_path() const { return path_; }

 private:
  static unsigned __stdcall ThreadMain(void* self);
  static int Sink(const void* data, int bytes, void* self);
  int Write(const void* data, int bytes);

  HttpFileDownloader downloader_;
  UniqueHandle thread_;
  bool started_ = false;
  std::atomic<int32_t> running_{0};
  std::atomic<HANDLE> file_{INVALID_HANDLE_VALUE};
  int64_t resume_offset_ = 0;
  wchar_t url_[kUrlUnits] = {};
  wchar_t path_[kPathUnits] = {};
};
