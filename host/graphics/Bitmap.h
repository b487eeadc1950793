// The framework bitmap: a picture held as 32-bit pixels in memory that
// remembers the pixel format it was read with (and is saved with), carries a
// palette when paletted, draws itself stretched into a canvas (optionally
// colour-keyed) and streams itself as a platform bitmap file.
#pragma once

#include <memory>
#include <span>
#include <vector>

#include "host/base/Color.h"
#include "host/base/Stream.h"
#include "host/base/Types.h"
#include "host/graphics/Graphic.h"
#include "host/graphics/Pixmap.h"

namespace qz {

class TCanvas;

enum TPixelFormat { pfDevice, pf1bit, pf4bit, pf8bit, pf15bit, pf16bit, pf24bit, pf32bit, pfCustom };
enum TBitmapHandleType { bmDIB, bmDDB };
enum TTransparentMode { tmAuto, tmFixed };

class TBitmap : public TGraphic {
  QZ_CLASS(TBitmap, TGraphic)
 public:
  TBitmap();
  TBitmap(int width, int height);
  ~TBitmap() override;

  // Size. Growing keeps the old pixels in the top-left corner and fills the
  // new area with white (the canvas brush); shrinking crops. Negative sizes
  // count as 0. Fires OnChange when the size changes.
  int Width() const override { return pixels_.Width(); }
  int Height() const override { return pixels_.Height(); }
  bool Empty() const override { return pixels_.Empty(); }
  void SetWidth(int width) { SetSize(width, Height()); }
  void SetHeight(int height) { SetSize(Width(), height); }
  void SetSize(int width, int height);

  // The format the bitmap was read with and is saved with. A new bitmap is
  // pfDevice / bmDDB; a loaded one is bmDIB. Switching to a lower depth
  // reduces the pixels in memory the way the format would store them
  // (paletted formats map to the nearest palette colour; 15/16/24 bits drop
  // alpha and low bits). Any format other than pfDevice makes it bmDIB.
  // pfCustom (odd bit-field layouts) only comes from files; setting it
  // raises EInvalidGraphic.
  TPixelFormat PixelFormat() const { return pixelFormat_; }
  void SetPixelFormat(TPixelFormat format);
  TBitmapHandleType HandleType() const { return handleType_; }
  void SetHandleType(TBitmapHandleType type);
  // 1 bit per pixel. Setting true converts to pf1bit with a black and white
  // palette; setting false makes a 1-bit bitmap pfDevice.
  bool Monochrome() const { return pixelFormat_ == pf1bit; }
  void SetMonochrome(bool value);
  // Colour table of pf1bit / pf4bit / pf8bit bitmaps (empty otherwise).
  // Setting it remaps the pixels to the new colours; it is ignored for
  // other formats, and an empty table or one longer than 2^bits raises
  // EInvalidGraphic.
  const std::vector<TColorRef>& Palette() const { return palette_; }
  void SetPalette(std::vector<TColorRef> palette);
  // True when the pixels carry alpha: read from a file with a non-zero
  // alpha channel, or from an RLE file that leaves pixels unwritten (those
  // are transparent), or set by the caller for 32-bit content.
  bool AlphaPresent() const { return alphaPresent_; }
  void SetAlphaPresent(bool value) { alphaPresent_ = value; }

  // The pixels, always 32-bit 0xAARRGGBB in memory whatever the format.
  // After writing to them directly (or resizing them), call Modified(): it
  // fires OnChange and lets the canvas follow a new size.
  TPixmap& Pixels() { return pixels_; }
  const TPixmap& Pixels() const { return pixels_; }
  void Modified();

  // A canvas over the pixels, created on first use and kept for the
  // bitmap's life (it draws into Pixels(), whatever the size).
  TCanvas& Canvas();

  // Colour key used when Transparent is set. With tmAuto it is the colour of
  // the bottom-left pixel (clNone for an empty bitmap); setting a colour
  // switches to tmFixed, setting clDefault back to tmAuto.
  TColor TransparentColor() const;
  void SetTransparentColor(TColor color);
  TTransparentMode TransparentMode() const { return transparentMode_; }
  void SetTransparentMode(TTransparentMode mode);

  // Copies the whole picture into dest, stretched nearest-neighbour. Opaque
  // block copy (all 32 bits) unless Transparent, in which case pixels whose
  // colour equals TransparentColor are left out.
  void Draw(TCanvas& canvas, const TRect& dest) const override;

  // Platform bitmap file. LoadFromStream reads exactly one file (the length
  // its file header gives) from the current position; a stream with nothing
  // left gives an empty bitmap. Bad data raises EInvalidGraphic and leaves
  // the bitmap unchanged. SaveToStream writes nothing for an empty bitmap.
  void LoadFromStream(TStream& stream) override;
  void SaveToStream(TStream& stream) const override;
  // Loads from an in-memory file.
  void LoadFromBytes(std::span<const uint8_t> file);
  // The file SaveToStream writes: 1, 4 or 8 bits with the palette for
  // paletted formats, 15/16 bits, 24, 32 for pf32bit and pfDevice/pfCustom.
  std::vector<uint8_t> SaveToBytes() const;

  // Binary property form (form resources): a 4-byte little-endian length
  // followed by that many bytes of bitmap file. Length 0 is an empty bitmap.
  void ReadData(TStream& stream);
  void WriteData(TStream& stream) const;

  // Deep copy from another TBitmap (pixels, format, palette, transparency);
  // other sources go to the source's AssignTo.
  void Assign(const TPersistent& source) override;

  // Clears the picture to 0 x 0 (format and transparency settings stay).
  void Clear();

 private:
  void SetPixelsFrom(TPixmap pixels);
  void RefreshCanvas();
  int FileBitsPerPixel() const;

  TPixmap pixels_;
  TPixelFormat pixelFormat_ = pfDevice;
  TBitmapHandleType handleType_ = bmDDB;
  std::vector<TColorRef> palette_;
  bool alphaPresent_ = false;
  TColor transparentColor_ = clDefault;
  TTransparentMode transparentMode_ = tmAuto;
  std::unique_ptr<TCanvas> canvas_;
};

}  // namespace qz
