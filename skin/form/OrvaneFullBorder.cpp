// The form skinning controller's side of a full-border layered frame: the
// frame's objects (caption with its quick buttons and tabs, caption buttons)
// are laid out on the outer window, the form's bounds enlarged by the
// border's extents, drawn into the border's top strip with their alpha, and
// take the mouse from the border's top window.
#include <algorithm>

#include "host/graphics/Canvas.h"
#include "skin/data/SkinData.h"
#include "skin/draw/PixelOps.h"
#include "skin/draw/SkinImage.h"
#include "skin/form/CaptionPaint.h"
#include "skin/form/Orvane.h"

namespace qz {

namespace {

// Moves an object's rectangle for drawing elsewhere and puts it back.
class TMovedObject {
 public:
  TMovedObject(TqzActiveSkinObject& object, TPoint by)
      : object_(object), saved_(object.ObjectRect) {
    object.ObjectRect = OffsetRect(saved_, by.X, by.Y);
  }
  ~TMovedObject() { object_.ObjectRect = saved_; }
  TMovedObject(const TMovedObject&) = delete;
  TMovedObject& operator=(const TMovedObject&) = delete;

 private:
  TqzActiveSkinObject& object_;
  TRect saved_;
};

uint8_t Brightness(uint32_t pixel) {
  const int sum = int(pixel & 0xFF) + int((pixel >> 8) & 0xFF) + int((pixel >> 16) & 0xFF);
  return static_cast<uint8_t>(RoundHalfEven(sum / 3.0));
}

void SetAlpha(TPixmap& strip, int x, int y, uint8_t alpha) {
  if (x < 0 || y < 0 || x >= strip.Width() || y >= strip.Height()) return;
  uint32_t& pixel = strip.At(x, y);
  pixel = (pixel & 0xFFFFFF) | uint32_t(alpha) << 24;
}

// A quick button's opacity is its alpha mask scaled to the button, as the
// mask shapes its plate on a painted caption.
void QuickButtonAlpha(TPixmap& strip, const TRect& button, const TPixmap& mask) {
  const int w = button.Width(), h = button.Height();
  if (w <= 0 || h <= 0 || mask.Width() <= 0 || mask.Height() <= 0) return;
  for (int y = 0; y < h; ++y)
    for (int x = 0; x < w; ++x)
      SetAlpha(strip, button.Left + x, button.Top + y,
               Brightness(mask.At(x * mask.Width() / w, y * mask.Height() / h)));
}

// A tab's opacity is that of its look's alpha image, laid in three parts
// over the tab's width the way its picture is.
void CaptionTabAlpha(TPixmap& strip, const TRect& tab, const TqzDataSkinCaptionTab& data,
                     const TqzBitmap& look) {
  if (tab.IsEmpty()) return;
  TPixmap composed;
  ComposeHSkinImage(data.LeftOffset, data.RightOffset, composed, false, tab.Width(),
                    look.Pixmap().Bounds(), look.Pixmap());
  for (int y = 0; y < composed.Height(); ++y)
    for (int x = 0; x < composed.Width(); ++x)
      SetAlpha(strip, tab.Left + x, tab.Top + y, uint8_t(composed.At(x, y) >> 24));
}

// The alpha image of a tab's look, as its painted look picks the rect.
const TqzBitmap* TabLookImage(const TqzButtonImages& images, const TqzDataSkinCaptionTab& data,
                              bool selected, bool hot) {
  if (selected && !data.DownRect.IsEmpty()) return images.Down.get();
  if ((selected || hot) && !data.ActiveSkinRect.IsEmpty()) return images.Active.get();
  return images.Normal.get();
}

}  // namespace

TPoint TqzOrvane::FullBorderOuterToScreen(TPoint outer) const {
  const TPoint origin = layerBorder_->OuterOrigin(form_->BoundsRect());
  return {origin.X + outer.X, origin.Y + outer.Y};
}

void TqzOrvane::PlaceOnOuterWindow(TqzObjectPlacement& placement, TqzFrameRects& outerRects) const {
  const TRect e = layerBorder_->Extents();
  placement.Size.Window.cx += e.Left + e.Right;
  placement.Size.Window.cy += e.Top + e.Bottom;
  outerRects = CalcFrameRects(*skinData_, placement.Size);
  placement.Rects = &outerRects;
}

// The caption draws its look, text, quick buttons and tabs as on a painted
// frame, through the canvas's origin: its tabs lie at window rows of their
// own, not relative to the caption. The buttons bring their own alpha
// layers, written at their rectangles, so they are moved instead. Where the
// caption's quick buttons and tabs have alpha masks, their opacity follows.
void TqzOrvane::DrawFullBorderObjects(TqzBitmap& topStrip, TPoint outerOrigin, bool) {
  if (!HasSkin() || topStrip.Empty()) return;
  TCanvas& canvas = topStrip.Canvas();
  // The strip owns its pixels; the objects write their alpha into them.
  TPixmap& pixels = const_cast<TPixmap&>(topStrip.Pixmap());
  for (auto& o : objects_) {
    if (!o->ShownIn(rolledUp_) || !o->Visible) continue;
    if (auto* caption = dynamic_cast<TqzSkinCaptionObject*>(o.get())) {
      canvas.SetWindowOrg({-outerOrigin.X, -outerOrigin.Y});
      caption->Draw(canvas, true);
      canvas.SetWindowOrg({0, 0});
      DrawCaptionExtrasAlpha(*caption, pixels, outerOrigin);
    } else if (dynamic_cast<TqzSkinButtonObject*>(o.get())) {
      TMovedObject moved(*o, outerOrigin);
      o->DrawAlphaLayer(canvas, pixels);
    }
  }
}

void TqzOrvane::DrawCaptionExtrasAlpha(const TqzSkinCaptionObject& caption, TPixmap& strip,
                                       TPoint outerOrigin) const {
  TqzSkinCaptionObject::TExtrasLayout layout = caption.LayoutExtras();
  for (TRect& r : layout.QuickButtons) r = OffsetRect(r, outerOrigin.X, outerOrigin.Y);
  for (TRect& r : layout.Tabs) r = OffsetRect(r, outerOrigin.X, outerOrigin.Y);
  const auto& data = static_cast<const TqzDataSkinCaption&>(caption.Data());
  if (const TBitmap* mask = skinData_->ActivePicture(data.QuickButtonAlphaMaskPictureIndex);
      mask && !mask->Empty() && data.QuickButtonAlphaMaskPictureIndex != -1) {
    for (const TRect& button : layout.QuickButtons) QuickButtonAlpha(strip, button, mask->Pixels());
  }
  const TqzDataSkinCaptionTab* tabData = FindCaptionTabData(*skinData_);
  const TqzButtonImages* images =
      tabData ? skinData_->ImageCache().ButtonImages(*tabData) : nullptr;
  if (!images) return;
  const TqzCaptionExtras& extras = caption.Extras();
  const int selected = extras.CaptionTabIndex ? *extras.CaptionTabIndex : -1;
  for (size_t i = 0; i < layout.Tabs.size(); ++i) {
    const int index = int(i);
    const bool hot = index == caption.HotTab();
    const TqzBitmap* look = TabLookImage(*images, *tabData, index == selected, hot);
    if (look) CaptionTabAlpha(strip, layout.Tabs[i], *tabData, *look);
  }
}

TqzLayerBorderOwner::TObjectHit TqzOrvane::FullBorderObjectAt(TPoint outer) const {
  if (!HasSkin() || skinChanging_) return {};
  for (size_t i = 0; i < objects_.size(); ++i) {
    const TqzActiveSkinObject& o = *objects_[i];
    if (!o.ShownIn(rolledUp_) || !o.Enabled || !o.Visible) continue;
    if (!o.ObjectRect.Contains(outer)) continue;
    if (!o.InActiveArea(outer.X - o.ObjectRect.Left, outer.Y - o.ObjectRect.Top)) continue;
    const bool caption = o.IsCaption();
    return {int(i), caption, caption && NCDraggAble() && o.CaptionDragPoint(outer)};
  }
  return {};
}

// The objects take the mouse relative to their rectangle.
void TqzOrvane::FullBorderObjectMouse(int index, TObjectMouse event, TPoint outer) {
  TqzActiveSkinObject* o = ObjectAt(index);
  if (!o) return;
  const TPoint p{outer.X - o->ObjectRect.Left, outer.Y - o->ObjectRect.Top};
  switch (event) {
    case TObjectMouse::Enter: o->MouseEnter(); break;
    case TObjectMouse::Leave: o->MouseLeave(); break;
    case TObjectMouse::Move: o->MouseMove(p.X, p.Y); break;
    case TObjectMouse::LeftDown: o->MouseDown(p.X, p.Y, TqzMouseButton::mbLeft); break;
    case TObjectMouse::LeftUp: o->MouseUp(p.X, p.Y, TqzMouseButton::mbLeft); break;
    case TObjectMouse::RightDown: o->MouseDown(p.X, p.Y, TqzMouseButton::mbRight); break;
    case TObjectMouse::RightUp: o->MouseUp(p.X, p.Y, TqzMouseButton::mbRight); break;
    case TObjectMouse::DblClick: o->DblClick(); break;
  }
}

// Quietly, without the objects' leave events: the form went inactive, the
// looks only follow. A button of a group keeps its selection.
void TqzOrvane::FullBorderDeactivated() {
  HideGlowLayer();
  for (auto& o : objects_) {
    o->MouseIn = false;
    if (o->IsCaption()) {
      o->SetFormActive(false, o->ShownIn(rolledUp_));
    } else if (dynamic_cast<TqzSkinButtonObject*>(o.get())) {
      o->Active = false;
      o->MenuClosed();  // a pressed button comes up, a group's choice stays
    }
  }
}

}  // namespace qz
