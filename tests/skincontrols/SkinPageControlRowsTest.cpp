// The skinned page control's rows beyond one that fits: the tab scroller
// (its size and pieces from the skin's up-down description, its buttons, its
// place after skin changes and HideTabs), keyboard switching to a tab out of
// view, and wrapped rows. Pixels against direct compositions of the pieces.
#include "../host_ui/UiTestSupport.h"
#include "../skinform/FramePaintTestKit.h"

#include "host/components/FormResource.h"
#include "skin/controls/SkinPageControl.h"
#include "skin/controls/SkinUpDown.h"
#include "skin/data/ResourceStrData.h"
#include "skin/data/SkinControlData.h"
#include "skin/data/SkinData.h"
#include "skin/draw/QZUtils.h"

namespace qz::testing {
namespace {

// Picture 0 is a 120 x 80 pattern.
//   tabs       frame 40 x 40 with borders 4; tabs 40 x 20; scroller "arrows"
//   plaintabs  the same without a scroller description
//   arrows     up-down: forward pieces at x 80..96, back pieces at x 96..112,
//              18 high, normal / hot / pressed stacked downwards
//   spin       a spin edit description with the same pieces
//   tabbutton  nine-part button 30 x 20 (corners 5), hot and pressed beside it
constexpr TRect kForward{80, 0, 96, 18}, kForwardHot{80, 18, 96, 36}, kForwardDown{80, 36, 96, 54};
constexpr TRect kBack{96, 0, 112, 18};

TTestSkinParts RowsSkinParts() {
  TTestSkinParts parts;
  parts.Picture = Pattern(8, 8, 9);
  parts.Active.push_back(Pattern(120, 80, 5));
  const std::string tab =
      "pictureindex=0\r\nskinrect=0,0,40,40\r\nclientrect=4,4,36,36\r\n"
      "lefttoppoint=4,4\r\nrighttoppoint=36,4\r\nleftbottompoint=4,36\r\nrightbottompoint=36,36\r\n"
      "tabrect=40,0,80,20\r\nactivetabrect=40,20,80,40\r\ntableftoffset=4\r\ntabrightoffset=4\r\n"
      "tabsbgrect=0,40,8,48\r\n";
  const std::string arrows =
      "pictureindex=0\r\nupbuttonrect=80,0,96,18\r\nactiveupbuttonrect=80,18,96,36\r\n"
      "downupbuttonrect=80,36,96,54\r\ndownbuttonrect=96,0,112,18\r\n"
      "activedownbuttonrect=96,18,112,36\r\ndowndownbuttonrect=96,36,112,54\r\n";
  parts.Text =
      "[SKINCONTROLS]\r\ncount=6\r\n0=tabs:tab\r\n1=plaintabs:tab\r\n2=arrows:updown\r\n"
      "3=spin:spinedit\r\n4=tabbutton:button\r\n5=spintabs:tab\r\n"
      "[tabs]\r\n" + tab + "updown=arrows\r\n"
      "[spintabs]\r\n" + tab + "updown=spin\r\n"
      "[plaintabs]\r\n" + tab +
      "[arrows]\r\n" + arrows + "[spin]\r\n" + arrows +
      "[tabbutton]\r\npictureindex=0\r\nskinrect=0,60,30,80\r\nclientrect=5,5,25,15\r\n"
      "lefttoppoint=5,5\r\nrighttoppoint=25,5\r\nleftbottompoint=5,15\r\nrightbottompoint=25,15\r\n"
      "activeskinrect=30,60,60,80\r\ndownskinrect=60,60,90,80\r\n";
  return parts;
}

uint32_t Rgb24(uint32_t argb) { return argb & 0xFFFFFF; }

class SkinPageControlRowsTest : public UiTest {
 protected:
  void SetUp() override {
    UiTest::SetUp();
    skin = LoadTestSkin(RowsSkinParts());
  }
  void TearDown() override {
    UiTest::TearDown();
    skin.reset();
  }
  // A 300 x 200 control at (10, 10), 60-pixel tabs, `sheets` sheets.
  void Build(int sheets, const std::string& description = "tabs") {
    form = MakeForm({100, 100, 700, 600});
    pc = new TqzSkinPageControl(form);
    pc->SetParent(form);
    pc->SetBounds(10, 10, 300, 200);
    pc->SetTabWidth(60);
    pc->SetSkinDataName(description);
    pc->SetSkinData(skin.get());
    for (int i = 0; i < sheets; ++i) {
      auto* sheet = new TqzSkinTabSheet(form);
      sheet->SetPageControl(pc);
      pages.push_back(sheet);
    }
    Pump();
  }
  TPixmap Shown(const TRect& r) {
    Pump();
    TPixmap screen = hp->ComposeScreen();
    TPoint o = pc->ClientToScreen(r.TopLeft());
    TPixmap out(r.Width(), r.Height());
    for (int y = 0; y < r.Height(); ++y)
      for (int x = 0; x < r.Width(); ++x) out.At(x, y) = screen.At(o.X + x, o.Y + y);
    return out;
  }
  const TBitmap& Picture() { return *skin->ActivePicture(0); }
  TPixmap Piece(const TRect& r) {
    TPixmap out(r.Width(), r.Height());
    for (int y = 0; y < r.Height(); ++y)
      for (int x = 0; x < r.Width(); ++x) out.At(x, y) = Picture().Pixels().At(r.Left + x, r.Top + y);
    return out;
  }
  static void ExpectSame(const TPixmap& shown, const TPixmap& expected, const std::string& what) {
    ASSERT_EQ(shown.Width(), expected.Width()) << what;
    ASSERT_EQ(shown.Height(), expected.Height()) << what;
    int wrong = 0;
    for (int y = 0; y < shown.Height(); ++y)
      for (int x = 0; x < shown.Width(); ++x)
        if (Rgb24(shown.At(x, y)) != Rgb24(expected.At(x, y)) && wrong++ < 3)
          ADD_FAILURE() << what << " differs at " << x << "," << y;
    EXPECT_EQ(wrong, 0) << what;
  }
  void ClickAt(TPoint client) { Click(pc->ClientToScreen(client)); }

