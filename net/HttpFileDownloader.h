// HttpFileDownloader: fetches one URL over plain HTTP into a caller's sink, with libcurl's easy interface.
//
// One object serves many transfers in turn:
//   Open (URL, sink) -> [SetResumeOffset] -> [GetRemoteSize] -> Perform -> kDownloaderDone or
//   kDownloaderFailed
// and a new Open starts again from any state but "transferring".
//
// Threads: Open, SetResumeOffset, GetRemoteSize and Perform run on the owner's thread; Perform calls the sink
// there, once per received block. GetProgress, GetState, GetError and Cancel may be called from any thread at
// any time. The downloader lock (a critical section, taken by no callee) guards the state, the error, the
// cancel flag, the progress counters, the resume offset and the remote information.
//
// libcurl's global initialisation belongs to whoever owns the process; it must have happened before the
// constructor runs.
//
// A cancel or a time-out never waits for a name look-up: libcurl's look-up thread is left to end by itself,
// and the module that holds this code (the engine library, or the launcher) is then pinned, loaded until the
// process ends, since that thread returns into it (base/ModulePin.h).
//
// Beyond the plain HTTP transfer, the handle is limited to "http" URLs (redirect targets included), follows
// at most kMaxRedirects redirects, and refuses body bytes past the remote size, and every body byte when the
// remote size is not known (such a transfer fails in the end anyway).
#pragma once

#include <windows.h>

#include <cstddef>
#include <cstdint>
#include <memory>

#include "base/CriticalSection.h"

// The downloader's state. Frozen values: callers compare them as integers.
enum DownloaderState : int32_t {
  kDownloaderReady = 0,
  kDownloaderTransferring = 1,
  kDownloaderDone = 2,
  kDownloaderFailed = -1,
};

// Why the last operation failed. Frozen values: callers map them to their own codes.
enum DownloaderError : int32_t {
  kDownloaderErrorNone = 0,
  kDownloaderErrorNoHandle = 1,   // libcurl could not make an easy handle
  kDownloaderErrorBadUrl = 3,     // no URL, or it does not fit 1024 bytes of system-code-page text
  kDownloaderErrorBusy = 4,       // asked for while a transfer runs, or the downloader is not ready
  kDownloaderErrorOption = 5,     // a transfer option could not be set
  kDownloaderErrorCancelled = 6,  // the cancel flag ended the transfer
  kDownloaderErrorStalled = 7,    // no data for longer than the stall limit, or slower than the speed floor
  kDownloaderErrorSink = 8,       // the sink did not take all the data
  kDownloaderErrorTransfer = 9,   // HTTP status 400 or above, a size that does not add up, any other failure
};

// A snapshot of the running or last transfer, whole-file based: with a resume offset, done and total include
// the bytes that were already there.
struct DownloaderProgress {
  int32_t state;  // DownloaderState
  int64_t done;   // 0 while ready
  int64_t total;  // 0 while ready
};

// Receives the body, block by block, on the thread that called Perform. Returns the number of bytes it took;
// anything but `bytes` ends the transfer with kDownloaderErrorSink.
typedef int (*DownloadSink)(const void* data, int bytes, void* user);

class HttpFileDownloader {
 public:
  static constexpr DWORD kStallLimitMs = 5000;
  // The speed floor of every request, the body-less one included: a request whose speed, as libcurl averages
  // it over its last few seconds, stays below kSpeedFloorBytesPerSecond for kSpeedFloorWindowSeconds ends as
  // stalled (7). It ends what the stall limit cannot see: a server that sends a byte now and then, never
  // silent for long, and one that takes the request and never answers where no first-answer limit is set.
  // The slowest links still in use (dial-up, 2G) move four times the floor and more, so a healthy transfer
  // never comes near it, not even on a shared line, and the engine's transfers run at megabytes a second; the
  // window outlasts a congested line's retransmission back-off several times over.
  static constexpr long kSpeedFloorBytesPerSecond = 1024;
  static constexpr long kSpeedFloorWindowSeconds = 30;
  static constexpr long kMaxRedirects = 10;
  // Bytes libcurl reads from the socket per call (and hands to the sink per block). Its default of 16 KiB made
  // every transfer of the engine's benchmark under Wine about half socket calls; 256 KiB took the download
  // time of a few hundred MB down by a third (bench_engine_update).
  static constexpr size_t kReceiveBlockBytes = 256 * 1024;
  // The receive buffer libcurl allocates for each transfer: the block size and a terminating byte.
  static constexpr size_t kReceiveBufferBytes = kReceiveBlockBytes + 1;
  static constexpr int kMaxUrlBytes = 1024;  // the 8-bit URL with its terminating zero

  // `stall_limit_ms`: how long a transfer may go without data once data has started to flow. Callers keep the
  // default; tests shorten it.
  explicit HttpFileDownloader(DWORD stall_limit_ms = kStallLimitMs);
  virtual ~HttpFileDownloader();
  HttpFileDownloader(const HttpFileDownloader&) = delete;
  HttpFileDownloader& operator=(const HttpFileDownloader&) = delete;

  // Prepares a transfer of `url` into `sink`. Clears the cancel flag, the counters, the resume offset and the
  // remote information. 1 ready; 0 with the error set: kDownloaderErrorBusy (nothing else changes), or
  // kDownloaderFailed with kDownloaderErrorBadUrl (no URL, or not convertible to the system code page without
  // loss, or 1024 bytes or more), kDownloaderErrorNoHandle or kDownloaderErrorOption.
  int Open(const wchar_t* url, void* user, DownloadSink sink);

