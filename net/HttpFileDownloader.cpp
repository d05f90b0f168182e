#include "net/HttpFileDownloader.h"

#include <curl/curl.h>

#include <climits>
#include <cstring>
#include <type_traits>

#include "base/ModulePin.h"

// The progress callback is declared with int64_t so that the header does not need libcurl's.
static_assert(std::is_same<curl_off_t, int64_t>::value, "libcurl's offsets are 64-bit integers here");

namespace {

constexpr long kConnectTimeoutSeconds = 10;
constexpr long kFirstFailingHttpStatus = 400;

// libcurl gets the URL as 8-bit text in the system code page. A character that the code page cannot hold is
// refused instead of replaced: a default or "best fit" character would name a different path on the server.
bool ConvertUrl(const wchar_t* url, char* out, int out_bytes) {
  const UINT code_page = GetACP();
  const bool unicode_code_page = code_page == CP_UTF8 || code_page == CP_UTF7;
  BOOL used_default = FALSE;
  const int written =
      WideCharToMultiByte(CP_ACP, unicode_code_page ? WC_ERR_INVALID_CHARS : WC_NO_BEST_FIT_CHARS, url, -1,
                          out, out_bytes, nullptr, unicode_code_page ? nullptr : &used_default);
  return written > 0 && !used_default;
}

long ResponseCode(CURL* easy) {
  long status = 0;
  if (curl_easy_getinfo(easy, CURLINFO_RESPONSE_CODE, &status) != CURLE_OK)
    return 0;
  return status;
}

// The look-up flag of a request (HttpFileDownloader::KeepModuleForLeftLookUp), on the performing thread.
// libcurl starts a name look-up (a name not in its cache): on a thread of its own, or at once for an address.
int OnLookUpStart(void*, void*, void* look_up_running) noexcept {
  *static_cast<bool*>(look_up_running) = true;
  return 0;
}

// libcurl made a socket: the look-up before it has ended, and its thread has been joined.
int OnSocketMade(void* look_up_running, curl_socket_t, curlsocktype) noexcept {
  *static_cast<bool*>(look_up_running) = false;
  return CURL_SOCKOPT_OK;
}

// GetTickCount with 0 kept free for "no data yet".
DWORD DataTick() {
  const DWORD tick = GetTickCount();
  return tick != 0 ? tick : 1;
}

}  // namespace

void HttpFileDownloader::EasyHandleCleanup::operator()(void* easy) const {
  curl_easy_cleanup(easy);
}

HttpFileDownloader::HttpFileDownloader(DWORD stall_limit_ms)
    : easy_(curl_easy_init()), stall_limit_ms_(stall_limit_ms) {}

HttpFileDownloader::~HttpFileDownloader() {
  easy_.reset();
}

bool HttpFileDownloader::HasStalled(DWORD* last_data_tick, DWORD now, DWORD limit_ms) {
  if (now < *last_data_tick)
    *last_data_tick = now;
  return now - *last_data_tick > limit_ms;
}

int HttpFileDownloader::Fail(DownloaderError error) {
  ScopedLock lock(lock_);
  state_ = kDownloaderFailed;
  error_ = error;
  return 0;
}

bool HttpFileDownloader::IsBusy() const {
  return state_ == kDownloaderTransferring || performing_;
}

bool HttpFileDownloader::RefuseWhenBusy(bool must_be_ready) {
  if (IsBusy()) {
    error_ = kDownloaderErrorBusy;
    return true;
  }
  if (must_be_ready && state_ != kDownloaderReady) {
    Fail(kDownloaderErrorBusy);
    return true;
  }
  return false;
}

int HttpFileDownloader::Open(const wchar_t* url, void* user, DownloadSink sink) {
  ScopedLock lock(lock_);
  if (RefuseWhenBusy(false))
    return 0;
  char converted[kMaxUrlBytes];
  if (url == nullptr || *url == L'\0' || !ConvertUrl(url, converted, sizeof converted))
    return Fail(kDownloaderErrorBadUrl);
  memcpy(url_, converted, sizeof url_);
  const int setup_error = SetupTransfer();
  if (setup_error != kDownloaderErrorNone)
    return Fail(static_cast<DownloaderError>(setup_error));

  cancel_ = 0;
  last_data_tick_ = 0;
  state_ = kDownloaderReady;
  error_ = kDownloaderErrorNone;
  received_ = 0;
  expected_ = 0;
  resume_offset_ = 0;
  remote_known_ = 0;
  remote_size_ = 0;
  remote_file_time_ = 0;
  sink_user_ = user;
  sink_ = sink;
  return 1;
}

