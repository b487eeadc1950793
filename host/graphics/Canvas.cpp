#include "host/graphics/Canvas.h"

#include <algorithm>
#include <cmath>
#include <cstring>

#include "host/components/Properties.h"
#include "host/graphics/TextEngine.h"

namespace qz {

// ============================================================ pens, brushes

void TPen::Assign(const TPersistent& source) {
  if (const auto* p = dynamic_cast<const TPen*>(&source)) {
    SetData(p->data_);
    return;
  }
  inherited::Assign(source);
}

void TBrush::Assign(const TPersistent& source) {
  if (const auto* b = dynamic_cast<const TBrush*>(&source)) {
    SetData(b->data_);
    return;
  }
  inherited::Assign(source);
}

QZ_ENUM(TPenStyle, "psSolid", "psDash", "psDot", "psDashDot", "psDashDotDot", "psClear",
        "psInsideFrame");
QZ_ENUM(TBrushStyle, "bsSolid", "bsClear", "bsHorizontal", "bsVertical", "bsFDiagonal",
        "bsBDiagonal", "bsCross", "bsDiagCross");

QZ_PUBLISHED(TPen, TPersistent) {
  b.Color("Color", &TPen::Color, &TPen::SetColor, clBlack);
  b.Enum("Style", &TPen::Style, &TPen::SetStyle, TPenStyle::psSolid);
  b.Prop("Width", &TPen::Width, &TPen::SetWidth, 1);
}

QZ_PUBLISHED(TBrush, TPersistent) {
  b.Color("Color", &TBrush::Color, &TBrush::SetColor, clWhite);
  b.Enum("Style", &TBrush::Style, &TBrush::SetStyle, TBrushStyle::bsSolid);
}

namespace {

// Covers every coordinate a region block or a window can carry.
constexpr TRect kUniverse{-(1 << 28), -(1 << 28), 1 << 28, 1 << 28};

uint32_t OpaquePixel(TColor c) { return PixelFromColorRef(ColorToRGB(c)); }

int PosMod(int v, int m) {
  const int r = v % m;
  return r < 0 ? r + m : r;
}

bool HatchHit(TBrushStyle style, int x, int y) {
  const bool h = PosMod(y, 8) == 0, v = PosMod(x, 8) == 0;
  const bool f = PosMod(x - y, 8) == 0, b = PosMod(x + y, 8) == 0;
  switch (style) {
    case TBrushStyle::bsHorizontal: return h;
    case TBrushStyle::bsVertical: return v;
    case TBrushStyle::bsFDiagonal: return f;
    case TBrushStyle::bsBDiagonal: return b;
    case TBrushStyle::bsCross: return h || v;
    case TBrushStyle::bsDiagCross: return f || b;
    default: return true;
  }
}

// On/off run lengths of the cosmetic pen styles.
std::span<const int> DashPattern(TPenStyle s) {
  static constexpr int dash[] = {18, 6}, dot[] = {3, 3}, dashDot[] = {9, 6, 3, 6},
                       dashDotDot[] = {9, 3, 3, 3, 3, 3};
  switch (s) {
    case TPenStyle::psDash: return dash;
    case TPenStyle::psDot: return dot;
    case TPenStyle::psDashDot: return dashDot;
    case TPenStyle::psDashDotDot: return dashDotDot;
    default: return {};
  }
}

}  // namespace

// ============================================================ construction

TCanvas::TCanvas() = default;
TCanvas::TCanvas(TPixmap* target) : target_(target) {}
TCanvas::~TCanvas() = default;

void TCanvas::SetTarget(TPixmap* target) {
  target_ = target;
  hasBaseClip_ = false;
  baseClip_.Clear();
  InvalidateClip();
}

int TCanvas::SaveDepth() const { return static_cast<int>(saved_.size()); }

// ============================================================ origins

void TCanvas::SetViewportOrg(TPoint p) { viewportOrg_ = p; }
void TCanvas::SetWindowOrg(TPoint p) { windowOrg_ = p; }

TRect TCanvas::LogicalToDevice(const TRect& r) const {
  const TPoint d = viewportOrg_ - windowOrg_;
  return OffsetRect(r, d.X, d.Y);
}
TRect TCanvas::DeviceToLogical(const TRect& r) const {
  const TPoint d = windowOrg_ - viewportOrg_;
  return OffsetRect(r, d.X, d.Y);
}

// ============================================================ clipping

void TCanvas::SetBaseClip(const TRegion& deviceRegion) {
  hasBaseClip_ = true;
  baseClip_ = deviceRegion;
  InvalidateClip();
}

void TCanvas::ClearBaseClip() {
  hasBaseClip_ = false;
  baseClip_.Clear();
  InvalidateClip();
}

void TCanvas::SetUserClip(std::unique_ptr<TRegion> deviceRgn) {
  userClip_ = std::move(deviceRgn);
  InvalidateClip();
}

TRegion TCanvas::CurrentDeviceClip() const {
  if (!target_) return TRegion();
  TRegion clip(target_->Bounds());
  if (hasBaseClip_) clip = clip.Intersect(baseClip_);
  if (userClip_) clip = clip.Intersect(*userClip_);
  return clip;
}

const std::vector<TRect>& TCanvas::DeviceClipRects() const {
  if (clipDirty_) {
    clipRegion_ = CurrentDeviceClip();
    clipRects_ = clipRegion_.Rects();
    clipDirty_ = false;
  }
  return clipRects_;
}

TRegion TCanvas::ClipRegion() const {
  DeviceClipRects();
  return clipRegion_;
}

int TCanvas::ClipKind() const { return RegionKind(ClipRegion()); }

void TCanvas::ForEachClipRect(const TRect& deviceRect,
                              const std::function<void(const TRect&)>& fn) const {
  const auto& rects = DeviceClipRects();
  if (deviceRect.IsEmpty()) return;
  auto it = std::upper_bound(rects.begin(), rects.end(), deviceRect.Top,
                             [](int y, const TRect& r) { return y < r.Bottom; });
  for (; it != rects.end() && it->Top < deviceRect.Bottom; ++it) {
    TRect part;
    if (IntersectRect(part, *it, deviceRect)) fn(part);
  }
}

int TCanvas::IntersectClipRect(const TRect& r) {
  const TRegion rect(LogicalToDevice(r));
  SetUserClip(std::make_unique<TRegion>(userClip_ ? userClip_->Intersect(rect) : rect));
  return ClipKind();
}

int TCanvas::ExcludeClipRect(const TRect& r) {
  const TRegion rect(LogicalToDevice(r));
  const TRegion base = userClip_ ? *userClip_ : TRegion(kUniverse);
  SetUserClip(std::make_unique<TRegion>(base.Subtract(rect)));
  return ClipKind();
}

int TCanvas::SelectClipRgn(const TRegion* logicalRgnOrNull) {
  if (!logicalRgnOrNull) {
    SetUserClip(nullptr);
  } else {
    auto device = std::make_unique<TRegion>(*logicalRgnOrNull);
    const TPoint d = viewportOrg_ - windowOrg_;
    device->Offset(d.X, d.Y);
    SetUserClip(std::move(device));
  }
  return ClipKind();
}

int TCanvas::ExtSelectClipRgn(const TRegion* logicalRgnOrNull, int mode) {
  if (mode == RGN_COPY) return SelectClipRgn(logicalRgnOrNull);
  if (!logicalRgnOrNull) return RGN_ERROR;
  TRegion device = *logicalRgnOrNull;
  const TPoint d = viewportOrg_ - windowOrg_;
  device.Offset(d.X, d.Y);
  const TRegion current = userClip_ ? *userClip_ : ClipRegion();
  TRegion result;
  if (CombineRgn(result, current, device, mode) == RGN_ERROR) return RGN_ERROR;
  SetUserClip(std::make_unique<TRegion>(std::move(result)));
  return ClipKind();
}

bool TCanvas::GetClipRgn(TRegion& logicalOut) const {
  if (!userClip_) return false;
  logicalOut = *userClip_;
  const TPoint d = windowOrg_ - viewportOrg_;
  logicalOut.Offset(d.X, d.Y);
  return true;
}

TRect TCanvas::ClipRect() const { return DeviceToLogical(ClipRegion().Bounds()); }

bool TCanvas::RectVisible(const TRect& r) const {
  DeviceClipRects();
  return clipRegion_.Intersects(LogicalToDevice(r));
}

bool TCanvas::PtVisible(TPoint p) const {
  DeviceClipRects();
  return clipRegion_.Contains(LogicalToDevice(p));
}

bool TCanvas::DeviceVisible(int x, int y) const {
  DeviceClipRects();
  return clipRegion_.Contains({x, y});
}

// ============================================================ save / restore

int TCanvas::SaveDC() {
  TState s;
  s.viewportOrg = viewportOrg_;
  s.windowOrg = windowOrg_;
  s.penPos = penPos_;
  s.hasUserClip = userClip_ != nullptr;
  if (userClip_) s.userClip = *userClip_;
  s.pen = pen_.Data();
  s.brush = brush_.Data();
  s.font = font_.Data();
  s.bkMode = bkMode_;
  s.copyMode = copyMode_;
  saved_.push_back(std::move(s));
  return static_cast<int>(saved_.size());
}

bool TCanvas::RestoreDC(int savedIndex) {
  const int depth = static_cast<int>(saved_.size());
  const int level = savedIndex < 0 ? depth + savedIndex + 1 : savedIndex;
  if (level < 1 || level > depth) return false;
  TState s = std::move(saved_[level - 1]);
  saved_.resize(level - 1);
  viewportOrg_ = s.viewportOrg;
  windowOrg_ = s.windowOrg;
  penPos_ = s.penPos;
  SetUserClip(s.hasUserClip ? std::make_unique<TRegion>(std::move(s.userClip)) : nullptr);
  pen_.SetData(s.pen);
  brush_.SetData(s.brush);
  font_.SetData(s.font);
  bkMode_ = s.bkMode;
  copyMode_ = s.copyMode;
  return true;
}

// ============================================================ pixel filling

void TCanvas::FillDeviceRect(const TRect& deviceRect, uint32_t pixel) {
  if (!target_) return;
  ForEachClipRect(deviceRect, [&](const TRect& r) {
    // Fill one row, then copy it: memcpy is vectorised where a plain fill
    // loop may not be.
    uint32_t* first = target_->Row(r.Top) + r.Left;
    std::fill(first, first + r.Width(), pixel);
    for (int y = r.Top + 1; y < r.Bottom; ++y)
      std::memcpy(target_->Row(y) + r.Left, first, sizeof(uint32_t) * size_t(r.Width()));
  });
}

void TCanvas::FillDeviceRectWithBrush(const TRect& deviceRect) {
  const TBrushStyle style = brush_.Style();
  if (style == TBrushStyle::bsClear || !target_) return;
  const uint32_t pixel = OpaquePixel(brush_.Color());
  if (style == TBrushStyle::bsSolid) {
    FillDeviceRect(deviceRect, pixel);
    return;
  }
  ForEachClipRect(deviceRect, [&](const TRect& r) {
    for (int y = r.Top; y < r.Bottom; ++y) {
      uint32_t* row = target_->Row(y);
      for (int x = r.Left; x < r.Right; ++x)
        if (HatchHit(style, x, y)) row[x] = pixel;
    }
  });
}

void TCanvas::PlotDevice(int x, int y, uint32_t pixel) {
  if (target_ && DeviceVisible(x, y)) target_->At(x, y) = pixel;
}

void TCanvas::FillSpans(const std::vector<TRect>& deviceRects, bool useBrush, uint32_t pixel) {
  for (const TRect& r : deviceRects) {
    if (useBrush)
      FillDeviceRectWithBrush(r);
    else
      FillDeviceRect(r, pixel);
  }
}

void TCanvas::FillRect(const TRect& r) { FillDeviceRectWithBrush(LogicalToDevice(r)); }

void TCanvas::FillRgn(const TRegion& logicalRgn) {
  const TPoint d = viewportOrg_ - windowOrg_;
  for (const TRect& r : logicalRgn.Rects()) FillDeviceRectWithBrush(OffsetRect(r, d.X, d.Y));
}

void TCanvas::FrameRect(const TRect& r) {
  if (r.IsEmpty()) return;
  const TRect d = LogicalToDevice(r);
  const uint32_t pixel = OpaquePixel(brush_.Color());
  FillDeviceRect({d.Left, d.Top, d.Right, d.Top + 1}, pixel);
  FillDeviceRect({d.Left, d.Bottom - 1, d.Right, d.Bottom}, pixel);
  FillDeviceRect({d.Left, d.Top + 1, d.Left + 1, d.Bottom - 1}, pixel);
  FillDeviceRect({d.Right - 1, d.Top + 1, d.Right, d.Bottom - 1}, pixel);
}

// ============================================================ lines

void TCanvas::StampPen(int x, int y, uint32_t pixel) {
  const int w = pen_.Width();
  if (w <= 1) {
    PlotDevice(x, y, pixel);
    return;
  }
  const int lo = (w - 1) / 2;
  FillDeviceRect({x - lo, y - lo, x - lo + w, y - lo + w}, pixel);
}

void TCanvas::DrawLineDevice(TPoint a, TPoint b, bool withPattern) {
  const TPenStyle style = pen_.Style();
  if (style == TPenStyle::psClear || !target_) return;
  const uint32_t pixel = OpaquePixel(pen_.Color());
  // Dash patterns apply to 1-pixel pens only, as with the platform's cosmetic pens.
  const std::span<const int> pattern =
      (withPattern && pen_.Width() <= 1) ? DashPattern(style) : std::span<const int>{};
  const bool fillGaps = bkMode_ == OPAQUE && brush_.Style() != TBrushStyle::bsClear;
  const uint32_t gapPixel = OpaquePixel(brush_.Color());
  size_t seg = 0;
  int left = pattern.empty() ? 0 : pattern[0];

  // Bresenham from a towards b, b itself excluded.
  int x = a.X, y = a.Y;
  const int dx = std::abs(b.X - a.X), dy = -std::abs(b.Y - a.Y);
  const int sx = a.X < b.X ? 1 : -1, sy = a.Y < b.Y ? 1 : -1;
  int err = dx + dy;
  while (x != b.X || y != b.Y) {
    if (pattern.empty() || seg % 2 == 0)
      StampPen(x, y, pixel);
    else if (fillGaps)
      PlotDevice(x, y, gapPixel);
    if (!pattern.empty() && --left == 0) {
      seg = (seg + 1) % pattern.size();
      left = pattern[seg];
    }
    const int e2 = 2 * err;
    if (e2 >= dy) { err += dy; x += sx; }
    if (e2 <= dx) { err += dx; y += sy; }
  }
}

void TCanvas::LineTo(int x, int y) {
  DrawLineDevice(LogicalToDevice(penPos_), LogicalToDevice(TPoint{x, y}), true);
  penPos_ = {x, y};
}

void TCanvas::Polyline(std::span<const TPoint> points) {
  for (size_t i = 1; i < points.size(); ++i)
    DrawLineDevice(LogicalToDevice(points[i - 1]), LogicalToDevice(points[i]), true);
}

// ============================================================ shapes

namespace {

// Rows of a rounded rectangle (an ellipse when the radii are half the size),
// sampled at pixel centres. Each row is [x0, x1) in the same coordinates as r.
struct TRowSpan {
  int y, x0, x1;
};

std::vector<TRowSpan> RoundRectRows(const TRect& r, int cx, int cy) {
  std::vector<TRowSpan> rows;
  if (r.IsEmpty()) return rows;
  const double rx = std::clamp(cx, 0, r.Width()) / 2.0, ry = std::clamp(cy, 0, r.Height()) / 2.0;
  for (int y = r.Top; y < r.Bottom; ++y) {
    const double yc = y + 0.5;
    double inset = 0;
    double dyv = 0;
    if (yc < r.Top + ry) dyv = r.Top + ry - yc;
    else if (yc > r.Bottom - ry) dyv = yc - (r.Bottom - ry);
    if (dyv > 0 && ry > 0 && rx > 0) {
      const double t = dyv / ry;
      if (t > 1) continue;
      inset = rx - rx * std::sqrt(1 - t * t);
    }
    // Pixels whose centre lies inside: x + 0.5 >= Left + inset and <= Right - inset.
    const int x0 = static_cast<int>(std::ceil(r.Left + inset - 0.5));
    const int x1 = static_cast<int>(std::floor(r.Right - inset - 0.5)) + 1;
    if (x1 > x0) rows.push_back({y, x0, x1});
  }
  return rows;
}

// Splits filled rows into the outline (pixels with a 4-neighbour outside the
// shape) and the interior.
void SplitOutline(const std::vector<TRowSpan>& rows, std::vector<TRect>& outline,
                  std::vector<TRect>& interior) {
  auto spanOf = [&](size_t i, int dyIndex) -> const TRowSpan* {
    const long k = static_cast<long>(i) + dyIndex;
    if (k < 0 || k >= static_cast<long>(rows.size())) return nullptr;
    if (rows[k].y != rows[i].y + dyIndex) return nullptr;
    return &rows[k];
  };
  for (size_t i = 0; i < rows.size(); ++i) {
    const TRowSpan& s = rows[i];
    const TRowSpan* up = spanOf(i, -1);
    const TRowSpan* dn = spanOf(i, +1);
    // Interior x-range: inside both neighbours and not the row's own ends.
    int lo = s.x0 + 1, hi = s.x1 - 1;
    if (!up || !dn) { lo = hi; }
    else {
      lo = std::max({lo, up->x0, dn->x0});
      hi = std::min({hi, up->x1, dn->x1});
    }
    if (hi <= lo) {
      outline.push_back({s.x0, s.y, s.x1, s.y + 1});
      continue;
    }
    outline.push_back({s.x0, s.y, lo, s.y + 1});
    interior.push_back({lo, s.y, hi, s.y + 1});
    outline.push_back({hi, s.y, s.x1, s.y + 1});
  }
}

}  // namespace

void TCanvas::Rectangle(const TRect& r) {
  const TRect d = LogicalToDevice(r);
  if (pen_.Style() == TPenStyle::psClear) {
    FillDeviceRectWithBrush({d.Left, d.Top, d.Right - 1, d.Bottom - 1});
    return;
  }
  if (d.IsEmpty()) return;
  const int w = pen_.Width();
  if (w <= 1) {
    FillDeviceRectWithBrush({d.Left + 1, d.Top + 1, d.Right - 1, d.Bottom - 1});
    const TPoint pts[] = {{d.Left, d.Top}, {d.Right - 1, d.Top}, {d.Right - 1, d.Bottom - 1},
                          {d.Left, d.Bottom - 1}, {d.Left, d.Top}};
    if (d.Width() == 1 || d.Height() == 1) {
      FillDeviceRect(d, OpaquePixel(pen_.Color()));
      return;
    }
    for (int i = 0; i < 4; ++i) DrawLineDevice(pts[i], pts[i + 1], true);
    return;
  }
  // Wide pens: centred on the border line, or inside it for psInsideFrame.
  TRect outer = d;
  if (pen_.Style() != TPenStyle::psInsideFrame) {
    const int lo = (w - 1) / 2, hi = w / 2;
    outer = {d.Left - lo, d.Top - lo, d.Right + hi, d.Bottom + hi};
  }
  const TRect inner = InflateRect(outer, -w, -w);
  FillDeviceRectWithBrush(inner);
  const TRegion ring = TRegion(outer).Subtract(TRegion(inner));
  const uint32_t pixel = OpaquePixel(pen_.Color());
  for (const TRect& part : ring.Rects()) FillDeviceRect(part, pixel);
}

void TCanvas::RoundRect(const TRect& r, int cx, int cy) {
  const TRect d = LogicalToDevice(r);
  const auto rows = RoundRectRows(d, cx, cy);
  std::vector<TRect> outline, interior;
  if (pen_.Style() == TPenStyle::psClear) {
    for (const TRowSpan& s : RoundRectRows({d.Left, d.Top, d.Right - 1, d.Bottom - 1}, cx, cy))
      interior.push_back({s.x0, s.y, s.x1, s.y + 1});
    FillSpans(interior, true, 0);
    return;
  }
  const int w = pen_.Width();
  if (w <= 1) {
    SplitOutline(rows, outline, interior);
  } else {
    const auto innerRows = RoundRectRows(InflateRect(d, -w, -w), std::max(0, cx - 2 * w), std::max(0, cy - 2 * w));
    std::vector<TRect> all, inner;
    for (const TRowSpan& s : rows) all.push_back({s.x0, s.y, s.x1, s.y + 1});
    for (const TRowSpan& s : innerRows) inner.push_back({s.x0, s.y, s.x1, s.y + 1});
    const TRegion innerRgn = TRegion::FromRects(inner);
    interior = innerRgn.Rects();
    outline = TRegion::FromRects(all).Subtract(innerRgn).Rects();
  }
  FillSpans(interior, true, 0);
  FillSpans(outline, false, OpaquePixel(pen_.Color()));
}

void TCanvas::Ellipse(const TRect& r) { RoundRect(r, r.Width(), r.Height()); }

void TCanvas::Polygon(std::span<const TPoint> points) {
  if (points.size() < 2) return;
  std::vector<TPoint> pts;
  pts.reserve(points.size() + 1);
  for (const TPoint& p : points) pts.push_back(LogicalToDevice(p));
  // Alternate (even-odd) fill sampled at pixel centres.
  if (brush_.Style() != TBrushStyle::bsClear && pts.size() >= 3) {
    int top = pts[0].Y, bottom = pts[0].Y;
    for (const TPoint& p : pts) {
      top = std::min(top, p.Y);
      bottom = std::max(bottom, p.Y);
    }
    std::vector<double> xs;
    std::vector<TRect> spans;
    for (int y = top; y < bottom; ++y) {
      const double yc = y + 0.5;
      xs.clear();
      for (size_t i = 0; i < pts.size(); ++i) {
        const TPoint& a = pts[i];
        const TPoint& b = pts[(i + 1) % pts.size()];
        if ((a.Y <= yc) == (b.Y <= yc)) continue;
        xs.push_back(a.X + (yc - a.Y) * double(b.X - a.X) / double(b.Y - a.Y));
      }
      std::sort(xs.begin(), xs.end());
      for (size_t i = 0; i + 1 < xs.size(); i += 2) {
        const int x0 = static_cast<int>(std::ceil(xs[i] - 0.5));
        const int x1 = static_cast<int>(std::ceil(xs[i + 1] - 0.5));
        if (x1 > x0) spans.push_back({x0, y, x1, y + 1});
      }
    }
    FillSpans(spans, true, 0);
  }
  pts.push_back(pts.front());
  for (size_t i = 1; i < pts.size(); ++i) DrawLineDevice(pts[i - 1], pts[i], true);
}

void TCanvas::DrawFocusRect(const TRect& r) {
  if (!target_ || r.IsEmpty()) return;
  const TRect d = LogicalToDevice(r);
  auto invert = [&](int x, int y) {
    if (PosMod(x + y, 2) != 0 || !DeviceVisible(x, y)) return;
    uint32_t& p = target_->At(x, y);
    p = 0xFF000000u | (~p & 0x00FFFFFFu);
  };
  for (int x = d.Left; x < d.Right; ++x) {
    invert(x, d.Top);
    if (d.Bottom - 1 != d.Top) invert(x, d.Bottom - 1);
  }
  for (int y = d.Top + 1; y < d.Bottom - 1; ++y) {
    invert(d.Left, y);
    if (d.Right - 1 != d.Left) invert(d.Right - 1, y);
  }
}

TColor TCanvas::Pixel(int x, int y) const {
  if (!target_) return clNone;
  const TPoint d = LogicalToDevice(TPoint{x, y});
  if (!target_->Bounds().Contains(d)) return clNone;
  return static_cast<TColor>(ColorRefFromPixel(target_->At(d.X, d.Y)));
}

void TCanvas::SetPixel(int x, int y, TColor c) {
  const TPoint d = LogicalToDevice(TPoint{x, y});
  PlotDevice(d.X, d.Y, OpaquePixel(c));
}

// ============================================================ graphics

void TCanvas::Draw(int x, int y, const TGraphic& graphic) {
  if (graphic.Empty()) return;
  graphic.Draw(*this, Bounds(x, y, graphic.Width(), graphic.Height()));
}

void TCanvas::StretchDraw(const TRect& r, const TGraphic& graphic) {
  if (graphic.Empty()) return;
  graphic.Draw(*this, r);
}

void TCanvas::CopyRect(const TRect& dest, TCanvas& src, const TRect& srcRect) {
  StretchBlt(this, dest.Left, dest.Top, dest.Width(), dest.Height(), &src, srcRect.Left,
             srcRect.Top, srcRect.Width(), srcRect.Height(), copyMode_);
}

}  // namespace qz
