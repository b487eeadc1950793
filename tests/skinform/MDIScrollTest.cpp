// The MDI client's scroll bars: their geometry, and how the skinned MDI
// form keeps them in line with its children (moves, destruction, maximised
// children, client resizes) and scrolls the children with them.
#include <gtest/gtest.h>

#include "skin/form/MDIScrollBars.h"
#include "tests/skinform/MDIFormRig.h"

namespace qz {
namespace {

TEST(MDIScrollGeometry, BarsOnlyWhereChildrenReachOutAndEachTakesRoomFromTheOther) {
  TqzMDIScrollInput in;
  in.Area = {300, 200};
  in.HorzThickness = 19;
  in.VertThickness = 17;
  EXPECT_FALSE(CalcMDIScroll(in).Horz.Visible);  // no children

  in.Children = {{10, 10, 100, 100}, {200, 50, 300, 200}};
  TqzMDIScrollLayout l = CalcMDIScroll(in);
  EXPECT_FALSE(l.Horz.Visible);
  EXPECT_FALSE(l.Vert.Visible);
  EXPECT_EQ(l.Client, (TSize{300, 200}));

  // Past the right edge: the range spans the client and the child.
  in.Children = {{10, 10, 400, 100}};
  l = CalcMDIScroll(in);
  ASSERT_TRUE(l.Horz.Visible);
  EXPECT_FALSE(l.Vert.Visible);
  EXPECT_EQ(l.Horz.Max, 399);
  EXPECT_EQ(l.Horz.Page, 300);
  EXPECT_EQ(l.Horz.Position, 0);
  EXPECT_EQ(l.Client, (TSize{300, 181}));

  // Left of and above the origin: the positions say how far.
  in.Children = {{-50, -20, 100, 100}};
  l = CalcMDIScroll(in);
  ASSERT_TRUE(l.Horz.Visible && l.Vert.Visible);
  EXPECT_EQ(l.Client, (TSize{283, 181}));
  EXPECT_EQ(l.Horz.Max, 283 + 50 - 1);
  EXPECT_EQ(l.Horz.Page, 283);
  EXPECT_EQ(l.Horz.Position, 50);
  EXPECT_EQ(l.Vert.Max, 181 + 20 - 1);
  EXPECT_EQ(l.Vert.Position, 20);

  // Fits in height only while there is no horizontal bar: both show.
  in.Children = {{0, 0, 400, 190}};
  l = CalcMDIScroll(in);
  EXPECT_TRUE(l.Horz.Visible);
  EXPECT_TRUE(l.Vert.Visible);
  EXPECT_EQ(l.Horz.Max, 399);
  EXPECT_EQ(l.Horz.Page, 283);

  in.ChildrenMaximized = true;
  l = CalcMDIScroll(in);
  EXPECT_FALSE(l.Horz.Visible || l.Vert.Visible);
  EXPECT_EQ(l.Client, (TSize{300, 200}));
}

class MDIScrollTest : public testing::MDIFormTest {};

TEST_F(MDIScrollTest, MovesDestructionAndMaximisedChildrenRecomputeTheBars) {
  MakeMain();
  auto a = Child("A");
  auto b = Child("B");
  a.Form->SetBoundsRect(Rect(10, 10, 210, 150));
  b.Form->SetBoundsRect(Rect(20, 20, 200, 140));
  const int W = Client().ClientWidth(), H = Client().ClientHeight();
  EXPECT_FALSE(HBar().Visible());
  EXPECT_FALSE(VBar().Visible());
  // Skinned with the MDI form's skin, beside the client.
  EXPECT_EQ(HBar().SkinData(), s_.Skin);
  EXPECT_EQ(HBar().Parent(), main_);

  b.Form->SetBounds(W - 50, 20, 180, 120);
  Pump();
  ASSERT_TRUE(HBar().Visible());
  EXPECT_FALSE(VBar().Visible());
  EXPECT_EQ(Client().ClientHeight(), H - HBar().Height());
  EXPECT_EQ(HBar().Max(), W - 50 + 180 - 1);
  EXPECT_EQ(HBar().PageSize(), W);
  EXPECT_EQ(HBar().Position(), 0);

  // A child's own notice with its handle leaves that child out.
  SendMessage(main_->Handle(), kMDIScrollChanged, static_cast<WPARAM>(b.Form->Handle().Value()), 0);
  EXPECT_FALSE(HBar().Visible());
  EXPECT_EQ(Client().ClientHeight(), H);
  SendMessage(main_->Handle(), kMDIScrollChanged, 0, 0);
  EXPECT_TRUE(HBar().Visible());

  // Back inside: hidden again; out below: the vertical one.
  b.Form->SetBounds(20, 20, 180, 120);
  EXPECT_FALSE(HBar().Visible());
  b.Form->SetBounds(20, H - 10, 180, 120);
  EXPECT_TRUE(VBar().Visible());
  EXPECT_EQ(Client().ClientWidth(), W - VBar().Width());

  // Maximised children: no bars, and the child fills the whole client.
  a.Orvane->Maximize();
  Pump();
  EXPECT_FALSE(VBar().Visible());
  EXPECT_EQ(a.Form->BoundsRect(), Rect(0, 0, W, H));
  a.Orvane->Restore();
  Pump();
  EXPECT_TRUE(VBar().Visible());

  // The child that reached out is destroyed: the bar goes.
  delete b.Form;
  Pump();
  EXPECT_FALSE(VBar().Visible());
  EXPECT_EQ(Client().ClientWidth(), W);
}

TEST_F(MDIScrollTest, MovingABarScrollsEveryChildAndBothBarsLeaveTheCorner) {
  MakeMain();
  auto a = Child("A", Rect(10, 10, 210, 150));
  const int W = Client().ClientWidth(), H = Client().ClientHeight();
  auto b = Child("B");
  b.Form->SetBoundsRect(Rect(W - 50, H - 40, W + 150, H + 60));  // children come at default places
  a.Form->SetBoundsRect(Rect(10, 10, 210, 150));
  Pump();
  ASSERT_TRUE(HBar().Visible());
  ASSERT_TRUE(VBar().Visible());
  EXPECT_TRUE(HBar().Both());
  EXPECT_EQ(HBar().BothMarkerWidth(), VBar().Width());

  HBar().SetPosition(100);
  Pump();
  EXPECT_EQ(a.Form->Left(), 10 - 100);
  EXPECT_EQ(b.Form->Left(), W - 50 - 100);
  // The range starts at the leftmost child now (the empty strip left of A
  // scrolled away): the position is A's distance from the origin.
  EXPECT_EQ(HBar().Position(), 90);
  VBar().SetPosition(30);
  Pump();
  EXPECT_EQ(a.Form->Top(), 10 - 30);
  EXPECT_EQ(b.Form->Top(), H - 40 - 30);
  EXPECT_EQ(VBar().Position(), 20);

  HBar().SetPosition(0);
  VBar().SetPosition(0);
  Pump();
  EXPECT_EQ(a.Form->BoundsRect(), Rect(0, 0, 200, 140));
  EXPECT_EQ(b.Form->BoundsRect(), Rect(W - 60, H - 50, W + 140, H + 50));
  EXPECT_EQ(HBar().Position(), 0);
  EXPECT_EQ(HBar().Max(), W + 140 - 1);
}

TEST_F(MDIScrollTest, ClientResizesRecomputeAndTheSwitchKeepsThemHidden) {
  MakeMain();
  const int W = Client().ClientWidth();
  auto a = Child("A");
  a.Form->SetBoundsRect(Rect(0, 0, W - 20, 100));
  EXPECT_FALSE(HBar().Visible());
  main_->SetWidth(main_->Width() - 60);
  Pump();
  EXPECT_TRUE(HBar().Visible());
  EXPECT_EQ(HBar().PageSize(), W - 60);
  main_->SetWidth(main_->Width() + 60);
  Pump();
  EXPECT_FALSE(HBar().Visible());

  s_.Orvane->ShowMDIScrollBars = false;
  a.Form->SetBounds(-40, 0, W - 20, 100);
  Pump();
  EXPECT_FALSE(HBar().Visible());
  EXPECT_EQ(Client().ClientWidth(), W);
}

// The bars appear while the form realigns after a resize: they still sit
// along the client's right and bottom edges (the client gives them room),
// however the form is narrowed or widened again.
TEST_F(MDIScrollTest, BarsSitAtTheClientsEdgesAfterEveryResize) {
  MakeMain();
  for (const char* name : {"A", "B", "C", "D"}) Child(name);
  main_->Cascade();
  Pump();
  const TSize start{main_->Width(), main_->Height()};
  struct Step {
    const char* name;
    int dw, dh;
    bool bars;  // any bar shown
  } steps[] = {
      {"a little narrower", -10, 0, true},
      {"narrower", -300, 0, true},
      {"lower too", -300, -200, true},
      {"back", 0, 0, false},
  };
  for (const Step& st : steps) {
    SCOPED_TRACE(st.name);
    main_->SetBounds(main_->Left(), main_->Top(), start.cx + st.dw, start.cy + st.dh);
    Pump();
    ASSERT_EQ(HBar().Visible() || VBar().Visible(), st.bars);
    const TRect client = Client().BoundsRect();
    if (HBar().Visible()) {
      // The whole width: the corner beside the vertical bar is the bar's own.
      EXPECT_EQ(HBar().BoundsRect(), (TRect{client.Left, client.Bottom, main_->ClientWidth(), main_->ClientHeight()}));
    } else {
      EXPECT_EQ(client.Bottom, main_->ClientHeight());
    }
    if (VBar().Visible()) {
      EXPECT_EQ(VBar().Left(), client.Right);
      EXPECT_EQ(VBar().BoundsRect().Right, main_->ClientWidth());
      EXPECT_EQ(VBar().Top(), client.Top);
      EXPECT_EQ(VBar().BoundsRect().Bottom, client.Bottom);
    } else {
      EXPECT_EQ(client.Right, main_->ClientWidth());
    }
  }
}

// A plain child has no controller to report its moves: the form hears of
// them from the host all the same.
TEST_F(MDIScrollTest, APlainChildsMovesAndResizesRecomputeTheBars) {
  MakeMain();
  auto* plain = new TForm(Application);
  plain->SetBounds(10, 10, 200, 140);
  plain->SetFormStyle(fsMDIChild);
  Pump();
  const int W = Client().ClientWidth(), H = Client().ClientHeight();
  EXPECT_FALSE(HBar().Visible());
  plain->SetBounds(W - 50, 10, 200, 140);
  Pump();
  ASSERT_TRUE(HBar().Visible());
  EXPECT_EQ(HBar().Max(), W - 50 + 200 - 1);
  plain->SetBounds(W - 50, 10, 40, 140);  // narrower: inside again
  Pump();
  EXPECT_FALSE(HBar().Visible());
  plain->SetBounds(10, H - 20, 200, 140);
  Pump();
  EXPECT_TRUE(VBar().Visible());
  delete plain;
  Pump();
  EXPECT_FALSE(VBar().Visible());
}

}  // namespace
}  // namespace qz
