// The paint pipeline of the skin control bases, against images composed
// directly by the composition functions or computed here pixel by pixel.
#include <cmath>

#include "skin/draw/QZUtils.h"
#include "tests/skincontrols/SkinControlTestKit.h"

namespace qz::testing {
namespace {

using SkinControlPaintTest = SkinControlTest;

// "nine" as the composition functions take it, New geometry for W x H.
TqzSkinGeometry NineGeometry(bool stretchEffect) {
  TqzSkinGeometry g;
  g.SkinRect = {0, 0, 60, 40};
  g.LeftTopPoint = {10, 10};
  g.RightTopPoint = {50, 10};
  g.LeftBottomPoint = {10, 30};
  g.RightBottomPoint = {50, 30};
  g.ClientRect = {10, 10, 50, 30};
  g.LeftStretch = g.TopStretch = g.RightStretch = g.BottomStretch = true;
  g.StretchEffect = stretchEffect;
  return g;
}
TqzNewGeometry NineAt(int W, int H) {
  TqzNewGeometry n;
  n.Width = W;
  n.Height = H;
  n.NewLTPoint = {10, 10};
  n.NewRTPoint = {W - 10, 10};
  n.NewLBPoint = {10, H - 10};
  n.NewRBPoint = {W - 10, H - 10};
  n.NewClRect = {10, 10, W - 10, H - 10};
  return n;
}

TEST_F(SkinControlPaintTest, EachResizeModeShowsItsDirectComposition) {
  TBitmap nine, horz, vert;
  CreateSkinImage(NineGeometry(true), NineAt(100, 70), true, 100, 70, SkinPicture(), nine);
  CreateHSkinImage(10, 10, horz, false, 90, {0, 10, 60, 30}, SkinPicture());
  CreateVSkinImage(10, 10, vert, false, 55, {20, 0, 40, 40}, SkinPicture());
  TPixmap fixed(30, 20);
  for (int y = 0; y < 20; ++y)
    for (int x = 0; x < 30; ++x) fixed.At(x, y) = SkinPicture().Pixels().At(5 + x, 5 + y);

  EXPECT_EQ(FirstDifference(Shot(Make("nine", 0, 0, 100, 70)), RgbOf(nine.Pixels())), "");
  EXPECT_EQ(FirstDifference(Shot(Make("horz", 0, 80, 90, 70)), RgbOf(horz.Pixels())), "");
  EXPECT_EQ(FirstDifference(Shot(Make("vert", 120, 0, 70, 55)), RgbOf(vert.Pixels())), "");
  EXPECT_EQ(FirstDifference(Shot(Make("fixed", 200, 0, 70, 55)), RgbOf(fixed)), "");
}

TEST_F(SkinControlPaintTest, FrameOnlyWithStretchedPartsEqualsTheNinePartImage) {
  auto* c = new TProbeSkinControl(form);
  c->FrameOnlyPaint = true;
  c->SetParent(form);
  c->SetBounds(0, 0, 100, 70);
  c->SetSkinDataName("nine");
  c->SetSkinData(skin.get());
  TBitmap nine;
  CreateSkinImage(NineGeometry(true), NineAt(100, 70), true, 100, 70, SkinPicture(), nine);
  EXPECT_EQ(FirstDifference(Shot(c), RgbOf(nine.Pixels())), "");
}

TEST_F(SkinControlPaintTest, FrameOnlyTilesTheClientPieceFromItsTopLeft) {
  auto* c = new TProbeSkinControl(form);
  c->FrameOnlyPaint = true;
  c->SetParent(form);
  c->SetBounds(0, 0, 97, 73);
  c->SetSkinDataName("tiled");
  c->SetSkinData(skin.get());
  const TPixmap shot = Shot(c);

  TBitmap top, bottom, left, right;
  CreateSkinBorderImages(NineGeometry(false), NineAt(97, 73), 97, 73, SkinPicture(), top, bottom,
                         left, right);
  TPixmap expected(97, 73);
  auto put = [&](const TBitmap& b, int x0, int y0) {
    for (int y = 0; y < b.Height(); ++y)
      for (int x = 0; x < b.Width(); ++x) expected.At(x0 + x, y0 + y) = b.Pixels().At(x, y);
  };
  const TPixmap& pic = SkinPicture().Pixels();
  for (int y = 10; y < 63; ++y)  // client (10,10)-(87,63), piece 40 x 20 at (10,10)
    for (int x = 10; x < 87; ++x) expected.At(x, y) = pic.At(10 + (x - 10) % 40, 10 + (y - 10) % 20);
  put(top, 0, 0);
  put(left, 0, top.Height());
  put(right, 97 - right.Width(), top.Height());
  put(bottom, 0, 73 - bottom.Height());
  EXPECT_EQ(FirstDifference(shot, RgbOf(expected)), "");
}

// The blend over the form's colour: value/255 of the control and the rest
// of the background per channel, rounded half to even.
TEST_F(SkinControlPaintTest, AlphaBlendMixesWithTheBackgroundPerPixel) {
  TBitmap nine;
  CreateSkinImage(NineGeometry(true), NineAt(100, 70), true, 100, 70, SkinPicture(), nine);
  const uint32_t back = PixelOf(kFormColor);
  for (int value : {255, 0, 200}) {
    SCOPED_TRACE(value);
    auto* c = Make("nine", 0, 0, 100, 70);
    c->SetAlphaBlendValue(uint8_t(value));
    c->SetAlphaBlend(true);
    const TPixmap shot = Shot(c);
    TPixmap expected(100, 70);
    for (int y = 0; y < 70; ++y)
      for (int x = 0; x < 100; ++x) {
        const uint32_t fore = nine.Pixels().At(x, y);
        uint32_t mixed = 0;
        for (int shift : {0, 8, 16}) {
          const int f = int((fore >> shift) & 0xFF), b = int((back >> shift) & 0xFF);
          const double v = std::nearbyint((value * f + (255 - value) * b) / 255.0);
          mixed |= uint32_t(v) << shift;
        }
        expected.At(x, y) = mixed;
      }
    EXPECT_EQ(FirstDifference(shot, expected), "");
    delete c;
  }
}

TEST_F(SkinControlPaintTest, RenamingAloneDoesNotRepaint) {
  auto* c = Make("nine", 0, 0, 100, 70);
  const int paints = c->paints;
  c->SetSkinDataName("fixed");
  Pump();
  EXPECT_EQ(c->paints, paints);
  EXPECT_EQ(c->Width(), 100);
  // The next skin change picks the new name up.
  c->ChangeSkinData();
  EXPECT_EQ(c->Width(), 30);
  Pump();
  EXPECT_GT(c->paints, paints);
}

TEST_F(SkinControlPaintTest, RemovedSkinDataLeavesThePlainLook) {
  auto* c = Make("nine", 0, 0, 100, 70);
  ASSERT_NE(c->SkinIndex, -1);
  skin.reset();
  EXPECT_EQ(c->SkinData(), nullptr);
  EXPECT_EQ(c->Picture, nullptr);
  const TPixmap shot = Shot(c);
  EXPECT_EQ(shot.At(0, 0), PixelOf(clBtnFace));
  EXPECT_EQ(shot.At(99, 69), PixelOf(clBtnFace));
}

TEST_F(SkinControlPaintTest, WithoutDrawDefaultNothingIsComposedButTheBitmapIsDrawn) {
  auto* c = Make("unknown", 0, 0, 40, 30);
  c->SetDrawDefault(false);
  c->Invalidate();
  const TPixmap shot = Shot(c);
  EXPECT_NE(shot.At(5, 5), PixelOf(clBtnFace));
}

TEST_F(SkinControlPaintTest, MaskRegionFollowsTheSize) {
  auto* c = Make("masked", 10, 10, 100, 70);
  for (TSize size : {TSize{100, 70}, TSize{80, 50}}) {
    SCOPED_TRACE(size.cx);
    c->SetBounds(10, 10, size.cx, size.cy);
    ASSERT_TRUE(c->Region().has_value());
    const TRegion& r = *c->Region();
    const int w = size.cx, h = size.cy;
    // The 5 x 5 corner squares are cut away, the rest is in.
    for (TPoint out : {TPoint{0, 0}, TPoint{4, 4}, TPoint{w - 1, 0}, TPoint{0, h - 1},
                       TPoint{w - 5, h - 5}})
      EXPECT_FALSE(r.Contains(out)) << out.X << "," << out.Y;
    for (TPoint in : {TPoint{5, 0}, TPoint{0, 5}, TPoint{w - 6, h - 1}, TPoint{w / 2, h / 2},
                      TPoint{w - 1, h - 6}})
      EXPECT_TRUE(r.Contains(in)) << in.X << "," << in.Y;
    EXPECT_EQ(r.Bounds(), (TRect{0, 0, w, h}));
    // The window shows the form through the cut corners.
    const TPixmap shot = Shot(c);
    EXPECT_EQ(shot.At(0, 0), PixelOf(kFormColor));
    // The client piece (40 x 20 at (10,10)) tiles from the client's top-left.
    EXPECT_EQ(shot.At(w / 2, h / 2),
              Rgb(SkinPicture().Pixels().At(10 + (w / 2 - 10) % 40, 10 + (h / 2 - 10) % 20)));
  }
  c->SetSkinDataName("nine");
  c->ChangeSkinData();
  EXPECT_FALSE(c->Region().has_value());
}

// The three-part elements keep both ends of their mask at any length.
TEST_F(SkinControlPaintTest, ThreePartMaskRegionsKeepTheirEnds) {
  auto* h = Make("maskedhorz", 0, 0, 100, 20);
  ASSERT_TRUE(h->Region().has_value());
  const TRegion expectedH =
      TRegion(TRect{0, 0, 100, 20}).Subtract(TRegion(TRect{0, 0, 5, 5})).Subtract(TRegion(TRect{95, 0, 100, 5}));
  EXPECT_EQ(*h->Region(), expectedH);

  auto* v = Make("maskedvert", 150, 0, 20, 70);
  ASSERT_TRUE(v->Region().has_value());
  const TRegion expectedV =
      TRegion(TRect{0, 0, 20, 70}).Subtract(TRegion(TRect{0, 0, 5, 5})).Subtract(TRegion(TRect{0, 65, 5, 70}));
  EXPECT_EQ(*v->Region(), expectedV);
}

TEST_F(SkinControlPaintTest, SkinCursorIsTheSkinsFirstCursorPlusTheIndex) {
  auto* c = new TProbeSkinControl(form);
  c->SetParent(form);
  c->SetUseSkinCursor(true);
  c->SetCursor(crHandPoint);
  c->SetSkinDataName("masked");
  c->SetSkinData(skin.get());
  EXPECT_EQ(c->Cursor(), skin->StartCursorIndex() + 2);
  c->SetSkinDataName("nine");
  c->ChangeSkinData();
  EXPECT_EQ(c->Cursor(), crDefault);
}

TEST_F(SkinControlPaintTest, BlendedControlsRepaintWhenMovedOrAskedToRefresh) {
  auto* outer = Make("nine", 0, 0, 150, 100);
  auto* inner = Make("nine", 20, 20, 60, 40, outer);
  auto* plain = Make("nine", 0, 110, 60, 40);
  outer->SetAlphaBlend(true);
  inner->SetAlphaBlend(true);
  Pump();
  int o = outer->paints, i = inner->paints, p = plain->paints;
  SendMessage(outer->Handle(), MSG_REFRESH_ALPHABLEND);
  SendMessage(plain->Handle(), MSG_REFRESH_ALPHABLEND);
  Pump();
  EXPECT_GT(outer->paints, o);
  EXPECT_GT(inner->paints, i);
  EXPECT_EQ(plain->paints, p);

  // A move tells a blended window its background changed; others ignore it.
  i = inner->paints;
  p = plain->paints;
  SendMessage(inner->Handle(), WM_MOVE, 0, MAKELPARAM(25, 20));
  SendMessage(plain->Handle(), WM_MOVE, 0, MAKELPARAM(0, 110));
  Pump();
  EXPECT_GT(inner->paints, i);
  EXPECT_EQ(plain->paints, p);
}

TEST_F(SkinControlPaintTest, EraseBackgroundIsAnsweredWithoutErasing) {
  auto* c = Make("nine", 0, 0, 100, 70);
  TBitmap target(100, 70);
  target.Canvas().Brush().SetColor(clRed);
  target.Canvas().FillRect({0, 0, 100, 70});
  const LRESULT r =
      SendMessage(c->Handle(), WM_ERASEBKGND, reinterpret_cast<WPARAM>(target.Canvas().Handle()));
  EXPECT_EQ(r, 1);
  EXPECT_EQ(Rgb(target.Pixels().At(50, 30)), PixelOf(clRed));
}

TEST_F(SkinControlPaintTest, GraphicPairPaintsAndSnapsLikeTheWindowedOne) {
  auto* g = Make<TProbeGraphicSkinControl>("nine", 0, 0, 100, 70);
  TBitmap nine;
  CreateSkinImage(NineGeometry(true), NineAt(100, 70), true, 100, 70, SkinPicture(), nine);
  EXPECT_EQ(FirstDifference(Shot(g), RgbOf(nine.Pixels())), "");
  auto* f = Make<TProbeGraphicSkinControl>("fixed", 0, 100, 90, 90);
  EXPECT_EQ(f->Width(), 30);
  EXPECT_EQ(f->Height(), 20);
  f->SetSkinDataName("unknown");
  f->SetDefaultWidth(44);
  f->ChangeSkinData();
  EXPECT_EQ(f->Width(), 44);
  EXPECT_EQ(Shot(f).At(3, 3), PixelOf(clBtnFace));
}

}  // namespace
}  // namespace qz::testing
