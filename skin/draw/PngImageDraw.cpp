// Drawing a PNG image onto a canvas: the pixel work is DrawOnPixmap's, done
// once per rectangle of the canvas's clip.
#include "host/graphics/Canvas.h"
#include "skin/draw/PngImage.h"

namespace qz {

void TqzPngImage::Draw(TCanvas& canvas, const TRect& dest) const {
  TPixmap* target = canvas.Target();
  if (!target || Empty() || dest.IsEmpty()) return;
  TRect device = canvas.LogicalToDevice(dest);
  canvas.ForEachClipRect(device, [&](const TRect& clip) { DrawOnPixmap(*target, device, &clip); });
}

}  // namespace qz
