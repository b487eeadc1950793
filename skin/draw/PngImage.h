// A PNG image read by the engine's own decoder (zlib for the image data).
// The image is the ordered list of its chunk layers; the header layer holds
// the decoded pixels. It draws itself in one of three transparency modes.
#pragma once

#include <cstdint>
#include <memory>
#include <span>
#include <string>
#include <vector>

#include "host/base/Color.h"
#include "host/graphics/Graphic.h"
#include "host/graphics/Pixmap.h"
#include "skin/draw/PngChunks.h"

namespace qz {

// How the image covers what lies under it.
enum class TqzPngTransparencyMode {
  ptmNone,     // every pixel opaque
  ptmBit,      // one transparent colour (or palette entry); the rest opaque
  ptmPartial,  // per-pixel alpha
};

class TqzPngImage : public TGraphic {
  QZ_CLASS(TqzPngImage, TGraphic)
 public:
  TqzPngImage();
  ~TqzPngImage() override;

  int Width() const override;
  int Height() const override;
  bool Empty() const override;

  // Reads a PNG stream. Bad input (signature, header, CRC, image data, chunk
  // lengths past the end) raises EInvalidGraphic and leaves the image empty.
  // On success the stream is left just after the IEND chunk; on failure
  // where it was.
  void LoadFromStream(TStream& stream) override;
  // The same from bytes in memory (parsed in place).
  void LoadFromBytes(std::span<const uint8_t> bytes);
  // Writes the layers back; the pixels are re-encoded (not interlaced).
  void SaveToStream(TStream& stream) const override;
  // Copies another PNG image (through its encoded form).
  void Assign(const TPersistent& source) override;
  void Clear();

  // Draws the image into dest; see DrawOnPixmap.
  void Draw(TCanvas& canvas, const TRect& dest) const override;
  // Draws into a pixel surface: the image is scaled nearest-neighbour to
  // dest and composed by its transparency mode (opaque copy, transparent
  // pixels left out, or alpha blending). `clip` (target coordinates) limits
  // the pixels written. An empty image or rectangle draws nothing.
  void DrawOnPixmap(TPixmap& target, const TRect& dest, const TRect* clip = nullptr) const;

  // The layers, in stream order.
  int LayerCount() const { return int(layers_.size()); }
  TqzPngLayer& Layer(int index) const { return *layers_.at(index); }
  template <class T>
  T* FindLayer() const {
    for (const auto& l : layers_)
      if (auto* t = dynamic_cast<T*>(l.get())) return t;
    return nullptr;
  }
  TqzPngLayerIHDR* Header() const { return FindLayer<TqzPngLayerIHDR>(); }

  TqzPngTransparencyMode TransparencyMode() const;
  // The colour left out in bit mode: the tRNS grey (type 0) or RGB (type 2),
  // or the colour of the first palette entry with alpha 0 (black when none).
  TColor TransparentColor() const;
  // Exponent applied to colour samples for display (1 when no correction).
  double GammaExponent() const;

  // The decoded image as straight-alpha pixels 0xAARRGGBB, gamma corrected.
  TPixmap ToPixmap() const;
  // The same into a caller's pixmap (resized; memory it already holds is
  // reused when large enough). An empty image gives an empty pixmap.
  void ToPixmap(TPixmap& out) const;
  // Reads a PNG stream straight to the pixels ToPixmap would give for it,
  // without keeping an image: each row is converted as soon as it is
  // unfiltered, so no full-size sample storage is made (interlaced images
  // still need one). Same checks and errors as LoadFromBytes.
  static TPixmap DecodeToPixmap(std::span<const uint8_t> bytes);
  // Makes this an 8-bit RGB (colour type 2) or RGBA (type 6) image of the
  // pixmap's pixels.
  void CreateFromPixmap(const TPixmap& pixels, bool withAlpha);
  // Call after changing the header's pixel storage directly.
  void PixelsChanged();

  // Layer classes by chunk type; unknown types get the generic TqzPngLayer.
  using TqzPngLayerFactory = std::unique_ptr<TqzPngLayer> (*)(TqzPngImage& owner,
                                                             const std::string& type);
  static void RegisterLayerClass(const std::string& type, TqzPngLayerFactory factory);

 private:
  void LoadFrom(std::span<const uint8_t> bytes, size_t& consumed);
  void ReadChunks(std::span<const uint8_t> bytes, size_t& consumed);
  void AddLayer(const TqzPngChunk& chunk, TqzPngChunkReader& reader);
  const TPixmap& Pixels() const;

  std::vector<std::unique_ptr<TqzPngLayer>> layers_;
  mutable std::unique_ptr<TPixmap> pixels_;  // ToPixmap() cache for drawing

  // Direct decoding (DecodeToPixmap): while rowTarget_ is set, a
  // non-interlaced image keeps one row of samples, and the image-data layer
  // converts each row into the target. It records that it did, and with
  // which gamma and tRNS layer.
  friend class TqzPngLayerIHDR;
  friend class TqzPngLayerIDAT;
  TPixmap* rowTarget_ = nullptr;
  bool rowsStreamed_ = false;
  double streamedGamma_ = 1.0;
  const TqzPngLayertRNS* streamedTrns_ = nullptr;
};

// The eight bytes every PNG stream starts with.
extern const uint8_t kPngSignature[8];

}  // namespace qz
