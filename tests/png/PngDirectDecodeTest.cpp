// Decoding straight to pixels (DecodeToPixmap) and ToPixmap into a caller's
// pixmap give exactly what LoadFromBytes + ToPixmap give, and refuse the
// same streams.
#include <gtest/gtest.h>

#include <algorithm>
#include <filesystem>
#include <string>
#include <vector>

#include "host/base/Stream.h"
#include "png/PngTestFiles.h"
#include "skin/draw/PngImage.h"

namespace qz {
namespace {

using namespace qz::test;

std::vector<std::string> SuiteNames(bool corrupt) {
  std::vector<std::string> names;
  for (const auto& entry : std::filesystem::directory_iterator(QZ_TESTDATA_DIR "/pngsuite")) {
    const std::string name = entry.path().filename().string();
    if (entry.path().extension() == ".png" && (name[0] == 'x') == corrupt) names.push_back(name);
  }
  std::sort(names.begin(), names.end());
  return names;
}

Bytes SuiteFile(const std::string& name) {
  return ReadFileBytes(std::string(QZ_TESTDATA_DIR "/pngsuite/") + name);
}

TPixmap KeptImagePixels(const Bytes& bytes) {
  TqzPngImage image;
  image.LoadFromBytes(bytes);
  return image.ToPixmap();
}

// Every colour type, bit depth, interlaced or not, with tRNS, gamma and
// odd sizes: PngSuite's valid images.
TEST(PngDirectDecode, GivesTheKeptImagePixelsForEverySuiteImage) {
  const auto names = SuiteNames(false);
  ASSERT_GT(names.size(), 100u);
  for (const std::string& name : names) {
    const Bytes bytes = SuiteFile(name);
    const TPixmap expected = KeptImagePixels(bytes);
    EXPECT_EQ(TqzPngImage::DecodeToPixmap(bytes), expected) << name;
  }
}

TEST(PngDirectDecode, RefusesWhatTheReaderRefuses) {
  for (const std::string& name : SuiteNames(true))
    EXPECT_THROW(TqzPngImage::DecodeToPixmap(SuiteFile(name)), EInvalidGraphic) << name;
  const Bytes good = SuiteFile("basn2c08.png");
  const Bytes truncated(good.begin(), good.begin() + good.size() / 2);
  EXPECT_THROW(TqzPngImage::DecodeToPixmap(truncated), EInvalidGraphic);
}

// Chunks that change the pixels may follow the image data; the rows
// converted early must not keep the earlier state.
TEST(PngDirectDecode, GammaOrTrnsAfterTheImageDataStillApply) {
  const Bytes rgb = {255, 0, 0, 0, 128, 0, 0, 0, 255, 10, 20, 30};
  const Bytes idat = Chunk("IDAT", Zlib(RawRows(6, rgb)));
  Bytes gama;
  PutU32(gama, 100000);  // file gamma 1.0: a strong correction on a 2.2 display
  const Bytes key = {0, 10, 0, 20, 0, 30};

  const Bytes plain = Png({Ihdr(2, 2, 8, 2), idat, Iend()});
  const Bytes lateGamma = Png({Ihdr(2, 2, 8, 2), idat, Chunk("gAMA", gama), Iend()});
  const Bytes lateKey = Png({Ihdr(2, 2, 8, 2), idat, Chunk("tRNS", key), Iend()});

  const TPixmap before = TqzPngImage::DecodeToPixmap(plain);
  const TPixmap gammaPixels = TqzPngImage::DecodeToPixmap(lateGamma);
  const TPixmap keyPixels = TqzPngImage::DecodeToPixmap(lateKey);
  EXPECT_EQ(gammaPixels, KeptImagePixels(lateGamma));
  EXPECT_NE(gammaPixels.At(1, 0), before.At(1, 0));
  EXPECT_EQ(keyPixels, KeptImagePixels(lateKey));
  EXPECT_EQ(keyPixels.At(1, 1), 0x000A141Eu);  // the keyed pixel is transparent
  EXPECT_EQ(keyPixels.At(0, 0), 0xFFFF0000u);
}

TEST(PngToPixmap, FillsACallersPixmapOfAnotherSize) {
  TqzPngImage image;
  image.LoadFromBytes(SuiteFile("basn6a08.png"));
  TPixmap reused(100, 3, 0x12345678u);
  image.ToPixmap(reused);
  EXPECT_EQ(reused, image.ToPixmap());

  TqzPngImage empty;
  empty.ToPixmap(reused);
  EXPECT_TRUE(reused.Empty());
}

}  // namespace
}  // namespace qz
