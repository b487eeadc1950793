#include "host/graphics/Pixmap.h"

#include <cstring>

namespace qz {

void TPixmap::ResizeKeeping(int width, int height, uint32_t fill) {
  width = std::max(width, 0);
  height = std::max(height, 0);
  if (width == width_ && height == height_) return;
  const size_t count = size_t(width) * size_t(height);
  if (count > capacity_) {
    TPixmap resized(width, height, fill);
    const int keptWidth = std::min(width, width_), keptHeight = std::min(height, height_);
    for (int y = 0; y < keptHeight; ++y) std::copy_n(Row(y), keptWidth, resized.Row(y));
    *this = std::move(resized);
    return;
  }
  // In place: row y moves from y * oldWidth to y * width. Narrower rows move
  // towards the start, so they are moved top down; wider rows move towards
  // the end, so bottom up. Either way no row is overwritten before it moved.
  const int oldWidth = width_, oldHeight = height_;
  uint32_t* base = pixels_.get();
  const int keptWidth = std::min(width, oldWidth), keptHeight = std::min(height, oldHeight);
  auto moveRow = [&](int y) {
    uint32_t* to = base + size_t(y) * size_t(width);
    std::memmove(to, base + size_t(y) * size_t(oldWidth), sizeof(uint32_t) * size_t(keptWidth));
    std::fill(to + keptWidth, to + width, fill);
  };
  if (width <= oldWidth) {
    for (int y = 0; y < keptHeight; ++y) moveRow(y);
  } else {
    for (int y = keptHeight - 1; y >= 0; --y) moveRow(y);
  }
  width_ = width;
  height_ = height;
  std::fill(base + size_t(keptHeight) * size_t(width), base + count, fill);
}

}  // namespace qz
