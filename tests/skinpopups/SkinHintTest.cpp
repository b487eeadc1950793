// Skinned hints: the [HINTWINDOW] look against a direct composition, window
// size and text layout by hand, the plain look, fade-in steps, titles and
// images of skinned controls, and the hints the program shows itself.
#include <gtest/gtest.h>

#include "host/ui/ImgList.h"
#include "skin/controls/SkinControl.h"
#include "skin/draw/EffectBmp.h"
#include "skin/draw/QzComposition.h"
#include "skin/popups/SkinHint.h"
#include "tests/host_ui/UiTestSupport.h"
#include "tests/skinform/FramePaintTestKit.h"

namespace qz::testing {
namespace {

// Picture 0 (40 x 30): nine-part, corner points (8,6)-(32,24) on the client
// rect, every edge stretched. Font Tahoma 13 in blue.
const char* kHintSection =
    "[HINTWINDOW]\r\nwindowpictureindex=0\r\nlefttoppoint=8,6\r\nrighttoppoint=32,6\r\n"
    "leftbottompoint=8,24\r\nrightbottompoint=32,24\r\nclientrect=8,6,32,24\r\n"
    "leftstretch=1\r\ntopstretch=1\r\nrightstretch=1\r\nbottomstretch=1\r\n"
    "fontname=Tahoma\r\nfontheight=13\r\nfontcolor=16711680\r\n";

std::unique_ptr<TqzSkinData> HintSkin(const std::string& section = kHintSection) {
  TTestSkinParts parts;
  parts.Picture = Pattern(8, 8, 2);
  parts.Active.push_back(Pattern(40, 30, 5));
  parts.Active.push_back(Pattern(100, 30, 6));
  parts.Text = section;
  return LoadTestSkin(parts);
}

class SkinHintTest : public UiTest {
 protected:
  void SetUp() override {
    UiTest::SetUp();
    form = MakeForm({100, 100, 500, 400}, bsSizeable, "Hints");
    Application->SetMainForm(form);
    panel = new TPanel(form);
    panel->SetParent(form);
    panel->SetBounds(10, 10, 80, 40);
    panel->SetHint("Save");
    panel->SetShowHint(true);
    hint = new TqzSkinHint(form);
    Pump();
  }
  void TearDown() override {
    UiTest::TearDown();
    skin.reset();
  }

  void Wait(uint64_t ms) {
    hp->AdvanceClock(ms);
    Pump();
  }
  // Rests the pointer on the control until its hint shows.
  TqzSkinHintWindow* HoverUntilShown(TControl* c) {
    Move(c->ClientToScreen({20, 20}));
    Wait(static_cast<uint64_t>(Application->HintPause()));
    auto* w = dynamic_cast<TqzSkinHintWindow*>(Application->Hints().Window());
    return w != nullptr && w->IsShowing() ? w : nullptr;
  }
  TSize TextSize(const TFont& font, const std::string& text) {
    TCanvas canvas;
    canvas.Font().Assign(font);
    TRect r;
    canvas.DrawText(text, r, DT_CALCRECT | DT_NOPREFIX);
    return {r.Width(), r.Height()};
  }
  static void SetSkinFont(TFont& f) {
    f.SetName("Tahoma");
    f.SetHeight(13);
  }
  TSize SkinTextSize(const std::string& text) {
    TFont f;
    SetSkinFont(f);
    return TextSize(f, text);
  }

