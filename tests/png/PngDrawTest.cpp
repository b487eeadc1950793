// Transparency modes, drawing onto pixels and canvases, and the tool images.
#include <gtest/gtest.h>

#include <filesystem>
#include <memory>

#include "host/graphics/Canvas.h"
#include "host/graphics/PngWriter.h"
#include "png/PngTestFiles.h"
#include "skin/draw/PngImage.h"
#include "skin/draw/ToolImages.h"

namespace qz {
namespace {

using namespace qz::test;

std::unique_ptr<TqzPngImage> Load(const Bytes& file) {
  auto image = std::make_unique<TqzPngImage>();
  image->LoadFromBytes(file);
  return image;
}

// A 2 x 1 palette image (indices 0, 1) with optional tRNS.
Bytes PaletteImage(const Bytes& trns) {
  Bytes plte = {255, 0, 0, 0, 0, 255, 0, 0, 0};  // red, blue, black
  Bytes body = Png({Ihdr(2, 1, 8, 3), Chunk("PLTE", plte)});
  if (!trns.empty()) {
    Bytes t = Chunk("tRNS", trns);
    body.insert(body.end(), t.begin(), t.end());
  }
  for (const Bytes& b : {Chunk("IDAT", Zlib({0, 0, 1})), Iend()}) body.insert(body.end(), b.begin(), b.end());
  return body;
}

TEST(PngTransparency, ModeAndColourFollowHeaderAndTrns) {
  using M = TqzPngTransparencyMode;
  Bytes grey = RawRows(2, {10, 20});
  EXPECT_EQ(Load(Png({Ihdr(2, 1, 8, 0), Chunk("IDAT", Zlib(grey)), Iend()}))->TransparencyMode(), M::ptmNone);
  auto keyed = Load(Png({Ihdr(2, 1, 8, 0), Chunk("tRNS", {0, 20}), Chunk("IDAT", Zlib(grey)), Iend()}));
  EXPECT_EQ(keyed->TransparencyMode(), M::ptmBit);
  EXPECT_EQ(keyed->TransparentColor(), TColor(RGB(20, 20, 20)));
  EXPECT_EQ(keyed->ToPixmap().At(1, 0), 0x00141414u);
  EXPECT_EQ(keyed->ToPixmap().At(0, 0), 0xFF0A0A0Au);

  Bytes rgb = RawRows(6, {1, 2, 3, 4, 5, 6});
  auto rgbKeyed =
      Load(Png({Ihdr(2, 1, 8, 2), Chunk("tRNS", {0, 4, 0, 5, 0, 6}), Chunk("IDAT", Zlib(rgb)), Iend()}));
  EXPECT_EQ(rgbKeyed->TransparencyMode(), M::ptmBit);
  EXPECT_EQ(rgbKeyed->TransparentColor(), TColor(RGB(4, 5, 6)));

  EXPECT_EQ(Load(PaletteImage({}))->TransparencyMode(), M::ptmNone);
  auto oneZero = Load(PaletteImage({255, 0}));
  EXPECT_EQ(oneZero->TransparencyMode(), M::ptmBit);
  EXPECT_EQ(oneZero->TransparentColor(), TColor(RGB(0, 0, 255)));
  EXPECT_EQ(Load(PaletteImage({0, 0}))->TransparencyMode(), M::ptmPartial);
  EXPECT_EQ(Load(PaletteImage({255, 255}))->TransparencyMode(), M::ptmPartial);
  // One half-transparent entry needs its alpha: it is not a colour key.
  auto half = Load(PaletteImage({128}));
  EXPECT_EQ(half->TransparencyMode(), M::ptmPartial);
  EXPECT_EQ(half->TransparentColor(), TColor(RGB(0, 0, 0)));
  EXPECT_EQ(half->ToPixmap().At(0, 0), 0x80FF0000u);
}

TEST(PngDrawing, ComposesByTransparencyMode) {
  const uint32_t back = 0xFF646464;  // grey 100
  // Opaque: copied. Colour key: the keyed pixel keeps the destination.
  auto keyed = Load(PaletteImage({255, 0}));
  TPixmap target(2, 1, back);
  keyed->DrawOnPixmap(target, {0, 0, 2, 1});
  EXPECT_EQ(target.At(0, 0), 0xFFFF0000u);
  EXPECT_EQ(target.At(1, 0), back);
  // Alpha: (200 * 128 + 100 * 127) >> 8 = 149 per channel; 0 keeps, 255 copies.
  Bytes ga = RawRows(6, {200, 128, 200, 0, 200, 255});
  auto alpha = Load(Png({Ihdr(3, 1, 8, 4), Chunk("IDAT", Zlib(ga)), Iend()}));
  TPixmap t3(3, 1, back);
  alpha->DrawOnPixmap(t3, {0, 0, 3, 1});
  EXPECT_EQ(t3.At(0, 0), 0xFF959595u);
  EXPECT_EQ(t3.At(1, 0), back);
  EXPECT_EQ(t3.At(2, 0), 0xFFC8C8C8u);
}

TEST(PngDrawing, ScalesNearestAndClips) {
  // 2 x 2 RGB image into 4 x 4: each source pixel covers a 2 x 2 block.
  Bytes rows = RawRows(6, {255, 0, 0, 0, 255, 0, 0, 0, 255, 255, 255, 255});
  auto image = Load(Png({Ihdr(2, 2, 8, 2), Chunk("IDAT", Zlib(rows)), Iend()}));
  TPixmap target(5, 5, 0xFF000000);
  image->DrawOnPixmap(target, {-1, -1, 3, 3});  // partly outside the target
  EXPECT_EQ(target.At(0, 0), 0xFFFF0000u);
  EXPECT_EQ(target.At(1, 0), 0xFF00FF00u);
  EXPECT_EQ(target.At(2, 2), 0xFFFFFFFFu);
  EXPECT_EQ(target.At(3, 3), 0xFF000000u);  // outside dest
  TPixmap untouched = target;
  image->DrawOnPixmap(target, {2, 2, 2, 4});  // empty rectangle
  EXPECT_EQ(target, untouched);
  TqzPngImage empty;
  empty.DrawOnPixmap(target, {0, 0, 5, 5});
  EXPECT_EQ(target, untouched);
}

TEST(PngDrawing, CanvasOriginAndClipApply) {
  Bytes rows = RawRows(3, {9, 9, 9});
  auto image = Load(Png({Ihdr(1, 1, 8, 2), Chunk("IDAT", Zlib(rows)), Iend()}));
  TPixmap target(6, 6, 0xFF000000);
  TCanvas canvas(&target);
  canvas.SetWindowOrg({-1, -1});        // logical (0, 0) is device (1, 1)
  canvas.IntersectClipRect({0, 0, 2, 2});
  canvas.StretchDraw({0, 0, 4, 4}, *image);
  EXPECT_EQ(target.At(1, 1), 0xFF090909u);
  EXPECT_EQ(target.At(2, 2), 0xFF090909u);
  EXPECT_EQ(target.At(3, 3), 0xFF000000u);  // clipped
  EXPECT_EQ(target.At(0, 0), 0xFF000000u);
}

class ToolImageTest : public testing::TestWithParam<TqzToolImage> {};

// Each stored tool image reads as a 16 x 16 RGBA image with partial
// transparency and draws with its alpha->
TEST_P(ToolImageTest, ReadsAsSixteenSquareAlphaImage) {
  TPixmap drawn = DrawToolImage(GetParam());
  auto image = std::make_unique<TqzPngImage>();
  image->LoadFromBytes(EncodeToolImage(GetParam()));
  const TqzPngLayerIHDR* h = image->Header();
  ASSERT_NE(h, nullptr);
  EXPECT_EQ(h->Width(), 16);
  EXPECT_EQ(h->Height(), 16);
  EXPECT_EQ(h->ColorType(), 6);
  EXPECT_EQ(h->BitDepth(), 8);
  EXPECT_EQ(h->InterlaceMethod(), 0);
  EXPECT_EQ(image->TransparencyMode(), TqzPngTransparencyMode::ptmPartial);
  EXPECT_EQ(image->ToPixmap(), drawn);

  int clear = 0, soft = 0, solid = 0;
  for (int y = 0; y < 16; ++y)
    for (int x = 0; x < 16; ++x) {
      uint32_t a = drawn.At(x, y) >> 24;
      (a == 0 ? clear : a == 255 ? solid : soft)++;
    }
  EXPECT_GT(clear, 0);
  EXPECT_GT(soft, 0);
  EXPECT_GT(solid, 0);

  // Drawn over a colour: the blend of every pixel, computed independently.
  const uint32_t back = 0xFF3070B0;
  TPixmap target(16, 16, back);
  TCanvas canvas(&target);
  canvas.Draw(0, 0, *image);
  for (int y = 0; y < 16; ++y)
    for (int x = 0; x < 16; ++x) {
      uint32_t s = drawn.At(x, y), a = s >> 24, expected = 0xFF000000u;
      for (int shift = 0; shift < 24; shift += 8) {
        uint32_t sc = (s >> shift) & 0xFF, dc = (back >> shift) & 0xFF;
        uint32_t c = a == 0 ? dc : a == 255 ? sc : (sc * a + dc * (255 - a)) >> 8;
        expected |= c << shift;
      }
      ASSERT_EQ(target.At(x, y), expected) << x << "," << y;
    }
}

INSTANTIATE_TEST_SUITE_P(Dialogs, ToolImageTest, testing::ValuesIn(kToolImages),
                         [](const auto& image) { return ToolImageResourceName(image.param); });

// A preview sheet to look at: the five images at 8 x over a checkerboard.
// Stretched by a whole factor, each image pixel becomes a block of 8 x 8:
// an opaque one its own colour, a clear one the checkerboard unchanged.
TEST(ToolImages, WritesPreviewSheet) {
  const int scale = 8, cell = 16 * scale + 8;
  auto checker = [](int x, int y) { return ((x / 8 + y / 8) & 1) ? 0xFFFFFFFFu : 0xFFD0D0D0u; };
  TPixmap sheet(cell * 5, cell);
  for (int y = 0; y < sheet.Height(); ++y)
    for (int x = 0; x < sheet.Width(); ++x) sheet.At(x, y) = checker(x, y);
  TCanvas canvas(&sheet);
  for (size_t i = 0; i < kToolImages.size(); ++i) {
    auto image = std::make_unique<TqzPngImage>();
    image->LoadFromBytes(EncodeToolImage(kToolImages[i]));
    const int left = int(i) * cell + 4, top = 4;
    canvas.StretchDraw({left, top, left + 16 * scale, top + 16 * scale}, *image);
    const TPixmap pixels = image->ToPixmap();
    for (int sy = 0; sy < 16; ++sy)
      for (int sx = 0; sx < 16; ++sx) {
        const uint32_t source = pixels.At(sx, sy), alpha = source >> 24;
        if (alpha != 0 && alpha != 255) continue;
        for (int y = top + sy * scale; y < top + (sy + 1) * scale; ++y)
          for (int x = left + sx * scale; x < left + (sx + 1) * scale; ++x)
            ASSERT_EQ(sheet.At(x, y), alpha ? source : checker(x, y))
                << "image " << i << " pixel " << sx << "," << sy;
      }
  }
  std::filesystem::create_directories(QZ_TEST_OUTPUT_DIR);
  const std::string file = QZ_TEST_OUTPUT_DIR "/png_tool_images.png";
  SavePng(sheet, file);
  EXPECT_GT(std::filesystem::file_size(file), 0u);
}

}  // namespace
}  // namespace qz
