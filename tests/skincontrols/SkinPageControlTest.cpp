// The skinned page control on the demo skin's "mainpage" description: tab
// geometry and states worked out by hand, the band, tabs, frame and page
// against direct compositions from the description at two sizes, tabs at the
// bottom, HideTabs, keyboard and wheel switching, hover repaints, the close
// button and a skin that goes away.
#include "../host_ui/UiTestSupport.h"
#include "../skins/DemoSkins.h"

#include "host/components/FormResource.h"
#include "skin/controls/SkinPageControl.h"
#include "skin/data/SkinControlData.h"
#include "skin/draw/QZUtils.h"
#include "skin/form/Orvane.h"

namespace qz::testing {
namespace {

// "mainpage" of the main demo skin (skin/MainSkinControls): a 48 x 48 page
// frame with borders 1, 5, 1, 5; tabs 64 x 26, the active tab 64 x 28.
constexpr TRect kTab{50, 0, 114, 26};
constexpr TRect kActiveTab{182, 0, 246, 28};
constexpr TRect kHotTab{116, 0, 180, 26};
constexpr TRect kBandPiece{248, 0, 256, 8};

uint32_t Rgb24(uint32_t argb) { return argb & 0xFFFFFF; }

class SkinPageControlTest : public UiTest {
 protected:
  void Build(int width = 300, int height = 200, int sheets = 3) {
    form = MakeForm({100, 100, 700, 600});
    skin = new TqzSkinData(form);
    skin->LoadFromCompressedData(MainSkin().Compressed);
    pc = new TqzSkinPageControl(form);
    pc->SetParent(form);
    pc->SetBounds(10, 10, width, height);
    pc->SetTabWidth(80);
    pc->SetSkinDataName("mainpage");
    pc->SetSkinData(skin);
    for (int i = 0; i < sheets; ++i) {
      auto* sheet = new TqzSkinTabSheet(form);
      sheet->SetPageControl(pc);
      pages.push_back(sheet);
    }
    Pump();
  }
  TqzDataSkinTabControl& Description() {
    return *As<TqzDataSkinTabControl>(skin->CtrlList()[size_t(skin->FindControlIndex("mainpage"))].get());
  }
  const TBitmap& Picture() { return *skin->ActivePicture(Description().PictureIndex); }

  // What the screen shows of `r` (control client coordinates).
  TPixmap Shown(const TRect& r) {
    TPixmap screen = hp->ComposeScreen();
    TPoint o = pc->ClientToScreen(r.TopLeft());
    TPixmap out(r.Width(), r.Height());
    for (int y = 0; y < r.Height(); ++y)
      for (int x = 0; x < r.Width(); ++x) out.At(x, y) = screen.At(o.X + x, o.Y + y);
    return out;
  }
  // Every pixel of `shown` against `expected` placed at `at` (colours only).
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
  TPixmap HTab(const TRect& state, int width) {
    TBitmap b;
    CreateHSkinImage(7, 7, b, true, width, state, Picture());
    return b.Pixels();
  }
  static TPixmap Part(const TPixmap& p, const TRect& r) {
    TPixmap out(r.Width(), r.Height());
    for (int y = 0; y < r.Height(); ++y)
      for (int x = 0; x < r.Width(); ++x) out.At(x, y) = p.At(r.Left + x, r.Top + y);
    return out;
  }
  static TPixmap Flipped(const TPixmap& p) {
    TPixmap out(p.Width(), p.Height());
    for (int y = 0; y < p.Height(); ++y)
      for (int x = 0; x < p.Width(); ++x) out.At(x, p.Height() - 1 - y) = p.At(x, y);
    return out;
  }

