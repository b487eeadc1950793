// The image data layer: inflating the IDAT stream, unfiltering the rows of
// each pass and storing the samples into the header's pixel storage; and the
// way back for saving.
#include <zlib.h>

#include <algorithm>
#include <cstring>
#include <optional>
#include <vector>

#include "skin/draw/PngChunks.h"
#include "skin/draw/PngImage.h"
#include "skin/draw/PngPixelRows.h"
#include "skin/draw/PngUnfilter.h"

namespace qz {
namespace {

[[noreturn]] void Fail(const std::string& message) { throw EInvalidGraphic("PNG: " + message); }

// A pass of the image: every pixel (X0 + i * DX, Y0 + j * DY).
struct TPass {
  int X0, Y0, DX, DY, Width, Height;
};

std::vector<TPass> PassesOf(int width, int height, bool interlaced) {
  if (!interlaced) return {{0, 0, 1, 1, width, height}};
  static const int x0[7] = {0, 4, 0, 2, 0, 1, 0}, y0[7] = {0, 0, 4, 0, 2, 0, 1};
  static const int dx[7] = {8, 8, 4, 4, 2, 2, 1}, dy[7] = {8, 8, 8, 4, 4, 2, 2};
  std::vector<TPass> passes;
  for (int p = 0; p < 7; ++p) {
    int w = width > x0[p] ? (width - x0[p] + dx[p] - 1) / dx[p] : 0;
    int h = height > y0[p] ? (height - y0[p] + dy[p] - 1) / dy[p] : 0;
    passes.push_back({x0[p], y0[p], dx[p], dy[p], w, h});
  }
  return passes;
}

// Sample i of a packed row of `depth` bits per sample (depth 1, 2, 4).
inline int PackedSample(const uint8_t* row, int i, int depth) {
  int bit = i * depth;
  return (row[bit >> 3] >> (8 - depth - (bit & 7))) & ((1 << depth) - 1);
}

// Stores one unfiltered PNG row of a pass into the header's storage. The
// format is decided once per row; the loops only move bytes.
class TRowStore {
 public:
  // With singleRow, every row goes to storage row 0 (direct decoding).
  TRowStore(TqzPngLayerIHDR& h, bool singleRow) : h_(h), singleRow_(singleRow) {}

  void Store(const uint8_t* src, const TPass& pass, int passRow) {
    int y = singleRow_ ? 0 : pass.Y0 + passRow * pass.DY;
    int n = pass.Width, x0 = pass.X0, dx = pass.DX;
    uint8_t* dst = h_.ScanLine(y);
    int depth = h_.BitDepth();
    switch (h_.ColorType()) {
      case 0:
      case 3:
        if (depth == 16)
          SplitHighLow(src, n, dst, h_.LowScanLine(y), x0, dx, 1, nullptr);
        else
          StorePacked(src, n, dst, x0, dx, depth);
        break;
      case 4:
        if (depth == 16)
          SplitHighLow(src, n, dst, h_.LowScanLine(y), x0, dx, 1, h_.AlphaScanLine(y));
        else
          for (int i = 0; i < n; ++i) {
            int x = x0 + i * dx;
            dst[x] = src[2 * i];
            h_.AlphaScanLine(y)[x] = src[2 * i + 1];
          }
        break;
      case 2:
        if (depth == 16)
          SplitHighLow(src, n, dst, h_.LowScanLine(y), x0, dx, 3, nullptr);
        else
          StoreRgb8(src, n, dst, x0, dx);
        break;
      case 6:
        if (depth == 16)
          SplitHighLow(src, n, dst, h_.LowScanLine(y), x0, dx, 3, h_.AlphaScanLine(y));
        else
          StoreRgba8(src, n, dst, h_.AlphaScanLine(y), x0, dx);
        break;
    }
  }

 private:
  // Depths 1, 2, 4, 8 into the palette bitmap (2 widens to 4 bits).
  static void StorePacked(const uint8_t* src, int n, uint8_t* dst, int x0, int dx, int depth) {
    if (dx == 1 && depth != 2) {
      std::memcpy(dst, src, (size_t(n) * depth + 7) / 8);
      return;
    }
    if (depth == 8) {
      for (int i = 0; i < n; ++i) dst[x0 + i * dx] = src[i];
      return;
    }
    int bits = depth == 2 ? 4 : depth;
    for (int i = 0; i < n; ++i) {
      int x = x0 + i * dx;
      int v = PackedSample(src, i, depth);
      int bit = x * bits;
      int shift = 8 - bits - (bit & 7);
      uint8_t& b = dst[bit >> 3];
      b = uint8_t((b & ~(((1 << bits) - 1) << shift)) | (v << shift));
    }
  }

  static void StoreRgb8(const uint8_t* __restrict src, int n, uint8_t* __restrict dst, int x0,
                        int dx) {
    uint8_t* d = dst + 3 * x0;
    size_t step = size_t(3) * dx;
    for (int i = 0; i < n; ++i, src += 3, d += step) {
      d[0] = src[2];
      d[1] = src[1];
      d[2] = src[0];
    }
  }

