#include "engine/CBaseThread.h"

#include <process.h>

CBaseThread::CBaseThread() : stop_event_(CreateEventW(nullptr, TRUE, FALSE, nullptr)) {}

CBaseThread::~CBaseThread() {
  thread_.reset();
  if (stop_event_)
    ResetEvent(stop_event_.get());
}

DWORD CBaseThread::Pause() {
  if (!thread_)
    return static_cast<DWORD>(-1);
  DWORD result = SuspendThread(thread_.get());
  suspended_ = 1;
  return result;
}

DWORD CBaseThread::Resume() {
  if (!thread_)
    return static_cast<DWORD>(-1);
  DWORD result = ResumeThread(thread_.get());
  suspended_ = 0;
  return result;
}

void CBaseThread::Stop() {
  stop_requested_.store(true);
  if (stop_event_)
    SetEvent(stop_event_.get());
}

bool CBaseThread::StopRequested() const {
  return stop_requested_.load();
}

bool CBaseThread::StartThread() {
  if (thread_)
    return false;
  stop_requested_.store(false);
  if (stop_event_)
    ResetEvent(stop_event_.get());
  suspended_ = 0;
  uintptr_t thread = _beginthreadex(nullptr, 0, &CBaseThread::ThreadEntry, this, 0, &thread_id_);
  if (thread == 0)
    return false;
  thread_ = UniqueHandle(reinterpret_cast<HANDLE>(thread));
  return true;
}

void CBaseThread::ResumeFully() {
  if (!thread_)
    return;
  // ResumeThread returns the count before the call: 1 means this call let the thread run, 0 that it ran
  // already.
  DWORD previous;
  do {
    previous = ResumeThread(thread_.get());
  } while (previous != static_cast<DWORD>(-1) && previous > 1);
  suspended_ = 0;
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
