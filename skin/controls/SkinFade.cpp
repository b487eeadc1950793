#include "skin/controls/SkinFade.h"

#include "host/graphics/Bitmap.h"
#include "host/ui/Controls.h"
#include "host/ui/Windows.h"
#include "skin/draw/EffectBmp.h"

namespace qz {

TqzFadeTick NextFadeTick(int step, bool towardsActive) {
  if (towardsActive && step < kButtonFadeSteps) return {step + 1, false};
  if (!towardsActive && step > 0) return {step - 1, false};
  return {towardsActive ? kButtonFadeSteps : 0, true};
}

bool TqzFade::Start() {
  if (!running_ && owner_.HandleAllocated())
    running_ = SetTimer(owner_.Handle(), timerId_, kButtonFadeIntervalMs) != 0;
  return running_;
}

void TqzFade::Stop() {
  if (running_ && owner_.HandleAllocated()) KillTimer(owner_.Handle(), timerId_);
  running_ = false;
}

void TqzFade::Tick(bool available, bool towardsActive) {
  if (!available) {
    SnapTo(towardsActive);
    Stop();
    return;
  }
  const TqzFadeTick t = NextFadeTick(step_, towardsActive);
  step_ = t.Step;
  if (t.Stop) Stop();
}

void BlendLooks(const TBitmap& normal, const TBitmap& active, int morphKind, double kf, TBitmap& B) {
  TqzEffectBmp blend(normal);
  blend.ApplyMorph(morphKind, TqzEffectBmp(active), kf);
  B.SetSize(blend.Width(), blend.Height());
  if (blend.Width() > 0 && blend.Height() > 0) B.Pixels() = blend.ToPixmap();
  B.Modified();
}

}  // namespace qz
