// Writes a sheet of the effects to QZ_TEST_OUTPUT_DIR/effbmp_sheet.png to be
// looked at; checks only that it was written. Rows: the seven morph kinds at
// Kf 0.5; the six inactive effects; blur radii 2 and 8, an alpha disc drawn
// over a checkerboard 1:1, scaled up 3x and in colour-key mode.
#include <gtest/gtest.h>

#include <cmath>
#include <filesystem>

#include "host/graphics/PngWriter.h"
#include "skin/draw/EffectBmp.h"

namespace qz {
namespace {

constexpr int kCell = 64;

void Gradient(TqzBitmap& b, bool warm) {
  for (int y = 0; y < b.Height(); ++y)
    for (int x = 0; x < b.Width(); ++x)
      b.SetPixel(x, y, warm ? MakeQzColor(255, 4 * x, 3 * y) : MakeQzColor(3 * y, 2 * x, 255));
  // A white frame and a diagonal make geometry changes visible.
  for (int i = 0; i < kCell; ++i) {
    b.SetPixel(i, 0, 0xFFFFFFFF);
    b.SetPixel(0, i, 0xFFFFFFFF);
    b.SetPixel(i, i, 0xFF000000);
  }
}

void Checker(TqzBitmap& b) {
  for (int y = 0; y < b.Height(); ++y)
    for (int x = 0; x < b.Width(); ++x)
      b.SetPixel(x, y, ((x / 8 + y / 8) % 2) ? 0xFFC0C0C0 : 0xFF606060);
}

TEST(EffectSheet, WritesPng) {
  TqzBitmap normal(kCell, kCell), active(kCell, kCell);
  Gradient(normal, false);
  Gradient(active, true);
  TqzBitmap sheet(8 * kCell, 3 * kCell);
  Checker(sheet);

  const TqzEffectBmp other(active);
  for (int kind = mkDefault; kind <= mkPush; ++kind) {
    TqzEffectBmp e(normal);
    e.ApplyMorph(kind, other, 0.5);
    e.Draw(sheet.DC(), kind * kCell, 0);
  }
  for (int effect = ieBrightness; effect <= ieInvert; ++effect) {
    TqzEffectBmp e(normal);
    e.ApplyInactiveEffect(effect);
    e.Draw(sheet.DC(), effect * kCell, kCell);
  }
  for (int i = 0; i < 2; ++i) {
    TqzBitmap blurred;
    blurred.Assign(active);
    BlurBitmap(blurred, i == 0 ? 2 : 8);
    blurred.Draw(sheet, i * kCell, 2 * kCell);
  }
  TqzBitmap disc(kCell / 2, kCell / 2);
  for (int y = 0; y < disc.Height(); ++y)
    for (int x = 0; x < disc.Width(); ++x) {
      const double r = std::hypot(x - 15.5, y - 15.5);
      const int a = r < 12 ? 255 : r < 16 ? int(255 * (16 - r) / 4) : 0;
      disc.SetPixel(x, y, MakeQzColor(255, 255, 0, a));
    }
  disc.CheckAlphaBlend();
  disc.Draw(sheet, 2 * kCell + 16, 2 * kCell + 16);
  disc.Draw(sheet, TRect{3 * kCell, 2 * kCell, 5 * kCell, 3 * kCell}, TRect{0, 0, 32, 32});
  TqzBitmap keyed;
  keyed.Assign(normal);
  keyed.SetTransparentColor(*keyed.PixelPtr(40, 10));  // a band of near colours drops out
  keyed.Draw(sheet, 5 * kCell, 2 * kCell);

  const std::filesystem::path dir = QZ_TEST_OUTPUT_DIR;
  std::filesystem::create_directories(dir);
  const auto file = dir / "effbmp_sheet.png";
  SavePng(sheet.Pixmap(), file.string(), false);
  EXPECT_TRUE(std::filesystem::exists(file));
  // The first row enlarged 2x, to look at the morph edges.
  TqzBitmap zoom(16 * kCell, 2 * kCell);
  sheet.Draw(zoom, zoom.Pixmap().Bounds(), TRect{0, 0, 8 * kCell, kCell});
  SavePng(zoom.Pixmap(), (dir / "effbmp_morphs_2x.png").string(), false);
}

}  // namespace
}  // namespace qz
