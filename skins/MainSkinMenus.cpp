// Menus and hints of the main skin: the main menu bar and its items, the
// popup menu window ([POPUPWINDOW]) with its "menuitem" object, and the
// hint window ([HINTWINDOW]). The popup and hint pictures share one size
// and one rounded-corner mask.
#include <cmath>

#include "skins/MainSkinParts.h"

namespace qz::skingen::mainskin {

namespace {

namespace st = style;

constexpr double kWindowRadius = 6;
constexpr uint32_t kMenuText = Hex(0xC3CAD5);

// The caption bar's pixels behind the menu bar (its rows are uniform
// across the menu area), copied into a cell of the menu picture.
void CaptionBackground(TSkinBuilder& skin, TPixmap& to, const TRect& cell) {
  const TRect& area = layout::kMenuBarArea;
  Blit(skin.Picture(), Rect(area.Left, area.Top, area.Left + cell.Width(), area.Bottom), to,
       cell.Left, cell.Top);
}

void PaintMenuBarItem(TSkinBuilder& skin, const TPictures& pics) {
  TPixmap& pic = skin.Active(pics.Menus);
  TPainter p(pic);
  TAtlas& atlas = skin.Atlas(pics.Menus);
  const int w = 40, h = layout::kMenuBarArea.Height();
  TRect normal = atlas.Place(w, h), hot = atlas.Place(w, h), down = atlas.Place(w, h);
  atlas.NewRow();
  for (const TRect& r : {normal, hot, down}) CaptionBackground(skin, pic, r);
  auto plate = [](const TRect& r) { return TRectF(r.Left + 1, r.Top + 1, r.Right - 1, r.Bottom - 1); };
  p.FillRoundRect(plate(hot), 4, Hex(0x343A45));
  p.FillRoundRect(plate(down), 4, Mix(Hex(0x262A32), st::kAccent, 0.35));
  p.StrokeRoundRect(plate(down), 4, 1, Mix(st::kAccent, Hex(0x262A32), 0.25));

  auto& item = skin.Object<TqzDataSkinMainMenuBarItem>("mainmenubaritem");
  item.ActivePictureIndex = pics.Menus;
  item.SkinRectInAPicture = true;
  item.SkinRect = normal;
  item.ActiveSkinRect = hot;
  item.DownRect = down;
  item.Morphing = true;
  item.ItemLeftOffset = 6;
  item.ItemRightOffset = 6;
  item.TextRect = Rect(10, 0, w - 10, h);
  item.FontName = st::kFont;
  item.FontHeight = 13;
  item.FontColor = Col(kMenuText);
  item.ActiveFontColor = Col(st::kDark.Text);
  item.DownFontColor = Col(Hex(0xFFFFFF));
  item.UnEnabledFontColor = Col(st::kDark.TextDisabled);
  item.StretchEffect = true;
}

// A rounded window picture (popup or hint) and the mask they share.
void PaintWindowPicture(TPixmap& pic, uint32_t fill, uint32_t border) {
  TPainter p(pic);
  TRectF r(0, 0, pic.Width(), pic.Height());
  p.Set(pic.Bounds(), Hex(0x0B0C0F));
  p.FillRoundRect(r, kWindowRadius, fill);
  p.StrokeRoundRect(r, kWindowRadius, 1, border);
}

// 8 x 8 marks: drawn by the menu centred on the image column.
struct TMarks {
  TRect Check, ActiveCheck, Radio, ActiveRadio, Arrow, ActiveArrow;
};

TMarks PaintMenuMarks(TSkinBuilder& skin, const TPictures& pics, uint32_t activeFill) {
  TPixmap& pic = skin.Active(pics.Menus);
  TPainter p(pic);
  TAtlas& atlas = skin.Atlas(pics.Menus);
  TMarks m;
  m.Check = atlas.Place(8, 8);
  m.ActiveCheck = atlas.Place(8, 8);
  m.Radio = atlas.Place(8, 8);
  m.ActiveRadio = atlas.Place(8, 8);
  m.Arrow = atlas.Place(6, 10);
  m.ActiveArrow = atlas.Place(6, 10);
  atlas.NewRow();
  for (const TRect* r : {&m.ActiveCheck, &m.ActiveRadio, &m.ActiveArrow}) p.Set(*r, activeFill);
  auto check = [&](const TRect& r, uint32_t c) {
    p.CheckMark(r.Left + 4, r.Top + 4, 7, 1.6, c);
  };
  check(m.Check, st::kAccentHot);
  check(m.ActiveCheck, Hex(0xFFFFFF));
  p.FillCircle(m.Radio.Left + 4, m.Radio.Top + 4, 3, st::kAccentHot);
  p.FillCircle(m.ActiveRadio.Left + 4, m.ActiveRadio.Top + 4, 3, Hex(0xFFFFFF));
  p.OpenArrow(m.Arrow.Left + 3, m.Arrow.Top + 5, 7, 1, 1.5, st::kDark.TextDim);
  p.OpenArrow(m.ActiveArrow.Left + 3, m.ActiveArrow.Top + 5, 7, 1, 1.5, Hex(0xFFFFFF));
  return m;
}

void PaintMenuItem(TSkinBuilder& skin, const TPictures& pics) {
  TPixmap& pic = skin.Active(pics.Menus);
  TPainter p(pic);
  TAtlas& atlas = skin.Atlas(pics.Menus);
  const int w = 60, h = 24;
  TRect normal = atlas.Place(w, h), active = atlas.Place(w, h), divider = atlas.Place(w, 7);
  atlas.NewRow();
  p.Set(normal, tone::kPopup);
  p.Set(active, tone::kPopup);
  p.Set(divider, tone::kPopup);
  const uint32_t pill = st::kAccent;
  p.FillRoundRect(TRectF(active.Left + 3, active.Top + 1, active.Right - 3, active.Bottom - 1), 4,
                  pill);
  p.Fill(Rect(divider.Left + 10, divider.Top + 3, divider.Right - 10, divider.Top + 4),
         tone::kWindowBorder);
  TMarks marks = PaintMenuMarks(skin, pics, pill);

  auto& item = skin.Object<TqzDataSkinMenuItem>("menuitem");
  item.ActivePictureIndex = pics.Menus;
  item.SkinRectInAPicture = true;
  item.SkinRect = normal;
  item.ActiveSkinRect = active;
  item.Morphing = true;
  item.ItemLeftOffset = 8;
  item.ItemRightOffset = 8;
  item.DividerRect = divider;
  item.DividerLeftOffset = 10;
  item.DividerRightOffset = 10;
  item.TextRect = Rect(28, 0, w - 8, h);
  item.ImageRect = Rect(6, 0, 24, h);
  item.FontName = st::kFont;
  item.FontHeight = 13;
  item.FontColor = Col(st::kDark.Text);
  item.ActiveFontColor = Col(Hex(0xFFFFFF));
  item.UnEnabledFontColor = Col(st::kDark.TextDisabled);
  item.StretchEffect = item.InActiveStretchEffect = item.DividerStretchEffect = true;
  item.CheckImageRect = marks.Check;
  item.ActiveCheckImageRect = marks.ActiveCheck;
  item.RadioImageRect = marks.Radio;
  item.ActiveRadioImageRect = marks.ActiveRadio;
  item.ArrowImageRect = marks.Arrow;
  item.ActiveArrowImageRect = marks.ActiveArrow;
}

}  // namespace

void PaintMenuBar(TSkinBuilder& skin, const TPictures& pics) {
  TPixmap& pic = skin.Active(pics.Menus);
  TRect band = skin.Atlas(pics.Menus).Place(40, layout::kMenuBarArea.Height());
  CaptionBackground(skin, pic, band);

  auto& bar = skin.Control<TqzDataSkinMainMenuBar>("mainmenubar");
  bar.PictureIndex = pics.Menus;
  bar.SkinRect = band;
  bar.ItemsRect = Rect(2, 0, band.Width() - 2, band.Height());
  bar.MenuBarItem = "mainmenubaritem";
  bar.TrackMarkColor = Col(style::kDark.TextDim);
  bar.TrackMarkActiveColor = Col(style::kAccentHot);
  bar.StretchEffect = true;
  PaintMenuBarItem(skin, pics);
}

void PaintPopupMenu(TSkinBuilder& skin, const TPictures& pics) {
  PaintWindowPicture(skin.Active(pics.Popup), tone::kPopup, tone::kWindowBorder);
  PaintRoundMask(skin.Active(pics.WindowMask), kWindowRadius);
  PaintMenuItem(skin, pics);

  skin.HasPopupWindow = true;
  TqzDataSkinPopupWindow& w = skin.PopupWindow();
  w.WindowPictureIndex = pics.Popup;
  w.MaskPictureIndex = pics.WindowMask;
  w.LeftTopPoint = Point(8, 8);
  w.RightTopPoint = Point(40, 8);
  w.LeftBottomPoint = Point(8, 40);
  w.RightBottomPoint = Point(40, 40);
  w.ItemsRect = Rect(4, 4, 44, 44);
  w.ScrollMarkerColor = Col(style::kDark.TextDim);
  w.ScrollMarkerActiveColor = Col(style::kDark.Text);
  w.LeftStretch = w.RightStretch = w.TopStretch = w.BottomStretch = true;
  w.StretchEffect = true;
}

void PaintHintWindow(TSkinBuilder& skin, const TPictures& pics) {
  PaintWindowPicture(skin.Active(pics.Hint), Hex(0x2D323C), Hex(0x4A515E));
  skin.HasHintWindow = true;
  TqzDataSkinHintWindow& w = skin.HintWindow();
  w.WindowPictureIndex = pics.Hint;
  w.MaskPictureIndex = pics.WindowMask;
  w.LeftTopPoint = Point(8, 8);
  w.RightTopPoint = Point(40, 8);
  w.LeftBottomPoint = Point(8, 40);
  w.RightBottomPoint = Point(40, 40);
  w.ClientRect = Rect(8, 5, 40, 43);
  w.FontName = style::kFont;
  w.FontHeight = 13;
  w.FontColor = Col(style::kDark.Text);
  w.LeftStretch = w.RightStretch = w.TopStretch = w.BottomStretch = true;
  w.StretchEffect = true;
}

}  // namespace qz::skingen::mainskin
