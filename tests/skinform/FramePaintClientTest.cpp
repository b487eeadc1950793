// The client area: the background tiled and stretched, the logo, and the
// whole skin of client mode with its roll-up look and size grip.
#include <gtest/gtest.h>

#include "skin/draw/QzComposition.h"
#include "skin/form/FramePaint.h"
#include "tests/skinform/FramePaintTestKit.h"
#include "tests/skins/DemoSkins.h"

namespace qz {
namespace {

using testing::kUntouched;
using testing::PatternPixel;
using testing::PixelOf;
using testing::Rgb;

struct TBackground {
  std::unique_ptr<TqzSkinData> Skin = testing::LoadTestSkin(testing::SmallFrameSkin());
  TqzClientBackgroundInput In;
  TPixmap Client;
  TBackground(TSize client, TSize window) : Client(client.cx, client.cy, kUntouched) {
    In.Skin = Skin.get();
    In.Client = client;
    In.Window = window;
  }
  void Paint() {
    TCanvas canvas(&Client);
    PaintClientBackground(canvas, In);
  }
  // Every pixel against picture pixel (sx(x), sy(y)) of the main picture (seed 1).
  template <class SX, class SY>
  void Expect(SX sx, SY sy) const {
    int wrong = 0;
    for (int y = 0; y < Client.Height(); ++y)
      for (int x = 0; x < Client.Width(); ++x)
        if (Rgb(Client.At(x, y)) != Rgb(PatternPixel(sx(x), sy(y), 1)) && ++wrong <= 5)
          ADD_FAILURE() << "pixel (" << x << ", " << y << ")";
    EXPECT_EQ(wrong, 0);
  }
};

// The client piece (10,15,50,40) of the 60 x 50 picture is 40 x 25.
TEST(FramePaintClientBackground, TiledFromTheTopLeft) {
  TBackground b({100, 60}, {120, 90});
  b.Paint();
  b.Expect([](int x) { return 10 + x % 40; }, [](int y) { return 15 + y % 25; });
}

TEST(FramePaintClientBackground, Stretched) {
  TBackground full({80, 35}, {120, 90});
  full.Skin->StretchEffect = true;
  full.Paint();
  full.Expect([](int x) { return 10 + NearestSourceIndex(x, 40, 80); },
              [](int y) { return 15 + NearestSourceIndex(y, 25, 35); });

  // sthorz: stretched to the window height, repeated across from x = 0.
  TBackground horz({100, 60}, {120, 90});
  horz.Skin->StretchEffect = true;
  horz.Skin->StretchType = TqzStretchType::Horz;
  horz.Paint();
  horz.Expect([](int x) { return 10 + x % 40; },
              [](int y) { return 15 + NearestSourceIndex(y, 25, 90); });

  // stvert: stretched to the window width, repeated downwards.
  TBackground vert({100, 60}, {120, 90});
  vert.Skin->StretchEffect = true;
  vert.Skin->StretchType = TqzStretchType::Vert;
  vert.Paint();
  vert.Expect([](int x) { return 10 + NearestSourceIndex(x, 40, 120); },
              [](int y) { return 15 + y % 25; });
}

TEST(FramePaintClientBackground, PlainFillWithoutClientRectOrSkin) {
  TBackground b({30, 20}, {30, 20});
  b.Skin->ClientRect = {};
  b.Paint();
  EXPECT_EQ(Rgb(b.Client.At(29, 19)), PixelOf(clBtnFace));
  TBackground none({30, 20}, {30, 20});
  none.In.Skin = nullptr;
  none.Paint();
  EXPECT_EQ(Rgb(none.Client.At(0, 0)), PixelOf(clBtnFace));
}

TEST(FramePaintClientBackground, BackgroundPictureByIndex) {
  testing::TTestSkinParts parts = testing::SmallFrameSkin();
  parts.Active.push_back(testing::Pattern(7, 5, 9));
  TBackground b({20, 12}, {20, 12});
  b.Skin = testing::LoadTestSkin(parts);
  b.In.Skin = b.Skin.get();
  b.Skin->BGPictureIndex = 0;
  b.Paint();
  for (TPoint p : {TPoint{0, 0}, TPoint{8, 6}, TPoint{19, 11}})
    EXPECT_EQ(Rgb(b.Client.At(p.X, p.Y)), Rgb(PatternPixel(p.X % 7, p.Y % 5, 9)));
  // An index past the list draws nothing.
  TBackground missing({20, 12}, {20, 12});
  missing.Skin->BGPictureIndex = 3;
  missing.Paint();
  EXPECT_EQ(missing.Client, TPixmap(20, 12, kUntouched));
}

TEST(FramePaintClientBackground, Logo) {
  TBitmap logo(9, 7);
  logo.Pixels() = testing::Pattern(9, 7, 4);
  logo.Pixels().At(0, 6) = 0xFF00FF00u;  // bottom-left: the transparent colour
  logo.Pixels().At(1, 6) = 0xFF00FF00u;
  logo.Modified();
  TBackground b({40, 30}, {40, 30});
  b.In.Logo = &logo;
  b.Paint();
  // Centred: (40 / 2 - 9 / 2, 30 / 2 - 7 / 2) = (16, 12).
  EXPECT_EQ(Rgb(b.Client.At(16, 12)), Rgb(PatternPixel(0, 0, 4)));
  EXPECT_EQ(Rgb(b.Client.At(24, 18)), Rgb(PatternPixel(8, 6, 4)));
  EXPECT_EQ(Rgb(b.Client.At(17, 18)), 0x00FF00u);

  b.In.LogoTransparent = true;
  b.Paint();
  EXPECT_EQ(Rgb(b.Client.At(17, 18)), Rgb(PatternPixel(10 + 17, 15 + 18, 1)));
  EXPECT_EQ(Rgb(b.Client.At(18, 18)), Rgb(PatternPixel(2, 6, 4)));

  // Larger than the client: from (0, 0), never off to the upper left.
  TBitmap big(50, 45);
  big.Pixels() = testing::Pattern(50, 45, 5);
  big.Modified();
  b.In.Logo = &big;
  b.In.LogoTransparent = false;
  b.Paint();
  EXPECT_EQ(Rgb(b.Client.At(0, 0)), Rgb(PatternPixel(0, 0, 5)));
  EXPECT_EQ(Rgb(b.Client.At(39, 29)), Rgb(PatternPixel(39, 29, 5)));
}

// ---------------------------------------------------------------------------
// Client mode.

TPixmap PaintedClientSkin(const TqzClientSkinInput& in) {
  TPixmap client(in.Client.cx, in.Client.cy, kUntouched);
  TCanvas canvas(&client);
  PaintClientSkin(canvas, in);
  return client;
}

TEST(FramePaintClientSkin, DemoMainSkinAtThreeSizes) {
  const TqzSkinData& skin = *testing::MainSkin().Skin;
  const TqzLatticeFields& fields = skin;
  const TqzSkinGeometry g({0, 0, skin.Picture().Width(), skin.Picture().Height()}, fields);
  for (TSize client : {TSize{820, 602}, TSize{901, 655}, TSize{1200, 800}}) {
    SCOPED_TRACE(std::to_string(client.cx) + " x " + std::to_string(client.cy));
    TqzClientSkinInput in;
    in.Skin = &skin;
    in.Client = client;
    const TqzNewGeometry n = CalcNewGeometry(g, TqzResizeMode::NinePart, client.cx, client.cy);
    TBitmap reference;
    CreateSkinImage(g, n, true, client.cx, client.cy, skin.Picture(), reference);
    EXPECT_TRUE(PaintedClientSkin(in) == reference.Pixels());
  }
}

TEST(FramePaintClientSkin, WithoutSkinAnOutlinedFace) {
  TqzClientSkinInput in;
  in.Client = {20, 10};
  const TPixmap p = PaintedClientSkin(in);
  EXPECT_EQ(Rgb(p.At(0, 0)), 0u);
  EXPECT_EQ(Rgb(p.At(19, 9)), 0u);
  EXPECT_EQ(Rgb(p.At(5, 5)), PixelOf(clBtnFace));
}

// A 60 x 50 skin with no corner points: copied 1:1; a 30 x 12 roll-up
// picture with fixed ends of 8 and 6 pixels; a status bar whose size grip is
// the 4 x 3 piece (2,2,6,5) of active picture 0.
std::unique_ptr<TqzSkinData> ClientModeSkin() {
  testing::TTestSkinParts parts;
  parts.Picture = testing::Pattern(60, 50, 1);
  parts.RollUp = testing::Pattern(30, 12, 3);
  parts.Active.push_back(testing::Pattern(10, 8, 6));
  parts.Text =
      "[FORMINFO]\r\nclientrect=10,15,50,40\r\nrollupleftpoint=8,0\r\nrolluprightpoint=24,0\r\n"
      "statusbarname=bar\r\n"
      "[SKINCONTROLS]\r\ncount=1\r\n0=bar:panel\r\n"
      "[bar]\r\npictureindex=0\r\ngripperrect=2,2,6,5\r\n";
  return testing::LoadTestSkin(parts);
}

TEST(FramePaintClientSkin, PictureAsItIsObjectsAndSizeGrip) {
  const auto skin = ClientModeSkin();
  testing::TObjectSet set;
  auto& normal = set.Add({1, 1, 4, 4}, clRed);
  auto& rolled = set.Add({5, 1, 8, 4}, clBlue, true);
  TqzClientSkinInput in;
  in.Skin = skin.get();
  in.Client = {70, 55};
  in.Objects = &set.Objects;
  in.SizeGripRect = {40, 30, 48, 36};
  const TPixmap p = PaintedClientSkin(in);
  EXPECT_EQ(Rgb(p.At(59, 49)), Rgb(PatternPixel(59, 49, 1)));
  EXPECT_EQ(Rgb(p.At(65, 52)), Rgb(kUntouched));  // beyond the picture
  EXPECT_EQ(Rgb(p.At(2, 2)), PixelOf(clRed));
  EXPECT_TRUE(rolled.DrawnAt.empty());
  EXPECT_EQ(Rgb(p.At(40, 30)), Rgb(PatternPixel(2, 2, 6)));
  EXPECT_EQ(Rgb(p.At(43, 32)), Rgb(PatternPixel(5, 4, 6)));
  EXPECT_EQ(Rgb(p.At(44, 30)), Rgb(PatternPixel(44, 30, 1)));  // the grip is 4 wide

  in.NormalState = false;  // maximised: no grip
  EXPECT_EQ(Rgb(PaintedClientSkin(in).At(40, 30)), Rgb(PatternPixel(40, 30, 1)));

  // Rolled up: the roll-up picture's ends fixed, its middle tiled to the width.
  in.RolledUp = true;
  in.NormalState = true;
  in.SizeGripRect = {};
  in.Client = {50, 12};
  const TPixmap r = PaintedClientSkin(in);
  EXPECT_EQ(Rgb(r.At(7, 5)), Rgb(PatternPixel(7, 5, 3)));    // left end
  EXPECT_EQ(Rgb(r.At(8, 5)), Rgb(PatternPixel(8, 5, 3)));    // middle from 8
  EXPECT_EQ(Rgb(r.At(24, 5)), Rgb(PatternPixel(8, 5, 3)));   // tiled every 16
  EXPECT_EQ(Rgb(r.At(44, 5)), Rgb(PatternPixel(24, 5, 3)));  // right end, 6 wide
  EXPECT_EQ(Rgb(r.At(6, 2)), PixelOf(clBlue));
  EXPECT_EQ(normal.DrawnAt.size(), 2u);  // not in the rolled-up look
}

}  // namespace
}  // namespace qz
