// TTimer: a non-visual component that fires OnTimer every Interval
// milliseconds of the platform clock while Enabled (and OnTimer is set).
#pragma once

#include "host/components/Component.h"
#include "host/components/Events.h"

namespace qz {

class TTimer : public TComponent {
  QZ_CLASS(TTimer, TComponent)
 public:
  explicit TTimer(TComponent* AOwner) : TComponent(AOwner) {}
  ~TTimer() override;

  bool Enabled() const { return enabled_; }
  void SetEnabled(bool v);
  unsigned Interval() const { return interval_; }
  void SetInterval(unsigned v);
  TNotifyEvent OnTimer;
  // Re-evaluates after OnTimer was assigned (events are plain members).
  void Restart() { Update(); }

 protected:
  void Loaded() override;
  virtual void Timer();

 private:
  void Update();
  bool enabled_ = true;
  unsigned interval_ = 1000;
  uintptr_t id_ = 0;
};

}  // namespace qz
