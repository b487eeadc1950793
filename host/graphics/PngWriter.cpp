#include "host/graphics/PngWriter.h"

#include <zlib.h>

#include <array>
#include <cstdlib>
#include <string>

#include "host/base/Exception.h"
#include "host/base/Stream.h"

namespace qz {

namespace {

void PutBE32(std::vector<uint8_t>& out, uint32_t v) {
  for (int shift = 24; shift >= 0; shift -= 8) out.push_back(uint8_t(v >> shift));
}

void WriteChunk(std::vector<uint8_t>& out, const char type[4], const uint8_t* data, size_t size) {
  PutBE32(out, static_cast<uint32_t>(size));
  const size_t typeAt = out.size();
  out.insert(out.end(), type, type + 4);
  if (size != 0) out.insert(out.end(), data, data + size);
  uLong crc = crc32(0L, out.data() + typeAt, static_cast<uInt>(4 + size));
  PutBE32(out, static_cast<uint32_t>(crc));
}

// PNG filter types applied to one scanline.
enum : uint8_t { kNone = 0, kSub = 1, kUp = 2, kAverage = 3, kPaeth = 4 };

uint8_t Paeth(int a, int b, int c) {
  const int p = a + b - c;
  const int pa = std::abs(p - a), pb = std::abs(p - b), pc = std::abs(p - c);
  if (pa <= pb && pa <= pc) return uint8_t(a);
  return pb <= pc ? uint8_t(b) : uint8_t(c);
}

void FilterRow(uint8_t type, const uint8_t* row, const uint8_t* prior, size_t n, int bpp,
               uint8_t* out) {
  for (size_t i = 0; i < n; ++i) {
    const int a = i >= size_t(bpp) ? row[i - bpp] : 0;
    const int b = prior[i];
    const int c = i >= size_t(bpp) ? prior[i - bpp] : 0;
    int predictor = 0;
    switch (type) {
      case kSub: predictor = a; break;
      case kUp: predictor = b; break;
      case kAverage: predictor = (a + b) / 2; break;
      case kPaeth: predictor = Paeth(a, b, c); break;
      default: break;
    }
    out[i] = uint8_t(row[i] - predictor);
  }
}

// The usual heuristic: the filter whose output has the smallest sum of
// absolute (signed) byte values tends to compress best.
uint64_t Cost(const uint8_t* data, size_t n) {
  uint64_t sum = 0;
  for (size_t i = 0; i < n; ++i) sum += data[i] < 128 ? data[i] : 256 - data[i];
  return sum;
}

// Filtered scanlines (filter byte + row) for the whole image.
std::vector<uint8_t> FilteredScanlines(const TPixmap& px, bool withAlpha) {
  const int bpp = withAlpha ? 4 : 3;
  const size_t n = size_t(px.Width()) * bpp;
  std::vector<uint8_t> raw(n), prior(n, 0), trial(n), best(n);
  std::vector<uint8_t> out;
  out.reserve((n + 1) * size_t(px.Height()));
  for (int y = 0; y < px.Height(); ++y) {
    const uint32_t* src = px.Row(y);
    for (int x = 0; x < px.Width(); ++x) {
      uint8_t* d = raw.data() + size_t(x) * bpp;
      d[0] = uint8_t(src[x] >> 16), d[1] = uint8_t(src[x] >> 8), d[2] = uint8_t(src[x]);
      if (withAlpha) d[3] = uint8_t(src[x] >> 24);
    }
    uint8_t bestType = kNone;
    uint64_t bestCost = UINT64_MAX;
    for (uint8_t type = kNone; type <= kPaeth; ++type) {
      FilterRow(type, raw.data(), prior.data(), n, bpp, trial.data());
      const uint64_t cost = Cost(trial.data(), n);
      if (cost < bestCost) bestCost = cost, bestType = type, best.swap(trial);
    }
    out.push_back(bestType);
    out.insert(out.end(), best.begin(), best.end());
    prior.swap(raw);
  }
  return out;
}

std::vector<uint8_t> Deflate(const std::vector<uint8_t>& data) {
  uLongf size = compressBound(static_cast<uLong>(data.size()));
  std::vector<uint8_t> out(size);
  if (compress2(out.data(), &size, data.data(), static_cast<uLong>(data.size()),
                Z_DEFAULT_COMPRESSION) != Z_OK)
    throw EOutOfResources("PNG: compression failed");
  out.resize(size);
  return out;
}

}  // namespace

std::vector<uint8_t> EncodePng(const TPixmap& pixels, bool withAlpha) {
  if (pixels.Empty()) throw EInvalidGraphic("PNG: cannot write an empty image");
  std::vector<uint8_t> out = {0x89, 'P', 'N', 'G', '\r', '\n', 0x1A, '\n'};
  std::vector<uint8_t> ihdr;
  PutBE32(ihdr, static_cast<uint32_t>(pixels.Width()));
  PutBE32(ihdr, static_cast<uint32_t>(pixels.Height()));
  ihdr.push_back(8);                   // bit depth
  ihdr.push_back(withAlpha ? 6 : 2);   // colour type: RGBA or RGB
  ihdr.push_back(0);                   // deflate
  ihdr.push_back(0);                   // adaptive filtering
  ihdr.push_back(0);                   // no interlace
  WriteChunk(out, "IHDR", ihdr.data(), ihdr.size());
  const auto idat = Deflate(FilteredScanlines(pixels, withAlpha));
  WriteChunk(out, "IDAT", idat.data(), idat.size());
  WriteChunk(out, "IEND", nullptr, 0);
  return out;
}

void SavePng(const TPixmap& pixels, const std::string& path, bool withAlpha) {
  WriteFileBytes(path, EncodePng(pixels, withAlpha));
}

}  // namespace qz
