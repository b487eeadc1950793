// The main window's caption buttons (a client-mode window: the skin and its
// objects are painted on the erase request) show their hot look under the
// pointer and a pressed look of their own.
#include <gtest/gtest.h>

#include "host/ui/WindowSystem.h"
#include "tests/demo/DemoTestKit.h"

namespace qz::testing {
namespace {

class DemoCaptionLooks : public DemoTest {
 protected:
  uint32_t Shown(TPoint windowPoint) {
    auto* native = static_cast<THeadlessWindow*>(Form1->WindowData()->platform.get());
    return native->Contents().At(windowPoint.X, windowPoint.Y) & 0xFFFFFF;
  }
};

TEST_F(DemoCaptionLooks, CaptionButtonsShowHotAndPressedLooks) {
  ShowMainWindow();
  TRect w;
  GetWindowRect(Form1->Handle(), w);
  for (const char* name : {"closebutton", "minbutton", "traybutton"}) {
    SCOPED_TRACE(name);
    TqzActiveSkinObject* button = FrameObject(*Form1->qzOrvane1, name);
    ASSERT_NE(button, nullptr);
    const TRect r = button->ObjectRect;
    // Beside the glyph, inside the button's plate.
    const TPoint probe{r.Left + 5, (r.Top + r.Bottom) / 2};
    const uint32_t normal = Shown(probe);
    const TPoint at{w.Left + (r.Left + r.Right) / 2, w.Top + (r.Top + r.Bottom) / 2};
    hp->InjectMouseMove(at);
    Settle(300);
    const uint32_t hot = Shown(probe);
    EXPECT_NE(hot, normal);
    hp->InjectMouseDown();
    Settle(100);
    const uint32_t pressed = Shown(probe);
    EXPECT_NE(pressed, hot);
    EXPECT_NE(pressed, normal);
    // Released away: nothing runs, the look goes back.
    hp->InjectMouseMove({w.Left - 40, w.Top - 40});
    hp->InjectMouseUp();
    Settle(300);
    EXPECT_EQ(Shown(probe), normal);
  }
}

}  // namespace
}  // namespace qz::testing
