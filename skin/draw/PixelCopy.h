// The copy, stretch and tile primitives that skin images are composed from,
// on raw pixel surfaces. A copy scales (nearest neighbour) when the source
// and destination rectangles differ in size; a tile repeats a piece without
// gaps and cuts the last one at the end of the span.
#pragma once

#include "host/base/Types.h"
#include "host/graphics/Pixmap.h"

namespace qz {

// Source column (or row) for destination index i of a span of dstLen pixels
// scaled from a source span [srcStart, srcEnd): the ends of both spans meet,
// and a one-pixel destination takes the middle of the source.
class TScaleMap {
 public:
  TScaleMap(int srcStart, int srcEnd, int dstLen);
  int operator()(int i) const;

 private:
  int srcStart_, srcEnd_, dstLen_;
  double scale_;
};

// Copies src rectangle s into dst rectangle d, scaled when the sizes differ.
// Both rectangles are clipped to their surfaces (and d to clip, in dst
// coordinates, when given); nothing is read or written outside them.
void CopyPixels(const TPixmap& src, const TRect& s, TPixmap& dst, const TRect& d,
                const TRect* clip = nullptr);

// Tiles piece s along X over [a, b), rows [top, bottom) of dst. Nothing when
// the span is shorter than zero or the piece is empty.
void TilePixelsX(const TPixmap& src, const TRect& s, TPixmap& dst, int a, int b, int top,
                 int bottom);
// Tiles piece s along Y over [a, b), columns [left, right) of dst.
void TilePixelsY(const TPixmap& src, const TRect& s, TPixmap& dst, int a, int b, int left,
                 int right);
// Tiles piece s in both directions from d's top-left, cut at d's right and bottom.
void TilePixels2D(const TPixmap& src, const TRect& s, TPixmap& dst, const TRect& d);

}  // namespace qz
