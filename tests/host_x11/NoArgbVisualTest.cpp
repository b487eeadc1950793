// A display with a compositing manager but no 32-bit ARGB visual (Xvfb
// without the Composite extension): per-pixel alpha pictures take the
// shaped fallback.
#include <gtest/gtest.h>

#include <memory>

#include "XTestDisplay.h"
#include "XvfbServer.h"
#include "host/platform/Platform.h"

namespace qz {
namespace {

class NoArgbVisualTest : public ::testing::Test {
 protected:
  static void SetUpTestSuite() {
    server_ = testing::XvfbServer::Start(whyNoServer_, {"-extension", "Composite"}).release();
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
    platform_ = CreatePlatform("sdl");
    x_ = testing::XTestDisplay::Open(server_->Display());
    ASSERT_NE(x_, nullptr);
  }
  void TearDown() override {
    x_.reset();
    platform_.reset();
  }

  static inline testing::XvfbServer* server_ = nullptr;
  static inline std::string whyNoServer_;
  std::unique_ptr<IPlatform> platform_;
  std::unique_ptr<testing::XTestDisplay> x_;
};

TEST_F(NoArgbVisualTest, ACompositorAloneDoesNotGivePerPixelAlpha) {
  x_->OwnCompositorSelection(true);
  EXPECT_FALSE(platform_->SupportsPerPixelAlpha());
  TPlatformWindowDesc desc;
  desc.bounds = Rect(100, 100, 140, 120);
  auto w = platform_->CreateWindow(desc);
  w->SetVisible(true, false);
  TPixmap picture(40, 20, 0);
  for (int y = 0; y < 20; ++y)
    for (int x = 0; x < 15; ++x) picture.At(x, y) = 0x80800000;
  w->PresentLayered(picture);
  const auto xid = x_->TopLevelAt(desc.bounds);
  ASSERT_NE(xid, 0u);
  EXPECT_EQ(x_->Depth(xid), 24);
  EXPECT_EQ(x_->Shape(xid, false), TRegion(Rect(0, 0, 15, 20)));
  EXPECT_EQ(x_->Rgb(105, 105), 0x800000u);
}

}  // namespace
}  // namespace qz
