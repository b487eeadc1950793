// Skin image composition on framework bitmaps: any skin element drawn at
// any size from its source rectangle, corner points and stretch rules, and
// the four border strips of a frame.
#pragma once

#include "host/graphics/Bitmap.h"
#include "skin/draw/SkinGeometry.h"

namespace qz {

// ---- Composition ----

void CreateSkinImage(TPoint LTPt, TPoint RTPt, TPoint LBPt, TPoint RBPt, const TRect& ClRect,
                     TPoint NewLTPt, TPoint NewRTPt, TPoint NewLBPt, TPoint NewRBPt,
                     const TRect& NewClRect, bool LeftStretch, bool TopStretch, bool RightStretch,
                     bool BottomStretch, bool StretchEffect, TqzStretchType StretchType, bool DrawClient,
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

}  // namespace qz
