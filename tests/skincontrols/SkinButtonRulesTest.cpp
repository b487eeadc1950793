// The button's window-free rules: which look a state shows and how missing
// looks fall back, the fade steps, glyph frames, caption colours and
// animation frames.
#include <gtest/gtest.h>

#include "skin/controls/SkinButton.h"
#include "skin/data/SkinControlData.h"

namespace qz {
namespace {

using enum TqzButtonLook;

TEST(SkinButtonLookRules, MissingLooksFallBackAlongTheChain) {
  TqzDataSkinButtonControl d("button");
  d.SkinRect = {0, 0, 40, 20};
  TqzButtonLooks only = ResolveButtonLooks(d);
  EXPECT_EQ(only.Active, d.SkinRect);  // active <- normal
  EXPECT_EQ(only.Down, d.SkinRect);    // down <- active <- normal
  EXPECT_TRUE(only.Focused.IsEmpty());
  EXPECT_TRUE(only.Disabled.IsEmpty());

  d.ActiveSkinRect = {0, 20, 40, 40};
  EXPECT_EQ(ResolveButtonLooks(d).Down, d.ActiveSkinRect);  // down <- active
  d.DownSkinRect = {0, 40, 40, 60};
  EXPECT_EQ(ResolveButtonLooks(d).Down, d.DownSkinRect);
}

TEST(SkinButtonLookRules, ChoiceFollowsTheFirstMatchingRule) {
  TqzButtonState s;
  EXPECT_EQ(ChooseButtonLook(s).Look, Normal);

  s.MouseIn = true;
  EXPECT_EQ(ChooseButtonLook(s).Look, Active);
  EXPECT_TRUE(ChooseButtonLook(s).IsActive);

  // A focused button shows its focused look, unless an animation runs.
  s = {};
  s.Focused = true;
  EXPECT_EQ(ChooseButtonLook(s).Look, Active);  // no focused look: the active one
  s.HasFocusedLook = true;
  EXPECT_EQ(ChooseButtonLook(s).Look, Focused);
  s.Animating = true;
  EXPECT_EQ(ChooseButtonLook(s).Look, Active);

  // Disabled without a look of its own keeps the normal one.
  s = {};
  s.Enabled = false;
  EXPECT_EQ(ChooseButtonLook(s).Look, Normal);
  s.HasDisabledLook = true;
  EXPECT_EQ(ChooseButtonLook(s).Look, Disabled);
  s.Down = true;
  s.GroupIndex = 1;
  EXPECT_EQ(ChooseButtonLook(s).Look, Disabled);  // disabled wins over down
}

TEST(SkinButtonLookRules, DownLookOfPushAndGroupButtons) {
  TqzButtonState s;
  s.Down = true;
  // A push button held down shows the down look only while the mouse is on it.
  EXPECT_EQ(ChooseButtonLook(s).Look, Normal);
  s.MouseIn = true;
  EXPECT_EQ(ChooseButtonLook(s).Look, Down);
  // Held by the Space key: focused and not pressed by the mouse.
  s.MouseIn = false;
  s.Focused = true;
  EXPECT_EQ(ChooseButtonLook(s).Look, Down);
  s.MouseDownFlag = true;
  EXPECT_EQ(ChooseButtonLook(s).Look, Active);
  // A group button that is down always shows it.
  s = {};
  s.Down = true;
  s.GroupIndex = 2;
  TqzButtonLookChoice c = ChooseButtonLook(s);
  EXPECT_EQ(c.Look, Down);
  EXPECT_TRUE(c.IsActive && c.IsDown);
}

TEST(SkinButtonLookRules, FadeBlendsOnlyBetweenItsEnds) {
  TqzButtonState s;
  s.MorphAvailable = true;
  for (int step = 1; step < kButtonFadeSteps; ++step) {
    s.FadeStep = step;
    EXPECT_EQ(ChooseButtonLook(s).Look, Fade) << step;
  }
  s.FadeStep = kButtonFadeSteps;  // faded in, mouse already gone: still active
  EXPECT_EQ(ChooseButtonLook(s).Look, Active);
  s.FadeStep = 2;
  s.Enabled = false;
  EXPECT_EQ(ChooseButtonLook(s).Look, Normal);
  s.Enabled = true;
  s.MorphAvailable = false;
  EXPECT_EQ(ChooseButtonLook(s).Look, Normal);
}

TEST(SkinButtonFade, StepsReachTheirEndExactlyAndStopOneTickLater) {
  int step = 0;
  std::vector<double> kfs;
  for (;;) {
    TqzFadeTick t = NextFadeTick(step, true);
    step = t.Step;
    if (t.Stop) break;
    kfs.push_back(FadeKf(step));
  }
  EXPECT_EQ(kfs, (std::vector<double>{0.2, 0.4, 0.6, 0.8, 1.0}));
  EXPECT_EQ(step, kButtonFadeSteps);
  // Turning back part-way walks down from where it stands.
  EXPECT_EQ(NextFadeTick(3, false).Step, 2);
  EXPECT_EQ(NextFadeTick(1, false).Step, 0);
  EXPECT_TRUE(NextFadeTick(0, false).Stop);
}

TEST(SkinButtonGlyph, FrameByStateAndFrameCount) {
  EXPECT_EQ(ButtonGlyphFrame(1, true, true, true), 1);
  EXPECT_EQ(ButtonGlyphFrame(1, false, false, false), 1);  // too few frames: frame 1
  EXPECT_EQ(ButtonGlyphFrame(2, false, false, false), 2);  // disabled
  EXPECT_EQ(ButtonGlyphFrame(2, true, true, true), 1);
  EXPECT_EQ(ButtonGlyphFrame(3, true, true, true), 3);     // down
  EXPECT_EQ(ButtonGlyphFrame(3, true, false, true), 1);    // no hot frame yet
  EXPECT_EQ(ButtonGlyphFrame(4, true, false, true), 4);    // hot
  EXPECT_EQ(ButtonGlyphFrame(4, false, false, false), 2);
}

TEST(SkinButtonCaption, ColourRule) {
  const TqzButtonColors c{1, 2, 3, 4, 5, 6};
  TqzCaptionColorInput in;
  EXPECT_EQ(ButtonCaptionColor(c, in), 1);
  in.Active = true;
  EXPECT_EQ(ButtonCaptionColor(c, in), 2);
  in.Down = true;
  EXPECT_EQ(ButtonCaptionColor(c, in), 3);
  in.Enabled = false;
  EXPECT_EQ(ButtonCaptionColor(c, in), 4);
  in.UseSkinFontColor = false;  // disabled keeps the skin's disabled colour
  EXPECT_EQ(ButtonCaptionColor(c, in), 4);
  in.Enabled = true;
  EXPECT_EQ(ButtonCaptionColor(c, in), 5);
  in = {};
  in.Transparent = in.HasSkin = true;
  EXPECT_EQ(ButtonCaptionColor(c, in), 6);
}

TEST(SkinButtonAnimation, FramesAcrossOrDownTheStrip) {
  const TRect skin{0, 0, 30, 10};
  EXPECT_EQ(AnimationFrameRect({0, 20, 90, 30}, skin, 3, 2), (TRect{30, 20, 60, 30}));
  EXPECT_EQ(AnimationFrameRect({40, 0, 70, 31}, skin, 3, 3), (TRect{40, 20, 70, 30}));
  EXPECT_TRUE(AnimationFrameRect({0, 20, 90, 30}, skin, 3, 0).IsEmpty());
  EXPECT_TRUE(AnimationFrameRect({0, 20, 90, 30}, skin, 3, 4).IsEmpty());
  EXPECT_TRUE(AnimationFrameRect({0, 20, 90, 30}, skin, 0, 1).IsEmpty());
}

}  // namespace
}  // namespace qz
