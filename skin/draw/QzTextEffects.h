// Caption text with effects: a halo around the glyphs, a soft glow that
// fades outwards, and a mirrored reflection below the text. Each effect is
// drawn under the text, which is drawn last in the canvas's font and colour
// with a transparent background. The effects are computed from the glyphs'
// coverage with integer arithmetic, so the same text gives the same pixels.
#pragma once

#include <cstdint>
#include <string_view>
#include <vector>

#include "host/base/Color.h"
#include "host/base/Types.h"

namespace qz {

class TCanvas;

// The coverage (0 transparent .. 255 solid) of a text drawn in the
// canvas's font, on a grid `Margin` pixels wider than the text box on every
// side; cell (Margin, Margin) lies at the text's top-left.
struct TqzTextCoverage {
  int Width = 0, Height = 0;
  int Margin = 0;
  std::vector<uint8_t> Alpha;  // row by row
  uint8_t At(int x, int y) const {
    if (x < 0 || y < 0 || x >= Width || y >= Height) return 0;
    return Alpha[size_t(y) * size_t(Width) + size_t(x)];
  }
};
TqzTextCoverage TextCoverage(TCanvas& canvas, std::string_view text, int margin);

// Blends `color` into the canvas with the coverage's alpha, cell (0, 0) at
// (x, y) in logical coordinates, clipped as the canvas clips.
void BlendCoverage(TCanvas& canvas, int x, int y, const TqzTextCoverage& coverage, TColor color);

// The widest halo drawn: a skin's glowsize is taken up to this, so that a
// wild value cannot make the caption's paint take minutes.
inline constexpr int kMaxGlowSize = 16;

// Text at (x, y) with a solid halo in glowColor: every pixel within
// glowSize (both axes) of a glyph pixel, the halo moved by glowOffset
// right and down. glowSize counts between 0 and kMaxGlowSize.
void DrawGlowText(TCanvas& canvas, int x, int y, std::string_view text, TColor glowColor,
                  int glowSize, int glowOffset);
// Text at (x, y) over a glow in glowColor that fades over three pixels:
// opacity 3/4, 1/2, 1/4 of the glyph's at a distance of 1, 2, 3 pixels.
void DrawVistaGlowText(TCanvas& canvas, int x, int y, std::string_view text, TColor glowColor);
// Text at (x, y) with its mirror image in reflectionColor below it,
// reflectionOffset pixels under the text box; the reflection's first row
// has half the glyph's opacity, fading to nothing at its last.
void DrawReflectionText(TCanvas& canvas, int x, int y, std::string_view text,
                        TColor reflectionColor, int reflectionOffset);

// The plain text at (x, y): no prefix processing, transparent background,
// right-to-left reading order when asked.
void DrawPlainText(TCanvas& canvas, int x, int y, std::string_view text, bool rightToLeft = false);

}  // namespace qz
