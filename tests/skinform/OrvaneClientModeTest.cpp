// The controller in client mode on the main skin: an 820 x 602 stretchable
// picture drawn in the client area of a borderless form, without a roll-up
// picture.
#include <gtest/gtest.h>

#include "tests/skinform/OrvaneTestSupport.h"

namespace qz::testing {
namespace {

using OrvaneClientMode = OrvaneTest;

TEST_F(OrvaneClientMode, ClientSizeIsRaisedToThePicture) {
  auto s = MakeSkinned(MainSkin(), Bounds(50, 50, 300, 200), true);
  EXPECT_EQ(s.Form->ClientWidth(), 820);
  EXPECT_EQ(s.Form->ClientHeight(), 602);
  EXPECT_EQ(s.Orvane->Rects().NewClRect, (TRect{600, 400, 604, 404}));
  // Without a roll-up picture the form never rolls up.
  s.Orvane->RollUp();
  EXPECT_FALSE(s.Orvane->IsRolledUp());
  EXPECT_EQ(s.Form->ClientHeight(), 602);
}

TEST_F(OrvaneClientMode, SizeGripAnswersOnlyWhenSizeable) {
  auto s = MakeSkinned(MainSkin(), Bounds(0, 0, 1000, 700), true);
  ASSERT_EQ(s.Form->ClientWidth(), 1000);
  EXPECT_EQ(HitAt(s.Form, {999, 699}), HTBOTTOMRIGHT);
  EXPECT_EQ(HitAt(s.Form, {500, 20}), HTCLIENT);
  s.Orvane->SetSizeable(false);
  EXPECT_EQ(HitAt(s.Form, {999, 699}), HTCLIENT);
  // Maximised: no sizing either.
  s.Orvane->SetSizeable(true);
  s.Orvane->SetWindowState(wsMaximized);
  EXPECT_EQ(HitAt(s.Form, {1919, 1039}), HTCLIENT);
}

TEST_F(OrvaneClientMode, BoundControlFollowsItsSkinArea) {
  auto s = MakeSkinned(MainSkin(), Bounds(0, 0, 820, 602), true);
  auto* panel = new TPanel(s.Form);
  panel->SetParent(s.Form);
  panel->SetAlign(alClient);
  s.Orvane->BindControlToArea("pagearea", panel);
  EXPECT_EQ(panel->Align(), alNone);
  EXPECT_EQ(panel->BoundsRect(), (TRect{29, 172, 424, 555}));
  s.Form->SetBounds(0, 0, 1000, 700);
  Pump();
  EXPECT_EQ(panel->BoundsRect(), (TRect{29, 172, 424, 653}));

  // Unknown areas bind nothing.
  auto* other = new TPanel(s.Form);
  other->SetParent(s.Form);
  other->SetBoundsRect({1, 2, 3, 4});
  s.Orvane->BindControlToArea("nosucharea", other);
  s.Form->SetBounds(0, 0, 900, 650);
  Pump();
  EXPECT_EQ(other->BoundsRect(), (TRect{1, 2, 3, 4}));

  // A skin change drops the bindings; OnChangeSkinData binds again.
  s.Orvane->OnChangeSkinData = [&](TObject*) { s.Orvane->BindControlToArea("pagearea2", panel); };
  s.Skin->LoadFromCompressedData(MainSkin().Compressed);
  Pump();
  EXPECT_EQ(panel->BoundsRect().Left, 443);
}

TEST_F(OrvaneClientMode, DraggableFormMovesWithTheMouse) {
  auto s = MakeSkinned(MainSkin(), Bounds(100, 100, 820, 602), true);
  s.Orvane->DraggAble = true;
  Drag({100 + 300, 100 + 300}, {100 + 340, 100 + 330});
  EXPECT_EQ(s.Form->BoundsRect(), Bounds(140, 130, 820, 602));
  EXPECT_EQ(GetCapture(), nullptr);

  s.Orvane->DraggAble = false;
  Drag({140 + 300, 130 + 300}, {140 + 400, 130 + 400});
  EXPECT_EQ(s.Form->BoundsRect(), Bounds(140, 130, 820, 602));
}

TEST_F(OrvaneClientMode, MagneticDragDoesNotSnapAtTheZoneSize) {
  auto s = MakeSkinned(MainSkin(), Bounds(100, 100, 820, 602), true);
  s.Orvane->DraggAble = true;
  s.Orvane->Magnetic = true;
  // The left edge ends 10 pixels from the work area: outside the zone.
  Drag({100 + 300, 100 + 300}, {10 + 300, 100 + 300});
  EXPECT_EQ(s.Form->Left(), 10);
}

TEST_F(OrvaneClientMode, PositionInMonitorCentresOnFirstShow) {
  auto s = MakeSkinned(MainSkin(), Bounds(0, 0, 820, 602), true, false);
  s.Orvane->PositionInMonitor = qzpDesktopCenter;
  s.Form->Show();
  Pump();
  // Work area 1920 x 1040: 960 - 410, 520 - 301.
  EXPECT_EQ(s.Form->BoundsRect(), Bounds(550, 219, 820, 602));
}

TEST_F(OrvaneClientMode, MouseTimerStopsWhenTheMouseLeaves) {
  auto s = MakeSkinned(MainSkin(), Bounds(0, 0, 820, 602), true);
  AddCaption(*s.Orvane, {10, 10, 200, 40});
  Move({100, 20});
  EXPECT_TRUE(s.Orvane->MouseTimerActive());
  Ticks(1, 60);
  EXPECT_EQ(s.Orvane->ActiveObject(), 0);
  Move({1500, 900});
  Ticks(1, 60);
  EXPECT_EQ(s.Orvane->ActiveObject(), -1);
  EXPECT_FALSE(s.Orvane->MouseTimerActive());
}

}  // namespace
}  // namespace qz::testing
