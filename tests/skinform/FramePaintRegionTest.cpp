// The window region: the demo dialog's mask composed at several sizes, a
// rectangular mask area, masks that give no rectangles, and the cases that
// take no mask at all.
#include <gtest/gtest.h>

#include "skin/draw/QzComposition.h"
#include "skin/form/FramePaint.h"
#include "tests/skinform/FramePaintTestKit.h"
#include "tests/skins/DemoSkins.h"

namespace qz {
namespace {

struct TRegionCase {
  TqzFrameRects Rects;
  TqzFormRegionInput In;
  TqzMaskStrips Strips;
  TRegionCase(const TqzSkinData& skin, TSize window) {
    In.Size = {{skin.Picture().Width(), skin.Picture().Height()}, window};
    Rects = CalcFrameRects(skin, In.Size);
    In.Skin = &skin;
    In.Rects = &Rects;
    In.HasSkin = true;
    In.HasMask = !skin.Mask().Empty();
  }
  TqzFormRegion Build(bool recreate) { return BuildFormRegion(In, Strips, recreate); }
};

// The mask composed at the window size with the mask area in the place of
// the client rect, by the geometry carried there independently.
TPixmap ComposedMask(const TqzSkinData& skin, TSize window, TRect& maskArea) {
  TqzLatticeFields fields = skin;
  fields.ClientRect = skin.MaskRectArea;
  const TqzSkinGeometry g({0, 0, skin.Picture().Width(), skin.Picture().Height()}, fields);
  const TqzNewGeometry n = CalcNewGeometry(g, TqzResizeMode::NinePart, window.cx, window.cy);
  maskArea = n.NewClRect;
  TBitmap out;
  CreateSkinImage(g, n, false, window.cx, window.cy, skin.Mask(), out);
  return out.Pixels();
}

TEST(FramePaintRegion, DemoDialogMaskAtThreeSizes) {
  const TqzSkinData& skin = *testing::DialogSkin().Skin;
  ASSERT_FALSE(skin.Mask().Empty());
  for (TSize window : {TSize{393, 268}, TSize{450, 301}, TSize{700, 520}}) {
    SCOPED_TRACE(std::to_string(window.cx) + " x " + std::to_string(window.cy));
    TRegionCase c(skin, window);
    const TqzFormRegion region = c.Build(true);
    ASSERT_TRUE(region.Region);
    EXPECT_FALSE(region.Keep);
    TRect area;
    const TPixmap mask = ComposedMask(skin, window, area);
    int wrong = 0;
    for (int y = 0; y < window.cy; ++y)
      for (int x = 0; x < window.cx; ++x) {
        const bool inside = area.Contains({x, y}) || testing::Rgb(mask.At(x, y)) == 0;
        if (region.Region->Contains({x, y}) != inside && ++wrong <= 5)
          ADD_FAILURE() << "pixel (" << x << ", " << y << ")";
      }
    EXPECT_EQ(wrong, 0);
    // The strips kept for hit testing answer as the region does.
    EXPECT_EQ(PointInMask({0, 0}, c.Rects.NewMaskRectArea, c.Strips), region.Region->Contains({0, 0}));
    EXPECT_TRUE(PointInMask({window.cx / 2, 2}, c.Rects.NewMaskRectArea, c.Strips));
  }
}

// A 60 x 50 mask, white but for the mask area (10,15,50,40).
std::unique_ptr<TqzSkinData> MaskAreaSkin(uint32_t areaColor) {
  testing::TTestSkinParts parts = testing::SmallFrameSkin();
  parts.Mask = TPixmap(60, 50, 0xFFFFFFFFu);
  for (int y = 15; y < 40; ++y)
    for (int x = 10; x < 50; ++x) parts.Mask.At(x, y) = areaColor;
  parts.Text += "maskrectarea=10,15,50,40\r\n";
  return testing::LoadTestSkin(parts);
}

TEST(FramePaintRegion, OnlyTheMaskAreaBlackGivesItsTransformedRectangle) {
  const auto skin = MaskAreaSkin(0xFF000000u);
  TRegionCase c(*skin, {130, 90});
  const TqzFormRegion region = c.Build(true);
  ASSERT_TRUE(region.Region);
  EXPECT_EQ(*region.Region, TRegion(TRect{10, 15, 120, 80}));
  // Without recreating, the mask as it is at the picture's size.
  const TqzFormRegion whole = c.Build(false);
  ASSERT_TRUE(whole.Region);
  EXPECT_EQ(*whole.Region, TRegion(TRect{10, 15, 50, 40}));
}

TEST(FramePaintRegion, AMaskWithoutRectanglesKeepsTheOldRegion) {
  const auto skin = MaskAreaSkin(0xFFFFFFFFu);
  TRegionCase c(*skin, {130, 90});
  const TqzFormRegion whole = c.Build(false);
  EXPECT_TRUE(whole.Keep);
  EXPECT_FALSE(whole.Region);
  // Recreated, the mask area alone still shapes the window.
  const TqzFormRegion recreated = c.Build(true);
  ASSERT_TRUE(recreated.Region);
  EXPECT_EQ(*recreated.Region, TRegion(TRect{10, 15, 120, 80}));
}

TEST(FramePaintRegion, CasesWithoutTheMask) {
  const auto skin = MaskAreaSkin(0xFF000000u);
  const TRegion window(TRect{0, 0, 130, 90});
  {
    TRegionCase c(*skin, {130, 90});
    c.In.Skinnable = false;
    const TqzFormRegion r = c.Build(true);
    EXPECT_FALSE(r.Region);
    EXPECT_FALSE(r.Keep);
  }
  {
    TRegionCase c(*skin, {130, 90});
    c.In.FullBorderLayered = true;
    EXPECT_EQ(*c.Build(true).Region, window);
    c.In.LayeredRollUpHeight = 24;
    EXPECT_EQ(*c.Build(true).Region, TRegion(TRect{0, 0, 130, 24}));
    c.In.Borderless = true;  // a borderless form takes no region at all
    const TqzFormRegion r = c.Build(true);
    EXPECT_FALSE(r.Region);
    EXPECT_FALSE(r.Keep);
  }
  {
    TRegionCase c(*skin, {130, 90});
    c.In.MaximizedMDIChild = true;
    EXPECT_EQ(*c.Build(true).Region, window);
  }
  {
    // Strips of a skin that went away no longer shape the hit tests.
    TRegionCase c(*skin, {130, 90});
    c.Build(true);
    ASSERT_FALSE(c.Strips.Top.Empty());
    c.In.HasSkin = false;
    c.In.Skin = nullptr;
    EXPECT_EQ(*c.Build(true).Region, window);
    EXPECT_TRUE(c.Strips.Top.Empty());
    EXPECT_FALSE(PointInMask({0, 0}, {}, c.Strips));
  }
}

}  // namespace
}  // namespace qz
