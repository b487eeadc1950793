// TqzEffectBmp: layout, morphs, colour effects, geometry.
#include <gtest/gtest.h>

#include <cmath>
#include <random>

#include "host/graphics/Canvas.h"
#include "skin/draw/EffectBmp.h"

namespace qz {
namespace {

TqzEffectBmp RandomImage(int w, int h, unsigned seed) {
  std::mt19937 rng(seed);
  TqzEffectBmp e(w, h);
  for (int y = 0; y < h; ++y)
    for (int x = 0; x < w; ++x) e.SetPixel(x, y, rng() & 0xFFFFFF);
  return e;
}

bool SamePixels(const TqzEffectBmp& a, const TqzEffectBmp& b) {
  if (a.Width() != b.Width() || a.Height() != b.Height()) return false;
  for (int y = 0; y < a.Height(); ++y)
    for (int x = 0; x < a.Width(); ++x)
      if (a.GetPixel(x, y) != b.GetPixel(x, y)) return false;
  return true;
}

int Channel(uint32_t px, int c) { return int((px >> (8 * c)) & 0xFF); }

// round(this * o + other * (1 - o)) per channel, halves to even.
uint32_t Blend(uint32_t me, uint32_t other, double o) {
  uint32_t out = 0;
  for (int c = 0; c < 3; ++c) {
    const double v = std::nearbyint(Channel(me, c) * o + Channel(other, c) * (1 - o));
    out |= uint32_t(std::clamp(v, 0.0, 255.0)) << (8 * c);
  }
  return out;
}

TEST(EffectBmpLayout, StrideIsPaddedToFourBytes) {
  for (int w : {1, 2, 3, 4, 5, 7, 33}) {
    TqzEffectBmp e(w, 2);
    EXPECT_EQ(e.Stride(), w * 3 + w % 4);
    EXPECT_EQ(e.Stride() % 4, 0);
    EXPECT_EQ(e.RowPtr(1) - e.RowPtr(0), e.Stride());
    EXPECT_EQ(e.BitmapInfo().biBitCount, 24);
    EXPECT_EQ(e.BitmapInfo().biHeight, -2);
  }
  TPixmap p(2, 1);
  p.At(0, 0) = 0x80112233;
  TqzEffectBmp e(p);
  EXPECT_EQ(e.GetPixel(0, 0), 0x112233u);
  EXPECT_EQ(e.RowPtr(0)[0], 0x33);  // blue first
  EXPECT_EQ(e.ToPixmap().At(0, 0), 0xFF112233u);
}

TEST(EffectBmpMorph, MorphEndpointsAndMidpoint) {
  const TqzEffectBmp a = RandomImage(5, 3, 1), b = RandomImage(5, 3, 2);
  for (double kf : {0.0, -0.5}) {
    TqzEffectBmp m = a;
    m.Morph(b, kf);
    EXPECT_TRUE(SamePixels(m, a)) << kf;
  }
  for (double kf : {1.0, 1.5}) {
    TqzEffectBmp m = a;
    m.Morph(b, kf);
    EXPECT_TRUE(SamePixels(m, b)) << kf;
  }
  TqzEffectBmp m = a;
  m.Morph(b, 0.3);
  for (int y = 0; y < 3; ++y)
    for (int x = 0; x < 5; ++x) EXPECT_EQ(m.GetPixel(x, y), Blend(b.GetPixel(x, y), a.GetPixel(x, y), 0.3));
  // Halves go to even: 1 and 2 at 0.5 give 1.5 -> 2; 2 and 3 give 2.5 -> 2.
  TqzEffectBmp p(1, 1), q(1, 1);
  p.SetPixel(0, 0, 0x010203);
  q.SetPixel(0, 0, 0x020304);
  p.Morph(q, 0.5);
  EXPECT_EQ(p.GetPixel(0, 0), 0x020204u);
}

TEST(EffectBmpMorph, DifferentSizesLeaveThisImage) {
  const TqzEffectBmp a = RandomImage(4, 4, 3), b = RandomImage(4, 5, 4);
  using Fn = void (TqzEffectBmp::*)(const TqzEffectBmp&, double);
  for (Fn fn : {&TqzEffectBmp::Morph, &TqzEffectBmp::MorphGrad, &TqzEffectBmp::MorphHGrad,
                &TqzEffectBmp::MorphVGrad, &TqzEffectBmp::MorphLeftGrad,
                &TqzEffectBmp::MorphRightGrad, &TqzEffectBmp::MorphLeftSlide,
                &TqzEffectBmp::MorphRightSlide, &TqzEffectBmp::MorphPush}) {
    TqzEffectBmp m = a;
    (m.*fn)(b, 0.5);
    EXPECT_TRUE(SamePixels(m, a));
  }
}

// The column morphs written out column by column from their rules.
TEST(EffectBmpMorph, HorizontalGradientBandsAndFades) {
  const int w = 10;
  const TqzEffectBmp a = RandomImage(w, 2, 5), b = RandomImage(w, 2, 6);
  for (double kf : {0.0, 0.25, 0.5, 1.0}) {
    TqzEffectBmp m = a;
    m.MorphHGrad(b, kf);
    const int an = int(std::nearbyint(w * kf)), fade = (w - an) / 2;
    const double step = fade == 0 ? 1.0 : 1.0 / fade;
    const int g = std::max(0, w / 2 - an / 2), e = std::min(w - 1, an / 2 + w / 2);
    for (int y = 0; y < 2; ++y) {
      TqzEffectBmp ref = a;
      for (int x = g; x <= e; ++x) ref.SetPixel(x, y, b.GetPixel(x, y));
      double o = 0;
      for (int x = g; x >= 0; --x, o = std::min(1.0, o + step))
        ref.SetPixel(x, y, Blend(ref.GetPixel(x, y), b.GetPixel(x, y), o));
      o = 0;
      for (int x = e; x < w; ++x, o = std::min(1.0, o + step))
        ref.SetPixel(x, y, Blend(ref.GetPixel(x, y), b.GetPixel(x, y), o));
      for (int x = 0; x < w; ++x) ASSERT_EQ(m.GetPixel(x, y), ref.GetPixel(x, y)) << kf << " x " << x;
    }
    if (kf == 1.0) {
      EXPECT_TRUE(SamePixels(m, b));
    }
  }
}

TEST(EffectBmpMorph, VerticalGradientChosenForTallImages) {
  const TqzEffectBmp a = RandomImage(2, 9, 7), b = RandomImage(2, 9, 8);
  TqzEffectBmp m = a, v = a;
  m.MorphGrad(b, 0.3);
  v.MorphVGrad(b, 0.3);
  EXPECT_TRUE(SamePixels(m, v));
  // Height 9, Kf 0.3: a = 3, fade (9 - 3 - 1) div 2 = 2, band rows 3..5.
  for (int x = 0; x < 2; ++x) {
    for (int y = 3; y <= 5; ++y) EXPECT_EQ(m.GetPixel(x, y), b.GetPixel(x, y));
    EXPECT_EQ(m.GetPixel(x, 2), Blend(a.GetPixel(x, 2), b.GetPixel(x, 2), 0.5));
    EXPECT_EQ(m.GetPixel(x, 0), a.GetPixel(x, 0));  // o capped at 1
    EXPECT_EQ(m.GetPixel(x, 7), a.GetPixel(x, 7));
    EXPECT_EQ(m.GetPixel(x, 8), a.GetPixel(x, 8));
  }
  TqzEffectBmp full = a;
  full.MorphVGrad(b, 1.0);
  EXPECT_TRUE(SamePixels(full, b));
}

TEST(EffectBmpMorph, SidewaysGradientsSlidesAndPush) {
  const int w = 8;
  const TqzEffectBmp a = RandomImage(w, 1, 9), b = RandomImage(w, 1, 10);
  auto px = [](const TqzEffectBmp& e, int x) { return e.GetPixel(x, 0); };
  {
    TqzEffectBmp m = a;  // Kf .5: a = 4, columns 0..4 with step 1/4
    m.MorphLeftGrad(b, 0.5);
    for (int x = 0; x <= 4; ++x) EXPECT_EQ(px(m, x), Blend(px(a, x), px(b, x), x / 4.0));
    for (int x = 5; x < w; ++x) EXPECT_EQ(px(m, x), px(a, x));
  }
  {
    TqzEffectBmp m = a;  // b = 8 - 2 = 6, columns 7 down to 6, step 1/2
    m.MorphRightGrad(b, 0.25);
    EXPECT_EQ(px(m, 7), px(b, 7));
    EXPECT_EQ(px(m, 6), Blend(px(a, 6), px(b, 6), 0.5));
    EXPECT_EQ(px(m, 5), px(a, 5));
  }
  {
    TqzEffectBmp l = a, r = a;  // a = 3
    l.MorphLeftSlide(b, 0.375);
    r.MorphRightSlide(b, 0.375);
    for (int x = 0; x < 3; ++x) EXPECT_EQ(px(l, x), px(b, w - 3 + x));
    EXPECT_EQ(px(l, 3), px(a, 3));
    for (int x = 0; x < 3; ++x) EXPECT_EQ(px(r, w - 3 + x), px(b, x));
    EXPECT_EQ(px(r, 4), px(a, 4));
  }
  {
    TqzEffectBmp m = a;  // a = 2: columns 3.. take old 0..; 0..2 take other's last three
    m.MorphPush(b, 0.25);
    for (int x = 3; x < w; ++x) EXPECT_EQ(px(m, x), px(a, x - 3));
    for (int x = 0; x <= 2; ++x) EXPECT_EQ(px(m, x), px(b, w - 3 + x));
  }
  {
    TqzEffectBmp m = a;  // Kf 0: the whole row moves one to the right, other's last column enters
    m.MorphPush(b, 0.0);
    EXPECT_EQ(px(m, 0), px(b, w - 1));
    for (int x = 1; x < w; ++x) EXPECT_EQ(px(m, x), px(a, x - 1));
  }
  // One-pixel-wide images stay inside their pixels.
  TqzEffectBmp one = RandomImage(1, 2, 11), other = RandomImage(1, 2, 12);
  for (int kind = mkDefault; kind <= mkPush; ++kind)
    for (double kf : {0.0, 0.5, 1.0}) one.ApplyMorph(kind, other, kf);
}

TEST(EffectBmpMorph, MorphRectStaysInsideBothImages) {
  const TqzEffectBmp a = RandomImage(4, 4, 13), b = RandomImage(3, 3, 14);
  TqzEffectBmp m = a;
  m.MorphRect(b, TRect{1, 1, 10, 10}, 1, 0, 1.0);  // other rows from 1, columns from 0
  EXPECT_EQ(m.GetPixel(1, 1), b.GetPixel(0, 1));
  EXPECT_EQ(m.GetPixel(3, 2), b.GetPixel(2, 2));
  EXPECT_EQ(m.GetPixel(1, 3), a.GetPixel(1, 3));  // other has no row 3
  EXPECT_EQ(m.GetPixel(0, 0), a.GetPixel(0, 0));
}

TEST(EffectBmpColor, BrightnessDarknessGrayInvert) {
  TqzEffectBmp e(4, 1);
  e.SetPixel(0, 0, 0x000000);
  e.SetPixel(1, 0, 0xFFFFFF);
  e.SetPixel(2, 0, 0x0A0B0C);
  e.SetPixel(3, 0, 0x010305);
  TqzEffectBmp bright = e, dark = e, gray = e, inv = e;
  bright.ChangeBrightness(0.5);  // (c + 255) / 2: 127.5 -> 128, 138.5 -> 138 (even)
  EXPECT_EQ(bright.GetPixel(0, 0), 0x808080u);
  EXPECT_EQ(bright.GetPixel(2, 0), 0x848586u);  // 132.5->132, 133->133, 133.5->134
  dark.ChangeDarkness(0.3);                      // 0.7 c: 7, 7.7, 8.4
  EXPECT_EQ(dark.GetPixel(2, 0), 0x070808u);
  dark.ChangeDarkness(7);                        // clamped to 1: black
  EXPECT_EQ(dark.GetPixel(1, 0), 0u);
  gray.GrayScale();  // 0.3 r + 0.59 g + 0.11 b
  EXPECT_EQ(gray.GetPixel(1, 0), 0xFFFFFFu);
  EXPECT_EQ(gray.GetPixel(2, 0), 0x0B0B0Bu);  // 3.0 + 6.49 + 1.32 = 10.81 -> 11
  EXPECT_EQ(gray.GetPixel(3, 0), 0x030303u);  // 0.3 + 1.77 + 0.55 = 2.62 -> 3
  inv.Invert();
  EXPECT_EQ(inv.GetPixel(2, 0), 0xF5F4F3u);
}

TEST(EffectBmpColor, NoiseStaysInRangeAndMovesChannelsTogether) {
  TqzEffectBmp e(64, 64);
  for (int y = 0; y < 64; ++y)
    for (int x = 0; x < 64; ++x) e.SetPixel(x, y, (x + y) % 2 ? 0xFFFFFF : 0x7F7F7F);
  const TqzEffectBmp before = e;
  e.AddNoise(50);
  int lowest = 0, highest = 0;
  for (int y = 0; y < 64; ++y)
    for (int x = 0; x < 64; ++x) {
      const uint32_t p = e.GetPixel(x, y), q = before.GetPixel(x, y);
      EXPECT_EQ(Channel(p, 0), Channel(p, 1));
      EXPECT_EQ(Channel(p, 1), Channel(p, 2));
      const int d = Channel(p, 0) - Channel(q, 0);
      if (Channel(q, 0) == 0x7F) {
        EXPECT_GE(d, -25);
        EXPECT_LE(d, 24);
        lowest = std::min(lowest, d);
        highest = std::max(highest, d);
      } else {
        EXPECT_LE(d, 0);  // white never wraps past 255
      }
    }
  EXPECT_EQ(lowest, -25);
  EXPECT_EQ(highest, 24);
}

TEST(EffectBmpColor, SplitBlurAveragesFourCornersInPlace) {
  TqzEffectBmp e(3, 3);
  for (int y = 0; y < 3; ++y)
    for (int x = 0; x < 3; ++x) e.SetPixel(x, y, uint32_t(20 * (3 * y + x)));
  e.SplitBlur(1);
  // (0,0): rows 0 and 1, columns 0 and 1: (0 + 60 + 20 + 80) >> 2.
  EXPECT_EQ(e.GetPixel(0, 0), 40u);
  // (2,0): the right column falls back to Width - X = 1: (20 + 80 + 20 + 80) >> 2.
  EXPECT_EQ(e.GetPixel(2, 0), 50u);
  // (1,1) reads row 0 as already blurred: (40 + 120 + 50 + 160) >> 2.
  EXPECT_EQ(e.GetPixel(1, 1), 92u);
  // One-pixel images and large amounts stay inside.
  for (auto [w, h] : {std::pair{1, 1}, {1, 5}, {5, 1}}) {
    TqzEffectBmp t = RandomImage(w, h, 15);
    t.SplitBlur(1);
    t.SplitBlur(100);
    t.ApplyInactiveEffect(ieSplitBlur);
  }
}

TEST(EffectBmpGeometry, RotationsAndFlip) {
  const TqzEffectBmp a = RandomImage(3, 2, 16);
  TqzEffectBmp ccw(2, 3), cw(2, 3), flip(3, 2), wrong(3, 3);
  a.Rotate90_1(ccw);
  a.Rotate90_2(cw);
  a.FlipVert(flip);
  for (int y = 0; y < 2; ++y)
    for (int x = 0; x < 3; ++x) {
      EXPECT_EQ(ccw.GetPixel(y, 2 - x), a.GetPixel(x, y));
      EXPECT_EQ(cw.GetPixel(1 - y, x), a.GetPixel(x, y));
      EXPECT_EQ(flip.GetPixel(x, 1 - y), a.GetPixel(x, y));
    }
  a.Rotate90_1(wrong);  // wrong size: untouched
  EXPECT_EQ(wrong.GetPixel(2, 2), 0u);
  // Top-right goes to the top-left with a counter-clockwise turn.
  EXPECT_EQ(ccw.GetPixel(0, 0), a.GetPixel(2, 0));
}

TEST(EffectBmpDraw, DrawsOpaqueThroughTheDC) {
  TqzEffectBmp e(2, 1);
  e.SetPixel(0, 0, 0x102030);
  e.SetPixel(1, 0, 0x405060);
  TPixmap screen(3, 2, 0);
  TCanvas canvas(&screen);
  canvas.SetViewportOrg({1, 1});
  e.Draw(&canvas, 0, 0);
  EXPECT_EQ(screen.At(1, 1), 0xFF102030u);
  EXPECT_EQ(screen.At(2, 1), 0xFF405060u);
  EXPECT_EQ(screen.At(0, 1), 0u);
  EXPECT_EQ(screen.At(1, 0), 0u);
}

}  // namespace
}  // namespace qz
