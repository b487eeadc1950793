#include "host/shell/ImageThumbnails.h"

#include <algorithm>
#include <csetjmp>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <string>

// clang-format off: jpeglib.h needs <cstdio> first
#include <jpeglib.h>
#include <jerror.h>
// clang-format on

#include "host/base/Exception.h"
#include "host/graphics/BmpCodec.h"
#include "host/graphics/PixmapScale.h"

namespace qz {

namespace {

[[noreturn]] void Refuse(const std::string& why) { throw EInvalidGraphic("image: " + why); }

uint32_t BigEndian32(const uint8_t* p) {
  return uint32_t(p[0]) << 24 | uint32_t(p[1]) << 16 | uint32_t(p[2]) << 8 | uint32_t(p[3]);
}
uint32_t LittleEndian32(const uint8_t* p) {
  return uint32_t(p[0]) | uint32_t(p[1]) << 8 | uint32_t(p[2]) << 16 | uint32_t(p[3]) << 24;
}
uint16_t LittleEndian16(const uint8_t* p) { return uint16_t(p[0] | p[1] << 8); }

void CheckBudget(uint64_t width, uint64_t height, uint64_t maxPixels) {
  if (width == 0 || height == 0) Refuse("the picture is empty");
  if (width * height > maxPixels)
    Refuse(std::to_string(width) + " x " + std::to_string(height) +
           " pixels exceed the budget of " + std::to_string(maxPixels) + " pixels");
}

// The sizes in a PNG's IHDR, checked against the budget.
void CheckPngHeader(std::span<const uint8_t> file, uint64_t maxPixels) {
  if (file.size() < 33 || std::memcmp(&file[12], "IHDR", 4) != 0) Refuse("a PNG file without its header");
  CheckBudget(BigEndian32(&file[16]), BigEndian32(&file[20]), maxPixels);
}

// The sizes in a BMP's info header (core headers have 16-bit ones).
void CheckBmpHeader(std::span<const uint8_t> file, uint64_t maxPixels) {
  if (file.size() < 26) Refuse("a BMP file without its header");
  const uint32_t headerSize = LittleEndian32(&file[14]);
  if (headerSize == 12) {
    CheckBudget(LittleEndian16(&file[18]), LittleEndian16(&file[20]), maxPixels);
  } else {
    const auto width = int32_t(LittleEndian32(&file[18]));
    const auto height = int32_t(LittleEndian32(&file[22]));
    CheckBudget(uint64_t(std::abs(int64_t(width))), uint64_t(std::abs(int64_t(height))), maxPixels);
  }
}

// libjpeg reports fatal errors through error_exit, which must not return:
// it jumps back to the phase that called into the library. Warnings that
// the data ended early jump back too (the rest would be grey).
struct TJpegErrors {
  jpeg_error_mgr Manager;
  jmp_buf Jump;
  char Message[JMSG_LENGTH_MAX];
};

void JpegErrorExit(j_common_ptr info) {
  auto* errors = reinterpret_cast<TJpegErrors*>(info->err);
  (*info->err->format_message)(info, errors->Message);
  std::longjmp(errors->Jump, 1);
}

void JpegMessage(j_common_ptr info, int level) {
  if (level < 0 && info->err->msg_code == JWRN_JPEG_EOF) {
    auto* errors = reinterpret_cast<TJpegErrors*>(info->err);
    std::strcpy(errors->Message, "the file is cut short");
    std::longjmp(errors->Jump, 1);
  }
}

// A progressive file may hold any number of scans, each costing a pass over
// the image: more than this many is refused.
constexpr int kJpegMaxScans = 500;

void JpegProgress(j_common_ptr info) {
  if (info->is_decompressor &&
      reinterpret_cast<j_decompress_ptr>(info)->input_scan_number > kJpegMaxScans) {
    auto* errors = reinterpret_cast<TJpegErrors*>(info->err);
    std::strcpy(errors->Message, "too many progressive scans");
    std::longjmp(errors->Jump, 1);
  }
}

// The decompressor and its error handling; destroyed on every path. The
// phases below hold no C++ objects, so jumping back into them skips no
// destructor.
struct TJpegDecoder {
  jpeg_decompress_struct Info{};
  TJpegErrors Errors{};
  jpeg_progress_mgr Progress{};
  bool Created = false;

