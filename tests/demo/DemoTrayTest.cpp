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
