// The inactive client effect of a skinned form: while the form is not
// active, a panel over its client area shows a picture of the client taken
// when the form lost the activation, dimmed or blurred.
//
// The two looks of the controller's ClientInActiveEffectType:
// - qzieSemiTransparent (dimmed): the client seen through a black veil of
//   kInactiveVeilOpacity: every colour channel c becomes (1 - 0.35) * c
//   (TqzEffectBmp::ChangeDarkness).
// - qzieBlur (blurred): the tent blur of radius kInactiveBlurRadius
//   (BlurBitmap), edges repeated.
// The panel is a picture, not a live view: what changes in the client while
// the form is inactive shows once the form is active again. A click on the
// panel activates the form, which hides the panel; that click goes no
// further, as a click on a veil over the controls would.
#pragma once

#include "host/ui/Controls.h"
#include "skin/draw/EffectBmp.h"

namespace qz {

inline constexpr double kInactiveVeilOpacity = 0.35;
inline constexpr int kInactiveBlurRadius = 3;

// The inactive look of `client`, blurred or dimmed; the result is opaque.
void ApplyInactiveClientEffect(TqzBitmap& client, bool blur);

class TqzInactiveClientPanel : public TCustomControl {
  QZ_CLASS(TqzInactiveClientPanel, TCustomControl)
 public:
  explicit TqzInactiveClientPanel(TComponent* AOwner);

  // Takes the picture of what `form` shows at `area` (client coordinates),
  // applies the effect, and covers that area with it. The panel must be
  // hidden while the picture is taken.
  void Cover(TWinControl& form, const TRect& area, bool blur);
  // Hides the panel and lets everything under it paint again.
  void Uncover();
  const TqzBitmap& Picture() const { return picture_; }

 protected:
  void Paint() override;

 private:
  TqzBitmap picture_;
};

}  // namespace qz
