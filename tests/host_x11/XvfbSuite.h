// The base of every test on real X windows: one Xvfb per test suite (a
// suite that needs other server options starts it with StartServer), an
// XTEST connection per test, and a skip with the reason when the SDL backend
// or Xvfb is missing.
//
// With QZ_TEST_DESKTOP=1 in the environment (the host_x11_desktop tests) the
// suite's server runs a window manager and a compositor as well, as users'
// desktops do; tests read OnDesktop() where the two legitimately differ.
#pragma once

#include <gtest/gtest.h>

#include <chrono>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <memory>
#include <string>
#include <thread>
#include <vector>

#include "TestDesktop.h"
#include "XTestDisplay.h"
#include "XvfbServer.h"

namespace qz::testing {

class XvfbSuite : public ::testing::Test {
 protected:
  static void SetUpTestSuite() { StartServer({}); }
  static void StartServer(const std::vector<std::string>& extraArguments) {
    server_ = XvfbServer::Start(whyNoServer_, extraArguments);
    if (!server_) return;
    setenv("DISPLAY", server_->Display().c_str(), 1);
    if (DesktopRequested()) desktop_ = TestDesktop::Start(server_->Display(), whyNoDesktop_);
  }
  static void TearDownTestSuite() {
    desktop_.reset();
    server_.reset();
  }
  // Derived fixtures call this first and return when IsSkipped() or
  // HasFatalFailure().
  void SetUp() override {
#ifndef QZ_HAVE_SDL2
    GTEST_SKIP() << "the SDL backend is not built in";
#endif
    if (!server_) GTEST_SKIP() << "no X server for the test: " << whyNoServer_;
    if (DesktopRequested() && !desktop_) GTEST_SKIP() << "no desktop for the test: " << whyNoDesktop_;
    x_ = XTestDisplay::Open(server_->Display());
    ASSERT_NE(x_, nullptr);
    if (desktop_) {
      // The test really runs managed and composited (the compositor again
      // when a test before stopped it).
      ASSERT_TRUE(desktop_->StartCompositor()) << "xcompmgr does not start again";
      ASSERT_NE(x_->WindowManagerCheck(), 0u) << "the window manager is gone";
      ASSERT_NE(x_->SelectionOwner("_NET_WM_CM_S0"), 0u) << "the compositor is gone";
    }
  }
  void TearDown() override { x_.reset(); }

  static bool DesktopRequested() {
    const char* value = std::getenv("QZ_TEST_DESKTOP");
    return value && *value && std::strcmp(value, "0") != 0;
  }
  static bool OnDesktop() { return desktop_ != nullptr; }

  // Where a test needs a compositor: the real one on a desktop, else a
  // stand-in that owns its selection.
  void RunCompositor() {
    if (!OnDesktop()) x_->OwnCompositorSelection(true);
  }
  void StopCompositor() {
    if (OnDesktop())
      desktop_->StopCompositor();
    else
      x_->OwnCompositorSelection(false);
  }

  // On a desktop what was drawn may reach the screen later than on the bare
  // server: the window manager maps a window when it has framed it (its
  // first picture is exposed and put back), and the compositor paints after
  // a window changed. There this handles events until `done` holds (for at
  // most eight seconds: a compositor on a loaded machine can lag well behind);
  // on the bare server it returns at once.
  template <class F>
  void SettleOnDesktop(F done) {
    if (!OnDesktop()) return;
    const auto until = std::chrono::steady_clock::now() + std::chrono::seconds(8);
    while (!done() && std::chrono::steady_clock::now() < until) HandleEventsWhileWaiting();
  }

  // The mapped top-level window with these screen bounds (0: none), once
  // there is one.
  XTestDisplay::WindowId ShownWindow(const TRect& bounds) {
    SettleOnDesktop([&] { return x_->TopLevelAt(bounds) != 0; });
    return x_->TopLevelAt(bounds);
  }

  // Whether the screen shows `rgb` (0xRRGGBB) at a point.
  ::testing::AssertionResult Shows(int x, int y, uint32_t rgb) {
    SettleOnDesktop([&] { return x_->Rgb(x, y) == rgb; });
    const uint32_t seen = x_->Rgb(x, y);
    if (seen == rgb) return ::testing::AssertionSuccess();
    char text[80];
    std::snprintf(text, sizeof text, "(%d,%d) shows 0x%06x, not 0x%06x", x, y, seen, rgb);
    return ::testing::AssertionFailure() << text;
  }

  // Handles the events for the windows under test for a moment (or sleeps).
  virtual void HandleEventsWhileWaiting() { std::this_thread::sleep_for(std::chrono::milliseconds(10)); }

  static inline std::unique_ptr<XvfbServer> server_;
  static inline std::unique_ptr<TestDesktop> desktop_;
  static inline std::string whyNoServer_;
  static inline std::string whyNoDesktop_;
  std::unique_ptr<XTestDisplay> x_;
};

}  // namespace qz::testing