  // Asks the next Perform to start at byte `offset` (0 or less: from the start). 1 set; 0 with the error set:
  // kDownloaderErrorBusy, kDownloaderErrorNoHandle, kDownloaderErrorOption. The state does not change.
  int SetResumeOffset(int64_t offset);

  // The remote size from a body-less request for the whole file (made at most once per Open, only while
  // ready, without the resume offset), or -1 when the request failed (kDownloaderFailed; kDownloaderErrorTransfer, Busy or NoHandle; Cancelled when
  // Cancel ended it, which it does while the server has not answered yet too) or the server named no size.
  int64_t GetRemoteSize();

  // Runs the transfer on this thread. 1 done (kDownloaderDone): the resume offset plus the bytes received equal the
  // remote size (a resume offset equal to the remote size is done without asking for the body). 0 failed, in
  // kDownloaderFailed with the error set; a resumed transfer whose remote size is unknown fails without a new error.
  int Perform();

  // Opt-in for transfers on a user-interface thread: a transfer whose first body byte has not come
  // `limit_ms` after Perform began ends as stalled (7), and the body-less size request of GetRemoteSize gets
  // `limit_ms` in all (then fails as stalled too). 0, the default, leaves the connect time-out and the speed
  // floor. Owner's thread, while no transfer runs.
  void SetFirstAnswerLimit(DWORD limit_ms) { first_answer_limit_ms_ = limit_ms; }
  // The window of the speed floor, in seconds (at least 1); tests shorten it. Callers keep the default.
  // Takes effect at the next Open. Owner's thread, while no transfer runs.
  void SetSpeedFloorWindow(long seconds) { speed_floor_window_seconds_ = seconds > 0 ? seconds : 1; }

  // Any thread: fills `progress` under the lock; a null pointer is ignored. Asked from inside the sink, done
  // already counts the block being handed over and total is the remote size.
  void GetProgress(DownloaderProgress* progress);
  // Any thread: ends the running transfer with kDownloaderErrorCancelled at libcurl's next progress call (at least once a
  // second). The flag stays set until the next successful Open.
  void Cancel();
  // Any thread.
  DownloaderState GetState();
  DownloaderError GetError();

  // The stall rule, on GetTickCount values: a tick below the stored one means the counter wrapped, and the
  // wait is measured again from there. True when more than `limit_ms` passed since `*last_data_tick`.
  static bool HasStalled(DWORD* last_data_tick, DWORD now, DWORD limit_ms);

 private:
  struct EasyHandleCleanup {
    void operator()(void* easy) const;
  };

  int SetupTransfer();
  // curl_easy_perform, with the module kept loaded when the request leaves a name look-up running. Returns
  // libcurl's result.
  int PerformRequest();
  void KeepModuleForLeftLookUp(int curl_result);
  int QueryRemoteInfo();
  int FinishTransfer(int curl_result);
  DownloaderError TimedOutError();
  void TakeRemoteInfo();
  int Fail(DownloaderError error);
  bool IsBusy() const;
  // The busy guard of every call that uses the handle, with the lock held. True when the call must return 0:
  // while a transfer runs it sets kDownloaderErrorBusy and leaves the state alone; with `must_be_ready`, a
  // downloader that is not ready (done or failed: a new Open is needed) fails with kDownloaderErrorBusy.
  bool RefuseWhenBusy(bool must_be_ready);
  void SetCallbackError(DownloaderError error);
  size_t WriteBlock(const char* data, size_t bytes);
  int ReportProgress(int64_t total, int64_t now);

  static size_t OnWrite(char* data, size_t size, size_t count, void* object) noexcept;
  static int OnProgress(void* object, int64_t total, int64_t now, int64_t, int64_t) noexcept;
  // The progress call of the body-less request: only the cancel flag.
  static int OnQueryProgress(void* object, int64_t, int64_t, int64_t, int64_t) noexcept;

  std::unique_ptr<void, EasyHandleCleanup> easy_;
  void* sink_user_ = nullptr;
  DownloadSink sink_ = nullptr;
  mutable CriticalSection lock_;
  char url_[kMaxUrlBytes] = {};
  int32_t cancel_ = 0;
  DWORD last_data_tick_ = 0;  // 0: no data yet in this transfer
  DownloaderState state_ = kDownloaderReady;
  DownloaderError error_ = kDownloaderErrorNone;
  // Bytes of this transfer, as libcurl counts them, raised to the bytes handed to the sink with each block.
  int64_t received_ = 0;
  // This transfer's length, as libcurl announces it, raised to the remote size once that is known.
  int64_t expected_ = 0;
  int64_t resume_offset_ = 0;
  int32_t remote_known_ = 0;
  int64_t remote_size_ = 0;  // -1: the server named no size
  int32_t remote_file_time_ = 0;

  const DWORD stall_limit_ms_;
  // True while libcurl performs a request on the handle (the state is still 0 until the first data), so that
  // no other thread changes the handle under it.
  bool performing_ = false;
  // The error a callback ended this transfer with; it wins over libcurl's generic result.
  DownloaderError callback_error_ = kDownloaderErrorNone;
  DWORD first_answer_limit_ms_ = 0;  // 0: off
  long speed_floor_window_seconds_ = kSpeedFloorWindowSeconds;
  DWORD perform_start_tick_ = 0;  // perform thread only
  // A name look-up of the running request has started and not ended yet (perform thread only: libcurl's
  // callbacks set it there).
  bool look_up_running_ = false;
  // Body bytes the sink took in this transfer (perform thread only).
  int64_t written_ = 0;
};