// Called under the lock, while no request runs. Returns a DownloaderError.
int HttpFileDownloader::SetupTransfer() {
  CURL* easy = easy_.get();
  if (easy == nullptr)
    return kDownloaderErrorNoHandle;
  const bool set =
      curl_easy_setopt(easy, CURLOPT_AUTOREFERER, 1L) == CURLE_OK &&
      curl_easy_setopt(easy, CURLOPT_FOLLOWLOCATION, 1L) == CURLE_OK &&
      curl_easy_setopt(easy, CURLOPT_FILETIME, 1L) == CURLE_OK &&
      curl_easy_setopt(easy, CURLOPT_PROXY, "") == CURLE_OK &&
      curl_easy_setopt(easy, CURLOPT_CONNECTTIMEOUT, kConnectTimeoutSeconds) == CURLE_OK &&
      curl_easy_setopt(easy, CURLOPT_URL, url_) == CURLE_OK &&
      curl_easy_setopt(easy, CURLOPT_RESUME_FROM, 0L) == CURLE_OK &&
      // Only plain HTTP is ever meant, also where a server redirects; a redirect loop ends.
      curl_easy_setopt(easy, CURLOPT_PROTOCOLS_STR, "http") == CURLE_OK &&
      curl_easy_setopt(easy, CURLOPT_REDIR_PROTOCOLS_STR, "http") == CURLE_OK &&
      curl_easy_setopt(easy, CURLOPT_MAXREDIRS, kMaxRedirects) == CURLE_OK &&
      curl_easy_setopt(easy, CURLOPT_BUFFERSIZE, static_cast<long>(kReceiveBlockBytes)) == CURLE_OK &&
      curl_easy_setopt(easy, CURLOPT_LOW_SPEED_LIMIT, kSpeedFloorBytesPerSecond) == CURLE_OK &&
      curl_easy_setopt(easy, CURLOPT_LOW_SPEED_TIME, speed_floor_window_seconds_) == CURLE_OK &&
      // A transfer ended (cancelled, timed out) while libcurl's resolver thread still looks the name up
      // would otherwise wait for that look-up, which a slow name server stretches past every limit here;
      // the thread is left to end by itself (KeepModuleForLeftLookUp).
      curl_easy_setopt(easy, CURLOPT_QUICK_EXIT, 1L) == CURLE_OK &&
      curl_easy_setopt(easy, CURLOPT_RESOLVER_START_FUNCTION, &OnLookUpStart) == CURLE_OK &&
      curl_easy_setopt(easy, CURLOPT_RESOLVER_START_DATA, &look_up_running_) == CURLE_OK &&
      curl_easy_setopt(easy, CURLOPT_SOCKOPTFUNCTION, &OnSocketMade) == CURLE_OK &&
      curl_easy_setopt(easy, CURLOPT_SOCKOPTDATA, &look_up_running_) == CURLE_OK;
  return set ? kDownloaderErrorNone : kDownloaderErrorOption;
}

int HttpFileDownloader::SetResumeOffset(int64_t offset) {
  ScopedLock lock(lock_);
  if (RefuseWhenBusy(false))
    return 0;
  CURL* easy = easy_.get();
  if (easy == nullptr) {
    error_ = kDownloaderErrorNoHandle;
    return 0;
  }
  if (offset < 0)
    offset = 0;
  const CURLcode set =
      offset > 0 ? curl_easy_setopt(easy, CURLOPT_RESUME_FROM_LARGE, static_cast<curl_off_t>(offset))
                 : curl_easy_setopt(easy, CURLOPT_RESUME_FROM, 0L);
  if (set != CURLE_OK) {
    error_ = kDownloaderErrorOption;
    return 0;
  }
  resume_offset_ = offset;
  return 1;
}

