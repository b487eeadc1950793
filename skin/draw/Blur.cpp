// BlurBitmap: separable tent filter with running sums, so each pixel costs
// the same whatever the radius.
//
// For the tent T(x) = sum over |k| <= R of (R + 1 - |k|) * p(x + k):
//   T(x + 1) = T(x) + Right(x) - Left(x),
//   Left(x)  = p(x - R) + ... + p(x)          (the falling half),
//   Right(x) = p(x + 1) + ... + p(x + R + 1)  (the rising half),
// and both halves slide by one addition and one subtraction.
#include <algorithm>
#include <cstdint>
#include <vector>

#include "skin/draw/EffectBmp.h"

namespace qz {

namespace {

// Exact truncating division by d for 0 <= n <= 255 * d: (n * mul) >> shift.
// With mul = ceil(2^shift / d) the error term stays below one part in d as
// long as 2^shift >= 255 * d^2.
struct TExactDivider {
  explicit TExactDivider(uint32_t d) {
    const unsigned __int128 need = static_cast<unsigned __int128>(255) * d * d;
    shift = 0;
    while ((static_cast<unsigned __int128>(1) << shift) < need) ++shift;
    mul = uint64_t(((static_cast<unsigned __int128>(1) << shift) + d - 1) / d);
  }
  uint32_t operator()(uint32_t n) const { return uint32_t((uint64_t(n) * mul) >> shift); }
  uint64_t mul;
  int shift;
};

// Horizontal pass over one row of 32-bit pixels into 3 bytes per pixel (B, G, R).
void BlurRow(const uint32_t* in, int width, int r, const TExactDivider& div,
             std::vector<uint8_t>& pad, uint8_t* out) {
  // pad holds p(j) for j = -r - 1 ... width + r + 1, edges repeated.
  const int len = width + 2 * r + 3;
  for (int k = 0; k < len; ++k) {
    const uint32_t px = in[std::clamp(k - r - 1, 0, width - 1)];
    pad[size_t(k) * 3 + 0] = uint8_t(px);
    pad[size_t(k) * 3 + 1] = uint8_t(px >> 8);
    pad[size_t(k) * 3 + 2] = uint8_t(px >> 16);
  }
  const uint8_t* p = pad.data() + size_t(r + 1) * 3;  // p[3 * j + c] = p(j)
  for (int c = 0; c < 3; ++c) {
    uint32_t total = 0, left = 0, right = 0;
    for (int k = -r; k <= r; ++k) total += uint32_t(r + 1 - std::abs(k)) * p[3 * k + c];
    for (int j = -r; j <= 0; ++j) left += p[3 * j + c];
    for (int j = 1; j <= r + 1; ++j) right += p[3 * j + c];
    const uint8_t* add = p + c;
    for (int x = 0; x < width; ++x) {
      out[3 * x + c] = uint8_t(div(total));
      total += right - left;
      left += add[3 * (x + 1)] - add[3 * (x - r)];
      right += add[3 * (x + r + 2)] - add[3 * (x + 1)];
    }
  }
}

}  // namespace

void BlurBitmap(TqzBitmap& bitmap, int radius) {
  if (radius <= 0 || bitmap.Empty()) return;
  const int r = std::min(radius, kMaxBlurRadius);
  const int w = bitmap.Width(), h = bitmap.Height();
  const TExactDivider div(uint32_t(r + 1) * uint32_t(r + 1));
  const size_t rowBytes = size_t(w) * 3;

  // Horizontal pass into channel rows.
  std::vector<uint8_t> planes(rowBytes * size_t(h));
  std::vector<uint8_t> pad(size_t(w + 2 * r + 3) * 3);
  for (int y = 0; y < h; ++y) BlurRow(bitmap.ScanLine(y), w, r, div, pad, &planes[rowBytes * y]);

  // Vertical pass: the same running sums, one per column and channel.
  auto row = [&](int y) { return &planes[rowBytes * size_t(std::clamp(y, 0, h - 1))]; };
  std::vector<uint32_t> total(rowBytes, 0), left(rowBytes, 0), right(rowBytes, 0);
  for (int k = -r; k <= r; ++k) {
    const uint8_t* src = row(k);
    const uint32_t weight = uint32_t(r + 1 - std::abs(k));
    for (size_t i = 0; i < rowBytes; ++i) total[i] += weight * src[i];
  }
  for (int j = -r; j <= 0; ++j) {
    const uint8_t* src = row(j);
    for (size_t i = 0; i < rowBytes; ++i) left[i] += src[i];
  }
  for (int j = 1; j <= r + 1; ++j) {
    const uint8_t* src = row(j);
    for (size_t i = 0; i < rowBytes; ++i) right[i] += src[i];
  }
  uint32_t* t = total.data();
  uint32_t* lf = left.data();
  uint32_t* rt = right.data();
  for (int y = 0; y < h; ++y) {
    uint32_t* out = bitmap.ScanLine(y);
    for (int x = 0; x < w; ++x) {
      out[x] = 0xFF000000 | (div(t[3 * x + 2]) << 16) | (div(t[3 * x + 1]) << 8) |
               div(t[3 * x]);
    }
    const uint8_t* next = row(y + 1);
    const uint8_t* leaving = row(y - r);
    const uint8_t* entering = row(y + r + 2);
    for (size_t i = 0; i < rowBytes; ++i) {
      t[i] += rt[i] - lf[i];
      lf[i] += uint32_t(next[i]) - leaving[i];
      rt[i] += uint32_t(entering[i]) - next[i];
    }
  }
}

}  // namespace qz
