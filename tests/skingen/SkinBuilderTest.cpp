#include <gtest/gtest.h>

#include <filesystem>

#include "host/graphics/BmpCodec.h"
#include "host/base/Stream.h"
#include "skin/data/SkinIni.h"
#include "skins/painter/Paint.h"
#include "skins/painter/SkinBuilder.h"

namespace qz::skingen {
namespace {

TEST(Atlas, PlacesWithoutOverlapAndRespectsReservations) {
  TAtlas atlas(100, 60, 2);
  atlas.Reserve(TRect{0, 0, 30, 10});
  std::vector<TRect> placed;
  for (int i = 0; i < 8; ++i) placed.push_back(atlas.Place(20, 12));
  for (size_t i = 0; i < placed.size(); ++i) {
    TRect dummy;
    EXPECT_FALSE(IntersectRect(dummy, placed[i], TRect{0, 0, 30, 10})) << i;
    EXPECT_LE(placed[i].Right, 100);
    EXPECT_LE(placed[i].Bottom, 60);
    for (size_t j = 0; j < i; ++j) EXPECT_FALSE(IntersectRect(dummy, placed[i], placed[j])) << i << "," << j;
  }
  EXPECT_THROW(
      {
        for (int i = 0; i < 100; ++i) atlas.Place(20, 12);
      },
      std::runtime_error);
}

TEST(SkinBuilder, DescriptionTextLeadsWithTheChosenSectionAndListsEverything) {
  TSkinBuilder skin("demo.ini", 40, 30, Hex(0x202020));
  auto& button = skin.Control<TqzDataSkinButtonControl>("button");
  button.SkinRect = {1, 2, 11, 12};
  skin.Control<TqzDataSkinTrackBarControl>("trackbar");
  skin.Object<TqzDataSkinStdButton>("closebutton").Command = TqzStdCommand::Close;
  skin.Area("pagearea", TRect{3, 4, 30, 25});
  skin.AddActivePicture("controls.bmp", 8, 8, 0);
  skin.LeadWith("trackbar");

  std::string text = skin.DescriptionText();
  EXPECT_EQ(text.rfind("[trackbar]\r\n", 0), 0u) << text.substr(0, 40);
  TqzIniFile ini(text);
  TqzIniReader controls(ini, "SKINCONTROLS");
  EXPECT_EQ(controls.Integer("count", 0), 2);
  EXPECT_EQ(controls.String("0"), "button:button");
  EXPECT_EQ(controls.String("1"), "trackbar:trackbar");
  EXPECT_EQ(TqzIniReader(ini, "SKINOBJECTS").String("0"), "closebutton:stdbutton");
  EXPECT_EQ(TqzIniReader(ini, "SKINAREAS").String("0"), "pagearea:3,4,30,25;0,0,0,0,0");
  EXPECT_EQ(TqzIniReader(ini, "button").String("skinrect"), "1,2,11,12");
  EXPECT_EQ(TqzIniReader(ini, "closebutton").String("command"), "cmclose");
  EXPECT_EQ(TqzIniReader(ini, "PICTURES").String("0"), "controls.bmp");  // list items are "0", "1", ...
  EXPECT_EQ(TqzIniReader(ini, "PICTURES").String("mask"), "");  // no mask painted
}

TEST(SkinBuilder, SavesOpaquePicturesAndAOneBitMask) {
  TSkinBuilder skin("demo.ini", 16, 8, Argb(10, 20, 30, 0));  // alpha is dropped on save
  skin.Mask().At(0, 0) = Hex(0xFFFFFF);                       // one pixel outside the window
  skin.AddActivePicture("a.bmp", 4, 4, Hex(0x112233));
  auto dir = std::filesystem::temp_directory_path() / "qz_skinbuilder_test";
  std::filesystem::remove_all(dir);
  skin.Save(dir);

  TBmpImage picture = DecodeBmp(ReadFileBytes((dir / "demo.bmp").string()));
  EXPECT_EQ(picture.BitsPerPixel, 24);
  EXPECT_EQ(picture.Pixels.At(3, 3), Argb(10, 20, 30, 255));
  TBmpImage mask = DecodeBmp(ReadFileBytes((dir / "demomask.bmp").string()));
  EXPECT_EQ(mask.BitsPerPixel, 1);
  EXPECT_EQ(mask.Pixels.At(0, 0) & 0xFFFFFF, 0xFFFFFFu);
  EXPECT_EQ(mask.Pixels.At(1, 0) & 0xFFFFFF, 0u);
  EXPECT_TRUE(std::filesystem::exists(dir / "a.bmp"));
  EXPECT_TRUE(std::filesystem::exists(dir / "demo.ini"));
  std::filesystem::remove_all(dir);
}

// The corner points reach in at least as far as the corner reach of their
// axis, never less than the border; a three-part description keeps its
// client rect unless given one.
TEST(DescriptionGeometry, NinePartCornersAndThreePartClient) {
  TqzDataSkinCustomControl d("panel");
  SetNine(d, {10, 20, 50, 44}, 2, 3, 4, 5, 6);  // 40 x 24, corners 6 across only
  EXPECT_EQ(d.ClientRect, (TRect{2, 3, 36, 19}));
  EXPECT_EQ(d.LeftTopPoint, (TPoint{6, 3}));
  EXPECT_EQ(d.RightBottomPoint, (TPoint{34, 19}));
  SetNine(d, {10, 20, 50, 44}, 2, 3, 4, 5, 6, 7);
  EXPECT_EQ(d.LeftTopPoint, (TPoint{6, 7}));
  EXPECT_EQ(d.RightBottomPoint, (TPoint{34, 17}));

  SetThreeH(d, {0, 0, 30, 10}, 5, 6);
  EXPECT_EQ(d.ClientRect, (TRect{2, 3, 36, 19}));
  EXPECT_EQ(d.RightTopPoint, (TPoint{24, 0}));
  EXPECT_EQ(d.RightBottomPoint, (TPoint{0, 0}));
  SetThreeV(d, {0, 0, 10, 30}, 5, 6, {1, 2, 9, 28});
  EXPECT_EQ(d.ClientRect, (TRect{1, 2, 9, 28}));
  EXPECT_EQ(d.LeftBottomPoint, (TPoint{0, 24}));
  EXPECT_EQ(d.RightTopPoint, (TPoint{0, 0}));
}

// The one rectangle check covers what painters take from the atlases as
// well as what descriptions cut: both must stay in their picture and apart.
TEST(PictureRectCheck, RefusesPaintedRectsThatOverlapOrLeaveTheirPicture) {
  TSkinBuilder skin("t.ini", 20, 20, 0);
  const int pic = skin.AddActivePicture("a.bmp", 50, 40, 0);
  TAtlas& atlas = skin.Atlas(pic);
  atlas.Reserve({0, 0, 20, 10}, "band");
  atlas.Claim({0, 0, 10, 10}, "a");
  atlas.Claim({0, 0, 10, 10}, "shared look");  // the same rect twice is a shared look
  atlas.Claim({10, 0, 20, 10}, "b");           // touching is not overlapping
  atlas.Fix({30, 30, 40, 40}, "fixed");
  atlas.Place(8, 8, "placed");                 // kept off the band and the fixed rect
  EXPECT_NO_THROW(CheckPictureRects(skin));

  TSkinBuilder overlap("t.ini", 20, 20, 0);
  TAtlas& o = overlap.Atlas(overlap.AddActivePicture("a.bmp", 50, 40, 0));
  o.Claim({0, 0, 10, 10}, "a");
  o.Claim({5, 5, 15, 15}, "c");
  EXPECT_THROW(CheckPictureRects(overlap), std::runtime_error);

  TSkinBuilder outside("t.ini", 20, 20, 0);
  outside.Atlas(outside.AddActivePicture("a.bmp", 50, 40, 0)).Claim({45, 30, 51, 40}, "d");
  EXPECT_THROW(CheckPictureRects(outside), std::runtime_error);

  TSkinBuilder empty("t.ini", 20, 20, 0);
  empty.Atlas(empty.AddActivePicture("a.bmp", 50, 40, 0)).Claim({3, 3, 3, 9}, "empty");
  EXPECT_THROW(CheckPictureRects(empty), std::runtime_error);
}

TEST(PictureRectCheck, RefusesRectsThatCutIntoPaintedOnesOrReservedAreas) {
  TSkinBuilder skin("t.ini", 20, 20, 0);
  const int pic = skin.AddActivePicture("a.bmp", 60, 40, 0);
  skin.Atlas(pic).Reserve({0, 0, 30, 20}, "band");
  skin.Atlas(pic).Claim({2, 2, 12, 12}, "cell");  // painted inside its band
  auto& d = skin.Control<TqzDataSkinButtonControl>("button");
  d.PictureIndex = pic;
  d.SkinRect = {2, 2, 12, 12};  // the painted cell itself
  EXPECT_NO_THROW(CheckPictureRects(skin));

  d.ActiveSkinRect = {8, 8, 16, 16};  // a described look across the cell's edge
  EXPECT_THROW(CheckPictureRects(skin), std::runtime_error);
  d.ActiveSkinRect = {};

  skin.Atlas(pic).Claim({25, 15, 35, 25}, "straddler");  // across the band's edge
  EXPECT_THROW(CheckPictureRects(skin), std::runtime_error);
}

}  // namespace
}  // namespace qz::skingen
