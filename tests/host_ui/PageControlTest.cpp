// The host page control: pages and tabs, the shared tab geometry, page
// switching by mouse and keyboard with OnChanging/OnChange, handlers that
// free the control, painting and form resources.
#include "PageControlTestKit.h"

#include "host/components/FormResource.h"

namespace qz::testing {
namespace {

class PageControlTest : public PageControlKit {
 protected:
  // Three sheets by default; the page events are logged.
  void Build(int sheets = 3) {
    BuildPageControl(sheets, {100, 100, 600, 500});
    pc->OnChanging = [this](TObject*, bool& allow) {
      log.push_back("changing " + std::to_string(pc->ActivePageIndex()));
      allow = allowChange;
    };
    pc->OnChange = [this](TObject*) { log.push_back("change " + std::to_string(pc->ActivePageIndex())); };
    Pump();
  }
  void ClickTab(int tabIndex) { Click(pc->ClientToScreen(CenterPoint(pc->TabRect(tabIndex)))); }
  std::vector<bool> Visibility() const {
    std::vector<bool> v;
    for (auto* p : pages) v.push_back(p->Visible());
    return v;
  }
  static TPoint CenterPoint(const TRect& r) { return {(r.Left + r.Right) / 2, (r.Top + r.Bottom) / 2}; }

