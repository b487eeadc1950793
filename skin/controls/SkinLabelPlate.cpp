// TqzSkinLabel: a caption plate composed from the skin's "label" description
// with an optional blurred shadow or mirrored reflection under the text.
#include <algorithm>

#include "skin/controls/SkinLabel.h"
#include "skin/data/SkinData.h"
#include "skin/draw/EffectBmp.h"
#include "skin/draw/QZUtils.h"
#include "skin/draw/QzTextEffects.h"

namespace qz {

namespace {

int RoundHalfEvenDiv(int numerator, int denominator) {
  int q = numerator / denominator;
  const int r = numerator % denominator;
  if (2 * r > denominator || (2 * r == denominator && q % 2 != 0)) ++q;
  return q;
}

bool IsOddFontHeight(const TCanvas& canvas) { return canvas.Font().Height() % 2 != 0; }

}  // namespace

TColor DarkenColor(TColor color, int percent) {
  const TColorRef rgb = ColorToRGB(color);
  auto channel = [&](int shift) {
    const int c = int((rgb >> shift) & 0xFF);
    return c - RoundHalfEvenDiv(c * percent, 100);
  };
  return TColor(channel(0) | (channel(8) << 8) | (channel(16) << 16));
}

TPoint LabelTextOrigin(TCanvas& canvas, const TRect& r, std::string_view text,
                       TAlignment alignment) {
  const TSize extent = canvas.TextExtent(text);
  int y = r.Top + r.Height() / 2 - extent.cy / 2;
  if (IsOddFontHeight(canvas)) y -= 1;
  int x = r.Left;
  if (alignment == taRightJustify) x = r.Right - extent.cx;
  if (alignment == taCenter) x = r.Left + r.Width() / 2 - extent.cx / 2;
  return {x, y};
}

void BuildTextShadow(TCanvas& canvas, const TRect& r, TPoint origin, std::string_view text,
                     TColor color, int size, TqzBitmap& shadow) {
  size = std::clamp(size, 0, kMaxLabelShadowSize);
  shadow.SetSize(r.Width() + 2 * size, r.Height() + 2 * size);
  if (shadow.Empty()) return;
  TCanvas& target = shadow.Canvas();
  target.Font().Assign(canvas.Font());
  target.Font().SetColor(0x0000FF);  // pure red: its value becomes the alpha
  DrawPlainText(target, origin.X - r.Left + size, origin.Y - r.Top + size, text);
  BlurBitmap(shadow, size);
  const TColorRef rgb = ColorToRGB(color);
  const TqzColor tint = MakeQzColor(int(rgb & 0xFF), int((rgb >> 8) & 0xFF), int((rgb >> 16) & 0xFF), 0);
  TqzColor* p = shadow.Bits();
  for (size_t i = 0, n = size_t(shadow.Width()) * size_t(shadow.Height()); i < n; ++i)
    p[i] = (tint & 0x00FFFFFFu) | (TqzColor(ColorR(p[i])) << 24);
  shadow.AlphaBlend = true;
}

void DrawLabelText(TCanvas& canvas, const TRect& r, std::string text, const TqzLabelTextStyle& style) {
  if (text.empty() || r.IsEmpty()) return;
  if (style.Ellipsis) text = CorrectTextByWidth(canvas, text, r.Width());
  const TPoint origin = LabelTextOrigin(canvas, r, text, style.Alignment);
  canvas.Brush().SetStyle(TBrushStyle::bsClear);
  if (style.Shadow) {
    TqzBitmap shadow;
    BuildTextShadow(canvas, r, origin, text, style.ShadowColor, style.ShadowSize, shadow);
    const int size = std::clamp(style.ShadowSize, 0, kMaxLabelShadowSize);
    shadow.Draw(&canvas, r.Left + style.ShadowOffset - size, r.Top + style.ShadowOffset - size);
  } else if (style.Reflection) {
    DrawReflectionText(canvas, origin.X, origin.Y, text, canvas.Font().Color(), style.ReflectionOffset);
    return;
  }
  const int saved = canvas.SaveDC();
  canvas.IntersectClipRect(r);
  DrawPlainText(canvas, origin.X, origin.Y, text);
  canvas.RestoreDC(saved);
}

// ---------------------------------------------------------------------------

TqzSkinLabel::TqzSkinLabel(TComponent* AOwner) : TqzSkinCustomControl(AOwner) {
  SetSkinDataName("label");
  width_ = 75;
  height_ = 21;
}

const TqzDataSkinLabelControl* TqzSkinLabel::LabelDescription() const {
  if (SkinIndex == -1) return nullptr;
  return dynamic_cast<const TqzDataSkinLabelControl*>(SkinDescription());
}

void TqzSkinLabel::GetSkinData() {
  TqzSkinCustomControl::GetSkinData();
  // Another kind of description under the name is no description.
  if (SkinIndex != -1 && LabelDescription() == nullptr) SkinIndex = -1;
}

void TqzSkinLabel::SetUseSkinSize(bool value) {
  if (value == useSkinSize_) return;
  useSkinSize_ = value;
  // Back on the skin's size rules, a fixed axis snaps to the skin again.
  GetSkinData();
  int w = Width(), h = Height();
  CalcSize(w, h);
  TComponentRef<TqzSkinLabel> self(this);
  SetBounds(Left(), Top(), w, h);
  if (!self) return;
  SetControlRegion();
  Invalidate();
}

void TqzSkinLabel::SetAutoSize(bool value) {
  if (value == autoSize_) return;
  autoSize_ = value;
  AdjustAutoSize();
}

void TqzSkinLabel::CMTextChanged(TMessage& m) {
  TqzSkinCustomControl::CMTextChanged(m);
  TComponentRef<TqzSkinLabel> self(this);
  AdjustAutoSize();
  if (self) Invalidate();
}

void TqzSkinLabel::Loaded() {
  TqzSkinCustomControl::Loaded();
  AdjustAutoSize();
}

void TqzSkinLabel::ChangeSkinData() {
  TComponentRef<TqzSkinLabel> self(this);
  TqzSkinCustomControl::ChangeSkinData();
  if (!self) return;
  AdjustAutoSize();
}

void TqzSkinLabel::CalcSize(int& W, int& H) {
  const bool freeSize = SkinIndex != -1 && !useSkinSize_ && ResizeMode != 1 && ResizeMode != -1;
  if (!freeSize) {
    TqzSkinCustomControl::CalcSize(W, H);
    return;
  }
  // Any size: the right-hand points and the client rectangle follow the width.
  const int dW = W - Geom.SkinRect.Width();
  NewGeom.NewLTPoint = Geom.LeftTopPoint;
  NewGeom.NewRTPoint = {Geom.RightTopPoint.X + dW, Geom.RightTopPoint.Y};
  NewGeom.NewLBPoint = Geom.LeftBottomPoint;
  NewGeom.NewRBPoint = {Geom.RightBottomPoint.X + dW, Geom.RightBottomPoint.Y};
  NewGeom.NewClRect = {Geom.ClientRect.Left, Geom.ClientRect.Top, Geom.ClientRect.Right + dW, Geom.ClientRect.Bottom};
}

void TqzSkinLabel::SetControlRegion() {
  if (useSkinSize_) {
    TqzSkinCustomControl::SetControlRegion();
    return;
  }
  // A free-size plate has no shape: the base drops the region of a control
  // without a mask.
  TBitmap* mask = MaskPicture;
  MaskPicture = nullptr;
  TqzSkinCustomControl::SetControlRegion();
  MaskPicture = mask;
}

void TqzSkinLabel::AdjustAutoSize() {
  if (!autoSize_ || InState(csLoading)) return;
  if (Align() == alTop || Align() == alBottom || Align() == alClient) return;
  GetSkinData();
  TCanvas measure;
  int difference = 0;
  if (SkinIndex == -1 || ResizeMode == -1) {
    measure.Font().Assign(DefaultFont());
    difference = measure.TextWidth(Caption()) + 4 - Width();
  } else if (ResizeMode == 0) {
    autoSize_ = false;  // a fixed-size plate cannot follow its text
    return;
  } else {
    int w = Width(), h = Height();
    CalcSize(w, h);
    SelectTextFont(measure.Font());
    difference = measure.TextWidth(Caption()) - NewGeom.NewClRect.Width();
  }
  if (difference != 0) SetBounds(Left(), Top(), Width() + difference, Height());
}

void TqzSkinLabel::SelectTextFont(TFont& font) const {
  font.Assign(DefaultFont());
  if (const TqzDataSkinLabelControl* d = LabelDescription()) {
    if (UseSkinFont()) {
      font.SetName(d->FontName);
      font.SetStyle(d->FontStyle);
      font.SetHeight(d->FontHeight);
    }
    font.SetColor(d->FontColor);
  }
  if (!useSkinFontColor_) font.SetColor(DefaultFont().Color());
}

TColor TqzSkinLabel::EffectiveShadowColor() const {
  if (LabelDescription() != nullptr && useSkinFontColor_)
    return DarkenColor(SkinData()->SkinColors().cBtnFace, 70);
  return style_.ShadowColor;
}

TRect TqzSkinLabel::TextRect() const {
  const int W = Width(), H = Height();
  if (transparent_) return {0, 0, W, H};
  if (LabelDescription() == nullptr) return {3, 3, W - 3, H - 3};
  if (useSkinSize_ || ResizeMode == 1) return NewGeom.NewClRect;
  TRect r = NewGeom.NewClRect;
  r.Bottom += H - Geom.SkinRect.Height();
  return r;
}

void TqzSkinLabel::DrawCaption(TCanvas& canvas, const TRect& r) {
  SelectTextFont(canvas.Font());
  TqzLabelTextStyle style = style_;
  style.Ellipsis = ellipsType_ == TqzEllipsType2::qzetEllips;
  style.ShadowColor = EffectiveShadowColor();
  DrawLabelText(canvas, r, Caption(), style);
}

void TqzSkinLabel::CreateControlDefaultImage(TBitmap& B) {
  const int W = Width(), H = Height();
  if (transparent_) {
    GetParentImage(this, B.Canvas());
  } else {
    TqzSkinCustomControl::CreateControlDefaultImage(B);
    TRect frame{0, 0, W, H};
    switch (borderStyle_) {
      case TqzSkinBorderStyle::bvFrame:
        Frame3D(B.Canvas(), frame, clBtnShadow, clBtnShadow, 1);
        break;
      case TqzSkinBorderStyle::bvRaised:
        Frame3D(B.Canvas(), frame, clBtnHighlight, clBtnShadow, 1);
        break;
      case TqzSkinBorderStyle::bvLowered:
        Frame3D(B.Canvas(), frame, clBtnShadow, clBtnHighlight, 1);
        break;
      case TqzSkinBorderStyle::bvNone:
        break;
    }
  }
  DrawCaption(B.Canvas(), TextRect());
}

void TqzSkinLabel::CreateControlSkinImage(TBitmap& B) {
  if (transparent_) {
    GetParentImage(this, B.Canvas());
  } else if (useSkinSize_ || ResizeMode == 1) {
    TqzSkinCustomControl::CreateControlSkinImage(B);
  } else if (Picture != nullptr) {
    B.SetSize(Width(), Height());
    CreateStretchImage(B, *Picture, Geom.SkinRect, Geom.ClientRect, true);
  }
  DrawCaption(B.Canvas(), TextRect());
}

QZ_PUBLISHED(TqzSkinLabel, TqzSkinCustomControl) {
  using O = TqzSkinLabel;
  b.Factory([](TComponent* owner) { return new TqzSkinLabel(owner); });
  b.Prop("SkinDataName", &O::SkinDataName, &O::SetSkinDataName, std::string("label"));
  b.Prop("Transparent", &O::Transparent, &O::SetTransparent, false);
  b.Prop("ShadowEffect", &O::ShadowEffect, &O::SetShadowEffect, false);
  b.Color("ShadowColor", &O::ShadowColor, &O::SetShadowColor, 0);
  b.Prop("ShadowOffset", &O::ShadowOffset, &O::SetShadowOffset, 0);
  b.Prop("ShadowSize", &O::ShadowSize, &O::SetShadowSize, 3);
  b.Prop("ReflectionEffect", &O::ReflectionEffect, &O::SetReflectionEffect, false);
  b.Prop("ReflectionOffset", &O::ReflectionOffset, &O::SetReflectionOffset, -5);
  b.Enum("EllipsType", &O::EllipsType, &O::SetEllipsType, TqzEllipsType2::qzetNoneEllips);
  b.Prop("UseSkinSize", &O::UseSkinSize, &O::SetUseSkinSize, true);
  b.Prop("UseSkinFontColor", &O::UseSkinFontColor, &O::SetUseSkinFontColor, true);
  b.Enum("BorderStyle", &O::BorderStyle, &O::SetBorderStyle, TqzSkinBorderStyle::bvFrame);
  b.Enum("Alignment", &O::Alignment, &O::SetAlignment, taLeftJustify);
  b.Prop("AutoSize", &O::AutoSize, &O::SetAutoSize, false);
  b.Prop("Caption", &O::Caption, &O::SetCaption);
}

}  // namespace qz
