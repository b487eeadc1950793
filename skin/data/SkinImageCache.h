// Images rendered from a loaded skin's pictures for its descriptions: the
// layer frame's pictures and the 32-bit looks of caption buttons and tabs,
// each with the opacity of its mask. The skin data owns one cache beside its
// descriptions and fills it while loading, so that the descriptions stay
// plain values.
#pragma once

#include <memory>
#include <typeindex>
#include <unordered_map>
#include <utility>
#include <vector>

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

// Pictures composed from a skin's pictures for one window size (layered
// border strips, frame strips): windows of the same size made one after
// another, as a dialog shown again, share them instead of composing them
// anew. Keyed by what they were composed from, the size and a state word;
// the few most recently stored are kept. Entries hold only pixels, never
// references into the skin, and go when the skin is cleared.
class TqzComposedCache {
 public:
  struct TKey {
    const void* Source = nullptr;  // the picture (or description) composed from
    TSize Size;
    int State = 0;
    bool operator==(const TKey&) const = default;
  };
  static constexpr size_t kCapacity = 8;

  template <class T>
  std::shared_ptr<const T> Find(const TKey& key) const {
    for (auto it = entries_.rbegin(); it != entries_.rend(); ++it)
      if (it->Key == key && it->Type == std::type_index(typeid(T)))
        return std::static_pointer_cast<const T>(it->Value);
    return nullptr;
  }
  template <class T>
  void Store(const TKey& key, std::shared_ptr<const T> value) {
    Put(key, std::type_index(typeid(T)), std::move(value));
  }
  void Clear() { entries_.clear(); }
  size_t Count() const { return entries_.size(); }

 private:
  struct TEntry {
    TKey Key;
    std::type_index Type;
    std::shared_ptr<const void> Value;
  };
  void Put(const TKey& key, std::type_index type, std::shared_ptr<const void> value);
  std::vector<TEntry> entries_;  // oldest first
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
  // Composed pictures for window sizes; filled by the windows that draw
  // from this skin (on the GUI thread), dropped with the rest.
  TqzComposedCache& Composed() const { return composed_; }

 private:
  mutable TqzComposedCache composed_;
  std::unique_ptr<TqzBitmap> frameActive_, frameInactive_;
  std::unordered_map<const TqzDataSkinObject*, TqzButtonImages> buttons_;
};

}  // namespace qz
