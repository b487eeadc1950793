#include "skin/draw/QzColors.h"

namespace qz {

// ---- Colours ----

TColor MixColors(TColor A, TColor B) {
  const TColorRef a = ColorToRGB(A), b = ColorToRGB(B);
  return static_cast<TColor>(RGB((GetRValue(a) + GetRValue(b)) >> 1,
                                 (GetGValue(a) + GetGValue(b)) >> 1,
                                 (GetBValue(a) + GetBValue(b)) >> 1));
}

}  // namespace qz
