// Canvas state, clipping, shapes and block transfers, checked pixel by pixel.
#include <gtest/gtest.h>

#include <random>
#include <string>

#include "host/graphics/Canvas.h"

namespace qz {
namespace {

constexpr uint32_t kBlack = 0xFF000000u;
constexpr uint32_t kWhite = 0xFFFFFFFFu;
constexpr uint32_t kRedPx = 0xFFFF0000u;

// Rows of the pixmap as text: '#' where the pixel equals ink, '.' elsewhere.
std::string Art(const TPixmap& pm, uint32_t ink, int w = -1, int h = -1) {
  if (w < 0) w = pm.Width();
  if (h < 0) h = pm.Height();
  std::string s;
  for (int y = 0; y < h; ++y) {
    for (int x = 0; x < w; ++x) s += pm.At(x, y) == ink ? '#' : '.';
    s += '\n';
  }
  return s;
}

std::string Lines(std::initializer_list<const char*> rows) {
  std::string s;
  for (const char* r : rows) (s += r) += '\n';
  return s;
}

TEST(CanvasClip, SaveRestoreIntersectExclude) {
  TPixmap pm(10, 6, kBlack);
  TCanvas c(&pm);
  c.Brush().SetColor(clWhite);
  EXPECT_EQ(c.ClipRect(), (TRect{0, 0, 10, 6}));

  const int saved = c.SaveDC();
  EXPECT_EQ(c.IntersectClipRect({1, 1, 9, 5}), SIMPLEREGION);
  EXPECT_EQ(c.ExcludeClipRect({3, 0, 5, 10}), COMPLEXREGION);
  EXPECT_FALSE(c.PtVisible({3, 2}));
  EXPECT_TRUE(c.PtVisible({2, 2}));
  EXPECT_TRUE(c.RectVisible({0, 0, 2, 2}));
  EXPECT_FALSE(c.RectVisible({3, 1, 5, 5}));
  c.FillRect({0, 0, 10, 6});
  EXPECT_EQ(Art(pm, kWhite), Lines({"..........",
                                    ".##..####.",
                                    ".##..####.",
                                    ".##..####.",
                                    ".##..####.",
                                    ".........."}));
  EXPECT_TRUE(c.RestoreDC(saved));
  EXPECT_EQ(c.ClipRect(), (TRect{0, 0, 10, 6}));
  EXPECT_FALSE(c.RestoreDC(saved)) << "that level is gone";
}

TEST(CanvasClip, RestoreByRelativeLevelAndState) {
  TPixmap pm(4, 4, kBlack);
  TCanvas c(&pm);
  c.Pen().SetColor(clRed);
  c.Font().SetHeight(-20);
  c.SetBkMode(TRANSPARENT);
  c.SetViewportOrg({1, 1});
  c.SaveDC();
  c.SaveDC();
  c.Pen().SetColor(clBlue);
  c.Font().SetHeight(-8);
  c.SetBkMode(OPAQUE);
  c.SetViewportOrg({5, 5});
  c.IntersectClipRect({0, 0, 1, 1});
  EXPECT_TRUE(c.RestoreDC(-2));
  EXPECT_EQ(c.SaveDepth(), 0);
  EXPECT_EQ(c.Pen().Color(), clRed);
  EXPECT_EQ(c.Font().Height(), -20);
  EXPECT_EQ(c.BkMode(), TRANSPARENT);
  EXPECT_EQ(c.ViewportOrg(), (TPoint{1, 1}));
  TRegion user;
  EXPECT_FALSE(c.GetClipRgn(user));
}

TEST(CanvasClip, BaseClipCannotBeExceededAndOriginsMapCoordinates) {
  TPixmap pm(8, 6, kBlack);
  TCanvas c(&pm);
  c.SetBaseClip(TRegion(TRect{2, 1, 7, 5}));
  c.SetViewportOrg({3, 2});   // device = logical - WindowOrg + ViewportOrg
  c.SetWindowOrg({1, 1});     // => device = logical + (2, 1)
  EXPECT_EQ(c.ClipRect(), (TRect{0, 0, 5, 4}));
  // A user clip larger than the base clip does not widen it.
  const TRegion big(TRect{-100, -100, 100, 100});
  c.SelectClipRgn(&big);
  c.Brush().SetColor(clWhite);
  c.FillRect({-50, -50, 50, 50});
  EXPECT_EQ(Art(pm, kWhite), Lines({"........",
                                    "..#####.",
                                    "..#####.",
                                    "..#####.",
                                    "..#####.",
                                    "........"}));
  // User clip in logical coordinates: logical (0,0)-(2,2) is device (2,1)-(4,3).
  pm.Resize(8, 6, kBlack);
  const TRegion small(TRect{0, 0, 2, 2});
  c.SelectClipRgn(&small);
  EXPECT_EQ(c.ClipRegion(), TRegion(TRect{2, 1, 4, 3}));
  c.FillRect({-50, -50, 50, 50});
  EXPECT_EQ(Art(pm, kWhite), Lines({"........",
                                    "..##....",
                                    "..##....",
                                    "........",
                                    "........",
                                    "........"}));
  TRegion back;
  ASSERT_TRUE(c.GetClipRgn(back));
  EXPECT_EQ(back, small);
  c.ClearBaseClip();
  c.SelectClipRgn(nullptr);
  EXPECT_EQ(c.ClipRegion(), TRegion(pm.Bounds()));
}

TEST(CanvasClip, NoTargetDrawsNothingAndCostsNothing) {
  TCanvas c;
  c.FillRect({0, 0, 10, 10});
  c.LineTo(5, 5);
  c.TextOut(0, 0, "x");
  EXPECT_EQ(c.Pixel(0, 0), clNone);
  EXPECT_TRUE(c.ClipRegion().IsEmpty());
}

TEST(CanvasLines, EndPointExcludedInEveryDirection) {
  TPixmap pm(7, 7, kBlack);
  TCanvas c(&pm);
  c.Pen().SetColor(clWhite);
  c.MoveTo(1, 1);
  c.LineTo(5, 1);  // right
  c.LineTo(5, 5);  // down
  c.LineTo(1, 5);  // left
  c.LineTo(1, 1);  // up: closes without overdrawing the start
  EXPECT_EQ(c.PenPos(), (TPoint{1, 1}));
  EXPECT_EQ(Art(pm, kWhite), Lines({".......",
                                    ".#####.",
                                    ".#...#.",
                                    ".#...#.",
                                    ".#...#.",
                                    ".#####.",
                                    "......."}));
  pm.Resize(5, 5, kBlack);
  c.MoveTo(0, 0);
  c.LineTo(4, 4);
  c.MoveTo(4, 0);
  c.LineTo(4, 0);  // zero length: nothing
  EXPECT_EQ(Art(pm, kWhite), Lines({"#....", ".#...", "..#..", "...#.", "....."}));
}

TEST(CanvasLines, DotPatternAndWidePen) {
  TPixmap pm(12, 3, kBlack);
  TCanvas c(&pm);
  c.Pen().SetColor(clWhite);
  c.Pen().SetStyle(TPenStyle::psDot);
  c.SetBkMode(TRANSPARENT);
  c.MoveTo(0, 0);
  c.LineTo(12, 0);
  EXPECT_EQ(Art(pm, kWhite, 12, 1), "###...###...\n");
  c.Pen().SetStyle(TPenStyle::psSolid);
  c.Pen().SetWidth(3);
  c.MoveTo(1, 1);
  c.LineTo(3, 1);
  EXPECT_EQ(Art(pm, kWhite).substr(13), Lines({"####........", "####........"}));
}

TEST(CanvasShapes, FrameRectAndRectangle) {
  TPixmap pm(6, 5, kBlack);
  TCanvas c(&pm);
  c.Brush().SetColor(clWhite);
  c.FrameRect({0, 0, 6, 5});
  EXPECT_EQ(Art(pm, kWhite), Lines({"######", "#....#", "#....#", "#....#", "######"}));

  pm.Resize(6, 5, kBlack);
  c.Pen().SetColor(clRed);
  c.Brush().SetColor(clWhite);
  c.Rectangle(0, 0, 5, 4);
  EXPECT_EQ(Art(pm, kRedPx), Lines({"#####.", "#...#.", "#...#.", "#####.", "......"}));
  EXPECT_EQ(Art(pm, kWhite), Lines({"......", ".###..", ".###..", "......", "......"}));

  // A clear pen fills one pixel less to the right and bottom.
  pm.Resize(6, 5, kBlack);
  c.Pen().SetStyle(TPenStyle::psClear);
  c.Rectangle(0, 0, 5, 4);
  EXPECT_EQ(Art(pm, kWhite), Lines({"####..", "####..", "####..", "......", "......"}));

  // A clear brush leaves the inside alone.
  pm.Resize(6, 5, kBlack);
  c.Pen().SetStyle(TPenStyle::psSolid);
  c.Brush().SetStyle(TBrushStyle::bsClear);
  c.Rectangle(1, 1, 4, 4);
  EXPECT_EQ(Art(pm, kBlack), Lines({"######", "#...##", "#.#.##", "#...##", "######"}));
}

TEST(CanvasShapes, EllipseIsSymmetricAndInsideItsBox) {
  TPixmap pm(13, 9, kBlack);
  TCanvas c(&pm);
  c.Pen().SetColor(clRed);
  c.Brush().SetColor(clWhite);
  c.Ellipse(1, 1, 12, 8);
  for (int y = 0; y < 9; ++y)
    for (int x = 0; x < 13; ++x) {
      const uint32_t p = pm.At(x, y);
      if (x == 0 || y == 0 || x == 12 || y == 8) {
        EXPECT_EQ(p, kBlack) << x << "," << y;
      }
      EXPECT_EQ(p, pm.At(12 - x, y)) << "mirror x at " << x << "," << y;
      EXPECT_EQ(p, pm.At(x, 8 - y)) << "mirror y at " << x << "," << y;
    }
  EXPECT_EQ(pm.At(6, 1), kRedPx);  // top of the outline
  EXPECT_EQ(pm.At(1, 4), kRedPx);  // left end
  EXPECT_EQ(pm.At(6, 4), kWhite);  // centre filled
  EXPECT_EQ(pm.At(1, 1), kBlack);  // corners outside
}

TEST(CanvasShapes, PolygonFillsItsInterior) {
  TPixmap pm(6, 6, kBlack);
  TCanvas c(&pm);
  c.Pen().SetStyle(TPenStyle::psClear);
  c.Brush().SetColor(clWhite);
  const TPoint square[] = {{1, 1}, {5, 1}, {5, 5}, {1, 5}};
  c.Polygon(square);
  EXPECT_EQ(Art(pm, kWhite), Lines({"......", ".####.", ".####.", ".####.", ".####.", "......"}));
}

TEST(CanvasShapes, FocusRectTwiceRestores) {
  TPixmap pm(9, 7, 0xFF336699u);
  const TPixmap before = pm;
  TCanvas c(&pm);
  c.DrawFocusRect({1, 1, 8, 6});
  EXPECT_NE(pm, before);
  EXPECT_EQ(pm.At(1, 1), 0xFFCC9966u);  // (1+1) even: inverted
  EXPECT_EQ(pm.At(2, 1), 0xFF336699u);
  EXPECT_EQ(pm.At(4, 4), 0xFF336699u);  // inside untouched
  c.DrawFocusRect({1, 1, 8, 6});
  EXPECT_EQ(pm, before);
}

TEST(CanvasPixels, PixelAndSetPixelUseLogicalCoordinates) {
  TPixmap pm(4, 4, kBlack);
  TCanvas c(&pm);
  c.SetWindowOrg({10, 10});
  c.SetPixel(11, 12, RGB(1, 2, 3));
  EXPECT_EQ(pm.At(1, 2), 0xFF010203u);
  EXPECT_EQ(c.Pixel(11, 12), static_cast<TColor>(RGB(1, 2, 3)));
  EXPECT_EQ(c.Pixel(0, 0), clNone);
  c.SetPixel(0, 0, clWhite);  // outside: ignored
}

// Source pixmap whose pixel value encodes its coordinates.
TPixmap CoordSource(int w, int h) {
  TPixmap pm(w, h);
  for (int y = 0; y < h; ++y)
    for (int x = 0; x < w; ++x) pm.At(x, y) = 0x80000000u | (uint32_t(x) << 8) | uint32_t(y);
  return pm;
}
int SrcX(uint32_t p) { return (p >> 8) & 0xFF; }
int SrcY(uint32_t p) { return p & 0xFF; }

TEST(CanvasBlit, StretchIsNearestNeighbourAtPixelCentres) {
  TPixmap src = CoordSource(3, 2);
  TCanvas sc(&src);
  TPixmap dst(7, 5, 0);
  TCanvas dc(&dst);
  ASSERT_TRUE(StretchBlt(&dc, 0, 0, 7, 5, &sc, 0, 0, 3, 2, SRCCOPY));
  for (int y = 0; y < 5; ++y)
    for (int x = 0; x < 7; ++x) {
      ASSERT_EQ(SrcX(dst.At(x, y)), (2 * x + 1) * 3 / 14) << x;
      ASSERT_EQ(SrcY(dst.At(x, y)), (2 * y + 1) * 2 / 10) << y;
      ASSERT_EQ(dst.At(x, y) >> 24, 0x80u) << "block copies keep alpha";
    }
  // Exact doubling repeats each pixel twice; halving takes every second one.
  dst.Resize(6, 4, 0);
  StretchBlt(&dc, 0, 0, 6, 4, &sc, 0, 0, 3, 2, SRCCOPY);
  EXPECT_EQ(SrcX(dst.At(0, 0)), 0);
  EXPECT_EQ(SrcX(dst.At(1, 0)), 0);
  EXPECT_EQ(SrcX(dst.At(2, 0)), 1);
  EXPECT_EQ(SrcY(dst.At(0, 3)), 1);
  TPixmap big = CoordSource(8, 8);
  TCanvas bc(&big);
  dst.Resize(4, 4, 0);
  StretchBlt(&dc, 0, 0, 4, 4, &bc, 0, 0, 8, 8, SRCCOPY);
  EXPECT_EQ(SrcX(dst.At(0, 0)), 1);
  EXPECT_EQ(SrcX(dst.At(3, 0)), 7);
}

// Enlarging repeats source rows and columns; the copy must still take each
// pixel from the nearest source pixel, leave the excluded clip area and the
// columns beyond the source untouched.
TEST(CanvasBlit, EnlargedCopyUnderAClipWithPartsBeyondTheSource) {
  TPixmap src = CoordSource(5, 3);
  TCanvas sc(&src);
  TPixmap dst(41, 23, 0);
  TCanvas dc(&dst);
  dc.ExcludeClipRect({10, 5, 20, 15});
  // Source columns -2 .. 4: the first two map outside the source.
  ASSERT_TRUE(StretchBlt(&dc, 0, 0, 41, 23, &sc, -2, 0, 7, 3, SRCCOPY));
  for (int y = 0; y < 23; ++y)
    for (int x = 0; x < 41; ++x) {
      const int sx = -2 + (2 * x + 1) * 7 / 82, sy = (2 * y + 1) * 3 / 46;
      const bool excluded = x >= 10 && x < 20 && y >= 5 && y < 15;
      if (excluded || sx < 0) {
        ASSERT_EQ(dst.At(x, y), 0u) << x << "," << y;
      } else {
        ASSERT_EQ(SrcX(dst.At(x, y)), sx) << x << "," << y;
        ASSERT_EQ(SrcY(dst.At(x, y)), sy) << x << "," << y;
      }
    }
  // A one-to-one width with rows repeated: whole rows copied.
  TPixmap tall(5, 9, 0);
  TCanvas tc(&tall);
  StretchBlt(&tc, 0, 0, 5, 9, &sc, 0, 0, 5, 3, SRCCOPY);
  for (int y = 0; y < 9; ++y)
    for (int x = 0; x < 5; ++x) ASSERT_EQ(tall.At(x, y), src.At(x, y / 3)) << x << "," << y;
}

// At its own size a copy takes whole row segments: the clip, both origins
// and the parts beyond the source must still come out as pixel by pixel.
TEST(CanvasBlit, OwnSizeCopyUnderAClipWithOriginsAndPartsBeyondTheSource) {
  TPixmap src = CoordSource(6, 4);
  TCanvas sc(&src);
  sc.SetViewportOrg({1, 0});  // logical 0 = device 1
  TPixmap dst(12, 8, 0);
  TCanvas dc(&dst);
  dc.SetViewportOrg({2, 1});
  dc.ExcludeClipRect({2, 1, 4, 2});  // logical: device (4..6, 2..3)
  // Source logical -2 .. 5 = device -1 .. 6: the first and last columns lie
  // beyond the source, and so does the last row.
  ASSERT_TRUE(StretchBlt(&dc, 0, 0, 8, 5, &sc, -2, 0, 8, 5, SRCCOPY));
  for (int y = 0; y < 8; ++y)
    for (int x = 0; x < 12; ++x) {
      const int sx = x - 2 - 1, sy = y - 1;  // the source device pixel
      const bool inside = x >= 2 && x < 10 && y >= 1 && y < 6;
      const bool excluded = x >= 4 && x < 6 && y >= 2 && y < 3;
      if (!inside || excluded || sx < 0 || sx >= 6 || sy >= 4) {
        ASSERT_EQ(dst.At(x, y), 0u) << x << "," << y;
      } else {
        ASSERT_EQ(dst.At(x, y), src.At(sx, sy)) << x << "," << y;
      }
    }
}

TEST(CanvasBlit, MirroringOriginsAndClipping) {
  TPixmap src = CoordSource(4, 1);
  TCanvas sc(&src);
  sc.SetViewportOrg({1, 0});  // logical 0 = device 1
  TPixmap dst(4, 1, 0);
  TCanvas dc(&dst);
  // Negative destination width mirrors: columns 3..0 from source device 1..3.
  StretchBlt(&dc, 3, 0, -3, 1, &sc, 0, 0, 3, 1, SRCCOPY);
  EXPECT_EQ(SrcX(dst.At(0, 0)), 3) << "x = 3 - 3 .. 3 covers columns 0..2, mirrored";
  EXPECT_EQ(SrcX(dst.At(2, 0)), 1);
  EXPECT_EQ(dst.At(3, 0), 0u);
  dst.Resize(4, 1, 0);
  StretchBlt(&dc, 4, 0, -3, 1, &sc, 0, 0, 3, 1, SRCCOPY);
  EXPECT_EQ(SrcX(dst.At(1, 0)), 3);
  EXPECT_EQ(SrcX(dst.At(2, 0)), 2);
  EXPECT_EQ(SrcX(dst.At(3, 0)), 1);
  EXPECT_EQ(dst.At(0, 0), 0u);

  // BitBlt clipped to the destination clip and to the source pixmap.
  TPixmap d2(5, 3, 0);
  TCanvas c2(&d2);
  c2.ExcludeClipRect({1, 0, 2, 3});
  TPixmap s2 = CoordSource(3, 3);
  TCanvas sc2(&s2);
  ASSERT_TRUE(BitBlt(&c2, 0, 0, 5, 3, &sc2, 0, 0, SRCCOPY));
  EXPECT_EQ(SrcX(d2.At(0, 1)), 0);
  EXPECT_EQ(d2.At(1, 1), 0u) << "excluded";
  EXPECT_EQ(SrcX(d2.At(2, 1)), 2);
  EXPECT_EQ(d2.At(3, 1), 0u) << "beyond the source";
  EXPECT_FALSE(BitBlt(&c2, 0, 0, 1, 1, nullptr, 0, 0, SRCCOPY));
}

TEST(CanvasBlit, OverlappingCopyWithinOnePixmap) {
  TPixmap pm = CoordSource(6, 1);
  TCanvas c(&pm);
  BitBlt(&c, 1, 0, 5, 1, &c, 0, 0, SRCCOPY);  // scroll right by one
  for (int x = 1; x < 6; ++x) EXPECT_EQ(SrcX(pm.At(x, 0)), x - 1);
}

TEST(CanvasBlit, RasterOperationsAndCopyRect) {
  TPixmap src(1, 1, 0xFF0F0F0Fu), dst(1, 1, 0xFF00FF00u);
  TCanvas sc(&src), dc(&dst);
  BitBlt(&dc, 0, 0, 1, 1, &sc, 0, 0, SRCPAINT);
  EXPECT_EQ(dst.At(0, 0), 0xFF0FFF0Fu);
  BitBlt(&dc, 0, 0, 1, 1, &sc, 0, 0, SRCAND);
  EXPECT_EQ(dst.At(0, 0), 0xFF0F0F0Fu);
  BitBlt(&dc, 0, 0, 1, 1, &sc, 0, 0, SRCINVERT);
  EXPECT_EQ(dst.At(0, 0), 0u);
  BitBlt(&dc, 0, 0, 1, 1, nullptr, 0, 0, WHITENESS);
  EXPECT_EQ(dst.At(0, 0), kWhite);
  PatBlt(&dc, 0, 0, 1, 1, BLACKNESS);
  EXPECT_EQ(dst.At(0, 0), kBlack);
  EXPECT_FALSE(BitBlt(&dc, 0, 0, 1, 1, &sc, 0, 0, 0x12345678u));

  TPixmap big = CoordSource(4, 4);
  TCanvas bc(&big);
  TPixmap out(2, 2, 0);
  TCanvas oc(&out);
  oc.CopyRect({0, 0, 2, 2}, bc, {2, 2, 4, 4});
  EXPECT_EQ(SrcX(out.At(0, 0)), 2);
  EXPECT_EQ(SrcY(out.At(1, 1)), 3);
}

// The blend rule written out once more, independently: OVER with a
// premultiplied source scaled by the constant alpha, each step rounded.
uint32_t ReferenceBlend(uint32_t d, uint32_t s, int ca, bool perPixel) {
  auto round255 = [](int v) { return static_cast<int>(std::lround(v / 255.0)); };
  const int sa = round255((perPixel ? int(s >> 24) : 255) * ca);
  uint32_t out = 0;
  for (int shift : {0, 8, 16, 24}) {
    const int sc = round255(int((s >> shift) & 0xFF) * ca);
    const int dc = round255(int((d >> shift) & 0xFF) * (255 - sa));
    out |= uint32_t(std::min(255, sc + dc)) << shift;
  }
  return out;
}

TEST(CanvasBlit, AlphaBlendArithmetic) {
  std::mt19937 rng(7);
  TPixmap src(16, 16), dst(16, 16);
  for (int y = 0; y < 16; ++y)
    for (int x = 0; x < 16; ++x) {
      const uint32_t a = rng() & 0xFF;
      // premultiplied: every colour channel <= alpha
      auto ch = [&] { return a ? rng() % (a + 1) : 0; };
      src.At(x, y) = (a << 24) | (ch() << 16) | (ch() << 8) | ch();
      dst.At(x, y) = rng();
    }
  for (int ca : {255, 128, 1, 0})
    for (bool perPixel : {true, false}) {
      TPixmap d = dst;
      TCanvas sc(&src), dc(&d);
      ASSERT_TRUE(AlphaBlend(&dc, 0, 0, 16, 16, &sc, 0, 0, 16, 16, uint8_t(ca), perPixel));
      for (int y = 0; y < 16; ++y)
        for (int x = 0; x < 16; ++x)
          ASSERT_EQ(d.At(x, y), ReferenceBlend(dst.At(x, y), src.At(x, y), ca, perPixel))
              << x << "," << y << " ca " << ca << " perPixel " << perPixel;
    }
  // Fully opaque source replaces, fully transparent leaves alone.
  TPixmap s1(2, 1), d1(2, 1, 0xFF123456u);
  s1.At(0, 0) = 0xFFABCDEFu;
  s1.At(1, 0) = 0x00000000u;
  TCanvas s1c(&s1), d1c(&d1);
  AlphaBlend(&d1c, 0, 0, 2, 1, &s1c, 0, 0, 2, 1, 255, true);
  EXPECT_EQ(d1.At(0, 0), 0xFFABCDEFu);
  EXPECT_EQ(d1.At(1, 0), 0xFF123456u);
  EXPECT_FALSE(AlphaBlend(&d1c, 0, 0, -2, 1, &s1c, 0, 0, 2, 1, 255, true));
}

TEST(CanvasBlit, TransparentBltSkipsTheKeyColour) {
  TPixmap src(3, 1), dst(3, 1, kBlack);
  src.At(0, 0) = 0xFF7F007Fu;  // the key, opaque
  src.At(1, 0) = 0x007F007Fu;  // the key with another alpha: still the key
  src.At(2, 0) = 0xFF010203u;
  TCanvas sc(&src), dc(&dst);
  ASSERT_TRUE(TransparentBlt(&dc, 0, 0, 3, 1, &sc, 0, 0, 3, 1, RGB(0x7F, 0, 0x7F)));
  EXPECT_EQ(dst.At(0, 0), kBlack);
  EXPECT_EQ(dst.At(1, 0), kBlack);
  EXPECT_EQ(dst.At(2, 0), 0xFF010203u);
}

TEST(CanvasBrush, HatchAndClearBrushes) {
  TPixmap pm(9, 3, kBlack);
  TCanvas c(&pm);
  c.Brush().SetColor(clWhite);
  c.Brush().SetStyle(TBrushStyle::bsVertical);
  c.FillRect({0, 0, 9, 3});
  EXPECT_EQ(Art(pm, kWhite), Lines({"#.......#", "#.......#", "#.......#"}));
  pm.Resize(9, 3, kBlack);
  c.Brush().SetStyle(TBrushStyle::bsClear);
  c.FillRect({0, 0, 9, 3});
  EXPECT_EQ(Art(pm, kBlack), Lines({"#########", "#########", "#########"}));
}

TEST(FontProps, SizeHeightAndChangeEvents) {
  TFont f;
  EXPECT_EQ(f.Name(), "Tahoma");
  EXPECT_EQ(f.Height(), -11);
  EXPECT_EQ(f.Size(), 8);
  EXPECT_EQ(f.Color(), clWindowText);
  EXPECT_EQ(f.Charset(), 1);
  int changes = 0;
  f.OnChange = [&](TObject* sender) {
    EXPECT_EQ(sender, &f);
    ++changes;
  };
  f.SetSize(10);
  EXPECT_EQ(f.Height(), -13);
  f.SetHeight(-13);  // same value: no event
  EXPECT_EQ(changes, 1);
  TFont g;
  g.SetStyle({TFontStyle::fsBold});
  f.Assign(g);
  EXPECT_EQ(f.Data(), g.Data());
  EXPECT_EQ(changes, 2);
  TPen pen;
  EXPECT_THROW(f.Assign(pen), EInvalidCast);
}

}  // namespace
}  // namespace qz
