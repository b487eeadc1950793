// The reader's rules: header limits, image data that does not fit the image,
// chunk framing, CRCs, stream position, and the row filters.
#include <gtest/gtest.h>

#include <random>

#include "host/base/Stream.h"
#include "png/PngTestFiles.h"
#include "skin/draw/PngImage.h"
#include "skin/draw/PngUnfilter.h"

namespace qz {
namespace {

using namespace qz::test;

// A 2 x 2 RGB image with four distinct pixels.
const Bytes kRgbPixels = {255, 0, 0, 0, 255, 0, 0, 0, 255, 10, 20, 30};
Bytes RgbIdat(const Bytes& raw = RawRows(6, kRgbPixels)) { return Chunk("IDAT", Zlib(raw)); }

void ExpectRefused(const Bytes& file, const std::string& fragment) {
  TqzPngImage image;
  try {
    image.LoadFromBytes(file);
    ADD_FAILURE() << "accepted; expected an error about: " << fragment;
  } catch (const EInvalidGraphic& e) {
    EXPECT_NE(std::string(e.what()).find(fragment), std::string::npos) << e.what();
  }
  EXPECT_TRUE(image.Empty());
  EXPECT_EQ(image.LayerCount(), 0);
}

TEST(PngReader, ReadsAndKeepsChunkOrder) {
  Bytes text = {'T', 'i', 't', 'l', 'e', 0, 'h', 'i'};
  TqzPngImage image;
  image.LoadFromBytes(Png({Ihdr(2, 2, 8, 2), Chunk("tEXt", text), Chunk("vpAg", {1, 2, 3}),
                           RgbIdat(), Iend()}));
  ASSERT_EQ(image.LayerCount(), 5);
  EXPECT_EQ(image.Layer(1).ClassName(), std::string("TqzPngLayertEXt"));
  EXPECT_EQ(dynamic_cast<TqzPngLayertEXt&>(image.Layer(1)).Text, "hi");
  EXPECT_EQ(image.Layer(2).ClassName(), std::string("TqzPngLayer"));  // unknown, kept raw
  EXPECT_EQ(image.Layer(2).Data(), (Bytes{1, 2, 3}));
  TPixmap p = image.ToPixmap();
  EXPECT_EQ(p.At(0, 0), 0xFFFF0000u);
  EXPECT_EQ(p.At(1, 1), 0xFF0A141Eu);
}

TEST(PngReader, RefusesBadHeaders) {
  ExpectRefused(Png({Ihdr(65536, 1, 8, 2), RgbIdat(), Iend()}), "out of range");
  ExpectRefused(Png({Ihdr(0, 2, 8, 2), RgbIdat(), Iend()}), "out of range");
  ExpectRefused(Png({Ihdr(2, 2, 3, 2), RgbIdat(), Iend()}), "bit depth 3");
  ExpectRefused(Png({Ihdr(2, 2, 8, 5), RgbIdat(), Iend()}), "colour type 5");
  ExpectRefused(Png({Ihdr(2, 2, 8, 2, 2), RgbIdat(), Iend()}), "interlace");
  ExpectRefused(Png({RgbIdat(), Ihdr(2, 2, 8, 2), Iend()}), "first chunk is IDAT");
  Bytes bad = Png({Ihdr(2, 2, 8, 2), RgbIdat(), Iend()});
  bad[1] = 'Q';
  ExpectRefused(bad, "signature");
}

TEST(PngReader, RefusesImagesAboveTheMemoryLimit) {
  size_t old = TqzPngLayerIHDR::MaxImageBytes();
  TqzPngLayerIHDR::SetMaxImageBytes(1000);
  ExpectRefused(Png({Ihdr(20, 20, 8, 6), RgbIdat(), Iend()}), "memory");  // 1600 bytes
  TqzPngLayerIHDR::SetMaxImageBytes(old);
  // The largest legal header needs 32 GiB: refused before any allocation.
  ExpectRefused(Png({Ihdr(65535, 65535, 16, 6), RgbIdat(), Iend()}), "memory");
}

TEST(PngReader, RefusesImageDataOfTheWrongLength) {
  Bytes rows = RawRows(6, kRgbPixels);
  Bytes shortRows(rows.begin(), rows.end() - 1);
  ExpectRefused(Png({Ihdr(2, 2, 8, 2), RgbIdat(shortRows), Iend()}), "shorter");
  Bytes longRows = rows;
  longRows.push_back(0);
  ExpectRefused(Png({Ihdr(2, 2, 8, 2), RgbIdat(longRows), Iend()}), "longer");
  // A zlib stream cut off in the middle, with no further IDAT.
  Bytes z = Zlib(rows);
  z.resize(z.size() / 2);
  ExpectRefused(Png({Ihdr(2, 2, 8, 2), Chunk("IDAT", z), Iend()}), "ends before");
  ExpectRefused(Png({Ihdr(2, 2, 8, 2), Iend()}), "no image data");
  Bytes badFilter = rows;
  badFilter[0] = 5;
  ExpectRefused(Png({Ihdr(2, 2, 8, 2), RgbIdat(badFilter), Iend()}), "filter type 5");
}

TEST(PngReader, RefusesBrokenFraming) {
  Bytes file = Png({Ihdr(2, 2, 8, 2), RgbIdat(), Iend()});
  // IDAT length pointing far past the end of the stream.
  Bytes huge = file;
  size_t idat = 8 + 25;
  huge[idat] = 0x10;
  ExpectRefused(huge, "past the end");
  huge[idat] = 0x90;  // above 2^31 - 1
  ExpectRefused(huge, "out of range");
  // Missing IEND: the stream ends inside the chunk loop.
  ExpectRefused(Bytes(file.begin(), file.end() - 12), "past the end");
  Bytes crc = file;
  crc[idat + 9] ^= 1;  // a byte of the IDAT data
  ExpectRefused(crc, "CRC error in chunk IDAT");
  ExpectRefused(Png({Ihdr(2, 2, 8, 2), Chunk("ABCD", {}), RgbIdat(), Iend()}), "unknown critical chunk");
}

TEST(PngReader, DropsAncillaryChunksWithBadCrc) {
  Bytes gama = Chunk("gAMA", {0, 0, 0xB1, 0x8F});
  gama.back() ^= 1;
  TqzPngImage image;
  image.LoadFromBytes(Png({Ihdr(2, 2, 8, 2), gama, RgbIdat(), Iend()}));
  EXPECT_EQ(image.FindLayer<TqzPngLayergAMA>(), nullptr);
  EXPECT_EQ(image.LayerCount(), 3);
}

TEST(PngReader, ImageDataSpansSeveralChunks) {
  Bytes z = Zlib(RawRows(6, kRgbPixels));
  Bytes a(z.begin(), z.begin() + 3), b(z.begin() + 3, z.end());
  TqzPngImage image;
  // An empty IDAT in between, and a stray IDAT after another chunk (skipped).
  image.LoadFromBytes(Png({Ihdr(2, 2, 8, 2), Chunk("IDAT", a), Chunk("IDAT", {}), Chunk("IDAT", b),
                           Chunk("tEXt", {'k', 0}), Chunk("IDAT", {1, 2, 3}), Iend()}));
  EXPECT_EQ(image.ToPixmap().At(1, 0), 0xFF00FF00u);
  int idats = 0;
  for (int i = 0; i < image.LayerCount(); ++i) idats += image.Layer(i).ChunkType() == "IDAT";
  EXPECT_EQ(idats, 1);
}

TEST(PngReader, StreamPositionAfterIendOrUnchangedOnFailure) {
  Bytes file = Png({Ihdr(2, 2, 8, 2), RgbIdat(), Iend()});
  Bytes withTail = {7, 7};
  withTail.insert(withTail.end(), file.begin(), file.end());
  withTail.insert(withTail.end(), {1, 2, 3});
  TMemoryStream stream(withTail);
  stream.SetPosition(2);
  TqzPngImage image;
  image.LoadFromStream(stream);
  EXPECT_EQ(stream.Position(), int64_t(2 + file.size()));
  stream.SetPosition(0);
  EXPECT_THROW(image.LoadFromStream(stream), EInvalidGraphic);
  EXPECT_EQ(stream.Position(), 0);
  // A non-memory stream goes through a copy; same positions.
  TBytesStream bytes(withTail.data(), withTail.size());
  bytes.SetPosition(2);
  image.LoadFromStream(bytes);
  EXPECT_EQ(bytes.Position(), int64_t(2 + file.size()));
}

TEST(PngReader, SaveAndReloadKeepsPixelsAndChunks) {
  TqzPngImage image;
  image.LoadFromBytes(Png({Ihdr(2, 2, 8, 2), Chunk("tIME", {7, 234, 12, 8, 21, 30, 5}),
                           Chunk("pHYs", {0, 0, 11, 19, 0, 0, 11, 19, 1}), RgbIdat(), Iend()}));
  TMemoryStream saved;
  image.SaveToStream(saved);
  TqzPngImage copy;
  copy.Assign(image);
  EXPECT_EQ(copy.ToPixmap(), image.ToPixmap());
  ASSERT_NE(copy.FindLayer<TqzPngLayertIME>(), nullptr);
  EXPECT_EQ(copy.FindLayer<TqzPngLayertIME>()->Year, 2026);
  EXPECT_EQ(copy.FindLayer<TqzPngLayerpHYs>()->PixelsPerUnitX, 2835u);
  TqzPngImage empty;
  EXPECT_THROW(empty.SaveToStream(saved), EWriteError);
}

// Filtering then unfiltering gives the row back, for every filter and pixel
// size (this runs the packed-integer paths for 3 and 4 bytes per pixel).
TEST(PngUnfilter, UndoesEveryFilterForEveryPixelSize) {
  std::mt19937 rng(7);
  const size_t length = 96;  // a multiple of every pixel size below
  for (int bpp : {1, 2, 3, 4, 6, 8}) {
    Bytes prev(length), row(length), filtered(length);
    for (auto& b : prev) b = uint8_t(rng());
    for (auto& b : row) b = uint8_t(rng());
    for (int filter = 0; filter <= 4; ++filter)
      for (bool first : {false, true}) {
        const uint8_t* above = first ? nullptr : prev.data();
        PngFilterRow(filter, row.data(), above, filtered.data(), length, bpp);
        ASSERT_TRUE(PngUnfilterRow(filter, filtered.data(), above, length, bpp));
        EXPECT_EQ(filtered, row) << "filter " << filter << ", bpp " << bpp << ", first " << first;
      }
  }
  Bytes row(4);
  EXPECT_FALSE(PngUnfilterRow(5, row.data(), nullptr, row.size(), 1));
}

}  // namespace
}  // namespace qz
