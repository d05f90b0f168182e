// Worker-thread base of the engine object: a stop event, pause and resume, and a thread entry that runs
// Run().
//
// A pause holds the thread at a point of its own choosing, never wherever it happens to be: Run() asks
// WaitWhilePaused() between its steps, where it holds no lock. A thread suspended by the system could hold
// any lock at that moment (the engine lock, the heap's), and every other thread that then needed it, a stop
// or a removal among them, would wait until someone resumed it.
//
// Threads: StartThread and WaitForThread are called from the owner's thread (or under the lock that
// serialises the owner's starts); Pause, Resume and Stop from any thread. The thread runs Run() once; a Run()
// that loops must look at StopRequested() and WaitWhilePaused() between steps. The pause state (flag and
// resume event together) is guarded by the pause lock, which is never held while waiting.
#pragma once

#include <windows.h>

#include <atomic>

#include "base/CriticalSection.h"
#include "base/ScopedHandle.h"

class CBaseThread {
 public:
  // Makes the stop event (manual reset, not signalled) and the resume event (manual reset, signalled); no
  // thread yet.
  CBaseThread();
  // Closes the thread handle (the thread must have ended: see WaitForThread) and resets and closes the stop
  // event.
  virtual ~CBaseThread();
  CBaseThread(const CBaseThread&) = delete;
  CBaseThread& operator=(const CBaseThread&) = delete;

  // Asks the thread to hold at its next WaitWhilePaused, or lets it go on. Pauses do not nest: one Resume
  // undoes any number of them. The result is the pause state before the call (1 paused, 0 not), as a
  // suspend count would give it, or (DWORD)-1 when there is no thread.
  virtual DWORD Pause();
  virtual DWORD Resume();
  // Sets the stop flag and signals the stop event; a paused thread wakes from its wait.
  virtual void Stop();

  // Starts Run() on a new thread, not paused, after resetting the stop event. False when a thread is already
  // held (WaitForThread forgets one that ended) or the thread cannot be made.
  bool StartThread();
  // Waits without limit for the thread to end and forgets it. Nothing happens when there is no thread.
  void WaitForThread();

  // Both events were made: the object can run a thread.
  bool HasEvents() const { return stop_event_ && resume_event_; }
  bool HasThread() const { return static_cast<bool>(thread_); }
  // A thread is held and has not ended yet.
  bool ThreadRunning() const;
  bool IsSuspended() const { return suspended_.load(); }
  // The stop flag, set together with the event: a look at memory, where a wait on the event would be a call
  // to the system on every check of a running transfer.
  bool StopRequested() const;
  // The thread's pause point: returns at once unless paused, else waits until resumed or stopped. Call it
  // only from the thread itself, holding no lock. False when a stop has been asked for.
  bool WaitWhilePaused() const;
  HANDLE stop_event() const { return stop_event_.get(); }

  // When set before StartThread, the thread deletes the object after Run() returns.
  void SetAutoDelete(bool auto_delete) { auto_delete_ = auto_delete ? 1 : 0; }

 protected:
  // The thread's body.
  virtual void Run() = 0;

 private:
  static unsigned __stdcall ThreadEntry(void* object);
  // Sets the pause state under the pause lock; the state before.
  DWORD SetPaused(bool paused);

  UniqueHandle stop_event_;
  std::atomic<bool> stop_requested_{false};
  UniqueHandle thread_;
  unsigned thread_id_ = 0;
  unsigned char auto_delete_ = 0;
  // The pause state: the flag, and the resume event that is signalled exactly while the flag is clear.
  std::atomic<bool> suspended_{false};
  UniqueHandle resume_event_;
  CriticalSection pause_lock_;
};
