// The glow layer under a hovered button or caption button: one per-pixel
// alpha window at a time, fading in over 25 ms steps.
#pragma once

#include <cstdint>
#include <memory>

#include "host/base/WindowHandle.h"

namespace qz {

class TBitmap;

class TqzLayerManager {
 public:
  TqzLayerManager();
  ~TqzLayerManager();
  TqzLayerManager(const TqzLayerManager&) = delete;
  TqzLayerManager& operator=(const TqzLayerManager&) = delete;

  bool TopMost = true;
  void ShowLayer(int x, int y, uint8_t alpha, const TBitmap* mask, const TBitmap& picture);
  void HideLayer();
  bool Shown() const;
  // The glow window (null when none) and the opacity it shows now.
  HWND Window() const;
  uint8_t Opacity() const;

 private:
  struct Impl;
  std::unique_ptr<Impl> impl_;
};

}  // namespace qz