// Keeps the remote size and file time of the current response. Called under the lock.
void HttpFileDownloader::TakeRemoteInfo() {
  curl_off_t length = -1;
  if (curl_easy_getinfo(easy_.get(), CURLINFO_CONTENT_LENGTH_DOWNLOAD_T, &length) != CURLE_OK)
    length = -1;
  long file_time = -1;
  if (curl_easy_getinfo(easy_.get(), CURLINFO_FILETIME, &file_time) != CURLE_OK)
    file_time = -1;
  remote_size_ = length;
  remote_file_time_ = static_cast<int32_t>(file_time);
  remote_known_ = 1;
}

// The body-less request for the remote size; at most once per Open. 1 known; 0 in kDownloaderFailed with the
// error set (busy leaves the state alone).
int HttpFileDownloader::QueryRemoteInfo() {
  CURL* easy = easy_.get();
  {
    ScopedLock lock(lock_);
    if (remote_known_)
      return 1;
    if (easy == nullptr)
      return Fail(kDownloaderErrorNoHandle);
    if (RefuseWhenBusy(true))
      return 0;
    // The request goes without the resume offset: a ranged answer would name the size of the rest, not of the
    // file. Its progress calls only look at the cancel flag (they leave the counters alone): without them a
    // server that accepts the connection and never answers would hold the request, and whoever stops it,
    // forever.
    if (curl_easy_setopt(easy, CURLOPT_NOPROGRESS, 0L) != CURLE_OK ||
        curl_easy_setopt(easy, CURLOPT_XFERINFODATA, this) != CURLE_OK ||
        curl_easy_setopt(easy, CURLOPT_XFERINFOFUNCTION, &HttpFileDownloader::OnQueryProgress) != CURLE_OK ||
        curl_easy_setopt(easy, CURLOPT_NOBODY, 1L) != CURLE_OK ||
        curl_easy_setopt(easy, CURLOPT_RESUME_FROM, 0L) != CURLE_OK ||
        // The answer is all that this request waits for, so the opt-in first-answer limit bounds all of it.
        curl_easy_setopt(easy, CURLOPT_TIMEOUT_MS, static_cast<long>(first_answer_limit_ms_)) != CURLE_OK)
      return Fail(kDownloaderErrorOption);
    performing_ = true;
  }
  const int result = PerformRequest();
  ScopedLock lock(lock_);
  performing_ = false;
  curl_easy_setopt(easy, CURLOPT_TIMEOUT_MS, 0L);
  if (resume_offset_ > 0 &&
      curl_easy_setopt(easy, CURLOPT_RESUME_FROM_LARGE, static_cast<curl_off_t>(resume_offset_)) != CURLE_OK)
    return Fail(kDownloaderErrorOption);
  if (result == CURLE_ABORTED_BY_CALLBACK)
    return Fail(kDownloaderErrorCancelled);
  if (result == CURLE_OPERATION_TIMEDOUT)
    return Fail(TimedOutError());
  if (result != CURLE_OK || ResponseCode(easy) >= kFirstFailingHttpStatus)
    return Fail(kDownloaderErrorTransfer);
  TakeRemoteInfo();
  return 1;
}

int64_t HttpFileDownloader::GetRemoteSize() {
  if (!QueryRemoteInfo())
    return -1;
  ScopedLock lock(lock_);
  return remote_size_;
}

int HttpFileDownloader::Perform() {
  int64_t offset;
  {
    ScopedLock lock(lock_);
    offset = resume_offset_;
  }
  if (offset > 0) {
    if (!QueryRemoteInfo())
      return 0;
    ScopedLock lock(lock_);
    if (remote_size_ < 0) {
      // Without the remote size nothing says whether the resumed file is whole.
      state_ = kDownloaderFailed;
      return 0;
    }
    if (remote_size_ == offset) {
      state_ = kDownloaderDone;
      error_ = kDownloaderErrorNone;
      return 1;
    }
    if (remote_size_ == 0)
      return Fail(kDownloaderErrorTransfer);
  }

  CURL* easy = easy_.get();
  {
    ScopedLock lock(lock_);
    if (easy == nullptr)
      return Fail(kDownloaderErrorNoHandle);
    if (RefuseWhenBusy(true))
      return 0;
    // CURLOPT_HTTPGET also ends the body-less mode that the remote-size request left on the handle.
    const bool set =
        curl_easy_setopt(easy, CURLOPT_WRITEDATA, this) == CURLE_OK &&
        curl_easy_setopt(easy, CURLOPT_WRITEFUNCTION, &HttpFileDownloader::OnWrite) == CURLE_OK &&
        curl_easy_setopt(easy, CURLOPT_NOPROGRESS, 0L) == CURLE_OK &&
        curl_easy_setopt(easy, CURLOPT_XFERINFODATA, this) == CURLE_OK &&
        curl_easy_setopt(easy, CURLOPT_XFERINFOFUNCTION, &HttpFileDownloader::OnProgress) == CURLE_OK &&
        curl_easy_setopt(easy, CURLOPT_HTTPGET, 1L) == CURLE_OK;
    if (!set)
      return Fail(kDownloaderErrorOption);
    performing_ = true;
    callback_error_ = kDownloaderErrorNone;
    written_ = 0;
    perform_start_tick_ = GetTickCount();
  }
  return FinishTransfer(PerformRequest());
}

