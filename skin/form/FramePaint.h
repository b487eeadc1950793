// Painting of a skinned window: the frame from four border strips (frame
// mode), the frame drawn without a skin, the client background, the whole
// skin in the client area (client mode) and the window region cut from the
// skin's mask. Every function paints from its input record alone; the
// controller gathers the window's state into it.
#pragma once

#include <memory>
#include <string>

#include "host/base/Types.h"
#include "host/graphics/Region.h"
#include "skin/form/FrameGeometry.h"
#include "skin/form/ObjectHost.h"
#include "skin/form/SkinObjects.h"

namespace qz {

class TCanvas;
class TBitmap;
class TFont;
class TqzSkinData;

struct TqzFramePaintInput {
  const TqzSkinData* Skin = nullptr;
  const TqzFrameRects* Rects = nullptr;  // laid out for Window
  TSize Window;
  bool FormActive = true;
  bool RolledUp = false;
  const TqzSkinObjectList* Objects = nullptr;  // drawn into the top and bottom strips
};
// Frame mode with a skin: the four strips at their places on the window
// canvas, the client rectangle left alone. Nothing without a skin or with an
// empty client rect.
void PaintFrame(TCanvas& windowCanvas, const TqzFramePaintInput& in);

struct TqzDefaultFramePaintInput {
  TSize Window;
  bool ToolWindow = false;
  bool FormActive = true;
  std::string Caption;
  const TFont* ActiveFont = nullptr;    // DefCaptionFont
  const TFont* InactiveFont = nullptr;  // DefInActiveCaptionFont
  bool RightToLeft = false;
  TqzCaptionPaintEvent OnCaptionPaint;
  const TqzSkinObjectList* Objects = nullptr;  // the default buttons
  int CharSet = 0;  // of the skin's resource strings, 0 when none
};
// Frame mode without a skin: caption bar, default buttons, three rings.
void PaintDefaultFrame(TCanvas& windowCanvas, const TqzDefaultFramePaintInput& in);

struct TqzClientBackgroundInput {
  const TqzSkinData* Skin = nullptr;  // null: plain fill
  TSize Client;                       // client size
  TSize Window;                       // window size (stretch of sthorz/stvert)
  const TBitmap* Logo = nullptr;      // LogoBitMap, null or empty for none
  bool LogoTransparent = false;
};
// Frame mode, on erase: bgpictureindex or the clientrect piece, stretched or tiled.
void PaintClientBackground(TCanvas& clientCanvas, const TqzClientBackgroundInput& in);

struct TqzClientSkinInput {
  const TqzSkinData* Skin = nullptr;  // null: plain rectangle
  TSize Client;
  bool RolledUp = false;
  bool NormalState = true;            // the size grip shows only in the normal state
  TRect SizeGripRect;                 // transformed sizegriparea
  const TqzSkinObjectList* Objects = nullptr;
};
// Client mode, on erase: the whole skin composed at the client size, objects, size grip.
void PaintClientSkin(TCanvas& clientCanvas, const TqzClientSkinInput& in);

struct TqzFormRegionInput {
  bool Skinnable = true;          // the skin data's SkinnableForm
  bool FrameMode = true;
  bool Borderless = false;
  bool FullBorderLayered = false;
  int LayeredRollUpHeight = -1;   // >= 0: the form is rolled up or minimised under a full-border frame
  bool HasSkin = false;
  bool HasMask = false;
  const TqzSkinData* Skin = nullptr;
  const TqzFrameRects* Rects = nullptr;
  TqzFrameSize Size;
  bool RolledUpClientMode = false;  // the roll-up mask shapes the window
  bool StripsCurrent = false;       // the strips given are stretched to this size already
  bool MaximizedMDIChild = false;   // shaped like a plain rectangle
};
// What SetWindowRgn gets: nullptr removes the region; `keep` is set when a
// mask yields no rectangles and the old region must stay. Rebuilds the mask
// strips when `recreate`.
struct TqzFormRegion {
  std::unique_ptr<TRegion> Region;  // null: no region
  bool Keep = false;
};
TqzFormRegion BuildFormRegion(const TqzFormRegionInput& in, TqzMaskStrips& strips, bool recreate);

// ---- Helpers shared by the frame and caption painters ----

// The geometry of the skin's main picture: its whole rectangle with the
// [FORMINFO] corner points, client rect and stretch rules.
TqzSkinGeometry FormSkinGeometry(const TqzSkinData& skin);
// The same carried to the window by the frame rectangles.
TqzNewGeometry FormNewGeometry(const TqzFrameRects& rects, TSize window);
// dest becomes a 1:1 copy of the part of r inside source (empty when none).
void CopyPiece(const TPixmap& source, const TRect& r, TBitmap& dest);
// The inactive-window effect (0 iebrightness ... 5 ieinvert) applied to the
// bitmap's colours; the pixels come back opaque.
void ApplyInactiveEffect(TBitmap& bitmap, int effect);
// Draws the object at its rectangle moved by (dx, dy) and restores the
// rectangle afterwards, also when drawing throws.
void DrawObjectMoved(TqzActiveSkinObject& object, TCanvas& canvas, int dx, int dy);

}  // namespace qz
