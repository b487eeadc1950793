// Every valid image of PngSuite decodes to the pixels libpng gives; every
// corrupt one (x*) is refused with EInvalidGraphic.
#include <gtest/gtest.h>

#include <algorithm>
#include <filesystem>
#include <string>
#include <vector>

#include "host/base/Stream.h"
#include "skin/draw/PngImage.h"

#if QZ_HAVE_LIBPNG
#include "png/LibpngReference.h"
#endif

namespace qz {
namespace {

// Valid or corrupt (x*) images; with a depth, only those of that bit depth
// (the last two characters of the stem).
std::vector<std::string> SuiteFiles(bool corrupt, const std::string& depth = "") {
  std::vector<std::string> names;
  for (const auto& entry : std::filesystem::directory_iterator(QZ_TESTDATA_DIR "/pngsuite")) {
    std::string name = entry.path().filename().string();
    std::string stem = entry.path().stem().string();
    bool depthOk = depth.empty() || stem.ends_with(depth);
    if (entry.path().extension() == ".png" && (name[0] == 'x') == corrupt && depthOk)
      names.push_back(name);
  }
  std::sort(names.begin(), names.end());
  return names;
}

std::vector<uint8_t> SuiteBytes(const std::string& name) {
  return ReadFileBytes(std::string(QZ_TESTDATA_DIR "/pngsuite/") + name);
}

// Largest difference of one channel between two same-sized pixmaps.
int MaxChannelDifference(const TPixmap& a, const TPixmap& b) {
  int worst = 0;
  for (int y = 0; y < a.Height(); ++y)
    for (int x = 0; x < a.Width(); ++x)
      for (int shift = 0; shift < 32; shift += 8) {
        int d = int((a.At(x, y) >> shift) & 0xFF) - int((b.At(x, y) >> shift) & 0xFF);
        worst = std::max(worst, d < 0 ? -d : d);
      }
  return worst;
}

class PngSuiteValid : public testing::TestWithParam<std::string> {};

TEST_P(PngSuiteValid, DecodesLikeLibpng) {
  std::vector<uint8_t> bytes = SuiteBytes(GetParam());
  TqzPngImage image;
  ASSERT_NO_THROW(image.LoadFromBytes(bytes));
  ASSERT_FALSE(image.Empty());
  TPixmap ours = image.ToPixmap();
#if QZ_HAVE_LIBPNG
  auto reference = test::DecodeWithLibpng(bytes);
  ASSERT_TRUE(reference.has_value());
  ASSERT_EQ(ours.Width(), reference->Width());
  ASSERT_EQ(ours.Height(), reference->Height());
  // libpng computes gamma at a different precision; one level is the tolerance.
  int tolerance = image.GammaExponent() == 1.0 ? 0 : 1;
  EXPECT_LE(MaxChannelDifference(ours, *reference), tolerance);
#endif
}

#if QZ_HAVE_LIBPNG
// The low-byte plane of 16-bit images: the full samples equal libpng's.
class PngSuiteDeep : public testing::TestWithParam<std::string> {};

TEST_P(PngSuiteDeep, SamplesMatchLibpng) {
  std::vector<uint8_t> bytes = SuiteBytes(GetParam());
  TqzPngImage image;
  image.LoadFromBytes(bytes);
  const TqzPngLayerIHDR* h = image.Header();
  ASSERT_EQ(h->BitDepth(), 16);
  auto reference = test::DecodeWithLibpng16(bytes);
  ASSERT_TRUE(reference.has_value());
  ASSERT_EQ(reference->size(), size_t(h->Width()) * h->Height() * 3);
  size_t i = 0, mismatches = 0;
  for (int y = 0; y < h->Height(); ++y)
    for (int x = 0; x < h->Width(); ++x)
      for (int c = 0; c < 3; ++c, ++i) {
        int sample = h->BitmapBitCount() == 24
                         ? (h->ScanLine(y)[3 * x + 2 - c] << 8) | h->LowScanLine(y)[3 * x + 2 - c]
                         : h->IndexAt(x, y);
        mismatches += sample != (*reference)[i];
      }
  EXPECT_EQ(mismatches, 0u);
}

INSTANTIATE_TEST_SUITE_P(PngSuite, PngSuiteDeep, testing::ValuesIn(SuiteFiles(false, "16")),
                         [](const auto& file) { return file.param.substr(0, file.param.size() - 4); });
#endif

// What the writer saves reads back to the same pixels and layers.
TEST_P(PngSuiteValid, SavesAndReloads) {
  TqzPngImage image, reloaded;
  image.LoadFromBytes(SuiteBytes(GetParam()));
  TMemoryStream saved;
  image.SaveToStream(saved);
  saved.SetPosition(0);
  reloaded.LoadFromStream(saved);
  EXPECT_EQ(reloaded.ToPixmap(), image.ToPixmap());
  EXPECT_EQ(reloaded.LayerCount(), image.LayerCount());
  EXPECT_EQ(reloaded.TransparencyMode(), image.TransparencyMode());
}

INSTANTIATE_TEST_SUITE_P(PngSuite, PngSuiteValid, testing::ValuesIn(SuiteFiles(false)),
                         [](const auto& file) { return file.param.substr(0, file.param.size() - 4); });

class PngSuiteCorrupt : public testing::TestWithParam<std::string> {};

TEST_P(PngSuiteCorrupt, IsRefused) {
  std::vector<uint8_t> bytes = SuiteBytes(GetParam());
  TqzPngImage image;
  EXPECT_THROW(image.LoadFromBytes(bytes), EInvalidGraphic);
  EXPECT_TRUE(image.Empty());
}

INSTANTIATE_TEST_SUITE_P(PngSuite, PngSuiteCorrupt, testing::ValuesIn(SuiteFiles(true)),
                         [](const auto& file) { return file.param.substr(0, file.param.size() - 4); });

}  // namespace
}  // namespace qz
