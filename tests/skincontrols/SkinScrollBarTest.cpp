// The skinned scroll bar: its geometry for the plain look and both demo
// skins, the range rules, thumb drags, auto-repeat on the virtual clock,
// paging, and its pixels against direct compositions.
#include <gtest/gtest.h>

#include <vector>

#include "host/components/FormResource.h"
#include "skin/controls/SkinScrollBar.h"
#include "skin/data/SkinControlData.h"
#include "skin/draw/QzComposition.h"
#include "tests/host_ui/UiTestSupport.h"
#include "tests/skins/DemoSkins.h"

namespace qz::testing {
namespace {

TqzScrollBarLayoutInput Input(bool vertical, int w, int h, int pos, int page = 0, int max = 100) {
  TqzScrollBarLayoutInput in;
  in.Vertical = vertical;
  in.Width = w;
  in.Height = h;
  in.Max = max;
  in.Position = pos;
  in.PageSize = page;
  return in;
}

const TqzDataSkinScrollBarControl& Bar(const TDemoSkin& s, const char* name) {
  const int i = s.Skin->FindControlIndex(name);
  EXPECT_GE(i, 0) << name;
  return dynamic_cast<const TqzDataSkinScrollBarControl&>(*s.Skin->CtrlList()[i]);
}

// ---- geometry, computed by hand

TEST(ScrollBarLayout, PlainVerticalWithoutAndWithPage) {
  // 19 x 200: buttons 16 long inside a 1-pixel margin, track 17 .. 183.
  TqzScrollBarLayout l = CalcScrollBarLayout(Input(true, 19, 200, 50));
  EXPECT_EQ(l.Decrement, Rect(1, 1, 18, 17));
  EXPECT_EQ(l.Increment, Rect(1, 183, 18, 199));
  EXPECT_EQ(l.Track, Rect(1, 17, 18, 183));
  // f = 0.5 of (166 - 16) = 75.
  EXPECT_EQ(l.Thumb, Rect(1, 92, 18, 108));
  EXPECT_EQ(l.LowCentre, 25);
  EXPECT_EQ(l.HighCentre, 175);

  // Page 50 of 0..99 at 25: L = 83, half 41, c0 58, c1 142, r = 42.
  l = CalcScrollBarLayout(Input(true, 19, 200, 25, 50, 99));
  EXPECT_EQ(l.ThumbLength, 83);
  EXPECT_EQ(l.Thumb, Rect(1, 59, 18, 141));
  // A tiny page keeps the 16-pixel minimum.
  l = CalcScrollBarLayout(Input(true, 19, 200, 0, 1, 999));
  EXPECT_EQ(l.Thumb, Rect(1, 17, 18, 33));
}

TEST(ScrollBarLayout, PlainHorizontalLeavesTheCornerWhenBoth) {
  TqzScrollBarLayoutInput in = Input(false, 200, 19, 0);
  in.Both = true;
  in.BothMarkerWidth = 19;
  const TqzScrollBarLayout l = CalcScrollBarLayout(in);
  EXPECT_EQ(l.Decrement, Rect(1, 1, 17, 18));
  EXPECT_EQ(l.Increment, Rect(164, 1, 180, 18));
  EXPECT_EQ(l.Track, Rect(17, 1, 164, 18));
  EXPECT_EQ(l.Thumb, Rect(17, 1, 33, 18));
}

TEST(ScrollBarLayout, MainSkinVerticalBarStretchesItsTrack) {
  const auto& d = Bar(MainSkin(), "vscrollbar");
  // The description: 14 x 96, buttons 14 long, a 14 x 30 thumb, no minimum.
  ASSERT_EQ(d.SkinRect.Height(), 96);
  ASSERT_EQ(d.LeftBottomPoint.Y, 82);
  ASSERT_EQ(d.ThumbRect.Height(), 30);
  ASSERT_EQ(d.ThumbMinSize, 0);
  TqzScrollBarLayoutInput in = Input(true, 14, 200, 50);
  in.Skin = &d;
  TqzScrollBarLayout l = CalcScrollBarLayout(in);
  EXPECT_EQ(l.Decrement, Rect(0, 0, 14, 14));
  EXPECT_EQ(l.Increment, Rect(0, 186, 14, 200));
  EXPECT_EQ(l.Track, Rect(0, 14, 14, 186));
  // L = 30: c0 29, c1 171, r = 71.
  EXPECT_EQ(l.Thumb, Rect(0, 85, 14, 115));
  // With a page the thumb grows: 172 * 20 / 100 = 34.4 -> 34.
  in.PageSize = 20;
  in.Max = 99;
  in.Position = 0;
  l = CalcScrollBarLayout(in);
  EXPECT_EQ(l.Thumb, Rect(0, 14, 14, 48));
}

TEST(ScrollBarLayout, DialogSkinBarsKeepTheirMinimumThumb) {
  const auto& v = Bar(DialogSkin(), "vscrollbar");
  ASSERT_EQ(v.ThumbMinSize, 20);
  ASSERT_EQ(v.SkinRect.Height(), 80);
  TqzScrollBarLayoutInput in = Input(true, 19, 200, 50);
  in.Skin = &v;
  TqzScrollBarLayout l = CalcScrollBarLayout(in);
  EXPECT_EQ(l.Track, Rect(0, 17, 19, 183));
  EXPECT_EQ(l.Increment, Rect(0, 183, 19, 200));
  // No page: L = the minimum 20; c0 27, c1 173, r = 73.
  EXPECT_EQ(l.Thumb, Rect(0, 90, 19, 110));
  // A page of 10 of 100 would be 17 long: the minimum wins.
  in.PageSize = 10;
  in.Max = 99;
  in.Position = 0;
  EXPECT_EQ(CalcScrollBarLayout(in).Thumb, Rect(0, 17, 19, 37));
  // An odd length loses a pixel: 83 -> 82.
  in.PageSize = 50;
  EXPECT_EQ(CalcScrollBarLayout(in).Thumb.Height(), 82);

  // The bar beside a vertical one: the increment button moves with the
  // right part, the corner stays at the end.
  const auto& both = Bar(DialogSkin(), "bothhscrollbar");
  ASSERT_EQ(both.SkinRect.Width(), 99);
  TqzScrollBarLayoutInput h = Input(false, 300, 19, 0);
  h.Skin = &both;
  l = CalcScrollBarLayout(h);
  EXPECT_EQ(l.Decrement, Rect(0, 0, 17, 19));
  EXPECT_EQ(l.Track, Rect(17, 0, 264, 19));
  EXPECT_EQ(l.Increment, Rect(264, 0, 281, 19));
  EXPECT_EQ(l.Thumb, Rect(17, 0, 37, 19));
}

TEST(ScrollBarLayout, DragOffsetsClampToTheRange) {
  const TqzScrollBarLayoutInput in = Input(true, 19, 200, 0, 10, 100);
  const TqzScrollBarLayout l = CalcScrollBarLayout(in);
  EXPECT_EQ(ScrollPositionFromOffset(l, in, -500), 0);
  EXPECT_EQ(ScrollPositionFromOffset(l, in, 5000), 91);
  // Half way: 0 + round(91 * 0.5) = 46 (45.5 rounds to even).
  const int span = l.HighCentre - l.LowCentre;
  ASSERT_EQ(span % 2, 0);
  EXPECT_EQ(ScrollPositionFromOffset(l, in, span / 2), 46);
  // A degenerate range drags to Min.
  const TqzScrollBarLayoutInput flat = Input(true, 19, 200, 0, 0, 0);
  EXPECT_EQ(ScrollPositionFromOffset(CalcScrollBarLayout(flat), flat, 40), 0);
}

// ---- the control

class SkinScrollBarTest : public UiTest {
 protected:
  void SetUp() override {
    UiTest::SetUp();
    form = MakeForm({100, 100, 500, 400}, bsNone);
  }

