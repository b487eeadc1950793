// Caption text with halo, glow and reflection effects.
#include "skin/draw/QzTextEffects.h"

#include <algorithm>

#include "host/graphics/Canvas.h"

namespace qz {

namespace {

// num / den rounded to the nearest integer, halves to even (num, den >= 0).
int RoundHalfEven(int num, int den) {
  const int q = num / den, r = num % den;
  if (2 * r > den || (2 * r == den && (q & 1))) return q + 1;
  return q;
}

uint8_t Channel(TColorRef c, int shift) { return static_cast<uint8_t>((c >> shift) & 0xFF); }

TColorRef BlendColor(TColorRef under, TColorRef over, int alpha) {
  auto mix = [&](int shift) {
    return RoundHalfEven(Channel(under, shift) * (255 - alpha) + Channel(over, shift) * alpha, 255);
  };
  return static_cast<TColorRef>(mix(0) | (mix(8) << 8) | (mix(16) << 16));
}

// A coverage grid of the same size, each cell the largest of
// weight(d) * alpha over the cells within Chebyshev distance d <= reach;
// weight is given in quarters (4 = the glyph's own opacity).
TqzTextCoverage Spread(const TqzTextCoverage& glyphs, int reach, const int* quarters) {
  TqzTextCoverage out = glyphs;
  for (int y = 0; y < glyphs.Height; ++y)
    for (int x = 0; x < glyphs.Width; ++x) {
      int best = 0;
      for (int dy = -reach; dy <= reach; ++dy)
        for (int dx = -reach; dx <= reach; ++dx) {
          const int a = glyphs.At(x + dx, y + dy);
          if (a == 0) continue;
          const int d = std::max(std::abs(dx), std::abs(dy));
          best = std::max(best, RoundHalfEven(a * quarters[d], 4));
        }
      out.Alpha[size_t(y) * size_t(out.Width) + size_t(x)] = static_cast<uint8_t>(best);
    }
  return out;
}

}  // namespace

TqzTextCoverage TextCoverage(TCanvas& canvas, std::string_view text, int margin) {
  TqzTextCoverage out;
  if (text.empty()) return out;
  margin = std::max(0, margin);
  const TSize extent = canvas.TextExtent(text);
  out.Margin = margin;
  out.Width = extent.cx + 2 * margin;
  out.Height = extent.cy + 2 * margin;
  TPixmap pixels(out.Width, out.Height, 0xFF000000u);
  TCanvas painter(&pixels);
  painter.SetFont(canvas.Font());
  painter.Font().SetColor(clWhite);
  painter.SetBkMode(TRANSPARENT);
  painter.TextOut(margin, margin, text);
  out.Alpha.resize(size_t(out.Width) * size_t(out.Height));
  for (int y = 0; y < out.Height; ++y)
    for (int x = 0; x < out.Width; ++x)
      out.Alpha[size_t(y) * size_t(out.Width) + size_t(x)] = static_cast<uint8_t>(pixels.At(x, y) & 0xFF);
  return out;
}

void BlendCoverage(TCanvas& canvas, int x, int y, const TqzTextCoverage& coverage, TColor color) {
  const TColorRef over = ColorToRGB(color);
  for (int cy = 0; cy < coverage.Height; ++cy)
    for (int cx = 0; cx < coverage.Width; ++cx) {
      const int alpha = coverage.At(cx, cy);
      if (alpha == 0) continue;
      const TColor under = canvas.Pixel(x + cx, y + cy);
      if (under == clNone) continue;
      canvas.SetPixel(x + cx, y + cy,
                      static_cast<TColor>(BlendColor(ColorToRGB(under), over, alpha)));
    }
}

void DrawPlainText(TCanvas& canvas, int x, int y, std::string_view text, bool rightToLeft) {
  if (text.empty()) return;
  const TSize extent = canvas.TextExtent(text);
  TRect r{x, y, x + extent.cx, y + extent.cy};
  uint32_t flags = DT_NOPREFIX | DT_SINGLELINE | DT_NOCLIP;
  if (rightToLeft) flags |= DT_RTLREADING;
  const int mode = canvas.SetBkMode(TRANSPARENT);
  canvas.DrawText(text, r, flags);
  canvas.SetBkMode(mode);
}

void DrawGlowText(TCanvas& canvas, int x, int y, std::string_view text, TColor glowColor,
                  int glowSize, int glowOffset) {
  if (text.empty()) return;
  glowSize = std::clamp(glowSize, 0, kMaxGlowSize);
  const TqzTextCoverage glyphs = TextCoverage(canvas, text, glowSize);
  const std::vector<int> solid(size_t(glowSize) + 1, 4);
  const TqzTextCoverage halo = Spread(glyphs, glowSize, solid.data());
  BlendCoverage(canvas, x - glowSize + glowOffset, y - glowSize + glowOffset, halo, glowColor);
  DrawPlainText(canvas, x, y, text);
}

void DrawVistaGlowText(TCanvas& canvas, int x, int y, std::string_view text, TColor glowColor) {
  if (text.empty()) return;
  constexpr int kReach = 3;
  constexpr int kQuarters[kReach + 1] = {4, 3, 2, 1};
  const TqzTextCoverage glow = Spread(TextCoverage(canvas, text, kReach), kReach, kQuarters);
  BlendCoverage(canvas, x - kReach, y - kReach, glow, glowColor);
  DrawPlainText(canvas, x, y, text);
}

void DrawReflectionText(TCanvas& canvas, int x, int y, std::string_view text,
                        TColor reflectionColor, int reflectionOffset) {
  if (text.empty()) return;
  const TqzTextCoverage glyphs = TextCoverage(canvas, text, 0);
  TqzTextCoverage mirror = glyphs;
  const int h = glyphs.Height;
  for (int r = 0; r < h; ++r)
    for (int cx = 0; cx < glyphs.Width; ++cx)
      mirror.Alpha[size_t(r) * size_t(glyphs.Width) + size_t(cx)] =
          static_cast<uint8_t>(RoundHalfEven(glyphs.At(cx, h - 1 - r) * (h - r), 2 * h));
  BlendCoverage(canvas, x, y + h + reflectionOffset, mirror, reflectionColor);
  DrawPlainText(canvas, x, y, text);
}

}  // namespace qz
