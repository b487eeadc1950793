// The window-less skin control bases: the faces of SkinControl.cpp over the
// framework's graphic control, painted by the parent, without a window
// region.
#include "host/ui/ImgList.h"
#include "skin/controls/SkinControl.h"
#include "skin/controls/SkinControlShared.h"
#include "skin/data/SkinControlData.h"
#include "skin/data/SkinData.h"

namespace qz {

using namespace skin_control_detail;

// ---------------------------------------------------------------------------
// TqzGraphicSkinControl

TqzGraphicSkinControl::TqzGraphicSkinControl(TComponent* AOwner) : TqzSkinControlFace(AOwner) {}
TqzGraphicSkinControl::~TqzGraphicSkinControl() = default;

// ---------------------------------------------------------------------------
// TqzGraphicSkinCustomControl

TqzGraphicSkinCustomControl::TqzGraphicSkinCustomControl(TComponent* AOwner)
    : TqzSkinCustomFace(AOwner) {}
TqzGraphicSkinCustomControl::~TqzGraphicSkinCustomControl() = default;

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

void TqzGraphicSkinCustomControl::SetBounds(int ALeft, int ATop, int AWidth, int AHeight) {
  TComponentRef<TqzGraphicSkinCustomControl> self(this);
  const bool changing = FitRequestedSize(*this, AWidth, AHeight);
  ATop = AdjustTopForParent(ATop, AHeight);
  TqzSkinCustomFace::SetBounds(ALeft, ATop, AWidth, AHeight);
  if (self && changing) Invalidate();
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
