// Caption layout and text drawing of the skin engine: glyph and caption
// placement on buttons, UTF-8 text measuring, fitting, alignment and
// wrapping on a canvas.
#pragma once

#include <cstdint>
#include <string>
#include <string_view>

#include "host/base/Color.h"
#include "host/base/Types.h"

namespace qz {

class TBitmap;
class TCanvas;
class TCustomImageList;
class TqzPngImageList;

// ---- Glyph and caption layout ----

enum TqzButtonLayout { blGlyphLeft, blGlyphRight, blGlyphTop, blGlyphBottom };

struct TqzButtonLayoutResult {
  TPoint GlyphPos;
  TPoint TextPos;
};
TqzButtonLayoutResult CalcButtonLayout(TqzButtonLayout Layout, const TRect& Rc, TSize Glyph,
                                       TSize Text, int Margin, int Spacing);

// Copies frame Index (1-based) of Count frames laid side by side out of
// Glyph and draws it at (X, Y), transparent by the frame's bottom-left pixel.
void DrawGlyph(TCanvas& Cnvs, int X, int Y, int Index, int Count, const TBitmap& Glyph);

struct TqzImageAndTextOptions {
  TqzButtonLayout Layout = blGlyphLeft;
  int Margin = -1;
  int Spacing = 1;
  bool Pressed = false;  // shift glyph and text one pixel right and down
  bool Underline = false;
  TColor UnderlineColor = clBlack;
};
// Lays out a glyph bitmap (GlyphIndex of GlyphCount frames; none when empty)
// and a caption in Rc and draws both.
void DrawImageAndText(TCanvas& Cnvs, const TRect& Rc, std::string_view Caption,
                      const TBitmap* Glyph, int GlyphIndex, int GlyphCount,
                      const TqzImageAndTextOptions& Options);
// The same with image ImageIndex of an image list (none when the list is
// missing or the index is outside it); Enabled chooses the disabled look.
void DrawImageAndText(TCanvas& Cnvs, const TRect& Rc, std::string_view Caption,
                      const TCustomImageList* Images, int ImageIndex, bool Enabled,
                      const TqzImageAndTextOptions& Options);
void DrawImageAndText(TCanvas& Cnvs, const TRect& Rc, std::string_view Caption,
                      const TqzPngImageList* Images, int ImageIndex, bool Enabled,
                      const TqzImageAndTextOptions& Options);

// ---- Text (UTF-8) ----

void DrawSkinText(TCanvas& Cnvs, std::string_view Text, TRect& R, uint32_t Format);
int GetTextWidth(TCanvas& Cnvs, std::string_view Text);
int GetTextHeight(TCanvas& Cnvs, std::string_view Text);
int GetTextWidthNoPrefix(TCanvas& Cnvs, std::string_view Text);
int GetTextHeightNoPrefix(TCanvas& Cnvs, std::string_view Text);
// Text + "..." shortened until it fits MaxWidth; a text that fits as it is.
std::string CorrectTextByWidth(TCanvas& Cnvs, std::string_view Text, int MaxWidth);
void DrawTextVCentered(TCanvas& Cnvs, std::string_view Text, const TRect& R);
// Alignment: 0 left, 1 right, 2 centre.
void DrawTextAligned(TCanvas& Cnvs, std::string_view Text, const TRect& R, int Alignment);
void DrawTextLeftCentered(TCanvas& Cnvs, std::string_view Text, const TRect& R, int Offset);
void DrawWrapText(TCanvas& Cnvs, std::string_view Text, const TRect& R, bool WordWrap);

}  // namespace qz
