// Base of drawable pictures (bitmaps, PNG images). A graphic knows its size,
// draws itself stretched into a rectangle of a canvas, and streams itself.
#pragma once

#include <functional>
#include <string>

#include "host/base/Stream.h"
#include "host/base/Types.h"
#include "host/components/Persistent.h"

namespace qz {

class TCanvas;

class TGraphic : public TPersistent {
  QZ_CLASS(TGraphic, TPersistent)
 public:
  virtual int Width() const = 0;
  virtual int Height() const = 0;
  virtual bool Empty() const { return Width() <= 0 || Height() <= 0; }

  bool Transparent() const { return transparent_; }
  virtual void SetTransparent(bool value) {
    if (value != transparent_) {
      transparent_ = value;
      Changed();
    }
  }

  // Draws the whole picture into dest (logical coordinates of the canvas),
  // scaled nearest-neighbour when the sizes differ.
  virtual void Draw(TCanvas& canvas, const TRect& dest) const = 0;

  // Streaming; readers raise EInvalidGraphic (or EReadError) on bad data.
  virtual void LoadFromStream(TStream& stream) = 0;
  virtual void SaveToStream(TStream& stream) const = 0;
  void LoadFromFile(const std::string& path) {
    TMemoryStream s;
    s.LoadFromFile(path);
    LoadFromStream(s);
  }
  void SaveToFile(const std::string& path) const {
    TMemoryStream s;
    SaveToStream(s);
    s.SaveToFile(path);
  }

  std::function<void(TObject* sender)> OnChange;

 protected:
  void Changed() {
    if (OnChange) OnChange(this);
  }

 private:
  bool transparent_ = false;
};

}  // namespace qz
