// The base of the active skin objects: point test, looks, morphing, glow
// layer and the mouse events every object raises.
#include "skin/form/SkinObjects.h"

#include <algorithm>

#include "host/graphics/Bitmap.h"
#include "host/graphics/Canvas.h"
#include "skin/data/SkinData.h"
#include "skin/draw/EffectBmp.h"

namespace qz {

namespace {
constexpr double kMorphStep = 0.2;
// Morph factors this close to an end count as that end, so that five steps
// of 0.2 always arrive exactly.
constexpr double kMorphSnap = 1e-9;
}  // namespace

TqzActiveSkinObject::TqzActiveSkinObject(TqzObjectHost& host, const TqzDataSkinObject& data)
    : host_(host), data_(data), idName_(data.IDName) {}
TqzActiveSkinObject::~TqzActiveSkinObject() { *alive_ = false; }

// ---- pictures ----

TBitmap* TqzActiveSkinObject::ActivePicture() const {
  const TqzSkinData* skin = Skin();
  return skin ? skin->ActivePicture(data_.ActivePictureIndex) : nullptr;
}

TBitmap* TqzActiveSkinObject::FramePicture() const {
  TqzSkinData* skin = Skin();
  if (!skin) return nullptr;
  TBitmap& picture = data_.RollUp ? skin->RollUpPicture() : skin->Picture();
  return picture.Empty() ? nullptr : &picture;
}

TBitmap* TqzActiveSkinObject::NormalPicture() const {
  return data_.SkinRectInAPicture ? ActivePicture() : FramePicture();
}

TBitmap* TqzActiveSkinObject::MaskPicture() const {
  const TqzSkinData* skin = Skin();
  return skin ? skin->ActivePicture(data_.ActiveMaskPictureIndex) : nullptr;
}

TRect TqzActiveSkinObject::ActiveLook(const TRect& r) const {
  return ActivePicture() ? r : TRect{};
}

TqzActiveSkinObject::TLooks TqzActiveSkinObject::BaseLooks() const {
  return {data_.SkinRect, ActiveLook(data_.ActiveSkinRect), ActiveLook(data_.InActiveSkinRect)};
}

// ---- point test ----

bool TqzActiveSkinObject::InActiveArea(int x, int y) const {
  const TBitmap* mask = MaskPicture();
  if (!mask) return true;
  // Points on the mask's right or bottom edge lie past its last pixel.
  if (x < 0 || y < 0 || x >= mask->Width() || y >= mask->Height()) return false;
  return (mask->Pixels().At(x, y) & 0xFFFFFF) == 0;
}

// ---- morphing ----

bool TqzActiveSkinObject::MorphingApplies() const {
  const TqzSkinData* skin = Skin();
  return data_.Morphing && skin && !ActiveLook(data_.ActiveSkinRect).IsEmpty() &&
         skin->EnableSkinEffects && !host_.FullBorderLayered();
}

bool TqzActiveSkinObject::CanMorphing() const {
  return (Active && Kf < 1.0) || (!Active && Kf > 0.0);
}

bool TqzActiveSkinObject::MorphInProgress() const { return MorphingApplies() && CanMorphing(); }

bool TqzActiveSkinObject::MorphStep() {
  if (!MorphingApplies()) {
    // Nothing to blend: the look is already the end look, and the timer
    // need not run on for this object.
    Kf = Active ? 1.0 : 0.0;
    return false;
  }
  if (!CanMorphing()) return false;
  double next = Active ? Kf + kMorphStep : Kf - kMorphStep;
  if (next < kMorphSnap) next = 0.0;
  if (next > 1.0 - kMorphSnap) next = 1.0;
  Kf = next;
  host_.RedrawObject(*this);
  return true;
}

void TqzActiveSkinObject::Changed() {
  if (MorphingApplies()) {
    host_.StartMorphTimer();
  } else {
    Kf = Active ? 1.0 : 0.0;  // no morph: the look switches at once
    host_.RedrawObject(*this);
  }
}

// ---- glow layer ----

void TqzActiveSkinObject::ShowLayer() {
  const TqzSkinData* skin = Skin();
  if (!skin || data_.GlowLayerPictureIndex == -1 || !skin->ShowCaptionButtonGlowFrames) return;
  const TBitmap* glow = skin->ActivePicture(data_.GlowLayerPictureIndex);
  if (!glow) return;
  const TPoint origin = host_.WindowToScreen(ObjectRect.TopLeft());
  const int alpha = std::clamp(data_.GlowLayerAlphaBlendValue, 0, 255);
  host_.ShowGlowLayer(origin.X - data_.GlowLayerOffsetX, origin.Y - data_.GlowLayerOffsetY,
                      static_cast<uint8_t>(alpha),
                      skin->ActivePicture(data_.GlowLayerMaskPictureIndex), *glow);
}

void TqzActiveSkinObject::HideLayer() {
  if (data_.GlowLayerPictureIndex != -1) host_.HideGlowLayer();
}

void TqzActiveSkinObject::DrawAlphaLayer(TCanvas&, TPixmap&) {}

// ---- drawing ----

void TqzActiveSkinObject::DrawPiece(TCanvas& canvas, const TBitmap* picture,
                                    const TRect& src) const {
  if (!picture || src.IsEmpty()) return;
  const TRect dest{ObjectRect.Left, ObjectRect.Top, ObjectRect.Left + src.Width(),
                   ObjectRect.Top + src.Height()};
  canvas.CopyRect(dest, const_cast<TBitmap*>(picture)->Canvas(), src);
}

namespace {
// The pixels of `r` in `picture`; parts outside the picture stay black.
TPixmap CutPiece(const TBitmap& picture, const TRect& r) {
  TPixmap piece(r.Width(), r.Height());
  const TPixmap& src = picture.Pixels();
  for (int y = 0; y < r.Height(); ++y) {
    const int sy = r.Top + y;
    if (sy < 0 || sy >= src.Height()) continue;
    for (int x = 0; x < r.Width(); ++x) {
      const int sx = r.Left + x;
      if (sx >= 0 && sx < src.Width()) piece.At(x, y) = src.At(sx, sy);
    }
  }
  return piece;
}
}  // namespace

void TqzActiveSkinObject::DrawMorph(TCanvas& canvas, const TBitmap& from, const TRect& fromRect,
                                    const TBitmap& to, const TRect& toRect) const {
  TqzEffectBmp blend(CutPiece(from, fromRect));
  const TqzEffectBmp target(CutPiece(to, toRect));
  blend.ApplyMorph(data_.MorphKind, target, Kf);
  blend.Draw(&canvas, ObjectRect.Left, ObjectRect.Top);
}

void TqzActiveSkinObject::DrawLooks(TCanvas& canvas, bool compose, const TLooks& looks) {
  if (!Skin()) return;
  TBitmap* active = ActivePicture();
  TBitmap* normal = NormalPicture();
  if (Enabled && !host_.FormActive() && !looks.Inactive.IsEmpty()) {
    DrawPiece(canvas, active, looks.Inactive);
  } else if (MorphInProgress() && normal && active && !looks.Active.IsEmpty()) {
    DrawMorph(canvas, *normal, looks.Normal, *active, looks.Active);
  } else if (Active && !looks.Active.IsEmpty()) {
    DrawPiece(canvas, active, looks.Active);
  } else if (compose || data_.SkinRectInAPicture) {
    DrawPiece(canvas, normal, looks.Normal);
  }
}

void TqzActiveSkinObject::Draw(TCanvas& canvas, bool compose) {
  DrawLooks(canvas, compose, BaseLooks());
}

// ---- mouse ----

// The event goes last: its handler may free the form and this object.
void TqzActiveSkinObject::RunEnter(bool changeLook, bool showLayer) {
  MouseIn = true;
  if (changeLook) {
    Active = true;
    if (!ActiveLook(data_.ActiveSkinRect).IsEmpty()) Changed();
  }
  if (showLayer) ShowLayer();
  host_.FireMouseEnter(IDName());
}

void TqzActiveSkinObject::RunLeave(bool changeLook, bool hideLayer) {
  MouseIn = false;
  if (changeLook) {
    Active = false;
    if (!ActiveLook(data_.ActiveSkinRect).IsEmpty()) Changed();
  }
  if (hideLayer) HideLayer();
  host_.FireMouseLeave(IDName());
}

void TqzActiveSkinObject::MouseEnter() { RunEnter(true, true); }

void TqzActiveSkinObject::MouseLeave() { RunLeave(true, true); }

void TqzActiveSkinObject::DblClick() {}

// The object works in its own coordinates; its events tell the window's,
// with the object's rectangle beside them.
void TqzActiveSkinObject::MouseDown(int x, int y, TqzMouseButton button) {
  host_.FireMouseDown(IDName(), ObjectRect.Left + x, ObjectRect.Top + y, ObjectRect, button);
}

void TqzActiveSkinObject::MouseUp(int x, int y, TqzMouseButton button) {
  if (MouseIn)
    host_.FireMouseUp(IDName(), ObjectRect.Left + x, ObjectRect.Top + y, ObjectRect, button);
}

void TqzActiveSkinObject::MouseMove(int x, int y) {
  host_.FireMouseMove(IDName(), ObjectRect.Left + x, ObjectRect.Top + y, ObjectRect);
}

}  // namespace qz
