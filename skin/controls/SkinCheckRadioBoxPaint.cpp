// The check box's looks: the check image rules, what the box copies from
// its description, the flat look over the parent, the plate, the plain look
// without a description, the focus mark, and the published properties.
#include <algorithm>

#include "host/ui/ImgList.h"
#include "skin/controls/SkinButton.h"
#include "skin/controls/SkinCheckRadioBox.h"
#include "skin/data/ResourceStrData.h"
#include "skin/data/SkinControlData.h"
#include "skin/data/SkinData.h"
#include "skin/draw/EffectBmp.h"
#include "skin/draw/QZUtils.h"
#include "skin/draw/QzColors.h"

namespace qz {

namespace {

// Where the flat look puts the check image and how far the caption keeps
// from it (and from an Images image).
constexpr int kFlatImageLeft = 3;
constexpr int kFlatCaptionGap = 7;
constexpr int kImagesGap = 8;
// The plain look's 14 x 14 box and the caption after it.
constexpr int kPlainBoxSize = 14;
constexpr int kPlainCaptionLeft = 22;
constexpr int kPlainImagesGap = 5;

TRect OrElse(const TRect& r, const TRect& fallback) { return r.IsEmpty() ? fallback : r; }

TRect CenteredIn(const TRect& area, TSize size) {
  const int x = area.Left + (area.Width() - size.cx) / 2;
  const int y = area.Top + (area.Height() - size.cy) / 2;
  return {x, y, x + size.cx, y + size.cy};
}

// Where the caption drawn vertically centred in r lies: one line, or the
// lines it wraps into in r's width.
TRect CaptionBounds(TCanvas& canvas, const std::string& text, const TRect& r, bool wrap) {
  int w = GetTextWidth(canvas, text), h = GetTextHeight(canvas, text);
  if (wrap) {
    TRect measured{0, 0, r.Width(), 0};
    canvas.DrawText(text, measured, DT_CALCRECT | DT_WORDBREAK | DT_LEFT);
    w = measured.Width();
    h = std::min(measured.Height(), r.Height());
  }
  const int top = r.Top + (r.Height() - h) / 2;
  return {r.Left, top, std::min(r.Left + w, r.Right), top + h};
}

}  // namespace

// ---------------------------------------------------------------- rules

TqzCheckImages ResolveCheckImages(const TqzDataSkinCheckRadioControl& d) {
  TqzCheckImages i;
  i.Check = d.CheckImageRect;
  i.Uncheck = d.UnCheckImageRect;
  i.ActiveCheck = OrElse(d.ActiveCheckImageRect, i.Check);
  i.ActiveUncheck = OrElse(d.ActiveUnCheckImageRect, i.Uncheck);
  i.DisabledCheck = OrElse(d.UnEnabledCheckImageRect, i.Check);
  i.DisabledUncheck = OrElse(d.UnEnabledUnCheckImageRect, i.Uncheck);
  i.Grayed = d.GrayedCheckImageRect;
  i.ActiveGrayed = d.ActiveGrayedCheckImageRect;
  return i;
}

TqzCheckImageChoice ChooseCheckImage(const TqzCheckImages& images, TqzCheckBoxState state,
                                     bool enabled, bool mouseIn) {
  const bool hot = enabled && mouseIn;
  const TRect& check = hot ? images.ActiveCheck : enabled ? images.Check : images.DisabledCheck;
  const TRect& uncheck = hot ? images.ActiveUncheck : enabled ? images.Uncheck : images.DisabledUncheck;
  if (state == cbChecked) return {check, false};
  if (state == cbUnchecked) return {uncheck, false};
  if (images.Grayed.IsEmpty()) return {check, true};
  return {hot && !images.ActiveGrayed.IsEmpty() ? images.ActiveGrayed : images.Grayed, false};
}

TqzCheckBoxState NextClickState(TqzCheckBoxState state, bool allowGrayed, bool radio) {
  if (radio) return cbChecked;
  switch (state) {
    case cbUnchecked: return allowGrayed ? cbGrayed : cbChecked;
    case cbGrayed: return cbChecked;
    case cbChecked: return cbUnchecked;
  }
  return cbUnchecked;
}

TqzCheckPlateAreas PlaceCheckPlateAreas(const TRect& checkArea, const TRect& textArea,
                                        const TRect& skinRect, int width, int height) {
  const int dW = width - skinRect.Width(), dH = height - skinRect.Height();
  TqzCheckPlateAreas a{checkArea, textArea};
  a.TextArea.Right += dW;
  a.TextArea.Bottom += dH;
  a.CheckArea.Bottom += dH;  // the image stays centred in it
  if (checkArea.Left >= textArea.Right) a.CheckArea = OffsetRect(a.CheckArea, dW, 0);
  return a;
}

// ---------------------------------------------------------------- description

const TqzDataSkinCheckRadioControl* TqzSkinCheckRadioBox::CheckDescription() const {
  return SkinIndex != -1 ? As<TqzDataSkinCheckRadioControl>(SkinDescription()) : nullptr;
}

void TqzSkinCheckRadioBox::CopySkinValues(const TqzDataSkinCheckRadioControl& d) {
  TqzCheckRadioSkinValues& v = skin_;
  v.FontName = d.FontName;
  v.FontHeight = d.FontHeight;
  v.FontStyle = d.FontStyle;
  v.FontColor = d.FontColor;
  v.ActiveFontColor = d.ActiveFontColor;
  v.UnEnabledFontColor = d.UnEnabledFontColor;
  v.FrameFontColor = d.FrameFontColor;
  v.Morphing = d.Morphing;
  v.MorphKind = d.MorphKind;
  v.ActiveSkinRect = OrElse(d.ActiveSkinRect, d.SkinRect);
  v.CheckImageArea = d.CheckImageArea;
  v.TextArea = d.TextArea;
  v.Images = ResolveCheckImages(d);
}

void TqzSkinCheckRadioBox::GetSkinData() {
  TqzSkinCustomControl::GetSkinData();
  hasCheckSkin_ = false;
  const TqzDataSkinCheckRadioControl* d = CheckDescription();
  if (!d) {
    // A description of another kind is no check box's: the plain look.
    SkinIndex = -1;
    return;
  }
  CopySkinValues(*d);
  hasCheckSkin_ = true;
  if (flat_) MaskPicture = nullptr;
}

void TqzSkinCheckRadioBox::CalcSize(int& W, int& H) {
  // The flat box is free of the plate's size rules.
  if (!flat_) TqzSkinCustomControl::CalcSize(W, H);
}

void TqzSkinCheckRadioBox::SetControlRegion() {
  if (flat_) MaskPicture = nullptr;
  TqzSkinCustomControl::SetControlRegion();
}

// ---------------------------------------------------------------- pieces

void TqzSkinCheckRadioBox::CheckImage(TBitmap& out) const {
  if (!hasCheckSkin_ || !Picture) return;
  const TqzCheckImageChoice choice = ChooseCheckImage(skin_.Images, state_, Enabled(), mouseIn_);
  const TRect& r = choice.Rect;
  if (IsNullRect(r)) return;
  out.SetSize(r.Width(), r.Height());
  out.Canvas().CopyRect({0, 0, r.Width(), r.Height()}, Picture->Canvas(), r);
  if (choice.Brighten) {
    TqzEffectBmp bright(out);
    bright.ChangeBrightness(0.5);
    out.Pixels() = bright.ToPixmap();
    out.Modified();
  }
  // Drawn with its bottom-left pixel's colour left out.
  out.SetTransparent(true);
}

int TqzSkinCheckRadioBox::DrawImagesImage(TCanvas& canvas, int x) const {
  if (!images_ || imageIndex_ < 0 || imageIndex_ >= images_->Count()) return 0;
  images_->Draw(canvas, x, (Height() - images_->Height()) / 2, imageIndex_, Enabled());
  return images_->Width();
}

void TqzSkinCheckRadioBox::SetUpCaptionFont(TCanvas& canvas, bool skinned, bool hot) const {
  TFont& font = canvas.Font();
  if (skinned && UseSkinFont()) {
    font.SetName(skin_.FontName);
    font.SetHeight(skin_.FontHeight);
    font.SetStyle(skin_.FontStyle);
  } else {
    font.Assign(DefaultFont());
  }
  const TqzSkinData* skin = SkinData();
  if (skin && skin->ResourceStrData())
    font.SetCharset(static_cast<TFontCharset>(skin->ResourceStrData()->CharSet()));
  if (!skinned) {
    if (!Enabled()) font.SetColor(clBtnShadow);
    return;
  }
  if (!useSkinFontColor_)
    font.SetColor(DefaultFont().Color());
  else if (!Enabled())
    font.SetColor(skin_.UnEnabledFontColor);
  else if (flat_)
    font.SetColor(skin_.FrameFontColor);
  else
    font.SetColor(hot ? skin_.ActiveFontColor : skin_.FontColor);
}

void TqzSkinCheckRadioBox::DrawCaption(TCanvas& canvas, const TRect& r) const {
  canvas.Brush().SetStyle(TBrushStyle::bsClear);
  if (!wordWrap_) {
    DrawTextVCentered(canvas, Caption(), r);
    return;
  }
  // Wrapped lines start at the caption's left like a single one would.
  const TRect lines = CaptionBounds(canvas, Caption(), r, true);
  canvas.DrawText(Caption(), TRect{r.Left, lines.Top, r.Right, lines.Bottom}, DT_WORDBREAK | DT_LEFT);
}

void TqzSkinCheckRadioBox::DrawFocus(TCanvas& canvas, const TRect& textRect,
                                     const TRect& imageRect) const {
  if (!HasFocusNow()) return;
  if (Caption().empty()) {
    if (!imageRect.IsEmpty()) DrawSkinFocusRect(canvas, imageRect);
    return;
  }
  const TRect text = CaptionBounds(canvas, Caption(), textRect, wordWrap_);
  DrawSkinFocusRect(canvas, {text.Left - 2, text.Top - 1, text.Right + 2, text.Bottom + 1});
}

// ---------------------------------------------------------------- looks

void TqzSkinCheckRadioBox::CreateControlSkinImage(TBitmap& B) {
  if (!hasCheckSkin_ || !Picture) {
    if (DrawDefault()) CreateControlDefaultImage(B);
    return;
  }
  if (flat_)
    PaintFlat(B);
  else
    PaintPlate(B);
}

void TqzSkinCheckRadioBox::PaintFlat(TBitmap& B) {
  const int W = Width(), H = Height();
  B.SetSize(W, H);
  TCanvas& canvas = B.Canvas();
  GetParentImage(this, canvas);
  TBitmap check;
  CheckImage(check);
  const TRect imageRect = FlatCheckImageRect({check.Width(), check.Height()});
  if (!check.Empty()) canvas.Draw(imageRect.Left, imageRect.Top, check);
  int textLeft = check.Width() + kFlatCaptionGap;
  if (const int w = DrawImagesImage(canvas, textLeft)) textLeft += w + kImagesGap;
  SetUpCaptionFont(canvas, true, false);
  const TRect textRect{textLeft, 0, W, H};
  DrawCaption(canvas, textRect);
  DrawFocus(canvas, textRect, imageRect);
  B.Modified();
}

TRect TqzSkinCheckRadioBox::FlatCheckImageRect(TSize image) const {
  const int top = (Height() - image.cy) / 2;
  return {kFlatImageLeft, top, kFlatImageLeft + image.cx, top + image.cy};
}

void TqzSkinCheckRadioBox::ComposePlate(TBitmap& B, bool hot) const {
  ComposeButtonLook(Geometry(), hot ? skin_.ActiveSkinRect : Geom.SkinRect, true, Width(), Height(),
                    *Picture, B);
}

void TqzSkinCheckRadioBox::PaintPlate(TBitmap& B) {
  const bool hot = Enabled() && (mouseIn_ || HasFocusNow());
  if (MorphAvailable() && fade_.Blending()) {
    TBitmap normal, active;
    ComposePlate(normal, false);
    ComposePlate(active, true);
    BlendLooks(normal, active, skin_.MorphKind, MorphKf(), B);
  } else {
    ComposePlate(B, MorphAvailable() ? fade_.Step() == kButtonFadeSteps : hot);
  }
  if (B.Empty()) return;
  TCanvas& canvas = B.Canvas();
  const TqzCheckPlateAreas areas =
      PlaceCheckPlateAreas(skin_.CheckImageArea, skin_.TextArea, Geom.SkinRect, B.Width(), B.Height());
  TBitmap check;
  CheckImage(check);
  const TRect imageRect = CenteredIn(areas.CheckArea, {check.Width(), check.Height()});
  if (!check.Empty()) canvas.Draw(imageRect.Left, imageRect.Top, check);
  SetUpCaptionFont(canvas, true, hot);
  DrawCaption(canvas, areas.TextArea);
  DrawFocus(canvas, areas.TextArea, imageRect);
  B.Modified();
}

void TqzSkinCheckRadioBox::CreateControlDefaultImage(TBitmap& B) {
  PaintPlainLook(B);
}

void TqzSkinCheckRadioBox::PaintPlainLook(TBitmap& B) {
  const int W = std::max(Width(), 1), H = std::max(Height(), 1);
  B.SetSize(W, H);
  TCanvas& canvas = B.Canvas();
  canvas.Brush().SetStyle(TBrushStyle::bsSolid);
  if (flat_) {
    GetParentImage(this, canvas);
  } else {
    canvas.Brush().SetColor(clBtnFace);
    canvas.FillRect({0, 0, W, H});
  }
  const TRect box = Bounds(kFlatImageLeft, H / 2 - kPlainBoxSize / 2, kPlainBoxSize, kPlainBoxSize);
  canvas.Brush().SetStyle(TBrushStyle::bsSolid);
  canvas.Brush().SetColor(clWindow);
  canvas.FillRect(box);
  canvas.Brush().SetColor(mouseIn_ ? kPlainLookHotFrame : clBtnShadow);
  canvas.FrameRect(box);
  if (state_ == cbGrayed)
    DrawCheckImage(canvas, 7, H / 2 - 4, clGrayText);
  else if (state_ == cbChecked && radio_)
    DrawRadioImage(canvas, 7, H / 2 - 3, Enabled() ? clBlack : clBtnShadow);
  else if (state_ == cbChecked)
    DrawCheckImage(canvas, 7, H / 2 - 4, Enabled() ? clBlack : clBtnShadow);
  int textLeft = kPlainCaptionLeft;
  if (const int w = DrawImagesImage(canvas, textLeft)) textLeft += w + kPlainImagesGap;
  SetUpCaptionFont(canvas, false, false);
  const TRect textRect{textLeft, 0, W, H};
  DrawCaption(canvas, textRect);
  DrawFocus(canvas, textRect, box);
  B.Modified();
}

// ---------------------------------------------------------------- streaming

QZ_PUBLISHED(TqzSkinCheckRadioBox, TqzSkinCustomControl) {
  using O = TqzSkinCheckRadioBox;
  b.Factory([](TComponent* owner) { return new TqzSkinCheckRadioBox(owner); });
  b.Prop("SkinDataName", &O::SkinDataName,
         [](O& o, const std::string& v) { o.SetSkinDataName(v); }, std::string("checkbox"));
  b.Prop("WordWrap", &O::WordWrap, &O::SetWordWrap, false);
  b.Prop("AllowGrayed", &O::AllowGrayed, &O::SetAllowGrayed, false);
  b.Enum("State", &O::State, &O::SetState, cbUnchecked);
  b.Ref<TCustomImageList>("Images", &O::Images, &O::SetImages);
  b.Prop("ImageIndex", &O::ImageIndex, &O::SetImageIndex, -1);
  b.Prop("UseSkinFontColor", &O::UseSkinFontColor, &O::SetUseSkinFontColor, true);
  b.Prop("CanFocused", &O::CanFocused, &O::SetCanFocused, true);
  b.Prop("Radio", &O::Radio, &O::SetRadio, false);
  b.Prop("Checked", &O::Checked, &O::SetChecked, false);
  b.Prop("GroupIndex", &O::GroupIndex, &O::SetGroupIndex, 0);
  b.Prop("Flat", &O::Flat, &O::SetFlat, true);
  b.Prop("Caption", &O::Caption, &O::SetCaption);
  b.Event<TNotifyEvent>("OnChange", &O::OnChange);
}

}  // namespace qz
