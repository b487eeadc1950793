// The demo's popup menus are cut to their rounded shape: the corners of a
// menu's window show what was on the screen under them, with per-pixel alpha
// and without it.
#include <gtest/gtest.h>

#include "skin/form/SkinMainMenu.h"
#include "skin/popups/SkinMenu.h"
#include "tests/demo/DemoTestKit.h"

namespace qz::testing {
namespace {

class DemoPopupShape : public DemoTest {
 protected:
  TPoint BarItemCentre(int index) const {
    const TRect r = Form1->qzSkinMainMenuBar1->Items()[size_t(index)].Rect;
    return Form1->qzSkinMainMenuBar1->ClientToScreen({(r.Left + r.Right) / 2, (r.Top + r.Bottom) / 2});
  }
};

TEST_F(DemoPopupShape, MenuCornersShowWhatIsUnderThem) {
  ShowMainWindow();
  const int about = int(Form1->qzSkinMainMenuBar1->Items().size()) - 1;
  ASSERT_GE(about, 0);
  for (bool perPixel : {true, false}) {
    SCOPED_TRACE(perPixel ? "with per-pixel alpha" : "without per-pixel alpha");
    hp->SetPerPixelAlpha(perPixel);
    const TPixmap before = hp->ComposeScreen();
    hp->InjectClick(BarItemCentre(about));
    Settle(300);
    TqzSkinMenu& engine = Form1->qzOrvane1->SkinMenu();
    ASSERT_TRUE(engine.Visible());
    TRect r;
    GetWindowRect(engine.Level(0)->Handle(), r);
    const TPixmap after = hp->ComposeScreen();
    for (TPoint corner : {r.TopLeft(), TPoint{r.Right - 1, r.Top}, TPoint{r.Left, r.Bottom - 1},
                          TPoint{r.Right - 1, r.Bottom - 1}})
      EXPECT_EQ(after.At(corner.X, corner.Y), before.At(corner.X, corner.Y)) << corner.X << "," << corner.Y;
    // The menu itself shows inside.
    const TPoint inside{r.Left + 2, (r.Top + r.Bottom) / 2};
    EXPECT_NE(after.At(inside.X, inside.Y), before.At(inside.X, inside.Y));
    engine.CloseAll();
    Settle(300);
  }
}

}  // namespace
}  // namespace qz::testing
