// The window-less skin control bases: the windowed pair's behaviour painted
// by the parent, without a window region.
#include "host/ui/ImgList.h"
#include "skin/controls/SkinControl.h"
#include "skin/controls/SkinControlShared.h"
#include "skin/data/SkinControlData.h"
#include "skin/data/SkinData.h"

namespace qz {

using namespace skin_control_detail;

// ---------------------------------------------------------------------------
// TqzGraphicSkinControl

TqzGraphicSkinControl::TqzGraphicSkinControl(TComponent* AOwner) : TGraphicControl(AOwner) {}
TqzGraphicSkinControl::~TqzGraphicSkinControl() = default;

void TqzGraphicSkinControl::SetHintImageList(TCustomImageList* v) {
  SetReference(link_.hintImageList, v);
}

void TqzGraphicSkinControl::SetAlphaBlend(bool Value) {
  link_.alphaBlend = Value;
  Invalidate();
}

void TqzGraphicSkinControl::SetAlphaBlendValue(uint8_t Value) {
  link_.alphaBlendValue = Value;
  Invalidate();
}

void TqzGraphicSkinControl::GetSkinData() { SkinIndex = FindSkinIndex(link_); }

void TqzGraphicSkinControl::SetSkinData(TqzSkinData* Value) {
  SetReference(link_.skinData, Value);
  link_.linkedSkin = Value;
  if (Value != nullptr && !Value->Empty() && !InState(csDesigning)) ChangeSkinData();
}

void TqzGraphicSkinControl::CreateControlDefaultImage(TBitmap&) {}
void TqzGraphicSkinControl::CreateControlSkinImage(TBitmap&) {}

void TqzGraphicSkinControl::ChangeSkinData() {
  GetSkinData();
  ApplySkinCursor();
  Invalidate();
}

void TqzGraphicSkinControl::BeforeChangeSkinData() { SkinIndex = -1; }

void TqzGraphicSkinControl::RefreshAlphaBlend() {
  if (link_.alphaBlend) Invalidate();
}

TqzDataSkinControl* TqzGraphicSkinControl::SkinDescription() const {
  return Description(link_, SkinIndex);
}

void TqzGraphicSkinControl::Paint() {
  if (Width() <= 0 || Height() <= 0) return;
  TComponentRef<TqzGraphicSkinControl> self(this);
  GetSkinData();
  if (self) PaintThroughBitmap();
}

void TqzGraphicSkinControl::PaintThroughBitmap() {
  PaintThroughBitmapOf(*this, link_);
}

void TqzGraphicSkinControl::Dispatch(TMessage& m) {
  if (m.Msg == MSG_REFRESH_ALPHABLEND) {
    RefreshAlphaBlend();
    return;
  }
  TGraphicControl::Dispatch(m);
}

void TqzGraphicSkinControl::Notification(TComponent* AComponent, TOperation Operation) {
  TGraphicControl::Notification(AComponent, Operation);
  // The slot is already cleared; the control follows as it does a skin
  // change, into its plain look.
  if (ForgetRemovedSkin(link_, AComponent, Operation) && !InState(csDestroying)) ChangeSkinData();
}

void TqzGraphicSkinControl::CMMouseEnter(TMessage& m) {
  if (!InState(csDesigning)) TGraphicControl::CMMouseEnter(m);
}

void TqzGraphicSkinControl::CMMouseLeave(TMessage& m) {
  if (!InState(csDesigning)) TGraphicControl::CMMouseLeave(m);
}

void TqzGraphicSkinControl::ApplySkinCursor() {
  if (link_.useSkinCursor) SetCursor(SkinCursor(link_.skinData, CursorIndex));
}

// ---------------------------------------------------------------------------
// TqzGraphicSkinCustomControl

TqzGraphicSkinCustomControl::TqzGraphicSkinCustomControl(TComponent* AOwner)
    : TqzGraphicSkinControl(AOwner), defaultFont_(std::make_unique<TFont>()) {
  SetSkinControlDefaultFont(*defaultFont_);
  defaultFont_->OnChange = [this](TObject*) { OnDefaultFontChange(); };
}

TqzGraphicSkinCustomControl::~TqzGraphicSkinCustomControl() { defaultFont_->OnChange = nullptr; }

void TqzGraphicSkinCustomControl::SetDefaultFont(const TFont& Value) {
  AssignFontQuietly(*defaultFont_, Value);
  OnDefaultFontChange();
}

void TqzGraphicSkinCustomControl::OnDefaultFontChange() {
  TComponentRef<TqzGraphicSkinCustomControl> self(this);
  DefaultFontChanged();
  if (self && SkinIndex == -1) Invalidate();
}

void TqzGraphicSkinCustomControl::SetDefaultWidth(int Value) {
  defaultWidth_ = Value;
  if (SkinIndex == -1 && Value > 0) SetWidth(Value);
}

void TqzGraphicSkinCustomControl::SetDefaultHeight(int Value) {
  defaultHeight_ = Value;
  if (SkinIndex == -1 && Value > 0) SetHeight(Value);
}

void TqzGraphicSkinCustomControl::GetSkinData() {
  TqzGraphicSkinControl::GetSkinData();
  TakeDescription(SkinIndex == -1 ? nullptr : SkinDescription(), SkinData(), CursorIndex);
}

void TqzGraphicSkinCustomControl::CreateControlDefaultImage(TBitmap& B) {
  FillWithButtonFace(B, ClientRect());
}

void TqzGraphicSkinCustomControl::CreateControlSkinImage(TBitmap& B) {
  ComposeSkinImage(B, Width(), Height());
}

void TqzGraphicSkinCustomControl::ChangeSkinData() {
  TComponentRef<TqzGraphicSkinCustomControl> self(this);
  GetSkinData();
  ApplySkinCursor();
  const TSize size = SizeAfterSkinChange(*this);
  if (size.cx != Width() || size.cy != Height()) {
    SetBounds(Left(), Top(), size.cx, size.cy);
    if (!self) return;
  }
  Invalidate();
}

void TqzGraphicSkinCustomControl::DefaultFontChanged() {}

void TqzGraphicSkinCustomControl::CalcSize(int& W, int& H) {
  CalcSizeRule(SkinIndex != -1, W, H);
}

TRect TqzGraphicSkinCustomControl::CalcNewRect(const TRect& SkinRelativeRect) const {
  return CalcNewRectRule(SkinRelativeRect, Width(), Height());
}

void TqzGraphicSkinCustomControl::SetBounds(int ALeft, int ATop, int AWidth, int AHeight) {
  TComponentRef<TqzGraphicSkinCustomControl> self(this);
  const bool changing = FitRequestedSize(*this, AWidth, AHeight);
  ATop = AdjustTopForParent(ATop, AHeight);
  TqzGraphicSkinControl::SetBounds(ALeft, ATop, AWidth, AHeight);
  if (self && changing) Invalidate();
}

int TqzGraphicSkinCustomControl::AdjustTopForParent(int ATop, int AHeight) const {
  return PlaceTopInParent(Parent(), ATop, AHeight);
}

void TqzGraphicSkinCustomControl::Paint() {
  if (Width() < 1 || Height() < 1) return;
  TComponentRef<TqzGraphicSkinCustomControl> self(this);
  if (PaintsFrameOnly(*this)) {
    PaintFrameOnlyPath();
    return;
  }
  if (self) PaintThroughBitmap();
}

void TqzGraphicSkinCustomControl::PaintFrameOnlyPath() {
  TComponentRef<TqzGraphicSkinCustomControl> self(this);
  TBitmap scratch;
  CreateControlSkinImage(scratch);
  if (!self) return;
  PaintFrameOnly(Canvas(), Width(), Height());
}

// ---------------------------------------------------------------------------
// Registration

QZ_PUBLISHED(TqzGraphicSkinControl, TGraphicControl) {
  using O = TqzGraphicSkinControl;
  b.Factory([](TComponent* owner) { return new TqzGraphicSkinControl(owner); });
  b.Prop("HintTitle", &O::HintTitle, &O::SetHintTitle);
  b.Prop("HintImageIndex", &O::HintImageIndex, &O::SetHintImageIndex, 0);
  b.Ref<TCustomImageList>("HintImageList", &O::HintImageList, &O::SetHintImageList);
  b.Prop("DrawDefault", &O::DrawDefault, &O::SetDrawDefault, true);
  b.Ref<TqzSkinData>("SkinData", &O::SkinData, [](O& o, TqzSkinData* v) { o.SetSkinData(v); });
  b.Prop("AreaName", &O::AreaName, &O::SetAreaName);
  b.Prop("SkinDataName", &O::SkinDataName, &O::SetSkinDataName);
  b.Prop("AlphaBlend", &O::AlphaBlend, [](O& o, bool v) { o.SetAlphaBlend(v); }, false);
  b.Prop("AlphaBlendValue", &O::AlphaBlendValue,
         [](O& o, uint8_t v) { o.SetAlphaBlendValue(v); }, uint8_t(200));
  b.Prop("UseSkinCursor", &O::UseSkinCursor, &O::SetUseSkinCursor, false);
}

QZ_PUBLISHED(TqzGraphicSkinCustomControl, TqzGraphicSkinControl) {
  using O = TqzGraphicSkinCustomControl;
  b.Factory([](TComponent* owner) { return new TqzGraphicSkinCustomControl(owner); });
  b.Object("DefaultFont", [](O& o) -> TFont& { return o.DefaultFont(); });
  b.Prop("UseSkinFont", &O::UseSkinFont, &O::SetUseSkinFont, true);
  b.Prop("DefaultWidth", &O::DefaultWidth, &O::SetDefaultWidth, 0);
  b.Prop("DefaultHeight", &O::DefaultHeight, &O::SetDefaultHeight, 0);
}

}  // namespace qz
