// Anti-aliased vector painting for the skin generator: rounded rectangles,
// circles, polygons, lines, gradients, soft shadows and text, drawn into a
// TPixmap with straight (not premultiplied) alpha.
//
// Shapes are described by signed distance (negative inside); a pixel's
// coverage is the part of a one-pixel box around its centre that the shape
// covers, approximated as clamp(0.5 - distance, 0, 1). Coordinates are in
// pixels with pixel (x, y) covering [x, x+1) x [y, y+1), so a rectangle
// with integer edges covers whole pixels exactly.
#pragma once

#include <cstdint>
#include <functional>
#include <string>
#include <string_view>
#include <vector>

#include "host/base/Types.h"
#include "host/graphics/Pixmap.h"

namespace qz::skingen {

// 0xAARRGGBB from components.
constexpr uint32_t Argb(int r, int g, int b, int a = 255) {
  return (uint32_t(a & 255) << 24) | (uint32_t(r & 255) << 16) | (uint32_t(g & 255) << 8) |
         uint32_t(b & 255);
}
// A colour from 0xRRGGBB with the given alpha.
constexpr uint32_t Hex(uint32_t rgb, int a = 255) { return (uint32_t(a & 255) << 24) | (rgb & 0xFFFFFF); }
// Linear mix of two colours (alpha included), t in [0, 1].
uint32_t Mix(uint32_t a, uint32_t b, double t);
// The same colour with its alpha multiplied by f.
uint32_t Fade(uint32_t c, double f);
// Lighter (f > 0) or darker (f < 0) towards white or black.
uint32_t Shade(uint32_t c, double f);
// The description text's colour value (low byte red) of a pixel colour.
int ColorValue(uint32_t argb);

struct TRectF {
  double left = 0, top = 0, right = 0, bottom = 0;
  TRectF() = default;
  TRectF(double l, double t, double r, double b) : left(l), top(t), right(r), bottom(b) {}
  TRectF(const TRect& r) : left(r.Left), top(r.Top), right(r.Right), bottom(r.Bottom) {}  // NOLINT
  double Width() const { return right - left; }
  double Height() const { return bottom - top; }
  TRectF Inflated(double d) const { return {left - d, top - d, right + d, bottom + d}; }
};

struct TPointF {
  double x = 0, y = 0;
};

// A paint: a solid colour, or a linear gradient of stops along one axis of a
// reference rectangle (top to bottom, or left to right).
class TFill {
 public:
  TFill(uint32_t solid) : stops_{{0.0, solid}} {}  // NOLINT: a colour is a fill
  static TFill Vertical(const TRectF& ref, std::vector<std::pair<double, uint32_t>> stops);
  static TFill Vertical(const TRectF& ref, uint32_t top, uint32_t bottom) {
    return Vertical(ref, {{0.0, top}, {1.0, bottom}});
  }
  static TFill Horizontal(const TRectF& ref, std::vector<std::pair<double, uint32_t>> stops);
  static TFill Horizontal(const TRectF& ref, uint32_t left, uint32_t right) {
    return Horizontal(ref, {{0.0, left}, {1.0, right}});
  }
  uint32_t At(double x, double y) const;

 private:
  TFill() = default;
  std::vector<std::pair<double, uint32_t>> stops_;
  bool vertical_ = true;
  double from_ = 0, to_ = 1;
};

// Corner radii of a rounded rectangle (top-left, top-right, bottom-right,
// bottom-left).
struct TRadii {
  double tl = 0, tr = 0, br = 0, bl = 0;
  TRadii() = default;
  TRadii(double r) : tl(r), tr(r), br(r), bl(r) {}  // NOLINT: one radius for all
  TRadii(double a, double b, double c, double d) : tl(a), tr(b), br(c), bl(d) {}
  static TRadii Top(double r) { return {r, r, 0, 0}; }
  static TRadii Bottom(double r) { return {0, 0, r, r}; }
};

// Signed distance from a point to a rounded rectangle (negative inside).
double RoundRectDistance(const TRectF& r, const TRadii& radii, double x, double y);

class TPainter {
 public:
  explicit TPainter(TPixmap& target) : target_(target), clip_(target.Bounds()) {}

  TPixmap& Target() { return target_; }
  // Painting is limited to this rectangle (and the target).
  void SetClip(const TRect& r);
  void ResetClip() { clip_ = target_.Bounds(); }

  // Replaces pixels (no blending) in a pixel rectangle.
  void Set(const TRect& r, uint32_t color);
  // Blends a paint over a pixel rectangle.
  void Fill(const TRect& r, const TFill& fill);

  void FillRoundRect(const TRectF& r, const TRadii& radii, const TFill& fill);
  // A border of `width` pixels just inside the rectangle's edge.
  void StrokeRoundRect(const TRectF& r, const TRadii& radii, double width, const TFill& fill);
  void FillCircle(double cx, double cy, double radius, const TFill& fill);
  void StrokeCircle(double cx, double cy, double radius, double width, const TFill& fill);
  void FillPolygon(const std::vector<TPointF>& points, const TFill& fill);
  void Line(double x0, double y0, double x1, double y1, double width, const TFill& fill);
  // A polyline of round-jointed segments (check marks, chevrons).
  void Polyline(const std::vector<TPointF>& points, double width, const TFill& fill);
  // Small glyphs of both skins, centred on (cx, cy): an open arrow (chevron)
  // `size` wide pointing up (dir 0), right (1), down (2) or left (3); a check
  // mark fitting a box of `size`; a diagonal cross `size` wide.
  void OpenArrow(double cx, double cy, double size, int dir, double width, const TFill& fill);
  void CheckMark(double cx, double cy, double size, double width, const TFill& fill);
  void Cross(double cx, double cy, double size, double width, const TFill& fill);

  // A blurred copy of a rounded rectangle's shape: opacity falls from
  // `color`'s alpha inside to 0 over `blur` pixels around the edge.
  void SoftShadow(const TRectF& r, const TRadii& radii, double blur, uint32_t color);
  // Noise of +-amount on the colour channels in a rectangle (brushed and
  // grainy surfaces); deterministic for a given seed.
  void Grain(const TRect& r, int amount, uint32_t seed);

  // Text in `font` (a fontconfig family name, "Arial" or "Tahoma") at a pixel
  // height, aligned in r (DT_ flags of host/graphics/Canvas.h). Drawn on an
  // opaque target only.
  void Text(const TRect& r, std::string_view text, const std::string& font, int height, bool bold,
            uint32_t color, uint32_t dtFlags);

  // Blends `color` at `coverage` (0..1) over pixel (x, y); clipped.
  void Blend(int x, int y, uint32_t color, double coverage);

 private:
  // Walks the pixels of `bounds` (clipped) and blends `fill` with the
  // coverage that `coverage(x + 0.5, y + 0.5)` returns.
  void Shade(const TRectF& bounds, const TFill& fill,
             const std::function<double(double, double)>& coverage);

  TPixmap& target_;
  TRect clip_;
};

}  // namespace qz::skingen
