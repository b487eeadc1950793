// Images rendered from a loaded skin's pictures for its descriptions: the
// layer frame's pictures and the 32-bit looks of caption buttons and tabs,
// each with the opacity of its mask. The skin data owns one cache beside its
// descriptions and fills it while loading, so that the descriptions stay
// plain values.
#pragma once

#include <memory>
#include <unordered_map>

#include "host/base/Types.h"
#include "skin/draw/EffectBmp.h"

namespace qz {

class TPixmap;
class TqzSkinData;
class TqzDataSkinObject;

// A 32-bit image with per-pixel opacity, cut from `picture` at `rect` (clipped
// to the picture); the opacity comes from `mask` at the same place
// (round((R + G + B) / 3)), or is opaque where there is no mask. nullptr when
// the rect does not cover any pixel of the picture.
std::unique_ptr<TqzBitmap> CutAlphaImage(const TPixmap& picture, const TRect& rect,
                                         const TPixmap* mask);

// The 32-bit looks of a button with their opacity.
struct TqzButtonImages {
  std::unique_ptr<TqzBitmap> Normal, Active, Down, InActive;
  std::unique_ptr<TqzBitmap> Restore, RestoreActive, RestoreDown, RestoreInActive;
};

class TqzSkinImageCache {
 public:
  // The layer frame's active and inactive images; one is null when either
  // index of its pair does not name a picture.
  void BuildLayerFrame(const TqzSkinData& skin);
  // The looks of a button object: caption tabs and caption menu buttons from
  // their active picture; other buttons only when the layer frame has a
  // picture and a full border (standard buttons with their restore looks).
  // Objects that are no buttons get nothing.
  void BuildButton(const TqzSkinData& skin, const TqzDataSkinObject& object);
  void Clear();

  const TqzBitmap* LayerFrameImage() const { return frameActive_.get(); }
  const TqzBitmap* LayerFrameInActiveImage() const { return frameInactive_.get(); }
  // The looks built for a button object; null for objects that are no buttons.
  const TqzButtonImages* ButtonImages(const TqzDataSkinObject& object) const;

 private:
  std::unique_ptr<TqzBitmap> frameActive_, frameInactive_;
  std::unordered_map<const TqzDataSkinObject*, TqzButtonImages> buttons_;
};

}  // namespace qz
