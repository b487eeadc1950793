// The skinned speed button of the dialogs' tool bars: a button of the
// "toolbutton" description, 27 x 25 pixels, that shows one image of an
// image list, takes no focus and runs its OnClick. Flat buttons draw no
// background until the mouse is over them or they are pressed.
#pragma once

#include "skin/controls/SkinButton.h"

namespace qz {

inline constexpr int kSpeedButtonWidth = 27;
inline constexpr int kSpeedButtonHeight = 25;

class TqzSkinSpeedButton : public TqzSkinButton {
  QZ_CLASS(TqzSkinSpeedButton, TqzSkinButton)
 public:
  explicit TqzSkinSpeedButton(TComponent* AOwner);

  bool Flat() const { return Transparent(); }
  void SetFlat(bool V) { SetTransparent(V); }
};

}  // namespace qz
