// TBitmap: sizing, formats, streaming (alone, back to back in a container,
// as a binary property), assignment, colour key and drawing.
#include <gtest/gtest.h>

#include "host/base/Stream.h"
#include "host/graphics/Bitmap.h"
#include "host/graphics/BmpCodec.h"
#include "host/graphics/Canvas.h"

namespace qz {
namespace {

const std::string kSuite = std::string(QZ_TESTDATA_DIR) + "/bmpsuite/";

TPixmap Checker(int w, int h, uint32_t a, uint32_t b) {
  TPixmap px(w, h);
  for (int y = 0; y < h; ++y)
    for (int x = 0; x < w; ++x) px.At(x, y) = (x + y) % 2 ? b : a;
  return px;
}

TBitmap* Loaded(TBitmap& bmp, const std::vector<uint8_t>& file) {
  bmp.LoadFromBytes(file);
  return &bmp;
}

TEST(Bitmap, ResizingKeepsTopLeftAndFiresOnChange) {
  TBitmap bmp;
  int changes = 0;
  bmp.OnChange = [&](TObject* sender) {
    EXPECT_EQ(sender, &bmp);
    ++changes;
  };
  EXPECT_TRUE(bmp.Empty());
  EXPECT_EQ(bmp.PixelFormat(), pfDevice);
  EXPECT_EQ(bmp.HandleType(), bmDDB);
  bmp.SetSize(2, 2);
  bmp.Pixels().At(1, 1) = 0xFF112233;
  bmp.SetSize(2, 2);  // unchanged: no event
  EXPECT_EQ(changes, 1);
  bmp.SetWidth(3);
  EXPECT_EQ(changes, 2);
  EXPECT_EQ(bmp.Pixels().At(1, 1), 0xFF112233u);
  EXPECT_EQ(bmp.Pixels().At(2, 1), 0xFFFFFFFFu);  // new area is white
  bmp.SetHeight(1);
  EXPECT_EQ(bmp.Height(), 1);
  bmp.SetSize(-5, 4);
  EXPECT_TRUE(bmp.Empty());
}

TEST(Bitmap, CanvasDrawsIntoThePixelsAcrossResizes) {
  TBitmap bmp(4, 4);
  TCanvas& canvas = bmp.Canvas();
  canvas.Brush().SetColor(clRed);
  canvas.FillRect({0, 0, 4, 4});
  EXPECT_EQ(bmp.Pixels().At(3, 3), 0xFFFF0000u);
  bmp.SetSize(8, 8);
  EXPECT_EQ(&bmp.Canvas(), &canvas);
  canvas.Brush().SetColor(clBlue);
  canvas.FillRect({6, 6, 8, 8});
  EXPECT_EQ(bmp.Pixels().At(7, 7), 0xFF0000FFu);
}

TEST(Bitmap, FilesLoadWithTheirFormat) {
  TBitmap bmp;
  Loaded(bmp, ReadFileBytes(kSuite + "g/pal1bg.bmp"));
  EXPECT_EQ(bmp.PixelFormat(), pf1bit);
  EXPECT_EQ(bmp.HandleType(), bmDIB);
  EXPECT_TRUE(bmp.Monochrome());
  EXPECT_EQ(bmp.Palette().size(), 2u);
  Loaded(bmp, ReadFileBytes(kSuite + "g/pal8.bmp"));
  EXPECT_EQ(bmp.PixelFormat(), pf8bit);
  EXPECT_EQ(bmp.Palette().size(), 252u);
  Loaded(bmp, ReadFileBytes(kSuite + "g/rgb16.bmp"));
  EXPECT_EQ(bmp.PixelFormat(), pf15bit);
  Loaded(bmp, ReadFileBytes(kSuite + "g/rgb16-565.bmp"));
  EXPECT_EQ(bmp.PixelFormat(), pf16bit);
  Loaded(bmp, ReadFileBytes(kSuite + "g/rgb24.bmp"));
  EXPECT_EQ(bmp.PixelFormat(), pf24bit);
  EXPECT_TRUE(bmp.Palette().empty());
  Loaded(bmp, ReadFileBytes(kSuite + "g/rgb32.bmp"));
  EXPECT_EQ(bmp.PixelFormat(), pf32bit);
  EXPECT_FALSE(bmp.AlphaPresent());
}

TEST(Bitmap, SavesInTheFormatItWasReadWith) {
  for (const char* name : {"pal1bg", "pal4", "pal8", "rgb16", "rgb16-565", "rgb24", "rgb32"}) {
    TBitmap bmp, again;
    Loaded(bmp, ReadFileBytes(kSuite + "g/" + name + ".bmp"));
    Loaded(again, bmp.SaveToBytes());
    EXPECT_EQ(again.PixelFormat(), bmp.PixelFormat()) << name;
    EXPECT_EQ(again.Palette(), bmp.Palette()) << name;
    EXPECT_EQ(again.Pixels(), bmp.Pixels()) << name;
  }
}

TEST(Bitmap, StreamLoadTakesExactlyOneFileFromAContainer) {
  // Two files back to back followed by one more byte, as a skin container
  // stores its pictures.
  TPixmap a = Checker(3, 2, 0xFF000000u, 0xFFFFFFFFu);
  TPixmap b = Checker(5, 1, 0xFF102030u, 0xFF405060u);
  TMemoryStream s;
  const auto fa = EncodeBmp(a, 1), fb = EncodeBmp(b, 24);
  s.WriteBuffer(fa.data(), fa.size());
  s.WriteBuffer(fb.data(), fb.size());
  s.WriteValue<uint8_t>(0x5A);
  s.SetPosition(0);
  TBitmap first, second;
  first.LoadFromStream(s);
  EXPECT_EQ(s.Position(), int64_t(fa.size()));
  second.LoadFromStream(s);
  EXPECT_EQ(first.Pixels(), a);
  EXPECT_EQ(second.Pixels(), b);
  EXPECT_EQ(s.ReadValue<uint8_t>(), 0x5A);
  // Nothing left: an empty bitmap.
  second.LoadFromStream(s);
  EXPECT_TRUE(second.Empty());
}

TEST(Bitmap, RejectedDataLeavesTheBitmapAsItWas) {
  TBitmap bmp(2, 2);
  bmp.Pixels().At(0, 0) = 0xFF123456;
  const TPixmap before = bmp.Pixels();
  // A header whose length runs past the stream: refused before reading on.
  auto file = EncodeBmp(TPixmap(4, 4, 0xFF000000u), 24);
  file[5] = 0x7F;  // file size about 2 GiB
  TMemoryStream s(file);
  EXPECT_THROW(bmp.LoadFromStream(s), EInvalidGraphic);
  EXPECT_THROW(bmp.LoadFromBytes(ReadFileBytes(kSuite + "b/badrle.bmp")), EInvalidGraphic);
  TMemoryStream shortStream(std::vector<uint8_t>{'B', 'M', 1});
  EXPECT_THROW(bmp.LoadFromStream(shortStream), EInvalidGraphic);
  EXPECT_EQ(bmp.Pixels(), before);
  EXPECT_EQ(bmp.PixelFormat(), pfDevice);
}

TEST(Bitmap, BinaryPropertyIsLengthThenFile) {
  TBitmap bmp;
  Loaded(bmp, ReadFileBytes(kSuite + "g/pal4.bmp"));
  TMemoryStream s;
  bmp.WriteData(s);
  const auto file = bmp.SaveToBytes();
  ASSERT_EQ(s.Size(), int64_t(4 + file.size()));
  EXPECT_EQ(s.Memory()[0] | (s.Memory()[1] << 8), int(file.size()));
  s.SetPosition(0);
  TBitmap back;
  back.ReadData(s);
  EXPECT_EQ(back.Pixels(), bmp.Pixels());
  EXPECT_EQ(back.PixelFormat(), pf4bit);

  // An empty bitmap is a zero length, and reads back empty.
  TMemoryStream e;
  TBitmap().WriteData(e);
  EXPECT_EQ(e.Size(), 4);
  e.SetPosition(0);
  back.ReadData(e);
  EXPECT_TRUE(back.Empty());

  // A length that runs past the stream is refused.
  TMemoryStream lie;
  lie.WriteValue<uint32_t>(1000);
  lie.WriteBuffer(file.data(), 10);
  lie.SetPosition(0);
  EXPECT_THROW(back.ReadData(lie), EInvalidGraphic);
}

TEST(Bitmap, AssignIsADeepCopy) {
  TBitmap src;
  Loaded(src, ReadFileBytes(kSuite + "g/pal8.bmp"));
  src.SetTransparent(true);
  src.SetTransparentColor(clLime);
  TBitmap copy;
  copy.Assign(src);
  EXPECT_EQ(copy.Pixels(), src.Pixels());
  EXPECT_EQ(copy.PixelFormat(), pf8bit);
  EXPECT_EQ(copy.Palette(), src.Palette());
  EXPECT_TRUE(copy.Transparent());
  EXPECT_EQ(copy.TransparentColor(), clLime);
  copy.Pixels().At(0, 0) = 0;
  EXPECT_NE(copy.Pixels(), src.Pixels());
  TPen pen;
  EXPECT_THROW(copy.Assign(pen), EInvalidCast);
}

TEST(Bitmap, TransparentColourFollowsTheBottomLeftPixelUntilFixed) {
  TBitmap bmp(2, 2);
  EXPECT_EQ(TBitmap().TransparentColor(), clNone);
  bmp.Pixels().At(0, 1) = 0xFF0000FF;  // blue, bottom-left
  EXPECT_EQ(bmp.TransparentMode(), tmAuto);
  EXPECT_EQ(bmp.TransparentColor(), clBlue);
  bmp.SetTransparentColor(clRed);
  EXPECT_EQ(bmp.TransparentMode(), tmFixed);
  EXPECT_EQ(bmp.TransparentColor(), clRed);
  bmp.SetTransparentMode(tmAuto);
  EXPECT_EQ(bmp.TransparentColor(), clBlue);
  bmp.SetTransparentMode(tmFixed);  // fixes the current colour
  bmp.Pixels().At(0, 1) = 0xFF00FF00;
  EXPECT_EQ(bmp.TransparentColor(), clBlue);
}

TEST(Bitmap, DrawStretchesNearestNeighbourAndHonoursTheColourKey) {
  TBitmap bmp(2, 2);
  bmp.Pixels() = Checker(2, 2, 0xFF0000FFu, 0x80FF0000u);  // blue / half-alpha red
  TPixmap target(6, 4, 0xFF00FF00u);
  TCanvas canvas(&target);
  bmp.Draw(canvas, {0, 0, 4, 4});
  for (int y = 0; y < 4; ++y)
    for (int x = 0; x < 4; ++x)
      EXPECT_EQ(target.At(x, y), (x / 2 + y / 2) % 2 ? 0x80FF0000u : 0xFF0000FFu) << x << "," << y;
  EXPECT_EQ(target.At(4, 0), 0xFF00FF00u);

  // Colour-keyed: the bottom-left colour (red) is left out.
  TPixmap keyed(2, 2, 0xFF00FF00u);
  TCanvas keyedCanvas(&keyed);
  bmp.SetTransparent(true);
  bmp.Draw(keyedCanvas, {0, 0, 2, 2});
  EXPECT_EQ(keyed.At(0, 0), 0xFF0000FFu);
  EXPECT_EQ(keyed.At(1, 0), 0xFF00FF00u);
  EXPECT_EQ(keyed.At(0, 1), 0xFF00FF00u);
  EXPECT_EQ(keyed.At(1, 1), 0xFF0000FFu);
}

TEST(Bitmap, LowerDepthsReduceThePixelsInMemory) {
  TBitmap bmp(2, 1);
  bmp.Pixels().At(0, 0) = 0x40C8C8C8;  // light grey, part alpha
  bmp.Pixels().At(1, 0) = 0x80202020;  // dark grey
  bmp.SetPixelFormat(pf24bit);
  EXPECT_EQ(bmp.HandleType(), bmDIB);
  EXPECT_EQ(bmp.Pixels().At(0, 0), 0xFFC8C8C8u);
  bmp.SetMonochrome(true);
  EXPECT_EQ(bmp.PixelFormat(), pf1bit);
  EXPECT_EQ(bmp.Pixels().At(0, 0), 0xFFFFFFFFu);
  EXPECT_EQ(bmp.Pixels().At(1, 0), 0xFF000000u);

  // 5-6-5: what is in memory is exactly what a save and reload gives.
  TBitmap colour(3, 1);
  colour.Pixels().At(0, 0) = 0xFF123456;
  colour.Pixels().At(1, 0) = 0xFF89ABCD;
  colour.Pixels().At(2, 0) = 0xFFFEDCBA;
  colour.SetPixelFormat(pf16bit);
  TBitmap reloaded;
  reloaded.LoadFromBytes(colour.SaveToBytes());
  EXPECT_EQ(reloaded.Pixels(), colour.Pixels());
  EXPECT_THROW(colour.SetPixelFormat(pfCustom), EInvalidGraphic);
}

}  // namespace
}  // namespace qz
