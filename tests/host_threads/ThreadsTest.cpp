// Worker threads: Synchronize and Queue into the GUI thread, the event loop
// woken by them, priorities, and freeing threads while they run.
#include <sched.h>

#include <gtest/gtest.h>

#include <atomic>
#include <functional>
#include <memory>
#include <stdexcept>
#include <string>
#include <thread>
#include <vector>

#include "host/base/Threads.h"
#include "host/platform/headless/HeadlessPlatform.h"
#include "host/ui/Application.h"

namespace qz {
namespace {

// A thread running a function (the test's body for Execute).
class TFunctionThread : public TThread {
 public:
  explicit TFunctionThread(std::function<void(TFunctionThread&)> body) : body_(std::move(body)) {}
  ~TFunctionThread() override { StopAndWait(); }
  using TThread::SetReturnValue;

 protected:
  void Execute() override { body_(*this); }

 private:
  std::function<void(TFunctionThread&)> body_;
};

TEST(Threads, SynchronizeRunsOnTheGuiThreadAndWaitsForIt) {
  std::vector<std::string> order;  // touched by the GUI thread only, and the worker after Synchronize
  bool ranOnGui = false;
  TFunctionThread t([&](TFunctionThread& self) {
    self.Synchronize([&] {
      ranOnGui = TThread::IsGuiThread();
      order.push_back("call");
    });
    order.push_back("after");  // the call ran before Synchronize returned
    self.SetReturnValue(7);
  });
  t.Start();
  EXPECT_EQ(t.WaitFor(), 7);  // runs the call while it waits
  EXPECT_TRUE(ranOnGui);
  EXPECT_EQ(order, (std::vector<std::string>{"call", "after"}));
}

TEST(Threads, AnExceptionInASynchronizedCallGoesBackToTheWorker) {
  std::string caught;
  TFunctionThread t([&](TFunctionThread& self) {
    try {
      self.Synchronize([] { throw std::runtime_error("from the GUI"); });
    } catch (const std::runtime_error& e) {
      caught = e.what();
    }
  });
  t.Start();
  t.WaitFor();
  EXPECT_EQ(caught, "from the GUI");
  EXPECT_FALSE(t.FatalException());
}

TEST(Threads, QueueDoesNotWaitAndRunsInOrder) {
  std::vector<int> ran;
  std::atomic<bool> queued{false};
  TFunctionThread t([&](TFunctionThread& self) {
    for (int i = 1; i <= 3; ++i) self.Queue([&ran, i] { ran.push_back(i); });
    queued = true;
  });
  t.Start();
  // The worker gets past its calls while the GUI thread runs none of them.
  while (!queued) std::this_thread::yield();
  EXPECT_TRUE(ran.empty());
  EXPECT_TRUE(CheckSynchronize(0));
  EXPECT_EQ(ran, (std::vector<int>{1, 2, 3}));
  t.WaitFor();
}

TEST(Threads, CallsOfAFreedThreadAreDropped) {
  int ran = 0;
  auto t = std::make_unique<TFunctionThread>([&](TFunctionThread& self) { self.Queue([&] { ++ran; }); });
  t->Start();
  while (!t->Finished()) std::this_thread::yield();
  t.reset();
  EXPECT_FALSE(CheckSynchronize(0));
  EXPECT_EQ(ran, 0);
  // Calls without a thread object are never dropped.
  std::thread plain([&] { TThread::Queue(nullptr, [&] { ++ran; }); });
  plain.join();
  EXPECT_TRUE(CheckSynchronize(0));
  EXPECT_EQ(ran, 1);
}

TEST(Threads, FreedWhileRunningRepeatedly) {
  int ran = 0;
  for (int round = 0; round < 100; ++round) {
    auto t = std::make_unique<TFunctionThread>([&](TFunctionThread& self) {
      while (!self.Terminated()) {
        self.Queue([&] { ++ran; });
        self.Synchronize([&] { ++ran; });
      }
    });
    t->Start();
    if (round % 2) CheckSynchronize(0);  // sometimes in the middle of its calls
    // The destructor terminates it, serves or drops its waiting call, waits.
  }
  const int before = ran;
  EXPECT_FALSE(CheckSynchronize(0));
  EXPECT_EQ(ran, before);
  EXPECT_EQ(TThread::RunningCount(), 0);
}

class TCountedThread : public TThread {
 public:
  explicit TCountedThread(std::atomic<int>& freed) : freed_(freed) { FreeOnTerminate = true; }
  ~TCountedThread() override { ++freed_; }

 protected:
  void Execute() override {}

 private:
  std::atomic<int>& freed_;
};

TEST(Threads, FreeOnTerminateRunsOnTerminateOnTheGuiThreadThenFreesItself) {
  std::atomic<int> freed{0};
  int terminated = 0;
  for (int i = 0; i < 5; ++i) {
    auto* t = new TCountedThread(freed);
    t->OnTerminate = [&](TObject*) { terminated += TThread::IsGuiThread() ? 1 : 100; };
    t->Start();
  }
  while (freed < 5) CheckSynchronize(50);
  EXPECT_EQ(terminated, 5);
}

TEST(Threads, IdlePriority) {
  int policy = -1;
  TFunctionThread t([&](TFunctionThread&) { policy = sched_getscheduler(0); });
  t.SetPriority(TThreadPriority::tpIdle);
  t.Start();
  t.WaitFor();
  EXPECT_EQ(policy, SCHED_IDLE);
  EXPECT_THROW(t.Start(), EInvalidOperation);
}

// An endless wait of the headless event loop ends when a worker posts,
// without any input event.
TEST(Threads, SynchronizeAndQueueWakeTheHeadlessLoop) {
  TApplication::ResetForTesting(std::make_unique<THeadlessPlatform>());
  for (const bool blocking : {false, true}) {
    SCOPED_TRACE(blocking ? "Synchronize" : "Queue");
    bool ran = false;
    TFunctionThread t([&](TFunctionThread& self) {
      if (blocking) self.Synchronize([&] { ran = true; });
      else self.Queue([&] { ran = true; });
    });
    t.Start();
    // HandleMessage waits without limit (no timers): only the wakeup ends it.
    while (!ran) Application->HandleMessage();
    t.WaitFor();
  }
  // With no worker left (its last wakeup handled) the wait fails at once
  // instead of hanging.
  Application->ProcessMessages();
  EXPECT_THROW(Application->HandleMessage(), Exception);
  TApplication::ResetForTesting(std::make_unique<THeadlessPlatform>());
}

TEST(Threads, ProcessMessagesRunsPostedCallsWhileTheLoopIsBusy) {
  TApplication::ResetForTesting(std::make_unique<THeadlessPlatform>());
  int ran = 0;
  std::thread poster([&] { TThread::Queue(nullptr, [&] { ++ran; }); });
  poster.join();
  Application->ProcessMessages();
  EXPECT_EQ(ran, 1);
}

}  // namespace
}  // namespace qz
