// Panels, the group box, the tool bar, labels and the bevel of the dialog
// skin.
#include "skins/DialogSkinParts.h"

namespace qz::skingen::dialogskin {

namespace {

const style::TPalette& kPal = style::kLight;

TqzDataSkinPanelControl& AddPanel(TContext& c, const char* name) {
  auto& d = c.Skin.Control<TqzDataSkinPanelControl>(name);
  d.PictureIndex = c.Pics.Controls;
  SetFont(d, 13, true, kPal.Text);
  d.Alignment = qzTaLeftJustify;
  return d;
}

// "panel": a white card with a light border. Borderless panels of the file
// dialogs show only its white client piece.
void AddCardPanel(TContext& c) {
  const TRect r = c.Place(c.Pics.Controls, 40, 40, "panel");
  TPainter p(c.Skin.Active(c.Pics.Controls));
  p.Set(r, tone::kBody);
  Box(p, TRectF(r), 5, tone::kField, Hex(0xD5DAE0));
  SetNine(AddPanel(c, "panel"), r, 3, 3, 3, 3, 7, 7);
}

// "roundpanel": a softer, rounder card with a faint vertical gradient.
void AddRoundPanel(TContext& c) {
  const TRect r = c.Place(c.Pics.Controls, 60, 60, "roundpanel");
  TPainter p(c.Skin.Active(c.Pics.Controls));
  const TRectF f(r);
  p.Set(r, tone::kBody);
  p.FillRoundRect(f, 11, TFill::Vertical(f, Hex(0xFFFFFF), Hex(0xF4F6F9)));
  p.StrokeRoundRect(f.Inflated(-1), 10, 1, Fade(Hex(0xFFFFFF), 0.8));
  p.StrokeRoundRect(f, 11, 1, Hex(0xCDD3DA));
  SetNine(AddPanel(c, "roundpanel"), r, 5, 5, 5, 5, 13, 13);
}

// "groupbox": the caption on the dialog background above a framed box.
void AddGroupBox(TContext& c) {
  constexpr int kW = 80, kH = 60, kCaption = 20;
  const TRect r = c.Place(c.Pics.Controls, kW, kH, "groupbox");
  TPainter p(c.Skin.Active(c.Pics.Controls));
  p.Set(r, tone::kBody);
  Box(p, TRectF(r.Left, r.Top + kCaption, r.Right, r.Bottom), 5, Hex(0xF8F9FA), Hex(0xD0D5DC));
  auto& d = AddPanel(c, "groupbox");
  d.SkinRect = r;
  d.ClientRect = {6, kCaption + 4, kW - 6, kH - 6};
  d.LeftTopPoint = {10, kCaption + 8};
  d.RightTopPoint = {kW - 10, kCaption + 8};
  d.LeftBottomPoint = {10, kH - 8};
  d.RightBottomPoint = {kW - 10, kH - 8};
  d.LeftStretch = d.TopStretch = d.RightStretch = d.BottomStretch = true;
  d.StretchEffect = true;
  d.CaptionRect = {8, 0, kW - 8, kCaption};
}

// "toolpanel": the file dialogs' tool bar, the dialog background with a
// separating line at its bottom.
void AddToolPanel(TContext& c) {
  const TRect r = c.Place(c.Pics.Controls, 40, 25, "toolpanel");
  TPainter p(c.Skin.Active(c.Pics.Controls));
  p.Set(r, tone::kBody);
  p.Set({r.Left, r.Bottom - 1, r.Right, r.Bottom}, tone::kInnerLine);
  SetNine(AddPanel(c, "toolpanel"), r, 0, 0, 0, 1, 0, 0);
}

}  // namespace

void PaintPanels(TContext& c) {
  AddCardPanel(c);
  AddRoundPanel(c);
  AddGroupBox(c);
  AddToolPanel(c);
}

void PaintLabels(TContext& c) {
  const int pic = c.Pics.Controls;
  TPainter p(c.Skin.Active(pic));

  auto& std = c.Skin.Control<TqzDataSkinStdLabelControl>("stdlabel");
  SetFont(std, 13, false, kPal.Text);
  std.ActiveFontColor = Col(style::kAccentDown);

  // "label": a value plate, any size.
  const TRect plate = c.Place(pic, 40, 22, "label");
  p.Set(plate, tone::kBody);
  Box(p, TRectF(plate), 4, Hex(0xE9EDF2), Hex(0xDCE1E7));
  auto& label = c.Skin.Control<TqzDataSkinLabelControl>("label");
  label.PictureIndex = pic;
  SetNine(label, plate, 6, 2, 6, 2, 5, 5);
  SetFont(label, 13, false, kPal.Text);

  // "menuheader": a header row of a popup menu.
  const TRect header = c.Place(pic, 40, 22, "menuheader");
  p.Set(header, Hex(0xF1F3F6));
  p.Set({header.Left, header.Bottom - 1, header.Right, header.Bottom}, Hex(0xE1E5EA));
  auto& head = c.Skin.Control<TqzDataSkinLabelControl>("menuheader");
  head.PictureIndex = pic;
  SetNine(head, header, 6, 0, 6, 1, 4, 4);
  SetFont(head, 12, true, kPal.TextDim);

  auto& bevel = c.Skin.Control<TqzDataSkinBevel>("bevel");
  bevel.LightColor = Col(Hex(0xFFFFFF));
  bevel.DarkColor = Col(Hex(0xD0D5DC));
}

}  // namespace qz::skingen::dialogskin
