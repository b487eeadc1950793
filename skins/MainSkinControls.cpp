// Buttons, the page control, labels and panels of the main skin.
#include <string>

#include "skins/MainSkinParts.h"

namespace qz::skingen::mainskin {

namespace {

namespace st = style;

// One look of a button face.
struct TLook {
  uint32_t Top, Bottom, Border, Light;
};

// The five state looks of a push button and its caption colours.
struct TButtonStyle {
  TLook Normal, Hot, Down, Focused, Disabled;
  uint32_t Text, HotText, DownText, DisabledText;
};

void PaintLook(TPainter& p, const TRect& r, double radius, const TLook& look) {
  Face(p, r, radius, look.Top, look.Bottom, look.Border, look.Light);
}

// Paints the five states of a nine-part push button side by side and fills
// its description. Returns it for extras.
TqzDataSkinButtonControl& PaintButton(TSkinBuilder& skin, int picture, const std::string& name,
                                      const TButtonStyle& s, double radius = st::kRadius) {
  const int w = 64, h = 32, border = 6;
  TPainter p(skin.Active(picture));
  TAtlas& atlas = skin.Atlas(picture);
  atlas.NewRow();
  TRect normal = atlas.Place(w, h), hot = atlas.Place(w, h), down = atlas.Place(w, h),
        focused = atlas.Place(w, h), disabled = atlas.Place(w, h);
  PaintLook(p, normal, radius, s.Normal);
  PaintLook(p, hot, radius, s.Hot);
  PaintLook(p, down, radius, s.Down);
  PaintLook(p, focused, radius, s.Focused);
  PaintLook(p, disabled, radius, s.Disabled);

  auto& d = skin.Control<TqzDataSkinButtonControl>(name);
  d.PictureIndex = picture;
  SetNine(d, normal, border, border, border, border);
  d.ActiveSkinRect = hot;
  d.DownSkinRect = down;
  d.FocusedSkinRect = focused;
  d.DisabledSkinRect = disabled;
  d.FontName = st::kFont;
  d.FontHeight = 13;
  d.FontStyle = Bold();
  d.FontColor = Col(s.Text);
  d.ActiveFontColor = Col(s.HotText);
  d.DownFontColor = Col(s.DownText);
  d.DisabledFontColor = Col(s.DisabledText);
  d.Morphing = true;
  return d;
}

// Secondary buttons: raised dark faces.
TButtonStyle SecondaryStyle() {
  const uint32_t light = Hex(0x474E5A);
  return {{Hex(0x333945), Hex(0x2B3039), Hex(0x3F4551), light},
          {Hex(0x3B4250), Hex(0x323844), Hex(0x535B69), Hex(0x58606D)},
          {Hex(0x262A31), Hex(0x2B3038), Mix(st::kAccent, Hex(0x2B3038), 0.45), 0},
          {Hex(0x333945), Hex(0x2B3039), st::kAccent, light},
          {Hex(0x262A31), Hex(0x24282F), Hex(0x2E333B), 0},
          st::kDark.Text, Hex(0xFFFFFF), Hex(0xFFFFFF), st::kDark.TextDisabled};
}

// The primary action: filled with the accent colour.
TButtonStyle PrimaryStyle() {
  const uint32_t light = Mix(st::kAccentHot, Hex(0xFFFFFF), 0.35);
  return {{st::kAccentHot, st::kAccent, st::kAccentDown, light},
          {Mix(st::kAccentHot, Hex(0xFFFFFF), 0.12), st::kAccentHot, st::kAccent, light},
          {st::kAccentDown, Mix(st::kAccentDown, Hex(0x000000), 0.1), Hex(0x255FA6), 0},
          {st::kAccentHot, st::kAccent, Hex(0xCFE3FC), light},
          {Hex(0x2E3D52), Hex(0x2A374A), Hex(0x34445A), 0},
          Hex(0xFFFFFF), Hex(0xFFFFFF), Hex(0xFFFFFF), Hex(0x7F8FA6)};
}

// Segmented toggles: flat until chosen, then accent.
TButtonStyle ToggleStyle() {
  return {{Hex(0x2A2F38), Hex(0x2A2F38), Hex(0x3A404B), 0},
          {Hex(0x323843), Hex(0x323843), Hex(0x4A515E), 0},
          {st::kAccent, st::kAccentDown, st::kAccentDown, Mix(st::kAccentHot, Hex(0xFFFFFF), 0.3)},
          {Hex(0x2A2F38), Hex(0x2A2F38), st::kAccent, 0},
          {Hex(0x24282F), Hex(0x24282F), Hex(0x2E333B), 0},
          Hex(0xB8C0CC), st::kDark.Text, Hex(0xFFFFFF), st::kDark.TextDisabled};
}

// An outlined accent button on the window background.
TButtonStyle GhostStyle() {
  const uint32_t body = tone::kBody;
  return {{Mix(body, st::kAccent, 0.10), Mix(body, st::kAccent, 0.06), Mix(st::kAccent, body, 0.45), 0},
          {Mix(body, st::kAccent, 0.22), Mix(body, st::kAccent, 0.16), st::kAccent, 0},
          {st::kAccentDown, st::kAccentDown, st::kAccentDown, 0},
          {Mix(body, st::kAccent, 0.10), Mix(body, st::kAccent, 0.06), st::kAccentHot, 0},
          {Hex(0x20242B), Hex(0x20242B), Hex(0x2E333B), 0},
          st::kAccentHot, Hex(0xFFFFFF), Hex(0xFFFFFF), st::kDark.TextDisabled};
}

// Flat tool buttons (button-style tabs and tab close buttons).
TButtonStyle ToolStyle() {
  return {{tone::kCard, tone::kCard, tone::kCard, 0},
          {Hex(0x30353F), Hex(0x30353F), Hex(0x3A404B), 0},
          {Mix(tone::kCard, st::kAccent, 0.35), Mix(tone::kCard, st::kAccent, 0.35), st::kAccent, 0},
          {tone::kCard, tone::kCard, st::kAccent, 0},
          {tone::kCard, tone::kCard, tone::kCard, 0},
          st::kDark.TextDim, st::kDark.Text, Hex(0xFFFFFF), st::kDark.TextDisabled};
}

// ---------------------------------------------------------------------------
// The three large toggle buttons.

enum class TTabIcon { AddFile, Edit, Convert };

void TabIcon(TPainter& p, double cx, double cy, TTabIcon icon, uint32_t c) {
  const double w = 1.8;
  switch (icon) {
    case TTabIcon::AddFile:
      p.Polyline({{cx - 8, cy - 11}, {cx + 3, cy - 11}, {cx + 9, cy - 5}, {cx + 9, cy + 11},
                  {cx - 8, cy + 11}, {cx - 8, cy - 11}},
                 w, c);
      p.Polyline({{cx + 3, cy - 11}, {cx + 3, cy - 5}, {cx + 9, cy - 5}}, w, c);
      p.Line(cx - 3.5, cy + 3, cx + 3.5, cy + 3, w, c);
      p.Line(cx, cy - 0.5, cx, cy + 6.5, w, c);
      break;
    case TTabIcon::Edit:
      for (double dy : {-7.0, 0.0, 7.0}) p.Line(cx - 11, cy + dy, cx + 11, cy + dy, w, c);
      p.FillCircle(cx - 4, cy - 7, 3.3, c);
      p.FillCircle(cx + 5, cy, 3.3, c);
      p.FillCircle(cx - 1, cy + 7, 3.3, c);
      break;
    case TTabIcon::Convert:
      p.Line(cx - 10, cy - 5, cx + 9, cy - 5, w, c);
      p.OpenArrow(cx + 7, cy - 5, 9, 1, w, c);
      p.Line(cx + 10, cy + 5, cx - 9, cy + 5, w, c);
      p.OpenArrow(cx - 7, cy + 5, 9, 3, w, c);
      break;
  }
}

// The caption of these buttons is centred in the lower part of the button
// (clientrect below); the demo moves the rectangle's top 20 pixels up while
// the button is down, which lifts the caption by 10. The down look lifts
// its icon by the same amount, so icon and caption keep their distance.
constexpr int kTabIconY = 36;
constexpr int kTabLift = 10;
const TRect kTabClient{6, 62, 125, 104};

void PaintToggleTab(TSkinBuilder& skin, const TPictures& pics, const std::string& name,
                    const TRect& area, TTabIcon icon) {
  TPixmap& pic = skin.Active(pics.TabButtons);
  TPainter p(pic);
  TAtlas& atlas = skin.Atlas(pics.TabButtons);
  const int w = area.Width(), h = area.Height();
  TRect normal = atlas.Place(w, h), hot = atlas.Place(w, h), down = atlas.Place(w, h);
  atlas.NewRow();
  const double radius = 7, cx = w / 2.0;

  Face(p, normal, radius, Hex(0x282C35), Hex(0x23272F), Hex(0x30353F), Hex(0x363B46));
  TabIcon(p, normal.Left + cx, normal.Top + kTabIconY, icon, Hex(0x8C95A5));

  Face(p, hot, radius, Hex(0x2F343F), Hex(0x292E37), Hex(0x4A515E), Hex(0x434955));
  TabIcon(p, hot.Left + cx, hot.Top + kTabIconY, icon, Hex(0xD5DAE2));

  Face(p, down, radius, Mix(tone::kCard, st::kAccent, 0.24), Mix(tone::kCard, st::kAccent, 0.10),
       Mix(st::kAccent, tone::kCard, 0.15), Mix(st::kAccentHot, tone::kCard, 0.45));
  TabIcon(p, down.Left + cx, down.Top + kTabIconY - kTabLift, icon,
          Mix(st::kAccentHot, Hex(0xFFFFFF), 0.45));
  p.FillRoundRect(TRectF(down.Left + cx - 18, down.Bottom - 7, down.Left + cx + 18, down.Bottom - 4),
                  1.5, st::kAccentHot);

  // The window shows the resting look where the button will sit.
  Blit(pic, normal, skin.Picture(), area.Left, area.Top);

  auto& d = skin.Control<TqzDataSkinButtonControl>(name);
  d.PictureIndex = pics.TabButtons;
  d.SkinRect = normal;  // fixed size: no corner points
  d.ActiveSkinRect = hot;
  d.DownSkinRect = down;
  d.ClientRect = kTabClient;
  d.FontName = st::kFont;
  d.FontHeight = 14;
  d.FontStyle = Bold();
  d.FontColor = Col(Hex(0xAEB6C2));
  d.ActiveFontColor = Col(st::kDark.Text);
  d.DownFontColor = Col(Hex(0xFFFFFF));
  d.DisabledFontColor = Col(st::kDark.TextDisabled);
  d.Morphing = true;
  d.GlowLayerPictureIndex = pics.ButtonGlow;
  d.GlowLayerMaskPictureIndex = pics.ButtonGlowMask;
  d.GlowLayerOffsetLeft = d.GlowLayerOffsetTop = d.GlowLayerOffsetRight =
      d.GlowLayerOffsetBottom = 10;
  d.GlowLayerShowOffsetX = d.GlowLayerShowOffsetY = 10;
  d.GlowLayerAlphaBlendValue = 180;
}

}  // namespace

void PaintToggleTabs(TSkinBuilder& skin, const TPictures& pics) {
  PaintGlow(skin, pics.ButtonGlow, pics.ButtonGlowMask, TRectF(10, 10, 141, 120), 7, st::kAccentHot,
            3.5, 0.7);
  PaintToggleTab(skin, pics, "addtab", layout::kAddTabArea, TTabIcon::AddFile);
  PaintToggleTab(skin, pics, "edittab", layout::kEditTabArea, TTabIcon::Edit);
  PaintToggleTab(skin, pics, "converttab", layout::kConvertTabArea, TTabIcon::Convert);
}

void PaintInfoButton(TSkinBuilder& skin, const TPictures& pics) {
  TButtonStyle ghost = GhostStyle();
  PaintButton(skin, pics.Buttons, "infobutton", ghost);
  // Its resting face where the button will sit (the stretch cell crosses
  // it, so it carries no text).
  TPainter main(skin.Picture());
  PaintLook(main, layout::kInfoButtonArea, st::kRadius, ghost.Normal);
}

void PaintPushButtons(TSkinBuilder& skin, const TPictures& pics) {
  // Secondary buttons use the regular weight: "Show select path dialog"
  // must fit the 145 pixels the demo gives it.
  PaintButton(skin, pics.Buttons, "pagebutton", SecondaryStyle()).FontStyle = TFontStyles();
  PaintButton(skin, pics.Buttons, "convertbutton", PrimaryStyle());
  PaintButton(skin, pics.Buttons, "button1", SecondaryStyle()).FontStyle = TFontStyles();
  PaintButton(skin, pics.Buttons, "button2", ToggleStyle()).FontStyle = TFontStyles();
  PaintButton(skin, pics.Buttons, "resizetoolbutton", ToolStyle(), st::kRadiusSmall).FontStyle =
      TFontStyles();
}

// ---------------------------------------------------------------------------
// The page control: page frame, tabs (hidden by the demo, complete anyway)
// and the page background, which matches the cards of the main picture.

void PaintPageControl(TSkinBuilder& skin, const TPictures& pics) {
  TPixmap& pic = skin.Active(pics.Controls);
  TPainter p(pic);
  TAtlas& atlas = skin.Atlas(pics.Controls);
  TRect frame = atlas.Place(48, 48), tab = atlas.Place(64, 26), hotTab = atlas.Place(64, 26),
        activeTab = atlas.Place(64, 28), band = atlas.Place(8, 8);
  atlas.NewRow();
  for (const TRect& r : {frame, tab, hotTab, activeTab, band}) p.Set(r, tone::kBody);
  Face(p, frame, st::kRadius, tone::kCard, tone::kCard, tone::kCardBorder);
  auto plate = [&](const TRect& r, uint32_t fill, uint32_t border) {
    p.SetClip(r);
    TRectF f(r.Left + 1, r.Top + 2, r.Right - 1, r.Bottom + 6);
    p.FillRoundRect(f, TRadii::Top(st::kRadius), fill);
    if (border != 0) p.StrokeRoundRect(f, TRadii::Top(st::kRadius), 1, border);
    p.ResetClip();
  };
  plate(tab, Hex(0x20242B), 0);
  plate(hotTab, Hex(0x292D36), Hex(0x343A45));
  plate(activeTab, tone::kCard, tone::kCardBorder);
  p.Fill(Rect(activeTab.Left + 1, activeTab.Bottom - 1, activeTab.Right - 1, activeTab.Bottom),
         tone::kCard);
  p.FillRoundRect(TRectF(activeTab.Left + 8, activeTab.Top + 2, activeTab.Right - 8,
                         activeTab.Top + 4),
                  1, st::kAccent);

  auto& d = skin.Control<TqzDataSkinTabControl>("mainpage");
  d.PictureIndex = pics.Controls;
  d.SkinRect = frame;
  d.ClientRect = Rect(1, 5, 47, 43);
  d.LeftTopPoint = Point(6, 5);
  d.RightTopPoint = Point(42, 5);
  d.LeftBottomPoint = Point(6, 43);
  d.RightBottomPoint = Point(42, 43);
  d.LeftStretch = d.TopStretch = d.RightStretch = d.BottomStretch = true;
  d.StretchEffect = true;
  d.StretchType = TqzStretchType::Full;
  d.TabRect = tab;
  d.MouseInTabRect = hotTab;
  d.ActiveTabRect = activeTab;
  d.FocusTabRect = activeTab;
  d.TabLeftOffset = d.TabRightOffset = 7;
  d.TabStretchEffect = true;
  d.TabsBGRect = band;
  d.FontName = st::kFont;
  d.FontHeight = 13;
  d.FontColor = Col(st::kDark.TextDim);
  d.ActiveFontColor = Col(st::kDark.Text);
  d.FocusFontColor = Col(st::kDark.Text);
  d.MouseInFontColor = Col(st::kDark.Text);
}

// ---------------------------------------------------------------------------
// Labels and the bevel.

namespace {

void StdLabel(TSkinBuilder& skin, const std::string& name, uint32_t color, bool bold) {
  auto& d = skin.Control<TqzDataSkinStdLabelControl>(name);
  d.FontName = st::kFont;
  d.FontHeight = 13;
  if (bold) d.FontStyle = Bold();
  d.FontColor = Col(color);
  d.ActiveFontColor = Col(st::kAccentHot);
}

// A horizontal three-part plate with rounded ends.
TRect PaintPlate(TPainter& p, TAtlas& atlas, int w, int h, double radius, uint32_t back,
                 uint32_t fill, uint32_t border) {
  TRect r = atlas.Place(w, h);
  p.Set(r, back);
  TRectF f(r);
  p.FillRoundRect(f, radius, fill);
  if (border != 0) p.StrokeRoundRect(f, radius, 1, border);
  return r;
}

}  // namespace

void PaintLabels(TSkinBuilder& skin, const TPictures& pics) {
  StdLabel(skin, "stdlabel", st::kDark.TextDim, false);
  StdLabel(skin, "stdlabel1", st::kAccentHot, true);
  StdLabel(skin, "stdlabel2", st::kDark.TextDim, true);

  TPainter p(skin.Active(pics.Controls));
  TAtlas& atlas = skin.Atlas(pics.Controls);
  atlas.NewRow();
  // Values of the information panel: bright text straight on the page
  // background (the rows of values may sit closer than the plate is high,
  // so the plate shows nothing that could overlap its neighbour).
  TRect value = PaintPlate(p, atlas, 60, 21, 0, tone::kCard, tone::kCard, 0);
  auto& label = skin.Control<TqzDataSkinLabelControl>("label");
  label.PictureIndex = pics.Controls;
  SetThreeH(label, value, 6, 6);
  label.ClientRect = Rect(7, 0, 53, 21);
  label.FontName = st::kFont;
  label.FontHeight = 13;
  label.FontColor = Col(st::kDark.Text);

  // The file name: an accent capsule, shaped by its mask.
  TRect capsule = PaintPlate(p, atlas, 75, 26, 13, tone::kCard, Mix(tone::kCard, st::kAccent, 0.16),
                             Mix(st::kAccent, tone::kCard, 0.35));
  PaintRoundMask(skin.Active(pics.Label2Mask), 13);
  auto& label2 = skin.Control<TqzDataSkinLabelControl>("label2");
  label2.PictureIndex = pics.Controls;
  label2.MaskPictureIndex = pics.Label2Mask;
  SetThreeH(label2, capsule, 14, 14);
  label2.ClientRect = Rect(12, 0, 63, 26);
  label2.FontName = st::kFont;
  label2.FontHeight = 13;
  label2.FontStyle = Bold();
  label2.FontColor = Col(Hex(0xFFFFFF));

  // Headers of menus ("-Header-" items).
  TRect header = PaintPlate(p, atlas, 60, 22, 0, tone::kPopup, Hex(0x1F2228), 0);
  p.Fill(Rect(header.Left, header.Bottom - 1, header.Right, header.Bottom), tone::kWindowBorder);
  auto& menuHeader = skin.Control<TqzDataSkinLabelControl>("menuheader");
  menuHeader.PictureIndex = pics.Controls;
  SetThreeH(menuHeader, header, 4, 4);
  menuHeader.ClientRect = Rect(8, 0, 52, 21);
  menuHeader.FontName = st::kFont;
  menuHeader.FontHeight = 11;
  menuHeader.FontStyle = Bold();
  menuHeader.FontColor = Col(st::kDark.TextDim);

  auto& bevel = skin.Control<TqzDataSkinBevel>("bevel");
  bevel.DarkColor = Col(Hex(0x15181D));
  bevel.LightColor = Col(Hex(0x343A45));
}

// ---------------------------------------------------------------------------
// Panels, group boxes and the scroll box.

void PaintPanels(TSkinBuilder& skin, const TPictures& pics) {
  TPainter p(skin.Active(pics.Controls));
  TAtlas& atlas = skin.Atlas(pics.Controls);
  atlas.NewRow();

  // The information panel at the bottom of the "File" page: the page
  // background under a dashed rule. The rule's edge piece is tiled (a whole
  // number of 4-pixel dashes), so the dashes keep their rhythm at any width.
  TRect bottom = atlas.Place(48, 24);
  p.Set(bottom, tone::kCard);
  for (int x = bottom.Left + 8; x < bottom.Right - 8; x += 4)
    p.Fill(Rect(x, bottom.Top, x + 2, bottom.Top + 1), Hex(0x3A404B));
  auto& bottomPanel = skin.Control<TqzDataSkinPanelControl>("bottompanel");
  bottomPanel.PictureIndex = pics.Controls;
  SetNine(bottomPanel, bottom, 1, 1, 1, 1, 8);
  bottomPanel.TopStretch = false;

  // Plain page-coloured containers of the "Edit" page.
  TRect plain = atlas.Place(16, 16);
  p.Set(plain, tone::kCard);
  auto& rightPanel = skin.Control<TqzDataSkinPanelControl>("rightpanel");
  rightPanel.PictureIndex = pics.Controls;
  SetNine(rightPanel, plain, 1, 1, 1, 1);

  // Group boxes: a card with a caption band.
  TRect group = atlas.Place(64, 64);
  p.Set(group, tone::kCard);
  TRectF g(group);
  p.FillRoundRect(g, 6, tone::kGroup);
  p.Fill(Rect(group.Left + 1, group.Top + 26, group.Right - 1, group.Top + 27), Hex(0x30353F));
  p.StrokeRoundRect(g, 6, 1, tone::kGroupBorder);
  for (const char* name : {"propertypanel", "propertypanel1", "propertypanel2"}) {
    auto& d = skin.Control<TqzDataSkinPanelControl>(name);
    d.PictureIndex = pics.Controls;
    SetNine(d, group, 1, 27, 1, 7, 12);
    d.CaptionRect = Rect(10, 3, 54, 25);
    d.Alignment = qzTaLeftJustify;
    d.FontName = st::kFont;
    d.FontHeight = 13;
    d.FontStyle = Bold();
    d.FontColor = Col(Hex(0xC9D0DB));
  }

  auto& box = skin.Control<TqzDataSkinScrollBoxControl>("scrollbox");
  box.PictureIndex = pics.Controls;
  SetNine(box, plain, 1, 1, 1, 1);
}

}  // namespace qz::skingen::mainskin
