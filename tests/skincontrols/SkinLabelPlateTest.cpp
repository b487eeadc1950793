// The caption plate: its image by the size rules at the skin's size and
// stretched, the caption's place (odd-height rule), shadow and reflection
// against the effect functions, auto-size and the plain look.
#include "skin/draw/EffectBmp.h"
#include "skin/draw/QzTextEffects.h"
#include "tests/skincontrols/SkinPanelTestKit.h"

namespace qz::testing {
namespace {

using SkinLabelPlateTest = SkinPanelTest;

const TRect kHLabelRect{0, 20, 60, 40};

void UseFont(TCanvas& c, int height, TColor color) {
  c.Font().SetName("Tahoma");
  c.Font().SetHeight(height);
  c.Font().SetStyle({});
  c.Font().SetColor(color);
  c.Brush().SetStyle(TBrushStyle::bsClear);
}

// The caption drawn plainly at its place in r, clipped to r.
void PlainCaption(TCanvas& c, const TRect& r, const std::string& text, TAlignment alignment) {
  const TPoint at = LabelTextOrigin(c, r, text, alignment);
  const int saved = c.SaveDC();
  c.IntersectClipRect(r);
  DrawPlainText(c, at.X, at.Y, text);
  c.RestoreDC(saved);
}

TEST(SkinLabelText, OriginCentresVerticallyOnePixelHigherForOddFontHeights) {
  TCanvas c;
  c.Font().SetName("Tahoma");
  const TRect r{10, 0, 50, 21};
  c.Font().SetHeight(13);
  const TSize odd = c.TextExtent("Wide");
  EXPECT_EQ(LabelTextOrigin(c, r, "Wide", taLeftJustify), (TPoint{10, 10 - odd.cy / 2 - 1}));
  EXPECT_EQ(LabelTextOrigin(c, r, "Wide", taRightJustify).X, 50 - odd.cx);
  EXPECT_EQ(LabelTextOrigin(c, r, "Wide", taCenter).X, 10 + 20 - odd.cx / 2);
  c.Font().SetHeight(14);
  const TSize even = c.TextExtent("Wide");
  EXPECT_EQ(LabelTextOrigin(c, r, "Wide", taLeftJustify), (TPoint{10, 10 - even.cy / 2}));
}

TEST(SkinLabelText, DarkenTakesThePercentOffEachChannelRoundingHalfToEven) {
  EXPECT_EQ(DarkenColor(RGB(112, 112, 112), 70), TColor(RGB(34, 34, 34)));
  // 255 * 0.7 = 178.5 rounds to 178; 150 * 0.7 = 105; 50 * 0.7 = 35.
  EXPECT_EQ(DarkenColor(RGB(50, 150, 255), 70), TColor(RGB(15, 45, 77)));
  EXPECT_EQ(DarkenColor(RGB(9, 0, 1), 50), TColor(RGB(5, 0, 1)));  // 4.5 -> 4, 0.5 -> 0
}

TEST(SkinLabelText, ShadowIsTheBlurredRedTextAsAlphaOfTheShadowColour) {
  TCanvas c;
  UseFont(c, 13, clWhite);
  const TRect r{0, 0, 40, 20};
  const TPoint at = LabelTextOrigin(c, r, "Ab", taLeftJustify);
  TqzBitmap shadow;
  BuildTextShadow(c, r, at, "Ab", RGB(10, 20, 30), 3, shadow);
  ASSERT_EQ(shadow.Width(), 46);
  ASSERT_EQ(shadow.Height(), 26);
  // Independently: the text in red on black, inset by the size, blurred.
  TqzBitmap red(46, 26);
  UseFont(red.Canvas(), 13, RGB(255, 0, 0));
  DrawPlainText(red.Canvas(), at.X + 3, at.Y + 3, "Ab");
  BlurBitmap(red, 3);
  int covered = 0;
  for (int y = 0; y < 26; ++y)
    for (int x = 0; x < 46; ++x) {
      const TqzColor s = *shadow.PixelPtr(x, y);
      ASSERT_EQ(s & 0xFFFFFFu, 0x0A141Eu) << x << "," << y;
      ASSERT_EQ(ColorA(s), ColorR(*red.PixelPtr(x, y))) << x << "," << y;
      covered += ColorA(s) > 0;
    }
  EXPECT_GT(covered, 0);
  EXPECT_TRUE(shadow.AlphaBlend);
}

TEST_F(SkinLabelPlateTest, HorizontalPlateKeepsTheSkinsHeightWhateverIsAskedFor) {
  auto* label = Make<TqzSkinLabel>("hlabel", 0, 0, 100, 50);
  EXPECT_EQ(label->Width(), 100);
  EXPECT_EQ(label->Height(), 20);
  label->SetBounds(0, 0, 130, 7);
  EXPECT_EQ(label->Height(), 20);
  EXPECT_EQ(label->TextRect(), (TRect{10, 0, 120, 20}));
}

TEST_F(SkinLabelPlateTest, HorizontalPlateAtItsSkinSizeAndStretchedEqualsItsComposition) {
  for (int width : {60, 137}) {
    auto* label = Make<TqzSkinLabel>("hlabel", 0, 0, width, 20);
    label->SetCaption("300x200");
    label->SetAlignment(taCenter);
    TBitmap expected;
    CreateHSkinImage(10, 10, expected, false, width, kHLabelRect, SkinPicture());
    UseFont(expected.Canvas(), 13, clWhite);
    PlainCaption(expected.Canvas(), {10, 0, width - 10, 20}, "300x200", taCenter);
    EXPECT_EQ(FirstDifference(Shot(label), RgbOf(expected.Pixels())), "") << width;
    delete label;
  }
}

TEST_F(SkinLabelPlateTest, NinePartPlateWithShadowInTheDarkenedButtonFace) {
  auto* label = Make<TqzSkinLabel>("nlabel", 0, 0, 90, 55);
  label->SetCaption("MPEG");
  label->SetShadowEffect(true);
  label->SetShadowOffset(2);
  EXPECT_EQ(label->EffectiveShadowColor(), TColor(RGB(34, 34, 34)));
  const TRect text{10, 10, 80, 45};
  EXPECT_EQ(label->TextRect(), text);

  TBitmap expected;
  TqzSkinGeometry g{{0, 0, 60, 40}, static_cast<const TqzDataSkinCustomControl&>(Description("nlabel"))};
  CreateSkinImage(g, CalcNewGeometry(g, TqzResizeMode::NinePart, 90, 55), true, 90, 55, SkinPicture(),
                  expected);
  TCanvas& c = expected.Canvas();
  UseFont(c, 11, RGB(255, 255, 0));
  TqzBitmap shadow;
  BuildTextShadow(c, text, LabelTextOrigin(c, text, "MPEG", taLeftJustify), "MPEG", RGB(34, 34, 34), 3,
                  shadow);
  shadow.Draw(&c, 10 + 2 - 3, 10 + 2 - 3);
  PlainCaption(c, text, "MPEG", taLeftJustify);
  EXPECT_EQ(FirstDifference(Shot(label), RgbOf(expected.Pixels())), "");

  // Without the skin's font colour the shadow takes ShadowColor.
  label->SetShadowColor(clNavy);
  label->SetUseSkinFontColor(false);
  EXPECT_EQ(label->EffectiveShadowColor(), clNavy);
}

TEST_F(SkinLabelPlateTest, ReflectionIsTheTextEffectInTheTextColour) {
  auto* label = Make<TqzSkinLabel>("nlabel", 0, 0, 90, 55);
  label->SetCaption("Audio");
  label->SetReflectionEffect(true);
  label->SetReflectionOffset(-3);
  TBitmap expected;
  TqzSkinGeometry g{{0, 0, 60, 40}, static_cast<const TqzDataSkinCustomControl&>(Description("nlabel"))};
  CreateSkinImage(g, CalcNewGeometry(g, TqzResizeMode::NinePart, 90, 55), true, 90, 55, SkinPicture(),
                  expected);
  TCanvas& c = expected.Canvas();
  UseFont(c, 11, RGB(255, 255, 0));
  const TPoint at = LabelTextOrigin(c, {10, 10, 80, 45}, "Audio", taLeftJustify);
  DrawReflectionText(c, at.X, at.Y, "Audio", RGB(255, 255, 0), -3);
  EXPECT_EQ(FirstDifference(Shot(label), RgbOf(expected.Pixels())), "");
}

TEST_F(SkinLabelPlateTest, FreeSizeWithoutSkinSizeStretchesThePlateAndLowersTheTextBottom) {
  auto* label = Make<TqzSkinLabel>("hlabel", 0, 0, 60, 20);
  label->SetUseSkinSize(false);
  label->SetBounds(0, 0, 100, 31);
  label->SetCaption("22000");
  EXPECT_EQ(label->Height(), 31);
  EXPECT_EQ(label->TextRect(), (TRect{10, 0, 90, 31}));
  TBitmap expected(100, 31);
  CreateStretchImage(expected, SkinPicture(), kHLabelRect, {10, 0, 50, 20}, true);
  UseFont(expected.Canvas(), 13, clWhite);
  PlainCaption(expected.Canvas(), {10, 0, 90, 31}, "22000", taLeftJustify);
  EXPECT_EQ(FirstDifference(Shot(label), RgbOf(expected.Pixels())), "");
  label->SetUseSkinSize(true);  // back to the skin's height
  EXPECT_EQ(label->Height(), 20);
}

TEST_F(SkinLabelPlateTest, AutoSizeWidensByWhatTheCaptionNeeds) {
  TCanvas measure;
  UseFont(measure, 13, clWhite);
  auto* label = Make<TqzSkinLabel>("hlabel", 5, 5, 60, 20);
  label->SetAutoSize(true);
  label->SetCaption("c:\\somefilm.avi");
  EXPECT_EQ(label->Width(), measure.TextWidth("c:\\somefilm.avi") + 20);
  label->SetCaption("x");
  EXPECT_EQ(label->Width(), measure.TextWidth("x") + 20);

  // Without a description: text width + 4 in the default font.
  auto* plain = Make<TqzSkinLabel>("nosuchlabel", 5, 40, 60, 20);
  plain->SetCaption("Duration:");
  plain->SetAutoSize(true);
  EXPECT_EQ(plain->Width(), measure.TextWidth("Duration:") + 4);

  // A fixed-size plate cannot follow its text: AutoSize goes off.
  auto* fixed = Make<TqzSkinLabel>("flabel", 5, 70, 10, 10);
  fixed->SetAutoSize(true);
  EXPECT_FALSE(fixed->AutoSize());
  EXPECT_EQ(fixed->Width(), 30);

  // Aligned to the client, the label keeps the width its parent gives it.
  auto* aligned = Make<TqzSkinLabel>("hlabel", 5, 100, 200, 20);
  aligned->SetAlign(alTop);
  const int width = aligned->Width();
  aligned->SetAutoSize(true);
  aligned->SetCaption("x");
  EXPECT_EQ(aligned->Width(), width);
}

TEST_F(SkinLabelPlateTest, PlainLookFramesByBorderStyleAndInsetsTheText) {
  auto* label = Make<TqzSkinLabel>("nosuchlabel", 0, 0, 60, 20);
  label->SetCaption("Hi");
  EXPECT_EQ(label->TextRect(), (TRect{3, 3, 57, 17}));
  TPixmap shot = Shot(label);
  EXPECT_EQ(shot.At(0, 0), PixelOf(clBtnShadow));
  EXPECT_EQ(shot.At(59, 19), PixelOf(clBtnShadow));
  EXPECT_EQ(shot.At(1, 1), PixelOf(clBtnFace));
  label->SetBorderStyle(TqzSkinBorderStyle::bvRaised);
  shot = Shot(label);
  EXPECT_EQ(shot.At(0, 10), PixelOf(clBtnHighlight));
  EXPECT_EQ(shot.At(59, 10), PixelOf(clBtnShadow));
  label->SetBorderStyle(TqzSkinBorderStyle::bvNone);
  EXPECT_EQ(Shot(label).At(0, 10), PixelOf(clBtnFace));
}

TEST_F(SkinLabelPlateTest, TransparentPlateShowsWhatLiesUnderIt) {
  auto* label = Make<TqzSkinLabel>("hlabel", 0, 0, 60, 20);
  label->SetTransparent(true);
  label->SetCaption("Hi");
  EXPECT_EQ(label->TextRect(), (TRect{0, 0, 60, 20}));
  const TPixmap shot = Shot(label);
  EXPECT_EQ(shot.At(59, 0), PixelOf(kFormColor));
  EXPECT_EQ(shot.At(0, 19), PixelOf(kFormColor));
}

}  // namespace
}  // namespace qz::testing
