// The std label: its font from the "stdlabel" description, auto-size in that
// font, the embossed disabled text and the ellipsis of a long caption.
#include "tests/skincontrols/SkinPanelTestKit.h"

namespace qz::testing {
namespace {

using SkinStdLabelTest = SkinPanelTest;

constexpr TColor kSkinLabelColor = RGB(200, 30, 40);

// The extent of a text in a font, as the framework label measures it.
TSize Measure(const TFontData& font, const std::string& text) {
  TCanvas measure;
  measure.Font().SetData(font);
  TRect r{0, 0, 0, 0};
  measure.DrawText(text, r, DT_EXPANDTABS | DT_CALCRECT);
  return {r.Width(), r.Height()};
}

TFontData SkinStdLabelFont() {
  TFontData f;
  f.name = "Tahoma";
  f.height = 15;
  f.style = {TFontStyle::fsBold};
  f.color = kSkinLabelColor;
  return f;
}

TEST_F(SkinStdLabelTest, FontComesFromTheDescriptionByUseSkinFontAndUseSkinColor) {
  auto* label = Make<TqzSkinStdLabel>("stdlabel", 10, 10, 50, 20);
  label->Font().SetName("DejaVu Sans");
  label->Font().SetHeight(18);
  label->Font().SetColor(clBlue);
  TFont f;
  label->SelectTextFont(f);
  EXPECT_EQ(f.Name(), "Tahoma");
  EXPECT_EQ(f.Height(), 15);
  EXPECT_TRUE(f.Style().Contains(TFontStyle::fsBold));
  EXPECT_EQ(f.Color(), kSkinLabelColor);

  label->SetUseSkinFont(false);  // the label's own face, the skin's colour
  label->SelectTextFont(f);
  EXPECT_EQ(f.Name(), "DejaVu Sans");
  EXPECT_EQ(f.Height(), 18);
  EXPECT_EQ(f.Color(), kSkinLabelColor);

  label->SetUseSkinColor(false);
  label->SelectTextFont(f);
  EXPECT_EQ(f.Color(), clBlue);
}

TEST_F(SkinStdLabelTest, WithoutDescriptionDefaultFontOrOwnFont) {
  auto* label = Make<TqzSkinStdLabel>("nosuchlabel", 10, 10, 50, 20);
  label->DefaultFont().SetColor(clMaroon);
  label->Font().SetName("DejaVu Sans");
  TFont f;
  label->SelectTextFont(f);
  EXPECT_EQ(f.Name(), "Tahoma");
  EXPECT_EQ(f.Height(), 13);
  EXPECT_EQ(f.Color(), clMaroon);
  label->SetUseSkinFont(false);
  label->SelectTextFont(f);
  EXPECT_EQ(f.Name(), "DejaVu Sans");

  // A description of another kind under the name is no description.
  auto* wrongKind = Make<TqzSkinStdLabel>("bevel", 10, 40, 50, 20);
  EXPECT_EQ(wrongKind->SkinIndex(), -1);
}

TEST_F(SkinStdLabelTest, AutoSizeFollowsTheSkinFontAcrossASkinChange) {
  auto* label = new TqzSkinStdLabel(form);
  label->SetParent(form);
  label->SetCaption("Compression:");
  label->SetBounds(10, 10, 5, 5);
  const TFontData plain = label->DefaultFont().Data();
  EXPECT_EQ((TSize{label->Width(), label->Height()}), Measure(plain, "Compression:"));

  label->SetSkinData(skin.get());  // the skin is loaded: a skin change
  const TSize skinned = Measure(SkinStdLabelFont(), "Compression:");
  EXPECT_EQ((TSize{label->Width(), label->Height()}), skinned);
  EXPECT_GT(skinned.cx, Measure(plain, "Compression:").cx);

  // The walk of the form's controls re-applies it too.
  label->SetSkinDataName("nosuchlabel");
  NotifySkinControls(form, MSG_SKIN_CHANGED, skin.get());
  EXPECT_EQ((TSize{label->Width(), label->Height()}), Measure(plain, "Compression:"));
}

TEST_F(SkinStdLabelTest, AutoSizeKeepsTheAlignedSideAndMeasuresAnEmptyCaptionAsASpace) {
  auto* label = Make<TqzSkinStdLabel>("stdlabel", 10, 10, 5, 5);
  label->SetAlignment(taRightJustify);
  label->SetCaption("Info:");
  const int right = label->Left() + label->Width();
  label->SetCaption("Convert to:");
  EXPECT_EQ(label->Left() + label->Width(), right);
  EXPECT_EQ(label->Width(), Measure(SkinStdLabelFont(), "Convert to:").cx);

  label->SetAlignment(taLeftJustify);
  label->SetCaption("");
  EXPECT_EQ((TSize{label->Width(), label->Height()}), Measure(SkinStdLabelFont(), " "));
  label->SetCaption("&");  // a lone accelerator marker shows nothing either
  EXPECT_EQ((TSize{label->Width(), label->Height()}), Measure(SkinStdLabelFont(), " "));
}

TEST_F(SkinStdLabelTest, DisabledTextIsEmbossedInTheSkinsHighlightAndShadow) {
  auto* label = Make<TqzSkinStdLabel>("stdlabel", 10, 10, 5, 5);
  label->SetCaption("Off");
  label->SetEnabled(false);
  ASSERT_NE(ColorToRGB(skin->SkinColors().cBtnHighLight), ColorToRGB(skin->SkinColors().cBtnShadow));
  TBitmap expected;
  FillWithFormColor(expected, label->Width(), label->Height());
  TCanvas& c = expected.Canvas();
  c.Font().SetData(SkinStdLabelFont());
  c.Brush().SetStyle(TBrushStyle::bsClear);
  const TRect r{0, 0, label->Width(), label->Height()};
  c.Font().SetColor(skin->SkinColors().cBtnHighLight);
  c.DrawText("Off", OffsetRect(r, 1, 1), DT_EXPANDTABS);
  c.Font().SetColor(skin->SkinColors().cBtnShadow);
  c.DrawText("Off", r, DT_EXPANDTABS);
  EXPECT_EQ(FirstDifference(Shot(label), RgbOf(expected.Pixels())), "");
}

TEST_F(SkinStdLabelTest, EndEllipsisShortensALongCaptionByThePlatformTextCall) {
  auto* label = Make<TqzSkinStdLabel>("stdlabel", 10, 10, 5, 5);
  label->SetAutoSize(false);
  label->SetBounds(10, 10, 60, 20);
  label->SetCaption("c:\\video\\somefilm.avi");
  label->SetEllipsType(TqzEllipsType::qzetEndEllips);
  auto reference = [&](uint32_t flags) {
    TBitmap b;
    FillWithFormColor(b, 60, 20);
    b.Canvas().Font().SetData(SkinStdLabelFont());
    b.Canvas().Brush().SetStyle(TBrushStyle::bsClear);
    b.Canvas().DrawText("c:\\video\\somefilm.avi", TRect{0, 0, 60, 20}, DT_EXPANDTABS | flags);
    return RgbOf(b.Pixels());
  };
  const TPixmap shot = Shot(label);
  EXPECT_EQ(FirstDifference(shot, reference(DT_END_ELLIPSIS)), "");
  EXPECT_NE(FirstDifference(shot, reference(0)), "");
}

}  // namespace
}  // namespace qz::testing
