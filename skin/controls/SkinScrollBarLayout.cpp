// The scroll bar's geometry and the position a thumb drag reaches: shared by
// painting, hit testing and dragging.
#include <algorithm>
#include <cmath>

#include "skin/controls/SkinScrollBar.h"
#include "skin/data/SkinControlData.h"

namespace qz {

namespace {

constexpr int kPlainButton = 16;  // plain step buttons and thumb are 16 long

int RoundHalfEven(double v) { return static_cast<int>(std::nearbyint(v)); }

// Layouts are computed along a vertical axis; a horizontal bar swaps the
// axes on the way in and out.
TRect Swap(const TRect& r) { return {r.Top, r.Left, r.Bottom, r.Right}; }

// The thumb along [start, end) for length L: centres c0 .. c1, fraction g.
void PlaceThumb(TqzScrollBarLayout& l, int start, int end, int L, double g, int left, int right) {
  const int half = L / 2;
  l.ThumbLength = L;
  l.LowCentre = start + half;
  l.HighCentre = end - half;
  l.Offset = RoundHalfEven(g * (l.HighCentre - l.LowCentre));
  const int c = l.LowCentre + l.Offset;
  l.Thumb = {left, c - half, right, c + half};
}

double Fraction(const TqzScrollBarLayoutInput& in) {
  return in.Max == in.Min ? 0.0 : double(in.Position - in.Min) / (in.Max - in.Min);
}

// The page fraction; a range no larger than the page gives 0 (vertical) or
// 1 (horizontal).
double PageFraction(const TqzScrollBarLayoutInput& in) {
  const int denominator = in.Max - in.Min + 1 - in.PageSize;
  if (denominator <= 0) return in.Vertical ? 0.0 : 1.0;
  return double(in.Position - in.Min) / denominator;
}

int PageThumbLength(const TqzScrollBarLayoutInput& in, int trackLength, int minimum) {
  const int range = in.Max - in.Min + 1;
  const int L = range > 0 ? RoundHalfEven(double(trackLength) * in.PageSize / range) : trackLength;
  return std::max(L, minimum);
}

// Width and height in the vertical frame.
struct TAxisSize {
  int across, along;
};

TqzScrollBarLayout PlainLayout(const TqzScrollBarLayoutInput& in, TAxisSize s) {
  TqzScrollBarLayout l;
  const int W = s.across, H = s.along;
  l.Decrement = {1, 1, W - 1, 1 + kPlainButton};
  l.Increment = {1, H - 1 - kPlainButton, W - 1, H - 1};
  l.Track = {1, 1 + kPlainButton, W - 1, H - 1 - kPlainButton};
  const int trackLength = l.Track.Height();
  if (in.PageSize == 0) {
    l.ThumbLength = kPlainButton;
    l.LowCentre = l.Track.Top + kPlainButton / 2;
    l.HighCentre = l.Track.Bottom - kPlainButton / 2;
    l.Offset = RoundHalfEven(Fraction(in) * (trackLength - kPlainButton));
    l.Thumb = {l.Track.Left, l.Track.Top + l.Offset, l.Track.Right,
               l.Track.Top + l.Offset + kPlainButton};
    return l;
  }
  PlaceThumb(l, l.Track.Top, l.Track.Bottom, PageThumbLength(in, trackLength, kPlainButton),
             PageFraction(in), l.Track.Left, l.Track.Right);
  return l;
}

TqzScrollBarLayout SkinLayout(const TqzScrollBarLayoutInput& in, TAxisSize s,
                              const TqzDataSkinScrollBarControl& d) {
  const bool v = in.Vertical;
  // The description in the vertical frame.
  const TRect skinRect = v ? d.SkinRect : Swap(d.SkinRect);
  const TRect track = v ? d.TrackArea : Swap(d.TrackArea);
  const TRect inc = v ? d.UpButtonRect : Swap(d.UpButtonRect);
  const TRect dec = v ? d.DownButtonRect : Swap(d.DownButtonRect);
  const TRect thumb = v ? d.ThumbRect : Swap(d.ThumbRect);
  const int split = v ? d.LeftBottomPoint.Y : d.RightTopPoint.X;
  const int grow = s.along - skinRect.Height();
  auto moveBelowSplit = [&](TRect r) { return r.Top >= split ? OffsetRect(r, 0, grow) : r; };

  TqzScrollBarLayout l;
  l.Track = {track.Left, track.Top, track.Right, track.Bottom + grow};
  l.Increment = moveBelowSplit(inc);
  l.Decrement = moveBelowSplit(dec);
  const int thickness = thumb.Width();
  const int left = l.Track.Left + (l.Track.Width() - thickness) / 2;
  const int minimum = d.ThumbMinSize != 0 ? d.ThumbMinSize : thumb.Height();
  int L;
  double g;
  if (in.PageSize != 0) {
    L = PageThumbLength(in, l.Track.Height(), minimum);
    g = PageFraction(in);
  } else {
    L = d.ThumbMinPageSize != 0 ? d.ThumbMinPageSize : minimum;
    g = Fraction(in);
  }
  PlaceThumb(l, l.Track.Top, l.Track.Bottom, L, g, left, left + thickness);
  return l;
}

}  // namespace

const TRect& TqzScrollBarLayout::Part(int part) const {
  switch (part) {
    case sbpThumb: return Thumb;
    case sbpIncrement: return Increment;
    default: return Decrement;
  }
}

TqzScrollBarLayout CalcScrollBarLayout(const TqzScrollBarLayoutInput& in) {
  int W = in.Width, H = in.Height;
  if (!in.Vertical && !in.Skin && in.Both) W -= std::max(0, in.BothMarkerWidth);
  const TAxisSize size = in.Vertical ? TAxisSize{W, H} : TAxisSize{H, W};
  TqzScrollBarLayout l = in.Skin ? SkinLayout(in, size, *in.Skin) : PlainLayout(in, size);
  if (!in.Vertical) {
    l.Thumb = Swap(l.Thumb);
    l.Increment = Swap(l.Increment);
    l.Decrement = Swap(l.Decrement);
    l.Track = Swap(l.Track);
  }
  return l;
}

int ScrollPositionFromOffset(const TqzScrollBarLayout& l, const TqzScrollBarLayoutInput& in,
                             int offset) {
  const int span = l.HighCentre - l.LowCentre;
  const double t = span <= 0 ? 0.0 : std::clamp(double(offset) / span, 0.0, 1.0);
  const int range = in.PageSize != 0 ? in.Max - in.Min - in.PageSize + 1 : in.Max - in.Min;
  return in.Min + RoundHalfEven(range * t);
}

TqzScrollBarLooks ResolveScrollBarLooks(const TqzDataSkinScrollBarControl& d) {
  auto orElse = [](const TRect& r, const TRect& fallback) { return r.IsEmpty() ? fallback : r; };
  TqzScrollBarLooks k;
  k.IncHot = d.ActiveUpButtonRect;
  k.IncDown = orElse(d.DownUpButtonRect, k.IncHot);
  k.DecHot = d.ActiveDownButtonRect;
  k.DecDown = orElse(d.DownDownButtonRect, k.DecHot);
  k.Thumb = d.ThumbRect;
  k.ThumbHot = orElse(d.ActiveThumbRect, k.Thumb);
  k.ThumbDown = orElse(d.DownThumbRect, k.ThumbHot);
  k.Glyph = d.GlyphRect;
  k.GlyphHot = orElse(d.ActiveGlyphRect, k.Glyph);
  k.GlyphDown = orElse(d.DownGlyphRect, k.GlyphHot);
  return k;
}

}  // namespace qz
