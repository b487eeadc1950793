// The nine-part lattice of a skin element: which rectangle of the skin
// picture goes to which rectangle of the target, and whether it is stretched
// or tiled there. The compositor, the border strips and the mask regions draw
// these pieces; the checks of a skin read them. The geometry is taken as it
// is: corner points that cross or lie outside the source rectangle give
// inverted or clipped pieces, which LatticeProblems names.
#pragma once

#include <string>
#include <vector>

#include "host/base/Types.h"
#include "skin/draw/SkinGeometry.h"

namespace qz {

enum class TqzLatticePart {
  TopEdge, BottomEdge, LeftEdge, RightEdge,
  TopLeftCorner, TopLeftSide, TopRightCorner, TopRightSide,
  BottomLeftSide, BottomLeftCorner, BottomRightCorner, BottomRightSide,
  Client,
};

// How a source piece fills its destination.
enum class TqzPieceFill {
  Stretch,         // scaled to the destination
  TileX,           // repeated across from the destination's left, rows scaled
  TileY,           // repeated down from the destination's top, columns scaled
  Tile,            // repeated both ways
  StretchRepeatX,  // scaled to the destination's height, then repeated across
  StretchRepeatY,  // scaled to the destination's width, then repeated down
};

struct TqzLatticePiece {
  TqzLatticePart Part;
  TRect Source;  // picture coordinates
  TRect Dest;    // target coordinates
  TqzPieceFill Fill;
};

// "top edge", "client piece" ...
const char* LatticePartName(TqzLatticePart part);

// The pieces of the nine-part composition at the size W x H of n, in drawing
// order (a later piece covers an earlier one): the four edges, the eight
// corner pieces, the client piece.
std::vector<TqzLatticePiece> NinePartPieces(const TqzSkinGeometry& g, const TqzNewGeometry& n,
                                            int W, int H);

// The border strips of the composition as separate images, each with its
// size and its pieces in the strip's own coordinates. Their edges tile from
// the strip's start, not from the corner points. A strip that does not exist
// has no size and no pieces.
struct TqzStripLattice {
  int Width = 0, Height = 0;
  std::vector<TqzLatticePiece> Pieces;
  bool Exists() const { return Width > 0 && Height > 0; }
};
struct TqzBorderLattice {
  TqzStripLattice Top, Bottom, Left, Right;
};
TqzBorderLattice BorderStripPieces(const TqzSkinGeometry& g, const TqzNewGeometry& n, int W,
                                   int H);

// What is wrong with the corner points of a geometry: points outside the
// source rectangle and, for a nine-part element, points that cross (left
// past right or top past bottom). Empty when the lattice is sound.
std::vector<std::string> LatticeProblems(const TqzSkinGeometry& g);

}  // namespace qz
