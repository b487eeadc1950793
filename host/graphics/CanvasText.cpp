// Text on a canvas: TextOut, TextRect, measuring, metrics and DrawText.
#include <algorithm>

#include "host/graphics/Canvas.h"
#include "host/graphics/TextEngine.h"

namespace qz {

namespace {

constexpr std::u32string_view kEllipsis = U"...";

// One line of DrawText after prefix processing: its characters and, per
// character, whether it carries the accelerator underline.
struct TLine {
  std::u32string text;
  std::vector<uint8_t> marks;
  void Push(char32_t c, bool mark) {
    text.push_back(c);
    marks.push_back(mark ? 1 : 0);
  }
  TLine Sub(size_t from, size_t to) const {
    TLine l;
    l.text = text.substr(from, to - from);
    l.marks.assign(marks.begin() + from, marks.begin() + to);
    return l;
  }
  void Append(std::u32string_view s) {
    for (char32_t c : s) Push(c, false);
  }
};

bool IsBreak(char32_t c) { return c == U'\n' || c == U'\r'; }

}  // namespace

// Draws and measures runs of text for a canvas; knows the tab rule.
class TTextPainter {
 public:
  TTextPainter(TCanvas& canvas, int tabWidth)
      : canvas_(canvas), face_(canvas.CurrentFace()), tabWidth_(tabWidth) {}

  const TFaceMetrics& Metrics() const { return face_.Metrics(); }

  // Advance of one character at pen offset x from the line start.
  int Advance(char32_t c, int x) {
    if (c == U'\t') return tabWidth_ > 0 ? (x / tabWidth_ + 1) * tabWidth_ - x : 0;
    return face_.Glyph(c).advance;
  }
  int Width(std::u32string_view text) {
    int x = 0;
    for (char32_t c : text) x += Advance(c, x);
    return x;
  }
  // Pen offsets of every character and the end.
  std::vector<int> Offsets(std::u32string_view text) {
    std::vector<int> xs(text.size() + 1, 0);
    int x = 0;
    for (size_t i = 0; i < text.size(); ++i) {
      xs[i] = x;
      x += Advance(text[i], x);
    }
    xs[text.size()] = x;
    return xs;
  }

  // Draws a run with its top-left at device (x, y): glyphs (unless
  // marksOnly), accelerator underlines (when drawMarks), and the font's
  // underline / strike-out.
  void Draw(int x, int y, const TLine& line, bool drawMarks, bool marksOnly) {
    TPixmap* target = canvas_.Target();
    if (!target) return;
    const uint32_t color = PixelFromColorRef(canvas_.TextColor());
    const TFaceMetrics& m = face_.Metrics();
    const int baseline = y + m.ascent;
    const int ulTop = baseline + m.underlinePosition;
    int pen = 0;
    for (size_t i = 0; i < line.text.size(); ++i) {
      const char32_t c = line.text[i];
      if (c == U'\t') {
        pen += Advance(c, pen);
        continue;
      }
      // One look-up of the glyph for its advance and its picture.
      const TGlyph& glyph = face_.Glyph(c);
      const int adv = glyph.advance;
      if (!marksOnly) BlendGlyph(*target, x + pen, baseline, glyph, color);
      if (drawMarks && line.marks[i])
        canvas_.FillDeviceRect({x + pen, ulTop, x + pen + adv, ulTop + m.underlineThickness}, color);
      pen += adv;
    }
    if (marksOnly) return;
    const TFontStyles style = canvas_.Font().Style();
    if (style.Contains(TFontStyle::fsUnderline))
      canvas_.FillDeviceRect({x, ulTop, x + pen, ulTop + m.underlineThickness}, color);
    if (style.Contains(TFontStyle::fsStrikeOut)) {
      const int top = baseline - m.strikeoutPosition;
      canvas_.FillDeviceRect({x, top, x + pen, top + m.strikeoutThickness}, color);
    }
  }

