// The glow window under a hovered caption button: a popup tool window that
// shows a per-pixel alpha picture, lets the pointer through and never takes
// the activation.
#pragma once

#include "host/ui/Controls.h"

namespace qz {

class TqzLayerWindow : public TCustomControl {
  QZ_CLASS(TqzLayerWindow, TCustomControl)
 public:
  explicit TqzLayerWindow(bool topMost);

 protected:
  void CreateParams(TCreateParams& params) override;
  void WndProc(TMessage& message) override;

 private:
  bool topMost_;
};

}  // namespace qz
