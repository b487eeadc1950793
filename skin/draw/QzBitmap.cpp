// TqzBitmap: buffer, registry, drawing in three modes, alpha helpers.
#include "skin/draw/EffectBmp.h"

#include <algorithm>
#include <cstdlib>
#include <cstring>
#include <mutex>
#include <new>

#include "host/graphics/Bitmap.h"
#include "host/graphics/Canvas.h"
#include "skin/draw/PixelOps.h"

namespace qz {

// ---------------------------------------------------------------------------
// Registry of bitmaps that own pixels. Bitmaps may be built on worker threads
// (thumbnails), hence the lock.

namespace {

struct TBitmapRegistry {
  std::mutex lock;
  std::vector<TqzBitmap*> list;
};

// Never destroyed: bitmaps owned by objects with static storage may be
// released after every other static object is gone, in any order.
TBitmapRegistry& Registry() {
  static TBitmapRegistry* registry = new TBitmapRegistry;
  return *registry;
}

}  // namespace

TqzBitmap* FindBitmapByDC(HDC dc) {
  if (!dc) return nullptr;
  TBitmapRegistry& reg = Registry();
  std::lock_guard guard(reg.lock);
  for (TqzBitmap* b : reg.list)
    if (b->DC() == dc) return b;
  return nullptr;
}

void TqzBitmap::Register() {
  if (registered_) return;
  TBitmapRegistry& reg = Registry();
  std::lock_guard guard(reg.lock);
  reg.list.push_back(this);
  registered_ = true;
}

void TqzBitmap::Unregister() {
  if (!registered_) return;
  TBitmapRegistry& reg = Registry();
  std::lock_guard guard(reg.lock);
  std::erase(reg.list, this);
  registered_ = false;
}

// ---------------------------------------------------------------------------
// Life cycle and size

TqzBitmap::TqzBitmap() = default;

TqzBitmap::TqzBitmap(int width, int height) : TqzBitmap() { SetSize(width, height); }

TqzBitmap::~TqzBitmap() { Release(); }

void TqzBitmap::Release() {
  Unregister();
  if (canvas_) canvas_->SetTarget(nullptr);
  pixmap_ = TPixmap();
  width_ = height_ = 0;
}

void TqzBitmap::SetSize(int width, int height) {
  const int64_t w = std::llabs(int64_t(width));
  const int64_t h = std::llabs(int64_t(height));
  if (w == 0 || h == 0 || (w == width_ && h == height_)) return;
  Release();
  if (w * h * 4 > kMaxBitmapBytes) throw EOutOfResources(kErrAllocDib);
  try {
    pixmap_.Resize(int(w), int(h), 0);
  } catch (const std::bad_alloc&) {
    pixmap_ = TPixmap();
    throw EOutOfResources(kErrAllocDib);
  }
  try {
    if (!canvas_) canvas_ = std::make_unique<TCanvas>();
  } catch (const std::bad_alloc&) {
    pixmap_ = TPixmap();
    throw EOutOfResources(kErrCreateDC);
  }
  try {
    // A fresh context: no origin offset and no clip from the previous size.
    canvas_->SetTarget(&pixmap_);
    canvas_->SetViewportOrg({0, 0});
    canvas_->SetWindowOrg({0, 0});
    canvas_->SelectClipRgn(nullptr);
    Register();
  } catch (const std::exception&) {
    canvas_->SetTarget(nullptr);
    pixmap_ = TPixmap();
    throw EOutOfResources(kErrSelectObject);
  }
  width_ = int(w);
  height_ = int(h);
}

TqzBitmapInfoHeader TqzBitmap::BitmapInfo() const {
  TqzBitmapInfoHeader info;
  info.biWidth = width_;
  info.biHeight = -height_;
  info.biBitCount = 32;
  return info;
}

TCanvas& TqzBitmap::Canvas() {
  if (!canvas_) {
    canvas_ = std::make_unique<TCanvas>();
    if (!Empty()) canvas_->SetTarget(&pixmap_);
  }
  return *canvas_;
}

void TqzBitmap::SetPixel(int x, int y, TqzColor color) {
  if (Empty() || x < 0 || y < 0 || x >= width_ || y >= height_) return;
  pixmap_.At(x, y) = color;
}

// ---------------------------------------------------------------------------
// Whole-buffer pixel operations

void TqzBitmap::SetAlpha(uint8_t alpha) {
  if (Empty()) return;
  const uint32_t a = uint32_t(alpha) << 24;
  for (TqzColor& p : PixelSpan(pixmap_)) p = (p & 0x00FFFFFF) | a;
}

void TqzBitmap::CheckAlphaBlend() {
  AlphaBlend = false;
  for (TqzColor p : PixelSpan(pixmap_)) {
    const uint32_t a = p >> 24;
    if (a != 0 && a != 255) {
      AlphaBlend = true;
      return;
    }
  }
}

void TqzBitmap::SetTransparentColor(TqzColor color) {
  Transparent = false;
  const int r = ColorR(color), g = ColorG(color), b = ColorB(color);
  for (TqzColor& p : PixelSpan(pixmap_)) {
    if (std::abs(ColorR(p) - r) < 6 && std::abs(ColorG(p) - g) < 6 &&
        std::abs(ColorB(p) - b) < 6) {
      p = TransparentKeyColor;
      Transparent = true;
    }
  }
}

void TqzBitmap::PreMultiply() {
  for (TqzColor& p : PixelSpan(pixmap_)) p = PremultiplyPixel(p);
}

void TqzBitmap::ClampColorToAlpha() {
  for (TqzColor& p : PixelSpan(pixmap_)) {
    const uint32_t a = p >> 24;
    const uint32_t r = std::min<uint32_t>((p >> 16) & 0xFF, a);
    const uint32_t g = std::min<uint32_t>((p >> 8) & 0xFF, a);
    const uint32_t b = std::min<uint32_t>(p & 0xFF, a);
    p = (a << 24) | (r << 16) | (g << 8) | b;
  }
}

void TqzBitmap::FillRect(const TRect& r, TqzColor color) {
  TRect clip;
  if (Empty() || !IntersectRect(clip, r, pixmap_.Bounds())) return;
  const int w = clip.Width();
  if (AlphaBlend) {
    std::vector<TqzColor> line(size_t(w), color);
    for (int y = clip.Top; y < clip.Bottom; ++y)
      BlendRowAlpha(line.data(), pixmap_.Row(y) + clip.Left, w);
  } else {
    for (int y = clip.Top; y < clip.Bottom; ++y)
      std::fill_n(pixmap_.Row(y) + clip.Left, w, color);
  }
}

// ---------------------------------------------------------------------------
// Drawing

namespace {

TDrawMode ModeOf(const TqzBitmap& b) {
  if (b.AlphaBlend) return TDrawMode::Alpha;
  if (b.Transparent) return TDrawMode::ColorKey;
  return TDrawMode::Opaque;
}

}  // namespace

void TqzBitmap::DrawTo(TPixmap& target, const TRect& dst, const TRect& src,
                       const TRect& clip) const {
  if (Empty()) return;
  if (&target == &pixmap_) {
    // Drawing onto itself: read from a snapshot so overlapping areas behave
    // like a copy from a separate source.
    const TPixmap snapshot = pixmap_;
    DrawPixels(snapshot, ModeOf(*this), target, dst, src, clip);
    return;
  }
  DrawPixels(pixmap_, ModeOf(*this), target, dst, src, clip);
}

void TqzBitmap::Draw(TqzBitmap& target, const TRect& dst, const TRect& src) const {
  if (target.Empty()) return;
  DrawTo(target.pixmap_, dst, src, target.pixmap_.Bounds());
}

void TqzBitmap::Draw(TqzBitmap& target, int x, int y) const {
  Draw(target, Bounds(x, y, width_, height_), pixmap_.Bounds());
}

void TqzBitmap::Draw(TqzBitmap& target, int x, int y, const TRect& src) const {
  Draw(target, Bounds(x, y, src.Width(), src.Height()), src);
}

void TqzBitmap::Draw(HDC dc, const TRect& dst, const TRect& src) const {
  if (!dc || !dc->Target() || Empty() || src.IsEmpty()) return;
  // Logical -> device: the same for a bitmap's own context and any other.
  const TRect deviceDst = dc->LogicalToDevice(dst);
  TPixmap& target = *dc->Target();
  // Onto its own pixels: every clip part reads the same unchanged snapshot.
  TPixmap snapshot;
  if (&target == &pixmap_) snapshot = pixmap_;
  const TPixmap& source = &target == &pixmap_ ? snapshot : pixmap_;
  for (const TRect& clip : dc->DeviceClipRects()) {
    TRect part;
    if (IntersectRect(part, clip, deviceDst))
      DrawPixels(source, ModeOf(*this), target, deviceDst, src, part);
  }
}

void TqzBitmap::Draw(HDC dc, int x, int y) const {
  Draw(dc, Bounds(x, y, width_, height_), pixmap_.Bounds());
}

void TqzBitmap::Draw(HDC dc, int x, int y, const TRect& src) const {
  Draw(dc, Bounds(x, y, src.Width(), src.Height()), src);
}

// ---------------------------------------------------------------------------
// Framework graphics

void TqzBitmap::DrawGraphic(const TGraphic& graphic, const TRect& dst) {
  if (Empty()) return;
  constexpr uint32_t kMagenta = 0xFFFF00FF;
  TPixmap scratch(width_, height_, kMagenta);
  {
    TCanvas canvas(&scratch);
    canvas.StretchDraw(dst, graphic);
  }
  const TqzColor* from = scratch.Data();
  TqzColor* to = pixmap_.Data();
  const size_t n = size_t(width_) * size_t(height_);
  for (size_t i = 0; i < n; ++i)
    if ((from[i] & 0x00FFFFFF) != (kMagenta & 0x00FFFFFF)) to[i] = from[i];
}

void TqzBitmap::Assign(const TPersistent& source) {
  if (const auto* other = dynamic_cast<const TqzBitmap*>(&source)) {
    if (other == this) return;
    if (other->Empty()) {
      Release();
    } else {
      SetSize(other->width_, other->height_);
      pixmap_ = other->pixmap_;
    }
    Name = other->Name;
    AlphaBlend = other->AlphaBlend;
    Transparent = other->Transparent;
    return;
  }
  if (const auto* bitmap = dynamic_cast<const TBitmap*>(&source)) {
    if (bitmap->Empty()) {
      Release();
      return;
    }
    SetSize(bitmap->Width(), bitmap->Height());
    pixmap_ = bitmap->Pixels();
    if (bitmap->PixelFormat() == pf32bit && bitmap->HandleType() == bmDIB) {
      CheckAlphaBlend();
    } else {
      SetAlpha(255);
    }
    return;
  }
  if (const auto* graphic = dynamic_cast<const TGraphic*>(&source)) {
    if (graphic->Empty()) {
      Release();
      return;
    }
    SetSize(graphic->Width(), graphic->Height());
    DrawGraphic(*graphic, pixmap_.Bounds());
    SetAlpha(255);
    return;
  }
  inherited::Assign(source);
}

void TqzBitmap::AssignTo(TPersistent& dest) const {
  if (auto* bitmap = dynamic_cast<TBitmap*>(&dest)) {
    bitmap->SetPixelFormat(pf32bit);
    bitmap->SetSize(width_, height_);
    Draw(&bitmap->Canvas(), 0, 0);
    bitmap->Modified();
    return;
  }
  inherited::AssignTo(dest);
}

// ---------------------------------------------------------------------------
// Free functions

void AlphaFromMask(TqzBitmap& bitmap, const TPixmap& mask) {
  const int w = std::min(bitmap.Width(), mask.Width());
  const int h = std::min(bitmap.Height(), mask.Height());
  for (int y = 0; y < h; ++y) {
    TqzColor* row = bitmap.ScanLine(y);
    const uint32_t* m = mask.Row(y);
    for (int x = 0; x < w; ++x) {
      const uint32_t sum = ((m[x] >> 16) & 0xFF) + ((m[x] >> 8) & 0xFF) + (m[x] & 0xFF);
      // round(sum / 3): a third never ends in exactly one half.
      const uint32_t a = (sum + 1) / 3;
      row[x] = (row[x] & 0x00FFFFFF) | (a << 24);
    }
  }
}

void AlphaFromMask(TqzBitmap& bitmap, const TqzBitmap& mask) {
  AlphaFromMask(bitmap, mask.Pixmap());
}

void AlphaFromMaskPremultiplied(TqzBitmap& bitmap, const TPixmap& mask) {
  AlphaFromMask(bitmap, mask);
  bitmap.PreMultiply();
}

void AlphaFromMaskPremultiplied(TqzBitmap& bitmap, const TqzBitmap& mask) {
  AlphaFromMaskPremultiplied(bitmap, mask.Pixmap());
}

}  // namespace qz
