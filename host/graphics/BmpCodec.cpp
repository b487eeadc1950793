#include "host/graphics/BmpCodec.h"

#include <cstring>

#include <algorithm>
#include <array>
#include <bit>
#include <string>
#include <unordered_map>

#include "host/base/Exception.h"

namespace qz {

namespace {

[[noreturn]] void Reject(const std::string& what) { throw EInvalidGraphic("Invalid bitmap: " + what); }

uint16_t Get16(std::span<const uint8_t> d, size_t at) {
  return static_cast<uint16_t>(d[at] | (d[at + 1] << 8));
}
uint32_t Get32(std::span<const uint8_t> d, size_t at) {
  return uint32_t(d[at]) | (uint32_t(d[at + 1]) << 8) | (uint32_t(d[at + 2]) << 16) |
         (uint32_t(d[at + 3]) << 24);
}

void Put16(std::vector<uint8_t>& out, uint16_t v) {
  out.push_back(uint8_t(v));
  out.push_back(uint8_t(v >> 8));
}
void Put32(std::vector<uint8_t>& out, uint32_t v) {
  for (int i = 0; i < 4; ++i) out.push_back(uint8_t(v >> (8 * i)));
}

constexpr uint32_t kOpaqueBlack = 0xFF000000u;

bool KnownHeaderSize(uint32_t size) {
  return size == 12 || size == 40 || size == 52 || size == 56 || size == 108 || size == 124;
}

// One colour channel given by a bit mask, scaled to 0..255 (rounded).
struct TChannel {
  uint32_t mask = 0;
  int shift = 0;
  uint32_t max = 0;

