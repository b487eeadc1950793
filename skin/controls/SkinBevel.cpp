#include "skin/controls/SkinBevel.h"

#include <array>

#include "skin/data/SkinData.h"

namespace qz {

TqzBevelColors BevelLineColors(TBevelStyle style, TColor light, TColor dark) {
  if (style == bsLowered) return {dark, light};
  return {light, dark};
}

void DrawBevelBox(TCanvas& canvas, int x1, int y1, int x2, int y2, TColor a, TColor b) {
  // Each polyline leaves out its last point; the other one draws that corner.
  const std::array<TPoint, 3> upperLeft{TPoint{x1, y2}, TPoint{x1, y1}, TPoint{x2, y1}};
  const std::array<TPoint, 3> lowerRight{TPoint{x2, y1}, TPoint{x2, y2}, TPoint{x1, y2}};
  canvas.Pen().SetColor(a);
  canvas.Polyline(upperLeft);
  canvas.Pen().SetColor(b);
  canvas.Polyline(lowerRight);
}

namespace {

void Line(TCanvas& canvas, TColor color, TPoint from, TPoint to) {
  canvas.Pen().SetColor(color);
  canvas.MoveTo(from.X, from.Y);
  canvas.LineTo(to.X, to.Y);
}

bool IsHorizontalLine(TBevelShape shape) { return shape == bsTopLine || shape == bsBottomLine; }

}  // namespace

void PaintBevelShape(TCanvas& canvas, TBevelShape shape, int width, int height,
                     const TqzBevelColors& colors) {
  const int w = width, h = height;
  switch (shape) {
    case bsBox:
      DrawBevelBox(canvas, 0, 0, w - 1, h - 1, colors.A, colors.B);
      break;
    case bsFrame:
      DrawBevelBox(canvas, 1, 1, w - 1, h - 1, colors.B, colors.B);
      DrawBevelBox(canvas, 0, 0, w - 2, h - 2, colors.A, colors.A);
      break;
    case bsTopLine:
      Line(canvas, colors.A, {0, 0}, {w, 0});
      Line(canvas, colors.B, {0, 1}, {w, 1});
      break;
    case bsBottomLine:
      Line(canvas, colors.A, {0, h - 2}, {w, h - 2});
      Line(canvas, colors.B, {0, h - 1}, {w, h - 1});
      break;
    case bsLeftLine:
      Line(canvas, colors.A, {0, 0}, {0, h});
      Line(canvas, colors.B, {1, 0}, {1, h});
      break;
    case bsRightLine:
      Line(canvas, colors.A, {w - 2, 0}, {w - 2, h});
      Line(canvas, colors.B, {w - 1, 0}, {w - 1, h});
      break;
    case bsSpacer:
      break;
  }
}

void PaintBevelDivider(TCanvas& canvas, TBevelShape shape, int width, int height,
                       const TqzBevelColors& colors) {
  if (shape == bsSpacer) return;
  if (IsHorizontalLine(shape)) {
    const int top = (height - 2) / 2;
    DrawBevelBox(canvas, 2, top, width - 2, top + 1, colors.A, colors.B);
  } else {
    const int left = (width - 2) / 2;
    DrawBevelBox(canvas, left, 2, left + 1, height - 2, colors.A, colors.B);
  }
}

// ---------------------------------------------------------------------------

TqzSkinBevel::TqzSkinBevel(TComponent* AOwner) : TBevel(AOwner) {}

void TqzSkinBevel::SetSkinData(TqzSkinData* value) {
  SetReference(skinData_, value);
  if (value != nullptr && !value->Empty() && !InState(csDesigning)) ChangeSkinData();
}

void TqzSkinBevel::SetDividerMode(bool value) {
  if (value == dividerMode_) return;
  dividerMode_ = value;
  Invalidate();
}

void TqzSkinBevel::LookUpColors() {
  skinIndex_ = -1;
  lightColor_ = clBtnHighlight;
  darkColor_ = clBtnShadow;
  if (skinData_ == nullptr || skinData_->Empty()) return;
  const int index = skinData_->FindControlIndex(skinDataName_);
  if (index < 0) return;
  const auto* bevel = dynamic_cast<const TqzDataSkinBevel*>(skinData_->CtrlList()[size_t(index)].get());
  if (bevel == nullptr) return;
  skinIndex_ = index;
  lightColor_ = bevel->LightColor;
  darkColor_ = bevel->DarkColor;
}

void TqzSkinBevel::BeforeChangeSkinData() { skinIndex_ = -1; }

void TqzSkinBevel::ChangeSkinData() {
  LookUpColors();
  Invalidate();
}

void TqzSkinBevel::Notification(TComponent* AComponent, TOperation Operation) {
  TBevel::Notification(AComponent, Operation);
  // The reference is already cleared when the skin data goes: back to the
  // system colours.
  if (Operation == opRemove && skinData_ == nullptr && skinIndex_ != -1) {
    LookUpColors();
    Invalidate();
  }
}

// The one place where a parent that arranges its controls moves the bevel.
// No skinned tool bar exists yet, so every parent leaves the top as asked.
int TqzSkinBevel::AdjustTopForParent(int ATop, int) const { return ATop; }

void TqzSkinBevel::SetBounds(int ALeft, int ATop, int AWidth, int AHeight) {
  TBevel::SetBounds(ALeft, AdjustTopForParent(ATop, AHeight), AWidth, AHeight);
}

void TqzSkinBevel::Paint() {
  if (InState(csDesigning) && Shape() == bsSpacer) {
    Canvas().DrawFocusRect(ClientRect());  // a spacer is invisible at run time only
    return;
  }
  const TqzBevelColors colors = BevelLineColors(Style(), lightColor_, darkColor_);
  if (dividerMode_)
    PaintBevelDivider(Canvas(), Shape(), Width(), Height(), colors);
  else
    PaintBevelShape(Canvas(), Shape(), Width(), Height(), colors);
}

QZ_PUBLISHED(TqzSkinBevel, TBevel) {
  using O = TqzSkinBevel;
  b.Factory([](TComponent* owner) { return new TqzSkinBevel(owner); });
  b.Ref<TqzSkinData>("SkinData", &O::SkinData, &O::SetSkinData);
  b.Prop("SkinDataName", &O::SkinDataName, &O::SetSkinDataName, std::string("bevel"));
  b.Prop("DividerMode", &O::DividerMode, &O::SetDividerMode, false);
}

}  // namespace qz