  static void StoreRgba8(const uint8_t* __restrict src, int n, uint8_t* __restrict dst,
                         uint8_t* __restrict alpha, int x0, int dx) {
    uint8_t* d = dst + 3 * x0;
    uint8_t* a = alpha + x0;
    size_t step = size_t(3) * dx;
    for (int i = 0; i < n; ++i, src += 4, d += step, a += dx) {
      d[0] = src[2];
      d[1] = src[1];
      d[2] = src[0];
      *a = src[3];
    }
  }

  // 16-bit samples: colour high bytes to the bitmap (RGB reversed to BGR),
  // low bytes to the low plane, the alpha high byte to the alpha plane.
  static void SplitHighLow(const uint8_t* src, int n, uint8_t* dst, uint8_t* low, int x0, int dx,
                           int colours, uint8_t* alpha) {
    int stride = 2 * (colours + (alpha ? 1 : 0));
    for (int i = 0; i < n; ++i, src += stride) {
      size_t x = size_t(x0 + i * dx);
      for (int c = 0; c < colours; ++c) {
        size_t at = x * colours + (colours - 1 - c);
        dst[at] = src[2 * c];
        low[at] = src[2 * c + 1];
      }
      if (alpha) alpha[x] = src[2 * colours];
    }
  }

  TqzPngLayerIHDR& h_;
  bool singleRow_;
};

// Inflates the consecutive IDAT chunks, pulling the next chunk when the
// current one is used up.
class TIdatInflater {
 public:
  TIdatInflater(const TqzPngChunk& first, TqzPngChunkReader& reader) : reader_(reader) {
    std::memset(&z_, 0, sizeof z_);
    if (inflateInit(&z_) != Z_OK) Fail("cannot start the zlib decoder");
    Feed(first.Data);
  }
  ~TIdatInflater() { inflateEnd(&z_); }
  TIdatInflater(const TIdatInflater&) = delete;
  TIdatInflater& operator=(const TIdatInflater&) = delete;

  // Fills exactly `size` bytes; fails when the stream ends first.
  void ReadExact(uint8_t* out, size_t size) {
    z_.next_out = out;
    z_.avail_out = uInt(size);
    while (z_.avail_out > 0) {
      if (ended_) Fail("the image data is shorter than the image");
      if (z_.avail_in == 0 && !FeedNext()) Fail("the image data ends before the image is complete");
      int rc = inflate(&z_, Z_NO_FLUSH);
      if (rc == Z_STREAM_END)
        ended_ = true;
      else
        CheckProgress(rc);
    }
  }

  // After the last row: the stream must end here, with nothing more to
  // decompress. The rest of the IDAT chunks is consumed.
  void Finish() {
    uint8_t extra[64];
    while (!ended_) {
      if (z_.avail_in == 0 && !FeedNext()) Fail("the image data stream is not terminated");
      z_.next_out = extra;
      z_.avail_out = sizeof extra;
      int rc = inflate(&z_, Z_NO_FLUSH);
      if (z_.avail_out != sizeof extra) Fail("the image data is longer than the image");
      if (rc == Z_STREAM_END)
        ended_ = true;
      else
        CheckProgress(rc);
    }
    while (FeedNext()) {
    }
  }

 private:
  // Z_BUF_ERROR only means "feed me" while the input is used up.
  void CheckProgress(int rc) const {
    if (rc == Z_OK || (rc == Z_BUF_ERROR && z_.avail_in == 0)) return;
    Fail(std::string("corrupt image data (") + (z_.msg ? z_.msg : "zlib error") + ")");
  }
  void Feed(std::span<const uint8_t> data) {
    z_.next_in = const_cast<Bytef*>(data.data());
    z_.avail_in = uInt(data.size());
  }
  bool FeedNext() {
    while (reader_.NextIs("IDAT")) {
      TqzPngChunk next = reader_.Next();
      if (!next.CrcOk) Fail("CRC error in chunk IDAT");
      if (!next.Data.empty()) {
        Feed(next.Data);
        return true;
      }
    }
    return false;
  }

