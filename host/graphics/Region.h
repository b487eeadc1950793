// Regions: sets of pixels, kept as y-x banded rectangles the way the
// platform keeps them. Window shapes, update areas and canvas clipping are
// all regions.
//
// Invariant of the rectangle list: rectangles are sorted by Top, then Left;
// every rectangle of one band has the same Top and Bottom; bands do not
// overlap vertically; rectangles in a band do not touch or overlap; two
// vertically touching bands with identical x-spans are merged into one. With
// that invariant two regions covering the same pixels have equal lists.
#pragma once

#include <cstdint>
#include <span>
#include <vector>

#include "host/base/Types.h"

namespace qz {

class TRegion {
 public:
  TRegion() = default;  // empty
  explicit TRegion(const TRect& r);
  // Union of the rectangles (any order, overlaps allowed, empty ones ignored).
  // Runs in O(n log n) for the usual inputs (mask scanlines), no pairwise merging.
  static TRegion FromRects(std::span<const TRect> rects);

  bool IsEmpty() const { return rects_.empty(); }
  TRect Bounds() const { return bounds_; }  // (0,0,0,0) when empty
  const std::vector<TRect>& Rects() const { return rects_; }
  // True when the region is exactly one rectangle.
  bool IsRect() const { return rects_.size() == 1; }

  bool Contains(TPoint p) const;
  bool Intersects(const TRect& r) const;

  TRegion Union(const TRegion& other) const;
  TRegion Intersect(const TRegion& other) const;
  TRegion Subtract(const TRegion& other) const;
  TRegion Xor(const TRegion& other) const;
  TRegion Intersect(const TRect& r) const { return Intersect(TRegion(r)); }

  void Offset(int dx, int dy);
  void Clear() { rects_.clear(); bounds_ = {}; }

  friend bool operator==(const TRegion& a, const TRegion& b) { return a.rects_ == b.rects_; }

 private:
  friend class TRegionBuilder;
  void RecomputeBounds();
  std::vector<TRect> rects_;
  TRect bounds_;
};

// Combination modes and result kinds of the platform's region calls.
enum : int { RGN_AND = 1, RGN_OR = 2, RGN_XOR = 3, RGN_DIFF = 4, RGN_COPY = 5 };
enum : int { RGN_ERROR = 0, NULLREGION = 1, SIMPLEREGION = 2, COMPLEXREGION = 3 };

// The kind of a region: NULLREGION, SIMPLEREGION (one rectangle) or COMPLEXREGION.
int RegionKind(const TRegion& r);
// dest := a <mode> b (RGN_COPY copies a). dest may be a or b. Returns the kind
// of the result, RGN_ERROR for an unknown mode (dest unchanged).
int CombineRgn(TRegion& dest, const TRegion& a, const TRegion& b, int mode);
inline TRegion CreateRectRgn(int l, int t, int r, int b) { return TRegion(TRect{l, t, r, b}); }
inline int OffsetRgn(TRegion& r, int dx, int dy) {
  r.Offset(dx, dy);
  return RegionKind(r);
}
inline bool PtInRegion(const TRegion& r, int x, int y) { return r.Contains({x, y}); }
inline int GetRgnBox(const TRegion& r, TRect& box) {
  box = r.Bounds();
  return RegionKind(r);
}

// The platform's region data block (RGNDATA): a 32-byte header of
// little-endian 32-bit fields {dwSize = 32, iType = 1 (RDH_RECTANGLES),
// nCount, nRgnSize, rcBound (left, top, right, bottom)} followed by nCount
// rectangles of 4 little-endian int32 (left, top, right, bottom).
constexpr uint32_t kRgnDataHeaderSize = 32;
constexpr uint32_t RDH_RECTANGLES = 1;
// Largest coordinate magnitude a region block may carry (the platform's
// 27-bit coordinate space); keeps every width and offset computation in range.
constexpr int kMaxRegionCoord = (1 << 27) - 1;

// Writes the banded rectangles of the region; nRgnSize = nCount * 16.
std::vector<uint8_t> RegionToData(const TRegion& region);
// Reads a block. Raises EInvalidGraphic when the header is not 32 bytes or not
// of type 1, when the block is shorter than its count says, or when a
// coordinate is outside +-kMaxRegionCoord. nRgnSize and rcBound are not
// trusted (some writers leave nRgnSize 0). Empty rectangles are ignored.
TRegion ExtCreateRegion(std::span<const uint8_t> data);

}  // namespace qz
