#include "skin/controls/SkinSpeedButton.h"

#include "host/components/Properties.h"

namespace qz {

TqzSkinSpeedButton::TqzSkinSpeedButton(TComponent* AOwner) : TqzSkinButton(AOwner) {
  SetSkinDataName("toolbutton");
  // The size is the tool bar's, not the description's picture.
  SetUseSkinSize(false);
  SetBounds(Left(), Top(), kSpeedButtonWidth, kSpeedButtonHeight);
  SetCanFocused(false);
  tabStop_ = false;
  SetCaption("");
}

QZ_PUBLISHED(TqzSkinSpeedButton, TqzSkinButton) {
  using O = TqzSkinSpeedButton;
  b.Factory([](TComponent* owner) { return new TqzSkinSpeedButton(owner); });
  b.Prop("Flat", &O::Flat, &O::SetFlat, false);
}

}  // namespace qz
