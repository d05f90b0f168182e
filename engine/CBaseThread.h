// Worker-thread base of the engine object: a stop event, pause and resume, and a thread entry that runs
// Run().
//
// Threads: StartThread, Pause, Resume and WaitForThread are called from the owner's thread; Stop from any
// thread. The thread runs Run() once; a Run() that loops must look at StopRequested() between steps.
#pragma once

#include <windows.h>

#include <atomic>

#include "base/ScopedHandle.h"

class CBaseThread {
 public:
  // Makes the stop event (manual reset, not signalled); no thread yet.
  CBaseThread();
  // Closes the thread handle (the thread must have ended: see WaitForThread) and resets and closes the stop
  // event.
  virtual ~CBaseThread();
  CBaseThread(const CBaseThread&) = delete;
  CBaseThread& operator=(const CBaseThread&) = delete;

  // SuspendThread / ResumeThread on the thread; the results are the system's (previous suspend count, or
  // (DWORD)-1 on failure or when there is no thread).
  virtual DWORD Pause();
  virtual DWORD Resume();
  // Sets the stop flag and signals the stop event.
  virtual void Stop();

  // Starts Run() on a new thread after resetting the stop event. False when a thread is already held or the
  // thread cannot be made.
  bool StartThread();
  // Resumes the thread until its suspend count is zero, whatever Pause and Resume did before, so that a wait
  // for its end cannot hang on a thread that is still suspended.
  void ResumeFully();
  // Waits without limit for the thread to end and forgets it. Nothing happens when there is no thread.
  void WaitForThread();

  bool HasThread() const { return static_cast<bool>(thread_); }
  bool IsSuspended() const { return suspended_ != 0; }
  // The stop flag, set together with the event: a look at memory, where a wait on the event would be a call
  // to the system on every check of a running transfer.
  bool StopRequested() const;
  HANDLE stop_event() const { return stop_event_.get(); }

  // When set before StartThread, the thread deletes the object after Run() returns.
  void SetAutoDelete(bool auto_delete) { auto_delete_ = auto_delete ? 1 : 0; }

 protected:
  // The thread's body.
  virtual void Run() = 0;

 private:
  static unsigned __stdcall ThreadEntry(void* object);

  UniqueHandle stop_event_;
  std::atomic<bool> stop_requested_{false};
  UniqueHandle thread_;
  unsigned thread_id_ = 0;
  unsigned char auto_delete_ = 0;
  unsigned char suspended_ = 0;
};
