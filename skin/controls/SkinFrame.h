// The non-client frame of skinned windowed controls that draw their own
// border (edits, scroll boxes): the client rectangle it leaves, and what a
// change of its thickness takes.
#pragma once

#include <algorithm>

#include "host/base/Messages.h"
#include "host/ui/Controls.h"
#include "host/ui/Windows.h"

namespace qz {

// Answers WM_NCCALCSIZE: the proposed window rectangle less the frame's
// thickness on each side (left, top, right, bottom), never turned inside out.
inline void InsetClientByFrame(TMessage& m, const TRect& insets) {
  auto* p = reinterpret_cast<TNCCalcSizeParams*>(m.LParam);
  TRect& r = p->rgrc[0];
  r = {r.Left + insets.Left, r.Top + insets.Top, r.Right - insets.Right, r.Bottom - insets.Bottom};
  r.Right = std::max(r.Right, r.Left);
  r.Bottom = std::max(r.Bottom, r.Top);
  m.Result = 0;
}

// The frame's thickness may have changed: the window system asks for the
// client rectangle again and the frame and client are painted anew. The
// window itself stays, with its text, selection, focus and timers.
inline void RecalcFrame(TWinControl& control) {
  if (!control.HandleAllocated()) return;
  SetWindowPos(HWND(&control), nullptr, 0, 0, 0, 0,
               SWP_FRAMECHANGED | SWP_NOMOVE | SWP_NOSIZE | SWP_NOZORDER | SWP_NOACTIVATE);
  control.Invalidate();
}

}  // namespace qz
