// Reference decoding with libpng: any PNG to 8-bit straight RGBA pixels
// (palette and grey expanded, tRNS to alpha, 16-bit samples stripped to their
// high byte, gamma corrected for a 2.2 display).
#pragma once

#include <png.h>

#include <cstdint>
#include <cstring>
#include <optional>
#include <span>
#include <vector>

#include "host/graphics/Pixmap.h"

namespace qz::test {

struct TLibpngSource {
  std::span<const uint8_t> bytes;
  size_t pos = 0;
};

inline void LibpngRead(png_structp png, png_bytep out, png_size_t count) {
  auto* src = static_cast<TLibpngSource*>(png_get_io_ptr(png));
  if (src->bytes.size() - src->pos < count) png_error(png, "read past the end");
  std::memcpy(out, src->bytes.data() + src->pos, count);
  src->pos += count;
}

inline void LibpngQuiet(png_structp, png_const_charp) {}

// nullopt when libpng refuses the image.
inline std::optional<TPixmap> DecodeWithLibpng(std::span<const uint8_t> bytes) {
  png_structp png = png_create_read_struct(PNG_LIBPNG_VER_STRING, nullptr, nullptr, LibpngQuiet);
  png_infop info = png_create_info_struct(png);
  TLibpngSource src{bytes};
  std::vector<uint8_t> rgba;
  std::vector<png_bytep> rows;
  TPixmap result;
  if (setjmp(png_jmpbuf(png))) {
    png_destroy_read_struct(&png, &info, nullptr);
    return std::nullopt;
  }
  png_set_read_fn(png, &src, LibpngRead);
  png_read_info(png, info);
  png_set_expand(png);
  png_set_strip_16(png);
  png_set_gray_to_rgb(png);
  png_set_filler(png, 0xFF, PNG_FILLER_AFTER);
  // The file's own gamma when it has one (png_set_gamma overrides it).
  double fileGamma = 1.0 / 2.2;
  png_get_gAMA(png, info, &fileGamma);
  png_set_gamma(png, 2.2, fileGamma);
  png_set_interlace_handling(png);
  png_read_update_info(png, info);
  png_uint_32 w = png_get_image_width(png, info), h = png_get_image_height(png, info);
  rgba.resize(size_t(w) * h * 4);
  for (png_uint_32 y = 0; y < h; ++y) rows.push_back(rgba.data() + size_t(y) * w * 4);
  png_read_image(png, rows.data());
  png_read_end(png, nullptr);
  png_destroy_read_struct(&png, &info, nullptr);
  result.Resize(int(w), int(h));
  for (png_uint_32 y = 0; y < h; ++y)
    for (png_uint_32 x = 0; x < w; ++x) {
      const uint8_t* p = rows[y] + 4 * x;
      result.At(int(x), int(y)) =
          (uint32_t(p[3]) << 24) | (uint32_t(p[0]) << 16) | (uint32_t(p[1]) << 8) | p[2];
    }
  return result;
}

// Colour samples at 16 bits, no gamma: red, green, blue per pixel, row by
// row (grey expanded to three equal samples). nullopt when libpng refuses.
inline std::optional<std::vector<uint16_t>> DecodeWithLibpng16(std::span<const uint8_t> bytes) {
  png_structp png = png_create_read_struct(PNG_LIBPNG_VER_STRING, nullptr, nullptr, LibpngQuiet);
  png_infop info = png_create_info_struct(png);
  TLibpngSource src{bytes};
  std::vector<uint8_t> raw;
  std::vector<png_bytep> rows;
  std::vector<uint16_t> samples;
  if (setjmp(png_jmpbuf(png))) {
    png_destroy_read_struct(&png, &info, nullptr);
    return std::nullopt;
  }
  png_set_read_fn(png, &src, LibpngRead);
  png_read_info(png, info);
  png_set_expand_16(png);
  png_set_gray_to_rgb(png);
  png_set_strip_alpha(png);
  png_set_interlace_handling(png);
  png_read_update_info(png, info);
  png_uint_32 h = png_get_image_height(png, info);
  size_t rowBytes = png_get_rowbytes(png, info);
  raw.resize(rowBytes * h);
  for (png_uint_32 y = 0; y < h; ++y) rows.push_back(raw.data() + y * rowBytes);
  png_read_image(png, rows.data());
  png_read_end(png, nullptr);
  png_destroy_read_struct(&png, &info, nullptr);
  for (size_t i = 0; i + 1 < raw.size(); i += 2) samples.push_back(uint16_t((raw[i] << 8) | raw[i + 1]));
  return samples;
}

}  // namespace qz::test
