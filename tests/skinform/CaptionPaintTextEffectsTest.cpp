// The caption's text effects measured against the glyphs of the plain
// text: how far the halo and the glow reach, what opacity the glow has next
// to the glyphs, and where the reflection lies.
#include <gtest/gtest.h>

#include <algorithm>
#include <cmath>

#include "host/graphics/Canvas.h"
#include "skin/draw/QzTextEffects.h"
#include "tests/skinform/FramePaintTestKit.h"

namespace qz {
namespace {

using testing::Rgb;

constexpr int kW = 120, kH = 60, kX = 30, kY = 15;
constexpr uint32_t kWhite = 0xFFFFFFFFu;
const char* const kText = "Hx";

struct TSurface {
  TPixmap Pixels{kW, kH, kWhite};
  TCanvas Canvas{&Pixels};
  TSurface() {
    Canvas.Font().SetHeight(-16);
    Canvas.Font().SetColor(clBlack);
  }
};

// The coverage of the plain text at (kX, kY): 0 where the white stays white,
// 255 where the black glyph is solid.
std::vector<int> GlyphCoverage() {
  TSurface s;
  s.Canvas.SetBkMode(TRANSPARENT);
  s.Canvas.TextOut(kX, kY, kText);
  std::vector<int> cov(size_t(kW) * kH);
  for (int y = 0; y < kH; ++y)
    for (int x = 0; x < kW; ++x) cov[size_t(y) * kW + x] = 255 - int(s.Pixels.At(x, y) & 0xFF);
  return cov;
}

// The largest of weight(d) * coverage within `reach` of (x, y), the weight
// in quarters by Chebyshev distance, rounded halves to even.
int SpreadAlpha(const std::vector<int>& cov, int x, int y, int reach, const int* quarters) {
  int best = 0;
  for (int dy = -reach; dy <= reach; ++dy)
    for (int dx = -reach; dx <= reach; ++dx) {
      const int px = x + dx, py = y + dy;
      if (px < 0 || py < 0 || px >= kW || py >= kH) continue;
      const int d = std::max(std::abs(dx), std::abs(dy));
      best = std::max(best, int(std::nearbyint(cov[size_t(py) * kW + px] * quarters[d] / 4.0)));
    }
  return best;
}

// Outside the glyphs, every pixel is white blended towards the effect colour
// by the expected opacity; `channels` picks the channels the colour lowers.
template <class Alpha>
void ExpectAroundGlyphs(const TPixmap& got, const std::vector<int>& cov, uint32_t channels,
                        Alpha alpha) {
  int wrong = 0, tinted = 0;
  for (int y = 0; y < kH; ++y)
    for (int x = 0; x < kW; ++x) {
      if (cov[size_t(y) * kW + x] > 0) continue;
      const int a = alpha(x, y);
      const uint32_t v = uint32_t(255 - a);
      const uint32_t want = (0xFFFFFFu & ~channels) | (((v << 16) | (v << 8) | v) & channels);
      if (a > 0) ++tinted;
      if (Rgb(got.At(x, y)) != want && ++wrong <= 5) ADD_FAILURE() << "pixel (" << x << ", " << y << ")";
    }
  EXPECT_EQ(wrong, 0);
  EXPECT_GT(tinted, 50);
}

TEST(CaptionTextEffects, HaloReachesGlowSizeAtFullOpacity) {
  const std::vector<int> cov = GlyphCoverage();
  constexpr int kSolid[] = {4, 4, 4};
  for (int offset : {0, 2}) {
    SCOPED_TRACE(offset);
    TSurface s;
    DrawGlowText(s.Canvas, kX, kY, kText, clRed, 2, offset);
    ExpectAroundGlyphs(s.Pixels, cov, 0x00FFFFu, [&](int x, int y) {
      return SpreadAlpha(cov, x - offset, y - offset, 2, kSolid);
    });
  }
}

TEST(CaptionTextEffects, AWildGlowSizeIsHeldToTheWidestHalo) {
  const std::vector<int> cov = GlyphCoverage();
  TRect ink{kW, kH, 0, 0};
  for (int y = 0; y < kH; ++y)
    for (int x = 0; x < kW; ++x)
      if (cov[size_t(y) * kW + x] > 0)
        ink = {std::min(ink.Left, x), std::min(ink.Top, y), std::max(ink.Right, x + 1),
               std::max(ink.Bottom, y + 1)};
  TSurface s;
  DrawGlowText(s.Canvas, kX, kY, kText, clRed, 100000, 0);
  TRect tinted{kW, kH, 0, 0};
  for (int y = 0; y < kH; ++y)
    for (int x = 0; x < kW; ++x)
      if (Rgb(s.Pixels.At(x, y)) != 0xFFFFFFu)
        tinted = {std::min(tinted.Left, x), std::min(tinted.Top, y), std::max(tinted.Right, x + 1),
                  std::max(tinted.Bottom, y + 1)};
  EXPECT_EQ(tinted, Intersection(InflateRect(ink, kMaxGlowSize, kMaxGlowSize), {0, 0, kW, kH}));
}

TEST(CaptionTextEffects, VistaGlowFadesOverThreePixels) {
  const std::vector<int> cov = GlyphCoverage();
  constexpr int kFade[] = {4, 3, 2, 1};
  TSurface s;
  DrawVistaGlowText(s.Canvas, kX, kY, kText, clBlack);
  ExpectAroundGlyphs(s.Pixels, cov, 0xFFFFFFu,
                     [&](int x, int y) { return SpreadAlpha(cov, x, y, 3, kFade); });
}

TEST(CaptionTextEffects, ReflectionLiesBelowTheTextAfterTheOffset) {
  TSurface probe;
  const int h = probe.Canvas.TextHeight(kText);
  const int w = probe.Canvas.TextWidth(kText);
  const std::vector<int> cov = GlyphCoverage();
  TSurface s;
  DrawReflectionText(s.Canvas, kX, kY, kText, clBlue, 3);
  int reflected = 0;
  for (int y = 0; y < kH; ++y)
    for (int x = 0; x < kW; ++x) {
      const bool changed = Rgb(s.Pixels.At(x, y)) != 0xFFFFFFu;
      const bool text = cov[size_t(y) * kW + x] > 0;
      const bool mirror = y >= kY + h + 3 && y < kY + 2 * h + 3 && x >= kX && x < kX + w;
      if (changed && !text) {
        EXPECT_TRUE(mirror) << x << "," << y;
        ++reflected;
      }
      if (mirror && changed) {
        // The mirror image of the glyph row, at no more than half its opacity.
        const int r = y - (kY + h + 3);
        const int source = cov[size_t(kY + h - 1 - r) * kW + x];
        EXPECT_GT(source, 0) << x << "," << y;
        EXPECT_GE(int((s.Pixels.At(x, y) >> 16) & 0xFF), 255 - (source + 1) / 2);
      }
    }
  EXPECT_GT(reflected, 10);
}

}  // namespace
}  // namespace qz
