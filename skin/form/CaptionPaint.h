// The caption object's looks: its composed image (active, inactive, morphed
// between the two, or a glow-animation frame), the text with its frame,
// light, shadow, glow and reflection, placed by the description.
#pragma once

#include "host/base/Types.h"
#include "skin/form/FrameGeometry.h"
#include "skin/form/ObjectHost.h"

namespace qz {

class TCanvas;
class TqzSkinData;

struct TqzCaptionPaintInput {
  const TqzDataSkinCaption* Data = nullptr;
  const TqzSkinData* Skin = nullptr;
  TRect ObjectRect;              // window rectangle of the caption
  bool Active = true;            // drawn in the active look
  double Kf = 1.0;               // morph factor
  bool MorphInProgress = false;
  int GlowFrame = 0;             // 1..framecount while the glow frames play, 0 none
  bool RolledUp = false;         // the inactive look comes from the roll-up picture
  bool FrameMode = true;
  bool FormActive = true;        // for the inactive effect
  const TqzFrameRects* Rects = nullptr;  // frame corners for the three-part look
  TqzCaptionContext Context;
};
// Compose: build the caption image (true) or only draw the text over what
// the frame shows already (false).
void PaintCaption(TCanvas& canvas, const TqzCaptionPaintInput& in, bool compose);

}  // namespace qz
