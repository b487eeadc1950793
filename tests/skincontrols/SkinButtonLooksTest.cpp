// What a skinned button shows on the headless screen: the state images and
// their fall-backs against direct compositions of the description's
// rectangles, the caption's place, the fade step by step, and the area a
// hover change presents.
#include <gtest/gtest.h>

#include "host/ui/ImgList.h"
#include "skin/controls/SkinButton.h"
#include "skin/data/SkinControlData.h"
#include "skin/draw/EffectBmp.h"
#include "skin/draw/QzComposition.h"
#include "tests/skincontrols/SkinButtonTestKit.h"

namespace qz {
namespace {

using testing::SkinButtonTest;
using testing::kLooks;
using testing::kNinePart;

// The description's look at `rect` composed directly at w x h.
TPixmap Reference(const TqzSkinData& skin, const TRect& rect, int w, int h) {
  const auto& d = testing::ButtonDescription(skin);
  TqzSkinGeometry g = d.Geometry();
  g.SkinRect = rect;
  TBitmap out;
  CreateSkinImage(g, CalcNewGeometry(g, TqzResizeMode::NinePart, w, h), true, w, h,
                  *skin.ActivePicture(0), out);
  return out.Pixels();
}

// The morph of two looks at kf, as the fade shows it.
TPixmap Blend(const TPixmap& from, const TPixmap& to, double kf) {
  TqzEffectBmp blend(from);
  blend.Morph(TqzEffectBmp(to), kf);
  return blend.ToPixmap();
}

class SkinButtonLooks : public SkinButtonTest,
                        public ::testing::WithParamInterface<TSize> {};

// Each state at the skin size and at a stretched size.
TEST_P(SkinButtonLooks, EveryStateShowsItsOwnRectangle) {
  const TSize size = GetParam();
  UseSkin(kNinePart + kLooks);
  auto* b = MakeButton({10, 10, 10 + size.cx, 10 + size.cy});
  auto* other = MakeButton({100, 10, 140, 30});  // takes the focus away
  other->SetFocus();
  Pump();
  const auto ref = [&](const TRect& r) { return Reference(*skin, r, size.cx, size.cy); };
  EXPECT_TRUE(Shows(b, ref({0, 0, 40, 20})));

  Move(Center(b));
  EXPECT_TRUE(Shows(b, ref({0, 20, 40, 40})));
  hp->InjectMouseDown();
  Pump();  // the press focuses the button: down wins over focused
  EXPECT_TRUE(Shows(b, ref({0, 40, 40, 60})));
  hp->InjectMouseUp();
  Move({300, 150});
  EXPECT_TRUE(Shows(b, ref({0, 60, 40, 80})));  // focused
  b->SetEnabled(false);
  Pump();
  EXPECT_TRUE(Shows(b, ref({0, 80, 40, 100})));
}

INSTANTIATE_TEST_SUITE_P(Sizes, SkinButtonLooks, ::testing::Values(TSize{40, 20}, TSize{71, 33}));

TEST_F(SkinButtonTest, MissingLooksFallBackToTheLookBefore) {
  UseSkin(kNinePart + "activeskinrect=0,20,40,40\n");
  auto* b = MakeButton({10, 10, 73, 37});
  auto* other = MakeButton({100, 10, 140, 30});
  other->SetFocus();
  Pump();
  const auto ref = [&](const TRect& r) { return Reference(*skin, r, 63, 27); };
  const TRect normal{0, 0, 40, 20}, active{0, 20, 40, 40};

  b->SetEnabled(false);  // disabled <- normal
  Pump();
  EXPECT_TRUE(Shows(b, ref(normal)));
  b->SetEnabled(true);
  Move(Center(b));
  hp->InjectMouseDown();  // down <- active
  Pump();
  EXPECT_TRUE(b->Down());
  EXPECT_TRUE(Shows(b, ref(active)));
  hp->InjectMouseUp();
  Move({300, 150});  // focused <- active
  EXPECT_TRUE(b->Focused());
  EXPECT_TRUE(Shows(b, ref(active)));

  UseSkin(kNinePart);  // active <- normal
  auto* plain = MakeButton({10, 50, 73, 77});
  Move(Center(plain));
  EXPECT_TRUE(Shows(plain, ref(normal)));
}

// The caption's rectangle: centred in the content rectangle, raised by one
// pixel for an odd font height, widened by two to the right.
TEST_F(SkinButtonTest, CaptionFollowsTheOddHeightRule) {
  for (int fontHeight : {13, 14}) {
    UseSkin(kNinePart + "fontheight=" + std::to_string(fontHeight) + "\nfontcolor=255\n");
    auto* b = MakeButton({10, 10, 90, 40}, "Wq");
    TBitmap expected(80, 30);
    expected.Pixels() = Reference(*skin, {0, 0, 40, 20}, 80, 30);
    TCanvas& c = expected.Canvas();
    c.Font().SetName("Tahoma");
    c.Font().SetHeight(fontHeight);
    c.Font().SetColor(255);
    TRect measure{0, 0, 70, 20};  // the content rectangle (5,5)-(75,25)
    c.DrawText("Wq", measure, DT_CALCRECT | DT_WORDBREAK | DT_EXPANDTABS | DT_CENTER);
    const int tw = measure.Width(), th = measure.Height();
    const int cx = 5 + 70 / 2, cy = 5 + 20 / 2;
    const int x = cx + tw / 2 - tw, y = cy - th / 2 - (fontHeight % 2);
    TRect text{x, y, x + tw + 2, y + th};
    c.Brush().SetStyle(TBrushStyle::bsClear);
    c.DrawText("Wq", text, DT_CENTER | DT_WORDBREAK | DT_EXPANDTABS);
    EXPECT_TRUE(Shows(b, expected.Pixels())) << fontHeight;
    delete b;
  }
}

TEST_F(SkinButtonTest, OnPaintThatDeclinesKeepsOnlyTheBackground) {
  UseSkin(kNinePart + "fontcolor=255\n");
  auto* b = MakeButton({10, 10, 90, 40}, "Text");
  TRect given;
  b->OnPaint = [&](TObject*, TCanvas&, TRect r, bool, bool, bool& drawDefault) {
    given = r;
    drawDefault = false;
  };
  b->Invalidate();
  Pump();
  EXPECT_EQ(given, (TRect{5, 5, 75, 25}));
  EXPECT_TRUE(Shows(b, Reference(*skin, {0, 0, 40, 20}, 80, 30)));
}

// The fade: one step every 20 ms, each a morph of the normal and the active
// look; the fifth lands exactly on the active look, the sixth stops.
TEST_F(SkinButtonTest, FadeStepsEndExactlyOnTheTargetLook) {
  UseSkin(kNinePart + kLooks + "morphing=1\n");
  auto* b = MakeButton({10, 10, 71, 43});
  const TPixmap normal = Reference(*skin, {0, 0, 40, 20}, 61, 33);
  const TPixmap active = Reference(*skin, {0, 20, 40, 40}, 61, 33);
  Move(Center(b));
  EXPECT_TRUE(b->FadeRunning());
  EXPECT_TRUE(Shows(b, normal));
  for (int step = 1; step <= 4; ++step) {
    Ticks(1);
    EXPECT_TRUE(Shows(b, Blend(normal, active, step / 5.0))) << step;
  }
  Ticks(1);
  EXPECT_TRUE(Shows(b, active));
  EXPECT_TRUE(b->FadeRunning());
  Ticks(1);
  EXPECT_FALSE(b->FadeRunning());
  EXPECT_TRUE(Shows(b, active));
}

TEST_F(SkinButtonTest, FadeInterruptedByLeavingTurnsBackFromWhereItStands) {
  UseSkin(kNinePart + kLooks + "morphing=1\n");
  auto* b = MakeButton({10, 10, 71, 43});
  const TPixmap normal = Reference(*skin, {0, 0, 40, 20}, 61, 33);
  const TPixmap active = Reference(*skin, {0, 20, 40, 40}, 61, 33);
  Move(Center(b));
  Ticks(2);
  EXPECT_TRUE(Shows(b, Blend(normal, active, 0.4)));
  Move({300, 150});
  Ticks(1);
  EXPECT_TRUE(Shows(b, Blend(normal, active, 0.2)));
  Ticks(1);
  EXPECT_TRUE(Shows(b, normal));
  Ticks(1);
  EXPECT_FALSE(b->FadeRunning());
  // Pressing during a fade shows the down look at once.
  Move(Center(b));
  Ticks(1);
  hp->InjectMouseDown();
  Pump();
  EXPECT_TRUE(Shows(b, Reference(*skin, {0, 40, 40, 60}, 61, 33)));
  hp->InjectMouseUp();
  Pump();
}

TEST_F(SkinButtonTest, HoverPresentsOnlyTheButtonsRectangle) {
  UseSkin(kNinePart + kLooks + "morphing=1\n");
  auto* b = MakeButton({30, 40, 91, 73});
  MakeButton({150, 40, 190, 60});
  Ticks(3);  // the first showing settles
  THeadlessWindow& w = testing::PlatformWindow(form);
  const int before = w.PresentCount();
  const TRect area = b->BoundsRect();
  Move(Center(b));
  for (int i = 0; i < 7; ++i) {
    Ticks(1);
    const TRect dirty = w.LastPresentDirty().Bounds();
    EXPECT_TRUE(dirty.IsEmpty() || (dirty.Left >= area.Left && dirty.Top >= area.Top &&
                                    dirty.Right <= area.Right && dirty.Bottom <= area.Bottom))
        << i << ": " << dirty.Left << "," << dirty.Top << "," << dirty.Right << "," << dirty.Bottom;
  }
  EXPECT_GT(w.PresentCount(), before);
}

// Without a description: the shared plain-look colours by state.
TEST_F(SkinButtonTest, PlainLookWithoutADescription) {
  UseSkin(kNinePart);
  auto* b = MakeButton({10, 10, 85, 35});
  b->SetSkinDataName("nosuchbutton");
  auto* other = MakeButton({100, 10, 140, 30});
  other->SetFocus();
  b->Invalidate();
  Pump();
  const auto at = [&](TPoint p) { return ShownPixel(b, p); };
  EXPECT_EQ(at({0, 0}), Rgb(clBtnShadow));
  EXPECT_EQ(at({5, 5}), Rgb(clBtnFace));
  Move(Center(b));
  EXPECT_EQ(at({0, 0}), PixelFromColorRef(0xB76B3B));
  EXPECT_EQ(at({5, 5}), PixelFromColorRef(0xF3D4C1));
  hp->InjectMouseDown();
  Pump();
  EXPECT_EQ(at({5, 5}), PixelFromColorRef(0xE4BCA2));
  hp->InjectMouseUp();
  Pump();
}


// Frames cut from the animation strip step every AnimateInterval ms in
// place of the active look, which shows again once the strip has run out.
TEST_F(SkinButtonTest, HoverAnimationRunsThroughItsFrames) {
  UseSkin(kNinePart + kLooks + "animateskinrect=40,0,160,20\nframecount=3\nanimateinterval=25\n");
  auto* b = MakeButton({10, 10, 50, 30});
  Move(Center(b));
  EXPECT_TRUE(b->AnimationRunning());
  EXPECT_TRUE(Shows(b, Reference(*skin, {40, 0, 80, 20}, 40, 20)));
  Ticks(1, 25);
  EXPECT_TRUE(Shows(b, Reference(*skin, {80, 0, 120, 20}, 40, 20)));
  Ticks(1, 25);
  EXPECT_TRUE(Shows(b, Reference(*skin, {120, 0, 160, 20}, 40, 20)));
  Ticks(1, 25);
  EXPECT_FALSE(b->AnimationRunning());
  EXPECT_TRUE(Shows(b, Reference(*skin, {0, 20, 40, 40}, 40, 20)));
  // Leaving runs it backwards over the normal look.
  Move({300, 150});
  EXPECT_TRUE(Shows(b, Reference(*skin, {120, 0, 160, 20}, 40, 20)));
  Ticks(3, 25);
  EXPECT_FALSE(b->AnimationRunning());
  EXPECT_TRUE(Shows(b, Reference(*skin, {0, 0, 40, 20}, 40, 20)));
}

// A transparent button shows its parent in the normal state only.
TEST_F(SkinButtonTest, TransparentButtonShowsItsParentUntilHovered) {
  UseSkin(kNinePart + kLooks);
  auto* b = MakeButton({10, 10, 50, 30});
  b->SetTransparent(true);
  Pump();
  EXPECT_TRUE(Shows(b, TPixmap(40, 20, Rgb(form->Color()))));
  Move(Center(b));
  EXPECT_TRUE(Shows(b, Reference(*skin, {0, 20, 40, 40}, 40, 20)));
}

// A four-frame glyph strip: normal 1, disabled 2, down 3, hot 4. Each frame
// is one colour with a transparent bottom-left pixel.
TEST_F(SkinButtonTest, GlyphFrameFollowsTheState) {
  UseSkin(kNinePart + kLooks);
  auto* b = MakeButton({10, 10, 90, 40});
  auto* other = MakeButton({100, 10, 140, 30});
  other->SetFocus();
  const uint32_t colours[] = {0xFF0000FF, 0xFF00FF00, 0xFFFF0000, 0xFF00FFFF};
  TBitmap glyph(32, 8);
  for (int f = 0; f < 4; ++f)
    for (int y = 0; y < 8; ++y)
      for (int x = 0; x < 8; ++x) glyph.Pixels().At(8 * f + x, y) = y == 7 && x == 0 ? 0xFFFF00FF : colours[f];
  glyph.Modified();
  b->SetGlyph(glyph);
  b->SetNumGlyphs(4);
  // Content (5,5)-(75,25): the glyph is centred at (36, 11).
  const TPoint inside{39, 14};
  EXPECT_EQ(ShownPixel(b, inside), colours[0]);
  Move(Center(b));
  EXPECT_EQ(ShownPixel(b, inside), colours[3]);
  hp->InjectMouseDown();
  Pump();
  EXPECT_EQ(ShownPixel(b, inside), colours[2]);
  EXPECT_EQ(ShownPixel(b, {36, 11}), Reference(*skin, {0, 40, 40, 60}, 80, 30).At(36, 11));  // shifted
  hp->InjectMouseUp();
  Move({300, 150});
  other->SetFocus();
  b->SetEnabled(false);
  EXPECT_EQ(ShownPixel(b, inside), colours[1]);
  b->SetNumGlyphs(1);  // the whole strip is one frame, centred at (24, 11)
  EXPECT_EQ(ShownPixel(b, {27, 14}), colours[0]);
  EXPECT_EQ(ShownPixel(b, {35, 14}), colours[1]);
}


// An image of the image list replaces the glyph while its index is valid.
TEST_F(SkinButtonTest, ImageListImageBeforeTheGlyph) {
  UseSkin(kNinePart + kLooks);
  auto* b = MakeButton({10, 10, 90, 40});
  auto* images = new TImageList(form);
  images->SetSize(8, 8);
  TBitmap strip(16, 8);
  strip.Pixels().Resize(16, 8, 0xFF00FF00);
  for (int y = 0; y < 8; ++y)
    for (int x = 8; x < 16; ++x) strip.Pixels().At(x, y) = 0xFFFF0000;
  strip.Modified();
  images->Add(strip);
  TBitmap glyph(8, 8);
  glyph.Pixels().Resize(8, 8, 0xFF0000FF);
  glyph.Pixels().At(0, 7) = 0xFFFF00FF;
  glyph.Modified();
  b->SetGlyph(glyph);
  b->SetImageList(images);
  const TPoint inside{39, 14};  // the 8 x 8 image is centred at (36, 11)
  EXPECT_EQ(ShownPixel(b, inside), 0xFF0000FFu);  // index -1: the glyph
  b->SetImageIndex(1);
  EXPECT_EQ(ShownPixel(b, inside), 0xFFFF0000u);
  b->SetImageIndex(2);  // outside the list: the glyph again
  EXPECT_EQ(ShownPixel(b, inside), 0xFF0000FFu);
  b->SetImageIndex(0);
  EXPECT_EQ(ShownPixel(b, inside), 0xFF00FF00u);
  delete images;  // the button forgets the list
  EXPECT_EQ(b->ImageList(), nullptr);
  EXPECT_EQ(ShownPixel(b, inside), 0xFF0000FFu);
}


// A skin change stops a running fade; a hovered button keeps its active
// look in the new skin at once.
TEST_F(SkinButtonTest, SkinChangeDuringAFadeLandsOnTheNewActiveLook) {
  UseSkin(kNinePart + kLooks + "morphing=1\n");
  auto* b = MakeButton({10, 10, 71, 43});
  Move(Center(b));
  Ticks(2);
  EXPECT_TRUE(b->FadeRunning());
  auto next = testing::MakeButtonSkin(kNinePart + "activeskinrect=40,20,80,40\nmorphing=1\n");
  b->SetSkinData(next.get());
  EXPECT_FALSE(b->FadeRunning());
  EXPECT_DOUBLE_EQ(b->MorphKf(), 1.0);
  EXPECT_TRUE(Shows(b, Reference(*next, {40, 20, 80, 40}, 61, 33)));
  b->SetSkinData(nullptr);
  skin = std::move(next);
}

}  // namespace
}  // namespace qz
