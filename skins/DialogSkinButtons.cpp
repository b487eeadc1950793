// Caption buttons and push buttons of the dialog skin.
#include <string>

#include "skins/DialogSkinParts.h"

namespace qz::skingen::dialogskin {

namespace {

// ---- Caption buttons ----

constexpr int kCellW = 17, kCellH = 16, kCellStride = 22;
// The looks of one button, in the order of the cells on its band.
enum TLook { kActive, kNormal, kDown, kInactive, kRestoreActive, kRestoreNormal, kRestoreDown,
             kRestoreInactive, kLookCount };

enum class TGlyph { Close, Maximize, Restore, Minimize, RollUp, RollDown, AppIcon };

TRect Cell(int band, int look) {
  const int x = 7 + look * kCellStride, y = band * frame::kBandHeight + frame::kButtonTop;
  return {x, y, x + kCellW, y + kCellH};
}

void DrawGlyph(TPainter& p, TGlyph g, double cx, double cy, uint32_t c) {
  switch (g) {
    case TGlyph::Close:
      p.Cross(cx, cy, 7, 1.3, c);
      break;
    case TGlyph::Maximize:
      p.StrokeRoundRect(TRectF(cx - 4, cy - 4, cx + 4, cy + 4), 1.5, 1.2, c);
      break;
    case TGlyph::Restore:
      p.Polyline({{cx - 2, cy - 2.5}, {cx - 2, cy - 4.4}, {cx + 4.4, cy - 4.4}, {cx + 4.4, cy + 2},
                  {cx + 2.5, cy + 2}},
                 1.1, c);
      p.StrokeRoundRect(TRectF(cx - 4.5, cy - 2, cx + 2, cy + 4.5), 1, 1.1, c);
      break;
    case TGlyph::Minimize:
      p.Fill(TRect{int(cx) - 4, int(cy) + 1, int(cx) + 5, int(cy) + 2}, c);
      break;
    case TGlyph::RollUp:
      p.OpenArrow(cx, cy, 8, 0, 1.4, c);
      break;
    case TGlyph::RollDown:
      p.OpenArrow(cx, cy, 8, 2, 1.4, c);
      break;
    case TGlyph::AppIcon: {
      // The application's icon: a play mark on an accent tile, grey while
      // the window is inactive.
      const TRectF icon(cx - 7, cy - 7, cx + 7, cy + 7);
      const bool off = c == tone::kGlyphOff;
      p.FillRoundRect(icon, 3.5,
                      TFill::Vertical(icon, off ? Hex(0xC3C9D1) : style::kAccentHot,
                                      off ? Hex(0xA7AFBA) : style::kAccentDown));
      p.FillPolygon({{cx - 2, cy - 3.5}, {cx + 3.5, cy}, {cx - 2, cy + 3.5}}, Hex(0xFFFFFF));
      break;
    }
  }
}

// One look: the caption background of its band (already painted), an
// optional rounded plate and the glyph.
void PaintLook(TPainter& p, const TRect& cell, TGlyph g, TLook look, bool danger) {
  const bool hot = look == kActive || look == kRestoreActive;
  const bool down = look == kDown || look == kRestoreDown;
  const bool off = look == kInactive || look == kRestoreInactive;
  uint32_t glyph = off ? tone::kGlyphOff : (hot || down ? tone::kGlyphHot : tone::kGlyph);
  if (hot || down) {
    uint32_t plate = hot ? Hex(0xDDE3EA) : Hex(0xC9D1DC);
    if (danger) {
      plate = hot ? tone::kRed : tone::kRedDown;
      glyph = Hex(0xFFFFFF);
    }
    p.FillRoundRect(TRectF(cell), 3, plate);
  }
  const double cx = cell.Left + kCellW / 2.0, cy = cell.Top + kCellH / 2.0;
  DrawGlyph(p, g, cx, cy, glyph);
}

struct TCaptionButton {
  const char* Name;
  TqzStdCommand Command;
  const char* Hint;
  TGlyph Glyph, RestoreGlyph;
  bool HasRestore;
  bool RollUp = false;  // shown while the window is rolled up
};

void AddCaptionButton(TContext& c, int band, const TCaptionButton& b, bool paint) {
  const int pic = c.Pics.CaptionButtons;
  TPainter p(c.Skin.Active(pic));
  const int looks = b.HasRestore ? kLookCount : kRestoreActive;
  for (int look = 0; look < looks; ++look) {
    const TRect cell = Cell(band, look);
    c.Skin.Atlas(pic).Claim(cell, b.Name);
    if (!paint) continue;
    const TGlyph g = look >= kRestoreActive ? b.RestoreGlyph : b.Glyph;
    PaintLook(p, cell, g, TLook(look), b.Command == TqzStdCommand::Close);
  }
  auto& d = c.Skin.Object<TqzDataSkinStdButton>(b.Name);
  d.Hint = b.Hint;
  d.ActivePictureIndex = pic;
  d.SkinRectInAPicture = true;
  d.SkinRect = Cell(band, kNormal);
  d.ActiveSkinRect = Cell(band, kActive);
  d.DownRect = Cell(band, kDown);
  d.InActiveSkinRect = Cell(band, kInactive);
  d.Morphing = true;
  d.Command = b.Command;
  d.RollUp = b.RollUp;
  if (b.HasRestore) {
    d.RestoreRect = Cell(band, kRestoreNormal);
    d.RestoreActiveRect = Cell(band, kRestoreActive);
    d.RestoreDownRect = Cell(band, kRestoreDown);
    d.RestoreInActiveRect = Cell(band, kRestoreInactive);
    d.RestoreHint = b.Command == TqzStdCommand::RollUp ? "Roll Down" : "Restore";
  }
}

// ---- Push buttons ----

struct TFaceColors {
  uint32_t Top, Bottom, Border, BottomBorder;
};
constexpr TFaceColors kNormalFace{Hex(0xFFFFFF), Hex(0xF1F3F6), tone::kFieldBorder, Hex(0xAEB6C1)};
constexpr TFaceColors kHotFace{Hex(0xF7FAFF), Hex(0xE6EFFC), tone::kHotBorder, Hex(0x7FA8E0)};
constexpr TFaceColors kDownFace{Hex(0xD6E4F7), Hex(0xE2EBF8), tone::kDownBorder, tone::kDownBorder};
constexpr TFaceColors kOffFace{Hex(0xF6F7F9), Hex(0xF6F7F9), Hex(0xDADEE3), Hex(0xDADEE3)};

void PaintFace(TPainter& p, const TRect& r, double radius, const TFaceColors& f) {
  Face(p, r, radius, f.Top, f.Bottom, f.Border, f.BottomBorder);
}

// The keyboard-focus look: the normal face inside an accent ring.
void PaintFocusFace(TPainter& p, const TRect& r, double radius) {
  PaintFace(p, r, radius, kNormalFace);
  const TRectF f(r);
  p.StrokeRoundRect(f, radius, 1, style::kAccent);
  p.StrokeRoundRect(f.Inflated(-1), radius - 1, 1, Fade(style::kAccent, 0.35));
}

void SetButtonFonts(TqzDataSkinButtonControl& d, bool bold) {
  SetFont(d, 13, bold, style::kLight.Text);
  d.ActiveFontColor = Col(style::kLight.Text);
  d.DownFontColor = Col(Hex(0x17457F));
  d.DisabledFontColor = Col(style::kLight.TextDisabled);
  d.Morphing = true;
}

// The disabled look of [button] is one row shorter than the normal one; the
// engine composes it at the normal height by giving its row 24 twice. So
// the look is painted at the full height and its row 25 left out: rows
// 0..24 and the bottom row 26 of the full-height face.
void PaintShortFace(TPainter& p, const TRect& r, double radius, const TFaceColors& f) {
  TPixmap full(r.Width(), r.Height() + 1, tone::kBody);
  TPainter fp(full);
  PaintFace(fp, full.Bounds(), radius, f);
  TPixmap& target = p.Target();
  for (int y = 0; y < r.Height(); ++y) {
    const int from = y < r.Height() - 1 ? y : y + 1;
    for (int x = 0; x < r.Width(); ++x) target.At(r.Left + x, r.Top + y) = full.At(x, from);
  }
}

// [button]: the dialog push button at its fixed places. The hot, pressed
// and disabled looks are one pixel wider than the normal one (and the
// disabled one a pixel lower); the corner points keep the columns and rows
// the engine adds or drops in plain interior, so every state composes
// cleanly at the normal look's size.
void AddDialogButton(TContext& c) {
  const int pic = c.Pics.Controls;
  const TRect normal{1, 1, 95, 28}, active{1, 30, 96, 57}, down{1, 59, 96, 86},
      disabled{1, 88, 96, 114}, focused{1, 116, 95, 143};
  c.Skin.Atlas(pic).Reserve({0, 0, 97, 145});
  TPainter p(c.Skin.Active(pic));
  PaintFace(p, c.Fix(pic, normal, "button"), 4, kNormalFace);
  PaintFace(p, c.Fix(pic, active, "button"), 4, kHotFace);
  PaintFace(p, c.Fix(pic, down, "button"), 4, kDownFace);
  PaintShortFace(p, c.Fix(pic, disabled, "button"), 4, kOffFace);
  PaintFocusFace(p, c.Fix(pic, focused, "button"), 4);

  auto& d = c.Skin.Control<TqzDataSkinButtonControl>("button");
  d.PictureIndex = pic;
  d.SkinRect = normal;
  d.ClientRect = {7, 3, 86, 24};
  d.LeftTopPoint = {7, 6};
  d.RightTopPoint = {82, 6};
  d.LeftBottomPoint = {7, 16};
  d.RightBottomPoint = {82, 16};
  d.LeftStretch = d.TopStretch = d.RightStretch = d.BottomStretch = true;
  d.StretchEffect = true;
  d.ActiveSkinRect = active;
  d.DownSkinRect = down;
  d.DisabledSkinRect = disabled;
  d.FocusedSkinRect = focused;
  SetButtonFonts(d, true);
}

// A nine-part button whose four looks have the same size.
struct TLooks {
  TRect Normal, Active, Down, Disabled;
};

TLooks PlaceLooks(TContext& c, const char* name, int w, int h, bool withDisabled) {
  const int pic = c.Pics.Controls;
  TLooks l;
  l.Normal = c.Place(pic, w, h, name);
  l.Active = c.Place(pic, w, h, name);
  l.Down = c.Place(pic, w, h, name);
  if (withDisabled) l.Disabled = c.Place(pic, w, h, name);
  return l;
}

void SetLooks(TqzDataSkinButtonControl& d, const TLooks& l) {
  d.ActiveSkinRect = l.Active;
  d.DownSkinRect = l.Down;
  d.DisabledSkinRect = l.Disabled;
}

// "resizebutton": any size (the second window's 113 x 73 button, list view
// column headers, tool bar scroll arrows).
void AddResizeButton(TContext& c) {
  const TLooks l = PlaceLooks(c, "resizebutton", 40, 28, true);
  TPainter p(c.Skin.Active(c.Pics.Controls));
  PaintFace(p, l.Normal, 5, kNormalFace);
  PaintFace(p, l.Active, 5, kHotFace);
  PaintFace(p, l.Down, 5, kDownFace);
  PaintFace(p, l.Disabled, 5, kOffFace);
  auto& d = c.Skin.Control<TqzDataSkinButtonControl>("resizebutton");
  d.PictureIndex = c.Pics.Controls;
  SetNine(d, l.Normal, 6, 4, 6, 4, 7, 7);
  SetLooks(d, l);
  SetButtonFonts(d, false);
}

// Flat tool buttons: nothing at rest (they lie on the tool bar's colour),
// a light accent plate under the mouse, a deeper one when pressed.
void PaintToolLooks(TPainter& p, const TLooks& l, uint32_t rest) {
  p.Set(l.Normal, rest);
  Box(p, TRectF(l.Active), 4, tone::kSelect, tone::kHotBorder);
  Box(p, TRectF(l.Down), 4, tone::kSelectHot, tone::kDownBorder);
  p.Set(l.Disabled, rest);
}

void AddToolButtons(TContext& c) {
  const TLooks l = PlaceLooks(c, "toolbutton", 28, 26, true);
  TPainter p(c.Skin.Active(c.Pics.Controls));
  PaintToolLooks(p, l, tone::kBody);
  for (const char* name : {"toolbutton", "resizetoolbutton"}) {
    auto& d = c.Skin.Control<TqzDataSkinButtonControl>(name);
    d.PictureIndex = c.Pics.Controls;
    SetNine(d, l.Normal, 4, 3, 4, 3, 6, 6);
    SetLooks(d, l);
    SetButtonFonts(d, false);
  }
}

// "menuitembutton": hot and picked cells of the images menu, on the popup's
// white.
void AddMenuItemButton(TContext& c) {
  const TLooks l = PlaceLooks(c, "menuitembutton", 24, 24, false);
  TPainter p(c.Skin.Active(c.Pics.Controls));
  p.Set(l.Normal, tone::kField);
  p.Set(l.Active, tone::kField);
  p.Set(l.Down, tone::kField);
  p.FillRoundRect(TRectF(l.Active), 4, tone::kSelect);
  Box(p, TRectF(l.Down), 4, tone::kSelectHot, tone::kDownBorder);
  auto& d = c.Skin.Control<TqzDataSkinButtonControl>("menuitembutton");
  d.PictureIndex = c.Pics.Controls;
  SetNine(d, l.Normal, 4, 4, 4, 4, 6, 6);
  SetLooks(d, l);
  SetButtonFonts(d, false);
}

// "toolmenubutton": a button with a drop-down part on the right (its arrow
// lies in the fixed right piece); fixed height, any width.
void AddToolMenuButton(TContext& c) {
  constexpr int kW = 40, kH = 25, kDrop = 15;
  const TLooks l = PlaceLooks(c, "toolmenubutton", kW, kH, true);
  TPainter p(c.Skin.Active(c.Pics.Controls));
  const TFaceColors* faces[] = {&kNormalFace, &kHotFace, &kDownFace, &kOffFace};
  const TRect* rects[] = {&l.Normal, &l.Active, &l.Down, &l.Disabled};
  for (int i = 0; i < 4; ++i) {
    const TRect& r = *rects[i];
    PaintFace(p, r, 4, *faces[i]);
    const uint32_t line = i == 0 || i == 3 ? Hex(0xE1E5EA) : Fade(tone::kDownBorder, 0.5);
    p.Fill(TRect{r.Right - kDrop, r.Top + 5, r.Right - kDrop + 1, r.Bottom - 5}, line);
    p.OpenArrow(r.Right - kDrop / 2.0, r.Top + kH / 2.0, 7, 2, 1.3,
            i == 3 ? tone::kGlyphOff : tone::kGlyph);
  }
  auto& d = c.Skin.Control<TqzDataSkinMenuButtonControl>("toolmenubutton");
  d.PictureIndex = c.Pics.Controls;
  SetThreeH(d, l.Normal, 6, kDrop + 2, {4, 2, kW - kDrop - 1, kH - 2});
  SetLooks(d, l);
  d.TrackButtonRect = {kW - kDrop, 0, kW, kH};
  SetButtonFonts(d, false);
}

}  // namespace

void PaintCaptionButtons(TContext& c) {
  const int pic = c.Pics.CaptionButtons;
  const TCaptionButton buttons[] = {
      {"closebutton", TqzStdCommand::Close, "Close", TGlyph::Close, TGlyph::Close, false},
      {"maxbutton", TqzStdCommand::Maximize, "Maximize", TGlyph::Maximize, TGlyph::Restore, true},
      {"minbutton", TqzStdCommand::Minimize, "Minimize", TGlyph::Minimize, TGlyph::Restore, true},
      {"rollupbutton", TqzStdCommand::RollUp, "Roll Up", TGlyph::RollUp, TGlyph::RollDown, true},
      {"sysmenubutton", TqzStdCommand::SysMenu, "System menu", TGlyph::AppIcon, TGlyph::AppIcon,
       false},
  };
  const int bands = int(std::size(buttons));
  const TRect area{0, 0, 7 + kLookCount * kCellStride, bands * frame::kBandHeight};
  c.Skin.Atlas(pic).Reserve(area);
  TPainter p(c.Skin.Active(pic));
  for (int band = 0; band < bands; ++band)
    CaptionRows(p, {area.Left, band * frame::kBandHeight, area.Right,
                    (band + 1) * frame::kBandHeight});
  for (int band = 0; band < bands; ++band) AddCaptionButton(c, band, buttons[band], true);
  // The close button of dialogs without caption buttons (message box, file
  // dialogs) looks like the window's close button.
  AddCaptionButton(c, 0, {"dialogclosebutton", TqzStdCommand::Close, "Close", TGlyph::Close,
                          TGlyph::Close, false},
                   false);
  // The rolled-up window keeps the buttons that make sense on a bare
  // caption: close, roll down (the roll-up button's restore looks) and the
  // system menu. They share the looks of their twins.
  for (int band : {0, 3, 4}) {
    TCaptionButton rolled = buttons[band];
    const std::string name = std::string("rollup") + rolled.Name;
    rolled.Name = name.c_str();
    rolled.RollUp = true;
    AddCaptionButton(c, band, rolled, false);
  }
}

void PaintPushButtons(TContext& c) {
  AddDialogButton(c);
  AddResizeButton(c);
  AddToolButtons(c);
  AddToolMenuButton(c);
  AddMenuItemButton(c);
}

}  // namespace qz::skingen::dialogskin
