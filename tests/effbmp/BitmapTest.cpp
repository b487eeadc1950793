// TqzBitmap: size and errors, registry, whole-buffer operations, alpha masks.
#include <gtest/gtest.h>

#include <cmath>

#include "host/graphics/Bitmap.h"
#include "host/graphics/Canvas.h"
#include "skin/draw/EffectBmp.h"

namespace qz {
namespace {

TEST(QzBitmapSize, ZeroSideOrSameSizeKeepsPixels) {
  TqzBitmap b(5, 5);
  b.SetPixel(2, 3, 0x11223344);
  b.SetSize(0, 10);
  b.SetSize(10, 0);
  b.SetSize(5, 5);
  b.SetSize(-5, -5);  // same size by absolute value
  EXPECT_EQ(b.Width(), 5);
  EXPECT_EQ(b.Height(), 5);
  EXPECT_EQ(*b.PixelPtr(2, 3), 0x11223344u);
}

TEST(QzBitmapSize, NewSizeIsZeroFilledAndDescribed) {
  TqzBitmap b;
  EXPECT_TRUE(b.Empty());
  EXPECT_EQ(b.DC(), nullptr);
  b.SetSize(-3, 4);
  ASSERT_FALSE(b.Empty());
  EXPECT_EQ(b.Width(), 3);
  EXPECT_EQ(b.Height(), 4);
  for (int y = 0; y < 4; ++y)
    for (int x = 0; x < 3; ++x) EXPECT_EQ(*b.PixelPtr(x, y), 0u);
  const TqzBitmapInfoHeader info = b.BitmapInfo();
  EXPECT_EQ(info.biSize, 40u);
  EXPECT_EQ(info.biWidth, 3);
  EXPECT_EQ(info.biHeight, -4);
  EXPECT_EQ(info.biBitCount, 32);
  EXPECT_EQ(b.ScanLine(1), b.Bits() + 3);  // rows contiguous, no padding
}

TEST(QzBitmapSize, TooLargeFailsWithDibMessageAndLeavesEmpty) {
  TqzBitmap b(4, 4);
  for (auto [w, h] : {std::pair{100000, 100000}, std::pair{INT32_MIN, 2}, {65536, 8193}}) {
    try {
      b.SetSize(w, h);
      FAIL() << w << " x " << h << " accepted";
    } catch (const EOutOfResources& e) {
      EXPECT_STREQ(e.what(), "Can't allocate the DIB handle");
    }
    EXPECT_TRUE(b.Empty());
    EXPECT_EQ(b.Width(), 0);
    EXPECT_EQ(FindBitmapByDC(&b.Canvas()), nullptr);
  }
  b.SetSize(2, 2);  // usable again afterwards
  EXPECT_EQ(b.Width(), 2);
}

TEST(QzBitmapRegistry, FindsOwnerOfDCUntilDestroyed) {
  TqzBitmap a(2, 2);
  HDC dcA = a.DC();
  ASSERT_NE(dcA, nullptr);
  EXPECT_EQ(dcA, &a.Canvas());  // the canvas is the device context
  {
    TqzBitmap b(3, 3);
    EXPECT_EQ(FindBitmapByDC(b.DC()), &b);
    EXPECT_EQ(FindBitmapByDC(dcA), &a);
    HDC dcB = b.DC();
    b.SetSize(7, 7);  // resizing keeps the context and the registration
    EXPECT_EQ(b.DC(), dcB);
    EXPECT_EQ(FindBitmapByDC(dcB), &b);
    EXPECT_EQ(b.DC()->Target()->Width(), 7);
  }
  TCanvas stranger;
  EXPECT_EQ(FindBitmapByDC(&stranger), nullptr);
  EXPECT_EQ(FindBitmapByDC(nullptr), nullptr);
  EXPECT_EQ(FindBitmapByDC(dcA), &a);
}

TEST(QzBitmapPixels, SetPixelOnlyInside) {
  TqzBitmap b(2, 2);
  for (auto [x, y] : {std::pair{-1, 0}, {0, -1}, {2, 0}, {0, 2}}) b.SetPixel(x, y, 0xFFFFFFFF);
  for (int i = 0; i < 4; ++i) EXPECT_EQ(b.Bits()[i], 0u);
  TqzBitmap empty;
  empty.SetPixel(0, 0, 1);  // no crash
}

TEST(QzBitmapPixels, CheckAlphaBlendLooksForPartialAlpha) {
  TqzBitmap b(3, 1);
  b.CheckAlphaBlend();
  EXPECT_FALSE(b.AlphaBlend);
  b.Bits()[0] = 0xFF000000;
  b.Bits()[1] = 0x00FFFFFF;
  b.AlphaBlend = true;
  b.CheckAlphaBlend();
  EXPECT_FALSE(b.AlphaBlend);  // only 0 and 255
  b.Bits()[2] = 0x01000000;
  b.CheckAlphaBlend();
  EXPECT_TRUE(b.AlphaBlend);
  TqzBitmap empty;
  empty.AlphaBlend = true;
  empty.CheckAlphaBlend();
  EXPECT_FALSE(empty.AlphaBlend);
}

TEST(QzBitmapPixels, SetTransparentColorToleranceIsFive) {
  TqzBitmap b(4, 1);
  b.Bits()[0] = MakeQzColor(105, 200, 55);  // +5, -0, -5: replaced
  b.Bits()[1] = MakeQzColor(106, 200, 60);  // red off by 6: kept
  b.Bits()[2] = MakeQzColor(100, 194, 60);  // green off by 6: kept
  b.Bits()[3] = MakeQzColor(100, 200, 60, 7);
  b.SetTransparentColor(MakeQzColor(100, 200, 60, 0));
  EXPECT_TRUE(b.Transparent);
  EXPECT_EQ(b.Bits()[0], TransparentKeyColor);
  EXPECT_EQ(b.Bits()[1], MakeQzColor(106, 200, 60));
  EXPECT_EQ(b.Bits()[2], MakeQzColor(100, 194, 60));
  EXPECT_EQ(b.Bits()[3], TransparentKeyColor);
  b.SetTransparentColor(MakeQzColor(0, 0, 0));
  EXPECT_FALSE(b.Transparent);  // nothing replaced this time
}

TEST(QzBitmapPixels, PreMultiplyRoundsEveryValueToNearest) {
  TqzBitmap b(256, 256);
  for (int a = 0; a < 256; ++a)
    for (int c = 0; c < 256; ++c) *b.PixelPtr(c, a) = MakeQzColor(c, 255 - c, c / 2, a);
  b.PreMultiply();
  auto expected = [](int a, int c) { return int(std::nearbyint(a * c / 255.0)); };
  for (int a = 0; a < 256; ++a)
    for (int c = 0; c < 256; ++c) {
      const TqzColor p = *b.PixelPtr(c, a);
      ASSERT_EQ(ColorR(p), expected(a, c)) << a << " " << c;
      ASSERT_EQ(ColorG(p), expected(a, 255 - c));
      ASSERT_EQ(ColorB(p), expected(a, c / 2));
      ASSERT_EQ(ColorA(p), a);
    }
}

TEST(QzBitmapPixels, ClampColorToAlphaAndSetAlpha) {
  TqzBitmap b(2, 1);
  b.Bits()[0] = MakeQzColor(200, 50, 100, 80);
  b.Bits()[1] = MakeQzColor(10, 20, 30, 255);
  b.ClampColorToAlpha();
  EXPECT_EQ(b.Bits()[0], MakeQzColor(80, 50, 80, 80));
  EXPECT_EQ(b.Bits()[1], MakeQzColor(10, 20, 30, 255));
  b.SetAlpha(9);
  EXPECT_EQ(b.Bits()[0], MakeQzColor(80, 50, 80, 9));
  EXPECT_EQ(b.Bits()[1], MakeQzColor(10, 20, 30, 9));
}

TEST(QzBitmapPixels, FillRectClipsAndBlendsWhenAlphaBlend) {
  TqzBitmap b(4, 3);
  b.FillRect({-5, 1, 2, 99}, 0x80102030);
  EXPECT_EQ(*b.PixelPtr(0, 0), 0u);
  EXPECT_EQ(*b.PixelPtr(1, 2), 0x80102030u);
  EXPECT_EQ(*b.PixelPtr(2, 1), 0u);
  b.FillRect({3, 3, 2, 2}, 0xFFFFFFFF);  // empty: nothing
  b.AlphaBlend = true;
  b.FillRect({0, 0, 4, 1}, MakeQzColor(200, 100, 0, 128));  // over black
  EXPECT_EQ(*b.PixelPtr(3, 0), MakeQzColor(200 * 128 >> 8, 100 * 128 >> 8, 0, 255));
}

TEST(QzBitmapMask, AlphaFromMaskRoundsTheAverage) {
  TqzBitmap b(3, 2);
  b.FillRect({0, 0, 3, 2}, MakeQzColor(1, 2, 3, 77));
  TPixmap mask(2, 2);  // narrower than the bitmap: column 2 keeps its alpha
  mask.At(0, 0) = MakeQzColor(1, 0, 0);      // 1/3 -> 0
  mask.At(1, 0) = MakeQzColor(1, 1, 0);      // 2/3 -> 1
  mask.At(0, 1) = MakeQzColor(255, 255, 254);  // 764/3 -> 255
  mask.At(1, 1) = MakeQzColor(100, 0, 0);    // 33.3 -> 33
  AlphaFromMask(b, mask);
  EXPECT_EQ(*b.PixelPtr(0, 0), MakeQzColor(1, 2, 3, 0));
  EXPECT_EQ(*b.PixelPtr(1, 0), MakeQzColor(1, 2, 3, 1));
  EXPECT_EQ(*b.PixelPtr(0, 1), MakeQzColor(1, 2, 3, 255));
  EXPECT_EQ(*b.PixelPtr(1, 1), MakeQzColor(1, 2, 3, 33));
  EXPECT_EQ(*b.PixelPtr(2, 1), MakeQzColor(1, 2, 3, 77));

  TqzBitmap p(1, 1);
  p.SetPixel(0, 0, MakeQzColor(255, 128, 0));
  TqzBitmap m(1, 1);
  m.SetPixel(0, 0, MakeQzColor(128, 128, 128));
  AlphaFromMaskPremultiplied(p, m);
  EXPECT_EQ(*p.PixelPtr(0, 0), MakeQzColor(128, 64, 0, 128));
}

TEST(QzBitmapAssign, CopiesPixelsFlagsAndName) {
  TqzBitmap a(2, 2);
  a.SetPixel(1, 1, 0x80FF0000);
  a.Name = "glow";
  a.AlphaBlend = true;
  a.Transparent = true;
  TqzBitmap b(5, 1);
  b.Assign(a);
  EXPECT_EQ(b.Width(), 2);
  EXPECT_EQ(b.Height(), 2);
  EXPECT_EQ(*b.PixelPtr(1, 1), 0x80FF0000u);
  EXPECT_EQ(b.Name, "glow");
  EXPECT_TRUE(b.AlphaBlend && b.Transparent);
}

TEST(QzBitmapAssign, FromFrameworkBitmapsByFormat) {
  TBitmap dib(2, 1);
  dib.SetPixelFormat(pf32bit);
  dib.SetHandleType(bmDIB);
  dib.Pixels().At(0, 0) = 0x40112233;
  dib.Pixels().At(1, 0) = 0xFF445566;
  TqzBitmap a;
  a.Assign(dib);
  EXPECT_EQ(*a.PixelPtr(0, 0), 0x40112233u);
  EXPECT_TRUE(a.AlphaBlend);

  TBitmap plain(2, 1);
  plain.Pixels().At(0, 0) = 0x40112233;
  TqzBitmap b;
  b.Assign(plain);
  EXPECT_EQ(*b.PixelPtr(0, 0), 0xFF112233u);  // opaque copy
  EXPECT_FALSE(b.AlphaBlend);

  TBitmap back;
  back.Assign(a);  // through TqzBitmap::AssignTo
  EXPECT_EQ(back.PixelFormat(), pf32bit);
  EXPECT_EQ(back.Width(), 2);
}

}  // namespace
}  // namespace qz

