// The reference the UI benchmarks are measured against: one pixman OVER of a
// translucent a8r8g8b8 surface onto an opaque one of the same size.
#pragma once

#ifdef QZ_HAVE_PIXMAN
#include <benchmark/benchmark.h>
#include <pixman.h>

#include <cstdint>
#include <vector>

namespace qz {

// Source pixels with every alpha from 0 to 255 across a row, so that the
// blend does real work rather than taking the opaque or clear shortcuts.
inline std::vector<uint32_t> TranslucentPixels(int w, int h) {
  std::vector<uint32_t> pixels(size_t(w) * h);
  for (int y = 0; y < h; ++y) {
    for (int x = 0; x < w; ++x) {
      const uint32_t a = uint32_t(x * 255 / (w - 1));
      const uint32_t c = a * uint32_t((x + y) & 0xFF) / 255;  // premultiplied
      pixels[size_t(y) * w + x] = (a << 24) | (c << 16) | ((a / 2) << 8) | (a / 3);
    }
  }
  return pixels;
}

inline void PixmanOver(benchmark::State& state, int w, int h) {
  std::vector<uint32_t> src = TranslucentPixels(w, h), dst(size_t(w) * h, 0xFF3A6EA5u);
  pixman_image_t* s = pixman_image_create_bits(PIXMAN_a8r8g8b8, w, h, src.data(), w * 4);
  pixman_image_t* d = pixman_image_create_bits(PIXMAN_a8r8g8b8, w, h, dst.data(), w * 4);
  for (auto _ : state) {
    pixman_image_composite32(PIXMAN_OP_OVER, s, nullptr, d, 0, 0, 0, 0, 0, 0, w, h);
    benchmark::DoNotOptimize(dst.data());
  }
  pixman_image_unref(s);
  pixman_image_unref(d);
}

}  // namespace qz
#endif
