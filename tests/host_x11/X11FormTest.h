// A test fixture for forms on real X windows: one Xvfb per test suite, the
// SDL platform for each test, an XTEST connection to inject input and read
// pixels, and a pump that waits for what the X server does asynchronously.
#pragma once

#include <gtest/gtest.h>

#include <chrono>
#include <memory>
#include <string>
#include <thread>

#include "XTestDisplay.h"
#include "XvfbServer.h"
#include "host/platform/Platform.h"
#include "host/ui/Application.h"

namespace qz::testing {

class X11FormTest : public ::testing::Test {
 protected:
  static void SetUpTestSuite() {
    server_ = XvfbServer::Start(whyNoServer_).release();
    if (server_) setenv("DISPLAY", server_->Display().c_str(), 1);
  }
  static void TearDownTestSuite() {
    delete server_;
    server_ = nullptr;
  }
  void SetUp() override {
#ifndef QZ_HAVE_SDL2
    GTEST_SKIP() << "the SDL backend is not built in";
#endif
    if (!server_) GTEST_SKIP() << "no X server for the test: " << whyNoServer_;
    TApplication::ResetForTesting(CreatePlatform("sdl"));
    x_ = XTestDisplay::Open(server_->Display());
    ASSERT_NE(x_, nullptr);
  }
  void TearDown() override {
    x_.reset();
    TApplication::ResetForTesting(CreatePlatform("headless"));
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

  static inline XvfbServer* server_ = nullptr;
  static inline std::string whyNoServer_;
  std::unique_ptr<XTestDisplay> x_;
};

}  // namespace qz::testing
