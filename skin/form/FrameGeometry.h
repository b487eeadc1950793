// The geometry of a skinned window, free of any window or controller: how
// rectangles of the skin picture are carried onto a window of another size,
// the frame rectangles for a window size, where a control over a skin area
// goes, the client area of the non-client size calculation, the size limits
// and the hit-test codes of frame and client mode. The controller gathers
// the state these functions read (window state, active object, ...) into the
// input records, so every answer here depends on its arguments only.
#pragma once

#include "host/base/Messages.h"
#include "host/base/Types.h"
#include "host/graphics/Pixmap.h"
#include "skin/data/SkinObjectData.h"

namespace qz {

// The skin's main picture (PW x PH) and the window it dresses (W x H); every
// rectangle right of or below the stretch cell moves by the difference.
struct TqzFrameSize {
  TSize Picture;
  TSize Window;
  int DX() const { return Window.cx - Picture.cx; }
  int DY() const { return Window.cy - Picture.cy; }
};

// ---- Frame transform ----

// The four fixed corner pieces of the picture, split by the corner points.
struct TqzFrameQuadrants {
  TRect TopLeft, TopRight, BottomLeft, BottomRight;
  bool AllEmpty() const {
    return TopLeft.IsEmpty() && TopRight.IsEmpty() && BottomLeft.IsEmpty() &&
           BottomRight.IsEmpty();
  }
};
TqzFrameQuadrants FrameQuadrants(const TqzLatticeFields& corners, TSize picture);

// A rectangle of the picture carried onto the window: a rectangle inside a
// corner piece keeps its distance to that corner; one spanning corner pieces
// grows with the window between them; anything else stays where it is.
TRect FrameTransformRect(const TRect& r, const TqzLatticeFields& corners, const TqzFrameSize& size);

// ---- Frame rectangles ----

// The frame laid out for one window size, in window coordinates.
struct TqzFrameRects {
  TPoint NewLTPoint, NewRTPoint, NewLBPoint, NewRBPoint;
  TRect NewClRect;
  TRect NewCaptionRect;
  TRect NewButtonsRect;
  bool ButtonsOnLeft = false;  // buttonsrect lies in the left half of the picture
  TPoint HitTestLTPoint, HitTestRTPoint, HitTestLBPoint, HitTestRBPoint;
  TRect NewMaskRectArea;
  TRect NewIconRect;
  TRect NewMainMenuRect;
  bool Stretchable = false;
  int ButtonsOffset = 0;
  bool ButtonsInLeft = false;  // as the skin says, for the button layout
};

// A skin stretches when its corner points span a cell in both directions.
bool IsStretchableFrame(const TqzLatticeFields& corners);

TqzFrameRects CalcFrameRects(const TqzSkinFormInfo& info, const TqzFrameSize& size);

// ---- Skin areas ----

// The bounds a control bound to the area gets at this window size.
TRect PlaceSkinArea(const TqzDataSkinArea& area, const TqzLatticeFields& corners,
                    const TqzFrameSize& size, bool stretchable);

// ---- Client area ----

inline constexpr int kDefaultFrameBorder = 3;
// Caption height of the frame drawn while no skin is attached.
inline int DefaultCaptionHeight(bool toolWindow) { return toolWindow ? 15 : 19; }

struct TqzClientAreaInput {
  bool HasSkin = false;
  TRect SkinClientRect;  // clientrect of the skin, picture coordinates
  TSize Picture;
  bool FullBorderLayered = false;  // the layered border draws the whole frame
  int DefaultCaptionHeight = 19;
};

// The client rectangle for the proposed window rectangle; never inverted.
TRect CalcClientArea(const TRect& proposedWindow, const TqzClientAreaInput& in);

// ---- Size limits ----

struct TqzSizeLimitInput {
  bool ClientMode = false;  // the skin is drawn in the client area
  bool HasSkin = false;
  bool SkinnableForm = true;
  bool Minimized = false, RolledUp = false, Maximized = false;
  bool Borderless = false;
  bool FullBorderLayered = false;
  TSize Picture;
  TRect SkinClientRect;
  int MinWidth = 0, MinHeight = 0, MinClientWidth = 0, MinClientHeight = 0;
  int MaxWidth = 0, MaxHeight = 0, MaxClientWidth = 0, MaxClientHeight = 0;
  int FormMinWidth = 0, FormMinHeight = 0;  // formminwidth, formminheight
  TRect WorkArea;  // of the window's monitor (the monitor itself for full screen)
  int CaptionHeight = 19;  // of the default frame
};

struct TqzSizeLimits {
  int MinWidth = 0, MinHeight = 0, MaxWidth = 0, MaxHeight = 0;
};

TqzSizeLimits CalcSizeLimits(const TqzSizeLimitInput& in);

// ---- Hit testing ----

// The stretched mask strips around the mask area at the current size, placed
// as the window region places them: top at (0, 0), bottom at (0, mask
// bottom), left at (0, mask top), right at (mask right, mask top).
struct TqzMaskStrips {
  TPixmap Top, Bottom, Left, Right;
};

// The strips of the skin's mask for this window size; the mask area takes
// the place of the client rectangle.
TqzMaskStrips BuildMaskStrips(const TqzSkinFormInfo& info, const TqzFrameRects& rects,
                              const TqzFrameSize& size, const TPixmap& mask);

// Whether P lies in the window's shape: inside the mask area, or on a black
// pixel of the strip it falls on. Points off every strip are outside.
bool PointInMask(TPoint p, const TRect& maskArea, const TqzMaskStrips& strips);

// What the frame's sizing test needs: the layout, the border width and the
// mask strips when the skin has a mask (null otherwise).
struct TqzSizingFrame {
  const TqzFrameRects* Rects = nullptr;
  TSize Window;
  int BorderWidth = 0;
  const TqzMaskStrips* Mask = nullptr;
};

// The sizing code of P near the frame's edge, HTNOWHERE when P is not near
// an edge or falls in none of the corners and bands.
int FrameSizingHit(TPoint p, const TqzSizingFrame& frame);

struct TqzFrameHitInput {
  TqzSizingFrame Frame;
  bool ObjectActive = false;      // the mouse is over a frame object
  bool CaptionDragPoint = false;  // P drags the window (caption, NCDraggAble on)
  bool Sizeable = true;
  bool Maximized = false, RolledUp = false, Minimized = false;
  bool InSizeMove = false;
  bool FullBorderLayered = false;
};

// Frame mode with a skin; P in window coordinates.
int FrameHitTest(TPoint p, const TqzFrameHitInput& in);

struct TqzDefaultFrameHitInput {
  TSize Window;
  int CaptionHeight = 19;
  bool ObjectActive = false;
  bool Sizeable = true;
  bool Maximized = false, RolledUp = false, Minimized = false;
};

// Frame mode with the default frame; P in window coordinates.
int DefaultFrameHitTest(TPoint p, const TqzDefaultFrameHitInput& in);

struct TqzClientHitInput {
  bool HasSkin = false;
  TqzSizingFrame Frame;  // laid out for the client size
  TRect SizeGripRect;    // transformed sizegriparea
  bool ObjectActive = false;
  bool Sizeable = true;
  bool Maximized = false, RolledUp = false;
};

// Client mode; P in client coordinates.
int ClientHitTest(TPoint p, const TqzClientHitInput& in);

}  // namespace qz
