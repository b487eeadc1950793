// What the windowed and the window-less skin control bases do alike, written
// once for both: they differ only in their framework base class (and in the
// window region, which only the windowed pair has). Used by SkinControl.cpp
// and SkinControlGraphic.cpp.
#pragma once

#include "host/components/Component.h"
#include "host/graphics/Bitmap.h"
#include "skin/controls/SkinControl.h"

namespace qz::skin_control_detail {

// The off-screen paint: the skinned look when a description was found, else
// the plain look when the control draws one, then onto the canvas at once.
template <class Control>
void PaintThroughBitmapOf(Control& c, const TqzSkinLinkState& link) {
  TComponentRef<Control> self(&c);
  TBitmap image(c.Width(), c.Height());
  if (c.SkinIndex != -1)
    c.CreateControlSkinImage(image);
  else if (link.drawDefault)
    c.CreateControlDefaultImage(image);
  if (!self) return;
  DrawComposed(c, link, image, c.Canvas());
}

// A custom control's paint: whether it takes the frame-only path (the New
// geometry is brought up to date on the way).
template <class Control>
bool PaintsFrameOnly(Control& c) {
  c.GetSkinData();
  int w = c.Width(), h = c.Height();
  c.CalcSize(w, h);
  return c.SkinIndex != -1 && c.FrameOnlyPaint && c.ResizeMode == 1 && !c.AlphaBlend();
}

// SetBounds of a custom control: the requested size snapped to what its
// description allows. True when a described control changes its size.
template <class Control>
bool FitRequestedSize(Control& c, int& width, int& height) {
  c.GetSkinData();
  const bool changing = c.SkinIndex != -1 && (width != c.Width() || height != c.Height());
  if (changing) {
    c.CalcSize(width, height);
    if (c.ResizeMode == 0) c.NewClRect = c.ClRect;
  }
  return changing;
}

// ChangeSkinData of a custom control: the size it takes after the lookup,
// its default size without a description, the skin's size rules with one.
template <class Control>
TSize SizeAfterSkinChange(Control& c) {
  int w = c.Width(), h = c.Height();
  if (c.SkinIndex == -1) {
    if (c.DefaultWidth() > 0) w = c.DefaultWidth();
    if (c.DefaultHeight() > 0) h = c.DefaultHeight();
  } else {
    c.CalcSize(w, h);
  }
  return {w, h};
}

// True when the removed component was the linked skin data; the link
// forgets it (the reference slot itself is already cleared).
bool ForgetRemovedSkin(TqzSkinLinkState& link, const TComponent* removed, TOperation operation);

// Where the parent puts a skinned child of `height` asked for `top`.
int PlaceTopInParent(const TWinControl* parent, int top, int height);

// `value` copied into `font` with a single change notification, given by
// the caller afterwards.
void AssignFontQuietly(TFont& font, const TFont& value);

// The custom bases' plain look: the rectangle in the button-face colour.
void FillWithButtonFace(TBitmap& bitmap, const TRect& r);

}  // namespace qz::skin_control_detail
