#include "skin/draw/PixelCopy.h"

#include <cmath>
#include <cstring>
#include <vector>

namespace qz {

TScaleMap::TScaleMap(int srcStart, int srcEnd, int dstLen)
    : srcStart_(srcStart),
      srcEnd_(srcEnd),
      dstLen_(dstLen),
      scale_(dstLen >= 2 ? double(srcEnd - srcStart - 1) / double(dstLen - 1) : 0.0) {}

int TScaleMap::operator()(int i) const {
  if (dstLen_ < 2) return (srcStart_ + srcEnd_ - 1) / 2;
  // Rounds halves to even (the default floating-point rounding mode).
  return static_cast<int>(std::nearbyint(i * scale_ + srcStart_));
}

namespace {

void CopyUnscaled(const TPixmap& src, const TRect& s, TPixmap& dst, const TRect& d,
                  const TRect& clip) {
  // Destination pixels whose source lies outside the source surface stay as they are.
  const int dx = s.Left - d.Left, dy = s.Top - d.Top;
  TRect area = Intersection(clip, OffsetRect(Intersection(s, src.Bounds()), -dx, -dy));
  if (area.IsEmpty()) return;
  const size_t bytes = size_t(area.Width()) * 4;
  for (int y = area.Top; y < area.Bottom; ++y)
    std::memcpy(dst.Row(y) + area.Left, src.Row(y + dy) + area.Left + dx, bytes);
}

void CopyScaled(const TPixmap& src, const TRect& s, TPixmap& dst, const TRect& d,
                const TRect& clip) {
  const TRect area = Intersection(clip, d);
  if (area.IsEmpty()) return;
  const TScaleMap colMap(s.Left, s.Right, d.Width());
  const TScaleMap rowMap(s.Top, s.Bottom, d.Height());
  std::vector<int> cols(size_t(area.Width()));
  bool allColumnsInside = true;
  for (int x = area.Left; x < area.Right; ++x) {
    const int sx = colMap(x - d.Left);
    cols[size_t(x - area.Left)] = sx;
    allColumnsInside = allColumnsInside && sx >= 0 && sx < src.Width();
  }
  int previousSourceRow = -1;
  for (int y = area.Top; y < area.Bottom; ++y) {
    const int sy = rowMap(y - d.Top);
    if (sy < 0 || sy >= src.Height()) continue;
    uint32_t* out = dst.Row(y) + area.Left;
    if (sy == previousSourceRow && allColumnsInside) {
      std::memcpy(out, dst.Row(y - 1) + area.Left, size_t(area.Width()) * 4);
      continue;
    }
    const uint32_t* in = src.Row(sy);
    for (size_t i = 0; i < cols.size(); ++i) {
      const int sx = cols[i];
      if (sx >= 0 && sx < src.Width()) out[i] = in[sx];
    }
    previousSourceRow = sy;
  }
}

}  // namespace

void CopyPixels(const TPixmap& src, const TRect& s, TPixmap& dst, const TRect& d,
                const TRect* clip) {
  if (s.IsEmpty() || d.IsEmpty()) return;
  TRect area = Intersection(d, dst.Bounds());
  if (clip) area = Intersection(area, *clip);
  if (area.IsEmpty()) return;
  if (s.Width() == d.Width() && s.Height() == d.Height())
    CopyUnscaled(src, s, dst, d, area);
  else
    CopyScaled(src, s, dst, d, area);
}

void TilePixelsX(const TPixmap& src, const TRect& s, TPixmap& dst, int a, int b, int top,
                 int bottom) {
  const int p = s.Width();
  if (p <= 0 || s.Height() <= 0 || b - a < 0) return;
  const int n = (b - a) / p;
  for (int k = 0; k <= n; ++k) {
    const int pos = a + k * p;
    const int over = std::max(0, pos + p - b);
    if (p - over <= 0) continue;
    CopyPixels(src, {s.Left, s.Top, s.Right - over, s.Bottom}, dst,
               {pos, top, pos + p - over, bottom});
  }
}

void TilePixelsY(const TPixmap& src, const TRect& s, TPixmap& dst, int a, int b, int left,
                 int right) {
  const int p = s.Height();
  if (p <= 0 || s.Width() <= 0 || b - a < 0) return;
  const int n = (b - a) / p;
  for (int k = 0; k <= n; ++k) {
    const int pos = a + k * p;
    const int over = std::max(0, pos + p - b);
    if (p - over <= 0) continue;
    CopyPixels(src, {s.Left, s.Top, s.Right, s.Bottom - over}, dst,
               {left, pos, right, pos + p - over});
  }
}

void TilePixels2D(const TPixmap& src, const TRect& s, TPixmap& dst, const TRect& d) {
  const int pw = s.Width(), ph = s.Height();
  if (pw <= 0 || ph <= 0 || d.IsEmpty()) return;
  for (int l = 0; l <= d.Height() / ph; ++l) {
    const int y = d.Top + l * ph;
    const int overY = std::max(0, y + ph - d.Bottom);
    if (ph - overY <= 0) continue;
    TilePixelsX(src, {s.Left, s.Top, s.Right, s.Bottom - overY}, dst, d.Left, d.Right, y,
                y + ph - overY);
  }
}

}  // namespace qz
