// Pixel bitmaps and effects.
//
// TqzBitmap is the engine's 32-bit top-down pixel buffer with alpha: it owns a
// TPixmap (Bits = the pixmap's data, rows contiguous, no padding) and one
// TCanvas bound to that pixmap which is both its device context (DC()) and its
// Canvas() -- the same object, so origin and clip set through one are seen by
// the other. It draws itself onto device contexts and onto other TqzBitmaps in
// three modes (opaque, colour key 0x7F007F, per-pixel alpha) with
// nearest-neighbour scaling.
//
// TqzEffectBmp is a 24-bit top-down buffer (rows padded to a multiple of 4
// bytes) on which morph transitions and inactive-window effects are computed.
//
// Rounding in this unit is to the nearest integer with halves to even; integer
// divisions truncate towards zero; every value stored into a channel is first
// clamped to 0..255.
#pragma once

#include <cstddef>
#include <cstdint>
#include <memory>
#include <string>
#include <vector>

#include "host/base/Exception.h"
#include "host/base/Types.h"
#include "host/components/Persistent.h"
#include "host/graphics/Pixmap.h"

namespace qz {

class TCanvas;
class TGraphic;
class TBitmap;
using HDC = TCanvas*;

// One 32-bit pixel, 0xAARRGGBB (bytes B, G, R, A in memory). Colour channels
// are straight unless a premultiplying operation was applied.
using TqzColor = uint32_t;

constexpr uint8_t ColorB(TqzColor c) { return static_cast<uint8_t>(c); }
constexpr uint8_t ColorG(TqzColor c) { return static_cast<uint8_t>(c >> 8); }
constexpr uint8_t ColorR(TqzColor c) { return static_cast<uint8_t>(c >> 16); }
constexpr uint8_t ColorA(TqzColor c) { return static_cast<uint8_t>(c >> 24); }
constexpr TqzColor MakeQzColor(int r, int g, int b, int a = 255) {
  return (uint32_t(a & 0xFF) << 24) | (uint32_t(r & 0xFF) << 16) | (uint32_t(g & 0xFF) << 8) |
         uint32_t(b & 0xFF);
}

// The colour key of transparent bitmaps: red 127, green 0, blue 127, alpha 0.
// Read as a colour reference it is the same value (red and blue are equal).
constexpr TqzColor TransparentKeyColor = 0x007F007F;

// The three errors of TqzBitmap::SetSize (raised as EOutOfResources).
inline constexpr const char* kErrAllocDib = "Can't allocate the DIB handle";
inline constexpr const char* kErrCreateDC = "Can't create compatible DC";
inline constexpr const char* kErrSelectObject = "Can't bslect an object into DC";

// Largest pixel buffer a bitmap may own (bytes). Larger requests fail with
// kErrAllocDib instead of exhausting memory.
inline constexpr int64_t kMaxBitmapBytes = int64_t(1) << 31;

// The platform bitmap header that describes a buffer (top-down: height < 0).
struct TqzBitmapInfoHeader {
  uint32_t biSize = 40;
  int32_t biWidth = 0;
  int32_t biHeight = 0;
  uint16_t biPlanes = 1;
  uint16_t biBitCount = 32;
  uint32_t biCompression = 0;  // BI_RGB
  uint32_t biSizeImage = 0;
  int32_t biXPelsPerMeter = 0;
  int32_t biYPelsPerMeter = 0;
  uint32_t biClrUsed = 0;
  uint32_t biClrImportant = 0;
};

class TqzBitmap : public TPersistent {
  QZ_CLASS(TqzBitmap, TPersistent)
 public:
  TqzBitmap();
  TqzBitmap(int width, int height);  // SetSize(width, height)
  ~TqzBitmap() override;

  // Negative sizes count by their absolute value. A zero side or an unchanged
  // size does nothing (contents kept); otherwise a new zero-filled buffer
  // replaces the old one. Raises EOutOfResources with kErrAllocDib /
  // kErrCreateDC / kErrSelectObject; after a failure the bitmap is empty.
  void SetSize(int width, int height);
  bool Empty() const { return width_ == 0; }
  int Width() const { return width_; }
  int Height() const { return height_; }
  TqzBitmapInfoHeader BitmapInfo() const;

  // Raw pixels; no bounds checks.
  TqzColor* Bits() { return pixmap_.Data(); }
  const TqzColor* Bits() const { return pixmap_.Data(); }
  TqzColor* ScanLine(int y) { return pixmap_.Row(y); }
  const TqzColor* ScanLine(int y) const { return pixmap_.Row(y); }
  TqzColor* PixelPtr(int x, int y) { return pixmap_.Row(y) + x; }
  const TqzColor* PixelPtr(int x, int y) const { return pixmap_.Row(y) + x; }
  // The pixel store itself (its size always equals Width x Height).
  const TPixmap& Pixmap() const { return pixmap_; }

