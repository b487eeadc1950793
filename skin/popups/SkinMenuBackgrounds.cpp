#include "skin/popups/SkinMenuBackgrounds.h"

#include <algorithm>

#include "skin/draw/QzComposition.h"

namespace qz {

std::shared_ptr<const TBitmap> TqzMenuBackgrounds::Composed(const TBitmap& picture, const TqzSkinGeometry& geometry,
                                                            TSize size) {
  auto same = [&](const TEntry& e) {
    return e.size == size && e.geometry == geometry && e.source == picture.Pixels();
  };
  if (auto it = std::find_if(entries_.begin(), entries_.end(), same); it != entries_.end()) {
    std::rotate(it, it + 1, entries_.end());
    return entries_.back().image;
  }
  auto image = std::make_shared<TBitmap>();
  const TqzNewGeometry n = CalcNewGeometry(geometry, CalcResizeMode(geometry), size.cx, size.cy);
  CreateSkinImage(geometry, n, true, size.cx, size.cy, picture, *image);
  if (static_cast<int>(entries_.size()) >= kMaxEntries) entries_.erase(entries_.begin());
  entries_.push_back({picture.Pixels(), geometry, size, image});
  return image;
}

}  // namespace qz
