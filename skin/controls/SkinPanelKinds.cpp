// The panel's two kinds: the group box and the status bar.
#include "skin/controls/SkinPanel.h"
#include "skin/data/SkinData.h"
#include "skin/draw/QZUtils.h"

namespace qz {

// ---------------------------------------------------------------------------
// TqzSkinGroupBox

TqzSkinGroupBox::TqzSkinGroupBox(TComponent* AOwner) : TqzSkinPanel(AOwner) {
  SetSkinDataName("groupbox");
  SetCaptionMode(true);
}

void TqzSkinGroupBox::GetSkinData() {
  TqzSkinPanel::GetSkinData();
  const TqzDataSkinPanelControl* d = PanelDescription();
  // Its client area ending above its caption, the description keeps the
  // caption out of the top strip: only the whole image shows it.
  FrameOnlyPaint = d == nullptr || d->ClientRect.Bottom > d->CaptionRect.Top;
}

QZ_PUBLISHED(TqzSkinGroupBox, TqzSkinPanel) {
  using O = TqzSkinGroupBox;
  b.Factory([](TComponent* owner) { return new TqzSkinGroupBox(owner); });
  b.Prop("SkinDataName", &O::SkinDataName, &O::SetSkinDataName, std::string("groupbox"));
  b.Prop("CaptionMode", &O::CaptionMode, &O::SetCaptionMode, true);
}

// ---------------------------------------------------------------------------
// TqzSkinStatusBar

namespace {
// The plain size grip: three pairs of diagonal lines in a square this wide.
constexpr int kPlainGripSize = 12;
}  // namespace

TqzSkinStatusBar::TqzSkinStatusBar(TComponent* AOwner) : TqzSkinPanel(AOwner) {
  SetSkinDataName("statusbar");
  SetBorderStyle(TqzSkinBorderStyle::bvNone);
  FrameOnlyPaint = false;
  SetAlign(alBottom);
  height_ = 21;
}

void TqzSkinStatusBar::SetSizeGrip(bool v) {
  if (v == sizeGrip_) return;
  sizeGrip_ = v;
  Invalidate();
}

TRect TqzSkinStatusBar::GripRect() const {
  if (!sizeGrip_) return {};
  const TqzDataSkinPanelControl* d = PanelDescription();
  const int w = d != nullptr && !IsNullRect(d->GripperRect) ? d->GripperRect.Width() : kPlainGripSize;
  const int h = d != nullptr && !IsNullRect(d->GripperRect) ? d->GripperRect.Height() : kPlainGripSize;
  return {Width() - w, Height() - h, Width(), Height()};
}

void TqzSkinStatusBar::DrawGrip(TCanvas& canvas) const {
  const TRect grip = GripRect();
  if (grip.IsEmpty()) return;
  const TqzDataSkinPanelControl* d = PanelDescription();
  if (d != nullptr && Picture != nullptr && !IsNullRect(d->GripperRect)) {
    TBitmap piece(grip.Width(), grip.Height());
    piece.Canvas().CopyRect({0, 0, grip.Width(), grip.Height()}, Picture->Canvas(), d->GripperRect);
    if (d->GripperTransparent) {
      piece.SetTransparentColor(d->GripperTransparentColor);
      piece.SetTransparent(true);
    }
    canvas.Draw(grip.Left, grip.Top, piece);
    return;
  }
  // Diagonals from the bottom-right corner: light, dark, dark, gap.
  for (int i = 0; i < 3; ++i) {
    const int offset = 4 * i + 1;
    canvas.Pen().SetColor(clBtnHighlight);
    canvas.MoveTo(Width() - offset - 1, Height() - 1);
    canvas.LineTo(Width(), Height() - offset - 2);
    canvas.Pen().SetColor(clBtnShadow);
    for (int k = 1; k <= 2; ++k) {
      canvas.MoveTo(Width() - offset - 1 + k, Height() - 1);
      canvas.LineTo(Width(), Height() - offset - 2 + k);
    }
  }
}

void TqzSkinStatusBar::Paint() {
  TqzSkinPanel::Paint();
  if (sizeGrip_ && !(EmptyDrawing() && !InState(csDesigning))) DrawGrip(Canvas());
}

QZ_PUBLISHED(TqzSkinStatusBar, TqzSkinPanel) {
  using O = TqzSkinStatusBar;
  b.Factory([](TComponent* owner) { return new TqzSkinStatusBar(owner); });
  b.Prop("SkinDataName", &O::SkinDataName, &O::SetSkinDataName, std::string("statusbar"));
  b.Enum("Align", &O::Align, &O::SetAlign, alBottom);
  b.Enum("BorderStyle", &O::BorderStyle, &O::SetBorderStyle, TqzSkinBorderStyle::bvNone);
  b.Prop("SizeGrip", &O::SizeGrip, &O::SetSizeGrip, false);
}

}  // namespace qz
