// Window regions from skin masks: the runs of black pixels of a mask, as
// rectangles, as the platform's region data block, or as a region, whole or
// composed to a size like the element it shapes.
#pragma once

#include <cstdint>
#include <optional>
#include <vector>

#include "host/graphics/Bitmap.h"
#include "host/graphics/Region.h"
#include "skin/draw/SkinGeometry.h"

namespace qz {

class TPixmap;

// ---- Regions ----

// At most this many rectangles are taken from one mask.
constexpr int kMaxMaskRegionRects = 10000;

struct TqzRegionData {
  std::vector<uint8_t> Data;  // the platform's region data block; empty for no data
  int Count = 0;              // rectangles in it
};
// Every maximal horizontal run of black pixels (red, green and blue 0) of
// each row becomes one rectangle, offset by (OffsetX, OffsetY); row by row,
// left to right, at most kMaxMaskRegionRects of them.
std::vector<TRect> MaskRunRects(const TPixmap& Mask, int OffsetX, int OffsetY);
// The same runs as the platform's region data block.
TqzRegionData CreateRegionDataFromMask(const TPixmap& Mask, int OffsetX, int OffsetY);
TqzRegionData CreateRegionDataFromMask(const TBitmap& Mask, int OffsetX, int OffsetY);
// The region of the black pixels of the whole mask; none for an empty mask.
std::optional<TRegion> CreateRegionFromMask(const TBitmap& Mask);
// The region of a mask composed to W x H: its four border strips at their
// places united with NewClRect. None when the element is smaller than its
// fixed parts.
std::optional<TRegion> CreateSkinRegion(const TqzSkinGeometry& g, const TqzNewGeometry& n, int W,
                                        int H, const TBitmap& Mask);

}  // namespace qz
