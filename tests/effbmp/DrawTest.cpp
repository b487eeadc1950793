// TqzBitmap drawing: the three modes, unscaled and scaled geometry, clipping,
// device contexts with origins and clip regions.
#include <gtest/gtest.h>

#include <random>

#include "host/graphics/Canvas.h"
#include "skin/draw/EffectBmp.h"
#include "skin/draw/PixelOps.h"

namespace qz {
namespace {

// The alpha rule written per channel, as the reference for the packed paths.
TqzColor ReferenceBlend(TqzColor s, TqzColor d) {
  const int a = ColorA(s);
  if (a == 0) return d;
  if (a == 255) return s;
  auto ch = [&](int sc, int dc) { return (sc * a + dc * (255 - a)) >> 8; };
  return MakeQzColor(ch(ColorR(s), ColorR(d)), ch(ColorG(s), ColorG(d)), ch(ColorB(s), ColorB(d)),
                     255);
}

void Fill(TqzBitmap& b, TqzColor c) { b.FillRect({0, 0, b.Width(), b.Height()}, c); }

TEST(QzBitmapDraw, AlphaEndpointsAndHalf) {
  TqzBitmap src(3, 1);
  src.Bits()[0] = 0xFF123456;  // copied exactly
  src.Bits()[1] = 0x00ABCDEF;  // leaves the target
  src.Bits()[2] = MakeQzColor(201, 100, 7, 128);
  src.AlphaBlend = true;
  TqzBitmap dst(3, 1);
  dst.Bits()[1] = 0x05060708;
  src.Draw(dst, 0, 0);
  EXPECT_EQ(dst.Bits()[0], 0xFF123456u);
  EXPECT_EQ(dst.Bits()[1], 0x05060708u);
  EXPECT_EQ(dst.Bits()[2], MakeQzColor(201 * 128 >> 8, 100 * 128 >> 8, 7 * 128 >> 8, 255));
}

TEST(QzBitmapDraw, EveryAlphaRowRoutineMatchesPerChannelRule) {
  using TRoutine = void (*)(const uint32_t*, uint32_t*, int);
  std::vector<std::pair<const char*, TRoutine>> routines{{"dispatched", BlendRowAlpha},
                                                         {"scalar", BlendRowAlphaScalar}};
#if defined(__SSE2__)
  routines.push_back({"sse2", BlendRowAlphaSse2});
#endif
#if QZ_PIXELOPS_AVX2
  if (__builtin_cpu_supports("avx2")) routines.push_back({"avx2", BlendRowAlphaAvx2});
#endif
  for (auto [name, routine] : routines) {
    std::mt19937 rng(7);
    for (int len : {1, 3, 4, 5, 8, 15, 16, 31, 64, 67}) {
      std::vector<uint32_t> s(len), d(len), expect(len);
      for (int i = 0; i < len; ++i) {
        s[i] = rng();
        d[i] = rng();
        const int pick = rng() % 4;  // plenty of 0 / 255 alphas, whole groups of them too
        if (pick == 0) s[i] &= 0x00FFFFFF;
        if (pick == 1) s[i] |= 0xFF000000;
        if (len == 16 && i < 8) s[i] |= 0xFF000000;
        if (len == 64 && i >= 56) s[i] &= 0x00FFFFFF;
        expect[i] = ReferenceBlend(s[i], d[i]);
      }
      routine(s.data(), d.data(), len);
      EXPECT_EQ(d, expect) << name << " length " << len;
    }
  }
}

TEST(QzBitmapDraw, ColorKeySkipsKeyAndForcesOpaque) {
  TqzBitmap src(3, 1);
  src.Bits()[0] = TransparentKeyColor;
  src.Bits()[1] = 0xFF7F007F;  // the key's colour bits with any alpha are skipped too
  src.Bits()[2] = 0x00102030;
  src.Transparent = true;
  TqzBitmap dst(3, 1);
  Fill(dst, 0x11111111);
  src.Draw(dst, 0, 0);
  EXPECT_EQ(dst.Bits()[0], 0x11111111u);
  EXPECT_EQ(dst.Bits()[1], 0x11111111u);
  EXPECT_EQ(dst.Bits()[2], 0xFF102030u);
}

TEST(QzBitmapDraw, OpaqueCopiesAllBitsAndAlphaOnlyPartialIsOpaque) {
  TqzBitmap src(2, 1);
  src.Bits()[0] = 0x00FFFFFF;
  src.Bits()[1] = 0xFF000001;
  src.CheckAlphaBlend();  // alpha only 0 and 255 -> drawn opaque
  TqzBitmap dst(2, 1);
  Fill(dst, 0xFFAAAAAA);
  src.Draw(dst, 0, 0);
  EXPECT_EQ(dst.Bits()[0], 0x00FFFFFFu);
  EXPECT_EQ(dst.Bits()[1], 0xFF000001u);
}

TEST(QzBitmapDraw, UnscaledPlacementClipsAtTargetEdges) {
  TqzBitmap src(3, 3);
  for (int y = 0; y < 3; ++y)
    for (int x = 0; x < 3; ++x) src.SetPixel(x, y, uint32_t(10 * y + x + 1));
  TqzBitmap dst(4, 4);
  src.Draw(dst, -1, 2);  // only src columns 1..2, row 0..1 land
  EXPECT_EQ(*dst.PixelPtr(0, 2), 2u);
  EXPECT_EQ(*dst.PixelPtr(1, 2), 3u);
  EXPECT_EQ(*dst.PixelPtr(0, 3), 12u);
  EXPECT_EQ(*dst.PixelPtr(2, 2), 0u);
  TqzBitmap dst2(4, 4);
  src.Draw(dst2, 1, 1, TRect{1, 1, 3, 3});  // a sub-rectangle
  EXPECT_EQ(*dst2.PixelPtr(1, 1), 12u);
  EXPECT_EQ(*dst2.PixelPtr(2, 2), 23u);
  EXPECT_EQ(*dst2.PixelPtr(3, 3), 0u);
}

TEST(QzBitmapDraw, SourceOutsideOrEmptyDrawsNothing) {
  TqzBitmap src(4, 4);
  Fill(src, 0xFFFFFFFF);
  TqzBitmap dst(4, 4);
  for (TRect bad : {TRect{-1, 0, 2, 2}, TRect{0, -1, 2, 2}, TRect{2, 2, 5, 4}, TRect{0, 2, 4, 5},
                    TRect{2, 2, 2, 4}, TRect{3, 3, 1, 1}})
    src.Draw(dst, TRect{0, 0, 4, 4}, bad);
  for (int i = 0; i < 16; ++i) EXPECT_EQ(dst.Bits()[i], 0u);
}

TEST(QzBitmapScale, MapsRoundHalfToEvenAndMeetAtTheEnds) {
  std::vector<int> map;
  BuildNearestMap(map, 0, 5, 5, 0, 3);  // scale 0.5: 0, 0.5, 1, 1.5, 2
  EXPECT_EQ(map, (std::vector<int>{0, 0, 1, 2, 2}));
  BuildNearestMap(map, 0, 4, 4, 10, 7);  // scale 2: 10, 12, 14, 16
  EXPECT_EQ(map, (std::vector<int>{10, 12, 14, 16}));
  BuildNearestMap(map, 2, 3, 9, 0, 4);  // scale 3/8 from index 2: .75, 1.125, 1.5
  EXPECT_EQ(map, (std::vector<int>{1, 1, 2}));
  BuildNearestMap(map, 0, 1, 1, 3, 6);  // one destination pixel: middle (3 + 9 - 1) div 2
  EXPECT_EQ(map, (std::vector<int>{5}));
  // Large spans: first and last always meet the source ends, never beyond.
  for (auto [dl, sl] : {std::pair{1921, 7}, {7, 1921}, {1000, 999}, {2, 100000}}) {
    BuildNearestMap(map, 0, dl, dl, 0, sl);
    EXPECT_EQ(map.front(), 0);
    EXPECT_EQ(map.back(), sl - 1);
    EXPECT_TRUE(std::is_sorted(map.begin(), map.end()));
  }
}

TEST(QzBitmapScale, OnePixelWideDestinationTakesMiddleColumn) {
  TqzBitmap src(4, 1);
  for (int x = 0; x < 4; ++x) src.SetPixel(x, 0, uint32_t(x + 1));
  TqzBitmap dst(1, 3);
  src.Draw(dst, TRect{0, 0, 1, 3}, TRect{0, 0, 4, 1});
  for (int y = 0; y < 3; ++y) EXPECT_EQ(*dst.PixelPtr(0, y), 2u);  // (0 + 4 - 1) div 2 = 1
}

// A clipped scaled draw must put the same pixels where it draws as the
// unclipped one, in every mode, and nothing outside the clip.
TEST(QzBitmapScale, ClippedDrawAgreesWithFullDraw) {
  std::mt19937 rng(3);
  TqzBitmap src(9, 7);
  for (int i = 0; i < 63; ++i) src.Bits()[i] = rng();
  src.Bits()[5] = TransparentKeyColor;
  for (int mode = 0; mode < 3; ++mode) {
    src.AlphaBlend = mode == 2;
    src.Transparent = mode == 1;
    const TRect dstRect{-3, 2, 22, 17};
    TqzBitmap full(20, 16);
    Fill(full, 0xFF404040);
    src.Draw(full, dstRect, TRect{1, 1, 9, 7});
    TqzBitmap part(20, 16);
    Fill(part, 0xFF404040);
    const TRect clip{4, 5, 13, 11};
    part.Canvas().IntersectClipRect(clip);
    src.Draw(part.DC(), dstRect, TRect{1, 1, 9, 7});
    for (int y = 0; y < 16; ++y)
      for (int x = 0; x < 20; ++x) {
        const TqzColor want = clip.Contains({x, y}) ? *full.PixelPtr(x, y) : 0xFF404040;
        ASSERT_EQ(*part.PixelPtr(x, y), want) << "mode " << mode << " at " << x << "," << y;
      }
  }
}

TEST(QzBitmapScale, RepeatedRowsInEveryMode) {
  TqzBitmap src(2, 2);
  src.Bits()[0] = MakeQzColor(255, 0, 0, 128);
  src.Bits()[1] = MakeQzColor(0, 255, 0, 255);
  src.Bits()[2] = MakeQzColor(0, 0, 255, 0);
  src.Bits()[3] = MakeQzColor(9, 9, 9, 64);
  src.AlphaBlend = true;
  TqzBitmap dst(4, 6);
  Fill(dst, 0xFF808080);
  src.Draw(dst, TRect{0, 0, 4, 6}, TRect{0, 0, 2, 2});
  std::vector<int> cols, rows;
  BuildNearestMap(cols, 0, 4, 4, 0, 2);
  BuildNearestMap(rows, 0, 6, 6, 0, 2);
  for (int y = 0; y < 6; ++y)
    for (int x = 0; x < 4; ++x)
      EXPECT_EQ(*dst.PixelPtr(x, y), ReferenceBlend(*src.PixelPtr(cols[x], rows[y]), 0xFF808080));
}

TEST(QzBitmapDC, HonoursOriginsAndClipRegion) {
  TPixmap screen(10, 10, 0xFF000000);
  TCanvas canvas(&screen);
  canvas.SetViewportOrg({3, 2});
  canvas.SetWindowOrg({1, 1});  // device = logical + (2, 1)
  canvas.IntersectClipRect({0, 0, 4, 100});  // logical x < 4 -> device x < 6
  TqzBitmap src(5, 2);
  Fill(src, 0xFFFFFFFF);
  src.Draw(&canvas, 1, 1);  // device (3, 2) .. (8, 4), clipped at x = 6
  for (int y = 0; y < 10; ++y)
    for (int x = 0; x < 10; ++x) {
      const bool in = x >= 3 && x < 6 && y >= 2 && y < 4;
      EXPECT_EQ(screen.At(x, y), in ? 0xFFFFFFFFu : 0xFF000000u) << x << "," << y;
    }
  TCanvas noTarget;
  src.Draw(&noTarget, 0, 0);  // nothing, no crash
  src.Draw(static_cast<HDC>(nullptr), 0, 0);
}

TEST(QzBitmapDC, DrawOntoAnotherBitmapsDCAndOntoItself) {
  TqzBitmap target(6, 1);
  TqzBitmap src(2, 1);
  src.Bits()[0] = 1;
  src.Bits()[1] = 2;
  src.Draw(target.DC(), 4, 0);
  EXPECT_EQ(target.Bits()[4], 1u);
  EXPECT_EQ(target.Bits()[5], 2u);
  // Overlapping self-draw behaves as a copy from an untouched source.
  for (int x = 0; x < 6; ++x) target.Bits()[x] = uint32_t(x + 1);
  target.Draw(target.DC(), 1, 0, TRect{0, 0, 5, 1});
  EXPECT_EQ(target.Bits()[1], 1u);
  EXPECT_EQ(target.Bits()[5], 5u);
}

}  // namespace
}  // namespace qz
