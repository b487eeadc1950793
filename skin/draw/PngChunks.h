// The chunk objects of a PNG image. Each chunk read from a stream becomes one
// layer object of the class registered for its type; the header layer owns
// the decoded pixels, the other layers carry what their chunk says and write
// it back when the image is saved.
#pragma once

#include <array>
#include <cstddef>
#include <cstdint>
#include <memory>
#include <span>
#include <string>
#include <vector>

#include "host/base/Exception.h"
#include "host/base/Object.h"
#include "host/base/Stream.h"

namespace qz {

class TqzPngImage;

// One chunk as it lies in the stream: its type, its data and whether the
// stored CRC matched.
struct TqzPngChunk {
  std::string Type;                // four characters
  std::span<const uint8_t> Data;   // points into the reader's bytes
  bool CrcOk = true;
  bool IsCritical() const { return !Type.empty() && (Type[0] & 0x20) == 0; }
};

// Walks the chunks of a PNG byte block (after the signature). Lengths past
// the end of the block and lengths above 2^31 - 1 are refused with
// EInvalidGraphic, so a chunk's Data always lies inside the block.
class TqzPngChunkReader {
 public:
  explicit TqzPngChunkReader(std::span<const uint8_t> bytes) : bytes_(bytes) {}
  bool AtEnd() const { return pos_ >= bytes_.size(); }
  // Reads the next chunk and checks its CRC.
  TqzPngChunk Next();
  // True when the next chunk has the given type (without reading it).
  bool NextIs(const char* type) const;
  size_t Position() const { return pos_; }

 private:
  std::span<const uint8_t> bytes_;
  size_t pos_ = 0;
};

// Writes one chunk: length, type, data, CRC.
void WritePngChunk(TStream& stream, const std::string& type, std::span<const uint8_t> data);

// Generic layer: keeps the raw data of a chunk it does not interpret.
class TqzPngLayer : public TObject {
  QZ_CLASS(TqzPngLayer, TObject)
 public:
  TqzPngLayer(TqzPngImage& owner, std::string type) : owner_(owner), type_(std::move(type)) {}
  const std::string& ChunkType() const { return type_; }
  TqzPngImage& Owner() const { return owner_; }
  const std::vector<uint8_t>& Data() const { return data_; }

  // Takes the chunk's data; `reader` lets the image-data layer continue into
  // the following chunks. Failures raise EInvalidGraphic.
  virtual void Load(const TqzPngChunk& chunk, TqzPngChunkReader& reader);
  // Writes the chunk back (the generic layer writes its raw data).
  virtual void Save(TStream& stream) const;

 protected:
  std::vector<uint8_t> data_;

 private:
  TqzPngImage& owner_;
  std::string type_;
};

// A palette entry (and a pixel of the palette bitmap's colour table).
struct TqzPngRGB {
  uint8_t Red = 0, Green = 0, Blue = 0;
  friend bool operator==(const TqzPngRGB&, const TqzPngRGB&) = default;
};

// The header and the decoded pixels.
//  - colour types 0, 3, 4: a palette bitmap of 1, 4 or 8 bits per pixel (bit
//    depth 2 widens to 4, 16 keeps its high bytes), MSB-first packing;
//  - colour types 2, 6: 24 bits per pixel, bytes blue, green, red;
//  - rows padded to a multiple of 4 bytes (Stride);
//  - colour types 4, 6: an alpha plane of Width x Height bytes;
//  - bit depth 16: a plane of Stride x Height bytes with the low bytes of the
//    samples, laid out like the bitmap.
class TqzPngLayerIHDR : public TqzPngLayer {
  QZ_CLASS(TqzPngLayerIHDR, TqzPngLayer)
 public:
  using TqzPngLayer::TqzPngLayer;
  void Load(const TqzPngChunk& chunk, TqzPngChunkReader& reader) override;
  void Save(TStream& stream) const override;

  // Sets the header fields and creates cleared pixel storage; raises
  // EInvalidGraphic when the header is not valid.
  void SetHeader(int width, int height, int bitDepth, int colorType, int interlace);

  int Width() const { return width_; }
  int Height() const { return height_; }
  int BitDepth() const { return bitDepth_; }
  int ColorType() const { return colorType_; }
  int InterlaceMethod() const { return interlace_; }
  int SamplesPerPixel() const;
  // Bits per pixel of the bitmap (1, 4, 8 or 24) and its row size.
  int BitmapBitCount() const { return bitCount_; }
  int Stride() const { return stride_; }
  bool HasAlphaPlane() const { return colorType_ == 4 || colorType_ == 6; }
  bool HasLowBytes() const { return bitDepth_ == 16; }

  uint8_t* ScanLine(int y) { return bits_.data() + size_t(y) * stride_; }
  const uint8_t* ScanLine(int y) const { return bits_.data() + size_t(y) * stride_; }
  uint8_t* AlphaScanLine(int y) { return alpha_.data() + size_t(y) * width_; }
  const uint8_t* AlphaScanLine(int y) const { return alpha_.data() + size_t(y) * width_; }
  uint8_t* LowScanLine(int y) { return low_.data() + size_t(y) * stride_; }
  const uint8_t* LowScanLine(int y) const { return low_.data() + size_t(y) * stride_; }

  // Colour table of the palette bitmap: the grey ramp of the bit depth for
  // colour types 0 and 4, the PLTE colours for type 3 (black beyond them).
  std::array<TqzPngRGB, 256>& Palette() { return palette_; }
  const std::array<TqzPngRGB, 256>& Palette() const { return palette_; }

  // Sample value (index or grey, 0 .. 2^depth - 1; 16-bit for depth 16) of
  // pixel x of a palette-bitmap row.
  int IndexAt(int x, int y) const;

