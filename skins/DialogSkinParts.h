// The pieces of the light dialog skin ("dialog.ini"), shared by the
// DialogSkin*.cpp files: the active pictures, the frame layout, the colours
// of this skin and small painting helpers. Every Paint...
// function paints its element and fills its description with the same
// rectangles, taken from the picture's atlas.
#pragma once

#include <string>
#include <vector>

#include "skins/painter/Paint.h"
#include "skins/painter/SkinBuilder.h"
#include "skins/Style.h"

namespace qz::skingen::dialogskin {

// Indexes of the active pictures (seven, in this order).
struct TPictures {
  int Controls = -1;        // push buttons (fixed places of [button]) and most controls
  int Popup = -1;           // the popup menu window picture (a whole picture)
  int CaptionButtons = -1;  // caption buttons on caption-coloured bands, then more controls
  int Hint = -1;            // the hint window picture (a whole picture)
  int WindowMask = -1;      // rounded shape of the popup and hint windows (same size)
  int Layer = -1;           // [LAYERFRAME] colour
  int LayerAlpha = -1;      // [LAYERFRAME] opacity (grey level)
};

// The main picture: the frame of a sizeable window (frame mode).
namespace frame {
inline constexpr int kWidth = 393, kHeight = 268;
inline constexpr int kCaptionHeight = 30;
inline constexpr int kBorder = 5;  // left, right and bottom
inline constexpr double kTopRadius = style::kRadiusWindow, kBottomRadius = 5;
inline constexpr TRect kClient{kBorder, kCaptionHeight, kWidth - kBorder, kHeight - kBorder};
// The caption ends where the top-right corner piece begins, so a caption
// composed at another width never carries a piece of the rounded corner.
inline constexpr TRect kCaptionRect{9, 1, 381, 29};
inline constexpr TRect kButtonsRect{300, 7, 385, 23};
inline constexpr int kButtonsOffset = 2;
inline constexpr int kButtonTop = 7;  // caption buttons sit on rows 7..23
// One band of the caption-buttons picture per button: the caption's rows
// 0..30 repeated, the looks at x = 7, 29, 51 ... on rows band + 7 .. + 23.
inline constexpr int kBandHeight = kCaptionHeight;
}  // namespace frame

// Colours of the light skin beyond the shared palette.
namespace tone {
inline constexpr uint32_t kBody = style::kLight.Background;  // form and dialog background
inline constexpr uint32_t kCaptionTop = Hex(0xFCFDFE);
inline constexpr uint32_t kCaptionBottom = Hex(0xECEFF3);
inline constexpr uint32_t kOutline = Hex(0x98A2AF);
inline constexpr uint32_t kInnerLine = Hex(0xD8DDE3);
inline constexpr uint32_t kOutside = Hex(0xB8BEC6);  // what anti-aliased outer edges blend into
inline constexpr uint32_t kField = Hex(0xFFFFFF);
inline constexpr uint32_t kFieldBorder = Hex(0xC3C9D1);
inline constexpr uint32_t kHotBorder = Hex(0x8DB6EE);
inline constexpr uint32_t kDownBorder = Hex(0x6F9BD6);
inline constexpr uint32_t kSelect = Hex(0xDCEAFD);   // light accent: hot items, selections
inline constexpr uint32_t kSelectHot = Hex(0xC9DEFB);
inline constexpr uint32_t kGlyph = Hex(0x5F6B7A);
inline constexpr uint32_t kGlyphHot = Hex(0x1F2329);
inline constexpr uint32_t kGlyphOff = Hex(0xA7AFBA);
inline constexpr uint32_t kThumb = Hex(0xC5CCD5);
inline constexpr uint32_t kThumbHot = Hex(0xA3ADB9);
inline constexpr uint32_t kGroove = Hex(0xD5DAE1);
inline constexpr uint32_t kRed = Hex(0xE5484D);
inline constexpr uint32_t kRedDown = Hex(0xC63A3F);
inline constexpr uint32_t kHint = Hex(0x2D323C);
}  // namespace tone

// Everything a painter needs: the builder and the picture indexes. The
// pictures' atlases record every rectangle handed out for painting, so
// that CheckPictureRects proves that no two elements share pixels and none
// leaves its picture.
struct TContext {
  TSkinBuilder& Skin;
  TPictures Pics;
  // A free rect of w x h in picture `pic`, painted by `owner`.
  TRect Place(int pic, int w, int h, const std::string& owner);
  // A fixed rect painted by `owner`; the picture's shelf allocator keeps off it.
  TRect Fix(int pic, const TRect& r, const std::string& owner);
};

// ---- Geometry of descriptions ----

TRect Rel(const TRect& r, const TRect& outer);  // r relative to outer's top-left
TRect Moved(const TRect& r, int dx, int dy);
inline TColor Col(uint32_t argb) { return TColor(ColorValue(argb)); }
TFontStyles BoldStyle();
// The font keys every text-carrying description shares.
template <class T>
void SetFont(T& d, int height, bool bold, uint32_t color) {
  d.FontName = style::kFont;
  d.FontHeight = height;
  d.FontStyle = bold ? BoldStyle() : TFontStyles{};
  d.FontColor = Col(color);
}

// ---- Painting helpers ----

// A rounded box: fill (solid or gradient) and a 1-pixel border.
void Box(TPainter& p, const TRectF& r, const TRadii& radii, const TFill& fill, uint32_t border);
// A vertical-gradient face inside r with a 1-pixel border, a lighter line
// under the top edge and (optionally) a darker bottom border.
void Face(TPainter& p, const TRect& r, double radius, uint32_t top, uint32_t bottom,
          uint32_t border, uint32_t bottomBorder);
// The caption's rows (the gradient of the frame, rows 0..30 of `band`).
void CaptionRows(TPainter& p, const TRect& band);

// ---- Element painters (each fills its descriptions) ----

void PaintFrame(TContext& c);           // main picture, mask, [FORMINFO], caption
void PaintCaptionButtons(TContext& c);  // close, maximise, minimise, roll-up, system menu
// Roll-up picture and mask (caption rows and bottom edge of the window) and
// the caption shown while rolled up; the buttons shown then are
// PaintCaptionButtons' roll-up twins.
void PaintRolledUpFrame(TContext& c);
void PaintPushButtons(TContext& c);     // button, resizebutton, toolbuttons, menu buttons
void PaintChecks(TContext& c);          // checkbox, radiobox
void PaintFields(TContext& c);          // edit, combobox, listbox, combolist
void PaintScrollBars(TContext& c);      // vscrollbar, hscrollbar, bothhscrollbar
void PaintTrackBars(TContext& c);       // trackbar, htrackbar
void PaintPanels(TContext& c);          // panel, roundpanel, groupbox, toolpanel
void PaintLabels(TContext& c);          // stdlabel, label, menuheader, bevel
void PaintMenus(TContext& c);           // [POPUPWINDOW], menuitem
void PaintHint(TContext& c);            // [HINTWINDOW]
void PaintLayerFrame(TContext& c);      // [LAYERFRAME]: soft shadow
void SetSkinColors(TSkinBuilder& skin); // [SKINCOLORS]

}  // namespace qz::skingen::dialogskin
