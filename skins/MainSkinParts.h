// The pieces of the main window's dark skin ("skin.ini"), shared by the
// MainSkin*.cpp files: the active pictures, the layout of the main picture,
// the colours of this skin and small painting helpers. Every Paint...
// function paints its element and fills its description with the same
// rectangles.
#pragma once

#include <string>

#include "skins/painter/Paint.h"
#include "skins/painter/SkinBuilder.h"
#include "skins/Style.h"

namespace qz::skingen::mainskin {

// Indexes of the active pictures, in the order they are added.
struct TPictures {
  int Controls = -1;         // scroll bars, fields, panels, page control (>= 980 wide)
  int TabButtons = -1;       // the three large toggle buttons
  int Buttons = -1;          // push buttons
  int CaptionButtons = -1;   // close, minimise, minimise-to-tray
  int CaptionGlow = -1, CaptionGlowMask = -1;
  int ButtonGlow = -1, ButtonGlowMask = -1;
  int Menus = -1;            // menu bar, menu bar items, popup menu items
  int Popup = -1;            // the popup menu window picture
  int Hint = -1;             // the hint window picture
  int Label2Mask = -1;       // shape of "label2"
  int WindowMask = -1;       // rounded corners of the popup and hint windows
};

// The main picture's layout (picture coordinates, 820 x 602).
namespace layout {
inline constexpr int kWidth = 820, kHeight = 602;
inline constexpr int kCaptionHeight = 40;
// The 4 x 4 pixel stretch cell: the corner points and the client rectangle of
// [FORMINFO]. Every row and column through it is uniform, so the frame grows
// without seams; the areas left of / above it keep their place.
inline constexpr TRect kStretchCell{600, 400, 604, 404};
inline constexpr TRect kMenuBarArea{236, 9, 560, 31};
inline constexpr TRect kAddTabArea{20, 51, 151, 161};
inline constexpr TRect kEditTabArea{158, 51, 289, 161};
inline constexpr TRect kConvertTabArea{296, 51, 427, 161};
inline constexpr TRect kPageArea{29, 172, 424, 555};
inline constexpr TRect kPageArea2{443, 68, 799, 565};
inline constexpr TRect kInfoButtonArea{439, 572, 803, 596};
inline constexpr TRect kLeftCard{20, 168, 429, 567};
inline constexpr TRect kRightCard{439, 51, 803, 567};
inline constexpr TRect kCaptionObject{0, 0, 600, 40};
inline constexpr TRect kTitleLabel{46, 8, 166, 32};
inline constexpr TRect kCloseButton{778, 7, 812, 33};
inline constexpr TRect kMinButton{742, 7, 776, 33};
inline constexpr TRect kTrayButton{706, 7, 740, 33};
// The fixed place of "buttonedit" in the controls picture.
inline constexpr TRect kButtonEditSkin{904, 452, 979, 478};
}  // namespace layout

// Colours of the dark skin beyond the shared palette.
namespace tone {
inline constexpr uint32_t kCaptionTop = Hex(0x272B34);
inline constexpr uint32_t kCaptionBottom = Hex(0x1F2229);
inline constexpr uint32_t kBody = Hex(0x1B1E24);
inline constexpr uint32_t kCard = Hex(0x23272F);        // page backgrounds
inline constexpr uint32_t kCardBorder = Hex(0x30353F);
inline constexpr uint32_t kGroup = Hex(0x282C35);       // group boxes
inline constexpr uint32_t kGroupBorder = Hex(0x343A45);
inline constexpr uint32_t kField = Hex(0x15181D);       // edits, lists
inline constexpr uint32_t kFieldBorder = Hex(0x3A404B);
inline constexpr uint32_t kPopup = Hex(0x262A32);
inline constexpr uint32_t kWindowBorder = Hex(0x3A404B);
inline constexpr uint32_t kThumb = Hex(0x4A515E);
inline constexpr uint32_t kThumbHot = Hex(0x5F6775);
inline constexpr uint32_t kRed = Hex(0xE5484D);
}  // namespace tone

// A rect relative to `outer`'s top-left.
TRect Relative(const TRect& r, const TRect& outer);
// The description colour value of a pixel colour.
inline TColor Col(uint32_t argb) { return TColor(ColorValue(argb)); }
TFontStyles Bold();

// A rounded face: vertical gradient, 1-pixel border, optional light line
// just inside the top edge.
void Face(TPainter& p, const TRect& r, double radius, uint32_t top, uint32_t bottom,
          uint32_t border, uint32_t topLight = 0);
// A glow picture of one colour and its opacity mask: a soft halo around
// `button` (transparent inside it, since the glow lies over the form).
void PaintGlow(TSkinBuilder& skin, int picture, int mask, const TRectF& button, double radius,
               uint32_t color, double sigma, double peak);
// A 1-bit style mask of a rounded rectangle filling `mask`: black inside
// (where the shape covers at least half a pixel), white outside.
void PaintRoundMask(TPixmap& mask, double radius);
// Copies a block of pixels between pictures.
void Blit(const TPixmap& from, const TRect& src, TPixmap& to, int x, int y);

// Element painters (each fills its descriptions).
void PaintMainPicture(TSkinBuilder& skin);
void PaintCaptionObjects(TSkinBuilder& skin, const TPictures& pics);
void PaintMenuBar(TSkinBuilder& skin, const TPictures& pics);
void PaintPopupMenu(TSkinBuilder& skin, const TPictures& pics);
void PaintHintWindow(TSkinBuilder& skin, const TPictures& pics);
void PaintToggleTabs(TSkinBuilder& skin, const TPictures& pics);
void PaintInfoButton(TSkinBuilder& skin, const TPictures& pics);
void PaintPageControl(TSkinBuilder& skin, const TPictures& pics);
void PaintPushButtons(TSkinBuilder& skin, const TPictures& pics);
void PaintLabels(TSkinBuilder& skin, const TPictures& pics);
void PaintPanels(TSkinBuilder& skin, const TPictures& pics);
void PaintScrollBars(TSkinBuilder& skin, const TPictures& pics);
void PaintFields(TSkinBuilder& skin, const TPictures& pics);
void SetSkinColors(TSkinBuilder& skin);

}  // namespace qz::skingen::mainskin
