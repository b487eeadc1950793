// The "Edit" page of the main window's second page control: the three group
// boxes scroll in a skinned scroll box that fills the right panel, with the
// vertical scroll bar at the panel's right edge.
#include <gtest/gtest.h>

#include <cstdlib>
#include <string>
#include <vector>

#include "app/Unit1.h"
#include "app/Unit2.h"
#include "host/ui/Application.h"
#include "skin/controls/SkinButton.h"
#include "skin/controls/SkinPageControl.h"
#include "skin/controls/SkinPanel.h"
#include "skin/controls/SkinScrollBox.h"
#include "tests/host_ui/UiTestSupport.h"

namespace qz::testing {
namespace {

class DemoEditPageScroll : public UiTest {
 protected:
  void SetUp() override {
    UiTest::SetUp();
    Application->CreateForm(Form1);
    Application->CreateForm(Form2);
    Form1->Show();
    Settle(600);
    hp->InjectClick(Form1->qzSkinButton2->ClientToScreen({10, 10}));
    Settle(100);
    box = Form1->FindChild<TqzSkinScrollBox>("qzSkinScrollBox1");
    bar = Form1->FindChild<TqzSkinScrollBar>("qzSkinScrollBar1");
    panel = Form1->FindChild<TqzSkinPanel>("qzSkinPanel2");
    for (const char* name : {"qzSkinGroupBox1", "qzSkinGroupBox2", "qzSkinGroupBox3"})
      groups.push_back(Form1->FindChild<TControl>(name));
  }
  void Settle(int ms) {
    Pump();
    for (int t = 0; t < ms; t += 25) {
      hp->AdvanceClock(25);
      Pump();
    }
  }
  TForm1* Form1 = nullptr;
  TForm2* Form2 = nullptr;
  TqzSkinScrollBox* box = nullptr;
  TqzSkinScrollBar* bar = nullptr;
  TqzSkinPanel* panel = nullptr;
  std::vector<TControl*> groups;
};

TEST_F(DemoEditPageScroll, GroupBoxesStackInTheScrollBoxFillingThePanel) {
  ASSERT_NE(box, nullptr);
  ASSERT_NE(bar, nullptr);
  ASSERT_NE(panel, nullptr);
  ASSERT_EQ(Form1->qzSkinPageControl2->ActivePageIndex(), 1);
  EXPECT_EQ(box->Parent(), panel);
  EXPECT_EQ(bar->Parent(), panel);
  EXPECT_EQ(box->VScrollBar(), bar);
  EXPECT_EQ(bar->Kind(), sbVertical);
  // The panel's room inside its one-pixel frame.
  EXPECT_EQ(box->BoundsRect(), InflateRect(panel->ClientRect(), -1, -1));
  int top = 0;
  for (TControl* g : groups) {
    ASSERT_NE(g, nullptr);
    EXPECT_EQ(g->Parent(), box);
    EXPECT_EQ(g->Top(), top);
    EXPECT_EQ(g->Width(), box->ClientWidth());
    top += g->Height();
  }
  // Everything fits: no bar.
  EXPECT_EQ(box->VertRange(), top);
  EXPECT_FALSE(bar->Visible());
}

TEST_F(DemoEditPageScroll, TallContentShowsTheBarAtTheRightAndScrolls) {
  ASSERT_EQ(groups.size(), 3u);
  const TRect room = box->BoundsRect();
  groups[2]->SetHeight(500);
  Settle(50);
  ASSERT_TRUE(bar->Visible());
  EXPECT_EQ(bar->BoundsRect(), (TRect{room.Right - bar->Width(), room.Top, room.Right, room.Bottom}));
  EXPECT_EQ(box->BoundsRect(), (TRect{room.Left, room.Top, room.Right - bar->Width(), room.Bottom}));
  EXPECT_EQ(groups[0]->Width(), box->ClientWidth());
  const int content = groups[0]->Height() + groups[1]->Height() + 500;
  EXPECT_EQ(bar->Max(), content - 1);
  EXPECT_EQ(bar->PageSize(), box->ClientHeight());

  // The thumb dragged to the end shows the last page.
  const TRect thumb = bar->Layout().Thumb;
  hp->InjectMouseMove(bar->ClientToScreen({thumb.Left + 2, thumb.Top + 2}));
  hp->InjectMouseDown();
  hp->InjectMouseMove(bar->ClientToScreen({thumb.Left + 2, bar->Height() + 200}));
  hp->InjectMouseUp();
  Settle(50);
  EXPECT_EQ(box->VertPosition(), content - box->ClientHeight());
  EXPECT_EQ(groups[2]->BoundsRect().Bottom, box->ClientHeight());
  if (const char* dir = std::getenv("QZ_TEST_SHOTS")) hp->SaveScreenPng(std::string(dir) + "/edit_page_scrolled.png");
}

// The children that reach to the right of their group follow the room the
// bar leaves: same distance to the group's right edge with the bar shown as
// without it, and back to their widths when it goes.
TEST_F(DemoEditPageScroll, ChildrenAnchoredRightStayInsideTheRoomTheBarLeaves) {
  ASSERT_EQ(groups.size(), 3u);
  struct TChild {
    TControl* control;
    int gap;  // to the group's right edge
    int width;
  };
  std::vector<TChild> children;
  for (const char* name : {"qzSkinEdit1", "qzSkinCheckRadioBox1", "listbox1"}) {
    auto* c = Form1->FindChild<TControl>(name);
    ASSERT_NE(c, nullptr) << name;
    children.push_back({c, c->Parent()->ClientWidth() - c->BoundsRect().Right, c->Width()});
    EXPECT_GT(children.back().gap, 0) << name;
  }
  const int height = groups[2]->Height();
  groups[2]->SetHeight(500);
  Settle(50);
  ASSERT_TRUE(bar->Visible());
  for (const TChild& c : children) {
    EXPECT_EQ(c.control->Parent()->ClientWidth() - c.control->BoundsRect().Right, c.gap) << c.control->Name();
    EXPECT_EQ(c.control->Width(), c.width - bar->Width()) << c.control->Name();
  }
  groups[2]->SetHeight(height);
  Settle(50);
  ASSERT_FALSE(bar->Visible());
  for (const TChild& c : children) EXPECT_EQ(c.control->Width(), c.width) << c.control->Name();
}

}  // namespace
}  // namespace qz::testing
