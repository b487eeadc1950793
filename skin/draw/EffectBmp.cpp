// TqzEffectBmp: the 24-bit image on which morphs and inactive-window effects
// are computed.
#include "skin/draw/EffectBmp.h"

#include <algorithm>
#include <array>
#include <cstring>
#include <new>
#include <random>

#include "host/graphics/Bitmap.h"
#include "host/graphics/Canvas.h"
#include "skin/draw/PixelOps.h"

namespace qz {

namespace {

// Rows hold Width * 3 bytes and are padded by Width mod 4 bytes, which makes
// every stride a multiple of 4.
int StrideFor(int width) { return width * 3 + width % 4; }

// The step counter of the gradient morphs: starts at 0, grows by step after
// each column or row, never beyond 1.
struct TStepCounter {
  double value = 0.0;
  double step;
  explicit TStepCounter(double s) : step(s) {}
  void Advance() { value = std::min(1.0, value + step); }
};

// blend(o) on one pixel: round(this * o + other * (1 - o)) per channel.
inline void BlendPixel3(uint8_t* px, const uint8_t* other, double o) {
  const double p = 1.0 - o;
  px[0] = ClampToByte(px[0] * o + other[0] * p);
  px[1] = ClampToByte(px[1] * o + other[1] * p);
  px[2] = ClampToByte(px[2] * o + other[2] * p);
}

double Clamp01(double kf) { return kf < 0.0 ? 0.0 : kf > 1.0 ? 1.0 : kf; }

// round(n * kf) for the morph widths (kf already in 0..1).
int RoundedPart(int n, double kf) { return int(RoundHalfEven(n * kf)); }

}  // namespace

// ---------------------------------------------------------------------------
// Construction, access, drawing

TqzEffectBmp::TqzEffectBmp(int width, int height) {
  if (width <= 0 || height <= 0) return;
  // Same limit as TqzBitmap; checked before the stride is formed in int.
  if ((int64_t(width) * 3 + width % 4) * height > kMaxBitmapBytes)
    throw EOutOfResources(kErrAllocDib);
  width_ = width;
  height_ = height;
  stride_ = StrideFor(width);
  try {
    bits_.assign(size_t(stride_) * size_t(height_), 0);
  } catch (const std::bad_alloc&) {
    throw EOutOfResources(kErrAllocDib);
  }
}

TqzEffectBmp::TqzEffectBmp(const TPixmap& source)
    : TqzEffectBmp(source.Width(), source.Height()) {
  for (int y = 0; y < height_; ++y) {
    const uint32_t* in = source.Row(y);
    uint8_t* out = RowPtr(y);
    for (int x = 0; x < width_; ++x) {
      out[3 * x + 0] = uint8_t(in[x]);
      out[3 * x + 1] = uint8_t(in[x] >> 8);
      out[3 * x + 2] = uint8_t(in[x] >> 16);
    }
  }
}

TqzEffectBmp::TqzEffectBmp(const TBitmap& source) : TqzEffectBmp(source.Pixels()) {}

TqzBitmapInfoHeader TqzEffectBmp::BitmapInfo() const {
  TqzBitmapInfoHeader info;
  info.biWidth = width_;
  info.biHeight = -height_;
  info.biBitCount = 24;
  return info;
}

uint32_t TqzEffectBmp::GetPixel(int x, int y) const {
  const uint8_t* p = RowPtr(y) + 3 * x;
  return uint32_t(p[0]) | (uint32_t(p[1]) << 8) | (uint32_t(p[2]) << 16);
}

void TqzEffectBmp::SetPixel(int x, int y, uint32_t color) {
  uint8_t* p = RowPtr(y) + 3 * x;
  p[0] = uint8_t(color);
  p[1] = uint8_t(color >> 8);
  p[2] = uint8_t(color >> 16);
}

void TqzEffectBmp::ReadRow(int y, uint8_t* buffer) const {
  std::memcpy(buffer, RowPtr(y), size_t(width_) * 3);
}

void TqzEffectBmp::WriteRow(int y, const uint8_t* buffer) {
  std::memcpy(RowPtr(y), buffer, size_t(width_) * 3);
}

namespace {

void WriteOpaqueRow(const uint8_t* in, uint32_t* out, int count) {
  for (int x = 0; x < count; ++x)
    out[x] = 0xFF000000 | (uint32_t(in[3 * x + 2]) << 16) | (uint32_t(in[3 * x + 1]) << 8) |
             in[3 * x];
}

void DrawRows(const TqzEffectBmp& image, TPixmap& target, TPoint at, const TRect& clip) {
  TRect c;
  if (!IntersectRect(c, Bounds(at.X, at.Y, image.Width(), image.Height()), clip) ||
      !IntersectRect(c, c, target.Bounds()))
    return;
  for (int y = c.Top; y < c.Bottom; ++y)
    WriteOpaqueRow(image.RowPtr(y - at.Y) + 3 * (c.Left - at.X), target.Row(y) + c.Left,
                   c.Width());
}

}  // namespace

TPixmap TqzEffectBmp::ToPixmap() const {
  TPixmap out(width_, height_);
  DrawTo(out, 0, 0);
  return out;
}

void TqzEffectBmp::DrawTo(TPixmap& target, int x, int y) const {
  DrawRows(*this, target, {x, y}, target.Bounds());
}

void TqzEffectBmp::Draw(HDC dc, int x, int y) const {
  if (!dc || !dc->Target() || width_ == 0) return;
  const TPoint at = dc->LogicalToDevice(TPoint{x, y});
  for (const TRect& clip : dc->DeviceClipRects()) DrawRows(*this, *dc->Target(), at, clip);
}

// ---------------------------------------------------------------------------
// Morphs

void TqzEffectBmp::Morph(const TqzEffectBmp& other, double kf) {
  if (!SameSize(other)) return;
  kf = Clamp01(kf);
  // (1 - Kf) * this + Kf * other, each product looked up once per value.
  std::array<double, 256> mine, theirs;
  for (int v = 0; v < 256; ++v) {
    mine[size_t(v)] = (1.0 - kf) * v;
    theirs[size_t(v)] = kf * v;
  }
  for (int y = 0; y < height_; ++y) {
    uint8_t* row = RowPtr(y);
    const uint8_t* o = other.RowPtr(y);
    for (int i = 0; i < width_ * 3; ++i) row[i] = ClampToByte(mine[row[i]] + theirs[o[i]]);
  }
}

void TqzEffectBmp::MorphGrad(const TqzEffectBmp& other, double kf) {
  if (width_ < height_)
    MorphVGrad(other, kf);
  else
    MorphHGrad(other, kf);
}

void TqzEffectBmp::MorphHGrad(const TqzEffectBmp& other, double kf) {
  if (!SameSize(other) || width_ == 0) return;
  kf = Clamp01(kf);
  const int w = width_;
  const int a = RoundedPart(w, kf);
  const int b = (w - a) / 2;
  const double step = b == 0 ? 1.0 : 1.0 / b;
  const int g = std::max(0, w / 2 - a / 2);
  const int e = std::min(w - 1, a / 2 + w / 2);
  for (int y = 0; y < height_; ++y) {
    uint8_t* row = RowPtr(y);
    const uint8_t* o = other.RowPtr(y);
    if (g <= e) std::memcpy(row + 3 * g, o + 3 * g, size_t(e - g + 1) * 3);
    TStepCounter down(step);
    for (int x = g; x >= 0; --x, down.Advance()) BlendPixel3(row + 3 * x, o + 3 * x, down.value);
    TStepCounter up(step);
    for (int x = e; x < w; ++x, up.Advance()) BlendPixel3(row + 3 * x, o + 3 * x, up.value);
  }
}

void TqzEffectBmp::MorphVGrad(const TqzEffectBmp& other, double kf) {
  if (!SameSize(other) || height_ == 0) return;
  kf = Clamp01(kf);
  const int h = height_;
  const int a = RoundedPart(h, kf);
  const int b = (h - a - 1) / 2;
  const double step = b == 0 ? 0.0 : 1.0 / b;
  const int g = std::max(0, h / 2 - a / 2);
  const int e = std::min(h - 1, a / 2 + h / 2);
  const size_t rowBytes = size_t(width_) * 3;
  for (int y = g; y <= e; ++y) std::memcpy(RowPtr(y), other.RowPtr(y), rowBytes);
  auto blendRow = [&](int y, double o) {
    uint8_t* row = RowPtr(y);
    const uint8_t* src = other.RowPtr(y);
    for (int x = 0; x < width_; ++x) BlendPixel3(row + 3 * x, src + 3 * x, o);
  };
  TStepCounter down(step);
  for (int y = g; y >= 0; --y, down.Advance()) blendRow(y, down.value);
  TStepCounter up(step);
  for (int y = e; y < h; ++y, up.Advance()) blendRow(y, up.value);
}

void TqzEffectBmp::MorphLeftGrad(const TqzEffectBmp& other, double kf) {
  if (!SameSize(other) || width_ == 0) return;
  kf = Clamp01(kf);
  // a in 1..Width-1; a one-pixel-wide image has only column 0.
  const int a = std::min(std::max(RoundedPart(width_, kf), 1), width_ - 1);
  const double step = a > 0 ? 1.0 / a : 1.0;
  for (int y = 0; y < height_; ++y) {
    uint8_t* row = RowPtr(y);
    const uint8_t* o = other.RowPtr(y);
    TStepCounter o1(step);
    for (int x = 0; x <= a; ++x, o1.Advance()) BlendPixel3(row + 3 * x, o + 3 * x, o1.value);
  }
}

void TqzEffectBmp::MorphRightGrad(const TqzEffectBmp& other, double kf) {
  if (!SameSize(other) || width_ == 0) return;
  kf = Clamp01(kf);
  const int b = std::min(std::max(width_ - RoundedPart(width_, kf), 0), width_ - 1);
  const double step = 1.0 / (width_ - b);
  for (int y = 0; y < height_; ++y) {
    uint8_t* row = RowPtr(y);
    const uint8_t* o = other.RowPtr(y);
    TStepCounter o1(step);
    for (int x = width_ - 1; x >= b; --x, o1.Advance())
      BlendPixel3(row + 3 * x, o + 3 * x, o1.value);
  }
}

void TqzEffectBmp::MorphLeftSlide(const TqzEffectBmp& other, double kf) {
  if (!SameSize(other) || width_ < 2) return;
  kf = Clamp01(kf);
  const int a = std::min(std::max(RoundedPart(width_, kf), 1), width_ - 1);
  for (int y = 0; y < height_; ++y)
    std::memcpy(RowPtr(y), other.RowPtr(y) + 3 * (width_ - a), size_t(a) * 3);
}

void TqzEffectBmp::MorphRightSlide(const TqzEffectBmp& other, double kf) {
  if (!SameSize(other) || width_ < 2) return;
  kf = Clamp01(kf);
  const int a = std::min(std::max(RoundedPart(width_, kf), 1), width_ - 1);
  for (int y = 0; y < height_; ++y)
    std::memcpy(RowPtr(y) + 3 * (width_ - a), other.RowPtr(y), size_t(a) * 3);
}

void TqzEffectBmp::MorphPush(const TqzEffectBmp& other, double kf) {
  if (!SameSize(other) || width_ == 0) return;
  kf = Clamp01(kf);
  const int w = width_;
  const int a = std::min(std::max(RoundedPart(w, kf), 0), w - 1);
  for (int y = 0; y < height_; ++y) {
    uint8_t* row = RowPtr(y);
    // Shift right by a + 1, right to left so each source is read unchanged;
    // column a takes column 0.
    for (int x = w - 1; x >= a; --x) {
      const int from = x > a ? x - a - 1 : 0;
      std::memcpy(row + 3 * x, row + 3 * from, 3);
    }
    std::memcpy(row, other.RowPtr(y) + 3 * (w - a - 1), size_t(a + 1) * 3);
  }
}

void TqzEffectBmp::MorphRect(const TqzEffectBmp& other, const TRect& rect, int otherTop,
                             int otherLeft, double kf) {
  kf = Clamp01(kf);
  // Limit the rectangle so that both this image and other are read and
  // written inside their pixels only.
  TRect r = Intersection(rect, TRect{0, 0, width_, height_});
  const TRect otherArea = OffsetRect(TRect{0, 0, other.width_, other.height_},
                                     rect.Left - otherLeft, rect.Top - otherTop);
  r = Intersection(r, otherArea);
  if (r.IsEmpty()) return;
  for (int y = r.Top; y < r.Bottom; ++y) {
    uint8_t* row = RowPtr(y);
    const uint8_t* o = other.RowPtr(otherTop + y - rect.Top);
    for (int x = r.Left; x < r.Right; ++x) {
      const int ox = otherLeft + x - rect.Left;
      for (int c = 0; c < 3; ++c)
        row[3 * x + c] = ClampToByte((1.0 - kf) * row[3 * x + c] + kf * o[3 * ox + c]);
    }
  }
}

void TqzEffectBmp::ApplyMorph(int kind, const TqzEffectBmp& other, double kf) {
  switch (kind) {
    case mkGradient: MorphGrad(other, kf); break;
    case mkLeftGradient: MorphLeftGrad(other, kf); break;
    case mkRightGradient: MorphRightGrad(other, kf); break;
    case mkLeftSlide: MorphLeftSlide(other, kf); break;
    case mkRightSlide: MorphRightSlide(other, kf); break;
    case mkPush: MorphPush(other, kf); break;
    default: Morph(other, kf); break;
  }
}

// ---------------------------------------------------------------------------
// Colour effects

namespace {

void ApplyTable(TqzEffectBmp& image, const std::array<uint8_t, 256>& table) {
  for (int y = 0; y < image.Height(); ++y) {
    uint8_t* row = image.RowPtr(y);
    for (int i = 0; i < image.Width() * 3; ++i) row[i] = table[row[i]];
  }
}

}  // namespace

void TqzEffectBmp::ChangeBrightness(double kf) {
  kf = Clamp01(kf);
  std::array<uint8_t, 256> table;
  for (int c = 0; c < 256; ++c) table[size_t(c)] = ClampToByte((1.0 - kf) * c + 255.0 * kf);
  ApplyTable(*this, table);
}

void TqzEffectBmp::ChangeDarkness(double kf) {
  kf = Clamp01(kf);
  std::array<uint8_t, 256> table;
  for (int c = 0; c < 256; ++c) table[size_t(c)] = ClampToByte((1.0 - kf) * c);
  ApplyTable(*this, table);
}

void TqzEffectBmp::Invert() {
  std::array<uint8_t, 256> table;
  for (int c = 0; c < 256; ++c) table[size_t(c)] = uint8_t(255 - c);
  ApplyTable(*this, table);
}

void TqzEffectBmp::GrayScale() {
  for (int y = 0; y < height_; ++y) {
    uint8_t* px = RowPtr(y);
    for (int x = 0; x < width_; ++x, px += 3) {
      // round((30 r + 59 g + 11 b) / 100), halves to even, in integers.
      const int sum = 30 * px[2] + 59 * px[1] + 11 * px[0];
      int q = sum / 100;
      const int rem = sum % 100;
      if (rem > 50 || (rem == 50 && (q & 1))) ++q;
      px[0] = px[1] = px[2] = uint8_t(q);
    }
  }
}

void TqzEffectBmp::AddNoise(int range) {
  if (range <= 0) return;
  thread_local std::minstd_rand generator{std::random_device{}()};
  std::uniform_int_distribution<int> random(0, range - 1);
  const int half = range / 2;
  for (int y = 0; y < height_; ++y) {
    uint8_t* px = RowPtr(y);
    for (int x = 0; x < width_; ++x, px += 3) {
      const int d = random(generator) - half;
      px[0] = ClampToByte(px[0] + d);
      px[1] = ClampToByte(px[1] + d);
      px[2] = ClampToByte(px[2] + d);
    }
  }
}

void TqzEffectBmp::SplitBlur(int amount) {
  if (amount <= 0 || width_ == 0) return;
  const int w = width_, h = height_;
  // Each row is computed into a scratch row from the image (rows above are
  // already done) and written back. The far-edge fallbacks (Height - Y,
  // Width - X) are kept inside the image.
  std::vector<uint8_t> scratch(size_t(w) * 3);
  std::vector<int> leftCol(static_cast<size_t>(w)), rightCol(static_cast<size_t>(w));
  for (int x = 0; x < w; ++x) {
    leftCol[size_t(x)] = x - amount < 0 ? x : x - amount;
    rightCol[size_t(x)] = x + amount >= w ? std::min(w - x, w - 1) : x + amount;
  }
  for (int y = 0; y < h; ++y) {
    const uint8_t* upper = RowPtr(y - amount < 0 ? y : y - amount);
    const uint8_t* lower = RowPtr(y + amount >= h ? std::min(h - y, h - 1) : y + amount);
    for (int x = 0; x < w; ++x) {
      const int l = 3 * leftCol[size_t(x)], r = 3 * rightCol[size_t(x)];
      for (int c = 0; c < 3; ++c)
        scratch[size_t(3 * x + c)] =
            uint8_t((upper[l + c] + lower[l + c] + upper[r + c] + lower[r + c]) >> 2);
    }
    WriteRow(y, scratch.data());
  }
}

void TqzEffectBmp::ApplyInactiveEffect(int effect) {
  switch (effect) {
    case ieBrightness: ChangeBrightness(0.5); break;
    case ieDarkness: ChangeDarkness(0.3); break;
    case ieNoise: AddNoise(50); break;
    case ieSplitBlur: SplitBlur(1); break;
    case ieInvert: Invert(); break;
    default: GrayScale(); break;
  }
}

// ---------------------------------------------------------------------------
// Geometry

void TqzEffectBmp::Rotate90_1(TqzEffectBmp& dest) const {
  if (dest.width_ != height_ || dest.height_ != width_) return;
  for (int y = 0; y < height_; ++y)
    for (int x = 0; x < width_; ++x)
      std::memcpy(dest.RowPtr(width_ - 1 - x) + 3 * y, RowPtr(y) + 3 * x, 3);
}

void TqzEffectBmp::Rotate90_2(TqzEffectBmp& dest) const {
  if (dest.width_ != height_ || dest.height_ != width_) return;
  for (int y = 0; y < height_; ++y) {
    const int dx = 3 * (height_ - 1 - y);
    for (int x = 0; x < width_; ++x) std::memcpy(dest.RowPtr(x) + dx, RowPtr(y) + 3 * x, 3);
  }
}

void TqzEffectBmp::FlipVert(TqzEffectBmp& dest) const {
  if (!SameSize(dest)) return;
  for (int y = 0; y < height_; ++y) dest.WriteRow(height_ - 1 - y, RowPtr(y));
}

}  // namespace qz
