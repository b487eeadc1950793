// The frame of the two demo skins at their picture size and at a larger
// window: a few points whose answers follow from the skins' [FORMINFO] and
// their rounded window masks.
#include <gtest/gtest.h>

#include "skin/form/FrameGeometry.h"
#include "tests/skins/DemoSkins.h"

namespace qz {
namespace {

// A skin laid out for one window size, with its mask strips.
struct TLaidOutSkin {
  const TqzSkinData& Skin;
  TqzFrameSize Size;
  TqzFrameRects Rects;
  TqzMaskStrips Mask;

  TLaidOutSkin(const TqzSkinData& skin, TSize window)
      : Skin(skin),
        Size{{skin.Picture().Width(), skin.Picture().Height()}, window},
        Rects(CalcFrameRects(skin, Size)),
        Mask(BuildMaskStrips(skin, Rects, Size, skin.Mask().Pixels())) {}

  TqzFrameHitInput Frame() const {
    TqzFrameHitInput in;
    in.Frame = {&Rects, Size.Window, Skin.BorderWidth, &Mask};
    return in;
  }
  int Hit(TPoint p, bool captionDrag = false) const {
    TqzFrameHitInput in = Frame();
    in.CaptionDragPoint = captionDrag;
    return FrameHitTest(p, in);
  }
  int ClientHit(TPoint p) const {
    TqzClientHitInput in;
    in.HasSkin = true;
    in.Frame = Frame().Frame;
    return ClientHitTest(p, in);
  }
  TRect Area(const char* name) const {
    const int i = Skin.FindAreaIndex(name);
    EXPECT_GE(i, 0) << name;
    if (i < 0) return {};
    return PlaceSkinArea(*Skin.AreaList()[size_t(i)], Skin, Size, Rects.Stretchable);
  }
};

// ---------------------------------------------------------------------------
// skin.ini: an 820 x 602 picture whose 4 x 4 stretch cell (600,400,604,404) is
// also its client rect and mask area; no border width, rounded corners.

TEST(MainSkinFrame, AtThePictureSize) {
  const TLaidOutSkin s(*testing::MainSkin().Skin, {820, 602});
  EXPECT_EQ(s.Rects.NewClRect, (TRect{600, 400, 604, 404}));
  EXPECT_EQ(s.Rects.NewCaptionRect, (TRect{0, 0, 600, 40}));
  EXPECT_EQ(s.Rects.NewButtonsRect, (TRect{706, 7, 812, 33}));
  EXPECT_TRUE(s.Rects.Stretchable);
  EXPECT_EQ(s.Area("pagearea"), (TRect{29, 172, 424, 555}));
  EXPECT_EQ(s.Hit({0, 0}), HTTOPLEFT);  // the cut-off corner
  EXPECT_EQ(s.Hit({300, 20}, true), HTCAPTION);
  EXPECT_EQ(s.Hit({0, 300}), HTOBJECT);  // inside the shape: no sizing edge
  EXPECT_EQ(s.Hit({601, 401}), HTCLIENT);
}

TEST(MainSkinFrame, LargerWindow) {
  const TLaidOutSkin s(*testing::MainSkin().Skin, {1000, 700});  // dx 180, dy 98
  EXPECT_EQ(s.Rects.NewClRect, (TRect{600, 400, 784, 502}));
  EXPECT_EQ(s.Rects.NewCaptionRect, (TRect{0, 0, 780, 40}));
  EXPECT_EQ(s.Rects.NewButtonsRect, (TRect{886, 7, 992, 33}));
  EXPECT_EQ(s.Rects.HitTestRBPoint, (TPoint{784, 502}));
  EXPECT_EQ(s.Area("pagearea"), (TRect{29, 172, 424, 653}));
  EXPECT_EQ(s.Area("pagearea2"), (TRect{443, 68, 979, 663}));
  EXPECT_EQ(s.Hit({999, 699}), HTBOTTOMRIGHT);
  EXPECT_EQ(s.Hit({999, 0}), HTTOPRIGHT);
  EXPECT_EQ(s.Hit({700, 450}), HTCLIENT);
  EXPECT_EQ(s.Hit({500, 20}, true), HTCAPTION);
  // The main window shows the skin in its client area.
  EXPECT_EQ(s.ClientHit({999, 699}), HTBOTTOMRIGHT);
  EXPECT_EQ(s.ClientHit({500, 20}), HTCLIENT);
}

// ---------------------------------------------------------------------------
// dialog.ini: 393 x 268, client (5,30,388,263) as mask area, hit-test points
// 10 pixels in from each corner, border width 5.

TEST(DialogSkinFrame, AtThePictureSize) {
  const TLaidOutSkin s(*testing::DialogSkin().Skin, {393, 268});
  EXPECT_EQ(s.Rects.NewClRect, (TRect{5, 30, 388, 263}));
  EXPECT_EQ(s.Rects.HitTestRTPoint, (TPoint{383, 10}));
  EXPECT_EQ(s.Hit({200, 15}, true), HTCAPTION);
  EXPECT_EQ(s.Hit({200, 2}), HTTOP);
  EXPECT_EQ(s.Hit({200, 100}), HTCLIENT);
  EXPECT_EQ(s.Hit({2, 100}), HTLEFT);
  EXPECT_EQ(s.Hit({390, 100}), HTRIGHT);
  EXPECT_EQ(s.Hit({1, 1}), HTTOPLEFT);
  EXPECT_EQ(s.Hit({200, 265}), HTBOTTOM);
  EXPECT_EQ(s.Hit({390, 265}), HTBOTTOMRIGHT);
}

TEST(DialogSkinFrame, LargerWindow) {
  const TLaidOutSkin s(*testing::DialogSkin().Skin, {600, 400});  // dx 207, dy 132
  EXPECT_EQ(s.Rects.NewClRect, (TRect{5, 30, 595, 395}));
  EXPECT_EQ(s.Rects.NewCaptionRect, (TRect{9, 1, 588, 29}));
  EXPECT_EQ(s.Rects.NewButtonsRect, (TRect{507, 7, 592, 23}));
  EXPECT_EQ(s.Hit({300, 15}, true), HTCAPTION);
  EXPECT_EQ(s.Hit({300, 2}), HTTOP);
  EXPECT_EQ(s.Hit({300, 200}), HTCLIENT);
  EXPECT_EQ(s.Hit({597, 200}), HTRIGHT);
  EXPECT_EQ(s.Hit({3, 200}), HTLEFT);
  EXPECT_EQ(s.Hit({596, 8}), HTTOPRIGHT);
  EXPECT_EQ(s.Hit({590, 10}), HTOBJECT);  // its probes stay inside the shape
  EXPECT_EQ(s.Hit({595, 395}), HTBOTTOMRIGHT);
  TqzFrameHitInput maximized = s.Frame();
  maximized.Maximized = true;
  EXPECT_EQ(FrameHitTest({597, 200}, maximized), HTOBJECT);
}

}  // namespace
}  // namespace qz
