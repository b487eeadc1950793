// The program's icon: the application mark of the main window's caption (an
// accent tile with a play triangle) on its own, on a transparent ground.
#include <algorithm>

#include "skins/Skins.h"
#include "skins/Style.h"

namespace qz::skingen {

TPixmap PaintAppIcon(int size) {
  TPixmap icon(size, size, 0);
  if (size <= 0) return icon;
  TPainter p(icon);
  namespace st = style;
  // The caption's mark is a 24-pixel tile; everything scales from it.
  const double margin = size / 32.0, side = size - 2 * margin, s = side / 24.0;
  const TRectF tile(margin, margin, margin + side, margin + side);
  p.FillRoundRect(tile, 6 * s, TFill::Vertical(tile, st::kAccentHot, st::kAccentDown));
  p.StrokeRoundRect(tile, 6 * s, std::max(1.0, s * 0.8), Fade(Hex(0x0B2A52), 0.45));
  p.StrokeRoundRect(tile.Inflated(-std::max(1.0, s * 0.8)), 5 * s, 1, Fade(Hex(0xFFFFFF), 0.22));
  auto at = [&](double x, double y) { return TPointF{margin + x * s, margin + y * s}; };
  p.FillPolygon({at(9, 6.5), at(17.5, 12), at(9, 17.5)}, Hex(0xFFFFFF));
  return icon;
}

}  // namespace qz::skingen