  TForm* form = nullptr;
  TqzSkinData* skin = nullptr;
  TqzSkinPageControl* pc = nullptr;
  std::vector<TqzSkinTabSheet*> pages;
};

// ---- geometry and states by hand

TEST_F(SkinPageControlTest, TabsAndPageAreaFollowTheDescription) {
  Build();
  ASSERT_TRUE(pc->Look().has_value());
  EXPECT_EQ(pc->TabRect(0), (TRect{0, 0, 80, 26}));
  EXPECT_EQ(pc->TabRect(2), (TRect{160, 0, 240, 26}));
  EXPECT_EQ(pc->PageFrameRect(), (TRect{0, 26, 300, 200}));
  EXPECT_EQ(pc->DisplayRect(), (TRect{1, 31, 299, 195}));
  EXPECT_EQ(pages[0]->BoundsRect(), pc->DisplayRect());
  EXPECT_EQ(pc->ActiveTabJoinedRect(), (TRect{0, 0, 80, 28}));
  pc->SetTabPosition(tpBottom);
  EXPECT_EQ(pc->TabRect(1), (TRect{80, 174, 160, 200}));
  EXPECT_EQ(pc->DisplayRect(), (TRect{1, 5, 299, 169}));
  EXPECT_EQ(pc->ActiveTabJoinedRect(), (TRect{0, 172, 80, 200}));
  // A fixed tab height wins over the description.
  pc->SetTabPosition(tpTop);
  pc->SetTabHeight(30);
  EXPECT_EQ(pc->TabRect(0), (TRect{0, 0, 80, 30}));
  EXPECT_EQ(pc->DisplayRect().Top, 35);
  // The row moves by TabsOffset, or sits in the middle of the side.
  pc->SetTabsOffset(10);
  EXPECT_EQ(pc->TabRect(0), (TRect{10, 0, 90, 30}));
  EXPECT_EQ(pc->IndexOfTabAt(5, 5), -1);
  pc->SetTabsInCenter(true);
  EXPECT_EQ(pc->TabRect(0), (TRect{30, 0, 110, 30}));
  // A row longer than the side starts at its beginning.
  pc->SetTabPosition(tpLeft);
  EXPECT_EQ(pc->TabRect(0), (TRect{0, 0, 30, 80}));
}

TEST_F(SkinPageControlTest, WithoutADescriptionThePlainLookAndDefaultItemHeight) {
  Build();
  pc->SetSkinDataName("nosuchtab");
  EXPECT_FALSE(pc->Look().has_value());
  EXPECT_EQ(pc->TabRect(0), (TRect{0, 0, 80, 20}));
  EXPECT_EQ(pc->DisplayRect(), (TRect{2, 22, 298, 198}));
  pc->SetDefaultItemHeight(24);
  EXPECT_EQ(pc->TabRect(0), (TRect{0, 0, 80, 24}));
  Pump();
  TPixmap shown = Shown({0, 0, 300, 200});
  EXPECT_EQ(shown.At(40, 10), Rgb(TColor(0xF3D4C1)));  // active, not focused
  EXPECT_EQ(shown.At(0, 0), Rgb(TColor(0xB76B3B)));
  EXPECT_EQ(shown.At(120, 10), Rgb(clBtnFace));
  EXPECT_EQ(shown.At(1, 100), Rgb(clBtnShadow));  // the page frame
  // The skin going away leaves the plain look too.
  pc->SetSkinDataName("mainpage");
  EXPECT_TRUE(pc->Look().has_value());
  delete skin;
  EXPECT_EQ(pc->SkinData(), nullptr);
  EXPECT_FALSE(pc->Look().has_value());
  EXPECT_EQ(pc->TabRect(0), (TRect{0, 0, 80, 24}));
  Pump();
}

TEST_F(SkinPageControlTest, EachTabStateUsesItsLookAndFallsBack) {
  Build();
  for (auto* p : pages) p->SetCaption("");
  // Focused tabs get a look of their own here.
  constexpr TRect kFocusTab{50, 0, 114, 28};
  Description().FocusTabRect = kFocusTab;
  pc->ChangeSkinData();
  struct Case {
    int tab;
    bool active, mouseIn;
    TRect state;
  };
  for (const Case& c : {Case{1, false, false, kTab}, Case{1, false, true, kHotTab},
                        Case{0, true, false, kActiveTab}, Case{0, true, true, kActiveTab}}) {
    TBitmap drawn;
    pc->DrawTabImage(drawn, c.tab, c.active, c.mouseIn);
    ExpectSame(drawn.Pixels(), HTab(c.state, 80), "tab " + std::to_string(c.tab));
  }
  pc->SetFocus();
  Pump();
  TBitmap focused;
  pc->DrawTabImage(focused, 0, true, false);
  ExpectSame(focused.Pixels(), HTab(kFocusTab, 80), "focused");

  // A disabled page's tab does not light up under the mouse.
  pages[1]->SetEnabled(false);
  TBitmap disabled;
  pc->DrawTabImage(disabled, 1, false, true);
  ExpectSame(disabled.Pixels(), HTab(kTab, 80), "disabled tab under the mouse");
  pages[1]->SetEnabled(true);

  // No hot look: a hovered tab keeps its normal image. No active or focused
  // look: the active tab falls back to the normal one.
  Description().MouseInTabRect = {};
  Description().ActiveTabRect = {};
  Description().FocusTabRect = {};
  pc->ChangeSkinData();
  TBitmap hovered, active;
  pc->DrawTabImage(hovered, 1, false, true);
  pc->DrawTabImage(active, 0, true, false);
  ExpectSame(hovered.Pixels(), HTab(kTab, 80), "hover without a hot look");
  ExpectSame(active.Pixels(), HTab(kTab, 80), "active without an active look");
}

// ---- pixels against direct compositions

class SkinPageControlPixels : public SkinPageControlTest, public ::testing::WithParamInterface<TSize> {};

TEST_P(SkinPageControlPixels, BandTabsFrameAndPageMatchTheDescription) {
  const TSize size = GetParam();
  Build(size.cx, size.cy, 2);
  for (auto* p : pages) p->SetCaption("");
  pc->SetActivePage(pages[1]);
  Pump();
  const int W = size.cx, H = size.cy;
  TPixmap shown = Shown({0, 0, W, H});

  // The band past the tabs: the band piece tiled from the control's (0, 0).
  TBitmap band(W, 26);
  for (int y = 0; y < 26; y += 8)
    for (int x = 0; x < W; x += 8) band.Canvas().CopyRect({x, y, x + 8, y + 8}, const_cast<TBitmap&>(Picture()).Canvas(), kBandPiece);
  ExpectSame(Part(shown, {160, 0, W, 26}), Part(band.Pixels(), {160, 0, W, 26}), "band");
  // The inactive tab and the active one reaching two rows into the frame.
  ExpectSame(Part(shown, {0, 0, 80, 26}), HTab(kTab, 80), "inactive tab");
  ExpectSame(Part(shown, {80, 0, 160, 28}), HTab(kActiveTab, 80), "active tab");

  // The frame: the border strips of the page description at the frame's size.
  const TqzDataSkinTabControl& d = Description();
  const TqzSkinGeometry g = d.Geometry();
  const TRect f{0, 26, W, H};
  TqzNewGeometry n = CalcNewGeometry(g, TqzResizeMode::NinePart, f.Width(), f.Height());
  TBitmap top, bottom, left, right;
  CreateSkinBorderImages(g, n, f.Width(), f.Height(), Picture(), top, bottom, left, right);
  ASSERT_EQ(top.Height(), 5);
  ExpectSame(Part(shown, {160, 26, W, 31}), Part(top.Pixels(), {160, 0, W, 5}), "frame top beside the tab");
  ExpectSame(Part(shown, {0, H - 5, W, H}), bottom.Pixels(), "frame bottom");
  ExpectSame(Part(shown, {0, 31, 1, H - 5}), left.Pixels(), "frame left");
  ExpectSame(Part(shown, {W - 1, 31, W, H - 5}), right.Pixels(), "frame right");

  // The page: the description's client piece stretched over the sheet.
  const TRect piece = OffsetRect(g.ClientRect, g.SkinRect.Left, g.SkinRect.Top);
  TBitmap pieceBmp(piece.Width(), piece.Height());
  pieceBmp.Canvas().CopyRect({0, 0, piece.Width(), piece.Height()}, const_cast<TBitmap&>(Picture()).Canvas(), piece);
  TBitmap page(W - 2, H - 36);
  page.Canvas().StretchDraw({0, 0, W - 2, H - 36}, pieceBmp);
  ExpectSame(Part(shown, {1, 31, W - 1, H - 5}), page.Pixels(), "page");
}

INSTANTIATE_TEST_SUITE_P(TwoSizes, SkinPageControlPixels, ::testing::Values(TSize{300, 200}, TSize{217, 133}));

TEST_F(SkinPageControlTest, BottomTabsShowTheSameImagesFlipped) {
  Build();
  for (auto* p : pages) p->SetCaption("");
  pc->SetTabPosition(tpBottom);
  Pump();
  TPixmap shown = Shown({0, 0, 300, 200});
  ExpectSame(Part(shown, {80, 174, 160, 200}), Flipped(HTab(kTab, 80)), "inactive bottom tab");
  ExpectSame(Part(shown, {0, 172, 80, 200}), Flipped(HTab(kActiveTab, 80)), "active bottom tab");
}

TEST_F(SkinPageControlTest, LeftTabsShowTheImagesTurnedWithTheirBottomAgainstThePage) {
  Build();
  for (auto* p : pages) p->SetCaption("");
  pc->SetTabPosition(tpLeft);
  Pump();
  // A quarter turn counter-clockwise: the source's bottom row becomes the right column.
  auto turned = [](const TPixmap& p) {
    TPixmap out(p.Height(), p.Width());
    for (int y = 0; y < p.Height(); ++y)
      for (int x = 0; x < p.Width(); ++x) out.At(y, p.Width() - 1 - x) = p.At(x, y);
    return out;
  };
  EXPECT_EQ(pc->TabRect(1), (TRect{0, 80, 26, 160}));
  EXPECT_EQ(pc->ActiveTabJoinedRect(), (TRect{0, 0, 28, 80}));
  TPixmap shown = Shown({0, 0, 300, 200});
  ExpectSame(Part(shown, {0, 80, 26, 160}), turned(HTab(kTab, 80)), "inactive left tab");
  // The page's left border is one pixel here, so the page covers the active
  // tab's last column below the frame's top.
  EXPECT_EQ(pc->DisplayRect().Left, 27);
  ExpectSame(Part(shown, {0, 0, 27, 80}), Part(turned(HTab(kActiveTab, 80)), {0, 0, 27, 80}), "active left tab");
}

TEST_F(SkinPageControlTest, OnDrawSkinTabDrawsTheContent) {
  Build();
  pages[1]->SetTabVisible(false);
  struct Call {
    int page;
    TRect rect;
    bool active, mouseIn;
  };
  std::vector<Call> calls;
  pc->OnDrawSkinTab = [&](int index, const TRect& r, bool active, bool mouseIn, TCanvas& c) {
    calls.push_back({index, r, active, mouseIn});
    c.Brush().SetStyle(TBrushStyle::bsSolid);
    c.Brush().SetColor(clLime);
    c.FillRect({r.Left + 30, r.Top + 10, r.Left + 40, r.Top + 14});
  };
  TBitmap inactive;
  pc->DrawTabImage(inactive, 1, false, true);  // the second visible tab shows page 2
  ASSERT_EQ(calls.size(), 1u);
  EXPECT_EQ(calls[0].page, 2);
  EXPECT_FALSE(calls[0].active);
  EXPECT_TRUE(calls[0].mouseIn);
  // Lower than the active tab: the caption area is moved down by 2.
  EXPECT_EQ(calls[0].rect, (TRect{0, 2, 80, 28}));
  EXPECT_EQ(Rgb24(inactive.Pixels().At(35, 13)), Rgb24(Rgb(clLime)));
  TBitmap active;
  pc->DrawTabImage(active, 0, true, false);
  EXPECT_EQ(calls[1].rect, (TRect{0, 0, 80, 28}));
  EXPECT_TRUE(calls[1].active);
}

// ---- HideTabs

TEST_F(SkinPageControlTest, HiddenTabsGiveTheWholeControlToThePage) {
  Build();
  pc->SetTabPosition(tpBottom);
  pc->HideTabs();
  Pump();
  EXPECT_EQ(pc->TabPosition(), tpTop);
  EXPECT_EQ(pc->DisplayRect(), (TRect{0, -2, 300, 200}));
  EXPECT_EQ(pages[0]->BoundsRect(), (TRect{0, -2, 300, 200}));
  // No band and no tab: the top rows are page background.
  TPixmap shown = Shown({0, 0, 300, 200});
  const TqzSkinGeometry g = Description().Geometry();
  const TRect piece = OffsetRect(g.ClientRect, g.SkinRect.Left, g.SkinRect.Top);
  TBitmap pieceBmp(piece.Width(), piece.Height());
  pieceBmp.Canvas().CopyRect({0, 0, piece.Width(), piece.Height()}, const_cast<TBitmap&>(Picture()).Canvas(), piece);
  TBitmap page(300, 202);
  page.Canvas().StretchDraw({0, 0, 300, 202}, pieceBmp);
  ExpectSame(shown, Part(page.Pixels(), {0, 2, 300, 202}), "hidden tabs");
  // No hot tab over where the tabs were.
  Move(pc->ClientToScreen({40, 10}));
  EXPECT_EQ(pc->HotTab(), -1);
  // The pages still switch from code.
  pc->SetActivePage(pages[2]);
  EXPECT_TRUE(pages[2]->Visible());
  EXPECT_EQ(pages[2]->BoundsRect(), (TRect{0, -2, 300, 200}));
}

TEST_F(SkinPageControlTest, AWallPaperIsTiledOverItsSheet) {
  Build();
  TBitmap wall(3, 2);
  wall.Canvas().Brush().SetColor(clRed);
  wall.Canvas().FillRect({0, 0, 3, 2});
  wall.Canvas().SetPixel(1, 1, clBlue);
  pages[0]->SetWallPaper(wall);
  Pump();
  TRect page = pc->DisplayRect();
  TPixmap shown = Shown(page);
  for (int y = 0; y < 8; ++y)
    for (int x = 0; x < 9; ++x)
      EXPECT_EQ(Rgb24(shown.At(x, y)), Rgb24(Rgb(x % 3 == 1 && y % 2 == 1 ? clBlue : clRed))) << x << "," << y;
}

// ---- switching pages

TEST_F(SkinPageControlTest, KeysAndWheelSwitchPagesWithTheUsualEvents) {
  Build();
  std::vector<std::string> log;
  pc->OnChanging = [&](TObject*, bool&) { log.push_back("changing"); };
  pc->OnChange = [&](TObject*) { log.push_back("change"); };
  pc->SetFocus();
  Pump();
  Key(VK_RIGHT);
  EXPECT_EQ(pc->ActivePage(), pages[1]);
  Key(VK_TAB, kModCtrl);
  EXPECT_EQ(pc->ActivePage(), pages[2]);
  EXPECT_EQ(log.size(), 4u);
  // The wheel does nothing unless asked to.
  Move(pc->ClientToScreen({100, 100}));
  hp->InjectWheel(120);
  Pump();
  EXPECT_EQ(pc->ActivePage(), pages[2]);
  pc->SetMouseWheelSupport(true);
  pages[1]->SetTabVisible(false);
  hp->InjectWheel(120);  // towards the first page, over the hidden one
  Pump();
  EXPECT_EQ(pc->ActivePage(), pages[0]);
  hp->InjectWheel(120);  // at the first page: nothing
  Pump();
  EXPECT_EQ(pc->ActivePage(), pages[0]);
  hp->InjectWheel(-120);
  hp->InjectWheel(-120);  // at the last page: nothing
  Pump();
  EXPECT_EQ(pc->ActivePage(), pages[2]);
}

// ---- mouse: hover and close buttons

TEST_F(SkinPageControlTest, HoverChangePresentsOnlyTheTabsConcerned) {
  Build();
  auto& w = *static_cast<THeadlessWindow*>(form->WindowData()->platform.get());
  TPoint clientInWindow = form->ClientOrigin() - form->BoundsRect().TopLeft();
  auto inWindow = [&](const TRect& r) {
    TPoint o = pc->ClientToParent(r.TopLeft()) + clientInWindow;
    return TRect{o.X, o.Y, o.X + r.Width(), o.Y + r.Height()};
  };
  Move(pc->ClientToScreen({100, 10}));
  EXPECT_EQ(pc->HotTab(), 1);
  EXPECT_EQ(w.LastPresentDirty(), TRegion(inWindow(pc->TabRect(1))));
  TPixmap shown = Shown(pc->TabRect(1));
  TBitmap hot;
  pc->DrawTabImage(hot, 1, false, true);
  ExpectSame(shown, hot.Pixels(), "hot tab");
  Move(pc->ClientToScreen({180, 10}));
  EXPECT_EQ(pc->HotTab(), 2);
  EXPECT_EQ(w.LastPresentDirty(), TRegion(inWindow(pc->TabRect(1))).Union(TRegion(inWindow(pc->TabRect(2)))));
  // Leaving for the page clears the hot tab.
  Move(pc->ClientToScreen({150, 100}));
  EXPECT_EQ(pc->HotTab(), -1);
}

TEST_F(SkinPageControlTest, CloseButtonAsksHidesAndMayFreeThePage) {
  Build();
  pc->SetShowCloseButtons(true);
  pc->SetTabWidth(0);
  pages[0]->SetCaption("One");
  pages[1]->SetCaption("Two");
  Pump();
  bool allow = false;
  int asked = 0, after = 0;
  pc->OnClose = [&](TObject* sender, bool& canClose) {
    ++asked;
    EXPECT_EQ(sender, pc->ActivePage());
    canClose = allow;
  };
  pc->OnAfterClose = [&](TObject*) { ++after; };
  TRect tab = pc->TabRect(0);
  TPoint close{tab.Right - 3 - 7, tab.Top + tab.Height() / 2};
  Move(pc->ClientToScreen(close));
  Click(pc->ClientToScreen(close));
  EXPECT_EQ(asked, 1);
  EXPECT_TRUE(pages[0]->TabVisible());
  allow = true;
  pc->SetFreeOnClose(true);
  TComponentRef<TqzSkinTabSheet> first(pages[0]);
  Click(pc->ClientToScreen(close));
  EXPECT_EQ(asked, 2);
  EXPECT_EQ(after, 1);
  EXPECT_FALSE(first);
  EXPECT_EQ(pc->ActivePage(), pages[1]);
}

// On every side the close button is hit where it shows: the pixels it adds
// to a tab lie in the rectangle the mouse tests, hovering them lights that
// tab's button only, and a click on them closes that tab's page. Turned with
// the tab, the button sits at the tab's far end in reading direction.
TEST_F(SkinPageControlTest, CloseButtonsAreHitWhereTheyShowOnEverySide) {
  struct Case {
    TTabPosition position;
    bool captionHorizontal;
    const char* name;
  };
  const Case cases[] = {{tpTop, false, "top"},   {tpBottom, false, "bottom"},
                        {tpLeft, false, "left"}, {tpRight, false, "right"},
                        {tpLeft, true, "left, caption horizontal"}};
  for (const Case& c : cases) {
    SCOPED_TRACE(c.name);
    pages.clear();
    Build();
    pc->OnDrawSkinTab = [](int, const TRect&, bool, bool, TCanvas&) {};  // tabs without content
    pc->SetTabPosition(c.position);
    pc->SetTextInHorizontal(c.captionHorizontal);
    Pump();
    const TRect tab = pc->TabRect(1);
    const TPixmap without = Shown(tab);
    pc->SetShowCloseButtons(true);  // the fixed tab width keeps the row as it was
    Pump();
    const TPixmap with = Shown(tab);
    TRect painted{tab.Right, tab.Bottom, tab.Left, tab.Top};
    for (int y = 0; y < tab.Height(); ++y)
      for (int x = 0; x < tab.Width(); ++x)
        if (Rgb24(with.At(x, y)) != Rgb24(without.At(x, y)))
          painted = {std::min(painted.Left, tab.Left + x), std::min(painted.Top, tab.Top + y),
                     std::max(painted.Right, tab.Left + x + 1), std::max(painted.Bottom, tab.Top + y + 1)};
    ASSERT_FALSE(painted.IsEmpty());
    const TRect hit = pc->TabPlacement(1).CloseShown;
    EXPECT_TRUE(RectInRect({painted.Left, painted.Top, painted.Right - 1, painted.Bottom - 1}, hit))
        << "painted " << painted.Left << "," << painted.Top << "-" << painted.Right << "," << painted.Bottom;
    EXPECT_GE(painted.Width() * painted.Height() * 2, hit.Width() * hit.Height());
    const bool vertical = c.position == tpLeft || c.position == tpRight;
    if (vertical && !c.captionHorizontal)
      EXPECT_EQ(c.position == tpLeft ? hit.Top - tab.Top : tab.Bottom - hit.Bottom, 3) << "far end";
    else
      EXPECT_EQ(tab.Right - hit.Right, 3) << "right end";

    const TPoint button{(painted.Left + painted.Right) / 2, (painted.Top + painted.Bottom) / 2};
    // The tab's corner farthest from the button.
    const TPoint otherEnd{button.X * 2 < tab.Left + tab.Right ? tab.Right - 2 : tab.Left + 1,
                          button.Y * 2 < tab.Top + tab.Bottom ? tab.Bottom - 2 : tab.Top + 1};
    Move(pc->ClientToScreen(otherEnd));
    EXPECT_EQ(pc->HotTab(), 1);
    EXPECT_FALSE(pages[1]->CloseButtonHot);
    Move(pc->ClientToScreen(button));
    EXPECT_TRUE(pages[1]->CloseButtonHot);
    EXPECT_FALSE(pages[0]->CloseButtonHot);
    TObject* closed = nullptr;
    pc->OnClose = [&](TObject* sender, bool&) { closed = sender; };
    Click(pc->ClientToScreen(button));
    EXPECT_EQ(closed, pages[1]);
    EXPECT_FALSE(pages[1]->TabVisible());
    EXPECT_TRUE(pages[0]->TabVisible());
    delete form;
    Pump();
  }
}

TEST_F(SkinPageControlTest, OnCloseMayFreeThePageControl) {
  Build();
  pc->SetShowCloseButtons(true);
  Pump();
  TComponentRef<TqzSkinPageControl> ref(pc);
  pc->OnClose = [&](TObject*, bool&) { delete pc; };
  TRect tab = pc->TabRect(0);
  TPoint close{tab.Right - 3 - 7, tab.Top + tab.Height() / 2};
  Move(pc->ClientToScreen(close));
  Click(pc->ClientToScreen(close));
  EXPECT_FALSE(ref);
  Pump();
}

// ---- skin changes

TEST_F(SkinPageControlTest, TheControllersSkinChangeWalkReachesThePageControl) {
  form = MakeForm({100, 100, 700, 600});
  skin = new TqzSkinData(form);
  skin->LoadFromCompressedData(DialogSkin().Compressed);  // no "mainpage" there
  auto* orvane = new TqzOrvane(form);
  orvane->SetSkinData(skin);
  auto* panel = new TPanel(form);  // the walk goes through containers
  panel->SetParent(form);
  panel->SetBounds(0, 0, 400, 300);
  pc = new TqzSkinPageControl(form);
  pc->SetParent(panel);
  pc->SetBounds(10, 10, 300, 200);
  pc->SetSkinDataName("mainpage");
  pc->SetSkinData(skin);
  auto* sheet = new TqzSkinTabSheet(form);
  sheet->SetPageControl(pc);
  EXPECT_FALSE(pc->Look().has_value());
  EXPECT_EQ(pc->TabRect(0).Height(), 20);
  skin->LoadFromCompressedData(MainSkin().Compressed);
  // Sized from the new description before anything paints.
  ASSERT_TRUE(pc->Look().has_value());
  EXPECT_EQ(pc->TabRect(0).Height(), 26);
  EXPECT_EQ(sheet->BoundsRect(), (TRect{1, 31, 299, 195}));
  EXPECT_EQ(pc->Font().Height(), Description().FontHeight);
  Pump();
}

// ---- streaming

TEST_F(SkinPageControlTest, PublishedDefaultsAreNotWrittenAndChangesRoundTrip) {
  auto* f = new TForm(Application);
  f->SetName("SkinPagesForm");
  auto* data = new TqzSkinData(f);
  data->SetName("qzSkinData1");
  auto* p = new TqzSkinPageControl(f);
  p->SetName("qzSkinPageControl1");
  p->SetParent(f);
  auto* sheet = new TqzSkinTabSheet(f);
  sheet->SetName("qzSkinTabSheet1");
  sheet->SetPageControl(p);
  std::string plain = WriteComponentRes(f);
  for (const char* key : {"ButtonTabSkinDataName", "SkinDataName", "TabMargin", "DefaultItemHeight",
                          "UseSkinFont", "TabLayout", "MouseWheelSupport"})
    EXPECT_EQ(plain.find(key), std::string::npos) << key;
  p->SetSkinData(data);
  p->SetSkinDataName("mainpage");
  p->SetTabLayout(blGlyphTop);
  p->SetMouseWheelSupport(true);
  p->SetDefaultItemHeight(30);
  TBitmap wall(3, 2);
  wall.Canvas().Brush().SetColor(clRed);
  wall.Canvas().FillRect({0, 0, 3, 2});
  wall.Canvas().SetPixel(1, 1, clBlue);
  sheet->SetWallPaper(wall);
  std::string once = WriteComponentRes(f);
  TForm g(nullptr);
  ReadComponentRes(&g, once);
  auto* again = g.FindChild<TqzSkinPageControl>("qzSkinPageControl1");
  ASSERT_NE(again, nullptr);
  EXPECT_EQ(again->SkinData(), g.FindChild<TqzSkinData>("qzSkinData1"));
  EXPECT_EQ(again->SkinDataName(), "mainpage");
  EXPECT_EQ(again->TabLayout(), blGlyphTop);
  EXPECT_TRUE(again->MouseWheelSupport());
  EXPECT_EQ(again->DefaultItemHeight(), 30);
  ASSERT_EQ(again->PageCount(), 1);
  auto* sheetAgain = As<TqzSkinTabSheet>(again->Pages(0));
  ASSERT_NE(sheetAgain, nullptr);
  ASSERT_EQ(sheetAgain->WallPaper().Width(), 3);
  EXPECT_EQ(Rgb24(sheetAgain->WallPaper().Pixels().At(1, 1)), Rgb24(Rgb(clBlue)));
  EXPECT_EQ(Rgb24(sheetAgain->WallPaper().Pixels().At(2, 1)), Rgb24(Rgb(clRed)));
  EXPECT_EQ(WriteComponentRes(&g), once);
}

}  // namespace
}  // namespace qz::testing