namespace qz {
namespace {

TEST(QzBitmapGraphic, DrawGraphicKeepsPixelsWhereTheGraphicIsMagenta) {
  TBitmap picture(2, 1);
  picture.Pixels().At(0, 0) = 0xFFFF00FF;  // magenta: leaves the target pixel
  picture.Pixels().At(1, 0) = 0x80123456;  // copied with the alpha it has
  TqzBitmap b(4, 2);
  b.FillRect({0, 0, 4, 2}, 0x01020304);
  b.DrawGraphic(picture, TRect{0, 0, 4, 1});  // stretched 2 -> 4 columns
  EXPECT_EQ(*b.PixelPtr(0, 0), 0x01020304u);
  EXPECT_EQ(*b.PixelPtr(3, 0), 0x80123456u);
  EXPECT_EQ(*b.PixelPtr(3, 1), 0x01020304u);  // outside the destination rectangle
}

TEST(QzBitmapGraphic, SizeChangeResetsContextState) {
  TqzBitmap b(4, 4);
  b.Canvas().SetViewportOrg({2, 2});
  b.Canvas().IntersectClipRect({0, 0, 1, 1});
  b.SetSize(8, 8);
  TqzBitmap dot(1, 1);
  dot.SetPixel(0, 0, 0xFFFFFFFF);
  dot.Draw(b.DC(), 5, 5);  // neither the old origin nor the old clip apply
  EXPECT_EQ(*b.PixelPtr(5, 5), 0xFFFFFFFFu);
}

}  // namespace
}  // namespace qz
