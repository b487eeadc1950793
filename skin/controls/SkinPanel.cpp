// TqzSkinPanel: properties, the client area for children, the caption
// toggles (check and roll-up) and the size constraints.
#include "skin/controls/SkinPanel.h"

#include <algorithm>
#include <vector>

#include "skin/data/SkinData.h"
#include "skin/draw/QZUtils.h"

namespace qz {

// ---------------------------------------------------------------------------
// Size constraints

void TqzSizeConstraints::Apply(int& width, int& height) const {
  if (MaxWidth > 0) width = std::min(width, MaxWidth);
  if (MaxHeight > 0) height = std::min(height, MaxHeight);
  if (MinWidth > 0) width = std::max(width, MinWidth);
  if (MinHeight > 0) height = std::max(height, MinHeight);
}

void TqzSizeConstraints::Assign(const TPersistent& source) {
  if (const auto* other = dynamic_cast<const TqzSizeConstraints*>(&source)) {
    MinWidth = other->MinWidth;
    MinHeight = other->MinHeight;
    MaxWidth = other->MaxWidth;
    MaxHeight = other->MaxHeight;
    return;
  }
  TPersistent::Assign(source);
}

// ---------------------------------------------------------------------------
// Caption layout

TqzCaptionLayout LayoutCaption(const TRect& caption, const TqzCaptionParts& parts) {
  TqzCaptionLayout out;
  TRect rest = caption;
  auto centredTop = [&](int height) { return caption.Top + (caption.Height() - height) / 2; };
  auto present = [](TSize s) { return s.cx > 0 && s.cy > 0; };
  auto alignIn = [&](const TRect& area, int width) {
    if (parts.Alignment == 1) return area.Right - width;
    if (parts.Alignment == 2) return area.Left + area.Width() / 2 - width / 2;
    return area.Left;
  };
  if (present(parts.Check)) {
    out.Check = Bounds(rest.Left, centredTop(parts.Check.cy), parts.Check.cx, parts.Check.cy);
    rest.Left += parts.Check.cx + parts.Spacing;
  }
  if (present(parts.Marker)) {
    out.Marker = Bounds(rest.Right - parts.Marker.cx, centredTop(parts.Marker.cy), parts.Marker.cx,
                        parts.Marker.cy);
    rest.Right -= parts.Marker.cx + parts.Spacing;
  }
  const bool hasImage = present(parts.Image);
  int imageShare = hasImage ? parts.Image.cx + parts.Spacing : 0;
  if (hasImage && parts.ImageFarLeft) {
    out.Image = Bounds(rest.Left, centredTop(parts.Image.cy), parts.Image.cx, parts.Image.cy);
    rest.Left += imageShare;
    imageShare = 0;
  }
  const int content = imageShare + parts.Text.cx;
  int start = 0;
  if (!IsNullRect(parts.FrameRect)) {
    const int frameWidth = content + parts.FrameRect.Width() - parts.FrameTextRect.Width();
    const int frameLeft = alignIn(rest, frameWidth);
    out.Frame = Bounds(frameLeft, centredTop(parts.FrameRect.Height()), frameWidth,
                       parts.FrameRect.Height());
    start = frameLeft + parts.FrameTextRect.Left - parts.FrameRect.Left;
  } else {
    start = alignIn(rest, content);
  }
  if (hasImage && !parts.ImageFarLeft) {
    out.Image = Bounds(start, centredTop(parts.Image.cy), parts.Image.cx, parts.Image.cy);
    start += imageShare;
  }
  int textTop = caption.Top + caption.Height() / 2 - parts.Text.cy / 2;
  if (parts.OddFontHeight) textTop -= 1;
  out.Text = {start, textTop};
  return out;
}

// ---------------------------------------------------------------------------
// TqzSkinPanel

TqzSkinPanel::TqzSkinPanel(TComponent* AOwner)
    : TqzSkinCustomControl(AOwner), glyph_(std::make_unique<TBitmap>()) {
  controlStyle_ = {csAcceptsControls, csCaptureMouse, csClickEvents, csSetCaption, csOpaque,
                   csDoubleClicks, csReplicatable};
  SetSkinDataName("panel");
  FrameOnlyPaint = true;
  width_ = 150;
  height_ = 150;
}

TqzSkinPanel::~TqzSkinPanel() = default;

const TqzDataSkinPanelControl* TqzSkinPanel::PanelDescription() const {
  if (SkinIndex == -1) return nullptr;
  return dynamic_cast<const TqzDataSkinPanelControl*>(SkinDescription());
}

void TqzSkinPanel::GetSkinData() {
  TqzSkinCustomControl::GetSkinData();
  // Another kind of description under the name is no description.
  if (SkinIndex != -1 && PanelDescription() == nullptr) SkinIndex = -1;
}

void TqzSkinPanel::SetCaptionImageList(TCustomImageList* v) {
  SetReference(captionImageList_, v);
  Invalidate();
}

void TqzSkinPanel::SetGlyph(const TBitmap& v) {
  glyph_->Assign(v);
  Invalidate();
}

void TqzSkinPanel::SetNumGlyphs(int v) { SetLook(numGlyphs_, std::clamp(v, 1, 4)); }

void TqzSkinPanel::SetText(const std::string& v) {
  TqzSkinCustomControl::SetText(v);
  Invalidate();
}

void TqzSkinPanel::CMEnabledChanged(TMessage& m) {
  TqzSkinCustomControl::CMEnabledChanged(m);
  Invalidate();  // the glyph's disabled frame
}

void TqzSkinPanel::SetConstraints(const TqzSizeConstraints& v) {
  constraints_.Assign(v);
  SetBounds(Left(), Top(), Width(), Height());
}

void TqzSkinPanel::SetBounds(int ALeft, int ATop, int AWidth, int AHeight) {
  constraints_.Apply(AWidth, AHeight);
  TqzSkinCustomControl::SetBounds(ALeft, ATop, AWidth, AHeight);
}

// ---- checked mode

void TqzSkinPanel::UpdateChildrenEnabled() {
  if (!autoEnabledControls_ || !checkedMode_) return;
  std::vector<TComponentRef<TControl>> children;
  for (int i = 0; i < ControlCount(); ++i) children.emplace_back(Controls(i));
  for (auto& child : children)
    if (child) child->SetEnabled(checked_);
}

void TqzSkinPanel::SetAutoEnabledControls(bool v) {
  if (v == autoEnabledControls_) return;
  autoEnabledControls_ = v;
  if (!InState(csLoading)) UpdateChildrenEnabled();
}

void TqzSkinPanel::SetCheckedMode(bool v) {
  if (v == checkedMode_) return;
  checkedMode_ = v;
  if (!InState(csLoading)) UpdateChildrenEnabled();
  Invalidate();
}

void TqzSkinPanel::SetChecked(bool v) {
  if (v == checked_) return;
  checked_ = v;
  Invalidate();
  if (InState(csLoading)) return;
  TComponentRef<TqzSkinPanel> self(this);
  UpdateChildrenEnabled();
  if (!self) return;
  if (OnChecked) OnChecked(this);
}

void TqzSkinPanel::Loaded() {
  TqzSkinCustomControl::Loaded();
  TComponentRef<TqzSkinPanel> self(this);
  if (!constraints_.Empty()) SetBounds(Left(), Top(), Width(), Height());
  if (self) UpdateChildrenEnabled();
}

void TqzSkinPanel::DefaultFontChanged() {
  TqzSkinCustomControl::DefaultFontChanged();
  Invalidate();  // the caption may be drawn in it
}

// ---- roll-up

int TqzSkinPanel::RolledUpHeight() {
  GetSkinData();
  const TqzDataSkinPanelControl* d = PanelDescription();
  if (d != nullptr && transparentMode_) return TransparentCaptionHeight() + 2;
  if (d != nullptr) {
    const int bottomBorder = Geom.SkinRect.Height() - Geom.ClientRect.Bottom;
    return std::max(Geom.ClientRect.Top, d->CaptionRect.Bottom) + bottomBorder;
  }
  return defaultCaptionHeight_ + 1;
}

// Both resize the panel last: a resize handler may free it.
void TqzSkinPanel::RollUp() {
  savedConstraints_.Assign(constraints_);
  constraints_.Clear();
  realHeight_ = Height();
  rollUpState_ = true;
  SetHeight(RolledUpHeight());
}

void TqzSkinPanel::RollDown() {
  rollUpState_ = false;
  const int height = realHeight_ > 0 ? realHeight_ : Height();
  realHeight_ = -1;
  // The limits come back first; SetBounds keeps the size within them.
  constraints_.Assign(savedConstraints_);
  savedConstraints_.Clear();
  SetBounds(Left(), Top(), Width(), height);
}

void TqzSkinPanel::SetRollUpState(bool v) {
  if (InState(csLoading)) {
    // A streamed rolled-up panel already has its collapsed height and
    // its RealHeight.
    rollUpState_ = v;
    return;
  }
  if (!rollUpMode_) {
    if (rollUpState_) RollDown();
    return;
  }
  if (v == rollUpState_) return;
  TComponentRef<TqzSkinPanel> self(this);
  if (v)
    RollUp();
  else
    RollDown();
  if (!self) return;
  Invalidate();
  if (OnChangeRollUpState) OnChangeRollUpState(this);
}

void TqzSkinPanel::SetRollUpMode(bool v) {
  if (v == rollUpMode_) return;
  rollUpMode_ = v;
  if (!v && !InState(csLoading)) SetRollUpState(false);
  Invalidate();
}

// ---- mouse

TRect TqzSkinPanel::PlainCaptionBand() const {
  if (ribbonStyle_) return {1, Height() - defaultCaptionHeight_, Width() - 1, Height() - 1};
  return {1, 1, Width() - 1, defaultCaptionHeight_};
}

TRect TqzSkinPanel::CaptionHitRect() {
  GetSkinData();
  if (PanelDescription() == nullptr) return PlainCaptionBand();
  if (transparentMode_) return {0, 0, Width(), TransparentCaptionHeight()};
  int w = Width(), h = Height();
  CalcSize(w, h);
  return MappedCaptionRect();
}

void TqzSkinPanel::MouseUp(TMouseButton Button, TShiftState Shift, int X, int Y) {
  TComponentRef<TqzSkinPanel> self(this);
  TqzSkinCustomControl::MouseUp(Button, Shift, X, Y);
  if (!self) return;
  if (Button != mbLeft || !captionMode_ || !(rollUpMode_ || checkedMode_)) return;
  if (!CaptionHitRect().Contains({X, Y})) return;
  if (checkedMode_) {
    SetChecked(!checked_);
    if (!self) return;
  }
  if (rollUpMode_) SetRollUpState(!rollUpState_);
}

// ---- client area for children

TRect TqzSkinPanel::PanelClientRect() {
  TRect r = ClientRect();
  if (emptyDrawing_) return r;
  GetSkinData();
  const bool described = PanelDescription() != nullptr && !InState(csDesigning);
  if (described && transparentMode_) {
    const int top = captionMode_ ? TransparentCaptionHeight() : 2;
    return {2, top, Width() - 2, Height() - 2};
  }
  if (described) {
    int w = Width(), h = Height();
    CalcSize(w, h);
    const bool wholePanel =
        borderStyle_ == TqzSkinBorderStyle::bvNone && ResizeMode == 1 && !captionMode_;
    if (!wholePanel) r = NewGeom.NewClRect;
    if (useSkinSize_ || !captionMode_) return r;
  } else {
    if (borderStyle_ != TqzSkinBorderStyle::bvNone) r = InflateRect(r, -1, -1);
    if (!captionMode_) return r;
  }
  if (ribbonStyle_)
    r.Bottom -= defaultCaptionHeight_;
  else
    r.Top += defaultCaptionHeight_;
  return r;
}

void TqzSkinPanel::AlignControls(TControl* AControl, TRect& Rect) {
  Rect = PanelClientRect();
  TqzSkinCustomControl::AlignControls(AControl, Rect);
}

// ---------------------------------------------------------------------------

QZ_PUBLISHED(TqzSizeConstraints, TPersistent) {
  using O = TqzSizeConstraints;
  b.Prop("MaxHeight", &O::MaxHeight, 0);
  b.Prop("MaxWidth", &O::MaxWidth, 0);
  b.Prop("MinHeight", &O::MinHeight, 0);
  b.Prop("MinWidth", &O::MinWidth, 0);
}

QZ_PUBLISHED(TqzSkinPanel, TqzSkinCustomControl) {
  using O = TqzSkinPanel;
  b.Factory([](TComponent* owner) { return new TqzSkinPanel(owner); });
  b.Prop("SkinDataName", &O::SkinDataName, &O::SetSkinDataName, std::string("panel"));
  b.Prop("EmptyDrawing", &O::EmptyDrawing, &O::SetEmptyDrawing, false);
  b.Prop("RibbonStyle", &O::RibbonStyle, &O::SetRibbonStyle, false);
  b.Enum("ImagePosition", &O::ImagePosition, &O::SetImagePosition, TqzImagePosition::qzipDefault);
  b.Prop("TransparentMode", &O::TransparentMode, &O::SetTransparentMode, false);
  b.Ref<TCustomImageList>("CaptionImageList", &O::CaptionImageList, &O::SetCaptionImageList);
  b.Prop("CaptionImageIndex", &O::CaptionImageIndex, &O::SetCaptionImageIndex, -1);
  b.Prop("RealHeight", &O::RealHeight, &O::SetRealHeight, -1);
  b.Prop("AutoEnabledControls", &O::AutoEnabledControls, &O::SetAutoEnabledControls, false);
  b.Prop("CheckedMode", &O::CheckedMode, &O::SetCheckedMode, false);
  b.Prop("Checked", &O::Checked, &O::SetChecked, false);
  b.Object("Glyph", [](O& o) -> TBitmap& { return o.Glyph(); });
  b.Prop("NumGlyphs", &O::NumGlyphs, &O::SetNumGlyphs, 1);
  b.Prop("Spacing", &O::Spacing, &O::SetSpacing, 2);
  b.Enum("DefaultAlignment", &O::DefaultAlignment, &O::SetDefaultAlignment, taLeftJustify);
  b.Prop("DefaultCaptionHeight", &O::DefaultCaptionHeight, &O::SetDefaultCaptionHeight, 22);
  b.Enum("BorderStyle", &O::BorderStyle, &O::SetBorderStyle, TqzSkinBorderStyle::bvFrame);
  b.Prop("CaptionMode", &O::CaptionMode, &O::SetCaptionMode, false);
  b.Prop("RollUpMode", &O::RollUpMode, &O::SetRollUpMode, false);
  b.Prop("RollUpState", &O::RollUpState, &O::SetRollUpState, false);
  b.Prop("UseSkinSize", &O::UseSkinSize, &O::SetUseSkinSize, true);
  b.Object("Constraints", [](O& o) -> TqzSizeConstraints& { return o.Constraints(); });
  b.Prop("Caption", &O::Caption, &O::SetCaption);
  b.Event<TNotifyEvent>("OnChecked", &O::OnChecked);
  b.Event<TNotifyEvent>("OnChangeRollUpState", &O::OnChangeRollUpState);
}

}  // namespace qz
