// What the skin control faces and their windowed and window-less classes
// use alike; internal to SkinControl.cpp, SkinControlGraphic.cpp and
// SkinControlResize.cpp.
#pragma once

#include "host/components/Component.h"
#include "host/components/Properties.h"
#include "host/graphics/Bitmap.h"
#include "skin/controls/SkinControl.h"

namespace qz::skin_control_detail {

// The index of the link's description in its skin; -1 without one.
int FindSkinIndex(const TqzSkinLinkState& link);
// The description at `index` of the link's skin; null for none.
TqzDataSkinControl* Description(const TqzSkinLinkState& link, int index);
// The cursor a control takes from its skin (the default for -1).
TCursor SkinCursor(const TqzSkinData* skin, int cursorIndex);
// Draws `image` onto `canvas` at (0, 0), blended over what lies under
// `control` when the link asks for it.
void DrawComposed(TControl& control, const TqzSkinLinkState& link, const TBitmap& image,
                  TCanvas& canvas);
// MSG_REFRESH_ALPHABLEND to every child of `control` (none for graphic ones).
void RefreshChildren(TControl& control);

// SetBounds of a custom control: the requested size snapped to what its
// description allows. True when a described control changes its size.
template <class Control>
bool FitRequestedSize(Control& c, int& width, int& height) {
  c.GetSkinData();
  const bool changing = c.SkinIndex != -1 && (width != c.Width() || height != c.Height());
  if (changing) {
    c.CalcSize(width, height);
    if (c.ResizeMode == 0) c.NewGeom.NewClRect = c.Geom.ClientRect;
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

// The published properties of a face (stream order), for either pair.
template <class O>
void PublishSkinLink(TClassBuilder<O>& b) {
  b.Prop("HintTitle", &O::HintTitle, &O::SetHintTitle);
  b.Prop("HintImageIndex", &O::HintImageIndex, &O::SetHintImageIndex, 0);
  b.template Ref<TCustomImageList>("HintImageList", &O::HintImageList, &O::SetHintImageList);
  b.Prop("DrawDefault", &O::DrawDefault, &O::SetDrawDefault, true);
  b.template Ref<TqzSkinData>("SkinData", &O::SkinData,
                              [](O& o, TqzSkinData* v) { o.SetSkinData(v); });
  b.Prop("AreaName", &O::AreaName, &O::SetAreaName);
  b.Prop("SkinDataName", &O::SkinDataName,
         [](O& o, const std::string& v) { o.SetSkinDataName(v); });
  b.Prop("AlphaBlend", &O::AlphaBlend, [](O& o, bool v) { o.SetAlphaBlend(v); }, false);
  b.Prop("AlphaBlendValue", &O::AlphaBlendValue,
         [](O& o, uint8_t v) { o.SetAlphaBlendValue(v); }, uint8_t(200));
  b.Prop("UseSkinCursor", &O::UseSkinCursor, &O::SetUseSkinCursor, false);
}

// What the resizable layer publishes in addition.
template <class O>
void PublishCustomFace(TClassBuilder<O>& b) {
  b.Object("DefaultFont", [](O& o) -> TFont& { return o.DefaultFont(); });
  b.Prop("UseSkinFont", &O::UseSkinFont, &O::SetUseSkinFont, true);
  b.Prop("DefaultWidth", &O::DefaultWidth, &O::SetDefaultWidth, 0);
  b.Prop("DefaultHeight", &O::DefaultHeight, &O::SetDefaultHeight, 0);
}

}  // namespace qz::skin_control_detail
