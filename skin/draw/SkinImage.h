// Composition of skin images: a skin element cut out of a skin picture and
// laid, copied, tiled or stretched, into an image of any size. These work on
// pixel surfaces; QZUtils.h offers the same on framework bitmaps.
#pragma once

#include "host/graphics/Pixmap.h"
#include "skin/draw/SkinGeometry.h"

namespace qz {

// Nine-part composition into dest, which is resized to W x H first.
void ComposeSkinImage(const TqzSkinGeometry& g, const TqzNewGeometry& n, bool drawClient, int W,
                      int H, const TPixmap& source, TPixmap& dest);

// Three parts side by side; dest becomes W x height(R).
void ComposeHSkinImage(int leftWidth, int rightWidth, TPixmap& dest, bool stretch, int W,
                       const TRect& R, const TPixmap& source);
// Three parts stacked; dest becomes width(R) x H.
void ComposeVSkinImage(int topHeight, int bottomHeight, TPixmap& dest, bool stretch, int H,
                       const TRect& R, const TPixmap& source);

// Composes R into dest at dest's present size, with the corner points taken
// from the corners of inner (relative to R) and everything stretched.
void ComposeStretchImage(TPixmap& dest, const TPixmap& source, const TRect& R, const TRect& inner,
                         bool drawClient);

// A piece laid over all of dest the way a client area is filled: tiled
// from dest's top-left without stretch, else by the stretch type (stretched,
// or stretched across one axis and repeated along the other).
void ComposeClientFill(const TPixmap& source, const TRect& piece, TPixmap& dest, bool stretch,
                       TqzStretchType type);

// The four border strips of the nine-part composition, for owners that fill
// the client area themselves. A strip that does not exist comes back empty.
struct TqzBorderStrips {
  TPixmap Top, Bottom, Left, Right;
};
TqzBorderStrips ComposeSkinBorderImages(const TqzSkinGeometry& g, const TqzNewGeometry& n, int W,
                                        int H, const TPixmap& source);

}  // namespace qz
