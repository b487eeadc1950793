// Reads PNG files with libpng for comparison with our own decoders and
// writers. Colour values are taken as stored: no gamma or colour-space
// conversion is applied, so pixels compare byte for byte.
#pragma once

#include <png.h>

#include <algorithm>
#include <cstdio>
#include <filesystem>
#include <memory>
#include <stdexcept>
#include <string>
#include <vector>

#include "host/graphics/Pixmap.h"

namespace qz::test {

struct TPngReadState {
  const std::vector<uint8_t>* data;
  size_t pos = 0;
};

inline void ReadFromMemory(png_structp png, png_bytep out, png_size_t count) {
  auto* s = static_cast<TPngReadState*>(png_get_io_ptr(png));
  if (s->pos + count > s->data->size()) png_error(png, "read past end");
  std::copy_n(s->data->data() + s->pos, count, out);
  s->pos += count;
}

// Decodes a PNG to 0xAARRGGBB pixels (opaque alpha when the file has none).
// Also reports the colour type and bit depth of the file.
inline TPixmap DecodePngWithLibpng(const std::vector<uint8_t>& bytes, int* colorType = nullptr,
                                   int* bitDepth = nullptr) {
  png_structp png = png_create_read_struct(PNG_LIBPNG_VER_STRING, nullptr, nullptr, nullptr);
  png_infop info = png_create_info_struct(png);
  TPixmap result;
  TPngReadState state{&bytes};
  std::vector<uint8_t> rgba;
  std::vector<png_bytep> rows;
  if (setjmp(png_jmpbuf(png))) {
    png_destroy_read_struct(&png, &info, nullptr);
    throw std::runtime_error("libpng could not read the image");
  }
  png_set_read_fn(png, &state, ReadFromMemory);
  png_read_info(png, info);
  const int type = png_get_color_type(png, info);
  const int depth = png_get_bit_depth(png, info);
  if (colorType) *colorType = type;
  if (bitDepth) *bitDepth = depth;
  png_set_expand(png);
  png_set_strip_16(png);
  if (type == PNG_COLOR_TYPE_GRAY || type == PNG_COLOR_TYPE_GRAY_ALPHA) png_set_gray_to_rgb(png);
  png_set_filler(png, 0xFF, PNG_FILLER_AFTER);
  png_set_interlace_handling(png);
  png_read_update_info(png, info);
  const int w = static_cast<int>(png_get_image_width(png, info));
  const int h = static_cast<int>(png_get_image_height(png, info));
  rgba.resize(size_t(w) * h * 4);
  rows.resize(h);
  for (int y = 0; y < h; ++y) rows[y] = rgba.data() + size_t(y) * w * 4;
  png_read_image(png, rows.data());
  png_read_end(png, nullptr);
  png_destroy_read_struct(&png, &info, nullptr);
  result.Resize(w, h);
  for (int y = 0; y < h; ++y)
    for (int x = 0; x < w; ++x) {
      const uint8_t* p = rows[y] + 4 * x;
      result.At(x, y) = (uint32_t(p[3]) << 24) | (uint32_t(p[0]) << 16) | (uint32_t(p[1]) << 8) | p[2];
    }
  return result;
}

// Where test images go (created on first use).
inline std::string TestOutputPath(const std::string& name) {
  const std::filesystem::path dir = QZ_TEST_OUTPUT_DIR;
  std::filesystem::create_directories(dir);
  return (dir / name).string();
}

}  // namespace qz::test
