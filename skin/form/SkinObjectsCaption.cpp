// The caption object's state: the active flag it shows, its morph between
// the inactive and active looks and the glow-frame animation. Its looks are
// painted by PaintCaption.
#include "host/graphics/Canvas.h"
#include "skin/data/SkinData.h"
#include "skin/form/CaptionPaint.h"
#include "skin/form/SkinObjects.h"

namespace qz {

TqzSkinCaptionObject::TqzSkinCaptionObject(TqzObjectHost& host, const TqzDataSkinCaption& data)
    : TqzActiveSkinObject(host, data) {
  // A caption follows the form, not the mouse: it starts in the form's look.
  Active = host.FormActive();
  Kf = Active ? 1.0 : 0.0;
}

bool TqzSkinCaptionObject::GlowFramesAvailable() const {
  const TqzSkinData* skin = Skin();
  return skin && skin->EnableSkinEffects && !CaptionData().AnimateSkinRect.IsEmpty() &&
         CaptionData().FrameCount > 0;
}

// Quick buttons and caption tabs take no part yet: the whole rectangle drags.
bool TqzSkinCaptionObject::CaptionDragPoint(TPoint p) const { return ObjectRect.Contains(p); }

void TqzSkinCaptionObject::SetFormActive(bool active, bool shown) {
  const bool changed = Active != active;
  Active = active;
  if (!shown) {
    // Off-state captions only follow the form's look for a later roll-up change.
    if (MorphingApplies()) host_.StartMorphTimer();
    else Kf = active ? 1.0 : 0.0;
    return;
  }
  if (changed && GlowFramesAvailable()) {
    frameDelay_ = 25;
    host_.StartAnimateTimer();
  }
  Changed();
}

void TqzSkinCaptionObject::SyncGlowFrame() {
  if (!GlowFramesAvailable()) return;
  if (!Active && !CaptionData().InActiveAnimation) glowFrame_ = 0;
  else if (Active && glowFrame_ == 0) glowFrame_ = 1;
}

bool TqzSkinCaptionObject::AnimateStep() {
  if (!GlowFramesAvailable()) return false;
  const int target = Active ? CaptionData().FrameCount : 0;
  if (glowFrame_ == target) return false;
  if (frameDelay_ < CaptionData().AnimateInterval) {
    frameDelay_ += 25;
    return true;
  }
  glowFrame_ += glowFrame_ < target ? 1 : -1;
  frameDelay_ = 25;
  host_.RedrawObject(*this);
  return true;
}

void TqzSkinCaptionObject::Draw(TCanvas& canvas, bool compose) {
  if (!Skin()) return;
  SyncGlowFrame();
  TqzCaptionPaintInput in;
  in.Data = &CaptionData();
  in.Skin = Skin();
  in.ObjectRect = ObjectRect;
  in.Active = Active;
  in.Kf = Kf;
  in.MorphInProgress = MorphInProgress();
  in.GlowFrame = glowFrame_;
  in.RolledUp = host_.RolledUp();
  in.FrameMode = !host_.ClientMode();
  in.FormActive = host_.FormActive();
  in.Rects = hasRects_ ? &rects_ : nullptr;
  in.Context = host_.CaptionContext();
  PaintCaption(canvas, in, compose);
}

// Presses on caption tabs and quick buttons are not told apart yet; they
// will be handled here before the drag.
void TqzSkinCaptionObject::MouseDown(int x, int y, TqzMouseButton button) {
  if (button == TqzMouseButton::mbLeft && host_.ClientMode() && !host_.Maximized() &&
      host_.NCDraggAble())
    host_.StartClientDrag({ObjectRect.Left + x, ObjectRect.Top + y});
  TqzActiveSkinObject::MouseDown(x, y, button);
}

// Hovering never changes the caption's look.
void TqzSkinCaptionObject::MouseEnter() { RunEnter(false); }
void TqzSkinCaptionObject::MouseLeave() { RunLeave(false); }

}  // namespace qz
