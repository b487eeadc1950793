#include "skin/draw/SkinImage.h"

#include <vector>

#include "skin/draw/PixelCopy.h"

namespace qz {

namespace {

// Source rectangles are given relative to R's top-left.
TRect Src(const TRect& R, int l, int t, int r, int b) {
  return {R.Left + l, R.Top + t, R.Left + r, R.Top + b};
}

// Stretches piece s into d, or tiles it along X over d's span.
void EdgeX(const TPixmap& source, const TRect& s, TPixmap& dest, const TRect& d, bool stretch) {
  if (stretch)
    CopyPixels(source, s, dest, d);
  else
    TilePixelsX(source, s, dest, d.Left, d.Right, d.Top, d.Bottom);
}

void EdgeY(const TPixmap& source, const TRect& s, TPixmap& dest, const TRect& d, bool stretch) {
  if (stretch)
    CopyPixels(source, s, dest, d);
  else
    TilePixelsY(source, s, dest, d.Top, d.Bottom, d.Left, d.Right);
}

// The client piece stretched across one axis and repeated along the other,
// each repetition clipped to the client rectangle.
void RepeatStretchedClient(const TPixmap& source, const TRect& piece, TPixmap& dest,
                           const TRect& client, bool repeatAcross) {
  TPixmap strip;
  if (repeatAcross)
    strip.Resize(piece.Width(), client.Height());
  else
    strip.Resize(client.Width(), piece.Height());
  if (strip.Empty()) return;
  CopyPixels(source, piece, strip, strip.Bounds());
  const int step = repeatAcross ? strip.Width() : strip.Height();
  const int span = repeatAcross ? client.Width() : client.Height();
  for (int k = 0; k <= span / step; ++k) {
    const TRect d = repeatAcross
                        ? Bounds(client.Left + k * step, client.Top, strip.Width(), strip.Height())
                        : Bounds(client.Left, client.Top + k * step, strip.Width(), strip.Height());
    CopyPixels(strip, strip.Bounds(), dest, d, &client);
  }
}

void DrawClientPiece(const TqzSkinGeometry& g, const TqzNewGeometry& n, const TPixmap& source,
                     TPixmap& dest) {
  const TRect& R = g.SkinRect;
  const TRect& cl = g.ClientRect;
  const TRect piece = Src(R, cl.Left, cl.Top, cl.Right, cl.Bottom);
  if (piece.IsEmpty()) return;
  if (!g.StretchEffect) {
    TilePixels2D(source, piece, dest, n.NewClRect);
    return;
  }
  if (n.NewClRect.IsEmpty()) return;
  switch (g.StretchType) {
    case kStretchHorz:
      RepeatStretchedClient(source, piece, dest, n.NewClRect, true);
      break;
    case kStretchVert:
      RepeatStretchedClient(source, piece, dest, n.NewClRect, false);
      break;
    default:
      CopyPixels(source, piece, dest, n.NewClRect);
      break;
  }
}

// The nine pieces drawn into dest as it is (no resize).
void DrawNinePart(const TqzSkinGeometry& g, const TqzNewGeometry& n, bool drawClient, int W, int H,
                  const TPixmap& source, TPixmap& dest) {
  const TPoint lt = g.LeftTopPoint, rt = g.RightTopPoint, lb = g.LeftBottomPoint,
               rb = g.RightBottomPoint;
  if (rb.X == lt.X || rb.Y == lt.Y || source.Empty()) return;
  const TRect& R = g.SkinRect;
  const TRect& cl = g.ClientRect;
  const TRect& ncl = n.NewClRect;
  const int w = R.Width(), h = R.Height();

  EdgeX(source, Src(R, lt.X, 0, rt.X, cl.Top), dest, {n.NewLTPoint.X, 0, n.NewRTPoint.X, ncl.Top},
        g.TopStretch);
  EdgeX(source, Src(R, lb.X, cl.Bottom, rb.X, h), dest,
        {n.NewLBPoint.X, ncl.Bottom, n.NewRBPoint.X, H}, g.BottomStretch);
  EdgeY(source, Src(R, 0, lt.Y, cl.Left, lb.Y), dest, {0, n.NewLTPoint.Y, ncl.Left, n.NewLBPoint.Y},
        g.LeftStretch);
  EdgeY(source, Src(R, cl.Right, rt.Y, w, rb.Y), dest,
        {ncl.Right, n.NewRTPoint.Y, W, n.NewRBPoint.Y}, g.RightStretch);

  const struct {
    TRect s, d;
  } corners[] = {
      {Src(R, 0, 0, lt.X, cl.Top), {0, 0, n.NewLTPoint.X, ncl.Top}},
      {Src(R, 0, cl.Top, cl.Left, lt.Y), {0, ncl.Top, ncl.Left, n.NewLTPoint.Y}},
      {Src(R, rt.X, 0, w, cl.Top), {n.NewRTPoint.X, 0, W, ncl.Top}},
      {Src(R, cl.Right, cl.Top, w, rt.Y), {ncl.Right, ncl.Top, W, n.NewRTPoint.Y}},
      {Src(R, 0, lb.Y, cl.Left, h), {0, n.NewLBPoint.Y, ncl.Left, H}},
      {Src(R, cl.Left, cl.Bottom, lb.X, h), {ncl.Left, ncl.Bottom, n.NewLBPoint.X, H}},
      {Src(R, rb.X, cl.Bottom, w, h), {n.NewRBPoint.X, ncl.Bottom, W, H}},
      {Src(R, cl.Right, rb.Y, w, cl.Bottom), {ncl.Right, n.NewRBPoint.Y, W, ncl.Bottom}},
  };
  for (const auto& c : corners) CopyPixels(source, c.s, dest, c.d);

  if (drawClient) DrawClientPiece(g, n, source, dest);
}

}  // namespace

void ComposeSkinImage(const TqzSkinGeometry& g, const TqzNewGeometry& n, bool drawClient, int W,
                      int H, const TPixmap& source, TPixmap& dest) {
  dest.Resize(W, H);
  DrawNinePart(g, n, drawClient, W, H, source, dest);
}

void ComposeHSkinImage(int leftWidth, int rightWidth, TPixmap& dest, bool stretch, int W,
                       const TRect& R, const TPixmap& source) {
  const int h = R.Height();
  dest.Resize(W, h);
  if (leftWidth > 0)
    CopyPixels(source, {R.Left, R.Top, R.Left + leftWidth, R.Bottom}, dest, {0, 0, leftWidth, h});
  if (rightWidth > 0)
    CopyPixels(source, {R.Right - rightWidth, R.Top, R.Right, R.Bottom}, dest,
               {W - rightWidth, 0, W, h});
  const TRect middle{R.Left + leftWidth, R.Top, R.Right - rightWidth, R.Bottom};
  if (middle.IsEmpty()) return;
  if (stretch)
    CopyPixels(source, middle, dest, {leftWidth, 0, W - rightWidth, h});
  else
    TilePixelsX(source, middle, dest, leftWidth, W - rightWidth, 0, h);
}

void ComposeVSkinImage(int topHeight, int bottomHeight, TPixmap& dest, bool stretch, int H,
                       const TRect& R, const TPixmap& source) {
  const int w = R.Width();
  dest.Resize(w, H);
  if (topHeight > 0)
    CopyPixels(source, {R.Left, R.Top, R.Right, R.Top + topHeight}, dest, {0, 0, w, topHeight});
  if (bottomHeight > 0)
    CopyPixels(source, {R.Left, R.Bottom - bottomHeight, R.Right, R.Bottom}, dest,
               {0, H - bottomHeight, w, H});
  const TRect middle{R.Left, R.Top + topHeight, R.Right, R.Bottom - bottomHeight};
  if (middle.IsEmpty()) return;
  if (stretch)
    CopyPixels(source, middle, dest, {0, topHeight, w, H - bottomHeight});
  else
    TilePixelsY(source, middle, dest, topHeight, H - bottomHeight, 0, w);
}

void ComposeStretchImage(TPixmap& dest, const TPixmap& source, const TRect& R, const TRect& inner,
                         bool drawClient) {
  TqzSkinGeometry g;
  g.SkinRect = R;
  g.LeftTopPoint = {inner.Left, inner.Top};
  g.RightTopPoint = {inner.Right, inner.Top};
  g.LeftBottomPoint = {inner.Left, inner.Bottom};
  g.RightBottomPoint = {inner.Right, inner.Bottom};
  g.ClientRect = inner;
  g.LeftStretch = g.TopStretch = g.RightStretch = g.BottomStretch = true;
  g.StretchEffect = true;
  g.StretchType = kStretchFull;
  const int W = dest.Width(), H = dest.Height();
  DrawNinePart(g, CalcNewGeometry(g, kResizeNinePart, W, H), drawClient, W, H, source, dest);
}

namespace {

void HorizontalStrip(TPixmap& strip, const TPixmap& source, const TRect& edge, bool stretch,
                     int spanLeft, int spanRight, const TRect& leftCorner, int leftWidth,
                     const TRect& rightCorner, int rightLeft) {
  const int W = strip.Width(), h = strip.Height();
  if (stretch)
    CopyPixels(source, edge, strip, {spanLeft, 0, spanRight, h});
  else
    TilePixelsX(source, edge, strip, 0, W, 0, h);
  CopyPixels(source, leftCorner, strip, {0, 0, leftWidth, h});
  CopyPixels(source, rightCorner, strip, {rightLeft, 0, W, h});
}

void VerticalStrip(TPixmap& strip, const TPixmap& source, const TRect& edge, bool stretch,
                   int stretchTop, int stretchBottom, const TRect& topPart, const TRect& bottomPart) {
  const int w = strip.Width(), h = strip.Height();
  if (stretch)
    CopyPixels(source, edge, strip, {0, stretchTop, w, stretchBottom});
  else
    TilePixelsY(source, edge, strip, 0, h, 0, w);
  if (topPart.Height() > 0) CopyPixels(source, topPart, strip, {0, 0, w, topPart.Height()});
  if (bottomPart.Height() > 0)
    CopyPixels(source, bottomPart, strip, {0, h - bottomPart.Height(), w, h});
}

}  // namespace

TqzBorderStrips ComposeSkinBorderImages(const TqzSkinGeometry& g, const TqzNewGeometry& n, int W,
                                        int H, const TPixmap& source) {
  TqzBorderStrips out;
  const TPoint lt = g.LeftTopPoint, rt = g.RightTopPoint, lb = g.LeftBottomPoint,
               rb = g.RightBottomPoint;
  const TRect& R = g.SkinRect;
  const TRect& cl = g.ClientRect;
  const TRect& ncl = n.NewClRect;
  const int w = R.Width(), h = R.Height();

  if (W > 0 && ncl.Top > 0 && rt.X > lt.X) {
    out.Top.Resize(W, ncl.Top);
    HorizontalStrip(out.Top, source, Src(R, lt.X, 0, rt.X, cl.Top), g.TopStretch, n.NewLTPoint.X,
                    n.NewRTPoint.X, Src(R, 0, 0, lt.X, cl.Top), n.NewLTPoint.X,
                    Src(R, rt.X, 0, w, cl.Top), n.NewRTPoint.X);
  }
  const int bottomHeight = H - ncl.Bottom;
  if (W > 0 && bottomHeight > 0 && rb.X > lb.X) {
    out.Bottom.Resize(W, bottomHeight);
    HorizontalStrip(out.Bottom, source, Src(R, lb.X, cl.Bottom, rb.X, h), g.BottomStretch,
                    n.NewLBPoint.X, n.NewRBPoint.X, Src(R, 0, h - bottomHeight, lb.X, h),
                    n.NewLBPoint.X, Src(R, rb.X, h - bottomHeight, w, h), n.NewRBPoint.X);
  }
  const int sideHeight = H - out.Top.Height() - out.Bottom.Height();
  if (ncl.Left > 0 && sideHeight > 0 && lb.Y > lt.Y) {
    out.Left.Resize(ncl.Left, sideHeight);
    VerticalStrip(out.Left, source, Src(R, 0, lt.Y, cl.Left, lb.Y), g.LeftStretch,
                  lt.Y - cl.Top, sideHeight + lb.Y - cl.Bottom, Src(R, 0, cl.Top, cl.Left, lt.Y),
                  Src(R, 0, lb.Y, cl.Left, cl.Bottom));
  }
  const int rightWidth = W - ncl.Right;
  if (rightWidth >= 1 && sideHeight >= 1 && rb.Y > rt.Y) {
    out.Right.Resize(rightWidth, sideHeight);
    VerticalStrip(out.Right, source, Src(R, cl.Right, rt.Y, w, rb.Y), g.RightStretch,
                  rt.Y - cl.Top, sideHeight + rb.Y - cl.Bottom,
                  Src(R, cl.Right, cl.Top, w, rt.Y), Src(R, cl.Right, rb.Y, w, cl.Bottom));
  }
  return out;
}

}  // namespace qz
