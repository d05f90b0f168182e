#include "engine/CBaseThread.h"

#include <process.h>

CBaseThread::CBaseThread()
    : stop_event_(CreateEventW(nullptr, TRUE, FALSE, nullptr)),
      resume_event_(CreateEventW(nullptr, TRUE, TRUE, nullptr)) {}

CBaseThread::~CBaseThread() {
  thread_.reset();
  if (stop_event_)
    ResetEvent(stop_event_.get());
}

DWORD CBaseThread::Pause() {
  return thread_ ? SetPaused(true) : static_cast<DWORD>(-1);
}

DWORD CBaseThread::Resume() {
  return thread_ ? SetPaused(false) : static_cast<DWORD>(-1);
}

DWORD CBaseThread::SetPaused(bool paused) {
  ScopedLock hold(pause_lock_);
  const bool before = suspended_.exchange(paused);
  if (resume_event_) {
    if (paused)
      ResetEvent(resume_event_.get());
    else
      SetEvent(resume_event_.get());
  }
  return before ? 1 : 0;
}

void CBaseThread::Stop() {
  stop_requested_.store(true);
  if (stop_event_)
    SetEvent(stop_event_.get());
}

bool CBaseThread::StopRequested() const {
  return stop_requested_.load();
}

bool CBaseThread::WaitWhilePaused() const {
  if (suspended_.load() && resume_event_ && stop_event_) {
    const HANDLE wake[] = {resume_event_.get(), stop_event_.get()};
    WaitForMultipleObjects(2, wake, FALSE, INFINITE);
  }
  return !StopRequested();
}

bool CBaseThread::ThreadRunning() const {
  return thread_ && WaitForSingleObject(thread_.get(), 0) == WAIT_TIMEOUT;
}

bool CBaseThread::StartThread() {
  if (thread_)
    return false;
  stop_requested_.store(false);
  if (stop_event_)
    ResetEvent(stop_event_.get());
  SetPaused(false);
  uintptr_t thread = _beginthreadex(nullptr, 0, &CBaseThread::ThreadEntry, this, 0, &thread_id_);
  if (thread == 0)
    return false;
  thread_ = UniqueHandle(reinterpret_cast<HANDLE>(thread));
  return true;
}

void CBaseThread::WaitForThread() {
  if (!thread_)
    return;
  WaitForSingleObject(thread_.get(), INFINITE);
  thread_.reset();
  thread_id_ = 0;
}

unsigned __stdcall CBaseThread::ThreadEntry(void* object) {
  CBaseThread* thread = static_cast<CBaseThread*>(object);
  // No exception may leave a thread: it would end the process.
  try {
    thread->Run();
  } catch (...) {
  }
  if (thread->auto_delete_)
    delete thread;
  return 0;
}
