#include "skin/draw/QzGlyphs.h"

#include "host/graphics/Canvas.h"

namespace qz {

// ---- Default glyphs ----

namespace {

void UsePen(TCanvas& c, TColor color) {
  c.Pen().SetColor(color);
  c.Pen().SetStyle(TPenStyle::psSolid);
  c.Pen().SetWidth(1);
}

// Line from a to b, end point excluded.
void Line(TCanvas& c, int x1, int y1, int x2, int y2) {
  c.MoveTo(x1, y1);
  c.LineTo(x2, y2);
}
// Lines with both ends drawn.
void HLine(TCanvas& c, int y, int x1, int x2) { Line(c, x1, y, x2 + 1, y); }
void VLine(TCanvas& c, int x, int y1, int y2) { Line(c, x, y1, x, y2 + 1); }

TPoint Centre(const TRect& r) { return {r.Left + r.Width() / 2, r.Top + r.Height() / 2}; }

// Arrows of `rows` lines; `offset` is how far the tip is from the centre.
void Arrow(TCanvas& c, TPoint p, int kind, int rows, int offset) {
  for (int i = 0; i < rows; ++i) {
    const int n = rows - 1 - i;  // the right and down arrows count down
    switch (kind) {
      case 1: VLine(c, p.X - offset + i, p.Y - i, p.Y + i); break;
      case 2: VLine(c, p.X + offset - n, p.Y - n, p.Y + n); break;
      case 3: HLine(c, p.Y - offset + i, p.X - i, p.X + i); break;
      case 4: HLine(c, p.Y + offset - n, p.X - n, p.X + n); break;
      default: break;
    }
  }
}

void Frame(TCanvas& c, int l, int t, int r, int b) {
  const TBrushStyle old = c.Brush().Style();
  c.Brush().SetStyle(TBrushStyle::bsClear);
  c.Rectangle(l, t, r, b);
  c.Brush().SetStyle(old);
}

void Fill(TCanvas& c, TColor color, const TRect& r) {
  c.Brush().SetColor(color);
  c.Brush().SetStyle(TBrushStyle::bsSolid);
  c.FillRect(r);
}

}  // namespace

void DrawArrowImage(TCanvas& Cnvs, const TRect& R, TColor Color, int Kind) {
  UsePen(Cnvs, Color);
  const TPoint c = Centre(R);
  if (Kind == 5) {
    for (int d : {-1, 0}) {
      HLine(Cnvs, c.Y + d, c.X - 4, c.X + 3);
      VLine(Cnvs, c.X + d, c.Y - 4, c.Y + 3);
    }
    return;
  }
  Arrow(Cnvs, c, Kind, 4, 2);
}

void DrawSmallArrowImage(TCanvas& Cnvs, const TRect& R, TColor Color, int Kind) {
  UsePen(Cnvs, Color);
  Arrow(Cnvs, Centre(R), Kind, 3, 1);
}

void DrawChevronImage(TCanvas& Cnvs, const TRect& R, TColor Color, int Kind) {
  UsePen(Cnvs, Color);
  const TPoint c = Centre(R);
  for (int i = 0; i < 4; ++i)
    for (int side : {-1, 1}) switch (Kind) {
        case 1: HLine(Cnvs, c.Y + side * i, c.X - 2 + i, c.X - 1 + i); break;
        case 2: HLine(Cnvs, c.Y + side * i, c.X + 1 - i, c.X + 2 - i); break;
        case 3: VLine(Cnvs, c.X + side * i, c.Y - 2 + i, c.Y - 1 + i); break;
        case 4: VLine(Cnvs, c.X + side * i, c.Y + 1 - i, c.Y + 2 - i); break;
        default: return;
      }
}

void DrawTrackArrowImage(TCanvas& Cnvs, const TRect& R, TColor Color) {
  UsePen(Cnvs, Color);
  const TPoint c = Centre(R);
  for (int n = 2; n >= 0; --n) HLine(Cnvs, c.Y + 2 - n, c.X - n, c.X + n);
}

void DrawCheckImage(TCanvas& Cnvs, int X, int Y, TColor Color) {
  UsePen(Cnvs, Color);
  for (int i = 0; i < 3; ++i) {
    const TPoint pts[] = {{X, Y + 5 - i}, {X + 2, Y + 7 - i}, {X + 7, Y + 2 - i}};
    Cnvs.Polyline(pts);
  }
}

void DrawRadioImage(TCanvas& Cnvs, int X, int Y, TColor Color) {
  Fill(Cnvs, Color, {X, Y, X + 6, Y + 6});
}

void DrawCloseGlyph(TCanvas& Cnvs, int X, int Y, TColor Color) {
  UsePen(Cnvs, Color);
  Line(Cnvs, X + 1, Y + 1, X + 9, Y + 9);
  Line(Cnvs, X + 9, Y + 1, X + 1, Y + 9);
  Line(Cnvs, X + 2, Y + 1, X + 10, Y + 9);
  Line(Cnvs, X + 8, Y + 1, X, Y + 9);
}

void DrawMinimizeGlyph(TCanvas& Cnvs, int X, int Y, TColor Color) {
  UsePen(Cnvs, Color);
  Line(Cnvs, X + 1, Y + 8, X + 9, Y + 8);
  Line(Cnvs, X + 1, Y + 9, X + 9, Y + 9);
}

void DrawMaximizeGlyph(TCanvas& Cnvs, int X, int Y, TColor Color) {
  UsePen(Cnvs, Color);
  Frame(Cnvs, X, Y, X + 11, Y + 10);
  Frame(Cnvs, X, Y, X + 11, Y + 2);
}

void DrawRestoreGlyph(TCanvas& Cnvs, int X, int Y, TColor Color) {
  UsePen(Cnvs, Color);
  Frame(Cnvs, X + 2, Y, X + 10, Y + 6);
  Frame(Cnvs, X + 2, Y, X + 10, Y + 2);
  Frame(Cnvs, X, Y + 4, X + 7, Y + 10);
  Frame(Cnvs, X, Y + 4, X + 7, Y + 6);
}

void DrawSysMenuGlyph(TCanvas& Cnvs, int X, int Y, TColor Color) {
  UsePen(Cnvs, Color);
  Line(Cnvs, X + 2, Y + 3, X + 8, Y + 3);
  Line(Cnvs, X + 2, Y + 5, X + 8, Y + 5);
}

void DrawRollDownGlyph(TCanvas& Cnvs, int X, int Y, TColor Color) {
  UsePen(Cnvs, Color);
  for (int i = 0; i <= 3; ++i) Line(Cnvs, X + 5 - i, Y + 6 - i, X + 6 + i, Y + 6 - i);
}

void DrawRollUpGlyph(TCanvas& Cnvs, int X, int Y, TColor Color) {
  UsePen(Cnvs, Color);
  for (int i = 0; i <= 3; ++i) Line(Cnvs, X + 2 + i, Y + 5 - i, X + 9 - i, Y + 5 - i);
}

void DrawMinimizeToTrayGlyph(TCanvas& Cnvs, int X, int Y, TColor Color) {
  Fill(Cnvs, Color, {X + 2, Y + 2, X + 7, Y + 7});
}

void DrawSkinFocusRect(TCanvas& Cnvs, const TRect& R) {
  const int l = R.Left, t = R.Top, r = R.Right - 1, b = R.Bottom - 1;
  if (r < l || b < t) return;
  const TColor color = Cnvs.Font().Color();
  bool on = !((r - l) % 2 == 0 && (b - t) % 2 == 0);
  auto put = [&](int x, int y) {
    if (on) Cnvs.SetPixel(x, y, color);
  };
  // Each side starts on the previous side's last pixel, in the same state.
  for (int x = l; x <= r; ++x, on = !on) put(x, t);
  on = !on;
  for (int y = t; y <= b; ++y, on = !on) put(r, y);
  on = !on;
  for (int x = r; x >= l; --x, on = !on) put(x, b);
  on = !on;
  for (int y = b; y >= t; --y, on = !on) put(l, y);
}

}  // namespace qz