  // Changes the colour type to one with an alpha plane (0 -> 4, 2 -> 6, and
  // 3 -> 6 with the palette colours). The new alpha plane is all 255.
  void AddAlphaPlane();

  // Bytes of the bitmap (width x height x bytes per pixel of the PNG) above
  // which a header is refused.
  static size_t MaxImageBytes();
  static void SetMaxImageBytes(size_t bytes);

 private:
  void CreateStorage();
  void SetGreyPalette();

  int width_ = 0, height_ = 0;
  int bitDepth_ = 0, colorType_ = 0, interlace_ = 0;
  int bitCount_ = 0, stride_ = 0;
  std::vector<uint8_t> bits_, alpha_, low_;
  std::array<TqzPngRGB, 256> palette_{};
};

// The palette of colour type 3 (a suggested palette for types 2 and 6).
class TqzPngLayerPLTE : public TqzPngLayer {
  QZ_CLASS(TqzPngLayerPLTE, TqzPngLayer)
 public:
  using TqzPngLayer::TqzPngLayer;
  void Load(const TqzPngChunk& chunk, TqzPngChunkReader& reader) override;
  int Count() const { return int(data_.size() / 3); }
  TqzPngRGB Entry(int i) const { return {data_[3 * i], data_[3 * i + 1], data_[3 * i + 2]}; }
};

// The image data: one zlib stream over all consecutive IDAT chunks, decoded
// into the header's pixel storage. Only the first IDAT of an image gets a
// layer; it keeps no raw data (saving re-encodes the pixels).
class TqzPngLayerIDAT : public TqzPngLayer {
  QZ_CLASS(TqzPngLayerIDAT, TqzPngLayer)
 public:
  using TqzPngLayer::TqzPngLayer;
  void Load(const TqzPngChunk& chunk, TqzPngChunkReader& reader) override;
  void Save(TStream& stream) const override;
};

// Transparency: 256 alpha values for the palette (255 beyond the chunk's
// bytes), or the one transparent grey or RGB sample of types 0 and 2.
class TqzPngLayertRNS : public TqzPngLayer {
  QZ_CLASS(TqzPngLayertRNS, TqzPngLayer)
 public:
  using TqzPngLayer::TqzPngLayer;
  void Load(const TqzPngChunk& chunk, TqzPngChunkReader& reader) override;
  const std::array<uint8_t, 256>& PaletteAlpha() const { return alpha_; }
  std::array<uint8_t, 256>& PaletteAlpha() { return alpha_; }
  // Transparent sample of colour types 0 (grey) and 2 (red, green, blue),
  // at the image's bit depth.
  int Grey() const { return Sample(0); }
  int Red() const { return Sample(0); }
  int Green() const { return Sample(1); }
  int Blue() const { return Sample(2); }

 private:
  int Sample(int i) const;
  std::array<uint8_t, 256> alpha_{};
};

// Image gamma, in units of 1/100000.
class TqzPngLayergAMA : public TqzPngLayer {
  QZ_CLASS(TqzPngLayergAMA, TqzPngLayer)
 public:
  using TqzPngLayer::TqzPngLayer;
  void Load(const TqzPngChunk& chunk, TqzPngChunkReader& reader) override;
  uint32_t Gamma() const { return gamma_; }

 private:
  uint32_t gamma_ = 0;
};

// Last modification time.
class TqzPngLayertIME : public TqzPngLayer {
  QZ_CLASS(TqzPngLayertIME, TqzPngLayer)
 public:
  using TqzPngLayer::TqzPngLayer;
  void Load(const TqzPngChunk& chunk, TqzPngChunkReader& reader) override;
  int Year = 0, Month = 0, Day = 0, Hour = 0, Minute = 0, Second = 0;
};

// Text: keyword and text (Latin-1). zTXt keeps its text compressed as stored.
class TqzPngLayertEXt : public TqzPngLayer {
  QZ_CLASS(TqzPngLayertEXt, TqzPngLayer)
 public:
  using TqzPngLayer::TqzPngLayer;
  void Load(const TqzPngChunk& chunk, TqzPngChunkReader& reader) override;
  std::string Keyword, Text;
};

class TqzPngLayerzTXt : public TqzPngLayer {
  QZ_CLASS(TqzPngLayerzTXt, TqzPngLayer)
 public:
  using TqzPngLayer::TqzPngLayer;
  void Load(const TqzPngChunk& chunk, TqzPngChunkReader& reader) override;
  std::string Keyword;
};

// Physical pixel size.
class TqzPngLayerpHYs : public TqzPngLayer {
  QZ_CLASS(TqzPngLayerpHYs, TqzPngLayer)
 public:
  using TqzPngLayer::TqzPngLayer;
  void Load(const TqzPngChunk& chunk, TqzPngChunkReader& reader) override;
  uint32_t PixelsPerUnitX = 0, PixelsPerUnitY = 0;
  uint8_t Unit = 0;
};

// The end marker; it carries no data.
class TqzPngLayerIEND : public TqzPngLayer {
  QZ_CLASS(TqzPngLayerIEND, TqzPngLayer)
 public:
  using TqzPngLayer::TqzPngLayer;
};

// Big-endian helpers shared by the layers.
inline uint32_t PngReadU32(const uint8_t* p) {
  return (uint32_t(p[0]) << 24) | (uint32_t(p[1]) << 16) | (uint32_t(p[2]) << 8) | p[3];
}
inline void PngWriteU32(uint8_t* p, uint32_t v) {
  p[0] = uint8_t(v >> 24);
  p[1] = uint8_t(v >> 16);
  p[2] = uint8_t(v >> 8);
  p[3] = uint8_t(v);
}

}  // namespace qz
