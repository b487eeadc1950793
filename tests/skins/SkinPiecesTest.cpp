// The rules by which the skin checks and the contact sheet judge a skin: which
// rectangles are looks cut from a picture, which picture each is cut from,
// how it is composed at other sizes, and what counts as a fault. Checked on a
// small skin made here (a 200 x 150 main picture, one 100 x 100 active
// picture).
#include <gtest/gtest.h>

#include <algorithm>
#include <array>
#include <span>
#include <string>
#include <vector>

#include "host/graphics/BmpCodec.h"
#include "skin/data/SkinContainer.h"
#include "skin/data/SkinData.h"
#include "tools/skinsheet/SkinPieces.h"

namespace qz {
namespace {

using skinsheet::AllDescriptionPieces;
using skinsheet::TPieceLayout;
using skinsheet::TSkinDescriptionPieces;
using skinsheet::TSkinPiece;

constexpr const char* kDescription =
    "[PICTURES]\r\npicture=main.bmp\r\nactivepicturescount=1\r\n0=ctl.bmp\r\n"
    "[SKINAREAS]\r\ncount=2\r\n0=inside:10,10,50,50;0,0,0,0,0\r\n"
    "1=outside:150,100,250,160;0,0,0,0,0\r\n"
    "[SKINCONTROLS]\r\ncount=5\r\n0=button:button\r\n1=combo:combobox\r\n"
    "2=vbar:scrollbar\r\n3=list:listbox\r\n4=shaped:label\r\n"
    "[shaped]\r\npictureindex=0\r\nskinrect=0,0,60,24\r\nmaskpictureindex=0\r\n"
    "[SKINOBJECTS]\r\ncount=2\r\n0=framebutton:stdbutton\r\n1=pictured:stdbutton\r\n"
    "[button]\r\npictureindex=0\r\nskinrect=0,0,60,24\r\nactiveskinrect=0,30,60,54\r\n"
    "downskinrect=50,80,110,104\r\ndisabledskinrect=0,60,60,83\r\n"
    "maskpictureindex=4\r\nclientrect=4,4,300,300\r\nrightbottompoint=56,20\r\n"
    "[combo]\r\npictureindex=0\r\nskinrect=0,0,60,24\r\nitemrect=0,0,40,10\r\n"
    "itemleftoffset=2\r\nitemrightoffset=3\r\nitemstretcheffect=1\r\nstretcheffect=0\r\n"
    "[vbar]\r\npictureindex=0\r\nskinrect=80,0,100,90\r\nthumbrect=80,0,100,30\r\n"
    "thumboffset1=4\r\nthumboffset2=5\r\nupbuttonrect=0,76,20,90\r\n"
    "activeupbuttonrect=80,60,100,74\r\n"
    "[list]\r\npictureindex=0\r\nskinrect=0,0,60,24\r\nitemleftoffset=2\r\n"
    "[framebutton]\r\nactivepictureindex=0\r\nskinrect=150,10,170,30\r\n"
    "activeskinrect=0,0,20,20\r\n"
    "[pictured]\r\nactivepictureindex=0\r\nskinrectinapicture=1\r\nskinrect=150,10,170,30\r\n";

std::vector<uint8_t> Bmp(int w, int h) { return EncodeBmp(TPixmap(w, h, 0xFF336699u), 24); }

class SkinPieces : public ::testing::Test {
 protected:
  void SetUp() override {
    const std::vector<uint8_t> main = Bmp(200, 150), active = Bmp(100, 100);
    std::array<std::span<const uint8_t>, kSkinSlotCount> slots{};
    slots[ssPicture] = main;
    const std::span<const uint8_t> actives[] = {active};
    skin_.LoadFromContainer(BuildSkinContainer(slots, actives, kDescription));
    ASSERT_FALSE(skin_.Empty());
    all_ = AllDescriptionPieces(skin_);
  }

  const TSkinDescriptionPieces& Description(const std::string& name) const {
    for (const auto& d : all_)
      if (d.Name == name) return d;
    throw std::runtime_error("no description " + name);
  }
  const TSkinPiece* Piece(const std::string& name, const std::string& key) const {
    for (const TSkinPiece& p : Description(name).Pieces)
      if (p.Key == key) return &p;
    return nullptr;
  }
  static bool Mentions(const std::vector<std::string>& messages, const std::string& start) {
    return std::any_of(messages.begin(), messages.end(),
                       [&](const std::string& m) { return m.starts_with(start); });
  }

