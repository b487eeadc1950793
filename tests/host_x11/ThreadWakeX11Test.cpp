// Worker threads wake the SDL event loop: a call they post runs without
// waiting for the next input event.
#include <gtest/gtest.h>

#include <memory>

#include "X11FormTest.h"
#include "host/base/Threads.h"
#include "host/ui/Application.h"

namespace qz {
namespace {

// The SDL platform on the suite's X server, as for the form tests.
class ThreadWakeX11Test : public testing::X11FormTest {};

class TPostingThread : public TThread {
 public:
  TPostingThread(bool blocking, bool& ran) : blocking_(blocking), ran_(ran) {}
  ~TPostingThread() override { StopAndWait(); }

 protected:
  void Execute() override {
    if (blocking_) Synchronize([this] { ran_ = true; });
    else Queue([this] { ran_ = true; });
  }

 private:
  bool blocking_;
  bool& ran_;
};

TEST_F(ThreadWakeX11Test, SynchronizeAndQueueEndAnEndlessWait) {
  for (const bool blocking : {false, true}) {
    SCOPED_TRACE(blocking ? "Synchronize" : "Queue");
    bool ran = false;
    TPostingThread t(blocking, ran);
    t.Start();
    // No window, no timer, no input: only the worker's wakeup ends the wait.
    while (!ran) Application->HandleMessage();
    t.WaitFor();
  }
}

}  // namespace
}  // namespace qz
