// The skinshot tool's pictures, taken from a real skinned form on the
// headless platform: the hit map against the controller's geometry and the
// legend, the look against the skin's own picture, and the states the tool
// puts the window in.
#include <gtest/gtest.h>

#include <set>

#include "tests/skins/DemoSkins.h"
#include "tools/skinshot/SkinShot.h"

namespace qz {
namespace {

using skinshot::HitColor;
using skinshot::TShotMode;
using skinshot::TShotOptions;
using skinshot::TShotStage;
using testing::DialogSkin;
using testing::MainSkin;

TShotOptions Options(TSize size, TShotMode mode = TShotMode::Frame) {
  TShotOptions o;
  o.Size = size;
  o.Mode = mode;
  return o;
}

// The first object of the frame that is not the caption: a caption button.
TRect FirstButtonRect(TqzOrvane& orvane) {
  for (const auto& object : orvane.ObjectList())
    if (!object->IsCaption() && object->ShownIn(orvane.IsRolledUp()) && object->Visible)
      return object->ObjectRect;
  return {};
}

TPoint Center(const TRect& r) { return {(r.Left + r.Right) / 2, (r.Top + r.Bottom) / 2}; }

// dialog.ini at its picture size 393 x 268: border width 5, client
// (5,30,388,263), a rounded mask, a caption object along the top and
// caption buttons on its right.
TEST(Skinshot, DialogHitMapFollowsTheFrameAndItsObjects) {
  TShotStage stage(DialogSkin().Compressed, Options({393, 268}));
  ASSERT_EQ(stage.WindowBounds().Width(), 393);
  ASSERT_EQ(stage.WindowBounds().Height(), 268);
  const TPixmap map = stage.HitMap();
  EXPECT_EQ(map.At(200, 2), HitColor(HTTOP));
  EXPECT_EQ(map.At(200, 150), HitColor(HTCLIENT));
  EXPECT_EQ(map.At(3, 150), HitColor(HTLEFT));
  EXPECT_EQ(map.At(390, 150), HitColor(HTRIGHT));
  EXPECT_EQ(map.At(200, 265), HitColor(HTBOTTOM));
  EXPECT_EQ(map.At(389, 8), HitColor(HTTOPRIGHT));
  EXPECT_EQ(map.At(388, 263), HitColor(HTBOTTOMRIGHT));
  EXPECT_EQ(map.At(0, 0), skinshot::kOutsideHit);  // the rounded corner is cut off
  EXPECT_EQ(map.At(150, 15), HitColor(HTCAPTION));
  const TRect button = FirstButtonRect(stage.Orvane());
  ASSERT_FALSE(button.IsEmpty());
  EXPECT_EQ(map.At(Center(button).X, Center(button).Y), HitColor(HTOBJECT));
}

// Asked one after the other, the controller answers HTOBJECT for every
// frame point while a button is active; the stage asks each point as the
// mouse resting there would, so the order of the questions does not matter.
TEST(Skinshot, HitAnswersDoNotDependOnThePointAskedBefore) {
  TShotStage stage(DialogSkin().Compressed, Options({393, 268}));
  const TPoint button = Center(FirstButtonRect(stage.Orvane()));
  const TPoint leftEdge{2, 150}, caption{150, 15};

  EXPECT_EQ(stage.HitAt(leftEdge), HTLEFT);
  EXPECT_EQ(stage.HitAt(button), HTOBJECT);
  EXPECT_NE(stage.Orvane().ActiveObject(), -1);
  EXPECT_EQ(stage.HitAt(leftEdge), HTLEFT);
  EXPECT_EQ(stage.Orvane().ActiveObject(), -1);
  EXPECT_EQ(stage.HitAt(button), HTOBJECT);
  EXPECT_EQ(stage.HitAt(caption), HTCAPTION);
  EXPECT_EQ(stage.HitAt({200, 150}), HTCLIENT);
  EXPECT_EQ(stage.HitAt(button), HTOBJECT);
  EXPECT_EQ(stage.HitAt({200, 150}), HTCLIENT);
}

TEST(Skinshot, RolledUpDialogIsItsFrameWithoutSizingOrClient) {
  TShotOptions o = Options({600, 400});
  o.RolledUp = true;
  TShotStage stage(DialogSkin().Compressed, o);
  EXPECT_TRUE(stage.Orvane().IsRolledUp());
  EXPECT_EQ(stage.WindowBounds().Width(), 600);
  EXPECT_LT(stage.WindowBounds().Height(), 60);
  std::set<uint32_t> colors;
  const TPixmap map = stage.HitMap();
  for (int y = 0; y < map.Height(); ++y)
    for (int x = 0; x < map.Width(); ++x) colors.insert(map.At(x, y));
  for (uint32_t c : colors)
    EXPECT_TRUE(c == HitColor(HTCAPTION) || c == HitColor(HTOBJECT) || c == HitColor(HTCLIENT) ||
                c == skinshot::kOutsideHit)
        << std::hex << c;
}

// The main skin is 820 x 602 with no roll-up picture: client mode refuses
// the roll-up, and the tool says so instead of writing an unrolled window.
TEST(Skinshot, RollUpTheSkinRefusesIsAnError) {
  TShotOptions o = Options({820, 602}, TShotMode::Client);
  o.RolledUp = true;
  EXPECT_THROW(TShotStage(MainSkin().Compressed, o), EReadError);
  const std::vector<uint8_t> garbage{1, 2, 3, 4};
  EXPECT_ANY_THROW(TShotStage(garbage, Options({100, 100})));
  EXPECT_THROW(TShotStage(MainSkin().Compressed, Options({5000, 100})), EReadError);
}

// At the picture's size the client-mode look is the picture itself, and
// the main skin is not sizeable there: the whole window is client.
TEST(Skinshot, ClientModeLookIsTheSkinPicture) {
  const TqzSkinData& skin = *MainSkin().Skin;
  TShotStage stage(MainSkin().Compressed, Options({820, 602}, TShotMode::Client));
  ASSERT_EQ(stage.WindowBounds().Width(), 820);
  const TPixmap look = stage.Look();
  const TPixmap& picture = skin.Picture().Pixels();
  for (TPoint p : {TPoint{300, 300}, TPoint{601, 401}, TPoint{10, 300}, TPoint{819, 300}})
    EXPECT_EQ(look.At(p.X, p.Y), picture.At(p.X, p.Y) | 0xFF000000u) << p.X << "," << p.Y;
  EXPECT_EQ(stage.HitAt({300, 20}), HTCLIENT);
  EXPECT_EQ(stage.HitAt({819, 300}), HTCLIENT);
}

// The window's shape follows the mask: in client mode from the first show,
// and in frame mode at sizes other than the picture's.
TEST(Skinshot, ShapeFollowsTheMaskInClientModeAndAtEverySize) {
  {
    TShotStage stage(MainSkin().Compressed, Options({820, 602}, TShotMode::Client));
    EXPECT_FALSE(stage.InShape({0, 0}));
    EXPECT_EQ(stage.Look().At(0, 0), skinshot::kCheckLight);
    EXPECT_EQ(stage.HitAt({0, 0}), HTNOWHERE);
  }
  TShotStage stage(DialogSkin().Compressed, Options({600, 400}));
  EXPECT_FALSE(stage.InShape({599, 399}));
  EXPECT_EQ(stage.HitAt({597, 200}), HTRIGHT);
  EXPECT_EQ(stage.HitAt({300, 397}), HTBOTTOM);
}

TEST(Skinshot, InactiveWindowLosesTheActivationAndLooksInactive) {
  TShotStage active(DialogSkin().Compressed, Options({600, 400}));
  const TPixmap activeLook = active.Look();
  EXPECT_TRUE(active.Orvane().FormActive());

  TShotOptions o = Options({600, 400});
  o.Inactive = true;
  TShotStage inactive(DialogSkin().Compressed, o);
  EXPECT_FALSE(inactive.Orvane().FormActive());
  const TPixmap inactiveLook = inactive.Look();
  int differing = 0;
  for (int y = 0; y < 30; ++y)
    for (int x = 0; x < 600; ++x) differing += activeLook.At(x, y) != inactiveLook.At(x, y);
  EXPECT_GT(differing, 0);
  // The client area is the same.
  EXPECT_EQ(activeLook.At(300, 200), inactiveLook.At(300, 200));
}

TEST(Skinshot, LegendStripNamesEveryColourBelowTheMap) {
  const TPixmap map(300, 50, HitColor(HTCLIENT));
  const TPixmap out = skinshot::WithHitLegend(map);
  ASSERT_EQ(out.Width(), 300);
  ASSERT_GT(out.Height(), 50 + 12);
  EXPECT_EQ(out.At(299, 49), HitColor(HTCLIENT));
  std::set<uint32_t> below;
  for (int y = 50; y < out.Height(); ++y)
    for (int x = 0; x < out.Width(); ++x) below.insert(out.At(x, y));
  for (const auto& entry : skinshot::kHitLegend)
    EXPECT_TRUE(below.count(entry.Color)) << entry.Name;
}

}  // namespace
}  // namespace qz
