#include "host/graphics/Bitmap.h"

#include <algorithm>

#include "host/graphics/BmpCodec.h"
#include "host/graphics/Canvas.h"

namespace qz {

namespace {

constexpr uint32_t kOpaqueWhite = 0xFFFFFFFFu;

int PaletteBits(TPixelFormat f) {
  switch (f) {
    case pf1bit: return 1;
    case pf4bit: return 4;
    case pf8bit: return 8;
    default: return 0;
  }
}

// A channel reduced to `bits` and expanded back the way the reader expands
// it, so that saving and reloading gives the same pixels.
uint32_t ReduceChannel(uint32_t c, int bits) {
  const uint32_t max = (1u << bits) - 1;
  const uint32_t v = c >> (8 - bits);
  return (v * 255 + max / 2) / max;
}

void ReduceTo16(TPixmap& px, int greenBits) {
  uint32_t* p = px.Data();
  for (size_t i = 0, n = size_t(px.Width()) * px.Height(); i < n; ++i) {
    const uint32_t r = ReduceChannel((p[i] >> 16) & 0xFF, 5);
    const uint32_t g = ReduceChannel((p[i] >> 8) & 0xFF, greenBits);
    const uint32_t b = ReduceChannel(p[i] & 0xFF, 5);
    p[i] = 0xFF000000u | (r << 16) | (g << 8) | b;
  }
}

void MakeOpaque(TPixmap& px) {
  uint32_t* p = px.Data();
  for (size_t i = 0, n = size_t(px.Width()) * px.Height(); i < n; ++i) p[i] |= 0xFF000000u;
}

TPixelFormat FormatOf(const TBmpImage& img) {
  switch (img.BitsPerPixel) {
    case 1: return pf1bit;
    case 4: return pf4bit;
    case 8: return pf8bit;
    case 24: return pf24bit;
    case 16:
      if (img.RedMask == 0x7C00 && img.GreenMask == 0x03E0 && img.BlueMask == 0x001F) return pf15bit;
      if (img.RedMask == 0xF800 && img.GreenMask == 0x07E0 && img.BlueMask == 0x001F) return pf16bit;
      return pfCustom;
    case 32:
      if (img.RedMask == 0xFF0000 && img.GreenMask == 0xFF00 && img.BlueMask == 0xFF) return pf32bit;
      return pfCustom;
    default: return pfCustom;
  }
}

}  // namespace

TBitmap::TBitmap() = default;

TBitmap::TBitmap(int width, int height) { SetSize(width, height); }

TBitmap::~TBitmap() = default;

void TBitmap::SetSize(int width, int height) {
  width = std::max(width, 0);
  height = std::max(height, 0);
  if (width == Width() && height == Height()) return;
  TPixmap grown(width, height, kOpaqueWhite);
  const int w = std::min(width, Width()), h = std::min(height, Height());
  for (int y = 0; y < h; ++y) std::copy_n(pixels_.Row(y), w, grown.Row(y));
  SetPixelsFrom(std::move(grown));
  Changed();
}

// Replaces the pixels in place so that a canvas made earlier keeps drawing
// into them; the canvas is told so that its clipping follows the new size.
void TBitmap::SetPixelsFrom(TPixmap pixels) {
  pixels_ = std::move(pixels);
  RefreshCanvas();
}

void TBitmap::RefreshCanvas() {
  if (canvas_) canvas_->SetTarget(&pixels_);
}

void TBitmap::Modified() {
  RefreshCanvas();
  Changed();
}

void TBitmap::SetPixelFormat(TPixelFormat format) {
  if (format == pixelFormat_) return;
  if (format == pfCustom) throw EInvalidGraphic("Invalid pixel format: pfCustom cannot be set");
  const int bits = PaletteBits(format);
  if (bits != 0) {
    if (format == pf1bit)
      palette_ = {RGB(0, 0, 0), RGB(255, 255, 255)};
    else if (palette_.empty() || palette_.size() > (size_t(1) << bits))
      palette_ = DefaultBmpPalette(pixels_, bits);
    QuantizeToPalette(pixels_, palette_);
  } else {
    palette_.clear();
    if (format == pf15bit) ReduceTo16(pixels_, 5);
    if (format == pf16bit) ReduceTo16(pixels_, 6);
    if (format == pf24bit) MakeOpaque(pixels_);
  }
  if (format != pf32bit && format != pfDevice) alphaPresent_ = false;
  pixelFormat_ = format;
  handleType_ = format == pfDevice ? bmDDB : bmDIB;
  Changed();
}

void TBitmap::SetHandleType(TBitmapHandleType type) {
  if (type == handleType_) return;
  if (type == bmDDB) {
    SetPixelFormat(pfDevice);
  } else {
    // A device bitmap becomes a DIB of the screen's depth.
    SetPixelFormat(pf32bit);
  }
}

void TBitmap::SetMonochrome(bool value) {
  if (value == Monochrome()) return;
  SetPixelFormat(value ? pf1bit : pfDevice);
}

void TBitmap::SetPalette(std::vector<TColorRef> palette) {
  const int bits = PaletteBits(pixelFormat_);
  if (bits == 0) return;  // only paletted formats keep a colour table
  if (palette.empty() || palette.size() > (size_t(1) << bits))
    throw EInvalidGraphic("Invalid palette: " + std::to_string(palette.size()) + " colours for " +
                          std::to_string(bits) + " bits per pixel");
  palette_ = std::move(palette);
  QuantizeToPalette(pixels_, palette_);
  Changed();
}

TCanvas& TBitmap::Canvas() {
  if (!canvas_) canvas_ = std::make_unique<TCanvas>(&pixels_);
  return *canvas_;
}

TColor TBitmap::TransparentColor() const {
  if (transparentMode_ == tmFixed) return transparentColor_;
  if (Empty()) return clNone;
  return static_cast<TColor>(ColorRefFromPixel(pixels_.At(0, Height() - 1)));
}

void TBitmap::SetTransparentColor(TColor color) {
  if (color == transparentColor_) return;
  transparentColor_ = color;
  transparentMode_ = color == clDefault ? tmAuto : tmFixed;
  Changed();
}

void TBitmap::SetTransparentMode(TTransparentMode mode) {
  if (mode == transparentMode_) return;
  SetTransparentColor(mode == tmAuto ? clDefault : TransparentColor());
}

void TBitmap::Draw(TCanvas& canvas, const TRect& dest) const {
  if (Empty() || dest.Width() == 0 || dest.Height() == 0) return;
  // The source context only reads the pixels.
  TCanvas source(const_cast<TPixmap*>(&pixels_));
  if (Transparent())
    TransparentBlt(&canvas, dest.Left, dest.Top, dest.Width(), dest.Height(), &source, 0, 0, Width(),
                   Height(), ColorToRGB(TransparentColor()));
  else
    StretchBlt(&canvas, dest.Left, dest.Top, dest.Width(), dest.Height(), &source, 0, 0, Width(),
               Height(), SRCCOPY);
}

void TBitmap::LoadFromBytes(std::span<const uint8_t> file) {
  TBmpImage img = DecodeBmp(file);  // throws before anything here changes
  pixelFormat_ = FormatOf(img);
  handleType_ = bmDIB;
  palette_ = img.BitsPerPixel <= 8 ? std::move(img.Palette) : std::vector<TColorRef>{};
  alphaPresent_ = img.HasAlpha;
  SetPixelsFrom(std::move(img.Pixels));
  Changed();
}

void TBitmap::LoadFromStream(TStream& stream) {
  const int64_t remaining = stream.Remaining();
  if (remaining <= 0) {
    Clear();
    return;
  }
  std::vector<uint8_t> file(kBmpFileHeaderSize);
  if (remaining < int64_t(kBmpFileHeaderSize))
    throw EInvalidGraphic("Invalid bitmap: stream holds only " + std::to_string(remaining) +
                          " bytes, too few for a file header");
  stream.ReadBuffer(file.data(), file.size());
  if (file[0] != 'B' || file[1] != 'M') throw EInvalidGraphic("Invalid bitmap: no \"BM\" signature");
  const uint32_t length = uint32_t(file[2]) | (uint32_t(file[3]) << 8) | (uint32_t(file[4]) << 16) |
                          (uint32_t(file[5]) << 24);
  // The file header's length says where the next field of a container
  // starts; it must be there in full before anything is allocated for it.
  if (length < kBmpFileHeaderSize || int64_t(length) > remaining)
    throw EInvalidGraphic("Invalid bitmap: file size field says " + std::to_string(length) +
                          " bytes but the stream holds " + std::to_string(remaining));
  file.resize(length);
  stream.ReadBuffer(file.data() + kBmpFileHeaderSize, length - kBmpFileHeaderSize);
  LoadFromBytes(file);
}

int TBitmap::FileBitsPerPixel() const {
  switch (pixelFormat_) {
    case pf1bit: return 1;
    case pf4bit: return 4;
    case pf8bit: return 8;
    case pf15bit: return 15;
    case pf16bit: return 16;
    case pf24bit: return 24;
    case pfCustom: return alphaPresent_ ? 32 : 24;
    case pf32bit:
    case pfDevice:
    default: return 32;
  }
}

std::vector<uint8_t> TBitmap::SaveToBytes() const {
  if (Empty()) return {};
  return EncodeBmp(pixels_, FileBitsPerPixel(), palette_);
}

void TBitmap::SaveToStream(TStream& stream) const {
  const auto bytes = SaveToBytes();
  if (!bytes.empty()) stream.WriteBuffer(bytes.data(), bytes.size());
}

void TBitmap::ReadData(TStream& stream) {
  const uint32_t length = stream.ReadValue<uint32_t>();
  if (length == 0) {
    Clear();
    return;
  }
  if (int64_t(length) > stream.Remaining())
    throw EInvalidGraphic("Invalid bitmap: property data of " + std::to_string(length) +
                          " bytes runs past the end of the stream");
  std::vector<uint8_t> file(length);
  stream.ReadBuffer(file.data(), file.size());
  LoadFromBytes(file);
}

void TBitmap::WriteData(TStream& stream) const {
  const auto bytes = SaveToBytes();
  stream.WriteValue<uint32_t>(static_cast<uint32_t>(bytes.size()));
  if (!bytes.empty()) stream.WriteBuffer(bytes.data(), bytes.size());
}

void TBitmap::Assign(const TPersistent& source) {
  const auto* other = dynamic_cast<const TBitmap*>(&source);
  if (!other) {
    inherited::Assign(source);
    return;
  }
  if (other == this) return;
  pixelFormat_ = other->pixelFormat_;
  handleType_ = other->handleType_;
  palette_ = other->palette_;
  alphaPresent_ = other->alphaPresent_;
  transparentColor_ = other->transparentColor_;
  transparentMode_ = other->transparentMode_;
  SetPixelsFrom(other->pixels_);
  SetTransparent(other->Transparent());
  Changed();
}

void TBitmap::Clear() {
  if (pixels_.Width() == 0 && pixels_.Height() == 0) return;
  SetPixelsFrom(TPixmap());
  Changed();
}


}  // namespace qz