  // Writes inside the bitmap only.
  void SetPixel(int x, int y, TqzColor color);

  // The device context: the canvas bound to this bitmap's pixels, or nullptr
  // while the bitmap is empty. FindBitmapByDC(DC()) returns this bitmap.
  HDC DC() const { return Empty() ? nullptr : canvas_.get(); }
  // The canvas (the same object as DC()); valid for the bitmap's whole life,
  // rebound on every SetSize, without a target while empty.
  TCanvas& Canvas();

  void SetAlpha(uint8_t alpha);
  // AlphaBlend := some pixel has an alpha strictly between 0 and 255.
  void CheckAlphaBlend();
  // Pixels within 5 of color in each of red, green and blue become the key
  // (alpha 0); Transparent is set when any pixel was replaced.
  void SetTransparentColor(TqzColor color);
  // c := round(A * c / 255) for every colour channel.
  void PreMultiply();
  // Colour channels above the pixel's alpha are lowered to it.
  void ClampColorToAlpha();
  // Fills r (clipped): alpha-blends color when AlphaBlend, else sets it.
  void FillRect(const TRect& r, TqzColor color);

  // Draws onto a device context (logical coordinates of dc, through its
  // origins and clip region). The mode follows the flags: AlphaBlend, then
  // Transparent, else opaque. A dc without target pixels draws nothing.
  void Draw(HDC dc, int x, int y) const;
  void Draw(HDC dc, int x, int y, const TRect& src) const;
  void Draw(HDC dc, const TRect& dst, const TRect& src) const;
  void Draw(TCanvas& canvas, int x, int y) const { Draw(&canvas, x, y); }
  // Draws onto another bitmap's pixels (its origin and clip are not used).
  void Draw(TqzBitmap& target, int x, int y) const;
  void Draw(TqzBitmap& target, int x, int y, const TRect& src) const;
  void Draw(TqzBitmap& target, const TRect& dst, const TRect& src) const;
  // The same transfer onto any pixel surface, limited to clip (device pixels;
  // it is intersected with the surface's bounds).
  void DrawTo(TPixmap& target, const TRect& dst, const TRect& src, const TRect& clip) const;

  // Renders a framework graphic stretched into dst; pixels the graphic leaves
  // untouched (exact magenta on a magenta background) keep this bitmap's value.
  void DrawGraphic(const TGraphic& graphic, const TRect& dst);

  // From a TqzBitmap (size, pixels, Name, AlphaBlend, Transparent), a framework
  // TBitmap (32-bit DIB: pixels with alpha then CheckAlphaBlend; otherwise
  // opaque copy with alpha 255), or any other TGraphic (DrawGraphic, alpha 255).
  void Assign(const TPersistent& source) override;

  std::string Name;
  bool AlphaBlend = false;
  bool Transparent = false;

 protected:
  // To a framework TBitmap: it becomes 32-bit of this size with these pixels.
  void AssignTo(TPersistent& dest) const override;

 private:
  void Release();
  void Register();
  void Unregister();

  int width_ = 0;
  int height_ = 0;
  TPixmap pixmap_;
  std::unique_ptr<TCanvas> canvas_;
  bool registered_ = false;
};

// The registered bitmap whose device context is dc, or nullptr.
TqzBitmap* FindBitmapByDC(HDC dc);

// alpha := round((red + green + blue of mask) / 3) per pixel. Only the part of
// the bitmap the mask covers is changed (a smaller mask is never read past).
void AlphaFromMask(TqzBitmap& bitmap, const TPixmap& mask);
void AlphaFromMask(TqzBitmap& bitmap, const TqzBitmap& mask);
// AlphaFromMask, then PreMultiply.
void AlphaFromMaskPremultiplied(TqzBitmap& bitmap, const TPixmap& mask);
void AlphaFromMaskPremultiplied(TqzBitmap& bitmap, const TqzBitmap& mask);

// Separable tent blur of the given radius (weights R + 1 - |k|, edges repeat,
// sums truncated by (R + 1)^2 after each pass); the result is opaque. A radius
// of 0 or less does nothing; radii above kMaxBlurRadius count as that maximum.
inline constexpr int kMaxBlurRadius = 2000;
void BlurBitmap(TqzBitmap& bitmap, int radius);

// ---------------------------------------------------------------------------

// Morph kinds and inactive-window effects as the skin descriptions number them.
enum TqzMorphKind : int {
  mkDefault = 0,
  mkGradient = 1,
  mkLeftGradient = 2,
  mkRightGradient = 3,
  mkLeftSlide = 4,
  mkRightSlide = 5,
  mkPush = 6,
};
enum TqzInactiveEffect : int {
  ieBrightness = 0,
  ieDarkness = 1,
  ieGrayScale = 2,
  ieNoise = 3,
  ieSplitBlur = 4,
  ieInvert = 5,
};

class TqzEffectBmp {
 public:
  // A zero-filled W x H image (a size of 0 or less on either side gives an
  // empty image). Raises EOutOfResources (kErrAllocDib) past kMaxBitmapBytes.
  TqzEffectBmp(int width, int height);
  // A copy of a 32-bit pixel surface's colours (alpha dropped).
  explicit TqzEffectBmp(const TPixmap& source);
  explicit TqzEffectBmp(const TqzBitmap& source) : TqzEffectBmp(source.Pixmap()) {}
  // From a framework bitmap (its pixels as colours, whatever its format).
  explicit TqzEffectBmp(const TBitmap& source);