int HttpFileDownloader::PerformRequest() {
  look_up_running_ = false;
  const CURLcode result = curl_easy_perform(easy_.get());
  KeepModuleForLeftLookUp(result);
  return result;
}

// A name look-up runs on a thread of libcurl's own. When a request ends before the look-up did (a cancel, a
// time-out: anything but the look-up's own failure), the quick exit leaves that thread to end by itself, and
// it then returns into libcurl's code in this module. In the engine library the caller may free the library
// long before a slow name server answers: the module stays loaded from here on.
void HttpFileDownloader::KeepModuleForLeftLookUp(int curl_result) {
  if (look_up_running_ && curl_result != CURLE_OK && curl_result != CURLE_COULDNT_RESOLVE_HOST)
    PinOwnModule();
  look_up_running_ = false;
}

int HttpFileDownloader::FinishTransfer(int curl_result) {
  CURL* easy = easy_.get();
  ScopedLock lock(lock_);
  performing_ = false;
  // The last progress call may come before the last block; libcurl's own count is the final word.
  curl_off_t received = 0;
  if (curl_easy_getinfo(easy, CURLINFO_SIZE_DOWNLOAD_T, &received) == CURLE_OK && received > received_)
    received_ = received;

  DownloaderError error = kDownloaderErrorTransfer;
  switch (curl_result) {
    case CURLE_OK:
    case CURLE_PARTIAL_FILE:
      // An empty body never reached the write callback: its status and size are judged here, so that an
      // empty error page is not taken for an empty file.
      if (ResponseCode(easy) >= kFirstFailingHttpStatus)
        break;
      if (!remote_known_)
        TakeRemoteInfo();
      if (resume_offset_ + received_ == remote_size_) {
        state_ = kDownloaderDone;
        error_ = kDownloaderErrorNone;
        return 1;
      }
      break;
    case CURLE_WRITE_ERROR:
      error = callback_error_ != kDownloaderErrorNone ? callback_error_ : kDownloaderErrorSink;
      break;
    case CURLE_ABORTED_BY_CALLBACK:
      error = callback_error_ != kDownloaderErrorNone ? callback_error_ : kDownloaderErrorCancelled;
      break;
    case CURLE_OPERATION_TIMEDOUT:
      error = TimedOutError();
      break;
    default:
      break;
  }
  return Fail(error);
}

// libcurl times a request out at the speed floor, at the size request's first-answer limit and at the
// connect time-out. The first two come once the request went out: the server is there but too slow, a stall.
// A server that could not be reached is a transfer failure as before.
DownloaderError HttpFileDownloader::TimedOutError() {
  long request_bytes = 0;
  if (curl_easy_getinfo(easy_.get(), CURLINFO_REQUEST_SIZE, &request_bytes) != CURLE_OK)
    request_bytes = 0;
  return request_bytes > 0 ? kDownloaderErrorStalled : kDownloaderErrorTransfer;
}

void HttpFileDownloader::SetCallbackError(DownloaderError error) {
  ScopedLock lock(lock_);
  callback_error_ = error;
  error_ = error;
}

size_t HttpFileDownloader::OnWrite(char* data, size_t size, size_t count, void* object) noexcept {
  if (object == nullptr)
    return 0;
  return static_cast<HttpFileDownloader*>(object)->WriteBlock(data, size * count);
}

