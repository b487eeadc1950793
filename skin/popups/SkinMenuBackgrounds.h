// Composed pictures of popup menu levels kept for reuse.
//
// Window backgrounds of popup menu levels kept across openings. A level's
// background is its skin's window picture composed to the level's size; the
// same menu opened again has the same size, so the composition is done once.
// An entry is reused only when the picture's pixels, the composition fields
// and the size are all those it was made from: a skin reloaded or changed
// (even one whose pictures land at the addresses of the old ones) never gets
// an old background.
#pragma once

#include <memory>
#include <vector>

#include "host/graphics/Bitmap.h"
#include "skin/draw/SkinGeometry.h"

namespace qz {

class TqzMenuBackgrounds {
 public:
  // `picture` composed to `size` with `geometry` (whose source rectangle is
  // the whole picture). The image stays valid for its holders after it left
  // the cache.
  std::shared_ptr<const TBitmap> Composed(const TBitmap& picture, const TqzSkinGeometry& geometry, TSize size);
  int Count() const { return static_cast<int>(entries_.size()); }
  void Clear() { entries_.clear(); }

  // A few sizes (one per open level of the usual menus) are kept.
  static constexpr int kMaxEntries = 4;

 private:
  struct TEntry {
    TPixmap source;
    TqzSkinGeometry geometry;
    TSize size;
    std::shared_ptr<const TBitmap> image;
  };
  std::vector<TEntry> entries_;  // the most recently used last
};

// The item looks of one menu level: a rectangle of the item picture
// composed to the level's item width (every item of a level shares it), so
// that the normal and the lit look are each composed once, not once per
// item painted. As with the backgrounds, an entry is reused only while the
// pixels of its rectangle, the composition fields and the width are those
// it was made from, never because the picture sits at the same address.
class TqzMenuItemLooks {
 public:
  // The rectangle `source` of `picture` composed to `width` with fixed ends
  // `leftOffset` and `rightOffset`, stretched or tiled. Valid until the
  // next call.
  const TBitmap& Composed(const TBitmap& picture, const TRect& source, int leftOffset, int rightOffset,
                          bool stretch, int width);
  int Count() const { return static_cast<int>(entries_.size()); }
  void Clear() { entries_.clear(); }

  // A few looks per level; a level whose looks keep changing starts anew.
  static constexpr int kMaxEntries = 8;

 private:
  struct TEntry {
    TPixmap source;  // the pixels of `rect` (its part inside the picture)
    TRect rect;
    int leftOffset, rightOffset;
    bool stretch;
    int width;
    std::unique_ptr<TBitmap> look;
  };
  std::vector<TEntry> entries_;
};

}  // namespace qz
