// Worker threads and calls into the GUI thread.
//
// TThread runs Execute() on a thread of its own. The GUI thread is the
// thread that started the process (the one running main). A worker reaches
// the GUI only through Synchronize (runs a call on the GUI thread and blocks
// the worker until it ran) and Queue (the same without waiting). The event
// loop runs those calls whenever it takes a message (CheckSynchronize); a
// call being posted wakes the loop at once through the wakeup the platform
// installs (SetSynchronizeWakeup) and an eventfd that a waiting loop may
// poll (SynchronizeWakeFd).
//
// Life of a thread object:
//   auto* t = new TMyThread;   // created suspended
//   t->Start();
//   ...
//   t->Terminate(); t->WaitFor(); delete t;
// The destructor of a running thread terminates it and waits for it, and
// drops the calls it queued that did not run yet. A derived class whose
// Execute uses members of its own stops the thread in its own destructor
// (StopAndWait), before those members go. With FreeOnTerminate the thread
// deletes itself when Execute returned and OnTerminate ran; nobody may
// touch it after Start then.
//
// WaitFor on the GUI thread keeps running the posted calls while it waits,
// so a worker blocked in Synchronize does not deadlock the wait.
#pragma once

#include <atomic>
#include <condition_variable>
#include <exception>
#include <system_error>
#include <functional>
#include <mutex>
#include <thread>

#include "host/base/Object.h"

namespace qz {

enum class TThreadPriority { tpIdle, tpLowest, tpLower, tpNormal, tpHigher, tpHighest, tpTimeCritical };

using TThreadMethod = std::function<void()>;

class TThread : public TObject {
  QZ_CLASS(TThread, TObject)
 public:
  TThread();
  ~TThread() override;

  // Starts Execute on a new thread; once only (EInvalidOperation after).
  void Start();
  // Asks Execute to return: sets Terminated and calls TerminatedSet, which a
  // derived class overrides to wake a blocking wait.
  void Terminate();
  bool Terminated() const { return terminated_.load(std::memory_order_acquire); }
  // Waits until Execute returned (and OnTerminate ran); gives ReturnValue.
  // Not for FreeOnTerminate threads and not from the thread itself
  // (EInvalidOperation).
  int WaitFor();
  // Terminate and WaitFor, for destructors; nothing when never started.
  void StopAndWait();
  bool Started() const { return started_; }
  bool Finished() const { return finished_.load(std::memory_order_acquire); }

  bool FreeOnTerminate = false;
  // Runs on the GUI thread after Execute returned (Sender = the thread).
  std::function<void(TObject* Sender)> OnTerminate;
  int ReturnValue() const { return returnValue_; }
  // An exception Execute let escape, kept for the owner to look at.
  std::exception_ptr FatalException() const { return fatal_; }

  // tpIdle runs only when the processor would idle otherwise (SCHED_IDLE,
  // else the lowest nice value); the others map to nice values. Raising
  // above normal needs privileges and is ignored without them.
  TThreadPriority Priority() const { return priority_.load(); }
  void SetPriority(TThreadPriority p);

  // Runs `method` on the GUI thread and waits for it; an exception it
  // throws comes back here. On the GUI thread it runs at once.
  void Synchronize(const TThreadMethod& method);
  // Posts `method` to the GUI thread and returns; it runs on the GUI thread
  // in posting order, or never when its thread object is freed first. On
  // the GUI thread it runs at once.
  void Queue(TThreadMethod method);
  // Calls without a thread object (owner: none; never dropped).
  static void Synchronize(TThread* thread, const TThreadMethod& method);
  static void Queue(TThread* thread, TThreadMethod method);
  // Drops the calls `thread` posted that did not run yet; its waiting
  // Synchronize calls return without running.
  static void RemoveQueuedEvents(TThread* thread);

  static bool IsGuiThread();
  // Threads started and not yet finished, for loops that wait for them.
  static int RunningCount();

 protected:
  virtual void Execute() = 0;
  virtual void TerminatedSet() {}
  void SetReturnValue(int v) { returnValue_ = v; }

 private:
  void Run();
  void ApplyPriority();
  void WaitUntilFinished();

  std::thread thread_;
  bool started_ = false;
  std::atomic<bool> terminated_{false};
  std::atomic<bool> finished_{false};
  std::atomic<bool> closed_{false};  // being freed: its posts are refused
  std::atomic<TThreadPriority> priority_{TThreadPriority::tpNormal};
  std::atomic<int> tid_{0};
  int returnValue_ = 0;
  std::exception_ptr fatal_;
  std::mutex finishMutex_;
  std::condition_variable finishCv_;
};

// Runs the calls posted to the GUI thread; waits up to timeoutMs (real
// time; 0: no wait, negative: until one arrives) when there is none. True
// when at least one ran. Only the GUI thread runs them (false elsewhere).
// An exception thrown by a queued call comes out here; the calls after it
// stay queued.
bool CheckSynchronize(int timeoutMs = 0);
// Whether calls are waiting for the GUI thread.
bool SynchronizePending();
// Readable while calls are waiting (or a thread just finished); the event
// loop's wait may poll it. CheckSynchronize resets it.
int SynchronizeWakeFd();
// Called (from the posting thread) whenever a call is posted or a thread
// finishes: the platform makes its event loop's wait return.
void SetSynchronizeWakeup(std::function<void()> wakeup);

// The process-wide lock: guards strings and other state that a worker and
// the GUI thread share (a watched folder's path, for one). Recursive.
std::recursive_mutex& ProcessLock();

}  // namespace qz
