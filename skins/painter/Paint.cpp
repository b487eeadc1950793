#include "skins/painter/Paint.h"

#include <algorithm>
#include <cmath>

#include "host/graphics/Canvas.h"

namespace qz::skingen {

namespace {

int Channel(uint32_t c, int shift) { return int((c >> shift) & 255); }

double Clamp01(double v) { return v < 0 ? 0 : (v > 1 ? 1 : v); }

double CoverageFromDistance(double d) { return Clamp01(0.5 - d); }

double SegmentDistance(double px, double py, TPointF a, TPointF b) {
  double dx = b.x - a.x, dy = b.y - a.y;
  double len2 = dx * dx + dy * dy;
  double t = len2 > 0 ? Clamp01(((px - a.x) * dx + (py - a.y) * dy) / len2) : 0;
  double ex = px - (a.x + t * dx), ey = py - (a.y + t * dy);
  return std::sqrt(ex * ex + ey * ey);
}

bool InsidePolygon(const std::vector<TPointF>& pts, double x, double y) {
  bool inside = false;
  for (size_t i = 0, j = pts.size() - 1; i < pts.size(); j = i++) {
    const TPointF& a = pts[i];
    const TPointF& b = pts[j];
    if ((a.y > y) != (b.y > y) && x < (b.x - a.x) * (y - a.y) / (b.y - a.y) + a.x) inside = !inside;
  }
  return inside;
}

TRectF BoundsOf(const std::vector<TPointF>& pts) {
  TRectF r{1e9, 1e9, -1e9, -1e9};
  for (const TPointF& p : pts) {
    r.left = std::min(r.left, p.x);
    r.top = std::min(r.top, p.y);
    r.right = std::max(r.right, p.x);
    r.bottom = std::max(r.bottom, p.y);
  }
  return r;
}

}  // namespace

uint32_t Mix(uint32_t a, uint32_t b, double t) {
  t = Clamp01(t);
  uint32_t out = 0;
  for (int shift = 0; shift < 32; shift += 8) {
    double v = Channel(a, shift) * (1 - t) + Channel(b, shift) * t;
    out |= uint32_t(std::lround(v)) << shift;
  }
  return out;
}

uint32_t Fade(uint32_t c, double f) {
  int a = int(std::lround(Channel(c, 24) * Clamp01(f)));
  return (c & 0xFFFFFF) | (uint32_t(a) << 24);
}

uint32_t Shade(uint32_t c, double f) {
  uint32_t toward = f >= 0 ? (c | 0xFFFFFF) : (c & 0xFF000000);
  return Mix(c, toward, std::fabs(f));
}

int ColorValue(uint32_t argb) {
  return Channel(argb, 16) | (Channel(argb, 8) << 8) | (Channel(argb, 0) << 16);
}

TFill TFill::Vertical(const TRectF& ref, std::vector<std::pair<double, uint32_t>> stops) {
  TFill f;
  f.stops_ = std::move(stops);
  f.vertical_ = true;
  f.from_ = ref.top;
  f.to_ = ref.bottom;
  return f;
}

TFill TFill::Horizontal(const TRectF& ref, std::vector<std::pair<double, uint32_t>> stops) {
  TFill f = Vertical(ref, std::move(stops));
  f.vertical_ = false;
  f.from_ = ref.left;
  f.to_ = ref.right;
  return f;
}

uint32_t TFill::At(double x, double y) const {
  if (stops_.size() == 1) return stops_[0].second;
  double span = to_ - from_;
  double t = span > 0 ? ((vertical_ ? y : x) - from_) / span : 0;
  if (t <= stops_.front().first) return stops_.front().second;
  for (size_t i = 1; i < stops_.size(); ++i) {
    if (t <= stops_[i].first) {
      double w = stops_[i].first - stops_[i - 1].first;
      return Mix(stops_[i - 1].second, stops_[i].second, w > 0 ? (t - stops_[i - 1].first) / w : 1);
    }
  }
  return stops_.back().second;
}

double RoundRectDistance(const TRectF& r, const TRadii& radii, double x, double y) {
  double cx = (r.left + r.right) / 2, cy = (r.top + r.bottom) / 2;
  double px = x - cx, py = y - cy;
  double rad = px < 0 ? (py < 0 ? radii.tl : radii.bl) : (py < 0 ? radii.tr : radii.br);
  rad = std::min({rad, r.Width() / 2, r.Height() / 2});
  double qx = std::fabs(px) - r.Width() / 2 + rad;
  double qy = std::fabs(py) - r.Height() / 2 + rad;
  double outside = std::hypot(std::max(qx, 0.0), std::max(qy, 0.0));
  return outside + std::min(std::max(qx, qy), 0.0) - rad;
}

void TPainter::SetClip(const TRect& r) { clip_ = Intersection(r, target_.Bounds()); }

void TPainter::Set(const TRect& r, uint32_t color) {
  TRect c = Intersection(r, clip_);
  for (int y = c.Top; y < c.Bottom; ++y) std::fill(target_.Row(y) + c.Left, target_.Row(y) + c.Right, color);
}

void TPainter::Blend(int x, int y, uint32_t color, double coverage) {
  if (x < clip_.Left || y < clip_.Top || x >= clip_.Right || y >= clip_.Bottom) return;
  double a = Channel(color, 24) / 255.0 * Clamp01(coverage);
  if (a <= 0) return;
  uint32_t& dst = target_.At(x, y);
  double da = Channel(dst, 24) / 255.0;
  double oa = a + da * (1 - a);
  uint32_t out = uint32_t(std::lround(oa * 255)) << 24;
  for (int shift = 0; shift < 24; shift += 8) {
    double v = (Channel(color, shift) * a + Channel(dst, shift) * da * (1 - a)) / oa;
    out |= uint32_t(std::clamp<long>(std::lround(v), 0, 255)) << shift;
  }
  dst = out;
}

void TPainter::Shade(const TRectF& bounds, const TFill& fill,
                     const std::function<double(double, double)>& coverage) {
  int x0 = std::max(clip_.Left, int(std::floor(bounds.left)));
  int y0 = std::max(clip_.Top, int(std::floor(bounds.top)));
  int x1 = std::min(clip_.Right, int(std::ceil(bounds.right)));
  int y1 = std::min(clip_.Bottom, int(std::ceil(bounds.bottom)));
  for (int y = y0; y < y1; ++y)
    for (int x = x0; x < x1; ++x) {
      double cx = x + 0.5, cy = y + 0.5;
      double cov = coverage(cx, cy);
      if (cov > 0) Blend(x, y, fill.At(cx, cy), cov);
    }
}

void TPainter::Fill(const TRect& r, const TFill& fill) {
  Shade(TRectF(r), fill, [](double, double) { return 1.0; });
}

void TPainter::FillRoundRect(const TRectF& r, const TRadii& radii, const TFill& fill) {
  Shade(r.Inflated(1), fill, [&](double x, double y) {
    return CoverageFromDistance(RoundRectDistance(r, radii, x, y));
  });
}

void TPainter::StrokeRoundRect(const TRectF& r, const TRadii& radii, double width, const TFill& fill) {
  TRadii inner{std::max(0.0, radii.tl - width), std::max(0.0, radii.tr - width),
               std::max(0.0, radii.br - width), std::max(0.0, radii.bl - width)};
  TRectF in = r.Inflated(-width);
  Shade(r.Inflated(1), fill, [&](double x, double y) {
    double outer = CoverageFromDistance(RoundRectDistance(r, radii, x, y));
    double hole = in.Width() > 0 && in.Height() > 0
                      ? CoverageFromDistance(RoundRectDistance(in, inner, x, y))
                      : 0.0;
    return Clamp01(outer - hole);
  });
}

void TPainter::FillCircle(double cx, double cy, double radius, const TFill& fill) {
  TRectF b{cx - radius - 1, cy - radius - 1, cx + radius + 1, cy + radius + 1};
  Shade(b, fill, [&](double x, double y) {
    return CoverageFromDistance(std::hypot(x - cx, y - cy) - radius);
  });
}

void TPainter::StrokeCircle(double cx, double cy, double radius, double width, const TFill& fill) {
  TRectF b{cx - radius - 1, cy - radius - 1, cx + radius + 1, cy + radius + 1};
  Shade(b, fill, [&](double x, double y) {
    double d = std::hypot(x - cx, y - cy);
    return Clamp01(CoverageFromDistance(d - radius) - CoverageFromDistance(d - radius + width));
  });
}

void TPainter::FillPolygon(const std::vector<TPointF>& points, const TFill& fill) {
  if (points.size() < 3) return;
  constexpr int kSamples = 4;
  Shade(BoundsOf(points).Inflated(1), fill, [&](double x, double y) {
    int hits = 0;
    for (int sy = 0; sy < kSamples; ++sy)
      for (int sx = 0; sx < kSamples; ++sx)
        hits += InsidePolygon(points, x - 0.5 + (sx + 0.5) / kSamples, y - 0.5 + (sy + 0.5) / kSamples);
    return hits / double(kSamples * kSamples);
  });
}

void TPainter::Line(double x0, double y0, double x1, double y1, double width, const TFill& fill) {
  Polyline({{x0, y0}, {x1, y1}}, width, fill);
}

void TPainter::Polyline(const std::vector<TPointF>& points, double width, const TFill& fill) {
  if (points.size() < 2) return;
  Shade(BoundsOf(points).Inflated(width + 1), fill, [&](double x, double y) {
    double d = 1e9;
    for (size_t i = 1; i < points.size(); ++i) d = std::min(d, SegmentDistance(x, y, points[i - 1], points[i]));
    return CoverageFromDistance(d - width / 2);
  });
}

void TPainter::OpenArrow(double cx, double cy, double size, int dir, double width,
                         const TFill& fill) {
  const double h = size / 2, q = size / 4;
  // The arrow pointing up, turned a quarter for each step of dir.
  const TPointF up[3] = {{-h, q}, {0, -q}, {h, q}};
  std::vector<TPointF> pts;
  for (const TPointF& u : up) {
    double x = u.x, y = u.y;
    for (int k = 0; k < (dir & 3); ++k) {
      const double t = x;
      x = -y;
      y = t;
    }
    pts.push_back({cx + x, cy + y});
  }
  Polyline(pts, width, fill);
}

void TPainter::CheckMark(double cx, double cy, double size, double width, const TFill& fill) {
  const double s = size / 2;
  Polyline({{cx - s, cy + 0.05 * size}, {cx - 0.15 * size, cy + 0.35 * size},
            {cx + s, cy - 0.35 * size}},
           width, fill);
}

void TPainter::Cross(double cx, double cy, double size, double width, const TFill& fill) {
  const double h = size / 2;
  Line(cx - h, cy - h, cx + h, cy + h, width, fill);
  Line(cx + h, cy - h, cx - h, cy + h, width, fill);
}

void TPainter::SoftShadow(const TRectF& r, const TRadii& radii, double blur, uint32_t color) {
  double sigma = std::max(0.5, blur / 2);
  Shade(r.Inflated(blur + 1), color, [&](double x, double y) {
    return 0.5 * std::erfc(RoundRectDistance(r, radii, x, y) / (sigma * std::sqrt(2.0)));
  });
}

void TPainter::Grain(const TRect& r, int amount, uint32_t seed) {
  TRect c = Intersection(r, clip_);
  uint32_t state = seed * 2654435761u + 1;
  for (int y = c.Top; y < c.Bottom; ++y)
    for (int x = c.Left; x < c.Right; ++x) {
      state ^= state << 13;
      state ^= state >> 17;
      state ^= state << 5;
      int delta = int(state % uint32_t(2 * amount + 1)) - amount;
      uint32_t& p = target_.At(x, y);
      uint32_t out = p & 0xFF000000;
      for (int shift = 0; shift < 24; shift += 8)
        out |= uint32_t(std::clamp(Channel(p, shift) + delta, 0, 255)) << shift;
      p = out;
    }
}

void TPainter::Text(const TRect& r, std::string_view text, const std::string& font, int height,
                    bool bold, uint32_t color, uint32_t dtFlags) {
  TCanvas canvas(&target_);
  canvas.IntersectClipRect(clip_);
  canvas.Font().SetName(font);
  canvas.Font().SetHeight(height);
  TFontStyles style;
  if (bold) style.Include(TFontStyle::fsBold);
  canvas.Font().SetStyle(style);
  canvas.Font().SetColor(TColor(ColorValue(color)));
  canvas.SetBkMode(TRANSPARENT);
  canvas.DrawText(text, r, dtFlags);
}

}  // namespace qz::skingen
