// Rectangle places and small painting helpers of the dialog skin.
#include "skins/DialogSkinParts.h"

namespace qz::skingen::dialogskin {

TRect TContext::Place(int pic, int w, int h, const std::string& owner) {
  return Skin.Atlas(pic).Place(w, h, owner);
}

TRect TContext::Fix(int pic, const TRect& r, const std::string& owner) {
  return Skin.Atlas(pic).Fix(r, owner);
}

TRect Rel(const TRect& r, const TRect& outer) {
  return {r.Left - outer.Left, r.Top - outer.Top, r.Right - outer.Left, r.Bottom - outer.Top};
}

TRect Moved(const TRect& r, int dx, int dy) {
  return {r.Left + dx, r.Top + dy, r.Right + dx, r.Bottom + dy};
}

TFontStyles BoldStyle() { return TFontStyles{TFontStyle::fsBold}; }

void Box(TPainter& p, const TRectF& r, const TRadii& radii, const TFill& fill, uint32_t border) {
  p.FillRoundRect(r, radii, fill);
  p.StrokeRoundRect(r, radii, 1, border);
}

void Face(TPainter& p, const TRect& r, double radius, uint32_t top, uint32_t bottom,
          uint32_t border, uint32_t bottomBorder) {
  const TRectF f(r);
  p.FillRoundRect(f, radius, TFill::Vertical(f, top, bottom));
  // A light line just under the top border gives the face a little depth.
  p.Fill(TRect{r.Left + int(radius), r.Top + 1, r.Right - int(radius), r.Top + 2},
         Fade(Hex(0xFFFFFF), 0.7));
  p.StrokeRoundRect(f, radius, 1,
                    TFill::Vertical(f, {{0.0, border}, {0.7, border}, {1.0, bottomBorder}}));
}

void CaptionRows(TPainter& p, const TRect& band) {
  const TRect rows{band.Left, band.Top, band.Right, band.Top + frame::kCaptionHeight};
  p.Set(rows, tone::kCaptionBottom);
  const TRectF grad(band.Left, band.Top + 1, band.Right, band.Top + frame::kCaptionHeight - 1);
  p.Fill(TRect{band.Left, band.Top + 1, band.Right, band.Top + frame::kCaptionHeight - 1},
         TFill::Vertical(grad, tone::kCaptionTop, tone::kCaptionBottom));
  p.Set(TRect{band.Left, band.Top + frame::kCaptionHeight - 1, band.Right,
              band.Top + frame::kCaptionHeight},
        tone::kInnerLine);
}

}  // namespace qz::skingen::dialogskin
