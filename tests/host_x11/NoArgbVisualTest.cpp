// A display with a compositing manager but no 32-bit ARGB visual (Xvfb
// without the Composite extension): per-pixel alpha pictures take the
// shaped fallback.
#include <gtest/gtest.h>

#include <memory>

#include "XTestDisplay.h"
#include "XvfbSuite.h"
#include "host/platform/Platform.h"

namespace qz {
namespace {

class NoArgbVisualTest : public testing::XvfbSuite {
 protected:
  static void SetUpTestSuite() { StartServer({"-extension", "Composite"}); }
  void SetUp() override {
    XvfbSuite::SetUp();
    if (IsSkipped() || HasFatalFailure()) return;
    platform_ = CreatePlatform("sdl");
  }
  void TearDown() override {
    platform_.reset();
    XvfbSuite::TearDown();
  }

  std::unique_ptr<IPlatform> platform_;
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
