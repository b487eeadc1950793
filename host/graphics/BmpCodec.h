// The platform bitmap file format (".bmp"): a 14-byte file header ("BM",
// file size, two reserved words, offset of the pixel bits), an info header
// of one of the known sizes, an optional colour table or colour masks, and
// the pixel rows (bottom-up unless the height is negative), each padded to a
// multiple of four bytes.
//
// The reader takes 1, 4, 8, 16, 24 and 32 bits per pixel; core (12-byte),
// info (40), v2 (52), v3 (56), v4 (108) and v5 (124) headers; uncompressed,
// RLE8, RLE4, bit-field and alpha-bit-field pixels. It is strict: anything
// that does not add up is refused with EInvalidGraphic before large buffers
// are allocated.
#pragma once

#include <cstdint>
#include <span>
#include <vector>

#include "host/base/Color.h"
#include "host/base/Exception.h"
#include "host/graphics/Pixmap.h"

namespace qz {

// Compression codes of the info header.
enum TBmpCompression : uint32_t {
  BI_RGB = 0,
  BI_RLE8 = 1,
  BI_RLE4 = 2,
  BI_BITFIELDS = 3,
  BI_JPEG = 4,
  BI_PNG = 5,
  BI_ALPHABITFIELDS = 6,
};

// Limits of the reader: a side longer than this, or more decoded pixel bytes
// (4 per pixel) than the second, is refused.
constexpr int kBmpMaxSide = 32768;
constexpr uint64_t kBmpMaxPixelBytes = uint64_t(256) << 20;

// Sizes of the fixed parts of a file.
constexpr uint32_t kBmpFileHeaderSize = 14;
constexpr uint32_t kBmpInfoHeaderSize = 40;

struct TBmpImage {
  int Width = 0;
  int Height = 0;
  int BitsPerPixel = 0;          // as stored in the file: 1, 4, 8, 16, 24 or 32
  uint32_t Compression = BI_RGB;  // TBmpCompression of the file
  uint32_t HeaderSize = 0;       // 12, 40, 52, 56, 108 or 124
  bool TopDown = false;          // rows stored top row first (negative height)
  // Colour masks of 16- and 32-bit pixels (the defaults when the file has
  // none: 5-5-5 for 16 bits, 8-8-8 for 32); zero for other depths.
  uint32_t RedMask = 0, GreenMask = 0, BlueMask = 0, AlphaMask = 0;
  // The colour table as stored (1/4/8-bit files; may be shorter than
  // 2^bits). Other depths may carry an (unused) table too; it is kept.
  std::vector<TColorRef> Palette;
  // True when the pixels carry alpha: a 16- or 32-bit file whose alpha
  // channel is not zero everywhere (pixels keep that alpha), or an RLE file
  // that leaves pixels unwritten (those stay 0x00000000, transparent black).
  // Otherwise every pixel is opaque (alpha 255).
  bool HasAlpha = false;
  TPixmap Pixels;  // 0xAARRGGBB, top-down
};

// Decodes a complete file. Bytes past the file-size field are ignored.
// Raises EInvalidGraphic with a message that names the problem.
TBmpImage DecodeBmp(std::span<const uint8_t> file);

// The length of the file that begins at data, read from its file header and
// checked against its headers (at least the headers must fit). Readers of
// containers that hold several files back to back use it to find where the
// next field begins. Raises EInvalidGraphic.
uint32_t BmpFileLength(std::span<const uint8_t> data);

// Encodes pixels as the platform writes a device-independent bitmap: info
// header (40 bytes), bottom-up rows, no compression.
//  - 32: B, G, R, A bytes as stored.
//  - 24: B, G, R; alpha dropped.
//  - 16: 5-6-5 with a bit-field mask table; 15: 16-bit 5-5-5 (BI_RGB).
//  - 8, 4, 1: indexes into palette; each pixel takes the nearest palette
//    colour (exact matches first). With an empty palette, 1-bit uses black
//    and white; 4- and 8-bit use the image's own colours when they fit, else
//    a fixed 6x6x6 colour cube plus greys (8-bit) or the 16 standard
//    colours (4-bit). The table written has the palette's length (at most
//    2^bits entries); biClrUsed is 0 when the table is full.
// Any other bitsPerPixel, a palette longer than 2^bits or an empty pixmap
// raises EInvalidGraphic.
std::vector<uint8_t> EncodeBmp(const TPixmap& pixels, int bitsPerPixel = 24,
                               std::span<const TColorRef> palette = {});

// The palette EncodeBmp would use for pixels at 1, 4 or 8 bits when none is
// given.
std::vector<TColorRef> DefaultBmpPalette(const TPixmap& pixels, int bitsPerPixel);

// Maps every pixel to the nearest colour of palette (opaque result); used
// when a bitmap is switched to a paletted format.
void QuantizeToPalette(TPixmap& pixels, std::span<const TColorRef> palette);

}  // namespace qz
