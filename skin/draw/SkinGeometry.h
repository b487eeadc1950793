// Size-independent geometry of a skin element and its placement at a target
// size. A description gives a source rectangle in a skin picture, four corner
// points (relative to that rectangle) that split it into fixed corners,
// stretchable edges and a client piece, and how edges and client stretch.
#pragma once

#include "host/base/Types.h"

namespace qz {

// How a client piece is stretched when StretchEffect is on. The numbers are
// those of the description's words stfull, sthorz and stvert.
enum class TqzStretchType : int {
  Full = 0,  // both directions
  Horz = 1,  // to the client height, then repeated across
  Vert = 2,  // to the client width, then repeated down
};

// How an element sizes, derived from its points.
enum class TqzResizeMode : int {
  None = -1,       // empty source rectangle: no skin image
  Fixed = 0,       // fixed to the source rectangle's size
  NinePart = 1,    // free in both directions
  Horizontal = 2,  // free horizontally, height fixed
  Vertical = 3,    // free vertically, width fixed
};

// What a description says about the nine parts of its element, apart from
// the source rectangle: corner points and client rectangle (relative to the
// source rectangle's top-left) and how edges and client stretch. The
// description classes embed this record.
struct TqzLatticeFields {
  TPoint LeftTopPoint, RightTopPoint, LeftBottomPoint, RightBottomPoint;
  TRect ClientRect;
  bool LeftStretch = false, TopStretch = false, RightStretch = false, BottomStretch = false;
  bool StretchEffect = false;
  TqzStretchType StretchType = TqzStretchType::Full;
  friend bool operator==(const TqzLatticeFields&, const TqzLatticeFields&) = default;
};

struct TqzSkinGeometry : TqzLatticeFields {
  TqzSkinGeometry() = default;
  TqzSkinGeometry(const TRect& skinRect, const TqzLatticeFields& fields)
      : TqzLatticeFields(fields), SkinRect(skinRect) {}
  TRect SkinRect;  // source rectangle, picture coordinates
  friend bool operator==(const TqzSkinGeometry&, const TqzSkinGeometry&) = default;
};

// The corner points and client rectangle carried to a target size.
struct TqzNewGeometry {
  int Width = 0, Height = 0;  // the size the element really gets
  TPoint NewLTPoint, NewRTPoint, NewLBPoint, NewRBPoint;
  TRect NewClRect;
};

TqzResizeMode CalcResizeMode(const TqzSkinGeometry& g);

// The New geometry for the requested size W x H in the given resize mode;
// fixed axes snap to the source rectangle's size.
TqzNewGeometry CalcNewGeometry(const TqzSkinGeometry& g, TqzResizeMode resizeMode, int W, int H);

}  // namespace qz
