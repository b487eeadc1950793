#include "skin/draw/SkinGeometry.h"

namespace qz {

TqzResizeMode CalcResizeMode(const TqzSkinGeometry& g) {
  if (g.SkinRect.IsEmpty()) return TqzResizeMode::None;
  if (g.RightBottomPoint.X != 0 && g.RightBottomPoint.Y != 0) return TqzResizeMode::NinePart;
  if (g.RightTopPoint.X != 0 || g.RightTopPoint.Y != 0) return TqzResizeMode::Horizontal;
  if (g.LeftBottomPoint.X != 0 || g.LeftBottomPoint.Y != 0) return TqzResizeMode::Vertical;
  return TqzResizeMode::Fixed;
}

TqzNewGeometry CalcNewGeometry(const TqzSkinGeometry& g, TqzResizeMode resizeMode, int W, int H) {
  TqzNewGeometry n;
  n.Width = W;
  n.Height = H;
  n.NewLTPoint = g.LeftTopPoint;
  n.NewRTPoint = g.RightTopPoint;
  n.NewLBPoint = g.LeftBottomPoint;
  n.NewRBPoint = g.RightBottomPoint;
  n.NewClRect = g.ClientRect;
  const int dx = W - g.SkinRect.Width();
  const int dy = H - g.SkinRect.Height();
  switch (resizeMode) {
    case TqzResizeMode::Fixed:
      n.Width = g.SkinRect.Width();
      n.Height = g.SkinRect.Height();
      break;
    case TqzResizeMode::NinePart:
      n.NewRTPoint.X += dx;
      n.NewLBPoint.Y += dy;
      n.NewRBPoint = {g.RightBottomPoint.X + dx, g.RightBottomPoint.Y + dy};
      n.NewClRect.Right += dx;
      n.NewClRect.Bottom += dy;
      break;
    case TqzResizeMode::Horizontal:
      n.Height = g.SkinRect.Height();
      n.NewRTPoint.X += dx;
      n.NewClRect.Right += dx;
      break;
    case TqzResizeMode::Vertical:
      n.Width = g.SkinRect.Width();
      n.NewLBPoint.Y += dy;
      n.NewClRect.Bottom += dy;
      break;
    default:
      break;
  }
  return n;
}

}  // namespace qz
