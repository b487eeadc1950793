// A test fixture for forms on real X windows: the SDL platform behind the
// application for each test, and a pump that waits for what the X server
// does asynchronously.
#pragma once

#include <gtest/gtest.h>

#include <chrono>
#include <memory>
#include <string>
#include <thread>

#include "XvfbSuite.h"
#include "host/platform/Platform.h"
#include "host/ui/Application.h"

namespace qz::testing {

class X11FormTest : public XvfbSuite {
 protected:
  void SetUp() override {
    XvfbSuite::SetUp();
    if (IsSkipped() || HasFatalFailure()) return;
    TApplication::ResetForTesting(CreatePlatform("sdl"));
  }
  void TearDown() override {
    TApplication::ResetForTesting(CreatePlatform("headless"));
    XvfbSuite::TearDown();
  }

  // Processes messages until `done` holds, for at most about five seconds.
  template <class F>
  bool PumpUntil(F done) {
    for (int i = 0; i < 200 && !done(); ++i) {
      Application->ProcessMessages();
      std::this_thread::sleep_for(std::chrono::milliseconds(25));
    }
    return done();
  }

  void HandleEventsWhileWaiting() override {
    Application->ProcessMessages();
    std::this_thread::sleep_for(std::chrono::milliseconds(10));
  }

};

}  // namespace qz::testing
