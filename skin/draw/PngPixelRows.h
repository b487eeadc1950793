// Conversion of the header layer's sample storage to 32-bit pixels, one row
// at a time. TqzPngImage::ToPixmap converts every stored row; the direct
// decoder (TqzPngImage::DecodeToPixmap) converts each row as soon as it is
// unfiltered, from a storage of a single row. Both go through this class, so
// that they give the same pixels.
#pragma once

#include <array>
#include <cstdint>

#include "skin/draw/PngChunks.h"

namespace qz {

class TqzPngImage;

class TqzPngPixelRows {
 public:
  // Reads the conversion inputs (header, palette, tRNS, gamma) of the image
  // as they are now; the image must have a header.
  explicit TqzPngPixelRows(const TqzPngImage& image);

  // Writes the pixels of storage row `storageRow` of the header to dst
  // (Width() pixels, straight alpha 0xAARRGGBB, gamma corrected).
  void Convert(int storageRow, uint32_t* dst) const;

  // What the conversion was built from, to tell whether it still holds.
  double GammaExponent() const { return exponent_; }
  const TqzPngLayertRNS* Trns() const { return trns_; }

 private:
  uint8_t Map8(uint8_t v) const { return gamma8_[v]; }
  uint8_t Map16(int v) const;
  void ConvertIndexed(int row, uint32_t* dst) const;
  void ConvertRgb8(int row, uint32_t* dst) const;
  void ConvertGeneral(int row, uint32_t* dst) const;

  const TqzPngLayerIHDR& h_;
  const TqzPngLayertRNS* trns_;
  double exponent_;
  bool identity_;
  std::array<uint8_t, 256> gamma8_{};
  std::array<uint32_t, 256> palette_{};  // palette bitmaps: pixel per index
};

}  // namespace qz
