// The demo's minimise-to-tray button: with a tray the windows go into it and
// a double click on the icon brings them back; without one the button
// minimises as the minimise button does, and nothing is hidden for good.
#include <gtest/gtest.h>

#include "app/Unit1.h"
#include "app/Unit2.h"
#include "host/ui/Application.h"
#include "host/ui/Windows.h"
#include "skin/form/Orvane.h"
#include "skin/form/TrayIcon.h"
#include "tests/host_ui/UiTestSupport.h"

namespace qz::testing {
namespace {

class DemoTray : public UiTest {
 protected:
  void SetUp() override {
    UiTest::SetUp();
    Application->CreateForm(Form1);
    Form1->Show();
    Settle(600);
  }
  void Settle(int ms) {
    Pump();
    for (int t = 0; t < ms; t += 25) {
      hp->AdvanceClock(25);
      Pump();
    }
  }
  void PressTrayButton() {
    for (auto& obj : Form1->qzOrvane1->ObjectList())
      if (obj->IDName() == "traybutton") {
        TRect w;
        GetWindowRect(Form1->Handle(), w);
        Click({w.Left + (obj->ObjectRect.Left + obj->ObjectRect.Right) / 2,
               w.Top + (obj->ObjectRect.Top + obj->ObjectRect.Bottom) / 2});
        Settle(100);
        return;
      }
    ADD_FAILURE() << "no tray button";
  }
  TForm1* Form1 = nullptr;
};

// The form resource carries the program's icon (not the built-in picture):
// the caption's mark with a transparent ground, shown in the panel.
TEST_F(DemoTray, TheTrayShowsTheProgramsIconFromTheFormResource) {
  TqzTrayIcon& tray = *Form1->qzTrayIcon1;
  ASSERT_FALSE(tray.Icon().Empty());
  EXPECT_TRUE(tray.Icon().AlphaPresent());
  const TPixmap picture = tray.ShownPicture();
  EXPECT_EQ(picture.At(0, 0) >> 24, 0u);
  EXPECT_EQ(picture.At(4, picture.Height() / 2) >> 24, 255u);
  PressTrayButton();
  auto* icon = dynamic_cast<THeadlessTrayIcon*>(tray.PlatformIcon());
  ASSERT_NE(icon, nullptr);
  const TRect r = hp->TrayIconRect(*icon);
  const TPixmap screen = hp->ComposeScreen();
  // The play triangle in the middle is white, the tile left of it the accent blue.
  const uint32_t middle = screen.At((r.Left + r.Right) / 2, (r.Top + r.Bottom) / 2);
  const uint32_t tile = screen.At(r.Left + 7, (r.Top + r.Bottom) / 2);
  EXPECT_GT(middle & 0xFF, 0xE0u);
  EXPECT_GT(tile & 0xFF, (tile >> 16) & 0xFF);  // more blue than red
  hp->InjectTrayDoubleClick(*icon);
  Settle(600);
}

TEST_F(DemoTray, IntoTheTrayAndBackByADoubleClick) {
  EXPECT_FALSE(Form1->qzTrayIcon1->IconVisible());
  PressTrayButton();
  EXPECT_FALSE(IsWindowVisible(Form1->Handle()));
  auto* icon = dynamic_cast<THeadlessTrayIcon*>(Form1->qzTrayIcon1->PlatformIcon());
  ASSERT_NE(icon, nullptr);
  ASSERT_TRUE(icon->Embedded());
  hp->InjectTrayDoubleClick(*icon);
  Settle(600);
  EXPECT_TRUE(IsWindowVisible(Form1->Handle()));
  EXPECT_FALSE(IsIconic(Form1->Handle()));
  EXPECT_FALSE(icon->Visible());
}

TEST_F(DemoTray, WithoutATrayTheButtonMinimises) {
  hp->SetTrayHost(false);
  PressTrayButton();
  EXPECT_TRUE(IsWindowVisible(Form1->Handle()));
  EXPECT_TRUE(IsIconic(Form1->Handle()));
  EXPECT_FALSE(Form1->qzTrayIcon1->InTray());
  Application->Restore();
  Settle(100);
  EXPECT_FALSE(IsIconic(Form1->Handle()));
}

}  // namespace
}  // namespace qz::testing
