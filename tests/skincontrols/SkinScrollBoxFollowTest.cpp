// The skinned scroll box follows the focus between its own children, and a
// new skin's frame: the client area, the bars and the position all agree
// with the frame the skin gives.
#include <gtest/gtest.h>

#include "skin/controls/SkinScrollBox.h"
#include "skin/data/SkinControlData.h"
#include "tests/host_ui/UiTestSupport.h"
#include "tests/skins/DemoSkins.h"

namespace qz::testing {
namespace {

class SkinScrollBoxFollow : public UiTest {
 protected:
  void SetUp() override {
    UiTest::SetUp();
    form = MakeForm({100, 100, 500, 400}, bsNone);
    box = new TqzSkinScrollBox(form);
    box->SetParent(form);
    box->SetBounds(10, 10, 150, 100);
    box->SetBorderStyle(TqzSkinBorderStyle::bvNone);
    vbar = new TqzSkinScrollBar(form);
    vbar->SetParent(form);
    vbar->SetKind(sbVertical);
    vbar->SetBounds(160, 10, 19, 100);
    box->SetVScrollBar(vbar);
    Pump();
  }
  TProbe* Focusable(TRect r) {
    auto* c = new TProbe(form);
    c->SetParent(box);
    c->SetBoundsRect(r);
    c->SetTabStop(true);
    return c;
  }

  TForm* form = nullptr;
  TqzSkinScrollBox* box = nullptr;
  TqzSkinScrollBar* vbar = nullptr;
};

TEST_F(SkinScrollBoxFollow, FocusMovingInsideTheBoxBringsTheControlIntoView) {
  TProbe* near = Focusable({0, 0, 50, 40});
  TProbe* far = Focusable({10, 250, 60, 280});
  near->SetFocus();
  Pump();
  EXPECT_EQ(box->VertPosition(), 0);
  far->SetFocus();
  Pump();
  EXPECT_EQ(box->VertPosition(), 180);  // its bottom at the client's bottom
  EXPECT_EQ(vbar->Position(), 180);
  EXPECT_EQ(far->Top(), 70);
  near->SetFocus();
  Pump();
  EXPECT_EQ(box->VertPosition(), 0);
  EXPECT_EQ(near->Top(), 0);
}

TEST_F(SkinScrollBoxFollow, ASkinChangeBringsFrameBarsAndPositionInLine) {
  auto* content = new TProbe(form);
  content->SetParent(box);
  content->SetBoundsRect({0, 0, 100, 260});
  Pump();
  box->SetVertPosition(160);
  ASSERT_EQ(box->VertPosition(), 160);

  const TDemoSkin& s = MainSkin();
  box->SetSkinData(s.Skin.get());
  Pump();
  ASSERT_NE(box->SkinIndex, -1);
  const TRect in = box->FrameInsets();
  ASSERT_GT(in.Top + in.Bottom, 0) << "the demo skin's scroll box has a frame";
  const int clientHeight = 100 - in.Top - in.Bottom;
  EXPECT_EQ(box->ClientHeight(), clientHeight);
  EXPECT_EQ(box->ClientWidth(), 150 - in.Left - in.Right);
  // The last page of the content at the new client height.
  EXPECT_EQ(vbar->PageSize(), clientHeight);
  EXPECT_EQ(vbar->Max(), 259);
  EXPECT_EQ(box->VertPosition(), 160);
  EXPECT_EQ(vbar->Position(), 160);
  EXPECT_EQ(content->Top(), -160);

  // At the last page, a skin without a frame for the box: the client grows
  // and the last page moves up with it.
  box->SetVertPosition(1000);
  ASSERT_EQ(box->VertPosition(), 260 - clientHeight);
  box->SetSkinDataName("noscrollbox");
  box->BeforeChangeSkinData();
  box->ChangeSkinData();
  Pump();
  EXPECT_EQ(box->ClientHeight(), 100);
  EXPECT_EQ(vbar->PageSize(), 100);
  EXPECT_EQ(box->VertPosition(), 160);
  EXPECT_EQ(vbar->Position(), 160);
  EXPECT_EQ(content->Top(), -160);

  // Unlinking the skin gives the borders back just the same.
  box->SetSkinDataName("scrollbox");
  box->ChangeSkinData();
  Pump();
  ASSERT_EQ(box->ClientHeight(), clientHeight);
  box->SetSkinData(nullptr);
  Pump();
  EXPECT_EQ(box->ClientHeight(), 100);
  EXPECT_EQ(vbar->PageSize(), 100);
  EXPECT_EQ(box->VertPosition(), 160);
}

TEST_F(SkinScrollBoxFollow, ASkinChangeRealignsChildrenToTheNewClient) {
  auto* filler = new TProbe(form);
  filler->SetParent(box);
  filler->SetAlign(alClient);
  Pump();
  EXPECT_EQ(filler->BoundsRect(), (TRect{0, 0, 150, 100}));
  box->SetSkinData(MainSkin().Skin.get());
  Pump();
  EXPECT_EQ(filler->Width(), box->ClientWidth());
  EXPECT_EQ(filler->Height(), box->ClientHeight());
}

}  // namespace
}  // namespace qz::testing
