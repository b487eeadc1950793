// Placeholder bodies; the painting of the frame replaces them.
#include "skin/form/FramePaint.h"

#include "skin/form/CaptionPaint.h"

namespace qz {

void PaintFrame(TCanvas&, const TqzFramePaintInput&) {}
void PaintDefaultFrame(TCanvas&, const TqzDefaultFramePaintInput&) {}
void PaintClientBackground(TCanvas&, const TqzClientBackgroundInput&) {}
void PaintClientSkin(TCanvas&, const TqzClientSkinInput&) {}
TqzFormRegion BuildFormRegion(const TqzFormRegionInput&, TqzMaskStrips&, bool) { return {}; }
void PaintCaption(TCanvas&, const TqzCaptionPaintInput&, bool) {}

}  // namespace qz
