// Geometry records of the host framework. Rectangles follow the platform
// rules: Right and Bottom are exclusive, a point on them is outside.
#pragma once

#include <cstdint>

namespace qz {

struct TPoint {
  int X = 0;
  int Y = 0;
  friend bool operator==(const TPoint&, const TPoint&) = default;
  TPoint operator+(const TPoint& o) const { return {X + o.X, Y + o.Y}; }
  TPoint operator-(const TPoint& o) const { return {X - o.X, Y - o.Y}; }
};

struct TSize {
  int cx = 0;
  int cy = 0;
  friend bool operator==(const TSize&, const TSize&) = default;
};

struct TRect {
  int Left = 0;
  int Top = 0;
  int Right = 0;
  int Bottom = 0;

  friend bool operator==(const TRect&, const TRect&) = default;
  int Width() const { return Right - Left; }
  int Height() const { return Bottom - Top; }
  TPoint TopLeft() const { return {Left, Top}; }
  TPoint BottomRight() const { return {Right, Bottom}; }
  TSize Size() const { return {Width(), Height()}; }
  // Empty when it covers no pixel (also when inverted).
  bool IsEmpty() const { return Right <= Left || Bottom <= Top; }
  bool Contains(TPoint p) const {
    return p.X >= Left && p.X < Right && p.Y >= Top && p.Y < Bottom;
  }
};

inline TPoint Point(int x, int y) { return {x, y}; }
inline TRect Rect(int l, int t, int r, int b) { return {l, t, r, b}; }
inline TRect Bounds(int l, int t, int w, int h) { return {l, t, l + w, t + h}; }

namespace detail {
// The smaller and larger of two coordinates; this header is included almost
// everywhere, so it does without <algorithm>.
constexpr int MinCoord(int a, int b) { return b < a ? b : a; }
constexpr int MaxCoord(int a, int b) { return a < b ? b : a; }
}  // namespace detail

inline bool PtInRect(const TRect& r, TPoint p) { return r.Contains(p); }
inline bool IsRectEmpty(const TRect& r) { return r.IsEmpty(); }
inline int RectWidth(const TRect& r) { return r.Right - r.Left; }
inline int RectHeight(const TRect& r) { return r.Bottom - r.Top; }

inline TRect OffsetRect(TRect r, int dx, int dy) {
  return {r.Left + dx, r.Top + dy, r.Right + dx, r.Bottom + dy};
}
inline TRect InflateRect(TRect r, int dx, int dy) {
  return {r.Left - dx, r.Top - dy, r.Right + dx, r.Bottom + dy};
}

// Intersection; an empty result is normalised to (0,0,0,0) as the platform does.
inline bool IntersectRect(TRect& out, const TRect& a, const TRect& b) {
  TRect r{detail::MaxCoord(a.Left, b.Left), detail::MaxCoord(a.Top, b.Top),
          detail::MinCoord(a.Right, b.Right), detail::MinCoord(a.Bottom, b.Bottom)};
  if (r.IsEmpty()) {
    out = {};
    return false;
  }
  out = r;
  return true;
}
inline TRect Intersection(const TRect& a, const TRect& b) {
  TRect r;
  IntersectRect(r, a, b);
  return r;
}

// Smallest rectangle holding both; empty inputs do not count.
inline TRect UnionRect(const TRect& a, const TRect& b) {
  if (a.IsEmpty()) return b.IsEmpty() ? TRect{} : b;
  if (b.IsEmpty()) return a;
  return {detail::MinCoord(a.Left, b.Left), detail::MinCoord(a.Top, b.Top),
          detail::MaxCoord(a.Right, b.Right), detail::MaxCoord(a.Bottom, b.Bottom)};
}

}  // namespace qz