  TJpegDecoder() {
    Info.err = jpeg_std_error(&Errors.Manager);
    Errors.Manager.error_exit = JpegErrorExit;
    Errors.Manager.emit_message = JpegMessage;
    Progress.progress_monitor = JpegProgress;
  }
  TJpegDecoder(const TJpegDecoder&) = delete;
  TJpegDecoder& operator=(const TJpegDecoder&) = delete;
  ~TJpegDecoder() {
    if (Created) jpeg_destroy_decompress(&Info);
  }
};

bool IsCmyk(const jpeg_decompress_struct& info) {
  return info.jpeg_color_space == JCS_CMYK || info.jpeg_color_space == JCS_YCCK;
}

// Reads the header and sets the output scale and colour space. False with
// Errors.Message set on failure.
bool JpegReadHeader(TJpegDecoder& d, std::span<const uint8_t> file, int box, long memoryLimit) {
  if (setjmp(d.Errors.Jump)) return false;
  jpeg_create_decompress(&d.Info);
  d.Created = true;
  d.Info.mem->max_memory_to_use = memoryLimit;
  d.Info.progress = &d.Progress;
  jpeg_mem_src(&d.Info, file.data(), static_cast<unsigned long>(file.size()));
  // APP1 segments are at most 64 KiB each, inside the file's own bytes.
  jpeg_save_markers(&d.Info, JPEG_APP0 + 1, 0xFFFF);
  jpeg_read_header(&d.Info, TRUE);
  d.Info.out_color_space = IsCmyk(d.Info) ? JCS_CMYK : JCS_EXT_BGRA;
  // The smallest scale n / 8 whose output covers the fitted size.
  const auto [minWidth, minHeight] = FitThumbnailSize(int(std::min(d.Info.image_width, 1u << 30)),
                                                      int(std::min(d.Info.image_height, 1u << 30)), box);
  d.Info.scale_denom = 8;
  d.Info.scale_num = 8;
  for (unsigned n = 1; n < 8; ++n) {
    // Output sizes are ceil(size * n / 8).
    const uint64_t w = (uint64_t(d.Info.image_width) * n + 7) / 8;
    const uint64_t h = (uint64_t(d.Info.image_height) * n + 7) / 8;
    if (w >= uint64_t(minWidth) && h >= uint64_t(minHeight)) {
      d.Info.scale_num = n;
      break;
    }
  }
  d.Info.dct_method = JDCT_ISLOW;
  jpeg_calc_output_dimensions(&d.Info);
  return true;
}

// Adobe writes CMYK inverted (its APP14 marker says so); others do not.
uint32_t PixelFromCmyk(const JSAMPLE* p, bool inverted) {
  unsigned c = p[0], m = p[1], y = p[2], k = p[3];
  if (!inverted) c = 255 - c, m = 255 - m, y = 255 - y, k = 255 - k;
  const auto channel = [k](unsigned v) { return (v * k + 127) / 255; };
  return 0xFF000000u | channel(c) << 16 | channel(m) << 8 | channel(y);
}

// Decodes the scanlines into out (already sized to the output dimensions).
bool JpegDecodeRows(TJpegDecoder& d, TPixmap& out) {
  if (setjmp(d.Errors.Jump)) return false;
  jpeg_start_decompress(&d.Info);
  const bool cmyk = d.Info.out_color_space == JCS_CMYK;
  JSAMPARRAY cmykRow =
      cmyk ? (*d.Info.mem->alloc_sarray)(reinterpret_cast<j_common_ptr>(&d.Info), JPOOL_IMAGE,
                                          d.Info.output_width * 4, 1)
           : nullptr;
  while (d.Info.output_scanline < d.Info.output_height) {
    const int y = int(d.Info.output_scanline);
    if (cmyk) {
      jpeg_read_scanlines(&d.Info, cmykRow, 1);
      uint32_t* row = out.Row(y);
      for (JDIMENSION x = 0; x < d.Info.output_width; ++x)
        row[x] = PixelFromCmyk(cmykRow[0] + x * 4, d.Info.saw_Adobe_marker);
    } else {
      // JCS_EXT_BGRA bytes are the pixmap's B, G, R, A (alpha 255).
      JSAMPROW row = reinterpret_cast<JSAMPROW>(out.Row(y));
      jpeg_read_scanlines(&d.Info, &row, 1);
    }
  }
  jpeg_finish_decompress(&d.Info);
  return true;
}

// The orientation of the first APP1 segment that is Exif.
int JpegOrientation(const jpeg_decompress_struct& info) {
  for (jpeg_saved_marker_ptr m = info.marker_list; m; m = m->next)
    if (m->marker == JPEG_APP0 + 1 && m->data_length >= 6 && std::memcmp(m->data, "Exif\0\0", 6) == 0)
      return ExifOrientation({m->data, m->data_length});
  return 1;
}

}  // namespace

int ExifOrientation(std::span<const uint8_t> app1) {
  if (app1.size() < 6 + 8 || std::memcmp(app1.data(), "Exif\0\0", 6) != 0) return 1;
  const std::span<const uint8_t> tiff = app1.subspan(6);
  bool little;
  if (tiff[0] == 'I' && tiff[1] == 'I') little = true;
  else if (tiff[0] == 'M' && tiff[1] == 'M') little = false;
  else return 1;
  const auto u16 = [&](size_t at) -> uint32_t {
    return little ? uint32_t(tiff[at] | tiff[at + 1] << 8) : uint32_t(tiff[at] << 8 | tiff[at + 1]);
  };
  const auto u32 = [&](size_t at) -> uint32_t {
    return little ? LittleEndian32(&tiff[at]) : BigEndian32(&tiff[at]);
  };
  if (u16(2) != 42) return 1;
  const uint64_t ifd = u32(4);
  if (ifd + 2 > tiff.size()) return 1;
  const uint32_t entries = std::min<uint32_t>(u16(size_t(ifd)), kMaxExifEntries);
  for (uint32_t i = 0; i < entries; ++i) {
    const uint64_t at = ifd + 2 + uint64_t(i) * 12;
    if (at + 12 > tiff.size()) return 1;
    if (u16(size_t(at)) != 0x0112) continue;
    // A SHORT of count 1 keeps its value in the entry's first two bytes.
    if (u16(size_t(at) + 2) != 3 || u32(size_t(at) + 4) != 1) return 1;
    const uint32_t v = u16(size_t(at) + 8);
    return v >= 1 && v <= 8 ? int(v) : 1;
  }
  return 1;
}

TPixmap OrientPixmap(const TPixmap& picture, int orientation) {
  if (orientation < 2 || orientation > 8 || picture.Empty()) return picture;
  const int w = picture.Width(), h = picture.Height();
  const bool transposed = orientation >= 5;
  TPixmap out;
  out.ResizeUninitialized(transposed ? h : w, transposed ? w : h);
  // Where the source pixel (x, y) goes.
  for (int y = 0; y < h; ++y) {
    const uint32_t* row = picture.Row(y);
    for (int x = 0; x < w; ++x) {
      int tx = x, ty = y;
      switch (orientation) {
        case 2: tx = w - 1 - x; break;
        case 3: tx = w - 1 - x; ty = h - 1 - y; break;
        case 4: ty = h - 1 - y; break;
        case 5: tx = y; ty = x; break;
        case 6: tx = h - 1 - y; ty = x; break;
        case 7: tx = h - 1 - y; ty = w - 1 - x; break;
        case 8: tx = y; ty = w - 1 - x; break;
        default: break;
      }
      out.Row(ty)[tx] = row[x];
    }
  }
  return out;
}

TImageFormat SniffImageFormat(std::span<const uint8_t> head) {
  static constexpr uint8_t kPng[8] = {0x89, 'P', 'N', 'G', 0x0D, 0x0A, 0x1A, 0x0A};
  if (head.size() >= 8 && std::memcmp(head.data(), kPng, 8) == 0) return TImageFormat::Png;
  if (head.size() >= 3 && head[0] == 0xFF && head[1] == 0xD8 && head[2] == 0xFF) return TImageFormat::Jpeg;
  if (head.size() >= 2 && head[0] == 'B' && head[1] == 'M') return TImageFormat::Bmp;
  return TImageFormat::Unknown;
}

std::pair<int, int> FitThumbnailSize(int width, int height, int box) {
  if (width <= box && height <= box) return {width, height};
  const int longer = std::max(width, height);
  const auto scaled = [&](int side) {
    return std::max(1, int((int64_t(side) * box + longer / 2) / longer));
  };
  return {scaled(width), scaled(height)};
}

TPixmap FitThumbnail(const TPixmap& picture, int box) {
  const auto [width, height] = FitThumbnailSize(picture.Width(), picture.Height(), box);
  if (width == picture.Width() && height == picture.Height()) return picture;
  return ShrinkPixmap(picture, width, height);
}

TPixmap DecodeJpegForBox(std::span<const uint8_t> file, int box, uint64_t maxPixels) {
  TJpegDecoder decoder;
  // The library's own buffers (a progressive file keeps every coefficient)
  // get twice the budget of the picture itself.
  const long memoryLimit = long(std::min<uint64_t>(maxPixels * 8, uint64_t(1) << 40));
  if (!JpegReadHeader(decoder, file, box, memoryLimit))
    Refuse(std::string("JPEG: ") + decoder.Errors.Message);
  CheckBudget(decoder.Info.output_width, decoder.Info.output_height, maxPixels);
  TPixmap out;
  out.ResizeUninitialized(int(decoder.Info.output_width), int(decoder.Info.output_height));
  // The saved markers live in the image pool, which finishing frees.
  const int orientation = JpegOrientation(decoder.Info);
  if (!JpegDecodeRows(decoder, out)) Refuse(std::string("JPEG: ") + decoder.Errors.Message);
  return OrientPixmap(out, orientation);
}

TPixmap MakeImageThumbnail(std::span<const uint8_t> file, int box, uint64_t maxPixels,
                           const TIconDecoder& decodePng) {
  if (file.empty()) Refuse("the file is empty");
  TPixmap picture;
  switch (SniffImageFormat(file)) {
    case TImageFormat::Png: {
      CheckPngHeader(file, maxPixels);
      if (!decodePng) Refuse("no PNG reader");
      std::optional<TPixmap> decoded = decodePng(file);
      if (!decoded) Refuse("the PNG reader refused the file");
      picture = std::move(*decoded);
      break;
    }
    case TImageFormat::Jpeg:
      picture = DecodeJpegForBox(file, box, maxPixels);
      break;
    case TImageFormat::Bmp:
      CheckBmpHeader(file, maxPixels);
      picture = DecodeBmp(file).Pixels;
      break;
    case TImageFormat::Unknown:
      Refuse("not a PNG, JPEG or BMP file");
  }
  if (picture.Empty()) Refuse("the picture is empty");
  return FitThumbnail(picture, box);
}

}  // namespace qz
