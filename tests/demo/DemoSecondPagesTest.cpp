// The second page control of the main window shows only what the three page
// buttons choose: with its tabs hidden and no handler of its own, a page
// change the user asks of it directly would leave it out of step.
#include <gtest/gtest.h>

#include "app/Unit1.h"
#include "app/Unit2.h"
#include "host/ui/Application.h"
#include "skin/controls/SkinButton.h"
#include "skin/controls/SkinPageControl.h"
#include "skin/data/SkinData.h"
#include "tests/host_ui/UiTestSupport.h"

namespace qz::testing {
namespace {

class DemoSecondPages : public UiTest {
 protected:
  void SetUp() override {
    UiTest::SetUp();
    Application->CreateForm(Form1);
    Form1->Show();
    Pump();
  }
  void Press(int vk, uint32_t mods = 0) {
    hp->InjectKey(vk, mods);
    Pump();
  }
  TForm1* Form1 = nullptr;
};

TEST_F(DemoSecondPages, KeysOnTheSecondPageControlLeaveItWhereTheButtonsPutIt) {
  TqzSkinPageControl& second = *Form1->qzSkinPageControl2;
  second.SetFocus();
  Pump();
  ASSERT_TRUE(second.Focused());
  Press(VK_RIGHT);
  EXPECT_EQ(second.ActivePageIndex(), 0);
  Press(VK_TAB, kModCtrl);
  EXPECT_EQ(second.ActivePageIndex(), 0);
  EXPECT_TRUE(Form1->qzSkinButton1->Down());
}

TEST_F(DemoSecondPages, ButtonsStillTurnItsPages) {
  Form1->qzSkinButton2->SetDown(true);
  Form1->qzSkinButton2Click(Form1->qzSkinButton2);
  EXPECT_EQ(Form1->qzSkinPageControl2->ActivePageIndex(), 1);
  // The keyboard on the first page control brings both along.
  Form1->qzSkinPageControl1->SetFocus();
  Pump();
  Press(VK_RIGHT);
  EXPECT_TRUE(Form1->qzSkinButton3->Down());
  EXPECT_EQ(Form1->qzSkinPageControl1->ActivePageIndex(), 2);
  EXPECT_EQ(Form1->qzSkinPageControl2->ActivePageIndex(), 0);
}

}  // namespace
}  // namespace qz::testing
