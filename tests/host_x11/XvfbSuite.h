// The base of every test on real X windows: one Xvfb per test suite (a
// suite that needs other server options starts it with StartServer), an
// XTEST connection per test, and a skip with the reason when the SDL backend
// or Xvfb is missing.
#pragma once

#include <gtest/gtest.h>

#include <cstdlib>
#include <memory>
#include <string>
#include <vector>

#include "XTestDisplay.h"
#include "XvfbServer.h"

namespace qz::testing {

class XvfbSuite : public ::testing::Test {
 protected:
  static void SetUpTestSuite() { StartServer({}); }
  static void StartServer(const std::vector<std::string>& extraArguments) {
    server_ = XvfbServer::Start(whyNoServer_, extraArguments).release();
    if (server_) setenv("DISPLAY", server_->Display().c_str(), 1);
  }
  static void TearDownTestSuite() {
    delete server_;
    server_ = nullptr;
  }
  // Derived fixtures call this first and return when IsSkipped() or
  // HasFatalFailure().
  void SetUp() override {
#ifndef QZ_HAVE_SDL2
    GTEST_SKIP() << "the SDL backend is not built in";
#endif
    if (!server_) GTEST_SKIP() << "no X server for the test: " << whyNoServer_;
    x_ = XTestDisplay::Open(server_->Display());
    ASSERT_NE(x_, nullptr);
  }
  void TearDown() override { x_.reset(); }

  static inline XvfbServer* server_ = nullptr;
  static inline std::string whyNoServer_;
  std::unique_ptr<XTestDisplay> x_;
};

}  // namespace qz::testing