// Any return other than `bytes` ends the transfer with CURLE_WRITE_ERROR.
size_t HttpFileDownloader::WriteBlock(const char* data, size_t bytes) {
  DownloadSink sink;
  void* user;
  int64_t offset;
  int64_t remote_size;
  {
    ScopedLock lock(lock_);
    if (sink_ == nullptr)
      return 0;
    state_ = kDownloaderTransferring;
    sink = sink_;
    user = sink_user_;
    // Checked on every block, not only before the remote size is known: after the body-less request, an error
    // page of the body request must not reach the sink either.
    if (ResponseCode(easy_.get()) >= kFirstFailingHttpStatus) {
      callback_error_ = error_ = kDownloaderErrorTransfer;
      return 0;
    }
    if (!remote_known_)
      TakeRemoteInfo();
    offset = resume_offset_;
    remote_size = remote_size_;
  }
  // Bytes past the remote size can only be a changed or misbehaving file: the sink never gets them. Without a
  // remote size the transfer can never be judged complete, so nothing at all is passed on: a body without end
  // would otherwise fill the disk before it failed.
  if (remote_size < 0 || offset + written_ + static_cast<int64_t>(bytes) > remote_size) {
    SetCallbackError(kDownloaderErrorTransfer);
    return 0;
  }
  if (bytes > static_cast<size_t>(INT_MAX))
    return 0;
  {
    // The block in hand counts as received before the sink sees it. libcurl's counters reach the progress
    // callback only after a run of blocks, so a sink that reports progress would otherwise show nothing of a
    // run until the next one arrives: during a stalled transfer, not at all.
    ScopedLock lock(lock_);
    const int64_t delivered = written_ + static_cast<int64_t>(bytes);
    if (received_ < delivered)
      received_ = delivered;
    if (expected_ < remote_size - offset)
      expected_ = remote_size - offset;
  }
  last_data_tick_ = DataTick();
  const int taken = sink(data, static_cast<int>(bytes), user);
  if (taken != static_cast<int>(bytes))
    return 0;
  written_ += static_cast<int64_t>(bytes);
  return bytes;
}

int HttpFileDownloader::OnProgress(void* object, int64_t total, int64_t now, int64_t, int64_t) noexcept {
  return static_cast<HttpFileDownloader*>(object)->ReportProgress(total, now);
}

int HttpFileDownloader::OnQueryProgress(void* object, int64_t, int64_t, int64_t, int64_t) noexcept {
  HttpFileDownloader* downloader = static_cast<HttpFileDownloader*>(object);
  ScopedLock lock(downloader->lock_);
  return downloader->cancel_ ? 1 : 0;
}

// Nonzero ends the transfer with CURLE_ABORTED_BY_CALLBACK.
int HttpFileDownloader::ReportProgress(int64_t total, int64_t now) {
  // Only this thread touches the ticks; before the first data only the connect time-out and the opt-in
  // first-answer limit apply.
  DWORD first_answer_tick = perform_start_tick_;
  if ((last_data_tick_ != 0 && HasStalled(&last_data_tick_, GetTickCount(), stall_limit_ms_)) ||
      (last_data_tick_ == 0 && first_answer_limit_ms_ != 0 &&
       HasStalled(&first_answer_tick, GetTickCount(), first_answer_limit_ms_))) {
    SetCallbackError(kDownloaderErrorStalled);
    return 1;
  }
  ScopedLock lock(lock_);
  received_ = now;
  expected_ = total;
  return cancel_ ? 1 : 0;
}

void HttpFileDownloader::GetProgress(DownloaderProgress* progress) {
  if (progress == nullptr)
    return;
  ScopedLock lock(lock_);
  progress->state = state_;
  if (state_ == kDownloaderReady) {
    progress->done = 0;
    progress->total = 0;
  } else {
    progress->done = resume_offset_ + received_;
    progress->total = resume_offset_ + expected_;
  }
}

void HttpFileDownloader::Cancel() {
  ScopedLock lock(lock_);
  cancel_ = 1;
}

DownloaderState HttpFileDownloader::GetState() {
  ScopedLock lock(lock_);
  return state_;
}

DownloaderError HttpFileDownloader::GetError() {
  ScopedLock lock(lock_);
  return error_;
}
