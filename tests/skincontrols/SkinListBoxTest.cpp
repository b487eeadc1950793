// The skinned list box: layout, scroll bars that come and go with the
// items and mirror the inner list, item looks against direct compositions,
// caption-button auto-repeat on the virtual clock, many items, and a
// handler that frees the box.
#include <gtest/gtest.h>

#include "host/components/FormResource.h"
#include "host/ui/ImgList.h"
#include "host/ui/Menus.h"
#include "skin/controls/SkinListBox.h"
#include "skin/form/Orvane.h"
#include "skin/popups/SkinMenu.h"
#include "skin/data/SkinControlData.h"
#include "skin/draw/QzComposition.h"
#include "tests/skincontrols/SkinControlTestKit.h"
#include "tests/skins/DemoSkins.h"

namespace qz::testing {
namespace {

// Picture 0: a 100 x 100 pattern. "lb" is a 60 x 60 nine-part frame with a
// 4-pixel border; its items are 60 x 12 strips below it (normal at y 60,
// selected at y 72, focused at y 84), 6 pixels fixed at either end.
std::unique_ptr<TqzSkinData> LoadListSkin() {
  TTestSkinParts parts;
  parts.Picture = Pattern(8, 8, 9);
  parts.Active.push_back(Pattern(100, 100, 5));
  parts.Text =
      "[SKINCONTROLS]\r\ncount=1\r\n0=lb:listbox\r\n"
      "[lb]\r\npictureindex=0\r\nskinrect=0,0,60,60\r\nlefttoppoint=4,4\r\nrighttoppoint=56,4\r\n"
      "leftbottompoint=4,56\r\nrightbottompoint=56,56\r\nclientrect=4,4,56,56\r\n"
      "itemrect=0,60,60,72\r\nactiveitemrect=0,72,60,84\r\nfocusitemrect=0,84,60,96\r\n"
      "itemleftoffset=6\r\nitemrightoffset=6\r\nitemtextrect=6,0,54,12\r\n";
  return LoadTestSkin(parts);
}

uint32_t SystemRgb(TColor c) { return PixelFromColorRef(ColorToRGB(c)) & 0xFFFFFF; }

class SkinListBoxTest : public SkinControlTest {
 protected:
  TqzSkinListBox* MakeList(bool skinned, int w = 120, int h = 120) {
    auto* l = new TqzSkinListBox(form);
    l->SetParent(form);
    l->SetBounds(10, 10, w, h);
    if (skinned) {
      listSkin = LoadListSkin();
      l->SetSkinDataName("lb");
      l->SetSkinData(listSkin.get());
    }
    Pump();
    return l;
  }
  static void Fill(TqzSkinListBox& l, int n, const std::string& stem = "Item") {
    l.Items().BeginUpdate();
    for (int i = 0; i < n; ++i) l.Items().Add(stem + std::to_string(i));
    l.Items().EndUpdate();
  }
  void TearDown() override {
    SkinControlTest::TearDown();
    listSkin.reset();
  }
  std::unique_ptr<TqzSkinData> listSkin;
};

TEST_F(SkinListBoxTest, PlainLayoutAndAVerticalBarThatComesAndGoes) {
  TqzSkinListBox* l = MakeList(false);
  EXPECT_EQ(l->ListRect(), (TRect{2, 2, 118, 118}));
  EXPECT_EQ(l->CurrentItemHeight(), 20);
  Fill(*l, 5);  // 116 / 20 = 5 rows fit
  EXPECT_EQ(l->VScrollBar(), nullptr);
  l->Items().Add("six");
  ASSERT_NE(l->VScrollBar(), nullptr);
  EXPECT_EQ(l->VScrollBar()->BoundsRect(), (TRect{100, 1, 119, 119}));
  EXPECT_EQ(l->ListRect(), (TRect{2, 2, 100, 118}));
  EXPECT_EQ(l->VScrollBar()->PageSize(), 5);
  EXPECT_EQ(l->VScrollBar()->Max(), 5);
  EXPECT_EQ(l->VScrollBar()->LargeChange(), 5);
  // The bar drives the list and mirrors it.
  l->VScrollBar()->SetPosition(1);
  EXPECT_EQ(l->TopIndex(), 1);
  l->SetTopIndex(0);
  EXPECT_EQ(l->VScrollBar()->Position(), 0);
  l->Items().Delete(0);
  EXPECT_EQ(l->VScrollBar(), nullptr);
  EXPECT_EQ(l->ListRect(), (TRect{2, 2, 118, 118})) << "the full width again";
}

TEST_F(SkinListBoxTest, CaptionModeMovesTheListDown) {
  TqzSkinListBox* l = MakeList(false);
  l->SetCaptionMode(true);
  EXPECT_EQ(l->ListRect(), (TRect{2, 21, 118, 118}));
  // Buttons 17 wide at top 2, from the right edge - 2: up, down, check.
  EXPECT_EQ(l->CaptionButtonRect(TqzCaptionButton::Up), (TRect{101, 2, 118, 19}));
  EXPECT_EQ(l->CaptionButtonRect(TqzCaptionButton::Down), (TRect{84, 2, 101, 19}));
  EXPECT_EQ(l->CaptionButtonRect(TqzCaptionButton::Check), (TRect{67, 2, 84, 19}));
  l->SetRowCount(3);
  EXPECT_EQ(l->Height(), 3 * 20 + 4 + 20);
}

TEST_F(SkinListBoxTest, HorizontalBarFollowsTheWidestItem) {
  TqzSkinListBox* l = MakeList(false);
  l->SetHorizontalExtent(true);
  l->Items().Add("short");
  EXPECT_EQ(l->HScrollBar(), nullptr);
  const std::string wide(40, 'W');
  l->Items().Add(wide);
  ASSERT_NE(l->HScrollBar(), nullptr);
  TBitmap probe(1, 1);
  probe.Canvas().SetFont(l->ListBox().Font());
  EXPECT_EQ(l->HScrollBar()->SmallChange(), probe.Canvas().TextWidth("0"));
  EXPECT_EQ(l->HScrollBar()->Max(), probe.Canvas().TextWidth(wide));
  EXPECT_EQ(l->HScrollBar()->PageSize(), l->ListRect().Width() - 4);
  EXPECT_EQ(l->HScrollBar()->BoundsRect(), (TRect{1, 100, 119, 119}));
  l->HScrollBar()->SetPosition(30);
  EXPECT_EQ(l->ListBox().HorzOffset(), 30);
  l->Items().Delete(1);
  EXPECT_EQ(l->HScrollBar(), nullptr);
  EXPECT_EQ(l->ListBox().HorzOffset(), 0);
}

TEST_F(SkinListBoxTest, TabWidthsGiveTabStops) {
  TqzSkinListBox* l = MakeList(false);
  l->TabWidths().SetText("40\nx\n120\n");
  EXPECT_EQ(l->TabStops(), (std::vector<int>{40, 0, 120}));
}

// The pixels of item `index` as the screen shows them.
TPixmap ItemPixels(SkinControlTest& t, TPixmap screen, TqzSkinListBox& l, int row, int height) {
  const TPoint at = l.ListBox().ClientToScreen({0, row * height});
  TPixmap out(l.ListBox().ClientWidth(), height);
  for (int y = 0; y < height; ++y)
    for (int x = 0; x < out.Width(); ++x) out.At(x, y) = screen.At(at.X + x, at.Y + y) & 0xFFFFFF;
  return out;
}

TPixmap Composed(const TqzSkinData& skin, const TRect& source, int width) {
  TBitmap b;
  CreateHSkinImage(6, 6, b, false, width, source, *skin.ActivePicture(0));
  TPixmap out(b.Width(), b.Height());
  for (int y = 0; y < b.Height(); ++y)
    for (int x = 0; x < b.Width(); ++x) out.At(x, y) = b.Pixels().At(x, y) & 0xFFFFFF;
  return out;
}

TEST_F(SkinListBoxTest, SkinnedItemsAreTheirPicturesStretchedAcross) {
  TqzSkinListBox* l = MakeList(true);
  // Item text would cover the strips: empty items show the pictures alone.
  for (int i = 0; i < 4; ++i) l->Items().Add("");
  EXPECT_EQ(l->CurrentItemHeight(), 12);
  EXPECT_EQ(l->ListRect(), (TRect{4, 4, 116, 116}));
  l->SetItemIndex(1);
  Pump();
  TPixmap screen = hp->ComposeScreen();
  const int w = l->ListRect().Width();
  EXPECT_EQ(ItemPixels(*this, screen, *l, 0, 12), Composed(*listSkin, {0, 60, 60, 72}, w));
  EXPECT_EQ(ItemPixels(*this, screen, *l, 1, 12), Composed(*listSkin, {0, 72, 60, 84}, w));
  l->ListBox().SetFocus();
  Pump();
  screen = hp->ComposeScreen();
  EXPECT_EQ(ItemPixels(*this, screen, *l, 1, 12), Composed(*listSkin, {0, 84, 60, 96}, w))
      << "focused and selected";
}

TEST_F(SkinListBoxTest, PlainItemsFillWithTheSystemColours) {
  TqzSkinListBox* l = MakeList(false);
  l->Items().Add("");
  l->Items().Add("");
  l->SetItemIndex(1);
  Pump();
  const TPixmap screen = hp->ComposeScreen();
  const TPoint at = l->ListBox().ClientToScreen({0, 0});
  EXPECT_EQ(screen.At(at.X + 5, at.Y + 5) & 0xFFFFFF, SystemRgb(clWindow));
  EXPECT_EQ(screen.At(at.X + 5, at.Y + 25) & 0xFFFFFF, SystemRgb(clHighlight));
  const TPoint frame = l->ClientToScreen({0, 0});
  EXPECT_EQ(screen.At(frame.X, frame.Y + 50) & 0xFFFFFF, SystemRgb(clBtnShadow));
}

TEST_F(SkinListBoxTest, ImageIndexMinusOneGivesEachItemItsOwnImage) {
  TqzSkinListBox* l = MakeList(false, 120, 200);
  auto* images = new TImageList(form);
  images->SetSize(8, 8);
  const uint32_t colours[] = {0xFFFF0000, 0xFF00FF00, 0xFF0000FF, 0xFFFFFF00, 0xFF00FFFF};
  for (uint32_t colour : colours) {
    TBitmap b(8, 8);
    for (int y = 0; y < 8; ++y)
      for (int x = 0; x < 8; ++x) b.Pixels().At(x, y) = colour;
    b.Modified();
    images->Add(b);
  }
  l->SetImages(images);
  for (int i = 0; i < 7; ++i) l->Items().Add("");
  Pump();
  const TPixmap screen = hp->ComposeScreen();
  // The image sits at the text's left (item inset 2), centred in 20 rows.
  for (int k = 0; k < 7; ++k) {
    const TPoint p = l->ListBox().ClientToScreen({2 + 3, k * 20 + 6 + 3});
    const uint32_t expected = k < 5 ? colours[k] & 0xFFFFFF : SystemRgb(clWindow);
    EXPECT_EQ(screen.At(p.X, p.Y) & 0xFFFFFF, expected) << "item " << k;
  }
}

TEST_F(SkinListBoxTest, ManyItemsDrawOnlyTheVisibleOnes) {
  TqzSkinListBox* l = MakeList(true);
  std::vector<int> drawn;
  l->OnDrawItem = [&](TCanvas&, int i, TSize, TRect, TOwnerDrawState) { drawn.push_back(i); };
  Fill(*l, 100000);
  ASSERT_NE(l->VScrollBar(), nullptr);
  EXPECT_EQ(l->VScrollBar()->Max(), 99999);
  EXPECT_EQ(l->VScrollBar()->PageSize(), 112 / 12);
  l->VScrollBar()->SetPosition(70000);
  EXPECT_EQ(l->TopIndex(), 70000);
  drawn.clear();
  l->ListBox().Invalidate();
  Pump();
  // Nine whole rows of 12 in 112 pixels and the top of the tenth.
  std::vector<int> expected;
  for (int i = 70000; i < 70010; ++i) expected.push_back(i);
  EXPECT_EQ(drawn, expected);
  l->ListBox().SetFocus();
  Key(VK_END);
  EXPECT_EQ(l->VScrollBar()->Position(), 99999 - 9 + 1);
}

TEST_F(SkinListBoxTest, HoldingTheDownButtonRepeats) {
  TqzSkinListBox* l = MakeList(false);
  l->SetCaptionMode(true);
  Fill(*l, 20);
  l->SetItemIndex(0);
  Pump();
  const TRect down = l->CaptionButtonRect(TqzCaptionButton::Down);
  const TPoint p = l->ClientToScreen({down.Left + 5, down.Top + 5});
  Move(p);
  hp->InjectMouseDown();
  Pump();
  EXPECT_EQ(l->PressedButton(), TqzCaptionButton::Down);
  EXPECT_EQ(l->ItemIndex(), 0);
  hp->AdvanceClock(kListButtonRepeatDelayMs);
  Pump();
  EXPECT_EQ(l->ItemIndex(), 1);
  hp->AdvanceClock(kListButtonRepeatIntervalMs);
  Pump();
  EXPECT_EQ(l->ItemIndex(), 2);
  hp->AdvanceClock(kListButtonRepeatIntervalMs);
  Pump();
  EXPECT_EQ(l->ItemIndex(), 3);
  // Off the button the repeat stops.
  Move(l->ClientToScreen({5, 60}));
  hp->AdvanceClock(5 * kListButtonRepeatIntervalMs);
  Pump();
  EXPECT_EQ(l->ItemIndex(), 3);
  Move(p);
  hp->InjectMouseUp();
  Pump();
  EXPECT_EQ(l->PressedButton(), TqzCaptionButton::None);
  EXPECT_EQ(l->ItemIndex(), 4) << "the release steps once more";
  // A click without holding moves one item.
  Click(p);
  EXPECT_EQ(l->ItemIndex(), 5);
  // An assigned event replaces the built-in step.
  int ups = 0;
  l->OnUpButtonClick = [&](TObject*) { ++ups; };
  const TRect up = l->CaptionButtonRect(TqzCaptionButton::Up);
  Click(l->ClientToScreen({up.Left + 5, up.Top + 5}));
  EXPECT_EQ(ups, 1);
  EXPECT_EQ(l->ItemIndex(), 5);
}

TEST_F(SkinListBoxTest, ListClickHandlerMayFreeTheBox) {
  TqzSkinListBox* l = MakeList(false);
  Fill(*l, 5);
  l->OnListBoxClick = [&](TObject* sender) {
    EXPECT_EQ(sender, l);
    // The closure dies with the control: nothing of it is read afterwards.
    TqzSkinListBox*& slot = l;
    delete slot;
    slot = nullptr;
  };
  Click(l->ListBox().ClientToScreen({10, 30}));
  EXPECT_EQ(l, nullptr);
  Pump();
}

TEST_F(SkinListBoxTest, DrawHandlerMayFreeTheBox) {
  TqzSkinListBox* l = MakeList(false);
  Fill(*l, 5);
  l->OnDrawItem = [&](TCanvas&, int, TSize, TRect, TOwnerDrawState) {
    // The closure dies with the control: nothing of it is read afterwards.
    TqzSkinListBox*& slot = l;
    delete slot;
    slot = nullptr;
  };
  l->ListBox().Invalidate();
  Pump();
  EXPECT_EQ(l, nullptr);
}

TEST_F(SkinListBoxTest, MainSkinListBoxUsesItsOwnScrollBars) {
  const TDemoSkin& demo = MainSkin();
  auto* l = new TqzSkinListBox(form);
  l->SetParent(form);
  l->SetBounds(10, 10, 200, 80);
  l->SetSkinDataName("listbox1");
  l->SetSkinData(demo.Skin.get());
  l->SetHorizontalExtent(true);
  Fill(*l, 7);
  l->Items().Add(std::string(60, 'M'));
  ASSERT_NE(l->VScrollBar(), nullptr);
  ASSERT_NE(l->HScrollBar(), nullptr);
  EXPECT_EQ(l->VScrollBar()->SkinDataName(), "lbscrollbar");
  EXPECT_TRUE(l->HScrollBar()->Both());
  EXPECT_EQ(l->HScrollBar()->SkinDataName(), "lbbothhscrollbar");
  EXPECT_EQ(l->CurrentItemHeight(), 20);
  // The bars sit inside the frame's client rectangle, the list beside them.
  EXPECT_EQ(l->VScrollBar()->BoundsRect().Right, l->HScrollBar()->BoundsRect().Right);
  EXPECT_EQ(l->ListRect().Right, l->VScrollBar()->Left());
  EXPECT_EQ(l->ListRect().Bottom, l->HScrollBar()->Top());
  delete l;
}

// Plain 120 x 120: the list is 116 high, five rows of 20; two columns.
TEST_F(SkinListBoxTest, ColumnsScrollSidewaysWithOneBarAcrossTheBottom) {
  TqzSkinListBox* l = MakeList(false);
  l->SetHorizontalExtent(true);
  l->SetColumns(2);
  EXPECT_EQ(l->ListBox().Columns(), 2);
  Fill(*l, 10);
  EXPECT_EQ(l->VScrollBar(), nullptr) << "ten items fill two columns of five";
  l->Items().Add(std::string(40, 'W'));
  ASSERT_NE(l->VScrollBar(), nullptr);
  EXPECT_EQ(l->HScrollBar(), nullptr) << "no extent bar in column mode";
  EXPECT_EQ(l->VScrollBar()->Kind(), sbHorizontal);
  EXPECT_EQ(l->VScrollBar()->BoundsRect(), (TRect{1, 100, 119, 119}));
  EXPECT_EQ(l->ListRect(), (TRect{2, 2, 118, 100}));
  // Four rows now: eleven items take three columns, two on screen.
  EXPECT_EQ(l->VScrollBar()->Max(), 2);
  EXPECT_EQ(l->VScrollBar()->PageSize(), 2);
  l->VScrollBar()->SetPosition(1);
  EXPECT_EQ(l->TopIndex(), 4);
  l->SetTopIndex(0);
  EXPECT_EQ(l->VScrollBar()->Position(), 0);
  // Left and Right cross columns: no extent bar takes them.
  l->ListBox().SetFocus();
  l->SetItemIndex(1);
  Key(VK_RIGHT);
  EXPECT_EQ(l->ItemIndex(), 5);
  Key(VK_RIGHT);
  EXPECT_EQ(l->ItemIndex(), 9);
  EXPECT_EQ(l->VScrollBar()->Position(), 1);
  // Eight items fit two columns of four, and without the bar five rows.
  for (int i = 0; i < 3; ++i) l->Items().Delete(0);
  EXPECT_EQ(l->VScrollBar(), nullptr);
  EXPECT_EQ(l->ListRect(), (TRect{2, 2, 118, 118}));
  // Back to one column: an upright bar again.
  Fill(*l, 10);
  l->SetColumns(0);
  ASSERT_NE(l->VScrollBar(), nullptr);
  EXPECT_EQ(l->VScrollBar()->Kind(), sbVertical);
}

// The skinned 120 x 120 list: client 112 x 112, nine rows of 12; two columns
// of 56. Each cell shows its item picture stretched to the column's width,
// and the one bar lies inside the frame across the list's bottom.
TEST_F(SkinListBoxTest, SkinnedColumnsShowItemPicturesPerCell) {
  TqzSkinListBox* l = MakeList(true);
  l->SetColumns(2);
  for (int i = 0; i < 18; ++i) l->Items().Add("");
  EXPECT_EQ(l->VScrollBar(), nullptr) << "eighteen items fill two columns of nine";
  EXPECT_EQ(l->ListRect(), (TRect{4, 4, 116, 116}));
  auto cell = [&](const TPixmap& screen, int column, int row) {
    const int w = l->ListBox().ClientWidth() / 2;
    const TPoint at = l->ListBox().ClientToScreen({column * w, row * 12});
    TPixmap out(w, 12);
    for (int y = 0; y < 12; ++y)
      for (int x = 0; x < w; ++x) out.At(x, y) = screen.At(at.X + x, at.Y + y) & 0xFFFFFF;
    return out;
  };
  l->SetItemIndex(10);  // second column, second row
  Pump();
  TPixmap screen = hp->ComposeScreen();
  EXPECT_EQ(cell(screen, 0, 1), Composed(*listSkin, {0, 60, 60, 72}, 56));
  EXPECT_EQ(cell(screen, 1, 1), Composed(*listSkin, {0, 72, 60, 84}, 56));
  EXPECT_EQ(cell(screen, 1, 8), Composed(*listSkin, {0, 60, 60, 72}, 56));

  l->Items().Add("");
  ASSERT_NE(l->VScrollBar(), nullptr);
  EXPECT_EQ(l->VScrollBar()->Kind(), sbHorizontal);
  const int bar = l->VScrollBar()->Height();
  EXPECT_EQ(l->VScrollBar()->BoundsRect(), (TRect{4, 116 - bar, 116, 116}));
  EXPECT_EQ(l->ListRect(), (TRect{4, 4, 116, 116 - bar}));
  const int rows = (112 - bar) / 12;
  const int columns = (19 + rows - 1) / rows;
  EXPECT_EQ(l->VScrollBar()->Max(), columns - 1);
  EXPECT_EQ(l->VScrollBar()->PageSize(), 2);
  // Scrolled by one column the selected item moves one cell to the left.
  l->SetItemIndex(rows);
  l->VScrollBar()->SetPosition(1);
  EXPECT_EQ(l->TopIndex(), rows);
  Pump();
  screen = hp->ComposeScreen();
  EXPECT_EQ(cell(screen, 0, 0), Composed(*listSkin, {0, 72, 60, 84}, 56));
  EXPECT_EQ(cell(screen, 1, 0), Composed(*listSkin, {0, 60, 60, 72}, 56));
}

// Two 8 x 8 frames: a white rim (transparent: the bottom-left pixel's
// colour) around a red square in the first, a blue one in the second.
void TwoFrameGlyph(TBitmap& g) {
  g.SetSize(16, 8);
  for (int y = 0; y < 8; ++y)
    for (int x = 0; x < 16; ++x) {
      const bool rim = x % 8 == 0 || x % 8 == 7 || y == 0 || y == 7;
      g.Pixels().At(x, y) = rim ? 0xFFFFFFFFu : x < 8 ? 0xFFFF0000u : 0xFF0000FFu;
    }
  g.Modified();
}

class SkinListBoxCaptionTest : public SkinListBoxTest {
 protected:
  void SetUp() override {
    SkinListBoxTest::SetUp();
    l = MakeList(false);
    l->SetCaptionMode(true);
    l->SetShowCaptionButtons(false);  // text rectangle (3, 2, 118, 18)
    TBitmap glyph;
    TwoFrameGlyph(glyph);
    l->SetGlyph(glyph);
    l->SetNumGlyphs(2);
    Pump();
  }
  // The glyph on screen at `at` (control coordinates): the rim shows the
  // strip, the inside the frame's colour.
  void ExpectGlyphAt(TPoint at, uint32_t inside) {
    const TPixmap screen = hp->ComposeScreen();
    for (int y = 0; y < 8; ++y)
      for (int x = 0; x < 8; ++x) {
        const bool rim = x == 0 || x == 7 || y == 0 || y == 7;
        const TPoint p = l->ClientToScreen({at.X + x, at.Y + y});
        ASSERT_EQ(screen.At(p.X, p.Y) & 0xFFFFFF, rim ? SystemRgb(clBtnShadow) : inside)
            << "glyph pixel " << x << "," << y;
      }
  }
  // The first and last columns of the caption strip right of `from` that
  // differ from the strip colour, on the screen or on a reference.
  static std::pair<int, int> Ink(const TPixmap& px, TPoint origin, int from) {
    int first = -1, last = -1;
    const uint32_t strip = SystemRgb(clBtnShadow);
    for (int x = from; x < 118; ++x)
      for (int y = 2; y < 18; ++y)
        if ((px.At(origin.X + x, origin.Y + y) & 0xFFFFFF) != strip) {
          if (first < 0) first = x;
          last = x;
        }
    return {first, last};
  }
  // The caption text drawn alone at x on the strip colour.
  std::pair<int, int> ReferenceInk(int x) {
    TBitmap ref(120, 20);
    ref.Canvas().Brush().SetColor(clBtnShadow);
    ref.Canvas().FillRect({0, 0, 120, 20});
    ref.Canvas().SetFont(l->DefaultCaptionFont());
    ref.Canvas().Brush().SetStyle(TBrushStyle::bsClear);
    ref.Canvas().TextOut(x, 4, l->Caption());
    ref.Modified();
    return Ink(ref.Pixels(), {0, 0}, 0);
  }
  int CaptionTextWidth() {
    TBitmap probe(1, 1);
    probe.Canvas().SetFont(l->DefaultCaptionFont());
    return probe.Canvas().TextWidth(l->Caption());
  }
  TqzSkinListBox* l = nullptr;
};

TEST_F(SkinListBoxCaptionTest, GlyphIsPlacedByAlignmentAndCutByState) {
  EXPECT_EQ(l->CaptionGlyphRect(), (TRect{3, 6, 11, 14}));
  ExpectGlyphAt({3, 6}, 0xFF0000);
  l->SetAlignment(taRightJustify);
  Pump();
  EXPECT_EQ(l->CaptionGlyphRect(), (TRect{110, 6, 118, 14}));
  ExpectGlyphAt({110, 6}, 0xFF0000);
  l->SetAlignment(taCenter);
  l->SetEnabled(false);
  Pump();
  EXPECT_EQ(l->CaptionGlyphRect(), (TRect{56, 6, 64, 14}));
  ExpectGlyphAt({56, 6}, 0x0000FF);  // the second frame while disabled
  // One frame: the whole strip is the glyph, whatever the state.
  l->SetNumGlyphs(1);
  l->SetAlignment(taLeftJustify);
  Pump();
  EXPECT_EQ(l->CaptionGlyphRect(), (TRect{3, 6, 19, 14}));
  ExpectGlyphAt({3, 6}, 0xFF0000);
  ExpectGlyphAt({11, 6}, 0x0000FF);
  l->SetNumGlyphs(9);
  EXPECT_EQ(l->NumGlyphs(), 4);
}

TEST_F(SkinListBoxCaptionTest, TextFollowsTheGlyphAfterTheSpacing) {
  l->SetCaption("Ab");
  l->SetSpacing(5);
  Pump();
  TPixmap screen = hp->ComposeScreen();
  const TPoint origin = l->ClientToScreen({0, 0});
  EXPECT_EQ(Ink(screen, origin, 11), ReferenceInk(3 + 8 + 5));
  // Right: glyph, gap and text end at the text rectangle's right.
  l->SetAlignment(taRightJustify);
  Pump();
  const int tw = CaptionTextWidth();
  EXPECT_EQ(l->CaptionGlyphRect().Left, 118 - tw - 5 - 8);
  screen = hp->ComposeScreen();
  EXPECT_EQ(Ink(screen, origin, l->CaptionGlyphRect().Right), ReferenceInk(118 - tw));
  ExpectGlyphAt(l->CaptionGlyphRect().TopLeft(), 0xFF0000);
}

// A form with a skinning controller: a skin popup menu shows through it.
class SkinListBoxMenuTest : public SkinListBoxTest {
 protected:
  void SetUp() override {
    SkinListBoxTest::SetUp();
    auto* controller = new TqzOrvane(form);
    controller->SetSupportNCArea(false);
    popup = new TqzSkinPopupMenu(form);
    item = new TMenuItem(popup);
    item->SetCaption("&One");
    popup->Items()->Add(item);
    l = MakeList(false);
    Fill(*l, 3);
    l->SetListBoxPopupMenu(popup);
  }
  void RightClickList() {
    hp->InjectClick(l->ListBox().ClientToScreen({10, 30}), TMouseButtonId::Right);
    Pump();
  }
  TqzSkinMenu* Engine() const { return FindMenuRoute(popup).Menu; }
  TqzSkinPopupMenu* popup = nullptr;
  TMenuItem* item = nullptr;
  TqzSkinListBox* l = nullptr;
};

TEST_F(SkinListBoxMenuTest, RightClickOpensTheListsMenuThroughTheSkinEngine) {
  EXPECT_EQ(l->ListBox().PopupMenu(), popup);
  RightClickList();
  ASSERT_NE(Engine(), nullptr);
  ASSERT_TRUE(Engine()->Visible());
  EXPECT_EQ(popup->PopupComponent(), &l->ListBox());
  EXPECT_EQ(l->ItemIndex(), -1) << "the right button selects nothing";
  Key(VK_ESCAPE);
  TqzSkinMenu* engine = Engine();
  EXPECT_FALSE(engine->Visible());
  delete popup;
  EXPECT_EQ(l->ListBoxPopupMenu(), nullptr);
  RightClickList();
  EXPECT_FALSE(engine->Visible());
}

TEST_F(SkinListBoxMenuTest, HandlersMayFreeTheBox) {
  // The command chosen from the menu frees the box.
  item->OnClick = [&](TObject*) {
    delete l;
    l = nullptr;
  };
  RightClickList();
  ASSERT_TRUE(Engine()->Visible());
  Key(VK_DOWN);
  Key(VK_RETURN);
  EXPECT_EQ(l, nullptr);
  EXPECT_FALSE(Engine()->Visible());
  // The menu's OnPopup frees it while the right click is still dispatched.
  l = MakeList(false);
  l->SetListBoxPopupMenu(popup);
  popup->OnPopup = [&](TObject*) {
    TqzSkinListBox*& slot = l;
    delete slot;
    slot = nullptr;
  };
  RightClickList();
  EXPECT_EQ(l, nullptr);
  EXPECT_EQ(popup->PopupComponent(), nullptr);
  Engine()->CloseAll();
  popup->OnPopup = nullptr;
  // The list's own mouse-up handler frees it: no menu follows.
  l = MakeList(false);
  l->SetListBoxPopupMenu(popup);
  l->OnListBoxMouseUp = [&](TObject*, TMouseButton, TShiftState, int, int) {
    TqzSkinListBox*& slot = l;
    delete slot;
    slot = nullptr;
  };
  RightClickList();
  EXPECT_EQ(l, nullptr);
  EXPECT_FALSE(Engine()->Visible());
}

TEST_F(SkinListBoxTest, ReadFromAFormResource) {
  auto* owner = new TForm(Application);
  ReadComponentRes(owner,
                   "object F: TForm\n"
                   "  object L: TqzSkinListBox\n"
                   "    HorizontalExtent = True\n"
                   "    DefaultItemHeight = 16\n"
                   "    Columns = 2\n"
                   "    NumGlyphs = 2\n"
                   "    Spacing = 6\n"
                   "    ListBoxDragMode = dmAutomatic\n"
                   "    Items.Strings = (\n"
                   "      'one'\n"
                   "      'two')\n"
                   "  end\n"
                   "end\n");
  auto* l = dynamic_cast<TqzSkinListBox*>(owner->FindComponent("L"));
  ASSERT_NE(l, nullptr);
  EXPECT_TRUE(l->HorizontalExtent());
  EXPECT_EQ(l->CurrentItemHeight(), 16);
  EXPECT_EQ(l->Columns(), 2);
  EXPECT_EQ(l->NumGlyphs(), 2);
  EXPECT_EQ(l->Spacing(), 6);
  EXPECT_EQ(l->ListBoxDragMode(), dmAutomatic);
  EXPECT_EQ(l->Items().Text(), "one\ntwo\n");
  delete owner;
}

}  // namespace
}  // namespace qz::testing
