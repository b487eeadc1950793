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

namespace {

// The part of `rect` inside the picture, row by row.
TPixmap PixelsOf(const TPixmap& picture, const TRect& rect) {
  const TRect part = Intersection(rect, picture.Bounds());
  TPixmap out(part.Width(), part.Height());
  for (int y = 0; y < part.Height(); ++y)
    std::copy_n(picture.Row(part.Top + y) + part.Left, part.Width(), out.Row(y));
  return out;
}

bool SamePixels(const TPixmap& kept, const TPixmap& picture, const TRect& rect) {
  const TRect part = Intersection(rect, picture.Bounds());
  if (kept.Width() != part.Width() || kept.Height() != part.Height()) return false;
  for (int y = 0; y < part.Height(); ++y)
    if (!std::equal(kept.Row(y), kept.Row(y) + part.Width(), picture.Row(part.Top + y) + part.Left)) return false;
  return true;
}

}  // namespace

const TBitmap& TqzMenuItemLooks::Composed(const TBitmap& picture, const TRect& source, int leftOffset,
                                          int rightOffset, bool stretch, int width) {
  for (const TEntry& e : entries_)
    if (e.rect == source && e.leftOffset == leftOffset && e.rightOffset == rightOffset && e.stretch == stretch &&
        e.width == width && SamePixels(e.source, picture.Pixels(), source))
      return *e.look;
  if (static_cast<int>(entries_.size()) >= kMaxEntries) entries_.clear();
  auto look = std::make_unique<TBitmap>();
  CreateHSkinImage(leftOffset, rightOffset, *look, stretch, width, source, picture);
  entries_.push_back({PixelsOf(picture.Pixels(), source), source, leftOffset, rightOffset, stretch, width,
                      std::move(look)});
  return *entries_.back().look;
}

}  // namespace qz
