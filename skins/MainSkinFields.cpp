// Scroll bars, edits, the list box and the check box of the main skin.
#include <string>

#include "skins/MainSkinParts.h"

namespace qz::skingen::mainskin {

namespace {

namespace st = style;

// ---------------------------------------------------------------------------
// Scroll bars. Painted along an axis: "along" runs with the bar, "across"
// over its thickness, so one painter serves both kinds.

constexpr int kBarThickness = 14;
constexpr int kBarButton = 14;   // length of a step button
constexpr int kBarLength = 96;
constexpr int kThumbLength = 30;

struct TAxis {
  bool Vertical;
  TRect Cell;  // picture rect of the element
  TRectF Span(double a0, double c0, double a1, double c1) const {
    return Vertical ? TRectF(Cell.Left + c0, Cell.Top + a0, Cell.Left + c1, Cell.Top + a1)
                    : TRectF(Cell.Left + a0, Cell.Top + c0, Cell.Left + a1, Cell.Top + c1);
  }
  TRect Whole(int a0, int a1) const {
    return Vertical ? Rect(Cell.Left, Cell.Top + a0, Cell.Right, Cell.Top + a1)
                    : Rect(Cell.Left + a0, Cell.Top, Cell.Left + a1, Cell.Bottom);
  }
  // Arrow direction toward the start (up / left) or the end (down / right).
  int Toward(bool end) const { return Vertical ? (end ? 2 : 0) : (end ? 1 : 3); }
};

TRect PlaceAlong(TAtlas& atlas, bool vertical, int along) {
  return vertical ? atlas.Place(kBarThickness, along) : atlas.Place(along, kBarThickness);
}

void StepGlyph(TPainter& p, const TAxis& ax, double a0, bool end, uint32_t c) {
  TRectF r = ax.Span(a0, 0, a0 + kBarButton, kBarThickness);
  p.OpenArrow((r.left + r.right) / 2, (r.top + r.bottom) / 2, 6, ax.Toward(end), 1.5, c);
}

// A step button look (hot or pressed) of its own.
TRect PaintStep(TPainter& p, TAtlas& atlas, bool vertical, bool end, uint32_t back, uint32_t plate,
                uint32_t glyph) {
  TAxis ax{vertical, atlas.Place(kBarThickness, kBarThickness)};
  p.Set(ax.Cell, back);
  p.FillRoundRect(TRectF(ax.Cell).Inflated(-1), 3, plate);
  StepGlyph(p, ax, 0, end, glyph);
  return ax.Cell;
}

TRect PaintThumb(TPainter& p, TAtlas& atlas, bool vertical, uint32_t back, uint32_t fill) {
  TAxis ax{vertical, PlaceAlong(atlas, vertical, kThumbLength)};
  p.Set(ax.Cell, back);
  p.FillRoundRect(ax.Span(1, 3, kThumbLength - 1, kBarThickness - 3), 4, fill);
  return ax.Cell;
}

// One scroll bar description; `corner` adds the square that a horizontal
// bar leaves beside a vertical one.
void PaintScrollBar(TSkinBuilder& skin, const TPictures& pics, const std::string& name,
                    bool vertical, bool corner, uint32_t back) {
  TPainter p(skin.Active(pics.Controls));
  TAtlas& atlas = skin.Atlas(pics.Controls);
  const int length = kBarLength + (corner ? kBarThickness : 0);
  const int endStart = kBarLength - kBarButton;  // the increment button
  TAxis ax{vertical, PlaceAlong(atlas, vertical, length)};
  p.Set(ax.Cell, back);
  const uint32_t glyph = st::kDark.TextDim;
  StepGlyph(p, ax, 0, false, glyph);
  StepGlyph(p, ax, endStart, true, glyph);
  if (corner) p.Set(ax.Whole(kBarLength, length), back);

  const uint32_t hotPlate = Hex(0x363C48), downPlate = st::kAccent;
  TRect hotDec = PaintStep(p, atlas, vertical, false, back, hotPlate, st::kDark.Text);
  TRect downDec = PaintStep(p, atlas, vertical, false, back, downPlate, Hex(0xFFFFFF));
  TRect hotInc = PaintStep(p, atlas, vertical, true, back, hotPlate, st::kDark.Text);
  TRect downInc = PaintStep(p, atlas, vertical, true, back, downPlate, Hex(0xFFFFFF));
  TRect thumb = PaintThumb(p, atlas, vertical, back, tone::kThumb);
  TRect hotThumb = PaintThumb(p, atlas, vertical, back, tone::kThumbHot);
  TRect downThumb = PaintThumb(p, atlas, vertical, back, st::kAccent);

  auto& d = skin.Control<TqzDataSkinScrollBarControl>(name);
  d.PictureIndex = pics.Controls;
  if (vertical) {
    SetThreeV(d, ax.Cell, kBarButton, length - endStart);
    d.TrackArea = Rect(0, kBarButton, kBarThickness, endStart);
    d.DownButtonRect = Rect(0, 0, kBarThickness, kBarButton);
    d.UpButtonRect = Rect(0, endStart, kBarThickness, kBarLength);
  } else {
    SetThreeH(d, ax.Cell, kBarButton, length - endStart);
    d.TrackArea = Rect(kBarButton, 0, endStart, kBarThickness);
    d.DownButtonRect = Rect(0, 0, kBarButton, kBarThickness);
    d.UpButtonRect = Rect(endStart, 0, kBarLength, kBarThickness);
  }
  d.ActiveDownButtonRect = hotDec;
  d.DownDownButtonRect = downDec;
  d.ActiveUpButtonRect = hotInc;
  d.DownUpButtonRect = downInc;
  d.ThumbRect = thumb;
  d.ActiveThumbRect = hotThumb;
  d.DownThumbRect = downThumb;
  d.ThumbOffset1 = d.ThumbOffset2 = 6;
  d.ThumbStretchEffect = true;
}

// ---------------------------------------------------------------------------
// Edits.

void PaintFieldFrame(TPainter& p, const TRect& r, uint32_t border) {
  p.Set(r, tone::kCard);
  TRectF f(r);
  p.FillRoundRect(f, 4, tone::kField);
  p.StrokeRoundRect(f, 4, 1, border);
}

const uint32_t kFocusBorder = Mix(st::kAccent, Hex(0x15181D), 0.1);

// The browse button of "buttonedit": three dots on a small plate.
void BrowseButton(TPainter& p, const TRect& r, uint32_t plate, uint32_t dots) {
  p.FillRoundRect(TRectF(r), 3, plate);
  double cy = (r.Top + r.Bottom) / 2.0, cx = (r.Left + r.Right) / 2.0;
  for (double dx : {-4.0, 0.0, 4.0}) p.FillCircle(cx + dx, cy + 0.5, 1.3, dots);
}

void EditFont(TqzDataSkinEditControl& d) {
  d.FontName = st::kFont;
  d.FontHeight = 13;
  d.FontColor = Col(st::kDark.Text);
  d.ActiveFontColor = Col(Hex(0xFFFFFF));
  d.DisabledFontColor = Col(st::kDark.TextDisabled);
}

// "buttonedit" has a fixed place in its picture: 904,452,979,478 with the
// button at 50,3,70,24 of it.
void PaintButtonEdit(TSkinBuilder& skin, const TPictures& pics) {
  TPainter p(skin.Active(pics.Controls));
  TAtlas& atlas = skin.Atlas(pics.Controls);
  const TRect skinRect = layout::kButtonEditSkin;
  const TRect button{50, 3, 70, 24};
  TRect active = atlas.Place(skinRect.Width(), skinRect.Height());
  TRect hotButton = atlas.Place(button.Width(), button.Height());
  TRect downButton = atlas.Place(button.Width(), button.Height());
  TRect offButton = atlas.Place(button.Width(), button.Height());
  atlas.NewRow();
  const uint32_t plate = Hex(0x2A2F38);
  PaintFieldFrame(p, skinRect, tone::kFieldBorder);
  BrowseButton(p, OffsetRect(button, skinRect.Left, skinRect.Top), plate, st::kDark.TextDim);
  PaintFieldFrame(p, active, kFocusBorder);
  BrowseButton(p, OffsetRect(button, active.Left, active.Top), plate, st::kDark.TextDim);
  for (const TRect& r : {hotButton, downButton, offButton}) p.Set(r, tone::kField);
  BrowseButton(p, hotButton, Hex(0x3A404C), st::kDark.Text);
  BrowseButton(p, downButton, st::kAccent, Hex(0xFFFFFF));
  BrowseButton(p, offButton, Hex(0x20242B), st::kDark.TextDisabled);

  auto& d = skin.Control<TqzDataSkinEditControl>("buttonedit");
  d.PictureIndex = pics.Controls;
  SetThreeH(d, skinRect, 6, skinRect.Width() - 48);
  d.ClientRect = Rect(7, 5, 46, 21);
  d.ActiveSkinRect = active;
  EditFont(d);
  d.ButtonRect = button;
  d.ActiveButtonRect = hotButton;
  d.DownButtonRect = downButton;
  d.UnEnabledButtonRect = offButton;
}

void PaintEdit(TSkinBuilder& skin, const TPictures& pics) {
  TPainter p(skin.Active(pics.Controls));
  TAtlas& atlas = skin.Atlas(pics.Controls);
  TRect normal = atlas.Place(120, 26), active = atlas.Place(120, 26);
  atlas.NewRow();
  PaintFieldFrame(p, normal, tone::kFieldBorder);
  PaintFieldFrame(p, active, kFocusBorder);
  auto& d = skin.Control<TqzDataSkinEditControl>("edit");
  d.PictureIndex = pics.Controls;
  SetThreeH(d, normal, 6, 6);
  d.ClientRect = Rect(7, 5, 113, 21);
  d.ActiveSkinRect = active;
  EditFont(d);
}

// ---------------------------------------------------------------------------
// The check box (flat: only its images and caption are drawn, over the
// group box it sits on). The images are drawn with their bottom-left pixel
// as the transparent colour, so each cell keeps a margin of that colour.

TRect CheckCell(TPainter& p, TAtlas& atlas, uint32_t fill, uint32_t border, int mark,
                uint32_t markColor) {
  TRect cell = atlas.Place(18, 18);
  p.Set(cell, tone::kGroup);
  TRectF box(cell.Left + 2, cell.Top + 2, cell.Left + 16, cell.Top + 16);
  p.FillRoundRect(box, 3, fill);
  p.StrokeRoundRect(box, 3, 1, border);
  if (mark == 1) p.CheckMark(cell.Left + 9, cell.Top + 9, 8, 1.8, markColor);
  if (mark == 2) p.Line(cell.Left + 5.5, cell.Top + 9, cell.Left + 12.5, cell.Top + 9, 2, markColor);
  return cell;
}

void PaintCheckBox(TSkinBuilder& skin, const TPictures& pics) {
  TPainter p(skin.Active(pics.Controls));
  TAtlas& atlas = skin.Atlas(pics.Controls);
  const uint32_t white = Hex(0xFFFFFF);
  TRect plate = atlas.Place(150, 22);
  p.Set(plate, tone::kGroup);
  TRect uncheck = CheckCell(p, atlas, tone::kField, Hex(0x4A515E), 0, 0);
  TRect hotUncheck = CheckCell(p, atlas, tone::kField, st::kAccentHot, 0, 0);
  TRect check = CheckCell(p, atlas, st::kAccent, st::kAccent, 1, white);
  TRect hotCheck = CheckCell(p, atlas, st::kAccentHot, st::kAccentHot, 1, white);
  TRect offUncheck = CheckCell(p, atlas, Hex(0x1F2228), Hex(0x30353F), 0, 0);
  TRect offCheck = CheckCell(p, atlas, Hex(0x2E4462), Hex(0x2E4462), 1, Hex(0x8FA3BF));
  TRect grayed = CheckCell(p, atlas, st::kAccent, st::kAccent, 2, white);
  TRect hotGrayed = CheckCell(p, atlas, st::kAccentHot, st::kAccentHot, 2, white);
  atlas.NewRow();

  auto& d = skin.Control<TqzDataSkinCheckRadioControl>("checkbox");
  d.PictureIndex = pics.Controls;
  SetNine(d, plate, 2, 2, 2, 2);
  d.CheckImageArea = Rect(2, 2, 20, 20);
  d.TextArea = Rect(24, 0, 148, 22);
  d.FontName = st::kFont;
  d.FontHeight = 13;
  d.FontColor = d.FrameFontColor = Col(st::kDark.Text);
  d.ActiveFontColor = Col(white);
  d.UnEnabledFontColor = Col(st::kDark.TextDisabled);
  d.CheckImageRect = check;
  d.UnCheckImageRect = uncheck;
  d.ActiveCheckImageRect = hotCheck;
  d.ActiveUnCheckImageRect = hotUncheck;
  d.UnEnabledCheckImageRect = offCheck;
  d.UnEnabledUnCheckImageRect = offUncheck;
  d.GrayedCheckImageRect = grayed;
  d.ActiveGrayedCheckImageRect = hotGrayed;
}

// ---------------------------------------------------------------------------
// The list box "listbox1" with its own scroll bars.

void PaintListBox(TSkinBuilder& skin, const TPictures& pics) {
  TPainter p(skin.Active(pics.Controls));
  TAtlas& atlas = skin.Atlas(pics.Controls);
  TRect frame = atlas.Place(150, 80);
  PaintFieldFrame(p, frame, tone::kFieldBorder);
  TRect item = atlas.Place(150, 20), selected = atlas.Place(150, 20), focused = atlas.Place(150, 20);
  atlas.NewRow();
  for (const TRect& r : {item, selected, focused}) p.Set(r, tone::kField);
  auto pill = [](const TRect& r) { return TRectF(r.Left + 2, r.Top + 1, r.Right - 2, r.Bottom - 1); };
  p.FillRoundRect(pill(selected), 4, Mix(tone::kField, st::kAccent, 0.55));
  p.FillRoundRect(pill(focused), 4, st::kAccent);
  p.StrokeRoundRect(pill(focused), 4, 1, Mix(st::kAccentHot, Hex(0xFFFFFF), 0.3));

  auto& d = skin.Control<TqzDataSkinListBox>("listbox1");
  d.PictureIndex = pics.Controls;
  SetNine(d, frame, 2, 4, 2, 4, 5);
  d.ItemRect = item;
  d.ActiveItemRect = selected;
  d.FocusItemRect = focused;
  d.ItemLeftOffset = d.ItemRightOffset = 6;
  d.ItemTextRect = Rect(8, 0, 142, 20);
  d.FontName = st::kFont;
  d.FontHeight = 13;
  d.FontColor = Col(st::kDark.Text);
  d.ActiveFontColor = Col(Hex(0xFFFFFF));
  d.FocusFontColor = Col(Hex(0xFFFFFF));
  d.CaptionFontName = st::kFont;
  d.CaptionFontColor = Col(st::kDark.TextDim);
  d.VScrollBarName = "lbscrollbar";
  d.HScrollBarName = "lbhscrollbar";
  d.BothHScrollBarName = "lbbothhscrollbar";
}

}  // namespace

void PaintScrollBars(TSkinBuilder& skin, const TPictures& pics) {
  skin.Atlas(pics.Controls).NewRow();
  // Bars on the page background ...
  PaintScrollBar(skin, pics, "vscrollbar", true, false, tone::kCard);
  PaintScrollBar(skin, pics, "hscrollbar", false, false, tone::kCard);
  PaintScrollBar(skin, pics, "bothhscrollbar", false, true, tone::kCard);
  // ... and inside the list box.
  PaintScrollBar(skin, pics, "lbscrollbar", true, false, tone::kField);
  PaintScrollBar(skin, pics, "lbhscrollbar", false, false, tone::kField);
  PaintScrollBar(skin, pics, "lbbothhscrollbar", false, true, tone::kField);
}

void PaintFields(TSkinBuilder& skin, const TPictures& pics) {
  PaintButtonEdit(skin, pics);
  PaintEdit(skin, pics);
  PaintCheckBox(skin, pics);
  PaintListBox(skin, pics);
}

}  // namespace qz::skingen::mainskin
