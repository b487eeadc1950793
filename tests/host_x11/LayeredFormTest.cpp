// A layered form on real X windows, through the window system's own calls
// (UpdateLayeredWindow, WS_EX_LAYERED): with a compositing manager on the
// display its picture reaches the X window with its alpha, and it still
// takes clicks on its visible pixels. (The platform's own tests cover the
// fallback without a compositor.)
#include <gtest/gtest.h>

#include <chrono>
#include <memory>
#include <thread>

#include "X11FormTest.h"
#include "host/platform/Platform.h"
#include "host/ui/Application.h"
#include "host/ui/Forms.h"
#include "host/ui/Windows.h"

namespace qz {
namespace {

class LayeredFormTest : public testing::X11FormTest {
 protected:
  TForm* ShowLayeredForm(const TRect& bounds) {
    auto* form = new TForm(Application);
    form->SetBorderStyle(bsNone);
    form->SetColor(clWhite);
    form->SetBoundsRect(bounds);
    SetWindowLong(form->Handle(), GWL_EXSTYLE, GetWindowLong(form->Handle(), GWL_EXSTYLE) | WS_EX_LAYERED);
    form->Show();
    Application->ProcessMessages();  // the ordinary first paint, before any picture
    return form;
  }

};

// Left half transparent, right half half-transparent red (premultiplied).
TPixmap HalfShownPicture(int width, int height) {
  TPixmap picture(width, height, 0);
  for (int y = 0; y < height; ++y)
    for (int x = width / 2; x < width; ++x) picture.At(x, y) = 0x80800000;
  return picture;
}

TEST_F(LayeredFormTest, PictureArrivesWithItsAlphaAndTakesClicks) {
  RunCompositor();
  const TRect bounds{500, 400, 580, 440};
  TForm* form = ShowLayeredForm(bounds);
  TPoint clickedAt{-1, -1};
  form->OnMouseDown = [&](TObject*, TMouseButton, TShiftState, int x, int y) { clickedAt = {x, y}; };
  const TPixmap picture = HalfShownPicture(80, 40);
  TBlendFunction blend;
  blend.SourceConstantAlpha = 200;
  ASSERT_TRUE(UpdateLayeredWindow(form->Handle(), nullptr, nullptr, picture, &blend, ULW_ALPHA));

  const auto xid = ShownWindow(bounds);
  ASSERT_NE(xid, 0u);
  EXPECT_EQ(x_->Depth(xid), 32);
  const std::vector<uint32_t> edge{0x00000000, 0x80800000};
  SettleOnDesktop([&] { return x_->WindowPixels(xid, Rect(39, 10, 41, 11)) == edge; });
  EXPECT_EQ(x_->WindowPixels(xid, Rect(39, 10, 41, 11)), edge);
  const auto opacity = x_->Cardinal(xid, "_NET_WM_WINDOW_OPACITY");
  ASSERT_TRUE(opacity.has_value());
  EXPECT_NEAR(static_cast<double>(*opacity) / 0xFFFFFFFFu, 200.0 / 255, 1e-3);

  x_->Move(560, 420);
  x_->Button(1, true);
  x_->Button(1, false);
  EXPECT_TRUE(PumpUntil([&] { return clickedAt == TPoint{60, 20}; })) << clickedAt.X << "," << clickedAt.Y;

  // No longer layered: the form paints itself, opaque, into the same window.
  SetWindowLong(form->Handle(), GWL_EXSTYLE, GetWindowLong(form->Handle(), GWL_EXSTYLE) & ~WS_EX_LAYERED);
  EXPECT_TRUE(PumpUntil([&] {
    return x_->WindowPixels(xid, Rect(10, 10, 11, 11)) == std::vector<uint32_t>{0xFFFFFFFF};
  }));
  EXPECT_FALSE(x_->Cardinal(xid, "_NET_WM_WINDOW_OPACITY").has_value());
}

}  // namespace
}  // namespace qz
