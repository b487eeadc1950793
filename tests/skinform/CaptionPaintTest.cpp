// The caption's looks (active three-part look, inactive look with the
// inactive effect, the morph between them, glow-animation frames) and the
// placement of its text.
#include <gtest/gtest.h>

#include "skin/draw/EffectBmp.h"
#include "skin/form/CaptionPaint.h"
#include "tests/skinform/FramePaintTestKit.h"

namespace qz {
namespace {

using testing::kUntouched;
using testing::PatternPixel;
using testing::Rgb;

// The small frame skin (60 x 50, corners at x 20 and 40 on the top edge)
// with an active picture (seed 7) and a caption over the top edge from x 5
// to 55: 15 pixels of it lie in each top corner.
struct TCaptionCase {
  std::unique_ptr<TqzSkinData> Skin;
  TqzDataSkinCaption Data{"caption"};
  TqzCaptionPaintInput In;
  TPixmap Window{100, 70, kUntouched};
  TCaptionCase() {
    testing::TTestSkinParts parts = testing::SmallFrameSkin();
    parts.Active.push_back(testing::Pattern(60, 50, 7));
    Skin = testing::LoadTestSkin(parts);
    Data.SkinRect = {5, 2, 55, 12};
    Data.ActiveSkinRect = {5, 20, 55, 30};
    Data.ActivePictureIndex = 0;
    In.Data = &Data;
    In.Skin = Skin.get();
    In.ObjectRect = {5, 2, 95, 12};  // in a window 40 pixels wider than the picture
  }
  void Paint(bool compose) {
    TCanvas canvas(&Window);
    PaintCaption(canvas, In, compose);
  }
};

// The three-part look of a 50 x 10 piece at (sx, sy) of the picture `seed`,
// 90 wide: 15 fixed on each side, the middle (20 wide) tiled from x 15.
uint32_t ThreePart(int x, int y, int sx, int sy, int seed) {
  int px;
  if (x < 15)
    px = x;
  else if (x >= 75)
    px = 50 - (90 - x);
  else
    px = 15 + (x - 15) % 20;
  return Rgb(PatternPixel(sx + px, sy + y, seed));
}

TPixmap Look(int sx, int sy, int seed) {
  TPixmap p(90, 10);
  for (int y = 0; y < 10; ++y)
    for (int x = 0; x < 90; ++x) p.At(x, y) = 0xFF000000u | ThreePart(x, y, sx, sy, seed);
  return p;
}

void ExpectCaptionPixels(const TPixmap& window, const TPixmap& look) {
  int wrong = 0;
  for (int y = 0; y < 10; ++y)
    for (int x = 0; x < 90; ++x)
      if (Rgb(window.At(5 + x, 2 + y)) != Rgb(look.At(x, y)) && ++wrong <= 5)
        ADD_FAILURE() << "caption pixel (" << x << ", " << y << ")";
  EXPECT_EQ(wrong, 0);
  EXPECT_EQ(Rgb(window.At(4, 2)), Rgb(kUntouched));
  EXPECT_EQ(Rgb(window.At(95, 2)), Rgb(kUntouched));
}

TEST(CaptionPaintLook, ActiveLookIsThreePartAlongTheTopEdge) {
  TCaptionCase c;
  c.Paint(false);  // the active look is composed even when only the text is asked for
  ExpectCaptionPixels(c.Window, Look(5, 20, 7));
}

TEST(CaptionPaintLook, InactiveLookAndItsEffect) {
  TCaptionCase c;
  c.In.Active = false;
  c.Paint(false);  // only the text, and there is none
  EXPECT_EQ(c.Window, TPixmap(100, 70, kUntouched));
  c.Paint(true);
  ExpectCaptionPixels(c.Window, Look(5, 2, 1));

  c.Skin->AutoRenderingInActiveImage = true;
  c.Skin->InActiveEffect = ieInvert;
  c.In.FormActive = false;
  c.Paint(true);
  TPixmap inverted = Look(5, 2, 1);
  for (int y = 0; y < 10; ++y)
    for (int x = 0; x < 90; ++x) inverted.At(x, y) ^= 0xFFFFFF;
  ExpectCaptionPixels(c.Window, inverted);
}

TEST(CaptionPaintLook, MorphBetweenTheLooks) {
  TCaptionCase c;
  c.In.Active = false;
  c.In.MorphInProgress = true;
  c.In.Kf = 0.4;
  c.Data.MorphKind = mkLeftSlide;
  c.Paint(false);
  TqzEffectBmp expected(Look(5, 2, 1));
  expected.ApplyMorph(mkLeftSlide, TqzEffectBmp(Look(5, 20, 7)), 0.4);
  ExpectCaptionPixels(c.Window, expected.ToPixmap());
}

TEST(CaptionPaintLook, GlowAnimationFrames) {
  // Taller than the caption: frames stacked; else side by side.
  EXPECT_EQ(GlowFrameRect({0, 0, 60, 30}, 3, 2, 10), (TRect{0, 10, 60, 20}));
  EXPECT_EQ(GlowFrameRect({4, 0, 34, 10}, 3, 3, 10), (TRect{24, 0, 34, 10}));
  EXPECT_EQ(GlowFrameRect({0, 0, 60, 30}, 3, 0, 10), TRect{});
  EXPECT_EQ(GlowFrameRect({0, 0, 60, 30}, 3, 4, 10), TRect{});

  TCaptionCase c;
  c.Data.AnimateSkinRect = {5, 0, 55, 30};
  c.Data.FrameCount = 3;
  c.In.GlowFrame = 3;
  c.Paint(false);
  ExpectCaptionPixels(c.Window, Look(5, 20, 7));  // frame 3 is (5,20,55,30)
  c.In.GlowFrame = 1;
  c.Paint(false);
  ExpectCaptionPixels(c.Window, Look(5, 0, 7));
  c.In.FrameMode = false;  // client mode plays no glow frames
  c.Paint(false);
  ExpectCaptionPixels(c.Window, Look(5, 20, 7));
}

TEST(CaptionPaintLook, AMissingActivePictureLeavesTheActiveLookOut) {
  TCaptionCase c;
  c.Data.ActivePictureIndex = 5;
  c.Data.AnimateSkinRect = {5, 0, 55, 30};
  c.Data.FrameCount = 3;
  c.In.GlowFrame = 1;
  c.Paint(false);
  EXPECT_EQ(c.Window, TPixmap(100, 70, kUntouched));
  c.Paint(true);  // asked to compose: the look of skinrect
  ExpectCaptionPixels(c.Window, Look(5, 2, 1));
}

TEST(CaptionPaintLook, OneToOneInASkinThatDoesNotStretch) {
  TCaptionCase c;
  c.Skin->RightBottomPoint = c.Skin->LeftTopPoint;
  c.Skin->LeftBottomPoint = c.Skin->RightTopPoint = {};
  c.In.ObjectRect = {5, 2, 55, 12};
  c.Paint(false);
  for (TPoint p : {TPoint{0, 0}, TPoint{49, 9}, TPoint{27, 4}})
    EXPECT_EQ(Rgb(c.Window.At(5 + p.X, 2 + p.Y)), Rgb(PatternPixel(5 + p.X, 20 + p.Y, 7)));
  EXPECT_EQ(Rgb(c.Window.At(55, 2)), Rgb(kUntouched));
}

// ---------------------------------------------------------------------------
// Text.

TEST(CaptionPaintText, TextRectFollowsTheCaptionAndTheTextFrame) {
  TCaptionCase c;
  EXPECT_EQ(CaptionTextRect(c.In), TRect{});
  c.Data.TextRect = {6, 1, 44, 9};
  EXPECT_EQ(CaptionTextRect(c.In), (TRect{11, 3, 89, 11}));  // right edge 40 further
  c.In.TextRoomLeft = 30;  // past the quick buttons
  c.In.TextRoomRight = 95;  // tabs start beyond the room: no change
  EXPECT_EQ(CaptionTextRect(c.In), (TRect{30, 3, 89, 11}));
  c.In.TextRoomLeft.reset();
  c.In.TextRoomRight.reset();
  c.Data.FrameRect = {0, 40, 30, 50};
  c.Data.FrameTextRect = {4, 2, 26, 8};
  EXPECT_EQ(CaptionTextRect(c.In), (TRect{15, 5, 85, 11}));
}

struct TTextCanvas {
  TPixmap Pixels{200, 60, 0xFFFFFFFFu};
  TCanvas Canvas{&Pixels};
};

TEST(CaptionPaintText, ALongTextEndsWithDots) {
  TTextCanvas t;
  TqzDataSkinCaption data("caption");
  const TRect room{10, 10, 90, 30};
  const TqzCaptionTextPlace place = PlaceCaptionText(t.Canvas, data, room, std::string(40, 'M'));
  ASSERT_GE(place.Text.size(), 4u);
  EXPECT_EQ(place.Text.substr(place.Text.size() - 3), "...");
  EXPECT_LE(place.Extent.cx, room.Width());
  const TqzCaptionTextPlace fits = PlaceCaptionText(t.Canvas, data, room, "Mm");
  EXPECT_EQ(fits.Text, "Mm");
}

TEST(CaptionPaintText, Alignment) {
  TTextCanvas t;
  TqzDataSkinCaption data("caption");
  const TRect room{10, 10, 110, 30};
  data.Alignment = qzTaLeftJustify;
  EXPECT_EQ(PlaceCaptionText(t.Canvas, data, room, "Title").Pos.X, 10);
  data.Alignment = qzTaRightJustify;
  const TqzCaptionTextPlace right = PlaceCaptionText(t.Canvas, data, room, "Title");
  EXPECT_EQ(right.Pos.X + right.Extent.cx, 110);
  data.Alignment = qzTaCenter;
  const TqzCaptionTextPlace centre = PlaceCaptionText(t.Canvas, data, room, "Title");
  EXPECT_EQ(centre.Pos.X, 60 - centre.Extent.cx / 2);
}

TEST(CaptionPaintText, OddFontHeightOnePixelUp) {
  TTextCanvas t;
  TqzDataSkinCaption data("caption");
  const TRect room{0, 10, 150, 40};
  // Two heights whose texts are equally tall in halves: the odd one sits a
  // pixel higher.
  int found = 0;
  for (int h = 10; h <= 30; h += 2) {
    t.Canvas.Font().SetHeight(h);
    const TqzCaptionTextPlace even = PlaceCaptionText(t.Canvas, data, room, "Caption");
    t.Canvas.Font().SetHeight(h + 1);
    const TqzCaptionTextPlace odd = PlaceCaptionText(t.Canvas, data, room, "Caption");
    if (even.Extent.cy / 2 != odd.Extent.cy / 2) continue;
    ++found;
    EXPECT_EQ(odd.Pos.Y, even.Pos.Y - 1) << "heights " << h << " and " << h + 1;
    EXPECT_EQ(even.Pos.Y, 25 - even.Extent.cy / 2);
  }
  EXPECT_GT(found, 0);
}

TEST(CaptionPaintText, TextStaysInItsRoomAndOnCaptionPaintReplacesIt) {
  TCaptionCase c;
  c.In.Active = false;
  c.Data.TextRect = {6, 0, 44, 10};  // (11, 2, 89, 12) in the window
  c.Data.FontColor = clBlack;
  c.In.Context.Text = std::string(60, 'W');
  c.Paint(false);
  int inside = 0;
  for (int y = 0; y < 70; ++y)
    for (int x = 0; x < 100; ++x) {
      if (Rgb(c.Window.At(x, y)) == Rgb(kUntouched)) continue;
      ++inside;
      EXPECT_TRUE((TRect{9, 0, 91, 14}).Contains({x, y})) << x << "," << y;
    }
  EXPECT_GT(inside, 50);

  TRect got;
  c.In.Context.OnCaptionPaint = [&](TCanvas&, const TRect& r, bool active) {
    got = r;
    EXPECT_FALSE(active);
  };
  c.Window = TPixmap(100, 70, kUntouched);
  c.Paint(false);
  EXPECT_EQ(got, c.In.ObjectRect);
  EXPECT_EQ(c.Window, TPixmap(100, 70, kUntouched));
  // Centred caption tabs take the text's place: neither text nor hook.
  got = {};
  c.In.TabsReplaceText = true;
  c.Paint(false);
  EXPECT_EQ(got, TRect{});
}

// ---------------------------------------------------------------------------
// Places of quick buttons and caption tabs.

TEST(CaptionPaintQuickButtons, RunFromBothEndsAndNarrowTheText) {
  const auto skin = testing::LoadTestSkin(testing::SmallFrameSkin());
  TqzDataSkinCaption data("caption");
  const TRect caption{10, 2, 300, 24};
  std::vector<TqzQuickButtonInfo> buttons(4);
  buttons[0].HasPopupMenu = true;      // 16 + 4 + 7
  buttons[1].Visible = false;
  buttons[2].CaptionWidth = 30;        // 16 + 4 + 30 + 6
  buttons[3].RightSide = true;         // 16 + 4
  const TqzQuickButtonLayout l =
      LayoutQuickButtons(*skin, data, caption, {16, 16}, false, buttons, 20, 280);
  ASSERT_EQ(l.Buttons.size(), 4u);
  EXPECT_EQ(l.Buttons[0], (TRect{15, 3, 42, 23}));  // top 2 + 11 - 8 - 2
  EXPECT_EQ(l.Buttons[1], TRect{});
  EXPECT_EQ(l.Buttons[2], (TRect{44, 3, 100, 23}));
  EXPECT_EQ(l.Buttons[3], (TRect{275, 3, 295, 23}));
  EXPECT_EQ(l.TextLeft, 100);
  EXPECT_EQ(l.TextRight, 275);

  // After the form icon; a margin of 12 in tall captions of skins whose client starts at 1.
  data.DividerRect = {0, 0, 20, 10};
  skin->ClientRect.Left = 1;
  const TqzQuickButtonLayout tall =
      LayoutQuickButtons(*skin, data, {10, 0, 300, 30}, {16, 16}, true, {TqzQuickButtonInfo{}}, 0, 0);
  EXPECT_EQ(tall.Buttons[0], (TRect{36, 1, 64, 29}));  // top 0 + 15 - 8 - 6
}

TEST(CaptionPaintTabs, PlacedFromTheStartAndShiftedByPosition) {
  testing::TTestSkinParts parts = testing::SmallFrameSkin();
  const auto none = testing::LoadTestSkin(parts);
  parts.Text += "[SKINOBJECTS]\r\ncount=1\r\n0=captiontab:captiontab\r\n"
                "[captiontab]\r\nskinrect=0,0,10,12\r\n";
  const auto skin = testing::LoadTestSkin(parts);
  const TRect caption{10, 0, 200, 15};
  std::vector<TqzCaptionTabInfo> tabs{{true, 30}, {false, 40}, {true, 100}, {true, 10}};
  EXPECT_TRUE(LayoutCaptionTabs(*none, caption, 15, tabs, 0, qztpLeft).empty());
  const std::vector<TRect> left = LayoutCaptionTabs(*skin, caption, 15, tabs, 0, qztpLeft);
  ASSERT_EQ(left.size(), 4u);
  EXPECT_EQ(left[0], (TRect{15, 3, 65, 15}));  // top: client top 15 - 12
  EXPECT_EQ(left[1], TRect{});
  EXPECT_EQ(left[2], (TRect{65, 3, 185, 15}));
  EXPECT_EQ(left[3], TRect{});  // would pass the caption's end
  // 170 of 185 pixels used.
  EXPECT_EQ(LayoutCaptionTabs(*skin, caption, 15, tabs, 0, qztpCenter)[0].Left, 15 + 7);
  EXPECT_EQ(LayoutCaptionTabs(*skin, caption, 15, tabs, 0, qztpRight)[2].Left, 65 + 5);
  const std::vector<TRect> images = LayoutCaptionTabs(*skin, caption, 15, {{true, 30}}, 16, qztpLeft);
  EXPECT_EQ(images[0].Width(), 30 + 20 + 16 + 5);
}

}  // namespace
}  // namespace qz
