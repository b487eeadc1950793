// The host page control's row layouts, worked out by hand: a single row that
// overflows (scroller, first visible tab, hit testing on a partly hidden tab,
// scrolling a selected tab into view), wrapped rows with the active row next
// to the page, and button-style tabs.
#include "PageControlTestKit.h"

namespace qz::testing {
namespace {

class PageControlLayoutTest : public PageControlKit {
 protected:
  void Build(int sheets) {
    BuildPageControl(sheets, {100, 100, 700, 600});
    Pump();
  }
  void ClickAt(TPoint client) { Click(pc->ClientToScreen(client)); }
};

// Seven 60-pixel tabs make a 420-pixel row on a 300-pixel side. The scroller
// has two 17-pixel buttons (the tab height capped at 17): 34 x 17 at the
// row's end, centred across the 20-pixel row; the tabs show in 0..266.

TEST_F(PageControlLayoutTest, AnOverflowingRowShowsTheScrollerAndScrollsByWholeTabs) {
  Build(7);
  EXPECT_EQ(pc->TabScrollerRect(), (TRect{266, 1, 300, 18}));
  EXPECT_EQ(pc->TabViewRect(), (TRect{0, 0, 266, 20}));
  EXPECT_EQ(pc->FirstVisibleTab(), 0);
  EXPECT_EQ(pc->TabRect(4), (TRect{240, 0, 300, 20}));
  // The part of tab 4 under the scroller belongs to the scroller.
  EXPECT_EQ(pc->IndexOfTabAt(250, 10), 4);
  EXPECT_EQ(pc->IndexOfTabAt(270, 10), -1);
  EXPECT_FALSE(pc->CanScrollTabs(false));
  EXPECT_TRUE(pc->CanScrollTabs(true));

  pc->ScrollTabs(1);
  EXPECT_EQ(pc->FirstVisibleTab(), 1);
  EXPECT_EQ(pc->TabRect(0), (TRect{-60, 0, 0, 20}));
  EXPECT_EQ(pc->TabRect(1), (TRect{0, 0, 60, 20}));
  EXPECT_EQ(pc->IndexOfTabAt(5, 10), 1);
  // Scrolling stops once the last tab shows whole: tabs 3..6 fill 240 of 266.
  pc->SetFirstVisibleTab(10);
  EXPECT_EQ(pc->FirstVisibleTab(), 3);
  EXPECT_EQ(pc->TabRect(6), (TRect{180, 0, 240, 20}));
  EXPECT_FALSE(pc->CanScrollTabs(true));
  EXPECT_TRUE(pc->CanScrollTabs(false));
  // Scrolling does not change the page.
  EXPECT_EQ(pc->ActivePage(), pages[0]);
}

TEST_F(PageControlLayoutTest, TheScrollerButtonsScrollAndARowThatFitsDropsTheScroller) {
  Build(7);
  ClickAt({290, 10});  // the forward button
  ClickAt({290, 10});
  EXPECT_EQ(pc->FirstVisibleTab(), 2);
  ClickAt({270, 10});  // the back button
  EXPECT_EQ(pc->FirstVisibleTab(), 1);
  EXPECT_EQ(pc->ActivePage(), pages[0]);
  // Clicking the visible tab at the row's start selects it.
  ClickAt({30, 10});
  EXPECT_EQ(pc->ActivePage(), pages[1]);

  pc->SetBounds(10, 10, 420, 200);
  EXPECT_TRUE(pc->TabScrollerRect().IsEmpty());
  EXPECT_EQ(pc->FirstVisibleTab(), 0);
  EXPECT_EQ(pc->TabRect(6), (TRect{360, 0, 420, 20}));
  EXPECT_EQ(pc->IndexOfTabAt(400, 10), 6);
}

TEST_F(PageControlLayoutTest, TheScrollerSitsAtTheRowEndOnEverySide) {
  Build(7);
  pc->SetTabPosition(tpBottom);
  EXPECT_EQ(pc->TabScrollerRect(), (TRect{266, 182, 300, 199}));
  EXPECT_EQ(pc->TabRect(0), (TRect{0, 180, 60, 200}));
  // Left tabs: 200 pixels of side, the scroller 34 long at the bottom end.
  pc->SetTabPosition(tpLeft);
  EXPECT_EQ(pc->TabScrollerRect(), (TRect{1, 166, 18, 200}));
  EXPECT_EQ(pc->TabViewRect(), (TRect{0, 0, 20, 166}));
  pc->ScrollTabs(1);
  EXPECT_EQ(pc->TabRect(1), (TRect{0, 0, 20, 60}));
}

TEST_F(PageControlLayoutTest, SelectingATabOutOfViewScrollsItIn) {
  Build(7);
  pc->SetActivePageIndex(6);
  // Tab 6 ends at 420 - 60 * first; it must end by 266.
  EXPECT_EQ(pc->FirstVisibleTab(), 3);
  pc->SetActivePageIndex(1);
  EXPECT_EQ(pc->FirstVisibleTab(), 1);
  pc->SetActivePageIndex(0);

  pc->SetFocus();
  Pump();
  for (int i = 0; i < 4; ++i) Key(VK_RIGHT);
  EXPECT_EQ(pc->ActivePage(), pages[4]);
  EXPECT_EQ(pc->FirstVisibleTab(), 1);  // tab 4 now ends at 240
  Key(VK_RIGHT);
  EXPECT_EQ(pc->FirstVisibleTab(), 2);
  for (int i = 0; i < 4; ++i) Key(VK_LEFT);
  EXPECT_EQ(pc->ActivePage(), pages[1]);
  EXPECT_EQ(pc->FirstVisibleTab(), 1);
  // Ctrl+Tab going round to the first page brings the row back to its start.
  pc->SetActivePageIndex(6);
  Key(VK_TAB, kModCtrl);
  EXPECT_EQ(pc->ActivePage(), pages[0]);
  EXPECT_EQ(pc->FirstVisibleTab(), 0);
}

TEST_F(PageControlLayoutTest, ScrolledOffTabsStayClickableOnlyWhereTheyShow) {
  Build(7);
  pc->ScrollTabs(3);
  // Tab 2 lies at -60..0: nothing of it shows, nothing of it is hit.
  EXPECT_EQ(pc->TabRect(2), (TRect{-60, 0, 0, 20}));
  ClickAt({0, 10});
  EXPECT_EQ(pc->ActivePage(), pages[3]);
  EXPECT_EQ(pc->FirstVisibleTab(), 3);
}

// ---- wrapped rows

TEST_F(PageControlLayoutTest, MultiLineWrapsTheRowsAndMovesTheActiveRowToThePage) {
  Build(7);
  pc->SetMultiLine(true);
  // Five tabs fill the first row (300 of 300), two go to the second.
  EXPECT_EQ(pc->RowCount(), 2);
  EXPECT_TRUE(pc->TabScrollerRect().IsEmpty());
  EXPECT_EQ(pc->TabBandRect(), (TRect{0, 0, 300, 40}));
  EXPECT_EQ(pc->DisplayRect(), (TRect{2, 42, 298, 198}));
  EXPECT_EQ(pages[0]->BoundsRect(), pc->DisplayRect());
  // The active tab's row touches the page.
  EXPECT_EQ(pc->TabRect(0), (TRect{0, 20, 60, 40}));
  EXPECT_EQ(pc->TabRect(4), (TRect{240, 20, 300, 40}));
  EXPECT_EQ(pc->TabRect(5), (TRect{0, 0, 60, 20}));
  EXPECT_EQ(pc->TabRect(6), (TRect{60, 0, 120, 20}));

  ClickAt({90, 10});  // tab 6 in the outer row
  EXPECT_EQ(pc->ActivePage(), pages[6]);
  EXPECT_EQ(pc->TabRect(6), (TRect{60, 20, 120, 40}));
  EXPECT_EQ(pc->TabRect(0), (TRect{0, 0, 60, 20}));
  EXPECT_EQ(pc->IndexOfTabAt(90, 30), 6);
}

TEST_F(PageControlLayoutTest, ThreeRowsKeepTheirCyclicOrderAndFollowTheSide) {
  Build(12);
  pc->SetMultiLine(true);
  EXPECT_EQ(pc->RowCount(), 3);  // 5, 5 and 2 tabs
  pc->SetActivePageIndex(7);     // in the middle row
  // From the page outwards: row 1, row 2, row 0.
  EXPECT_EQ(pc->TabRect(7), (TRect{120, 40, 180, 60}));
  EXPECT_EQ(pc->TabRect(10), (TRect{0, 20, 60, 40}));
  EXPECT_EQ(pc->TabRect(0), (TRect{0, 0, 60, 20}));
  // At the bottom the rows count from the page (the band's top) downwards.
  pc->SetTabPosition(tpBottom);
  EXPECT_EQ(pc->TabRect(7), (TRect{120, 140, 180, 160}));
  EXPECT_EQ(pc->TabRect(0), (TRect{0, 180, 60, 200}));
  EXPECT_EQ(pc->DisplayRect(), (TRect{2, 2, 298, 138}));
  // Wider: everything fits in one row again and the band shrinks.
  pc->SetTabPosition(tpTop);
  pc->SetBounds(10, 10, 720, 200);
  EXPECT_EQ(pc->RowCount(), 1);
  EXPECT_EQ(pages[7]->BoundsRect(), (TRect{2, 22, 718, 198}));
}

// ---- button-style tabs

TEST_F(PageControlLayoutTest, ButtonStyleTabsStandApartWithoutAPageFrame) {
  Build(3);
  pc->SetStyle(tsButtons);
  EXPECT_EQ(pc->TabRect(0), (TRect{0, 0, 60, 20}));
  EXPECT_EQ(pc->TabRect(1), (TRect{63, 0, 123, 20}));
  EXPECT_EQ(pc->TabRect(2), (TRect{126, 0, 186, 20}));
  EXPECT_EQ(pc->IndexOfTabAt(61, 10), -1);  // the gap between two buttons
  ClickAt({100, 10});
  EXPECT_EQ(pc->ActivePage(), pages[1]);
  // No frame around the pages: the band's edge is button face.
  Pump();
  EXPECT_EQ(ScreenPixel(pc->ClientToScreen({150, 100})), Rgb(clBtnFace));
  EXPECT_EQ(ScreenPixel(pc->ClientToScreen({150, 21})), Rgb(clBtnFace));

  // Wrapped buttons keep their row order: the first row outermost.
  pc->SetStyle(tsFlatButtons);
  pc->SetBounds(10, 10, 130, 200);
  pc->SetMultiLine(true);
  EXPECT_EQ(pc->RowCount(), 2);
  EXPECT_EQ(pc->TabRect(0), (TRect{0, 0, 60, 20}));
  EXPECT_EQ(pc->TabRect(2), (TRect{0, 20, 60, 40}));
  pc->SetActivePageIndex(0);
  EXPECT_EQ(pc->TabRect(2), (TRect{0, 20, 60, 40}));
}

}  // namespace
}  // namespace qz::testing
