// The icon chosen for each file type against a small theme and type
// database the tests write: the type's own icon, its generic one, a folder,
// the drawn fallbacks, scaling to 16 and 32 pixels, one index per type.
#include <gtest/gtest.h>
#include <unistd.h>

#include <filesystem>
#include <fstream>

#include "host/graphics/PngWriter.h"
#include "host/graphics/StockIcons.h"
#include "host/shell/TypeIcons.h"
#include "skin/draw/PngImage.h"

namespace qz {
namespace {

namespace fs = std::filesystem;

constexpr uint32_t kRed = 0xFFFF0000, kGreen = 0xFF00FF00, kBlue = 0xFF0000FF, kGrey = 0xFF808080;

class TypeIcons : public ::testing::Test {
 protected:
  void SetUp() override {
    std::string pattern = (fs::temp_directory_path() / "qz-typeicons-XXXXXX").string();
    root_ = ::mkdtemp(pattern.data());
    Write("icons/Test/index.theme",
          "[Icon Theme]\nName=Test\nDirectories=16x16/mimetypes,32x32/mimetypes\n"
          "[16x16/mimetypes]\nSize=16\nType=Fixed\n[32x32/mimetypes]\nSize=32\nType=Fixed\n");
    Icon("16x16/mimetypes/image-png.png", 16, kRed);
    Icon("32x32/mimetypes/image-png.png", 32, kRed);
    Icon("32x32/mimetypes/video-x-generic.png", 32, kGreen);  // only large: scaled for 16
    Icon("32x32/mimetypes/folder.png", 32, kBlue);
    Icon("16x16/mimetypes/text-x-script.png", 16, kGrey);
    Write("icons/Test/16x16/mimetypes/application-x-bad.png", "not a png");
    Write("mime/generic-icons", "text/x-python:text-x-script\n");
    Write("mime/aliases", "image/x-png image/png\n");
    types_ = std::make_unique<TMimeDatabase>(TMimeSettings{{(root_ / "mime").string()}});
    TIconThemeSettings settings;
    settings.BaseDirs = {(root_ / "icons").string()};
    settings.ThemeName = "Test";
    theme_ = std::make_unique<TIconTheme>(settings);
    icons_ = std::make_unique<TTypeIcons>(*theme_, *types_, [](std::span<const uint8_t> bytes) {
      return std::optional<TPixmap>(TqzPngImage::DecodeToPixmap(bytes));
    });
  }
  void TearDown() override { fs::remove_all(root_); }

  void Write(const std::string& relative, const std::string& bytes) const {
    fs::create_directories((root_ / relative).parent_path());
    std::ofstream(root_ / relative, std::ios::binary) << bytes;
  }
  void Icon(const std::string& relative, int size, uint32_t colour) const {
    fs::create_directories((root_ / "icons/Test" / relative).parent_path());
    SavePng(TPixmap(size, size, colour), (root_ / "icons/Test" / relative).string());
  }

  fs::path root_;
  std::unique_ptr<TMimeDatabase> types_;
  std::unique_ptr<TIconTheme> theme_;
  std::unique_ptr<TTypeIcons> icons_;
};

TEST_F(TypeIcons, ChosenPerTypeAtBothSizes) {
  const TPixmap drawnFile16 = DrawStockIcon(TStockIcon::File, 16);
  const TPixmap drawnFile32 = DrawStockIcon(TStockIcon::File, 32);
  const struct {
    std::string type;
    TTypeIconSize size;
    std::optional<uint32_t> colour;  // nothing: the drawn file icon
  } cases[] = {
      {"image/png", TTypeIconSize::Small, kRed},           // its own icon
      {"image/png", TTypeIconSize::Large, kRed},
      {"video/mp4", TTypeIconSize::Small, kGreen},         // media-x-generic, scaled down
      {"video/mp4", TTypeIconSize::Large, kGreen},
      {"inode/directory", TTypeIconSize::Small, kBlue},    // "folder"
      {"text/x-python", TTypeIconSize::Small, kGrey},      // generic-icons
      {"text/x-python", TTypeIconSize::Large, kGrey},      // scaled up
      {"text/plain", TTypeIconSize::Small, std::nullopt},  // nothing in the theme: drawn
      {"text/plain", TTypeIconSize::Large, std::nullopt},
      {"application/x-bad", TTypeIconSize::Small, std::nullopt},  // does not decode: drawn
  };
  for (const auto& c : cases) {
    const auto icon = icons_->IconOfType(c.type, c.size);
    ASSERT_TRUE(icon) << c.type;
    const int pixels = int(c.size);
    EXPECT_EQ(icon->Width(), pixels) << c.type;
    EXPECT_EQ(icon->Height(), pixels) << c.type;
    if (c.colour)
      EXPECT_EQ(icon->At(pixels / 2, pixels / 2), *c.colour) << c.type;
    else
      EXPECT_TRUE(*icon == (pixels == 16 ? drawnFile16 : drawnFile32)) << c.type;
  }
}

TEST_F(TypeIcons, OneIndexPerTypeAndTheDrawnFolder) {
  const int png = icons_->IndexOf("image/png");
  EXPECT_EQ(icons_->IndexOf("image/x-png"), png);  // an alias shares it
  const int text = icons_->IndexOf("text/plain");
  EXPECT_NE(text, png);
  EXPECT_EQ(icons_->IndexOf("text/plain"), text);
  EXPECT_EQ(icons_->Count(), 2);
  EXPECT_EQ(icons_->TypeAt(png), "image/png");
  EXPECT_EQ(icons_->Icon(png, TTypeIconSize::Small), icons_->Icon(png, TTypeIconSize::Small));  // kept
  EXPECT_EQ(icons_->Icon(99, TTypeIconSize::Small), nullptr);
  EXPECT_EQ(icons_->Icon(-1, TTypeIconSize::Large), nullptr);

  fs::remove(root_ / "icons/Test/32x32/mimetypes/folder.png");
  theme_->Reset();
  TTypeIcons fresh(*theme_, *types_, [](std::span<const uint8_t>) { return std::optional<TPixmap>(); });
  EXPECT_TRUE(*fresh.IconOfType("inode/directory", TTypeIconSize::Large) ==
              DrawStockIcon(TStockIcon::Folder, 32));
}

TEST(IconScaling, AveragesWithAlphaAndKeepsTheShape) {
  TPixmap half(4, 2, 0);  // left half opaque red, right half transparent black
  for (int y = 0; y < 2; ++y)
    for (int x = 0; x < 2; ++x) half.At(x, y) = kRed;
  const TPixmap small = ScaledIcon(half, 2);  // 4 × 2 fits as 2 × 1 into 2 × 2
  EXPECT_EQ(small.Width(), 2);
  EXPECT_EQ(small.At(0, 0), kRed);
  EXPECT_EQ(small.At(1, 0), 0u);
  EXPECT_EQ(small.At(0, 1), 0u);               // below the picture
  TPixmap mixed(2, 2, 0);
  mixed.At(0, 0) = kRed;
  EXPECT_EQ(ScaledIcon(mixed, 1).At(0, 0), 0x40FF0000u);  // a quarter covered, still pure red
}

}  // namespace
}  // namespace qz