  explicit TChannel(uint32_t m) : mask(m) {
    if (m == 0) return;
    shift = std::countr_zero(m);
    max = m >> shift;
  }
  uint8_t Extract(uint32_t pixel) const {
    if (max == 0) return 0;
    const uint64_t v = (pixel & mask) >> shift;
    return static_cast<uint8_t>((v * 255 + max / 2) / max);
  }
};

bool ContiguousMask(uint32_t m) {
  if (m == 0) return true;
  const uint32_t shifted = m >> std::countr_zero(m);
  return (shifted & (shifted + 1)) == 0;
}

// Everything the headers say, checked for consistency with the file.
struct THeader {
  uint32_t fileSize = 0;
  uint32_t offBits = 0;
  uint32_t headerSize = 0;
  int width = 0;
  int height = 0;  // rows, always positive
  bool topDown = false;
  int bits = 0;
  uint32_t compression = BI_RGB;
  uint32_t sizeImage = 0;
  uint32_t masks[4] = {0, 0, 0, 0};  // R, G, B, A
  size_t paletteAt = 0;
  size_t paletteCount = 0;
  size_t paletteEntrySize = 4;
};

void CheckFileHeader(std::span<const uint8_t> d, THeader& h) {
  if (d.size() < kBmpFileHeaderSize + 4)
    Reject("file of " + std::to_string(d.size()) + " bytes is too short for the headers");
  if (d[0] != 'B' || d[1] != 'M') Reject("no \"BM\" signature");
  h.fileSize = Get32(d, 2);
  h.offBits = Get32(d, 10);
  h.headerSize = Get32(d, 14);
  if (!KnownHeaderSize(h.headerSize))
    Reject("unknown info header size " + std::to_string(h.headerSize));
  if (h.fileSize > d.size())
    Reject("file size field says " + std::to_string(h.fileSize) + " bytes but only " +
           std::to_string(d.size()) + " are present");
  if (h.fileSize < kBmpFileHeaderSize + h.headerSize)
    Reject("file size field (" + std::to_string(h.fileSize) + ") is smaller than the headers");
}

void ReadCoreHeader(std::span<const uint8_t> d, THeader& h) {
  h.width = Get16(d, 18);
  h.height = Get16(d, 20);
  if (Get16(d, 22) != 1) Reject("plane count is not 1");
  h.bits = Get16(d, 24);
  h.paletteEntrySize = 3;
}

void ReadInfoHeader(std::span<const uint8_t> d, THeader& h) {
  const int32_t width = static_cast<int32_t>(Get32(d, 18));
  const int32_t height = static_cast<int32_t>(Get32(d, 22));
  if (Get16(d, 26) != 1) Reject("plane count is not 1");
  h.bits = Get16(d, 28);
  h.compression = Get32(d, 30);
  h.sizeImage = Get32(d, 34);
  if (width <= 0) Reject("width " + std::to_string(width) + " is not positive");
  if (height == 0) Reject("height is 0");
  if (height == INT32_MIN) Reject("height is out of range");
  h.width = width;
  h.topDown = height < 0;
  h.height = height < 0 ? -height : height;
  if (h.headerSize >= 52)
    for (int i = 0; i < 3; ++i) h.masks[i] = Get32(d, 54 + 4 * i);
  if (h.headerSize >= 56) h.masks[3] = Get32(d, 66);
}

void CheckFormat(const THeader& h) {
  const int b = h.bits;
  if (b != 1 && b != 4 && b != 8 && b != 16 && b != 24 && b != 32)
    Reject("unsupported bit count " + std::to_string(b));
  switch (h.compression) {
    case BI_RGB:
      break;
    case BI_RLE8:
      if (b != 8) Reject("RLE8 compression with " + std::to_string(b) + " bits per pixel");
      break;
    case BI_RLE4:
      if (b != 4) Reject("RLE4 compression with " + std::to_string(b) + " bits per pixel");
      break;
    case BI_BITFIELDS:
    case BI_ALPHABITFIELDS:
      if (b != 16 && b != 32)
        Reject("bit-field compression with " + std::to_string(b) + " bits per pixel");
      break;
    default:
      Reject("unsupported compression " + std::to_string(h.compression));
  }
  if (h.topDown && (h.compression == BI_RLE8 || h.compression == BI_RLE4))
    Reject("compressed bitmaps cannot be top-down");
  if (h.width > kBmpMaxSide || h.height > kBmpMaxSide)
    Reject("size " + std::to_string(h.width) + " x " + std::to_string(h.height) +
           " exceeds the limit of " + std::to_string(kBmpMaxSide) + " pixels a side");
  if (uint64_t(h.width) * uint64_t(h.height) * 4 > kBmpMaxPixelBytes)
    Reject("size " + std::to_string(h.width) + " x " + std::to_string(h.height) +
           " exceeds the limit of 256 MiB of pixels");
}

// Colour masks: in the header (v2 and later), after a 40-byte header for
// bit-field compression, or the defaults of the depth.
size_t ReadMasks(std::span<const uint8_t> d, THeader& h) {
  size_t after = kBmpFileHeaderSize + h.headerSize;
  const bool bitfields = h.compression == BI_BITFIELDS || h.compression == BI_ALPHABITFIELDS;
  if (bitfields && h.headerSize == 40) {
    const size_t count = h.compression == BI_ALPHABITFIELDS ? 4 : 3;
    if (after + 4 * count > h.fileSize) Reject("colour masks run past the end of the file");
    for (size_t i = 0; i < count; ++i) h.masks[i] = Get32(d, after + 4 * i);
    after += 4 * count;
  }
  if (!bitfields) {
    // Masks stored in a v2+ header are ignored without bit-field compression.
    if (h.bits == 16) {
      h.masks[0] = 0x7C00, h.masks[1] = 0x03E0, h.masks[2] = 0x001F, h.masks[3] = 0;
    } else if (h.bits == 32) {
      // The fourth byte is alpha when it is used at all (all zero = opaque).
      h.masks[0] = 0xFF0000, h.masks[1] = 0xFF00, h.masks[2] = 0xFF, h.masks[3] = 0xFF000000u;
    } else {
      std::fill(std::begin(h.masks), std::end(h.masks), 0u);
    }
  } else {
    if (h.headerSize < 56 && h.compression == BI_BITFIELDS) h.masks[3] = 0;
    for (uint32_t m : h.masks)
      if (!ContiguousMask(m)) Reject("colour mask is not a contiguous run of bits");
    if (h.bits == 16)
      for (uint32_t m : h.masks)
        if (m > 0xFFFF) Reject("colour mask wider than the 16-bit pixel");
  }
  return after;
}

void LocatePalette(THeader& h, size_t after, uint32_t clrUsed) {
  h.paletteAt = after;
  if (h.offBits < after || h.offBits > h.fileSize)
    Reject("pixel offset " + std::to_string(h.offBits) + " lies outside the file");
  const size_t room = (h.offBits - after) / h.paletteEntrySize;
  const size_t full = h.bits <= 8 ? size_t(1) << h.bits : 0;
  if (h.headerSize == 12) {
    // Core files have no count; a short table is what fits before the bits.
    h.paletteCount = std::min(full, room);
    if (h.bits <= 8 && h.paletteCount == 0) Reject("colour table is missing");
    return;
  }
  const size_t count = clrUsed != 0 ? clrUsed : full;
  if (count > room)
    Reject("colour table of " + std::to_string(count) + " entries runs past the pixel data");
  // Tables larger than the depth can address are legal; the rest is unused.
  h.paletteCount = full != 0 ? std::min(count, full) : count;
}

THeader ParseHeaders(std::span<const uint8_t> d) {
  THeader h;
  CheckFileHeader(d, h);
  if (h.headerSize == 12)
    ReadCoreHeader(d, h);
  else
    ReadInfoHeader(d, h);
  if (h.headerSize == 12 && (h.width == 0 || h.height == 0)) Reject("width or height is 0");
  CheckFormat(h);
  const size_t after = ReadMasks(d, h);
  LocatePalette(h, after, h.headerSize == 12 ? 0 : Get32(d, 46));
  if (h.sizeImage > h.fileSize - h.offBits)
    Reject("image size field says " + std::to_string(h.sizeImage) + " bytes but only " +
           std::to_string(h.fileSize - h.offBits) + " follow the headers");
  return h;
}

std::vector<TColorRef> ReadPalette(std::span<const uint8_t> d, const THeader& h) {
  std::vector<TColorRef> pal(h.paletteCount);
  for (size_t i = 0; i < h.paletteCount; ++i) {
    const size_t at = h.paletteAt + i * h.paletteEntrySize;
    pal[i] = RGB(d[at + 2], d[at + 1], d[at]);
  }
  return pal;
}

// Palette lookups as pixels; indexes past the table read as black, as the
// platform shows them.
std::vector<uint32_t> PalettePixels(const std::vector<TColorRef>& pal, size_t entries) {
  std::vector<uint32_t> px(entries, kOpaqueBlack);
  for (size_t i = 0; i < std::min(entries, pal.size()); ++i) px[i] = PixelFromColorRef(pal[i]);
  return px;
}

uint64_t Stride(int width, int bits) { return ((uint64_t(width) * bits + 31) / 32) * 4; }

// Rows are decoded in the order the file stores them, so that the source is
// read forwards (the hardware prefetcher follows ascending reads best); the
// picture row of a file row depends on the row order of the file.
const uint8_t* FileRowData(std::span<const uint8_t> d, const THeader& h, uint64_t stride,
                           int fileRow) {
  return d.data() + h.offBits + stride * uint64_t(fileRow);
}
int PictureRow(const THeader& h, int fileRow) { return h.topDown ? fileRow : h.height - 1 - fileRow; }

// One row of 1-, 4- or 8-bit indexes through the lookup table, a whole
// source byte at a time (no division per pixel).
void DecodeIndexedRow(const uint8_t* src, uint32_t* dst, int width, int bits,
                      const std::vector<uint32_t>& lut) {
  switch (bits) {
    case 8:
      for (int x = 0; x < width; ++x) dst[x] = lut[src[x]];
      break;
    case 4:
      for (int x = 0; x + 1 < width; x += 2, ++src) {
        dst[x] = lut[*src >> 4];
        dst[x + 1] = lut[*src & 0x0F];
      }
      if (width % 2) dst[width - 1] = lut[*src >> 4];
      break;
    default: {  // 1 bit: the two colours picked with a mask, no table lookup
      const uint32_t zero = lut[0], diff = lut[0] ^ lut[1];
      auto pick = [zero, diff](unsigned byte, int k) {
        return zero ^ (diff & (0u - ((byte >> (7 - k)) & 1u)));
      };
      int x = 0;
      for (; x + 8 <= width; x += 8, ++src) {
        const unsigned byte = *src;
        for (int k = 0; k < 8; ++k) dst[x + k] = pick(byte, k);
      }
      for (int k = 0; x < width; ++x, ++k) dst[x] = pick(*src, k);
      break;
    }
  }
}

void Decode24Row(const uint8_t* src, uint32_t* dst, int width) {
  int x = 0;
  // Four pixels from three little-endian words at a time.
  for (; x + 4 <= width; x += 4, src += 12) {
    // Three scalar loads (not an array) keep the words in registers.
    uint32_t w0, w1, w2;
    std::memcpy(&w0, src, 4);
    std::memcpy(&w1, src + 4, 4);
    std::memcpy(&w2, src + 8, 4);
    dst[x] = kOpaqueBlack | (w0 & 0xFFFFFF);
    dst[x + 1] = kOpaqueBlack | (w0 >> 24) | ((w1 & 0xFFFF) << 8);
    dst[x + 2] = kOpaqueBlack | (w1 >> 16) | ((w2 & 0xFF) << 16);
    dst[x + 3] = kOpaqueBlack | (w2 >> 8);
  }
  for (; x < width; ++x, src += 3)
    dst[x] = kOpaqueBlack | (uint32_t(src[2]) << 16) | (uint32_t(src[1]) << 8) | src[0];
}

// 16- and 32-bit pixels through their masks. Returns the OR of the alphas.
uint32_t DecodeMaskedRow(const uint8_t* src, uint32_t* dst, int width, bool wide,
                         const TChannel (&c)[4]) {
  uint32_t anyAlpha = 0;
  for (int x = 0; x < width; ++x) {
    uint32_t v = src[0] | (uint32_t(src[1]) << 8);
    if (wide) v |= (uint32_t(src[2]) << 16) | (uint32_t(src[3]) << 24);
    src += wide ? 4 : 2;
    const uint32_t alpha = c[3].Extract(v);
    anyAlpha |= alpha;
    dst[x] = (alpha << 24) | (uint32_t(c[0].Extract(v)) << 16) | (uint32_t(c[1].Extract(v)) << 8) |
             c[2].Extract(v);
  }
  return anyAlpha;
}

// The rows of an uncompressed file, in file order. Returns whether the
// pixels carry alpha: a 16- or 32-bit file whose alpha channel is zero
// everywhere is made opaque.
bool DecodeUncompressed(std::span<const uint8_t> d, const THeader& h,
                        const std::vector<TColorRef>& pal, TPixmap& out) {
  const uint64_t stride = Stride(h.width, h.bits);
  const std::vector<uint32_t> lut =
      h.bits <= 8 ? PalettePixels(pal, size_t(1) << h.bits) : std::vector<uint32_t>{};
  const TChannel channels[4] = {TChannel(h.masks[0]), TChannel(h.masks[1]), TChannel(h.masks[2]),
                                TChannel(h.masks[3])};
  uint32_t anyAlpha = 0;
  for (int row = 0; row < h.height; ++row) {
    const uint8_t* src = FileRowData(d, h, stride, row);
    uint32_t* dst = out.Row(PictureRow(h, row));
    if (h.bits <= 8)
      DecodeIndexedRow(src, dst, h.width, h.bits, lut);
    else if (h.bits == 24)
      Decode24Row(src, dst, h.width);
    else
      anyAlpha |= DecodeMaskedRow(src, dst, h.width, h.bits == 32, channels);
  }
  if (h.bits != 16 && h.bits != 32) return false;
  if (anyAlpha == 0) {
    uint32_t* p = out.Data();
    for (size_t i = 0, n = size_t(out.Width()) * out.Height(); i < n; ++i) p[i] |= kOpaqueBlack;
  }
  return anyAlpha != 0;
}

// Run-length decoding (RLE8 and RLE4). Pixels the data never writes stay
// transparent black. Runs that cross a row end, moves past the picture and
// data that ends before the end-of-bitmap code are refused.
class TRleDecoder {
 public:
  TRleDecoder(std::span<const uint8_t> data, const THeader& h, const std::vector<uint32_t>& lut,
              TPixmap& out)
      : data_(data), h_(h), lut_(lut), out_(out), nibbles_(h.compression == BI_RLE4) {}