  z_stream z_;
  TqzPngChunkReader& reader_;
  bool ended_ = false;
};

}  // namespace

void TqzPngLayerIDAT::Load(const TqzPngChunk& chunk, TqzPngChunkReader& reader) {
  TqzPngLayerIHDR& h = *Owner().Header();
  if (h.ColorType() == 3 && !Owner().FindLayer<TqzPngLayerPLTE>())
    Fail("palette image without a PLTE chunk");
  if (!chunk.CrcOk) Fail("CRC error in chunk IDAT");
  int bitsPerPixel = h.BitDepth() * h.SamplesPerPixel();
  int bpp = std::max(1, bitsPerPixel / 8);
  size_t maxRowBytes = (size_t(h.Width()) * bitsPerPixel + 7) / 8;
  std::vector<uint8_t> rowA(maxRowBytes + 1), rowB(maxRowBytes + 1);
  TIdatInflater inflater(chunk, reader);
  // Direct decoding: each row goes from the one-row storage to the target.
  TPixmap* target = h.InterlaceMethod() == 0 ? Owner().rowTarget_ : nullptr;
  std::optional<TqzPngPixelRows> convert;
  if (target) {
    convert.emplace(Owner());
    target->ResizeUninitialized(h.Width(), h.Height());  // every row is written
  }
  TRowStore store(h, target != nullptr);
  for (const TPass& pass : PassesOf(h.Width(), h.Height(), h.InterlaceMethod() == 1)) {
    if (pass.Width == 0 || pass.Height == 0) continue;
    size_t rowBytes = (size_t(pass.Width) * bitsPerPixel + 7) / 8;
    uint8_t* cur = rowA.data();
    uint8_t* prev = nullptr;
    for (int r = 0; r < pass.Height; ++r) {
      inflater.ReadExact(cur, rowBytes + 1);
      if (!PngUnfilterRow(cur[0], cur + 1, prev ? prev + 1 : nullptr, rowBytes, bpp))
        Fail("unknown filter type " + std::to_string(cur[0]));
      store.Store(cur + 1, pass, r);
      if (target) convert->Convert(0, target->Row(r));
      prev = cur;
      cur = cur == rowA.data() ? rowB.data() : rowA.data();
    }
  }
  inflater.Finish();
  if (target) {
    Owner().rowsStreamed_ = true;
    Owner().streamedGamma_ = convert->GammaExponent();
    Owner().streamedTrns_ = convert->Trns();
  }
}

// ---------------------------------------------------------------- saving

namespace {

// Rebuilds row y of the PNG samples from the storage.
void PackRow(const TqzPngLayerIHDR& h, int y, uint8_t* out) {
  const uint8_t* src = h.ScanLine(y);
  int w = h.Width(), depth = h.BitDepth();
  switch (h.ColorType()) {
    case 0:
    case 3:
      if (depth == 16) {
        for (int x = 0; x < w; ++x) out[2 * x] = src[x], out[2 * x + 1] = h.LowScanLine(y)[x];
      } else if (depth == 2) {
        std::memset(out, 0, (size_t(w) * 2 + 7) / 8);
        for (int x = 0; x < w; ++x) out[x >> 2] |= uint8_t(h.IndexAt(x, y) << (6 - 2 * (x & 3)));
      } else {
        std::memcpy(out, src, (size_t(w) * depth + 7) / 8);
      }
      break;
    case 4:
      for (int x = 0; x < w; ++x) {
        if (depth == 16) {
          out[4 * x] = src[x], out[4 * x + 1] = h.LowScanLine(y)[x];
          out[4 * x + 2] = h.AlphaScanLine(y)[x], out[4 * x + 3] = h.AlphaScanLine(y)[x];
        } else {
          out[2 * x] = src[x], out[2 * x + 1] = h.AlphaScanLine(y)[x];
        }
      }
      break;
    case 2:
    case 6: {
      bool alpha = h.ColorType() == 6;
      int step = (alpha ? 4 : 3) * (depth / 8);
      for (int x = 0; x < w; ++x, out += step) {
        for (int c = 0; c < 3; ++c) {
          size_t at = size_t(3) * x + 2 - c;
          if (depth == 16)
            out[2 * c] = src[at], out[2 * c + 1] = h.LowScanLine(y)[at];
          else
            out[c] = src[at];
        }
        // The alpha low byte is not kept; repeating the high byte maps 255
        // back to 65535.
        if (alpha && depth == 16) out[6] = out[7] = h.AlphaScanLine(y)[x];
        if (alpha && depth == 8) out[3] = h.AlphaScanLine(y)[x];
      }
      break;
    }
  }
}

}  // namespace

void TqzPngLayerIDAT::Save(TStream& stream) const {
  const TqzPngLayerIHDR& h = *Owner().Header();
  int bitsPerPixel = h.BitDepth() * h.SamplesPerPixel();
  int bpp = std::max(1, bitsPerPixel / 8);
  size_t rowBytes = (size_t(h.Width()) * bitsPerPixel + 7) / 8;
  std::vector<uint8_t> raw((rowBytes + 1) * h.Height());
  std::vector<uint8_t> cur(rowBytes), prev(rowBytes);
  // Paeth for colour images, none for palette and low-depth rows.
  int filter = (h.ColorType() == 3 || h.BitDepth() < 8) ? 0 : 4;
  for (int y = 0; y < h.Height(); ++y) {
    PackRow(h, y, cur.data());
    uint8_t* out = raw.data() + (rowBytes + 1) * y;
    out[0] = uint8_t(filter);
    PngFilterRow(filter, cur.data(), y ? prev.data() : nullptr, out + 1, rowBytes, bpp);
    std::swap(cur, prev);
  }
  uLongf size = compressBound(uLong(raw.size()));
  std::vector<uint8_t> packed(size);
  if (compress2(packed.data(), &size, raw.data(), uLong(raw.size()), 9) != Z_OK)
    throw EWriteError("PNG: cannot compress the image data");
  WritePngChunk(stream, "IDAT", std::span<const uint8_t>(packed.data(), size));
}

}  // namespace qz
