#include "skin/draw/PngChunks.h"

#include <zlib.h>

#include <algorithm>
#include <cstring>

#include "skin/draw/PngImage.h"
#include "skin/draw/PngUnfilter.h"

namespace qz {
namespace {

[[noreturn]] void Fail(const std::string& message) { throw EInvalidGraphic("PNG: " + message); }

uint32_t ChunkCrc(const std::string& type, std::span<const uint8_t> data) {
  uLong crc = crc32(0, reinterpret_cast<const Bytef*>(type.data()), 4);
  // No data: zlib would take a null pointer as "return the initial value".
  if (data.empty()) return uint32_t(crc);
  // zlib takes at most 4 GiB per call; chunk data is below 2 GiB.
  return uint32_t(crc32(crc, data.data(), uInt(data.size())));
}

size_t g_maxImageBytes = size_t(256) << 20;

}  // namespace

// ---------------------------------------------------------------- reader

TqzPngChunk TqzPngChunkReader::Next() {
  if (bytes_.size() - pos_ < 8) Fail("chunk header past the end of the stream");
  const uint8_t* p = bytes_.data() + pos_;
  uint32_t length = PngReadU32(p);
  if (length > 0x7FFFFFFFu) Fail("chunk length " + std::to_string(length) + " out of range");
  TqzPngChunk chunk;
  chunk.Type.assign(reinterpret_cast<const char*>(p + 4), 4);
  for (char ch : chunk.Type)
    if (!((ch >= 'A' && ch <= 'Z') || (ch >= 'a' && ch <= 'z')))
      Fail("invalid chunk type");
  if (bytes_.size() - pos_ - 8 < size_t(length) + 4)
    Fail("chunk " + chunk.Type + " of " + std::to_string(length) +
         " bytes runs past the end of the stream");
  chunk.Data = bytes_.subspan(pos_ + 8, length);
  chunk.CrcOk = PngReadU32(p + 8 + length) == ChunkCrc(chunk.Type, chunk.Data);
  pos_ += size_t(length) + 12;
  return chunk;
}

bool TqzPngChunkReader::NextIs(const char* type) const {
  return bytes_.size() - pos_ >= 8 && std::memcmp(bytes_.data() + pos_ + 4, type, 4) == 0;
}

void WritePngChunk(TStream& stream, const std::string& type, std::span<const uint8_t> data) {
  uint8_t word[4];
  PngWriteU32(word, uint32_t(data.size()));
  stream.WriteBuffer(word, 4);
  stream.WriteBuffer(type.data(), 4);
  if (!data.empty()) stream.WriteBuffer(data.data(), data.size());
  PngWriteU32(word, ChunkCrc(type, data));
  stream.WriteBuffer(word, 4);
}

// ---------------------------------------------------------------- generic

void TqzPngLayer::Load(const TqzPngChunk& chunk, TqzPngChunkReader&) {
  data_.assign(chunk.Data.begin(), chunk.Data.end());
}

void TqzPngLayer::Save(TStream& stream) const { WritePngChunk(stream, type_, data_); }

// ---------------------------------------------------------------- IHDR

size_t TqzPngLayerIHDR::MaxImageBytes() { return g_maxImageBytes; }
void TqzPngLayerIHDR::SetMaxImageBytes(size_t bytes) { g_maxImageBytes = bytes; }

int TqzPngLayerIHDR::SamplesPerPixel() const {
  switch (colorType_) {
    case 2: return 3;
    case 4: return 2;
    case 6: return 4;
    default: return 1;
  }
}

void TqzPngLayerIHDR::Load(const TqzPngChunk& chunk, TqzPngChunkReader&) {
  const auto& d = chunk.Data;
  if (d.size() != 13) Fail("IHDR chunk has " + std::to_string(d.size()) + " bytes, not 13");
  if (d[10] != 0) Fail("unknown compression method " + std::to_string(d[10]));
  if (d[11] != 0) Fail("unknown filter method " + std::to_string(d[11]));
  uint32_t w = PngReadU32(d.data()), h = PngReadU32(d.data() + 4);
  if (w == 0 || h == 0 || w > 65535 || h > 65535)
    Fail("image size " + std::to_string(w) + " x " + std::to_string(h) + " out of range");
  SetHeader(int(w), int(h), d[8], d[9], d[12]);
  data_.assign(d.begin(), d.end());
}

void TqzPngLayerIHDR::SetHeader(int width, int height, int bitDepth, int colorType,
                                int interlace) {
  bool depthOk = false;
  switch (colorType) {
    case 0: depthOk = bitDepth == 1 || bitDepth == 2 || bitDepth == 4 || bitDepth == 8 || bitDepth == 16; break;
    case 3: depthOk = bitDepth == 1 || bitDepth == 2 || bitDepth == 4 || bitDepth == 8; break;
    case 2: case 4: case 6: depthOk = bitDepth == 8 || bitDepth == 16; break;
    default: Fail("unknown colour type " + std::to_string(colorType));
  }
  if (!depthOk)
    Fail("bit depth " + std::to_string(bitDepth) + " not allowed for colour type " +
         std::to_string(colorType));
  if (interlace != 0 && interlace != 1) Fail("unknown interlace method " + std::to_string(interlace));
  if (width <= 0 || height <= 0 || width > 65535 || height > 65535)
    Fail("image size " + std::to_string(width) + " x " + std::to_string(height) + " out of range");
  colorType_ = colorType;
  bitDepth_ = bitDepth;
  uint64_t bytes = uint64_t(width) * uint64_t(height) * uint64_t((SamplesPerPixel() * bitDepth + 7) / 8);
  if (bytes > g_maxImageBytes)
    Fail("image of " + std::to_string(width) + " x " + std::to_string(height) +
         " needs more memory than allowed");
  width_ = width;
  height_ = height;
  interlace_ = interlace;
  CreateStorage();
  data_.resize(13);
  PngWriteU32(data_.data(), uint32_t(width));
  PngWriteU32(data_.data() + 4, uint32_t(height));
  data_[8] = uint8_t(bitDepth);
  data_[9] = uint8_t(colorType);
  data_[10] = data_[11] = 0;
  data_[12] = uint8_t(interlace);
}

void TqzPngLayerIHDR::CreateStorage() {
  if (colorType_ == 2 || colorType_ == 6)
    bitCount_ = 24;
  else
    bitCount_ = bitDepth_ == 2 ? 4 : std::min(bitDepth_, 8);
  stride_ = int(((int64_t(bitCount_) * width_ + 31) / 32) * 4);
  // An image decoded straight to pixels keeps only the row being decoded
  // (interlaced passes need every row).
  const size_t rows = (Owner().rowTarget_ && interlace_ == 0) ? 1 : size_t(height_);
  bits_.assign(size_t(stride_) * rows, 0);
  alpha_.assign(HasAlphaPlane() ? size_t(width_) * rows : 0, 0);
  low_.assign(HasLowBytes() ? size_t(stride_) * rows : 0, 0);
  palette_.fill({});
  if (colorType_ == 0 || colorType_ == 4) SetGreyPalette();
}

void TqzPngLayerIHDR::SetGreyPalette() {
  int depth = std::min(bitDepth_, 8);
  int levels = 1 << depth;
  for (int i = 0; i < levels; ++i) {
    auto g = uint8_t(i * 255 / (levels - 1));
    palette_[i] = {g, g, g};
  }
}

int TqzPngLayerIHDR::IndexAt(int x, int y) const {
  const uint8_t* row = ScanLine(y);
  switch (bitCount_) {
    case 1: return (row[x >> 3] >> (7 - (x & 7))) & 1;
    case 4: return (row[x >> 1] >> ((x & 1) ? 0 : 4)) & 15;
    case 8: return bitDepth_ == 16 ? (row[x] << 8) | LowScanLine(y)[x] : row[x];
    default: return 0;
  }
}

void TqzPngLayerIHDR::AddAlphaPlane() {
  if (HasAlphaPlane()) return;
  if (colorType_ == 3) {
    // Palette colours become RGB samples.
    std::vector<uint8_t> rgb(size_t(((24 * width_ + 31) / 32) * 4) * height_);
    int rgbStride = ((24 * width_ + 31) / 32) * 4;
    for (int y = 0; y < height_; ++y)
      for (int x = 0; x < width_; ++x) {
        const TqzPngRGB& c = palette_[IndexAt(x, y)];
        uint8_t* p = rgb.data() + size_t(y) * rgbStride + 3 * x;
        p[0] = c.Blue, p[1] = c.Green, p[2] = c.Red;
      }
    bits_ = std::move(rgb);
    stride_ = rgbStride;
    bitCount_ = 24;
    bitDepth_ = 8;
    colorType_ = 6;
  } else {
    colorType_ = colorType_ == 0 ? 4 : 6;
    if (bitDepth_ < 8) {
      // Grey of low depth becomes 8-bit grey (type 4 has depths 8 and 16).
      std::vector<uint8_t> grey(size_t(((8 * width_ + 31) / 32) * 4) * height_);
      int greyStride = ((8 * width_ + 31) / 32) * 4;
      for (int y = 0; y < height_; ++y)
        for (int x = 0; x < width_; ++x) grey[size_t(y) * greyStride + x] = palette_[IndexAt(x, y)].Red;
      bits_ = std::move(grey);
      stride_ = greyStride;
      bitCount_ = 8;
      bitDepth_ = 8;
      SetGreyPalette();
    }
  }
  alpha_.assign(size_t(width_) * height_, 255);
  data_[8] = uint8_t(bitDepth_);
  data_[9] = uint8_t(colorType_);
}

void TqzPngLayerIHDR::Save(TStream& stream) const {
  std::vector<uint8_t> d = data_;
  d[12] = 0;  // the pixels are written back without interlacing
  WritePngChunk(stream, ChunkType(), d);
}

// ---------------------------------------------------------------- PLTE

void TqzPngLayerPLTE::Load(const TqzPngChunk& chunk, TqzPngChunkReader&) {
  TqzPngLayerIHDR* header = Owner().Header();
  const auto& d = chunk.Data;
  if (d.empty() || d.size() % 3 != 0 || d.size() > 768)
    Fail("PLTE chunk has an invalid length of " + std::to_string(d.size()));
  if (header->ColorType() == 0 || header->ColorType() == 4)
    Fail("PLTE chunk in a grey image");
  if (Owner().FindLayer<TqzPngLayerIDAT>()) Fail("PLTE chunk after the image data");
  data_.assign(d.begin(), d.end());
  if (header->ColorType() == 3) {
    if (Count() > (1 << header->BitDepth())) Fail("PLTE chunk has more entries than the bit depth allows");
    for (int i = 0; i < Count(); ++i) header->Palette()[i] = Entry(i);
  }
}

// ---------------------------------------------------------------- tRNS

void TqzPngLayertRNS::Load(const TqzPngChunk& chunk, TqzPngChunkReader&) {
  TqzPngLayerIHDR* header = Owner().Header();
  const auto& d = chunk.Data;
  data_.assign(d.begin(), d.end());
  alpha_.fill(255);
  switch (header->ColorType()) {
    case 0:
      if (d.size() != 2) Fail("tRNS chunk of a grey image must have 2 bytes");
      break;
    case 2:
      if (d.size() != 6) Fail("tRNS chunk of an RGB image must have 6 bytes");
      break;
    case 3:
      if (!Owner().FindLayer<TqzPngLayerPLTE>()) Fail("tRNS chunk before PLTE");
      if (d.size() > 256) Fail("tRNS chunk has more than 256 entries");
      std::copy(d.begin(), d.end(), alpha_.begin());
      break;
    default:
      break;  // images with an alpha channel ignore tRNS
  }
}

int TqzPngLayertRNS::Sample(int i) const {
  size_t at = size_t(i) * 2;
  return at + 1 < data_.size() ? (data_[at] << 8) | data_[at + 1] : -1;
}

// ---------------------------------------------------------------- ancillary

void TqzPngLayergAMA::Load(const TqzPngChunk& chunk, TqzPngChunkReader&) {
  if (chunk.Data.size() != 4) Fail("gAMA chunk must have 4 bytes");
  data_.assign(chunk.Data.begin(), chunk.Data.end());
  gamma_ = PngReadU32(data_.data());
}

void TqzPngLayertIME::Load(const TqzPngChunk& chunk, TqzPngChunkReader&) {
  if (chunk.Data.size() != 7) Fail("tIME chunk must have 7 bytes");
  data_.assign(chunk.Data.begin(), chunk.Data.end());
  Year = (data_[0] << 8) | data_[1];
  Month = data_[2], Day = data_[3], Hour = data_[4], Minute = data_[5], Second = data_[6];
}

void TqzPngLayertEXt::Load(const TqzPngChunk& chunk, TqzPngChunkReader&) {
  data_.assign(chunk.Data.begin(), chunk.Data.end());
  auto nul = std::find(data_.begin(), data_.end(), uint8_t(0));
  Keyword.assign(data_.begin(), nul);
  Text.assign(nul == data_.end() ? nul : nul + 1, data_.end());
}

void TqzPngLayerzTXt::Load(const TqzPngChunk& chunk, TqzPngChunkReader&) {
  data_.assign(chunk.Data.begin(), chunk.Data.end());
  auto nul = std::find(data_.begin(), data_.end(), uint8_t(0));
  Keyword.assign(data_.begin(), nul);
}

void TqzPngLayerpHYs::Load(const TqzPngChunk& chunk, TqzPngChunkReader&) {
  if (chunk.Data.size() != 9) Fail("pHYs chunk must have 9 bytes");
  data_.assign(chunk.Data.begin(), chunk.Data.end());
  PixelsPerUnitX = PngReadU32(data_.data());
  PixelsPerUnitY = PngReadU32(data_.data() + 4);
  Unit = data_[8];
}

}  // namespace qz
