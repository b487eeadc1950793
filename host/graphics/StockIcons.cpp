#include "host/graphics/StockIcons.h"

#include <algorithm>
#include <cmath>
#include <numbers>
#include <vector>

namespace qz {

namespace {

struct TPoint2 {
  float X, Y;
};

// A shape in a 32 × 32 design grid: the points within Radius of a polyline
// (one point: a disc; two: a stroke with round ends), and with Filled also
// the inside of the closed polygon (a polygon with rounded corners).
struct TShape {
  std::vector<TPoint2> Points;
  float Radius = 0;
  bool Filled = false;
  uint32_t Color = 0;  // 0xAARRGGBB

  bool Contains(TPoint2 p) const {
    if (Filled && InsidePolygon(p)) return true;
    const float r2 = Radius * Radius;
    const size_t n = Points.size();
    if (n == 1) return Distance2(p, Points[0], Points[0]) <= r2;
    const size_t segments = Filled ? n : n - 1;
    for (size_t i = 0; i < segments; ++i)
      if (Distance2(p, Points[i], Points[(i + 1) % n]) <= r2) return true;
    return false;
  }

 private:
  static float Distance2(TPoint2 p, TPoint2 a, TPoint2 b) {
    const float dx = b.X - a.X, dy = b.Y - a.Y;
    const float len2 = dx * dx + dy * dy;
    const float t = len2 > 0 ? std::clamp(((p.X - a.X) * dx + (p.Y - a.Y) * dy) / len2, 0.f, 1.f) : 0.f;
    const float ex = a.X + t * dx - p.X, ey = a.Y + t * dy - p.Y;
    return ex * ex + ey * ey;
  }
  bool InsidePolygon(TPoint2 p) const {
    bool inside = false;
    for (size_t i = 0, j = Points.size() - 1; i < Points.size(); j = i++) {
      const TPoint2 a = Points[i], b = Points[j];
      if ((a.Y > p.Y) != (b.Y > p.Y) && p.X < (b.X - a.X) * (p.Y - a.Y) / (b.Y - a.Y) + a.X)
        inside = !inside;
    }
    return inside;
  }
};

TShape Disc(float x, float y, float r, uint32_t color) { return {{{x, y}}, r, false, color}; }
TShape Stroke(std::vector<TPoint2> points, float r, uint32_t color) {
  return {std::move(points), r, false, color};
}
TShape Fill(std::vector<TPoint2> points, float cornerRadius, uint32_t color) {
  return {std::move(points), cornerRadius, true, color};
}

// Scales points about (cx, cy): an inner copy of a convex outline.
std::vector<TPoint2> Shrunk(std::vector<TPoint2> points, float cx, float cy, float factor) {
  for (TPoint2& p : points) p = {cx + (p.X - cx) * factor, cy + (p.Y - cy) * factor};
  return points;
}

// The hook of a "?": an arc over the top of a circle turning down into a stem.
std::vector<TPoint2> QuestionHook() {
  std::vector<TPoint2> points;
  const float cx = 16, cy = 12, r = 4.6f;
  for (int degrees = 160; degrees >= -60; degrees -= 10) {
    const float t = float(degrees) * std::numbers::pi_v<float> / 180;
    points.push_back({cx + r * std::cos(t), cy - r * std::sin(t)});
  }
  points.push_back({16, 18.2f});
  points.push_back({16, 19});
  return points;
}

std::vector<TShape> Design(TStockIcon icon) {
  constexpr uint32_t kWhite = 0xFFFFFFFF;
  const auto badge = [](uint32_t rim, uint32_t face) {
    return std::vector<TShape>{Disc(16, 16, 14.5f, rim), Disc(16, 16, 13.2f, face)};
  };
  std::vector<TShape> shapes;
  switch (icon) {
    case TStockIcon::Warning: {
      const std::vector<TPoint2> outline{{16, 3}, {29.5f, 27}, {2.5f, 27}};
      shapes = {Fill(outline, 2, 0xFFC28A00), Fill(Shrunk(outline, 16, 19, 0.88f), 1.2f, 0xFFF8D32C),
                Stroke({{16, 10.5f}, {16, 18.5f}}, 1.9f, 0xFF2E2E2E), Disc(16, 23, 2, 0xFF2E2E2E)};
      break;
    }
    case TStockIcon::Error:
      shapes = badge(0xFFA51D2D, 0xFFE01B24);
      shapes.push_back(Stroke({{11, 11}, {21, 21}}, 2, kWhite));
      shapes.push_back(Stroke({{21, 11}, {11, 21}}, 2, kWhite));
      break;
    case TStockIcon::Information:
      shapes = badge(0xFF1A5FB4, 0xFF3584E4);
      shapes.push_back(Disc(16, 9.5f, 2.2f, kWhite));
      shapes.push_back(Stroke({{16, 14.5f}, {16, 23.5f}}, 2, kWhite));
      break;
    case TStockIcon::Question:
      shapes = badge(0xFF1A5FB4, 0xFF3584E4);
      shapes.push_back(Stroke(QuestionHook(), 2, kWhite));
      shapes.push_back(Disc(16, 23.5f, 2.2f, kWhite));
      break;
    case TStockIcon::Folder:
      shapes = {Fill({{3, 6}, {12, 6}, {14.5f, 9}, {29, 9}, {29, 26}, {3, 26}}, 1.5f, 0xFFB87A12),
                Fill({{3, 12.5f}, {29, 12.5f}, {29, 26}, {3, 26}}, 1.5f, 0xFFF2B540)};
      break;
    case TStockIcon::File:
      shapes = {Fill({{7, 3}, {20, 3}, {26, 9}, {26, 29}, {7, 29}}, 1, 0xFF8A8A8A),
                Fill({{8, 4}, {19.6f, 4}, {25, 9.4f}, {25, 28}, {8, 28}}, 0, kWhite),
                Fill({{20, 3}, {20, 9}, {26, 9}}, 0.6f, 0xFFC0C0C0)};
      for (const float y : {14.f, 18.f, 22.f}) shapes.push_back(Stroke({{11, y}, {22, y}}, 0.7f, 0xFFB0B0B0));
      break;
  }
  return shapes;
}

// Premultiplied colour sums of a pixel's samples.
struct TSum {
  float A = 0, R = 0, G = 0, B = 0;
};

// Paints the shapes over each other ("over"), sample by sample, and
// averages each pixel's samples: antialiased edges and straight alpha.
TPixmap Render(const std::vector<TShape>& shapes, int size) {
  TPixmap pixmap(size, size, 0);
  const int samples = size <= 64 ? 8 : 4;  // per axis
  const float unitsPerSample = 32.f / float(size * samples);
  for (int y = 0; y < size; ++y)
    for (int x = 0; x < size; ++x) {
      TSum sum;
      for (int sy = 0; sy < samples; ++sy)
        for (int sx = 0; sx < samples; ++sx) {
          const TPoint2 p{(float(x * samples + sx) + 0.5f) * unitsPerSample,
                          (float(y * samples + sy) + 0.5f) * unitsPerSample};
          TSum s;
          for (const TShape& shape : shapes) {
            if (!shape.Contains(p)) continue;
            const float a = float(shape.Color >> 24) / 255;
            const auto over = [&](float& dst, uint32_t channel) { dst = channel * a + dst * (1 - a); };
            over(s.R, (shape.Color >> 16) & 0xFF);
            over(s.G, (shape.Color >> 8) & 0xFF);
            over(s.B, shape.Color & 0xFF);
            s.A = a + s.A * (1 - a);
          }
          sum.A += s.A, sum.R += s.R, sum.G += s.G, sum.B += s.B;
        }
      if (sum.A <= 0) continue;
      const auto channel = [&](float premultiplied) {
        return uint32_t(std::clamp(std::lround(premultiplied / sum.A), 0L, 255L));
      };
      const uint32_t alpha = uint32_t(std::lround(sum.A * 255 / float(samples * samples)));
      pixmap.At(x, y) = alpha << 24 | channel(sum.R) << 16 | channel(sum.G) << 8 | channel(sum.B);
    }
  return pixmap;
}

}  // namespace

TPixmap DrawStockIcon(TStockIcon icon, int size) {
  if (size < 1 || size > kMaxStockIconSize) return {};
  return Render(Design(icon), size);
}

std::optional<TStockIcon> StockIconForName(std::string_view name) {
  if (name == "dialog-warning") return TStockIcon::Warning;
  if (name == "dialog-error") return TStockIcon::Error;
  if (name == "dialog-information") return TStockIcon::Information;
  if (name == "dialog-question") return TStockIcon::Question;
  if (name == "folder" || name.starts_with("folder-") || name == "inode-directory")
    return TStockIcon::Folder;
  if (name == "text-x-generic" || name == "application-x-generic" ||
      name == "application-octet-stream" || name == "unknown")
    return TStockIcon::File;
  return std::nullopt;
}

}  // namespace qz
