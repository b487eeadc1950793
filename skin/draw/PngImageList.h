// A list of PNG images of one size, drawn enabled or disabled (a
// half-transparent copy). The file dialogs take their tool-button images
// from one.
#pragma once

#include <memory>
#include <string>

#include "host/components/Collection.h"
#include "host/components/Component.h"
#include "skin/draw/PngImage.h"

namespace qz {

class TCanvas;

class TqzPngImageItem : public TCollectionItem {
  QZ_CLASS(TqzPngImageItem, TCollectionItem)
 public:
  explicit TqzPngImageItem(TCollection* collection);
  TqzPngImage& PngImage() { return *image_; }
  const TqzPngImage& PngImage() const { return *image_; }
  void SetPngImage(const TqzPngImage& image) { image_->Assign(image); }
  // Name when set, else the image's size ("16 x 16"), "(empty)" without one.
  std::string DisplayName() const override;
  std::string Name;

 private:
  std::unique_ptr<TqzPngImage> image_;
};

class TqzPngImageList : public TComponent {
  QZ_CLASS(TqzPngImageList, TComponent)
 public:
  explicit TqzPngImageList(TComponent* owner);
  ~TqzPngImageList() override;

  TCollection& PngImages() { return images_; }
  const TCollection& PngImages() const { return images_; }
  int Count() const { return images_.Count(); }
  TqzPngImageItem* Item(int index) const;
  // Adds an image read from PNG bytes (EInvalidGraphic when they are bad).
  TqzPngImageItem* AddFromBytes(std::span<const uint8_t> png, const std::string& name = "");

  int PngWidth() const { return width_; }
  int PngHeight() const { return height_; }
  void SetPngWidth(int value) { width_ = value > 0 ? value : width_; }
  void SetPngHeight(int value) { height_ = value > 0 ? value : height_; }

  // Draws image `index` into (x, y, x + PngWidth, y + PngHeight); disabled
  // images are drawn from a half-transparent copy. A bad index draws nothing.
  void DoDraw(int index, TCanvas& canvas, int x, int y, bool enabled) const;

  // Turns image into its disabled look: alpha halved (colour types 4, 6 and
  // 2, which gets an alpha plane first), or 127 for types 0 and 3; pixels of
  // the transparent colour get 0.
  static void MakeDisabled(TqzPngImage& image);

 private:
  TCollection images_;
  int width_ = 16;
  int height_ = 16;
};

}  // namespace qz
