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
  b.Factory([](TComponent* owner) { return new TqzGraphicSkinControl(owner); });
  PublishSkinLink(b);
}

QZ_PUBLISHED(TqzGraphicSkinCustomControl, TqzGraphicSkinControl) {
  b.Factory([](TComponent* owner) { return new TqzGraphicSkinCustomControl(owner); });
  PublishCustomFace(b);
}

}  // namespace qz
