// Skin control bases: first outline; the behaviour follows.
#include "skin/controls/SkinControl.h"

#include "host/ui/ImgList.h"
#include "skin/data/SkinData.h"

namespace qz {

TColor PlainFaceColor() { return static_cast<TColor>(ColorToRGB(clBtnFace)); }
TColor PlainHighlightColor() { return static_cast<TColor>(ColorToRGB(clBtnHighlight)); }
TColor PlainShadowColor() { return static_cast<TColor>(ColorToRGB(clBtnShadow)); }
void SetSkinControlDefaultFont(TFont& font) {
  font.SetName("Tahoma");
  font.SetHeight(13);
}

TqzSkinGeometry TqzSkinResizeState::Geometry() const { return {}; }
TqzNewGeometry TqzSkinResizeState::NewGeometry(int W, int H) const { return {W, H}; }
void TqzSkinResizeState::CopyGeometry(const TqzDataSkinCustomControl&, const TqzSkinData&) {}
void TqzSkinResizeState::ClearGeometry() {}
void TqzSkinResizeState::CalcSizeRule(bool, int&, int&) {}
TRect TqzSkinResizeState::CalcNewRectRule(const TRect& Rc, int, int) const { return Rc; }
void TqzSkinResizeState::ComposeSkinImage(TBitmap&, int, int) const {}
void TqzSkinResizeState::PaintFrameOnly(TCanvas&, int, int) const {}
std::optional<TRegion> TqzSkinResizeState::BuildMaskRegion(int, int) const { return {}; }

TqzSkinControl::TqzSkinControl(TComponent* AOwner) : TCustomControl(AOwner) {}
TqzSkinControl::~TqzSkinControl() = default;
void TqzSkinControl::SetHintImageList(TCustomImageList* v) { SetReference(link_.hintImageList, v); }
void TqzSkinControl::SetAlphaBlend(bool Value) { link_.alphaBlend = Value; }
void TqzSkinControl::SetAlphaBlendValue(uint8_t Value) { link_.alphaBlendValue = Value; }
void TqzSkinControl::GetSkinData() {}
void TqzSkinControl::SetSkinData(TqzSkinData* Value) { SetReference(link_.skinData, Value); }
void TqzSkinControl::SetSkinDataName(const std::string& Value) { link_.skinDataName = Value; }
void TqzSkinControl::CreateControlDefaultImage(TBitmap&) {}
void TqzSkinControl::CreateControlSkinImage(TBitmap&) {}
void TqzSkinControl::ChangeSkinData() {}
void TqzSkinControl::BeforeChangeSkinData() { SkinIndex = -1; }
void TqzSkinControl::RefreshAlphaBlend() {}
TqzDataSkinControl* TqzSkinControl::SkinDescription() const { return nullptr; }
void TqzSkinControl::Paint() {}
void TqzSkinControl::Dispatch(TMessage& m) { TCustomControl::Dispatch(m); }
void TqzSkinControl::Notification(TComponent* c, TOperation o) { TCustomControl::Notification(c, o); }
void TqzSkinControl::WMEraseBkgnd(TMessage& m) { m.Result = 1; }
void TqzSkinControl::WMMove(TMessage&) {}
void TqzSkinControl::CMMouseEnter(TMessage& m) { TCustomControl::CMMouseEnter(m); }
void TqzSkinControl::CMMouseLeave(TMessage& m) { TCustomControl::CMMouseLeave(m); }
void TqzSkinControl::ApplySkinCursor() {}
void TqzSkinControl::PaintThroughBitmap() {}

TqzSkinCustomControl::TqzSkinCustomControl(TComponent* AOwner)
    : TqzSkinControl(AOwner), defaultFont_(std::make_unique<TFont>()) {
  SetSkinControlDefaultFont(*defaultFont_);
}
TqzSkinCustomControl::~TqzSkinCustomControl() = default;
void TqzSkinCustomControl::SetDefaultFont(const TFont& Value) { defaultFont_->Assign(Value); }
void TqzSkinCustomControl::SetDefaultWidth(int Value) { defaultWidth_ = Value; }
void TqzSkinCustomControl::SetDefaultHeight(int Value) { defaultHeight_ = Value; }
void TqzSkinCustomControl::GetSkinData() {}
void TqzSkinCustomControl::CreateControlDefaultImage(TBitmap&) {}
void TqzSkinCustomControl::CreateControlSkinImage(TBitmap&) {}
void TqzSkinCustomControl::ChangeSkinData() {}
void TqzSkinCustomControl::DefaultFontChanged() {}
void TqzSkinCustomControl::CalcSize(int&, int&) {}
void TqzSkinCustomControl::SetControlRegion() {}
TRect TqzSkinCustomControl::CalcNewRect(const TRect& r) const { return r; }
void TqzSkinCustomControl::SetBounds(int l, int t, int w, int h) { TqzSkinControl::SetBounds(l, t, w, h); }
void TqzSkinCustomControl::Paint() {}
int TqzSkinCustomControl::AdjustTopForParent(int ATop, int) const { return ATop; }
void TqzSkinCustomControl::OnDefaultFontChange() {}

TqzGraphicSkinControl::TqzGraphicSkinControl(TComponent* AOwner) : TGraphicControl(AOwner) {}
TqzGraphicSkinControl::~TqzGraphicSkinControl() = default;
void TqzGraphicSkinControl::SetHintImageList(TCustomImageList* v) { SetReference(link_.hintImageList, v); }
void TqzGraphicSkinControl::SetAlphaBlend(bool Value) { link_.alphaBlend = Value; }
void TqzGraphicSkinControl::SetAlphaBlendValue(uint8_t Value) { link_.alphaBlendValue = Value; }
void TqzGraphicSkinControl::GetSkinData() {}
void TqzGraphicSkinControl::SetSkinData(TqzSkinData* Value) { SetReference(link_.skinData, Value); }
void TqzGraphicSkinControl::CreateControlDefaultImage(TBitmap&) {}
void TqzGraphicSkinControl::CreateControlSkinImage(TBitmap&) {}
void TqzGraphicSkinControl::ChangeSkinData() {}
void TqzGraphicSkinControl::BeforeChangeSkinData() { SkinIndex = -1; }
void TqzGraphicSkinControl::RefreshAlphaBlend() {}
TqzDataSkinControl* TqzGraphicSkinControl::SkinDescription() const { return nullptr; }
void TqzGraphicSkinControl::Paint() {}
void TqzGraphicSkinControl::Dispatch(TMessage& m) { TGraphicControl::Dispatch(m); }
void TqzGraphicSkinControl::Notification(TComponent* c, TOperation o) { TGraphicControl::Notification(c, o); }
void TqzGraphicSkinControl::CMMouseEnter(TMessage& m) { TGraphicControl::CMMouseEnter(m); }
void TqzGraphicSkinControl::CMMouseLeave(TMessage& m) { TGraphicControl::CMMouseLeave(m); }
void TqzGraphicSkinControl::ApplySkinCursor() {}
void TqzGraphicSkinControl::PaintThroughBitmap() {}

TqzGraphicSkinCustomControl::TqzGraphicSkinCustomControl(TComponent* AOwner)
    : TqzGraphicSkinControl(AOwner), defaultFont_(std::make_unique<TFont>()) {
  SetSkinControlDefaultFont(*defaultFont_);
}
TqzGraphicSkinCustomControl::~TqzGraphicSkinCustomControl() = default;
void TqzGraphicSkinCustomControl::SetDefaultFont(const TFont& Value) { defaultFont_->Assign(Value); }
void TqzGraphicSkinCustomControl::SetDefaultWidth(int Value) { defaultWidth_ = Value; }
void TqzGraphicSkinCustomControl::SetDefaultHeight(int Value) { defaultHeight_ = Value; }
void TqzGraphicSkinCustomControl::GetSkinData() {}
void TqzGraphicSkinCustomControl::CreateControlDefaultImage(TBitmap&) {}
void TqzGraphicSkinCustomControl::CreateControlSkinImage(TBitmap&) {}
void TqzGraphicSkinCustomControl::ChangeSkinData() {}
void TqzGraphicSkinCustomControl::DefaultFontChanged() {}
void TqzGraphicSkinCustomControl::CalcSize(int&, int&) {}
TRect TqzGraphicSkinCustomControl::CalcNewRect(const TRect& r) const { return r; }
void TqzGraphicSkinCustomControl::SetBounds(int l, int t, int w, int h) { TqzGraphicSkinControl::SetBounds(l, t, w, h); }
void TqzGraphicSkinCustomControl::Paint() {}
int TqzGraphicSkinCustomControl::AdjustTopForParent(int ATop, int) const { return ATop; }
void TqzGraphicSkinCustomControl::OnDefaultFontChange() {}

void NotifySkinControls(TWinControl*, uint32_t, TqzSkinData*) {}

}  // namespace qz
