#include <gtest/gtest.h>

#include <cmath>

#include "skins/painter/Paint.h"

namespace qz::skingen {
namespace {

TEST(Paint, ColourHelpers) {
  EXPECT_EQ(Argb(1, 2, 3, 4), 0x04010203u);
  EXPECT_EQ(Mix(Hex(0x000000), Hex(0xFFFFFF), 0.5), Hex(0x808080));
  EXPECT_EQ(Mix(Hex(0x102030), Hex(0x405060), 0.0), Hex(0x102030));
  EXPECT_EQ(Mix(Hex(0x102030), Hex(0x405060), 1.0), Hex(0x405060));
  EXPECT_EQ(Fade(Hex(0x123456), 0.5) >> 24, 128u);
  // Description colours keep red in the low byte.
  EXPECT_EQ(ColorValue(Hex(0x3D8EF0)), 0xF08E3D);
}

TEST(Paint, GradientStopsAndEnds) {
  TFill f = TFill::Vertical(TRectF(0, 10, 10, 20), {{0.0, Hex(0x000000)}, {0.5, Hex(0xFF0000)},
                                                     {1.0, Hex(0xFFFFFF)}});
  EXPECT_EQ(f.At(0, 0), Hex(0x000000));    // before the reference clamps to the first stop
  EXPECT_EQ(f.At(0, 15), Hex(0xFF0000));   // the middle stop exactly
  EXPECT_EQ(f.At(0, 30), Hex(0xFFFFFF));   // after the end
  TFill h = TFill::Horizontal(TRectF(0, 0, 100, 1), Hex(0x000000), Hex(0x0000C8));
  EXPECT_EQ(h.At(50, 99), Hex(0x000064));  // only x counts
}

TEST(Paint, WholePixelShapesCoverExactly) {
  TPixmap pm(20, 20, Hex(0x000000));
  TPainter p(pm);
  p.FillRoundRect(TRectF(5, 5, 15, 15), TRadii(0), Hex(0xFFFFFF));
  for (int y = 0; y < 20; ++y)
    for (int x = 0; x < 20; ++x) {
      bool inside = x >= 5 && x < 15 && y >= 5 && y < 15;
      ASSERT_EQ(pm.At(x, y), inside ? Hex(0xFFFFFF) : Hex(0x000000)) << x << "," << y;
    }
}

TEST(Paint, RoundedCornersAreAntialiasedAndSymmetric) {
  TPixmap pm(40, 40, Hex(0x000000));
  TPainter p(pm);
  p.FillRoundRect(TRectF(0, 0, 40, 40), TRadii(10), Hex(0xFFFFFF));
  EXPECT_EQ(pm.At(0, 0), Hex(0x000000));    // the corner itself is outside
  EXPECT_EQ(pm.At(20, 0), Hex(0xFFFFFF));   // the edge middle is inside
  uint32_t edge = pm.At(3, 3) & 0xFF;
  EXPECT_GT(edge, 0u);  // a partly covered pixel on the arc
  for (int y = 0; y < 40; ++y)
    for (int x = 0; x < 40; ++x) {
      ASSERT_EQ(pm.At(x, y), pm.At(39 - x, y)) << x << "," << y;
      ASSERT_EQ(pm.At(x, y), pm.At(x, 39 - y)) << x << "," << y;
    }
}

TEST(Paint, StrokeLeavesTheInsideUntouched) {
  TPixmap pm(30, 20, Hex(0x000000));
  TPainter p(pm);
  p.StrokeRoundRect(TRectF(0, 0, 30, 20), TRadii(0), 1, Hex(0xFFFFFF));
  EXPECT_EQ(pm.At(0, 10), Hex(0xFFFFFF));
  EXPECT_EQ(pm.At(29, 10), Hex(0xFFFFFF));
  EXPECT_EQ(pm.At(15, 0), Hex(0xFFFFFF));
  EXPECT_EQ(pm.At(15, 19), Hex(0xFFFFFF));
  EXPECT_EQ(pm.At(1, 1), Hex(0x000000));
  EXPECT_EQ(pm.At(15, 10), Hex(0x000000));
}

TEST(Paint, BlendingKeepsStraightAlpha) {
  TPixmap pm(2, 1, 0);  // transparent
  TPainter p(pm);
  p.Blend(0, 0, Argb(200, 100, 50, 128), 1.0);
  EXPECT_EQ(pm.At(0, 0), Argb(200, 100, 50, 128));  // colour unchanged over nothing
  p.Blend(0, 0, Argb(200, 100, 50, 128), 1.0);
  EXPECT_EQ(pm.At(0, 0) >> 24, 192u);               // 0.5 + 0.5 * 0.5
  p.Blend(5, 0, Hex(0xFFFFFF), 1.0);                 // outside: ignored
  p.SetClip(TRect{1, 0, 2, 1});
  p.Blend(0, 0, Hex(0xFFFFFF), 1.0);                 // clipped away
  EXPECT_EQ(pm.At(0, 0) >> 24, 192u);
}

TEST(Paint, SoftShadowFadesOutward) {
  TPixmap pm(60, 60, Hex(0xFFFFFF));
  TPainter p(pm);
  p.SoftShadow(TRectF(20, 20, 40, 40), TRadii(0), 8, Hex(0x000000));
  auto darkness = [&](int x) { return 255 - int(pm.At(x, 30) & 0xFF); };
  EXPECT_GT(darkness(30), 240);  // inside: nearly full
  EXPECT_GT(darkness(20), darkness(16));
  EXPECT_GT(darkness(16), darkness(12));
  EXPECT_LT(darkness(2), 3);     // far outside: nothing
}

}  // namespace
}  // namespace qz::skingen
