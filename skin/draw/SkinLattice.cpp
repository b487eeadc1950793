#include "skin/draw/SkinLattice.h"

namespace qz {

namespace {

using P = TqzLatticePart;

// Source rectangles are given relative to R's top-left.
TRect Src(const TRect& R, int l, int t, int r, int b) {
  return {R.Left + l, R.Top + t, R.Left + r, R.Top + b};
}

TqzPieceFill EdgeFill(bool stretch, bool alongX) {
  if (stretch) return TqzPieceFill::Stretch;
  return alongX ? TqzPieceFill::TileX : TqzPieceFill::TileY;
}

TqzPieceFill ClientFill(const TqzSkinGeometry& g) {
  if (!g.StretchEffect) return TqzPieceFill::Tile;
  switch (g.StretchType) {
    case TqzStretchType::Horz:
      return TqzPieceFill::StretchRepeatX;
    case TqzStretchType::Vert:
      return TqzPieceFill::StretchRepeatY;
    default:
      return TqzPieceFill::Stretch;
  }
}

// A horizontal strip (top or bottom) of width W and height h: its edge
// stretched between the corner points or tiled over the whole strip, and its
// two corners over it.
void HorizontalStrip(TqzStripLattice& strip, int W, int h, P edgePart, const TRect& edge,
                     bool stretch, int spanLeft, int spanRight, P leftPart, const TRect& leftCorner,
                     P rightPart, const TRect& rightCorner) {
  strip.Width = W;
  strip.Height = h;
  const TRect edgeDest = stretch ? TRect{spanLeft, 0, spanRight, h} : TRect{0, 0, W, h};
  strip.Pieces = {{edgePart, edge, edgeDest, EdgeFill(stretch, true)},
                  {leftPart, leftCorner, {0, 0, spanLeft, h}, TqzPieceFill::Stretch},
                  {rightPart, rightCorner, {spanRight, 0, W, h}, TqzPieceFill::Stretch}};
}

// A vertical strip (left or right) of width w and height h: its edge
// stretched between the corner points or tiled over the whole strip, and the
// parts above and below the corner points over it.
void VerticalStrip(TqzStripLattice& strip, int w, int h, P edgePart, const TRect& edge,
                   bool stretch, int stretchTop, int stretchBottom, P topPart, const TRect& top,
                   P bottomPart, const TRect& bottom) {
  strip.Width = w;
  strip.Height = h;
  const TRect edgeDest = stretch ? TRect{0, stretchTop, w, stretchBottom} : TRect{0, 0, w, h};
  strip.Pieces = {{edgePart, edge, edgeDest, EdgeFill(stretch, false)}};
  if (top.Height() > 0)
    strip.Pieces.push_back({topPart, top, {0, 0, w, top.Height()}, TqzPieceFill::Stretch});
  if (bottom.Height() > 0)
    strip.Pieces.push_back(
        {bottomPart, bottom, {0, h - bottom.Height(), w, h}, TqzPieceFill::Stretch});
}

}  // namespace

const char* LatticePartName(TqzLatticePart part) {
  switch (part) {
    case P::TopEdge: return "top edge";
    case P::BottomEdge: return "bottom edge";
    case P::LeftEdge: return "left edge";
    case P::RightEdge: return "right edge";
    case P::TopLeftCorner: return "top-left corner";
    case P::TopLeftSide: return "top-left side";
    case P::TopRightCorner: return "top-right corner";
    case P::TopRightSide: return "top-right side";
    case P::BottomLeftSide: return "bottom-left side";
    case P::BottomLeftCorner: return "bottom-left corner";
    case P::BottomRightCorner: return "bottom-right corner";
    case P::BottomRightSide: return "bottom-right side";
    case P::Client: return "client piece";
  }
  return "piece";
}

std::vector<TqzLatticePiece> NinePartPieces(const TqzSkinGeometry& g, const TqzNewGeometry& n,
                                            int W, int H) {
  const TPoint lt = g.LeftTopPoint, rt = g.RightTopPoint, lb = g.LeftBottomPoint,
               rb = g.RightBottomPoint;
  const TPoint nlt = n.NewLTPoint, nrt = n.NewRTPoint, nlb = n.NewLBPoint, nrb = n.NewRBPoint;
  const TRect& R = g.SkinRect;
  const TRect& cl = g.ClientRect;
  const TRect& ncl = n.NewClRect;
  const int w = R.Width(), h = R.Height();
  const TqzPieceFill fixed = TqzPieceFill::Stretch;
  return {
      {P::TopEdge, Src(R, lt.X, 0, rt.X, cl.Top), {nlt.X, 0, nrt.X, ncl.Top},
       EdgeFill(g.TopStretch, true)},
      {P::BottomEdge, Src(R, lb.X, cl.Bottom, rb.X, h), {nlb.X, ncl.Bottom, nrb.X, H},
       EdgeFill(g.BottomStretch, true)},
      {P::LeftEdge, Src(R, 0, lt.Y, cl.Left, lb.Y), {0, nlt.Y, ncl.Left, nlb.Y},
       EdgeFill(g.LeftStretch, false)},
      {P::RightEdge, Src(R, cl.Right, rt.Y, w, rb.Y), {ncl.Right, nrt.Y, W, nrb.Y},
       EdgeFill(g.RightStretch, false)},
      {P::TopLeftCorner, Src(R, 0, 0, lt.X, cl.Top), {0, 0, nlt.X, ncl.Top}, fixed},
      {P::TopLeftSide, Src(R, 0, cl.Top, cl.Left, lt.Y), {0, ncl.Top, ncl.Left, nlt.Y}, fixed},
      {P::TopRightCorner, Src(R, rt.X, 0, w, cl.Top), {nrt.X, 0, W, ncl.Top}, fixed},
      {P::TopRightSide, Src(R, cl.Right, cl.Top, w, rt.Y), {ncl.Right, ncl.Top, W, nrt.Y}, fixed},
      {P::BottomLeftSide, Src(R, 0, lb.Y, cl.Left, h), {0, nlb.Y, ncl.Left, H}, fixed},
      {P::BottomLeftCorner, Src(R, cl.Left, cl.Bottom, lb.X, h), {ncl.Left, ncl.Bottom, nlb.X, H},
       fixed},
      {P::BottomRightCorner, Src(R, rb.X, cl.Bottom, w, h), {nrb.X, ncl.Bottom, W, H}, fixed},
      {P::BottomRightSide, Src(R, cl.Right, rb.Y, w, cl.Bottom), {ncl.Right, nrb.Y, W, ncl.Bottom},
       fixed},
      {P::Client, Src(R, cl.Left, cl.Top, cl.Right, cl.Bottom), ncl, ClientFill(g)},
  };
}

TqzBorderLattice BorderStripPieces(const TqzSkinGeometry& g, const TqzNewGeometry& n, int W,
                                   int H) {
  TqzBorderLattice out;
  const TPoint lt = g.LeftTopPoint, rt = g.RightTopPoint, lb = g.LeftBottomPoint,
               rb = g.RightBottomPoint;
  const TRect& R = g.SkinRect;
  const TRect& cl = g.ClientRect;
  const TRect& ncl = n.NewClRect;
  const int w = R.Width(), h = R.Height();

  if (W > 0 && ncl.Top > 0 && rt.X > lt.X)
    HorizontalStrip(out.Top, W, ncl.Top, P::TopEdge, Src(R, lt.X, 0, rt.X, cl.Top), g.TopStretch,
                    n.NewLTPoint.X, n.NewRTPoint.X, P::TopLeftCorner, Src(R, 0, 0, lt.X, cl.Top),
                    P::TopRightCorner, Src(R, rt.X, 0, w, cl.Top));
  const int bottomHeight = H - ncl.Bottom;
  if (W > 0 && bottomHeight > 0 && rb.X > lb.X)
    HorizontalStrip(out.Bottom, W, bottomHeight, P::BottomEdge, Src(R, lb.X, cl.Bottom, rb.X, h),
                    g.BottomStretch, n.NewLBPoint.X, n.NewRBPoint.X, P::BottomLeftCorner,
                    Src(R, 0, h - bottomHeight, lb.X, h), P::BottomRightCorner,
                    Src(R, rb.X, h - bottomHeight, w, h));
  const int sideHeight = H - out.Top.Height - out.Bottom.Height;
  if (ncl.Left > 0 && sideHeight > 0 && lb.Y > lt.Y)
    VerticalStrip(out.Left, ncl.Left, sideHeight, P::LeftEdge, Src(R, 0, lt.Y, cl.Left, lb.Y),
                  g.LeftStretch, lt.Y - cl.Top, sideHeight + lb.Y - cl.Bottom, P::TopLeftSide,
                  Src(R, 0, cl.Top, cl.Left, lt.Y), P::BottomLeftSide,
                  Src(R, 0, lb.Y, cl.Left, cl.Bottom));
  const int rightWidth = W - ncl.Right;
  if (rightWidth >= 1 && sideHeight >= 1 && rb.Y > rt.Y)
    VerticalStrip(out.Right, rightWidth, sideHeight, P::RightEdge,
                  Src(R, cl.Right, rt.Y, w, rb.Y), g.RightStretch, rt.Y - cl.Top,
                  sideHeight + rb.Y - cl.Bottom, P::TopRightSide,
                  Src(R, cl.Right, cl.Top, w, rt.Y), P::BottomRightSide,
                  Src(R, cl.Right, rb.Y, w, cl.Bottom));
  return out;
}

std::vector<std::string> LatticeProblems(const TqzSkinGeometry& g) {
  std::vector<std::string> problems;
  const int w = g.SkinRect.Width(), h = g.SkinRect.Height();
  const std::pair<const char*, TPoint> points[] = {{"lefttoppoint", g.LeftTopPoint},
                                                   {"righttoppoint", g.RightTopPoint},
                                                   {"leftbottompoint", g.LeftBottomPoint},
                                                   {"rightbottompoint", g.RightBottomPoint}};
  for (const auto& [key, pt] : points)
    if (pt.X < 0 || pt.Y < 0 || pt.X > w || pt.Y > h)
      problems.push_back(std::string(key) + " " + std::to_string(pt.X) + "," +
                         std::to_string(pt.Y) + " lies outside skinrect's " + std::to_string(w) +
                         " x " + std::to_string(h));
  if (CalcResizeMode(g) != TqzResizeMode::NinePart) return problems;
  if (g.LeftTopPoint.X > g.RightTopPoint.X || g.LeftBottomPoint.X > g.RightBottomPoint.X ||
      g.LeftTopPoint.Y > g.LeftBottomPoint.Y || g.RightTopPoint.Y > g.RightBottomPoint.Y)
    problems.push_back("skinrect's corner points cross (left past right or top past bottom)");
  return problems;
}

}  // namespace qz
