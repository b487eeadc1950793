// The default glyphs the skin engine draws when a skin brings no picture of
// its own: arrows, check and radio marks, caption button symbols, focus
// outlines. Each draws with a one-pixel pen in the given colour.
#pragma once

#include "host/base/Color.h"
#include "host/base/Types.h"

namespace qz {

class TCanvas;

void DrawArrowImage(TCanvas& Cnvs, const TRect& R, TColor Color, int Kind);
void DrawSmallArrowImage(TCanvas& Cnvs, const TRect& R, TColor Color, int Kind);
// An open chevron two pixels thick, 4 rows each way from its tip: Kind 1
// points left, 2 right, 3 up, 4 down.
void DrawChevronImage(TCanvas& Cnvs, const TRect& R, TColor Color, int Kind);
void DrawTrackArrowImage(TCanvas& Cnvs, const TRect& R, TColor Color);
void DrawCheckImage(TCanvas& Cnvs, int X, int Y, TColor Color);
void DrawRadioImage(TCanvas& Cnvs, int X, int Y, TColor Color);
void DrawCloseGlyph(TCanvas& Cnvs, int X, int Y, TColor Color);
void DrawMinimizeGlyph(TCanvas& Cnvs, int X, int Y, TColor Color);
void DrawMaximizeGlyph(TCanvas& Cnvs, int X, int Y, TColor Color);
void DrawRestoreGlyph(TCanvas& Cnvs, int X, int Y, TColor Color);
void DrawSysMenuGlyph(TCanvas& Cnvs, int X, int Y, TColor Color);
void DrawRollDownGlyph(TCanvas& Cnvs, int X, int Y, TColor Color);
void DrawRollUpGlyph(TCanvas& Cnvs, int X, int Y, TColor Color);
void DrawMinimizeToTrayGlyph(TCanvas& Cnvs, int X, int Y, TColor Color);

// Dotted outline in the canvas's font colour.
void DrawSkinFocusRect(TCanvas& Cnvs, const TRect& R);

}  // namespace qz
