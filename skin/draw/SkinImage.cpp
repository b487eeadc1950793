#include "skin/draw/SkinImage.h"

#include <vector>

#include "skin/draw/PixelCopy.h"
#include "skin/draw/SkinLattice.h"

namespace qz {

namespace {

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

void DrawPiece(const TPixmap& source, const TqzLatticePiece& p, TPixmap& dest) {
  const TRect& s = p.Source;
  const TRect& d = p.Dest;
  switch (p.Fill) {
    case TqzPieceFill::Stretch:
      CopyPixels(source, s, dest, d);
      break;
    case TqzPieceFill::TileX:
      TilePixelsX(source, s, dest, d.Left, d.Right, d.Top, d.Bottom);
      break;
    case TqzPieceFill::TileY:
      TilePixelsY(source, s, dest, d.Top, d.Bottom, d.Left, d.Right);
      break;
    case TqzPieceFill::Tile:
      TilePixels2D(source, s, dest, d);
      break;
    case TqzPieceFill::StretchRepeatX:
      RepeatStretchedClient(source, s, dest, d, true);
      break;
    case TqzPieceFill::StretchRepeatY:
      RepeatStretchedClient(source, s, dest, d, false);
      break;
  }
}

// An empty client piece draws nothing; a stretched one needs room as well.
bool ClientPieceDraws(const TqzLatticePiece& client) {
  if (client.Source.IsEmpty()) return false;
  return client.Fill == TqzPieceFill::Tile || !client.Dest.IsEmpty();
}

// The nine pieces drawn into dest as it is (no resize).
void DrawNinePart(const TqzSkinGeometry& g, const TqzNewGeometry& n, bool drawClient, int W, int H,
                  const TPixmap& source, TPixmap& dest) {
  // Corner points that leave no middle column or row give nothing to draw.
  if (g.RightBottomPoint.X == g.LeftTopPoint.X || g.RightBottomPoint.Y == g.LeftTopPoint.Y ||
      source.Empty())
    return;
  for (const TqzLatticePiece& p : NinePartPieces(g, n, W, H)) {
    if (p.Part == TqzLatticePart::Client && !(drawClient && ClientPieceDraws(p))) continue;
    DrawPiece(source, p, dest);
  }
}

}  // namespace

void ComposeSkinImage(const TqzSkinGeometry& g, const TqzNewGeometry& n, bool drawClient, int W,
                      int H, const TPixmap& source, TPixmap& dest) {
  dest.Resize(W, H);
  DrawNinePart(g, n, drawClient, W, H, source, dest);
}

void ComposeClientFill(const TPixmap& source, const TRect& piece, TPixmap& dest, bool stretch,
                       TqzStretchType type) {
  if (piece.IsEmpty() || dest.Empty()) return;
  TqzPieceFill fill = TqzPieceFill::Tile;
  if (stretch)
    fill = type == TqzStretchType::Horz   ? TqzPieceFill::StretchRepeatX
           : type == TqzStretchType::Vert ? TqzPieceFill::StretchRepeatY
                                          : TqzPieceFill::Stretch;
  DrawPiece(source, {TqzLatticePart::Client, piece, dest.Bounds(), fill}, dest);
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
  g.StretchType = TqzStretchType::Full;
  const int W = dest.Width(), H = dest.Height();
  DrawNinePart(g, CalcNewGeometry(g, TqzResizeMode::NinePart, W, H), drawClient, W, H, source, dest);
}

namespace {

TPixmap DrawStrip(const TqzStripLattice& strip, const TPixmap& source) {
  TPixmap out;
  if (!strip.Exists()) return out;
  out.Resize(strip.Width, strip.Height);
  for (const TqzLatticePiece& p : strip.Pieces) DrawPiece(source, p, out);
  return out;
}

}  // namespace

TqzBorderStrips ComposeSkinBorderImages(const TqzSkinGeometry& g, const TqzNewGeometry& n, int W,
                                        int H, const TPixmap& source) {
  const TqzBorderLattice lattice = BorderStripPieces(g, n, W, H);
  TqzBorderStrips out;
  out.Top = DrawStrip(lattice.Top, source);
  out.Bottom = DrawStrip(lattice.Bottom, source);
  out.Left = DrawStrip(lattice.Left, source);
  out.Right = DrawStrip(lattice.Right, source);
  return out;
}

}  // namespace qz
