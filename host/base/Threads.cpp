#include "host/base/Threads.h"

#include <poll.h>
#include <sched.h>
#include <sys/eventfd.h>
#include <sys/resource.h>
#include <unistd.h>

#include <algorithm>
#include <cerrno>
#include <chrono>
#include <deque>
#include <memory>
#include <utility>

#include "host/base/Exception.h"

namespace qz {

namespace {

// The thread that runs static initialisation is the one that runs main.
const std::thread::id kGuiThread = std::this_thread::get_id();
std::atomic<int> gRunning{0};

struct TSyncCall {
  TThread* owner = nullptr;
  TThreadMethod method;
  bool blocking = false;
  bool done = false;  // ran, or dropped before it ran
  std::exception_ptr error;
};

// The calls waiting for the GUI thread, with the eventfd that is readable
// while there are some and the platform's wakeup.
class TSyncQueue {
 public:
  TSyncQueue() : fd_(eventfd(0, EFD_CLOEXEC | EFD_NONBLOCK)) {}
  ~TSyncQueue() = delete;  // lives as long as the process (threads may post at exit)

  // Posts a call; false when its owner is being freed (the call is dropped).
  bool Post(const std::shared_ptr<TSyncCall>& call, const std::atomic<bool>* ownerClosed) {
    {
      std::lock_guard lock(mutex_);
      if (ownerClosed && ownerClosed->load()) return false;
      calls_.push_back(call);
    }
    Wake();
    return true;
  }

  void WaitDone(const std::shared_ptr<TSyncCall>& call) {
    std::unique_lock lock(mutex_);
    doneCv_.wait(lock, [&] { return call->done; });
  }

  void MarkDone(const std::shared_ptr<TSyncCall>& call) {
    std::lock_guard lock(mutex_);
    call->done = true;
    doneCv_.notify_all();
  }

  // Removes the calls of `owner`; `close` also refuses its later posts
  // (under the same lock, so that none slips in between).
  void Remove(TThread* owner, std::atomic<bool>* close) {
    std::lock_guard lock(mutex_);
    if (close) close->store(true);
    std::erase_if(calls_, [&](const std::shared_ptr<TSyncCall>& c) {
      if (c->owner != owner) return false;
      c->done = true;
      return true;
    });
    doneCv_.notify_all();
  }

  std::shared_ptr<TSyncCall> Pop() {
    std::lock_guard lock(mutex_);
    if (calls_.empty()) return nullptr;
    auto call = calls_.front();
    calls_.pop_front();
    return call;
  }

  size_t Size() {
    std::lock_guard lock(mutex_);
    return calls_.size();
  }

  void Wake() {
    if (fd_ >= 0) {
      const uint64_t one = 1;
      // A full counter (EAGAIN) is readable already.
      while (write(fd_, &one, sizeof one) < 0 && errno == EINTR) {
      }
    }
    std::function<void()> wakeup;
    {
      std::lock_guard lock(wakeMutex_);
      wakeup = wakeup_;
    }
    if (wakeup) wakeup();
  }

  void SetWakeup(std::function<void()> wakeup) {
    std::lock_guard lock(wakeMutex_);
    wakeup_ = std::move(wakeup);
  }

  void ResetFd() {
    uint64_t value;
    while (fd_ >= 0 && (read(fd_, &value, sizeof value) > 0 || errno == EINTR)) {
    }
  }

  // Waits until the fd is readable or timeoutMs passed (negative: no limit).
  void WaitReadable(int timeoutMs) {
    if (fd_ < 0) return;
    using Clock = std::chrono::steady_clock;
    const auto deadline = Clock::now() + std::chrono::milliseconds(std::max(timeoutMs, 0));
    for (;;) {
      int wait = timeoutMs;
      if (timeoutMs > 0) {
        const auto left = std::chrono::duration_cast<std::chrono::milliseconds>(deadline - Clock::now()).count();
        wait = static_cast<int>(std::max<long long>(left, 0));
      }
      pollfd p{fd_, POLLIN, 0};
      if (poll(&p, 1, wait) >= 0 || errno != EINTR) return;
    }
  }

