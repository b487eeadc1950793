// Smooth resizing of pictures with straight (not premultiplied) alpha, for
// icons whose file has another size than the one shown.
#pragma once

#include "host/graphics/Pixmap.h"

namespace qz {

// The picture at width x height, each target pixel the area-weighted mean
// of the source pixels it covers (weighted by alpha, so transparent pixels
// lend no colour to the edges). Sizes below 1 give an empty picture; the
// same size gives a copy.
TPixmap ResamplePixmap(const TPixmap& source, int width, int height);

// The same area-weighted mean for pictures made much smaller (photos to
// thumbnails), fast: blocks of whole source pixels are first averaged with
// integer sums (the largest block that keeps at least the target size; the
// last block of a row or column may be narrower), then the blocks are
// weighted by the source area they share with each target pixel (exact
// where blocks lie wholly inside it, the block's mean where one straddles
// two). Enlarging, or shrinking by less than half, is ResamplePixmap itself.
TPixmap ShrinkPixmap(const TPixmap& source, int width, int height);

}  // namespace qz
