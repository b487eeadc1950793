// Frame geometry on small made-up skins. Every expected value is worked out
// by hand from the picture (100 x 80) and the window size, not by the
// formulas under test.
#include <gtest/gtest.h>

#include <set>

#include "skin/form/FrameGeometry.h"

namespace qz {
namespace {

constexpr TSize kPicture{100, 80};
constexpr TSize kWide{150, 120};  // dx = 50, dy = 40

// Corner pieces TL (0,0,20,30), TR (80,0,100,30), BL (0,60,20,80),
// BR (80,60,100,80); a stretch cell of 60 x 30 between them.
TqzSkinFormInfo SampleInfo() {
  TqzSkinFormInfo f;
  f.LeftTopPoint = {20, 30};
  f.RightTopPoint = {80, 30};
  f.LeftBottomPoint = {20, 60};
  f.RightBottomPoint = {80, 60};
  f.ClientRect = {10, 25, 90, 70};
  f.CaptionRect = {5, 2, 95, 20};
  f.ButtonsRect = {70, 4, 95, 16};
  f.HitTestLeftTopPoint = {8, 8};
  f.HitTestRightTopPoint = {92, 8};
  f.HitTestLeftBottomPoint = {8, 72};
  f.HitTestRightBottomPoint = {92, 72};
  f.MaskRectArea = {10, 25, 90, 70};
  f.IconRect = {4, 4, 16, 16};
  f.MainMenuRect = {10, 20, 90, 24};
  f.ButtonsOffset = 3;
  return f;
}

TqzFrameSize Sized(TSize window) { return {kPicture, window}; }

// ---------------------------------------------------------------------------

TEST(FrameTransform, RectanglesFollowTheirCornerPiece) {
  const TqzSkinFormInfo f = SampleInfo();
  const struct {
    TRect In, Out;
  } cases[] = {
      {{2, 3, 12, 13}, {2, 3, 12, 13}},            // top-left piece stays
      {{85, 5, 95, 25}, {135, 5, 145, 25}},        // top-right moves right
      {{5, 65, 15, 75}, {5, 105, 15, 115}},        // bottom-left moves down
      {{85, 65, 95, 75}, {135, 105, 145, 115}},    // bottom-right moves both ways
      {{90, 10, 100, 20}, {140, 10, 150, 20}},     // flush with the picture's right side
      {{0, 0, 20, 30}, {0, 0, 20, 30}},            // the whole top-left piece
  };
  for (const auto& c : cases) {
    const TRect out = FrameTransformRect(c.In, f, Sized(kWide));
    EXPECT_EQ(out, c.Out) << c.In.Left << "," << c.In.Top << "," << c.In.Right << ","
                          << c.In.Bottom;
  }
}

TEST(FrameTransform, SpanningRectanglesGrowBetweenTheirPieces) {
  const TqzSkinFormInfo f = SampleInfo();
  const struct {
    TRect In, Out;
  } cases[] = {
      {{5, 5, 90, 70}, {5, 5, 140, 110}},       // top-left to bottom-right
      {{5, 5, 90, 25}, {5, 5, 140, 25}},        // top-left to top-right
      {{5, 65, 90, 75}, {5, 105, 140, 115}},    // bottom-left to bottom-right
      {{5, 5, 15, 70}, {5, 5, 15, 110}},        // top-left to bottom-left
      {{85, 5, 95, 70}, {135, 5, 145, 110}},    // top-right to bottom-right
      {{0, 0, 100, 10}, {0, 0, 150, 10}},       // full width caption strip
      {{0, 0, 20, 80}, {0, 0, 20, 120}},        // full height left column
      {{30, 35, 50, 50}, {30, 35, 50, 50}},     // inside the stretch cell
      {{20, 5, 90, 25}, {20, 5, 90, 25}},       // starts on TL's right side: in no piece
      {{85, 5, 95, 50}, {85, 5, 95, 50}},       // ends between TR and BR
  };
  for (const auto& c : cases) {
    const TRect out = FrameTransformRect(c.In, f, Sized(kWide));
    EXPECT_EQ(out, c.Out) << c.In.Left << "," << c.In.Top << "," << c.In.Right << ","
                          << c.In.Bottom;
  }
}

TEST(FrameTransform, NoCornerPiecesLeavesEverythingInPlace) {
  TqzSkinFormInfo f;
  f.RightTopPoint = {100, 0};
  f.LeftBottomPoint = {0, 80};
  f.RightBottomPoint = {100, 80};
  EXPECT_EQ(FrameTransformRect({85, 65, 95, 75}, f, Sized(kWide)), (TRect{85, 65, 95, 75}));
}

// ---------------------------------------------------------------------------

TEST(FrameRects, AtThePictureSizeEverythingIsAsWritten) {
  const TqzSkinFormInfo f = SampleInfo();
  const TqzFrameRects r = CalcFrameRects(f, Sized(kPicture));
  EXPECT_EQ(r.NewClRect, f.ClientRect);
  EXPECT_EQ(r.NewCaptionRect, f.CaptionRect);
  EXPECT_EQ(r.NewButtonsRect, f.ButtonsRect);
  EXPECT_EQ(r.NewMaskRectArea, f.MaskRectArea);
  EXPECT_EQ(r.HitTestRBPoint, (TPoint{92, 72}));
  EXPECT_EQ(r.NewRBPoint, (TPoint{80, 60}));
  EXPECT_TRUE(r.Stretchable);
  EXPECT_FALSE(r.ButtonsOnLeft);
  EXPECT_EQ(r.ButtonsOffset, 3);
}

TEST(FrameRects, LargerWindowMovesRightAndBottomParts) {
  const TqzFrameRects r = CalcFrameRects(SampleInfo(), Sized(kWide));
  EXPECT_EQ(r.NewLTPoint, (TPoint{20, 30}));
  EXPECT_EQ(r.NewRTPoint, (TPoint{130, 30}));
  EXPECT_EQ(r.NewLBPoint, (TPoint{20, 100}));
  EXPECT_EQ(r.NewRBPoint, (TPoint{130, 100}));
  EXPECT_EQ(r.NewClRect, (TRect{10, 25, 140, 110}));
  EXPECT_EQ(r.NewCaptionRect, (TRect{5, 2, 145, 20}));
  EXPECT_EQ(r.NewButtonsRect, (TRect{120, 4, 145, 16}));
  EXPECT_EQ(r.HitTestLTPoint, (TPoint{8, 8}));
  EXPECT_EQ(r.HitTestRTPoint, (TPoint{142, 8}));
  EXPECT_EQ(r.HitTestLBPoint, (TPoint{8, 112}));
  EXPECT_EQ(r.HitTestRBPoint, (TPoint{142, 112}));
  EXPECT_EQ(r.NewMaskRectArea, (TRect{10, 25, 140, 110}));
  EXPECT_EQ(r.NewIconRect, (TRect{4, 4, 16, 16}));
  EXPECT_EQ(r.NewMainMenuRect, (TRect{10, 20, 140, 24}));
}

TEST(FrameRects, ButtonsInTheLeftHalfStayAndCountAsLeft) {
  TqzSkinFormInfo f = SampleInfo();
  f.ButtonsRect = {5, 4, 30, 16};
  TqzFrameRects r = CalcFrameRects(f, Sized(kWide));
  EXPECT_EQ(r.NewButtonsRect, (TRect{5, 4, 30, 16}));
  EXPECT_TRUE(r.ButtonsOnLeft);

  f.ButtonsRect = {50, 4, 70, 16};  // exactly at the half: neither side
  r = CalcFrameRects(f, Sized(kWide));
  EXPECT_EQ(r.NewButtonsRect, (TRect{50, 4, 70, 16}));
  EXPECT_FALSE(r.ButtonsOnLeft);

  f.ButtonsRect = {};
  r = CalcFrameRects(f, Sized(kWide));
  EXPECT_TRUE(r.NewButtonsRect.IsEmpty());
  EXPECT_FALSE(r.ButtonsOnLeft);
}

TEST(FrameRects, MenuBarFollowsTheBottomOnlyFromTheBottomLeftPiece) {
  TqzSkinFormInfo f = SampleInfo();
  f.MainMenuRect = {10, 72, 90, 78};
  EXPECT_EQ(CalcFrameRects(f, Sized(kWide)).NewMainMenuRect, (TRect{10, 112, 140, 118}));

  // A frame without a stretch cell keeps the menu bar and is not stretchable.
  f.RightBottomPoint = {80, 30};
  const TqzFrameRects r = CalcFrameRects(f, Sized(kWide));
  EXPECT_FALSE(r.Stretchable);
  EXPECT_EQ(r.NewMainMenuRect, (TRect{10, 72, 90, 78}));
}

// ---------------------------------------------------------------------------

TEST(SkinAreas, PlacementByFlags) {
  const TqzSkinFormInfo f = SampleInfo();
  TqzDataSkinArea area("a", {30, 35, 60, 50});
  EXPECT_EQ(PlaceSkinArea(area, f, Sized(kWide), false), (TRect{30, 35, 60, 50}));

  TqzDataSkinArea spanning("b", {5, 5, 90, 70});  // flag 1 off: frame transform
  EXPECT_EQ(PlaceSkinArea(spanning, f, Sized(kWide), true), (TRect{5, 5, 140, 110}));
  EXPECT_EQ(PlaceSkinArea(spanning, f, Sized(kWide), false), (TRect{5, 5, 90, 70}));

  area.Flag1 = true;  // anchored, no further flags: stays
  EXPECT_EQ(PlaceSkinArea(area, f, Sized(kWide), true), (TRect{30, 35, 60, 50}));
  area.Flag5 = true;  // moved down
  area.Flag4 = true;  // moved right
  EXPECT_EQ(PlaceSkinArea(area, f, Sized(kWide), true), (TRect{80, 75, 110, 90}));
  area.Flag3 = true;  // bottom grows instead
  area.Flag2 = true;  // right grows instead
  EXPECT_EQ(PlaceSkinArea(area, f, Sized(kWide), true), (TRect{30, 35, 110, 90}));
  area.Flag4 = false;  // growing right needs flag 4
  EXPECT_EQ(PlaceSkinArea(area, f, Sized(kWide), true), (TRect{30, 35, 60, 90}));
}

// ---------------------------------------------------------------------------

TEST(ClientArea, SkinShrinksTheProposedWindow) {
  TqzClientAreaInput in;
  in.HasSkin = true;
  in.SkinClientRect = {10, 25, 90, 70};
  in.Picture = kPicture;
  EXPECT_EQ(CalcClientArea({100, 200, 400, 500}, in), (TRect{110, 225, 390, 490}));
  // Too small a window: the sides meet instead of crossing.
  EXPECT_EQ(CalcClientArea({100, 200, 110, 210}, in), (TRect{110, 225, 110, 225}));

  in.FullBorderLayered = true;
  EXPECT_EQ(CalcClientArea({100, 200, 400, 500}, in), (TRect{100, 200, 400, 500}));
}

TEST(ClientArea, DefaultFrameWithoutSkinOrClientRect) {
  TqzClientAreaInput in;
  in.DefaultCaptionHeight = DefaultCaptionHeight(false);
  EXPECT_EQ(CalcClientArea({100, 200, 400, 500}, in), (TRect{103, 222, 397, 497}));
  in.DefaultCaptionHeight = DefaultCaptionHeight(true);
  EXPECT_EQ(CalcClientArea({100, 200, 400, 500}, in), (TRect{103, 218, 397, 497}));
  in.HasSkin = true;  // a skin without clientrect
  in.Picture = kPicture;
  EXPECT_EQ(CalcClientArea({100, 200, 400, 500}, in), (TRect{103, 218, 397, 497}));
  EXPECT_EQ(CalcClientArea({0, 0, 4, 10}, in), (TRect{3, 18, 3, 18}));
}

// ---------------------------------------------------------------------------
// Picture 100 x 80 with a client rect of 80 x 45: the frame takes 20 x 35.

TqzSizeLimitInput SkinnedLimits() {
  TqzSizeLimitInput in;
  in.HasSkin = true;
  in.Picture = kPicture;
  in.SkinClientRect = {10, 25, 90, 70};
  in.WorkArea = {0, 0, 1920, 1040};
  return in;
}

TEST(SizeLimits, SkinnedFrameDefaultsToPictureWidthAndFrameHeight) {
  const TqzSizeLimits l = CalcSizeLimits(SkinnedLimits());
  EXPECT_EQ(l.MinWidth, 100);
  EXPECT_EQ(l.MinHeight, 35);
  EXPECT_EQ(l.MaxWidth, 1920);
  EXPECT_EQ(l.MaxHeight, 1040);
}

TEST(SizeLimits, SkinnedFrameMinimumClientSize) {
  TqzSizeLimitInput in = SkinnedLimits();
  in.MinClientWidth = 200;
  in.MinClientHeight = 150;
  EXPECT_EQ(CalcSizeLimits(in).MinWidth, 220);
  EXPECT_EQ(CalcSizeLimits(in).MinHeight, 185);

  in.Borderless = true;
  EXPECT_EQ(CalcSizeLimits(in).MinWidth, 200);
  EXPECT_EQ(CalcSizeLimits(in).MinHeight, 150);
  in.Borderless = false;

  in.RolledUp = true;  // rolled up: the frame without its client part
  EXPECT_EQ(CalcSizeLimits(in).MinWidth, 220);
  EXPECT_EQ(CalcSizeLimits(in).MinHeight, 35);
  in.RolledUp = false;

  in.Minimized = true;
  EXPECT_EQ(CalcSizeLimits(in).MinWidth, 100);
  EXPECT_EQ(CalcSizeLimits(in).MinHeight, 35);
  in.Minimized = false;

  in.SkinnableForm = false;  // the client minimum counts only on a skinned frame
  EXPECT_EQ(CalcSizeLimits(in).MinWidth, 100);
}

TEST(SizeLimits, SkinnedFrameMinWidthAgainstFormMinWidth) {
  TqzSizeLimitInput in = SkinnedLimits();
  in.MinWidth = 300;
  in.FormMinWidth = 350;
  EXPECT_EQ(CalcSizeLimits(in).MinWidth, 300);  // wider than the picture wins
  in.Minimized = true;
  EXPECT_EQ(CalcSizeLimits(in).MinWidth, 350);
  in.Minimized = false;
  in.MinWidth = 50;
  in.FormMinWidth = 60;
  EXPECT_EQ(CalcSizeLimits(in).MinWidth, 60);
  in.MinWidth = 70;
  EXPECT_EQ(CalcSizeLimits(in).MinWidth, 70);
}

TEST(SizeLimits, SkinnedFrameMinHeightRules) {
  TqzSizeLimitInput in = SkinnedLimits();
  in.MinHeight = 50;
  EXPECT_EQ(CalcSizeLimits(in).MinHeight, 50);
  in.RolledUp = true;
  EXPECT_EQ(CalcSizeLimits(in).MinHeight, 35);
  in.FormMinHeight = 40;
  EXPECT_EQ(CalcSizeLimits(in).MinHeight, 40);
  in.RolledUp = false;
  EXPECT_EQ(CalcSizeLimits(in).MinHeight, 50);

  in.FormMinHeight = 0;
  in.FullBorderLayered = true;
  EXPECT_EQ(CalcSizeLimits(in).MinHeight, 50);
  in.MinHeight = 20;
  EXPECT_EQ(CalcSizeLimits(in).MinHeight, 10);
  in.MinHeight = 50;
  in.RolledUp = true;
  EXPECT_EQ(CalcSizeLimits(in).MinHeight, 10);
}

TEST(SizeLimits, ClientModeKeepsAtMostThePicture) {
  TqzSizeLimitInput in = SkinnedLimits();
  in.ClientMode = true;
  EXPECT_EQ(CalcSizeLimits(in).MinWidth, 100);
  EXPECT_EQ(CalcSizeLimits(in).MinHeight, 80);
  in.MinWidth = 60;
  in.MinHeight = 500;
  EXPECT_EQ(CalcSizeLimits(in).MinWidth, 60);
  EXPECT_EQ(CalcSizeLimits(in).MinHeight, 80);
  in.MaxClientWidth = 500;  // client mode ignores the client maximum
  EXPECT_EQ(CalcSizeLimits(in).MaxWidth, 1920);
  in.HasSkin = false;
  EXPECT_EQ(CalcSizeLimits(in).MinWidth, 0);
  EXPECT_EQ(CalcSizeLimits(in).MinHeight, 0);
}

TEST(SizeLimits, DefaultFrame) {
  TqzSizeLimitInput in;
  in.WorkArea = {0, 0, 1920, 1040};
  EXPECT_EQ(CalcSizeLimits(in).MinWidth, 130);
  EXPECT_EQ(CalcSizeLimits(in).MinHeight, 25);
  in.MinWidth = 150;
  in.MinHeight = 40;
  EXPECT_EQ(CalcSizeLimits(in).MinWidth, 150);
  EXPECT_EQ(CalcSizeLimits(in).MinHeight, 40);
  in.RolledUp = true;
  EXPECT_EQ(CalcSizeLimits(in).MinHeight, 25);
  in.RolledUp = false;
  in.MinClientWidth = 100;
  in.MinClientHeight = 100;
  EXPECT_EQ(CalcSizeLimits(in).MinWidth, 106);
  EXPECT_EQ(CalcSizeLimits(in).MinHeight, 125);
  in.Borderless = true;
  EXPECT_EQ(CalcSizeLimits(in).MinWidth, 100);
}

TEST(SizeLimits, Maximum) {
  TqzSizeLimitInput in = SkinnedLimits();
  in.MaxWidth = 800;
  EXPECT_EQ(CalcSizeLimits(in).MaxWidth, 800);
  in.MaxClientWidth = 500;
  in.MaxClientHeight = 300;
  EXPECT_EQ(CalcSizeLimits(in).MaxWidth, 520);
  EXPECT_EQ(CalcSizeLimits(in).MaxHeight, 335);
  in.Borderless = true;
  EXPECT_EQ(CalcSizeLimits(in).MaxWidth, 500);
  in.Borderless = false;
  in.Maximized = true;
  EXPECT_EQ(CalcSizeLimits(in).MaxWidth, 800);
  EXPECT_EQ(CalcSizeLimits(in).MaxHeight, 1040);
  in.Maximized = false;
  in.SkinnableForm = false;
  EXPECT_EQ(CalcSizeLimits(in).MaxWidth, 1920);
  in.HasSkin = false;
  EXPECT_EQ(CalcSizeLimits(in).MaxWidth, 506);
  EXPECT_EQ(CalcSizeLimits(in).MaxHeight, 325);
}

// ---------------------------------------------------------------------------
// Hit testing on the sample at 150 x 120: client (10,25,140,110), hit-test
// points (8,8) (142,8) (8,112) (142,112).

struct THitFixture {
  TqzFrameRects Rects = CalcFrameRects(SampleInfo(), Sized(kWide));
  TqzFrameHitInput Input(int borderWidth, const TqzMaskStrips* mask = nullptr) const {
    TqzFrameHitInput in;
    in.Frame = {&Rects, kWide, borderWidth, mask};
    return in;
  }
};

bool IsSizingCode(int code) { return code >= HTLEFT && code <= HTBOTTOMRIGHT; }

TEST(FrameHitTest, CornersInclusiveBandsHalfOpen) {
  THitFixture fx;
  const TqzFrameHitInput in = fx.Input(10);
  const struct {
    TPoint P;
    int Code;
  } cases[] = {
      {{0, 0}, HTTOPLEFT},       {{8, 8}, HTTOPLEFT},        {{9, 8}, HTTOP},
      {{7, 9}, HTLEFT},          {{142, 8}, HTTOPRIGHT},     {{141, 8}, HTTOP},
      {{142, 9}, HTRIGHT},       {{149, 60}, HTRIGHT},       {{8, 112}, HTBOTTOMLEFT},
      {{9, 112}, HTBOTTOM},      {{142, 112}, HTBOTTOMRIGHT}, {{141, 119}, HTBOTTOM},
      {{0, 60}, HTLEFT},         {{75, 5}, HTTOP},           {{75, 60}, HTCLIENT},
      {{75, 15}, HTOBJECT},  // away from the edge, outside the client
  };
  for (const auto& c : cases)
    EXPECT_EQ(FrameHitTest(c.P, in), c.Code) << c.P.X << "," << c.P.Y;
}

TEST(FrameHitTest, CaptionObjectsAndLayeredBorder) {
  THitFixture fx;
  TqzFrameHitInput in = fx.Input(10);
  in.CaptionDragPoint = true;
  EXPECT_EQ(FrameHitTest({75, 15}, in), HTCAPTION);
  in.CaptionDragPoint = false;
  in.ObjectActive = true;  // an object under the mouse beats sizing
  EXPECT_EQ(FrameHitTest({0, 0}, in), HTOBJECT);
  EXPECT_EQ(FrameHitTest({75, 60}, in), HTCLIENT);
  in.InSizeMove = true;
  EXPECT_EQ(FrameHitTest({0, 0}, in), HTTOPLEFT);
  in = fx.Input(10);
  in.FullBorderLayered = true;
  EXPECT_EQ(FrameHitTest({0, 0}, in), HTCLIENT);
}

// Every answer over the whole window, for the state checks below.
std::set<int> AllCodes(const TqzFrameHitInput& in) {
  std::set<int> codes;
  for (int y = 0; y < kWide.cy; ++y)
    for (int x = 0; x < kWide.cx; ++x) codes.insert(FrameHitTest({x, y}, in));
  return codes;
}

TEST(FrameHitTest, WindowStatesLimitTheAnswers) {
  THitFixture fx;
  TqzFrameHitInput in = fx.Input(10);
  in.Maximized = true;
  EXPECT_EQ(AllCodes(in), (std::set<int>{HTCLIENT, HTOBJECT}));
  in.Maximized = false;
  in.Sizeable = false;
  EXPECT_EQ(AllCodes(in), (std::set<int>{HTCLIENT, HTOBJECT}));
  in.Sizeable = true;
  in.RolledUp = true;
  EXPECT_EQ(AllCodes(in), (std::set<int>{HTOBJECT}));
  in.CaptionDragPoint = true;
  EXPECT_EQ(AllCodes(in), (std::set<int>{HTCAPTION}));
  in.RolledUp = false;
  in.Minimized = true;
  EXPECT_EQ(AllCodes(in), (std::set<int>{HTCAPTION}));
}

TEST(FrameHitTest, ZeroBorderWidthWithoutMaskNeverSizes) {
  THitFixture fx;
  for (int code : AllCodes(fx.Input(0))) EXPECT_FALSE(IsSizingCode(code)) << code;
}

// Strips around the mask area (10,25,90,70) of a 100 x 80 window: all black
// but for the given white pixels.
TqzMaskStrips BlackStrips() {
  return {TPixmap(100, 25, 0xFF000000), TPixmap(100, 10, 0xFF000000),
          TPixmap(10, 45, 0xFF000000), TPixmap(10, 45, 0xFF000000)};
}

TEST(PointInMask, ReadsTheStripThePointFallsOn) {
  const TRect area{10, 25, 90, 70};
  TqzMaskStrips s = BlackStrips();
  s.Top.At(50, 3) = 0xFFFFFFFF;
  s.Bottom.At(50, 5) = 0xFFFFFFFF;
  s.Left.At(5, 5) = 0xFFFFFFFF;
  s.Right.At(5, 5) = 0xFFFFFFFF;
  EXPECT_TRUE(PointInMask({50, 50}, area, s));
  EXPECT_FALSE(PointInMask({50, 3}, area, s));
  EXPECT_TRUE(PointInMask({51, 3}, area, s));
  EXPECT_FALSE(PointInMask({50, 75}, area, s));
  EXPECT_TRUE(PointInMask({50, 74}, area, s));
  EXPECT_FALSE(PointInMask({5, 30}, area, s));
  EXPECT_TRUE(PointInMask({6, 30}, area, s));
  EXPECT_FALSE(PointInMask({95, 30}, area, s));
  EXPECT_TRUE(PointInMask({96, 30}, area, s));
  // Off every strip, or on a strip that does not exist: outside the shape.
  EXPECT_FALSE(PointInMask({150, 3}, area, s));
  EXPECT_FALSE(PointInMask({-1, 30}, area, s));
  EXPECT_FALSE(PointInMask({50, 80}, area, s));
  s.Top = TPixmap();
  EXPECT_FALSE(PointInMask({51, 3}, area, s));
}

TEST(FrameHitTest, MaskHoleIsNearTheEdge) {
  const TqzFrameRects rects = CalcFrameRects(SampleInfo(), Sized(kPicture));
  TqzMaskStrips s = BlackStrips();
  s.Top.At(50, 3) = 0xFFFFFFFF;  // a hole in the top border
  s.Top.At(1, 1) = 0xFFFFFFFF;   // a cut-off corner
  TqzFrameHitInput in;
  in.Frame = {&rects, kPicture, 0, &s};
  EXPECT_EQ(FrameHitTest({50, 3}, in), HTTOP);
  EXPECT_EQ(FrameHitTest({51, 3}, in), HTOBJECT);
  EXPECT_EQ(FrameHitTest({1, 1}, in), HTTOPLEFT);
  EXPECT_EQ(FrameHitTest({2, 2}, in), HTOBJECT);
  EXPECT_EQ(FrameHitTest({50, 50}, in), HTCLIENT);
  // With a border width the probes reach the hole from two pixels away.
  in.Frame.BorderWidth = 2;
  EXPECT_EQ(FrameHitTest({52, 3}, in), HTTOP);
  EXPECT_EQ(FrameHitTest({53, 3}, in), HTOBJECT);
}

TEST(MaskStrips, BuiltFromTheMaskAtTheWindowSize) {
  TqzSkinFormInfo f = SampleInfo();
  f.LeftStretch = f.RightStretch = f.TopStretch = f.BottomStretch = true;
  TPixmap mask(100, 80, 0xFF000000);
  mask.At(1, 1) = 0xFFFFFFFF;
  mask.At(98, 78) = 0xFFFFFFFF;
  const TqzFrameSize size = Sized({130, 100});
  const TqzFrameRects r = CalcFrameRects(f, size);
  const TqzMaskStrips s = BuildMaskStrips(f, r, size, mask);
  EXPECT_EQ(s.Top.Width(), 130);
  EXPECT_EQ(s.Top.Height(), 25);
  EXPECT_EQ(s.Bottom.Height(), 10);
  EXPECT_EQ(s.Right.Width(), 10);
  EXPECT_EQ(s.Left.Height(), 65);
  EXPECT_FALSE(PointInMask({1, 1}, r.NewMaskRectArea, s));
  EXPECT_TRUE(PointInMask({2, 1}, r.NewMaskRectArea, s));
  EXPECT_FALSE(PointInMask({128, 98}, r.NewMaskRectArea, s));
  EXPECT_TRUE(PointInMask({127, 98}, r.NewMaskRectArea, s));
}

// ---------------------------------------------------------------------------

TEST(DefaultFrameHitTest, TwoPixelZonesCaptionAndClient) {
  TqzDefaultFrameHitInput in;
  in.Window = {200, 150};
  const struct {
    TPoint P;
    int Code;
  } cases[] = {
      {{2, 2}, HTTOPLEFT},     {{197, 0}, HTTOP},        {{198, 0}, HTTOPRIGHT},
      {{0, 148}, HTBOTTOMLEFT}, {{199, 149}, HTBOTTOMRIGHT}, {{0, 75}, HTLEFT},
      {{199, 75}, HTRIGHT},    {{100, 148}, HTBOTTOM},   {{100, 10}, HTCAPTION},
      {{100, 22}, HTCLIENT},   {{100, 147}, HTOBJECT},
  };
  for (const auto& c : cases)
    EXPECT_EQ(DefaultFrameHitTest(c.P, in), c.Code) << c.P.X << "," << c.P.Y;
  in.Maximized = true;
  EXPECT_EQ(DefaultFrameHitTest({0, 0}, in), HTOBJECT);
  EXPECT_EQ(DefaultFrameHitTest({100, 10}, in), HTCAPTION);
  in.Maximized = false;
  in.ObjectActive = true;
  EXPECT_EQ(DefaultFrameHitTest({100, 30}, in), HTOBJECT);
}

TEST(ClientHitTest, SizeGripEdgesAndClient) {
  const TqzFrameRects rects = CalcFrameRects(SampleInfo(), Sized(kWide));
  TqzClientHitInput in;
  in.HasSkin = true;
  in.Frame = {&rects, kWide, 10, nullptr};
  in.SizeGripRect = {130, 100, 150, 120};
  EXPECT_EQ(ClientHitTest({135, 105}, in), HTBOTTOMRIGHT);
  EXPECT_EQ(ClientHitTest({0, 60}, in), HTLEFT);
  EXPECT_EQ(ClientHitTest({75, 15}, in), HTCLIENT);  // never HTCAPTION or HTOBJECT
  EXPECT_EQ(ClientHitTest({75, 60}, in), HTCLIENT);
  in.Maximized = true;
  EXPECT_EQ(ClientHitTest({135, 105}, in), HTCLIENT);
  in.Maximized = false;
  in.ObjectActive = true;
  EXPECT_EQ(ClientHitTest({0, 60}, in), HTCLIENT);
  in.ObjectActive = false;
  in.HasSkin = false;
  EXPECT_EQ(ClientHitTest({0, 60}, in), HTCLIENT);
}

}  // namespace
}  // namespace qz
