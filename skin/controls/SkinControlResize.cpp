// The size rules of the resizable skinned controls: how a description's
// geometry follows the control's size, where its pieces and rectangles land,
// and the images and regions composed from it.
#include <utility>

#include "skin/controls/SkinControl.h"
#include "skin/data/SkinControlData.h"
#include "skin/data/SkinData.h"
#include "skin/draw/PixelCopy.h"
#include "skin/draw/QZUtils.h"
#include "skin/draw/SkinImage.h"

namespace qz {

namespace {

void DrawPixmap(TCanvas& canvas, int x, int y, TPixmap&& pixels) {
  if (pixels.Empty()) return;
  TBitmap b;
  b.SetSize(pixels.Width(), pixels.Height());
  b.Pixels() = std::move(pixels);
  b.Modified();
  canvas.Draw(x, y, b);
}

}  // namespace

TqzNewGeometry TqzSkinResizeState::NewGeometry(int W, int H) const {
  TqzNewGeometry n = NewGeom;
  n.Width = W;
  n.Height = H;
  return n;
}

void TqzSkinResizeState::CopyGeometry(const TqzDataSkinCustomControl& data,
                                      const TqzSkinData& skin) {
  Geom = data.Geometry();
  Picture = skin.ActivePicture(data.PictureIndex);
  MaskPicture = skin.ActivePicture(data.MaskPictureIndex);
  ResizeMode = static_cast<int>(CalcResizeMode(Geom));
}

void TqzSkinResizeState::ClearGeometry() {
  ResizeMode = 0;
  Picture = MaskPicture = nullptr;
}

void TqzSkinResizeState::TakeDescription(const TqzDataSkinControl* description,
                                         const TqzSkinData* skin, int& cursorIndex) {
  if (description == nullptr || skin == nullptr) {
    // Nothing may point into a skin the control no longer draws from.
    Picture = MaskPicture = nullptr;
    return;
  }
  const auto* custom = dynamic_cast<const TqzDataSkinCustomControl*>(description);
  if (custom == nullptr) {
    ClearGeometry();
    Geom.SkinRect = description->SkinRect;
    if (Geom.SkinRect.IsEmpty()) ResizeMode = -1;
    return;
  }
  CopyGeometry(*custom, *skin);
  cursorIndex = custom->CursorIndex;
}

void TqzSkinResizeState::CalcSizeRule(bool described, int& W, int& H) {
  if (!described || ResizeMode == -1) return;
  if (ResizeMode == 0) {
    W = Geom.SkinRect.Width();
    H = Geom.SkinRect.Height();
    NewGeom.NewLTPoint = Geom.LeftTopPoint;
    NewGeom.NewRTPoint = Geom.RightTopPoint;
    NewGeom.NewLBPoint = Geom.LeftBottomPoint;
    NewGeom.NewRBPoint = Geom.RightBottomPoint;
    NewGeom.NewClRect = Geom.ClientRect;
    return;
  }
  NewGeom = CalcNewGeometry(Geom, static_cast<TqzResizeMode>(ResizeMode), W, H);
  W = NewGeom.Width;
  H = NewGeom.Height;
}

TRect TqzSkinResizeState::CalcNewRectRule(const TRect& Rc, int W, int H) const {
  const int w = Geom.SkinRect.Width(), h = Geom.SkinRect.Height();
  const int dW = W - w, dH = H - h;
  TRect r = Rc;
  switch (ResizeMode) {
    case 1: {
      const TRect tl{0, 0, Geom.LeftTopPoint.X, Geom.LeftTopPoint.Y};
      const TRect bl{0, Geom.LeftBottomPoint.Y, Geom.LeftBottomPoint.X, h};
      const TRect tr{Geom.RightTopPoint.X, 0, w, Geom.RightTopPoint.Y};
      const TRect br{Geom.RightBottomPoint.X, Geom.RightBottomPoint.Y, w, h};
      // Wholly inside one corner zone: the rectangle travels with the corner.
      if (RectInRect(Rc, tl)) return r;
      if (RectInRect(Rc, tr)) return OffsetRect(r, dW, 0);
      if (RectInRect(Rc, bl)) return OffsetRect(r, 0, dH);
      if (RectInRect(Rc, br)) return OffsetRect(r, dW, dH);
      // Spanning zones: here a corner belongs to a zone inclusively on all
      // four sides (PointInRect), unlike the half-open test above and the
      // rectangles everywhere else; the rectangle stretches.
      const TPoint a = Rc.TopLeft(), b = Rc.BottomRight();
      if (PointInRect(tl, a) && PointInRect(br, b)) {
        r.Right += dW;
        r.Bottom += dH;
      } else if (PointInRect(tl, a) && PointInRect(tr, b)) {
        r.Right += dW;
      } else if (PointInRect(bl, a) && PointInRect(br, b)) {
        r.Right += dW;
        r.Top += dH;
        r.Bottom += dH;
      } else if (PointInRect(tl, a) && PointInRect(bl, b)) {
        r.Bottom += dH;
      } else if (PointInRect(tr, a) && PointInRect(br, b)) {
        r.Left += dW;
        r.Right += dW;
        r.Bottom += dH;
      }
      return r;
    }
    case 2:
      if (Rc.Left <= Geom.LeftTopPoint.X && Rc.Right >= Geom.RightTopPoint.X)
        r.Right += dW;
      else if (Rc.Left >= Geom.RightTopPoint.X && Rc.Right > Geom.RightTopPoint.X)
        r = OffsetRect(r, dW, 0);
      return r;
    case 3:
      if (Rc.Top <= Geom.LeftTopPoint.Y && Rc.Bottom >= Geom.LeftBottomPoint.Y)
        r.Bottom += dH;
      else if (Rc.Top >= Geom.LeftBottomPoint.Y && Rc.Bottom > Geom.LeftBottomPoint.Y)
        r = OffsetRect(r, 0, dH);
      return r;
    default:
      return r;
  }
}

void TqzSkinResizeState::ComposeSkinImage(TBitmap& Bitmap, int W, int H) const {
  if (Picture == nullptr) return;
  switch (ResizeMode) {
    case 0:
      Bitmap.SetSize(Geom.SkinRect.Width(), Geom.SkinRect.Height());
      CopyPixels(Picture->Pixels(), Geom.SkinRect, Bitmap.Pixels(), Bitmap.Pixels().Bounds());
      Bitmap.Modified();
      break;
    case 1:
      if (!FrameOnlyPaint) CreateSkinImage(Geometry(), NewGeometry(W, H), true, W, H, *Picture, Bitmap);
      break;
    case 2:
      CreateHSkinImage(Geom.LeftTopPoint.X, Geom.SkinRect.Width() - Geom.RightTopPoint.X, Bitmap, Geom.StretchEffect, W,
                       Geom.SkinRect, *Picture);
      break;
    case 3:
      CreateVSkinImage(Geom.LeftTopPoint.Y, Geom.SkinRect.Height() - Geom.LeftBottomPoint.Y, Bitmap,
                       Geom.StretchEffect, H, Geom.SkinRect, *Picture);
      break;
    default:
      break;
  }
}

void TqzSkinResizeState::PaintFrameOnly(TCanvas& canvas, int W, int H) const {
  if (Picture == nullptr) return;
  TBitmap top, bottom, left, right;
  CreateSkinBorderImages(Geometry(), NewGeometry(W, H), W, H, *Picture, top, bottom, left, right);
  if (FillClientArea && !NewGeom.NewClRect.IsEmpty()) {
    const TRect piece = OffsetRect(Geom.ClientRect, Geom.SkinRect.Left, Geom.SkinRect.Top);
    TPixmap client(NewGeom.NewClRect.Width(), NewGeom.NewClRect.Height());
    ComposeClientFill(Picture->Pixels(), piece, client, Geom.StretchEffect, Geom.StretchType);
    DrawPixmap(canvas, NewGeom.NewClRect.Left, NewGeom.NewClRect.Top, std::move(client));
  }
  const int topHeight = top.Height();
  if (!top.Empty()) canvas.Draw(0, 0, top);
  if (!left.Empty()) canvas.Draw(0, topHeight, left);
  if (!right.Empty()) canvas.Draw(W - right.Width(), topHeight, right);
  if (!bottom.Empty()) canvas.Draw(0, H - bottom.Height(), bottom);
}

std::optional<TRegion> TqzSkinResizeState::BuildMaskRegion(int W, int H) const {
  if (MaskPicture == nullptr) return std::nullopt;
  // The mask's top-left pixel stands for the element's top-left.
  const TRect maskRect{0, 0, Geom.SkinRect.Width(), Geom.SkinRect.Height()};
  TBitmap composed;
  switch (ResizeMode) {
    case 0:
      return CreateRegionFromMask(*MaskPicture);
    case 1:
      return CreateSkinRegion(Geometry(), NewGeometry(W, H), W, H, *MaskPicture);
    case 2:
      // The three-part elements have no side strips for the nine-part
      // region to place; their mask is composed exactly like their image.
      CreateHSkinImage(Geom.LeftTopPoint.X, Geom.SkinRect.Width() - Geom.RightTopPoint.X, composed, Geom.StretchEffect,
                       W, maskRect, *MaskPicture);
      return CreateRegionFromMask(composed);
    case 3:
      CreateVSkinImage(Geom.LeftTopPoint.Y, Geom.SkinRect.Height() - Geom.LeftBottomPoint.Y, composed,
                       Geom.StretchEffect, H, maskRect, *MaskPicture);
      return CreateRegionFromMask(composed);
    default:
      return std::nullopt;
  }
}

}  // namespace qz