  // Returns whether some pixel was left unwritten.
  bool Run() {
    for (;;) {
      const uint8_t count = Next();
      const uint8_t value = Next();
      if (count > 0) {
        Fill(count, value);
      } else if (value == 0) {
        x_ = 0;
        ++y_;
        if (y_ > h_.height) Reject("RLE end-of-line moves past the last row");
      } else if (value == 1) {
        break;
      } else if (value == 2) {
        const uint8_t dx = Next();
        const uint8_t dy = Next();
        x_ += dx;
        y_ += dy;
        if (x_ > h_.width || y_ > h_.height) Reject("RLE delta moves outside the bitmap");
      } else {
        Literal(value);
      }
    }
    return written_ < uint64_t(h_.width) * uint64_t(h_.height);
  }

 private:
  uint8_t Next() {
    if (pos_ >= data_.size()) Reject("RLE data ends without an end-of-bitmap code");
    return data_[pos_++];
  }
  void Put(unsigned index) {
    if (x_ >= h_.width || y_ >= h_.height) Reject("RLE run crosses the end of a row");
    uint32_t& px = out_.At(x_, h_.height - 1 - y_);
    if (PixelAlpha(px) == 0) ++written_;
    px = lut_[index];
    ++x_;
  }
  void Fill(int count, uint8_t value) {
    for (int i = 0; i < count; ++i) Put(nibbles_ ? ((i & 1) ? value & 0xF : value >> 4) : value);
  }
  void Literal(int count) {
    const int bytes = nibbles_ ? (count + 1) / 2 : count;
    for (int i = 0; i < count; ++i) {
      if (nibbles_) {
        const uint8_t byte = i & 1 ? last_ : (last_ = Next());
        Put(i & 1 ? byte & 0xF : byte >> 4);
      } else {
        Put(Next());
      }
    }
    if (bytes & 1) Next();  // literal runs are padded to a 16-bit boundary
  }

