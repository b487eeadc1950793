// The drawn stand-in icons: the right colours where the shapes are,
// transparency around them, antialiased edges; and the names they stand for.
#include <gtest/gtest.h>

#include <cstdlib>
#include <filesystem>

#include "host/graphics/PngWriter.h"
#include "host/graphics/StockIcons.h"

namespace qz {
namespace {

bool Near(uint32_t pixel, uint32_t expected) {
  for (const int shift : {24, 16, 8, 0})
    if (std::abs(int((pixel >> shift) & 0xFF) - int((expected >> shift) & 0xFF)) > 40) return false;
  return true;
}

TEST(StockIcons, ShapesHaveTheirColoursAndTransparentCorners) {
  constexpr uint32_t kYellow = 0xFFF8D32C, kInk = 0xFF2E2E2E, kRed = 0xFFE01B24,
                     kBlue = 0xFF3584E4, kWhite = 0xFFFFFFFF, kFolder = 0xFFF2B540;
  struct Probe {
    TStockIcon icon;
    int x, y;  // in the 32-pixel design; halved for 16 pixels
    uint32_t expected;
  } probes[] = {
      {TStockIcon::Warning, 8, 24, kYellow},     {TStockIcon::Warning, 16, 14, kInk},
      {TStockIcon::Warning, 16, 22, kInk},       {TStockIcon::Error, 16, 6, kRed},
      {TStockIcon::Error, 16, 16, kWhite},       {TStockIcon::Information, 6, 16, kBlue},
      {TStockIcon::Information, 16, 18, kWhite}, {TStockIcon::Question, 6, 16, kBlue},
      {TStockIcon::Question, 16, 22, kWhite},    {TStockIcon::Folder, 16, 20, kFolder},
      {TStockIcon::File, 14, 25, kWhite},
  };
  for (const int size : {32, 16}) {
    for (const Probe& p : probes) {
      const TPixmap icon = DrawStockIcon(p.icon, size);
      const int x = p.x * size / 32, y = p.y * size / 32;
      EXPECT_TRUE(Near(icon.At(x, y), p.expected))
          << "icon " << int(p.icon) << " at " << size << ": (" << x << "," << y << ") = " << std::hex
          << icon.At(x, y);
    }
    for (int i = 0; i <= int(TStockIcon::File); ++i) {
      const TPixmap icon = DrawStockIcon(TStockIcon(i), size);
      ASSERT_EQ(icon.Width(), size);
      ASSERT_EQ(icon.Height(), size);
      for (const auto& [x, y] : {std::pair{0, 0}, {size - 1, 0}, {0, size - 1}, {size - 1, size - 1}})
        EXPECT_EQ(PixelAlpha(icon.At(x, y)), 0) << "icon " << i << " at " << size;
      // Antialiased: some edge pixels are partly covered.
      int partial = 0;
      for (int y = 0; y < size; ++y)
        for (int x = 0; x < size; ++x) partial += PixelAlpha(icon.At(x, y)) % 255 != 0;
      EXPECT_GT(partial, size / 4) << "icon " << i << " at " << size;
    }
  }
  EXPECT_TRUE(DrawStockIcon(TStockIcon::Error, 0).Empty());
  EXPECT_TRUE(DrawStockIcon(TStockIcon::Error, kMaxStockIconSize + 1).Empty());

  // A sheet of every icon at both sizes, to look at.
  TPixmap sheet(6 * 36, 52, 0);
  for (int i = 0; i <= int(TStockIcon::File); ++i)
    for (const int size : {32, 16}) {
      const TPixmap icon = DrawStockIcon(TStockIcon(i), size);
      const int top = size == 32 ? 0 : 34;
      for (int y = 0; y < size; ++y)
        for (int x = 0; x < size; ++x) sheet.At(i * 36 + x, top + y) = icon.At(x, y);
    }
  std::filesystem::create_directories(QZ_TEST_OUTPUT_DIR);
  SavePng(sheet, std::string(QZ_TEST_OUTPUT_DIR) + "/stock-icons.png");
}

TEST(StockIcons, NamesTheyStandFor) {
  const std::pair<const char*, std::optional<TStockIcon>> names[] = {
      {"dialog-warning", TStockIcon::Warning},    {"dialog-error", TStockIcon::Error},
      {"dialog-information", TStockIcon::Information}, {"dialog-question", TStockIcon::Question},
      {"folder", TStockIcon::Folder},              {"folder-documents", TStockIcon::Folder},
      {"inode-directory", TStockIcon::Folder},     {"text-x-generic", TStockIcon::File},
      {"application-octet-stream", TStockIcon::File}, {"text-plain", std::nullopt},
      {"folderish", std::nullopt},                 {"", std::nullopt},
  };
  for (const auto& [name, expected] : names) EXPECT_EQ(StockIconForName(name), expected) << name;
}

}  // namespace
}  // namespace qz
