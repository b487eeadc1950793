// The hover fade that buttons and check boxes share: a position between the
// control's normal look (step 0) and its active look (the last step), moved
// one step per tick of a window timer of the control, and the blend of the
// two looks at that position.
#pragma once

#include <cstdint>

namespace qz {

class TBitmap;
class TWinControl;

// The fade moves in steps of a fifth every 20 ms. The position is kept in
// whole steps so that the last step lands exactly on the target look.
inline constexpr int kButtonFadeSteps = 5;
inline constexpr unsigned kButtonFadeIntervalMs = 20;
struct TqzFadeTick {
  int Step = 0;
  bool Stop = false;  // the fade reached its end: the timer stops
};
TqzFadeTick NextFadeTick(int step, bool towardsActive);
inline double FadeKf(int step) { return double(step) / kButtonFadeSteps; }

// The fade of one control, on the control's window timer `timerId`.
class TqzFade {
 public:
  TqzFade(TWinControl& owner, uintptr_t timerId) : owner_(owner), timerId_(timerId) {}
  ~TqzFade() { Stop(); }
  TqzFade(const TqzFade&) = delete;
  TqzFade& operator=(const TqzFade&) = delete;

  int Step() const { return step_; }
  void SetStep(int step) { step_ = step; }
  // The position at either end: the active look or the normal one.
  void SnapTo(bool active) { step_ = active ? kButtonFadeSteps : 0; }
  double Kf() const { return FadeKf(step_); }
  // Between the two looks: the paint blends them.
  bool Blending() const { return step_ > 0 && step_ < kButtonFadeSteps; }
  bool Running() const { return running_; }
  bool IsTimer(uintptr_t id) const { return id == timerId_; }

  // Starts the timer unless it runs; false when there is no timer (no
  // window yet, or the platform refused one).
  bool Start();
  void Stop();
  // One tick: a step towards the target look, stopping at its end. Without
  // the effect (`available` false) the position snaps there at once.
  void Tick(bool available, bool towardsActive);

 private:
  TWinControl& owner_;
  uintptr_t timerId_;
  int step_ = 0;
  bool running_ = false;
};

// `normal` blended into `active` by the morph `morphKind` at `kf`, into B.
void BlendLooks(const TBitmap& normal, const TBitmap& active, int morphKind, double kf, TBitmap& B);

}  // namespace qz
