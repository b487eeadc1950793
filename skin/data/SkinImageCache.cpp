#include "skin/data/SkinImageCache.h"

#include <algorithm>
#include <cstring>

#include "host/graphics/Bitmap.h"
#include "skin/data/SkinData.h"

namespace qz {

std::unique_ptr<TqzBitmap> CutAlphaImage(const TPixmap& picture, const TRect& rect,
                                         const TPixmap* mask) {
  TRect r = Intersection(rect, picture.Bounds());
  if (r.IsEmpty()) return nullptr;
  const int w = r.Width(), h = r.Height();
  auto image = std::make_unique<TqzBitmap>(w, h);
  // Mask cut at the same place; pixels the mask does not cover stay opaque.
  TPixmap alpha(w, h, 0xFFFFFFFFu);
  for (int y = 0; y < h; ++y) {
    const uint32_t* src = picture.Row(r.Top + y) + r.Left;
    TqzColor* dst = image->ScanLine(y);
    for (int x = 0; x < w; ++x) dst[x] = src[x] | 0xFF000000u;
    if (mask && r.Top + y < mask->Height()) {
      int n = std::clamp(mask->Width() - r.Left, 0, w);
      std::memcpy(alpha.Row(y), mask->Row(r.Top + y) + r.Left, size_t(n) * 4);
    }
  }
  if (mask) AlphaFromMask(*image, alpha);
  return image;
}

namespace {

const TPixmap* PicturePixels(const TqzSkinData& skin, int index) {
  const TBitmap* b = skin.ActivePicture(index);
  return b && !b->Empty() ? &b->Pixels() : nullptr;
}

std::unique_ptr<TqzBitmap> FrameImage(const TqzSkinData& skin, int pictureIndex, int maskIndex) {
  const TPixmap* picture = PicturePixels(skin, pictureIndex);
  const TPixmap* mask = PicturePixels(skin, maskIndex);
  if (!picture || !mask) return nullptr;
  return CutAlphaImage(*picture, picture->Bounds(), mask);
}

// Buttons drawn on a layered frame with a full border.
TqzButtonImages LayerButtonImages(const TqzSkinData& skin, const TqzDataSkinButton& b) {
  TqzButtonImages images;
  const TqzDataSkinLayerFrame& frame = skin.LayerFrame();
  if (frame.PictureIndex == -1 || !frame.FullBorder) return images;
  const TPixmap* picture = PicturePixels(skin, b.ActivePictureIndex);
  if (!picture) return images;
  const TPixmap* normalMask = PicturePixels(skin, b.AlphaMaskPictureIndex);
  const TPixmap* activeMask = PicturePixels(skin, b.AlphaMaskActivePictureIndex);
  const TPixmap* inactiveMask = PicturePixels(skin, b.AlphaMaskInActivePictureIndex);
  images.Normal = CutAlphaImage(*picture, b.SkinRect, normalMask);
  images.Active = CutAlphaImage(*picture, b.ActiveSkinRect, activeMask);
  images.Down = CutAlphaImage(*picture, b.DownRect, activeMask);
  images.InActive = CutAlphaImage(*picture, b.InActiveSkinRect, inactiveMask);
  if (auto* standard = dynamic_cast<const TqzDataSkinStdButton*>(&b)) {
    images.Restore = CutAlphaImage(*picture, standard->RestoreRect, normalMask);
    images.RestoreActive = CutAlphaImage(*picture, standard->RestoreActiveRect, activeMask);
    images.RestoreDown = CutAlphaImage(*picture, standard->RestoreDownRect, activeMask);
    images.RestoreInActive = CutAlphaImage(*picture, standard->RestoreInActiveRect, inactiveMask);
  }
  return images;
}

TqzButtonImages CaptionMenuButtonImages(const TqzSkinData& skin,
                                        const TqzDataSkinCaptionMenuButton& b) {
  TqzButtonImages images;
  const TPixmap* picture = PicturePixels(skin, b.ActivePictureIndex);
  if (!picture) return images;
  const TPixmap* activeMask = PicturePixels(skin, b.AlphaMaskActivePictureIndex);
  images.Normal = CutAlphaImage(*picture, b.SkinRect, PicturePixels(skin, b.AlphaMaskPictureIndex));
  images.Active = CutAlphaImage(*picture, b.ActiveSkinRect, activeMask);
  images.Down = CutAlphaImage(*picture, b.DownRect, activeMask);
  images.InActive = CutAlphaImage(*picture, b.InActiveSkinRect,
                                  PicturePixels(skin, b.AlphaMaskInActivePictureIndex));
  return images;
}

// A tab's normal look takes the inactive mask and its pressed look the
// normal one.
TqzButtonImages CaptionTabImages(const TqzSkinData& skin, const TqzDataSkinCaptionTab& b) {
  TqzButtonImages images;
  const TPixmap* picture = PicturePixels(skin, b.ActivePictureIndex);
  if (!picture) return images;
  images.Normal =
      CutAlphaImage(*picture, b.SkinRect, PicturePixels(skin, b.AlphaMaskInActivePictureIndex));
  images.Active =
      CutAlphaImage(*picture, b.ActiveSkinRect, PicturePixels(skin, b.AlphaMaskActivePictureIndex));
  images.Down = CutAlphaImage(*picture, b.DownRect, PicturePixels(skin, b.AlphaMaskPictureIndex));
  return images;
}

}  // namespace

void TqzSkinImageCache::BuildLayerFrame(const TqzSkinData& skin) {
  const TqzDataSkinLayerFrame& f = skin.LayerFrame();
  frameActive_ = FrameImage(skin, f.PictureIndex, f.MaskPictureIndex);
  frameInactive_ = FrameImage(skin, f.InActivePictureIndex, f.InActiveMaskPictureIndex);
}

void TqzSkinImageCache::BuildButton(const TqzSkinData& skin, const TqzDataSkinObject& object) {
  const auto* button = dynamic_cast<const TqzDataSkinButton*>(&object);
  if (!button) return;
  if (auto* tab = dynamic_cast<const TqzDataSkinCaptionTab*>(button))
    buttons_[&object] = CaptionTabImages(skin, *tab);
  else if (auto* menu = dynamic_cast<const TqzDataSkinCaptionMenuButton*>(button))
    buttons_[&object] = CaptionMenuButtonImages(skin, *menu);
  else
    buttons_[&object] = LayerButtonImages(skin, *button);
}

void TqzComposedCache::Put(const TKey& key, std::type_index type,
                           std::shared_ptr<const void> value) {
  std::erase_if(entries_, [&](const TEntry& e) { return e.Key == key && e.Type == type; });
  if (entries_.size() >= kCapacity) entries_.erase(entries_.begin());
  entries_.push_back({key, type, std::move(value)});
}

void TqzSkinImageCache::Clear() {
  composed_.Clear();
  frameActive_.reset();
  frameInactive_.reset();
  buttons_.clear();
}

const TqzButtonImages* TqzSkinImageCache::ButtonImages(const TqzDataSkinObject& object) const {
  auto it = buttons_.find(&object);
  return it == buttons_.end() ? nullptr : &it->second;
}

}  // namespace qz
