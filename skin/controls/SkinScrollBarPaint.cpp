// How the scroll bar draws its parts over its background, skinned or plain,
// and its published properties.
#include <algorithm>

#include "host/graphics/Bitmap.h"
#include "skin/controls/SkinScrollBar.h"
#include "skin/data/SkinControlData.h"
#include "skin/draw/EffectBmp.h"
#include "skin/draw/QZUtils.h"
#include "skin/draw/QzColors.h"

namespace qz {

namespace {

// Arrow kinds of DrawArrowImage.
constexpr int kArrowLeft = 1, kArrowRight = 2, kArrowUp = 3, kArrowDown = 4;

void FrameAndFill(TCanvas& c, const TRect& r, TColor frame, TColor fill) {
  c.Brush().SetStyle(TBrushStyle::bsSolid);
  c.Brush().SetColor(fill);
  c.FillRect(r);
  c.Brush().SetColor(frame);
  c.FrameRect(r);
}

// Copies the picture's `source` 1:1 to `at` on the bitmap.
void CopyLook(TBitmap& B, const TBitmap& picture, const TRect& source, TPoint at) {
  if (source.IsEmpty()) return;
  const TRect dest{at.X, at.Y, at.X + source.Width(), at.Y + source.Height()};
  B.Canvas().CopyRect(dest, const_cast<TBitmap&>(picture).Canvas(), source);
}

}  // namespace

void TqzSkinScrollBar::CreateControlSkinImage(TBitmap& B) {
  TqzSkinCustomControl::CreateControlSkinImage(B);
  const TqzDataSkinScrollBarControl* d = BarDescription();
  if (!d || !Picture) return;
  // The background may be smaller than the bar on a fixed axis; the parts
  // are placed on the bar as it is.
  if (B.Width() != Width() || B.Height() != Height()) {
    TBitmap whole;
    whole.SetSize(Width(), Height());
    whole.Canvas().Draw(0, 0, B);
    B.Assign(whole);
  }
  const TqzScrollBarLayout l = Layout();
  DrawSkinParts(B, l);
  if (Enabled()) DrawSkinThumb(B, *d, l);
  B.Modified();
}

void TqzSkinScrollBar::DrawSkinParts(TBitmap& B, const TqzScrollBarLayout& l) {
  const TqzScrollBarLooks looks = ResolveScrollBarLooks(*BarDescription());
  for (int part : {sbpIncrement, sbpDecrement}) {
    const TRect& r = l.Part(part);
    if (r.IsEmpty() || hotPart_ != part) continue;
    const bool inc = part == sbpIncrement;
    const bool down = pressedPart_ == part;
    const TRect& look = down ? (inc ? looks.IncDown : looks.DecDown) : (inc ? looks.IncHot : looks.DecHot);
    CopyLook(B, *Picture, look, r.TopLeft());
  }
}

void TqzSkinScrollBar::DrawSkinThumb(TBitmap& B, const TqzDataSkinScrollBarControl& d,
                                     const TqzScrollBarLayout& l) {
  if (l.Thumb.IsEmpty()) return;
  const TqzScrollBarLooks looks = ResolveScrollBarLooks(d);
  const bool down = pressedPart_ == sbpThumb || (canFocused_ && Focused());
  const bool hot = hotPart_ == sbpThumb;
  const TRect& state = down ? looks.ThumbDown : hot ? looks.ThumbHot : looks.Thumb;
  const TRect& glyph = down ? looks.GlyphDown : hot ? looks.GlyphHot : looks.Glyph;
  if (state.IsEmpty()) return;
  // The thumb is composed to its length with fixed ends; at the look's own
  // length that is the look itself.
  TBitmap thumb;
  if (kind_ == sbVertical)
    CreateVSkinImage(d.ThumbOffset1, d.ThumbOffset2, thumb, d.ThumbStretchEffect, l.ThumbLength, state, *Picture);
  else
    CreateHSkinImage(d.ThumbOffset1, d.ThumbOffset2, thumb, d.ThumbStretchEffect, l.ThumbLength, state, *Picture);
  if (!glyph.IsEmpty()) {
    TBitmap g;
    g.SetSize(glyph.Width(), glyph.Height());
    g.Canvas().CopyRect({0, 0, glyph.Width(), glyph.Height()}, Picture->Canvas(), glyph);
    if (d.GlyphTransparent) {
      g.SetTransparent(true);
      g.SetTransparentMode(tmFixed);
      g.SetTransparentColor(d.GlyphTransparentColor);
    }
    thumb.Canvas().Draw((thumb.Width() - g.Width()) / 2, (thumb.Height() - g.Height()) / 2, g);
  }
  const TPoint at = l.Thumb.TopLeft();
  if (AlphaBlend()) {
    TBitmap under;
    under.SetSize(thumb.Width(), thumb.Height());
    under.Canvas().CopyRect({0, 0, thumb.Width(), thumb.Height()}, B.Canvas(),
                            {at.X, at.Y, at.X + thumb.Width(), at.Y + thumb.Height()});
    TqzEffectBmp blended(thumb);
    blended.Morph(TqzEffectBmp(under), 1.0 - AlphaBlendValue() / 255.0);
    thumb.Pixels() = blended.ToPixmap();
    thumb.Modified();
  }
  if (d.ThumbTransparent) {
    thumb.SetTransparent(true);
    thumb.SetTransparentMode(tmFixed);
    thumb.SetTransparentColor(d.ThumbTransparentColor);
  }
  B.Canvas().Draw(at.X, at.Y, thumb);
}

void TqzSkinScrollBar::CreateControlDefaultImage(TBitmap& B) {
  const int w = std::max(Width(), 1), h = std::max(Height(), 1);
  B.SetSize(w, h);
  FrameAndFill(B.Canvas(), {0, 0, w, h}, clBtnFace, clBtnFace);
  DrawPlainParts(B, Layout());
  B.Modified();
}

void TqzSkinScrollBar::DrawPlainParts(TBitmap& B, const TqzScrollBarLayout& l) {
  TCanvas& c = B.Canvas();
  const bool vertical = kind_ == sbVertical;
  auto look = [&](int part, bool pressedLook) {
    const TRect& r = l.Part(part);
    if (pressedLook) FrameAndFill(c, r, kPlainLookHotFrame, kPlainLookDownFill);
    else if (hotPart_ == part) FrameAndFill(c, r, kPlainLookHotFrame, kPlainLookHotFill);
    else FrameAndFill(c, r, clBtnShadow, clBtnFace);
  };
  for (int part : {sbpIncrement, sbpDecrement}) {
    const TRect& r = l.Part(part);
    if (r.IsEmpty()) continue;
    look(part, pressedPart_ == part && hotPart_ == part);
    const bool inc = part == sbpIncrement;
    const int arrow = vertical ? (inc ? kArrowDown : kArrowUp) : (inc ? kArrowRight : kArrowLeft);
    DrawArrowImage(c, r, clBlack, arrow);
  }
  if (Enabled() && !l.Thumb.IsEmpty())
    look(sbpThumb, pressedPart_ == sbpThumb || (canFocused_ && Focused()));
}

QZ_PUBLISHED(TqzSkinScrollBar, TqzSkinCustomControl) {
  using O = TqzSkinScrollBar;
  b.Factory([](TComponent* owner) { return new TqzSkinScrollBar(owner); });
  b.Prop("SkinDataName", &O::SkinDataName, &O::SetSkinDataName, std::string("hscrollbar"));
  b.Prop("DefaultHeight", &O::DefaultHeight, &O::SetDefaultHeight, 19);
  b.Prop("Both", &O::Both, &O::SetBoth, false);
  b.Prop("BothMarkerWidth", &O::BothMarkerWidth, &O::SetBothMarkerWidth, 0);
  b.Prop("BothSkinDataName", &O::BothSkinDataName, &O::SetBothSkinDataName,
         std::string("bothhscrollbar"));
  b.Prop("CanFocused", &O::CanFocused, &O::SetCanFocused, false);
  b.Enum("Kind", &O::Kind, &O::SetKind, sbHorizontal);
  b.Prop("Min", &O::Min, &O::SetMin, 0);
  b.Prop("Max", &O::Max, &O::SetMax, 100);
  b.Prop("PageSize", &O::PageSize, &O::SetPageSize, 0);
  b.Prop("Position", &O::Position, &O::SetPosition, 0);
  b.Prop("SmallChange", &O::SmallChange, &O::SetSmallChange, 1);
  b.Prop("LargeChange", &O::LargeChange, &O::SetLargeChange, 1);
  b.Event<TNotifyEvent>("OnUpButtonClick", &O::OnUpButtonClick);
  b.Event<TNotifyEvent>("OnDownButtonClick", &O::OnDownButtonClick);
  b.Event<TNotifyEvent>("OnChange", &O::OnChange);
  b.Event<TNotifyEvent>("OnLastChange", &O::OnLastChange);
  b.Event<TNotifyEvent>("OnPageUp", &O::OnPageUp);
  b.Event<TNotifyEvent>("OnPageDown", &O::OnPageDown);
}

}  // namespace qz