  TForm* form = nullptr;
  TPanel* panel = nullptr;
  TqzSkinHint* hint = nullptr;
  std::unique_ptr<TqzSkinData> skin;
};

TEST_F(SkinHintTest, TakesOverTheApplicationsHintWindowAndGivesItBack) {
  EXPECT_EQ(Application->HintShortPause(), 100);
  ASSERT_NE(HoverUntilShown(panel), nullptr);
  delete hint;
  hint = nullptr;
  EXPECT_FALSE(Application->HintWindowClass);
  EXPECT_FALSE(Application->OnShowHint);
  Move(form->ClientToScreen({300, 200}));
  Move(panel->ClientToScreen({20, 20}));
  Wait(500);
  THintWindow* plain = Application->Hints().Window();
  ASSERT_NE(plain, nullptr);
  EXPECT_TRUE(plain->IsShowing());
  EXPECT_EQ(dynamic_cast<TqzSkinHintWindow*>(plain), nullptr);
}

TEST_F(SkinHintTest, WithoutSkinDataThePlainLookUsesDefaultFont) {
  TqzSkinHintWindow* w = HoverUntilShown(panel);
  ASSERT_NE(w, nullptr);
  const TSize text = TextSize(hint->DefaultFont(), "Save");
  EXPECT_FALSE(w->Layout().Skinned);
  EXPECT_EQ(w->Width(), text.cx + 4);
  EXPECT_EQ(w->Height(), text.cy + 4);
  const TRect r = w->BoundsRect();
  EXPECT_EQ(ScreenPixel(r.TopLeft()), UiTest::Rgb(clBtnShadow));
  EXPECT_EQ(ScreenPixel({r.Right - 1, r.Bottom - 1}), UiTest::Rgb(clBtnShadow));
  EXPECT_EQ(ScreenPixel({r.Left + 1, r.Top + 1}), UiTest::Rgb(clInfoBk));
}

TEST_F(SkinHintTest, SkinnedWindowSizeAndTextRectByHand) {
  skin = HintSkin();
  hint->SetSkinData(skin.get());
  TqzSkinHintWindow* w = HoverUntilShown(panel);
  ASSERT_NE(w, nullptr);
  const TSize text = SkinTextSize("Save");
  // width: text + clientrect left + picture width - clientrect right + 5
  const int dx = text.cx + 8 + 40 - 32 + 5 - 40;
  const int dy = text.cy + 6 + 30 - 24 - 30;
  EXPECT_TRUE(w->Layout().Skinned);
  EXPECT_EQ(w->Width(), 40 + dx);
  EXPECT_EQ(w->Height(), 30 + dy);
  EXPECT_EQ(w->Layout().TextRect, (TRect{8, 6, 32 + dx, 24 + dy}));
  EXPECT_EQ(w->Layout().NewRBPoint, (TPoint{32 + dx, 24 + dy}));
}

TEST_F(SkinHintTest, SkinnedPixelsAreTheComposedPictureOutsideTheText) {
  skin = HintSkin();
  hint->SetSkinData(skin.get());
  TqzSkinHintWindow* w = HoverUntilShown(panel);
  ASSERT_NE(w, nullptr);
  const int W = w->Width(), H = w->Height();
  const int dx = W - 40, dy = H - 30;
  TqzSkinGeometry g;
  g.SkinRect = {0, 0, 40, 30};
  g.LeftTopPoint = {8, 6};
  g.RightTopPoint = {32, 6};
  g.LeftBottomPoint = {8, 24};
  g.RightBottomPoint = {32, 24};
  g.ClientRect = {8, 6, 32, 24};
  g.LeftStretch = g.TopStretch = g.RightStretch = g.BottomStretch = true;
  const TqzNewGeometry n{W, H, {8, 6}, {32 + dx, 6}, {8, 24 + dy}, {32 + dx, 24 + dy}, {8, 6, 32 + dx, 24 + dy}};
  TBitmap reference;
  CreateSkinImage(g, n, true, W, H, *skin->ActivePicture(0), reference);
  const TPixmap screen = hp->ComposeScreen();
  const TRect bounds = w->BoundsRect();
  const TRect textRect = w->Layout().TextRect;
  int textPixels = 0;
  for (int y = 0; y < H; ++y)
    for (int x = 0; x < W; ++x) {
      const uint32_t shown = testing::Rgb(screen.At(bounds.Left + x, bounds.Top + y));
      const uint32_t composed = testing::Rgb(reference.Pixels().At(x, y));
      if (textRect.Contains({x, y})) {
        textPixels += shown != composed;
        continue;
      }
      ASSERT_EQ(shown, composed) << "at " << x << "," << y;
    }
  EXPECT_GT(textPixels, 10) << "the text is drawn in the text rect";
}

TEST_F(SkinHintTest, CornerPointsNeverCross) {
  // Client rect wider and taller than the span of the corner points: a short
  // text would pull the right and bottom points past the left and top ones.
  skin = HintSkin(
      "[HINTWINDOW]\r\nwindowpictureindex=1\r\nlefttoppoint=45,12\r\nrighttoppoint=55,12\r\n"
      "leftbottompoint=45,18\r\nrightbottompoint=55,18\r\nclientrect=10,2,90,28\r\n");
  hint->SetSkinData(skin.get());
  panel->SetHint("i");
  TqzSkinHintWindow* w = HoverUntilShown(panel);
  ASSERT_NE(w, nullptr);
  EXPECT_EQ(w->Width(), 100 - 10);
  EXPECT_EQ(w->Height(), 30 - 6);
  EXPECT_EQ(w->Layout().NewRTPoint, (TPoint{45, 12}));
  EXPECT_EQ(w->Layout().NewLBPoint, (TPoint{45, 12}));
  EXPECT_EQ(w->Layout().TextRect, (TRect{10, 2, 80, 22}));
}

TEST_F(SkinHintTest, LineSeparatorBreaksTheText) {
  skin = HintSkin();
  hint->SetSkinData(skin.get());
  panel->SetHint("Two@words");
  TqzSkinHintWindow* w = HoverUntilShown(panel);
  ASSERT_NE(w, nullptr);
  TCanvas canvas;
  SetSkinFont(canvas.Font());
  const int line = canvas.TextHeight("Ag");
  const int widest = std::max(canvas.TextWidth("Two"), canvas.TextWidth("words"));
  EXPECT_EQ(w->Height(), 2 * line + 6 + 30 - 24);
  EXPECT_EQ(w->Width(), widest + 8 + 40 - 32 + 5);
  EXPECT_EQ(hint->FormatText("a@b@c"), "a\nb\nc");
  hint->LineSeparator = "";
  EXPECT_EQ(hint->FormatText("a@b"), "a@b");
}

TEST_F(SkinHintTest, FadeInStepsEndExactlyOnTheTargetAlpha) {
  hint->AlphaBlend = true;
  hint->AlphaBlendAnimation = true;
  hint->AlphaBlendValue = 205;  // steps of 20, the last one short
  TqzSkinHintWindow* w = HoverUntilShown(panel);
  ASSERT_NE(w, nullptr);
  EXPECT_NE(GetWindowLong(HWND(w), GWL_EXSTYLE) & WS_EX_LAYERED, 0);
  std::vector<int> seen{w->CurrentAlpha()};
  for (int i = 0; i < 15; ++i) {
    Wait(TqzSkinHintWindow::kFadeIntervalMs);
    if (seen.back() != w->CurrentAlpha()) seen.push_back(w->CurrentAlpha());
  }
  EXPECT_EQ(seen, (std::vector<int>{0, 20, 40, 60, 80, 100, 120, 140, 160, 180, 200, 205}));

  // Without the animation the window opens at the value; without blending
  // it is no longer layered.
  hint->AlphaBlendAnimation = false;
  Click(panel->ClientToScreen({20, 20}));
  Move(form->ClientToScreen({300, 200}));
  w = HoverUntilShown(panel);
  ASSERT_NE(w, nullptr);
  EXPECT_EQ(w->CurrentAlpha(), 205);
  hint->AlphaBlend = false;
  Move(form->ClientToScreen({300, 200}));
  w = HoverUntilShown(panel);
  ASSERT_NE(w, nullptr);
  EXPECT_EQ(GetWindowLong(HWND(w), GWL_EXSTYLE) & WS_EX_LAYERED, 0);
}

// AlphaBlendSupport asks the platform every time: without per-pixel alpha
// the hint blends in software and its window is not layered.
TEST_F(SkinHintTest, LayeredOnlyWhileThePlatformHasPerPixelAlpha) {
  hint->AlphaBlend = true;
  hint->AlphaBlendAnimation = false;
  for (bool perPixel : {false, true, false}) {
    hp->SetPerPixelAlpha(perPixel);
    EXPECT_EQ(hint->AlphaBlendSupport(), perPixel);
    Move(form->ClientToScreen({300, 200}));
    TqzSkinHintWindow* w = HoverUntilShown(panel);
    ASSERT_NE(w, nullptr);
    EXPECT_EQ((GetWindowLong(HWND(w), GWL_EXSTYLE) & WS_EX_LAYERED) != 0, perPixel);
    Click(panel->ClientToScreen({20, 20}));
  }
}

TEST_F(SkinHintTest, SkinnedControlsGiveATitleAndAnImage) {
  auto* images = new TImageList(form);
  images->SetSize(16, 16);
  TBitmap red;
  red.SetSize(16, 16);
  red.Canvas().Brush().SetColor(clRed);
  red.Canvas().FillRect({0, 0, 16, 16});
  images->Add(red);
  auto* control = new TqzSkinCustomControl(form);
  control->SetParent(form);
  control->SetBounds(120, 10, 80, 40);
  control->SetHint("Body text");
  control->SetShowHint(true);
  control->SetHintTitle("Title");
  control->SetHintImageList(images);
  Pump();
  TqzSkinHintWindow* w = HoverUntilShown(control);
  ASSERT_NE(w, nullptr);
  EXPECT_TRUE(w->Layout().Extended);
  TFont bold;
  bold.Assign(hint->DefaultFont());
  bold.SetStyle({TFontStyle::fsBold});
  const TSize title = TextSize(bold, "Title");
  const TSize body = TextSize(hint->DefaultFont(), "Body text");
  EXPECT_EQ(w->Width(), 16 + 10 + std::max(title.cx, body.cx) + 4);
  EXPECT_EQ(w->Height(), std::max(title.cy + 10 + body.cy, 16 + title.cy + 5) + 4);
  // Image top-left inside the plain margin, the title beside it, the text
  // below the title.
  EXPECT_EQ(w->Layout().ImagePos, (TPoint{2, 2}));
  EXPECT_EQ(w->Layout().TitleRect, (TRect{2 + 26, 2, 2 + 26 + title.cx, 2 + title.cy}));
  EXPECT_EQ(w->Layout().BodyRect.TopLeft(), (TPoint{2 + 26, 2 + title.cy + 10}));
  const TRect r = w->BoundsRect();
  EXPECT_EQ(ScreenPixel({r.Left + 2, r.Top + 2}), UiTest::Rgb(clRed));
  EXPECT_EQ(ScreenPixel({r.Left + 17, r.Top + 17}), UiTest::Rgb(clRed));

  // The next, plain control shows no title, and freeing the image list
  // while captured leaves nothing dangling.
  Move(form->ClientToScreen({300, 200}));
  w = HoverUntilShown(panel);
  ASSERT_NE(w, nullptr);
  EXPECT_FALSE(w->Layout().Extended);
  EXPECT_EQ(hint->ImageList(), nullptr);
}

TEST_F(SkinHintTest, ProgramHintOpensAfterThePauseAndClosesAfterTheHidePause) {
  const TPoint cursor = form->ClientToScreen({200, 100});
  Move(cursor);
  hint->ShowHintText("Close");
  EXPECT_TRUE(hint->ProgramHintPending());
  Wait(499);
  EXPECT_FALSE(hint->Window()->IsShowing());
  Wait(1);
  ASSERT_TRUE(hint->Window()->IsShowing());
  EXPECT_EQ(hint->Window()->BoundsRect().TopLeft(), (TPoint{cursor.X, cursor.Y + kCursorVisibleHeight}));
  Wait(2499);
  EXPECT_TRUE(hint->Window()->IsShowing());
  Wait(1);
  EXPECT_FALSE(hint->Window()->IsShowing());

  // A new request cancels the pending one; HideHint closes at once.
  hint->ShowHintText("First");
  Wait(300);
  hint->ActivateHint(cursor, "Second");
  ASSERT_TRUE(hint->Window()->IsShowing());
  EXPECT_EQ(hint->Window()->Caption(), "Second");
  hint->HideHint();
  EXPECT_FALSE(hint->Window()->IsShowing());
  Wait(5000);
  EXPECT_FALSE(hint->Window()->IsShowing());
}

TEST_F(SkinHintTest, NearTheLowerRightCornerTheHintOpensUpAndLeft) {
  const TRect work = HintWorkArea({0, 0});
  const TPoint at{work.Right - 3, work.Bottom - 3};
  hint->ActivateHint(at, "Corner");
  TqzSkinHintWindow* w = hint->Window();
  ASSERT_TRUE(w->IsShowing());
  EXPECT_EQ(w->Left(), at.X - w->Width() - 2);
  EXPECT_EQ(w->Top(), at.Y - w->Height() - 2);
}

TEST_F(SkinHintTest, ActivatingOneComponentDeactivatesTheOthers) {
  auto* second = new TqzSkinHint(form);
  EXPECT_TRUE(hint->Active());
  second->SetActive(true);
  EXPECT_FALSE(hint->Active());
  EXPECT_TRUE(second->Active());
  // The application's window takes the active component's look.
  skin = HintSkin();
  second->SetSkinData(skin.get());
  TqzSkinHintWindow* w = HoverUntilShown(panel);
  ASSERT_NE(w, nullptr);
  EXPECT_EQ(w->HintComponent(), second);
  EXPECT_TRUE(w->Layout().Skinned);
}

TEST_F(SkinHintTest, FreeingTheSkinOrTheControlWhileTheHintShows) {
  skin = HintSkin();
  hint->SetSkinData(skin.get());
  TqzSkinHintWindow* w = HoverUntilShown(panel);
  ASSERT_NE(w, nullptr);
  skin.reset();
  EXPECT_EQ(hint->SkinData(), nullptr);
  w->Invalidate();
  Pump();  // repaints in the plain look
  delete panel;
  panel = nullptr;
  EXPECT_FALSE(w->IsShowing());
}

TEST_F(SkinHintTest, WithoutLayeredWindowsTheHintBlendsOverTheCapturedScreen) {
  hp->SetPerPixelAlpha(false);
  hint->SetAlphaBlendSupport(true);
  EXPECT_FALSE(hint->AlphaBlendSupport());
  hint->AlphaBlend = true;
  hint->AlphaBlendValue = 90;
  form->SetColor(static_cast<TColor>(0x3070B0));
  Pump();
  const TPoint at = form->ClientToScreen({150, 120});
  auto screenAt = [&](TPoint p) { return hp->ComposeScreen().At(p.X, p.Y) & 0xFFFFFFu; };
  const uint32_t under = screenAt(at + TPoint{1, 1});
  hint->ActivateHint(at, "Save");
  Pump();
  TqzSkinHintWindow* w = hint->Window();
  ASSERT_TRUE(w->IsShowing());
  EXPECT_TRUE(w->SoftwareAlpha());
  EXPECT_EQ(w->CurrentAlpha(), 255);
  // The plain look's info background, 90/255 of it over the form.
  TPixmap a(1, 1, PixelFromColorRef(ColorToRGB(clInfoBk))), b(1, 1, under | 0xFF000000u);
  TqzEffectBmp mixed(a);
  mixed.Morph(TqzEffectBmp(b), 1.0 - 90 / 255.0);
  EXPECT_EQ(screenAt(w->BoundsRect().TopLeft() + TPoint{1, 1}), mixed.GetPixel(0, 0) & 0xFFFFFFu);
  hint->HideHint();
}

}  // namespace
}  // namespace qz::testing
