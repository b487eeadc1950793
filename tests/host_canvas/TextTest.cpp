// Fonts, metrics and DrawText layout. Layouts are checked against text drawn
// with TextOut at positions computed here from measured extents, so the tests
// hold whatever the glyph shapes are.
#include <gtest/gtest.h>

#include <algorithm>
#include <filesystem>
#include <string>
#include <vector>

#include "host/graphics/Canvas.h"
#include "host/graphics/PngWriter.h"
#include "host/graphics/TextEngine.h"

namespace qz {
namespace {

constexpr uint32_t kPaper = 0xFFFFFFFFu;

struct TSheet {
  TPixmap pixels;
  TCanvas canvas;
  explicit TSheet(int w = 240, int h = 60) : pixels(w, h, kPaper), canvas(&pixels) {
    canvas.Font().SetName("DejaVu Sans");
    canvas.Font().SetHeight(-12);
    canvas.Font().SetColor(clBlack);
    canvas.Brush().SetStyle(TBrushStyle::bsClear);
  }
  void Clear() { pixels.Resize(pixels.Width(), pixels.Height(), kPaper); }
};

// Bounding box of the pixels that are not paper.
TRect Ink(const TPixmap& pm) {
  TRect box;
  for (int y = 0; y < pm.Height(); ++y)
    for (int x = 0; x < pm.Width(); ++x)
      if (pm.At(x, y) != kPaper) box = UnionRect(box, {x, y, x + 1, y + 1});
  return box;
}

// The same text drawn by TextOut at (x, y) on a fresh sheet with the same font.
TPixmap Reference(const TSheet& like, std::vector<std::pair<TPoint, std::string>> runs) {
  TSheet s(like.pixels.Width(), like.pixels.Height());
  s.canvas.SetFont(like.canvas.Font());
  for (auto& [p, text] : runs) s.canvas.TextOut(p.X, p.Y, text);
  return s.pixels;
}

TEST(TextEngine, Utf8DecodingIsSafe) {
  EXPECT_EQ(DecodeUtf8("a\xC3\xA9\xE2\x82\xAC\xF0\x9F\x98\x80"), U"a\u00E9\u20AC\U0001F600");
  EXPECT_EQ(DecodeUtf8("\xC3"), U"\uFFFD");                 // truncated
  EXPECT_EQ(DecodeUtf8("\xC0\xAF"), U"\uFFFD");             // overlong '/'
  EXPECT_EQ(DecodeUtf8("\xED\xA0\x80"), U"\uFFFD");         // surrogate
  EXPECT_EQ(DecodeUtf8("\xFF" "a"), U"\uFFFDa");
  const std::u32string s = U"x\u00E9\U0001F600";
  EXPECT_EQ(DecodeUtf8(EncodeUtf8(s)), s);
}

TEST(TextEngine, TahomaResolvesToTheRealFace) {
  if (!std::filesystem::exists("/usr/share/wine/fonts/tahoma.ttf"))
    GTEST_SKIP() << "Tahoma (fonts-wine) is not installed";
  TTextEngine& e = TTextEngine::Instance();
  EXPECT_TRUE(e.HasFamily("Tahoma"));
  const TFontMatch regular = e.Resolve("Tahoma", false, false);
  EXPECT_EQ(regular.file, "/usr/share/wine/fonts/tahoma.ttf");
  const TFontMatch bold = e.Resolve("Tahoma", true, false);
  EXPECT_EQ(bold.file, "/usr/share/wine/fonts/tahomabd.ttf");
  EXPECT_TRUE(bold.faceBold);
  // The platform's metrics of the default 8-point font.
  TPixmap pm(4, 4);
  TCanvas c(&pm);
  const TTextMetric tm = c.GetTextMetrics();
  EXPECT_EQ(tm.tmHeight, 13);
  EXPECT_EQ(tm.tmAscent, 11);
  EXPECT_EQ(tm.tmDescent, 2);
  EXPECT_EQ(tm.tmInternalLeading, 2);
  // A positive height asks for the cell height.
  c.Font().SetHeight(13);
  EXPECT_EQ(c.GetTextMetrics().tmHeight, 13);
}

// Rows that read as background (no pixel of a quarter coverage or more)
// between a glyph's first and last inked rows.
int EmptyRowsBetweenInk(const TGlyph& g) {
  int first = -1, last = -1, empty = 0;
  std::vector<bool> inked(size_t(g.height), false);
  for (int y = 0; y < g.height; ++y)
    for (int x = 0; x < g.width; ++x)
      if (g.coverage[size_t(y) * g.width + x] >= 64) inked[size_t(y)] = true;
  for (int y = 0; y < g.height; ++y) {
    if (!inked[size_t(y)]) continue;
    if (first < 0) first = y;
    last = y;
  }
  for (int y = std::max(first, 0); y < last; ++y) empty += inked[size_t(y)] ? 0 : 1;
  return empty;
}

// The thin bold face is thickened across only: at the small sizes of
// labels the dots of "i" and "j" stay apart from their stems.
TEST(TextEngine, SmallBoldKeepsTheGapUnderTheDots) {
  if (!std::filesystem::exists("/usr/share/wine/fonts/tahomabd.ttf"))
    GTEST_SKIP() << "Tahoma (fonts-wine) is not installed";
  TTextEngine& e = TTextEngine::Instance();
  for (int px : {11, 12, 13, 14})
    for (char32_t ch : {U'i', U'j'}) {
      const auto face = e.Face({"Tahoma", -px, true, false});
      const auto regular = e.Face({"Tahoma", -px, false, false});
      const TGlyph& g = face->Glyph(ch);
      EXPECT_GE(EmptyRowsBetweenInk(g), 1) << px << " px, U+" << std::hex << uint32_t(ch);
      // Still bold: wider than the regular stroke, on the same rows.
      EXPECT_GT(g.width, regular->Glyph(ch).width) << px << " px";
      EXPECT_EQ(g.height, regular->Glyph(ch).height) << px << " px";
    }
}

TEST(TextEngine, ArialResolvesToAMetricCompatibleFace) {
  TTextEngine& e = TTextEngine::Instance();
  if (!e.HasFamily("Liberation Sans")) GTEST_SKIP() << "Liberation Sans (fonts-liberation) is not installed";
  EXPECT_EQ(e.Resolve("Arial", false, false).family, "Liberation Sans");
  EXPECT_FALSE(e.HasFamily("Arial")) << "an alias is not the family itself";
  // An unknown family still gives a usable face.
  const TFontMatch none = e.Resolve("No Such Family 4711", false, false);
  EXPECT_FALSE(none.file.empty());
}

TEST(TextEngine, SyntheticStylesAndMetricsFollowTheFont) {
  TSheet s;
  s.canvas.Font().SetName("DejaVu Sans");
  const TTextMetric regular = s.canvas.GetTextMetrics();
  EXPECT_EQ(regular.tmHeight, regular.tmAscent + regular.tmDescent);
  EXPECT_GE(regular.tmHeight, 12);
  EXPECT_GT(regular.tmAveCharWidth, 0);
  const int w = s.canvas.TextWidth("Hello");
  EXPECT_EQ(s.canvas.TextExtent("").cx, 0);
  EXPECT_EQ(s.canvas.TextExtent("").cy, regular.tmHeight);
  s.canvas.Font().SetStyle({TFontStyle::fsBold});
  EXPECT_GE(s.canvas.TextWidth("Hello"), w);
  EXPECT_EQ(s.canvas.GetTextMetrics().tmWeight, 700);
  s.canvas.Font().SetHeight(-24);
  EXPECT_GT(s.canvas.TextWidth("Hello"), w);
}

TEST(TextDraw, TextOutBackgroundAndColour) {
  TSheet s(60, 30);
  s.canvas.Brush().SetStyle(TBrushStyle::bsSolid);
  s.canvas.Brush().SetColor(clRed);
  s.canvas.Font().SetColor(clBlue);
  s.canvas.TextOut(5, 4, "Ab");
  const TSize ext = s.canvas.TextExtent("Ab");
  EXPECT_EQ(s.canvas.PenPos(), (TPoint{5 + ext.cx, 4}));
  EXPECT_EQ(s.pixels.At(5, 4), 0xFFFF0000u) << "cell corner filled with the brush";
  EXPECT_EQ(s.pixels.At(5 + ext.cx - 1, 4 + ext.cy - 1), 0xFFFF0000u);
  EXPECT_EQ(s.pixels.At(5 + ext.cx, 4), kPaper) << "nothing right of the cell";
  EXPECT_EQ(s.pixels.At(4, 4), kPaper);
  // Some fully covered glyph pixel has exactly the text colour.
  bool blue = false;
  for (int y = 4; y < 4 + ext.cy; ++y)
    for (int x = 5; x < 5 + ext.cx; ++x) blue = blue || s.pixels.At(x, y) == 0xFF0000FFu;
  EXPECT_TRUE(blue);
  // TRANSPARENT mode: no cell fill even with a solid brush.
  s.Clear();
  s.canvas.SetBkMode(TRANSPARENT);
  s.canvas.TextOut(5, 4, "Ab");
  EXPECT_EQ(s.pixels.At(5, 4), kPaper);
}

TEST(TextDraw, TextRectClipsToItsRectangle) {
  TSheet s(80, 30);
  s.canvas.TextRect({10, 5, 20, 25}, 10, 5, "WWWWWW");
  const TRect ink = Ink(s.pixels);
  EXPECT_GE(ink.Left, 10);
  EXPECT_LE(ink.Right, 20);
  EXPECT_FALSE(ink.IsEmpty());
  EXPECT_EQ(s.canvas.ClipRect(), (TRect{0, 0, 80, 30})) << "clip restored";
}

TEST(DrawTextLayout, AlignmentSingleLine) {
  TSheet s;
  const TRect r{10, 5, 210, 45};
  const std::string text = "Align me";
  const TSize ext = s.canvas.TextExtent(text);
  struct TCase { uint32_t flags; TPoint at; };
  const TCase cases[] = {
      {DT_LEFT | DT_SINGLELINE, {10, 5}},
      {DT_CENTER | DT_SINGLELINE, {10 + (200 - ext.cx) / 2, 5}},
      {DT_RIGHT | DT_SINGLELINE, {210 - ext.cx, 5}},
      {DT_LEFT | DT_SINGLELINE | DT_VCENTER, {10, 5 + (40 - ext.cy) / 2}},
      {DT_RIGHT | DT_SINGLELINE | DT_BOTTOM, {210 - ext.cx, 45 - ext.cy}},
      {DT_LEFT | DT_VCENTER, {10, 5}},  // vertical centring needs DT_SINGLELINE
  };
  for (const TCase& c : cases) {
    s.Clear();
    TRect rc = r;
    s.canvas.DrawText(text, rc, c.flags);
    EXPECT_EQ(rc, r) << "drawing leaves the rect alone";
    EXPECT_EQ(s.pixels, Reference(s, {{c.at, text}})) << "flags " << c.flags;
  }
  TRect rc = r;
  EXPECT_EQ(s.canvas.DrawText(text, rc, DT_SINGLELINE | DT_VCENTER), (40 - ext.cy) / 2 + ext.cy);
  EXPECT_EQ(s.canvas.DrawText(text, rc, DT_SINGLELINE), ext.cy);
  EXPECT_EQ(s.canvas.DrawText("", rc, DT_SINGLELINE), 0);
}

// Greedy word wrap written independently: whole words while they fit.
std::vector<std::string> WrapReference(TCanvas& c, const std::string& text, int limit) {
  std::vector<std::string> words;
  size_t p = 0;
  while (p < text.size()) {
    size_t q = text.find(' ', p);
    if (q == std::string::npos) q = text.size();
    words.push_back(text.substr(p, q - p));
    p = q + 1;
  }
  std::vector<std::string> lines;
  std::string cur;
  for (const std::string& w : words) {
    const std::string candidate = cur.empty() ? w : cur + " " + w;
    if (!cur.empty() && c.TextWidth(candidate) > limit) {
      lines.push_back(cur);
      cur = w;
    } else {
      cur = candidate;
    }
  }
  lines.push_back(cur);
  return lines;
}

// Code that only measures text uses a canvas without a target: it must give
// the sizes a canvas drawing into a bitmap gives, font by font.
TEST(TextEngine, ACanvasWithoutTargetMeasuresAsADrawingOne) {
  struct TCase { const char* family; int height; TFontStyles style; const char* text; };
  const TCase cases[] = {
      {"DejaVu Sans", -12, {}, "Hello, world"},
      {"DejaVu Sans", -24, {TFontStyle::fsBold}, "&File  Wide"},
      {"Liberation Sans", -11, {TFontStyle::fsItalic}, "\xC3\xA4 tab\there"},
  };
  for (const TCase& c : cases) {
    SCOPED_TRACE(c.family);
    TSheet drawing;
    TCanvas measuring;
    for (TCanvas* canvas : {&drawing.canvas, &measuring}) {
      canvas->Font().SetName(c.family);
      canvas->Font().SetHeight(c.height);
      canvas->Font().SetStyle(c.style);
    }
    EXPECT_EQ(measuring.TextExtent(c.text), drawing.canvas.TextExtent(c.text));
    EXPECT_EQ(measuring.GetTextMetrics().tmHeight, drawing.canvas.GetTextMetrics().tmHeight);
    EXPECT_EQ(measuring.GetTextMetrics().tmAveCharWidth, drawing.canvas.GetTextMetrics().tmAveCharWidth);
    TRect a{0, 0, 60, 1}, b = a;
    const uint32_t flags = DT_CALCRECT | DT_WORDBREAK | DT_EXPANDTABS;
    EXPECT_EQ(measuring.DrawText(c.text, a, flags), drawing.canvas.DrawText(c.text, b, flags));
    EXPECT_EQ(a, b);
  }
}

TEST(DrawTextLayout, WordBreakAndCalcRect) {
  TSheet s(240, 120);
  const std::string text = "the quick brown fox jumps over the lazy dog again";
  const int limit = s.canvas.TextWidth("the quick brown") + 3;
  const auto expected = WrapReference(s.canvas, text, limit);
  ASSERT_GT(expected.size(), 2u);
  const int lh = s.canvas.TextHeight("x");

  TRect calc{4, 2, 4 + limit, 3};
  const int h = s.canvas.DrawText(text, calc, DT_WORDBREAK | DT_CALCRECT);
  EXPECT_EQ(h, lh * int(expected.size()));
  int widest = 0;
  for (const auto& l : expected) widest = std::max(widest, s.canvas.TextWidth(l));
  EXPECT_EQ(calc, (TRect{4, 2, 4 + widest, 2 + h}));
  EXPECT_EQ(s.pixels, TSheet(240, 120).pixels) << "DT_CALCRECT draws nothing";

  TRect r{4, 2, 4 + limit, 118};
  s.canvas.DrawText(text, r, DT_WORDBREAK | DT_CENTER);
  std::vector<std::pair<TPoint, std::string>> runs;
  for (size_t i = 0; i < expected.size(); ++i)
    runs.push_back({{4 + (limit - s.canvas.TextWidth(expected[i])) / 2, 2 + int(i) * lh}, expected[i]});
  EXPECT_EQ(s.pixels, Reference(s, runs));

  // Explicit line breaks; without DT_WORDBREAK the width is the widest line.
  TRect multi{0, 0, 1, 1};
  EXPECT_EQ(s.canvas.DrawText("a\r\nbb\nccc", multi, DT_CALCRECT), 3 * lh);
  EXPECT_EQ(multi.Right, s.canvas.TextWidth("ccc"));
  TRect single{0, 0, 1, 1};
  EXPECT_EQ(s.canvas.DrawText("a\nbb", single, DT_CALCRECT | DT_SINGLELINE), lh);
  EXPECT_EQ(single.Right, s.canvas.TextWidth("abb"));
  // A single word wider than the rectangle stays whole.
  TRect narrow{0, 0, 5, 1};
  s.canvas.DrawText("unbreakable", narrow, DT_CALCRECT | DT_WORDBREAK);
  EXPECT_EQ(narrow.Right, s.canvas.TextWidth("unbreakable"));
  EXPECT_EQ(narrow.Bottom, lh);
}

TEST(DrawTextLayout, Ellipses) {
  TSheet s;
  struct TCase { std::string text; std::string shown; uint32_t flags; };
  const TCase cases[] = {
      {"abcdefghijklmnop", "abcdef...", DT_END_ELLIPSIS},
      {"alpha beta gamma", "alpha beta...", DT_WORD_ELLIPSIS},
      {"C:\\folder\\sub\\file.txt", "C:\\fo...\\file.txt", DT_PATH_ELLIPSIS},
      {"fits", "fits", DT_END_ELLIPSIS},
  };
  for (const TCase& c : cases) {
    s.Clear();
    const int limit = std::max(s.canvas.TextWidth(c.shown), 1);
    TRect r{3, 3, 3 + limit, 40};
    s.canvas.DrawText(c.text, r, c.flags | DT_SINGLELINE | DT_NOPREFIX);
    EXPECT_EQ(s.pixels, Reference(s, {{{3, 3}, c.shown}})) << c.text;
    TRect calc = r;
    s.canvas.DrawText(c.text, calc, c.flags | DT_SINGLELINE | DT_NOPREFIX | DT_CALCRECT);
    EXPECT_EQ(calc.Right, 3 + s.canvas.TextWidth(c.shown)) << c.text;
  }
}

TEST(DrawTextLayout, PrefixesUnderlineTheAccelerator) {
  TSheet s(100, 30);
  TRect calc{0, 0, 1, 1};
  s.canvas.DrawText("&File", calc, DT_CALCRECT | DT_SINGLELINE);
  EXPECT_EQ(calc.Right, s.canvas.TextWidth("File"));
  s.canvas.DrawText("&&File", calc, DT_CALCRECT | DT_SINGLELINE);
  EXPECT_EQ(calc.Right, s.canvas.TextWidth("&File"));
  s.canvas.DrawText("&File", calc, DT_CALCRECT | DT_SINGLELINE | DT_NOPREFIX);
  EXPECT_EQ(calc.Right, s.canvas.TextWidth("&File"));

  const TRect r{2, 2, 98, 28};
  s.canvas.DrawText("&File", r, DT_SINGLELINE | DT_HIDEPREFIX);
  const TPixmap plain = Reference(s, {{{2, 2}, "File"}});
  EXPECT_EQ(s.pixels, plain);

  s.Clear();
  s.canvas.DrawText("&File", r, DT_SINGLELINE);
  // The difference from the plain text is one underline under the "F" only.
  TRect diff;
  for (int y = 0; y < 30; ++y)
    for (int x = 0; x < 100; ++x)
      if (s.pixels.At(x, y) != plain.At(x, y)) diff = UnionRect(diff, {x, y, x + 1, y + 1});
  ASSERT_FALSE(diff.IsEmpty());
  EXPECT_EQ(diff.Left, 2);
  EXPECT_EQ(diff.Right, 2 + s.canvas.TextWidth("F"));
  EXPECT_GT(diff.Top, 2 + s.canvas.GetTextMetrics().tmAscent - 1) << "below the baseline";
  EXPECT_LT(diff.Bottom, 2 + s.canvas.GetTextMetrics().tmHeight + 1);
  EXPECT_EQ(s.pixels.At(diff.Left, diff.Top), 0xFF000000u);

  s.Clear();
  s.canvas.DrawText("&File", r, DT_SINGLELINE | DT_PREFIXONLY);
  EXPECT_EQ(Ink(s.pixels), diff) << "only the underline";
}

TEST(DrawTextLayout, ClippingAndTabs) {
  TSheet s(120, 30);
  const TRect r{10, 2, 30, 28};
  s.canvas.DrawText("WWWWWWWW", r, DT_SINGLELINE);
  EXPECT_LE(Ink(s.pixels).Right, 30);
  s.Clear();
  s.canvas.DrawText("WWWWWWWW", r, DT_SINGLELINE | DT_NOCLIP);
  EXPECT_GT(Ink(s.pixels).Right, 30);

  const int ave = s.canvas.GetTextMetrics().tmAveCharWidth;
  TRect calc{0, 0, 1, 1};
  s.canvas.DrawText("a\tb", calc, DT_CALCRECT | DT_EXPANDTABS | DT_SINGLELINE);
  EXPECT_EQ(calc.Right, 8 * ave + s.canvas.TextWidth("b"));
  // DT_TABSTOP takes the tab size from bits 8-15, so it cannot be combined
  // with DT_CALCRECT & co. (those bits are the size); check by drawing.
  s.Clear();
  s.canvas.DrawText("a\tb", TRect{0, 0, 120, 30}, DT_EXPANDTABS | DT_TABSTOP | (3 << 8) | DT_SINGLELINE);
  EXPECT_EQ(s.pixels, Reference(s, {{{0, 0}, "a"}, {{3 * ave, 0}, "b"}}));
  s.canvas.DrawText("a\tb", calc, DT_CALCRECT | DT_SINGLELINE);
  EXPECT_EQ(calc.Right, s.canvas.TextWidth("ab")) << "tabs take no room unless expanded";
}

TEST(DrawTextLayout, SampleSheet) {
  TPixmap sheet(420, 300, kPaper);
  TCanvas c(&sheet);
  c.Brush().SetStyle(TBrushStyle::bsClear);
  c.Font().SetColor(clBlack);
  int y = 4;
  struct TSample { const char* family; int height; TFontStyles style; };
  const TSample samples[] = {
      {"Tahoma", -11, {}},
      {"Tahoma", -11, {TFontStyle::fsBold}},
      {"Tahoma", -11, {TFontStyle::fsItalic, TFontStyle::fsUnderline}},
      {"Arial", -12, {}},
      {"Arial", -16, {TFontStyle::fsBold, TFontStyle::fsStrikeOut}},
      {"DejaVu Sans", -13, {}},
      {"Liberation Serif", -14, {TFontStyle::fsItalic}},
  };
  for (const TSample& s : samples) {
    c.Font().SetName(s.family);
    c.Font().SetHeight(s.height);
    c.Font().SetStyle(s.style);
    const std::string line = std::string(s.family) + " " + std::to_string(s.height) +
                             ": The &quick brown fox - \xC3\xA9\xC3\xA8 \xE2\x82\xAC 0123";
    TRect r{4, y, 416, y + 40};
    y += c.DrawText(line, r, DT_SINGLELINE | DT_END_ELLIPSIS) + 4;
  }
  c.Font().SetName("Tahoma");
  c.Font().SetHeight(-11);
  c.Font().SetStyle({});
  c.Brush().SetStyle(TBrushStyle::bsSolid);
  c.Brush().SetColor(RGB(230, 236, 250));
  const TRect box{4, y + 4, 204, y + 90};
  c.FillRect(box);
  c.Brush().SetStyle(TBrushStyle::bsClear);
  c.DrawText("Word-wrapped and centred text inside a box, with an accelerator on &this word.",
             box, DT_WORDBREAK | DT_CENTER);
  const TRect box2{212, y + 4, 352, y + 40};
  c.Brush().SetColor(clBlack);
  c.FrameRect(box2);
  c.DrawText("C:\\Program Files\\Demo\\Skins\\dialog.ini", box2,
             DT_SINGLELINE | DT_VCENTER | DT_PATH_ELLIPSIS);
  std::filesystem::create_directories(QZ_TEST_OUTPUT_DIR);
  SavePng(sheet, std::string(QZ_TEST_OUTPUT_DIR) + "/text_sample_sheet.png");
  EXPECT_FALSE(Ink(sheet).IsEmpty());
}

}  // namespace
}  // namespace qz