  std::vector<std::string> log;
  bool allowChange = true;
};

// ---- pages and tabs

TEST_F(PageControlTest, FirstSheetBecomesActiveAndOnlyTheActiveSheetShows) {
  Build();
  EXPECT_EQ(pc->PageCount(), 3);
  EXPECT_EQ(pc->Pages(2), pages[2]);
  EXPECT_EQ(pc->Pages(3), nullptr);
  EXPECT_EQ(pc->ActivePage(), pages[0]);
  EXPECT_EQ(Visibility(), (std::vector<bool>{true, false, false}));
  pc->SetActivePageIndex(2);
  EXPECT_EQ(pc->ActivePage(), pages[2]);
  EXPECT_EQ(Visibility(), (std::vector<bool>{false, false, true}));
  // Setting the page from code asks nobody.
  EXPECT_TRUE(log.empty());
  // A sheet of another control is not taken.
  auto* other = new TPageControl(form);
  auto* stranger = new TTabSheet(form);
  stranger->SetPageControl(other);
  pc->SetActivePage(stranger);
  EXPECT_EQ(pc->ActivePage(), pages[2]);
}

TEST_F(PageControlTest, HiddenTabsLeaveTheRowAndTabIndexCountsOnlyVisibleTabs) {
  Build();
  pages[1]->SetTabVisible(false);
  ASSERT_EQ(pc->TabCount(), 2);
  EXPECT_EQ(pc->Tabs()[1].Page, pages[2]);
  EXPECT_EQ(pc->TabRect(1), (TRect{60, 0, 120, 20}));
  EXPECT_EQ(pages[1]->TabIndex(), -1);
  EXPECT_EQ(pages[2]->TabIndex(), 1);
  pc->SetActivePage(pages[2]);
  EXPECT_EQ(pc->TabIndex(), 1);
  EXPECT_EQ(pc->ActivePageIndex(), 2);
  // Hiding the active page's tab shows the next page that has one.
  pages[2]->SetTabVisible(false);
  EXPECT_EQ(pc->ActivePage(), pages[0]);
  EXPECT_EQ(Visibility(), (std::vector<bool>{true, false, false}));
}

TEST_F(PageControlTest, SheetsLeavingOrMovingKeepTheControlConsistent) {
  Build();
  pc->SetActivePage(pages[1]);
  delete pages[1];
  EXPECT_EQ(pc->PageCount(), 2);
  EXPECT_EQ(pc->ActivePage(), pages[2]);
  EXPECT_TRUE(pages[2]->Visible());
  pages[2]->SetPageIndex(0);
  EXPECT_EQ(pc->Pages(0), pages[2]);
  EXPECT_EQ(pc->TabRect(0), (TRect{0, 0, 60, 20}));
  pages[0]->SetPageControl(nullptr);
  EXPECT_EQ(pc->PageCount(), 1);
  EXPECT_EQ(pages[0]->PageIndex(), -1);
  pages[2]->SetPageControl(nullptr);
  EXPECT_EQ(pc->ActivePage(), nullptr);
  EXPECT_EQ(pc->TabIndex(), -1);
  delete pages[0];
  delete pages[2];
}

TEST_F(PageControlTest, DestroyingThePageControlFreesItsSheets) {
  Build();
  TComponentRef<TTabSheet> sheet(pages[1]);
  delete pc;
  EXPECT_FALSE(sheet);
}

// ---- geometry: one list for painting and hit testing

TEST_F(PageControlTest, TabRectsDisplayRectAndSheetBoundsForEachTabSide) {
  Build();
  EXPECT_EQ(pc->TabRect(0), (TRect{0, 0, 60, 20}));
  EXPECT_EQ(pc->TabRect(2), (TRect{120, 0, 180, 20}));
  EXPECT_EQ(pc->DisplayRect(), (TRect{2, 22, 298, 198}));
  EXPECT_EQ(pages[0]->BoundsRect(), pc->DisplayRect());
  EXPECT_EQ(pc->IndexOfTabAt(59, 19), 0);
  EXPECT_EQ(pc->IndexOfTabAt(60, 0), 1);
  EXPECT_EQ(pc->IndexOfTabAt(180, 5), -1);  // band past the last tab
  EXPECT_EQ(pc->IndexOfTabAt(10, 20), -1);  // first row of the pages
  pc->SetTabPosition(tpBottom);
  EXPECT_EQ(pc->TabRect(1), (TRect{60, 180, 120, 200}));
  EXPECT_EQ(pc->DisplayRect(), (TRect{2, 2, 298, 178}));
  EXPECT_EQ(pages[0]->BoundsRect(), pc->DisplayRect());
  pc->SetTabPosition(tpLeft);
  EXPECT_EQ(pc->TabRect(1), (TRect{0, 60, 20, 120}));
  EXPECT_EQ(pc->DisplayRect(), (TRect{22, 2, 298, 198}));
  pc->SetTabPosition(tpRight);
  EXPECT_EQ(pc->TabRect(2), (TRect{280, 120, 300, 180}));
  // A resize moves the tabs of the right side and the pages with it.
  pc->SetWidth(250);
  EXPECT_EQ(pc->TabRect(2), (TRect{230, 120, 250, 180}));
  EXPECT_EQ(pages[0]->BoundsRect(), (TRect{2, 2, 228, 198}));
}

TEST_F(PageControlTest, TabsSizeToTheirCaptionsWithoutFixedSizes) {
  Build();
  pc->SetTabWidth(0);
  pc->SetTabHeight(0);
  TCanvas measure;
  measure.Font().Assign(pc->Font());
  int h = measure.TextHeight("Wg") + 6;
  int w0 = measure.TextWidth("Page 0") + 12;
  EXPECT_EQ(pc->TabRect(0), (TRect{0, 0, w0, h}));
  pages[0]->SetCaption("A much longer caption");
  int wLong = measure.TextWidth("A much longer caption") + 12;
  EXPECT_EQ(pc->TabRect(1).Left, wLong);
  EXPECT_EQ(pc->DisplayRect().Top, h + 2);
}

// ---- mouse

TEST_F(PageControlTest, ClickOnATabAsksThenChangesAndFocusesTheControl) {
  Build();
  ClickTab(2);
  EXPECT_EQ(pc->ActivePage(), pages[2]);
  EXPECT_EQ(log, (std::vector<std::string>{"changing 0", "change 2"}));
  EXPECT_TRUE(pc->Focused());
  // The active tab again, or the empty band: nothing happens.
  log.clear();
  ClickTab(2);
  Click(pc->ClientToScreen({250, 10}));
  EXPECT_TRUE(log.empty());
  EXPECT_EQ(pc->ActivePage(), pages[2]);
}

TEST_F(PageControlTest, OnChangingRefusalKeepsThePage) {
  Build();
  allowChange = false;
  ClickTab(1);
  EXPECT_EQ(pc->ActivePage(), pages[0]);
  EXPECT_EQ(log, (std::vector<std::string>{"changing 0"}));
  EXPECT_EQ(Visibility(), (std::vector<bool>{true, false, false}));
}

// ---- keyboard

TEST_F(PageControlTest, CtrlTabCyclesVisibleTabsFromAControlOnThePage) {
  Build();
  pages[1]->SetTabVisible(false);
  auto* button = new TButton(form);
  button->SetParent(pages[0]);
  button->SetFocus();
  Pump();
  Key(VK_TAB, kModCtrl);
  EXPECT_EQ(pc->ActivePage(), pages[2]);
  Key(VK_TAB, kModCtrl);  // wraps round
  EXPECT_EQ(pc->ActivePage(), pages[0]);
  Key(VK_TAB, kModCtrl | kModShift);
  EXPECT_EQ(pc->ActivePage(), pages[2]);
  EXPECT_EQ(log, (std::vector<std::string>{"changing 0", "change 2", "changing 2", "change 0",
                                           "changing 0", "change 2"}));
}

TEST_F(PageControlTest, CtrlTabIsLeftAloneWhenTheFocusIsElsewhere) {
  Build();
  auto* outside = new TButton(form);
  outside->SetParent(form);
  outside->SetBounds(400, 10, 60, 25);
  outside->SetFocus();
  Pump();
  Key(VK_TAB, kModCtrl);
  EXPECT_EQ(pc->ActivePage(), pages[0]);
  EXPECT_TRUE(log.empty());
}

TEST_F(PageControlTest, ArrowKeysStepThroughTabsAndStopAtTheEnds) {
  Build();
  pc->SetFocus();
  Pump();
  Key(VK_LEFT);
  EXPECT_EQ(pc->ActivePage(), pages[0]);
  Key(VK_RIGHT);
  Key(VK_DOWN);
  EXPECT_EQ(pc->ActivePage(), pages[2]);
  Key(VK_RIGHT);
  EXPECT_EQ(pc->ActivePage(), pages[2]);
  Key(VK_UP);
  EXPECT_EQ(pc->ActivePage(), pages[1]);
  // The arrows stay with the page control instead of moving the focus.
  EXPECT_TRUE(pc->Focused());
}

// ---- handlers that free the page control

TEST_F(PageControlTest, HandlersMayFreeThePageControl) {
  Build();
  TComponentRef<TPageControl> ref(pc);
  pc->OnChanging = [this](TObject*, bool&) { delete pc; };
  ClickTab(1);
  EXPECT_FALSE(ref);

  pc = nullptr;
  pages.clear();
  Build();
  TComponentRef<TPageControl> ref2(pc);
  pc->OnChange = [this](TObject*) { delete pc; };
  pc->SetFocus();
  Pump();
  Key(VK_RIGHT);
  EXPECT_FALSE(ref2);
  Pump();
}

TEST_F(PageControlTest, OnChangingMayFreeTheTargetPage) {
  Build();
  pc->OnChanging = [this](TObject*, bool&) { delete pages[1]; };
  ClickTab(1);
  EXPECT_EQ(pc->ActivePage(), pages[0]);
  EXPECT_EQ(pc->PageCount(), 2);
}

TEST_F(PageControlTest, FocusHandlersMayFreeTheControlWhileItsPageChanges) {
  Build();
  auto* button = new TButton(form);
  button->SetParent(pages[0]);
  button->SetFocus();
  Pump();
  TComponentRef<TPageControl> ref(pc);
  // Leaving the page that goes moves the focus; the handler frees everything.
  button->OnExit = [this](TObject*) { delete pc; };
  pc->SetActivePage(pages[1]);
  EXPECT_FALSE(ref);
  Pump();
}

// ---- painting

TEST_F(PageControlTest, PlainLookFramesThePagesAndDrawsTheActiveTabLight) {
  Build(2);
  pages[0]->SetCaption("");
  pages[1]->SetCaption("");
  Pump();
  TPoint origin = pc->ClientToScreen({0, 0});
  auto at = [&](int x, int y) { return ScreenPixel({origin.X + x, origin.Y + y}); };
  TRect frame = InflateRect(pc->DisplayRect(), 1, 1);
  EXPECT_EQ(at(frame.Left, frame.Top + 30), Rgb(clBtnShadow));
  EXPECT_EQ(at(frame.Right - 1, frame.Bottom - 1), Rgb(clBtnShadow));
  EXPECT_EQ(at(0, 0), Rgb(clBtnShadow));     // the active tab's frame
  EXPECT_EQ(at(30, 10), Rgb(clWindow));      // its fill
  EXPECT_EQ(at(90, 10), Rgb(clBtnFace));     // the other tab
  EXPECT_EQ(at(200, 10), Rgb(clBtnFace));    // the band past the tabs
  pc->SetActivePage(pages[1]);
  Pump();
  EXPECT_EQ(at(30, 10), Rgb(clBtnFace));
  EXPECT_EQ(at(90, 10), Rgb(clWindow));
}

// ---- form resources

constexpr const char* kPagesResource = R"(object PagesForm: TForm
  Left = 100
  Top = 100
  ClientWidth = 400
  ClientHeight = 300
  object PageControl1: TPageControl
    Left = 8
    Top = 8
    Width = 380
    Height = 280
    ActivePage = TabSheet2
    TabHeight = 22
    TabPosition = tpBottom
    object TabSheet1: TTabSheet
      Caption = 'First'
      object Label1: TLabel
        Left = 4
        Top = 4
        Caption = 'On page one'
      end
    end
    object TabSheet2: TTabSheet
      Caption = 'Second'
    end
    object TabSheet3: TTabSheet
      Caption = 'Third'
      TabVisible = False
    end
  end
end
)";

TEST_F(PageControlTest, FormResourceWithPagesLoadsAndWritesBackTheSame) {
  auto* f = new TForm(Application);
  ReadComponentRes(f, kPagesResource);
  auto* pcRead = f->FindChild<TPageControl>("PageControl1");
  ASSERT_NE(pcRead, nullptr);
  ASSERT_EQ(pcRead->PageCount(), 3);
  EXPECT_EQ(pcRead->Pages(0)->Name(), "TabSheet1");
  EXPECT_EQ(pcRead->ActivePage()->Name(), "TabSheet2");
  EXPECT_EQ(pcRead->TabPosition(), tpBottom);
  EXPECT_EQ(pcRead->TabCount(), 2);
  EXPECT_FALSE(pcRead->Pages(0)->Visible());
  EXPECT_TRUE(pcRead->Pages(1)->Visible());
  EXPECT_EQ(f->FindChild<TLabel>("Label1")->Parent(), pcRead->Pages(0));
  EXPECT_EQ(pcRead->Pages(1)->BoundsRect(), pcRead->DisplayRect());

  // A moved page keeps its place through a write and a read.
  pcRead->Pages(2)->SetPageIndex(0);
  std::string once = WriteComponentRes(f);
  EXPECT_NE(once.find("PageIndex = 0"), std::string::npos);
  TForm g(nullptr);
  ReadComponentRes(&g, once);
  auto* pcAgain = g.FindChild<TPageControl>("PageControl1");
  ASSERT_NE(pcAgain, nullptr);
  EXPECT_EQ(pcAgain->Pages(0)->Name(), "TabSheet3");
  EXPECT_EQ(pcAgain->Pages(1)->Name(), "TabSheet1");
  EXPECT_EQ(pcAgain->ActivePage()->Name(), "TabSheet2");
  EXPECT_EQ(WriteComponentRes(&g), once);
}

}  // namespace
}  // namespace qz::testing
