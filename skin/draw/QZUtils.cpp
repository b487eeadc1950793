#include "skin/draw/QZUtils.h"

#include <algorithm>
#include <cstring>
#include <functional>

#include "host/ui/ImgList.h"
#include "skin/draw/PngImageList.h"

#include "skin/draw/PixelCopy.h"
#include "skin/draw/SkinImage.h"

namespace qz {

// ---- Composition ----

void CreateSkinImage(TPoint LTPt, TPoint RTPt, TPoint LBPt, TPoint RBPt, const TRect& ClRect,
                     TPoint NewLTPt, TPoint NewRTPt, TPoint NewLBPt, TPoint NewRBPt,
                     const TRect& NewClRect, bool LeftStretch, bool TopStretch, bool RightStretch,
                     bool BottomStretch, bool StretchEffect, int StretchType, bool DrawClient,
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

void TakePixmap(TBitmap& bitmap, TPixmap&& pixels) {
  bitmap.SetSize(pixels.Width(), pixels.Height());
  if (!pixels.Empty()) bitmap.Pixels() = std::move(pixels);
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

// ---- Regions ----

namespace {

void PutInt32(std::vector<uint8_t>& out, size_t at, int32_t v) {
  const uint32_t u = static_cast<uint32_t>(v);
  out[at] = u & 0xFF;
  out[at + 1] = (u >> 8) & 0xFF;
  out[at + 2] = (u >> 16) & 0xFF;
  out[at + 3] = (u >> 24) & 0xFF;
}

bool IsBlack(uint32_t pixel) { return (pixel & 0x00FFFFFFu) == 0; }

}  // namespace

TqzRegionData CreateRegionDataFromMask(const TPixmap& Mask, int OffsetX, int OffsetY) {
  TqzRegionData result;
  if (Mask.Empty()) return result;
  std::vector<TRect> rects;
  for (int y = 0; y < Mask.Height() && int(rects.size()) < kMaxMaskRegionRects; ++y) {
    const uint32_t* row = Mask.Row(y);
    int x = 0;
    while (x < Mask.Width() && int(rects.size()) < kMaxMaskRegionRects) {
      while (x < Mask.Width() && !IsBlack(row[x])) ++x;
      const int start = x;
      while (x < Mask.Width() && IsBlack(row[x])) ++x;
      if (x > start) rects.push_back({start + OffsetX, y + OffsetY, x + OffsetX, y + 1 + OffsetY});
    }
  }
  result.Count = static_cast<int>(rects.size());
  result.Data.assign(kRgnDataHeaderSize + 16 * rects.size(), 0);
  PutInt32(result.Data, 0, kRgnDataHeaderSize);
  PutInt32(result.Data, 4, RDH_RECTANGLES);
  PutInt32(result.Data, 8, result.Count);
  PutInt32(result.Data, 12, 0);
  PutInt32(result.Data, 16, OffsetX);
  PutInt32(result.Data, 20, OffsetY);
  PutInt32(result.Data, 24, OffsetX + Mask.Width());
  PutInt32(result.Data, 28, OffsetY + Mask.Height());
  size_t at = kRgnDataHeaderSize;
  for (const TRect& r : rects) {
    PutInt32(result.Data, at, r.Left);
    PutInt32(result.Data, at + 4, r.Top);
    PutInt32(result.Data, at + 8, r.Right);
    PutInt32(result.Data, at + 12, r.Bottom);
    at += 16;
  }
  return result;
}

TqzRegionData CreateRegionDataFromMask(const TBitmap& Mask, int OffsetX, int OffsetY) {
  return CreateRegionDataFromMask(Mask.Pixels(), OffsetX, OffsetY);
}

std::optional<TRegion> CreateRegionFromMask(const TBitmap& Mask) {
  const TqzRegionData data = CreateRegionDataFromMask(Mask, 0, 0);
  if (data.Data.empty()) return std::nullopt;
  return ExtCreateRegion(data.Data);
}

std::optional<TRegion> CreateSkinRegion(const TqzSkinGeometry& g, const TqzNewGeometry& n, int W,
                                        int H, const TBitmap& Mask) {
  if (n.NewRTPoint.X < n.NewLTPoint.X || n.NewLBPoint.Y < n.NewLTPoint.Y) return std::nullopt;
  // The mask's top-left pixel stands for the element's top-left.
  TqzSkinGeometry atOrigin = g;
  atOrigin.SkinRect = {0, 0, g.SkinRect.Width(), g.SkinRect.Height()};
  const TqzBorderStrips strips = ComposeSkinBorderImages(atOrigin, n, W, H, Mask.Pixels());
  const TRect& ncl = n.NewClRect;
  TRegion region = ncl.IsEmpty() ? TRegion() : TRegion(ncl);
  const struct {
    const TPixmap& strip;
    int x, y;
  } places[] = {{strips.Top, 0, 0},
                {strips.Bottom, 0, ncl.Bottom},
                {strips.Left, 0, ncl.Top},
                {strips.Right, ncl.Right, ncl.Top}};
  for (const auto& p : places) {
    const TqzRegionData data = CreateRegionDataFromMask(p.strip, p.x, p.y);
    if (!data.Data.empty()) region = region.Union(ExtCreateRegion(data.Data));
  }
  return region;
}

}  // namespace qz