  TqzSkinData skin_{nullptr};
  std::vector<TSkinDescriptionPieces> all_;
};

TEST_F(SkinPieces, LooksOutsideTheirPictureAndMissingPicturesAreFaults) {
  const TSkinDescriptionPieces& b = Description("button");
  EXPECT_EQ(b.Kind, "button");
  EXPECT_TRUE(Mentions(b.Problems, "downskinrect 50,80,110,104 lies outside active picture 0"));
  EXPECT_TRUE(Mentions(b.Problems, "maskpictureindex=4 names no picture"));
  EXPECT_TRUE(Mentions(b.Problems, "clientrect 4,4,300,300 does not lie within skinrect's 60 x 24"));
  EXPECT_FALSE(Mentions(b.Problems, "skinrect"));
  EXPECT_FALSE(Mentions(b.Problems, "activeskinrect"));
  EXPECT_EQ(b.Problems.size(), 3u);
  EXPECT_TRUE(Description("vbar").Problems.empty());
}

TEST_F(SkinPieces, AreasOutsideTheFramePictureAndMasksOfAnotherSizeAreFaults) {
  const TSkinDescriptionPieces& frame = Description("FORMINFO");
  ASSERT_EQ(frame.Problems.size(), 1u);
  EXPECT_EQ(frame.Problems[0],
            "area outside 150,100,250,160 is empty or lies outside the main picture");
  EXPECT_TRUE(Mentions(Description("shaped").Problems,
                       "maskpictureindex=0: the mask is 100 x 100, skinrect 60 x 24"));
}

TEST_F(SkinPieces, RelativeRectsAndEmptyLooksAreNotPieces) {
  EXPECT_EQ(Piece("button", "clientrect"), nullptr);
  EXPECT_EQ(Piece("button", "focusedskinrect"), nullptr);  // 0,0,0,0: no look of its own
  ASSERT_NE(Piece("button", "activeskinrect"), nullptr);
  EXPECT_EQ(Piece("button", "activeskinrect")->Picture, skin_.ActivePicture(0));
  // A scroll bar's normal button rect is the button's place in the bar; its
  // hot look is cut from the picture.
  EXPECT_EQ(Piece("vbar", "upbuttonrect"), nullptr);
  EXPECT_NE(Piece("vbar", "activeupbuttonrect"), nullptr);
  const auto& places = Description("vbar").Places;
  EXPECT_TRUE(std::any_of(places.begin(), places.end(), [](const auto& p) {
    return p.Key == "upbuttonrect" && p.Rect == TRect{0, 76, 20, 90};
  }));
}

TEST_F(SkinPieces, LooksOfAnotherSizeThanTheNormalOneAreWarnings) {
  const TSkinDescriptionPieces& b = Description("button");
  EXPECT_TRUE(Mentions(b.Warnings, "disabledskinrect is 60 x 23, skinrect 60 x 24"));
  EXPECT_FALSE(Mentions(b.Warnings, "activeskinrect"));
}

TEST_F(SkinPieces, FrameObjectsCutTheirNormalLookFromTheFramePicture) {
  // 150,10,170,30 fits the 200 x 150 main picture, not the 100 x 100 active one.
  EXPECT_TRUE(Description("framebutton").Problems.empty());
  EXPECT_EQ(Piece("framebutton", "skinrect")->Picture, &skin_.Picture());
  EXPECT_EQ(Piece("framebutton", "activeskinrect")->Picture, skin_.ActivePicture(0));
  EXPECT_TRUE(Mentions(Description("pictured").Problems, "skinrect 150,10,170,30 lies outside"));
}

TEST_F(SkinPieces, CompositionRuleFollowsTheDescriptionsKeys) {
  EXPECT_EQ(Piece("button", "activeskinrect")->Layout, TPieceLayout::Geometry);
  EXPECT_EQ(Piece("button", "activeskinrect")->Geometry.SkinRect, (TRect{0, 30, 60, 54}));
  EXPECT_EQ(Piece("list", "skinrect")->Layout, TPieceLayout::Geometry);

  const TSkinPiece* item = Piece("combo", "itemrect");
  ASSERT_TRUE(item);
  EXPECT_EQ(item->Layout, TPieceLayout::HorzEnds);
  EXPECT_EQ(item->EndA, 2);
  EXPECT_EQ(item->EndB, 3);
  EXPECT_TRUE(item->Stretch);  // a combo box's items stretch by "itemstretcheffect"

  const TSkinPiece* thumb = Piece("vbar", "thumbrect");
  ASSERT_TRUE(thumb);
  EXPECT_EQ(thumb->Layout, TPieceLayout::VertEnds);  // the bar is taller than wide
  EXPECT_EQ(thumb->EndA, 4);
  EXPECT_EQ(thumb->EndB, 5);
}

// A tiled middle repeats its source: a gradient shows a seam at every
// repetition, a periodic pattern whose last-to-first step occurs inside it
// does not.
TEST(SkinPieceSeams, TiledGradientIsAWarningTiledStripesAreNot) {
  TPixmap pixels(40, 10);
  for (int y = 0; y < 10; ++y)
    for (int x = 0; x < 40; ++x)
      pixels.At(x, y) = x < 20 ? 0xFF000000u | uint32_t(x * 10) << 8
                               : (x % 2 ? 0xFFFFFFFFu : 0xFF000000u);
  const std::vector<uint8_t> main = Bmp(10, 10), active = EncodeBmp(pixels, 24);
  std::array<std::span<const uint8_t>, kSkinSlotCount> slots{};
  slots[ssPicture] = main;
  const std::span<const uint8_t> actives[] = {active};
  const char* text =
      "[SKINCONTROLS]\r\ncount=2\r\n0=grad:label\r\n1=stripes:label\r\n"
      "[grad]\r\npictureindex=0\r\nskinrect=0,0,20,10\r\nrighttoppoint=18,0\r\n"
      "lefttoppoint=2,0\r\n"
      "[stripes]\r\npictureindex=0\r\nskinrect=20,0,40,10\r\nrighttoppoint=18,0\r\n"
      "lefttoppoint=2,0\r\n";
  TqzSkinData skin(nullptr);
  skin.LoadFromContainer(BuildSkinContainer(slots, actives, text));
  const auto all = AllDescriptionPieces(skin);
  ASSERT_EQ(all.size(), 2u);
  ASSERT_EQ(all[0].Warnings.size(), 1u);
  EXPECT_TRUE(all[0].Warnings[0].starts_with("skinrect middle is tiled")) << all[0].Warnings[0];
  EXPECT_TRUE(all[1].Warnings.empty());
}

}  // namespace
}  // namespace qz