  TqzSkinScrollBar* MakeBar(bool vertical, TqzSkinData* skin = nullptr) {
    auto* bar = new TqzSkinScrollBar(form);
    bar->SetParent(form);
    if (vertical) bar->SetKind(sbVertical);
    bar->SetBounds(20, 20, vertical ? 19 : 200, vertical ? 200 : 19);
    if (skin) bar->SetSkinData(skin);
    bar->OnChange = [this](TObject*) { ++changes; };
    Pump();
    return bar;
  }
  TPoint At(TControl* c, TPoint p) { return c->ClientToScreen(p); }
  void Ticks(int count, int ms) {
    for (int i = 0; i < count; ++i) {
      hp->AdvanceClock(ms);
      Pump();
    }
  }
  void Press(TControl* c, TPoint p) {
    Move(At(c, p));
    hp->InjectMouseDown();
    Pump();
  }
  void Release() {
    hp->InjectMouseUp();
    Pump();
  }

  TForm* form = nullptr;
  int changes = 0;
};

TEST_F(SkinScrollBarTest, DefaultsAndRangeRules) {
  auto* bar = new TqzSkinScrollBar(form);
  EXPECT_EQ(bar->Width(), 200);
  EXPECT_EQ(bar->Height(), 19);
  EXPECT_EQ(bar->SkinDataName(), "hscrollbar");
  EXPECT_EQ(bar->DefaultHeight(), 19);
  EXPECT_EQ(bar->Max(), 100);
  EXPECT_EQ(bar->SmallChange(), 1);
  EXPECT_FALSE(bar->TabStop());

  bar->OnChange = [this](TObject*) { ++changes; };
  bar->SetPageSize(10);
  bar->SetPosition(1000);
  EXPECT_EQ(bar->Position(), 91);
  EXPECT_EQ(changes, 1);
  bar->SetPosition(91);
  EXPECT_EQ(changes, 1);
  bar->SetPosition(-5);
  EXPECT_EQ(bar->Position(), 0);
  // Max pulls the position back; SetRange clamps silently.
  bar->SetPosition(80);
  bar->SetMax(50);
  EXPECT_EQ(bar->Position(), 41);
  const int before = changes;
  bar->SetRange(0, 20, 5, 100);
  EXPECT_EQ(bar->Position(), 16);
  EXPECT_EQ(changes, before);
  // A page larger than what is left of the range is refused.
  bar->SetPageSize(30);
  EXPECT_EQ(bar->PageSize(), 5);
  bar->SetCanFocused(true);
  EXPECT_TRUE(bar->TabStop());
}

TEST_F(SkinScrollBarTest, KindFromCodeSwapsNameAndShape) {
  auto* bar = new TqzSkinScrollBar(form);
  bar->SetParent(form);
  bar->SetKind(sbVertical);
  EXPECT_EQ(bar->SkinDataName(), "vscrollbar");
  EXPECT_EQ(bar->Width(), 19);
  EXPECT_EQ(bar->Height(), 200);
  EXPECT_EQ(bar->DefaultWidth(), 19);
  EXPECT_EQ(bar->DefaultHeight(), 0);
}

// Beside a vertical bar the horizontal one draws from the description with
// the corner, and back from its own when the vertical bar goes.
TEST_F(SkinScrollBarTest, BothSwitchesToTheCornerDescriptionAndBack) {
  auto* bar = MakeBar(false, DialogSkin().Skin.get());
  bar->SetBoth(true);
  EXPECT_EQ(bar->SkinDataName(), "bothhscrollbar");
  ASSERT_NE(bar->BarDescription(), nullptr);
  EXPECT_EQ(bar->BarDescription()->IDName, "bothhscrollbar");
  // 99 wide with its right part from 63: 101 more on a 200 bar.
  EXPECT_EQ(bar->Layout().Increment, Rect(164, 0, 181, 19));
  bar->SetBoth(false);
  EXPECT_EQ(bar->SkinDataName(), "hscrollbar");
  EXPECT_EQ(bar->Layout().Increment, Rect(183, 0, 200, 19));
}

TEST_F(SkinScrollBarTest, PublishedChangesRoundTrip) {
  form->SetName("Form1");
  auto* bar = MakeBar(true);
  bar->SetName("qzSkinScrollBar1");
  bar->SetRange(0, 300, 50, 120);
  bar->SetLargeChange(25);
  const std::string text = WriteComponentRes(form);
  EXPECT_NE(text.find("Kind = sbVertical"), std::string::npos) << text;
  EXPECT_EQ(text.find("SmallChange"), std::string::npos) << text;
  EXPECT_EQ(text.find("BothSkinDataName"), std::string::npos) << text;
  form->SetName("Original");
  auto* copy = new TForm(Application);
  ReadComponentRes(copy, text);
  auto* read = dynamic_cast<TqzSkinScrollBar*>(copy->FindComponent("qzSkinScrollBar1"));
  ASSERT_NE(read, nullptr);
  EXPECT_EQ(read->Kind(), sbVertical);
  EXPECT_EQ(read->SkinDataName(), "vscrollbar");
  EXPECT_EQ(read->Max(), 300);
  EXPECT_EQ(read->PageSize(), 50);
  EXPECT_EQ(read->Position(), 120);
  EXPECT_EQ(read->LargeChange(), 25);
}

TEST_F(SkinScrollBarTest, HoldingAStepButtonRepeatsAfterTheDelay) {
  auto* bar = MakeBar(true);
  const TRect inc = bar->Layout().Increment;
  Press(bar, inc.TopLeft() + TPoint{5, 5});
  EXPECT_EQ(bar->Position(), 1);  // at once
  Ticks(1, 499);
  EXPECT_EQ(bar->Position(), 1);
  Ticks(1, 1);  // 500 ms: only the rhythm changes
  EXPECT_EQ(bar->Position(), 1);
  Ticks(1, 49);
  EXPECT_EQ(bar->Position(), 1);
  Ticks(1, 1);  // 550 ms
  EXPECT_EQ(bar->Position(), 2);
  Ticks(1, 50);  // 600 ms
  EXPECT_EQ(bar->Position(), 3);
  // Off the button the repetition pauses; back on it resumes at 50 ms.
  Move(At(bar, {9, 100}));
  Ticks(4, 50);
  EXPECT_EQ(bar->Position(), 3);
  Move(At(bar, inc.TopLeft() + TPoint{5, 5}));
  Ticks(1, 50);
  EXPECT_EQ(bar->Position(), 4);
  Release();
  Ticks(4, 50);
  EXPECT_EQ(bar->Position(), 4);
  EXPECT_EQ(bar->PressedPart(), -1);
}

TEST_F(SkinScrollBarTest, TrackClickPagesUntilTheThumbPassesThePointer) {
  auto* bar = MakeBar(true);
  bar->SetLargeChange(10);
  int pagesDown = 0;
  bar->OnPageDown = [&](TObject*) { ++pagesDown; };
  // Track 17 .. 183, thumb 16 long over 150 pixels: the thumb reaches
  // y = 120 at position about 69.
  Press(bar, {9, 120});
  EXPECT_EQ(bar->Position(), 10);
  Ticks(1, 500);
  Ticks(20, 50);
  const TRect thumb = bar->Layout().Thumb;
  EXPECT_GE(thumb.Bottom, 120);
  EXPECT_LE(thumb.Top, 120 + 16);
  EXPECT_EQ(pagesDown, bar->Position() / 10);
  const int stopped = bar->Position();
  Ticks(5, 50);
  EXPECT_EQ(bar->Position(), stopped);
  Release();
  // A release during the first delay ends the paging at once.
  Press(bar, {9, 175});
  const int once = bar->Position();
  Release();
  Ticks(1, 500);
  Ticks(4, 50);
  EXPECT_EQ(bar->Position(), once);
}

TEST_F(SkinScrollBarTest, DraggingTheThumbFollowsAndClampsAtBothEnds) {
  auto* bar = MakeBar(true);
  bar->SetPageSize(10);
  int lastChanges = 0;
  bar->OnLastChange = [&](TObject*) { ++lastChanges; };
  const TRect thumb = bar->Layout().Thumb;
  Press(bar, {9, thumb.Top + 3});
  EXPECT_TRUE(bar->Dragging());
  Move(At(bar, {9, 1000}));
  EXPECT_EQ(bar->Position(), 91);
  Move(At(bar, {9, -1000}));
  EXPECT_EQ(bar->Position(), 0);
  // The grabbed point keeps its place on the thumb.
  Move(At(bar, {9, thumb.Top + 3 + 40}));
  EXPECT_EQ(bar->Layout().Thumb.Top, thumb.Top + 40);
  EXPECT_EQ(lastChanges, 0);
  Release();
  EXPECT_EQ(lastChanges, 1);
  EXPECT_FALSE(bar->Dragging());
}

TEST_F(SkinScrollBarTest, FocusableBarTakesKeysAndWheel) {
  auto* bar = MakeBar(false);
  bar->SetCanFocused(true);
  bar->SetPosition(50);
  Click(At(bar, {100, 10}));  // on the track before the thumb? the thumb is at 50%
  EXPECT_TRUE(bar->Focused());
  const int at = bar->Position();
  Key(VK_RIGHT);
  EXPECT_EQ(bar->Position(), at + 1);
  Key(VK_UP);
  EXPECT_EQ(bar->Position(), at);
  hp->InjectWheel(-120);
  Pump();
  EXPECT_EQ(bar->Position(), at + 1);
  hp->InjectWheel(120);
  Pump();
  EXPECT_EQ(bar->Position(), at);
}

TEST_F(SkinScrollBarTest, HandlerFreeingTheBarEndsTheClickQuietly) {
  auto* bar = MakeBar(true);
  bar->OnChange = [&](TObject*) { delete bar; };
  Press(bar, bar->Layout().Increment.TopLeft() + TPoint{4, 4});
  Ticks(3, 500);
  Release();
  EXPECT_EQ(form->ComponentCount(), 0);
}

// ---- pixels

class SkinScrollBarPixels : public SkinScrollBarTest {
 protected:
  TPixmap Shot(TControl* c) {
    Pump();
    const TPixmap screen = hp->ComposeScreen();
    const TPoint at = c->ClientToScreen({0, 0});
    TPixmap out(c->Width(), c->Height());
    for (int y = 0; y < c->Height(); ++y)
      for (int x = 0; x < c->Width(); ++x) out.At(x, y) = screen.At(at.X + x, at.Y + y) & 0xFFFFFF;
    return out;
  }
  static void ExpectSame(const TPixmap& shown, const TPixmap& want) {
    ASSERT_EQ(shown.Width(), want.Width());
    ASSERT_EQ(shown.Height(), want.Height());
    for (int y = 0; y < want.Height(); ++y)
      for (int x = 0; x < want.Width(); ++x)
        ASSERT_EQ(shown.At(x, y), want.At(x, y) & 0xFFFFFF) << "at " << x << "," << y;
  }
};

// The bar in the main skin with the pointer over its increment button: the
// background composed from the description, the hot look copied over the
// button and the thumb composed to its length.
TEST_F(SkinScrollBarPixels, HotIncrementButtonOverTheComposedBar) {
  const TDemoSkin& s = MainSkin();
  const auto& d = Bar(s, "vscrollbar");
  auto* bar = MakeBar(true, s.Skin.get());
  ASSERT_EQ(bar->Width(), 14);
  const TqzScrollBarLayout l = bar->Layout();
  Move(At(bar, l.Increment.TopLeft() + TPoint{3, 3}));
  EXPECT_EQ(bar->HotPart(), sbpIncrement);

  const TBitmap& pic = *s.Skin->ActivePicture(d.PictureIndex);
  TBitmap want;
  CreateVSkinImage(d.LeftTopPoint.Y, d.SkinRect.Height() - d.LeftBottomPoint.Y, want, d.StretchEffect,
                   200, d.SkinRect, pic);
  const TRect hot = d.ActiveUpButtonRect;
  for (int y = 0; y < hot.Height(); ++y)
    for (int x = 0; x < hot.Width(); ++x)
      want.Pixels().At(l.Increment.Left + x, l.Increment.Top + y) = pic.Pixels().At(hot.Left + x, hot.Top + y);
  TBitmap thumb;
  CreateVSkinImage(d.ThumbOffset1, d.ThumbOffset2, thumb, d.ThumbStretchEffect, l.ThumbLength, d.ThumbRect, pic);
  for (int y = 0; y < thumb.Height(); ++y)
    for (int x = 0; x < thumb.Width(); ++x)
      want.Pixels().At(l.Thumb.Left + x, l.Thumb.Top + y) = thumb.Pixels().At(x, y);
  ExpectSame(Shot(bar), want.Pixels());
}

TEST_F(SkinScrollBarPixels, HoverChangePresentsOnlyTheChangedParts) {
  auto* bar = MakeBar(true, MainSkin().Skin.get());
  auto& w = *static_cast<THeadlessWindow*>(form->WindowData()->platform.get());
  const TqzScrollBarLayout l = bar->Layout();
  auto inWindow = [&](const TRect& r) {
    const TPoint o = bar->ClientToScreen(r.TopLeft()) - form->BoundsRect().TopLeft();
    return TRect{o.X, o.Y, o.X + r.Width(), o.Y + r.Height()};
  };
  Move(At(bar, l.Thumb.TopLeft() + TPoint{3, 3}));
  EXPECT_EQ(bar->HotPart(), sbpThumb);
  EXPECT_EQ(w.LastPresentDirty(), TRegion(inWindow(l.Thumb)));
  Move(At(bar, l.Decrement.TopLeft() + TPoint{3, 3}));
  EXPECT_EQ(w.LastPresentDirty(), TRegion(inWindow(l.Thumb)).Union(TRegion(inWindow(l.Decrement))));
}

TEST_F(SkinScrollBarPixels, PlainLookFramesItsParts) {
  auto* bar = MakeBar(true);
  const TqzScrollBarLayout l = bar->Layout();
  Move(At(bar, l.Thumb.TopLeft() + TPoint{3, 3}));
  TPixmap shown = Shot(bar);
  const uint32_t face = Rgb(clBtnFace) & 0xFFFFFF, shadow = Rgb(clBtnShadow) & 0xFFFFFF;
  EXPECT_EQ(shown.At(0, 100), face);                         // background frame
  EXPECT_EQ(shown.At(l.Decrement.Left, l.Decrement.Top), shadow);  // normal button frame
  EXPECT_EQ(shown.At(l.Decrement.Left + 1, l.Decrement.Top + 1), face);
  EXPECT_EQ(shown.At(l.Thumb.Left, l.Thumb.Top), Rgb(TColor(0xB76B3B)) & 0xFFFFFF);  // hot
  EXPECT_EQ(shown.At(l.Thumb.Left + 2, l.Thumb.Top + 2), Rgb(TColor(0xF3D4C1)) & 0xFFFFFF);
  hp->InjectMouseDown();
  Pump();
  shown = Shot(bar);
  EXPECT_EQ(shown.At(l.Thumb.Left + 2, l.Thumb.Top + 2), Rgb(TColor(0xE4BCA2)) & 0xFFFFFF);
  Release();
}

}  // namespace
}  // namespace qz::testing
