// Image lists: a row of same-sized images kept as 32-bit pixels, each with a
// transparency mask, drawn into a canvas in a normal or a greyed (disabled)
// look. Menus and skinned controls take their item glyphs from one.
#pragma once

#include <cstdint>
#include <vector>

#include "host/base/Color.h"
#include "host/base/Exception.h"
#include "host/components/Component.h"
#include "host/components/Events.h"
#include "host/graphics/Bitmap.h"
#include "host/graphics/Pixmap.h"

namespace qz {

class TCanvas;

class EImageListError : public Exception {
 public:
  using Exception::Exception;
};

class TCustomImageList : public TComponent {
  QZ_CLASS(TCustomImageList, TComponent)
 public:
  explicit TCustomImageList(TComponent* AOwner);

  // Size of every image. Changing either clears the list (the strip layout
  // no longer fits). Values below 1 raise EImageListError.
  int Width() const { return width_; }
  int Height() const { return height_; }
  void SetWidth(int value) { SetSize(value, height_); }
  void SetHeight(int value) { SetSize(width_, value); }
  void SetSize(int width, int height);

  int Count() const { return static_cast<int>(images_.size()); }

  // Masked: drawing leaves out the masked pixels. BkColor (clNone by
  // default) fills masked pixels instead when set.
  bool Masked() const { return masked_; }
  void SetMasked(bool value);
  TColor BkColor() const { return bkColor_; }
  void SetBkColor(TColor value);

  // Appends the images of a strip: the bitmap is cut into Width-wide images
  // (a narrower last piece is dropped, as is everything below Height). The
  // optional mask has the same layout; its non-black pixels are transparent.
  // Without a mask the pixels' own alpha decides when the bitmap carries
  // alpha, else every pixel is opaque. Returns the index of the first image
  // added, or -1 when the strip holds no whole image.
  int Add(const TBitmap& image, const TBitmap* mask = nullptr);
  // Like Add, with the pixels of colour `transparent` masked out.
  int AddMasked(const TBitmap& image, TColor transparent);
  void Delete(int index);  // EImageListError when out of range
  void Clear();

  // Sets image to Width x Height holding image `index` (masked pixels
  // transparent, alpha 0). EImageListError when out of range.
  void GetBitmap(int index, TBitmap& image) const;
  // The pixels of image `index`: alpha 255 = shown, 0 = masked.
  const TPixmap& Image(int index) const;

  // Draws image `index` with its top-left corner at (x, y) (logical
  // coordinates, clipped by the canvas). Disabled images are drawn as a
  // grey version: each shown pixel becomes its luminance lightened half-way
  // to white. An index out of range draws nothing.
  void Draw(TCanvas& canvas, int x, int y, int index, bool enabled = true) const;

  // The greyed colour Draw uses for a shown pixel of a disabled image.
  static uint32_t DisabledPixel(uint32_t pixel);

  // Binary property form: "QZIL", version 1, width, height, count (32-bit
  // little-endian each), then per image flags (1 = alpha is the mask), a
  // length and a 32-bit bitmap file (alpha 0 = masked). Reading rejects bad data with EReadError and
  // leaves the list unchanged.
  std::vector<uint8_t> SaveData() const;
  void LoadData(const std::vector<uint8_t>& data);

  TNotifyEvent OnChange;

 protected:
  virtual void Change();

 private:
  void CheckIndex(int index) const;

  int width_ = 16;
  int height_ = 16;
  bool masked_ = true;
  TColor bkColor_ = clNone;
  std::vector<TPixmap> images_;
};

class TImageList : public TCustomImageList {
  QZ_CLASS(TImageList, TCustomImageList)
 public:
  using TCustomImageList::TCustomImageList;
};

}  // namespace qz
