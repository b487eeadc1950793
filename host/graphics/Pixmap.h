// A 32-bit pixel surface: rows top-down, each pixel 0xAARRGGBB in a uint32_t
// (bytes B, G, R, A in memory, the platform's 32-bit bitmap layout). Back
// buffers, bitmaps and the engine's pixel bitmaps all live in one of these.
#pragma once

#include <cstdint>
#include <memory>
#include <type_traits>
#include <utility>
#include <vector>

#include "host/base/Color.h"
#include "host/base/Types.h"

namespace qz {

// An allocator whose value-less construct leaves the element uninitialised,
// so that a vector can grow without writing every element first. Decoders
// that write every pixel use it to skip a pass over (and the page faults of)
// a fresh buffer.
template <class T>
struct TDefaultInitAllocator : std::allocator<T> {
  using std::allocator<T>::allocator;
  template <class U>
  struct rebind {
    using other = TDefaultInitAllocator<U>;
  };
  template <class U>
  void construct(U* p) noexcept(std::is_nothrow_default_constructible_v<U>) {
    ::new (static_cast<void*>(p)) U;
  }
  template <class U, class... Args>
  void construct(U* p, Args&&... args) {
    ::new (static_cast<void*>(p)) U(std::forward<Args>(args)...);
  }
};

class TPixmap {
 public:
  TPixmap() = default;
  TPixmap(int width, int height, uint32_t fill = 0) { Resize(width, height, fill); }

  // Negative sizes count as 0. Contents are not kept.
  void Resize(int width, int height, uint32_t fill = 0) {
    width_ = width > 0 ? width : 0;
    height_ = height > 0 ? height : 0;
    pixels_.assign(static_cast<size_t>(width_) * static_cast<size_t>(height_), fill);
  }
  // As Resize, but the pixels are left unspecified: for writers that set
  // every pixel themselves. Memory already held is reused when large enough.
  void ResizeUninitialized(int width, int height) {
    width_ = width > 0 ? width : 0;
    height_ = height > 0 ? height : 0;
    pixels_.clear();
    pixels_.resize(static_cast<size_t>(width_) * static_cast<size_t>(height_));
  }
  int Width() const { return width_; }
  int Height() const { return height_; }
  bool Empty() const { return width_ == 0 || height_ == 0; }
  TRect Bounds() const { return {0, 0, width_, height_}; }

  uint32_t* Row(int y) { return pixels_.data() + static_cast<size_t>(y) * width_; }
  const uint32_t* Row(int y) const { return pixels_.data() + static_cast<size_t>(y) * width_; }
  uint32_t* Data() { return pixels_.data(); }
  const uint32_t* Data() const { return pixels_.data(); }
  uint32_t& At(int x, int y) { return Row(y)[x]; }
  uint32_t At(int x, int y) const { return Row(y)[x]; }

  friend bool operator==(const TPixmap&, const TPixmap&) = default;

 private:
  int width_ = 0;
  int height_ = 0;
  std::vector<uint32_t, TDefaultInitAllocator<uint32_t>> pixels_;
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
