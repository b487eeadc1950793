// The window system's own move loop on real X windows: a drag on a form's
// caption, made with XTEST, moves the real window, with or without a window
// manager (the loop itself needs none).
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

class MoveLoopTest : public testing::X11FormTest {};

TEST_F(MoveLoopTest, CaptionDragMovesTheRealWindow) {
  auto* form = new TForm(Application);
  form->SetBorderStyle(bsSizeable);
  form->SetColor(clWhite);
  form->SetBoundsRect({100, 100, 400, 300});
  form->Show();
  // The client area shows white on the black root once the window is up.
  ASSERT_TRUE(PumpUntil([&] { return x_->Rgb(250, 200) == 0xFFFFFF; }));

  x_->Move(250, 110);  // on the caption
  ASSERT_TRUE(PumpUntil([&] {
    TPoint p;
    return GetCursorPos(p) && p == TPoint{250, 110};
  }));
  x_->Button(1, true);
  x_->Move(300, 150);
  x_->Move(350, 210);
  x_->Button(1, false);
  ASSERT_TRUE(PumpUntil([&] { return form->Left() == 200 && form->Top() == 200; }))
      << form->Left() << "," << form->Top();
  // The real window followed: white where the client now is, the root where it was.
  EXPECT_TRUE(PumpUntil([&] { return x_->Rgb(350, 300) == 0xFFFFFF; }));
  EXPECT_TRUE(Shows(120, 150, 0x000000u));
}

}  // namespace
}  // namespace qz
