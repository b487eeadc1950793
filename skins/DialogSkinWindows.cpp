// The popup menu window and its items, the hint window and the layered
// soft shadow around the dialog windows.
#include <algorithm>
#include <cmath>

#include "skins/DialogSkinParts.h"

namespace qz::skingen::dialogskin {

namespace {

const style::TPalette& kPal = style::kLight;
constexpr double kPopupRadius = 6;

// The popup and hint pictures are small windows composed to any size by
// their corner points; both share one rounded mask of the same size.
void PaintWindowShape(TPixmap& pic, uint32_t fill, uint32_t border) {
  TPainter p(pic);
  const TRectF f(pic.Bounds());
  p.Set(pic.Bounds(), tone::kOutside);
  Box(p, f, kPopupRadius, fill, border);
}

void PaintRoundMask(TPixmap& mask) {
  const TRectF f(mask.Bounds());
  for (int y = 0; y < mask.Height(); ++y)
    for (int x = 0; x < mask.Width(); ++x)
      mask.At(x, y) =
          RoundRectDistance(f, kPopupRadius, x + 0.5, y + 0.5) <= 0 ? 0xFF000000 : 0xFFFFFFFF;
}

// Corner points 8 pixels in from every side of a 40 x 40 window picture.
template <class T>
void SetWindowCorners(T& d, int size) {
  d.LeftTopPoint = {8, 8};
  d.RightTopPoint = {size - 8, 8};
  d.LeftBottomPoint = {8, size - 8};
  d.RightBottomPoint = {size - 8, size - 8};
  d.LeftStretch = d.RightStretch = d.TopStretch = d.BottomStretch = true;
  d.StretchEffect = true;
  d.StretchType = TqzStretchType::Full;
}

// The menu item looks: a white row, a rounded light-accent plate under the
// mouse, the divider, and the check, radio and submenu marks for both.
void AddMenuItem(TContext& c) {
  const int pic = c.Pics.CaptionButtons;
  constexpr int kW = 60, kH = 24, kMark = 16;
  const TRect normal = c.Place(pic, kW, kH, "menuitem"), hot = c.Place(pic, kW, kH, "menuitem");
  const TRect divider = c.Place(pic, kW, 7, "menuitem");
  TRect marks[6];
  for (TRect& m : marks) m = c.Place(pic, kMark, kMark, "menuitem");
  TPainter p(c.Skin.Active(pic));
  p.Set(normal, tone::kField);
  p.Set(hot, tone::kField);
  p.FillRoundRect(TRectF(hot.Left + 2, hot.Top + 1, hot.Right - 2, hot.Bottom - 1), 4,
                  tone::kSelect);
  p.Set(divider, tone::kField);
  p.Set({divider.Left + 8, divider.Top + 3, divider.Right - 8, divider.Top + 4}, tone::kInnerLine);
  // Marks in pairs: on white, then on the hot plate.
  for (int i = 0; i < 6; ++i) {
    const TRect& m = marks[i];
    const bool onHot = i % 2 == 1;
    p.Set(m, onHot ? tone::kSelect : tone::kField);
    const double cx = m.Left + kMark / 2.0, cy = m.Top + kMark / 2.0;
    const uint32_t ink = onHot ? style::kAccentDown : style::kAccent;
    if (i < 2)
      p.CheckMark(cx, cy, 9, 1.7, ink);
    else if (i < 4)
      p.FillCircle(cx, cy, 3, ink);
    else
      p.OpenArrow(cx, cy, 8, 1, 1.4, onHot ? kPal.Text : tone::kGlyph);
  }
  auto& d = c.Skin.Object<TqzDataSkinMenuItem>("menuitem");
  d.ActivePictureIndex = pic;
  d.SkinRect = normal;
  d.ActiveSkinRect = hot;
  d.ItemLeftOffset = d.ItemRightOffset = 8;
  d.StretchEffect = d.InActiveStretchEffect = true;
  d.DividerRect = divider;
  d.DividerLeftOffset = d.DividerRightOffset = 9;
  d.DividerStretchEffect = true;
  d.ImageRect = {6, 0, 28, kH};
  d.TextRect = {30, 0, kW - 6, kH};
  SetFont(d, 13, false, kPal.Text);
  d.ActiveFontColor = Col(kPal.Text);
  d.UnEnabledFontColor = Col(kPal.TextDisabled);
  d.Morphing = true;
  d.CheckImageRect = marks[0];
  d.ActiveCheckImageRect = marks[1];
  d.RadioImageRect = marks[2];
  d.ActiveRadioImageRect = marks[3];
  d.ArrowImageRect = marks[4];
  d.ActiveArrowImageRect = marks[5];
}

// Straight shadow opacity of a window shape blurred by sigma and moved down
// by `drop`, at pixel centre (x, y).
double ShadowAt(const TRectF& shape, const TRadii& radii, double sigma, double drop, double x,
                double y) {
  const double d = RoundRectDistance(shape, radii, x, y - drop);
  return 0.5 * std::erfc(d / (sigma * std::sqrt(2.0)));
}

}  // namespace

void PaintMenus(TContext& c) {
  const int size = c.Skin.Active(c.Pics.Popup).Width();
  PaintWindowShape(c.Skin.Active(c.Pics.Popup), tone::kField, tone::kFieldBorder);
  PaintRoundMask(c.Skin.Active(c.Pics.WindowMask));
  TSkinBuilder& skin = c.Skin;
  skin.Atlas(c.Pics.Popup).Claim(skin.Active(c.Pics.Popup).Bounds(), "[POPUPWINDOW]");
  skin.Atlas(c.Pics.WindowMask).Claim(skin.Active(c.Pics.WindowMask).Bounds(), "window mask");
  TqzDataSkinPopupWindow& w = c.Skin.PopupWindow();
  c.Skin.HasPopupWindow = true;
  w.WindowPictureIndex = c.Pics.Popup;
  w.MaskPictureIndex = c.Pics.WindowMask;
  SetWindowCorners(w, size);
  w.ItemsRect = {4, 5, size - 4, size - 5};
  w.ScrollMarkerColor = Col(tone::kGlyph);
  w.ScrollMarkerActiveColor = Col(style::kAccent);
  AddMenuItem(c);
}

void PaintHint(TContext& c) {
  const int size = c.Skin.Active(c.Pics.Hint).Width();
  PaintWindowShape(c.Skin.Active(c.Pics.Hint), tone::kHint, Hex(0x1E2228));
  c.Skin.Atlas(c.Pics.Hint).Claim(c.Skin.Active(c.Pics.Hint).Bounds(), "[HINTWINDOW]");
  TqzDataSkinHintWindow& h = c.Skin.HintWindow();
  c.Skin.HasHintWindow = true;
  h.WindowPictureIndex = c.Pics.Hint;
  h.MaskPictureIndex = c.Pics.WindowMask;
  SetWindowCorners(h, size);
  h.ClientRect = {8, 5, size - 8, size - 5};
  SetFont(h, 13, false, Hex(0xEEF1F5));
}

// The layered border: the shadow of the window's rounded shape, falling off
// around it and slightly lower than the window. The picture holds the
// shadow colour; the alpha picture its opacity as a grey level. Where the
// window covers the frame the opacity is 0, except in the cut-off corners
// of its mask, which show the shadow under them.
void PaintLayerFrame(TContext& c) {
  TPixmap& colour = c.Skin.Active(c.Pics.Layer);
  TPixmap& alpha = c.Skin.Active(c.Pics.LayerAlpha);
  const int size = colour.Width();
  const TRect client{18, 14, size - 18, size - 22};  // where the window sits
  const TRectF shape(client);
  const TRadii radii{frame::kTopRadius, frame::kTopRadius, frame::kBottomRadius,
                     frame::kBottomRadius};
  for (int y = 0; y < size; ++y)
    for (int x = 0; x < size; ++x) {
      const double px = x + 0.5, py = y + 0.5;
      const bool covered = RoundRectDistance(shape, radii, px, py) <= 0;
      const double soft = 0.30 * ShadowAt(shape, radii, 6.5, 4, px, py);
      const double near = 0.14 * ShadowAt(shape, radii, 1.5, 1, px, py);
      const double a = covered ? 0 : 1 - (1 - soft) * (1 - near);
      const int g = int(std::lround(std::clamp(a, 0.0, 1.0) * 255));
      colour.At(x, y) = Hex(0x0B0E14);
      alpha.At(x, y) = Argb(g, g, g);
    }
  c.Skin.Atlas(c.Pics.Layer).Claim(colour.Bounds(), "[LAYERFRAME]");
  c.Skin.Atlas(c.Pics.LayerAlpha).Claim(alpha.Bounds(), "[LAYERFRAME]");

  TqzDataSkinLayerFrame& l = c.Skin.LayerFrame();
  c.Skin.HasLayerFrame = true;
  l.PictureIndex = l.InActivePictureIndex = c.Pics.Layer;
  l.MaskPictureIndex = l.InActiveMaskPictureIndex = c.Pics.LayerAlpha;
  // The top and bottom strips reach into the window far enough to hold its
  // rounded corners and the whole corner fall-off; the side strips are
  // uniform along the window's edges.
  l.LeftTopPoint = {client.Left + 26, client.Top + 26};
  l.RightTopPoint = {client.Right - 26, client.Top + 26};
  l.LeftBottomPoint = {client.Left + 26, client.Bottom - 22};
  l.RightBottomPoint = {client.Right - 26, client.Bottom - 22};
  l.ClientRect = client;
  l.AlphaBlendValue = 255;
  l.InActiveAlphaBlendValue = 150;  // a lighter shadow for inactive windows
  // A 6-pixel sizing band around the window, inside the shadow.
  l.HitTestRect = InflateRect(client, 6, 6);
  l.HitTestEnable = true;
  l.HitTestSize = 6;
  l.HitTestLeftTopPoint = {client.Left + 12, client.Top + 12};
  l.HitTestRightTopPoint = {client.Right - 12, client.Top + 12};
  l.HitTestLeftBottomPoint = {client.Left + 12, client.Bottom - 12};
  l.HitTestRightBottomPoint = {client.Right - 12, client.Bottom - 12};
  l.FullStretch = true;
}

}  // namespace qz::skingen::dialogskin
