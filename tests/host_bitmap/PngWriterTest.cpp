// The PNG writer against libpng's reader.
#include <gtest/gtest.h>

#include <random>

#include "host/base/Stream.h"
#include "host/graphics/PngWriter.h"
#include "tests/host_bitmap/ReferencePng.h"

namespace qz {
namespace {

TPixmap RandomPixmap(int w, int h, uint32_t seed) {
  std::mt19937 rng(seed);
  TPixmap px(w, h);
  for (int i = 0; i < w * h; ++i) px.Data()[i] = rng();
  return px;
}

// Smooth content makes every filter type win somewhere.
TPixmap Gradient(int w, int h) {
  TPixmap px(w, h);
  for (int y = 0; y < h; ++y)
    for (int x = 0; x < w; ++x)
      px.At(x, y) = (uint32_t(255 - x % 256) << 24) | (uint32_t(x * 3 % 256) << 16) |
                    (uint32_t(y * 5 % 256) << 8) | uint32_t((x + y) % 256);
  return px;
}

TEST(PngWriter, RgbaRoundTripsThroughLibpng) {
  for (auto [w, h] : {std::pair{1, 1}, {3, 2}, {64, 17}, {301, 5}}) {
    for (const TPixmap& px : {RandomPixmap(w, h, w * 31 + h), Gradient(w, h)}) {
      int type = -1, depth = -1;
      const TPixmap back = test::DecodePngWithLibpng(EncodePng(px), &type, &depth);
      EXPECT_EQ(type, PNG_COLOR_TYPE_RGBA);
      EXPECT_EQ(depth, 8);
      EXPECT_EQ(back, px) << w << " x " << h;
    }
  }
}

TEST(PngWriter, RgbDropsAlpha) {
  TPixmap px = RandomPixmap(9, 4, 7);
  int type = -1;
  const TPixmap back = test::DecodePngWithLibpng(EncodePng(px, false), &type);
  EXPECT_EQ(type, PNG_COLOR_TYPE_RGB);
  for (uint32_t& p : std::span(px.Data(), 36)) p |= 0xFF000000u;
  EXPECT_EQ(back, px);
}

TEST(PngWriter, SavesToFileAndRefusesEmptyImages) {
  const TPixmap px = Gradient(40, 30);
  const std::string path = test::TestOutputPath("png-writer-gradient.png");
  SavePng(px, path);
  EXPECT_EQ(test::DecodePngWithLibpng(ReadFileBytes(path)), px);
  EXPECT_THROW(EncodePng(TPixmap()), EInvalidGraphic);
  EXPECT_THROW(SavePng(px, "/nonexistent-dir/x.png"), Exception);
}

}  // namespace
}  // namespace qz
