// Containers whose background is a skin image paint it themselves when a
// child asks for the picture under it (GetParentImage).
#pragma once

#include "host/graphics/Canvas.h"

namespace qz {

class IqzBackgroundPainter {
 public:
  virtual ~IqzBackgroundPainter() = default;
  // Paints the container's background in its own client coordinates.
  virtual void PaintBackground(TCanvas& canvas) = 0;
};

}  // namespace qz
