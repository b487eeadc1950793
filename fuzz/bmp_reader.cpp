// Fuzz target for the bitmap file reader: arbitrary bytes must either decode
// or raise EInvalidGraphic, never crash or read out of bounds. What decodes
// must survive a 32-bit write and re-read unchanged.
#include <cstddef>
#include <cstdint>
#include <cstdlib>
#include <span>

#include "host/graphics/BmpCodec.h"

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
  qz::TBmpImage img;
  try {
    img = qz::DecodeBmp(std::span<const uint8_t>(data, size));
  } catch (const qz::EInvalidGraphic&) {
    return 0;
  }
  if (img.Pixels.Width() != img.Width || img.Pixels.Height() != img.Height) std::abort();
  // Keep the round trip cheap on large pictures.
  if (uint64_t(img.Width) * uint64_t(img.Height) <= 1u << 16) {
    const qz::TBmpImage again = qz::DecodeBmp(qz::EncodeBmp(img.Pixels, 32));
    // Decoded pixels are opaque or carry real alpha, so they read back as is.
    if (!(again.Pixels == img.Pixels)) std::abort();
  }
  return 0;
}
