// Shared drawing helpers of the skin engine, one header per subject:
// composition (QzComposition.h), regions from masks (QzRegions.h), caption
// layout and text (QzText.h), the default glyphs (QzGlyphs.h) and colours
// (QzColors.h); this header gathers them with the parent background capture
// and the rectangle helpers. All are free functions without state.
#pragma once

#include "host/base/Types.h"
#include "host/graphics/Canvas.h"
#include "skin/draw/QzColors.h"
#include "skin/draw/QzComposition.h"
#include "skin/draw/QzGlyphs.h"
#include "skin/draw/QzRegions.h"
#include "skin/draw/QzText.h"

namespace qz {

class TControl;

// ---- Parent background ----

// Paints onto Cnvs what lies under Control: its parent's background and the
// earlier visible window-less siblings that overlap it.
void GetParentImage(TControl* Control, TCanvas& Cnvs);

// ---- Rectangles ----

inline bool IsNullRect(const TRect& R) { return R.Width() <= 0 || R.Height() <= 0; }
inline TRect NullRect() { return {}; }
inline bool EqRects(const TRect& A, const TRect& B) { return A == B; }
// Both corners of A pass the point-in-rectangle test against B (which
// excludes B's right and bottom sides).
inline bool RectInRect(const TRect& A, const TRect& B) {
  return B.Contains(A.TopLeft()) && B.Contains(A.BottomRight());
}
// Inclusive on all four sides.
inline bool PointInRect(const TRect& R, TPoint P) {
  return P.X >= R.Left && P.X <= R.Right && P.Y >= R.Top && P.Y <= R.Bottom;
}

}  // namespace qz