  int Fd() const { return fd_; }

 private:
  std::mutex mutex_;
  std::condition_variable doneCv_;
  std::deque<std::shared_ptr<TSyncCall>> calls_;
  std::mutex wakeMutex_;
  std::function<void()> wakeup_;
  int fd_;
};

TSyncQueue& SyncQueue() {
  static TSyncQueue* queue = new TSyncQueue;  // never freed: see ~TSyncQueue
  return *queue;
}

int NiceOf(TThreadPriority p) {
  switch (p) {
    case TThreadPriority::tpIdle: return 19;
    case TThreadPriority::tpLowest: return 10;
    case TThreadPriority::tpLower: return 5;
    case TThreadPriority::tpNormal: return 0;
    case TThreadPriority::tpHigher: return -5;
    case TThreadPriority::tpHighest: return -10;
    case TThreadPriority::tpTimeCritical: return -15;
  }
  return 0;
}

// Runs a call posted from a worker; an exception goes back to a waiting
// Synchronize, or out of CheckSynchronize for a queued call.
void RunCall(const std::shared_ptr<TSyncCall>& call) {
  if (!call->blocking) {
    call->method();
    return;
  }
  try {
    call->method();
  } catch (...) {
    call->error = std::current_exception();
  }
  SyncQueue().MarkDone(call);
}

// Posts a call from `owner` (may be null) and, when blocking, waits for it.
void Post(TThread* owner, const std::atomic<bool>* closed, TThreadMethod method, bool blocking) {
  auto call = std::make_shared<TSyncCall>();
  call->owner = owner;
  call->method = std::move(method);
  call->blocking = blocking;
  if (!SyncQueue().Post(call, closed) || !blocking) return;
  SyncQueue().WaitDone(call);
  // Taken out of the record: the GUI thread may drop the record any time
  // now, and the exception object must then belong to this thread alone.
  if (std::exception_ptr error = std::exchange(call->error, nullptr)) std::rethrow_exception(error);
}

}  // namespace

std::recursive_mutex& ProcessLock() {
  static std::recursive_mutex* lock = new std::recursive_mutex;  // workers may hold it at exit
  return *lock;
}

bool TThread::IsGuiThread() { return std::this_thread::get_id() == kGuiThread; }
int TThread::RunningCount() { return gRunning.load(); }

bool SynchronizePending() { return SyncQueue().Size() > 0; }
int SynchronizeWakeFd() { return SyncQueue().Fd(); }
void SetSynchronizeWakeup(std::function<void()> wakeup) { SyncQueue().SetWakeup(std::move(wakeup)); }

bool CheckSynchronize(int timeoutMs) {
  if (!TThread::IsGuiThread()) return false;
  TSyncQueue& q = SyncQueue();
  if (q.Size() == 0) {
    if (timeoutMs == 0) return false;  // the event loop's common case: no system call
    q.WaitReadable(timeoutMs);
  }
  q.ResetFd();
  // Only the calls there now: a call that posts another does not starve the loop.
  size_t n = q.Size();
  bool ran = false;
  while (n-- > 0) {
    auto call = q.Pop();
    if (!call) break;
    ran = true;
    RunCall(call);
  }
  return ran;
}

// ---------------------------------------------------------------- TThread

TThread::TThread() = default;

TThread::~TThread() {
  // Calls still queued would run on a freed object: drop them, and refuse
  // new ones while the thread winds down.
  SyncQueue().Remove(this, &closed_);
  if (started_ && !Finished() && std::this_thread::get_id() != thread_.get_id()) {
    Terminate();
    WaitUntilFinished();
  }
  std::lock_guard lock(finishMutex_);
  if (thread_.joinable()) {
    if (std::this_thread::get_id() == thread_.get_id()) thread_.detach();
    else thread_.join();
  }
}

void TThread::Start() {
  std::lock_guard lock(finishMutex_);
  if (started_) throw EInvalidOperation("thread already started");
  started_ = true;
  gRunning.fetch_add(1);
  try {
    thread_ = std::thread([this] { Run(); });
  } catch (const std::system_error& e) {
    gRunning.fetch_sub(1);
    started_ = false;
    throw EOutOfResources(std::string("cannot start a thread: ") + e.what());
  }
}

void TThread::Terminate() {
  terminated_.store(true, std::memory_order_release);
  TerminatedSet();
}

void TThread::WaitUntilFinished() {
  if (IsGuiThread()) {
    // Keep serving the workers' calls: this one may be waiting in Synchronize.
    while (!Finished()) CheckSynchronize(-1);
  }
  std::lock_guard lock(finishMutex_);
  if (thread_.joinable()) thread_.join();
}

int TThread::WaitFor() {
  if (FreeOnTerminate) throw EInvalidOperation("cannot wait for a thread that frees itself");
  if (!started_) throw EInvalidOperation("cannot wait for a thread that was never started");
  if (std::this_thread::get_id() == thread_.get_id()) throw EInvalidOperation("a thread cannot wait for itself");
  WaitUntilFinished();
  return returnValue_;
}

void TThread::StopAndWait() {
  SyncQueue().Remove(this, &closed_);
  if (!started_) return;
  Terminate();
  if (std::this_thread::get_id() != thread_.get_id()) WaitUntilFinished();
}

void TThread::SetPriority(TThreadPriority p) {
  priority_.store(p);
  if (tid_.load() != 0) ApplyPriority();
}

// Nice values count from the process's own (a program started with nice
// keeps its workers below it). Failures (no privileges to raise, a policy
// the kernel refuses) leave the priority as it was.
void TThread::ApplyPriority() {
  const int tid = tid_.load();
  const TThreadPriority p = priority_.load();
  sched_param param{};
  param.sched_priority = 0;
  (void)sched_setscheduler(tid, p == TThreadPriority::tpIdle ? SCHED_IDLE : SCHED_OTHER, &param);
  errno = 0;
  const int base = getpriority(PRIO_PROCESS, static_cast<id_t>(getpid()));
  const int nice = std::clamp((errno ? 0 : base) + NiceOf(p), -20, 19);
  (void)setpriority(PRIO_PROCESS, static_cast<id_t>(tid), nice);
}

void TThread::Synchronize(const TThreadMethod& method) {
  if (IsGuiThread()) {
    method();
    return;
  }
  Post(this, &closed_, method, true);
}

void TThread::Queue(TThreadMethod method) {
  if (IsGuiThread()) {
    method();
    return;
  }
  Post(this, &closed_, std::move(method), false);
}

void TThread::Synchronize(TThread* thread, const TThreadMethod& method) {
  if (thread) return thread->Synchronize(method);
  if (IsGuiThread()) return method();
  Post(nullptr, nullptr, method, true);
}

void TThread::Queue(TThread* thread, TThreadMethod method) {
  if (thread) return thread->Queue(std::move(method));
  if (IsGuiThread()) return method();
  Post(nullptr, nullptr, std::move(method), false);
}

void TThread::RemoveQueuedEvents(TThread* thread) { SyncQueue().Remove(thread, nullptr); }

void TThread::Run() {
  tid_.store(static_cast<int>(gettid()));
  if (Priority() != TThreadPriority::tpNormal) ApplyPriority();
  try {
    if (!Terminated()) Execute();
  } catch (...) {
    fatal_ = std::current_exception();
  }
  try {
    if (OnTerminate) Synchronize([this] { OnTerminate(this); });
  } catch (...) {
    if (!fatal_) fatal_ = std::current_exception();
  }
  if (FreeOnTerminate) {
    {
      std::lock_guard lock(finishMutex_);
      thread_.detach();
    }
    finished_.store(true, std::memory_order_release);
    delete this;
  } else {
    finished_.store(true, std::memory_order_release);
  }
  // Only locals from here on: a waiting owner may free the object now.
  gRunning.fetch_sub(1);
  SyncQueue().Wake();
}

}  // namespace qz
