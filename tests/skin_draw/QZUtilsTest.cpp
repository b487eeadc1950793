#include <gtest/gtest.h>

#include <random>

#include "skin/draw/QZUtils.h"
#include "skin/draw/SkinImage.h"

namespace qz {
namespace {

uint32_t Black() { return 0xFF000000u; }
uint32_t White() { return 0xFFFFFFFFu; }

TEST(RegionFromMask, OneBlackRectangleGivesOneRectanglePerRow) {
  TBitmap mask(10, 8);
  for (int y = 0; y < 8; ++y)
    for (int x = 0; x < 10; ++x)
      mask.Pixels().At(x, y) = (x >= 2 && x < 7 && y >= 3 && y < 6) ? Black() : White();
  const TqzRegionData data = CreateRegionDataFromMask(mask, 100, 50);
  ASSERT_EQ(data.Count, 3);
  ASSERT_EQ(data.Data.size(), 32u + 3 * 16);
  const TRegion r = ExtCreateRegion(data.Data);
  EXPECT_EQ(r.Bounds(), Rect(102, 53, 107, 56));
  EXPECT_TRUE(r.Contains({102, 53}));
  EXPECT_FALSE(r.Contains({107, 53}));
}

TEST(RegionFromMask, BlackIsAnyPixelWithZeroColourBitsAndTheCountIsCapped) {
  TBitmap mask(200, 200);
  // Alternating pixels: 100 runs per row, 20000 in all.
  for (int y = 0; y < 200; ++y)
    for (int x = 0; x < 200; ++x) mask.Pixels().At(x, y) = (x % 2) ? 0x00000000u : 0xFF010000u;
  const TqzRegionData data = CreateRegionDataFromMask(mask, 0, 0);
  EXPECT_EQ(data.Count, kMaxMaskRegionRects);
  EXPECT_FALSE(CreateRegionFromMask(TBitmap()).has_value());
}

TEST(RegionFromMask, SkinRegionEqualsTheRegionOfTheComposedMask) {
  // A mask with holes in its corners, composed nine-part to a larger size.
  TBitmap mask(20, 16);
  std::mt19937 rng(3);
  for (int y = 0; y < 16; ++y)
    for (int x = 0; x < 20; ++x) mask.Pixels().At(x, y) = (rng() % 4 == 0) ? White() : Black();
  TqzSkinGeometry g;
  g.SkinRect = {40, 40, 60, 56};  // where the element is in its picture: irrelevant for masks
  g.LeftTopPoint = {5, 4};
  g.RightTopPoint = {15, 4};
  g.LeftBottomPoint = {5, 12};
  g.RightBottomPoint = {15, 12};
  g.ClientRect = {5, 4, 15, 12};
  g.LeftStretch = g.TopStretch = g.RightStretch = g.BottomStretch = true;
  const int W = 57, H = 39;
  const TqzNewGeometry n = CalcNewGeometry(g, TqzResizeMode::NinePart, W, H);
  const std::optional<TRegion> region = CreateSkinRegion(g, n, W, H, mask);
  ASSERT_TRUE(region.has_value());

  TqzSkinGeometry atOrigin = g;
  atOrigin.SkinRect = {0, 0, 20, 16};
  TPixmap composed;
  ComposeSkinImage(atOrigin, n, false, W, H, mask.Pixels(), composed);
  for (int y = 0; y < H; ++y)
    for (int x = 0; x < W; ++x) {
      const bool inClient = n.NewClRect.Contains({x, y});
      const bool black = (composed.At(x, y) & 0xFFFFFF) == 0;
      EXPECT_EQ(region->Contains({x, y}), inClient || black) << x << "," << y;
    }

  // Smaller than its fixed parts: no region.
  const TqzNewGeometry tiny = CalcNewGeometry(g, TqzResizeMode::NinePart, 8, 8);
  EXPECT_FALSE(CreateSkinRegion(g, tiny, 8, 8, mask).has_value());
}

// The regions built from mask runs directly equal those read back from the
// serialised region data of the same mask, the way they used to be built.
TRegion RegionThroughData(const TPixmap& mask, int x, int y) {
  const TqzRegionData data = CreateRegionDataFromMask(mask, x, y);
  return ExtCreateRegion(data.Data);
}

TEST(RegionFromMask, RunsGiveTheSameRegionAsTheRegionDataOfRandomMasks) {
  std::mt19937 rng(11);
  for (int round = 0; round < 200; ++round) {
    const int w = 1 + int(rng() % 40), h = 1 + int(rng() % 30);
    const unsigned holes = 1 + rng() % 5;  // from mostly white to mostly black
    TBitmap mask(w, h);
    for (int y = 0; y < h; ++y)
      for (int x = 0; x < w; ++x) mask.Pixels().At(x, y) = (rng() % 6 < holes) ? Black() : White();
    const int dx = int(rng() % 21) - 10, dy = int(rng() % 21) - 10;
    EXPECT_EQ(TRegion::FromRects(MaskRunRects(mask.Pixels(), dx, dy)),
              RegionThroughData(mask.Pixels(), dx, dy)) << "round " << round;
    EXPECT_EQ(CreateRegionFromMask(mask), RegionThroughData(mask.Pixels(), 0, 0));
  }
}

TEST(RegionFromMask, RunsStopAtTheRectangleLimitLikeTheRegionData) {
  TPixmap mask(300, 100, White());
  for (int y = 0; y < 100; ++y)
    for (int x = 0; x < 300; x += 2) mask.At(x, y) = Black();  // 150 runs a row
  const std::vector<TRect> runs = MaskRunRects(mask, 3, 4);
  ASSERT_EQ(runs.size(), size_t(kMaxMaskRegionRects));
  EXPECT_EQ(runs.front(), Rect(3, 4, 4, 5));
  EXPECT_EQ(TRegion::FromRects(runs), RegionThroughData(mask, 3, 4));
  // An all-white mask is an empty region, not "no region".
  TBitmap white(5, 5);
  white.Pixels() = TPixmap(5, 5, White());
  EXPECT_EQ(CreateRegionFromMask(white), std::optional<TRegion>(TRegion()));
}

TEST(ButtonLayout, CentredAndWithMargin) {
  const TRect rc{0, 0, 100, 40};
  auto r = CalcButtonLayout(blGlyphLeft, rc, {16, 16}, {40, 13}, -1, 4);
  EXPECT_EQ(r.GlyphPos, Point(50 - 30, 20 - 8));  // m = (16 + 40 + 4) div 2 = 30
  EXPECT_EQ(r.TextPos, Point(50 + 30 - 40, 20 - 6));
  r = CalcButtonLayout(blGlyphBottom, rc, {16, 16}, {40, 13}, 3, 2);
  EXPECT_EQ(r.GlyphPos, Point(50 - 8, 40 - 16 - 3));
  EXPECT_EQ(r.TextPos, Point(50 - 20, 21 - 2 - 13));
  // Without a glyph the spacing does not count.
  r = CalcButtonLayout(blGlyphRight, rc, {0, 0}, {40, 13}, -1, 10);
  EXPECT_EQ(r.TextPos.X, 50 - 20);
}

TEST(Rects, InclusiveAndPlatformTests) {
  EXPECT_TRUE(PointInRect({0, 0, 10, 10}, {10, 10}));
  EXPECT_FALSE(RectInRect({0, 0, 10, 10}, {0, 0, 10, 10}));  // bottom-right is outside
  EXPECT_TRUE(RectInRect({1, 1, 9, 9}, {0, 0, 10, 10}));
  EXPECT_EQ(MixColors(clWhite, clBlack), RGB(127, 127, 127));
}

// Pixel-exact default glyphs: the set of pixels drawn with the pen colour.
std::vector<TPoint> Drawn(TPixmap& p) {
  std::vector<TPoint> out;
  for (int y = 0; y < p.Height(); ++y)
    for (int x = 0; x < p.Width(); ++x)
      if ((p.At(x, y) & 0xFFFFFF) == 0x0000FF) out.push_back({x, y});
  return out;
}

class GlyphTest : public ::testing::Test {
 protected:
  TPixmap pixels{20, 20, 0xFFFFFFFFu};
  TCanvas canvas{&pixels};
};

TEST_F(GlyphTest, LeftArrowIsFourColumnsGrowingToTheRight) {
  DrawArrowImage(canvas, {0, 0, 20, 20}, clBlue, 1);  // centre (10, 10)
  std::vector<TPoint> expected;
  for (int i = 0; i <= 3; ++i)
    for (int y = 10 - i; y <= 10 + i; ++y) expected.push_back({8 + i, y});
  std::sort(expected.begin(), expected.end(),
            [](TPoint a, TPoint b) { return a.Y != b.Y ? a.Y < b.Y : a.X < b.X; });
  EXPECT_EQ(Drawn(pixels), expected);
}

TEST_F(GlyphTest, MinimizeIsTwoRowsOfEightPixels) {
  DrawMinimizeGlyph(canvas, 2, 2, clBlue);
  const auto d = Drawn(pixels);
  ASSERT_EQ(d.size(), 16u);
  EXPECT_EQ(d.front(), Point(3, 10));
  EXPECT_EQ(d.back(), Point(10, 11));
}

TEST_F(GlyphTest, MaximizeIsAHollowBoxWithAThickTop) {
  DrawMaximizeGlyph(canvas, 0, 0, clBlue);
  EXPECT_EQ(pixels.At(5, 1) & 0xFFFFFF, 0x0000FFu);  // second row of the top bar
  EXPECT_EQ(pixels.At(5, 5) & 0xFFFFFF, 0xFFFFFFu);  // inside stays
  EXPECT_EQ(pixels.At(10, 9) & 0xFFFFFF, 0x0000FFu);  // bottom-right corner pixel
  EXPECT_EQ(pixels.At(11, 9) & 0xFFFFFF, 0xFFFFFFu);
}

TEST_F(GlyphTest, FocusRectAlternatesAndSharesCorners) {
  canvas.Font().SetColor(clBlue);
  DrawSkinFocusRect(canvas, {0, 0, 5, 5});  // shrunk: 0..4 both ways, 4 x 4 even: first pixel off
  EXPECT_EQ(pixels.At(0, 0) & 0xFFFFFF, 0xFFFFFFu);
  EXPECT_EQ(pixels.At(1, 0) & 0xFFFFFF, 0x0000FFu);
  EXPECT_EQ(pixels.At(4, 0) & 0xFFFFFF, 0xFFFFFFu);  // top side ends off at the corner
  EXPECT_EQ(pixels.At(4, 1) & 0xFFFFFF, 0x0000FFu);  // right side goes on after it
  EXPECT_EQ(pixels.At(0, 1) & 0xFFFFFF, 0x0000FFu);
}

TEST(Text, CorrectTextByWidthKeepsFittingTextAndEndsWithDots) {
  TPixmap p(10, 10);
  TCanvas c(&p);
  c.Font().SetName("DejaVu Sans");
  c.Font().SetHeight(-12);
  EXPECT_EQ(CorrectTextByWidth(c, "Hello", 1000), "Hello");
  const std::string cut = CorrectTextByWidth(c, "Hello, wide world", c.TextWidth("Hello...") );
  EXPECT_EQ(cut, "Hello...");
  EXPECT_EQ(CorrectTextByWidth(c, "Hello", 1), "...");
}

}  // namespace
}  // namespace qz
