// Shared drawing helpers of the skin engine: skin image composition on
// framework bitmaps, regions from masks, glyph and caption layout, text
// fitting and placement, the default glyphs, colour and rectangle helpers.
// All are free functions without state.
#pragma once

#include <cstdint>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

#include "host/base/Color.h"
#include "host/base/Types.h"
#include "host/graphics/Bitmap.h"
#include "host/graphics/Canvas.h"
#include "host/graphics/Region.h"
#include "skin/draw/QzColors.h"
#include "skin/draw/QzGlyphs.h"
#include "skin/draw/QzText.h"
#include "skin/draw/SkinGeometry.h"

namespace qz {

class TControl;
class TCustomImageList;
class TqzPngImageList;

// ---- Composition ----

void CreateSkinImage(TPoint LTPt, TPoint RTPt, TPoint LBPt, TPoint RBPt, const TRect& ClRect,
                     TPoint NewLTPt, TPoint NewRTPt, TPoint NewLBPt, TPoint NewRBPt,
                     const TRect& NewClRect, bool LeftStretch, bool TopStretch, bool RightStretch,
                     bool BottomStretch, bool StretchEffect, int StretchType, bool DrawClient,
                     int W, int H, const TRect& R, const TBitmap& Source, TBitmap& Dest);
// The same with the geometry in records.
void CreateSkinImage(const TqzSkinGeometry& g, const TqzNewGeometry& n, bool DrawClient, int W,
                     int H, const TBitmap& Source, TBitmap& Dest);
void CreateHSkinImage(int LeftWidth, int RightWidth, TBitmap& Dest, bool Stretch, int W,
                      const TRect& R, const TBitmap& Source);
void CreateVSkinImage(int TopHeight, int BottomHeight, TBitmap& Dest, bool Stretch, int H,
                      const TRect& R, const TBitmap& Source);
void CreateStretchImage(TBitmap& Dest, const TBitmap& Source, const TRect& R, const TRect& Inner,
                        bool DrawClient);
// Builds the four border strips; a strip that does not exist is left empty.
void CreateSkinBorderImages(const TqzSkinGeometry& g, const TqzNewGeometry& n, int W, int H,
                            const TBitmap& Source, TBitmap& Top, TBitmap& Bottom, TBitmap& Left,
                            TBitmap& Right);

// ---- Regions ----

// At most this many rectangles are taken from one mask.
constexpr int kMaxMaskRegionRects = 10000;

struct TqzRegionData {
  std::vector<uint8_t> Data;  // the platform's region data block; empty for no data
  int Count = 0;              // rectangles in it
};
// Every maximal horizontal run of black pixels (red, green and blue 0) of
// each row becomes one rectangle, offset by (OffsetX, OffsetY).
TqzRegionData CreateRegionDataFromMask(const TPixmap& Mask, int OffsetX, int OffsetY);
TqzRegionData CreateRegionDataFromMask(const TBitmap& Mask, int OffsetX, int OffsetY);
// The region of the black pixels of the whole mask; none for an empty mask.
std::optional<TRegion> CreateRegionFromMask(const TBitmap& Mask);
// The region of a mask composed to W x H: its four border strips at their
// places united with NewClRect. None when the element is smaller than its
// fixed parts.
std::optional<TRegion> CreateSkinRegion(const TqzSkinGeometry& g, const TqzNewGeometry& n, int W,
                                        int H, const TBitmap& Mask);

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
