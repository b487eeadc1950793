#include "skin/draw/PngImage.h"

#include <cmath>
#include <cstring>
#include <map>

#include "host/graphics/Canvas.h"  // NearestSourceIndex
#include "skin/draw/PngPixelRows.h"

namespace qz {

const uint8_t kPngSignature[8] = {0x89, 'P', 'N', 'G', '\r', '\n', 0x1A, '\n'};

namespace {

[[noreturn]] void Fail(const std::string& message) { throw EInvalidGraphic("PNG: " + message); }

template <class T>
std::unique_ptr<TqzPngLayer> MakeLayer(TqzPngImage& owner, const std::string& type) {
  return std::make_unique<T>(owner, type);
}

std::map<std::string, TqzPngImage::TqzPngLayerFactory>& LayerClasses() {
  static std::map<std::string, TqzPngImage::TqzPngLayerFactory> classes = {
      {"IHDR", &MakeLayer<TqzPngLayerIHDR>}, {"PLTE", &MakeLayer<TqzPngLayerPLTE>},
      {"IDAT", &MakeLayer<TqzPngLayerIDAT>}, {"tRNS", &MakeLayer<TqzPngLayertRNS>},
      {"gAMA", &MakeLayer<TqzPngLayergAMA>}, {"tIME", &MakeLayer<TqzPngLayertIME>},
      {"tEXt", &MakeLayer<TqzPngLayertEXt>}, {"zTXt", &MakeLayer<TqzPngLayerzTXt>},
      {"pHYs", &MakeLayer<TqzPngLayerpHYs>}, {"IEND", &MakeLayer<TqzPngLayerIEND>},
  };
  return classes;
}

// The display is taken to have a gamma of 2.2; corrections within 5% of
// unity are not worth the rounding they would add.
constexpr double kDisplayGamma = 2.2;
constexpr double kGammaThreshold = 0.05;

}  // namespace

TqzPngImage::TqzPngImage() = default;
TqzPngImage::~TqzPngImage() = default;

void TqzPngImage::RegisterLayerClass(const std::string& type, TqzPngLayerFactory factory) {
  LayerClasses()[type] = factory;
}

int TqzPngImage::Width() const {
  auto* h = Header();
  return h ? h->Width() : 0;
}
int TqzPngImage::Height() const {
  auto* h = Header();
  return h ? h->Height() : 0;
}
bool TqzPngImage::Empty() const { return Header() == nullptr || !FindLayer<TqzPngLayerIDAT>(); }

void TqzPngImage::Clear() {
  layers_.clear();
  pixels_.reset();
  rowsStreamed_ = false;
  streamedTrns_ = nullptr;
}

// ---------------------------------------------------------------- reading

void TqzPngImage::LoadFromStream(TStream& stream) {
  int64_t start = stream.Position();
  size_t consumed = 0;
  if (auto* memory = As<TMemoryStream>(&stream)) {
    // Parsed in place: no copy of the encoded bytes.
    LoadFrom(memory->Bytes().subspan(std::min(size_t(start), memory->Bytes().size())), consumed);
  } else {
    int64_t size = stream.Size() - start;
    std::vector<uint8_t> bytes(size > 0 ? size_t(size) : 0);
    stream.ReadBuffer(bytes.data(), bytes.size());
    try {
      LoadFrom(bytes, consumed);
    } catch (...) {
      stream.SetPosition(start);
      throw;
    }
  }
  stream.SetPosition(start + int64_t(consumed));
}

void TqzPngImage::LoadFromBytes(std::span<const uint8_t> bytes) {
  size_t consumed = 0;
  LoadFrom(bytes, consumed);
}

void TqzPngImage::LoadFrom(std::span<const uint8_t> bytes, size_t& consumed) {
  Clear();
  try {
    ReadChunks(bytes, consumed);
  } catch (...) {
    Clear();
    throw;
  }
  Changed();
}

void TqzPngImage::ReadChunks(std::span<const uint8_t> bytes, size_t& consumed) {
  if (bytes.size() < 8 || std::memcmp(bytes.data(), kPngSignature, 8) != 0)
    Fail("not a PNG stream (bad signature)");
  TqzPngChunkReader reader(bytes.subspan(8));
  for (bool first = true;; first = false) {
    TqzPngChunk chunk = reader.Next();
    if (first && chunk.Type != "IHDR") Fail("the first chunk is " + chunk.Type + ", not IHDR");
    if (!chunk.CrcOk) {
      if (chunk.IsCritical()) Fail("CRC error in chunk " + chunk.Type);
      continue;  // a damaged ancillary chunk is dropped
    }
    if (chunk.Type == "IHDR" && !first) Fail("more than one IHDR chunk");
    if (chunk.Type == "cHRM") continue;
    if (chunk.Type == "IDAT" && FindLayer<TqzPngLayerIDAT>()) continue;
    if (chunk.Type == "IEND" && !FindLayer<TqzPngLayerIDAT>()) Fail("no image data");
    if (chunk.IsCritical() && !LayerClasses().count(chunk.Type))
      Fail("unknown critical chunk " + chunk.Type);
    AddLayer(chunk, reader);
    if (chunk.Type == "IEND") break;
  }
  consumed = 8 + reader.Position();
}

void TqzPngImage::AddLayer(const TqzPngChunk& chunk, TqzPngChunkReader& reader) {
  auto it = LayerClasses().find(chunk.Type);
  std::unique_ptr<TqzPngLayer> layer =
      it != LayerClasses().end() ? it->second(*this, chunk.Type)
                                 : std::make_unique<TqzPngLayer>(*this, chunk.Type);
  layer->Load(chunk, reader);
  layers_.push_back(std::move(layer));
}

// ---------------------------------------------------------------- writing

void TqzPngImage::SaveToStream(TStream& stream) const {
  if (Empty()) throw EWriteError("PNG: an empty image cannot be saved");
  stream.WriteBuffer(kPngSignature, 8);
  for (const auto& layer : layers_) layer->Save(stream);
}

void TqzPngImage::Assign(const TPersistent& source) {
  auto* other = dynamic_cast<const TqzPngImage*>(&source);
  if (!other) return TGraphic::Assign(source);
  if (other == this) return;
  if (other->Empty()) {
    Clear();
    Changed();
    return;
  }
  TMemoryStream stream;
  other->SaveToStream(stream);
  stream.SetPosition(0);
  LoadFromStream(stream);
}

void TqzPngImage::CreateFromPixmap(const TPixmap& pixels, bool withAlpha) {
  Clear();
  if (pixels.Empty()) {
    Changed();
    return;
  }
  auto header = std::make_unique<TqzPngLayerIHDR>(*this, "IHDR");
  header->SetHeader(pixels.Width(), pixels.Height(), 8, withAlpha ? 6 : 2, 0);
  for (int y = 0; y < pixels.Height(); ++y) {
    const uint32_t* src = pixels.Row(y);
    uint8_t* dst = header->ScanLine(y);
    for (int x = 0; x < pixels.Width(); ++x) {
      dst[3 * x] = uint8_t(src[x]);
      dst[3 * x + 1] = uint8_t(src[x] >> 8);
      dst[3 * x + 2] = uint8_t(src[x] >> 16);
      if (withAlpha) header->AlphaScanLine(y)[x] = uint8_t(src[x] >> 24);
    }
  }
  layers_.push_back(std::move(header));
  layers_.push_back(std::make_unique<TqzPngLayerIDAT>(*this, "IDAT"));
  layers_.push_back(std::make_unique<TqzPngLayerIEND>(*this, "IEND"));
  Changed();
}

void TqzPngImage::PixelsChanged() {
  pixels_.reset();
  Changed();
}

// ---------------------------------------------------------------- transparency

TqzPngTransparencyMode TqzPngImage::TransparencyMode() const {
  const TqzPngLayerIHDR* h = Header();
  if (!h) return TqzPngTransparencyMode::ptmNone;
  if (h->HasAlphaPlane()) return TqzPngTransparencyMode::ptmPartial;
  const TqzPngLayertRNS* trns = FindLayer<TqzPngLayertRNS>();
  if (!trns) return TqzPngTransparencyMode::ptmNone;
  if (h->ColorType() != 3) return TqzPngTransparencyMode::ptmBit;
  // One fully transparent entry is a colour key; anything else needs alpha
  // (a single half-transparent entry must not be drawn opaque).
  int below = 0, zero = 0;
  for (uint8_t a : trns->PaletteAlpha()) {
    below += a < 255;
    zero += a == 0;
  }
  return below == 1 && zero == 1 ? TqzPngTransparencyMode::ptmBit
                                 : TqzPngTransparencyMode::ptmPartial;
}

TColor TqzPngImage::TransparentColor() const {
  const TqzPngLayerIHDR* h = Header();
  const TqzPngLayertRNS* trns = FindLayer<TqzPngLayertRNS>();
  if (!h || !trns) return TColor(RGB(0, 0, 0));
  auto to8 = [&](int sample) {
    if (sample < 0) return 0;
    if (h->BitDepth() == 16) return sample >> 8;
    int max = (1 << h->BitDepth()) - 1;
    return std::min(sample, max) * 255 / max;
  };
  switch (h->ColorType()) {
    case 0: {
      int g = to8(trns->Grey());
      return TColor(RGB(g, g, g));
    }
    case 2:
      return TColor(RGB(to8(trns->Red()), to8(trns->Green()), to8(trns->Blue())));
    case 3:
      for (int i = 0; i < 256; ++i)
        if (trns->PaletteAlpha()[i] == 0) {
          const TqzPngRGB& c = h->Palette()[i];
          return TColor(RGB(c.Red, c.Green, c.Blue));
        }
      return TColor(RGB(0, 0, 0));
    default:
      return TColor(RGB(0, 0, 0));
  }
}

double TqzPngImage::GammaExponent() const {
  const TqzPngLayergAMA* gama = FindLayer<TqzPngLayergAMA>();
  if (!gama || gama->Gamma() == 0) return 1.0;
  double product = gama->Gamma() / 100000.0 * kDisplayGamma;
  if (std::fabs(product - 1.0) < kGammaThreshold) return 1.0;
  return 1.0 / product;
}

// ---------------------------------------------------------------- pixels

TPixmap TqzPngImage::ToPixmap() const {
  TPixmap out;
  ToPixmap(out);
  return out;
}

void TqzPngImage::ToPixmap(TPixmap& out) const {
  if (Empty()) {
    out.Resize(0, 0);
    return;
  }
  const TqzPngLayerIHDR* h = Header();
  // Every pixel is written below: no fill first.
  out.ResizeUninitialized(h->Width(), h->Height());
  const TqzPngPixelRows rows(*this);
  for (int y = 0; y < h->Height(); ++y) rows.Convert(y, out.Row(y));
}

TPixmap TqzPngImage::DecodeToPixmap(std::span<const uint8_t> bytes) {
  TPixmap pixels;
  TqzPngImage image;
  image.rowTarget_ = &pixels;
  image.LoadFromBytes(bytes);
  image.rowTarget_ = nullptr;
  if (!image.rowsStreamed_) {
    image.ToPixmap(pixels);  // interlaced: the passes needed the whole image
  } else if (image.GammaExponent() != image.streamedGamma_ ||
             image.FindLayer<TqzPngLayertRNS>() != image.streamedTrns_) {
    // A gAMA or tRNS chunk after the image data changes the pixels; such a
    // stream is decoded again the ordinary way.
    image.LoadFromBytes(bytes);
    image.ToPixmap(pixels);
  }
  return pixels;
}

const TPixmap& TqzPngImage::Pixels() const {
  if (!pixels_) pixels_ = std::make_unique<TPixmap>(ToPixmap());
  return *pixels_;
}

// ---------------------------------------------------------------- drawing

void TqzPngImage::DrawOnPixmap(TPixmap& target, const TRect& dest, const TRect* clip) const {
  if (Empty() || dest.IsEmpty()) return;
  TRect area = Intersection(dest, target.Bounds());
  if (clip) area = Intersection(area, *clip);
  if (area.IsEmpty()) return;
  const TPixmap& src = Pixels();
  const TqzPngTransparencyMode mode = TransparencyMode();
  std::vector<int> columns(area.Width());
  for (int x = area.Left; x < area.Right; ++x)
    columns[x - area.Left] = NearestSourceIndex(x - dest.Left, src.Width(), dest.Width());
  for (int y = area.Top; y < area.Bottom; ++y) {
    const uint32_t* s = src.Row(NearestSourceIndex(y - dest.Top, src.Height(), dest.Height()));
    uint32_t* d = target.Row(y) + area.Left;
    for (size_t i = 0; i < columns.size(); ++i) {
      uint32_t p = s[columns[i]];
      uint32_t a = p >> 24;
      if (mode == TqzPngTransparencyMode::ptmNone || a == 255) {
        d[i] = p | 0xFF000000u;
      } else if (a != 0 && mode == TqzPngTransparencyMode::ptmPartial) {
        // Straight alpha over the destination; the result is opaque.
        uint32_t q = d[i], r = 0xFF000000u;
        for (int shift = 0; shift < 24; shift += 8) {
          uint32_t c = (((p >> shift) & 0xFF) * a + ((q >> shift) & 0xFF) * (255 - a)) >> 8;
          r |= c << shift;
        }
        d[i] = r;
      }
    }
  }
}

}  // namespace qz