  std::span<const uint8_t> data_;
  const THeader& h_;
  const std::vector<uint32_t>& lut_;
  TPixmap& out_;
  bool nibbles_;
  size_t pos_ = 0;
  int x_ = 0;
  int y_ = 0;  // counted from the bottom row
  uint8_t last_ = 0;
  uint64_t written_ = 0;
};

void CheckUncompressedSize(const THeader& h) {
  const uint64_t needed = Stride(h.width, h.bits) * uint64_t(h.height);
  if (needed > h.fileSize - h.offBits)
    Reject("pixel data is truncated: " + std::to_string(needed) + " bytes needed, " +
           std::to_string(h.fileSize - h.offBits) + " present");
}

}  // namespace

uint32_t BmpFileLength(std::span<const uint8_t> data) {
  THeader h;
  CheckFileHeader(data, h);
  return h.fileSize;
}

TBmpImage DecodeBmp(std::span<const uint8_t> file) {
  THeader h;
  CheckFileHeader(file, h);
  const auto d = file.first(h.fileSize);
  h = ParseHeaders(d);
  const bool rle = h.compression == BI_RLE8 || h.compression == BI_RLE4;
  if (!rle) CheckUncompressedSize(h);

  TBmpImage img;
  img.Width = h.width;
  img.Height = h.height;
  img.BitsPerPixel = h.bits;
  img.Compression = h.compression;
  img.HeaderSize = h.headerSize;
  img.TopDown = h.topDown;
  if (h.bits == 16 || h.bits == 32) {
    img.RedMask = h.masks[0], img.GreenMask = h.masks[1], img.BlueMask = h.masks[2];
    img.AlphaMask = h.masks[3];
  }
  img.Palette = ReadPalette(d, h);

  if (rle) {
    img.Pixels.Resize(h.width, h.height, 0);  // pixels the runs skip stay transparent black
    const size_t length = h.sizeImage != 0 ? h.sizeImage : h.fileSize - h.offBits;
    const auto lut = PalettePixels(img.Palette, 256);
    img.HasAlpha = TRleDecoder(d.subspan(h.offBits, length), h, lut, img.Pixels).Run();
  } else {
    // Every pixel is written by the row decoders: no fill first.
    img.Pixels.ResizeUninitialized(h.width, h.height);
    img.HasAlpha = DecodeUncompressed(d, h, img.Palette, img.Pixels);
  }
  return img;
}

// ---------------------------------------------------------------------------
// Writing

namespace {

int ColorDistance(TColorRef a, TColorRef b) {
  const int dr = GetRValue(a) - GetRValue(b);
  const int dg = GetGValue(a) - GetGValue(b);
  const int db = GetBValue(a) - GetBValue(b);
  return dr * dr + dg * dg + db * db;
}

// Nearest palette entry for each colour, remembered per colour.
class TPaletteMatcher {
 public:
  explicit TPaletteMatcher(std::span<const TColorRef> palette) : palette_(palette) {
    for (size_t i = palette.size(); i-- > 0;) cache_[palette[i]] = static_cast<uint8_t>(i);
  }
  uint8_t Index(uint32_t pixel) {
    const TColorRef c = ColorRefFromPixel(pixel);
    auto it = cache_.find(c);
    if (it != cache_.end()) return it->second;
    size_t best = 0;
    int bestDistance = INT32_MAX;
    for (size_t i = 0; i < palette_.size(); ++i) {
      const int dist = ColorDistance(c, palette_[i]);
      if (dist < bestDistance) bestDistance = dist, best = i;
    }
    cache_[c] = static_cast<uint8_t>(best);
    return static_cast<uint8_t>(best);
  }

