// A 32-bit pixel surface: rows top-down, each pixel 0xAARRGGBB in a uint32_t
// (bytes B, G, R, A in memory, the platform's 32-bit bitmap layout). Back
// buffers, bitmaps and the engine's pixel bitmaps all live in one of these.
#pragma once

#include <algorithm>
#include <cstdint>
#include <memory>
#include <utility>

#include "host/base/Color.h"
#include "host/base/Types.h"

namespace qz {

class TPixmap {
 public:
  TPixmap() = default;
  TPixmap(int width, int height, uint32_t fill = 0) { Resize(width, height, fill); }
  TPixmap(const TPixmap& other) { *this = other; }
  TPixmap& operator=(const TPixmap& other) {
    if (this == &other) return *this;
    ResizeUninitialized(other.width_, other.height_);
    std::copy_n(other.pixels_.get(), other.Count(), pixels_.get());
    return *this;
  }
  // A moved-from pixmap is empty.
  TPixmap(TPixmap&& other) noexcept { *this = std::move(other); }
  TPixmap& operator=(TPixmap&& other) noexcept {
    if (this == &other) return *this;
    width_ = std::exchange(other.width_, 0);
    height_ = std::exchange(other.height_, 0);
    capacity_ = std::exchange(other.capacity_, 0);
    pixels_ = std::move(other.pixels_);
    return *this;
  }

  // Negative sizes count as 0. Contents are not kept.
  void Resize(int width, int height, uint32_t fill = 0) {
    ResizeUninitialized(width, height);
    std::fill_n(pixels_.get(), Count(), fill);
  }
  // As Resize, but the pixels are left unspecified: for writers that set
  // every pixel themselves (no pass over a fresh buffer, no page faults
  // ahead of the writer). Memory already held is reused when large enough.
  void ResizeUninitialized(int width, int height) {
    width_ = width > 0 ? width : 0;
    height_ = height > 0 ? height : 0;
    if (Count() > capacity_) {
      pixels_.reset();
      pixels_ = std::make_unique_for_overwrite<uint32_t[]>(Count());  // not written
      capacity_ = Count();
    }
  }
  // Resizes keeping every pixel that stays inside at its (x, y), as a window
  // server keeps a resized window's picture; new pixels get `fill`. Memory
  // already held is reused when large enough, so that a window resized over
  // and over (a live resize) neither allocates nor faults pages in.
  void ResizeKeeping(int width, int height, uint32_t fill);
  // For a buffer that is about to be painted over: memory already held is
  // reused as it is (the old pixels, rearranged); fresh memory gets `fill`,
  // so the contents are always defined.
  void ResizeForRepaint(int width, int height, uint32_t fill) {
    const bool fits = size_t(std::max(width, 0)) * size_t(std::max(height, 0)) <= capacity_;
    if (!fits) capacity_ = 0, pixels_.reset();
    ResizeUninitialized(width, height);
    if (!fits) std::fill_n(pixels_.get(), Count(), fill);
  }
  int Width() const { return width_; }
  int Height() const { return height_; }
  bool Empty() const { return width_ == 0 || height_ == 0; }
  TRect Bounds() const { return {0, 0, width_, height_}; }

  uint32_t* Row(int y) { return pixels_.get() + static_cast<size_t>(y) * width_; }
  const uint32_t* Row(int y) const { return pixels_.get() + static_cast<size_t>(y) * width_; }
  uint32_t* Data() { return pixels_.get(); }
  const uint32_t* Data() const { return pixels_.get(); }
  uint32_t& At(int x, int y) { return Row(y)[x]; }
  uint32_t At(int x, int y) const { return Row(y)[x]; }

  friend bool operator==(const TPixmap& a, const TPixmap& b) {
    return a.width_ == b.width_ && a.height_ == b.height_ &&
           std::equal(a.pixels_.get(), a.pixels_.get() + a.Count(), b.pixels_.get());
  }

 private:
  size_t Count() const { return static_cast<size_t>(width_) * static_cast<size_t>(height_); }

  int width_ = 0;
  int height_ = 0;
  size_t capacity_ = 0;
  std::unique_ptr<uint32_t[]> pixels_;
};

// Conversions between the pixel layout and colour values.
constexpr uint32_t PixelFromColorRef(TColorRef c, uint8_t alpha = 255) {
  return (uint32_t(alpha) << 24) | (uint32_t(GetRValue(c)) << 16) | (uint32_t(GetGValue(c)) << 8) |
         uint32_t(GetBValue(c));
}
constexpr TColorRef ColorRefFromPixel(uint32_t p) {
  return RGB((p >> 16) & 0xFF, (p >> 8) & 0xFF, p & 0xFF);
}
constexpr uint8_t PixelAlpha(uint32_t p) { return static_cast<uint8_t>(p >> 24); }

}  // namespace qz