  int Width() const { return width_; }
  int Height() const { return height_; }
  // Row stride in bytes: Width * 3 + Width mod 4 (a multiple of 4).
  int Stride() const { return stride_; }
  TqzBitmapInfoHeader BitmapInfo() const;
  uint8_t* Bits() { return bits_.data(); }
  const uint8_t* Bits() const { return bits_.data(); }
  uint8_t* RowPtr(int y) { return bits_.data() + size_t(y) * stride_; }
  const uint8_t* RowPtr(int y) const { return bits_.data() + size_t(y) * stride_; }

  // The pixel's bytes (blue, green, red) as 0x00RRGGBB; no bounds checks.
  uint32_t GetPixel(int x, int y) const;
  void SetPixel(int x, int y, uint32_t color);
  // Copy Width * 3 bytes between row y and buffer.
  void ReadRow(int y, uint8_t* buffer) const;
  void WriteRow(int y, const uint8_t* buffer);

  // Copies the whole image to dc at (x, y), unscaled, as opaque pixels.
  void Draw(HDC dc, int x, int y) const;
  // The same onto a pixel surface (no clip beyond its bounds).
  void DrawTo(TPixmap& target, int x, int y) const;
  // The image as 32-bit opaque pixels.
  TPixmap ToPixmap() const;

  // Morphs: Kf 0 = this image, 1 = other. Different sizes do nothing.
  void Morph(const TqzEffectBmp& other, double kf);
  void MorphGrad(const TqzEffectBmp& other, double kf);
  void MorphHGrad(const TqzEffectBmp& other, double kf);
  void MorphVGrad(const TqzEffectBmp& other, double kf);
  void MorphLeftGrad(const TqzEffectBmp& other, double kf);
  void MorphRightGrad(const TqzEffectBmp& other, double kf);
  void MorphLeftSlide(const TqzEffectBmp& other, double kf);
  void MorphRightSlide(const TqzEffectBmp& other, double kf);
  void MorphPush(const TqzEffectBmp& other, double kf);
  // Blends other (from (otherLeft, otherTop)) into rect of this image; both
  // rectangles are limited to the images.
  void MorphRect(const TqzEffectBmp& other, const TRect& rect, int otherTop, int otherLeft,
                 double kf);
  // Applies the morph of the given kind (unknown kinds act as mkDefault).
  void ApplyMorph(int kind, const TqzEffectBmp& other, double kf);

  // Colour effects.
  void ChangeBrightness(double kf);
  void ChangeDarkness(double kf);
  void GrayScale();
  void Invert();
  void AddNoise(int range);
  void SplitBlur(int amount);
  // Applies the inactive effect of the given code with its fixed parameter
  // (unknown codes act as ieGrayScale).
  void ApplyInactiveEffect(int effect);

  // Geometry; dest must already have the right size (Height x Width for the
  // rotations, Width x Height for the flip), else nothing happens.
  void Rotate90_1(TqzEffectBmp& dest) const;  // quarter turn counter-clockwise
  void Rotate90_2(TqzEffectBmp& dest) const;  // quarter turn clockwise
  void FlipVert(TqzEffectBmp& dest) const;

 private:
  bool SameSize(const TqzEffectBmp& other) const {
    return other.width_ == width_ && other.height_ == height_;
  }
  int width_ = 0;
  int height_ = 0;
  int stride_ = 0;
  std::vector<uint8_t> bits_;
};

}  // namespace qz
