// The main window's frame: the main picture with its caption bar, cards and
// footer, the window mask, [FORMINFO], the skin areas, the caption objects
// (caption, title, caption buttons and their glow) and [SKINCOLORS].
#include <cmath>

#include "host/graphics/Canvas.h"
#include "skins/MainSkinParts.h"

namespace qz::skingen::mainskin {

namespace {

using namespace layout;
namespace st = style;

constexpr uint32_t kTextFlagsLeft = DT_LEFT | DT_VCENTER | DT_SINGLELINE | DT_NOPREFIX;

void PaintCaptionBar(TPainter& p) {
  TRectF bar(0, 0, kWidth, kCaptionHeight);
  p.FillRoundRect(bar, TRadii::Top(st::kRadiusWindow),
                  TFill::Vertical(bar, tone::kCaptionTop, tone::kCaptionBottom));
  // A light line under the top edge and a dark seam under the bar.
  p.Fill(Rect(10, 1, kWidth - 10, 2), Hex(0x31363F));
  p.Fill(Rect(1, kCaptionHeight, kWidth - 1, kCaptionHeight + 1), Hex(0x2C3139));
}

// The application mark: an accent tile with a play triangle.
void PaintLogo(TPainter& p) {
  TRectF tile(14, 8, 38, 32);
  p.SoftShadow(tile.Inflated(-1), 6, 4, Fade(st::kAccent, 0.35));
  p.FillRoundRect(tile, 6, TFill::Vertical(tile, st::kAccentHot, st::kAccentDown));
  p.StrokeRoundRect(tile, 6, 1, Fade(Hex(0xFFFFFF), 0.18));
  p.FillPolygon({{23, 14.5}, {31.5, 20}, {23, 25.5}}, Hex(0xFFFFFF));
}

void PaintCards(TPainter& p) {
  Face(p, kLeftCard, 6, tone::kCard, tone::kCard, tone::kCardBorder);
  Face(p, kRightCard, 6, tone::kCard, tone::kCard, tone::kCardBorder);
  // The information panel's heading (kept left of the stretch cell).
  p.FillRoundRect(TRectF(447, 55, 450, 64), 1.5, st::kAccent);
  p.Text(Rect(455, 51, 595, 68), "INFORMATION", st::kFont, 11, true, st::kDark.TextDim,
         kTextFlagsLeft);
}

void PaintFooter(TPainter& p) {
  p.FillCircle(26, 584, 3, Hex(0x3FB97A));
  p.Text(Rect(36, 572, 300, 596), "Ready", st::kFont, 12, false, st::kDark.TextDim,
         kTextFlagsLeft);
}

void SetFormInfo(TSkinBuilder& skin) {
  TqzSkinFormInfo& fi = skin.FormInfo();
  const TRect& cell = kStretchCell;
  fi.ClientRect = cell;
  fi.LeftTopPoint = Point(cell.Left, cell.Top);
  fi.RightTopPoint = Point(cell.Right, cell.Top);
  fi.LeftBottomPoint = Point(cell.Left, cell.Bottom);
  fi.RightBottomPoint = Point(cell.Right, cell.Bottom);
  fi.LeftStretch = fi.RightStretch = fi.TopStretch = fi.BottomStretch = true;
  fi.StretchEffect = true;
  fi.StretchType = TqzStretchType::Full;
  fi.CaptionRect = kCaptionObject;
  fi.ButtonsRect = Rect(kTrayButton.Left, kTrayButton.Top, kCloseButton.Right, kCloseButton.Bottom);
  fi.ButtonsOffset = 2;
}

void AddAreas(TSkinBuilder& skin) {
  skin.Area("addtabarea", kAddTabArea);
  skin.Area("edittabarea", kEditTabArea);
  skin.Area("converttabarea", kConvertTabArea);
  skin.Area("pagearea", kPageArea);
  skin.Area("pagearea2", kPageArea2);
  skin.Area("infobuttonarea", kInfoButtonArea);
  skin.Area("mainmenubararea", kMenuBarArea);
}

// Glyphs of the caption buttons around the pixel (px, py); straight strokes
// lie on pixel centres so they stay crisp.
void CaptionGlyph(TPainter& p, int px, int py, TqzStdCommand cmd, uint32_t c) {
  const double cx = px + 0.5, cy = py + 0.5;
  switch (cmd) {
    case TqzStdCommand::Close:
      p.Line(cx - 4.5, cy - 4.5, cx + 4.5, cy + 4.5, 1.4, c);
      p.Line(cx + 4.5, cy - 4.5, cx - 4.5, cy + 4.5, 1.4, c);
      break;
    case TqzStdCommand::Minimize:
      p.Fill(Rect(px - 5, py, px + 6, py + 1), c);
      break;
    default:  // minimise to tray: an arrow down into a tray
      p.Fill(Rect(px, py - 6, px + 1, py + 2), c);
      p.OpenArrow(cx, cy, 7, 2, 1.3, c);
      p.Fill(Rect(px - 6, py + 2, px - 5, py + 6), c);
      p.Fill(Rect(px + 6, py + 2, px + 7, py + 6), c);
      p.Fill(Rect(px - 6, py + 5, px + 7, py + 6), c);
      break;
  }
}

struct TCaptionButton {
  const char* Name;
  TRect FrameRect;
  TqzStdCommand Command;
  const char* Hint;
  bool Danger;
};

void PaintCaptionButton(TSkinBuilder& skin, const TPictures& pics, const TCaptionButton& b) {
  TPixmap& frame = skin.Picture();
  TPainter main(frame);
  const int gx = b.FrameRect.Width() / 2, gy = b.FrameRect.Height() / 2;
  CaptionGlyph(main, b.FrameRect.Left + gx, b.FrameRect.Top + gy, b.Command, Hex(0xA7AFBC));

  TAtlas& atlas = skin.Atlas(pics.CaptionButtons);
  TPixmap& pic = skin.Active(pics.CaptionButtons);
  TPainter p(pic);
  int w = b.FrameRect.Width(), h = b.FrameRect.Height();
  TRect hot = atlas.Place(w, h), down = atlas.Place(w, h), inactive = atlas.Place(w, h);
  atlas.NewRow();
  struct TState { TRect Cell; uint32_t Fill, Glyph; };
  TState states[] = {
      {hot, b.Danger ? tone::kRed : Hex(0x363C48), Hex(0xFFFFFF)},
      // Pressed: a look of its own, darker red or tinted with the accent.
      {down, b.Danger ? Hex(0xB93A3F) : Mix(Hex(0x262A32), st::kAccent, 0.35), Hex(0xFFFFFF)},
      {inactive, 0, Hex(0x5C6370)}};  // form inactive: the glyph recedes
  for (const TState& s : states) {
    // The caption bar behind the button (without its glyph), then the
    // state's plate and glyph.
    Blit(frame, Rect(kCaptionObject.Right - w, b.FrameRect.Top, kCaptionObject.Right,
                     b.FrameRect.Bottom),
         pic, s.Cell.Left, s.Cell.Top);
    if (s.Fill != 0) p.FillRoundRect(TRectF(s.Cell), 5, s.Fill);
    CaptionGlyph(p, s.Cell.Left + gx, s.Cell.Top + gy, b.Command, s.Glyph);
  }

  auto& d = skin.Object<TqzDataSkinStdButton>(b.Name);
  d.Hint = b.Hint;
  d.ActivePictureIndex = pics.CaptionButtons;
  d.SkinRectInAPicture = false;  // the normal look is part of the caption bar
  d.SkinRect = b.FrameRect;
  d.ActiveSkinRect = hot;
  d.DownRect = down;
  d.InActiveSkinRect = inactive;
  d.Morphing = true;
  d.Command = b.Command;
  d.GlowLayerPictureIndex = pics.CaptionGlow;
  d.GlowLayerMaskPictureIndex = pics.CaptionGlowMask;
  d.GlowLayerOffsetX = 8;
  d.GlowLayerOffsetY = 8;
  d.GlowLayerAlphaBlendValue = 200;
}

}  // namespace

// A soft halo around a rounded rectangle: the glow picture is one colour,
// its mask carries the opacity (0 inside the button so the glow, which lies
// over the form, never covers the button itself).
void PaintGlow(TSkinBuilder& skin, int picture, int mask, const TRectF& button, double radius,
               uint32_t color, double sigma, double peak) {
  TPixmap& pic = skin.Active(picture);
  TPixmap& m = skin.Active(mask);
  for (int y = 0; y < pic.Height(); ++y)
    for (int x = 0; x < pic.Width(); ++x) {
      pic.At(x, y) = color;
      double d = RoundRectDistance(button, radius, x + 0.5, y + 0.5);
      double a = d <= 0 ? 0 : peak * std::exp(-(d * d) / (2 * sigma * sigma));
      int g = int(std::lround(a * 255));
      m.At(x, y) = Argb(g, g, g);
    }
}

void PaintMainPicture(TSkinBuilder& skin) {
  TPixmap& pic = skin.Picture();
  TPainter p(pic);
  const TRectF win(0, 0, kWidth, kHeight);
  p.Set(pic.Bounds(), Hex(0x0B0C0F));
  p.FillRoundRect(win, st::kRadiusWindow, tone::kBody);
  PaintCaptionBar(p);
  PaintLogo(p);
  PaintCards(p);
  PaintFooter(p);
  p.StrokeRoundRect(win, st::kRadiusWindow, 1, tone::kWindowBorder);
  PaintRoundMask(skin.Mask(), st::kRadiusWindow);
  SetFormInfo(skin);
  AddAreas(skin);
}

void PaintCaptionObjects(TSkinBuilder& skin, const TPictures& pics) {
  auto& caption = skin.Object<TqzDataSkinCaption>("caption");
  caption.SkinRect = kCaptionObject;
  caption.DefaultCaption = true;
  caption.TextRect = Rect(170, 10, 232, 30);
  caption.FontName = st::kCaptionFont;
  caption.FontHeight = 14;
  caption.FontStyle = Bold();
  caption.FontColor = Col(st::kDark.TextDisabled);
  caption.ActiveFontColor = Col(st::kAccentHot);
  caption.Alignment = qzTaLeftJustify;

  auto& title = skin.Object<TqzDataSkinLabel>("apptitle");
  title.SkinRect = kTitleLabel;
  title.FontName = st::kCaptionFont;
  title.FontHeight = 15;
  title.FontStyle = Bold();
  title.FontColor = Col(st::kDark.Text);
  title.ActiveFontColor = Col(Hex(0xFFFFFF));
  title.Alignment = qzTaLeftJustify;
  title.TextValue = "Video Converter";

  PaintGlow(skin, pics.CaptionGlow, pics.CaptionGlowMask, TRectF(8, 8, 42, 34), 5,
            Mix(st::kAccentHot, Hex(0xFFFFFF), 0.35), 3.0, 0.75);
  PaintCaptionButton(skin, pics, {"closebutton", kCloseButton, TqzStdCommand::Close, "Close", true});
  PaintCaptionButton(skin, pics,
                     {"minbutton", kMinButton, TqzStdCommand::Minimize, "Minimize", false});
  PaintCaptionButton(skin, pics, {"traybutton", kTrayButton, TqzStdCommand::MinimizeToTray,
                                  "Minimize to Tray", false});
}

void SetSkinColors(TSkinBuilder& skin) {
  TqzSkinColors& c = skin.Colors();
  c.cBtnFace = Col(tone::kCard);  // plain fills then match the pages
  c.cBtnText = Col(st::kDark.Text);
  c.cWindow = Col(tone::kField);
  c.cWindowText = Col(st::kDark.Text);
  c.cHighLight = Col(st::kAccent);
  c.cHighLightText = Col(Hex(0xFFFFFF));
  c.cBtnHighLight = Col(Hex(0x4A515E));
  c.cBtnShadow = Col(Hex(0x101216));
  c.c3DLight = Col(st::kDark.Border);
  c.c3DDkShadow = Col(Hex(0x0B0C0F));
}

}  // namespace qz::skingen::mainskin
