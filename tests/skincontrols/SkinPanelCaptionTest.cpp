// The panel's caption line: where its pieces go, and what a release in it
// toggles (Checked, RollUpState with the saved size constraints), also when
// a handler frees the panel.
#include "tests/skincontrols/SkinPanelTestKit.h"

namespace qz::testing {
namespace {

// The caption (2,2,58,18): check 8 x 8, marker 12 x 12, text 30 x 13, odd font.
TqzCaptionParts CappanelParts(int alignment) {
  TqzCaptionParts p;
  p.Check = {8, 8};
  p.Marker = {12, 12};
  p.Text = {30, 13};
  p.Alignment = alignment;
  p.Spacing = 2;
  p.OddFontHeight = true;
  return p;
}
const TRect kCaption{2, 2, 58, 18};

TEST(PanelCaptionLayout, CheckLeftMarkerRightTextAlignedInBetween) {
  const TqzCaptionLayout left = LayoutCaption(kCaption, CappanelParts(0));
  EXPECT_EQ(left.Check, (TRect{2, 6, 10, 14}));
  EXPECT_EQ(left.Marker, (TRect{46, 4, 58, 16}));
  EXPECT_EQ(left.Text, (TPoint{12, 3}));  // 2 + 16/2 - 13/2 - 1
  EXPECT_TRUE(left.Frame.IsEmpty());
  // What is left between them: 12 .. 44.
  EXPECT_EQ(LayoutCaption(kCaption, CappanelParts(1)).Text.X, 14);
  EXPECT_EQ(LayoutCaption(kCaption, CappanelParts(2)).Text.X, 13);
  TqzCaptionParts even = CappanelParts(0);
  even.OddFontHeight = false;
  EXPECT_EQ(LayoutCaption(kCaption, even).Text.Y, 4);
}

TEST(PanelCaptionLayout, ImageBesideTheTextOrAtTheFarLeft) {
  TqzCaptionParts p = CappanelParts(2);
  p.Image = {16, 16};
  TqzCaptionLayout beside = LayoutCaption(kCaption, p);
  EXPECT_EQ(beside.Image, (TRect{4, 2, 20, 18}));  // 12 + 16 - 48/2
  EXPECT_EQ(beside.Text.X, 22);
  p.ImageFarLeft = true;
  TqzCaptionLayout farLeft = LayoutCaption(kCaption, p);
  EXPECT_EQ(farLeft.Image, (TRect{12, 2, 28, 18}));
  EXPECT_EQ(farLeft.Text.X, 22);  // centred in 30 .. 44
}

TEST(PanelCaptionLayout, FrameWideEnoughForTheTextPlusItsMargins) {
  TqzCaptionParts p = CappanelParts(0);
  p.FrameRect = {0, 0, 40, 14};
  p.FrameTextRect = {6, 2, 34, 12};
  const TqzCaptionLayout l = LayoutCaption(kCaption, p);
  EXPECT_EQ(l.Frame, (TRect{12, 3, 54, 17}));  // 30 + (40 - 28) wide
  EXPECT_EQ(l.Text.X, 18);
  p.Alignment = 1;
  EXPECT_EQ(LayoutCaption(kCaption, p).Frame, (TRect{2, 3, 44, 17}));
}

// ---------------------------------------------------------------------------

class SkinPanelToggleTest : public SkinPanelTest {
 protected:
  TqzSkinPanel* Panel(const std::string& name = "cappanel") {
    auto* p = Make<TqzSkinPanel>(name, 20, 20, 150, 100);
    p->SetCaption("Video codec");
    p->SetCaptionMode(true);
    p->SetCheckedMode(true);
    p->SetRollUpMode(true);
    p->OnChecked = [this](TObject*) { ++checkedEvents; };
    p->OnChangeRollUpState = [this](TObject*) { ++rollEvents; };
    return p;
  }
  void Release(TControl* c, TPoint at, TMouseButtonId button = TMouseButtonId::Left) {
    hp->InjectClick(c->ClientToScreen(at), button);
    Pump();
  }
  int checkedEvents = 0, rollEvents = 0;
};

TEST_F(SkinPanelToggleTest, ReleaseInsideTheCaptionTogglesCheckedAndRollsUp) {
  TqzSkinPanel* panel = Panel();
  // (2,2,58,18) of the description at 150 x 100: the right edge follows.
  EXPECT_EQ(panel->CaptionHitRect(), (TRect{2, 2, 148, 18}));
  Release(panel, {100, 50});  // the client area
  Release(panel, {1, 10});    // the border beside the caption
  Release(panel, {100, 10}, TMouseButtonId::Right);
  EXPECT_FALSE(panel->Checked());
  EXPECT_FALSE(panel->RollUpState());
  EXPECT_EQ(checkedEvents + rollEvents, 0);

  Release(panel, {100, 10});
  EXPECT_TRUE(panel->Checked());
  EXPECT_TRUE(panel->RollUpState());
  EXPECT_EQ(checkedEvents, 1);
  EXPECT_EQ(rollEvents, 1);
  // Rolled up to the caption: the top border (20) and the bottom one (10).
  EXPECT_EQ(panel->Height(), 30);
  EXPECT_EQ(panel->RealHeight(), 100);

  Release(panel, {100, 10});
  EXPECT_FALSE(panel->Checked());
  EXPECT_FALSE(panel->RollUpState());
  EXPECT_EQ(panel->Height(), 100);
  EXPECT_EQ(panel->RealHeight(), -1);
  EXPECT_EQ(rollEvents, 2);
}

TEST_F(SkinPanelToggleTest, WithoutCaptionModeOrModesNothingToggles) {
  TqzSkinPanel* panel = Panel();
  panel->SetCaptionMode(false);
  Release(panel, {100, 10});
  EXPECT_FALSE(panel->Checked());
  EXPECT_FALSE(panel->RollUpState());

  TqzSkinPanel* checkOnly = Panel();
  checkOnly->SetRollUpMode(false);
  Release(checkOnly, {100, 10});
  EXPECT_TRUE(checkOnly->Checked());
  EXPECT_FALSE(checkOnly->RollUpState());
  EXPECT_EQ(checkOnly->Height(), 100);
}

TEST_F(SkinPanelToggleTest, PlainPanelTogglesInItsDefaultCaptionBand) {
  TqzSkinPanel* panel = Panel("nosuchpanel");
  EXPECT_EQ(panel->CaptionHitRect(), (TRect{1, 1, 149, 22}));
  Release(panel, {100, 30});
  EXPECT_FALSE(panel->Checked());
  Release(panel, {100, 5});
  EXPECT_TRUE(panel->Checked());
  EXPECT_EQ(panel->Height(), 23);  // the band and its rule
}

TEST_F(SkinPanelToggleTest, RollUpClearsTheSizeConstraintsAndPutsThemBack) {
  TqzSkinPanel* panel = Panel();
  panel->Constraints().MinHeight = 80;
  panel->Constraints().MaxWidth = 200;
  panel->SetBounds(20, 20, 250, 50);
  EXPECT_EQ(panel->Width(), 200);
  EXPECT_EQ(panel->Height(), 80);

  panel->SetRollUpState(true);
  EXPECT_EQ(panel->Height(), 30);
  EXPECT_TRUE(panel->Constraints().Empty());
  EXPECT_EQ(rollEvents, 1);

  panel->SetRollUpState(false);
  EXPECT_EQ(panel->Height(), 80);
  EXPECT_EQ(panel->Constraints().MinHeight, 80);
  EXPECT_EQ(panel->Constraints().MaxWidth, 200);
  EXPECT_EQ(rollEvents, 2);

  // Leaving roll-up mode while rolled up restores and keeps the state false.
  panel->SetRollUpState(true);
  panel->SetRollUpMode(false);
  EXPECT_FALSE(panel->RollUpState());
  EXPECT_EQ(panel->Height(), 80);
  EXPECT_EQ(panel->Constraints().MinHeight, 80);
  panel->SetRollUpState(true);  // no effect without roll-up mode
  EXPECT_FALSE(panel->RollUpState());
  EXPECT_EQ(panel->Height(), 80);
}

TEST_F(SkinPanelToggleTest, AutoEnabledControlsFollowChecked) {
  TqzSkinPanel* panel = Panel();
  auto* child = new TqzSkinStdLabel(form);
  child->SetParent(panel);
  panel->SetAutoEnabledControls(true);
  EXPECT_FALSE(child->Enabled());
  panel->SetChecked(true);
  EXPECT_TRUE(child->Enabled());
}

TEST_F(SkinPanelToggleTest, AHandlerMayFreeThePanel) {
  TqzSkinPanel* checkedFrees = Panel();
  checkedFrees->OnChecked = [checkedFrees](TObject*) { delete checkedFrees; };
  TComponentRef<TqzSkinPanel> first(checkedFrees);
  Release(checkedFrees, {100, 10});
  EXPECT_FALSE(first);

  TqzSkinPanel* rollFrees = Panel();
  rollFrees->OnChangeRollUpState = [rollFrees](TObject*) { delete rollFrees; };
  TComponentRef<TqzSkinPanel> second(rollFrees);
  const TPoint at = rollFrees->ClientToScreen({100, 10});
  hp->InjectClick(at);
  Pump();
  EXPECT_FALSE(second);

  // The collapse itself resizes the panel: a resize handler may free it too.
  TqzSkinPanel* resizeFrees = Panel();
  TComponentRef<TqzSkinPanel> third(resizeFrees);
  resizeFrees->OnResize = [resizeFrees](TObject*) { delete resizeFrees; };
  Release(resizeFrees, {100, 10});
  EXPECT_FALSE(third);
  EXPECT_EQ(rollEvents, 0);
}

}  // namespace
}  // namespace qz::testing