 private:
  void BlendGlyph(TPixmap& target, int penX, int baseline, const TGlyph& g, uint32_t color) {
    if (g.width <= 0 || g.height <= 0) return;
    const int gx = penX + g.left, gy = baseline - g.top;
    canvas_.ForEachClipRect({gx, gy, gx + g.width, gy + g.height}, [&](const TRect& r) {
      for (int yy = r.Top; yy < r.Bottom; ++yy) {
        const uint8_t* cov = g.coverage.data() + size_t(yy - gy) * g.width - gx;
        uint32_t* row = target.Row(yy);
        for (int xx = r.Left; xx < r.Right; ++xx) {
          const uint32_t a = cov[xx];
          if (a == 0) continue;
          row[xx] = a == 255 ? color : Blend(row[xx], color, a);
        }
      }
    });
  }
  static uint32_t Blend(uint32_t dst, uint32_t color, uint32_t a) {
    const uint32_t ia = 255 - a;
    auto ch = [&](int shift) {
      return (((dst >> shift) & 0xFF) * ia + ((color >> shift) & 0xFF) * a + 127) / 255;
    };
    return 0xFF000000u | (ch(16) << 16) | (ch(8) << 8) | ch(0);
  }

  TCanvas& canvas_;
  TFontFace& face_;
  int tabWidth_;
};

TFontFace& TCanvas::CurrentFace() {
  if (!face_ || !(faceFor_.name == font_.Name() && faceFor_.height == font_.Height() &&
                  faceFor_.style == font_.Style())) {
    TFontRequest req;
    req.family = font_.Name();
    req.height = font_.Height();
    req.bold = font_.Style().Contains(TFontStyle::fsBold);
    req.italic = font_.Style().Contains(TFontStyle::fsItalic);
    face_ = TTextEngine::Instance().Face(req);
    faceFor_ = font_.Data();
  }
  return *face_;
}

TColorRef TCanvas::SetTextColor(TColor c) {
  const TColorRef old = TextColor();
  font_.SetColor(c);
  return old;
}

int TCanvas::SetBkMode(int mode) {
  if (mode != TRANSPARENT && mode != OPAQUE) return 0;
  const int old = bkMode_;
  bkMode_ = mode;
  return old;
}

TTextMetric TCanvas::GetTextMetrics() {
  const TFaceMetrics& m = CurrentFace().Metrics();
  TTextMetric tm;
  tm.tmHeight = m.height;
  tm.tmAscent = m.ascent;
  tm.tmDescent = m.descent;
  tm.tmInternalLeading = m.internalLeading;
  tm.tmExternalLeading = m.externalLeading;
  tm.tmAveCharWidth = m.aveCharWidth;
  tm.tmMaxCharWidth = m.maxCharWidth;
  tm.tmWeight = m.bold ? 700 : 400;
  tm.tmItalic = m.italic;
  tm.tmUnderlined = font_.Style().Contains(TFontStyle::fsUnderline);
  tm.tmStruckOut = font_.Style().Contains(TFontStyle::fsStrikeOut);
  tm.tmCharSet = font_.Charset();
  return tm;
}

TSize TCanvas::TextExtent(std::string_view text) {
  TTextPainter painter(*this, 0);
  return {painter.Width(DecodeUtf8(text)), painter.Metrics().height};
}

void TCanvas::TextOut(int x, int y, std::string_view text) {
  TTextPainter painter(*this, 0);
  TLine line;
  line.Append(DecodeUtf8(text));
  const int width = painter.Width(line.text);
  const TPoint d = LogicalToDevice(TPoint{x, y});
  if (TextOpaque())
    FillDeviceRect({d.X, d.Y, d.X + width, d.Y + painter.Metrics().height}, PixelFromColorRef(ColorToRGB(brush_.Color())));
  painter.Draw(d.X, d.Y, line, false, false);
  penPos_ = {x + width, y};
}

void TCanvas::TextRect(const TRect& r, int x, int y, std::string_view text) {
  const int saved = SaveDC();
  IntersectClipRect(r);
  if (TextOpaque()) FillDeviceRect(LogicalToDevice(r), PixelFromColorRef(ColorToRGB(brush_.Color())));
  TTextPainter painter(*this, 0);
  TLine line;
  line.Append(DecodeUtf8(text));
  const TPoint d = LogicalToDevice(TPoint{x, y});
  painter.Draw(d.X, d.Y, line, false, false);
  RestoreDC(saved);
}

// ============================================================ DrawText

namespace {

// "&x" marks x as the accelerator, "&&" is a literal '&', a final lone '&'
// is dropped.
TLine ApplyPrefixes(const std::u32string& text, bool process) {
  TLine out;
  out.text.reserve(text.size());
  out.marks.reserve(text.size());
  for (size_t i = 0; i < text.size(); ++i) {
    if (process && text[i] == U'&') {
      if (i + 1 >= text.size()) break;
      ++i;
      out.Push(text[i], text[i] != U'&');
      continue;
    }
    out.Push(text[i], false);
  }
  return out;
}

std::vector<TLine> SplitParagraphs(TLine&& all, bool singleLine) {
  std::vector<TLine> lines(1);
  if (std::none_of(all.text.begin(), all.text.end(), IsBreak)) {
    // One line as it is (the usual caption).
    lines.front() = std::move(all);
    return lines;
  }
  for (size_t i = 0; i < all.text.size(); ++i) {
    const char32_t c = all.text[i];
    if (IsBreak(c)) {
      if (singleLine) continue;
      if (c == U'\r' && i + 1 < all.text.size() && all.text[i + 1] == U'\n') ++i;
      lines.emplace_back();
      continue;
    }
    lines.back().Push(c, all.marks[i]);
  }
  return lines;
}

// Greedy word wrap: a line breaks at the last space before the character that
// overflows; the spaces at the break are dropped. A single word wider than
// the limit stays whole unless breakWords (edit-control behaviour).
void WrapLine(TTextPainter& p, const TLine& line, int limit, bool breakWords, std::vector<TLine>& out) {
  const size_t n = line.text.size();
  size_t start = 0;
  do {
    int x = 0;
    size_t i = start, breakAt = SIZE_MAX;
    bool seenWord = false;
    for (; i < n; ++i) {
      const char32_t c = line.text[i];
      const int adv = p.Advance(c, x);
      if (c == U' ') {
        if (seenWord) breakAt = i;
      } else {
        if (x + adv > limit && i > start) break;
        seenWord = true;
      }
      x += adv;
    }
    if (i >= n) {
      out.push_back(line.Sub(start, n));
      return;
    }
    size_t end = i;
    if (breakAt != SIZE_MAX) {
      end = breakAt;
    } else if (!breakWords) {
      // A word wider than the limit stays whole up to the next space.
      while (end < n && line.text[end] != U' ') ++end;
    }
    size_t trimmed = end;
    while (trimmed > start && line.text[trimmed - 1] == U' ') --trimmed;
    out.push_back(line.Sub(start, trimmed));
    start = end;
    while (start < n && line.text[start] == U' ') ++start;
  } while (start < n);
}

// The longest prefix [0, k) with width(prefix) + extra <= limit.
size_t FittingPrefix(const std::vector<int>& offsets, int extra, int limit) {
  size_t k = offsets.size() - 1;
  while (k > 0 && offsets[k] + extra > limit) --k;
  return k;
}

TLine EndEllipsis(TTextPainter& p, const TLine& line, int limit, bool atWords) {
  const auto xs = p.Offsets(line.text);
  const int dots = p.Width(kEllipsis);
  size_t k = FittingPrefix(xs, dots, limit);
  if (atWords) {
    size_t w = k;
    while (w > 0 && !(w < line.text.size() && line.text[w] == U' ')) --w;
    if (w > 0) k = w;
  }
  while (k > 0 && line.text[k - 1] == U' ' && atWords) --k;
  TLine out = line.Sub(0, k);
  out.Append(kEllipsis);
  return out;
}

// Keeps the last path component ("\\name" or "/name") and as much of the
// start as fits, with "..." between.
TLine PathEllipsis(TTextPainter& p, const TLine& line, int limit) {
  const size_t slash = line.text.find_last_of(U"\\/");
  if (slash == std::u32string::npos || slash == 0) return EndEllipsis(p, line, limit, false);
  const TLine tail = line.Sub(slash, line.text.size());
  const int tailWidth = p.Width(tail.text) + p.Width(kEllipsis);
  const auto xs = p.Offsets(line.text.substr(0, slash));
  const size_t k = FittingPrefix(xs, tailWidth, limit);
  TLine out = line.Sub(0, k);
  out.Append(kEllipsis);
  out.text += tail.text;
  out.marks.insert(out.marks.end(), tail.marks.begin(), tail.marks.end());
  return out;
}

}  // namespace

int TCanvas::DrawText(std::string_view text, TRect& r, uint32_t flags) {
  int tabChars = 8;
  if (flags & DT_TABSTOP) {
    tabChars = static_cast<int>((flags >> 8) & 0xFF);
    flags &= ~uint32_t(0xFF00);
  }
  const bool singleLine = flags & DT_SINGLELINE;
  const bool calcRect = flags & DT_CALCRECT;
  const std::u32string decoded = DecodeUtf8(text);
  if (decoded.empty()) {
    if (calcRect) {
      r.Right = r.Left;
      r.Bottom = r.Top;
    }
    return 0;
  }
  const int tabWidth = (flags & DT_EXPANDTABS) ? tabChars * TTextPainter(*this, 0).Metrics().aveCharWidth : 0;
  TTextPainter painter(*this, tabWidth);
  const TFaceMetrics& m = painter.Metrics();
  const int lineHeight = m.height + ((flags & DT_EXTERNALLEADING) ? m.externalLeading : 0);
  const int limit = r.Width();

  // Lines: prefixes, paragraphs, word wrap, ellipsis.
  TLine all = ApplyPrefixes(decoded, !(flags & DT_NOPREFIX));
  std::vector<TLine> lines;
  for (const TLine& para : SplitParagraphs(std::move(all), singleLine)) {
    if ((flags & DT_WORDBREAK) && !singleLine)
      WrapLine(painter, para, limit, flags & DT_EDITCONTROL, lines);
    else
      lines.push_back(para);
  }
  const uint32_t ellipsis = flags & (DT_END_ELLIPSIS | DT_PATH_ELLIPSIS | DT_WORD_ELLIPSIS);
  if (ellipsis) {
    for (TLine& line : lines) {
      if (painter.Width(line.text) <= limit) continue;
      if (flags & DT_PATH_ELLIPSIS)
        line = PathEllipsis(painter, line, limit);
      else
        line = EndEllipsis(painter, line, limit, (flags & DT_WORD_ELLIPSIS) && !(flags & DT_END_ELLIPSIS));
    }
  }
  // An edit control shows no partially visible last line.
  if ((flags & DT_EDITCONTROL) && (flags & DT_WORDBREAK) && !calcRect && lines.size() > 1) {
    const size_t fit = std::max<size_t>(1, r.Height() / std::max(1, lineHeight));
    if (lines.size() > fit) lines.resize(fit);
  }

  std::vector<int> widths;
  int widest = 0;
  for (const TLine& line : lines) {
    widths.push_back(painter.Width(line.text));
    widest = std::max(widest, widths.back());
  }
  const int textHeight = lineHeight * static_cast<int>(lines.size());
  if (calcRect) {
    r.Right = r.Left + widest;
    r.Bottom = r.Top + textHeight;
    return textHeight;
  }

  int y = r.Top;
  if (singleLine && (flags & DT_VCENTER))
    y = r.Top + (r.Height() - lineHeight) / 2;
  else if (singleLine && (flags & DT_BOTTOM))
    y = r.Bottom - lineHeight;

  const int saved = SaveDC();
  if (!(flags & DT_NOCLIP)) IntersectClipRect(r);
  const bool opaque = TextOpaque();
  const uint32_t bk = PixelFromColorRef(ColorToRGB(brush_.Color()));
  const bool drawMarks = !(flags & DT_NOPREFIX) && !(flags & DT_HIDEPREFIX);
  const bool marksOnly = flags & DT_PREFIXONLY;
  for (size_t i = 0; i < lines.size(); ++i) {
    int x = r.Left;
    if (flags & DT_CENTER)
      x = r.Left + (limit - widths[i]) / 2;
    else if (flags & DT_RIGHT)
      x = r.Right - widths[i];
    const TPoint d = LogicalToDevice(TPoint{x, y + static_cast<int>(i) * lineHeight});
    if (opaque && !marksOnly) FillDeviceRect({d.X, d.Y, d.X + widths[i], d.Y + lineHeight}, bk);
    painter.Draw(d.X, d.Y, lines[i], drawMarks || marksOnly, marksOnly);
  }
  RestoreDC(saved);
  if (singleLine && (flags & (DT_VCENTER | DT_BOTTOM))) return y - r.Top + lineHeight;
  return textHeight;
}

}  // namespace qz