  std::unique_ptr<TqzSkinData> skin;
  TForm* form = nullptr;
  TqzSkinPageControl* pc = nullptr;
  std::vector<TqzSkinTabSheet*> pages;
};

// Seven 60-pixel tabs on 300 pixels: the "arrows" buttons are 16 x 18, so
// the scroller is 32 x 18 at the row's end, centred across the 20-pixel row,
// and the tabs show in 0..268.

TEST_F(SkinPageControlRowsTest, TheScrollerTakesItsSizeAndPiecesFromTheUpDownDescription) {
  Build(7);
  ASSERT_NE(pc->TabScroller(), nullptr);
  EXPECT_TRUE(pc->TabScroller()->Visible());
  EXPECT_EQ(pc->TabScrollerRect(), (TRect{268, 1, 300, 19}));
  EXPECT_EQ(pc->TabScroller()->BoundsRect(), pc->TabScrollerRect());
  EXPECT_EQ(pc->TabViewRect(), (TRect{0, 0, 268, 20}));
  // Back from the down pieces, forward from the up pieces.
  ExpectSame(Shown({268, 1, 284, 19}), Piece(kBack), "back button");
  ExpectSame(Shown({284, 1, 300, 19}), Piece(kForward), "forward button");
  // Hovering the forward button shows its hot piece; pressing it, the pressed one.
  Move(pc->ClientToScreen({290, 10}));
  ExpectSame(Shown({284, 1, 300, 19}), Piece(kForwardHot), "hot forward button");
  hp->InjectMouseDown();
  Pump();
  ExpectSame(Shown({284, 1, 300, 19}), Piece(kForwardDown), "pressed forward button");
  EXPECT_EQ(pc->FirstVisibleTab(), 1);  // the press steps
  hp->InjectMouseUp();
  Pump();
  ExpectSame(Shown({284, 1, 300, 19}), Piece(kForwardHot), "released forward button");
}

TEST_F(SkinPageControlRowsTest, TheScrollerStepsTheRowAndTheTabsShowOnlyInTheView) {
  Build(7);
  ClickAt({276, 10});  // back: nothing before the first tab
  EXPECT_EQ(pc->FirstVisibleTab(), 0);
  for (int i = 0; i < 5; ++i) ClickAt({292, 10});
  // Tabs 3..6 take 240 of 268: the row stops there.
  EXPECT_EQ(pc->FirstVisibleTab(), 3);
  EXPECT_EQ(pc->TabRect(3), (TRect{0, 0, 60, 20}));
  EXPECT_EQ(pc->ActivePage(), pages[0]);
  // The active tab is scrolled off: the frame's top runs unbroken.
  EXPECT_TRUE(pc->ActiveTabJoinedRect().IsEmpty());
  ClickAt({276, 10});
  EXPECT_EQ(pc->FirstVisibleTab(), 2);
  // A click on the part of tab 6 that shows selects it.
  ClickAt({250, 10});
  EXPECT_EQ(pc->ActivePage(), pages[6]);
  EXPECT_EQ(pc->FirstVisibleTab(), 3);  // selected, and scrolled whole into view
}

TEST_F(SkinPageControlRowsTest, AnInactiveTabHalfUnderTheScrollerIsDrawnOnlyUpToIt) {
  Build(7);
  // Tab 4 lies at 240..300; its first 28 pixels show, then the scroller.
  EXPECT_EQ(pc->TabRect(4), (TRect{240, 0, 300, 20}));
  EXPECT_EQ(pc->IndexOfTabAt(267, 10), 4);
  EXPECT_EQ(pc->IndexOfTabAt(268, 10), -1);
  TBitmap tab;
  CreateHSkinImage(4, 4, tab, false, 60, {40, 0, 80, 20}, Picture());
  TPixmap expected(28, 20);
  for (int y = 0; y < 20; ++y)
    for (int x = 0; x < 28; ++x) expected.At(x, y) = tab.Pixels().At(x, y);
  ExpectSame(Shown({240, 0, 268, 20}), expected, "tab 4 up to the scroller");
}

TEST_F(SkinPageControlRowsTest, KeyboardSwitchingToATabOutOfViewScrollsItIn) {
  Build(7);
  pc->SetFocus();
  Pump();
  for (int i = 0; i < 4; ++i) Key(VK_RIGHT);
  EXPECT_EQ(pc->ActivePage(), pages[4]);
  EXPECT_EQ(pc->FirstVisibleTab(), 1);
  Key(VK_RIGHT);
  Key(VK_RIGHT);
  EXPECT_EQ(pc->ActivePage(), pages[6]);
  EXPECT_EQ(pc->FirstVisibleTab(), 3);
  EXPECT_TRUE(pc->TabScroller()->ButtonEnabled(TqzUpDownButton::Back));
  EXPECT_FALSE(pc->TabScroller()->ButtonEnabled(TqzUpDownButton::Forward));
  EXPECT_EQ(pc->ActiveTabJoinedRect(), (TRect{180, 0, 240, 20}));
  Key(VK_TAB, kModCtrl);  // round to the first page
  EXPECT_EQ(pc->ActivePage(), pages[0]);
  EXPECT_EQ(pc->FirstVisibleTab(), 0);
  EXPECT_FALSE(pc->TabScroller()->ButtonEnabled(TqzUpDownButton::Back));
}

TEST_F(SkinPageControlRowsTest, SkinChangesResizeTheScrollerAndWideEnoughRowsDropIt) {
  Build(7);
  // A spin edit description serves as well.
  pc->SetSkinDataName("spintabs");
  EXPECT_EQ(pc->TabScrollerRect(), (TRect{268, 1, 300, 19}));
  ExpectSame(Shown({268, 1, 284, 19}), Piece(kBack), "back button from the spin description");
  // Without a scroller description: the plain 34 x 17 scroller.
  pc->SetSkinDataName("plaintabs");
  EXPECT_EQ(pc->TabScrollerRect(), (TRect{266, 1, 300, 18}));
  EXPECT_EQ(pc->TabScroller()->BoundsRect(), (TRect{266, 1, 300, 18}));
  EXPECT_FALSE(pc->TabScroller()->Pieces().has_value());
  // The skin going away leaves the plain control (20-pixel tabs) with it.
  pc->SetSkinDataName("tabs");
  skin.reset();
  Pump();
  EXPECT_FALSE(pc->Look().has_value());
  EXPECT_EQ(pc->TabScroller()->BoundsRect(), (TRect{266, 1, 300, 18}));
  EXPECT_EQ(pc->TabScroller()->SkinData(), nullptr);
  // A row that fits hides it.
  pc->SetBounds(10, 10, 420, 200);
  EXPECT_FALSE(pc->TabScroller()->Visible());
  EXPECT_EQ(pc->TabViewRect(), (TRect{0, 0, 420, 20}));
}

TEST_F(SkinPageControlRowsTest, HideTabsRemovesTheScrollerAndThePageCoversTheControl) {
  Build(7);
  ASSERT_NE(pc->TabScroller(), nullptr);
  pc->SetActivePageIndex(5);
  pc->HideTabs();
  EXPECT_EQ(pc->TabScroller(), nullptr);
  EXPECT_TRUE(pc->TabScrollerRect().IsEmpty());
  EXPECT_EQ(pc->DisplayRect(), (TRect{0, -2, 300, 200}));
  EXPECT_EQ(pages[5]->BoundsRect(), (TRect{0, -2, 300, 200}));
  // Resizing and switching pages bring no scroller back.
  pc->SetBounds(10, 10, 200, 150);
  pc->SetActivePageIndex(6);
  EXPECT_EQ(pc->TabScroller(), nullptr);
  EXPECT_EQ(pages[6]->BoundsRect(), (TRect{0, -2, 200, 150}));
  EXPECT_EQ(pc->IndexOfTabAt(10, 5), -1);
}

TEST_F(SkinPageControlRowsTest, FreeingTheControlFromOnChangeAfterAScrollIsSafe) {
  Build(7);
  // The handler is freed with the control: nothing of it is touched after the delete.
  pc->OnChange = [this](TObject*) {
    TqzSkinPageControl* doomed = pc;
    pc = nullptr;
    delete doomed;
  };
  pc->SetFocus();
  Pump();
  for (int i = 0; i < 5; ++i) ClickAt({292, 10});
  ClickAt({200, 10});  // tab 6
  EXPECT_EQ(pc, nullptr);
}

// ---- placement and font

TEST_F(SkinPageControlRowsTest, TheRowIsOffsetOrCentredUntilItOverflows) {
  Build(3);
  pc->SetTabsOffset(12);
  EXPECT_EQ(pc->TabRect(0), (TRect{12, 0, 72, 20}));
  EXPECT_EQ(pc->IndexOfTabAt(6, 10), -1);
  pc->SetTabsInCenter(true);  // 180 of 300: 60 on each side
  EXPECT_EQ(pc->TabRect(0), (TRect{60, 0, 120, 20}));
  EXPECT_EQ(pc->TabRect(2), (TRect{180, 0, 240, 20}));
  // Once the row no longer fits it starts at the side's beginning, behind a scroller.
  pc->SetBounds(10, 10, 150, 200);
  EXPECT_EQ(pc->TabRect(0), (TRect{0, 0, 60, 20}));
  EXPECT_EQ(pc->TabScrollerRect(), (TRect{118, 1, 150, 19}));
  pc->SetTabsInCenter(false);
  // An offset row keeps its offset and shows from there.
  EXPECT_EQ(pc->TabRect(0), (TRect{12, 0, 72, 20}));
  EXPECT_EQ(pc->TabViewRect(), (TRect{12, 0, 118, 20}));
  pc->ScrollTabs(1);
  EXPECT_EQ(pc->TabRect(1), (TRect{12, 0, 72, 20}));
  EXPECT_EQ(pc->IndexOfTabAt(8, 10), -1);  // tab 0 lies behind the offset
}

TEST_F(SkinPageControlRowsTest, TheCaptionCharacterSetComesFromTheSkinsTexts) {
  Build(1);
  TFont f;
  f.SetCharset(EASTEUROPE_CHARSET);
  pc->SetDefaultFont(f);
  pc->ChangeSkinData();
  EXPECT_EQ(pc->Font().Charset(), EASTEUROPE_CHARSET);  // no texts: the default font's
  auto* strings = new TqzResourceStrData(form);
  strings->SetCharSet(RUSSIAN_CHARSET);
  skin->SetResourceStrData(strings);
  pc->ChangeSkinData();
  EXPECT_EQ(pc->Font().Charset(), RUSSIAN_CHARSET);
  pc->SetUseSkinFont(false);
  EXPECT_EQ(pc->Font().Charset(), RUSSIAN_CHARSET);
  skin->SetResourceStrData(nullptr);
}

// ---- form resources

TEST_F(SkinPageControlRowsTest, TheScrollerIsNotWrittenAndComesBackAfterReading) {
  auto* f = new TForm(Application);
  f->SetName("RowsForm");
  auto* p = new TqzSkinPageControl(f);
  p->SetName("Pages");
  p->SetParent(f);
  p->SetBounds(0, 0, 150, 100);
  p->SetTabWidth(60);
  for (int i = 0; i < 4; ++i) {
    auto* sheet = new TqzSkinTabSheet(f);
    sheet->SetName("Sheet" + std::to_string(i));
    sheet->SetPageControl(p);
  }
  ASSERT_NE(p->TabScroller(), nullptr);
  p->ChangeSkinData();  // the font a loaded control takes
  std::string once = WriteComponentRes(f);
  // The sheets keep the tab orders they would have without the scroller.
  EXPECT_NE(once.find("TabOrder = 3"), std::string::npos);
  EXPECT_EQ(once.find("TqzSkinUpDown"), std::string::npos);
  TForm g(nullptr);
  ReadComponentRes(&g, once);
  auto* again = g.FindChild<TqzSkinPageControl>("Pages");
  ASSERT_NE(again, nullptr);
  EXPECT_EQ(again->PageCount(), 4);
  ASSERT_NE(again->TabScroller(), nullptr);
  EXPECT_EQ(again->TabScroller()->BoundsRect(), again->TabScrollerRect());
  EXPECT_EQ(WriteComponentRes(&g), once);
  // Wrapped button rows are written and read back as such.
  again->SetMultiLine(true);
  again->SetStyle(tsFlatButtons);
  TForm h(nullptr);
  ReadComponentRes(&h, WriteComponentRes(&g));
  auto* third = h.FindChild<TqzSkinPageControl>("Pages");
  ASSERT_NE(third, nullptr);
  EXPECT_TRUE(third->MultiLine());
  EXPECT_EQ(third->Style(), tsFlatButtons);
  EXPECT_EQ(third->RowCount(), 2);
  delete f;
}

// ---- wrapped rows

TEST_F(SkinPageControlRowsTest, MultiLineRowsAreDrawnFromTheDescriptionWithTheActiveRowAtThePage) {
  Build(7);
  pc->SetMultiLine(true);
  EXPECT_EQ(pc->TabScroller()->Visible(), false);
  EXPECT_EQ(pc->RowCount(), 2);
  EXPECT_EQ(pc->PageFrameRect(), (TRect{0, 40, 300, 200}));
  EXPECT_EQ(pc->DisplayRect(), (TRect{4, 44, 296, 196}));
  EXPECT_EQ(pages[0]->BoundsRect(), pc->DisplayRect());
  EXPECT_EQ(pc->TabRect(0), (TRect{0, 20, 60, 40}));
  EXPECT_EQ(pc->TabRect(5), (TRect{0, 0, 60, 20}));
  // Every row's tabs from the description: an inactive tab of each row.
  TBitmap normal, active;
  CreateHSkinImage(4, 4, normal, false, 60, {40, 0, 80, 20}, Picture());
  CreateHSkinImage(4, 4, active, false, 60, {40, 20, 80, 40}, Picture());
  ExpectSame(Shown({60, 20, 120, 40}), normal.Pixels(), "tab 1 in the row at the page");
  ExpectSame(Shown({60, 0, 120, 20}), normal.Pixels(), "tab 6 in the outer row");
  ExpectSame(Shown({0, 20, 60, 40}), active.Pixels(), "active tab 0");
  // Selecting tab 6 brings its row to the page.
  Click(pc->ClientToScreen({90, 10}));
  EXPECT_EQ(pc->ActivePage(), pages[6]);
  EXPECT_EQ(pc->TabRect(6), (TRect{60, 20, 120, 40}));
  EXPECT_EQ(pc->TabRect(0), (TRect{0, 0, 60, 20}));
  ExpectSame(Shown({60, 20, 120, 40}), active.Pixels(), "active tab 6 at the page");
  ExpectSame(Shown({0, 0, 60, 20}), normal.Pixels(), "tab 0 moved out");
}

// ---- button-style tabs

class SkinPageControlButtonTabsTest : public SkinPageControlRowsTest {
 protected:
  // The "tabbutton" look at w x h in a state, composed directly.
  TPixmap ButtonFace(const TRect& state, int w, int h) {
    auto* d = As<TqzDataSkinButtonControl>(skin->CtrlList()[size_t(skin->FindControlIndex("tabbutton"))].get());
    TqzSkinGeometry g = d->Geometry();
    g.SkinRect = state;
    TBitmap b;
    CreateSkinImage(g, CalcNewGeometry(g, TqzResizeMode::NinePart, w, h), true, w, h, Picture(), b);
    return b.Pixels();
  }
  uint32_t PicturePixel(int x, int y) { return Rgb24(Picture().Pixels().At(x, y)); }
};

TEST_F(SkinPageControlButtonTabsTest, ButtonTabsComeFromTheButtonDescriptionWithoutAPageFrame) {
  Build(3);
  pc->SetButtonTabSkinDataName("tabbutton");
  pc->SetStyle(tsButtons);
  EXPECT_EQ(pc->TabRect(1), (TRect{63, 0, 123, 20}));
  EXPECT_EQ(pc->DisplayRect(), (TRect{2, 22, 298, 198}));
  EXPECT_EQ(pc->PageFrameRect(), (TRect{0, 20, 300, 200}));
  EXPECT_EQ(pages[0]->BoundsRect(), pc->DisplayRect());
  EXPECT_EQ(pc->ActiveTabJoinedRect(), (TRect{0, 0, 60, 20}));  // no taller active look
  ExpectSame(Shown({0, 0, 60, 20}), ButtonFace({60, 60, 90, 80}, 60, 20), "the selected tab: pressed");
  ExpectSame(Shown({63, 0, 123, 20}), ButtonFace({0, 60, 30, 80}, 60, 20), "an inactive tab");
  Move(pc->ClientToScreen({150, 10}));
  ExpectSame(Shown({126, 0, 186, 20}), ButtonFace({30, 60, 60, 80}, 60, 20), "the hot tab");
  // Between the buttons the band piece (0,40)-(8,48) tiled from the band's origin.
  TPixmap gap = Shown({60, 0, 63, 20});
  EXPECT_EQ(Rgb24(gap.At(1, 5)), PicturePixel(61 % 8, 40 + 5));
  // No frame: the page background (the ClientRect piece, tiled from the
  // frame rectangle's corner) reaches the band.
  EXPECT_EQ(Rgb24(Shown({150, 21, 151, 22}).At(0, 0)), PicturePixel(4 + 150 % 32, 4 + 1));
}

TEST_F(SkinPageControlButtonTabsTest, WithoutAButtonDescriptionButtonTabsArePlainButtons) {
  Build(3);
  pc->SetButtonTabSkinDataName("nosuchbutton");
  pc->SetStyle(tsButtons);
  TPixmap tabs = Shown({0, 0, 186, 20});
  EXPECT_EQ(Rgb24(tabs.At(0, 0)), Rgb24(Rgb(TColor(0xB76B3B))));   // the selected tab's edge
  EXPECT_EQ(Rgb24(tabs.At(30, 10)), Rgb24(Rgb(TColor(0xE4BCA2))));  // its face
  EXPECT_EQ(Rgb24(tabs.At(63, 0)), Rgb24(Rgb(clBtnShadow)));
  EXPECT_EQ(Rgb24(tabs.At(90, 10)), Rgb24(Rgb(clBtnFace)));
  // Flat buttons: no edge until selected or hot.
  pc->SetStyle(tsFlatButtons);
  tabs = Shown({0, 0, 186, 20});
  EXPECT_EQ(Rgb24(tabs.At(63, 0)), Rgb24(Rgb(clBtnFace)));
  EXPECT_EQ(Rgb24(tabs.At(0, 0)), Rgb24(Rgb(TColor(0xB76B3B))));
  // Bottom buttons are not flipped: same faces, same rectangles along the row.
  pc->SetButtonTabSkinDataName("tabbutton");
  pc->SetStyle(tsButtons);
  pc->SetTabPosition(tpBottom);
  EXPECT_EQ(pc->TabRect(1), (TRect{63, 180, 123, 200}));
  ExpectSame(Shown({63, 180, 123, 200}), ButtonFace({0, 60, 30, 80}, 60, 20), "an inactive bottom tab");
  ExpectSame(Shown({0, 180, 60, 200}), ButtonFace({60, 60, 90, 80}, 60, 20), "the selected bottom tab");
}

}  // namespace
}  // namespace qz::testing
