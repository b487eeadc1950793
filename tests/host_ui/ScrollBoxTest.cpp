// The host scroll box: ranges that follow the children, pixel scrolling,
// the wheel, and bringing a control into view.
#include <gtest/gtest.h>

#include "host/ui/ScrollBox.h"
#include "tests/host_ui/UiTestSupport.h"

namespace qz::testing {
namespace {

class ScrollBoxTest : public UiTest {
 protected:
  void SetUp() override {
    UiTest::SetUp();
    form = MakeForm({100, 100, 500, 400}, bsNone);
    box = new TScrollBox(form);
    box->SetParent(form);
    box->SetBounds(10, 10, 200, 100);
    box->OnScroll = [this](TObject*) { ++scrolls; };
    box->OnRangeChange = [this](TObject*) { ++rangeChanges; };
    Pump();
  }
  TControl* Child(TRect r, bool windowed = true) {
    TControl* c = windowed ? static_cast<TControl*>(new TProbe(form)) : new TBevel(form);
    c->SetParent(box);
    c->SetBoundsRect(r);
    return c;
  }

  TForm* form = nullptr;
  TScrollBox* box = nullptr;
  int scrolls = 0, rangeChanges = 0;
};

TEST_F(ScrollBoxTest, RangeFollowsChildrenAddedMovedResizedAndRemoved) {
  EXPECT_EQ(box->VertRange(), 0);
  TControl* a = Child({0, 0, 50, 80});
  EXPECT_EQ(box->VertRange(), 80);
  EXPECT_EQ(box->MaxVertPosition(), 0);
  TControl* b = Child({20, 150, 60, 250}, false);
  EXPECT_EQ(box->VertRange(), 250);
  EXPECT_EQ(box->MaxVertPosition(), 150);
  b->SetHeight(20);  // 150 .. 170
  EXPECT_EQ(box->VertRange(), 170);
  b->SetLeft(300);
  EXPECT_EQ(box->HorzRange(), 340);
  b->SetVisible(false);
  EXPECT_EQ(box->VertRange(), 80);
  EXPECT_EQ(box->HorzRange(), 50);
  b->SetVisible(true);
  delete b;
  EXPECT_EQ(box->VertRange(), 80);
  delete a;
  EXPECT_EQ(box->VertRange(), 0);
  EXPECT_GE(rangeChanges, 6);
}

TEST_F(ScrollBoxTest, ScrollingMovesChildrenAndKeepsTheRange) {
  TControl* a = Child({5, 10, 50, 40});
  TControl* b = Child({5, 200, 50, 300}, false);
  box->SetVertPosition(150);
  EXPECT_EQ(box->VertPosition(), 150);
  EXPECT_EQ(a->Top(), -140);
  EXPECT_EQ(b->Top(), 50);
  EXPECT_EQ(box->VertRange(), 300);
  EXPECT_EQ(scrolls, 1);
  // Clamped to the last page.
  box->SetVertPosition(1000);
  EXPECT_EQ(box->VertPosition(), 200);
  EXPECT_EQ(b->Top(), 0);
  // A child moved while scrolled counts in content coordinates.
  b->SetTop(100);  // content 300 .. 400
  EXPECT_EQ(box->VertRange(), 400);
  // Content that still fills the client keeps the position ...
  b->SetHeight(10);  // content 300 .. 310
  EXPECT_EQ(box->VertPosition(), 200);
  // ... content that no longer does pulls it back.
  b->SetTop(0);  // content 200 .. 210
  EXPECT_EQ(box->VertPosition(), 110);
  EXPECT_EQ(a->Top() + box->VertPosition(), 10);
}

TEST_F(ScrollBoxTest, GrowingBoxScrollsBackOverEmptySpace) {
  TControl* a = Child({0, 0, 50, 300});
  box->SetVertPosition(200);
  box->SetHeight(250);
  EXPECT_EQ(box->VertPosition(), 50);
  EXPECT_EQ(a->Top(), -50);
  box->SetHeight(400);
  EXPECT_EQ(box->VertPosition(), 0);
  EXPECT_EQ(a->Top(), 0);
}

TEST_F(ScrollBoxTest, TopAlignedChildrenStackInTheScrolledArea) {
  TControl* a = Child({0, 0, 10, 70});
  a->SetAlign(alTop);
  TControl* b = Child({0, 0, 10, 90});
  b->SetAlign(alTop);
  EXPECT_EQ(box->VertRange(), 160);
  EXPECT_EQ(box->HorzRange(), 0);  // they follow the width
  EXPECT_EQ(b->Top(), 70);
  EXPECT_EQ(b->Width(), 200);
  box->SetVertPosition(60);
  EXPECT_EQ(a->Top(), -60);
  EXPECT_EQ(b->Top(), 10);
  // Realigning keeps the scroll.
  a->SetHeight(80);
  EXPECT_EQ(b->Top(), 20);
  EXPECT_EQ(box->VertRange(), 170);
}

TEST_F(ScrollBoxTest, WheelScrollsEvenWithAChildFocused) {
  box->SetWheelStep(30);
  auto* a = static_cast<TProbe*>(Child({0, 0, 50, 400}));
  a->SetTabStop(true);
  a->SetFocus();
  Pump();
  ASSERT_TRUE(a->Focused());
  hp->InjectWheel(-120);
  Pump();
  EXPECT_EQ(box->VertPosition(), 30);
  hp->InjectWheel(-240);
  Pump();
  EXPECT_EQ(box->VertPosition(), 90);
  hp->InjectWheel(600);
  Pump();
  EXPECT_EQ(box->VertPosition(), 0);
}

TEST_F(ScrollBoxTest, FocusEnteringTheBoxBringsTheControlIntoView) {
  Child({0, 0, 50, 40});
  auto* far = static_cast<TProbe*>(Child({10, 250, 60, 280}));
  far->SetTabStop(true);
  far->SetFocus();
  Pump();
  EXPECT_EQ(box->VertPosition(), 180);  // its bottom at the client's bottom
  EXPECT_EQ(far->Top(), 70);
  box->ScrollInView(box->Controls(0));
  EXPECT_EQ(box->VertPosition(), 0);
  // A control larger than the client shows its top.
  TControl* big = Child({0, 300, 50, 700});
  box->ScrollInView(big);
  EXPECT_EQ(box->VertPosition(), 300);
}

TEST_F(ScrollBoxTest, ScrollHandlerMayFreeTheBox) {
  auto* a = static_cast<TProbe*>(Child({0, 0, 50, 400}));
  a->SetTabStop(true);
  a->SetFocus();
  Pump();
  TComponentRef<TScrollBox> alive(box);
  box->OnScroll = [this](TObject*) { delete box; };
  hp->InjectWheel(-120);
  Pump();
  EXPECT_FALSE(alive);
}

}  // namespace
}  // namespace qz::testing
