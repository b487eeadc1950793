#include "host/ui/Timer.h"

#include "host/ui/Windows.h"

namespace qz {

TTimer::~TTimer() {
  if (id_) KillTimer(nullptr, id_);
}

void TTimer::SetEnabled(bool v) {
  if (v == enabled_) return;
  enabled_ = v;
  Update();
}

void TTimer::SetInterval(unsigned v) {
  if (v == interval_) return;
  interval_ = v;
  Update();
}

void TTimer::Loaded() {
  TComponent::Loaded();
  Update();
}

void TTimer::Timer() {
  if (OnTimer) OnTimer(this);
}

void TTimer::Update() {
  if (id_) KillTimer(nullptr, id_);
  id_ = 0;
  if (!enabled_ || interval_ == 0 || InState(csLoading) || InState(csDesigning)) return;
  // Without a handler the timer still runs, so that a handler set later fires.
  id_ = SetTimer(nullptr, 0, interval_, [this](HWND, UINT, uintptr_t, DWORD) { Timer(); });
}

}  // namespace qz

#include "host/components/Properties.h"

namespace qz {

QZ_PUBLISHED(TTimer, TComponent) {
  b.Factory([](TComponent* owner) { return new TTimer(owner); });
  b.Prop("Enabled", &TTimer::Enabled, &TTimer::SetEnabled, true);
  b.Prop("Interval", &TTimer::Interval, &TTimer::SetInterval, 1000u);
  b.Event<TNotifyEvent>("OnTimer", &TTimer::OnTimer);
}

}  // namespace qz
