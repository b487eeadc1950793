// BlurBitmap against a direct weighted-sum tent filter.
#include <gtest/gtest.h>

#include <algorithm>
#include <random>

#include "skin/draw/EffectBmp.h"

namespace qz {
namespace {

// Direct evaluation: every output is the full weighted sum over 2R + 1
// neighbours (edges repeated), divided by (R + 1)^2 with truncation, the
// horizontal pass first, its result truncated, then the vertical pass.
TPixmap ReferenceBlur(const TPixmap& in, int r) {
  const int w = in.Width(), h = in.Height(), d = (r + 1) * (r + 1);
  std::vector<int> mid(size_t(w) * h * 3);
  for (int y = 0; y < h; ++y)
    for (int x = 0; x < w; ++x)
      for (int c = 0; c < 3; ++c) {
        int sum = 0;
        for (int k = -r; k <= r; ++k)
          sum += (r + 1 - std::abs(k)) * int((in.At(std::clamp(x + k, 0, w - 1), y) >> (8 * c)) & 0xFF);
        mid[(size_t(y) * w + x) * 3 + c] = sum / d;
      }
  TPixmap out(w, h);
  for (int y = 0; y < h; ++y)
    for (int x = 0; x < w; ++x) {
      uint32_t px = 0xFF000000;
      for (int c = 0; c < 3; ++c) {
        int sum = 0;
        for (int k = -r; k <= r; ++k)
          sum += (r + 1 - std::abs(k)) * mid[(size_t(std::clamp(y + k, 0, h - 1)) * w + x) * 3 + c];
        px |= uint32_t(sum / d) << (8 * c);
      }
      out.At(x, y) = px;
    }
  return out;
}

void FillRandom(TqzBitmap& b, unsigned seed) {
  std::mt19937 rng(seed);
  for (int i = 0; i < b.Width() * b.Height(); ++i) b.Bits()[i] = rng();
}

TEST(BlurBitmap, MatchesDirectTentFilter) {
  struct Case { int w, h, r; };
  for (Case c : {Case{7, 5, 1}, {7, 5, 2}, {13, 11, 3}, {6, 4, 10}, {1, 1, 4}, {1, 9, 2},
                 {9, 1, 2}, {40, 30, 16}, {3, 50, 7}}) {
    TqzBitmap b(c.w, c.h);
    FillRandom(b, unsigned(c.w * 131 + c.h * 7 + c.r));
    const TPixmap expected = ReferenceBlur(b.Pixmap(), c.r);
    BlurBitmap(b, c.r);
    ASSERT_EQ(b.Pixmap(), expected) << c.w << " x " << c.h << " radius " << c.r;
  }
}

TEST(BlurBitmap, ExtremesStayExact) {
  // All-white stays white (a sum of (R + 1)^2 * 255 divides exactly); a
  // non-positive radius changes nothing, alpha included.
  TqzBitmap white(30, 3);
  white.FillRect({0, 0, 30, 3}, 0x10FFFFFF);
  BlurBitmap(white, 25);
  for (int i = 0; i < 90; ++i) ASSERT_EQ(white.Bits()[i], 0xFFFFFFFFu);
  TqzBitmap b(4, 4);
  FillRandom(b, 1);
  const TPixmap before = b.Pixmap();
  BlurBitmap(b, 0);
  BlurBitmap(b, -3);
  EXPECT_EQ(b.Pixmap(), before);
  TqzBitmap empty;
  BlurBitmap(empty, 3);
}

TEST(BlurBitmap, HugeRadiusIsBoundedAndAveragesToTheEdgeColours) {
  TqzBitmap b(2, 1);
  b.Bits()[0] = 0xFF000000;
  b.Bits()[1] = 0xFFFFFFFF;
  BlurBitmap(b, 1000000);  // limited to the maximum radius, no overflow
  // Nearly half the weight on each side: both end up close to grey.
  for (int x = 0; x < 2; ++x) {
    EXPECT_NEAR(ColorR(b.Bits()[x]), 127, 1);
    EXPECT_EQ(ColorA(b.Bits()[x]), 255);
  }
}

}  // namespace
}  // namespace qz
