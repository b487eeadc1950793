// Encoder round trips, the reader's limits and its handling of hand-made
// files (RLE codes, bit fields, alpha, lying headers).
#include <gtest/gtest.h>

#include <random>

#include "host/graphics/BmpCodec.h"

namespace qz {
namespace {

TPixmap RandomPixmap(int w, int h, uint32_t seed, bool randomAlpha) {
  std::mt19937 rng(seed);
  TPixmap px(w, h);
  for (int y = 0; y < h; ++y)
    for (int x = 0; x < w; ++x) {
      const uint32_t v = rng();
      px.At(x, y) = randomAlpha ? v : (v | 0xFF000000u);
    }
  return px;
}

uint32_t Le32(const std::vector<uint8_t>& d, size_t at) {
  return d[at] | (d[at + 1] << 8) | (d[at + 2] << 16) | (uint32_t(d[at + 3]) << 24);
}
void SetLe32(std::vector<uint8_t>& d, size_t at, uint32_t v) {
  for (int i = 0; i < 4; ++i) d[at + i] = uint8_t(v >> (8 * i));
}
void SetLe16(std::vector<uint8_t>& d, size_t at, uint16_t v) {
  d[at] = uint8_t(v), d[at + 1] = uint8_t(v >> 8);
}

// A file with a 40-byte info header and the given extra bytes (table or
// masks) and pixel bytes; the offsets and sizes are filled in.
std::vector<uint8_t> MakeFile(int w, int h, int bits, uint32_t compression,
                              const std::vector<uint8_t>& table, const std::vector<uint8_t>& bits_,
                              int clrUsed = -1) {
  if (clrUsed < 0) clrUsed = bits <= 8 ? int(table.size() / 4) : 0;
  std::vector<uint8_t> d(54, 0);
  d[0] = 'B', d[1] = 'M';
  SetLe32(d, 2, uint32_t(54 + table.size() + bits_.size()));
  SetLe32(d, 10, uint32_t(54 + table.size()));
  SetLe32(d, 14, 40);
  SetLe32(d, 18, uint32_t(w));
  SetLe32(d, 22, uint32_t(h));
  SetLe16(d, 26, 1);
  SetLe16(d, 28, uint16_t(bits));
  SetLe32(d, 30, compression);
  SetLe32(d, 34, uint32_t(bits_.size()));
  SetLe32(d, 46, uint32_t(clrUsed));
  d.insert(d.end(), table.begin(), table.end());
  d.insert(d.end(), bits_.begin(), bits_.end());
  return d;
}

std::vector<uint8_t> GreyTable(int n) {
  std::vector<uint8_t> t;
  for (int i = 0; i < n; ++i) t.insert(t.end(), {uint8_t(i * 10), uint8_t(i * 10), uint8_t(i * 10), 0});
  return t;
}
uint32_t Grey(int i) { return 0xFF000000u | uint32_t(i * 10) * 0x010101u; }

void ExpectRejected(const std::vector<uint8_t>& file, const std::string& messagePart) {
  try {
    DecodeBmp(file);
    ADD_FAILURE() << "accepted; expected an error naming \"" << messagePart << "\"";
  } catch (const EInvalidGraphic& e) {
    EXPECT_NE(std::string(e.what()).find(messagePart), std::string::npos) << e.what();
  }
}

TEST(BmpRoundTrip, TrueColourKeepsEveryPixel) {
  // Odd widths exercise the row padding.
  for (int w : {1, 2, 3, 5, 17}) {
    const TPixmap opaque = RandomPixmap(w, 7, w, false);
    const TBmpImage rgb = DecodeBmp(EncodeBmp(opaque, 24));
    EXPECT_EQ(rgb.Pixels, opaque) << "24-bit, width " << w;
    EXPECT_FALSE(rgb.HasAlpha);

    const TPixmap alpha = RandomPixmap(w, 7, w + 100, true);
    const TBmpImage argb = DecodeBmp(EncodeBmp(alpha, 32));
    EXPECT_EQ(argb.Pixels, alpha) << "32-bit, width " << w;
    EXPECT_TRUE(argb.HasAlpha);
  }
}

TEST(BmpRoundTrip, TwentyFourBitsDropAlpha) {
  TPixmap px(2, 1);
  px.At(0, 0) = 0x00123456;
  px.At(1, 0) = 0x80ABCDEF;
  const TBmpImage img = DecodeBmp(EncodeBmp(px, 24));
  EXPECT_EQ(img.Pixels.At(0, 0), 0xFF123456u);
  EXPECT_EQ(img.Pixels.At(1, 0), 0xFFABCDEFu);
}

TEST(BmpRoundTrip, ThirtyTwoBitsWithZeroAlphaReadOpaque) {
  TPixmap px(3, 2, 0x00102030);
  const TBmpImage img = DecodeBmp(EncodeBmp(px, 32));
  EXPECT_FALSE(img.HasAlpha);
  EXPECT_EQ(img.Pixels.At(2, 1), 0xFF102030u);
}

TEST(BmpRoundTrip, MonochromeMaskAsThePlatformWritesIt) {
  TPixmap mask(13, 3, 0xFF000000u);
  for (int x = 0; x < 13; x += 3) mask.At(x, 1) = 0xFFFFFFFFu;
  const auto file = EncodeBmp(mask, 1);
  EXPECT_EQ(Le32(file, 10), 62u);  // 2-entry colour table
  EXPECT_EQ(file[28], 1);
  EXPECT_EQ(Le32(file, 2), file.size());
  EXPECT_EQ(Le32(file, 22), 3u);  // positive height: bottom-up
  const TBmpImage img = DecodeBmp(file);
  EXPECT_EQ(img.BitsPerPixel, 1);
  ASSERT_EQ(img.Palette.size(), 2u);
  EXPECT_EQ(img.Palette[0], RGB(0, 0, 0));
  EXPECT_EQ(img.Pixels, mask);
}

TEST(BmpRoundTrip, PalettedPixelsMapToNearestColour) {
  const std::vector<TColorRef> pal = {RGB(0, 0, 0), RGB(250, 0, 0), RGB(0, 0, 250)};
  TPixmap px(3, 1);
  px.At(0, 0) = 0xFF0A0A0A;  // near black
  px.At(1, 0) = 0xFFF00000;  // near red
  px.At(2, 0) = 0xFF0000FF;  // near blue
  const TBmpImage img = DecodeBmp(EncodeBmp(px, 8, pal));
  EXPECT_EQ(img.Palette, pal);
  EXPECT_EQ(img.Pixels.At(0, 0), 0xFF000000u);
  EXPECT_EQ(img.Pixels.At(1, 0), 0xFFFA0000u);
  EXPECT_EQ(img.Pixels.At(2, 0), 0xFF0000FAu);
}

TEST(BmpRoundTrip, EightBitsWithoutPaletteUseTheImagesColours) {
  // 200 distinct colours fit a 256-entry table exactly.
  TPixmap px(20, 10);
  for (int i = 0; i < 200; ++i) px.Data()[i] = 0xFF000000u | uint32_t(i * 997);
  EXPECT_EQ(DecodeBmp(EncodeBmp(px, 8)).Pixels, px);
  // 4 bits: 16 colours fit too.
  TPixmap small(4, 4);
  for (int i = 0; i < 16; ++i) small.Data()[i] = 0xFF000000u | uint32_t(i * 0x111111);
  const TBmpImage img = DecodeBmp(EncodeBmp(small, 4));
  EXPECT_EQ(img.Pixels, small);
  EXPECT_EQ(img.BitsPerPixel, 4);
}

TEST(BmpRoundTrip, SixteenBitsExpandToFullRange) {
  TPixmap px(2, 1);
  px.At(0, 0) = 0xFFFFFFFF;
  px.At(1, 0) = 0xFF000000;
  for (int bits : {15, 16}) {
    const TBmpImage img = DecodeBmp(EncodeBmp(px, bits));
    EXPECT_EQ(img.BitsPerPixel, 16);
    EXPECT_EQ(img.Pixels, px) << bits;
  }
}

TEST(BmpWriter, RefusesWhatItCannotWrite) {
  EXPECT_THROW(EncodeBmp(TPixmap(), 24), EInvalidGraphic);
  EXPECT_THROW(EncodeBmp(TPixmap(1, 1), 12), EInvalidGraphic);
  const std::vector<TColorRef> three(3, RGB(1, 2, 3));
  EXPECT_THROW(EncodeBmp(TPixmap(1, 1), 1, three), EInvalidGraphic);
}

TEST(BmpLimits, HugeSizesAreRefusedFromTheHeaderAlone) {
  // 54 bytes claiming 40000 x 40000: refused on the header, no allocation.
  ExpectRejected(MakeFile(40000, 40000, 24, BI_RGB, {}, {}), "32768 pixels a side");
  // Within the side limit but past 256 MiB of pixels.
  ExpectRejected(MakeFile(32768, 4097, 24, BI_RGB, {}, {}), "256 MiB");
  // Plausible size, no data behind it.
  ExpectRejected(MakeFile(1000, 1000, 24, BI_RGB, {}, {}), "truncated");
}

TEST(BmpLimits, HeaderLiesAreRefused) {
  const auto good = MakeFile(1, 1, 24, BI_RGB, {}, {1, 2, 3, 0});
  EXPECT_EQ(DecodeBmp(good).Pixels.At(0, 0), 0xFF030201u);

  auto f = good;
  SetLe32(f, 10, 5000);  // pixel offset past the end
  ExpectRejected(f, "pixel offset");
  f = good;
  SetLe32(f, 22, 0x80000000u);  // height INT_MIN
  ExpectRejected(f, "height");
  f = good;
  SetLe32(f, 22, 0);
  ExpectRejected(f, "height is 0");
  f = good;
  SetLe32(f, 18, 0);
  ExpectRejected(f, "width");
  f = good;
  SetLe32(f, 30, 7);
  ExpectRejected(f, "compression 7");
  f = good;
  SetLe32(f, 30, BI_RLE8);
  ExpectRejected(f, "RLE8");
  f = good;
  f[0] = 'X';
  ExpectRejected(f, "signature");
  ExpectRejected({'B', 'M', 0, 0}, "too short");
  // A 1-bit file whose table does not fit before the pixels.
  ExpectRejected(MakeFile(1, 1, 1, BI_RGB, GreyTable(1), {0, 0, 0, 0}, 2), "colour table");
}

TEST(BmpReader, IgnoresBytesPastTheFileSize) {
  auto f = MakeFile(1, 1, 24, BI_RGB, {}, {1, 2, 3, 0});
  f.insert(f.end(), 100, 0xEE);
  EXPECT_EQ(DecodeBmp(f).Pixels.At(0, 0), 0xFF030201u);
  EXPECT_EQ(BmpFileLength(f), 58u);
}

TEST(BmpReader, Rle8CodesAndUnwrittenPixels) {
  // 4 x 3, bottom-up rows. Bottom row: run of 2 x index 1, delta (+1, +1)
  // to (3, 1), literal of 1 pixel (index 2, padded), end of line, top row:
  // literal of 3 (index 3, 4, 5, padded), end of bitmap.
  const std::vector<uint8_t> data = {
      2, 1,           // two pixels of index 1 at (0,0), (1,0)
      0, 2, 1, 1,     // delta: x 2 -> 3, y 0 -> 1
      1, 2,           // one pixel of index 2 at (3,1)
      0, 0,           // end of line: (0, 2)
      0, 3, 3, 4, 5, 0,  // literal 3 pixels, padded to a word
      0, 1};          // end of bitmap
  const TBmpImage img = DecodeBmp(MakeFile(4, 3, 8, BI_RLE8, GreyTable(6), data));
  const TPixmap& p = img.Pixels;
  EXPECT_TRUE(img.HasAlpha);
  // Bottom row is picture row 2.
  EXPECT_EQ(p.At(0, 2), Grey(1));
  EXPECT_EQ(p.At(1, 2), Grey(1));
  EXPECT_EQ(p.At(2, 2), 0u);
  EXPECT_EQ(p.At(3, 2), 0u);
  EXPECT_EQ(p.At(0, 1), 0u);
  EXPECT_EQ(p.At(3, 1), Grey(2));
  EXPECT_EQ(p.At(0, 0), Grey(3));
  EXPECT_EQ(p.At(2, 0), Grey(5));
  EXPECT_EQ(p.At(3, 0), 0u);
}

TEST(BmpReader, Rle4Nibbles) {
  // 9 x 1: run of 3 alternating 1,2,1; literal of 3 pixels 3,4,5 (2 bytes,
  // no padding); literal of 3 pixels 5,4,3 again; end of bitmap. The
  // second literal starts on a fresh byte although the first ended mid-byte.
  const std::vector<uint8_t> data = {3, 0x12, 0, 3, 0x34, 0x50, 0, 3, 0x54, 0x30, 0, 1};
  const TBmpImage img = DecodeBmp(MakeFile(9, 1, 4, BI_RLE4, GreyTable(6), data));
  EXPECT_FALSE(img.HasAlpha);
  const int want[] = {1, 2, 1, 3, 4, 5, 5, 4, 3};
  for (int x = 0; x < 9; ++x) EXPECT_EQ(img.Pixels.At(x, 0), Grey(want[x])) << x;
}

TEST(BmpReader, RleOverrunsAreRefused) {
  const auto table = GreyTable(2);
  ExpectRejected(MakeFile(2, 1, 8, BI_RLE8, table, {3, 1, 0, 1}), "end of a row");
  ExpectRejected(MakeFile(2, 1, 8, BI_RLE8, table, {0, 2, 0, 5, 0, 1}), "delta");
  ExpectRejected(MakeFile(2, 1, 8, BI_RLE8, table, {0, 0, 0, 0, 0, 0}), "last row");
  ExpectRejected(MakeFile(2, 1, 8, BI_RLE8, table, {2, 1}), "end-of-bitmap");
  ExpectRejected(MakeFile(2, 1, 8, BI_RLE8, table, {0, 3, 1, 1}), "end-of-bitmap");  // literal cut short
}

TEST(BmpReader, BitFieldsWithAlphaChannel) {
  // v3-style: 40-byte header followed by four masks (alpha bit fields).
  std::vector<uint8_t> masks(16);
  SetLe32(masks, 0, 0x0000FF00);  // red in the second byte
  SetLe32(masks, 4, 0x00FF0000);
  SetLe32(masks, 8, 0xFF000000);
  SetLe32(masks, 12, 0x000000FF);  // alpha in the first byte
  const auto f = MakeFile(1, 1, 32, BI_ALPHABITFIELDS, masks, {0x80, 0x11, 0x22, 0x33});
  const TBmpImage img = DecodeBmp(f);
  EXPECT_TRUE(img.HasAlpha);
  EXPECT_EQ(img.Pixels.At(0, 0), 0x80112233u);
  EXPECT_EQ(img.AlphaMask, 0xFFu);

  SetLe32(masks, 0, 0x00000F0F);  // not contiguous
  ExpectRejected(MakeFile(1, 1, 32, BI_ALPHABITFIELDS, masks, {0, 0, 0, 0}), "contiguous");
}

TEST(BmpReader, SixteenBitMasksScaleToFullRange) {
  // 4-4-4-4: channel value 15 reads as 255, 8 as 136 (8 * 255 / 15).
  std::vector<uint8_t> masks(16);
  SetLe32(masks, 0, 0x0F00);
  SetLe32(masks, 4, 0x00F0);
  SetLe32(masks, 8, 0x000F);
  SetLe32(masks, 12, 0xF000);
  const auto f = MakeFile(1, 1, 16, BI_ALPHABITFIELDS, masks, {0x88, 0xFF, 0, 0});
  EXPECT_EQ(DecodeBmp(f).Pixels.At(0, 0), 0xFFFF8888u);
}

TEST(BmpReader, CoreHeaderWithShortPalette) {
  // 12-byte header, 8 bits, only two 3-byte table entries before the bits.
  std::vector<uint8_t> d = {'B', 'M', 0, 0, 0, 0, 0, 0, 0, 0, 0, 0, 0, 0,
                            12, 0, 0, 0, 2, 0, 1, 0, 1, 0, 8, 0,
                            10, 20, 30, 40, 50, 60,  // table: two BGR triples
                            1, 0, 0, 0};             // pixels 1, 0
  SetLe32(d, 2, uint32_t(d.size()));
  SetLe32(d, 10, 32);
  const TBmpImage img = DecodeBmp(d);
  ASSERT_EQ(img.Palette.size(), 2u);
  EXPECT_EQ(img.Pixels.At(0, 0), 0xFF3C3228u);
  EXPECT_EQ(img.Pixels.At(1, 0), 0xFF1E140Au);
}

}  // namespace
}  // namespace qz
