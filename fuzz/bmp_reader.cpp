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
    // Pixels read back as they are, except that an alpha channel that is
    // zero everywhere (an RLE file that writes no pixel) reads as opaque.
    qz::TPixmap expected = img.Pixels;
    uint32_t anyAlpha = 0;
    for (int y = 0; y < expected.Height(); ++y)
      for (int x = 0; x < expected.Width(); ++x) anyAlpha |= expected.At(x, y) >> 24;
    if (anyAlpha == 0)
      for (int y = 0; y < expected.Height(); ++y)
        for (int x = 0; x < expected.Width(); ++x) expected.At(x, y) |= 0xFF000000u;
    if (!(again.Pixels == expected)) std::abort();
  }
  return 0;
}
