// The panel's pixels (frame-only strips with the caption in the top border,
// background pictures, the client piece alone), the client area its children
// are aligned in, the group box and the status bar, on synthetic skins and
// on the demo skin's "bottompanel" and "propertypanel".
#include "host/components/FormResource.h"
#include "skin/draw/QzTextEffects.h"
#include "tests/skincontrols/SkinPanelTestKit.h"
#include "tests/skins/DemoSkins.h"

namespace qz::testing {
namespace {

const TqzDataSkinPanelControl& PanelData(const TqzSkinData& skin, const std::string& name) {
  return dynamic_cast<const TqzDataSkinPanelControl&>(*skin.CtrlList()[size_t(skin.FindControlIndex(name))]);
}

// What the frame-only paint shows: the client area of the nine-part image
// under the four border strips.
void FrameOnlyImage(const TqzDataSkinPanelControl& d, const TBitmap& picture, int W, int H, TBitmap& out) {
  const TqzSkinGeometry g = d.Geometry();
  const TqzNewGeometry n = CalcNewGeometry(g, TqzResizeMode::NinePart, W, H);
  CreateSkinImage(g, n, true, W, H, picture, out);
  TBitmap top, bottom, left, right;
  CreateSkinBorderImages(g, n, W, H, picture, top, bottom, left, right);
  TCanvas& c = out.Canvas();
  c.Draw(0, 0, top);
  c.Draw(0, top.Height(), left);
  c.Draw(W - right.Width(), top.Height(), right);
  c.Draw(0, H - bottom.Height(), bottom);
}

// The caption as the panel lays it out, in the description's font, clipped
// to the caption rectangle and to `clip`.
void Caption(TCanvas& c, const TqzDataSkinPanelControl& d, const TRect& caption, const TRect& clip,
             const std::string& text) {
  c.Font().SetName(d.FontName);
  c.Font().SetHeight(d.FontHeight);
  c.Font().SetStyle(d.FontStyle);
  c.Font().SetColor(d.FontColor);
  c.Brush().SetStyle(TBrushStyle::bsClear);
  TqzCaptionParts parts;
  parts.Text = c.TextExtent(text);
  parts.Alignment = d.Alignment;
  parts.OddFontHeight = d.FontHeight % 2 != 0;
  const TPoint at = LayoutCaption(caption, parts).Text;
  const int saved = c.SaveDC();
  c.IntersectClipRect(clip);
  c.IntersectClipRect(caption);
  DrawPlainText(c, at.X, at.Y, text);
  c.RestoreDC(saved);
}

using SkinPanelPaintTest = SkinPanelTest;

TEST_F(SkinPanelPaintTest, FrameOnlyPanelAtItsSkinSizeAndStretchedWithTheCaptionInTheTopBorder) {
  const TqzDataSkinPanelControl& d = PanelData(*skin, "panel");
  for (TSize size : {TSize{60, 40}, TSize{151, 97}}) {
    auto* panel = Make<TqzSkinPanel>("panel", 0, 0, size.cx, size.cy);
    panel->SetCaption("Edit page");
    // (10,0,50,10) of the description: the right edge follows the width.
    const TRect caption{10, 0, size.cx - 10, 10};
    EXPECT_EQ(panel->CaptionHitRect(), caption);
    TBitmap expected;
    FrameOnlyImage(d, SkinPicture(), size.cx, size.cy, expected);
    Caption(expected.Canvas(), d, caption, {0, 0, size.cx, 10}, "Edit page");
    EXPECT_EQ(FirstDifference(Shot(panel), RgbOf(expected.Pixels())), "") << size.cx;
    delete panel;
  }
}

TEST_F(SkinPanelPaintTest, DemoBottomPanelShowsItsStrips) {
  const TqzSkinData& demo = *MainSkin().Skin;
  const TqzDataSkinPanelControl& d = PanelData(demo, "bottompanel");
  auto* panel = new TqzSkinPanel(form);
  panel->SetParent(form);
  panel->SetBounds(0, 0, 361, 235);
  panel->SetSkinDataName("bottompanel");
  panel->SetSkinData(MainSkin().Skin.get());
  TBitmap expected;
  FrameOnlyImage(d, *demo.ActivePicture(d.PictureIndex), 361, 235, expected);
  EXPECT_EQ(FirstDifference(Shot(panel), RgbOf(expected.Pixels())), "");
}

TEST_F(SkinPanelPaintTest, DemoPropertyGroupBoxWritesItsCaptionInTheCaptionBand) {
  const TqzSkinData& demo = *MainSkin().Skin;
  const TqzDataSkinPanelControl& d = PanelData(demo, "propertypanel");
  auto* group = new TqzSkinGroupBox(form);
  group->SetParent(form);
  group->SetBounds(0, 0, 300, 120);
  group->SetSkinDataName("propertypanel");
  group->SetCaption("Convert To");
  group->SetSkinData(MainSkin().Skin.get());
  EXPECT_TRUE(group->FrameOnlyPaint);
  // (10,3,54,25) of the 64 x 64 description, widened by 236.
  EXPECT_EQ(group->CaptionHitRect(), (TRect{10, 3, 290, 25}));
  TBitmap expected;
  FrameOnlyImage(d, *demo.ActivePicture(d.PictureIndex), 300, 120, expected);
  Caption(expected.Canvas(), d, {10, 3, 290, 25}, {0, 0, 300, d.ClientRect.Top}, "Convert To");
  EXPECT_EQ(FirstDifference(Shot(group), RgbOf(expected.Pixels())), "");
  SaveScreen("skinpanel-propertypanel.png");
}

TEST_F(SkinPanelPaintTest, DialogGroupBoxAtTwoSizes) {
  const TqzSkinData& demo = *DialogSkin().Skin;
  const TqzDataSkinPanelControl& d = PanelData(demo, "groupbox");
  for (TSize size : {TSize{80, 60}, TSize{233, 141}}) {
    auto* group = new TqzSkinGroupBox(form);
    group->SetParent(form);
    group->SetBounds(10, 10, size.cx, size.cy);
    group->SetCaption("Convert To");
    group->SetSkinData(DialogSkin().Skin.get());
    // (8,0,72,20) of the 80 x 60 description: the right edge follows.
    const TRect caption{8, 0, size.cx - 8, 20};
    EXPECT_EQ(group->CaptionHitRect(), caption);
    TBitmap expected;
    FrameOnlyImage(d, *demo.ActivePicture(d.PictureIndex), size.cx, size.cy, expected);
    Caption(expected.Canvas(), d, caption, {0, 0, size.cx, d.ClientRect.Top}, "Convert To");
    EXPECT_EQ(FirstDifference(Shot(group), RgbOf(expected.Pixels())), "") << size.cx;
    if (size.cx > 80) SaveScreen("skinpanel-dialoggroup.png");
    delete group;
  }
}

TEST_F(SkinPanelPaintTest, BackgroundPictureIsTiledFromTheOrigin) {
  auto* panel = Make<TqzSkinPanel>("bgpanel", 0, 0, 20, 12);
  const TBitmap& background = *skin->ActivePicture(1);
  const TPixmap shot = Shot(panel);
  for (int y = 0; y < 12; ++y)
    for (int x = 0; x < 20; ++x)
      ASSERT_EQ(shot.At(x, y), background.Pixels().At(x % 7, y % 5) & 0xFFFFFFu) << x << "," << y;
}

TEST_F(SkinPanelPaintTest, BorderlessNinePartPanelTilesOnlyItsClientPiece) {
  auto* panel = Make<TqzSkinPanel>("tiledpanel", 0, 0, 90, 50);
  panel->SetBorderStyle(TqzSkinBorderStyle::bvNone);
  const TPixmap shot = Shot(panel);
  // The client piece (10,10,50,30) of the picture, repeated from (0, 0).
  for (int y = 0; y < 50; ++y)
    for (int x = 0; x < 90; ++x)
      ASSERT_EQ(shot.At(x, y), SkinPicture().Pixels().At(10 + x % 40, 10 + y % 20) & 0xFFFFFFu)
          << x << "," << y;
}

TEST_F(SkinPanelPaintTest, TransparentGroupFrameInTheSkinsShadowBelowTheCaptionLine) {
  auto* panel = Make<TqzSkinPanel>("cappanel", 0, 0, 150, 100);
  panel->SetCaption("Audio");
  panel->SetCaptionMode(true);
  panel->SetTransparentMode(true);
  TCanvas measure;
  measure.Font().SetName("Tahoma");
  measure.Font().SetHeight(13);
  const int line = measure.TextHeight("Audio") + 5;
  EXPECT_EQ(panel->CaptionHitRect(), (TRect{0, 0, 150, line}));
  const TPixmap shot = Shot(panel);
  const uint32_t shadow = 0x303030;  // the skin's button shadow
  EXPECT_EQ(shot.At(0, 60), shadow);
  EXPECT_EQ(shot.At(149, 60), shadow);
  EXPECT_EQ(shot.At(75, 99), shadow);
  EXPECT_EQ(shot.At(1, line / 2), shadow);
  EXPECT_EQ(shot.At(148, line / 2), shadow);
  EXPECT_EQ(shot.At(75, 60), PixelOf(kFormColor));  // the form shows through
  EXPECT_EQ(shot.At(3, line / 2), PixelOf(kFormColor));  // the line breaks for the caption
}

TEST_F(SkinPanelPaintTest, PlainPanelFramesByBorderStyle) {
  auto* panel = Make<TqzSkinPanel>("nosuchpanel", 0, 0, 50, 40);
  TPixmap shot = Shot(panel);
  EXPECT_EQ(shot.At(0, 20), PixelOf(clBtnShadow));
  EXPECT_EQ(shot.At(49, 20), PixelOf(clBtnShadow));
  EXPECT_EQ(shot.At(25, 20), PixelOf(clBtnFace));
  panel->SetBorderStyle(TqzSkinBorderStyle::bvLowered);
  shot = Shot(panel);
  EXPECT_EQ(shot.At(0, 20), PixelOf(clBtnShadow));
  EXPECT_EQ(shot.At(49, 20), PixelOf(clBtnHighlight));
}

// ---------------------------------------------------------------------------

using SkinPanelLayoutTest = SkinPanelTest;

TEST_F(SkinPanelLayoutTest, ChildrenAlignInTheClientAreaTheLookGives) {
  auto* panel = Make<TqzSkinPanel>("panel", 0, 0, 150, 100);
  auto* child = new TqzSkinPanel(form);
  child->SetParent(panel);
  child->SetAlign(alClient);
  panel->Realign();
  EXPECT_EQ(child->BoundsRect(), (TRect{10, 10, 140, 90}));  // NewClRect

  panel->SetBorderStyle(TqzSkinBorderStyle::bvNone);  // no caption: the whole panel
  EXPECT_EQ(child->BoundsRect(), (TRect{0, 0, 150, 100}));

  panel->SetBorderStyle(TqzSkinBorderStyle::bvFrame);
  panel->SetCaptionMode(true);
  panel->SetUseSkinSize(false);  // the caption allowance on top of NewClRect
  EXPECT_EQ(child->BoundsRect(), (TRect{10, 32, 140, 90}));
  panel->SetRibbonStyle(true);
  EXPECT_EQ(child->BoundsRect(), (TRect{10, 10, 140, 68}));

  panel->SetTransparentMode(true);
  panel->SetCaptionMode(false);
  EXPECT_EQ(child->BoundsRect(), (TRect{2, 2, 148, 98}));

  panel->SetEmptyDrawing(true);
  EXPECT_EQ(child->BoundsRect(), (TRect{0, 0, 150, 100}));
}

TEST_F(SkinPanelLayoutTest, PlainPanelInsetsByOneAndMakesRoomForTheCaption) {
  auto* panel = Make<TqzSkinPanel>("nosuchpanel", 0, 0, 150, 100);
  auto* child = new TqzSkinPanel(form);
  child->SetParent(panel);
  child->SetAlign(alClient);
  panel->Realign();
  EXPECT_EQ(child->BoundsRect(), (TRect{1, 1, 149, 99}));
  panel->SetCaptionMode(true);
  EXPECT_EQ(child->BoundsRect(), (TRect{1, 23, 149, 99}));
  panel->SetBorderStyle(TqzSkinBorderStyle::bvNone);
  EXPECT_EQ(child->BoundsRect(), (TRect{0, 22, 150, 100}));
}

// ---------------------------------------------------------------------------

using SkinPanelKindsTest = SkinPanelTest;

TEST_F(SkinPanelKindsTest, GroupBoxPaintsWholeWhenItsClientAreaEndsAboveTheCaption) {
  auto* low = Make<TqzSkinGroupBox>("lowgroup", 0, 0, 80, 60);
  EXPECT_TRUE(low->CaptionMode());
  EXPECT_FALSE(low->FrameOnlyPaint);
  auto* usual = Make<TqzSkinGroupBox>("cappanel", 0, 0, 80, 60);
  EXPECT_TRUE(usual->FrameOnlyPaint);
  EXPECT_EQ((new TqzSkinGroupBox(form))->SkinDataName(), "groupbox");
}

TEST_F(SkinPanelKindsTest, StatusBarSitsAtTheBottomAndDrawsItsGrip) {
  auto* bar = new TqzSkinStatusBar(form);
  bar->SetParent(form);
  EXPECT_EQ(bar->SkinDataName(), "statusbar");
  EXPECT_EQ(bar->BorderStyle(), TqzSkinBorderStyle::bvNone);
  EXPECT_FALSE(bar->FrameOnlyPaint);
  EXPECT_EQ(bar->Height(), 21);
  EXPECT_EQ(bar->Top() + bar->Height(), form->ClientHeight());
  EXPECT_EQ(bar->Width(), form->ClientWidth());
  const int w = bar->Width();
  EXPECT_TRUE(bar->GripRect().IsEmpty());
  bar->SetSizeGrip(true);
  EXPECT_EQ(bar->GripRect(), (TRect{w - 12, 9, w, 21}));
  const TPixmap shot = Shot(bar);
  EXPECT_EQ(shot.At(w - 2, 20), PixelOf(clBtnHighlight));
  EXPECT_EQ(shot.At(w - 1, 20), PixelOf(clBtnShadow));
  EXPECT_EQ(shot.At(w - 20, 10), PixelOf(clBtnFace));
}

TEST_F(SkinPanelKindsTest, PublishedPropertiesStreamWithTheirDefaultsLeftOut) {
  auto* panel = new TqzSkinPanel(form);
  panel->SetName("Panel1");
  panel->SetParent(form);
  panel->SetRollUpMode(true);
  panel->SetDefaultCaptionHeight(30);
  panel->Constraints().MinHeight = 40;
  auto* label = new TqzSkinLabel(form);
  label->SetName("Label1");
  label->SetParent(panel);
  label->SetShadowEffect(true);
  auto* bevel = new TqzSkinBevel(form);
  bevel->SetName("Bevel1");
  bevel->SetParent(panel);
  bevel->SetDividerMode(true);
  auto* std = new TqzSkinStdLabel(form);
  std->SetName("StdLabel1");
  std->SetParent(panel);
  std->SetEllipsType(TqzEllipsType::qzetPathEllips);
  auto* bar = new TqzSkinStatusBar(form);
  bar->SetName("StatusBar1");
  bar->SetParent(form);
  bar->SetSizeGrip(true);
  const std::string text = WriteComponentRes(form);
  for (const char* line : {"RollUpMode = True", "DefaultCaptionHeight = 30", "MinHeight = 40",
                           "ShadowEffect = True", "DividerMode = True", "EllipsType = qzetPathEllips",
                           "SizeGrip = True", ": TqzSkinStatusBar", ": TqzSkinStdLabel"})
    EXPECT_NE(text.find(line), std::string::npos) << line << "\n" << text;
  for (const char* left : {"SkinDataName", "CaptionMode", "UseSkinSize", "ShadowSize", "Transparent =",
                           "Align = alBottom", "BorderStyle = bv", "RealHeight"})
    EXPECT_EQ(text.find(left), std::string::npos) << left << "\n" << text;
}

}  // namespace
}  // namespace qz::testing
