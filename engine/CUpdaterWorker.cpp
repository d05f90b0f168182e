// The worker thread: started when the server's list is complete, it handles the queued entries one by one.
#include "engine/CUpdater.h"

void CUpdater::Run() {
  // The entry handling (check, download, apply, record) joins here with the downloader.
}

bool CUpdater::StartWorker() {
  return StartThread();
}

void CUpdater::Stop() {
  CBaseThread::Stop();
  // The worker makes the downloader under the engine lock; a caller that stops the run may come at any time.
  std::lock_guard<CriticalSection> lock(lock_);
  if (downloader_)
    downloader_->Cancel();
}

void CUpdater::EndWorker() {
  if (!HasThread())
    return;
  // A worker that was paused (perhaps more than once) must run again, or the wait below would never end.
  ResumeFully();
  Stop();
  WaitForThread();
}
