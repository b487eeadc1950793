#include "host/ui/ScrollBox.h"

namespace qz {

TScrollBox::TScrollBox(TComponent* AOwner) : TScrollingControl<TCustomControl>(AOwner) {
  controlStyle_ = {csAcceptsControls, csCaptureMouse, csClickEvents, csOpaque, csDoubleClicks};
  width_ = 185;
  height_ = 41;
}

TScrollBox::~TScrollBox() = default;

void TScrollBox::Paint() {
  Canvas().Brush().SetColor(Color());
  Canvas().FillRect(ClientRect());
}

void TScrollBox::ScrollPositionChanged() {
  if (OnScroll) OnScroll(this);
}

void TScrollBox::ScrollRangeChanged() {
  if (OnRangeChange) OnRangeChange(this);
}

QZ_PUBLISHED(TScrollBox, TCustomControl) {
  b.Factory([](TComponent* owner) { return new TScrollBox(owner); });
  b.Prop("WheelStep", &TScrollBox::WheelStep, &TScrollBox::SetWheelStep, 40);
}

}  // namespace qz
