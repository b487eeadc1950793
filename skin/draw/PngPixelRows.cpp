#include "skin/draw/PngPixelRows.h"

#include <cmath>

#include "skin/draw/PngImage.h"

namespace qz {
namespace {

inline uint32_t Argb(uint8_t a, uint8_t r, uint8_t g, uint8_t b) {
  return (uint32_t(a) << 24) | (uint32_t(r) << 16) | (uint32_t(g) << 8) | b;
}

}  // namespace

TqzPngPixelRows::TqzPngPixelRows(const TqzPngImage& image)
    : h_(*image.Header()),
      trns_(image.FindLayer<TqzPngLayertRNS>()),
      exponent_(image.GammaExponent()),
      identity_(exponent_ == 1.0) {
  for (int i = 0; i < 256; ++i) {
    const double v = i / 255.0;
    gamma8_[i] = identity_ ? uint8_t(std::lround(v * 255))
                           : uint8_t(std::floor(255 * std::pow(v, exponent_) + 0.5));
  }
  if (h_.BitmapBitCount() != 24) {
    for (int i = 0; i < 256; ++i) {
      const TqzPngRGB& c = h_.Palette()[i];
      const uint8_t a = (h_.ColorType() == 3 && trns_) ? trns_->PaletteAlpha()[i] : 255;
      palette_[i] = Argb(a, Map8(c.Red), Map8(c.Green), Map8(c.Blue));
    }
  }
}

// 16-bit samples are corrected at full precision, then keep their high
// byte, as uncorrected ones do.
uint8_t TqzPngPixelRows::Map16(int v) const {
  if (identity_) return uint8_t(v >> 8);
  return uint8_t(int(std::floor(65535 * std::pow(v / 65535.0, exponent_) + 0.5)) >> 8);
}

void TqzPngPixelRows::Convert(int row, uint32_t* dst) const {
  if (h_.BitmapBitCount() != 24)
    ConvertIndexed(row, dst);
  else if (h_.BitDepth() != 16 && !(h_.ColorType() == 2 && trns_))
    ConvertRgb8(row, dst);
  else
    ConvertGeneral(row, dst);
}

// Palette bitmap: colour from the table (or the 16-bit grey), alpha from the
// alpha plane, the palette's tRNS or the transparent grey.
void TqzPngPixelRows::ConvertIndexed(int row, uint32_t* dst) const {
  const bool deep = h_.BitDepth() == 16;
  const int key = (h_.ColorType() == 0 && trns_) ? trns_->Grey() : -1;
  const uint8_t* alpha = h_.HasAlphaPlane() ? h_.AlphaScanLine(row) : nullptr;
  for (int x = 0, w = h_.Width(); x < w; ++x) {
    const int sample = h_.IndexAt(x, row);
    uint32_t pixel;
    if (deep) {
      const uint8_t g = Map16(sample);
      pixel = Argb(255, g, g, g);
    } else {
      pixel = palette_[sample];
    }
    if (sample == key) pixel &= 0x00FFFFFF;
    if (alpha) pixel = (pixel & 0x00FFFFFF) | (uint32_t(alpha[x]) << 24);
    dst[x] = pixel;
  }
}

// The common case (8-bit samples, alpha plane or opaque, no colour key)
// without a per-pixel decision.
void TqzPngPixelRows::ConvertRgb8(int row, uint32_t* __restrict dst) const {
  const uint8_t* __restrict src = h_.ScanLine(row);
  const uint8_t* __restrict alpha = h_.HasAlphaPlane() ? h_.AlphaScanLine(row) : nullptr;
  const int w = h_.Width();
  if (identity_ && !alpha) {
    for (int x = 0; x < w; ++x, src += 3)
      dst[x] = 0xFF000000u | (uint32_t(src[2]) << 16) | (uint32_t(src[1]) << 8) | src[0];
  } else if (identity_) {
    for (int x = 0; x < w; ++x, src += 3)
      dst[x] = (uint32_t(alpha[x]) << 24) | (uint32_t(src[2]) << 16) | (uint32_t(src[1]) << 8) |
               src[0];
  } else {
    for (int x = 0; x < w; ++x, src += 3)
      dst[x] = Argb(alpha ? alpha[x] : 255, Map8(src[2]), Map8(src[1]), Map8(src[0]));
  }
}

// 24-bit with 16-bit samples (low bytes alongside) or an RGB colour key.
void TqzPngPixelRows::ConvertGeneral(int row, uint32_t* dst) const {
  const bool deep = h_.BitDepth() == 16;
  const bool keyed = h_.ColorType() == 2 && trns_;
  const int kr = keyed ? trns_->Red() : -1, kg = keyed ? trns_->Green() : -1,
            kb = keyed ? trns_->Blue() : -1;
  const uint8_t* src = h_.ScanLine(row);
  const uint8_t* low = deep ? h_.LowScanLine(row) : nullptr;
  const uint8_t* alpha = h_.HasAlphaPlane() ? h_.AlphaScanLine(row) : nullptr;
  for (int x = 0, w = h_.Width(); x < w; ++x) {
    int b = src[3 * x], g = src[3 * x + 1], r = src[3 * x + 2];
    if (deep) {
      b = (b << 8) | low[3 * x], g = (g << 8) | low[3 * x + 1], r = (r << 8) | low[3 * x + 2];
    }
    const uint8_t a = alpha ? alpha[x] : ((r == kr && g == kg && b == kb) ? 0 : 255);
    dst[x] = deep ? Argb(a, Map16(r), Map16(g), Map16(b))
                  : Argb(a, Map8(uint8_t(r)), Map8(uint8_t(g)), Map8(uint8_t(b)));
  }
}

}  // namespace qz
