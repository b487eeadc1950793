// Check and radio boxes, edits, combo boxes, list boxes, scroll bars and
// track bars of the dialog skin.
#include "skins/DialogSkinParts.h"

namespace qz::skingen::dialogskin {

namespace {

const style::TPalette& kPal = style::kLight;

// ---- Check and radio boxes ----

// Check images are drawn with the colour of their bottom-left pixel as the
// transparent colour: every cell keeps the dialog background in its outer
// ring of pixels, so the soft edges blend into the usual background.
constexpr int kCheckCell = 16;

enum class TMark { None, Tick, Dash, Dot };
struct TCheckLook {
  uint32_t Fill, Border, Mark;
  TMark Kind;
};

void PaintCheckCell(TPainter& p, const TRect& cell, const TCheckLook& look, bool round) {
  p.Set(cell, tone::kBody);
  const TRectF box(cell.Left + 1, cell.Top + 1, cell.Right - 1, cell.Bottom - 1);
  Box(p, box, round ? 7.0 : 3.0, look.Fill, look.Border);
  const double cx = cell.Left + kCheckCell / 2.0, cy = cell.Top + kCheckCell / 2.0;
  switch (look.Kind) {
    case TMark::Tick: p.CheckMark(cx, cy, 8, 1.8, look.Mark); break;
    case TMark::Dash:
      p.Fill(TRect{cell.Left + 4, cell.Top + 7, cell.Right - 4, cell.Top + 9}, look.Mark);
      break;
    case TMark::Dot: p.FillCircle(cx, cy, 3, look.Mark); break;
    case TMark::None: break;
  }
}

const TCheckLook kUnchecked{tone::kField, kPal.BorderStrong, 0, TMark::None};
const TCheckLook kUncheckedHot{Hex(0xF5F9FF), style::kAccent, 0, TMark::None};
const TCheckLook kUncheckedOff{Hex(0xF4F5F7), Hex(0xD3D8DE), 0, TMark::None};
const TCheckLook kChecked{style::kAccent, style::kAccentDown, Hex(0xFFFFFF), TMark::Tick};
const TCheckLook kCheckedHot{style::kAccentHot, style::kAccent, Hex(0xFFFFFF), TMark::Tick};
const TCheckLook kCheckedOff{Hex(0xC9CFD7), Hex(0xBCC3CC), Hex(0xFFFFFF), TMark::Tick};

TCheckLook WithMark(TCheckLook look, TMark mark) {
  look.Kind = mark;
  return look;
}

// One check/radio description: flat mode draws only the check images; the
// plate (skinrect) is a plain three-part strip for the non-flat mode.
void AddCheckRadio(TContext& c, const char* name, bool round) {
  const int pic = c.Pics.Controls;
  TPainter p(c.Skin.Active(pic));
  auto cell = [&](const TCheckLook& look) {
    const TRect r = c.Place(pic, kCheckCell, kCheckCell, name);
    PaintCheckCell(p, r, look, round);
    return r;
  };
  auto& d = c.Skin.Control<TqzDataSkinCheckRadioControl>(name);
  d.PictureIndex = pic;
  const TMark on = round ? TMark::Dot : TMark::Tick;
  d.UnCheckImageRect = cell(kUnchecked);
  d.ActiveUnCheckImageRect = cell(kUncheckedHot);
  d.UnEnabledUnCheckImageRect = cell(kUncheckedOff);
  d.CheckImageRect = cell(WithMark(kChecked, on));
  d.ActiveCheckImageRect = cell(WithMark(kCheckedHot, on));
  d.UnEnabledCheckImageRect = cell(WithMark(kCheckedOff, on));
  if (!round) {
    d.GrayedCheckImageRect = cell(WithMark(kChecked, TMark::Dash));
    d.ActiveGrayedCheckImageRect = cell(WithMark(kCheckedHot, TMark::Dash));
  }
  const TRect plate = c.Place(pic, 60, 22, name);
  p.Set(plate, tone::kBody);
  SetThreeH(d, plate, 4, 4, {0, 0, 60, 22});
  d.CheckImageArea = {0, 0, 22, 22};
  d.TextArea = {24, 0, 58, 22};
  SetFont(d, 13, false, kPal.Text);
  d.ActiveFontColor = Col(kPal.Text);
  d.FrameFontColor = Col(kPal.Text);
  d.UnEnabledFontColor = Col(kPal.TextDisabled);
}

// ---- Fields ----

// A white field with a 1-pixel border; `focus` adds the accent ring.
void PaintField(TPainter& p, const TRect& r, bool focus) {
  const TRectF f(r);
  p.Set(r, tone::kBody);
  Box(p, f, 4, tone::kField, focus ? style::kAccent : tone::kFieldBorder);
  if (focus) p.StrokeRoundRect(f.Inflated(-1), 3, 1, Fade(style::kAccent, 0.3));
}

void AddEdit(TContext& c) {
  const int pic = c.Pics.Controls;
  const TRect normal = c.Place(pic, 80, 24, "edit"), focus = c.Place(pic, 80, 24, "edit");
  TPainter p(c.Skin.Active(pic));
  PaintField(p, normal, false);
  PaintField(p, focus, true);
  auto& d = c.Skin.Control<TqzDataSkinEditControl>("edit");
  d.PictureIndex = pic;
  SetThreeH(d, normal, 6, 6, {6, 4, 74, 20});
  d.ActiveSkinRect = focus;
  SetFont(d, 13, false, kPal.Text);
  d.ActiveFontColor = Col(kPal.Text);
  d.DisabledFontColor = Col(kPal.TextDisabled);
}

// The item looks shared by the list box, the combo box's list and the
// dialogs' tree and list views: white rows, a light accent plate for the
// selection and a full accent plate for the focused selection.
struct TItemLooks {
  TRect Normal, Selected, Focused;
};

TItemLooks PaintItemLooks(TContext& c) {
  const int pic = c.Pics.Controls;
  TItemLooks l{c.Place(pic, 40, 20, "listbox items"), c.Place(pic, 40, 20, "listbox items"),
               c.Place(pic, 40, 20, "listbox items")};
  TPainter p(c.Skin.Active(pic));
  for (const TRect* r : {&l.Normal, &l.Selected, &l.Focused}) p.Set(*r, tone::kField);
  p.FillRoundRect(TRectF(l.Selected).Inflated(-1), 3, tone::kSelect);
  p.FillRoundRect(TRectF(l.Focused).Inflated(-1), 3,
                  TFill::Vertical(TRectF(l.Focused), style::kAccentHot, style::kAccent));
  return l;
}

void SetListBox(TqzDataSkinListBox& d, int pic, const TRect& frame, int border,
                const TItemLooks& items) {
  d.PictureIndex = pic;
  SetNine(d, frame, border, border, border, border, 6, 6);
  d.ItemRect = items.Normal;
  d.ActiveItemRect = items.Selected;
  d.FocusItemRect = items.Focused;
  d.ItemLeftOffset = d.ItemRightOffset = 5;
  d.ItemTextRect = {6, 0, 34, 20};
  SetFont(d, 13, false, kPal.Text);
  d.ActiveFontColor = Col(kPal.Text);
  d.FocusFontColor = Col(Hex(0xFFFFFF));
  d.CaptionFontColor = Col(kPal.Text);
}

void AddListBoxes(TContext& c) {
  const int pic = c.Pics.Controls;
  const TItemLooks items = PaintItemLooks(c);
  const TRect list = c.Place(pic, 60, 60, "listbox"), drop = c.Place(pic, 60, 60, "combolist");
  TPainter p(c.Skin.Active(pic));
  p.Set(list, tone::kBody);
  Box(p, TRectF(list), 4, tone::kField, tone::kFieldBorder);
  // The drop-down list is a square popup with a stronger border.
  p.Set(drop, tone::kField);
  p.StrokeRoundRect(TRectF(drop), 0, 1, kPal.BorderStrong);
  SetListBox(c.Skin.Control<TqzDataSkinListBox>("listbox"), pic, list, 2, items);
  SetListBox(c.Skin.Control<TqzDataSkinListBox>("combolist"), pic, drop, 1, items);
}

void AddComboBox(TContext& c) {
  const int pic = c.Pics.Controls;
  constexpr int kW = 100, kH = 24, kButton = 22;
  const TRect normal = c.Place(pic, kW, kH, "combobox"), hot = c.Place(pic, kW, kH, "combobox");
  // The button's looks sit inside the field's border and focus ring.
  const TRect button{kW - 2 - kButton, 2, kW - 2, kH - 2};
  const TRect bHot = c.Place(pic, button.Width(), button.Height(), "combobox"),
              bDown = c.Place(pic, button.Width(), button.Height(), "combobox"),
              bOff = c.Place(pic, button.Width(), button.Height(), "combobox");
  const TRect focusItem = c.Place(pic, 40, kH - 6, "combobox");
  TPainter p(c.Skin.Active(pic));
  const double arrowX = button.Left + kButton / 2.0, arrowY = kH / 2.0;
  PaintField(p, normal, false);
  PaintField(p, hot, true);
  for (const TRect* r : {&normal, &hot})
    p.OpenArrow(r->Left + arrowX, r->Top + arrowY, 8, 2, 1.4, tone::kGlyph);
  // Button looks, copied over the field at its button place.
  const uint32_t plates[] = {Hex(0xE8EEF6), tone::kSelectHot, 0};
  const TRect* cells[] = {&bHot, &bDown, &bOff};
  for (int i = 0; i < 3; ++i) {
    const TRect& r = *cells[i];
    p.Set(r, tone::kField);
    if (plates[i]) p.FillRoundRect(TRectF(r), 3, plates[i]);
    p.OpenArrow(r.Left + kButton / 2.0, r.Top + button.Height() / 2.0, 8, 2, 1.4,
            i == 2 ? tone::kGlyphOff : tone::kGlyphHot);
  }
  p.Set(focusItem, tone::kField);
  p.FillRoundRect(TRectF(focusItem), 3, tone::kSelect);

  auto& d = c.Skin.Control<TqzDataSkinComboBox>("combobox");
  d.PictureIndex = pic;
  SetThreeH(d, normal, 6, kButton + 2, {6, 3, kW - kButton - 2, kH - 3});
  d.ActiveSkinRect = hot;
  d.ButtonRect = button;
  d.ActiveButtonRect = bHot;
  d.DownButtonRect = bDown;
  d.UnEnabledButtonRect = bOff;
  d.FocusItemRect = focusItem;
  d.ItemLeftOffset = d.ItemRightOffset = 4;
  d.ItemTextRect = {4, 0, 36, kH - 6};
  SetFont(d, 13, false, kPal.Text);
  d.FocusFontColor = Col(kPal.Text);
  d.ActiveFontColor = Col(kPal.Text);
  d.ListBoxName = "combolist";
}

// ---- Scroll bars ----

constexpr int kBar = 19, kStep = 17, kLen = 80;
constexpr uint32_t kTrack = Hex(0xF6F7F9);

// Button looks (hot, pressed) for one direction, and the bar's own strip.
struct TBarParts {
  TRect DecHot, DecDown, IncHot, IncDown;  // picture coordinates
  TRect Thumb, ThumbHot, ThumbDown;
};

void PaintArrowCell(TPainter& p, const TRect& r, int dir, uint32_t plate, uint32_t glyph) {
  p.Set(r, kTrack);
  if (plate) p.FillRoundRect(TRectF(r).Inflated(-2), 3, plate);
  const double cx = (r.Left + r.Right) / 2.0, cy = (r.Top + r.Bottom) / 2.0;
  p.OpenArrow(cx, cy, 7, dir, 1.3, glyph);
}

void PaintThumb(TPainter& p, const TRect& r, bool vertical, uint32_t color) {
  p.Set(r, kTrack);
  const TRectF f(r);
  const TRectF pill = vertical ? TRectF(f.left + 6, f.top + 1, f.right - 6, f.bottom - 1)
                               : TRectF(f.left + 1, f.top + 6, f.right - 1, f.bottom - 6);
  p.FillRoundRect(pill, 3.5, color);
}

TBarParts PaintBarParts(TContext& c, bool vertical, const std::string& owner) {
  const int pic = c.Pics.Controls;
  const int bw = vertical ? kBar : kStep, bh = vertical ? kStep : kBar;
  const int tw = vertical ? kBar : 30, th = vertical ? 30 : kBar;
  TBarParts b;
  b.DecHot = c.Place(pic, bw, bh, owner);
  b.DecDown = c.Place(pic, bw, bh, owner);
  b.IncHot = c.Place(pic, bw, bh, owner);
  b.IncDown = c.Place(pic, bw, bh, owner);
  b.Thumb = c.Place(pic, tw, th, owner);
  b.ThumbHot = c.Place(pic, tw, th, owner);
  b.ThumbDown = c.Place(pic, tw, th, owner);
  TPainter p(c.Skin.Active(pic));
  const int dec = vertical ? 0 : 3, inc = vertical ? 2 : 1;
  PaintArrowCell(p, b.DecHot, dec, Hex(0xE3E7EC), tone::kGlyphHot);
  PaintArrowCell(p, b.DecDown, dec, Hex(0xD2D8E0), tone::kGlyphHot);
  PaintArrowCell(p, b.IncHot, inc, Hex(0xE3E7EC), tone::kGlyphHot);
  PaintArrowCell(p, b.IncDown, inc, Hex(0xD2D8E0), tone::kGlyphHot);
  PaintThumb(p, b.Thumb, vertical, tone::kThumb);
  PaintThumb(p, b.ThumbHot, vertical, tone::kThumbHot);
  PaintThumb(p, b.ThumbDown, vertical, style::kAccent);
  return b;
}

// A bar strip: decrement button, track, increment button and, for the bar
// that shares its corner with a vertical bar, the corner square.
TRect PaintBarStrip(TContext& c, bool vertical, int corner, const std::string& owner) {
  const int pic = c.Pics.Controls;
  const int len = kLen + corner;
  const TRect r = c.Place(pic, vertical ? kBar : len, vertical ? len : kBar, owner);
  TPainter p(c.Skin.Active(pic));
  p.Set(r, kTrack);
  if (vertical) {
    PaintArrowCell(p, {r.Left, r.Top, r.Right, r.Top + kStep}, 0, 0, tone::kGlyph);
    PaintArrowCell(p, {r.Left, r.Bottom - kStep, r.Right, r.Bottom}, 2, 0, tone::kGlyph);
  } else {
    PaintArrowCell(p, {r.Left, r.Top, r.Left + kStep, r.Bottom}, 3, 0, tone::kGlyph);
    PaintArrowCell(p, {r.Left + kLen - kStep, r.Top, r.Left + kLen, r.Bottom}, 1, 0,
                   tone::kGlyph);
    if (corner) p.Set({r.Left + kLen, r.Top, r.Right, r.Bottom}, Hex(0xEEF0F3));
  }
  return r;
}

void SetBar(TqzDataSkinScrollBarControl& d, int pic, const TBarParts& b) {
  d.PictureIndex = pic;
  d.ActiveDownButtonRect = b.DecHot;
  d.DownDownButtonRect = b.DecDown;
  d.ActiveUpButtonRect = b.IncHot;
  d.DownUpButtonRect = b.IncDown;
  d.ThumbRect = b.Thumb;
  d.ActiveThumbRect = b.ThumbHot;
  d.DownThumbRect = b.ThumbDown;
  d.ThumbOffset1 = d.ThumbOffset2 = 6;
  d.ThumbStretchEffect = true;
  d.ThumbMinSize = 20;
}

// ---- Track bars ----

constexpr int kTrackLen = 100, kTrackThick = 22, kThumb = 16;

void PaintGroove(TPainter& p, const TRect& r, bool vertical, uint32_t color) {
  p.Set(r, tone::kBody);
  const TRectF f(r);
  const double mid = vertical ? (f.left + f.right) / 2 : (f.top + f.bottom) / 2;
  const TRectF groove = vertical ? TRectF(mid - 2, f.top + 2, mid + 2, f.bottom - 2)
                                 : TRectF(f.left + 2, mid - 2, f.right - 2, mid + 2);
  p.FillRoundRect(groove, 2, color);
}

// The thumb lies over the groove, whose colour changes at the thumb's
// centre (accent towards the minimum end); its background shows both.
void PaintTrackThumb(TPainter& p, const TRect& r, bool vertical, bool hot) {
  p.Set(r, tone::kBody);
  const int half = kThumb / 2;
  const int groove0 = (kTrackThick - kThumb) / 2;  // thumb top inside the bar
  const int g0 = kTrackThick / 2 - 2 - groove0, g1 = kTrackThick / 2 + 2 - groove0;
  if (vertical) {
    p.Set({r.Left + g0, r.Top, r.Left + g1, r.Top + half}, tone::kGroove);
    p.Set({r.Left + g0, r.Top + half, r.Left + g1, r.Bottom}, style::kAccent);
  } else {
    p.Set({r.Left, r.Top + g0, r.Left + half, r.Top + g1}, style::kAccent);
    p.Set({r.Left + half, r.Top + g0, r.Right, r.Top + g1}, tone::kGroove);
  }
  const double cx = r.Left + half, cy = r.Top + half;
  p.FillCircle(cx, cy + 0.5, 7.5, Fade(Hex(0x000000), 0.12));
  p.FillCircle(cx, cy, 7, tone::kField);
  p.StrokeCircle(cx, cy, 7, hot ? 1.5 : 1, hot ? style::kAccent : kPal.BorderStrong);
  p.FillCircle(cx, cy, 2.5, hot ? style::kAccent : kPal.Border);
}

void AddTrackBar(TContext& c, const char* name, bool vertical) {
  const int pic = c.Pics.Controls;
  const int w = vertical ? kTrackThick : kTrackLen, h = vertical ? kTrackLen : kTrackThick;
  const TRect base = c.Place(pic, w, h, name), filled = c.Place(pic, w, h, name);
  const TRect thumb = c.Place(pic, kThumb, kThumb, name),
              thumbHot = c.Place(pic, kThumb, kThumb, name);
  TPainter p(c.Skin.Active(pic));
  PaintGroove(p, base, vertical, tone::kGroove);
  PaintGroove(p, filled, vertical, style::kAccent);
  PaintTrackThumb(p, thumb, vertical, false);
  PaintTrackThumb(p, thumbHot, vertical, true);
  auto& d = c.Skin.Control<TqzDataSkinTrackBarControl>(name);
  d.PictureIndex = pic;
  if (vertical)
    SetThreeV(d, base, 10, 10, {0, 0, w, h});
  else
    SetThreeH(d, base, 10, 10, {0, 0, w, h});
  d.ActiveSkinRect = filled;
  d.TrackArea = {0, 0, w, h};
  d.ButtonRect = thumb;
  d.ActiveButtonRect = thumbHot;
  d.Vertical = vertical;
}

}  // namespace

void PaintChecks(TContext& c) {
  AddCheckRadio(c, "checkbox", false);
  AddCheckRadio(c, "radiobox", true);
}

void PaintFields(TContext& c) {
  AddEdit(c);
  AddComboBox(c);
  AddListBoxes(c);
}

void PaintScrollBars(TContext& c) {
  const int pic = c.Pics.Controls;
  const TBarParts vparts = PaintBarParts(c, true, "vscrollbar");
  const TBarParts hparts = PaintBarParts(c, false, "hscrollbar");
  const TRect vstrip = PaintBarStrip(c, true, 0, "vscrollbar");
  const TRect hstrip = PaintBarStrip(c, false, 0, "hscrollbar");
  const TRect both = PaintBarStrip(c, false, kBar, "bothhscrollbar");

  auto& v = c.Skin.Control<TqzDataSkinScrollBarControl>("vscrollbar");
  SetThreeV(v, vstrip, kStep, kStep, {0, kStep, kBar, kLen - kStep});
  v.TrackArea = {0, kStep, kBar, kLen - kStep};
  v.DownButtonRect = {0, 0, kBar, kStep};
  v.UpButtonRect = {0, kLen - kStep, kBar, kLen};
  SetBar(v, pic, vparts);

  for (const char* name : {"hscrollbar", "bothhscrollbar"}) {
    const bool corner = std::string(name) == "bothhscrollbar";
    auto& h = c.Skin.Control<TqzDataSkinScrollBarControl>(name);
    SetThreeH(h, corner ? both : hstrip, kStep, kStep + (corner ? kBar : 0),
              {kStep, 0, kLen - kStep, kBar});
    h.TrackArea = {kStep, 0, kLen - kStep, kBar};
    h.DownButtonRect = {0, 0, kStep, kBar};
    h.UpButtonRect = {kLen - kStep, 0, kLen, kBar};
    SetBar(h, pic, hparts);
  }
}

void PaintTrackBars(TContext& c) {
  AddTrackBar(c, "trackbar", true);  // the first section of the description
  AddTrackBar(c, "htrackbar", false);
}

}  // namespace qz::skingen::dialogskin
