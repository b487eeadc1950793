// The image list: enabled drawing, the disabled half-transparent look per
// colour type, and the dialogs' tool images loaded into a list.
#include <gtest/gtest.h>

#include "host/graphics/Canvas.h"
#include "png/PngTestFiles.h"
#include "skin/draw/PngImageList.h"
#include "skin/draw/ToolImages.h"

namespace qz {
namespace {

using namespace qz::test;

// Draws item 0 of a list holding `file`, 2 x 1 pixels, over black.
TPixmap DrawItem(const Bytes& file, bool enabled) {
  TqzPngImageList list(nullptr);
  list.SetPngWidth(2);
  list.SetPngHeight(1);
  list.AddFromBytes(file);
  TPixmap target(2, 1, 0xFF000000);
  TCanvas canvas(&target);
  list.DoDraw(0, canvas, 0, 0, enabled);
  return target;
}

// Channel c of the blend of grey g with alpha a over black.
uint32_t GreyOverBlack(uint32_t g, uint32_t a) {
  uint32_t c = (g * a) >> 8;
  return 0xFF000000u | (c << 16) | (c << 8) | c;
}

TEST(PngImageList, DisabledImagesAreHalfTransparent) {
  // Colour type 6 with alpha 255 and 100: drawn with 128 and 50.
  Bytes rgba = RawRows(8, {200, 200, 200, 255, 200, 200, 200, 100});
  Bytes type6 = Png({Ihdr(2, 1, 8, 6), Chunk("IDAT", Zlib(rgba)), Iend()});
  TPixmap on = DrawItem(type6, true), off = DrawItem(type6, false);
  EXPECT_EQ(on.At(0, 0), 0xFFC8C8C8u);
  EXPECT_EQ(off.At(0, 0), GreyOverBlack(200, 128));
  EXPECT_EQ(off.At(1, 0), GreyOverBlack(200, 50));

  // Grey without tRNS: alpha 127 everywhere.
  Bytes grey = Png({Ihdr(2, 1, 8, 0), Chunk("IDAT", Zlib(RawRows(2, {200, 40}))), Iend()});
  TPixmap g = DrawItem(grey, false);
  EXPECT_EQ(g.At(0, 0), GreyOverBlack(200, 127));
  EXPECT_EQ(g.At(1, 0), GreyOverBlack(40, 127));

  // RGB with a colour key: the keyed pixel stays out, the other gets 128.
  Bytes rgb = Png({Ihdr(2, 1, 8, 2), Chunk("tRNS", {0, 200, 0, 200, 0, 200}),
                   Chunk("IDAT", Zlib(RawRows(6, {200, 200, 200, 100, 100, 100}))), Iend()});
  TPixmap k = DrawItem(rgb, false);
  EXPECT_EQ(k.At(0, 0), 0xFF000000u);
  EXPECT_EQ(k.At(1, 0), GreyOverBlack(100, 128));

  // Palette with one transparent entry: that pixel stays out, the other 127.
  Bytes pal = Png({Ihdr(2, 1, 8, 3), Chunk("PLTE", {200, 200, 200, 60, 60, 60}),
                   Chunk("tRNS", {255, 0}), Chunk("IDAT", Zlib({0, 0, 1})), Iend()});
  TPixmap p = DrawItem(pal, false);
  EXPECT_EQ(p.At(0, 0), GreyOverBlack(200, 127));
  EXPECT_EQ(p.At(1, 0), 0xFF000000u);
  // Enabled, the same palette image keys its transparent entry out too.
  EXPECT_EQ(DrawItem(pal, true).At(1, 0), 0xFF000000u);
}

TEST(PngImageList, BadInputAndIndexesDrawNothing) {
  TqzPngImageList list(nullptr);
  EXPECT_THROW(list.AddFromBytes(Bytes{1, 2, 3}), EInvalidGraphic);
  EXPECT_EQ(list.Count(), 0);
  TPixmap target(4, 4, 0xFF000000);
  TCanvas canvas(&target);
  list.DoDraw(0, canvas, 0, 0, true);
  list.DoDraw(-1, canvas, 0, 0, false);
  EXPECT_EQ(target, TPixmap(4, 4, 0xFF000000));
}

TEST(PngImageList, HoldsTheDialogToolImages) {
  TqzPngImageList list(nullptr);
  for (TqzToolImage image : kToolImages) list.AddFromBytes(EncodeToolImage(image), ToolImageResourceName(image));
  ASSERT_EQ(list.Count(), 5);
  EXPECT_EQ(list.Item(2)->DisplayName(), "QZ_NEWFOLDER_PNG");
  // Disabled, no pixel is more than half opaque: over black no channel
  // exceeds half of 255.
  TPixmap target(16, 16, 0xFF000000);
  TCanvas canvas(&target);
  list.DoDraw(0, canvas, 0, 0, false);
  for (int y = 0; y < 16; ++y)
    for (int x = 0; x < 16; ++x)
      for (int shift = 0; shift < 24; shift += 8) ASSERT_LE((target.At(x, y) >> shift) & 0xFF, 128u);
}

}  // namespace
}  // namespace qz
