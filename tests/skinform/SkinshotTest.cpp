// The skinshot tool's rendering on the demo skins: a few pixels of the hit
// map against the legend and of the look against the skin's own picture.
#include <gtest/gtest.h>

#include "tests/skins/DemoSkins.h"
#include "tools/skinshot/SkinShot.h"

namespace qz {
namespace {

using skinshot::HitColor;
using skinshot::RenderSkinShot;
using skinshot::TShotMode;
using skinshot::TShotOptions;

// dialog.ini at 600 x 400: border width 5, client (5,30,595,395), hit-test
// points 10 pixels in from each corner.
TEST(Skinshot, HitMapOfTheDialogSkinFollowsTheLegend) {
  TShotOptions o;
  o.Size = {600, 400};
  o.HitMap = true;
  const TPixmap map = RenderSkinShot(*testing::DialogSkin().Skin, o);
  ASSERT_EQ(map.Width(), 600);
  ASSERT_EQ(map.Height(), 400);
  EXPECT_EQ(map.At(300, 2), 0xFF00FF00u);    // top
  EXPECT_EQ(map.At(300, 200), 0xFFFFFFFFu);  // client
  EXPECT_EQ(map.At(300, 15), 0xFFFF00FFu);   // caption, no caption objects yet
  EXPECT_EQ(map.At(3, 200), 0xFFFF0000u);    // left
  EXPECT_EQ(map.At(597, 200), 0xFF800000u);  // right
  EXPECT_EQ(map.At(596, 8), 0xFF00FFFFu);    // top-right
  EXPECT_EQ(map.At(595, 395), 0xFF8000FFu);  // bottom-right
  EXPECT_EQ(map.At(300, 397), 0xFF008000u);  // bottom

  o.RolledUp = true;  // rolled up: no client, no sizing
  const TPixmap rolled = RenderSkinShot(*testing::DialogSkin().Skin, o);
  EXPECT_EQ(rolled.At(300, 2), HitColor(HTOBJECT));
  EXPECT_EQ(rolled.At(300, 200), HitColor(HTOBJECT));
}

// skin.ini at its picture size: the composed look is the picture itself
// inside the rounded shape; the cut-off corner is outside.
TEST(Skinshot, LookOfTheMainSkinIsItsPictureInsideTheShape) {
  const TqzSkinData& skin = *testing::MainSkin().Skin;
  TShotOptions o;
  o.Size = {820, 602};
  const TPixmap look = RenderSkinShot(skin, o);
  const TPixmap& picture = skin.Picture().Pixels();
  for (TPoint p : {TPoint{300, 20}, TPoint{601, 401}, TPoint{10, 300}, TPoint{819, 300}})
    EXPECT_EQ(look.At(p.X, p.Y), picture.At(p.X, p.Y) | 0xFF000000u) << p.X << "," << p.Y;
  EXPECT_EQ(look.At(0, 0), skinshot::kCheckLight);

  o.HitMap = true;
  o.Mode = TShotMode::Client;
  const TPixmap map = RenderSkinShot(skin, o);
  EXPECT_EQ(map.At(0, 0), skinshot::kOutsideHit);
  EXPECT_EQ(map.At(300, 20), HitColor(HTCLIENT));
  // Border width 0: only points outside the shape are near an edge, so the
  // sizing codes stay under the black of the outside.
  EXPECT_EQ(map.At(819, 300), HitColor(HTCLIENT));
  EXPECT_EQ(map.At(819, 601), skinshot::kOutsideHit);
}

}  // namespace
}  // namespace qz
