#include "skin/draw/ToolImages.h"

#include <algorithm>
#include <cmath>

#include "host/base/Stream.h"
#include "skin/draw/PngImage.h"

namespace qz {
namespace {

struct TPt {
  double X, Y;
};

// 4 x 4 samples per pixel give the soft edges.
constexpr int kSamples = 4;

bool Inside(const std::vector<TPt>& poly, double x, double y) {
  bool in = false;
  for (size_t i = 0, j = poly.size() - 1; i < poly.size(); j = i++) {
    const TPt &a = poly[i], &b = poly[j];
    if ((a.Y > y) != (b.Y > y) && x < (b.X - a.X) * (y - a.Y) / (b.Y - a.Y) + a.X) in = !in;
  }
  return in;
}

// Straight-alpha "over" of colour rgb with coverage alpha onto a pixel.
uint32_t Over(uint32_t dst, uint32_t rgb, double alpha) {
  double da = (dst >> 24) / 255.0;
  double outA = alpha + da * (1 - alpha);
  if (outA <= 0) return 0;
  uint32_t out = uint32_t(std::lround(outA * 255)) << 24;
  for (int shift = 0; shift < 24; shift += 8) {
    double s = (rgb >> shift) & 0xFF, d = (dst >> shift) & 0xFF;
    double c = (s * alpha + d * da * (1 - alpha)) / outA;
    out |= uint32_t(std::clamp(std::lround(c), 0L, 255L)) << shift;
  }
  return out;
}

void Fill(TPixmap& p, const std::vector<TPt>& poly, uint32_t rgb) {
  for (int y = 0; y < p.Height(); ++y)
    for (int x = 0; x < p.Width(); ++x) {
      int hits = 0;
      for (int sy = 0; sy < kSamples; ++sy)
        for (int sx = 0; sx < kSamples; ++sx)
          hits += Inside(poly, x + (sx + 0.5) / kSamples, y + (sy + 0.5) / kSamples);
      if (hits) p.At(x, y) = Over(p.At(x, y), rgb, double(hits) / (kSamples * kSamples));
    }
}

void FillBox(TPixmap& p, double l, double t, double r, double b, uint32_t rgb) {
  Fill(p, {{l, t}, {r, t}, {r, b}, {l, b}}, rgb);
}

// The polygon pulled towards its centre: the lighter inside of a shape whose
// darker copy underneath shows as its outline.
std::vector<TPt> Shrunk(const std::vector<TPt>& poly, double factor) {
  TPt c{0, 0};
  for (const TPt& q : poly) c.X += q.X / poly.size(), c.Y += q.Y / poly.size();
  std::vector<TPt> out;
  for (const TPt& q : poly) out.push_back({c.X + (q.X - c.X) * factor, c.Y + (q.Y - c.Y) * factor});
  return out;
}

void OutlinedShape(TPixmap& p, const std::vector<TPt>& poly, uint32_t edge, uint32_t face) {
  Fill(p, poly, edge);
  Fill(p, Shrunk(poly, 0.78), face);
}

// Arrow pointing left; transposed it points up.
std::vector<TPt> Arrow(bool up) {
  std::vector<TPt> a = {{1.5, 8}, {8, 1.5}, {8, 5.5}, {14.5, 5.5}, {14.5, 10.5}, {8, 10.5}, {8, 14.5}};
  if (up)
    for (TPt& q : a) std::swap(q.X, q.Y);
  return a;
}

void DrawNewFolder(TPixmap& p) {
  OutlinedShape(p, {{0.5, 4.5}, {5.5, 4.5}, {7, 6}, {13.5, 6}, {13.5, 14.5}, {0.5, 14.5}}, 0xA07800,
                0xF0C850);
  OutlinedShape(p, {{0.5, 8}, {13.5, 8}, {13.5, 14.5}, {0.5, 14.5}}, 0xA07800, 0xFFDD70);
  // The "new" mark: a small green plus at the top right.
  FillBox(p, 11.5, 0.5, 14.5, 7.5, 0x1E7A28);
  FillBox(p, 9.5, 2.5, 16, 5.5, 0x1E7A28);
  FillBox(p, 12.5, 1.5, 13.5, 6.5, 0x7CE07C);
  FillBox(p, 10.5, 3.5, 15, 4.5, 0x7CE07C);
}

void DrawViewStyles(TPixmap& p) {
  for (double top : {1.0, 9.0})
    for (double left : {1.0, 9.0}) {
      double r = left + 6, b = top + 6, k = 1.5;  // corners cut: soft edges
      Fill(p, {{left + k, top}, {r - k, top}, {r, top + k}, {r, b - k}, {r - k, b}, {left + k, b},
               {left, b - k}, {left, top + k}}, 0x2A5A9C);
      FillBox(p, left + 1, top + 1, left + 5, top + 5, 0x9CC4F0);
    }
}

void DrawFitPicture(TPixmap& p) {
  FillBox(p, 2.5, 2.5, 13.5, 13.5, 0x505050);
  FillBox(p, 3.5, 3.5, 12.5, 12.5, 0x8CC8F0);  // sky
  Fill(p, {{3.5, 12.5}, {3.5, 9}, {7, 6.5}, {10, 9}, {12.5, 8}, {12.5, 12.5}}, 0x3C9640);  // hills
  // Corner arrows pointing outwards: the picture fills the space.
  Fill(p, {{0, 0}, {4.5, 0}, {0, 4.5}}, 0x1E4E8C);
  Fill(p, {{16, 0}, {16, 4.5}, {11.5, 0}}, 0x1E4E8C);
  Fill(p, {{0, 16}, {0, 11.5}, {4.5, 16}}, 0x1E4E8C);
  Fill(p, {{16, 16}, {11.5, 16}, {16, 11.5}}, 0x1E4E8C);
}

}  // namespace

std::string ToolImageResourceName(TqzToolImage image) {
  switch (image) {
    case TqzToolImage::tiBack: return "QZ_BACK_PNG";
    case TqzToolImage::tiUp: return "QZ_UP_PNG";
    case TqzToolImage::tiNewFolder: return "QZ_NEWFOLDER_PNG";
    case TqzToolImage::tiLvStyle: return "QZ_LVSTYLE_PNG";
    case TqzToolImage::tiStretch: return "QZ_STRETCH_PNG";
  }
  return {};
}

TPixmap DrawToolImage(TqzToolImage image) {
  TPixmap p(kToolImageSize, kToolImageSize, 0);
  switch (image) {
    case TqzToolImage::tiBack:
      OutlinedShape(p, Arrow(false), 0x1E6E2A, 0x5CC85C);
      break;
    case TqzToolImage::tiUp:
      OutlinedShape(p, Arrow(true), 0x1E6E2A, 0x5CC85C);
      break;
    case TqzToolImage::tiNewFolder:
      DrawNewFolder(p);
      break;
    case TqzToolImage::tiLvStyle:
      DrawViewStyles(p);
      break;
    case TqzToolImage::tiStretch:
      DrawFitPicture(p);
      break;
  }
  return p;
}

std::vector<uint8_t> EncodeToolImage(TqzToolImage image) {
  TqzPngImage png;
  png.CreateFromPixmap(DrawToolImage(image), true);
  TMemoryStream out;
  png.SaveToStream(out);
  return out.Data();
}

}  // namespace qz
