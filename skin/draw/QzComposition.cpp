// Skin image composition on framework bitmaps: thin wrappers over the pixel
// compositor of SkinImage.h that size the destination bitmap and mark it
// modified.
#include <utility>

#include "skin/draw/QzComposition.h"
#include "skin/draw/SkinImage.h"

namespace qz {

void CreateSkinImage(TPoint LTPt, TPoint RTPt, TPoint LBPt, TPoint RBPt, const TRect& ClRect,
                     TPoint NewLTPt, TPoint NewRTPt, TPoint NewLBPt, TPoint NewRBPt,
                     const TRect& NewClRect, bool LeftStretch, bool TopStretch, bool RightStretch,
                     bool BottomStretch, bool StretchEffect, TqzStretchType StretchType, bool DrawClient,
                     int W, int H, const TRect& R, const TBitmap& Source, TBitmap& Dest) {
  TqzSkinGeometry g;
  g.SkinRect = R;
  g.LeftTopPoint = LTPt;
  g.RightTopPoint = RTPt;
  g.LeftBottomPoint = LBPt;
  g.RightBottomPoint = RBPt;
  g.ClientRect = ClRect;
  g.LeftStretch = LeftStretch;
  g.TopStretch = TopStretch;
  g.RightStretch = RightStretch;
  g.BottomStretch = BottomStretch;
  g.StretchEffect = StretchEffect;
  g.StretchType = StretchType;
  TqzNewGeometry n;
  n.Width = W;
  n.Height = H;
  n.NewLTPoint = NewLTPt;
  n.NewRTPoint = NewRTPt;
  n.NewLBPoint = NewLBPt;
  n.NewRBPoint = NewRBPt;
  n.NewClRect = NewClRect;
  CreateSkinImage(g, n, DrawClient, W, H, Source, Dest);
}

void CreateSkinImage(const TqzSkinGeometry& g, const TqzNewGeometry& n, bool DrawClient, int W,
                     int H, const TBitmap& Source, TBitmap& Dest) {
  Dest.SetSize(W, H);
  ComposeSkinImage(g, n, DrawClient, W, H, Source.Pixels(), Dest.Pixels());
  Dest.Modified();
}

void CreateHSkinImage(int LeftWidth, int RightWidth, TBitmap& Dest, bool Stretch, int W,
                      const TRect& R, const TBitmap& Source) {
  Dest.SetSize(W, R.Height());
  ComposeHSkinImage(LeftWidth, RightWidth, Dest.Pixels(), Stretch, W, R, Source.Pixels());
  Dest.Modified();
}

void CreateVSkinImage(int TopHeight, int BottomHeight, TBitmap& Dest, bool Stretch, int H,
                      const TRect& R, const TBitmap& Source) {
  Dest.SetSize(R.Width(), H);
  ComposeVSkinImage(TopHeight, BottomHeight, Dest.Pixels(), Stretch, H, R, Source.Pixels());
  Dest.Modified();
}

void CreateStretchImage(TBitmap& Dest, const TBitmap& Source, const TRect& R, const TRect& Inner,
                        bool DrawClient) {
  ComposeStretchImage(Dest.Pixels(), Source.Pixels(), R, Inner, DrawClient);
  Dest.Modified();
}

namespace {

// The composed pixels become the bitmap's (no pass over the bitmap first:
// they cover it whole).
void TakePixmap(TBitmap& bitmap, TPixmap&& pixels) {
  if (pixels.Empty())
    bitmap.SetSize(pixels.Width(), pixels.Height());
  else
    bitmap.Pixels() = std::move(pixels);
  bitmap.Modified();
}

}  // namespace

void CreateSkinBorderImages(const TqzSkinGeometry& g, const TqzNewGeometry& n, int W, int H,
                            const TBitmap& Source, TBitmap& Top, TBitmap& Bottom, TBitmap& Left,
                            TBitmap& Right) {
  TqzBorderStrips strips = ComposeSkinBorderImages(g, n, W, H, Source.Pixels());
  TakePixmap(Top, std::move(strips.Top));
  TakePixmap(Bottom, std::move(strips.Bottom));
  TakePixmap(Left, std::move(strips.Left));
  TakePixmap(Right, std::move(strips.Right));
}

}  // namespace qz
