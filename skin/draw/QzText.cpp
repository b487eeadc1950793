#include "skin/draw/QzText.h"

#include <algorithm>
#include <functional>

#include "host/graphics/Bitmap.h"
#include "host/graphics/Canvas.h"
#include "host/ui/ImgList.h"
#include "skin/draw/PixelCopy.h"
#include "skin/draw/PngImageList.h"

namespace qz {

// ---- Glyph and caption layout ----

TqzButtonLayoutResult CalcButtonLayout(TqzButtonLayout Layout, const TRect& Rc, TSize Glyph,
                                       TSize Text, int Margin, int Spacing) {
  const int gw = Glyph.cx, gh = Glyph.cy, tw = Text.cx, th = Text.cy;
  if (gw == 0) Spacing = 0;
  const int cx = Rc.Left + Rc.Width() / 2;
  const int cy = Rc.Top + Rc.Height() / 2;
  TqzButtonLayoutResult r;
  const bool horizontal = Layout == blGlyphLeft || Layout == blGlyphRight;
  if (horizontal) {
    r.GlyphPos.Y = cy - gh / 2;
    r.TextPos.Y = cy - th / 2;
  } else {
    r.GlyphPos.X = cx - gw / 2;
    r.TextPos.X = cx - tw / 2;
  }
  if (Margin == -1) {
    const int m = horizontal ? (gw + tw + Spacing) / 2 : (gh + th + Spacing) / 2;
    switch (Layout) {
      case blGlyphLeft: r.GlyphPos.X = cx - m; r.TextPos.X = cx + m - tw; break;
      case blGlyphRight: r.TextPos.X = cx - m; r.GlyphPos.X = cx + m - gw; break;
      case blGlyphTop: r.GlyphPos.Y = cy - m; r.TextPos.Y = cy + m - th; break;
      case blGlyphBottom: r.GlyphPos.Y = cy + m - gh; r.TextPos.Y = cy - m; break;
    }
    return r;
  }
  switch (Layout) {
    case blGlyphLeft:
      r.GlyphPos.X = Rc.Left + Margin;
      r.TextPos.X = r.GlyphPos.X + gw + Spacing;
      break;
    case blGlyphRight:
      r.GlyphPos.X = Rc.Right - gw - Margin;
      r.TextPos.X = r.GlyphPos.X - Spacing - tw;
      break;
    case blGlyphTop:
      r.GlyphPos.Y = Rc.Top + Margin;
      r.TextPos.Y = r.GlyphPos.Y + gh + Spacing;
      break;
    case blGlyphBottom:
      r.GlyphPos.Y = Rc.Bottom - gh - Margin;
      r.TextPos.Y = r.GlyphPos.Y - Spacing - th;
      break;
  }
  return r;
}

void DrawGlyph(TCanvas& Cnvs, int X, int Y, int Index, int Count, const TBitmap& Glyph) {
  if (Glyph.Empty() || Count <= 0) return;
  const int fw = Glyph.Width() / Count;
  if (fw <= 0) return;
  TBitmap frame(fw, Glyph.Height());
  CopyPixels(Glyph.Pixels(), Bounds((Index - 1) * fw, 0, fw, Glyph.Height()), frame.Pixels(),
             frame.Pixels().Bounds());
  frame.SetTransparentMode(tmAuto);
  frame.SetTransparent(true);
  Cnvs.Draw(X, Y, frame);
}

namespace {

bool OddFontHeight(TCanvas& c) { return c.Font().Height() % 2 != 0; }

}  // namespace

namespace {

// Caption and image laid out together; drawImage paints the image at a point.
void LayOutImageAndText(TCanvas& Cnvs, const TRect& Rc, std::string_view Caption,
                        TSize glyphSize, const std::function<void(TPoint)>& drawImage,
                        const TqzImageAndTextOptions& Options) {
  const bool hasGlyph = glyphSize.cx > 0 && glyphSize.cy > 0;
  const bool horizontal = Options.Layout == blGlyphLeft || Options.Layout == blGlyphRight;
  TSize textSize{0, 0};
  if (!Caption.empty()) {
    TRect measure = Rc;
    if (hasGlyph) {
      if (horizontal)
        measure.Right -= glyphSize.cx + Options.Spacing;
      else
        measure.Bottom -= glyphSize.cy + Options.Spacing;
    }
    measure.Right = measure.Left + std::max(0, measure.Width());
    Cnvs.DrawText(Caption, measure, DT_CALCRECT | DT_WORDBREAK | DT_EXPANDTABS | DT_CENTER);
    textSize = {measure.Width(), measure.Height()};
  }
  TqzButtonLayoutResult pos =
      CalcButtonLayout(Options.Layout, Rc, glyphSize, textSize, Options.Margin, Options.Spacing);
  if (Options.Pressed) {
    pos.GlyphPos = pos.GlyphPos + TPoint{1, 1};
    pos.TextPos = pos.TextPos + TPoint{1, 1};
  }
  TRect textRect = Bounds(pos.TextPos.X, pos.TextPos.Y, textSize.cx, textSize.cy);
  if (OddFontHeight(Cnvs)) textRect.Top -= 1;
  textRect.Right += 2;
  if (!Caption.empty()) {
    const TBrushStyle oldStyle = Cnvs.Brush().Style();
    Cnvs.Brush().SetStyle(TBrushStyle::bsClear);
    Cnvs.DrawText(Caption, textRect, DT_CENTER | DT_WORDBREAK | DT_EXPANDTABS);
    Cnvs.Brush().SetStyle(oldStyle);
  }
  if (hasGlyph) drawImage(pos.GlyphPos);
  if (!Options.Underline) return;
  Cnvs.Pen().SetColor(Options.UnderlineColor);
  Cnvs.Pen().SetStyle(TPenStyle::psSolid);
  Cnvs.Pen().SetWidth(1);
  if (hasGlyph || !Caption.empty()) {
    const int left = hasGlyph ? pos.GlyphPos.X : textRect.Left;
    const int right = hasGlyph ? pos.GlyphPos.X + glyphSize.cx : textRect.Right;
    const int bottom = hasGlyph ? pos.GlyphPos.Y + glyphSize.cy : textRect.Bottom;
    for (int dy = -1; dy <= 1; ++dy) {
      Cnvs.MoveTo(left, bottom + dy);
      Cnvs.LineTo(right, bottom + dy);
    }
  } else {
    Cnvs.Brush().SetColor(Options.UnderlineColor);
    Cnvs.Brush().SetStyle(TBrushStyle::bsSolid);
    Cnvs.FillRect({Rc.Left + 4, Rc.Top + 4, Rc.Right - 2, Rc.Bottom - 4});
  }
}

}  // namespace

void DrawImageAndText(TCanvas& Cnvs, const TRect& Rc, std::string_view Caption,
                      const TBitmap* Glyph, int GlyphIndex, int GlyphCount,
                      const TqzImageAndTextOptions& Options) {
  const bool hasGlyph = Glyph && !Glyph->Empty() && GlyphCount > 0;
  const TSize size = hasGlyph ? TSize{Glyph->Width() / GlyphCount, Glyph->Height()} : TSize{};
  LayOutImageAndText(
      Cnvs, Rc, Caption, size,
      [&](TPoint p) { DrawGlyph(Cnvs, p.X, p.Y, GlyphIndex, GlyphCount, *Glyph); }, Options);
}

void DrawImageAndText(TCanvas& Cnvs, const TRect& Rc, std::string_view Caption,
                      const TCustomImageList* Images, int ImageIndex, bool Enabled,
                      const TqzImageAndTextOptions& Options) {
  const bool hasImage = Images && ImageIndex >= 0 && ImageIndex < Images->Count();
  const TSize size = hasImage ? TSize{Images->Width(), Images->Height()} : TSize{};
  LayOutImageAndText(
      Cnvs, Rc, Caption, size,
      [&](TPoint p) { Images->Draw(Cnvs, p.X, p.Y, ImageIndex, Enabled); }, Options);
}

void DrawImageAndText(TCanvas& Cnvs, const TRect& Rc, std::string_view Caption,
                      const TqzPngImageList* Images, int ImageIndex, bool Enabled,
                      const TqzImageAndTextOptions& Options) {
  const bool hasImage = Images && ImageIndex >= 0 && ImageIndex < Images->Count();
  const TSize size = hasImage ? TSize{Images->PngWidth(), Images->PngHeight()} : TSize{};
  LayOutImageAndText(
      Cnvs, Rc, Caption, size,
      [&](TPoint p) { Images->DoDraw(ImageIndex, Cnvs, p.X, p.Y, Enabled); }, Options);
}

// ---- Text ----

void DrawSkinText(TCanvas& Cnvs, std::string_view Text, TRect& R, uint32_t Format) {
  if (Text.empty()) return;
  Cnvs.DrawText(Text, R, Format);
}

namespace {

TSize Measure(TCanvas& c, std::string_view text, uint32_t extra) {
  if (text.empty()) return {0, 0};
  TRect r{0, 0, 0, 0};
  c.DrawText(text, r, DT_CALCRECT | extra);
  return {r.Width(), r.Height()};
}

// Length of the UTF-8 text without its last code point.
size_t DropLastCodePoint(std::string_view s) {
  size_t n = s.size();
  while (n > 0) {
    --n;
    if ((static_cast<unsigned char>(s[n]) & 0xC0) != 0x80) break;
  }
  return n;
}

}  // namespace

int GetTextWidth(TCanvas& Cnvs, std::string_view Text) { return Measure(Cnvs, Text, 0).cx; }
int GetTextHeight(TCanvas& Cnvs, std::string_view Text) { return Measure(Cnvs, Text, 0).cy; }
int GetTextWidthNoPrefix(TCanvas& Cnvs, std::string_view Text) {
  return Measure(Cnvs, Text, DT_NOPREFIX).cx;
}
int GetTextHeightNoPrefix(TCanvas& Cnvs, std::string_view Text) {
  return Measure(Cnvs, Text, DT_NOPREFIX).cy;
}

std::string CorrectTextByWidth(TCanvas& Cnvs, std::string_view Text, int MaxWidth) {
  if (GetTextWidth(Cnvs, Text) <= MaxWidth) return std::string(Text);
  std::string_view s = Text;
  while (!s.empty() && GetTextWidth(Cnvs, std::string(s) + "...") > MaxWidth)
    s = s.substr(0, DropLastCodePoint(s));
  return std::string(s) + "...";
}

namespace {

void DrawOneLine(TCanvas& c, std::string_view text, TRect r, uint32_t alignment) {
  if (text.empty()) return;
  if (OddFontHeight(c)) r.Top -= 1;
  c.DrawText(text, r, DT_SINGLELINE | DT_VCENTER | alignment);
}

}  // namespace

void DrawTextVCentered(TCanvas& Cnvs, std::string_view Text, const TRect& R) {
  DrawOneLine(Cnvs, Text, R, DT_LEFT);
}

void DrawTextAligned(TCanvas& Cnvs, std::string_view Text, const TRect& R, int Alignment) {
  DrawOneLine(Cnvs, Text, R, Alignment == 1 ? DT_RIGHT : Alignment == 2 ? DT_CENTER : DT_LEFT);
}

void DrawTextLeftCentered(TCanvas& Cnvs, std::string_view Text, const TRect& R, int Offset) {
  if (Text.empty()) return;
  int y = R.Top + R.Height() / 2 - Cnvs.TextHeight(Text) / 2;
  if (OddFontHeight(Cnvs)) y -= 1;
  Cnvs.TextRect(R, R.Left + Offset + 2, y, Text);
}

namespace {

bool FitsWrapped(TCanvas& c, std::string_view text, const TRect& r) {
  TRect m{0, 0, r.Width(), 0};
  c.DrawText(text, m, DT_CALCRECT | DT_WORDBREAK | DT_CENTER);
  return m.Width() <= r.Width() && m.Height() <= r.Height();
}

// Breaks words that are wider than the rectangle by inserting spaces.
std::string BreakLongWords(TCanvas& c, std::string_view text, int maxWidth) {
  std::string out, word;
  size_t i = 0;
  while (i < text.size()) {
    size_t len = 1;
    while (i + len < text.size() && (static_cast<unsigned char>(text[i + len]) & 0xC0) == 0x80)
      ++len;
    const std::string_view ch = text.substr(i, len);
    i += len;
    if (ch == " ") {
      out += ch;
      word.clear();
      continue;
    }
    if (!word.empty() && c.TextWidth(word + std::string(ch)) > maxWidth) {
      out += ' ';
      word.clear();
    }
    out += ch;
    word += ch;
  }
  return out;
}

}  // namespace

void DrawWrapText(TCanvas& Cnvs, std::string_view Text, const TRect& R, bool WordWrap) {
  if (Text.empty()) return;
  TRect r = R;
  if (WordWrap) {
    Cnvs.DrawText(BreakLongWords(Cnvs, Text, R.Width()), r, DT_CENTER | DT_WORDBREAK);
    return;
  }
  if (FitsWrapped(Cnvs, Text, R)) {
    Cnvs.DrawText(Text, r, DT_CENTER | DT_WORDBREAK);
    return;
  }
  std::string_view prefix = Text;
  while (!prefix.empty() && !FitsWrapped(Cnvs, std::string(prefix) + "...", R))
    prefix = prefix.substr(0, DropLastCodePoint(prefix));
  Cnvs.DrawText(std::string(prefix) + "...", r, DT_CENTER | DT_WORDBREAK);
}

}  // namespace qz
