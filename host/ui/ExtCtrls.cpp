#include "host/ui/ExtCtrls.h"

namespace qz {

namespace {
void BevelColors(TPanelBevel b, TColor& tl, TColor& br) {
  tl = b == bvLowered ? clBtnShadow : clBtnHighlight;
  br = b == bvLowered ? clBtnHighlight : clBtnShadow;
}
}  // namespace

// ---------------------------------------------------------------- TPanel

TPanel::TPanel(TComponent* AOwner) : TCustomControl(AOwner) {
  controlStyle_ = {csAcceptsControls, csCaptureMouse, csClickEvents, csSetCaption, csOpaque,
                   csDoubleClicks, csReplicatable};
  width_ = 185;
  height_ = 41;
}

void TPanel::SetBevelInner(TPanelBevel v) {
  bevelInner_ = v;
  Realign();
  Invalidate();
}
void TPanel::SetBevelOuter(TPanelBevel v) {
  bevelOuter_ = v;
  Realign();
  Invalidate();
}
void TPanel::SetBevelWidth(int v) {
  bevelWidth_ = v < 1 ? 1 : v;
  Realign();
  Invalidate();
}
void TPanel::SetBorderWidth(int v) {
  borderWidth_ = v < 0 ? 0 : v;
  Realign();
  Invalidate();
}
void TPanel::SetAlignment(TAlignment v) {
  alignment_ = v;
  Invalidate();
}

TRect TPanel::InnerRect() const {
  int inset = borderWidth_;
  if (bevelOuter_ != bvNone) inset += bevelWidth_;
  if (bevelInner_ != bvNone) inset += bevelWidth_;
  return InflateRect(ClientRect(), -inset, -inset);
}

void TPanel::AlignControls(TControl* AControl, TRect& Rect) {
  Rect = InnerRect();
  TCustomControl::AlignControls(AControl, Rect);
}

void TPanel::Paint() {
  TCanvas& c = Canvas();
  TRect r = ClientRect();
  TColor tl, br;
  if (bevelOuter_ != bvNone) {
    BevelColors(bevelOuter_, tl, br);
    Frame3D(c, r, tl, br, bevelWidth_);
  }
  c.Brush().SetColor(Color());
  c.Pen().SetColor(Color());
  for (int i = 0; i < borderWidth_ && !r.IsEmpty(); ++i) {
    c.FrameRect(r);
    r = InflateRect(r, -1, -1);
  }
  if (bevelInner_ != bvNone) {
    BevelColors(bevelInner_, tl, br);
    Frame3D(c, r, tl, br, bevelWidth_);
  }
  c.FillRect(r);
  if (!text_.empty()) {
    c.Brush().SetStyle(TBrushStyle::bsClear);
    c.Font().Assign(Font());
    uint32_t f = DT_VCENTER | DT_SINGLELINE | DT_EXPANDTABS;
    if (alignment_ == taCenter) f |= DT_CENTER;
    if (alignment_ == taRightJustify) f |= DT_RIGHT;
    c.DrawText(text_, r, f);
  }
}

// ---------------------------------------------------------------- TBevel

TBevel::TBevel(TComponent* AOwner) : TGraphicControl(AOwner) {
  controlStyle_ = {csReplicatable};
  width_ = 50;
  height_ = 50;
}

void TBevel::SetShape(TBevelShape v) {
  shape_ = v;
  Invalidate();
}
void TBevel::SetStyle(TBevelStyle v) {
  style_ = v;
  Invalidate();
}

void TBevel::Paint() {
  TCanvas& c = Canvas();
  TColor first = style_ == bsLowered ? clBtnShadow : clBtnHighlight;
  TColor second = style_ == bsLowered ? clBtnHighlight : clBtnShadow;
  int w = width_, h = height_;
  auto line = [&](TColor col, int x1, int y1, int x2, int y2) {
    c.Pen().SetColor(col);
    c.MoveTo(x1, y1);
    c.LineTo(x2, y2);
  };
  switch (shape_) {
    case bsBox: {
      TRect r = ClientRect();
      Frame3D(c, r, first, second, 1);
      break;
    }
    case bsFrame: {
      TRect r{0, 0, w - 1, h - 1};
      c.Brush().SetColor(first);
      c.FrameRect(r);
      c.Brush().SetColor(second);
      c.FrameRect(OffsetRect(r, 1, 1));
      break;
    }
    case bsTopLine:
      line(first, 0, 0, w, 0);
      line(second, 0, 1, w, 1);
      break;
    case bsBottomLine:
      line(first, 0, h - 2, w, h - 2);
      line(second, 0, h - 1, w, h - 1);
      break;
    case bsLeftLine:
      line(first, 0, 0, 0, h);
      line(second, 1, 0, 1, h);
      break;
    case bsRightLine:
      line(first, w - 2, 0, w - 2, h);
      line(second, w - 1, 0, w - 1, h);
      break;
    case bsSpacer:
      break;
  }
}

// ---------------------------------------------------------------- registration

QZ_PUBLISHED(TPanel, TCustomControl) {
  b.Factory([](TComponent* owner) { return new TPanel(owner); });
  b.Prop("Caption", &TPanel::Caption, &TPanel::SetCaption);
  b.Enum("Alignment", &TPanel::Alignment, &TPanel::SetAlignment, taCenter);
  b.Enum("BevelInner", &TPanel::BevelInner, &TPanel::SetBevelInner, bvNone);
  b.Enum("BevelOuter", &TPanel::BevelOuter, &TPanel::SetBevelOuter, bvRaised);
  b.Prop("BevelWidth", &TPanel::BevelWidth, &TPanel::SetBevelWidth, 1);
  b.Prop("BorderWidth", &TPanel::BorderWidth, &TPanel::SetBorderWidth, 0);
}

QZ_PUBLISHED(TBevel, TGraphicControl) {
  b.Factory([](TComponent* owner) { return new TBevel(owner); });
  b.Enum("Shape", &TBevel::Shape, &TBevel::SetShape, bsBox);
  b.Enum("Style", &TBevel::Style, &TBevel::SetStyle, bsLowered);
}

}  // namespace qz
