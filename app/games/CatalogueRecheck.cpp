#include "app/games/CatalogueRecheck.h"

#include <windows.h>

#include <memory>
#include <new>
#include <string>
#include <system_error>
#include <thread>

#include "app/games/CatalogueDownload.h"
#include "app/games/GameCatalogue.h"
#include "base/CriticalSection.h"
#include "net/HttpFileDownloader.h"
#include "selfupdate/GameInfoVersion.h"

namespace {

constexpr unsigned kDefaultQueryLimitMs = 10000;
unsigned g_query_limit_ms = kDefaultQueryLimitMs;

// One run: its inputs, the worker and what the worker found.
class RecheckRun {
 public:
  RecheckRun(const wchar_t* host, int32_t company_id, const wchar_t* name, unsigned query_limit_ms)
      : host_(host != nullptr ? host : L""),
        name_(name != nullptr ? name : L""),
        company_id_(company_id),
        query_limit_ms_(query_limit_ms) {}
  ~RecheckRun() { Stop(); }
  RecheckRun(const RecheckRun&) = delete;
  RecheckRun& operator=(const RecheckRun&) = delete;

  bool Start() {
    try {
      worker_ = std::thread(&RecheckRun::Run, this);
    } catch (const std::system_error&) {
      return false;
    }
    return true;
  }
  bool done() { return InterlockedCompareExchange(&done_, 0, 0) != 0; }
  // Once done: the worker has ended, its result is this thread's.
  void Apply() {
    if (worker_.joinable())
      worker_.join();
    SetGameInfoNumber(number_);
    if (text_ == nullptr)
      return;
    try {
      ApplyGameVersionsText(text_, text_size_);
    } catch (const std::bad_alloc&) {
      // Out of memory while splitting a line: the records keep what they had, as with a bad file.
    }
  }
  void Stop() {
    InterlockedExchange(&cancel_, 1);
    {
      ScopedLock hold(lock_);
      if (downloader_ != nullptr)
        downloader_->Cancel();
    }
    if (worker_.joinable())
      worker_.join();
  }

 private:
  void Run() {
    AskGameInfoNumber(host_.c_str(), &number_, query_limit_ms_, &cancel_);
    std::wstring url;
    if (cancel_ == 0 &&
        InfoFileUrl(company_id_, host_.c_str(), name_.c_str(), kCatalogueKindGBI, number_, &url))
      text_ = Download(url.c_str());
    InterlockedExchange(&done_, 1);
  }

  // The version file into this run's own buffer; null when it failed or the run was stopped.
  char* Download(const wchar_t* url) {
    HttpFileDownloader downloader;
    if (!OpenInfoFileDownload(&downloader, url, &file_))
      return nullptr;
    {
      // Open clears the downloader's cancel flag: Stop may cancel it only from here on.
      ScopedLock hold(lock_);
      if (cancel_ != 0)
        return nullptr;
      downloader_ = &downloader;
    }
    const int performed = downloader.Perform();
    {
      ScopedLock hold(lock_);
      downloader_ = nullptr;
    }
    return FinishInfoFileDownload(performed, &file_, &text_size_);
  }

  const std::wstring host_;
  const std::wstring name_;
  const int32_t company_id_;
  const unsigned query_limit_ms_;
  std::thread worker_;
  volatile long cancel_ = 0;
  volatile long done_ = 0;
  CriticalSection lock_;  // guards downloader_
  HttpFileDownloader* downloader_ = nullptr;
  // The result: written by the worker before done_, read by the user-interface thread after it.
  uint64_t number_ = 0;
  DownloadedFile file_;
  char* text_ = nullptr;
  size_t text_size_ = 0;
};

std::unique_ptr<RecheckRun> g_run;

}  // namespace

bool StartCatalogueRecheck(const wchar_t* host, int32_t company_id, const wchar_t* name) {
  if (g_run) {
    if (!g_run->done())
      return false;
    g_run.reset();  // a finished run that nobody took: the new one supersedes it
  }
  try {
    g_run.reset(new RecheckRun(host, company_id, name, g_query_limit_ms));
  } catch (const std::bad_alloc&) {
    return false;
  }
  if (!g_run->Start()) {
    g_run.reset();
    return false;
  }
  return true;
}

bool FinishCatalogueRecheck() {
  if (!g_run || !g_run->done())
    return false;
  std::unique_ptr<RecheckRun> run = std::move(g_run);
  run->Apply();
  return true;
}

void StopCatalogueRecheck() {
  g_run.reset();
}

void SetCatalogueRecheckQueryLimit(unsigned timeout_ms) {
  g_query_limit_ms = timeout_ms != 0 ? timeout_ms : kDefaultQueryLimitMs;
}