 private:
  std::span<const TColorRef> palette_;
  std::unordered_map<TColorRef, uint8_t> cache_;
};

const std::array<TColorRef, 16> kStandard16 = {
    RGB(0, 0, 0),       RGB(128, 0, 0),   RGB(0, 128, 0),   RGB(128, 128, 0),
    RGB(0, 0, 128),     RGB(128, 0, 128), RGB(0, 128, 128), RGB(192, 192, 192),
    RGB(128, 128, 128), RGB(255, 0, 0),   RGB(0, 255, 0),   RGB(255, 255, 0),
    RGB(0, 0, 255),     RGB(255, 0, 255), RGB(0, 255, 255), RGB(255, 255, 255)};

std::vector<TColorRef> ColourCube() {
  std::vector<TColorRef> pal;
  for (int r = 0; r < 6; ++r)
    for (int g = 0; g < 6; ++g)
      for (int b = 0; b < 6; ++b) pal.push_back(RGB(r * 51, g * 51, b * 51));
  // 40 greys between the cube's steps fill the table to 256.
  for (int i = 1; pal.size() < 256; ++i) pal.push_back(RGB(i * 255 / 41, i * 255 / 41, i * 255 / 41));
  return pal;
}

void WriteHeaders(std::vector<uint8_t>& out, const TPixmap& px, int fileBits, uint32_t compression,
                  uint32_t tableBytes, uint32_t clrUsed, uint32_t imageBytes) {
  const uint32_t offBits = kBmpFileHeaderSize + kBmpInfoHeaderSize + tableBytes;
  out.reserve(offBits + imageBytes);
  out.push_back('B');
  out.push_back('M');
  Put32(out, offBits + imageBytes);
  Put32(out, 0);
  Put32(out, offBits);
  Put32(out, kBmpInfoHeaderSize);
  Put32(out, static_cast<uint32_t>(px.Width()));
  Put32(out, static_cast<uint32_t>(px.Height()));
  Put16(out, 1);
  Put16(out, static_cast<uint16_t>(fileBits));
  Put32(out, compression);
  Put32(out, imageBytes);
  Put32(out, 0);  // pixels per metre: not recorded
  Put32(out, 0);
  Put32(out, clrUsed);
  Put32(out, 0);
}

template <class PackRow>
void WriteRows(std::vector<uint8_t>& out, const TPixmap& px, uint64_t stride, PackRow pack) {
  std::vector<uint8_t> row(stride);
  for (int y = px.Height() - 1; y >= 0; --y) {
    std::fill(row.begin(), row.end(), 0);
    pack(px.Row(y), row.data());
    out.insert(out.end(), row.begin(), row.end());
  }
}

uint16_t Pack16(uint32_t p, bool g6) {
  const uint32_t r = (p >> 16) & 0xFF, g = (p >> 8) & 0xFF, b = p & 0xFF;
  if (g6) return static_cast<uint16_t>(((r >> 3) << 11) | ((g >> 2) << 5) | (b >> 3));
  return static_cast<uint16_t>(((r >> 3) << 10) | ((g >> 3) << 5) | (b >> 3));
}

}  // namespace

std::vector<TColorRef> DefaultBmpPalette(const TPixmap& pixels, int bitsPerPixel) {
  if (bitsPerPixel == 1) return {RGB(0, 0, 0), RGB(255, 255, 255)};
  if (bitsPerPixel != 4 && bitsPerPixel != 8)
    throw EInvalidGraphic("Invalid bitmap: no palette for " + std::to_string(bitsPerPixel) + " bits");
  const size_t limit = size_t(1) << bitsPerPixel;
  std::vector<TColorRef> own;
  std::unordered_map<TColorRef, bool> seen;
  const uint32_t* p = pixels.Data();
  for (size_t i = 0, n = size_t(pixels.Width()) * pixels.Height(); i < n; ++i) {
    const TColorRef c = ColorRefFromPixel(p[i]);
    if (seen.emplace(c, true).second) {
      own.push_back(c);
      if (own.size() > limit) break;
    }
  }
  if (own.size() <= limit) return own.empty() ? std::vector<TColorRef>{RGB(0, 0, 0)} : own;
  if (bitsPerPixel == 4) return {kStandard16.begin(), kStandard16.end()};
  return ColourCube();
}

void QuantizeToPalette(TPixmap& pixels, std::span<const TColorRef> palette) {
  if (palette.empty()) return;
  TPaletteMatcher match(palette);
  uint32_t* p = pixels.Data();
  for (size_t i = 0, n = size_t(pixels.Width()) * pixels.Height(); i < n; ++i)
    p[i] = PixelFromColorRef(palette[match.Index(p[i])]);
}

std::vector<uint8_t> EncodeBmp(const TPixmap& px, int bitsPerPixel,
                               std::span<const TColorRef> palette) {
  if (px.Empty()) throw EInvalidGraphic("Invalid bitmap: cannot write an empty bitmap");
  const int bits = bitsPerPixel;
  const bool indexed = bits == 1 || bits == 4 || bits == 8;
  if (!indexed && bits != 15 && bits != 16 && bits != 24 && bits != 32)
    throw EInvalidGraphic("Invalid bitmap: cannot write " + std::to_string(bits) + " bits per pixel");
  const int fileBits = bits == 15 ? 16 : bits;
  const uint64_t stride = Stride(px.Width(), fileBits);
  const uint64_t imageBytes = stride * uint64_t(px.Height());
  if (imageBytes > 0xFFFFFFFFull - 2048)
    throw EInvalidGraphic("Invalid bitmap: too large to write");

  std::vector<uint8_t> out;
  if (indexed) {
    std::vector<TColorRef> table(palette.begin(), palette.end());
    if (table.empty()) table = DefaultBmpPalette(px, bits);
    const size_t full = size_t(1) << bits;
    if (table.size() > full)
      throw EInvalidGraphic("Invalid bitmap: palette of " + std::to_string(table.size()) +
                            " colours for " + std::to_string(bits) + " bits per pixel");
    const uint32_t clrUsed = table.size() == full ? 0 : static_cast<uint32_t>(table.size());
    WriteHeaders(out, px, bits, BI_RGB, static_cast<uint32_t>(4 * table.size()), clrUsed,
                 static_cast<uint32_t>(imageBytes));
    for (TColorRef c : table) {
      out.push_back(uint8_t(GetBValue(c)));
      out.push_back(uint8_t(GetGValue(c)));
      out.push_back(uint8_t(GetRValue(c)));
      out.push_back(0);
    }
    TPaletteMatcher match(table);
    const int perByte = 8 / bits;
    WriteRows(out, px, stride, [&](const uint32_t* src, uint8_t* dst) {
      for (int x = 0; x < px.Width(); ++x)
        dst[x / perByte] |= match.Index(src[x]) << (8 - bits * (x % perByte + 1));
    });
  } else if (bits == 15 || bits == 16) {
    const bool g6 = bits == 16;
    WriteHeaders(out, px, 16, g6 ? BI_BITFIELDS : BI_RGB, g6 ? 12 : 0, 0,
                 static_cast<uint32_t>(imageBytes));
    if (g6) Put32(out, 0xF800), Put32(out, 0x07E0), Put32(out, 0x001F);
    WriteRows(out, px, stride, [&](const uint32_t* src, uint8_t* dst) {
      for (int x = 0; x < px.Width(); ++x) {
        const uint16_t v = Pack16(src[x], g6);
        dst[2 * x] = uint8_t(v), dst[2 * x + 1] = uint8_t(v >> 8);
      }
    });
  } else {
    const int bytes = bits / 8;
    WriteHeaders(out, px, bits, BI_RGB, 0, 0, static_cast<uint32_t>(imageBytes));
    WriteRows(out, px, stride, [&](const uint32_t* src, uint8_t* dst) {
      for (int x = 0; x < px.Width(); ++x, dst += bytes) {
        dst[0] = uint8_t(src[x]), dst[1] = uint8_t(src[x] >> 8), dst[2] = uint8_t(src[x] >> 16);
        if (bytes == 4) dst[3] = uint8_t(src[x] >> 24);
      }
    });
  }
  return out;
}

}  // namespace qz
