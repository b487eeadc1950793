// "skin.ini": the main window's dark media-application look. This file
// creates the pictures in their fixed order and calls the element painters
// in the order their descriptions must appear in [SKINCONTROLS], then checks
// the rectangles the descriptions cut from their pictures; it also holds the
// small helpers the MainSkin*.cpp files share.
#include <algorithm>
#include <cmath>

#include "skins/MainSkinParts.h"
#include "skins/Skins.h"

namespace qz::skingen {

namespace mainskin {

TRect Relative(const TRect& r, const TRect& outer) { return OffsetRect(r, -outer.Left, -outer.Top); }

TFontStyles Bold() {
  TFontStyles s;
  s.Include(TFontStyle::fsBold);
  return s;
}

void Face(TPainter& p, const TRect& r, double radius, uint32_t top, uint32_t bottom,
          uint32_t border, uint32_t topLight) {
  TRectF f(r);
  p.FillRoundRect(f, radius, TFill::Vertical(f, top, bottom));
  if (topLight != 0) {
    TRectF inner = f.Inflated(-1);
    // A light line just inside the top edge: the upper part of an inner
    // stroke, faded out towards the middle.
    p.StrokeRoundRect(inner, std::max(0.0, radius - 1), 1,
                      TFill::Vertical(inner, {{0.0, topLight}, {0.35, Fade(topLight, 0)}}));
  }
  p.StrokeRoundRect(f, radius, 1, border);
}

void PaintRoundMask(TPixmap& mask, double radius) {
  const TRectF r(0, 0, mask.Width(), mask.Height());
  for (int y = 0; y < mask.Height(); ++y)
    for (int x = 0; x < mask.Width(); ++x)
      mask.At(x, y) = RoundRectDistance(r, radius, x + 0.5, y + 0.5) <= 0 ? Hex(0) : Hex(0xFFFFFF);
}

void Blit(const TPixmap& from, const TRect& src, TPixmap& to, int x, int y) {
  for (int row = 0; row < src.Height(); ++row)
    for (int col = 0; col < src.Width(); ++col)
      to.At(x + col, y + row) = from.At(src.Left + col, src.Top + row);
}

}  // namespace mainskin

std::unique_ptr<TSkinBuilder> BuildMainSkin() {
  using namespace mainskin;
  auto owned = std::make_unique<TSkinBuilder>("skin.ini", layout::kWidth, layout::kHeight,
                                              tone::kBody);
  TSkinBuilder& skin = *owned;
  skin.SkinName = "Video converter (dark)";
  skin.SkinComments = "Main window of the video converter demo";

  TPictures pics;
  pics.Controls = skin.AddActivePicture("controls.bmp", 1000, 500, tone::kCard);
  skin.Atlas(pics.Controls).Reserve(layout::kButtonEditSkin);
  pics.TabButtons = skin.AddActivePicture("tabbuttons.bmp", 400, 340, tone::kBody);
  pics.Buttons = skin.AddActivePicture("buttons.bmp", 340, 300, tone::kBody);
  pics.CaptionButtons = skin.AddActivePicture("captionbuttons.bmp", 112, 88, tone::kBody);
  pics.CaptionGlow = skin.AddActivePicture("captionglow.bmp", 50, 42, Hex(0));
  pics.CaptionGlowMask = skin.AddActivePicture("captionglowmask.bmp", 50, 42, Hex(0));
  pics.ButtonGlow = skin.AddActivePicture("buttonglow.bmp", 151, 130, Hex(0));
  pics.ButtonGlowMask = skin.AddActivePicture("buttonglowmask.bmp", 151, 130, Hex(0));
  pics.Menus = skin.AddActivePicture("menus.bmp", 200, 160, tone::kPopup);
  pics.Popup = skin.AddActivePicture("popup.bmp", 48, 48, tone::kPopup);
  pics.Hint = skin.AddActivePicture("hint.bmp", 48, 48, tone::kPopup);
  pics.Label2Mask = skin.AddActivePicture("label2mask.bmp", 75, 26, Hex(0xFFFFFF));
  pics.WindowMask = skin.AddActivePicture("windowmask.bmp", 48, 48, Hex(0xFFFFFF));

  PaintMainPicture(skin);
  PaintCaptionObjects(skin, pics);
  // [SKINCONTROLS] order: the menu bar, the three toggle buttons, the
  // information button and the page control lead the list.
  PaintMenuBar(skin, pics);
  PaintToggleTabs(skin, pics);
  PaintInfoButton(skin, pics);
  PaintPageControl(skin, pics);
  PaintPushButtons(skin, pics);
  PaintLabels(skin, pics);
  PaintPanels(skin, pics);
  PaintScrollBars(skin, pics);
  PaintFields(skin, pics);
  PaintPopupMenu(skin, pics);
  PaintHintWindow(skin, pics);
  SetSkinColors(skin);

  skin.LeadWith("lbscrollbar");
  CheckPictureRects(skin);
  return owned;
}

}  // namespace qz::skingen
