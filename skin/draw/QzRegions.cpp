// Regions from masks: the black pixels of a mask, row by row as maximal
// horizontal runs. Regions are built from the runs directly; the platform's
// region data block of the same runs is still offered for writers that need
// the serialised form.
#include <utility>

#include "skin/draw/QzRegions.h"
#include "skin/draw/SkinImage.h"

namespace qz {

namespace {

void PutInt32(std::vector<uint8_t>& out, size_t at, int32_t v) {
  const uint32_t u = static_cast<uint32_t>(v);
  out[at] = u & 0xFF;
  out[at + 1] = (u >> 8) & 0xFF;
  out[at + 2] = (u >> 16) & 0xFF;
  out[at + 3] = (u >> 24) & 0xFF;
}

bool IsBlack(uint32_t pixel) { return (pixel & 0x00FFFFFFu) == 0; }

// Appends the black runs of one row, stopping at the rectangle limit.
void AppendRowRuns(const uint32_t* row, int width, int y, std::vector<TRect>& rects) {
  int x = 0;
  while (x < width && int(rects.size()) < kMaxMaskRegionRects) {
    while (x < width && !IsBlack(row[x])) ++x;
    const int start = x;
    while (x < width && IsBlack(row[x])) ++x;
    if (x > start) rects.push_back({start, y, x, y + 1});
  }
}

}  // namespace

std::vector<TRect> MaskRunRects(const TPixmap& Mask, int OffsetX, int OffsetY) {
  std::vector<TRect> rects;
  for (int y = 0; y < Mask.Height() && int(rects.size()) < kMaxMaskRegionRects; ++y)
    AppendRowRuns(Mask.Row(y), Mask.Width(), y, rects);
  for (TRect& r : rects) r = {r.Left + OffsetX, r.Top + OffsetY, r.Right + OffsetX, r.Bottom + OffsetY};
  return rects;
}

TqzRegionData CreateRegionDataFromMask(const TPixmap& Mask, int OffsetX, int OffsetY) {
  TqzRegionData result;
  if (Mask.Empty()) return result;
  const std::vector<TRect> rects = MaskRunRects(Mask, OffsetX, OffsetY);
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
  if (Mask.Pixels().Empty()) return std::nullopt;
  return TRegion::FromRects(MaskRunRects(Mask.Pixels(), 0, 0));
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
  for (const auto& p : places)
    if (!p.strip.Empty()) region = region.Union(TRegion::FromRects(MaskRunRects(p.strip, p.x, p.y)));
  return region;
}

}  // namespace qz
