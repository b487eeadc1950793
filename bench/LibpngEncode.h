// Encodes 8-bit RGB or RGBA pixels with libpng at its default settings, so
// that the benchmarks decode files made the way most programs make them.
#pragma once

#include <png.h>

#include <cstdint>
#include <cstdlib>
#include <vector>

namespace qz::bench {

inline void AppendToBytes(png_structp png, png_bytep data, png_size_t count) {
  auto* out = static_cast<std::vector<uint8_t>*>(png_get_io_ptr(png));
  out->insert(out->end(), data, data + count);
}

// `channels` is 3 (RGB) or 4 (RGBA, straight alpha); rows are packed.
inline std::vector<uint8_t> EncodeWithLibpng(const std::vector<uint8_t>& pixels, int width, int height,
                                             int channels) {
  std::vector<uint8_t> out;
  png_structp png = png_create_write_struct(PNG_LIBPNG_VER_STRING, nullptr, nullptr, nullptr);
  png_infop info = png_create_info_struct(png);
  if (setjmp(png_jmpbuf(png))) std::abort();
  png_set_write_fn(png, &out, AppendToBytes, nullptr);
  png_set_IHDR(png, info, width, height, 8, channels == 4 ? PNG_COLOR_TYPE_RGBA : PNG_COLOR_TYPE_RGB,
               PNG_INTERLACE_NONE, PNG_COMPRESSION_TYPE_DEFAULT, PNG_FILTER_TYPE_DEFAULT);
  png_write_info(png, info);
  const size_t stride = size_t(width) * channels;
  for (int y = 0; y < height; ++y) png_write_row(png, const_cast<uint8_t*>(pixels.data()) + y * stride);
  png_write_end(png, nullptr);
  png_destroy_write_struct(&png, &info);
  return out;
}

}  // namespace qz::bench
